#pragma once

#include "common/ui/AboutBox.h"
#include "reelbox/ReelboxTr.h"

// The About box of Reelbox.
class CReelboxAboutDlg : public AboutBox
{
    Q_OBJECT

public:
    explicit CReelboxAboutDlg(QWidget* parent = nullptr)
        : AboutBox(ReelboxTr::tr("关于 Reelbox"), ReelboxTr::tr("禾岚森儿童成长媒体文件管理系统V1.0"),
                   QStringLiteral(":/reelbox/reelbox-64.png"), parent)
    {
    }
};

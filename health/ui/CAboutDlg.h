#pragma once

#include "common/ui/AboutBox.h"
#include "health/HealthTr.h"

// The About box of health.
class CAboutDlg : public AboutBox
{
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr)
        : AboutBox(HealthTr::tr("禾岚森儿童成长健康管理V1.0"), HealthTr::tr("禾岚森儿童成长健康管理V1.0"),
                   QStringLiteral(":/health/health-64.png"), parent)
    {
    }
};

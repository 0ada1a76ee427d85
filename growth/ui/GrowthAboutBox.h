#pragma once

#include "common/ui/AboutBox.h"
#include "growth/GrowthTr.h"

// The About box of growth.
class GrowthAboutBox : public AboutBox
{
    Q_OBJECT

public:
    explicit GrowthAboutBox(QWidget* parent = nullptr)
        : AboutBox(GrowthTr::tr("禾岚森儿童成长健康管理V1.0"), GrowthTr::tr("禾岚森儿童成长档案管理V1.0"),
                   QStringLiteral(":/growth/growth-64.png"), parent)
    {
    }
};

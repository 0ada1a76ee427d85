#pragma once

#include "PendingPage.h"

// The physical training library.
class CTN : public PendingPage
{
public:
    explicit CTN(QWidget* parent = nullptr) : PendingPage(QStringLiteral("trainingPage"), parent) {}
};

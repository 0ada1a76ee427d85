#pragma once

#include "PendingPage.h"

// The nutrition library.
class CYYANG : public PendingPage
{
public:
    explicit CYYANG(QWidget* parent = nullptr) : PendingPage(QStringLiteral("nutritionPage"), parent) {}
};

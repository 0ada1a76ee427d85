#pragma once

#include "PendingPage.h"

// The immunisation records page.
class CFYI : public PendingPage
{
public:
    explicit CFYI(QWidget* parent = nullptr) : PendingPage(QStringLiteral("immunisationPage"), parent) {}
};

#pragma once

#include "PendingPage.h"

// The library for mothers.
class CWMAN : public PendingPage
{
public:
    explicit CWMAN(QWidget* parent = nullptr) : PendingPage(QStringLiteral("motherPage"), parent) {}
};

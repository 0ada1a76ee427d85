#pragma once

#include "PendingPage.h"

// The infant health library.
class CCHILD : public PendingPage
{
public:
    explicit CCHILD(QWidget* parent = nullptr) : PendingPage(QStringLiteral("infantPage"), parent) {}
};

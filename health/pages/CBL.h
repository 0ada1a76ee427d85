#pragma once

#include "PendingPage.h"

// The medical records page.
class CBL : public PendingPage
{
public:
    explicit CBL(QWidget* parent = nullptr) : PendingPage(QStringLiteral("medicalRecordsPage"), parent) {}
};

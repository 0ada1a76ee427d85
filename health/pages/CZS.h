#pragma once

#include "PendingPage.h"

// The disease knowledge base.
class CZS : public PendingPage
{
public:
    explicit CZS(QWidget* parent = nullptr) : PendingPage(QStringLiteral("diseaseKnowledgePage"), parent) {}
};

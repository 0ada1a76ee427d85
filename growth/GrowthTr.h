#pragma once

#include <QCoreApplication>

// The one translation context of growth/ and growth/ui/: every text a user reads goes through it,
// with the Chinese text as the source, so a translation can be added without touching code.
struct GrowthTr
{
    Q_DECLARE_TR_FUNCTIONS(Growth)
};

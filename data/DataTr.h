#pragma once

#include <QCoreApplication>

// The one translation context of data/ and data/ui/: every text a user reads goes through it,
// with the Chinese text as the source, so a translation can be added without touching code.
struct DataTr
{
    Q_DECLARE_TR_FUNCTIONS(Data)
};

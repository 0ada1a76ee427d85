#pragma once

#include <QCoreApplication>

// The one translation context of media/ and media/ui/: every text a user reads goes through it,
// with the Chinese text as the source, so a translation can be added without touching code.
struct MediaTr
{
    Q_DECLARE_TR_FUNCTIONS(Media)
};

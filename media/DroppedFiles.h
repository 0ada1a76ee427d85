#pragma once

#include "media/MediaKind.h"

#include <QList>
#include <QStringList>
#include <QUrl>

// What was dropped from a file manager, sorted out before anything is taken: files, folders,
// and addresses that are no file of this computer.
struct DroppedFiles
{
    QStringList files;
    QStringList folders;
    // As the user would read them.
    QStringList notLocal;

    static DroppedFiles sort(const QList<QUrl>& urls);

    // The files of kind directly in folder, in the order of their names.
    static QStringList mediaFilesIn(const QString& folder, MediaKind kind);
    // The files among paths whose names are not of kind: a file dialog for kind would not have
    // offered them.
    static QStringList notOfKind(const QStringList& paths, MediaKind kind);
};

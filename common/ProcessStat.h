#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The fields of a process's line in the system's process folder ("<proc>/<pid>/stat") that follow
// its name, the state first: field 3 of the line is at index 0. Empty when the process is gone or
// the line cannot be read.
QList<QByteArray> processStatFields(const QString& processFolder);

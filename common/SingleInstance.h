#pragma once

#include <QByteArray>
#include <QString>

class CProcessEnumerator;

namespace SingleInstance {

// Whether a process name as the process list reports it (a bare executable name or a full path)
// names the program: its file name compared whole, ignoring case and an ".exe" ending, so that
// "healthd" or a program inside a folder called health is not taken for health.
bool isProgram(const QByteArray& reportedName, const QString& program);

// True when another copy is running: at least two processes that are the program named key,
// this process counting as one.
bool isAlreadyRunning(const QString& key, CProcessEnumerator& processes);

} // namespace SingleInstance

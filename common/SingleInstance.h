#pragma once

#include <QString>

class CProcessEnumerator;

namespace SingleInstance {

// True when another copy is running: at least two processes whose reported name contains key
// (case-sensitive), this process counting as one.
bool isAlreadyRunning(const QString& key, CProcessEnumerator& processes);

} // namespace SingleInstance

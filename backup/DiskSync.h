#pragma once

#include <QString>

// Puts what was written on the disk, not just in the system's cache, so that a power cut finds it
// there: a file's content, a folder's entries (a new, moved or removed name), or everything
// written to one file system.
namespace DiskSync {

bool file(const QString& path);
bool folder(const QString& path);
bool fileSystemOf(const QString& path);

} // namespace DiskSync

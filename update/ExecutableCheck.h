#pragma once

#include "common/Result.h"

#include <QString>

// Whether a downloaded file is a whole program this computer can run: an ELF executable of this
// build's class, byte order and machine, whose header and tables lie inside the file. A file cut
// short (with or without a Content-Length) usually ends before its section table.
namespace ExecutableCheck {

// Fails with the reason in the engine's words (for the detail of a message); the file is
// neither changed nor kept open.
Result check(const QString& path);

} // namespace ExecutableCheck

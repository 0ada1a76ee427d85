#pragma once

#include "common/Result.h"

#include <system_error>

// Failures of file work in the user's words: what failed, why in plain words and what to do,
// with the system's own text as detail.
namespace FileErrors {

// what says what failed, e.g. "无法写入备份文件“…”".
Result failure(const QString& what, int errorNumber);
Result failure(const QString& what, std::error_code code);

// A path as messages quote it.
QString quoted(const QString& path);

// A number of bytes as messages give it: "512 KB", "3.5 MB", "1.25 GB".
QString sizeText(qint64 bytes);

} // namespace FileErrors

#pragma once

#include <QString>

namespace TextBytes {

// Length of a text as the suite counts it for its limits: one byte for an ASCII character,
// two for any other (a Chinese character takes two bytes in GBK).
int length(const QString& text);

} // namespace TextBytes

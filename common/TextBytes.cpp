#include "common/TextBytes.h"

#include <QList>

namespace TextBytes {

int length(const QString& text)
{
    int bytes = 0;
    for (const uint codePoint : text.toUcs4())
        bytes += codePoint < 0x80 ? 1 : 2;
    return bytes;
}

} // namespace TextBytes

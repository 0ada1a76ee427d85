#include "data/LikePattern.h"

namespace LikePattern {

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

QString containing(const QString& text)
{
    return QLatin1Char('%') + escaped(text) + QLatin1Char('%');
}

} // namespace LikePattern

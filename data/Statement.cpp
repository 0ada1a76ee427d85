#include "data/Statement.h"

namespace Like {

QString containing(const QString& keyword)
{
    return QLatin1Char('%') + keyword + QLatin1Char('%');
}

} // namespace Like

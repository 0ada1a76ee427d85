#pragma once

#include <QTextStream>

// The command-line tools' streams for their answers and their messages; UTF-8 like every
// terminal this suite runs in.
namespace Console {

inline QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

inline QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

} // namespace Console

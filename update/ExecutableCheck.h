#pragma once

#include <QString>

// Whether a downloaded file is a whole program this computer can run: an ELF executable of this
// build's class, byte order and machine, whose header and tables lie inside the file. A file cut
// short (with or without a Content-Length) usually ends before its section table.
namespace ExecutableCheck {

enum class Verdict
{
    Program,
    // The file could not be read.
    Unreadable,
    // An ELF file that ends before its tables or segments: a download cut short.
    CutShort,
    // Anything else: not a program for this computer.
    Foreign
};

struct Finding
{
    Verdict verdict = Verdict::Program;
    // Why, in the file format's own terms (for the detail of a message).
    QString detail;
};

// Looks at the file; it is neither changed nor kept open.
Finding check(const QString& path);

} // namespace ExecutableCheck

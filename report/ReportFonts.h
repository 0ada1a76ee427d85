#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The typeface of a report. A PDF viewer finds a character again through the table the writer
// builds from glyphs back to characters, and that table gives each glyph the lowest character
// that shares it: with fonts that draw 小 and the Kangxi radical ⼩ (U+2F29) with one glyph, the
// copied or searched text holds the radical instead. The report therefore takes the first
// installed typeface that gives back every character of its text exactly.
namespace ReportFonts {

// The typefaces tried, best first.
const QStringList& candidates();

// Characters of text that family would give back as another character; empty when it gives back
// all of them. Characters the family has no glyph for are drawn by a fallback and not counted.
QString misread(const QString& family, const QString& text);

// The first candidate that reads back every character of text; when none does, the one that
// misreads the fewest.
QString familyFor(const QString& text);

// The report's font in the family, its size in tenths of a point.
QFont font(const QString& family, int tenthsOfPoint, bool bold = false);

} // namespace ReportFonts

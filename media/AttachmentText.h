#pragma once

#include <QString>
#include <QStringList>

// The attachment text of a row (column music): the names of its media files, each preceded by
// one space, in list order. Two files a.jpg and b.mp3 give " a.jpg b.mp3".
//
// Reading cannot know where a name with spaces ends, so it ends a name at a space that follows
// an extension: a dot and one to three characters, or one of the four-letter media extensions
// (jpeg, rmvb). Every other space belongs to the name. Texts written by earlier versions read
// as they always did, except that a name ending in .jpeg or .rmvb no longer swallows the next.
namespace AttachmentText {

// The text of the names, in their order.
QString write(const QStringList& names);
// The names of a text; an empty or one-character text names nothing.
QStringList read(const QString& text);

// Where one name lies in a text.
struct Span
{
    qsizetype start = 0;
    qsizetype length = 0;
};
// Where the names of a text lie, in order: read() cuts out exactly these. For long lists that
// need a name only when it is shown.
QList<Span> spans(const QString& text);

// Whether a name can be written so that reading gives it back: it does not start or end with a
// space, contains no space that reading would take for the end of a name, and ends with an
// extension, so that reading also finds its end when another name follows.
bool isStorable(const QString& name);
// The name a chosen file is stored under: name with every space that reading could take for the
// end of a name (a leading or trailing one, one after a dot and up to four characters, one
// right after the first character) and every backslash replaced by "_". Does not add a missing
// extension.
QString storableName(const QString& name);
// Whether reading finds the end of name when another name follows it.
bool endsReadably(const QString& name);

} // namespace AttachmentText

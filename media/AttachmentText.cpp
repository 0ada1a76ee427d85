#include "media/AttachmentText.h"

namespace AttachmentText {

namespace {

const QLatin1Char Space(' ');
const QLatin1Char Dot('.');

// Whether the name running up to position end of text (exclusive) ends there: a dot two, three
// or four places before end (an extension of one to three characters), or a four-letter media
// extension.
bool extensionEndsAt(const QString& text, qsizetype end)
{
    for (qsizetype back = 2; back <= 4; ++back) {
        if (end - back >= 0 && text.at(end - back) == Dot)
            return true;
    }
    if (end - 5 < 0)
        return false;
    const QStringView tail = QStringView(text).mid(end - 5, 5);
    return tail.compare(QLatin1String(".jpeg"), Qt::CaseInsensitive) == 0 ||
           tail.compare(QLatin1String(".rmvb"), Qt::CaseInsensitive) == 0;
}

// Whether the space at position at of a name could be read as the end of a name: a dot two to
// five places before it; or it is the second character, which a one-letter extension at the end
// of the previous name could end.
bool riskySpace(const QString& name, qsizetype at)
{
    if (at == 0 || at == name.size() - 1 || at == 1)
        return true;
    for (qsizetype back = 2; back <= 5; ++back) {
        if (at - back >= 0 && name.at(at - back) == Dot)
            return true;
    }
    return false;
}

} // namespace

QString write(const QStringList& names)
{
    QString text;
    for (const QString& name : names)
        text += Space + name;
    return text;
}

QList<Span> spans(const QString& text)
{
    QList<Span> found;
    if (text.size() <= 1)
        return found;
    // The text starts with the space before the first name; a text someone wrote without it
    // loses no character.
    qsizetype start = text.at(0) == Space ? 1 : 0;
    for (qsizetype i = text.indexOf(Space, start); i >= 0; i = text.indexOf(Space, i + 1)) {
        if (!extensionEndsAt(text, i))
            continue;
        if (i > start)
            found.append({start, i - start});
        start = i + 1;
    }
    if (start < text.size())
        found.append({start, text.size() - start});
    return found;
}

QStringList read(const QString& text)
{
    QStringList names;
    const QList<Span> found = spans(text);
    names.reserve(found.size());
    for (const Span& span : found)
        names << text.mid(span.start, span.length);
    return names;
}

bool endsReadably(const QString& name)
{
    // The space before the name stands at -1; the check looks at most five places back, so a
    // leading space makes the positions line up with those in a text.
    return !name.isEmpty() && extensionEndsAt(Space + name, name.size() + 1);
}

bool isStorable(const QString& name)
{
    return !name.isEmpty() && storableName(name) == name && endsReadably(name);
}

QString storableName(const QString& name)
{
    QString stored = name;
    for (qsizetype i = 0; i < name.size(); ++i) {
        // A backslash is a folder separator to the programs that share the folder.
        if ((name.at(i) == Space && riskySpace(name, i)) || name.at(i) == QLatin1Char('\\'))
            stored[i] = QLatin1Char('_');
    }
    return stored;
}

} // namespace AttachmentText

#include "growth/ui/LimitedTextEdit.h"

#include <QTextCursor>

LimitedTextEdit::LimitedTextEdit(int maxLength, QWidget* parent) : QPlainTextEdit(parent), m_maxLength(maxLength)
{
    connect(this, &QPlainTextEdit::textChanged, this, &LimitedTextEdit::enforce);
}

void LimitedTextEdit::enforce()
{
    const QString text = toPlainText();
    if (text.size() <= m_maxLength)
        return;
    // Drop what went over the limit just before the cursor, where it was typed or pasted; text
    // set whole loses its end.
    QTextCursor cursor = textCursor();
    const int position = cursor.position();
    const int excess = int(text.size()) - m_maxLength;
    const int from = position >= excess ? position - excess : m_maxLength;
    cursor.setPosition(from);
    cursor.setPosition(from + excess, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

#include "common/ui/LimitedTextEdit.h"

#include <QLineEdit>
#include <QTextCursor>

namespace {
const char* const TypingLimit = "kestrinTypingLimit";
} // namespace

void setStoredText(QLineEdit* edit, const QString& text)
{
    if (!edit->property(TypingLimit).isValid()) {
        const int limit = edit->maxLength();
        edit->setProperty(TypingLimit, limit);
        // What is typed shrinks the room back towards the limit, never past the text.
        QObject::connect(edit, &QLineEdit::textEdited, edit,
                         [edit, limit] { edit->setMaxLength(std::max(limit, int(edit->text().size()))); });
    }
    const int limit = edit->property(TypingLimit).toInt();
    edit->setMaxLength(std::max(limit, int(text.size())));
    edit->setText(text);
}

LimitedTextEdit::LimitedTextEdit(int maxLength, QWidget* parent)
    : QPlainTextEdit(parent), m_maxLength(maxLength), m_allowed(maxLength)
{
    connect(this, &QPlainTextEdit::textChanged, this, &LimitedTextEdit::enforce);
}

void LimitedTextEdit::setStoredText(const QString& text)
{
    m_allowed = std::max(m_maxLength, int(text.size()));
    setPlainText(text);
}

void LimitedTextEdit::enforce()
{
    const QString text = toPlainText();
    // A long stored text may stay as long as it is, never longer; what is deleted of it is gone
    // from the allowance too.
    m_allowed = std::max(m_maxLength, std::min(m_allowed, int(text.size())));
    if (text.size() <= m_allowed)
        return;
    // Drop what went over the limit just before the cursor, where it was typed or pasted; text
    // set whole loses its end.
    QTextCursor cursor = textCursor();
    const int position = cursor.position();
    const int excess = int(text.size()) - m_allowed;
    const int from = position >= excess ? position - excess : m_allowed;
    cursor.setPosition(from);
    cursor.setPosition(from + excess, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

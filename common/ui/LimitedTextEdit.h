#pragma once

#include <QPlainTextEdit>

class QLineEdit;

// A multi-line box that takes at most a given number of characters, as a line edit's maximum
// length does: what is typed or pasted beyond it is dropped.
class LimitedTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    LimitedTextEdit(int maxLength, QWidget* parent = nullptr);

    int maxLength() const { return m_maxLength; }
    // Shows a stored text whole, however long (another program or an older version may have
    // written it): the limit applies to what is typed, so typing never makes it longer.
    void setStoredText(const QString& text);

private:
    void enforce();

    int m_maxLength;
    // What the text may hold now: the limit, or a longer stored text as far as it still goes.
    int m_allowed;
};

// Shows a stored text whole in a line edit, however long: its maximum length applies to what is
// typed, so typing never makes the text longer than it was stored or than the limit.
void setStoredText(QLineEdit* edit, const QString& text);

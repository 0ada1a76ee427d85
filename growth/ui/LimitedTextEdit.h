#pragma once

#include <QPlainTextEdit>

// A multi-line box that takes at most a given number of characters, as a line edit's maximum
// length does: what is typed or pasted beyond it is dropped.
class LimitedTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    LimitedTextEdit(int maxLength, QWidget* parent = nullptr);

    int maxLength() const { return m_maxLength; }

private:
    void enforce();

    int m_maxLength;
};

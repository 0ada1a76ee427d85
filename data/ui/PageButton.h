#pragma once

#include <QPushButton>

// A page's button with the object name tests and screen readers find it by.
inline QPushButton* makePageButton(const QString& text, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

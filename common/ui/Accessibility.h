#pragma once

#include <QString>

class QWidget;

// Names for screen readers: a control is announced by the label the user sees beside it.
namespace Accessibility {

// A label as a name: without its mnemonic marker, colons and the spaces that space it out on
// screen ("身  高:" is "身高", "用 户 操 作" is "用户操作").
QString plainLabel(const QString& label);

// Gives every control below root that has no accessible name yet the name of its label: a
// labelled control (a QLabel buddy, which form rows set up) takes the label's text, a group box
// its title. Names set by hand are kept.
void nameFromLabels(QWidget* root);

} // namespace Accessibility

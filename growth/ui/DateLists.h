#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QWidget;

// The year, month and day drop-down lists of the growth pages.
namespace DateLists {

// A drop-down list of texts with nothing chosen. A search list starts with an empty entry, so
// that a criterion chosen once can be taken back.
QComboBox* make(QWidget* parent, const QStringList& texts, const QString& objectName, const QString& label,
                bool searchList);
// The text chosen; empty when nothing is.
QString chosen(const QComboBox* list);
// Chooses text. A year the list lacks (an honour of an earlier year) is added in its place, so
// every stored year shows; any other unknown text leaves nothing chosen.
void choose(QComboBox* list, const QString& text, bool addMissing = false);
void clear(QComboBox* list);

} // namespace DateLists

#include "growth/ui/DateLists.h"

#include <QComboBox>

namespace DateLists {

QComboBox* make(QWidget* parent, const QStringList& texts, const QString& objectName, const QString& label,
                bool searchList)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(objectName);
    list->setAccessibleName(label);
    if (searchList)
        list->addItem(QString());
    list->addItems(texts);
    list->setMaxVisibleItems(16);
    list->setCurrentIndex(-1);
    return list;
}

QString chosen(const QComboBox* list)
{
    return list->currentIndex() < 0 ? QString() : list->currentText();
}

void choose(QComboBox* list, const QString& text, bool addMissing)
{
    int index = text.isEmpty() ? -1 : list->findText(text);
    if (index < 0 && addMissing && !text.isEmpty()) {
        // Keep the list in order: the new text goes before the first larger one.
        index = 0;
        while (index < list->count() && (list->itemText(index).isEmpty() || list->itemText(index) < text))
            ++index;
        list->insertItem(index, text);
    }
    list->setCurrentIndex(index);
}

void clear(QComboBox* list)
{
    list->setCurrentIndex(-1);
}

} // namespace DateLists

#include "common/ui/Accessibility.h"

#include <QGroupBox>
#include <QLabel>

namespace Accessibility {

QString plainLabel(const QString& label)
{
    QString plain = label;
    plain.remove(QLatin1Char('&'));
    plain.remove(QLatin1Char(':'));
    plain.remove(QChar(0xFF1A)); // full-width colon
    plain.remove(QLatin1Char(' '));
    return plain;
}

void nameFromLabels(QWidget* root)
{
    for (QLabel* label : root->findChildren<QLabel*>()) {
        QWidget* buddy = label->buddy();
        if (buddy && buddy->accessibleName().isEmpty() && !label->text().isEmpty())
            buddy->setAccessibleName(plainLabel(label->text()));
    }
    for (QGroupBox* group : root->findChildren<QGroupBox*>()) {
        if (group->accessibleName().isEmpty() && !group->title().isEmpty())
            group->setAccessibleName(plainLabel(group->title()));
    }
}

} // namespace Accessibility

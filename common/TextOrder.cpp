#include "common/TextOrder.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace TextOrder {

QStringList sortedByPinyin(QStringList texts)
{
    const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::stable_sort(texts.begin(), texts.end(), collator);
    return texts;
}

} // namespace TextOrder

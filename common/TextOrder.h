#pragma once

#include <QStringList>

// The order a Chinese reader expects of a list: by pinyin, not by character code.
namespace TextOrder {

QStringList sortedByPinyin(QStringList texts);

} // namespace TextOrder

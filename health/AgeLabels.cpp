#include "health/AgeLabels.h"

#include <QRegularExpression>

namespace AgeLabels {

const QStringList& all()
{
    static const QStringList labels = [] {
        QStringList list;
        for (int month = 0; month <= 16; ++month)
            list << QString::number(month) + QStringLiteral("个月");
        list << QStringLiteral("18个月") << QStringLiteral("21个月");
        for (int halfYears = 4; halfYears <= 36; ++halfYears)
            list << QString::number(halfYears / 2.0) + QStringLiteral("岁");
        return list;
    }();
    return labels;
}

std::optional<double> leadingNumber(const QString& label)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch match = number.match(label);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(0).trimmed().toDouble();
}

bool isMonths(const QString& label)
{
    return label.contains(QStringLiteral("月"));
}

bool isYears(const QString& label)
{
    return label.contains(QStringLiteral("岁"));
}

} // namespace AgeLabels

#include "health/Measurements.h"

#include "data/tables/CPPER.h"
#include "health/AgeLabels.h"
#include "health/HealthTr.h"

#include <cmath>

namespace Measurements {

QString cutToOneDecimal(double value)
{
    QString text = QString::number(value, 'f', 6);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0)
        text.truncate(point + 2);
    return text;
}

QStringList listRow(const CPPER& r)
{
    return {QString::number(r.m_number),
            r.m_username,
            r.m_sex,
            r.m_age,
            cutToOneDecimal(r.m_height),
            cutToOneDecimal(r.m_weight),
            r.m_diet,
            QString::number(r.m_heartRate),
            r.m_bloodPressure,
            r.m_sleep,
            QString::number(r.m_date),
            r.m_operator};
}

std::optional<double> parseNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseHeartRate(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value > MaxHeartRate)
        return std::nullopt;
    return value;
}

Result checkAge(const QString& label)
{
    const std::optional<double> number = AgeLabels::leadingNumber(label);
    bool ok = false;
    if (number && AgeLabels::isYears(label))
        ok = *number >= MinYears && *number <= MaxYears;
    else if (number && AgeLabels::isMonths(label))
        ok = *number >= 0 && *number <= MaxMonths && *number == std::floor(*number);
    if (ok)
        return {};
    return Result::failure(HealthTr::tr("年龄要在0到%1个月或%2到%3岁之间，例如“9个月”或“2.5岁”，请重新选择。")
                               .arg(MaxMonths)
                               .arg(MinYears)
                               .arg(MaxYears));
}

Result checkHeight(double centimetres)
{
    if (centimetres == 0 || (centimetres >= MinHeight && centimetres <= MaxHeight))
        return {};
    return Result::failure(
        HealthTr::tr("身高要在%1到%2厘米之间（没有量可以填0），请重新输入。").arg(MinHeight).arg(MaxHeight));
}

Result checkWeight(double kilograms)
{
    if (kilograms == 0 || (kilograms >= MinWeight && kilograms <= MaxWeight))
        return {};
    return Result::failure(
        HealthTr::tr("体重要在%1到%2公斤之间（没有量可以填0），请重新输入。").arg(MinWeight).arg(MaxWeight));
}

Result checkRanges(const QString& age, double height, double weight)
{
    if (Result r = checkAge(age); !r)
        return r;
    if (Result r = checkHeight(height); !r)
        return r;
    return checkWeight(weight);
}

} // namespace Measurements

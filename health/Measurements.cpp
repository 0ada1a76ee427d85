#include "health/Measurements.h"

#include "data/tables/CPPER.h"

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

} // namespace Measurements

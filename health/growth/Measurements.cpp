#include "Measurements.h"

#include "CBUSER.h"
#include "CPPER.h"

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

ChildChange addChild(const QString& name, Result& error)
{
    CUs users;
    error = users.open(QStringLiteral("select * from user where username=?"), {name});
    if (!error)
        return ChildChange::Done;
    if (!users.isEOF())
        return ChildChange::Exists;
    users.addNew();
    users.m_username = name;
    error = users.update();
    return ChildChange::Done;
}

ChildChange deleteChild(const QString& name, Result& error)
{
    TransactionGuard transaction;
    CUs users;
    error = users.open(QStringLiteral("select * from user where username=?"), {name});
    if (!error)
        return ChildChange::Done;
    if (users.isEOF())
        return ChildChange::Missing;
    for (; !users.isEOF() && error; users.moveNext())
        error = users.remove();
    CPPER measurements;
    if (error)
        error = measurements.open(QStringLiteral("select * from personinfo where [用户名]=?"), {name});
    for (; error && !measurements.isEOF(); measurements.moveNext())
        error = measurements.remove();
    if (error)
        error = transaction.commit();
    return ChildChange::Done;
}

} // namespace Measurements

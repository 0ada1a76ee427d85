#include "data/Children.h"

#include "data/tables/CBUSER.h"
#include "data/tables/CPPER.h"

namespace Children {

namespace {

Result openNamed(CUs& users, const QString& name)
{
    return users.open(QStringLiteral("select * from user where username=?"), {name});
}

} // namespace

ResultOf<QStringList> newestFirst()
{
    QStringList names;
    CUs users;
    users.setSort(QStringLiteral("id desc"));
    if (Result r = users.open(QStringLiteral("select * from user")); !r)
        return r;
    for (; !users.isEOF(); users.moveNext())
        names << users.m_username;
    return names;
}

ResultOf<bool> exists(const QString& name)
{
    CUs users;
    if (Result r = openNamed(users, name); !r)
        return r;
    return !users.isEOF();
}

ResultOf<Change> add(const QString& name)
{
    CUs users;
    if (Result r = openNamed(users, name); !r)
        return r;
    if (!users.isEOF())
        return Change::Exists;
    users.addNew();
    users.m_username = name;
    if (Result r = users.update(); !r)
        return r;
    return Change::Done;
}

ResultOf<Change> remove(const QString& name)
{
    TransactionGuard transaction;
    CUs users;
    if (Result r = openNamed(users, name); !r)
        return r;
    if (users.isEOF())
        return Change::Missing;
    for (; !users.isEOF(); users.moveNext()) {
        if (Result r = users.remove(); !r)
            return r;
    }
    CPPER measurements;
    if (Result r = measurements.openOfChild(name); !r)
        return r;
    for (; !measurements.isEOF(); measurements.moveNext()) {
        if (Result r = measurements.remove(); !r)
            return r;
    }
    if (Result r = transaction.commit(); !r)
        return r;
    return Change::Done;
}

} // namespace Children

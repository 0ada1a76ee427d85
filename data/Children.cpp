#include "data/Children.h"

#include "data/tables/CBNRONG.h"
#include "data/tables/CBUSER.h"
#include "data/tables/CFNRONG.h"
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
    // Every row that names the child goes with it, or none does: a child added later under the
    // same name starts without the old child's measurements, medical and immunisation records.
    TransactionGuard transaction;
    CUs users;
    if (Result r = openNamed(users, name); !r)
        return r;
    if (users.isEOF())
        return Change::Missing;
    CPPER measurements;
    CBNRONG medical;
    CFNRONG immunisation;
    const std::pair<Recordset*, Result> tables[] = {
        {&users, Result()},
        {&measurements, measurements.openOfChild(name)},
        {&medical, medical.open(QStringLiteral("select * from bnrong where username=?"), {name})},
        {&immunisation, immunisation.open(QStringLiteral("select * from cfnrong where username=?"), {name})},
    };
    for (const auto& [rows, opened] : tables) {
        if (!opened)
            return opened;
        for (; !rows->isEOF(); rows->moveNext()) {
            if (Result r = rows->remove(); !r)
                return r;
        }
    }
    if (Result r = transaction.commit(); !r)
        return r;
    return Change::Done;
}

} // namespace Children

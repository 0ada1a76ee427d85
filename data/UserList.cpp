#include "UserList.h"

#include "CBUSER.h"

namespace UserList {

QStringList newestFirst(Result* error)
{
    QStringList names;
    CUs users;
    users.setSort(QStringLiteral("id desc"));
    const Result opened = users.open(QStringLiteral("select * from user"));
    if (error)
        *error = opened;
    for (; !users.isEOF(); users.moveNext())
        names << users.m_username;
    return names;
}

} // namespace UserList

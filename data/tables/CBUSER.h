#pragma once

#include "data/Recordset.h"

// Table user: the children the family keeps records for.
class CBUSER : public Recordset
{
public:
    explicit CBUSER(QSqlDatabase db = Database::connection()) : Recordset(QStringLiteral("user"), std::move(db)) {}

    qint32 m_id = 0;
    QString m_username;

protected:
    void exchange(FieldExchange& fx) override
    {
        fx.field(QStringLiteral("id"), m_id);
        fx.field(QStringLiteral("username"), m_username);
    }
};

// The second binding of table user, used for the pages' user lists and name checks.
class CUs : public CBUSER
{
public:
    using CBUSER::CBUSER;
};

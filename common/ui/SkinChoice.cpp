#include "common/ui/SkinChoice.h"
#include "common/CommonTr.h"

#include "common/Clock.h"
#include "common/ui/SkinEngine.h"
#include "data/tables/Skins.h"

#include <QCoreApplication>

namespace SkinChoice {

QString newest(SkinRecordset& table)
{
    if (!table.openNewestFirst() || table.isEOF())
        return {};
    const QString name = table.m_skin;
    table.close();
    return name;
}

QStringList offered(SkinRecordset& table)
{
    QStringList names;
    if (!table.openNewestFirst())
        return names;
    for (; !table.isEOF(); table.moveNext())
        names << table.m_skin;
    table.close();
    return names;
}

Result choose(SkinRecordset& table, const QString& skin)
{
    if (Result r = table.openNamed(skin); !r)
        return r;
    if (table.isEOF())
        return Result::failure(CommonTr::tr("没有名为“%1”的皮肤，请从列表中选择一个皮肤。").arg(skin));
    if (Result r = table.edit(); !r)
        return r;
    table.m_data = Clock::current().now();
    const Result written = table.update();
    table.close();
    return written;
}

void start(SkinRecordset& table, const QString& applicationKey, bool chooseDialogScheme)
{
    const QString path = Folder + newest(table);
    SkinEngine::init(applicationKey);
    SkinEngine::loadSkinFile(path);
    if (chooseDialogScheme)
        SkinEngine::chooseScheme(QStringLiteral("Dialog"));
}

} // namespace SkinChoice

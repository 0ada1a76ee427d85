#include "data/ColumnLabels.h"
#include "data/DataTr.h"

#include <QHash>

namespace ColumnLabels {

namespace {

// Columns named alike mean the same thing in every table, with a few exceptions by table.
const QHash<QString, QString>& commonLabels()
{
    static const QHash<QString, QString> labels{
        {QStringLiteral("username"), DataTr::tr("儿童姓名")}, {QStringLiteral("用户名"), DataTr::tr("儿童姓名")},
        {QStringLiteral("leixing"), DataTr::tr("类型")},      {QStringLiteral("类型"), DataTr::tr("类型")},
        {QStringLiteral("title"), DataTr::tr("标题")},        {QStringLiteral("biaoti"), DataTr::tr("标题")},
        {QStringLiteral("chufang"), DataTr::tr("处方")},      {QStringLiteral("zhengzhuang"), DataTr::tr("症状描述")},
        {QStringLiteral("zhenduan"), DataTr::tr("医生诊断")}, {QStringLiteral("zaozuo"), DataTr::tr("操作")},
        {QStringLiteral("操作"), DataTr::tr("操作员")},       {QStringLiteral("睡眠"), DataTr::tr("睡眠状况")},
        {QStringLiteral("riqi"), DataTr::tr("日期")},         {QStringLiteral("time"), DataTr::tr("日期")},
        {QStringLiteral("nrong"), DataTr::tr("内容")},        {QStringLiteral("connect"), DataTr::tr("内容")},
        {QStringLiteral("content"), DataTr::tr("内容")},      {QStringLiteral("tianqi"), DataTr::tr("天气")},
        {QStringLiteral("key"), DataTr::tr("关键字")},        {QStringLiteral("miaoshu"), DataTr::tr("描述")},
        {QStringLiteral("music"), DataTr::tr("媒体文件")},    {QStringLiteral("mingcheng"), DataTr::tr("荣誉名称")},
        {QStringLiteral("jigou"), DataTr::tr("颁奖机构")},    {QStringLiteral("liuyan"), DataTr::tr("留言")},
        {QStringLiteral("songli"), DataTr::tr("礼物")},       {QStringLiteral("skin"), DataTr::tr("皮肤")},
    };
    return labels;
}

const QHash<QString, QString>& tableLabels()
{
    static const QHash<QString, QString> labels{
        {QStringLiteral("rongyu.riqi"), DataTr::tr("获奖日期")},
        {QStringLiteral("rongyu.connect"), DataTr::tr("奖品内容")},
        {QStringLiteral("rongyu.miaoshu"), DataTr::tr("文字描述")},
        {QStringLiteral("shengri.riqi"), DataTr::tr("年份")},
        {QStringLiteral("shengri.connect"), DataTr::tr("生日描述")},
    };
    return labels;
}

} // namespace

QString label(const QString& table, const QString& column)
{
    if (const auto byTable = tableLabels().constFind(table + QLatin1Char('.') + column);
        byTable != tableLabels().cend())
        return *byTable;
    return commonLabels().value(column, column);
}

} // namespace ColumnLabels

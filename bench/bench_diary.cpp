// Diary search on the growth diary page over 10,000 entries, shown in its list, against the raw
// SQLite C API reading the same rows' listed columns (date, weather, title and the id).
#include "bench/BenchDatabase.h"
#include "bench/BenchLists.h"
#include "bench/BenchSupport.h"
#include "data/Database.h"
#include "growth/GrowthQuery.h"
#include "growth/ui/DiaryHitsModel.h"
#include "growth/ui/DiaryPage.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {

constexpr int EntryCount = 10000;

void fill()
{
    TransactionGuard transaction;
    QSqlQuery query(Database::connection());
    query.prepare(QStringLiteral(
        "INSERT INTO chengzhang (riqi, tianqi, [key], biaoti, content, music) VALUES (?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < EntryCount; ++i) {
        query.addBindValue(QStringLiteral("2026\\%1\\%2")
                               .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                               .arg(i % 28 + 1, 2, 10, QLatin1Char('0')));
        query.addBindValue(i % 3 ? QStringLiteral("晴") : QStringLiteral("多云"));
        query.addBindValue(QStringLiteral("运动"));
        query.addBindValue(QStringLiteral("第%1次去游泳").arg(i));
        query.addBindValue(QStringLiteral("今天爸爸带我去游泳馆，我先扶着池边踢水，后来戴着游泳圈游了好几圈。"
                                          "教练说我很勇敢，下次可以不用游泳圈了。回家的路上吃了冰淇淋。"));
        query.addBindValue(QStringLiteral(" 游泳池.jpg 第一次下水.avi"));
        query.exec();
    }
    (void)transaction.commit();
}

struct Hit
{
    qint64 id;
    QString date;
    QString weather;
    QString title;
};

double readRaw(sqlite3* db, const Statement& statement, qsizetype* count)
{
    QList<Hit> hits;
    sqlite3_stmt* prepared = nullptr;
    const QByteArray sql = statement.sql.toUtf8();
    sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &prepared, nullptr);
    for (int i = 0; i < statement.values.size(); ++i) {
        const QByteArray value = statement.values.at(i).toString().toUtf8();
        sqlite3_bind_text(prepared, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    const auto text = [prepared](int column) { return columnText(prepared, column); };
    while (sqlite3_step(prepared) == SQLITE_ROW)
        hits.append({sqlite3_column_int64(prepared, 0), text(1), text(2), text(3)});
    sqlite3_finalize(prepared);
    double checksum = 0;
    for (const Hit& hit : std::as_const(hits))
        checksum += double(hit.id) + double(hit.date.size() + hit.weather.size() + hit.title.size());
    *count = hits.size();
    return checksum;
}

} // namespace

int main(int argc, char* argv[])
{
    offscreenUnlessAsked();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = openBenchDatabase(dir);
    if (path.isEmpty())
        return 1;
    fill();

    DiaryPage page;
    page.resize(1180, 760);
    page.show();
    settle();
    auto* year = page.findChild<QComboBox*>(QStringLiteral("yearCombo"));
    year->setCurrentIndex(year->findText(QStringLiteral("2026")));
    auto* list = page.findChild<QTableView*>(QStringLiteral("recordList"));
    const Statement statement =
        selecting(DiaryHitsModel::columns(), GrowthQuery::diarySearch({QStringLiteral("2026"), {}, {}}, {}, {}));

    sqlite3* raw = openRawDatabase(path);
    qsizetype read = 0;
    double readSum = 0;
    const auto* hits = static_cast<const IdListModel*>(list->model());
    const Figure figure = compareWork(
        QStringLiteral("diary_search"), QStringLiteral("Diary search listing 10,000 entries"), 15, 1.5,
        [&] {
            page.search();
            settle();
        },
        [&] { readSum = readRaw(raw, statement, &read); });
    if (hits->rowCount() != EntryCount || read != EntryCount || listedHits(*hits) != readSum)
        QTextStream(stdout) << "lists differ: " << hits->rowCount() << " listed, " << read << " read\n";
    report(figure);
    sqlite3_close(raw);
    return 0;
}

// Display on the medical records page: for one child with 10,000 records, the whole list read
// (as choosing every row does), against the raw SQLite C API reading the listed four columns of
// the same rows; and for a child with 100,000 records, the first screen of the list shown,
// against the raw API reading the rows of that first screen.
#include "bench/BenchDatabase.h"
#include "bench/BenchLists.h"
#include "bench/BenchSupport.h"
#include "data/tables/CBNRONG.h"
#include "data/ui/RecordListView.h"
#include "health/ui/CBL.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {

constexpr int RecordCount = 10000;
constexpr int LongCount = 100000;

void fill(const QString& child, int count)
{
    TransactionGuard transaction;
    QSqlQuery query(Database::connection());
    query.prepare(QStringLiteral("INSERT INTO user (username) VALUES (?)"));
    query.addBindValue(child);
    query.exec();
    query.prepare(QStringLiteral("INSERT INTO bnrong (leixing, username, title, chufang, zhengzhuang, zhenduan, "
                                 "zaozuo, riqi) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < count; ++i) {
        query.addBindValue(QStringLiteral("感冒发烧"));
        query.addBindValue(child);
        query.addBindValue(QStringLiteral("第%1次发烧").arg(i));
        query.addBindValue(QStringLiteral("退烧药，每次5毫升，一天三次，多喝温水。"));
        query.addBindValue(QStringLiteral("夜里发烧到38.5度，流鼻涕，精神尚可。"));
        query.addBindValue(QStringLiteral("病毒性上呼吸道感染，注意观察体温。"));
        query.addBindValue(QStringLiteral("妈妈"));
        query.addBindValue(20200101 + i % 1000);
        query.exec();
    }
    (void)transaction.commit();
}

struct ListRow
{
    qint64 id;
    QString title;
    QString category;
    qint64 date;
};

// The listed columns of a child's records, newest first; limit -1 for all of them.
QList<ListRow> rawRows(sqlite3* db, const QString& child, int limit)
{
    QList<ListRow> rows;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db,
                       "Select id, title, leixing, riqi from bnrong where username=? and leixing=? "
                       "ORDER BY id desc LIMIT ?",
                       -1, &statement, nullptr);
    const QByteArray name = child.toUtf8();
    const QByteArray category = QStringLiteral("感冒发烧").toUtf8();
    sqlite3_bind_text(statement, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, category.constData(), int(category.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int(statement, 3, limit);
    const auto text = [statement](int column) { return columnText(statement, column); };
    while (sqlite3_step(statement) == SQLITE_ROW)
        rows.append({sqlite3_column_int64(statement, 0), text(1), text(2), sqlite3_column_int64(statement, 3)});
    sqlite3_finalize(statement);
    return rows;
}

// The same rows; the checksum adds up what the list shows.
double readRaw(sqlite3* db, const QString& child, int limit, qsizetype* count)
{
    const QList<ListRow> rows = rawRows(db, child, limit);
    double checksum = 0;
    for (const ListRow& row : std::as_const(rows))
        checksum += double(row.id) + double(row.title.size()) + double(row.category.size()) + double(row.date);
    *count = rows.size();
    return checksum;
}

// What a plain Qt program would do to show the same rows: a standard model in a table view of the
// page's list size, painted.
void showRaw(sqlite3* db, const QString& child, int limit, QStandardItemModel& model)
{
    model.clear();
    model.setColumnCount(4);
    for (const ListRow& row : rawRows(db, child, limit))
        model.appendRow({new QStandardItem(QString::number(row.id)), new QStandardItem(row.title),
                         new QStandardItem(row.category), new QStandardItem(QString::number(row.date))});
    QApplication::processEvents();
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = openBenchDatabase(dir);
    if (path.isEmpty())
        return 1;
    const QString child = QStringLiteral("小明");
    const QString longChild = QStringLiteral("大明");
    fill(child, RecordCount);
    fill(longChild, LongCount);

    CBL page;
    page.resize(1000, 700);
    page.show();
    QApplication::processEvents();
    auto* users = page.findChild<QComboBox*>(QStringLiteral("searchUserCombo"));
    page.findChild<QComboBox*>(QStringLiteral("searchCategoryCombo"))->setCurrentText(QStringLiteral("感冒发烧"));
    auto* list = page.findChild<RecordListView*>(QStringLiteral("recordList"));

    sqlite3* raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    qsizetype read = 0;
    double shownSum = 0;
    double readSum = 0;

    users->setCurrentText(child);
    const Figure display = compareWork(
        QStringLiteral("display"), QStringLiteral("Display of 10,000 medical records, every row read"), 15, 1.3,
        [&] {
            page.display();
            list->fetchAll();
            QApplication::processEvents();
        },
        [&] { readSum = readRaw(raw, child, -1, &read); });
    shownSum = listedRecords(*list->model());
    if (list->model()->rowCount() != RecordCount || read != RecordCount || shownSum != readSum)
        QTextStream(stdout) << "lists differ: " << list->model()->rowCount() << " listed, " << read << " read\n";
    report(display);

    // The same page against a plain view that paints the same rows as well.
    QStandardItemModel plainModel;
    QTableView plainView;
    plainView.setModel(&plainModel);
    plainView.resize(list->size());
    plainView.show();
    QApplication::processEvents();
    report(compareWork(
        QStringLiteral("display_painted"),
        QStringLiteral("Display of 10,000 medical records vs the raw rows in a plain table view, both painted"), 15,
        1.3,
        [&] {
            page.display();
            list->fetchAll();
            QApplication::processEvents();
        },
        [&] { showRaw(raw, child, -1, plainModel); }));

    users->setCurrentText(longChild);
    page.display();
    QApplication::processEvents();
    const int firstScreen = list->model()->rowCount();
    const Figure longDisplay = compareWork(
        QStringLiteral("display_100k_first_screen"),
        QStringLiteral("Display of 100,000 medical records, first screen (%1 rows) shown").arg(firstScreen), 15, 1.3,
        [&] {
            page.display();
            QApplication::processEvents();
        },
        [&] { readSum = readRaw(raw, longChild, firstScreen, &read); });
    shownSum = listedRecords(*list->model());
    if (list->model()->rowCount() != read || shownSum != readSum)
        QTextStream(stdout) << "first screens differ: " << list->model()->rowCount() << " listed, " << read
                            << " read\n";
    report(longDisplay);
    report(compareWork(
        QStringLiteral("display_100k_first_screen_painted"),
        QStringLiteral("first screen of 100,000 records vs the raw first screen in a plain table view, both painted"),
        15, 1.3,
        [&] {
            page.display();
            QApplication::processEvents();
        },
        [&] { showRaw(raw, longChild, firstScreen, plainModel); }));
    sqlite3_close(raw);
    return 0;
}

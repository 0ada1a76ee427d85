// Display on the medical records page: for one child with 10,000 records, the whole list read
// (as choosing every row does), against the raw SQLite C API reading the listed four columns of
// the same rows; and for a child with 100,000 records, the first screen of the list shown and
// painted, against a plain Qt program that reads the same rows with the raw API and paints them
// in a table view laid out like the page's list. Beside them: the whole list against the plain
// program, and the first screen against the bare read of its rows.
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
#include <QHeaderView>
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

// What a plain Qt program does to show the same rows: a standard model in a table view laid out
// like the page's list (the same columns, widths and row height, so that the same cells are
// painted), its rows replaced, painted.
class PlainList
{
public:
    explicit PlainList(const QTableView& like) : m_model(0, like.model()->columnCount())
    {
        for (int column = 0; column < m_model.columnCount(); ++column)
            m_model.setHorizontalHeaderItem(
                column, new QStandardItem(like.model()->headerData(column, Qt::Horizontal).toString()));
        m_view.setModel(&m_model);
        m_view.setSelectionBehavior(QAbstractItemView::SelectRows);
        m_view.setWordWrap(false);
        m_view.verticalHeader()->hide();
        m_view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        m_view.verticalHeader()->setDefaultSectionSize(like.verticalHeader()->defaultSectionSize());
        for (int column = 0; column < m_model.columnCount(); ++column)
            m_view.horizontalHeader()->resizeSection(column, like.horizontalHeader()->sectionSize(column));
        m_view.horizontalHeader()->setStretchLastSection(true);
        m_view.resize(like.size());
        m_view.show();
        settle();
    }

    void show(const QList<ListRow>& rows)
    {
        const auto item = [](const QString& text, Qt::Alignment alignment) {
            auto* i = new QStandardItem(text);
            i->setTextAlignment(alignment);
            return i;
        };
        m_model.removeRows(0, m_model.rowCount());
        for (const ListRow& row : rows)
            m_model.appendRow({item(QString::number(row.id), Qt::AlignCenter),
                               item(row.title, Qt::AlignLeft | Qt::AlignVCenter), item(row.category, Qt::AlignCenter),
                               item(QString::number(row.date), Qt::AlignCenter)});
        settle();
    }

    const QAbstractItemModel& model() const { return m_model; }

private:
    QStandardItemModel m_model;
    QTableView m_view;
};

} // namespace

int main(int argc, char* argv[])
{
    offscreenUnlessAsked();
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
    settle();
    auto* users = page.findChild<QComboBox*>(QStringLiteral("searchUserCombo"));
    page.findChild<QComboBox*>(QStringLiteral("searchCategoryCombo"))->setCurrentText(QStringLiteral("感冒发烧"));
    auto* list = page.findChild<RecordListView*>(QStringLiteral("recordList"));

    sqlite3* raw = openRawDatabase(path);
    qsizetype read = 0;
    double shownSum = 0;
    double readSum = 0;

    const auto showAll = [&] {
        page.display();
        list->fetchAll();
        settle();
    };
    const auto showFirstScreen = [&] {
        page.display();
        settle();
    };
    const auto check = [&](const QAbstractItemModel& other, const char* what) {
        if (other.rowCount() != list->model()->rowCount() || listedRecords(other) != listedRecords(*list->model()))
            QTextStream(stdout) << what << " differ: " << list->model()->rowCount() << " listed, " << other.rowCount()
                                << " in the baseline\n";
    };

    users->setCurrentText(child);
    const Figure display =
        compareWork(QStringLiteral("display"), QStringLiteral("Display of 10,000 medical records, every row read"), 15,
                    1.3, showAll, [&] { readSum = readRaw(raw, child, -1, &read); });
    shownSum = listedRecords(*list->model());
    if (list->model()->rowCount() != RecordCount || read != RecordCount || shownSum != readSum)
        QTextStream(stdout) << "lists differ: " << list->model()->rowCount() << " listed, " << read << " read\n";
    report(display);

    // The same page against a plain program showing the same rows in a view laid out alike.
    PlainList plain(*list);
    report(compareWork(QStringLiteral("display_painted"),
                       QStringLiteral("Display of 10,000 medical records vs the same rows in a plain table view, "
                                      "both painted"),
                       15, Figure::NoGoal, showAll, [&] { plain.show(rawRows(raw, child, -1)); }));
    check(plain.model(), "painted lists");

    // A long list: the page reads its first screen only. The headline sets it against a plain
    // program that reads and paints the same rows; the bare read of those rows is printed
    // beside it, for comparison.
    users->setCurrentText(longChild);
    showFirstScreen();
    const int firstScreen = list->model()->rowCount();
    report(compareWork(QStringLiteral("display_100k_first_screen"),
                       QStringLiteral("Display of 100,000 medical records, first screen (%1 rows) shown, vs the same "
                                      "rows in a plain table view, both painted")
                           .arg(firstScreen),
                       15, 1.3, showFirstScreen, [&] { plain.show(rawRows(raw, longChild, firstScreen)); }));
    check(plain.model(), "first screens");
    report(compareWork(QStringLiteral("display_100k_first_screen_query"),
                       QStringLiteral("the same first screen vs the raw read of its rows, no paint"), 15,
                       Figure::NoGoal, showFirstScreen,
                       [&] { readSum = readRaw(raw, longChild, firstScreen, &read); }));
    sqlite3_close(raw);
    return 0;
}

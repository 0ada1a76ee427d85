// Display on the medical records page for one child with 10,000 records, against the same
// query read through the raw SQLite C API into the same four columns.
#include "bench/BenchDatabase.h"
#include "bench/BenchSupport.h"
#include "data/tables/CBNRONG.h"
#include "health/ui/CBL.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {

constexpr int RecordCount = 10000;

void fill()
{
    TransactionGuard transaction;
    QSqlQuery query(Database::connection());
    query.exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
    query.prepare(QStringLiteral("INSERT INTO bnrong (leixing, username, title, chufang, zhengzhuang, zhenduan, "
                                 "zaozuo, riqi) VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < RecordCount; ++i) {
        query.addBindValue(QStringLiteral("感冒发烧"));
        query.addBindValue(QStringLiteral("小明"));
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

qsizetype readRaw(sqlite3* db)
{
    QList<ListRow> rows;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "Select * from bnrong where username=? and leixing=? ORDER BY id desc", -1, &statement,
                       nullptr);
    const QByteArray child = QStringLiteral("小明").toUtf8();
    const QByteArray category = QStringLiteral("感冒发烧").toUtf8();
    sqlite3_bind_text(statement, 1, child.constData(), int(child.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(statement, 2, category.constData(), int(category.size()), SQLITE_TRANSIENT);
    const auto text = [statement](int column) { return columnText(statement, column); };
    while (sqlite3_step(statement) == SQLITE_ROW)
        rows.append({sqlite3_column_int64(statement, 0), text(3), text(1), sqlite3_column_int64(statement, 8)});
    sqlite3_finalize(statement);
    return rows.size();
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
    fill();

    CBL page;
    page.resize(1000, 700);
    page.show();
    QApplication::processEvents();
    page.findChild<QComboBox*>(QStringLiteral("searchCategoryCombo"))->setCurrentText(QStringLiteral("感冒发烧"));
    auto* list = page.findChild<QTableView*>(QStringLiteral("recordList"));

    sqlite3* raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    qsizetype listed = 0;
    qsizetype read = 0;
    page.display(); // warm both paths once
    read = readRaw(raw);

    const double display = bestOf(15, [&] {
        page.display();
        QApplication::processEvents();
        listed = list->model()->rowCount();
    });
    const double baseline = bestOf(15, [&] { read = readRaw(raw); });
    if (listed != RecordCount || read != RecordCount)
        QTextStream(stdout) << "row counts differ: " << listed << " listed, " << read << " read\n";
    report(QStringLiteral("Display of 10,000 medical records"), display, baseline, 3.0);
    sqlite3_close(raw);
    return 0;
}

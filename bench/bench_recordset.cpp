// One child's measurements out of 100,000: through CPPER against the raw SQLite C API.
#include "bench/BenchDatabase.h"
#include "bench/BenchSupport.h"
#include "data/tables/CPPER.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {

constexpr int Children = 100;
constexpr int RowsPerChild = 1000;

void fill()
{
    TransactionGuard transaction;
    QSqlQuery insert(Database::connection());
    insert.prepare(QStringLiteral("INSERT INTO personinfo VALUES (NULL, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < Children * RowsPerChild; ++i) {
        insert.addBindValue(QStringLiteral("孩子%1").arg(i % Children));
        insert.addBindValue(i % 2 ? QStringLiteral("男") : QStringLiteral("女"));
        insert.addBindValue(QStringLiteral("%1个月").arg(i % 16));
        insert.addBindValue(50.0 + i % 100);
        insert.addBindValue(3.0 + i % 30);
        insert.addBindValue(QStringLiteral("母乳和辅食"));
        insert.addBindValue(100 + i % 40);
        insert.addBindValue(QStringLiteral("收缩压=90舒张压=60"));
        insert.addBindValue(QStringLiteral("10小时"));
        insert.addBindValue(20260101 + i % 28);
        insert.addBindValue(QStringLiteral("妈妈"));
        insert.exec();
    }
    (void)transaction.commit();
}

double readThroughBinding(const QString& child)
{
    double checksum = 0;
    CPPER rows;
    rows.setSort(QStringLiteral("[编号] desc"));
    (void)rows.open(QStringLiteral("select * from personinfo where [用户名]=?"), {child});
    for (; !rows.isEOF(); rows.moveNext())
        checksum += rows.m_number + rows.m_height + rows.m_weight + rows.m_heartRate + rows.m_date +
                    rows.m_username.size() + rows.m_sex.size() + rows.m_age.size() + rows.m_diet.size() +
                    rows.m_bloodPressure.size() + rows.m_sleep.size() + rows.m_operator.size();
    return checksum;
}

double readThroughSqlite(sqlite3* db, const QByteArray& child)
{
    double checksum = 0;
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "select * from personinfo where [用户名]=? ORDER BY [编号] desc", -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, child.constData(), int(child.size()), SQLITE_TRANSIENT);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        checksum += sqlite3_column_int(statement, 0) + sqlite3_column_double(statement, 4) +
                    sqlite3_column_double(statement, 5) + sqlite3_column_int(statement, 7) +
                    sqlite3_column_int(statement, 10);
        for (int column : {1, 2, 3, 6, 8, 9, 11}) {
            // Text is turned into a QString as a program would, so both sides deliver the same.
            checksum += columnText(statement, column).size();
        }
    }
    sqlite3_finalize(statement);
    return checksum;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QTextStream out(stdout);

    Samples create;
    for (int n = 0; n < 5; ++n)
        create.values.push_back(
            timeMs([&] { (void)Database::create(dir.filePath(QStringLiteral("fresh%1.db").arg(n))); }));
    out << "creating a fresh database (schema, seed, reference tables): " << QString::number(create.median(), 'f', 1)
        << " ms [" << QString::number(create.min(), 'f', 1) << "-" << QString::number(create.max(), 'f', 1) << "]"
        << Qt::endl;

    const QString path = openBenchDatabase(dir);
    if (path.isEmpty())
        return 1;
    fill();

    sqlite3* raw = openRawDatabase(path);
    const QString child = QStringLiteral("孩子42");
    double a = 0;
    double b = 0;
    // Warm both paths once so that neither pays for the first read of the file.
    a = readThroughBinding(child);
    b = readThroughSqlite(raw, child.toUtf8());
    if (a != b)
        out << "checksums differ: " << a << " vs " << b << '\n';

    report(compareWork(
        QStringLiteral("recordset"), QStringLiteral("one child's 1,000 of 100,000 rows through CPPER"), 21, 1.15,
        [&] { a = readThroughBinding(child); }, [&] { b = readThroughSqlite(raw, child.toUtf8()); }));
    if (a != b)
        out << "checksums differ: " << a << " vs " << b << '\n';
    sqlite3_close(raw);
    Database::close();
    return 0;
}

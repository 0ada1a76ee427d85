// The records on a PostgreSQL server: Display on the medical records page of a child's 10,000
// records, every row read, and the diary search listing 10,000 entries, each against the raw
// query of the same rows' listed columns through the server's own client library (libpq), on the
// same server. The server is a fresh one in a temporary folder, as the tests start it.
#include "bench/BenchLists.h"
#include "bench/BenchSupport.h"
#include "data/Database.h"
#include "data/SqlDialect.h"
#include "data/Statement.h"
#include "data/ui/RecordListView.h"
#include "growth/GrowthQuery.h"
#include "growth/ui/DiaryHitsModel.h"
#include "growth/ui/DiaryPage.h"
#include "health/ui/CBL.h"
#include "tests/support/PostgresServer.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QSqlQuery>
#include <QTableView>

#include <libpq-fe.h>

namespace {

constexpr int RecordCount = 10000;
const QString Child = QStringLiteral("小明");
const QString Category = QStringLiteral("感冒发烧");

bool run(const QString& sql)
{
    QSqlQuery query(Database::connection());
    if (query.exec(sql))
        return true;
    QTextStream(stderr) << "bench_server: could not write the benchmark's rows on the server: "
                        << query.lastError().text() << '\n';
    return false;
}

// The same rows as bench_display and bench_diary write, made by the server in one statement each.
bool fill()
{
    return run(QStringLiteral("INSERT INTO \"user\" (username) VALUES ('%1')").arg(Child)) &&
           run(QStringLiteral(
                   "INSERT INTO bnrong (leixing, username, title, chufang, zhengzhuang, zhenduan, zaozuo, "
                   "riqi) SELECT '%1', '%2', '第' || i || '次发烧', '退烧药，每次5毫升，一天三次，多喝温水。', "
                   "'夜里发烧到38.5度，流鼻涕，精神尚可。', '病毒性上呼吸道感染，注意观察体温。', '妈妈', "
                   "20200101 + i % 1000 FROM generate_series(0, %3) AS i")
                   .arg(Category, Child)
                   .arg(RecordCount - 1)) &&
           run(QStringLiteral(
                   "INSERT INTO chengzhang (riqi, tianqi, \"key\", biaoti, content, music) SELECT "
                   "'2026\\' || lpad((i % 12 + 1)::text, 2, '0') || '\\' || lpad((i % 28 + 1)::text, 2, '0'), "
                   "CASE WHEN i % 3 = 0 THEN '多云' ELSE '晴' END, '运动', '第' || i || '次去游泳', "
                   "'今天爸爸带我去游泳馆，我先扶着池边踢水，后来戴着游泳圈游了好几圈。"
                   "教练说我很勇敢，下次可以不用游泳圈了。回家的路上吃了冰淇淋。', "
                   "' 游泳池.jpg 第一次下水.avi' FROM generate_series(0, %1) AS i")
                   .arg(RecordCount - 1)) &&
           run(QStringLiteral("ANALYZE"));
}

// Reads the statement's rows through libpq as text, summing the first column as a number and
// the length of each other one (the last as a number too with lastIsNumber), as the checksums of
// the lists do.
double readRaw(PGconn* connection, const QByteArray& sql, const QVariantList& values, bool lastIsNumber,
               qsizetype* count)
{
    QList<QByteArray> texts;
    QList<const char*> parameters;
    for (const QVariant& value : values)
        texts << value.toString().toUtf8();
    for (const QByteArray& text : std::as_const(texts))
        parameters << text.constData();
    PGresult* result = PQexecParams(connection, sql.constData(), int(parameters.size()), nullptr,
                                    parameters.constData(), nullptr, nullptr, 0);
    double checksum = 0;
    const int rows = PQntuples(result);
    const int columns = PQnfields(result);
    for (int row = 0; row < rows; ++row) {
        checksum += QByteArray(PQgetvalue(result, row, 0)).toDouble();
        for (int column = 1; column < columns; ++column) {
            const QString text = QString::fromUtf8(PQgetvalue(result, row, column), PQgetlength(result, row, column));
            checksum += lastIsNumber && column == columns - 1 ? text.toDouble() : double(text.size());
        }
    }
    PQclear(result);
    *count = rows;
    return checksum;
}

} // namespace

int main(int argc, char* argv[])
{
    offscreenUnlessAsked();
    QApplication app(argc, argv);
    PostgresServer& server = PostgresServer::instance();
    if (!server.running()) {
        QTextStream(stderr) << "the PostgreSQL server did not start: " << server.failure() << '\n';
        return 1;
    }
    const ServerConfig config = server.config(server.createDatabase());
    if (Result r = Database::openServer(config); !r) {
        QTextStream(stderr) << r.error() << '\n';
        return 1;
    }
    if (!fill())
        return 1;
    const QByteArray conninfo = QStringLiteral("host=%1 port=%2 dbname=%3 user=%4")
                                    .arg(config.host)
                                    .arg(config.port)
                                    .arg(config.database, config.user)
                                    .toUtf8();
    PGconn* raw = PQconnectdb(conninfo.constData());
    if (PQstatus(raw) != CONNECTION_OK) {
        QTextStream(stderr) << "libpq: " << PQerrorMessage(raw) << '\n';
        return 1;
    }
    qsizetype read = 0;
    double readSum = 0;

    {
        CBL page;
        page.resize(1000, 700);
        page.show();
        settle();
        page.findChild<QComboBox*>(QStringLiteral("searchCategoryCombo"))->setCurrentText(Category);
        page.findChild<QComboBox*>(QStringLiteral("searchUserCombo"))->setCurrentText(Child);
        auto* list = page.findChild<RecordListView*>(QStringLiteral("recordList"));
        const QByteArray sql("SELECT id, title, leixing, riqi FROM bnrong WHERE username = $1 AND leixing = $2 "
                             "ORDER BY id DESC");
        const Figure display = compareWork(
            QStringLiteral("server_display"),
            QStringLiteral("Display of 10,000 medical records on the server, every row read"), 15, 1.5,
            [&] {
                page.display();
                list->fetchAll();
                settle();
            },
            [&] {
                readSum = readRaw(raw, sql, {Child, Category}, true, &read);
            });
        const double shownSum = listedRecords(*list->model());
        if (list->model()->rowCount() != RecordCount || read != RecordCount || shownSum != readSum)
            QTextStream(stdout) << "lists differ: " << list->model()->rowCount() << " listed, " << read << " read\n";
        report(display);
    }

    {
        DiaryPage page;
        page.resize(1180, 760);
        page.show();
        settle();
        auto* year = page.findChild<QComboBox*>(QStringLiteral("yearCombo"));
        year->setCurrentIndex(year->findText(QStringLiteral("2026")));
        auto* list = page.findChild<QTableView*>(QStringLiteral("recordList"));
        // The page's own statement, in the server's words.
        const Statement statement =
            selecting(DiaryHitsModel::columns(), GrowthQuery::diarySearch({QStringLiteral("2026"), {}, {}}, {}, {}));
        const QByteArray sql = SqlDialect::numbered(SqlDialect::statement(Database::connection(), statement.sql));
        const auto* hits = static_cast<const IdListModel*>(list->model());
        const Figure search = compareWork(
            QStringLiteral("server_diary_search"), QStringLiteral("Diary search listing 10,000 entries on the server"),
            15, 1.5,
            [&] {
                page.search();
                settle();
            },
            [&] { readSum = readRaw(raw, sql, statement.values, false, &read); });
        if (hits->rowCount() != RecordCount || read != RecordCount || listedHits(*hits) != readSum)
            QTextStream(stdout) << "lists differ: " << hits->rowCount() << " listed, " << read << " read\n";
        report(search);
    }
    PQfinish(raw);
    Database::close();
    return 0;
}

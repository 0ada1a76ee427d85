// A catalogue search that lists 50,000 files of 10,000 records, as the Reelbox window fills its
// list (the model and a shown view, drawn once), against the raw SQLite C API reading the same
// rows.
#include "bench/BenchDatabase.h"
#include "bench/BenchSupport.h"
#include "data/Database.h"
#include "reelbox/Catalogue.h"
#include "reelbox/ui/CatalogueListModel.h"

#include <QApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

namespace {

constexpr int Records = 10000;
constexpr int FilesPerRecord = 5;

const CatalogueSearch Search{{}, {}, {}, {}, QStringLiteral("图像文件")};

qsizetype searchAndList(CatalogueListModel& model)
{
    ResultOf<CatalogueResult> found = Catalogue::search(Search);
    model.setRows(std::move(found->rows));
    return model.rowCount();
}

qsizetype readRaw(sqlite3* db)
{
    const Statement statement = Catalogue::searchStatement(Search);
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, statement.sql.toUtf8().constData(), -1, &query, nullptr);
    for (int i = 0; i < statement.values.size(); ++i) {
        const QByteArray value = statement.values.at(i).toString().toUtf8();
        sqlite3_bind_text(query, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    qsizetype checksum = 0;
    while (sqlite3_step(query) == SQLITE_ROW) {
        // The id and the file list, the list as text a program can use.
        checksum += sqlite3_column_int(query, 0);
        checksum += columnText(query, 1).size();
    }
    sqlite3_finalize(query);
    return checksum;
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
    fillCatalogue(Records, FilesPerRecord);

    CatalogueListModel model;
    QTableView view;
    view.setModel(&model);
    view.resize(340, 520);
    view.show();
    settle();
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    qsizetype rows = 0;
    const Figure figure = compareWork(
        QStringLiteral("catalogue_search"), QStringLiteral("search listing 50,000 files of 10,000 records"), 11, 1.5,
        [&] {
            rows = searchAndList(model);
            settle();
        },
        [&] { (void)readRaw(db); });
    sqlite3_close(db);
    if (rows != Records * FilesPerRecord) {
        QTextStream(stderr) << "listed " << rows << " rows\n";
        return 1;
    }
    report(figure);
    Database::close();
    return 0;
}

// A catalogue search that lists 50,000 files of 10,000 records, as the Reelbox window fills its
// list (the model and a shown view, painted), against a plain Qt program that reads the same
// records with the raw SQLite C API, cuts their file lists into the same rows and shows them in
// a table view of the same size, painted. The bare read of the records is printed beside it.
#include "bench/BenchDatabase.h"
#include "bench/BenchSupport.h"
#include "data/Database.h"
#include "media/MediaKind.h"
#include "reelbox/Catalogue.h"
#include "reelbox/ui/CatalogueListModel.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <vector>

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

// Runs the search statement with the raw API, handing each record's id and file list on.
void readRaw(sqlite3* db, const std::function<void(int, QString)>& record)
{
    const Statement statement = Catalogue::searchStatement(Search);
    sqlite3_stmt* query = nullptr;
    sqlite3_prepare_v2(db, statement.sql.toUtf8().constData(), -1, &query, nullptr);
    for (int i = 0; i < statement.values.size(); ++i) {
        const QByteArray value = statement.values.at(i).toString().toUtf8();
        sqlite3_bind_text(query, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    while (sqlite3_step(query) == SQLITE_ROW)
        record(sqlite3_column_int(query, 0), columnText(query, 1));
    sqlite3_finalize(query);
}

// The plain program's list: one row per file, id, type and name, newest record first.
class PlainModel : public QAbstractTableModel
{
public:
    struct Row
    {
        int id;
        QString name;
    };

    void setRows(std::vector<Row> rows)
    {
        beginResetModel();
        m_rows = std::move(rows);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_rows.size()); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 3; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const Row& row = m_rows[size_t(index.row())];
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        if (role != Qt::DisplayRole)
            return {};
        if (index.column() == 0)
            return QString::number(row.id);
        return index.column() == 1 ? MediaKinds::typeText(MediaKinds::fromName(row.name)) : row.name;
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return QStringList{QStringLiteral("编号"), QStringLiteral("媒体类型"), QStringLiteral("媒体文件")}.value(
            section);
    }

private:
    std::vector<Row> m_rows;
};

qsizetype listPlain(sqlite3* db, PlainModel& model)
{
    std::vector<std::pair<int, QString>> records;
    readRaw(db, [&records](int id, QString files) { records.emplace_back(id, std::move(files)); });
    std::vector<PlainModel::Row> rows;
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
        for (const QString& name : record->second.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            rows.push_back({record->first, name});
    }
    model.setRows(std::move(rows));
    return model.rowCount();
}

double listed(const QAbstractItemModel& model)
{
    double checksum = 0;
    for (int row = 0; row < model.rowCount(); ++row) {
        checksum += model.index(row, 0).data().toDouble() +
                    double(qHash(model.index(row, 1).data().toString()) % 1000) +
                    double(qHash(model.index(row, 2).data().toString()) % 1000);
    }
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
    fillCatalogue(Records, FilesPerRecord);

    const auto shown = [](QTableView& view, QAbstractItemModel& model) {
        view.setModel(&model);
        view.resize(340, 520);
        view.show();
    };
    CatalogueListModel model;
    QTableView view;
    shown(view, model);
    PlainModel plainModel;
    QTableView plainView;
    shown(plainView, plainModel);
    settle();
    sqlite3* db = openRawDatabase(path);
    qsizetype rows = 0;
    qsizetype plainRows = 0;
    const auto search = [&] {
        rows = searchAndList(model);
        settle();
    };
    const Figure figure =
        compareWork(QStringLiteral("catalogue_search"),
                    QStringLiteral("search listing 50,000 files of 10,000 records, vs the same rows in a plain "
                                   "table view, both painted"),
                    11, 1.5, search, [&] {
                        plainRows = listPlain(db, plainModel);
                        settle();
                    });
    const Figure query = compareWork(QStringLiteral("catalogue_search_query"),
                                     QStringLiteral("the same search vs the raw read of its records, no paint"), 11,
                                     Figure::NoGoal, search, [&] { readRaw(db, [](int, const QString&) {}); });
    sqlite3_close(db);
    if (rows != Records * FilesPerRecord || plainRows != rows || listed(model) != listed(plainModel)) {
        QTextStream(stderr) << "listed " << rows << " rows, the plain program " << plainRows << "\n";
        return 1;
    }
    report(figure);
    report(query);
    Database::close();
    return 0;
}

#include "tests/support/TestDatabase.h"

#include "data/tables/Articles.h"
#include "data/tables/CBNRONG.h"
#include "data/tables/CBUSER.h"
#include "data/tables/CCHENGZHANG.h"
#include "data/tables/CFNRONG.h"
#include "data/tables/CMRECORDSET.h"
#include "data/tables/CPPER.h"
#include "data/tables/CRONGYU.h"
#include "data/tables/CSHENGRI.h"
#include "data/tables/Categories.h"
#include "data/tables/Cbingli.h"
#include "data/tables/GrowthReference.h"
#include "data/tables/Skins.h"

#include <QFile>
#include <QSqlRecord>
#include <QTemporaryDir>

namespace {

// Collects the column names a binding exchanges, in order.
class NameExchange : public FieldExchange
{
public:
    void field(const QString& c, qint32&) override { names << c; }
    void field(const QString& c, double&) override { names << c; }
    void field(const QString& c, QString&) override { names << c; }
    void field(const QString& c, QDateTime&) override { names << c; }
    QStringList names;
};

template <typename Binding> class Probe : public Binding
{
public:
    QStringList boundColumns()
    {
        NameExchange names;
        this->exchange(names);
        return names.names;
    }
};

QStringList physicalColumns(const QString& table)
{
    QStringList columns;
    QSqlQuery query(Database::connection());
    query.exec(QStringLiteral("PRAGMA table_info([%1])").arg(table));
    while (query.next())
        columns << query.value(1).toString();
    return columns;
}

template <typename Binding> void checkBinding()
{
    Probe<Binding> probe;
    QCOMPARE(physicalColumns(probe.table()), probe.boundColumns());
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

} // namespace

class TestDatabaseFile : public QObject
{
    Q_OBJECT

private slots:
    void everyBindingMatchesItsTable()
    {
        TestDatabase db;
        checkBinding<CBUSER>();
        checkBinding<CUs>();
        checkBinding<CPPER>();
        checkBinding<CBoy>();
        checkBinding<CBOYW>();
        checkBinding<CGirl>();
        checkBinding<CGIRLW>();
        checkBinding<CBinglileixing>();
        checkBinding<CBNRONG>();
        checkBinding<CFleixing>();
        checkBinding<CFNRONG>();
        checkBinding<CLX>();
        checkBinding<Cbingli>();
        checkBinding<CRECCHILD>();
        checkBinding<CREWOMAN>();
        checkBinding<CYL>();
        checkBinding<CYNRONG>();
        checkBinding<CTNXL>();
        checkBinding<CTNRONG>();
        checkBinding<CSKINDATA>();
        checkBinding<CCHENGZHANG>();
        checkBinding<CRONGYU>();
        checkBinding<CSHENGRI>();
        checkBinding<CMRECORDSET>();
        checkBinding<CSKIN>();
        QCOMPARE(physicalColumns(QStringLiteral("womanconnect")).at(1), QStringLiteral("leixing"));
    }

    void newDatabaseCarriesVersionAndSeed()
    {
        TestDatabase db;
        QCOMPARE(db.scalar(QStringLiteral("SELECT value FROM kestrin_meta WHERE name='schema_version'")).toInt(),
                 Database::SchemaVersion);
        QVERIFY(db.count(QStringLiteral("skin")) >= 4);
        QVERIFY(db.count(QStringLiteral("mskin")) >= 4);
        for (const char* table : {"binglixinxi", "cfleixing", "leixing", "yyang", "tneng"}) {
            const int n = db.count(QString::fromLatin1(table));
            QVERIFY2(n >= 5 && n <= 10, table);
        }
        QCOMPARE(db.count(QStringLiteral("user")), 0);
    }

    void referenceTablesEqualTheShippedFigures()
    {
        TestDatabase db;
        const QString source = qEnvironmentVariable("KESTRIN_SOURCE_DIR");
        for (const char* table : {"nanhigh", "nanweight", "nvhigh", "nvweight"}) {
            QFile csv(source + QStringLiteral("/data/reference/") + QString::fromLatin1(table) +
                      QStringLiteral(".csv"));
            QVERIFY(csv.open(QIODevice::ReadOnly));
            const QList<QByteArray> lines = csv.readAll().trimmed().split('\n');
            QCOMPARE(db.count(QString::fromLatin1(table)), 52);
            QCOMPARE(lines.size(), 53);
            for (const QByteArray& line : lines.mid(1)) {
                const QStringList cells = QString::fromUtf8(line).split(QLatin1Char(','));
                const QString row = QStringLiteral(" FROM [%1] WHERE ID=?").arg(QString::fromLatin1(table));
                const QVariantList id{cells[0].toInt()};
                QCOMPARE(db.scalar(QStringLiteral("SELECT nianling") + row, id).toString(), cells[1]);
                QCOMPARE(db.scalar(QStringLiteral("SELECT min") + row, id).toDouble(), cells[2].toDouble());
                QCOMPARE(db.scalar(QStringLiteral("SELECT max") + row, id).toDouble(), cells[3].toDouble());
            }
        }
        QCOMPARE(db.scalar(QStringLiteral("SELECT nianling FROM nanhigh WHERE ID=19")).toString(),
                 QStringLiteral("21个月"));
        QCOMPARE(db.scalar(QStringLiteral("SELECT max FROM nanhigh WHERE ID=52")).toDouble(), 184.7);
    }

    void reopeningKeepsData()
    {
        TestDatabase db;
        db.exec(QStringLiteral("INSERT INTO user (username) VALUES ('小明')"));
        Database::close();
        QVERIFY(Database::open(db.path()).ok());
        QCOMPARE(db.count(QStringLiteral("user")), 1);
        QVERIFY(!Database::create(db.path()).ok());
        QCOMPARE(db.count(QStringLiteral("user")), 1);
    }

    void refusesFilesItCannotUse_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not a database") << QByteArray("this is a letter, not a database\n")
                                        << QStringLiteral("不是有效的数据库文件");
        QTest::newRow("empty file") << QByteArray() << QStringLiteral("不是本软件的数据库");
    }

    void refusesFilesItCannotUse()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("kestrin.db"), content);
        const Result r = Database::open(path);
        QVERIFY(!r.ok());
        QVERIFY2(r.error().contains(expected), qPrintable(r.error()));
        QVERIFY2(r.error().contains(path), qPrintable(r.error()));
        QVERIFY(!Database::connection().isOpen());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content); // the file is left as it was
    }

    void damagedTablesOrVersionsAreNamedAtOpen_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing table") << QStringLiteral("DROP TABLE bnrong") << QStringLiteral("缺少数据表“bnrong”");
        QTest::newRow("missing column") << QStringLiteral("ALTER TABLE chengzhang DROP COLUMN music")
                                        << QStringLiteral("数据表“chengzhang”缺少列“music”");
        QTest::newRow("columns moved") << QStringLiteral(
                                              "DROP TABLE yyang; CREATE TABLE yyang (leixing TEXT, id INTEGER)")
                                       << QStringLiteral("数据表“yyang”的列“id”不在原来的位置上");
        QTest::newRow("version not a number")
            << QStringLiteral("UPDATE kestrin_meta SET value='1.x' WHERE name='schema_version'")
            << QStringLiteral("数据版本“1.x”不是一个数字");
        QTest::newRow("minimum not a number")
            << QStringLiteral("UPDATE kestrin_meta SET value='' WHERE name='min_compatible_version'")
            << QStringLiteral("数据版本“”不是一个数字");
    }

    void damagedTablesOrVersionsAreNamedAtOpen()
    {
        QFETCH(QString, damage);
        QFETCH(QString, expected);
        TestDatabase db;
        for (const QString& statement : damage.split(QStringLiteral("; ")))
            db.exec(statement);
        Database::close();
        const Result r = Database::open(db.path());
        QVERIFY(!r.ok());
        QVERIFY2(r.error().contains(expected), qPrintable(r.error()));
        QVERIFY2(r.error().contains(db.path()), qPrintable(r.error()));
        // The family learns that a backup brings the records back, and how.
        QVERIFY2(r.error().contains(QStringLiteral("备份")) &&
                     r.error().contains(QStringLiteral("database/kestrin.db")),
                 qPrintable(r.error()));
        QVERIFY(!Database::connection().isOpen());
    }

    void extraTablesAndColumnsAfterTheKnownOnesAreAccepted()
    {
        TestDatabase db;
        db.exec(QStringLiteral("ALTER TABLE bnrong ADD COLUMN note TEXT"));
        db.exec(QStringLiteral("CREATE TABLE later_notes (id INTEGER)"));
        Database::close();
        QVERIFY(Database::open(db.path()).ok());
    }

    void refusesReadOnlyFile()
    {
        TestDatabase db;
        Database::close();
        QFile::setPermissions(db.path(), QFile::ReadOwner | QFile::ReadGroup);
        const Result r = Database::open(db.path());
        QVERIFY(!r.ok());
        QVERIFY2(r.error().contains(QStringLiteral("只读")), qPrintable(r.error()));
        QFile::setPermissions(db.path(), QFile::ReadOwner | QFile::WriteOwner);
    }

    void refusesLockedFile()
    {
        TestDatabase db;
        Database::close();
        {
            QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
            other.setDatabaseName(db.path());
            QVERIFY(other.open());
            QSqlQuery lock(other);
            QVERIFY(lock.exec(QStringLiteral("BEGIN EXCLUSIVE")));
            const Result r = Database::open(db.path());
            QVERIFY(!r.ok());
            QVERIFY2(r.error().contains(QStringLiteral("锁定")), qPrintable(r.error()));
            lock.exec(QStringLiteral("ROLLBACK"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
        QVERIFY(Database::open(db.path()).ok());
    }

    void refusesNewerSchema()
    {
        TestDatabase db;
        // A file from before the minimum was kept: its own version is its minimum.
        db.exec(QStringLiteral("UPDATE kestrin_meta SET value='99' WHERE name='schema_version'"));
        db.exec(QStringLiteral("DELETE FROM kestrin_meta WHERE name='min_compatible_version'"));
        Database::close();
        const Result r = Database::open(db.path());
        QVERIFY(!r.ok());
        QVERIFY2(r.error().contains(QStringLiteral("99")), qPrintable(r.error()));
    }

    void opensNewerFileThatAllowsThisVersion()
    {
        TestDatabase db;
        db.exec(QStringLiteral("UPDATE kestrin_meta SET value='5' WHERE name='schema_version'"));
        Database::close();
        QVERIFY(Database::open(db.path()).ok());
        // Nothing is downgraded: the newer program's version stays in the file.
        QCOMPARE(db.scalar(QStringLiteral("SELECT value FROM kestrin_meta WHERE name='schema_version'")).toInt(), 5);
    }

    // A file of the first version gets the table of unsaved media names when it is opened; its
    // rows stay as they were.
    void upgradesAFileOfTheFirstVersion()
    {
        TestDatabase db;
        db.exec(
            QStringLiteral("INSERT INTO chengzhang (riqi, biaoti, music) VALUES ('2006\\05\\07', '游泳', ' a.jpg')"));
        db.exec(QStringLiteral("DROP TABLE unsaved_media"));
        db.exec(QStringLiteral("UPDATE kestrin_meta SET value='1' WHERE name='schema_version'"));
        Database::close();
        QVERIFY(Database::open(db.path()).ok());
        QCOMPARE(db.scalar(QStringLiteral("SELECT value FROM kestrin_meta WHERE name='schema_version'")).toInt(),
                 Database::SchemaVersion);
        QCOMPARE(db.count(QStringLiteral("unsaved_media")), 0);
        QCOMPARE(db.scalar(QStringLiteral("SELECT music FROM chengzhang")).toString(), QStringLiteral(" a.jpg"));
        // A program of the first version can still use the file.
        QCOMPARE(
            db.scalar(QStringLiteral("SELECT value FROM kestrin_meta WHERE name='min_compatible_version'")).toInt(), 1);
    }

    void refusesNewerFileThatNeedsANewerProgram()
    {
        TestDatabase db;
        db.exec(QStringLiteral("UPDATE kestrin_meta SET value='5' WHERE name='schema_version'"));
        db.exec(QStringLiteral("UPDATE kestrin_meta SET value=? WHERE name='min_compatible_version'"),
                {QString::number(Database::SchemaVersion + 1)});
        Database::close();
        const Result r = Database::open(db.path());
        QVERIFY(!r.ok());
        QVERIFY2(r.error().contains(QStringLiteral("较新版本")), qPrintable(r.error()));
    }

    void createsMissingFolderAndNoPartialFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a/b/kestrin.db"));
        QVERIFY(Database::open(path).ok());
        Database::close();
        QVERIFY(QFile::exists(path));
        QVERIFY(!QFile::exists(path + QStringLiteral(".partial")));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseFile)
#include "tst_database.moc"

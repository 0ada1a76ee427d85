#include "common/DataSource.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// Registration writes the user's ODBC file; each test gets its own home folder for it.
class TestDataSource : public QObject
{
    Q_OBJECT

private slots:
    // The driver list is read from a folder of the test's own, so a test can take the driver away.
    void initTestCase()
    {
        QVERIFY(m_drivers.isValid());
        qputenv("ODBCSYSINI", QFile::encodeName(m_drivers.path()));
        writeDrivers("[SQLite3]\nDriver=libsqlite3odbc.so\n");
    }

    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("ODBCINI", QFile::encodeName(m_home->filePath(QStringLiteral(".odbc.ini"))));
    }

    void registersUserDataSource()
    {
        const QString db = m_home->filePath(QStringLiteral("root/database/kestrin.db"));
        QVERIFY2(DataSource::registerDataSource(QStringLiteral("kestrin"), db).ok(), "registration failed");

        QSettings ini(m_home->filePath(QStringLiteral(".odbc.ini")), QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("kestrin"));
        QCOMPARE(ini.value(QStringLiteral("Driver")).toString(), QStringLiteral("SQLite3"));
        QCOMPARE(ini.value(QStringLiteral("Description")).toString(), QStringLiteral("kestrin的数据源"));
        QCOMPARE(ini.value(QStringLiteral("Database")).toString(), db);
        QCOMPARE(DataSource::databasePath(QStringLiteral("kestrin")), db);
    }

    void registeringAgainReplacesThePath()
    {
        QVERIFY(DataSource::registerDataSource(QStringLiteral("kestrin"), QStringLiteral("/a/kestrin.db")).ok());
        QVERIFY(DataSource::registerDataSource(QStringLiteral("other"), QStringLiteral("/c/other.db")).ok());
        QVERIFY(DataSource::registerDataSource(QStringLiteral("kestrin"), QStringLiteral("/b/../b/kestrin.db")).ok());
        QCOMPARE(DataSource::databasePath(QStringLiteral("kestrin")), QStringLiteral("/b/kestrin.db"));
        QCOMPARE(DataSource::databasePath(QStringLiteral("other")), QStringLiteral("/c/other.db"));
    }

    void relativePathIsMadeAbsolute()
    {
        QVERIFY(
            DataSource::registerDataSource(QStringLiteral("kestrin"), QStringLiteral("../database/kestrin.db")).ok());
        QCOMPARE(DataSource::databasePath(QStringLiteral("kestrin")), DataSource::defaultDatabasePath());
    }

    void missingDriverNamesThePackage()
    {
        writeDrivers("");
        const Result r = DataSource::registerDataSource(QStringLiteral("kestrin"), QStringLiteral("/a/kestrin.db"));
        writeDrivers("[SQLite3]\nDriver=libsqlite3odbc.so\n");
        QVERIFY(!r.ok());
        QVERIFY2(r.message().contains(QStringLiteral("libsqliteodbc")), qPrintable(r.error()));
        QVERIFY(!QFile::exists(m_home->filePath(QStringLiteral(".odbc.ini"))));
    }

    void unknownDataSourceHasNoPath() { QVERIFY(DataSource::databasePath(QStringLiteral("nobody")).isEmpty()); }

private:
    void writeDrivers(const QByteArray& text)
    {
        QFile file(m_drivers.filePath(QStringLiteral("odbcinst.ini")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir m_drivers;
    std::unique_ptr<QTemporaryDir> m_home;
};

QTEST_GUILESS_MAIN(TestDataSource)
#include "tst_datasource.moc"

#include "backup/AtomicFile.h"
#include "backup/Backup.h"
#include "backup/BackupReader.h"
#include "backup/BackupRecord.h"
#include "backup/CsvExport.h"
#include "backup/Progress.h"
#include "backup/Restore.h"
#include "backup/RestoreJournal.h"
#include "backup/SuitePrograms.h"
#include "backup/ZipArchive.h"
#include "tests/support/FakeProc.h"
#include "tests/support/FamilyFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlRecord>

namespace {

ResultOf<BackupSummary> backUp(const Family& family, const QString& archive, Progress& progress,
                               int pagesPerStep = 1024)
{
    BackupOptions options{family.files(), archive};
    options.pagesPerStep = pagesPerStep;
    return Backup::create(options, progress);
}

ResultOf<BackupSummary> backUp(const Family& family, const QString& archive)
{
    Progress progress;
    return backUp(family, archive, progress);
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return Sha256::of(file.readAll());
}

// The members of an archive, in order, with their contents.
QList<std::pair<QString, QByteArray>> members(const QString& archive)
{
    QList<std::pair<QString, QByteArray>> list;
    ZipReader zip;
    if (!zip.open(archive))
        return list;
    for (ResultOf<bool> more = zip.next(); more && *more; more = zip.next()) {
        QByteArray data;
        (void)zip.read([&data](const char* block, qsizetype size) {
            data.append(block, size);
            return Result();
        });
        list.append({zip.path(), data});
    }
    return list;
}

// Writes an archive of the given members, for archives a backup would never make.
void writeArchive(const QString& path, const QList<std::pair<QString, QByteArray>>& content)
{
    AtomicFile file(path);
    QVERIFY(file.open());
    ZipWriter zip(file);
    QVERIFY(zip.open());
    for (const auto& [name, data] : content) {
        QVERIFY(zip.begin(name, data.size(), QDateTime::currentDateTime(), false));
        QVERIFY(zip.write(data.constData(), data.size()));
    }
    QVERIFY(zip.close());
    QVERIFY(file.commit());
}

quint32 crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char byte : data) {
        crc ^= quint8(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A zip archive written byte by byte, for members whose header lies about their size, which no
// zip library writes.
class RawZip
{
public:
    // A member whose deflated data inflates to content while its headers claim declaredSize.
    void addDeflated(const QString& name, const QByteArray& content, quint32 declaredSize)
    {
        const QByteArray zlib = qCompress(content, 9);
        // qCompress: 4 bytes of length, a 2-byte zlib header, raw deflate, a 4-byte checksum.
        add(name, zlib.mid(6, zlib.size() - 10), 8, crc32(content.left(declaredSize)), declaredSize);
    }
    void addStored(const QString& name, const QByteArray& content)
    {
        add(name, content, 0, crc32(content), quint32(content.size()));
    }
    QByteArray finish() const
    {
        QByteArray all = m_local;
        all.append(m_central);
        QByteArray end;
        put32(end, 0x06054b50);
        put16(end, 0);
        put16(end, 0);
        put16(end, quint16(m_count));
        put16(end, quint16(m_count));
        put32(end, quint32(m_central.size()));
        put32(end, quint32(m_local.size()));
        put16(end, 0);
        return all + end;
    }

private:
    static void put16(QByteArray& out, quint16 v) { out.append(char(v & 0xff)).append(char(v >> 8)); }
    static void put32(QByteArray& out, quint32 v)
    {
        put16(out, quint16(v & 0xffff));
        put16(out, quint16(v >> 16));
    }
    void add(const QString& name, const QByteArray& data, quint16 method, quint32 crc, quint32 size)
    {
        const QByteArray utf8 = name.toUtf8();
        const quint32 offset = quint32(m_local.size());
        put32(m_local, 0x04034b50);
        put16(m_local, 20);
        put16(m_local, 0x0800); // names in UTF-8
        put16(m_local, method);
        put32(m_local, 0); // time and date
        put32(m_local, crc);
        put32(m_local, quint32(data.size()));
        put32(m_local, size);
        put16(m_local, quint16(utf8.size()));
        put16(m_local, 0);
        m_local.append(utf8).append(data);

        put32(m_central, 0x02014b50);
        put16(m_central, 0x031e);
        put16(m_central, 20);
        put16(m_central, 0x0800);
        put16(m_central, method);
        put32(m_central, 0);
        put32(m_central, crc);
        put32(m_central, quint32(data.size()));
        put32(m_central, size);
        put16(m_central, quint16(utf8.size()));
        put32(m_central, 0); // extra and comment lengths
        put32(m_central, 0); // disk, internal attributes
        put32(m_central, 0100644u << 16);
        put32(m_central, offset);
        m_central.append(utf8);
        ++m_count;
    }

    QByteArray m_local;
    QByteArray m_central;
    int m_count = 0;
};

QByteArray withManifestField(const QByteArray& json, const QString& key, int value)
{
    QJsonObject object = QJsonDocument::fromJson(json).object();
    object.insert(key, value);
    return QJsonDocument(object).toJson();
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void snapshotStaysConsistentWhileAnotherConnectionWrites()
    {
        Family family;
        // Each transaction adds a row and counts it in kestrin_meta; a copy taken half before and
        // half after a write breaks the count or the file.
        family.exec(QStringLiteral("INSERT INTO kestrin_meta (name, value) VALUES ('test_rows', '0')"));
        const QString text(2000, QLatin1Char('x'));
        {
            TransactionGuard transaction;
            for (int i = 0; i < 400; ++i) {
                family.exec(QStringLiteral("INSERT INTO bnrong (username, chufang) VALUES ('a', ?)"), {text});
                family.exec(QStringLiteral("UPDATE kestrin_meta SET value = value + 1 WHERE name = 'test_rows'"));
            }
            QVERIFY(transaction.commit());
        }
        int writes = 0;
        QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
        writer.setDatabaseName(family.files().databasePath);
        QVERIFY(writer.open());
        Progress progress([&](const QString&, int) {
            if (writes >= 50)
                return;
            QSqlQuery query(writer);
            writer.transaction();
            query.exec(QStringLiteral("INSERT INTO bnrong (username, chufang) VALUES ('b', '%1')").arg(text));
            query.exec(QStringLiteral("UPDATE kestrin_meta SET value = value + 1 WHERE name = 'test_rows'"));
            QVERIFY(writer.commit());
            ++writes;
        });
        const QString archive = family.path(QStringLiteral("备份 一.zip"));
        const ResultOf<BackupSummary> made = backUp(family, archive, progress, 4);
        QVERIFY2(made, qPrintable(made.error()));
        writer.close();
        writer = {};
        QSqlDatabase::removeDatabase(QStringLiteral("writer"));
        QVERIFY(writes > 3);

        const QString copy = family.path(QStringLiteral("copy.db"));
        for (const auto& [name, data] : members(archive)) {
            if (name == Manifest::DatabaseMember) {
                QFile file(copy);
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write(data);
            }
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("copy"));
        db.setDatabaseName(copy);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("ok"));
        QVERIFY(query.exec(QStringLiteral("SELECT (SELECT count(*) FROM bnrong), "
                                          "(SELECT value FROM kestrin_meta WHERE name = 'test_rows')")) &&
                query.next());
        QCOMPARE(query.value(0).toInt(), query.value(1).toInt());
        QVERIFY(query.value(0).toInt() >= 400);
        query = QSqlQuery();
        db.close();
        db = {};
        QSqlDatabase::removeDatabase(QStringLiteral("copy"));
    }

    void roundTripRestoresTheSameRowsAndMediaByteForByte()
    {
        Family family;
        family.fill();
        const QString archive = family.path(QStringLiteral("备份 文件.zip"));
        // The whole media folder goes in, also what no row names; the store's temporaries do not.
        Family::writeRandom(family.media(QStringLiteral("catoon.avi")), 9000);
        Family::writeRandom(family.media(QStringLiteral(".kestrin-5a.part")), 10);
        const ResultOf<BackupSummary> made = backUp(family, archive);
        QVERIFY2(made, qPrintable(made.error()));
        QCOMPARE(made->mediaFiles, 6);
        QCOMPARE(made->missingMedia, QStringList{QStringLiteral("lost.jpg")});
        QVERIFY(made->recorded);
        QVERIFY(BackupRecord::lastBackup(Database::connection()).has_value());

        QStringList names;
        for (const auto& member : members(archive))
            names << member.first;
        QCOMPARE(names,
                 (QStringList{QStringLiteral("database/kestrin.db"), QStringLiteral("database/media/catoon.avi"),
                              QStringLiteral("database/media/empty.avi"), QStringLiteral("database/media/my photo.jpg"),
                              QStringLiteral("database/media/photo.jpg"), QStringLiteral("database/media/unnamed.bmp"),
                              QStringLiteral("database/media/生日.mp3"), QStringLiteral("manifest.json")}));
        Progress progress;
        const ResultOf<Manifest> verified = Backup::verify(archive, progress);
        QVERIFY2(verified, qPrintable(verified.error()));
        QCOMPARE(verified->schemaVersion, Database::SchemaVersion);
        QCOMPARE(verified->unnamedMedia, (QStringList{QStringLiteral("catoon.avi"), QStringLiteral("unnamed.bmp")}));

        const QStringList rowsThen = Family::rows(family.files().databasePath);
        const QStringList mediaThen = Family::folderHashes(family.files().mediaFolder);
        family.exec(QStringLiteral("DELETE FROM chengzhang"));
        family.exec(QStringLiteral("INSERT INTO [user] (username) VALUES ('后来的')"));
        Family::writeRandom(family.media(QStringLiteral("photo.jpg")), 10);

        ResultOf<std::unique_ptr<StagedRestore>> staged = StagedRestore::prepare(archive, family.files(), progress);
        QVERIFY2(staged, qPrintable(staged.error()));
        Database::close();
        // A journal left by a crash belongs to the replaced file and must go with it.
        QFile journal(family.files().databasePath + QStringLiteral("-journal"));
        QVERIFY(journal.open(QIODevice::WriteOnly));
        journal.close();
        const Result done = (*staged)->commit();
        QVERIFY2(done, qPrintable(done.error()));

        QCOMPARE(Family::rows(family.files().databasePath), rowsThen);
        QStringList expectedMedia = mediaThen;
        expectedMedia.removeIf([](const QString& line) { return line.startsWith(QStringLiteral(".kestrin-")); });
        QCOMPARE(Family::folderHashes(family.files().mediaFolder), expectedMedia);
        QVERIFY(!journal.exists());
        QVERIFY(!RestoreJournal::existsFor(family.files().databasePath));

        // The replaced records wait beside, whole, as an automatic backup.
        const QString aside = (*staged)->asideFolder();
        QVERIFY(Family::rows(aside + QStringLiteral("/kestrin.db")).contains(QStringLiteral("user|2|后来的")));
        QVERIFY(QFile::exists(aside + QStringLiteral("/kestrin.db-journal")));
        QCOMPARE(QFileInfo(aside + QStringLiteral("/media/photo.jpg")).size(), 10);
        QVERIFY(QFile::exists(aside + QStringLiteral("/media/unnamed.bmp")));
        QVERIFY(Database::open(family.files().databasePath));
    }

    void badArchivesAreRefusedBeforeAnythingChanges()
    {
        Family family;
        family.fill();
        const QString good = family.path(QStringLiteral("good.zip"));
        QVERIFY(backUp(family, good));
        const QList<std::pair<QString, QByteArray>> original = members(good);
        QCOMPARE(original.size(), 7);

        struct Case
        {
            const char* name;
            std::function<void(const QString&)> make;
            QString says;
        };
        const QString unreadable = QStringLiteral("无法读取");
        const QString foreign = QStringLiteral("不是本软件制作的备份");
        const QString altered = QStringLiteral("已被改动或已经损坏");
        const QString newer = QStringLiteral("较新版本");
        const QList<Case> cases{
            {"truncated",
             [&](const QString& path) {
                 QFile::copy(good, path);
                 QFile::resize(path, QFileInfo(good).size() / 2);
             },
             unreadable},
            {"foreign zip",
             [&](const QString& path) {
                 writeArchive(path, {{QStringLiteral("readme.txt"), "hi"}});
             },
             foreign},
            {"not a zip at all",
             [&](const QString& path) {
                 QFile file(path);
                 file.open(QIODevice::WriteOnly);
                 file.write("just text");
             },
             unreadable},
            {"member outside the media folder",
             [&](const QString& path) {
                 auto content = original;
                 content.insert(1, {QStringLiteral("database/media/../../escape.txt"), "x"});
                 writeArchive(path, content);
             },
             foreign},
            {"tampered media, manifest kept",
             [&](const QString& path) {
                 auto content = original;
                 content[2].second[0] = char(content[2].second[0] ^ 1);
                 writeArchive(path, content);
             },
             altered},
            {"byte flipped in the file",
             [&](const QString& path) {
                 QFile::copy(good, path);
                 QFile file(path);
                 file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
                 file.open(QIODevice::ReadWrite);
                 QByteArray data = file.readAll();
                 const qsizetype at = data.indexOf(original[3].second.mid(1000, 32));
                 data[at] = char(data[at] ^ 0x40);
                 file.seek(0);
                 file.write(data);
             },
             unreadable},
            {"member missing",
             [&](const QString& path) {
                 auto content = original;
                 content.removeAt(1);
                 writeArchive(path, content);
             },
             altered},
            {"made by a newer program",
             [&](const QString& path) {
                 auto content = original;
                 QByteArray& json = content.last().second;
                 json = withManifestField(json, QStringLiteral("schemaVersion"), Database::SchemaVersion + 1);
                 json = withManifestField(json, QStringLiteral("minCompatibleVersion"), Database::SchemaVersion + 1);
                 writeArchive(path, content);
             },
             newer},
        };
        const QStringList before = family.installedState();
        for (const Case& c : cases) {
            const QString path = family.path(QStringLiteral("bad %1.zip").arg(QLatin1String(c.name)));
            c.make(path);
            const QByteArray archiveBefore = fileHash(path);
            Progress progress;
            const ResultOf<Manifest> verified = Backup::verify(path, progress);
            QVERIFY2(!verified, c.name);
            QVERIFY2(verified.message().contains(c.says),
                     qPrintable(QLatin1String(c.name) + QStringLiteral(": ") + verified.error()));
            const auto staged = StagedRestore::prepare(path, family.files(), progress);
            QVERIFY2(!staged, c.name);
            QCOMPARE(staged.message(), verified.message());
            QVERIFY2(family.installedState() == before, c.name);
            QCOMPARE(fileHash(path), archiveBefore);
        }
    }

    void newerDatabaseInsideIsRefusedEvenWhenTheManifestHidesIt()
    {
        Family family;
        family.fill();
        family.exec(QStringLiteral("UPDATE kestrin_meta SET value = ? WHERE name IN "
                                   "('schema_version', 'min_compatible_version')"),
                    {Database::SchemaVersion + 5});
        const QString archive = family.path(QStringLiteral("newer.zip"));
        QVERIFY(backUp(family, archive));
        auto content = members(archive);
        QByteArray& json = content.last().second;
        json = withManifestField(json, QStringLiteral("schemaVersion"), Database::SchemaVersion);
        json = withManifestField(json, QStringLiteral("minCompatibleVersion"), Database::SchemaVersion);
        writeArchive(archive, content);

        Progress progress;
        const ResultOf<Manifest> verified = Backup::verify(archive, progress);
        QVERIFY(!verified);
        QVERIFY2(verified.message().contains(QStringLiteral("较新版本")), qPrintable(verified.error()));
    }

    void restoreFailingHalfWayPutsTheOldRecordsBack()
    {
        Family family;
        family.fill();
        const QString archive = family.path(QStringLiteral("good.zip"));
        QVERIFY(backUp(family, archive));
        family.exec(QStringLiteral("INSERT INTO [user] (username) VALUES ('现在的')"));
        Database::close();
        const QStringList before = family.installedState();

        // The swap is four moves here (database, media aside; the backup's two in); each one
        // in turn fails, as a full or failing disk would make it.
        for (int failing = 1; failing <= 4; ++failing) {
            Progress progress;
            auto staged = StagedRestore::prepare(archive, family.files(), progress);
            QVERIFY2(staged, qPrintable(staged.error()));
            int moves = 0;
            (*staged)->setMove([&](const QString& from, const QString& to) {
                if (++moves == failing)
                    return std::make_error_code(std::errc::io_error);
                return StagedRestore::defaultMove(from, to);
            });
            const Result done = (*staged)->commit();
            QVERIFY(!done);
            QVERIFY2(done.message().contains(QStringLiteral("原来的记录已经放回原处")), qPrintable(done.error()));
            staged.value().reset();
            QCOMPARE(family.installedState(), before);
        }
        QVERIFY(Family::rows(family.files().databasePath).contains(QStringLiteral("user|2|现在的")));
        QVERIFY(Database::open(family.files().databasePath));
    }

    void memberInflatingBeyondItsSizeIsRefusedAfterAtMostThatSize()
    {
        Family family;
        family.fill();
        const QString good = family.path(QStringLiteral("good.zip"));
        QVERIFY(backUp(family, good));
        const auto original = members(good);
        // 64 MiB of zeros that pack into some 64 KB, declared as a picture of 1,000 bytes.
        const QByteArray inflated(64 << 20, '\0');
        Manifest manifest = *Manifest::fromJson(original.last().second);
        manifest.members = {*manifest.member(Manifest::DatabaseMember),
                            {QStringLiteral("database/media/bomb.jpg"), 1000, Sha256::of(inflated.left(1000))}};
        RawZip zip;
        zip.addStored(Manifest::DatabaseMember, original.first().second);
        zip.addDeflated(QStringLiteral("database/media/bomb.jpg"), inflated, 1000);
        zip.addStored(Manifest::FileName, manifest.toJson());
        const QString bomb = family.path(QStringLiteral("bomb.zip"));
        QFile file(bomb);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(zip.finish());
        file.close();
        QVERIFY(QFileInfo(bomb).size() < (1 << 20));

        QTemporaryDir work;
        Progress progress;
        const ResultOf<Manifest> unpacked = BackupReader::unpack(bomb, work.filePath(QStringLiteral("kestrin.db")),
                                                                 work.filePath(QStringLiteral("media")), progress);
        QVERIFY(!unpacked);
        QVERIFY2(unpacked.message().contains(QStringLiteral("已被改动或已经损坏")), qPrintable(unpacked.error()));
        QVERIFY(QFileInfo(work.filePath(QStringLiteral("media/bomb.jpg"))).size() <= 1000);

        const QStringList before = family.installedState();
        QVERIFY(!StagedRestore::prepare(bomb, family.files(), progress));
        QCOMPARE(family.installedState(), before);
    }

    void archiveOfTheFormatBeforeTheWholeFolderStillRestores()
    {
        // Such an archive holds only the named files and no list of unnamed ones.
        Family family;
        family.fill();
        const QString archive = family.path(QStringLiteral("old.zip"));
        QVERIFY(backUp(family, archive));
        auto content = members(archive);
        content.removeIf([](const auto& member) { return member.first.endsWith(QStringLiteral("unnamed.bmp")); });
        QJsonObject json = QJsonDocument::fromJson(content.last().second).object();
        json.remove(QStringLiteral("unnamedMedia"));
        QJsonArray list;
        for (const QJsonValue& member : json.value(QStringLiteral("members")).toArray()) {
            if (!member.toObject().value(QStringLiteral("path")).toString().endsWith(QStringLiteral("unnamed.bmp")))
                list.append(member);
        }
        json.insert(QStringLiteral("members"), list);
        content.last().second = QJsonDocument(json).toJson();
        writeArchive(archive, content);
        const QStringList rowsThen = Family::rows(family.files().databasePath);

        Progress progress;
        QVERIFY(Backup::verify(archive, progress));
        auto staged = StagedRestore::prepare(archive, family.files(), progress);
        QVERIFY2(staged, qPrintable(staged.error()));
        Database::close();
        QVERIFY((*staged)->commit());
        QCOMPARE(Family::rows(family.files().databasePath), rowsThen);
        QCOMPARE(QDir(family.files().mediaFolder).entryList(QDir::Files).size(), 4);
        QVERIFY(Database::open(family.files().databasePath));
    }

    void backupIsRefusedUpFrontWhereItCannotBeStored()
    {
        Family family;
        family.fill();
        // A FAT32 stick holds no file of 4 GB; the limit stands in for it here.
        BackupOptions options{family.files(), family.path(QStringLiteral("stick.zip"))};
        options.fileSizeLimit = 1 << 20;
        Progress progress;
        const ResultOf<BackupSummary> tooBig = Backup::create(options, progress);
        QVERIFY(!tooBig);
        QVERIFY2(tooBig.message().contains(QStringLiteral("FAT32")) &&
                     tooBig.message().contains(QStringLiteral("1.0 MB")) &&
                     tooBig.message().contains(QStringLiteral("exFAT")),
                 qPrintable(tooBig.error()));
        QVERIFY(
            QDir(family.path(QString())).entryList({QStringLiteral("*stick*")}, QDir::Files | QDir::Hidden).isEmpty());

        // The database and its companions are found through links and "..", not by their spelling;
        // a name that merely begins like the database is fine.
        const QString folder = QFileInfo(family.files().databasePath).absolutePath();
        QVERIFY(QFile::link(folder, family.path(QStringLiteral("link"))));
        const QStringList refused{family.path(QStringLiteral("link/kestrin.db")),
                                  folder + QStringLiteral("/media/../kestrin.db-journal"),
                                  family.path(QStringLiteral("link/kestrin.db.lock"))};
        const QByteArray databaseBefore = fileHash(family.files().databasePath);
        for (const QString& path : refused) {
            const ResultOf<BackupSummary> over = backUp(family, path);
            QVERIFY2(!over && over.message().contains(QStringLiteral("不能保存在数据库文件")), qPrintable(path));
        }
        QCOMPARE(fileHash(family.files().databasePath), databaseBefore);
        const QString beside = folder + QStringLiteral("/kestrin.db.zip");
        QFile(beside).open(QIODevice::WriteOnly);
        const ResultOf<BackupSummary> besideMade = backUp(family, beside);
        QVERIFY2(besideMade, qPrintable(besideMade.error()));
    }

    void failedOrCancelledBackupLeavesNoFileAndKeepsAnOldOne()
    {
        Family family;
        family.fill();
        const QString folder = family.path(QStringLiteral("目标 文件夹"));
        QVERIFY(QDir().mkpath(folder));
        const QString archive = folder + QStringLiteral("/备份.zip");
        {
            QFile old(archive);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("an older backup");
        }
        Progress progress([&progress](const QString& step, int percent) {
            if (step.contains(QStringLiteral("写入")) && percent > 0)
                progress.cancel();
        });
        const ResultOf<BackupSummary> cancelled = backUp(family, archive, progress);
        QVERIFY(!cancelled);
        QVERIFY(progress.cancelled());
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{QStringLiteral("备份.zip")});
        QCOMPARE(fileHash(archive), Sha256::of("an older backup"));
        QVERIFY(!BackupRecord::lastBackup(Database::connection()));

        const ResultOf<BackupSummary> nowhere = backUp(family, family.path(QStringLiteral("no such folder/b.zip")));
        QVERIFY(!nowhere);
        QVERIFY2(nowhere.message().contains(QStringLiteral("不存在")), qPrintable(nowhere.error()));
        QVERIFY(!QFileInfo::exists(family.path(QStringLiteral("no such folder"))));
    }

    void csvExportQuotesFieldsAndReadsBackInPython()
    {
        Family family;
        family.fill();
        const QStringList awkward{QStringLiteral("逗号,在中间"), QStringLiteral("引号\"在\"中间"),
                                  QStringLiteral("两行\n文字"),  QStringLiteral("回车\r\n换行"),
                                  QStringLiteral(" 前后空格 "),  QStringLiteral("\"")};
        for (const QString& text : awkward)
            family.exec(
                QStringLiteral("INSERT INTO bnrong (username, title, chufang, riqi) VALUES ('小明', ?, ?, 20260101)"),
                {text, text});
        family.exec(QStringLiteral("INSERT INTO personinfo ([用户名], [身高], [体重]) VALUES ('小明', 75.5, NULL)"));
        const QString target = family.path(QStringLiteral("导出 文件夹"));
        Progress progress;
        const ResultOf<ExportSummary> exported =
            CsvExport::exportTo(family.files(), target, NamedMedia::defaultProvider(), progress);
        QVERIFY2(exported, qPrintable(exported.error()));
        QCOMPARE(exported->mediaFiles, 4);
        QCOMPARE(Family::folderHashes(target + QStringLiteral("/media")).size(), 4);

        QFile csv(target + QStringLiteral("/bnrong.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QVERIFY(csv.readAll().startsWith("\xEF\xBB\xBFid,leixing,username,title,"));

        const QString script = QStringLiteral("import csv, json, sys\n"
                                              "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                              "    print(json.dumps(list(csv.reader(f))))\n");
        auto read = [&](const QString& file) {
            QProcess python;
            python.start(QStringLiteral("python3"), {QStringLiteral("-c"), script, file});
            if (!python.waitForFinished(30000) || python.exitCode() != 0)
                return QVariantList();
            return QJsonDocument::fromJson(python.readAllStandardOutput()).toVariant().toList();
        };
        const QVariantList rows = read(target + QStringLiteral("/bnrong.csv"));
        QCOMPARE(rows.size(), awkward.size() + 1);
        for (int i = 0; i < awkward.size(); ++i) {
            const QStringList cells = rows.at(i + 1).toStringList();
            QCOMPARE(cells.size(), 9);
            QCOMPARE(cells.at(3), awkward.at(i));
            QCOMPARE(cells.at(4), awkward.at(i));
            QCOMPARE(cells.at(8), QStringLiteral("20260101"));
        }
        const QVariantList people = read(target + QStringLiteral("/personinfo.csv"));
        QCOMPARE(people.size(), 2);
        QCOMPARE(people.at(1).toStringList().mid(1, 6),
                 (QStringList{QStringLiteral("小明"), {}, {}, QStringLiteral("75.5"), {}, {}}));

        // A folder that holds files already is not written into.
        const ResultOf<ExportSummary> again =
            CsvExport::exportTo(family.files(), target, NamedMedia::defaultProvider(), progress);
        QVERIFY(!again);
        QVERIFY(again.message().contains(QStringLiteral("不是空的")));
    }

    void reminderComesAMonthAfterTheLastBackupUnlessTurnedOff()
    {
        Family family;
        const QSqlDatabase db = Database::connection();
        const QDateTime start(QDate(2026, 3, 1), QTime(9, 0));
        // Never backed up: the month is counted from the first look.
        QVERIFY(!BackupRecord::reminder(db, start)->due);
        QVERIFY(!BackupRecord::reminder(db, start.addDays(30))->due);
        QVERIFY(BackupRecord::reminder(db, start.addDays(31))->due);
        QVERIFY(!BackupRecord::reminder(db, start.addDays(31))->lastBackup);

        QVERIFY(BackupRecord::setLastBackup(db, start.addDays(40)));
        QVERIFY(!BackupRecord::reminder(db, start.addDays(60))->due);
        const auto late = BackupRecord::reminder(db, start.addDays(80));
        QVERIFY(late->due);
        QCOMPARE(late->daysSince, 40);
        QCOMPARE(*late->lastBackup, start.addDays(40));

        QVERIFY(BackupRecord::setReminderEnabled(db, false));
        QVERIFY(!BackupRecord::reminder(db, start.addDays(400))->due);
    }

    void suiteProgramsAreFoundByWholeName()
    {
        FakeProc proc;
        const auto add = [&](int pid, const QString& exe) { proc.add(pid, exe); };
        add(10, QStringLiteral("/opt/kestrin/health/health"));
        add(11, QStringLiteral("/opt/kestrin/Reelbox/Reelbox"));
        add(12, QStringLiteral("/usr/bin/healthd"));
        add(13, QStringLiteral("/opt/kestrin/growth-tools/mygrowth"));
        add(14, QStringLiteral("/opt/kestrin/liveupdate/update"));
        QCOMPARE(SuitePrograms::running(proc.root(), 10),
                 (QStringList{QStringLiteral("Reelbox"), QStringLiteral("update")}));
        QCOMPARE(SuitePrograms::running(proc.root(), 99).first(), QStringLiteral("health"));
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"

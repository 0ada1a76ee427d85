// A backup of a family with 100,000 rows and 1 GB of pictures and videos, against "tar cf" of the
// same files followed by a sync of the tar file: the backup syncs its archive to the disk before
// it reports success (a parent may pull the USB stick out right after), so the baseline does too.
// Both read the same files from the cache and write beside them on the same disk; they take
// turns. Plain tar and the backup up to its sync are shown beside them.
// Then the restore of that archive into an installation (unpack and check every hash and the
// database, sync, journal, swap) against "unzip" of it followed by "sync", in turns.
//
//   bench_backup [ROWS [MEDIA-MB [FILES [RUNS]]]]     defaults: 100000 1024 400 5
#include "backup/Backup.h"
#include "backup/Progress.h"
#include "backup/Restore.h"
#include "bench/BenchSupport.h"
#include "data/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

struct Size
{
    int rows = 100000;
    qint64 mediaBytes = qint64(1024) << 20;
    int files = 400;
    int runs = 5;
};

Size sizeFrom(const QStringList& args)
{
    Size size;
    if (args.size() > 1)
        size.rows = args.at(1).toInt();
    if (args.size() > 2)
        size.mediaBytes = args.at(2).toLongLong() << 20;
    if (args.size() > 3)
        size.files = qMax(1, args.at(3).toInt());
    if (args.size() > 4)
        size.runs = qMax(1, args.at(4).toInt());
    return size;
}

QString mediaName(int i)
{
    return i % 3 ? QStringLiteral("照片%1.jpg").arg(i) : QStringLiteral("video%1.avi").arg(i);
}

// Files of random bytes, which no compression shrinks, in sizes from a half to one and a half
// times the average.
void makeMedia(const QString& folder, const Size& size)
{
    QDir().mkpath(folder);
    const qint64 average = size.mediaBytes / size.files;
    QList<quint32> block(1 << 18);
    for (int i = 0; i < size.files; ++i) {
        const qint64 bytes = i + 1 == size.files ? size.mediaBytes - average * (size.files - 1)
                                                 : average / 2 + (average * (i % 11)) / 10;
        QFile file(QDir(folder).filePath(mediaName(i)));
        file.open(QIODevice::WriteOnly);
        for (qint64 left = bytes; left > 0;) {
            QRandomGenerator::global()->fillRange(block.data(), block.size());
            const qint64 chunk = qMin<qint64>(left, block.size() * 4);
            file.write(reinterpret_cast<const char*>(block.constData()), chunk);
            left -= chunk;
        }
    }
}

// Rows spread over the four tables that name media; every file is named by some of them.
void fillRows(const Size& size)
{
    TransactionGuard transaction;
    const char* inserts[] = {
        "INSERT INTO chengzhang (riqi, tianqi, biaoti, content, music) VALUES (?, '晴', ?, ?, ?)",
        "INSERT INTO rongyu (mingcheng, riqi, jigou, miaoshu, music) VALUES (?, ?, '幼儿园', ?, ?)",
        "INSERT INTO shengri (riqi, liuyan, connect, music) VALUES (?, ?, ?, ?)",
        "INSERT INTO mplay (riqi, leixing, miaoshu, music) VALUES (?, '图像文件', ?, ?)",
    };
    QList<QSqlQuery> queries;
    for (const char* sql : inserts) {
        queries.append(QSqlQuery(Database::connection()));
        queries.last().prepare(QString::fromUtf8(sql));
    }
    for (int i = 0; i < size.rows; ++i) {
        QSqlQuery& query = queries[i % 4];
        const QString names =
            QLatin1Char(' ') + mediaName(i % size.files) + QLatin1Char(' ') + mediaName((i * 7 + 3) % size.files);
        if (i % 4 == 0 || i % 4 == 1)
            query.addBindValue(QStringLiteral("第%1天").arg(i));
        query.addBindValue(QStringLiteral("2026-%1-%2").arg(1 + i % 12).arg(1 + i % 28));
        query.addBindValue(QStringLiteral("今天宝宝学会了新的本领，我们一家人都很高兴。记录编号 %1。").arg(i));
        query.addBindValue(names);
        query.exec();
    }
    (void)transaction.commit();
}

// Reads every file once, so that neither contender pays for the first read from the disk.
void warm(const QString& folder)
{
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::ReadOnly);
        while (file.read(buffer.data(), buffer.size()) > 0) {
        }
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const Size size = sizeFrom(app.arguments());
    QTextStream out(stdout);
    // Beside the build by default: the system's temporary folder may be a small memory disk.
    QTemporaryDir dir(qEnvironmentVariable("KESTRIN_BENCH_DIR", QDir::currentPath()) +
                      QStringLiteral("/bench-backup-XXXXXX"));
    const QString root = dir.filePath(QStringLiteral("root"));
    const QString database = root + QStringLiteral("/database/kestrin.db");
    const QString media = root + QStringLiteral("/database/media");
    out << "preparing " << size.rows << " rows and " << (size.mediaBytes >> 20) << " MB in " << size.files
        << " media files ..." << Qt::endl;
    makeMedia(media, size);
    if (Result r = Database::open(database); !r) {
        out << r.error() << '\n';
        return 1;
    }
    fillRows(size);
    Database::close();
    warm(media);

    const QString tarFile = dir.filePath(QStringLiteral("baseline.tar"));
    const QString zipFile = dir.filePath(QStringLiteral("backup.zip"));
    const QStringList tarArgs{QStringLiteral("cf"),
                              tarFile,
                              QStringLiteral("-C"),
                              root,
                              QStringLiteral("database/kestrin.db"),
                              QStringLiteral("database/media")};
    auto tar = [&](bool sync) {
        QFile::remove(tarFile);
        QProcess::execute(QStringLiteral("tar"), tarArgs);
        if (sync)
            QProcess::execute(QStringLiteral("sync"), {tarFile});
    };
    bool ok = true;
    double writtenMs = 0;
    auto backup = [&] {
        QFile::remove(zipFile);
        // When the last block is written; what follows is the manifest and the sync to the disk.
        QElapsedTimer timer;
        timer.start();
        Progress progress([&](const QString& step, int percent) {
            if (percent == 100 && step.contains(QStringLiteral("写入")))
                writtenMs = double(timer.nsecsElapsed()) / 1e6;
        });
        const ResultOf<BackupSummary> made = Backup::create({FamilyFiles::forDatabase(database), zipFile}, progress);
        ok = ok && made && made->mediaFiles == size.files;
        if (!made)
            out << made.error() << '\n';
    };

    // Alternating runs, the first to go turning each round, so that neither contender profits
    // from the other's writing finishing.
    Figure figure{QStringLiteral("backup"), QStringLiteral("backup (snapshot, SHA-256, zip, sync) vs tar cf + sync"),
                  1.5};
    Samples tarTimes;
    Samples writtenTimes;
    for (int run = 0; run < size.runs; ++run) {
        double backupMs = 0;
        double tarSyncMs = 0;
        if (run % 2 == 0) {
            backupMs = timeMs(backup);
            tarSyncMs = timeMs([&] { tar(true); });
        } else {
            tarSyncMs = timeMs([&] { tar(true); });
            backupMs = timeMs(backup);
        }
        figure.add(backupMs, tarSyncMs);
        writtenTimes.values.push_back(writtenMs);
        tarTimes.values.push_back(timeMs([&] { tar(false); }));
    }
    if (!ok) {
        out << "the backup failed\n";
        return 1;
    }
    out << "database " << (QFileInfo(database).size() >> 20) << " MB, archive " << (QFileInfo(zipFile).size() >> 20)
        << " MB, tar " << (QFileInfo(tarFile).size() >> 20) << " MB" << Qt::endl;
    report(figure);
    out << "plain tar cf (the archive left in memory to be written later): " << BenchDetail::number(tarTimes.median())
        << " ms " << BenchDetail::spread(tarTimes) << "; the backup until its last block is written (before manifest "
        << "and sync): " << BenchDetail::number(writtenTimes.median()) << " ms " << BenchDetail::spread(writtenTimes)
        << Qt::endl;

    // The restore into a new installation each time, on the same disk; unzip writes the same files.
    const QString restoreRoot = dir.filePath(QStringLiteral("restored"));
    const QString unzipRoot = dir.filePath(QStringLiteral("unzipped"));
    auto restore = [&] {
        QDir(restoreRoot).removeRecursively();
        Progress progress;
        ResultOf<std::unique_ptr<StagedRestore>> staged =
            StagedRestore::prepare(zipFile, FamilyFiles::underRoot(restoreRoot), progress);
        const Result done = staged ? (*staged)->commit() : Result(staged);
        ok = ok && done;
        if (!done)
            out << done.error() << '\n';
    };
    auto unzip = [&] {
        QDir(unzipRoot).removeRecursively();
        QProcess::execute(QStringLiteral("unzip"), {QStringLiteral("-q"), zipFile, QStringLiteral("-d"), unzipRoot});
        QProcess::execute(QStringLiteral("sync"));
    };
    Figure restored{QStringLiteral("restore"),
                    QStringLiteral("restore (unpack, SHA-256, integrity check, sync, journal, swap) vs unzip + sync"),
                    1.5};
    for (int run = 0; run < size.runs; ++run) {
        // Neither starts with the other's writing still on its way to the disk.
        QProcess::execute(QStringLiteral("sync"));
        double restoreMs = 0;
        double unzipMs = 0;
        if (run % 2 == 0) {
            restoreMs = timeMs(restore);
            QProcess::execute(QStringLiteral("sync"));
            unzipMs = timeMs(unzip);
        } else {
            unzipMs = timeMs(unzip);
            QProcess::execute(QStringLiteral("sync"));
            restoreMs = timeMs(restore);
        }
        restored.add(restoreMs, unzipMs);
    }
    if (!ok) {
        out << "the restore failed\n";
        return 1;
    }
    report(restored);
    return 0;
}

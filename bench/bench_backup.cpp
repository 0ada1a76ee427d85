// A backup of a family with 100,000 rows and 1 GB of pictures and videos, against "tar cf" of the
// same files. Both read the same files from the cache and write beside them on the same disk.
// The backup also hashes every byte and syncs its archive to the disk before it reports success
// (a parent may pull the USB stick out right after), which tar does not: a second line sets it
// against tar followed by a sync of the tar file, a third shows the backup up to its sync.
// Then the restore of that archive into an installation (unpack and check every hash and the
// database, sync, journal, swap) against "unzip" of it followed by "sync", in turns; median and
// range of each.
//
//   bench_backup [ROWS [MEDIA-MB [FILES [RUNS]]]]     defaults: 100000 1024 400 3
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
    int runs = 3;
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

struct Spread
{
    double median;
    double low;
    double high;
};

Spread spread(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    const size_t n = times.size();
    const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    return {median, times.front(), times.back()};
}

QString range(const Spread& s)
{
    return QStringLiteral("median %1 ms (range %2 to %3)")
        .arg(s.median, 0, 'f', 0)
        .arg(s.low, 0, 'f', 0)
        .arg(s.high, 0, 'f', 0);
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

    // Alternating runs, so that neither contender profits from the other's writing finishing.
    std::vector<double> tarTimes, tarSyncTimes, backupTimes, writtenTimes;
    for (int run = 0; run < size.runs; ++run) {
        tarTimes.push_back(bestOf(1, [&] { tar(false); }));
        backupTimes.push_back(bestOf(1, backup));
        writtenTimes.push_back(writtenMs);
        tarSyncTimes.push_back(bestOf(1, [&] { tar(true); }));
    }
    if (!ok) {
        out << "the backup failed\n";
        return 1;
    }
    const double tarMs = *std::min_element(tarTimes.begin(), tarTimes.end());
    const double tarSyncMs = *std::min_element(tarSyncTimes.begin(), tarSyncTimes.end());
    const double backupMs = *std::min_element(backupTimes.begin(), backupTimes.end());
    const double writtenBestMs = *std::min_element(writtenTimes.begin(), writtenTimes.end());
    out << "database " << (QFileInfo(database).size() >> 20) << " MB, archive " << (QFileInfo(zipFile).size() >> 20)
        << " MB, tar " << (QFileInfo(tarFile).size() >> 20) << " MB" << Qt::endl;
    report(QStringLiteral("backup (snapshot, SHA-256, zip, sync) vs tar cf"), backupMs, tarMs, 1.5);
    report(QStringLiteral("backup vs tar cf + sync"), backupMs, tarSyncMs, 1.5);
    report(QStringLiteral("backup until its last block is written (before manifest and sync) vs tar cf"), writtenBestMs,
           tarMs, 1.5);

    // The restore into a new installation each time, the same disk; unzip writes the same files.
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
    std::vector<double> restoreTimes, unzipTimes;
    for (int run = 0; run < size.runs; ++run) {
        // Neither starts with the other's writing still on its way to the disk.
        QProcess::execute(QStringLiteral("sync"));
        unzipTimes.push_back(bestOf(1, unzip));
        QProcess::execute(QStringLiteral("sync"));
        restoreTimes.push_back(bestOf(1, restore));
    }
    if (!ok) {
        out << "the restore failed\n";
        return 1;
    }
    const Spread restored = spread(restoreTimes);
    const Spread unzipped = spread(unzipTimes);
    out << "restore " << range(restored) << ", unzip + sync " << range(unzipped) << Qt::endl;
    report(QStringLiteral("restore (unpack, SHA-256, integrity check, sync, journal, swap) vs unzip + sync"),
           restored.median, unzipped.median, 1.5);
    return 0;
}

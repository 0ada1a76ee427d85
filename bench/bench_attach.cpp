// Attaching a large file into the media store against cp of the same file on the same disk:
// a fresh copy, the same file chosen again (compared, then reused) and another file of the same
// name and size (compared from its last chunk, then copied under a free name).
// Usage: bench_attach [size in MB, default 1024] [folder on the disk to test, default temp]
#include "bench/BenchSupport.h"
#include "media/MediaStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

// Distinct chunks, so that no layer below can shortcut a copy or a comparison.
bool writeSource(const QString& path, qint64 megabytes, char lastByte)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray chunk(1024 * 1024, Qt::Uninitialized);
    quint32 state = 12345;
    for (char& c : chunk) {
        state = state * 1664525u + 1013904223u;
        c = char(state >> 24);
    }
    for (qint64 i = 0; i < megabytes; ++i) {
        std::memcpy(chunk.data(), &i, sizeof i);
        if (i == megabytes - 1)
            chunk[chunk.size() - 1] = lastByte;
        if (file.write(chunk) != chunk.size())
            return false;
    }
    return true;
}

// Runs work once, with everything written so far on disk before and after, so that no run
// pays for the write-back of another.
double timed(const std::function<void()>& work)
{
    ::sync();
    QElapsedTimer timer;
    timer.start();
    work();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    ::sync();
    return ms;
}

// One case: what to clear before a run (not timed), the run, and its best time so far.
struct Case
{
    std::function<void()> before;
    std::function<void()> work;
    double best = 1e300;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qint64 megabytes = args.size() > 1 ? args.at(1).toLongLong() : 1024;
    const QString base = args.size() > 2 ? args.at(2) : QDir::tempPath();
    QTemporaryDir dir(base + QStringLiteral("/bench_attach-XXXXXX"));
    if (megabytes <= 0 || !dir.isValid()) {
        qWarning("usage: bench_attach [size in MB] [folder]");
        return 1;
    }
    const QString source = dir.filePath(QStringLiteral("家庭录像.avi"));
    const QString other = dir.filePath(QStringLiteral("other/家庭录像.avi"));
    QDir().mkpath(dir.filePath(QStringLiteral("other")));
    if (!writeSource(source, megabytes, 'a') || !writeSource(other, megabytes, 'b')) {
        qWarning("cannot write the test files in %s", qPrintable(base));
        return 1;
    }
    const QString copied = dir.filePath(QStringLiteral("cp-copy.avi"));
    const MediaStore store(dir.filePath(QStringLiteral("media")));
    const QString stored = store.filePath(QStringLiteral("家庭录像.avi"));
    const QString numbered = store.filePath(QStringLiteral("家庭录像(1).avi"));
    const auto check = [](const ResultOf<MediaStore::Stored>& r, const char* expect, bool reused) {
        if (!r.ok() || r->name != QString::fromUtf8(expect) || r->reused != reused)
            qFatal("unexpected result: %s", qPrintable(r.ok() ? r->name : r.error()));
    };

    Case cp{[&] { QFile::remove(copied); }, [&] { QProcess::execute(QStringLiteral("cp"), {source, copied}); }};
    // cp leaves its copy in memory for the system to write later; the store waits until the copy
    // is on disk before giving it its name. This case shows what that wait costs on its own.
    Case cpFlushed{[&] { QFile::remove(copied); },
                   [&] {
                       QProcess::execute(QStringLiteral("cp"), {source, copied});
                       QFile file(copied);
                       if (file.open(QIODevice::ReadWrite))
                           ::fdatasync(file.handle());
                   }};
    Case fresh{[&] { QFile::remove(stored); }, [&] { check(store.store(source), "家庭录像.avi", false); }};
    Case same{[] {}, [&] { check(store.store(source), "家庭录像.avi", true); }};
    Case differs{[&] { QFile::remove(numbered); }, [&] { check(store.store(other), "家庭录像(1).avi", false); }};
    // The cases take turns, so a busy moment of the machine does not fall on one of them only.
    const int rounds = megabytes >= 512 ? 4 : 6;
    for (int round = 0; round < rounds; ++round) {
        for (Case* c : {&cp, &cpFlushed, &fresh, &same, &differs}) {
            c->before();
            c->best = std::min(c->best, timed(c->work));
        }
    }

    QTextStream(stdout) << "file of " << megabytes << " MB in " << base << ", best of " << rounds << " rounds\n";
    report(QStringLiteral("store, new name"), fresh.best, cp.best, 1.5);
    report(QStringLiteral("store, same name and content (compared, reused)"), same.best, cp.best, 1.5);
    report(QStringLiteral("store, same name and size, other content (compared, copied)"), differs.best, cp.best, 1.5);
    QTextStream(stdout) << "cp, then the copy flushed to disk: " << QString::number(cpFlushed.best, 'f', 2)
                        << " ms (cp leaves that for later; the store waits for it before naming the copy)\n";
    report(QStringLiteral("store, new name, against cp with the flush"), fresh.best, cpFlushed.best, 1.5);
    return 0;
}

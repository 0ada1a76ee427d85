// Attaching a large file into the media store against cp of the same file on the same disk
// followed by a flush of the copy to the disk (the store waits for its copy to be on the disk
// before it names it, and so must an honest competitor): a fresh copy, the same file chosen
// again (compared, then reused) and another file of the same name and size (compared from its
// last chunk, then copied under a free name). Plain cp, which leaves the writing for later, is
// shown beside them.
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

// One case: what to clear before a run (not timed), the run, and its times.
struct Case
{
    std::function<void()> before;
    std::function<void()> work;
    Samples times = {};
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
    // is on disk before giving it its name, so the baseline flushes the copy too.
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
    // The cases take turns, the first to go turning each round, so a busy moment of the machine
    // does not fall on one of them only.
    const int rounds = megabytes >= 512 ? 5 : 7;
    QList<Case*> cases{&cp, &cpFlushed, &fresh, &same, &differs};
    for (int round = 0; round < rounds; ++round) {
        for (qsizetype i = 0; i < cases.size(); ++i) {
            Case* c = cases.at((i + round) % cases.size());
            c->before();
            c->times.values.push_back(timed(c->work));
        }
    }

    QTextStream(stdout) << "file of " << megabytes << " MB in " << base << ", " << rounds << " rounds\n";
    const auto figure = [&](const QString& name, const QString& what, const Case& c) {
        Figure f{name, what, 1.5};
        f.side = c.times;
        f.baseline = cpFlushed.times;
        report(f);
    };
    figure(QStringLiteral("attach"), QStringLiteral("store, new name, vs cp + flush"), fresh);
    figure(QStringLiteral("attach_same"),
           QStringLiteral("store, same name and content (compared, reused), vs cp + flush"), same);
    figure(QStringLiteral("attach_differs"),
           QStringLiteral("store, same name and size, other content (compared, copied), vs cp + flush"), differs);
    QTextStream(stdout) << "plain cp (the copy left in memory to be written later): "
                        << BenchDetail::number(cp.times.median()) << " ms " << BenchDetail::spread(cp.times) << '\n';
    return 0;
}

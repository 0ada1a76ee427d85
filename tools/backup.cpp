// kestrin-backup: the family's records in one archive and back, for scripts and scheduled
// backups. The same work as the programs' "备份…", "恢复…" and "导出…" items.
#include "backup/Backup.h"
#include "backup/BackupTr.h"
#include "backup/CsvExport.h"
#include "backup/FamilyFiles.h"
#include "backup/Progress.h"
#include "backup/RecordsLock.h"
#include "backup/Restore.h"
#include "backup/RestoreRecovery.h"
#include "backup/SuitePrograms.h"
#include "common/DataSource.h"
#include "tools/Console.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

namespace {

enum Exit
{
    Done = 0,
    Failed = 1,
    Usage = 2,
    Interrupted = 130
};

std::atomic<Progress*> running{nullptr};
volatile std::sig_atomic_t interrupted = 0;
// Written to by the signal handler so that the question's wait ends even when the signal comes
// just before it starts waiting.
int wakeUp[2] = {-1, -1};

// Ctrl+C and SIGTERM stop the work at its next check, or the question waiting for an answer;
// what was written or unpacked is removed as on any cancel.
void interrupt(int)
{
    interrupted = 1;
    if (wakeUp[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(wakeUp[1], &byte, 1);
    }
    if (Progress* progress = running.load())
        progress->cancel();
}

void answerSignals()
{
    if (::pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0)
        wakeUp[0] = wakeUp[1] = -1;
    struct sigaction action = {};
    action.sa_handler = interrupt;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a read waiting at the question returns, so the question can end.
    action.sa_flags = 0;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Holds Ctrl+C and SIGTERM back while the records are swapped: the swap takes a moment, and a
// swap cut off would leave the next start to finish it.
class SignalsHeld
{
public:
    SignalsHeld()
    {
        sigset_t held;
        sigemptyset(&held);
        sigaddset(&held, SIGINT);
        sigaddset(&held, SIGTERM);
        sigprocmask(SIG_BLOCK, &held, &m_before);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &m_before, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t m_before;
};

using Console::err;
using Console::out;

// Runs work with a progress line on the terminal and Ctrl+C as cancel.
template <typename Work> auto withProgress(bool quiet, Work work)
{
    const bool show = !quiet && ::isatty(STDERR_FILENO);
    Progress progress([show](const QString& step, int percent) {
        if (show)
            err() << '\r' << step << ' ' << percent << "%   " << Qt::flush;
    });
    running = &progress;
    auto result = work(progress);
    running = nullptr;
    if (show)
        err() << '\n';
    return std::make_pair(std::move(result), progress.cancelled());
}

int fail(const Result& result, bool cancelled)
{
    if (cancelled) {
        err() << BackupTr::tr("已取消。") << '\n';
        return Interrupted;
    }
    err() << result.error() << '\n';
    return Failed;
}

enum class Answer
{
    Yes,
    No,
    Interrupted
};

// Reads the answer straight from the terminal, so that Ctrl+C ends the wait for it.
Answer askYes(const QString& question)
{
    out() << question << " [y/N] " << Qt::flush;
    QByteArray line;
    char c = 0;
    for (;;) {
        pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {wakeUp[0], POLLIN, 0}};
        const int ready = ::poll(waits, 2, -1);
        if (interrupted) {
            out() << '\n';
            return Answer::Interrupted;
        }
        if (ready < 0 && errno == EINTR)
            continue;
        const ssize_t n = ready < 0 ? -1 : ::read(STDIN_FILENO, &c, 1);
        if (interrupted) {
            out() << '\n';
            return Answer::Interrupted;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || c == '\n')
            break;
        line.append(c);
    }
    const QString answer = QString::fromLocal8Bit(line).trimmed().toLower();
    return answer == QStringLiteral("y") || answer == QStringLiteral("yes") || answer == QStringLiteral("是")
               ? Answer::Yes
               : Answer::No;
}

ResultOf<FamilyFiles> familyFiles(const QCommandLineParser& parser)
{
    if (parser.isSet(QStringLiteral("root")))
        return FamilyFiles::underRoot(parser.value(QStringLiteral("root")));
    if (parser.isSet(QStringLiteral("database")))
        return FamilyFiles::forDatabase(parser.value(QStringLiteral("database")));
    // A data source that names a server gives a database name, not a file: the installation's
    // settings then say which server.
    const QString registered = DataSource::databasePath(DataSource::Name);
    if (!registered.isEmpty() && QFileInfo(registered).isAbsolute())
        return FamilyFiles::forDatabase(registered);
    // Installed beside the programs, the tool's parent folder is the installation root.
    const FamilyFiles beside = FamilyFiles::underRoot(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    if (beside.onServer() || QFileInfo::exists(beside.databasePath))
        return beside;
    return Result::failure(
        BackupTr::tr("找不到孩子的记录：数据源“kestrin”没有登记数据库文件。请用 --root 指定安装文件夹。"));
}

// Finishes or undoes a restore that was cut off, before any command uses the records.
bool recover(const FamilyFiles& files)
{
    const Recovery recovery =
        RestoreRecovery::run(files, RecordsLock::StartWait, RestoreRecovery::defaultArchiveFolders());
    switch (recovery.outcome) {
    case Recovery::Outcome::Nothing:
        return true;
    case Recovery::Outcome::Completed:
    case Recovery::Outcome::PutBack:
        err() << recovery.message << '\n';
        return true;
    case Recovery::Outcome::Busy:
    case Recovery::Outcome::Failed:
        break;
    }
    err() << Result::failure(recovery.message, recovery.detail).error() << '\n';
    return false;
}

// Holds the records lock in mode while a command works, as the programs do while they run.
bool holdRecords(RecordsLock& lock, RecordsLock::Mode mode)
{
    RecordsLock::setProgramLock(&lock);
    if (mode == RecordsLock::Mode::Shared) {
        if (lock.lock(mode, RecordsLock::StartWait))
            return true;
        err() << (lock.serverError().isEmpty() ? BackupTr::tr("正在恢复备份。请等恢复完成后再试。")
                                               : lock.serverError())
              << '\n';
        return false;
    }
    if (lock.lock(mode))
        return true;
    err() << SuitePrograms::holdingRecords(QStringLiteral("/proc"), QCoreApplication::applicationPid(),
                                           lock.serverHolders())
                 .error()
          << '\n';
    return false;
}

int backup(const FamilyFiles& files, const QString& archive, bool quiet)
{
    const BackupOptions options{files, archive};
    auto [made, cancelled] = withProgress(quiet, [&](Progress& p) { return Backup::create(options, p); });
    if (!made)
        return fail(made, cancelled);
    out() << BackupTr::tr("备份完成：%1（%2 个媒体文件，%3 字节）")
                 .arg(QDir::toNativeSeparators(made->archivePath))
                 .arg(made->mediaFiles)
                 .arg(made->archiveBytes)
          << '\n';
    if (!made->missingMedia.isEmpty())
        err() << BackupTr::tr("记录里提到、但媒体文件夹中找不到的文件：%1")
                     .arg(made->missingMedia.join(QStringLiteral("、")))
              << '\n';
    if (!made->recorded)
        err() << made->recorded.error() << '\n';
    return Done;
}

int verify(const QString& archive, bool quiet)
{
    auto [manifest, cancelled] = withProgress(quiet, [&](Progress& p) { return Backup::verify(archive, p); });
    if (!manifest)
        return fail(manifest, cancelled);
    out() << BackupTr::tr("备份文件完好：制作于 %1，程序版本 %2，数据版本 %3，%4 个媒体文件。")
                 .arg(manifest->created.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                      manifest->programVersion)
                 .arg(manifest->schemaVersion)
                 .arg(manifest->members.size() - 1)
          << '\n';
    return Done;
}

int restore(const FamilyFiles& files, const QString& archive, bool yes, bool quiet)
{
    if (!yes && !::isatty(STDIN_FILENO)) {
        err() << BackupTr::tr("恢复会替换全部记录。在脚本中使用时，请加上 --yes 确认。") << '\n';
        return Usage;
    }
    // Held from the start, so no program starts on the records while they are unpacked and swapped.
    RecordsLock lock(files.databasePath);
    if (!holdRecords(lock, RecordsLock::Mode::Exclusive))
        return Failed;
    auto [staged, cancelled] =
        withProgress(quiet, [&](Progress& p) { return StagedRestore::prepare(archive, files, p); });
    if (!staged)
        return fail(staged, cancelled);
    const Manifest& manifest = (*staged)->manifest();
    if (!yes) {
        const Answer answer =
            askYes(BackupTr::tr("备份制作于 %1。恢复会用它替换%2中现在的全部记录和媒体文件，"
                                "现在的记录会先移到一旁保存。确定要恢复吗？")
                       .arg(manifest.created.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                            QDir::toNativeSeparators(QFileInfo(files.databasePath).absolutePath())));
        if (answer != Answer::Yes) {
            out() << BackupTr::tr("没有做任何更改。") << '\n';
            return answer == Answer::Interrupted ? Interrupted : Done;
        }
    }
    if (interrupted)
        return fail(Result(), true);
    Result committed;
    {
        const SignalsHeld held;
        committed = (*staged)->commit();
    }
    if (!committed)
        return fail(committed, false);
    if ((*staged)->asideFolder().isEmpty())
        out() << BackupTr::tr("恢复完成。") << '\n';
    else
        out() << BackupTr::tr("恢复完成。原来的记录保存在：%1").arg(QDir::toNativeSeparators((*staged)->asideFolder()))
              << '\n';
    if (const QString media = (*staged)->mediaAsideFolder(); !media.isEmpty())
        out() << BackupTr::tr("原来的媒体文件保存在：%1").arg(QDir::toNativeSeparators(media)) << '\n';
    return Done;
}

int exportTo(const FamilyFiles& files, const QString& folder, bool quiet)
{
    auto [summary, cancelled] = withProgress(
        quiet, [&](Progress& p) { return CsvExport::exportTo(files, folder, NamedMedia::defaultProvider(), p); });
    if (!summary)
        return fail(summary, cancelled);
    out() << BackupTr::tr("导出完成：%1（%2 个表，%3 行，%4 个媒体文件）")
                 .arg(QDir::toNativeSeparators(summary->folder))
                 .arg(summary->tables)
                 .arg(summary->rows)
                 .arg(summary->mediaFiles)
          << '\n';
    if (!summary->missingMedia.isEmpty())
        err() << BackupTr::tr("记录里提到、但媒体文件夹中找不到的文件：%1")
                     .arg(summary->missingMedia.join(QStringLiteral("、")))
              << '\n';
    return Done;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrin-backup"));
    answerSignals();

    QCommandLineParser parser;
    parser.setApplicationDescription(
        BackupTr::tr("备份、检查、恢复和导出孩子的全部记录。\n\n"
                     "命令：\n"
                     "  backup FILE     把数据库和记录用到的媒体文件备份到 zip 文件 FILE\n"
                     "  verify FILE     检查备份文件是否完好，不做任何更改\n"
                     "  restore FILE    用备份替换现在的记录（现在的记录先移到一旁保存）\n"
                     "  export FOLDER   把每个表导出为 CSV 文件，并复制媒体文件到新的或空的文件夹 FOLDER\n\n"
                     "不指定 --root 或 --database 时，使用数据源“kestrin”登记的数据库。"));
    parser.addHelpOption();
    parser.addOption(
        {QStringLiteral("root"), BackupTr::tr("安装文件夹（其中有 database/kestrin.db）。"), BackupTr::tr("文件夹")});
    parser.addOption(
        {QStringLiteral("database"), BackupTr::tr("数据库文件；媒体文件夹是它旁边的 media。"), BackupTr::tr("文件")});
    parser.addOption({QStringLiteral("yes"), BackupTr::tr("恢复时不再询问。")});
    parser.addOption({QStringLiteral("quiet"), BackupTr::tr("不显示进度。")});
    parser.addPositionalArgument(QStringLiteral("command"), BackupTr::tr("backup、verify、restore 或 export"));
    parser.addPositionalArgument(QStringLiteral("path"), BackupTr::tr("备份文件或导出文件夹"));
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    const QStringList commands{QStringLiteral("backup"), QStringLiteral("verify"), QStringLiteral("restore"),
                               QStringLiteral("export")};
    if (args.size() != 2 || !commands.contains(args.at(0))) {
        err() << parser.helpText();
        return Usage;
    }
    const QString command = args.at(0);
    const QString path = args.at(1);
    const bool quiet = parser.isSet(QStringLiteral("quiet"));
    const ResultOf<FamilyFiles> files = familyFiles(parser);
    // Verify needs no records, but it too puts a cut-off restore right when it can find one.
    if (files && !recover(*files))
        return Failed;
    if (command == QStringLiteral("verify"))
        return verify(path, quiet);

    if (!files)
        return fail(files, false);
    if (command == QStringLiteral("restore"))
        return restore(*files, path, parser.isSet(QStringLiteral("yes")), quiet);
    RecordsLock lock(files->databasePath);
    if (!holdRecords(lock, RecordsLock::Mode::Shared))
        return Failed;
    if (command == QStringLiteral("backup"))
        return backup(*files, path, quiet);
    return exportTo(*files, path, quiet);
}

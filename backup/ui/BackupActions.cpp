#include "backup/ui/BackupActions.h"

#include "backup/AsideFolders.h"
#include "backup/Backup.h"
#include "backup/BackupRecord.h"
#include "backup/BackupTr.h"
#include "backup/CsvExport.h"
#include "backup/FileErrors.h"
#include "backup/RecordsLock.h"
#include "backup/Restore.h"
#include "backup/SuitePrograms.h"
#include "backup/ui/AsideFoldersDialog.h"
#include "backup/ui/BackupProgressDialog.h"
#include "backup/ui/BackupReminderDialog.h"
#include "common/Clock.h"
#include "common/DataSource.h"
#include "common/ui/DialogService.h"
#include "common/ui/MainWindowBase.h"
#include "data/Database.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>

#include <optional>

namespace {

// A note on media files that rows name but that were not found, for the closing message.
QString missingNote(const QStringList& missing)
{
    if (missing.isEmpty())
        return {};
    QStringList shown = missing.mid(0, 10);
    if (missing.size() > shown.size())
        shown << QStringLiteral("…");
    return QStringLiteral("\n\n") + BackupTr::tr("有 %1 个记录里提到的媒体文件在媒体文件夹中找不到，没有包括在内：%2")
                                        .arg(missing.size())
                                        .arg(shown.join(QStringLiteral("、")));
}

// The refusal of a restore when another process, here or on another computer sharing the
// server, holds the records lock now.
Result othersHoldRecords(const QString& databasePath, const QString& procRoot)
{
    RecordsLock probe(databasePath);
    RecordsLock* own = RecordsLock::programLock(databasePath);
    RecordsLock& lock = own ? *own : probe;
    const bool free = lock.lock(RecordsLock::Mode::Exclusive);
    if (own)
        own->lock(RecordsLock::Mode::Shared);
    else
        probe.unlock();
    if (free)
        return {};
    if (!lock.serverError().isEmpty())
        return Result::failure(lock.serverError() + QLatin1Char('\n') + BackupTr::tr("恢复没有进行，没有做任何更改。"));
    return SuitePrograms::holdingRecords(procRoot, QCoreApplication::applicationPid(), lock.serverHolders());
}

} // namespace

BackupActions* BackupActions::install(MainWindowBase& window, BackupSetup setup)
{
    return new BackupActions(window, std::move(setup));
}

BackupActions::BackupActions(MainWindowBase& window, BackupSetup setup)
    : QObject(&window), m_window(window), m_setup(std::move(setup)),
      m_backupAction(window.addWindowMenuItem(BackupTr::tr("备份…"), QStringLiteral("backupAction"))),
      m_restoreAction(window.addWindowMenuItem(BackupTr::tr("恢复…"), QStringLiteral("restoreAction"))),
      m_exportAction(window.addWindowMenuItem(BackupTr::tr("导出…"), QStringLiteral("exportAction"))),
      m_asideFoldersAction(
          window.addWindowMenuItem(BackupTr::tr("恢复前的记录…"), QStringLiteral("asideFoldersAction")))
{
    setObjectName(QStringLiteral("backupActions"));
    connect(m_backupAction, &QAction::triggered, this, &BackupActions::backup);
    connect(m_restoreAction, &QAction::triggered, this, &BackupActions::restore);
    connect(m_exportAction, &QAction::triggered, this, &BackupActions::exportRecords);
    connect(m_asideFoldersAction, &QAction::triggered, this, &BackupActions::showAsideFolders);
}

FamilyFiles BackupActions::familyFiles() const
{
    // The database and the media folder beside it, from one root: a media folder taken from
    // elsewhere would pair one installation's rows with another's files.
    if (!m_setup.files.databasePath.isEmpty())
        return m_setup.files;
    // A data source that names a server gives a database name, not a file: the installation's
    // settings then say which server.
    const QString registered = DataSource::databasePath(DataSource::Name);
    if (!registered.isEmpty() && QFileInfo(registered).isAbsolute())
        return FamilyFiles::forDatabase(registered);
    return FamilyFiles::underRoot(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
}

void BackupActions::report(const Result& result)
{
    DialogService::current().message(&m_window, result.error(), DialogService::Icon::Critical);
}

void BackupActions::backup()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(folder).isDir())
        folder = QDir::homePath();
    const QString suggested = QDir(folder).filePath(
        BackupTr::tr("儿童成长记录备份-%1.zip").arg(Clock::current().now().toString(QStringLiteral("yyyyMMdd"))));
    QString path = DialogService::current().chooseSaveFile(&m_window, BackupTr::tr("备份到哪里"), suggested,
                                                           BackupTr::tr("备份文件 (*.zip)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive)) {
        path += QStringLiteral(".zip");
        // The file dialog asked about the name without ".zip"; this name was never asked about.
        if (QFileInfo::exists(path) &&
            !DialogService::current().confirm(
                &m_window, BackupTr::tr("%1已经存在，要用新的备份替换它吗？").arg(FileErrors::quoted(path)),
                BackupTr::tr("系统提示")))
            return;
    }

    const BackupOptions options{familyFiles(), path, m_setup.namedMedia};
    std::optional<BackupSummary> summary;
    BackupProgressDialog progress(BackupTr::tr("备份"), &m_window);
    const Result result = progress.run([&](Progress& p) {
        ResultOf<BackupSummary> made = Backup::create(options, p);
        if (made)
            summary = *made;
        return Result(made);
    });
    if (progress.wasCancelled()) {
        DialogService::current().message(&m_window, BackupTr::tr("备份已取消，没有留下任何文件。"));
        return;
    }
    if (!result) {
        report(result);
        return;
    }
    QString text = BackupTr::tr("备份完成。\n\n备份文件：%1（%2）\n其中有 %3 个媒体文件。\n\n"
                                "请把这个文件复制到U盘或另一块磁盘上保存。")
                       .arg(QDir::toNativeSeparators(summary->archivePath), FileErrors::sizeText(summary->archiveBytes))
                       .arg(summary->mediaFiles) +
                   missingNote(summary->missingMedia);
    if (!summary->recorded)
        text += QStringLiteral("\n\n") + BackupTr::tr("（备份的时间没能记入数据库，下次启动时可能仍会提醒备份。）");
    DialogService::current().message(&m_window, text);
}

void BackupActions::restore()
{
    const FamilyFiles files = familyFiles();
    // Asked before the backup is chosen and unpacked; the lock taken by the restore itself decides.
    if (const Result free = othersHoldRecords(files.databasePath, m_setup.procRoot); !free) {
        DialogService::current().message(&m_window, free.message(), DialogService::Icon::Warning);
        return;
    }
    const QStringList chosen = DialogService::current().chooseFiles(&m_window, BackupTr::tr("选择要恢复的备份文件"),
                                                                    BackupTr::tr("备份文件 (*.zip);;所有文件 (*)"));
    if (chosen.isEmpty())
        return;
    if (chosen.size() > 1) {
        DialogService::current().message(&m_window, BackupTr::tr("请只选择一个备份文件。"));
        return;
    }

    std::unique_ptr<StagedRestore> staged;
    BackupProgressDialog progress(BackupTr::tr("恢复"), &m_window);
    const Result checked = progress.run([&](Progress& p) {
        ResultOf<std::unique_ptr<StagedRestore>> prepared = StagedRestore::prepare(chosen.first(), files, p);
        if (prepared)
            staged = std::move(prepared.value());
        return Result(prepared);
    });
    if (progress.wasCancelled()) {
        DialogService::current().message(&m_window, BackupTr::tr("恢复已取消，没有做任何更改。"));
        return;
    }
    if (!checked) {
        report(checked);
        return;
    }

    const Manifest& manifest = staged->manifest();
    const QString keptWhere =
        files.onServer()
            ? BackupTr::tr("恢复会用它替换服务器上的全部记录和媒体文件夹中的文件。现在的记录不会删除：服务器上的记录"
                           "会先复制到本机的数据库文件夹%1里一个名为“恢复前的记录”的文件夹中，媒体文件也移到那里保存。")
            : BackupTr::tr("恢复会用它替换现在的全部记录和媒体文件。现在的记录不会删除，会先移到数据库文件夹%1里"
                           "一个名为“恢复前的记录”的文件夹中保存。");
    QString question = BackupTr::tr("这个备份制作于 %1，其中有 %2 个媒体文件，已经检查无误。")
                           .arg(manifest.created.toLocalTime().toString(QStringLiteral("yyyy年M月d日 HH:mm")))
                           .arg(manifest.members.size() - 1) +
                       QStringLiteral("\n\n") +
                       keptWhere.arg(FileErrors::quoted(QFileInfo(files.databasePath).absolutePath()));
    if (const QList<AsideFolders::Folder> kept = AsideFolders::list(files.databasePath); !kept.isEmpty()) {
        qint64 bytes = 0;
        for (const AsideFolders::Folder& folder : kept)
            bytes += folder.bytes;
        question += QStringLiteral("\n\n") +
                    BackupTr::tr("那里已经有 %1 份以前恢复时保存的记录（共 %2），可以在窗口菜单的“恢复前的记录…”中"
                                 "查看，并删除不再需要的。")
                        .arg(kept.size())
                        .arg(FileErrors::sizeText(bytes));
    }
    question += QStringLiteral("\n\n") + BackupTr::tr("确定要恢复吗？");
    if (!DialogService::current().confirm(&m_window, question, BackupTr::tr("系统提示")))
        return;
    staged->setProcRoot(m_setup.procRoot);

    // The program's own connection must not hold the file that is moved aside.
    const bool wasOpen = Database::connection().isOpen();
    Database::close();
    const Result done = staged->commit();
    const Result reopened = !wasOpen           ? Result()
                            : files.onServer() ? Database::openServer(files.server)
                                               : Database::open(files.databasePath);
    if (!done) {
        report(done);
        return;
    }
    QString text =
        staged->asideFolder().isEmpty()
            ? BackupTr::tr("恢复完成。")
            : BackupTr::tr("恢复完成。原来的记录保存在%1中。").arg(FileErrors::quoted(staged->asideFolder()));
    if (const QString media = staged->mediaAsideFolder(); !media.isEmpty())
        text += BackupTr::tr("原来的媒体文件保存在%1中。").arg(FileErrors::quoted(media));
    if (!reopened)
        text += QStringLiteral("\n\n") + reopened.error();
    // The pages still show the replaced records, and saving one of them would write into the
    // restored ones: the program ends and is started again by the user.
    text += QStringLiteral("\n\n") + BackupTr::tr("程序现在关闭，请重新打开它，查看恢复的记录。");
    DialogService::current().message(&m_window, text);
    m_window.close();
}

void BackupActions::exportRecords()
{
    const QString parent = DialogService::current().chooseFolder(&m_window, BackupTr::tr("导出到哪个文件夹"));
    if (parent.isEmpty())
        return;
    const QString folder = QDir(parent).filePath(
        BackupTr::tr("儿童成长记录-%1").arg(Clock::current().now().toString(QStringLiteral("yyyyMMdd-HHmmss"))));
    const FamilyFiles files = familyFiles();
    std::optional<ExportSummary> summary;
    BackupProgressDialog progress(BackupTr::tr("导出"), &m_window);
    const Result result = progress.run([&](Progress& p) {
        ResultOf<ExportSummary> made = CsvExport::exportTo(files, folder, m_setup.namedMedia, p);
        if (made)
            summary = *made;
        return Result(made);
    });
    if (progress.wasCancelled()) {
        DialogService::current().message(&m_window, BackupTr::tr("导出已取消，没有留下任何文件。"));
        return;
    }
    if (!result) {
        report(result);
        return;
    }
    DialogService::current().message(
        &m_window, BackupTr::tr("导出完成：%1\n\n每个表保存为一个 CSV 文件（共 %2 个），可以用电子表格程序打开；"
                                "%3 个媒体文件复制在其中的 media 文件夹里。")
                           .arg(QDir::toNativeSeparators(summary->folder))
                           .arg(summary->tables)
                           .arg(summary->mediaFiles) +
                       missingNote(summary->missingMedia));
}

void BackupActions::showAsideFolders()
{
    const QString databasePath = familyFiles().databasePath;
    if (AsideFolders::list(databasePath).isEmpty()) {
        DialogService::current().message(&m_window, BackupTr::tr("数据库文件夹中没有以前恢复时保存的记录。"));
        return;
    }
    AsideFoldersDialog dialog(databasePath, &m_window);
    dialog.exec();
}

void BackupActions::remindIfDue()
{
    if (m_reminded)
        return;
    m_reminded = true;
    const QSqlDatabase db = Database::connection();
    if (!db.isOpen())
        return;
    const ResultOf<BackupRecord::Reminder> reminder = BackupRecord::reminder(db, Clock::current().now());
    // A reminder is a courtesy: when the database cannot say, the program just goes on.
    if (!reminder || !reminder->due)
        return;
    BackupReminderDialog dialog(*reminder, &m_window);
    const bool backUpNow = dialog.exec() == QDialog::Accepted;
    if (dialog.stopReminding()) {
        if (Result r = BackupRecord::setReminderEnabled(db, false); !r)
            report(r);
    }
    if (backUpNow)
        backup();
}

void BackupActions::remindWhenShown()
{
    QTimer::singleShot(0, this, &BackupActions::remindIfDue);
}

#include "backup/ui/BackupActions.h"

#include "backup/Backup.h"
#include "backup/BackupRecord.h"
#include "backup/BackupTr.h"
#include "backup/CsvExport.h"
#include "backup/FileErrors.h"
#include "backup/Restore.h"
#include "backup/SuitePrograms.h"
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

QString sizeText(qint64 bytes)
{
    if (bytes < (1 << 20))
        return BackupTr::tr("%1 KB").arg(qMax<qint64>(1, bytes / 1024));
    if (bytes < (qint64(1) << 30))
        return BackupTr::tr("%1 MB").arg(double(bytes) / (1 << 20), 0, 'f', 1);
    return BackupTr::tr("%1 GB").arg(double(bytes) / (qint64(1) << 30), 0, 'f', 2);
}

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

QString runningNote(const QStringList& running)
{
    return BackupTr::tr("请先关闭正在运行的%1，再恢复备份。恢复会替换它们正在使用的记录。")
        .arg(running.join(QStringLiteral("、")));
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
      m_exportAction(window.addWindowMenuItem(BackupTr::tr("导出…"), QStringLiteral("exportAction")))
{
    setObjectName(QStringLiteral("backupActions"));
    connect(m_backupAction, &QAction::triggered, this, &BackupActions::backup);
    connect(m_restoreAction, &QAction::triggered, this, &BackupActions::restore);
    connect(m_exportAction, &QAction::triggered, this, &BackupActions::exportRecords);
}

FamilyFiles BackupActions::familyFiles() const
{
    FamilyFiles files = m_setup.files;
    if (files.databasePath.isEmpty())
        files.databasePath = DataSource::databasePath(DataSource::Name);
    if (files.mediaFolder.isEmpty())
        files.mediaFolder =
            FamilyFiles::underRoot(QCoreApplication::applicationDirPath() + QStringLiteral("/..")).mediaFolder;
    return files;
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
    if (!path.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive))
        path += QStringLiteral(".zip");

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
                       .arg(QDir::toNativeSeparators(summary->archivePath), sizeText(summary->archiveBytes))
                       .arg(summary->mediaFiles) +
                   missingNote(summary->missingMedia);
    if (!summary->recorded)
        text += QStringLiteral("\n\n") + BackupTr::tr("（备份的时间没能记入数据库，下次启动时可能仍会提醒备份。）");
    DialogService::current().message(&m_window, text);
}

void BackupActions::restore()
{
    const qint64 self = QCoreApplication::applicationPid();
    if (const QStringList running = SuitePrograms::running(m_setup.procRoot, self); !running.isEmpty()) {
        DialogService::current().message(&m_window, runningNote(running), DialogService::Icon::Warning);
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

    const FamilyFiles files = familyFiles();
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
    const QString question =
        BackupTr::tr("这个备份制作于 %1，其中有 %2 个媒体文件，已经检查无误。\n\n"
                     "恢复会用它替换现在的全部记录和媒体文件。现在的记录不会删除，会先移到数据库文件夹%3里"
                     "一个名为“恢复前的记录”的文件夹中保存。\n\n确定要恢复吗？")
            .arg(manifest.created.toLocalTime().toString(QStringLiteral("yyyy年M月d日 HH:mm")))
            .arg(manifest.members.size() - 1)
            .arg(FileErrors::quoted(QFileInfo(files.databasePath).absolutePath()));
    if (!DialogService::current().confirm(&m_window, question, BackupTr::tr("系统提示")))
        return;
    // Someone may have started a program while the question was open.
    if (const QStringList running = SuitePrograms::running(m_setup.procRoot, self); !running.isEmpty()) {
        DialogService::current().message(&m_window, runningNote(running), DialogService::Icon::Warning);
        return;
    }

    // The program's own connection must not hold the file that is moved aside.
    const bool wasOpen = Database::connection().isOpen();
    Database::close();
    const Result done = staged->commit();
    const Result reopened = wasOpen ? Database::open(files.databasePath) : Result();
    if (!done) {
        report(done);
        return;
    }
    QString text =
        staged->asideFolder().isEmpty()
            ? BackupTr::tr("恢复完成。")
            : BackupTr::tr("恢复完成。原来的记录保存在%1中。").arg(FileErrors::quoted(staged->asideFolder()));
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

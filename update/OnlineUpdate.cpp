#include "update/OnlineUpdate.h"
#include "update/UpdateTr.h"

#include "common/ProcessEnumerator.h"
#include "common/SingleInstance.h"
#include "update/ExecutableCheck.h"
#include "update/UpdateModules.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QNetworkReply>
#include <QSettings>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

const QString VersionKey = QStringLiteral("Version/version");
constexpr int TransferTimeoutMs = 30000;

QUrl joined(const QUrl& base, const QString& path)
{
    QUrl url = base;
    QString basePath = url.path();
    if (basePath.endsWith(QLatin1Char('/')))
        basePath.chop(1);
    url.setPath(basePath + path);
    return url;
}

// QSettings reads an unquoted value with commas as a list; the file's text is wanted.
QString settingText(const QVariant& value)
{
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(',')) : value.toString();
}

// What went wrong with a transfer, in the user's words, with what to do about it.
QString transferFailure(QNetworkReply* reply)
{
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    switch (reply->error()) {
    case QNetworkReply::ContentNotFoundError:
        return UpdateTr::tr("服务器上没有这个文件（404）。请稍后再试；如果一直这样，请告诉软件的提供者。");
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::AuthenticationRequiredError:
        return UpdateTr::tr("服务器不允许下载这个文件（%1）。请告诉软件的提供者。").arg(status);
    case QNetworkReply::HostNotFoundError:
        return UpdateTr::tr("找不到升级服务器。请检查电脑是否连上了网络，然后再试。");
    case QNetworkReply::ConnectionRefusedError:
        return UpdateTr::tr("升级服务器拒绝连接。请稍后再试。");
    case QNetworkReply::RemoteHostClosedError:
        return UpdateTr::tr("服务器中途断开了连接，文件下载不完整。请稍后再试。");
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        return UpdateTr::tr("下载超时。请检查网络连接，然后再试。");
    case QNetworkReply::SslHandshakeFailedError:
    case QNetworkReply::InsecureRedirectError:
        return UpdateTr::tr("无法与升级服务器建立安全连接。请检查电脑的日期和时间是否正确，然后再试。");
    case QNetworkReply::ProtocolUnknownError:
    case QNetworkReply::ProtocolInvalidOperationError:
        return UpdateTr::tr("这个下载地址不受支持。请告诉软件的提供者。");
    case QNetworkReply::InternalServerError:
    case QNetworkReply::ServiceUnavailableError:
    case QNetworkReply::UnknownServerError:
        return UpdateTr::tr("升级服务器出错（%1）。请稍后再试。").arg(status);
    default:
        if (status >= 400)
            return UpdateTr::tr("服务器拒绝了下载（%1）。请稍后再试；如果一直这样，请告诉软件的提供者。").arg(status);
        return UpdateTr::tr("网络连接出了问题，文件下载不完整。请检查网络连接，然后再试。");
    }
}

// Why the published version file could not be read: the network when nothing answered, the
// server when it answered without the file.
Result versionFileFailure(QNetworkReply* reply)
{
    const QString engine = reply->errorString();
    switch (reply->error()) {
    case QNetworkReply::ContentNotFoundError:
        return Result::failure(UpdateTr::tr("升级服务器上没有版本信息！") + QLatin1Char('\n') +
                                   UpdateTr::tr("服务器上找不到版本文件 version.txt，所以无法检查是否有新版本。"
                                                "电脑的网络没有问题。请稍后再试；如果一直这样，请告诉软件的提供者。"),
                               engine);
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::UnknownNetworkError:
        return Result::failure(UpdateTr::tr("网络连接失败！") + QLatin1Char('\n') +
                                   UpdateTr::tr("请检查电脑是否连上了网络，然后重新打开升级程序。"),
                               engine);
    default:
        return Result::failure(
            UpdateTr::tr("无法取得升级服务器上的版本信息！") + QLatin1Char('\n') + transferFailure(reply), engine);
    }
}

QString writeFailure(const QString& module, const QString& path)
{
    return UpdateTr::tr("%1：无法写入 %2。请确认磁盘还有空间、这个文件夹可以写入，然后再试。")
        .arg(module, QDir::toNativeSeparators(path));
}

// The SHA-256 of a file as it lies on the disk.
QByteArray hashOnDisk(const QString& path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result();
}

} // namespace

// One program being fetched: where it goes, its expected hash, the temporary file it is written
// to beside the installed program, and what is needed to put the old one back.
struct OnlineUpdate::Job
{
    QString name;
    QUrl url;
    QString target;
    QByteArray sha256;
    std::unique_ptr<QTemporaryFile> file;
    QCryptographicHash hash{QCryptographicHash::Sha256};
    qint64 received = 0;
    bool writeFailed = false;
    // Set while the program is put in place: the old program kept aside, and whether there was one.
    QString backup;
    bool replaced = false;
    bool existed = false;
};

OnlineUpdate::OnlineUpdate(QString updaterFolder, QString procRoot, QObject* parent)
    : QObject(parent), m_folder(std::move(updaterFolder)), m_procRoot(std::move(procRoot))
{
}

OnlineUpdate::~OnlineUpdate() = default;

QString OnlineUpdate::localVersionFile() const
{
    return QDir(m_folder).filePath(QStringLiteral("version.ini"));
}

QString OnlineUpdate::installRoot() const
{
    return QDir::cleanPath(QDir(m_folder).absoluteFilePath(QStringLiteral("..")));
}

int OnlineUpdate::localVersion() const
{
    bool ok = false;
    const int version = QSettings(localVersionFile(), QSettings::IniFormat).value(VersionKey).toInt(&ok);
    return ok ? version : -1;
}

QUrl OnlineUpdate::updateServer() const
{
    return QUrl(readSetting(localVersionFile(), QStringLiteral("Servers/update")));
}

QUrl OnlineUpdate::newsServer() const
{
    return QUrl(readSetting(localVersionFile(), QStringLiteral("Servers/news")));
}

QString OnlineUpdate::readSetting(const QString& file, const QString& key) const
{
    return settingText(QSettings(file, QSettings::IniFormat).value(key)).trimmed();
}

QStringList OnlineUpdate::runningModules() const
{
    // Executable names are compared whole and without regard to case, so a running Reelbox
    // is seen whatever the case of its name.
    QStringList running;
    CProcessEnumerator processes(m_procRoot);
    processes.SelectMethod(CProcessEnumerator::ExecutableNames);
    CProcessEntry entry;
    for (bool more = processes.FirstProcess(entry); more; more = processes.NextProcess(entry)) {
        for (const UpdateModule& module : UpdateModules::all()) {
            if (!module.processName.isEmpty() && SingleInstance::isProgram(entry.name(), module.processName) &&
                !running.contains(module.processName))
                running << module.processName;
        }
    }
    return running;
}

void OnlineUpdate::checkVersion()
{
    m_checkFailure = {};
    QNetworkReply* reply = get(joined(updateServer(), QStringLiteral("/version.txt")));
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            m_checkFailure = versionFileFailure(reply);
            emit checked(Check::NetworkFailed);
            return;
        }
        // The published version file is kept in the temporary folder while the updater runs.
        m_serverFile =
            std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("kestrin-version-XXXXXX.ini")));
        if (!m_serverFile->open() || m_serverFile->write(reply->readAll()) < 0 || !m_serverFile->flush()) {
            m_checkFailure = Result::failure(
                UpdateTr::tr("无法保存版本信息！") + QLatin1Char('\n') +
                    UpdateTr::tr("无法在临时文件夹 %1 里写入文件。请确认磁盘还有空间，然后重新打开升级程序。")
                        .arg(QDir::toNativeSeparators(QDir::tempPath())),
                m_serverFile->errorString());
            m_serverFile.reset();
            emit checked(Check::NetworkFailed);
            return;
        }
        bool ok = false;
        const int version = QSettings(m_serverFile->fileName(), QSettings::IniFormat).value(VersionKey).toInt(&ok);
        m_serverVersion = ok ? version : -1;
        emit checked(localVersion() < m_serverVersion ? Check::NewVersion : Check::NoNewVersion);
    });
}

void OnlineUpdate::download()
{
    if (!m_serverFile) {
        emit downloaded(
            Result::failure(UpdateTr::tr("还没有取得服务器上的版本信息。请关闭升级程序，重新打开后再试。")));
        return;
    }
    m_jobs.clear();
    m_nextJob = 0;
    const QString root = installRoot();
    const QString serverFile = m_serverFile->fileName();
    for (const UpdateModule& module : UpdateModules::all()) {
        const QString value = readSetting(serverFile, module.section + QLatin1Char('/') + module.key);
        if (value.isEmpty())
            continue;
        auto job = std::make_shared<Job>();
        job->name = module.section;
        job->url = module.serverPath.isEmpty() ? QUrl(value) : joined(updateServer(), module.serverPath);
        job->target = QDir(root).filePath(module.target);
        job->sha256 =
            QByteArray::fromHex(readSetting(serverFile, module.section + QStringLiteral("/sha256")).toLatin1());
        // Programs come from web servers only: never from a file of this computer or a data: text.
        const QString scheme = job->url.scheme().toLower();
        if (!job->url.isValid() || job->url.host().isEmpty() ||
            (scheme != QStringLiteral("http") && scheme != QStringLiteral("https"))) {
            failDownload(
                Result::failure(UpdateTr::tr("%1：下载地址“%2”不是 http 或 https 网址，已拒绝。请告诉软件的提供者。")
                                    .arg(job->name, job->url.toDisplayString().left(200))));
            return;
        }
        m_jobs.append(job);
    }
    startNextJob();
}

void OnlineUpdate::startNextJob()
{
    if (m_nextJob >= m_jobs.size()) {
        if (Result r = commitDownloads(); !r) {
            failDownload(r);
            return;
        }
        m_jobs.clear();
        // The installed version now equals the published one; the rest of the file is kept.
        QSettings local(localVersionFile(), QSettings::IniFormat);
        local.setValue(VersionKey, m_serverVersion);
        local.sync();
        if (local.status() != QSettings::NoError) {
            emit downloaded(Result::failure(
                UpdateTr::tr(
                    "程序已经更新，但无法写入版本文件 %1，下次检查时还会提示有新版本。请确认这个文件可以写入。")
                    .arg(QDir::toNativeSeparators(localVersionFile()))));
            return;
        }
        emit downloaded({});
        return;
    }
    const std::shared_ptr<Job> job = m_jobs.at(m_nextJob);
    QDir().mkpath(QFileInfo(job->target).absolutePath());
    // Written beside the installed program, so that putting it in place is a rename.
    job->file = std::make_unique<QTemporaryFile>(job->target + QStringLiteral(".download-XXXXXX"));
    if (!job->file->open()) {
        failDownload(Result::failure(writeFailure(job->name, job->target), job->file->errorString()));
        return;
    }
    QNetworkReply* reply = get(job->url);
    // The file is wanted exactly as the server keeps it, so its length can be checked.
    connect(reply, &QNetworkReply::readyRead, this, [job, reply] {
        if (job->writeFailed)
            return;
        const QByteArray chunk = reply->readAll();
        job->hash.addData(chunk);
        job->received += chunk.size();
        if (job->file->write(chunk) != chunk.size()) {
            job->writeFailed = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this, job](qint64 received, qint64 total) { emit progress(job->name, received, total); });
    connect(reply, &QNetworkReply::finished, this, [this, job, reply] { finishJob(job, reply); });
}

QNetworkReply* OnlineUpdate::get(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(TransferTimeoutMs);
    // Unpacked by nobody: the bytes received are the file, and its Content-Length counts them.
    request.setRawHeader("Accept-Encoding", "identity");
    return m_network.get(request);
}

void OnlineUpdate::finishJob(const std::shared_ptr<Job>& job, QNetworkReply* reply)
{
    reply->deleteLater();
    if (m_jobs.isEmpty() || m_jobs.at(m_nextJob) != job)
        return;
    if (Result r = checkDownload(*job, reply); !r) {
        failDownload(r);
        return;
    }
    ++m_nextJob;
    startNextJob();
}

Result OnlineUpdate::checkDownload(Job& job, QNetworkReply* reply)
{
    if (!job.writeFailed && reply->error() == QNetworkReply::NoError) {
        const QByteArray rest = reply->readAll();
        job.hash.addData(rest);
        job.received += rest.size();
        job.writeFailed = job.file->write(rest) != rest.size();
    }
    if (job.writeFailed || !job.file->flush())
        return Result::failure(writeFailure(job.name, job.target), job.file->errorString());
    if (reply->error() != QNetworkReply::NoError)
        return Result::failure(UpdateTr::tr("%1：%2").arg(job.name, transferFailure(reply)), reply->errorString());
    if (job.received == 0)
        return Result::failure(UpdateTr::tr("%1：下载的文件是空的。已安装的程序没有改动，请稍后再试。").arg(job.name));
    const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && job.received != length.toLongLong())
        return Result::failure(
            UpdateTr::tr("%1：文件下载不完整（收到 %2 字节，应有 %3 字节）。请检查网络连接，然后再试。")
                .arg(job.name)
                .arg(job.received)
                .arg(length.toLongLong()));
    if (!job.sha256.isEmpty() && job.hash.result() != job.sha256)
        return Result::failure(
            UpdateTr::tr("%1：下载的文件校验不符（SHA-256），已放弃。请稍后再试；如果一直这样，请告诉软件的提供者。")
                .arg(job.name));
    switch (const ExecutableCheck::Finding found = ExecutableCheck::check(job.file->fileName()); found.verdict) {
    case ExecutableCheck::Verdict::Program:
        break;
    case ExecutableCheck::Verdict::Unreadable:
    case ExecutableCheck::Verdict::CutShort:
        return Result::failure(UpdateTr::tr("%1：文件下载不完整。请检查网络连接，然后再试。").arg(job.name),
                               found.detail);
    case ExecutableCheck::Verdict::Foreign:
        return Result::failure(
            UpdateTr::tr("%1：下载的文件不是这台电脑能运行的程序，已拒绝。请告诉软件的提供者。").arg(job.name),
            found.detail);
    }
    return {};
}

void OnlineUpdate::failDownload(const Result& failure)
{
    // The temporary files go with their jobs.
    m_jobs.clear();
    emit downloaded(failure);
}

Result OnlineUpdate::commitDownloads()
{
    // First every file is written out and read back whole; nothing is replaced before all are.
    for (const std::shared_ptr<Job>& job : std::as_const(m_jobs)) {
        QTemporaryFile& file = *job->file;
        const bool written = file.flush() && ::fsync(file.handle()) == 0;
        if (!written || QFileInfo(file.fileName()).size() != job->received ||
            hashOnDisk(file.fileName()) != job->hash.result())
            return Result::failure(writeFailure(job->name, job->target), file.errorString());
        file.close();
    }

    // Then each program is put in place, the old one kept aside until all are in.
    Result failure;
    for (const std::shared_ptr<Job>& job : std::as_const(m_jobs)) {
        const QString temporary = job->file->fileName();
        const QFileInfo installed(job->target);
        job->existed = installed.exists();
        job->backup = job->target + QStringLiteral(".old");
        QFile::remove(job->backup);
        const QFile::Permissions permissions = job->existed ? installed.permissions()
                                                            : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                                  QFile::ReadGroup | QFile::ExeGroup |
                                                                  QFile::ReadOther | QFile::ExeOther;
        // A hard link keeps the old program without copying it; where links are not possible, a copy.
        const bool kept =
            !job->existed ||
            ::link(QFile::encodeName(job->target).constData(), QFile::encodeName(job->backup).constData()) == 0 ||
            QFile::copy(job->target, job->backup);
        if (!kept || !QFile::setPermissions(temporary, permissions) ||
            std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(job->target).constData()) != 0) {
            failure = Result::failure(
                UpdateTr::tr("%1：无法替换 "
                             "%2，已替换的程序都已恢复原样。请关闭正在使用这些程序的窗口，确认磁盘还有空间，然后再试。")
                    .arg(job->name, QDir::toNativeSeparators(job->target)),
                QString::fromLocal8Bit(std::strerror(errno)));
            break;
        }
        job->file->setAutoRemove(false);
        job->replaced = true;
    }

    // Put back what was replaced when one failed; drop the old programs when all are in.
    for (auto it = m_jobs.crbegin(); it != m_jobs.crend(); ++it) {
        const Job& job = **it;
        if (failure.ok()) {
            QFile::remove(job.backup);
            continue;
        }
        if (!job.replaced) {
            if (job.existed)
                QFile::remove(job.backup);
            continue;
        }
        const bool restored = job.existed ? std::rename(QFile::encodeName(job.backup).constData(),
                                                        QFile::encodeName(job.target).constData()) == 0
                                          : QFile::remove(job.target);
        if (!restored)
            failure = Result::failure(failure.message() + UpdateTr::tr("\n注意：%1 没能恢复，旧的程序保存在 %2。")
                                                              .arg(job.name, QDir::toNativeSeparators(job.backup)),
                                      failure.detail());
    }
    return failure;
}

void OnlineUpdate::fetchNews()
{
    // The news comes in a file of its own; the version file of the check stays for the download.
    QNetworkReply* reply = get(joined(newsServer(), QStringLiteral("/version.txt")));
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            emit newsReady(QString());
            return;
        }
        QTemporaryFile news(QDir::temp().filePath(QStringLiteral("kestrin-news-XXXXXX.ini")));
        if (!news.open() || news.write(reply->readAll()) < 0 || !news.flush()) {
            emit newsReady(QString());
            return;
        }
        emit newsReady(readSetting(news.fileName(), QStringLiteral("Connect/connect")));
    });
}

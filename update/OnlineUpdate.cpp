#include "update/OnlineUpdate.h"
#include "update/UpdateTr.h"

#include "common/ProcessEnumerator.h"
#include "common/SingleInstance.h"
#include "update/UpdateModules.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QNetworkReply>
#include <QSaveFile>
#include <QSettings>

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

} // namespace

// One program being fetched: where it goes, its expected hash, and the file it is written to.
struct OnlineUpdate::Job
{
    QString name;
    QUrl url;
    QString target;
    QByteArray sha256;
    std::unique_ptr<QSaveFile> file;
    QCryptographicHash hash{QCryptographicHash::Sha256};
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

QNetworkReply* OnlineUpdate::get(const QUrl& url)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(TransferTimeoutMs);
    return m_network.get(request);
}

void OnlineUpdate::checkVersion()
{
    QNetworkReply* reply = get(joined(updateServer(), QStringLiteral("/version.txt")));
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        if (reply->error() != QNetworkReply::NoError) {
            emit checked(Check::NetworkFailed);
            return;
        }
        // The published version file is kept in the temporary folder while the updater runs.
        m_serverFile =
            std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("kestrin-version-XXXXXX.ini")));
        if (!m_serverFile->open() || m_serverFile->write(reply->readAll()) < 0 || !m_serverFile->flush()) {
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
        emit downloaded(Result::failure(UpdateTr::tr("还没有取得服务器上的版本信息。")));
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
        m_jobs.append(job);
    }
    startNextJob();
}

void OnlineUpdate::startNextJob()
{
    if (m_nextJob >= m_jobs.size()) {
        if (Result r = commitDownloads(); !r) {
            emit downloaded(r);
            return;
        }
        // The installed version now equals the published one; the rest of the file is kept.
        QSettings local(localVersionFile(), QSettings::IniFormat);
        local.setValue(VersionKey, m_serverVersion);
        local.sync();
        if (local.status() != QSettings::NoError) {
            emit downloaded(
                Result::failure(UpdateTr::tr("程序已经更新，但无法写入版本文件 %1。").arg(localVersionFile())));
            return;
        }
        emit downloaded({});
        return;
    }
    Job& job = *m_jobs.at(m_nextJob);
    QDir().mkpath(QFileInfo(job.target).absolutePath());
    // Written beside the installed program and put in its place only when every program is whole.
    job.file = std::make_unique<QSaveFile>(job.target);
    if (!job.file->open(QIODevice::WriteOnly)) {
        failDownload(UpdateTr::tr("%1：无法写入 %2").arg(job.name, job.target));
        return;
    }
    QNetworkReply* reply = get(job.url);
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        Job& current = *m_jobs.at(m_nextJob);
        const QByteArray chunk = reply->readAll();
        current.hash.addData(chunk);
        current.file->write(chunk);
    });
    connect(reply, &QNetworkReply::downloadProgress, this,
            [this](qint64 received, qint64 total) { emit progress(m_jobs.at(m_nextJob)->name, received, total); });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finishJob(reply); });
}

void OnlineUpdate::finishJob(QNetworkReply* reply)
{
    reply->deleteLater();
    Job& job = *m_jobs.at(m_nextJob);
    if (reply->error() != QNetworkReply::NoError) {
        failDownload(UpdateTr::tr("%1：%2").arg(job.name, reply->errorString()));
        return;
    }
    const QByteArray rest = reply->readAll();
    job.hash.addData(rest);
    job.file->write(rest);
    if (!job.sha256.isEmpty() && job.hash.result() != job.sha256) {
        failDownload(UpdateTr::tr("%1：下载的文件校验不符（SHA-256），已放弃").arg(job.name));
        return;
    }
    ++m_nextJob;
    startNextJob();
}

void OnlineUpdate::failDownload(const QString& error)
{
    for (const std::shared_ptr<Job>& job : std::as_const(m_jobs)) {
        if (job->file)
            job->file->cancelWriting();
        job->file.reset();
    }
    m_jobs.clear();
    emit downloaded(Result::failure(error));
}

Result OnlineUpdate::commitDownloads()
{
    for (const std::shared_ptr<Job>& job : std::as_const(m_jobs)) {
        const bool existed = QFileInfo::exists(job->target);
        if (!job->file->commit())
            return Result::failure(UpdateTr::tr("%1：无法替换 %2").arg(job->name, job->target));
        if (!existed)
            QFile::setPermissions(job->target, QFile::permissions(job->target) | QFile::ExeOwner | QFile::ExeGroup |
                                                   QFile::ExeOther);
    }
    m_jobs.clear();
    return {};
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

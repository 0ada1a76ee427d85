#pragma once

#include "common/Result.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QTemporaryFile>
#include <QUrl>

#include <memory>

class QNetworkReply;
struct UpdateModule;

// Compares the installed version with the published one and replaces the installed programs
// with the published ones. All network work runs in the background and reports by signals.
//
// A download is all or nothing: each program is fetched (over http or https only) into a
// temporary file beside the installed one and checked (whole, not empty, the published hash, a
// program this computer runs); only when every one is written out and checked again are they put
// in place, the old programs kept aside until all are in, and put back if any fails.
//
// The local version.ini (in the updater's folder) holds:
//   [Version] version=N            the installed version
//   [Servers] update=URL           the update server (version file and programs)
//             news=URL             the server whose version file carries the news text
class OnlineUpdate : public QObject
{
    Q_OBJECT

public:
    enum class Check
    {
        NetworkFailed,
        NoNewVersion,
        NewVersion
    };

    // updaterFolder is the updater's own folder; its parent is the installation root.
    explicit OnlineUpdate(QString updaterFolder, QString procRoot = QStringLiteral("/proc"), QObject* parent = nullptr);
    ~OnlineUpdate() override;

    QString localVersionFile() const;
    QString installRoot() const;
    int localVersion() const;
    int serverVersion() const { return m_serverVersion; }
    QUrl updateServer() const;
    QUrl newsServer() const;

    // Names of the suite's programs that are running now.
    QStringList runningModules() const;

    // Why the last version check failed, in the user's words (what happened first, then what to
    // do), with the engine's words as detail; a success after a success.
    const Result& checkFailure() const { return m_checkFailure; }

    void checkVersion();
    void download();
    void fetchNews();

signals:
    void checked(OnlineUpdate::Check result);
    void progress(const QString& module, qint64 received, qint64 total);
    // Success, or failure naming the module and why; on failure nothing was replaced.
    void downloaded(const Result& result);
    void newsReady(const QString& text);

private:
    struct Job;
    QNetworkReply* get(const QUrl& url);
    void startNextJob();
    void finishJob(const std::shared_ptr<Job>& job, QNetworkReply* reply);
    Result checkDownload(Job& job, QNetworkReply* reply);
    void failDownload(const Result& failure);
    Result commitDownloads();
    QString readSetting(const QString& file, const QString& key) const;

    QString m_folder;
    QString m_procRoot;
    QNetworkAccessManager m_network;
    std::unique_ptr<QTemporaryFile> m_serverFile;
    int m_serverVersion = -1;
    Result m_checkFailure;
    QList<std::shared_ptr<Job>> m_jobs;
    qsizetype m_nextJob = 0;
};

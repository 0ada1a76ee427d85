#pragma once

#include "common/ServerConfig.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <chrono>

// The advisory lock that keeps a restore and the programs apart. Every program, and every backup
// or export of kestrin-backup, holds it shared while it uses the family's records; a restore, and
// the repair of an interrupted one, holds it exclusively. It lies on the file "<database>.lock"
// beside the database, which a restore never moves. The lock belongs to the open file, so the
// system drops it when the process ends, however it ends.
//
// When the installation's kestrin-server.ini names a server, the lock is also taken on the
// server, so that it keeps apart the programs of every computer sharing the records: a
// session-level advisory lock with one fixed key, on a connection of the lock's own, which the
// server drops when the connection ends, however the program ends.
class RecordsLock
{
public:
    enum class Mode
    {
        Shared,
        Exclusive
    };

    // How long a program that starts waits for a restore in progress before it gives up.
    static constexpr std::chrono::milliseconds StartWait{3000};

    explicit RecordsLock(QString databasePath);
    ~RecordsLock();
    RecordsLock(const RecordsLock&) = delete;
    RecordsLock& operator=(const RecordsLock&) = delete;

    // Takes the lock in mode, or changes the one held to mode, trying again for up to wait.
    // When a change fails, the lock held before is taken again where it can be.
    bool lock(Mode mode, std::chrono::milliseconds wait = {});
    void unlock();
    bool isLocked() const { return m_locked; }
    Mode mode() const { return m_mode; }
    const QString& databasePath() const { return m_databasePath; }

    static QString lockFilePath(const QString& databasePath);
    // Key of the server's advisory lock.
    static constexpr qint64 ServerKey = 0x6b657374'00000002;
    // Why the lock could not be taken on the server when the server was not reachable; empty
    // when it was.
    const QString& serverError() const { return m_serverError; }
    // The programs of other sessions that hold the server's lock now, as "program@computer
    // (address)"; empty without a server.
    QStringList serverHolders();

    // The lock this program holds while it runs, registered by its start. A restore in the same
    // process changes that one to exclusive: a second lock of its own would wait for the first.
    static RecordsLock* programLock(const QString& databasePath);
    static void setProgramLock(RecordsLock* lock);

private:
    enum class Held
    {
        None,
        Shared,
        Exclusive
    };
    bool tryOnce(Mode mode);
    bool tryOnServer(Mode mode);
    QSqlDatabase serverConnection();

    QString m_databasePath;
    int m_fd = -1;
    bool m_locked = false;
    Mode m_mode = Mode::Shared;
    ServerConfig m_server;
    QString m_connectionName;
    Held m_serverHeld = Held::None;
    QString m_serverError;
};

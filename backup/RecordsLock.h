#pragma once

#include <QString>

#include <chrono>

// The advisory lock that keeps a restore and the programs apart. Every program, and every backup
// or export of kestrin-backup, holds it shared while it uses the family's records; a restore, and
// the repair of an interrupted one, holds it exclusively. It lies on the file "<database>.lock"
// beside the database, which a restore never moves. The lock belongs to the open file, so the
// system drops it when the process ends, however it ends.
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

    // The lock this program holds while it runs, registered by its start. A restore in the same
    // process changes that one to exclusive: a second lock of its own would wait for the first.
    static RecordsLock* programLock(const QString& databasePath);
    static void setProgramLock(RecordsLock* lock);

private:
    bool tryOnce(Mode mode);

    QString m_databasePath;
    int m_fd = -1;
    bool m_locked = false;
    Mode m_mode = Mode::Shared;
};

#pragma once

#include "common/ProcessEntry.h"

#include <QList>
#include <QString>

// Walks the running processes through /proc.
//
// Method 1 reports the full path of each executable and marks processes it may not inspect;
// method 2 reports bare executable names and can name every process. Method 2 wins when both
// work. Method 4 (16-bit tasks) never exists here.
class CProcessEnumerator
{
public:
    enum Method : int
    {
        None = 0,
        FullPaths = 1,
        ExecutableNames = 2,
        SixteenBitTasks = 4
    };

    static inline const QByteArray SecurityRestricted = QByteArrayLiteral("N/A (security restriction)");
    static inline const QByteArray ReadError = QByteArrayLiteral("N/A (error)");

    // procRoot is the folder that holds one numeric folder per process; tests pass a fake one.
    explicit CProcessEnumerator(QString procRoot = QStringLiteral("/proc"));

    int AvailableMethods() const { return m_available; }
    int CurrentMethod() const { return m_current; }
    // Any value other than 4 whose bits are all available becomes the method in use.
    int SelectMethod(int flags);

    bool FirstProcess(CProcessEntry& entry);
    bool NextProcess(CProcessEntry& entry);

private:
    bool fillFrom(uint32_t pid, CProcessEntry& entry) const;
    bool deliverNext(CProcessEntry& entry);

    QString m_procRoot;
    int m_available = None;
    int m_current = None;
    QList<uint32_t> m_pids;
    qsizetype m_next = 0;
};

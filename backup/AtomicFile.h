#pragma once

#include "common/Result.h"

#include <QTemporaryFile>

// A file written under a temporary name in its target's folder and renamed over the target by
// commit(). Until then the target is untouched; a file that is never committed is removed, so
// a cancelled or failed write leaves nothing behind.
class AtomicFile
{
public:
    explicit AtomicFile(QString target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    const QString& target() const { return m_target; }
    Result open();
    Result write(const char* data, qint64 size);
    // Writes everything to the disk, then puts the file in place of the target.
    Result commit();
    // Removes what was written; the target stays as it was.
    void discard();

private:
    Result writeFailure(int errorNumber) const;

    QString m_target;
    QTemporaryFile m_file;
    qint64 m_written = 0;
    qint64 m_flushedTo = 0;
};

#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// A fake /proc for the process list: one numbered folder per process with an exe link and a
// comm file. In a temporary folder of its own, or in a given folder (a test's installation).
class FakeProc
{
public:
    FakeProc() : m_dir(std::make_unique<QTemporaryDir>()), m_root(m_dir->path()) {}
    explicit FakeProc(QString root) : m_root(std::move(root)) {}

    const QString& root() const { return m_root; }

    void add(qint64 pid, const QString& exe, const QByteArray& comm = "prog") const
    {
        const QString folder = folderOf(pid);
        QDir().mkpath(folder);
        if (!exe.isEmpty())
            QFile::link(exe, folder + QStringLiteral("/exe"));
        QFile file(folder + QStringLiteral("/comm"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(comm + '\n');
    }
    // A process that has ended but is not collected yet: no executable, state Z.
    void addEnded(qint64 pid, const QByteArray& comm) const
    {
        add(pid, QString(), comm);
        QFile stat(folderOf(pid) + QStringLiteral("/stat"));
        QVERIFY(stat.open(QIODevice::WriteOnly));
        stat.write(QByteArray::number(pid) + " (" + comm + ") Z 1 0 0\n");
    }
    void remove(qint64 pid) const { QDir(folderOf(pid)).removeRecursively(); }

private:
    QString folderOf(qint64 pid) const { return m_root + QLatin1Char('/') + QString::number(pid); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_root;
};

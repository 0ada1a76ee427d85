#pragma once

#include "media/MediaFolder.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

// An installation root in a temporary folder whose media folder the programs use, and small
// media files made on the spot: tests never need files from elsewhere.
class TestMediaFolder
{
public:
    TestMediaFolder() { MediaFolder::setInstallationRoot(m_root.path()); }
    ~TestMediaFolder() { MediaFolder::setInstallationRoot({}); }

    QString root() const { return m_root.path(); }
    QString media() const { return MediaFolder::path(); }
    // A folder to choose files from, beside the installation.
    QString chosen() const
    {
        const QString path = m_root.filePath(QStringLiteral("chosen"));
        QDir().mkpath(path);
        return path;
    }
    // The files of the media folder, hidden ones included, sorted.
    QStringList stored() const { return QDir(media()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

private:
    QTemporaryDir m_root;
};

namespace TestMedia {

inline bool write(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

inline QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Bytes that no decoder recognises.
inline QByteArray noise(qint64 size, quint32 seed = 1)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    for (char& c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// A mono 16-bit PCM WAV file with a tone of the given length.
inline QByteArray wav(int milliseconds, int rate = 8000)
{
    const int samples = rate * milliseconds / 1000;
    QByteArray out;
    QDataStream d(&out, QIODevice::WriteOnly);
    d.setByteOrder(QDataStream::LittleEndian);
    const auto tag = [&d](const char* text) { d.writeRawData(text, 4); };
    tag("RIFF");
    d << quint32(36 + samples * 2);
    tag("WAVE");
    tag("fmt ");
    d << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2) << quint16(16);
    tag("data");
    d << quint32(samples * 2);
    for (int i = 0; i < samples; ++i)
        d << qint16(6000 * std::sin(2 * M_PI * 440 * i / rate));
    return out;
}

} // namespace TestMedia

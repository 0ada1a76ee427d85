#include "common/ShippedFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

ShippedFiles ShippedFiles::in(const QString& folder)
{
    ShippedFiles shipped;
    shipped.m_folder = QDir(folder).absolutePath();
    QFile list(QDir(folder).filePath(ListName));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return shipped;
    while (!list.atEnd()) {
        const QByteArray line = list.readLine().trimmed();
        // "HASH  path", the path marked "*" when it was read as binary.
        const qsizetype gap = line.indexOf(' ');
        if (gap != 64)
            continue;
        QByteArray path = line.mid(gap).trimmed();
        if (path.startsWith('*'))
            path.remove(0, 1);
        shipped.m_hashes.insert(QDir::cleanPath(QString::fromUtf8(path)), line.left(gap).toLower());
    }
    return shipped;
}

bool ShippedFiles::isShipped(const QString& path) const
{
    const QString relative = QDir(m_folder).relativeFilePath(QDir(path).absolutePath());
    if (relative == ListName)
        return true;
    const auto expected = m_hashes.constFind(relative);
    if (expected == m_hashes.cend())
        return false;
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    return file.open(QIODevice::ReadOnly) && hash.addData(&file) && hash.result().toHex() == *expected;
}

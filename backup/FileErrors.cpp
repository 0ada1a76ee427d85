#include "backup/FileErrors.h"

#include "backup/BackupTr.h"

#include <QDir>

#include <cerrno>
#include <cstring>

namespace FileErrors {

QString quoted(const QString& path)
{
    return QStringLiteral("“") + QDir::toNativeSeparators(path) + QStringLiteral("”");
}

QString sizeText(qint64 bytes)
{
    if (bytes < (1 << 20))
        return BackupTr::tr("%1 KB").arg(qMax<qint64>(1, bytes / 1024));
    if (bytes < (qint64(1) << 30))
        return BackupTr::tr("%1 MB").arg(double(bytes) / (1 << 20), 0, 'f', 1);
    return BackupTr::tr("%1 GB").arg(double(bytes) / (qint64(1) << 30), 0, 'f', 2);
}

Result failure(const QString& what, int errorNumber)
{
    QString why;
    switch (errorNumber) {
    case ENOSPC:
    case EDQUOT:
        why = BackupTr::tr("磁盘空间不足。请腾出空间，或换一个空间足够的磁盘后再试。");
        break;
    case EROFS:
    case EACCES:
    case EPERM:
        why = BackupTr::tr("这个位置是只读的，或没有写入的权限。请换一个位置后再试。");
        break;
    case ENOENT:
    case ENOTDIR:
        why = BackupTr::tr("文件或文件夹不存在。请检查位置后再试。");
        break;
    case EFBIG:
        why = BackupTr::tr("文件超过了这个磁盘能存放的大小（FAT32 格式的磁盘一个文件最大 4 GB）。"
                           "请换一个位置，或者使用 exFAT 或 NTFS 格式的U盘或磁盘。");
        break;
    case EIO:
        why = BackupTr::tr("磁盘读写出错，磁盘可能已经损坏。请换一个磁盘后再试。");
        break;
    default:
        why = BackupTr::tr("请检查磁盘和位置后再试。");
        break;
    }
    return Result::failure(what + BackupTr::tr("：") + why,
                           errorNumber ? QString::fromLocal8Bit(std::strerror(errorNumber)) : QString());
}

Result failure(const QString& what, std::error_code code)
{
    return failure(what, code.category() == std::generic_category() || code.category() == std::system_category()
                             ? code.value()
                             : 0);
}

} // namespace FileErrors

#include "data/DatabaseError.h"

#include "data/DataTr.h"

#include <QSqlError>

#include <sqlite3.h>

namespace DatabaseError {

namespace {

QString messageFor(int primary, const QString& engineText)
{
    switch (primary) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return DataTr::tr("家庭数据库正被其他程序使用，这次的操作没有完成，记录没有保存。"
                          "请关闭其他正在使用家庭数据的程序，然后再试一次。");
    case SQLITE_FULL:
        return DataTr::tr("磁盘已满，记录没有保存。请删除一些不需要的文件，腾出磁盘空间后再试一次。");
    case SQLITE_READONLY:
        return DataTr::tr("数据库文件是只读的，记录没有保存。请取消文件的只读属性后再试一次。");
    case SQLITE_IOERR:
        return DataTr::tr("读写数据库文件时出错，记录没有保存。请检查存放数据库的磁盘是否连接正常，然后再试一次。");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return DataTr::tr("数据库文件已经损坏，无法继续操作。请从备份恢复数据库。");
    case SQLITE_CANTOPEN:
        return DataTr::tr("无法打开数据库文件。请检查文件是否存在、存放它的磁盘是否连接正常。");
    case SQLITE_CONSTRAINT:
        return DataTr::tr("填写的内容不符合数据库的要求，没有保存。请检查填写的内容后再试一次。");
    case SQLITE_ERROR:
        if (engineText.contains(QLatin1String("no such"), Qt::CaseInsensitive))
            return DataTr::tr("数据库文件缺少本程序需要的表或列，可能不是本软件的数据库，或者版本不对。"
                              "请从备份恢复数据库，或重新安装本软件。");
        break;
    default:
        break;
    }
    return DataTr::tr("数据库操作失败，这次的操作没有完成。请再试一次；如果问题一直存在，请从备份恢复数据库。");
}

// Some errors of the Qt connection (a failed commit among them) carry no code, only SQLite's
// message; the messages are SQLite's fixed English texts.
int codeOfText(const QString& text)
{
    const struct
    {
        const char* words;
        int code;
    } known[] = {{"database is locked", SQLITE_BUSY},       {"database table is locked", SQLITE_LOCKED},
                 {"database or disk is full", SQLITE_FULL}, {"readonly database", SQLITE_READONLY},
                 {"disk I/O error", SQLITE_IOERR},          {"database disk image is malformed", SQLITE_CORRUPT},
                 {"file is not a database", SQLITE_NOTADB}, {"unable to open database file", SQLITE_CANTOPEN},
                 {"constraint failed", SQLITE_CONSTRAINT}};
    for (const auto& k : known) {
        if (text.contains(QLatin1String(k.words), Qt::CaseInsensitive))
            return k.code;
    }
    return SQLITE_ERROR;
}

// A server's errors come with a five-character SQLSTATE (SQLite's codes are shorter numbers),
// or, when the connection is gone, with the client library's words only.
bool isServerError(const QString& code, const QString& text)
{
    if (code.size() == 5)
        return true;
    for (const char* words :
         {"server closed the connection", "no connection to the server", "connection to server",
          "could not send data to server", "could not receive data from server", "terminating connection"}) {
        if (text.contains(QLatin1String(words), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

QString serverMessageFor(const QString& state, const QString& text)
{
    const QString kind = state.left(2);
    if (kind == QLatin1String("40"))
        return DataTr::tr("另一台电脑刚刚也在修改家庭记录，这次的操作没有完成，记录没有保存。"
                          "请重新打开这一页看看最新的内容，然后再试一次。");
    if (kind == QLatin1String("08") || kind == QLatin1String("57") || state.isEmpty())
        return DataTr::tr("与数据库服务器的连接断开了，这次的操作没有完成，记录没有保存。"
                          "请检查网络和服务器，然后重新启动程序。");
    if (kind == QLatin1String("23"))
        return messageFor(SQLITE_CONSTRAINT, text);
    if (state == QLatin1String("42P01") || state == QLatin1String("42703"))
        return DataTr::tr("服务器上的数据库缺少本程序需要的表或列，可能不是本软件的数据库，或者版本不对。"
                          "请让管理服务器的人用备份恢复。");
    if (state == QLatin1String("53100"))
        return DataTr::tr("数据库服务器的磁盘已满，记录没有保存。请让管理服务器的人腾出磁盘空间后再试一次。");
    if (kind == QLatin1String("28") || kind == QLatin1String("42"))
        return DataTr::tr(
            "数据库服务器拒绝了这次操作，记录没有保存。请检查“数据库位置…”里的用户是否有权修改这个数据库。");
    return DataTr::tr("数据库服务器上的操作失败，这次的操作没有完成，记录没有保存。请再试一次；如果问题一直存在，"
                      "请让管理服务器的人检查服务器。");
}

} // namespace

Result fromCode(int code, const QString& engineText)
{
    return Result::failure(messageFor(code & 0xff, engineText), engineText);
}

Result fromSqlError(const QSqlError& error)
{
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (isServerError(error.nativeErrorCode(), text))
        return Result::failure(serverMessageFor(error.nativeErrorCode(), text), text);
    bool known = false;
    const int code = error.nativeErrorCode().toInt(&known);
    return fromCode(known ? code : codeOfText(text), text);
}

} // namespace DatabaseError

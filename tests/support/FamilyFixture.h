#pragma once

#include "backup/FamilyFiles.h"
#include "backup/Sha256.h"
#include "data/Database.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

// A family's records in an installation root whose path holds a space and Chinese characters,
// opened as the program's connection: rows in the four tables that name media files, and those
// files in the media folder.
class Family
{
public:
    Family()
    {
        QDir().mkpath(files().mediaFolder);
        if (Result r = Database::open(files().databasePath); !r)
            qFatal("cannot open test database: %s", qPrintable(r.error()));
    }
    ~Family() { Database::close(); }

    QString root() const { return m_dir.filePath(QStringLiteral("家庭 记录")); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    FamilyFiles files() const { return FamilyFiles::underRoot(root()); }
    QString media(const QString& name) const { return QDir(files().mediaFolder).filePath(name); }

    void exec(const QString& sql, const QVariantList& values = {}) const
    {
        QSqlQuery query(Database::connection());
        QVERIFY2(query.prepare(sql), qPrintable(sql));
        for (const QVariant& v : values)
            query.addBindValue(v);
        QVERIFY2(query.exec(), qPrintable(sql));
    }

    // A media file of random bytes, which no compression shrinks, like a photo or a video.
    static QByteArray writeRandom(const QString& path, qsizetype size)
    {
        QByteArray data(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            data[i] = char(QRandomGenerator::global()->generate());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != size)
            qFatal("cannot write %s", qPrintable(path));
        return data;
    }

    // Diary, honours, birthday and catalogue entries naming photo.jpg, "my photo.jpg" (a space in
    // the name), 生日.mp3 of 1.5 MB and an empty clip; one named file is missing, one file in the
    // folder is named by no row.
    void fill()
    {
        writeRandom(media(QStringLiteral("photo.jpg")), 70000);
        writeRandom(media(QStringLiteral("my photo.jpg")), 3000);
        writeRandom(media(QStringLiteral("生日.mp3")), 1500000);
        writeRandom(media(QStringLiteral("empty.avi")), 0);
        writeRandom(media(QStringLiteral("unnamed.bmp")), 500);
        exec(QStringLiteral("INSERT INTO chengzhang (riqi, biaoti, content, music) VALUES (?, ?, ?, ?)"),
             {QStringLiteral("2026-05-01"), QStringLiteral("第一次走路"), QStringLiteral("在公园，\"自己\"走了三步"),
              QStringLiteral(" photo.jpg 生日.mp3")});
        exec(QStringLiteral("INSERT INTO rongyu (mingcheng, riqi, music) VALUES (?, ?, ?)"),
             {QStringLiteral("小红花"), QStringLiteral("2026-06-01"), QStringLiteral(" photo.jpg my photo.jpg")});
        exec(QStringLiteral("INSERT INTO shengri (riqi, liuyan, music) VALUES (?, ?, ?)"),
             {QStringLiteral("2026-07-01"), QStringLiteral("生日快乐"), QStringLiteral(" empty.avi lost.jpg")});
        exec(QStringLiteral("INSERT INTO mplay (riqi, leixing, music) VALUES (?, ?, ?)"),
             {QStringLiteral("2026-08-01"), QStringLiteral("音频文件"), QStringLiteral(" 生日.mp3")});
        exec(QStringLiteral("INSERT INTO [user] (username) VALUES (?)"), {QStringLiteral("小明")});
    }

    // Every row of every table, as text, in a stable order.
    static QStringList rows(const QString& databasePath)
    {
        QStringList all;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("family-rows"));
            db.setDatabaseName(databasePath);
            if (db.open()) {
                QSqlQuery tables(db);
                tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"));
                while (tables.next()) {
                    QSqlQuery query(db);
                    query.exec(QStringLiteral("SELECT * FROM [%1] ORDER BY 1").arg(tables.value(0).toString()));
                    while (query.next()) {
                        QStringList cells{tables.value(0).toString()};
                        for (int c = 0; c < query.record().count(); ++c)
                            cells << query.value(c).toString();
                        all << cells.join(QLatin1Char('|'));
                    }
                }
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("family-rows"));
        return all;
    }

    // Name and SHA-256 of every file in a folder.
    static QStringList folderHashes(const QString& folder)
    {
        QStringList list;
        const QDir dir(folder);
        for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
            QFile file(dir.filePath(name));
            file.open(QIODevice::ReadOnly);
            list << name + QLatin1Char(' ') + QString::fromLatin1(Sha256::of(file.readAll()));
        }
        return list;
    }

    // What a restore must leave alone when it refuses: the database file, the media and the
    // folder that holds them (the records lock's empty file aside, which any start may make).
    QStringList installedState() const
    {
        QStringList state = folderHashes(QFileInfo(files().databasePath).absolutePath()) +
                            folderHashes(files().mediaFolder) +
                            QDir(QFileInfo(files().databasePath).absolutePath())
                                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        state.removeIf([](const QString& entry) { return entry.startsWith(QStringLiteral("kestrin.db.lock")); });
        return state;
    }

private:
    QTemporaryDir m_dir;
};

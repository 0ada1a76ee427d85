#pragma once

#include "common/Result.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The list of contents a backup carries as its last member: which program made it, for which
// version of the tables, when, and the size and SHA-256 of every other member.
class Manifest
{
public:
    struct Member
    {
        QString path;
        qint64 size = 0;
        QByteArray sha256; // lower-case hexadecimal

        bool operator==(const Member&) const = default;
    };

    // Member paths inside the archive; they mirror an installation root, so unpacking a backup
    // by hand in the root puts every file where the programs look for it.
    static inline const QString FileName = QStringLiteral("manifest.json");
    static inline const QString DatabaseMember = QStringLiteral("database/kestrin.db");
    static inline const QString MediaPrefix = QStringLiteral("database/media/");
    static constexpr int FormatVersion = 1;

    QString programVersion;
    int schemaVersion = 0;
    int minCompatibleVersion = 0;
    QDateTime created;
    QList<Member> members;
    // Files that rows name but that were not in the media folder when the backup was made.
    QStringList missingMedia;
    // Files of the media folder that no row named; they are restored like the others.
    QStringList unnamedMedia;

    QByteArray toJson() const;
    static ResultOf<Manifest> fromJson(const QByteArray& json);

    const Member* member(const QString& path) const;
    // The failure for a file that is not one of our backups; detail says what gave it away.
    static Result foreign(const QString& detail);
    // The media file a member path stands for; empty when the path is not one.
    static QString mediaName(const QString& memberPath);
    // Whether name can be a file of the media folder: a bare name that leads nowhere else.
    static bool isSafeMediaName(const QString& name);
};

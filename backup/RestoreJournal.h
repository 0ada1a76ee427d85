#pragma once

#include "common/Result.h"

#include <QByteArray>
#include <QList>
#include <QString>

// What a restore is about to do, written beside the database before its first move and removed
// after its last one, so that a restore cut off half-way (a power cut, a forced quit) can be
// finished or undone at the next start. The file "<database>.restore-journal" holds UTF-8 JSON:
//
//   {"format": "kestrin-restore-journal", "version": 1,
//    "stage": ".restore-AbC123",                    the unpacked backup
//    "aside": "恢复前的记录-20261208-174500",        where the replaced records go
//    "steps": [{"from": "kestrin.db", "to": "恢复前的记录-…/kestrin.db", "into": false}, …,
//              {"from": ".restore-AbC123/media", "to": "media", "into": true}],
//    "database": {"size": 123, "sha256": "…"},       the backup's database
//    "media": [{"name": "photo.jpg", "size": 70000}, …],   the backup's media files
//    "server": {"restore": "…"}}                    only for records on a server, see below
//
// When the rows are on a server, the steps move only the media folder, and the rows go to the
// server in one transaction that also writes the restore's name ("restore") into the server's
// kestrin_meta: finding that name there tells that the rows landed, so the media must follow.
// Every path is relative to the database's folder, so the journal still holds when the whole
// installation has been moved. Steps run in order; "into" marks the moves that put the backup's
// files in place.
struct RestoreJournal
{
    struct Step
    {
        QString from;
        QString to;
        bool into = false;
    };
    struct File
    {
        QString name;
        qint64 size = 0;
    };

    QString stage;
    QString aside;
    QList<Step> steps;
    qint64 databaseSize = 0;
    QByteArray databaseSha256;
    QList<File> media;
    // The name under which a restore on a server marks its rows; empty for a database file.
    QString serverRestore;

    QByteArray toJson() const;

    static QString pathFor(const QString& databasePath);
    static bool existsFor(const QString& databasePath);
    // Written under a temporary name, synced, renamed into place and the folder synced: the
    // journal is on the disk whole, or not there at all.
    Result write(const QString& databasePath) const;
    static ResultOf<RestoreJournal> read(const QString& databasePath);
    // Removes the journal and syncs the folder: the restore is over.
    static void remove(const QString& databasePath);
};

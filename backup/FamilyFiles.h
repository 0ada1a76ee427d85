#pragma once

#include "common/ServerConfig.h"

#include <QString>

// Where a family's records lie: the database file and the media folder that its rows name
// files in. When the installation names a server, the rows are on the server instead; the
// database file's place still says where the installation keeps its locks, the journal of a
// restore and the records a restore put aside.
struct FamilyFiles
{
    QString databasePath;
    QString mediaFolder;
    // The server that holds the rows, when the installation names one.
    ServerConfig server;

    bool onServer() const { return server.usesServer(); }

    // The layout of an installation root: root/database/kestrin.db and root/database/media, or
    // what root/database/kestrin-server.ini names instead.
    static FamilyFiles underRoot(const QString& root);
    // A database file with the media folder beside it, as an installation lays them out, or what
    // kestrin-server.ini beside it names instead.
    static FamilyFiles forDatabase(const QString& databasePath);
};

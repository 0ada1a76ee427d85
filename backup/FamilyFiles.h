#pragma once

#include <QString>

// Where a family's records lie: the database file and the media folder that its rows name
// files in.
struct FamilyFiles
{
    QString databasePath;
    QString mediaFolder;

    // The layout of an installation root: root/database/kestrin.db and root/database/media.
    static FamilyFiles underRoot(const QString& root);
    // A database file with the media folder beside it, as an installation lays them out.
    static FamilyFiles forDatabase(const QString& databasePath);
};

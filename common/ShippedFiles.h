#pragma once

#include <QHash>
#include <QString>

// The files an installation puts into its database folder itself (Reelbox's welcome animation),
// as the list the installer writes there: one "SHA-256  relative/path" line per file, the format
// of sha256sum. A file counts as shipped only while its content is still the shipped one, so a
// family's own file of the same name is never taken for it.
class ShippedFiles
{
public:
    static inline const QString ListName = QStringLiteral("shipped-files.sha256");

    // The list in folder; none when there is no list.
    static ShippedFiles in(const QString& folder);

    // Whether path (inside the folder) is the list itself or a shipped file as it was shipped.
    bool isShipped(const QString& path) const;

private:
    QString m_folder;
    // Relative path to its SHA-256 in hex.
    QHash<QString, QByteArray> m_hashes;
};

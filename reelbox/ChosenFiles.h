#pragma once

#include "common/Result.h"

#include <QStringList>

// The files chosen with "浏览..." and not added yet. Each keeps its full path, so files chosen
// in several folders are each copied from their own; the list grows over several choices until
// an add completes.
class ChosenFiles
{
public:
    static constexpr int MaxFiles = 200;

    // Appends paths not chosen yet. Refuses them all, changing nothing, when the list would hold more than
    // MaxFiles, or when a path, or its copy in mediaFolder, is longer than the system allows.
    Result append(const QStringList& paths, const QString& mediaFolder);
    void clear() { m_paths.clear(); }

    const QStringList& paths() const { return m_paths; }
    // The bare file names, in order.
    QStringList names() const;
    qsizetype count() const { return m_paths.size(); }
    bool isEmpty() const { return m_paths.isEmpty(); }

    // The longest path and file name the system takes, in bytes of its file-name encoding.
    static int maxPathBytes();
    static int maxNameBytes();

private:
    QStringList m_paths;
};

#pragma once

#include "media/MediaStore.h"

#include <QStringList>

#include <vector>

class QWidget;

// Copies chosen files into a media store on a worker thread, so the window keeps painting while
// a large file is copied. When copying takes longer than a moment, a progress window over the
// given window names the file ("正在复制文件 … 请稍后...") and offers to cancel; until then input
// to the window waits, so nothing can be started twice.
class MediaCopier
{
public:
    struct Report
    {
        // One result per source tried, in order.
        std::vector<ResultOf<MediaStore::Stored>> results;
        // The user cancelled: the sources after the last result were not tried.
        bool cancelled = false;
    };

    explicit MediaCopier(MediaStore store = MediaStore()) : m_store(std::move(store)) {}

    Report copy(QWidget* window, const QStringList& sources) const;

    // How long a copy runs before the progress window appears.
    static constexpr int ProgressDelayMs = 400;

private:
    MediaStore m_store;
};

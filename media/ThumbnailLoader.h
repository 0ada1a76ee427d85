#pragma once

#include "media/ThumbnailCache.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QThreadPool>

// Makes thumbnails on worker threads for the rows a list shows. Requests wait in a short queue,
// the newest first, so the rows on screen come before rows scrolled past; when it is full the
// oldest request is dropped (its row asks again if it is painted again). At most MaxInFlight
// files are decoded at a time. dropQueue() forgets every waiting request, as a new search does.
class ThumbnailLoader : public QObject
{
    Q_OBJECT

public:
    static constexpr int MaxInFlight = 2;
    static constexpr int MaxQueued = 64;

    explicit ThumbnailLoader(ThumbnailCache cache = ThumbnailCache(), QObject* parent = nullptr);
    ~ThumbnailLoader() override;

    void setCache(ThumbnailCache cache) { m_cache = std::move(cache); }
    const ThumbnailCache& cache() const { return m_cache; }

    // Asks for the thumbnail of file; ready() comes when it is made. A file asked for already
    // is not asked for twice.
    void request(const QString& file, ThumbnailCache::Size size);
    void dropQueue();

    qsizetype queued() const { return m_queue.size(); }
    int inFlight() const { return m_inFlight; }
    // Waits until every request is done and its ready() delivered (tests, benchmarks).
    void waitForIdle();

signals:
    // The thumbnail of file; a null image when it has none (a file that cannot be decoded).
    void ready(const QString& file, ThumbnailCache::Size size, const QImage& image);

private:
    struct Job
    {
        QString file;
        ThumbnailCache::Size size;
    };
    static QString key(const QString& file, ThumbnailCache::Size size);
    void startMore();
    void done(const Job& job, const QImage& image);

    ThumbnailCache m_cache;
    QThreadPool m_pool;
    // Newest first.
    QList<Job> m_queue;
    // Every file queued or being made, so none is asked for twice.
    QHash<QString, bool> m_wanted;
    int m_inFlight = 0;
};

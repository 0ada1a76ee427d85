#include "media/ThumbnailLoader.h"

#include "media/Thumbnailer.h"

#include <QCoreApplication>

ThumbnailLoader::ThumbnailLoader(ThumbnailCache cache, QObject* parent) : QObject(parent), m_cache(std::move(cache))
{
    m_pool.setMaxThreadCount(MaxInFlight);
    // Decoding must not hold up the window: the workers yield to the user-interface thread.
    m_pool.setThreadPriority(QThread::LowPriority);
}

ThumbnailLoader::~ThumbnailLoader()
{
    m_queue.clear();
    // The workers finish the file they are on; their results then go nowhere.
    m_pool.waitForDone();
}

QString ThumbnailLoader::key(const QString& file, ThumbnailCache::Size size)
{
    return (size == ThumbnailCache::Size::Large ? QLatin1Char('L') : QLatin1Char('N')) + file;
}

void ThumbnailLoader::request(const QString& file, ThumbnailCache::Size size)
{
    const QString k = key(file, size);
    if (m_wanted.contains(k))
        return;
    m_wanted.insert(k, true);
    m_queue.prepend({file, size});
    if (m_queue.size() > MaxQueued) {
        const Job dropped = m_queue.takeLast();
        m_wanted.remove(key(dropped.file, dropped.size));
    }
    startMore();
}

void ThumbnailLoader::dropQueue()
{
    for (const Job& job : std::as_const(m_queue))
        m_wanted.remove(key(job.file, job.size));
    m_queue.clear();
}

void ThumbnailLoader::startMore()
{
    while (m_inFlight < MaxInFlight && !m_queue.isEmpty()) {
        const Job job = m_queue.takeFirst();
        ++m_inFlight;
        const ThumbnailCache cache = m_cache;
        m_pool.start([this, job, cache] {
            const QImage image = Thumbnailer::thumbnail(cache, job.file, job.size);
            QMetaObject::invokeMethod(
                this, [this, job, image] { done(job, image); }, Qt::QueuedConnection);
        });
    }
}

void ThumbnailLoader::done(const Job& job, const QImage& image)
{
    --m_inFlight;
    m_wanted.remove(key(job.file, job.size));
    startMore();
    emit ready(job.file, job.size, image);
}

void ThumbnailLoader::waitForIdle()
{
    while (m_inFlight > 0 || !m_queue.isEmpty()) {
        m_pool.waitForDone();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }
}

#pragma once

#include <QString>

#include <atomic>
#include <functional>

// Progress of a long task and the user's wish to stop it. The task reports from its own thread
// through the listener, which hears only of a new step or a new whole percent; cancel() may be
// called from any thread, and the task stops at its next check.
class Progress
{
public:
    using Listener = std::function<void(const QString& step, int percent)>;

    explicit Progress(Listener listener = {}) : m_listener(std::move(listener)) {}

    // A new step of totalBytes bytes of work; the percentage starts again from 0.
    void start(const QString& step, qint64 totalBytes);
    void advance(qint64 bytes) { moveTo(m_done + bytes); }
    void moveTo(qint64 done);
    qint64 total() const { return m_total; }

    void cancel() { m_cancelled = true; }
    bool cancelled() const { return m_cancelled; }

private:
    void report(int percent);

    Listener m_listener;
    std::atomic_bool m_cancelled{false};
    QString m_step;
    qint64 m_total = 0;
    qint64 m_done = 0;
    int m_percent = -1;
};

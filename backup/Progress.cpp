#include "backup/Progress.h"

void Progress::start(const QString& step, qint64 totalBytes)
{
    m_step = step;
    m_total = totalBytes;
    m_done = 0;
    m_percent = -1;
    report(0);
}

void Progress::moveTo(qint64 done)
{
    m_done = done;
    const int percent = m_total > 0 ? int(qMin<qint64>(100, m_done * 100 / m_total)) : 100;
    if (percent != m_percent)
        report(percent);
}

void Progress::report(int percent)
{
    m_percent = percent;
    if (m_listener)
        m_listener(m_step, percent);
}

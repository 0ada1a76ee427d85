#pragma once

#include "common/Clock.h"

// A clock that always answers the time it was set to.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime time) : m_time(std::move(time)) {}
    QDateTime now() const override { return m_time; }
    void set(QDateTime time) { m_time = std::move(time); }

private:
    QDateTime m_time;
};

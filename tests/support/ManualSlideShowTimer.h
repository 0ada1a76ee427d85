#pragma once

#include "media/ui/SlideShowTimer.h"

// A slide-show clock that fires only when the test says so, and remembers how it was started.
class ManualSlideShowTimer : public SlideShowTimer
{
public:
    void start(int interval) override
    {
        m_interval = interval;
        m_active = true;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }
    int interval() const override { return m_interval; }

    // One timeout, as the running clock would give it; nothing when stopped.
    void fire()
    {
        if (m_active)
            emit timeout();
    }

private:
    int m_interval = 0;
    bool m_active = false;
};

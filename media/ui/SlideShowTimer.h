#pragma once

#include <QObject>
#include <QTimer>

// The slide show's clock. The viewer starts and stops it and steps on every timeout; tests put
// in one they fire by hand, so a slide show is checked step by step without waiting.
class SlideShowTimer : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Starts (or starts again) firing every interval milliseconds.
    virtual void start(int interval) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    // The interval of the last start.
    virtual int interval() const = 0;

signals:
    void timeout();
};

// The real clock: a Qt timer.
class QtSlideShowTimer : public SlideShowTimer
{
    Q_OBJECT

public:
    explicit QtSlideShowTimer(QObject* parent = nullptr);

    void start(int interval) override { m_timer.start(interval); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }
    int interval() const override { return m_timer.interval(); }

private:
    QTimer m_timer;
};

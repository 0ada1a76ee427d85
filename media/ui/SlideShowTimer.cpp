#include "media/ui/SlideShowTimer.h"

QtSlideShowTimer::QtSlideShowTimer(QObject* parent) : SlideShowTimer(parent)
{
    connect(&m_timer, &QTimer::timeout, this, &SlideShowTimer::timeout);
}

#include "platform/Timer.h"

#include "platform/Application.h"
#include "platform/Exceptions.h"

#include <QTimerEvent>
#include <algorithm>

TTimer::TTimer(QObject *owner, int64_t interval, bool enabled)
    : QObject(owner), m_interval(interval), m_enabled(enabled)
{
    Restart();
}

void TTimer::SetInterval(int64_t value)
{
    if (value < 0 || value > INT32_MAX)
        throw ERangeError(QStringLiteral("Range check error"));
    if (value == m_interval)
        return;
    m_interval = value;
    Restart();
}

void TTimer::SetEnabled(bool value)
{
    if (value == m_enabled)
        return;
    m_enabled = value;
    Restart();
}

void TTimer::Restart()
{
    m_timer.stop();
    if (m_enabled && m_interval > 0) {
        const int period = int(std::clamp<int64_t>(m_interval, MinimumPeriod, INT32_MAX));
        m_timer.start(period, Qt::CoarseTimer, this);
    }
}

void TTimer::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    if (OnTimer)
        Guard([this] { OnTimer(this); });
}

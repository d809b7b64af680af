#pragma once

#include "platform/Form.h"

#include <QBasicTimer>
#include <QObject>
#include <cstdint>

// A timer that ticks every Interval milliseconds while enabled. Interval 0 never ticks; assigning
// the interval it already has leaves its rhythm alone; a negative interval fails with
// "Range check error". The platform timer this program was designed on never ticks faster than
// every 10 ms, so neither does this one.
class TTimer : public QObject
{
    Q_OBJECT
public:
    static constexpr int MinimumPeriod = 10;

    explicit TTimer(QObject *owner, int64_t interval = 1000, bool enabled = true);

    int64_t Interval() const { return m_interval; }
    void SetInterval(int64_t value);
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool value);

    TNotifyEvent OnTimer;

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void Restart();

    int64_t m_interval;
    bool m_enabled;
    QBasicTimer m_timer;
};

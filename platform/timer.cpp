#include "platform/timer.h"

#include "platform/core/errors.h"
#include "platform/core/events.h"

namespace kvx {

Timer::Timer(QObject *parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Timer::fireTick);
}

void Timer::setInterval(int milliseconds)
{
    if (milliseconds < 0)
        raiseError(ErrInvalidProperty, QStringLiteral("Invalid property value"));
    m_interval = milliseconds;
    restart();
}

void Timer::setEnabled(bool enabled)
{
    m_enabled = enabled;
    restart();
}

void Timer::restart()
{
    if (m_enabled && m_interval > 0)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

void Timer::fireTick()
{
    fire(Tick);
}

} // namespace kvx

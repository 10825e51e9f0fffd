#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace kvx {

// A timer control: Tick every Interval milliseconds while Enabled, on the
// user-interface thread. An interval of 0 stops it as well.
class Timer : public QObject
{
    Q_OBJECT

public:
    explicit Timer(QObject *parent);

    int Interval() const { return m_interval; }
    void setInterval(int milliseconds);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // Raises one Tick at once, as if the interval had passed.
    void fireTick();

    std::function<void()> Tick;

private:
    void restart();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = true;
};

} // namespace kvx

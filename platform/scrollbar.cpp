#include "platform/scrollbar.h"

#include "platform/core/errors.h"
#include "platform/core/events.h"

#include <algorithm>
#include <cmath>

namespace kvx {

ScrollBar::ScrollBar(Qt::Orientation orientation, QWidget *parent)
    : QScrollBar(orientation, parent),
      WindowedControl(this)
{
    setRange(0, 32767);
    setSingleStep(1);
    setPageStep(1);
    // Without tracking a drag reports its value only when the thumb is released.
    setTracking(false);
    connect(this, &QScrollBar::valueChanged, this, &ScrollBar::valueMayHaveChanged);
    connect(this, &QScrollBar::sliderReleased, this, &ScrollBar::valueMayHaveChanged);
}

void ScrollBar::setValue(int value)
{
    if (value < minimum() || value > maximum())
        raiseError(ErrInvalidProperty, QStringLiteral("Invalid property value"));
    QScrollBar::setValue(value);
}

void ScrollBar::bringIntoView(double start, double size, double seen, double overflow)
{
    if (maximum() == 0 || overflow <= 0)
        return;
    const double perValue = overflow / maximum();
    int to = std::max(value(), int(std::ceil((start + size - seen) / perValue - 1e-9)));
    to = std::min(to, int(std::floor(start / perValue + 1e-9)));
    setValue(std::clamp(to, 0, maximum()));
}

void ScrollBar::valueMayHaveChanged()
{
    if (isSliderDown() || value() == m_reported)
        return;
    m_reported = value();
    fire(Change);
}

bool ScrollBar::event(QEvent *event)
{
    if (handleCommonEvent(event))
        return true;
    return QScrollBar::event(event);
}

} // namespace kvx

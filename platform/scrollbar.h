#pragma once

#include "platform/windowedcontrol.h"

#include <QScrollBar>

namespace kvx {

// A scroll bar. Change is raised when Value changes by code, by a click on
// the arrows or the track, or when a dragged thumb is released; never while
// the thumb is being dragged. Lowering Max below Value moves Value to Max.
class ScrollBar : public QScrollBar, public WindowedControl
{
    Q_OBJECT

public:
    ScrollBar(Qt::Orientation orientation, QWidget *parent);

    int Min() const { return minimum(); }
    void setMin(int value) { setMinimum(value); }
    int Max() const { return maximum(); }
    void setMax(int value) { setMaximum(value); }
    int Value() const { return value(); }
    // Outside Min .. Max raises ErrInvalidProperty.
    void setValue(int value);
    int SmallChange() const { return singleStep(); }
    void setSmallChange(int step) { setSingleStep(step); }
    int LargeChange() const { return pageStep(); }
    void setLargeChange(int step) { setPageStep(step); }

    // Changes Value as little as brings an area of the content into view,
    // its start first where the whole cannot be seen. The content is
    // `overflow` longer than the `seen` part of it and moves overflow / Max a
    // step of the value, from 0.
    void bringIntoView(double start, double size, double seen, double overflow);

    std::function<void()> Change;

protected:
    bool event(QEvent *event) override;

private:
    void valueMayHaveChanged();

    int m_reported = 0;
};

class HScrollBar : public ScrollBar
{
    Q_OBJECT

public:
    explicit HScrollBar(QWidget *parent) : ScrollBar(Qt::Horizontal, parent) {}
};

class VScrollBar : public ScrollBar
{
    Q_OBJECT

public:
    explicit VScrollBar(QWidget *parent) : ScrollBar(Qt::Vertical, parent) {}
};

} // namespace kvx

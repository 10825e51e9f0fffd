#pragma once

// What a user does in the rack and shelf views: click a control where it is
// seen, on top of everything there and inside the viewport, so that a press
// lands on whatever covers it (a door over a shelf, the shelf box over the
// rack view); press keys where the focus is; let the animation's timer tick.

#include "viewerhelpers.h"

#include <QTest>

#include <optional>

namespace kvx::test {

inline QWidget *widgetAt(QPoint roomPixel)
{
    QWidget *room = frmSwitch::get().PicRoom;
    QWidget *widget = room->childAt(roomPixel);
    return widget ? widget : room;
}

// The control a click at a pixel of the room reaches; none on a bare background.
inline const LightControl *controlAt(QPoint roomPixel)
{
    QWidget *widget = widgetAt(roomPixel);
    const auto *container = qobject_cast<const Container *>(widget);
    const QPoint local = widget->mapFrom(frmSwitch::get().PicRoom, roomPixel);
    return container ? container->itemAt(local - container->clientOrigin()) : nullptr;
}

inline bool inViewport(QPoint roomPixel)
{
    const frmSwitch &form = frmSwitch::get();
    return QRect(form.PicRoom->mapFrom(form.PicSwitch, QPoint(0, 0)), form.PicSwitch->size()).contains(roomPixel);
}

// A point of the control in the room's pixels; fx and fy pick it within the control.
inline QPoint pointOf(const LightControl &control, double fx = 0.5, double fy = 0.5)
{
    const QRect r = widgetRect(control);
    const QPoint local = r.topLeft() + QPoint(int(r.width() * fx), int(r.height() * fy));
    return control.container()->mapTo(frmSwitch::get().PicRoom, local);
}

inline std::optional<QPoint> visiblePointOf(const LightControl &control)
{
    for (int y = 1; y <= 9; ++y) {
        for (int x = 1; x <= 9; ++x) {
            const QPoint at = pointOf(control, x / 10.0, y / 10.0);
            if (inViewport(at) && controlAt(at) == &control)
                return at;
        }
    }
    return std::nullopt;
}

inline void clickRoom(QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    QWidget *target = widgetAt(at);
    QTest::mouseClick(target, button, {}, target->mapFrom(frmSwitch::get().PicRoom, at));
}

// Clicks the control where it is seen; false when it is seen nowhere.
inline bool clickOn(const LightControl &control, Qt::MouseButton button = Qt::LeftButton)
{
    const std::optional<QPoint> at = visiblePointOf(control);
    if (at)
        clickRoom(*at, button);
    return at.has_value();
}

inline bool clickFloor()
{
    QWidget *room = frmSwitch::get().PicRoom;
    for (int y = 5; y < room->height(); y += 10) {
        for (int x = 5; x < room->width(); x += 10) {
            if (inViewport({x, y}) && widgetAt({x, y}) == room && !controlAt({x, y})) {
                clickRoom({x, y});
                return true;
            }
        }
    }
    return false;
}

// The first rack of the plan with this name.
inline int rackIndex(const QString &name)
{
    for (int i = 1; i <= ModMain.RackIndex; ++i) {
        if (frmSwitch::get().lblRack(i).Caption() == name)
            return i;
    }
    return 0;
}

inline bool openRack(const QString &name)
{
    const int index = rackIndex(name);
    return index > 0 && clickOn(frmSwitch::get().imgRack(index));
}

// The left door opens with the left button, the right door with the right.
inline bool openDoors()
{
    frmSwitch &form = frmSwitch::get();
    return clickOn(*form.ImgD_C_L, Qt::LeftButton) && clickOn(*form.ImgD_C_R, Qt::RightButton);
}

inline void growShelf(int ticks = 6)
{
    for (int t = 0; t < ticks; ++t)
        frmSwitch::get().TimShelfEnlarger->fireTick();
}

inline void pressKey(Qt::Key key)
{
    QWidget *focus = frmSwitch::get().focusWidget();
    QTest::keyClick(focus ? focus : &frmSwitch::get(), key);
}

} // namespace kvx::test

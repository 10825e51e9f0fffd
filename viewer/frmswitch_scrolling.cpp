// Scrolling the room inside its viewport, and laying out the viewport and
// the bars again when the window changes size. The bars' ranges are the
// room's overflow in percent of the viewport.

#include "viewer/frmswitch.h"

#include "model/modmain.h"
#include "platform/scrollbar.h"

#include <QWheelEvent>

#include <algorithm>

namespace kvx {

namespace {

// The room's overflow in percent of the viewport, 0 when it fits.
int overflowPercent(double viewport, double room)
{
    if (viewport > room)
        return 0;
    return int(roundHalfEven((room - viewport) * 100 / viewport));
}

} // namespace

void frmSwitch::Form_Resize()
{
    // Called while the window is being built, before the controls exist.
    if (!PicSwitch)
        return;
    const double xf = ModMain.XFactor;
    const double yf = ModMain.YFactor;
    // A window made very small gives negative sizes: that step is skipped.
    skipError([&] { PicSwitch->setLeft(xf * VScroll1->Width()); });
    skipError([&] { PicSwitch->setTop(0); });
    skipError([&] { PicSwitch->setWidth(Width() - 3 * PicSwitch->Left()); });
    skipError([&] { PicSwitch->setHeight(Height() - 4 * HScroll1->Height() * yf); });
    skipError([&] {
        SetVScroll(*PicRoom);
        SetHScroll(*PicRoom);
    });
}

void frmSwitch::fitRoomToViewport()
{
    if (PicRoom->Width() < PicSwitch->Width())
        PicRoom->setWidth(PicSwitch->Width());
}

void frmSwitch::SetVScroll(PictureBox &Room)
{
    VScroll1->setTop(PicSwitch->Top());
    VScroll1->setLeft(PicSwitch->Left() + PicSwitch->Width());
    VScroll1->setHeight(PicSwitch->Height());
    VScroll1->setMax(overflowPercent(PicSwitch->Height(), Room.Height()));
}

void frmSwitch::SetHScroll(PictureBox &Room)
{
    HScroll1->setTop(PicSwitch->Top() + PicSwitch->Height());
    HScroll1->setLeft(PicSwitch->Left());
    HScroll1->setWidth(PicSwitch->Width());
    HScroll1->setMax(overflowPercent(PicSwitch->Width(), Room.Width()));
}

// The wheel over the room scrolls it through its bars, a page (a tenth of
// the viewport) a notch, sideways with Shift; so the bars' rules hold.
void frmSwitch::wheelEvent(QWheelEvent *event)
{
    if (!PicRoom || !PicRoom->Visible()) {
        Form::wheelEvent(event);
        return;
    }
    const QPoint turn = event->angleDelta();
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) || std::abs(turn.x()) > std::abs(turn.y());
    ScrollBar &bar = sideways ? static_cast<ScrollBar &>(*HScroll1) : *VScroll1;
    m_wheelRest += turn.y() != 0 ? turn.y() : turn.x();
    const int notches = m_wheelRest / QWheelEvent::DefaultDeltasPerStep;
    m_wheelRest -= notches * QWheelEvent::DefaultDeltasPerStep;
    event->accept();
    if (notches == 0 || bar.Max() == 0)
        return;
    bar.setValue(std::clamp(bar.Value() - notches * bar.LargeChange(), 0, bar.Max()));
}

void frmSwitch::HScroll1_Change()
{
    if (HScroll1->Max() == 0)
        return; // no range: the room stays where it is
    PicRoom->setLeft(double(HScroll1->Value()) / HScroll1->Max() * (PicSwitch->Width() - PicRoom->Width()));
}

void frmSwitch::VScroll1_Change()
{
    if (VScroll1->Max() == 0)
        return;
    PicRoom->setTop((PicSwitch->Height() - PicRoom->Height()) * VScroll1->Value() / VScroll1->Max());
}

} // namespace kvx

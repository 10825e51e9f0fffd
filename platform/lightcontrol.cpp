#include "platform/lightcontrol.h"

#include "platform/container.h"
#include "platform/core/errors.h"
#include "platform/units.h"

namespace kvx {

LightControl::LightControl(Key)
{
}

LightControl::LightControl(const LightControl &other, Key)
    : m_left(other.m_left),
      m_top(other.m_top),
      m_width(other.m_width),
      m_height(other.m_height),
      m_sizeUnsettled(other.m_sizeUnsettled),
      m_visible(other.m_visible),
      m_enabled(other.m_enabled),
      m_toolTip(other.m_toolTip),
      m_pointer(other.m_pointer)
{
}

LightControl::~LightControl() = default;

void LightControl::settleSizeNow()
{
    m_sizeUnsettled = false;
    fitSize();
}

// A fit still owed for an earlier caption is settled first, so that it can
// never overwrite the size given now.
void LightControl::placeAt(double left, double top, double width, double height)
{
    settleSize();
    if (left == m_left && top == m_top && width == m_width && height == m_height)
        return;
    repaint();
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    repaint();
}

void LightControl::placeAt(double left, double top)
{
    if (left == m_left && top == m_top)
        return;
    repaint();
    m_left = left;
    m_top = top;
    repaint();
}

void LightControl::setSize(double width, double height)
{
    placeAt(m_left, m_top, width, height);
}

void LightControl::setVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    if (m_container && m_container->isVisible())
        m_container->repaintRect(pixelRect());
}

void LightControl::setDimmed(bool dimmed)
{
    if (dimmed == m_dimmed)
        return;
    m_dimmed = dimmed;
    repaint();
}

void LightControl::setMousePointer(const QCursor &cursor)
{
    m_pointer = cursor;
}

void LightControl::resetMousePointer()
{
    m_pointer.reset();
}

void LightControl::sendToBack()
{
    if (m_container)
        m_container->moveItem(this, m_container->m_items.begin());
}

QRect LightControl::pixelRect() const
{
    return pixelRectFromTwips(m_left, m_top, Width(), Height());
}

void LightControl::setArrayIndex(const void *array, int index)
{
    m_array = array;
    m_index = index;
}

void LightControl::unload()
{
    if (m_container)
        m_container->remove(this);
}

void LightControl::repaint() const
{
    // Nothing is on the screen before the container is shown; a size still
    // owed is not worked out for it.
    if (m_container && m_visible && m_container->isVisible())
        m_container->repaintRect(pixelRect());
}

} // namespace kvx

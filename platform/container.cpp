#include "platform/container.h"

#include "platform/accessible.h"
#include "platform/core/events.h"
#include "platform/core/services.h"
#include "platform/input.h"
#include "platform/units.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

#include <algorithm>

namespace kvx {

namespace {
// A set-aside item shows a third of itself over what lies beneath.
constexpr double DimmedOpacity = 0.3;
constexpr int FocusFrameWidth = 2;
// A mark stands around its item, bright on a dark rim, to be seen on any picture.
constexpr int MarkWidth = 4;
constexpr QRgb MarkColor = 0xFFD000;
} // namespace

Container::Container(QWidget *parent) : QWidget(parent), m_backColor(SysButtonFace)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    installAccessibleFactory();
}

Container::~Container()
{
    m_pressed = nullptr;
    m_pointerItem = nullptr;
    m_current = nullptr;
    m_marked = nullptr;
    m_accessible.reset();
    m_items.clear();
}

LightControl *Container::insert(std::unique_ptr<LightControl> item)
{
    LightControl *raw = item.get();
    raw->m_container = this;
    raw->m_position = m_items.insert(m_items.end(), std::move(item));
    raw->repaint();
    return raw;
}

void Container::remove(LightControl *item)
{
    if (!item || item->m_container != this)
        return;
    leavingPlace(item);
    item->repaint();
    if (m_pressed == item)
        m_pressed = nullptr;
    if (m_pointerItem == item)
        m_pointerItem = nullptr;
    if (m_current == item)
        m_current = nullptr;
    if (m_marked == item)
        m_marked = nullptr;
    if (m_accessible)
        m_accessible->forget(item);
    m_items.erase(item->m_position);
}

void Container::moveItem(LightControl *item, ItemList::iterator before)
{
    if (before == item->m_position)
        return;
    leavingPlace(item);
    m_items.splice(before, m_items, item->m_position);
    arrivedAt(item);
    item->repaint();
}

void Container::leavingPlace(const LightControl *item)
{
    std::erase_if(m_loadPlaces, [item](const LoadPlace &p) { return p.templ == item || p.top == item; });
}

void Container::arrivedAt(const LightControl *item)
{
    if (item->m_position == m_items.begin())
        return;
    const LightControl *below = std::prev(item->m_position)->get();
    // An element of the array itself keeps the run unbroken wherever it goes
    // in it; anything else breaks it when it lands on the template or on an
    // element beneath the top (conservatively: on any element of the array).
    std::erase_if(m_loadPlaces, [item, below](const LoadPlace &p) {
        const void *array = p.templ->m_array;
        return item->m_array != array && (below == p.templ || (below->m_array == array && below != p.top));
    });
}

void Container::repaintRect(const QRect &rect)
{
    if (!isVisible() || rect.isEmpty() || m_wholeDirty)
        return;
    // When a room is rebuilt hundreds of items change at once; merging each
    // one's rectangle into the region to repaint costs more than painting
    // the whole container once.
    if (++m_dirtyRects > MaxDirtyRects) {
        m_wholeDirty = true;
        update();
        return;
    }
    update(rect.translated(m_origin));
}

LightControl *Container::itemAt(const QPoint &clientPixel) const
{
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        LightControl *item = it->get();
        if (item->Visible() && item->Enabled() && item->takesMouse() && item->pixelRect().contains(clientPixel))
            return item;
    }
    return nullptr;
}

QList<LightControl *> Container::items() const
{
    QList<LightControl *> list;
    list.reserve(int(m_items.size()));
    for (const auto &item : m_items)
        list.append(item.get());
    return list;
}

void Container::setStackingOrder(std::initializer_list<LightControl *> topDown)
{
    for (auto it = std::rbegin(topDown); it != std::rend(topDown); ++it) {
        if (*it && (*it)->m_container == this)
            moveItem(*it, m_items.end());
    }
}

void Container::stackLoaded(LightControl &element, const LightControl &templ)
{
    if (element.m_container != this || templ.m_container != this)
        return;
    // Above the template and the elements of its array just above it.
    auto place = std::find_if(m_loadPlaces.begin(), m_loadPlaces.end(),
                              [&templ](const LoadPlace &p) { return p.templ == &templ; });
    auto above = std::next(place == m_loadPlaces.end() ? templ.m_position : place->top->m_position);
    while (above != m_items.end() && above->get() != &element && (*above)->m_array == templ.m_array)
        ++above;
    moveItem(&element, above);
    // Found again only after the move, which may have forgotten places.
    place = std::find_if(m_loadPlaces.begin(), m_loadPlaces.end(),
                         [&templ](const LoadPlace &p) { return p.templ == &templ; });
    if (place == m_loadPlaces.end())
        m_loadPlaces.push_back({&templ, &element});
    else
        place->top = &element;
}

void Container::repaintItem(const LightControl *item)
{
    if (item && item->Visible())
        repaintRect(item->pixelRect().adjusted(-MarkWidth, -MarkWidth, MarkWidth, MarkWidth));
}

void Container::setCurrentItem(LightControl *item)
{
    if (item == m_current || (item && item->m_container != this))
        return;
    if (m_focusFrameShown)
        repaintItem(m_current);
    m_current = item;
    if (m_focusFrameShown)
        repaintItem(m_current);
    if (m_accessible && m_current)
        m_accessible->announce(*this, *m_current);
}

void Container::showFocusFrame(bool shown)
{
    if (shown == m_focusFrameShown)
        return;
    m_focusFrameShown = shown;
    repaintItem(m_current);
}

void Container::setMarkedItem(LightControl *item)
{
    if (item == m_marked || (item && item->m_container != this))
        return;
    repaintItem(m_marked);
    m_marked = item;
    repaintItem(m_marked);
}

void Container::setAccessibleItems(std::unique_ptr<AccessibleItems> items)
{
    m_accessible = std::move(items);
}

void Container::setBackColor(quint32 color)
{
    m_backColor = color;
    update();
}

void Container::setTransparentBackground(bool transparent)
{
    m_transparent = transparent;
    setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
    update();
}

double Container::ScaleWidth() const
{
    return twipsFromPixels(width() - 2 * m_origin.x());
}

double Container::ScaleHeight() const
{
    return twipsFromPixels(height() - 2 * m_origin.y());
}

void Container::setClientOrigin(const QPoint &origin)
{
    m_origin = origin;
    update();
}

void Container::setMousePointer(const QCursor &cursor)
{
    m_pointer = cursor;
    m_pointerItem = nullptr;
    setCursor(cursor);
}

void Container::resetMousePointer()
{
    m_pointer.reset();
    m_pointerItem = nullptr;
    unsetCursor();
}

void Container::updatePointer(const LightControl *item)
{
    if (item == m_pointerItem)
        return;
    m_pointerItem = item;
    if (item && item->mousePointer())
        setCursor(*item->mousePointer());
    else if (m_pointer)
        setCursor(*m_pointer);
    else
        unsetCursor();
}

void Container::paintBackground(QPainter &, const QRect &)
{
}

void Container::paintFrame(QPainter &)
{
}

void Container::paintEvent(QPaintEvent *event)
{
    m_dirtyRects = 0;
    m_wholeDirty = false;
    QPainter painter(this);
    if (!m_transparent)
        painter.fillRect(event->rect(), resolveColor(m_backColor));
    paintFrame(painter);
    const QRect client(QPoint(0, 0), size() - QSize(2 * m_origin.x(), 2 * m_origin.y()));
    painter.translate(m_origin);
    painter.setClipRect(client);
    const QRect exposed = event->rect().translated(-m_origin) & client;
    paintBackground(painter, exposed);
    for (const auto &item : m_items) {
        if (!item->Visible() || !item->pixelRect().intersects(exposed))
            continue;
        if (item->dimmed()) {
            painter.setOpacity(DimmedOpacity);
            item->paint(painter);
            painter.setOpacity(1);
        } else {
            item->paint(painter);
        }
    }
    paintFrames(painter);
}

// The focus frame inside the item's edges, the mark around them.
void Container::paintFrames(QPainter &painter) const
{
    const auto frame = [&painter](const LightControl *item, const QColor &color, int width, qreal inset) {
        painter.setPen(QPen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(item->pixelRect()).adjusted(inset, inset, -inset, -inset));
    };
    if (m_marked && m_marked->Visible()) {
        frame(m_marked, Qt::black, MarkWidth, -MarkWidth / 2.0);
        frame(m_marked, QColor(MarkColor), MarkWidth - 2, -MarkWidth / 2.0);
    }
    if (m_focusFrameShown && m_current && m_current->Visible())
        frame(m_current, palette().color(QPalette::Highlight), FocusFrameWidth, FocusFrameWidth / 2.0);
}

bool Container::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto *help = static_cast<QHelpEvent *>(event);
    const LightControl *item = itemAt(help->pos() - m_origin);
    const QString text = item ? item->ToolTipText() : toolTip();
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        const QRect area = item ? item->pixelRect().translated(m_origin) : rect();
        QToolTip::showText(help->globalPos(), text, this, area);
    }
    return true;
}

void Container::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    showFocusFrame(false);
    const QPoint at = event->position().toPoint() - m_origin;
    const int button = buttonOf(event->button());
    const int shift = shiftOf(event->modifiers());
    m_inDoubleClick = false;
    m_pressed = itemAt(at);
    m_backgroundPressed = !m_pressed;
    if (m_pressed) {
        const QPoint local = at - m_pressed->pixelRect().topLeft();
        fire(m_pressed->MouseDown, button, shift, twipsFromPixels(local.x()), twipsFromPixels(local.y()));
    } else {
        fire(MouseDown, button, shift, twipsFromPixels(at.x()), twipsFromPixels(at.y()));
    }
}

void Container::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    const QPoint at = event->position().toPoint() - m_origin;
    const int button = buttonOf(event->button());
    const int shift = shiftOf(event->modifiers());
    const bool click = button == 1 && !m_inDoubleClick;
    m_inDoubleClick = false;
    QPointer<Container> self(this);
    if (LightControl *item = m_pressed) {
        const QPoint local = at - item->pixelRect().topLeft();
        fire(item->MouseUp, button, shift, twipsFromPixels(local.x()), twipsFromPixels(local.y()));
        // The handler may have unloaded the control.
        if (!self || m_pressed != item)
            return;
        m_pressed = nullptr;
        if (click && itemAt(at) == item)
            fire(item->Click);
        return;
    }
    if (!m_backgroundPressed)
        return;
    m_backgroundPressed = false;
    fire(MouseUp, button, shift, twipsFromPixels(at.x()), twipsFromPixels(at.y()));
    if (self && click && rect().contains(event->position().toPoint()))
        fire(Click);
}

void Container::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    m_inDoubleClick = true;
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = itemAt(event->position().toPoint() - m_origin);
    m_backgroundPressed = !m_pressed;
    fire(m_pressed ? m_pressed->DblClick : DblClick);
}

void Container::mouseMoveEvent(QMouseEvent *event)
{
    // The pointer shows what lies under it: an open door's hand, for one.
    event->accept();
    updatePointer(itemAt(event->position().toPoint() - m_origin));
}

void Container::keyPressEvent(QKeyEvent *event)
{
    event->accept();
}

void Container::keyReleaseEvent(QKeyEvent *event)
{
    event->accept();
}

void Container::leaveEvent(QEvent *event)
{
    updatePointer(nullptr);
    QWidget::leaveEvent(event);
}

} // namespace kvx

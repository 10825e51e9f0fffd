#include "platform/windowedcontrol.h"

#include "platform/core/errors.h"
#include "platform/core/events.h"
#include "platform/input.h"
#include "platform/units.h"

#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

namespace kvx {

WindowedControl::WindowedControl(QWidget *self) : m_self(self)
{
    self->setFont(classicFont(m_fontDesc));
}

WindowedControl::~WindowedControl() = default;

void WindowedControl::applyGeometry()
{
    QPoint origin;
    if (auto *container = qobject_cast<Container *>(m_self->parentWidget()))
        origin = container->clientOrigin();
    m_self->setGeometry(pixelRectFromTwips(m_left, m_top, m_width, m_height).translated(origin));
}

void WindowedControl::placeAt(double left, double top)
{
    m_left = left;
    m_top = top;
    applyGeometry();
}

void WindowedControl::placeAt(double left, double top, double width, double height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    applyGeometry();
}

bool WindowedControl::Visible() const
{
    // Qt counts a child of a window not yet shown as hidden; a control is
    // visible unless it was hidden itself.
    if (!m_self->testAttribute(Qt::WA_WState_ExplicitShowHide))
        return true;
    return !m_self->isHidden();
}

bool WindowedControl::Enabled() const
{
    return m_self->isEnabledTo(m_self->parentWidget());
}

QString WindowedControl::ToolTipText() const
{
    return m_self->toolTip();
}

void WindowedControl::setToolTipText(const QString &text)
{
    m_self->setToolTip(text);
}

void WindowedControl::setFontDesc(const FontDesc &desc)
{
    m_fontDesc = desc;
    m_self->setFont(classicFont(desc));
}

void WindowedControl::setMousePointer(const QCursor &cursor)
{
    m_self->setCursor(cursor);
}

void WindowedControl::SetFocus()
{
    m_self->setFocus(Qt::OtherFocusReason);
}

void WindowedControl::setArrayIndex(const void *array, int index)
{
    m_array = array;
    m_index = index;
}

void WindowedControl::unload()
{
    // No events from a control that is going away.
    GotFocus = nullptr;
    LostFocus = nullptr;
    KeyDown = nullptr;
    KeyPress = nullptr;
    m_self->hide();
    m_self->deleteLater();
}

void WindowedControl::copyCommonFrom(const WindowedControl &other)
{
    m_left = other.m_left;
    m_top = other.m_top;
    m_width = other.m_width;
    m_height = other.m_height;
    setFontDesc(other.m_fontDesc);
    m_self->setToolTip(other.m_self->toolTip());
    m_self->setEnabled(other.Enabled());
    if (other.m_self->testAttribute(Qt::WA_SetCursor))
        m_self->setCursor(other.m_self->cursor());
    applyGeometry();
}

bool WindowedControl::handleCommonEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusIn:
        fire(GotFocus);
        return false;
    case QEvent::FocusOut:
        fire(LostFocus);
        return false;
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        QPointer<QWidget> self(m_self);
        int keyCode = keyCodeOf(*key);
        if (KeyDown && keyCode) {
            fire(KeyDown, keyCode, shiftOf(key->modifiers()));
            if (!self || keyCode == 0)
                return true;
        }
        int keyAscii = keyAsciiOf(*key);
        if (KeyPress && keyAscii) {
            fire(KeyPress, keyAscii);
            if (!self || keyAscii == 0)
                return true;
        }
        return false;
    }
    default:
        return false;
    }
}

void stackLoadedWidget(WindowedControl &element, const WindowedControl &templ)
{
    QWidget *parent = templ.widget()->parentWidget();
    if (!parent || element.widget()->parentWidget() != parent)
        return;
    // Sibling widgets in stacking order, bottom first.
    QList<WindowedControl *> siblings;
    for (QObject *child : parent->children()) {
        auto *control = dynamic_cast<WindowedControl *>(child);
        if (control && control != &element)
            siblings.append(control);
    }
    qsizetype above = siblings.indexOf(const_cast<WindowedControl *>(&templ)) + 1;
    if (above == 0)
        return;
    while (above < siblings.size() && siblings.at(above)->array() == templ.array())
        ++above;
    if (above < siblings.size())
        element.widget()->stackUnder(siblings.at(above)->widget());
    else
        element.widget()->raise();
}

} // namespace kvx

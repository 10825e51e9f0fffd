#include "platform/frame.h"

#include "platform/units.h"

#include <QPainter>

namespace kvx {

Frame::Frame(QWidget *parent) : Container(parent), WindowedControl(this)
{
}

Frame *Frame::loadCopy() const
{
    auto *copy = new Frame(parentWidget());
    copy->copyCommonFrom(*this);
    copy->setBackColor(BackColor());
    copy->setTransparentBackground(transparentBackground());
    copy->m_caption = m_caption;
    copy->m_borderStyle = m_borderStyle;
    copy->m_foreColor = m_foreColor;
    return copy;
}

void Frame::setCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void Frame::setBorderStyle(int style)
{
    m_borderStyle = style;
    update();
}

void Frame::setForeColor(quint32 color)
{
    m_foreColor = color;
    update();
}

void Frame::paintFrame(QPainter &painter)
{
    if (!m_borderStyle)
        return;
    const QFontMetrics metrics(font());
    const int lineY = m_caption.isEmpty() ? 0 : metrics.height() / 2;
    const QRect box = rect().adjusted(0, lineY, -2, -2);
    // An etched line: a shadow with a light line beside it.
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(box.translated(1, 1));
    if (m_caption.isEmpty())
        return;
    const QRect text(8, 0, metrics.horizontalAdvance(m_caption) + 4, metrics.height());
    painter.fillRect(text, resolveColor(BackColor()));
    painter.setFont(font());
    painter.setPen(resolveColor(m_foreColor));
    painter.drawText(text, Qt::AlignCenter, m_caption);
}

bool Frame::event(QEvent *event)
{
    if (handleCommonEvent(event))
        return true;
    return Container::event(event);
}

} // namespace kvx

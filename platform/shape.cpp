#include "platform/shape.h"

#include <QPainter>

namespace kvx {

Shape::Shape(Key key) : LightControl(key)
{
}

Shape::Shape(const Shape &other, Key key)
    : LightControl(other, key),
      m_borderStyle(other.m_borderStyle),
      m_borderColor(other.m_borderColor),
      m_backColor(other.m_backColor),
      m_backStyle(other.m_backStyle)
{
}

std::unique_ptr<LightControl> Shape::clone() const
{
    return std::make_unique<Shape>(*this, key());
}

void Shape::setBorderStyle(int style)
{
    m_borderStyle = style;
    repaint();
}

void Shape::setBorderColor(quint32 color)
{
    m_borderColor = color;
    repaint();
}

void Shape::setBackColor(quint32 color)
{
    m_backColor = color;
    repaint();
}

void Shape::setBackStyle(int style)
{
    m_backStyle = style;
    repaint();
}

void Shape::paint(QPainter &painter) const
{
    const QRect area = pixelRect();
    if (m_backStyle == Opaque)
        painter.fillRect(area, resolveColor(m_backColor));
    if (m_borderStyle == BorderNone)
        return;
    static const Qt::PenStyle styles[] = {Qt::NoPen,   Qt::SolidLine,   Qt::DashLine,
                                          Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};
    const Qt::PenStyle style = m_borderStyle < 6 ? styles[m_borderStyle] : Qt::SolidLine;
    QPen pen(resolveColor(m_borderColor), 0, style);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0, 0, -1, -1));
}

} // namespace kvx

#include "platform/picturebox.h"

#include "platform/core/errors.h"
#include "platform/core/services.h"

#include <QPainter>
#include <qdrawutil.h>

#include <cmath>
#include <numbers>

namespace kvx {

namespace {
constexpr double TwoPi = 2 * std::numbers::pi;
constexpr int SunkenBorder = 2;

QPointF pixels(double xTwips, double yTwips)
{
    return {xTwips / TwipsPerPixel, yTwips / TwipsPerPixel};
}

void checkAngle(double angle)
{
    if (std::abs(angle) > TwoPi + 1e-9)
        raiseError(ErrInvalidProperty, QStringLiteral("Invalid procedure call or argument"));
}
} // namespace

PictureBox::PictureBox(QWidget *parent) : Container(parent), WindowedControl(this)
{
    setFocusPolicy(Qt::StrongFocus);
    setClientOrigin(QPoint(SunkenBorder, SunkenBorder));
}

PictureBox *PictureBox::loadCopy() const
{
    auto *copy = new PictureBox(parentWidget());
    copy->m_borderStyle = m_borderStyle;
    copy->setClientOrigin(clientOrigin());
    copy->copyCommonFrom(*this);
    copy->setBackColor(BackColor());
    copy->m_picture = m_picture;
    copy->m_foreColor = m_foreColor;
    copy->m_drawWidth = m_drawWidth;
    return copy;
}

void PictureBox::setPicture(const kvx::Picture &picture)
{
    m_picture = picture;
    update();
}

void PictureBox::setBorderStyle(int style)
{
    m_borderStyle = style;
    const int border = style ? SunkenBorder : 0;
    setClientOrigin(QPoint(border, border));
    // Children keep their twip positions relative to the client area.
    for (QObject *child : children()) {
        if (auto *control = dynamic_cast<WindowedControl *>(child))
            control->applyGeometry();
    }
}

void PictureBox::setForeColor(quint32 color)
{
    m_foreColor = color;
}

void PictureBox::setDrawWidth(int pixels)
{
    if (pixels < 1)
        raiseError(ErrInvalidProperty, QStringLiteral("Invalid property value"));
    m_drawWidth = pixels;
}

void PictureBox::Cls()
{
    m_drawing.clear();
    update();
}

void PictureBox::addStroke(const Stroke &stroke)
{
    m_drawing.push_back(stroke);
    update();
}

void PictureBox::Line(double x1, double y1, double x2, double y2, std::optional<quint32> color, LineMode mode)
{
    Stroke stroke;
    stroke.kind = mode == Box ? Stroke::Box : mode == BoxFilled ? Stroke::BoxFilled : Stroke::Segment;
    stroke.x1 = x1;
    stroke.y1 = y1;
    stroke.x2 = x2;
    stroke.y2 = y2;
    stroke.color = color.value_or(m_foreColor);
    stroke.width = m_drawWidth;
    addStroke(stroke);
}

void PictureBox::Circle(double x, double y, double radius, std::optional<quint32> color, std::optional<double> start,
                        std::optional<double> end, double aspect)
{
    if (aspect <= 0)
        raiseError(ErrInvalidProperty, QStringLiteral("Invalid procedure call or argument"));
    const double from = start.value_or(0);
    const double to = end.value_or(TwoPi);
    checkAngle(from);
    checkAngle(to);
    Stroke stroke;
    stroke.kind = Stroke::Arc;
    stroke.x1 = x;
    stroke.y1 = y;
    stroke.x2 = aspect > 1 ? radius / aspect : radius; // horizontal radius
    stroke.y2 = aspect > 1 ? radius : radius * aspect; // vertical radius
    stroke.radiusToStart = from < 0;
    stroke.radiusToEnd = to < 0;
    stroke.start = std::abs(from);
    double span = std::abs(to) - stroke.start;
    if (span <= 0)
        span += TwoPi;
    stroke.span = span;
    stroke.color = color.value_or(m_foreColor);
    stroke.width = m_drawWidth;
    addStroke(stroke);
}

void PictureBox::paintStroke(QPainter &painter, const Stroke &stroke)
{
    const QColor color = resolveColor(stroke.color);
    QPen pen(color, stroke.width == 1 ? 0 : stroke.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    switch (stroke.kind) {
    case Stroke::Segment:
        painter.drawLine(pixels(stroke.x1, stroke.y1), pixels(stroke.x2, stroke.y2));
        return;
    case Stroke::BoxFilled:
        painter.setBrush(color);
        [[fallthrough]];
    case Stroke::Box:
        painter.drawRect(QRectF(pixels(stroke.x1, stroke.y1), pixels(stroke.x2, stroke.y2)).normalized());
        return;
    case Stroke::Arc: {
        const QPointF centre = pixels(stroke.x1, stroke.y1);
        const QPointF radii = pixels(stroke.x2, stroke.y2);
        const QRectF bounds(centre - radii, centre + radii);
        const auto sixteenths = [](double radians) { return int(std::lround(radians * 180 / std::numbers::pi * 16)); };
        painter.drawArc(bounds, sixteenths(stroke.start), sixteenths(stroke.span));
        const auto onArc = [&](double angle) {
            return centre + QPointF(radii.x() * std::cos(angle), -radii.y() * std::sin(angle));
        };
        if (stroke.radiusToStart)
            painter.drawLine(centre, onArc(stroke.start));
        if (stroke.radiusToEnd)
            painter.drawLine(centre, onArc(stroke.start + stroke.span));
        return;
    }
    }
}

void PictureBox::paintBackground(QPainter &painter, const QRect &)
{
    if (!m_picture.isNull())
        m_picture.paint(painter, QRectF(QPointF(0, 0), QSizeF(m_picture.naturalPixels())));
    for (const Stroke &stroke : m_drawing)
        paintStroke(painter, stroke);
}

void PictureBox::paintFrame(QPainter &painter)
{
    if (m_borderStyle)
        qDrawWinPanel(&painter, rect(), palette(), true);
}

bool PictureBox::event(QEvent *event)
{
    if (handleCommonEvent(event))
        return true;
    return Container::event(event);
}

} // namespace kvx

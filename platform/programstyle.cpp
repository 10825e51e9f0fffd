#include "platform/programstyle.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QProxyStyle>
#include <QWidget>

namespace kvx {

namespace {

// Two chevrons pointing on, the sign of items that did not fit.
QPixmap chevrons(int size, bool down, const QColor &color)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (down) {
        p.translate(size, 0);
        p.rotate(90);
    }
    QPainterPath path;
    const double s = size / 16.0;
    for (double x : {4.0, 8.5}) {
        path.moveTo(x * s, 4.5 * s);
        path.lineTo((x + 3.5) * s, 8 * s);
        path.lineTo(x * s, 11.5 * s);
    }
    p.setPen(QPen(color, 1.5 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    return pixmap;
}

class ProgramStyle : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option, const QWidget *widget) const override
    {
        if (icon != SP_ToolBarHorizontalExtensionButton && icon != SP_ToolBarVerticalExtensionButton)
            return QProxyStyle::standardIcon(icon, option, widget);
        const bool down = icon == SP_ToolBarVerticalExtensionButton;
        const QPalette palette = widget ? widget->palette() : QGuiApplication::palette();
        const QColor color = palette.color(QPalette::ButtonText);
        QIcon chevronIcon;
        for (int size : {16, 32})
            chevronIcon.addPixmap(chevrons(size, down, color));
        return chevronIcon;
    }
};

} // namespace

QStyle *createProgramStyle()
{
    return new ProgramStyle;
}

} // namespace kvx

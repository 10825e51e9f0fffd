#include "platform/units.h"

#include "platform/core/services.h"
#include "platform/qtservices.h"

#include <QGuiApplication>
#include <QPalette>

#include <cmath>

namespace kvx {

int pixelsFromTwips(double twips)
{
    return int(std::lround(twips / TwipsPerPixel));
}

double twipsFromPixels(double pixels)
{
    return pixels * TwipsPerPixel;
}

QRect pixelRectFromTwips(double left, double top, double width, double height)
{
    const int x0 = pixelsFromTwips(left);
    const int y0 = pixelsFromTwips(top);
    const int x1 = pixelsFromTwips(left + width);
    const int y1 = pixelsFromTwips(top + height);
    return QRect(x0, y0, x1 - x0, y1 - y0);
}

QColor resolveColor(quint32 value)
{
    if (!(value & 0x80000000u))
        return colorFromRgbValue(value);
    const QPalette palette = QGuiApplication::palette();
    switch (value) {
    case SysWindowBackground:
        return palette.color(QPalette::Base);
    case SysWindowText:
        return palette.color(QPalette::Text);
    case SysHighlight:
        return palette.color(QPalette::Highlight);
    case SysHighlightText:
        return palette.color(QPalette::HighlightedText);
    case SysButtonShadow:
        return palette.color(QPalette::Dark);
    case SysGrayText:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case SysButtonText:
        return palette.color(QPalette::ButtonText);
    case Sys3DHighlight:
        return palette.color(QPalette::Light);
    default:
        return palette.color(QPalette::Button);
    }
}

} // namespace kvx

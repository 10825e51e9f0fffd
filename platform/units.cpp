#include "platform/units.h"

#include "platform/qtservices.h"
#include "platform/services.h"

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
    case vbWindowBackground:
        return palette.color(QPalette::Base);
    case vbWindowText:
        return palette.color(QPalette::Text);
    case vbHighlight:
        return palette.color(QPalette::Highlight);
    case vbHighlightText:
        return palette.color(QPalette::HighlightedText);
    case vbButtonShadow:
        return palette.color(QPalette::Dark);
    case vbGrayText:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case vbButtonText:
        return palette.color(QPalette::ButtonText);
    case vb3DHighlight:
        return palette.color(QPalette::Light);
    default:
        return palette.color(QPalette::Button);
    }
}

} // namespace kvx

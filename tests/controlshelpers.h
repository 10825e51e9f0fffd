#pragma once

// Helpers shared by the GUI tests: a solid picture, and pixel checks on a
// grabbed widget.

#include "platform/picture.h"

#include <QColor>
#include <QImage>
#include <QWidget>

namespace kvx::test {

// A picture of one colour and the given pixel size.
inline Picture solidPicture(QSize size, const QColor &color)
{
    const QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" "
                                       "viewBox=\"0 0 %1 %2\"><rect width=\"%1\" height=\"%2\" fill=\"%3\"/></svg>")
                            .arg(size.width())
                            .arg(size.height())
                            .arg(color.name());
    return Picture::fromData(svg.toUtf8());
}

inline QImage grabImage(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Whether a pixel of the colour lies within `radius` pixels of the point.
inline bool colorNear(const QImage &image, QPoint at, const QColor &color, int radius = 2)
{
    for (int dy = -radius; dy <= radius; ++dy) {
        for (int dx = -radius; dx <= radius; ++dx) {
            const QPoint p = at + QPoint(dx, dy);
            if (image.rect().contains(p) && image.pixelColor(p) == color)
                return true;
        }
    }
    return false;
}

} // namespace kvx::test

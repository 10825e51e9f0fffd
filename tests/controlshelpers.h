#pragma once

// Helpers shared by the control tests: solid pictures written to a
// temporary folder, and pixel checks on a grabbed widget.

#include "platform/picture.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>

namespace kvx::test {

// A picture of one colour and the given pixel size.
inline Picture solidPicture(const QTemporaryDir &dir, QSize size, const QColor &color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString path = dir.filePath(QStringLiteral("solid-%1x%2-%3.png")
                                          .arg(size.width())
                                          .arg(size.height())
                                          .arg(color.name().mid(1)));
    image.save(path);
    return Picture(path);
}

inline QImage grabImage(QWidget &widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Whether a pixel of the colour lies within `radius` pixels of the point.
inline bool colorNear(const QImage &image, QPoint at, const QColor &color, int radius = 1)
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

#include "platform/svgrendering.h"

#include <QPainter>
#include <QSvgRenderer>

namespace kvx {

namespace {

bool isOpaque(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 255)
                return false;
        }
    }
    return true;
}

} // namespace

QImage renderSvg(QSvgRenderer &renderer, QSize devicePixels)
{
    QImage image(devicePixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(devicePixels)));
    }
    if (isOpaque(image))
        image.reinterpretAsFormat(QImage::Format_RGB32);
    return image;
}

} // namespace kvx

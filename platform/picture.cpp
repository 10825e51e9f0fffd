#include "platform/picture.h"

#include "platform/services.h"

#include <QPaintDevice>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>
#include <list>

namespace kvx {

namespace {

struct Rendering
{
    QSize pixels;
    qreal dpr;
    QImage image;
};

// The device pixels a target rectangle covers, its edges rounded to whole
// pixels so that the rendering is blitted without resampling.
QRect deviceRect(const QTransform &world, const QRectF &target, qreal dpr)
{
    const QRectF r = world.mapRect(target);
    const QPointF tl(std::round(r.left() * dpr), std::round(r.top() * dpr));
    const QPointF br(std::round(r.right() * dpr), std::round(r.bottom() * dpr));
    return QRect(tl.toPoint(), QSize(int(br.x() - tl.x()), int(br.y() - tl.y())));
}

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

struct Picture::Data
{
    QString source;
    QSvgRenderer renderer;
    QSize natural;
    // Most recently used first; repainting a room of racks hits the front.
    std::list<Rendering> cache;

    QImage renderImage(QSize devicePixels)
    {
        QImage image(devicePixels, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(devicePixels)));
        p.end();
        // An opaque picture, such as a rack, is blitted without blending.
        if (isOpaque(image))
            image.reinterpretAsFormat(QImage::Format_RGB32);
        return image;
    }

    const QImage &cached(QSize devicePixels, qreal dpr)
    {
        for (auto it = cache.begin(); it != cache.end(); ++it) {
            if (it->pixels == devicePixels && qFuzzyCompare(it->dpr, dpr)) {
                cache.splice(cache.begin(), cache, it);
                return cache.front().image;
            }
        }
        cache.push_front({devicePixels, dpr, renderImage(devicePixels)});
        cache.front().image.setDevicePixelRatio(dpr);
        while (int(cache.size()) > CacheLimit)
            cache.pop_back();
        return cache.front().image;
    }
};

Picture::Picture(const QString &svgPath)
{
    auto d = std::make_shared<Data>();
    if (!d->renderer.load(svgPath) || !d->renderer.isValid())
        return;
    d->source = svgPath;
    d->natural = d->renderer.viewBoxF().size().toSize();
    if (d->natural.isEmpty())
        return;
    m_d = std::move(d);
}

Picture Picture::fromData(const QByteArray &svg)
{
    Picture picture;
    auto d = std::make_shared<Data>();
    if (!d->renderer.load(svg) || !d->renderer.isValid())
        return picture;
    d->natural = d->renderer.viewBoxF().size().toSize();
    if (d->natural.isEmpty())
        return picture;
    picture.m_d = std::move(d);
    return picture;
}

QString Picture::source() const
{
    return m_d ? m_d->source : QString();
}

QSize Picture::naturalPixels() const
{
    return m_d ? m_d->natural : QSize();
}

int Picture::naturalWidthTwips() const
{
    return m_d ? m_d->natural.width() * TwipsPerPixel : 0;
}

int Picture::naturalHeightTwips() const
{
    return m_d ? m_d->natural.height() * TwipsPerPixel : 0;
}

void Picture::paint(QPainter &painter, const QRectF &target) const
{
    if (!m_d || target.isEmpty())
        return;
    const QTransform world = painter.worldTransform();
    // Rotated, sheared or mirrored painters get the vector drawing itself.
    if (world.type() > QTransform::TxScale || world.m11() < 0 || world.m22() < 0) {
        m_d->renderer.render(&painter, target);
        return;
    }
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QRect device = deviceRect(world, target, dpr);
    if (device.isEmpty())
        return;
    const QImage &image = m_d->cached(device.size(), dpr);
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPointF(device.topLeft()) / dpr, image);
    painter.restore();
}

QImage Picture::render(QSize size, qreal dpr) const
{
    if (!m_d || size.isEmpty() || dpr <= 0)
        return {};
    const QSize device(int(std::lround(size.width() * dpr)), int(std::lround(size.height() * dpr)));
    QImage image = m_d->renderImage(device);
    image.setDevicePixelRatio(dpr);
    return image;
}

int Picture::cachedRenderings() const
{
    return m_d ? int(m_d->cache.size()) : 0;
}

} // namespace kvx

#include "platform/picture.h"

#include "platform/core/services.h"
#include "platform/paintexport.h"
#include "platform/svgrendering.h"

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

} // namespace

struct Picture::Data
{
    QString source;
    QSvgRenderer renderer;
    QSize natural;
    // Most recently used first; repainting a room of racks hits the front.
    std::list<Rendering> cache;

    QImage renderImage(QSize devicePixels) { return renderSvg(renderer, devicePixels); }

    Rendering *find(QSize devicePixels, qreal dpr)
    {
        for (auto it = cache.begin(); it != cache.end(); ++it) {
            if (it->pixels == devicePixels && qFuzzyCompare(it->dpr, dpr)) {
                cache.splice(cache.begin(), cache, it);
                return &cache.front();
            }
        }
        return nullptr;
    }

    const QImage &keep(QImage image, qreal dpr)
    {
        const QSize devicePixels = image.size();
        image.setDevicePixelRatio(dpr);
        cache.push_front({devicePixels, dpr, std::move(image)});
        while (int(cache.size()) > CacheLimit)
            cache.pop_back();
        return cache.front().image;
    }

    const QImage &cached(QSize devicePixels, qreal dpr)
    {
        if (Rendering *found = find(devicePixels, dpr))
            return found->image;
        return keep(renderImage(devicePixels), dpr);
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
    // Rotated, sheared or mirrored painters get the vector drawing itself, and
    // so do files and paper, where a cached bitmap would blur when zoomed.
    if (paintsVectors(painter) || world.type() > QTransform::TxScale || world.m11() < 0 || world.m22() < 0) {
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

void Picture::addRendering(const QImage &image, qreal dpr)
{
    if (!m_d || image.isNull() || dpr <= 0 || m_d->find(image.size(), dpr))
        return;
    m_d->keep(image, dpr);
}

int Picture::cachedRenderings() const
{
    return m_d ? int(m_d->cache.size()) : 0;
}

} // namespace kvx

#include "platform/picture.h"

#include "platform/services.h"

#include <QPainter>
#include <QSvgRenderer>

namespace kvx {

struct Picture::Data
{
    std::unique_ptr<QSvgRenderer> svg;
    QImage raster;
    QSize size;
};

Picture::Picture(const QString &path)
{
    auto data = std::make_shared<Data>();
    if (path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
        data->svg = std::make_unique<QSvgRenderer>(path);
        if (!data->svg->isValid())
            return;
        data->size = data->svg->defaultSize();
    } else {
        if (!data->raster.load(path))
            return;
        data->size = data->raster.size();
    }
    m_data = std::move(data);
}

bool Picture::isNull() const
{
    return !m_data;
}

QSize Picture::naturalPixels() const
{
    return m_data ? m_data->size : QSize();
}

int Picture::naturalWidthTwips() const
{
    return naturalPixels().width() * TwipsPerPixel;
}

int Picture::naturalHeightTwips() const
{
    return naturalPixels().height() * TwipsPerPixel;
}

void Picture::paint(QPainter &painter, const QRectF &targetInDevicePixels) const
{
    if (!m_data)
        return;
    if (m_data->svg)
        m_data->svg->render(&painter, targetInDevicePixels);
    else
        painter.drawImage(targetInDevicePixels, m_data->raster);
}

QImage Picture::render(QSize pixels, qreal dpr) const
{
    QImage image(pixels * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

} // namespace kvx

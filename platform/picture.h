#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>

class QPainter;
class QSvgRenderer;

namespace kvx {

// A picture of the artwork: an SVG drawing or a raster image, shared between
// copies so that assigning it to many controls costs nothing.
class Picture
{
public:
    Picture() = default;
    explicit Picture(const QString &path);

    bool isNull() const;
    QSize naturalPixels() const;
    int naturalWidthTwips() const;
    int naturalHeightTwips() const;
    void paint(QPainter &painter, const QRectF &targetInDevicePixels) const;
    QImage render(QSize pixels, qreal dpr = 1) const;

private:
    struct Data;
    std::shared_ptr<const Data> m_data;
};

} // namespace kvx

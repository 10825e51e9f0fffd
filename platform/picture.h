#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <memory>

class QPainter;

namespace kvx {

// A picture of the program: vector art whose view box is its natural size in
// pixels. It is rendered at the real pixel size of whatever shows it, so a
// stretched picture stays sharp at any size and scale factor. Copies share
// the parsed picture and its cache of renderings, so handing one picture to
// hundreds of controls costs one rendering per distinct size.
class Picture
{
public:
    Picture() = default;
    // An SVG file or resource path (":/art/rack.svg"); null if it cannot be read.
    explicit Picture(const QString &svgPath);
    static Picture fromData(const QByteArray &svg);

    bool isNull() const { return !m_d; }
    QString source() const;

    // The view box, and the same in twips at 15 per pixel.
    QSize naturalPixels() const;
    int naturalWidthTwips() const;
    int naturalHeightTwips() const;

    // Draws the picture stretched over target (in the painter's logical
    // coordinates), rendered for the device pixels the target covers.
    void paint(QPainter &painter, const QRectF &target) const;

    // A rendering of size x dpr device pixels that reports size as its
    // logical size; transparent where the picture draws nothing.
    QImage render(QSize size, qreal dpr = 1) const;

    // Two pictures are equal when they are copies of the same one.
    bool operator==(const Picture &other) const { return m_d == other.m_d; }

    // Renderings kept for repainting; few, since a view shows each picture at
    // one or two sizes.
    static constexpr int CacheLimit = 6;
    int cachedRenderings() const;
    // Keeps a rendering made ahead (one of renderSvg's, at its own size in
    // device pixels) as if the picture had been drawn at that size.
    void addRendering(const QImage &image, qreal dpr = 1);

private:
    struct Data;
    std::shared_ptr<Data> m_d;
};

} // namespace kvx

#include "platform/image.h"

#include <QPainter>

namespace kvx {

Image::Image(Key key) : LightControl(key)
{
}

Image::Image(const Image &other, Key key)
    : LightControl(other, key),
      m_picture(other.m_picture),
      m_stretch(other.m_stretch)
{
}

std::unique_ptr<LightControl> Image::clone() const
{
    return std::make_unique<Image>(*this, key());
}

void Image::setPicture(const kvx::Picture &picture)
{
    m_picture = picture;
    if (!m_stretch && !picture.isNull())
        setSize(picture.naturalWidthTwips(), picture.naturalHeightTwips());
    repaint();
}

void Image::setStretch(bool stretch)
{
    if (stretch == m_stretch)
        return;
    m_stretch = stretch;
    repaint();
}

void Image::paint(QPainter &painter) const
{
    if (m_picture.isNull())
        return;
    const QRect area = pixelRect();
    if (m_stretch) {
        m_picture.paint(painter, QRectF(area));
        return;
    }
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    m_picture.paint(painter, QRectF(area.topLeft(), QSizeF(m_picture.naturalPixels())));
    painter.restore();
}

} // namespace kvx

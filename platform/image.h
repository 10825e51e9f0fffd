#pragma once

#include "platform/lightcontrol.h"
#include "platform/picture.h"

namespace kvx {

// An image control. Stretched, the picture fills the control; not stretched,
// assigning a picture gives the control the picture's natural size, and the
// picture is drawn at that size from the top left.
class Image : public LightControl
{
public:
    explicit Image(Key key);
    Image(const Image &other, Key key);

    const kvx::Picture &Picture() const { return m_picture; }
    void setPicture(const kvx::Picture &picture);
    bool Stretch() const { return m_stretch; }
    void setStretch(bool stretch);

protected:
    void paint(QPainter &painter) const override;
    std::unique_ptr<LightControl> clone() const override;

private:
    kvx::Picture m_picture;
    bool m_stretch = false;
};

} // namespace kvx

#pragma once

#include "platform/lightcontrol.h"
#include "platform/units.h"

namespace kvx {

// A rectangle drawn on its container. Like a line on paper it takes no mouse
// events: a click on it reaches whatever lies beneath.
class Shape : public LightControl
{
public:
    enum { Transparent = 0, Opaque = 1 };
    // BorderStyle values.
    enum { BorderNone = 0, Solid = 1, Dash = 2, Dot = 3, DashDot = 4, DashDotDot = 5 };

    explicit Shape(Key key);
    Shape(const Shape &other, Key key);

    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    quint32 BorderColor() const { return m_borderColor; }
    void setBorderColor(quint32 color);
    // In pixels.
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 color);
    int BackStyle() const { return m_backStyle; }
    void setBackStyle(int style);

    bool takesMouse() const override { return false; }

protected:
    void paint(QPainter &painter) const override;
    std::unique_ptr<LightControl> clone() const override;

private:
    int m_borderStyle = Solid;
    quint32 m_borderColor = SysWindowText;
    quint32 m_backColor = SysWindowBackground;
    int m_backStyle = Transparent;
};

} // namespace kvx

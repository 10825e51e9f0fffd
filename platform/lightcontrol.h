#pragma once

#include "platform/properties.h"

#include <QCursor>
#include <QRect>
#include <QString>

#include <functional>
#include <list>
#include <memory>
#include <optional>

class QPainter;

namespace kvx {

class Container;

// Mouse events carry the button (1 left, 2 right, 4 middle), the shift state
// (1 Shift, 2 Ctrl, 4 Alt) and the position in twips within the control.
using MouseHandler = std::function<void(int button, int shift, double x, double y)>;

// A lightweight control: no widget of its own. Its container keeps it in the
// stacking order, paints it and hands it the mouse, so a room of a thousand
// controls costs a thousand small objects and one widget.
class LightControl : public TwipsGeometry<LightControl>
{
public:
    virtual ~LightControl();
    LightControl(const LightControl &) = delete;
    LightControl &operator=(const LightControl &) = delete;

    Container *container() const { return m_container; }

    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const
    {
        settleSize();
        return m_width;
    }
    double Height() const
    {
        settleSize();
        return m_height;
    }

    bool Visible() const { return m_visible; }
    void setVisible(bool visible);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }
    // Painted faded, as an item set aside (what a search did not find).
    bool dimmed() const { return m_dimmed; }
    void setDimmed(bool dimmed);
    QString ToolTipText() const { return m_toolTip; }
    void setToolTipText(const QString &text) { m_toolTip = text; }
    // The element number within its control array, -1 for a single control.
    int Index() const { return m_index; }

    // A pointer of its own while the mouse is over the control.
    void setMousePointer(const QCursor &cursor);
    void resetMousePointer();
    const std::optional<QCursor> &mousePointer() const { return m_pointer; }

    // Stacking within the container; 0 brings to the front, 1 sends to the back.
    void sendToBack();

    // Where the control lies in its container's client pixels.
    QRect pixelRect() const;
    // Shapes are drawings only; the mouse passes through them.
    virtual bool takesMouse() const { return true; }

    std::function<void()> Click;
    std::function<void()> DblClick;
    MouseHandler MouseDown;
    MouseHandler MouseUp;

    // Used by control arrays.
    void setArrayIndex(const void *array, int index);
    const void *array() const { return m_array; }
    // Removes the control from its container and deletes it.
    void unload();

protected:
    // Only the platform makes controls: a control always lives in a container.
    class Key
    {
        friend class LightControl;
        friend class Container;
        Key() = default;
    };
    static Key key() { return {}; }

    explicit LightControl(Key);
    // Copies every property except events, array membership and place in the stacking order.
    LightControl(const LightControl &other, Key);

    virtual void paint(QPainter &painter) const = 0;
    virtual std::unique_ptr<LightControl> clone() const = 0;
    // Asks the container to paint the control again.
    void repaint() const;
    // Lets a control change its own size without the negative-size check.
    void setSize(double width, double height);
    // A control whose size follows its content (an AutoSize label) marks its
    // size unsettled; fitSize computes it when the size is next needed, so a
    // hidden label that is never shown loads no font.
    void unsettleSize() { m_sizeUnsettled = true; }
    virtual void fitSize() {}
    void settleSize() const
    {
        if (m_sizeUnsettled)
            const_cast<LightControl *>(this)->settleSizeNow();
    }

private:
    friend class Container;
    friend class TwipsGeometry<LightControl>;
    void placeAt(double left, double top, double width, double height);
    // Moves without touching the size, which may still be owed.
    void placeAt(double left, double top);
    void settleSizeNow();

    Container *m_container = nullptr;
    std::list<std::unique_ptr<LightControl>>::iterator m_position;
    const void *m_array = nullptr;
    int m_index = -1;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
    bool m_sizeUnsettled = false;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_dimmed = false;
    QString m_toolTip;
    std::optional<QCursor> m_pointer;
};

} // namespace kvx

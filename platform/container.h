#pragma once

#include "platform/lightcontrol.h"

#include <QWidget>

#include <initializer_list>
#include <list>
#include <memory>
#include <vector>

namespace kvx {

class AccessibleItems;

// A widget that holds lightweight controls: the client area of a form, a
// picture box, a frame, a page of a tab control. It paints them from the
// bottom of the stacking order to the top and gives the mouse to the topmost
// one under it; where there is none, the container raises its own events.
// Windowed controls are child widgets and so always stand above them.
class Container : public QWidget
{
    Q_OBJECT

public:
    // Items repainted between two paints beyond which the whole container
    // is repainted instead.
    static constexpr int MaxDirtyRects = 64;

    explicit Container(QWidget *parent = nullptr);
    ~Container() override;

    // A new control on top of the stacking order.
    template<typename T>
    T *create()
    {
        return static_cast<T *>(insert(std::make_unique<T>(LightControl::Key())));
    }
    // A copy of a control of this container, on top of the stacking order.
    template<typename T>
    T *createCopy(const T &original)
    {
        return static_cast<T *>(insert(static_cast<const LightControl &>(original).clone()));
    }

    // The topmost visible control that takes the mouse at a client pixel.
    LightControl *itemAt(const QPoint &clientPixel) const;
    // Bottom to top.
    QList<LightControl *> items() const;
    int itemCount() const { return int(m_items.size()); }

    // Puts the listed controls, given from the top down, at the top of the
    // stacking order; the others keep their order beneath them.
    void setStackingOrder(std::initializer_list<LightControl *> topDown);
    // Moves a control loaded from a template to its place above the template
    // and the elements loaded before it.
    void stackLoaded(LightControl &element, const LightControl &templ);

    // The item the keyboard is at. Its frame is drawn once the keyboard is
    // used (showFocusFrame) and goes with the next mouse press, as Qt's own
    // focus frames do; a screen reader hears of every change.
    LightControl *currentItem() const { return m_current; }
    void setCurrentItem(LightControl *item);
    bool focusFrameShown() const { return m_focusFrameShown; }
    void showFocusFrame(bool shown);
    // An item marked for the user to find, boldly framed; nullptr for none.
    LightControl *markedItem() const { return m_marked; }
    void setMarkedItem(LightControl *item);
    // The items a screen reader is told of (platform/accessible.h).
    AccessibleItems *accessibleItems() const { return m_accessible.get(); }
    void setAccessibleItems(std::unique_ptr<AccessibleItems> items);

    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 color);
    // A see-through background: what lies beneath shows where no control
    // draws (a frame around a picture that is not rectangular).
    bool transparentBackground() const { return m_transparent; }
    void setTransparentBackground(bool transparent);
    // The size of the client area in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;
    // Where client coordinates begin, inside any border.
    QPoint clientOrigin() const { return m_origin; }

    void setMousePointer(const QCursor &cursor);
    void resetMousePointer();

    // Events of the container's own background.
    std::function<void()> Click;
    std::function<void()> DblClick;
    MouseHandler MouseDown;
    MouseHandler MouseUp;

protected:
    // Painted under the controls, in client coordinates (pictures, drawings).
    virtual void paintBackground(QPainter &painter, const QRect &exposed);
    // Painted outside the client area (a border), in widget coordinates.
    virtual void paintFrame(QPainter &painter);
    void setClientOrigin(const QPoint &origin);

    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    // Keys stay with the control that has the focus, never reach its container.
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    friend class LightControl;
    using ItemList = std::list<std::unique_ptr<LightControl>>;

    LightControl *insert(std::unique_ptr<LightControl> item);
    void remove(LightControl *item);
    void moveItem(LightControl *item, ItemList::iterator before);
    void repaintRect(const QRect &rect);
    void updatePointer(const LightControl *item);
    void paintFrames(QPainter &painter) const;
    void repaintItem(const LightControl *item);

    // The element loaded last above a template, while the elements of its
    // array above the template run unbroken up to it: the next one goes
    // above it at once, so loading n elements costs n steps, not n * n / 2.
    struct LoadPlace
    {
        const LightControl *templ;
        const LightControl *top;
    };
    // Before an item leaves its place: a place naming it is no longer known.
    void leavingPlace(const LightControl *item);
    // After an item arrived: one that breaks a template's run forgets its place.
    void arrivedAt(const LightControl *item);

    ItemList m_items;
    std::vector<LoadPlace> m_loadPlaces;
    QPoint m_origin;
    quint32 m_backColor;
    bool m_transparent = false;
    // Items repainted since the last paint (see repaintRect).
    int m_dirtyRects = 0;
    bool m_wholeDirty = false;
    std::optional<QCursor> m_pointer;
    LightControl *m_pressed = nullptr;
    bool m_backgroundPressed = false;
    bool m_inDoubleClick = false;
    const LightControl *m_pointerItem = nullptr;
    LightControl *m_current = nullptr;
    LightControl *m_marked = nullptr;
    bool m_focusFrameShown = false;
    std::unique_ptr<AccessibleItems> m_accessible;
};

} // namespace kvx

#pragma once

#include "platform/container.h"
#include "platform/fonts.h"
#include "platform/properties.h"

#include <QString>

#include <functional>

class QEvent;
class QWidget;

namespace kvx {

// What every windowed control (a control that is a Qt widget) has in common:
// twip geometry kept exactly as assigned, its place in a control array, the
// classic font, focus and keyboard events. Visible and Enabled are set
// through QWidget::setVisible and QWidget::setEnabled.
class WindowedControl : public TwipsGeometry<WindowedControl>, public FontProperties<WindowedControl>
{
public:
    virtual ~WindowedControl();
    WindowedControl(const WindowedControl &) = delete;
    WindowedControl &operator=(const WindowedControl &) = delete;

    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }

    // The control's own setting, whether or not its container is shown.
    bool Visible() const;
    bool Enabled() const;
    QString ToolTipText() const;
    void setToolTipText(const QString &text);
    int Index() const { return m_index; }

    const FontDesc &fontDesc() const { return m_fontDesc; }
    void setFontDesc(const FontDesc &desc);

    void setMousePointer(const QCursor &cursor);
    void SetFocus();
    // 0 brings to the front of its siblings, 1 sends to the back.

    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    // Setting KeyCode (or KeyAscii) to 0 swallows the key.
    std::function<void(int &KeyCode, int Shift)> KeyDown;
    std::function<void(int &KeyAscii)> KeyPress;

    QWidget *widget() const { return m_self; }
    // Used by control arrays.
    void setArrayIndex(const void *array, int index);
    const void *array() const { return m_array; }
    // Hides the control and deletes it once the running event is over.
    void unload();
    // Places the widget again, after its container's client origin moved.
    void applyGeometry();

protected:
    explicit WindowedControl(QWidget *self);
    // Copies geometry, font, tooltip, tag and the enabled state of another control.
    void copyCommonFrom(const WindowedControl &other);
    // Raises the focus and key events; true when the event was swallowed.
    bool handleCommonEvent(QEvent *event);

private:
    friend class TwipsGeometry<WindowedControl>;
    void placeAt(double left, double top);
    void placeAt(double left, double top, double width, double height);

    QWidget *m_self;
    const void *m_array = nullptr;
    int m_index = -1;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
    FontDesc m_fontDesc;
};

// Puts a widget loaded from a template just above the template and the
// elements loaded before it among its siblings.
void stackLoadedWidget(WindowedControl &element, const WindowedControl &templ);

} // namespace kvx

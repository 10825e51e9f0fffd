#include "platform/input.h"

#include <QKeyEvent>

namespace kvx {

int buttonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return MouseButtons::LeftButton;
    case Qt::RightButton:
        return MouseButtons::RightButton;
    case Qt::MiddleButton:
        return MouseButtons::MiddleButton;
    default:
        return 0;
    }
}

int shiftOf(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

int keyCodeOf(const QKeyEvent &event)
{
    const int key = event.key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return KeyCodes::F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return KeyCodes::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return KeyCodes::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KeyCodes::Return;
    case Qt::Key_Shift:
        return KeyCodes::Shift;
    case Qt::Key_Control:
        return KeyCodes::Control;
    case Qt::Key_Alt:
        return KeyCodes::Alt;
    case Qt::Key_Escape:
        return KeyCodes::Escape;
    case Qt::Key_Space:
        return KeyCodes::Space;
    case Qt::Key_PageUp:
        return KeyCodes::PageUp;
    case Qt::Key_PageDown:
        return KeyCodes::PageDown;
    case Qt::Key_End:
        return KeyCodes::End;
    case Qt::Key_Home:
        return KeyCodes::Home;
    case Qt::Key_Left:
        return KeyCodes::Left;
    case Qt::Key_Up:
        return KeyCodes::Up;
    case Qt::Key_Right:
        return KeyCodes::Right;
    case Qt::Key_Down:
        return KeyCodes::Down;
    case Qt::Key_Insert:
        return KeyCodes::Insert;
    case Qt::Key_Delete:
        return KeyCodes::Delete;
    case Qt::Key_Menu:
        return KeyCodes::Apps;
    default:
        return 0;
    }
}

int keyAsciiOf(const QKeyEvent &event)
{
    switch (event.key()) {
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty())
        return 0;
    return text.at(0).unicode();
}

} // namespace kvx

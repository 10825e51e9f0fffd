#pragma once

#include <Qt>

class QKeyEvent;

namespace kvx {

// Mouse and keyboard in the terms the event handlers of the windows use.
int buttonOf(Qt::MouseButton button);          // 1 left, 2 right, 4 middle
int shiftOf(Qt::KeyboardModifiers modifiers);  // 1 Shift, 2 Ctrl, 4 Alt
int keyCodeOf(const QKeyEvent &event);         // 38 Up, 40 Down, 65 A ...; 0 when it has none
int keyAsciiOf(const QKeyEvent &event);        // 27 Esc, 13 Enter, 8 Backspace, or the character; 0 for none

} // namespace kvx

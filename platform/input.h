#pragma once

#include <Qt>

class QKeyEvent;

namespace kvx {

// The key codes the handlers of the windows see (KeyDown's KeyCode).
namespace KeyCodes {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Alt = 18;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int PageUp = 33;
inline constexpr int PageDown = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int Apps = 93; // the Menu key, which stands for the right mouse button
inline constexpr int F1 = 112;
} // namespace KeyCodes

// The mouse buttons as handlers see them (MouseDown's Button).
namespace MouseButtons {
inline constexpr int LeftButton = 1;
inline constexpr int RightButton = 2;
inline constexpr int MiddleButton = 4;
} // namespace MouseButtons

// Mouse and keyboard in the terms the event handlers of the windows use.
int buttonOf(Qt::MouseButton button);         // 1 left, 2 right, 4 middle
int shiftOf(Qt::KeyboardModifiers modifiers); // 1 Shift, 2 Ctrl, 4 Alt
int keyCodeOf(const QKeyEvent &event);        // 38 Up, 40 Down, 65 A ...; 0 when it has none
int keyAsciiOf(const QKeyEvent &event);       // 27 Esc, 13 Enter, 8 Backspace, or the character; 0 for none

} // namespace kvx

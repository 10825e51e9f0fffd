#pragma once

#include <QColor>
#include <QRect>

namespace kvx {

// Twips are the unit of every position and size: 15 to a logical pixel.
// Pixels are derived only when a control is painted or placed.
int pixelsFromTwips(double twips);
double twipsFromPixels(double pixels);

// The pixel rectangle of a twip rectangle. Each edge is rounded on its own so
// that controls whose twip edges touch also touch on the screen.
QRect pixelRectFromTwips(double left, double top, double width, double height);

// Colours are &HBBGGRR values. A value with the high bit set names a colour
// of the desktop scheme instead, read from the palette when painting, so a
// control designed in the window colour follows the desktop.
inline constexpr quint32 ColorBlack = 0x000000;
inline constexpr quint32 ColorWhite = 0xFFFFFF;
inline constexpr quint32 ColorRed = 0x0000FF;
inline constexpr quint32 ColorBlue = 0xFF0000;
inline constexpr quint32 ColorYellow = 0x00FFFF;
inline constexpr quint32 SysWindowBackground = 0x80000005;
inline constexpr quint32 SysWindowText = 0x80000008;
inline constexpr quint32 SysHighlight = 0x8000000D;
inline constexpr quint32 SysHighlightText = 0x8000000E;
inline constexpr quint32 SysButtonFace = 0x8000000F;
inline constexpr quint32 SysButtonShadow = 0x80000010;
inline constexpr quint32 SysGrayText = 0x80000011;
inline constexpr quint32 SysButtonText = 0x80000012;
inline constexpr quint32 Sys3DHighlight = 0x80000014;

QColor resolveColor(quint32 value);

} // namespace kvx

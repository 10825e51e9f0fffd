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

// Colours are &HBBGGRR values; values with the high bit set name a colour of
// the desktop scheme, as the classic system colour constants do.
inline constexpr quint32 vbBlack = 0x000000;
inline constexpr quint32 vbWhite = 0xFFFFFF;
inline constexpr quint32 vbRed = 0x0000FF;
inline constexpr quint32 vbGreen = 0x00FF00;
inline constexpr quint32 vbBlue = 0xFF0000;
inline constexpr quint32 vbYellow = 0x00FFFF;
inline constexpr quint32 vbWindowBackground = 0x80000005;
inline constexpr quint32 vbWindowText = 0x80000008;
inline constexpr quint32 vbHighlight = 0x8000000D;
inline constexpr quint32 vbHighlightText = 0x8000000E;
inline constexpr quint32 vbButtonFace = 0x8000000F;
inline constexpr quint32 vbButtonShadow = 0x80000010;
inline constexpr quint32 vbGrayText = 0x80000011;
inline constexpr quint32 vbButtonText = 0x80000012;
inline constexpr quint32 vb3DHighlight = 0x80000014;

QColor resolveColor(quint32 value);

} // namespace kvx

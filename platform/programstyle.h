#pragma once

class QStyle;

namespace kvx {

// The desktop's own style, with one difference: the arrow of a menu bar's
// overflow button is drawn rather than read from Qt's PNG files. Every menu
// bar makes that button at once, and the first image file read starts every
// image-format plugin, milliseconds that the start of the program need not
// spend: it reads no other image file. The caller owns the style.
QStyle *createProgramStyle();

} // namespace kvx

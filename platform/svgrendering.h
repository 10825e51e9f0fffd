#pragma once

#include <QImage>
#include <QSize>

class QSvgRenderer;

namespace kvx {

// SVG art drawn as the program shows it: antialiased over a transparent
// canvas of the given device pixels. A drawing that covers every pixel comes
// back without an alpha channel, so that it is blitted without blending. The
// build renders some pictures ahead with the same function.
QImage renderSvg(QSvgRenderer &renderer, QSize devicePixels);

} // namespace kvx

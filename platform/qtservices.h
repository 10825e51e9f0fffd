#pragma once

#include <QColor>

namespace kvx {

// Puts the Qt message boxes, file and colour dialogs and the real screen
// size behind the platform hooks, and sets the program's style. The program
// calls it once at start-up, before its first window.
void installQtServices();

// Colours of the program are &HBBGGRR values.
QColor colorFromRgbValue(quint32 value);
quint32 rgbValueFromColor(const QColor &color);

} // namespace kvx

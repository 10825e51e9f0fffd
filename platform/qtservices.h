#pragma once

#include "platform/core/services.h"

#include <QColor>

#include <optional>

namespace kvx {

// Puts the Qt message boxes, file and colour dialogs and the real screen
// size behind the platform hooks, and sets the program's style. The program
// calls it once at start-up, before its first window.
void installQtServices();

// The file dialog behind the hook: Qt's own, the filter's extension added to
// a name typed without one.
std::optional<QString> showQtFileDialog(const FileDialogRequest &request);

// Asks the desktop, once, whether assistive technology is listening. Every
// window asks when it is first shown, and on X11 the answer comes over the
// session bus; where no bus runs, the bus library forks a launcher. Asked
// before any helper thread starts, that fork costs what it costs a bare
// window: forked while helpers write memory, every page they touch becomes a
// copy-on-write fault, milliseconds at start-up.
void askAccessibilityFirst();

// Colours of the program are &HBBGGRR values.
QColor colorFromRgbValue(quint32 value);
quint32 rgbValueFromColor(const QColor &color);

} // namespace kvx

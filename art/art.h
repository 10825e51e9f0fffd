#pragma once

#include "platform/picture.h"

#include <QCursor>
#include <QIcon>
#include <QList>
#include <QString>

namespace kvx::Art {

// The pictures of the program, compiled in as resources under :/art. Each
// accessor returns the same shared picture every time, so every control that
// shows it shares one cache of renderings.

Picture rack();            // the room plan's rack, 140 x 263
Picture endRight();        // right end panel of a run, 10 x 263
Picture endLeft();         // left end panel of a run, 8 x 263
Picture rackFrontSmt();    // front of UE and UD racks, 293 x 490
Picture rackFrontOther();  // front of all other racks, 296 x 490
Picture doorClosedLeft();  // 146 x 421
Picture doorClosedRight(); // 146 x 421
Picture doorOpenLeft();    // 146 x 422
Picture doorOpenRight();   // 146 x 422, drawn 8 px lower: it hangs 120 twips high in its frame
Picture shelf();           // a shelf in the rack view, 290 x 63
Picture shelfBig();        // the full shelf, 874 x 265
inline constexpr int CardCodes = 14;
Picture card(int code);      // image-type codes 0 to 13; null for any other code
Picture icon();              // 32 x 32
Picture aboutPicture();      // 81 x 113
Picture doorCursorPicture(); // 32 x 32

// The pointer shown over the doors; its hot spot is the arrow's tip.
QCursor doorCursor();
// The program's icon at the sizes window managers and task bars ask for.
QIcon windowIcon();

} // namespace kvx::Art

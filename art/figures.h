#pragma once

// The figures the pictures and the windows share, in the twips of the
// windows. tools/make-art.py reads them from this file when it draws the
// pictures, so a picture and the code that places it cannot drift apart:
// keep each one a plain number or list.

namespace kvx::Figures {

// The rack front of the rack view and the shelves on it.
inline constexpr double RackFrontWidth = 4440;
inline constexpr double RackFrontHeight = 7350;
inline constexpr double ShelfWidth = 4350;
inline constexpr double ShelfHeight = 945;
// Shelf tops on the front, shelves 1 to 5: UE and UD racks, and the others.
inline constexpr double ShelfTopsUeUd[] = {1400, 2745, 3700, 5100, 6045};
inline constexpr double ShelfTopsOther[] = {1020, 2280, 3540, 4770, 6060};
// The doors: their table is drawn for a front 7330 twips high, not the
// picture's 7350, from 810 twips down; the two doors are 4380 twips wide.
inline constexpr double DoorTableHeight = 7330;
inline constexpr double DoorTableTop = 810;
inline constexpr double DoorsWidth = 4380;

// The full shelf: slot n stands SlotPitch x (n + SlotOrigin) twips from its
// left edge, its cards CardTop twips from its top.
inline constexpr double SlotPitch = 77;
inline constexpr double SlotOrigin = 5;
inline constexpr double CardTop = 360;

} // namespace kvx::Figures

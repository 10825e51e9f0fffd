#pragma once

#include "platform/core/loosetable.h"

#include <QString>

namespace kvx {

class Label;

// What one data file holds. The reader fills a fresh Exchange and the
// program switches to it only when the whole file was read.
struct Exchange
{
    Loose SiteName;
    Loose NoOfShoots;
    Loose NoOfRacks;
    Loose NoOfMas;

    LooseTable RackName;    // (0..S, 0..R)
    LooseTable StationName; // (0..S, 0..R, 0..5)
    LooseTable SlotNo;      // (0..S, 0..R, 0..5, 0..35)
    LooseTable CardName;
    LooseTable CardType;

    LooseTable MisRing{15}; // entries 1..15, "*" ends the list
    LooseTable Mas1Ring{15};
    LooseTable Mas2Ring{15};
    LooseTable Mas3Ring; // sized only when NoOfMas is 3 or 4
    LooseTable Mas4Ring; // sized only when NoOfMas is 4

    qint32 MisColor = 0;
    LooseTable MasColor{4}; // 1..4; never resized

    int shoots() const { return NoOfShoots.toInt(); }
    int racks() const { return NoOfRacks.toInt(); }
    // Sizes the station and card tables to the room (all empty).
    void sizeRoomTables(int shoots, int places);
    // The member array of MIS (0) or MASk (1..4).
    const LooseTable &ring(int k) const;
    LooseTable &ring(int k);
};

constexpr int ShelvesPerRack = 5;
constexpr int CardsPerShelf = 35;
constexpr int RingEntries = 15;

// The module-level state of the program: the exchange shown, the screen
// factors, the files and the bookkeeping shared by the main window and the
// editor. One copy for the whole run.
struct ModMainState : Exchange
{
    float XFactor = 0;  // screen width / 15360
    double YFactor = 0; // screen height / 11520
    Loose DataFile;
    QString SaveFile;
    int FileNo = 0;
    qint16 SaveFileNo = 0;
    int Answer = 0;

    Loose OldNoOfShoots;
    Loose OldNoOfRacks;
    int RackIndex = 0;
    Loose SelRackType;
    Label *SelRack = nullptr;

    // Takes over a freshly read exchange.
    void adopt(Exchange &&fresh) { static_cast<Exchange &>(*this) = std::move(fresh); }
};

extern ModMainState ModMain;

} // namespace kvx

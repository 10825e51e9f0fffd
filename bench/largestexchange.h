#pragma once

// The largest exchange the editor can make: 15 shoots of 15 places, every
// place a rack, every shelf 35 cards, all four MAS rings; as a model and as
// the bytes of its data file. Shared by the benchmarks.

#include "model/exchangereader.h"
#include "model/exchangewriter.h"

#include <QByteArray>

namespace kvx::bench {

constexpr int Shoots = 15;
constexpr int Places = 15;

inline QByteArray rackName(int s, int p)
{
    static const char *const families[] = {"UC", "UD", "UE", "XA", "XB"};
    return QByteArray(families[(s + p) % 5]) + '-' + QByteArray::number(s)
           + QByteArray::number(p).rightJustified(2, '0');
}

inline void fillRing(kvx::LooseTable &ring, int first)
{
    ring.redim({kvx::RingEntries});
    for (int n = 1; n < kvx::RingEntries; ++n)
        ring.set(kvx::Loose(rackName((first + n) % Shoots + 1, n)), n);
    ring.set(kvx::Loose("*"), kvx::RingEntries);
}

inline kvx::Exchange largestExchange()
{
    kvx::Exchange x;
    x.SiteName = kvx::Loose("BENCHMARK EXCHANGE");
    x.NoOfShoots = Shoots;
    x.NoOfRacks = Places;
    x.NoOfMas = 4;
    x.RackName.redim({Shoots, Places});
    x.sizeRoomTables(Shoots, Places);
    static const char *const stations[] = {"SMXC", "SMX", "SMX", "SMX", "SMX"};
    for (int s = 1; s <= Shoots; ++s) {
        for (int p = 1; p <= Places; ++p) {
            x.RackName.set(kvx::Loose(rackName(s, p)), s, p);
            for (int shelf = 1; shelf <= kvx::ShelvesPerRack; ++shelf) {
                x.StationName.set(kvx::Loose(stations[shelf - 1]), s, p, shelf);
                for (int n = 1; n <= kvx::CardsPerShelf; ++n) {
                    x.SlotNo.set(kvx::Loose(4 * n), s, p, shelf, n);
                    x.CardName.set(kvx::Loose(n % 2 ? "RCID4" : "ACTUR5AB"), s, p, shelf, n);
                    x.CardType.set(kvx::Loose(n % 14), s, p, shelf, n);
                }
            }
        }
    }
    x.Mas3Ring.redim({kvx::RingEntries});
    x.Mas4Ring.redim({kvx::RingEntries});
    for (int k = 0; k <= 4; ++k)
        fillRing(x.ring(k), k);
    x.MisColor = 0x2828DC;
    for (int k = 1; k <= 4; ++k)
        x.MasColor.set(kvx::Loose(0x00A0F0 + k), k);
    return x;
}

inline QByteArray largestFile()
{
    static const QByteArray bytes = [] {
        const kvx::Exchange x = largestExchange();
        QByteArray out;
        kvx::ExchangeWriter writer;
        if (!writer.write(x, kvx::ModelRingControls(x), &out))
            qFatal("%s", qPrintable(writer.errorString()));
        return out;
    }();
    return bytes;
}

} // namespace kvx::bench

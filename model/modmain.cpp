#include "model/modmain.h"

namespace kvx {

ModMainState ModMain;

void Exchange::sizeRoomTables(int shoots, int places)
{
    StationName.redim({shoots, places, ShelvesPerRack});
    SlotNo.redim({shoots, places, ShelvesPerRack, CardsPerShelf});
    CardName.redim({shoots, places, ShelvesPerRack, CardsPerShelf});
    CardType.redim({shoots, places, ShelvesPerRack, CardsPerShelf});
}

const LooseTable &Exchange::ring(int k) const
{
    switch (k) {
    case 0:
        return MisRing;
    case 1:
        return Mas1Ring;
    case 2:
        return Mas2Ring;
    case 3:
        return Mas3Ring;
    default:
        return Mas4Ring;
    }
}

LooseTable &Exchange::ring(int k)
{
    return const_cast<LooseTable &>(static_cast<const Exchange *>(this)->ring(k));
}

} // namespace kvx

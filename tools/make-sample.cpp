// Writes the sample exchange that ships beside the program (app/config.kvx):
// a room with racks of every family, built from their templates, and all
// five rings. Run by hand when the sample should change:
//   make-sample app/config.kvx

#include "model/exchangereader.h"
#include "model/exchangewriter.h"
#include "model/racktemplates.h"
#include "platform/core/files.h"

#include <cstdio>
#include <vector>

namespace {

const char *const SiteName = "KINGSBRIDGE TRUNK EXCHANGE";

// Shoots from the door: power, the central rack and the controls in front,
// the switching racks behind, with gaps where a person walks between runs.
const std::vector<std::vector<const char *>> Room = {
    {"SDE-01", "SDE-02", "SDE-03", "", "CA", "", "UC-01", "UC-02", "UC-03", "UC-04"},
    {"UD-01", "UD-02", "UD-03", "UD-04", "", "UE-01", "UE-02", "UE-03", "UE-04", "UE-05"},
    {"XA0", "", "XA-1A", "XA-1B", "XA-2A", "XA-2B", "", "UC-05", "UC-06", ""},
    {"XB-1A", "XB-1B", "XB-2A", "XB-2B", "", "XB-3A", "XB-3B", "XB-4A", "XB-4B", "SDE-04"},
};

struct Ring
{
    QByteArray members;
    qint32 colour; // &HBBGGRR
};

// Each ring is a closed loop of neighbouring racks (it names its first rack
// again at the end), so its layout reads as a ring of short links. The
// inter-station ring joins the central controls; each access ring serves one
// corner of the room.
const Ring Mis = {"CA,UC-01,UC-02,UC-03,UC-04,UE-05,UE-04,UE-03,UE-02,UE-01,CA", 0x2828DC};
const Ring Mas[4] = {
    {"UD-01,UD-02,UD-03,UD-04,XA-1B,XB-2B,XB-2A,XB-1B,XB-1A,XA0,UD-01", 0xE66E1E},
    {"UE-01,UE-02,UE-03,UC-05,XB-4A,XB-3B,XB-3A,XA-2B,UE-01", 0x46A014},
    {"UC-02,UC-03,UC-04,UE-05,UE-04,UC-06,XB-4B,XB-4A,UC-05,UE-03,UE-02,UC-02", 0x00A0F0},
    {"XA-1A,XA-1B,XA-2A,XA-2B,XB-3A,XB-2B,XB-2A,XA-1A", 0xC83C96},
};

class SampleRings : public kvx::RingControls
{
public:
    bool masTicked(int) const override { return true; }
    QByteArray misText() const override { return Mis.members; }
    QByteArray masText(int k) const override { return Mas[k - 1].members; }
};

kvx::Exchange buildSample()
{
    kvx::Exchange x;
    const int shoots = int(Room.size());
    const int places = int(Room.front().size());
    x.SiteName = kvx::Loose(SiteName);
    x.NoOfShoots = shoots;
    x.NoOfRacks = places;
    x.NoOfMas = 4;
    x.RackName.redim({shoots, places});
    x.sizeRoomTables(shoots, places);
    for (int s = 1; s <= shoots; ++s) {
        for (int p = 1; p <= places; ++p) {
            const QByteArray name = Room[size_t(s - 1)][size_t(p - 1)];
            if (name.isEmpty())
                continue;
            x.RackName.set(kvx::Loose(name), s, p);
            kvx::applyRackTemplate(*kvx::templateForRackName(name), x, s, p);
        }
    }
    x.MisColor = Mis.colour;
    for (int k = 1; k <= 4; ++k)
        x.MasColor.set(kvx::Loose(Mas[k - 1].colour), k);
    return x;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make-sample FILE\n");
        return 2;
    }
    kvx::ExchangeWriter writer;
    QByteArray bytes;
    if (!writer.write(buildSample(), SampleRings(), &bytes)) {
        std::fprintf(stderr, "make-sample: %s\n", qPrintable(writer.errorString()));
        return 1;
    }
    QString error;
    if (!kvx::Files::writeFileSafely(QString::fromLocal8Bit(argv[1]), bytes, &error)) {
        std::fprintf(stderr, "make-sample: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}

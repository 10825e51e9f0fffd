// Opening the configuration editor on the largest exchange it can make: 15
// shoots of 15 places, every place a rack, every shelf 35 cards, all four MAS
// rings of 14 members. Run build/bench-editor in a Release or RelWithDebInfo
// build and read the figures; times are never asserted.

#include "app/modmain.h"
#include "editor/frmalter.h"
#include "platform/listbox.h"
#include "platform/services.h"
#include "viewer/frmswitch.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

constexpr int Shoots = 15;
constexpr int Places = 15;

QByteArray rackName(int s, int p)
{
    static const char *const families[] = {"UC", "UD", "UE", "XA", "XB"};
    return QByteArray(families[(s + p) % 5]) + '-' + QByteArray::number(s) + QByteArray::number(p).rightJustified(2, '0');
}

kvx::Exchange largestExchange()
{
    kvx::Exchange x;
    x.SiteName = kvx::Loose("BENCHMARK EXCHANGE");
    x.NoOfShoots = Shoots;
    x.NoOfRacks = Places;
    x.NoOfMas = 4;
    x.RackName.redim({Shoots, Places});
    x.sizeRoomTables(Shoots, Places);
    for (int s = 1; s <= Shoots; ++s) {
        for (int p = 1; p <= Places; ++p) {
            x.RackName.set(kvx::Loose(rackName(s, p)), s, p);
            for (int shelf = 1; shelf <= kvx::ShelvesPerRack; ++shelf) {
                x.StationName.set(kvx::Loose(shelf == 1 ? "SMXC" : "SMX"), s, p, shelf);
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
    for (int k = 0; k <= 4; ++k) {
        kvx::LooseTable &ring = x.ring(k);
        ring.redim({kvx::RingEntries});
        for (int n = 1; n < kvx::RingEntries; ++n)
            ring.set(kvx::Loose(rackName((k + n) % Shoots + 1, n)), n);
        ring.set(kvx::Loose("*"), kvx::RingEntries);
    }
    x.MisColor = 0x2828DC;
    for (int k = 1; k <= 4; ++k)
        x.MasColor.set(kvx::Loose(0x00A0F0 + k), k);
    return x;
}

// What the event loop does after each handler: destroys the controls
// unloaded by it, and paints.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// From the menu command to a shown window on its first tab with the first
// rack's 35 card rows, painted once.
void BM_OpenEditor(benchmark::State &state)
{
    kvx::ModMain.adopt(largestExchange());
    kvx::frmSwitch::get(); // the main window exists before the editor is opened
    for (auto _ : state) {
        kvx::frmAlter::showEditor();
        QCoreApplication::processEvents();
        state.PauseTiming();
        const kvx::frmAlter *f = kvx::frmAlter::loaded();
        if (!f || f->cardRows() != kvx::CardsPerShelf || f->lstRackName->ListCount() != Shoots * Places) {
            state.SkipWithError("the editor did not open on the largest exchange");
            break;
        }
        kvx::frmAlter::discard();
        settle();
        state.ResumeTiming();
    }
    kvx::frmAlter::discard();
    kvx::frmSwitch::discard();
    settle();
}
BENCHMARK(BM_OpenEditor)->Unit(benchmark::kMillisecond);

// Choosing another rack: 35 rows removed and 35 built, then painted.
void BM_ChooseRack(benchmark::State &state)
{
    kvx::ModMain.adopt(largestExchange());
    kvx::frmAlter::showEditor();
    kvx::frmAlter *f = kvx::frmAlter::loaded();
    int rack = 0;
    for (auto _ : state) {
        rack = (rack + 1) % (Shoots * Places);
        f->lstRackName->setListIndex(rack);
        settle();
    }
    kvx::frmAlter::discard();
    kvx::frmSwitch::discard();
    settle();
}
BENCHMARK(BM_ChooseRack)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kvx::Screen::setSizeTwips(1024 * 15, 768 * 15);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

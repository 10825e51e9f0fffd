// Opening the configuration editor on the largest exchange it can make: 15
// shoots of 15 places, every place a rack, every shelf 35 cards, all four MAS
// rings of 14 members; choosing a rack; undoing and redoing a room size change;
// an arrow key in the room grid. Run build/bench-editor in a Release or RelWithDebInfo
// build and read the figures; times are never asserted.

#include "bench/largestexchange.h"
#include "editor/frmalter.h"
#include "model/modmain.h"
#include "platform/combobox.h"
#include "platform/commandbutton.h"
#include "platform/core/services.h"
#include "platform/frame.h"
#include "platform/listbox.h"
#include "platform/menu.h"
#include "platform/tabcontrol.h"
#include "viewer/frmswitch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QUndoStack>

#include <benchmark/benchmark.h>

namespace {

using kvx::bench::largestExchange;
using kvx::bench::Places;
using kvx::bench::Shoots;

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

// Undo and redo of a room size change from 15 x 15 to the given size, each
// rebuilding the room grid and painted: one iteration is one undo and one redo.
void BM_UndoRedoRoomSize(benchmark::State &state)
{
    kvx::ModMain.adopt(largestExchange());
    kvx::frmAlter::showEditor();
    kvx::frmAlter *f = kvx::frmAlter::loaded();
    f->SSTab1->setTab(1);
    f->cmbShoot->setListIndex(int(state.range(0)) - 1);
    f->cmbDeRack->setListIndex(int(state.range(1)) - 1);
    f->cmdUpdate->click();
    settle();
    for (auto _ : state) {
        f->mnuUndo->trigger();
        settle();
        f->mnuRedo->trigger();
        settle();
    }
    if (kvx::ModMain.shoots() != state.range(0) || f->mnuRedo->Enabled() || !f->mnuUndo->Enabled())
        state.SkipWithError("the room size change was not undone and redone");
    kvx::frmAlter::history().clear();
    kvx::frmAlter::discard();
    kvx::frmSwitch::discard();
    settle();
}
BENCHMARK(BM_UndoRedoRoomSize)->Args({1, 1})->Args({14, 14})->Unit(benchmark::kMillisecond);

// One arrow key in the room grid of 15 x 15 places, the frame moved and the
// grid scrolled into sight through its bars, then painted: the keys go along
// each shoot and down to the next, then back up to the first.
void BM_GridKey(benchmark::State &state)
{
    kvx::ModMain.adopt(largestExchange());
    kvx::frmAlter::showEditor();
    kvx::frmAlter *f = kvx::frmAlter::loaded();
    f->SSTab1->setTab(1);
    f->Frame6->setFocus(Qt::TabFocusReason);
    settle();
    std::vector<Qt::Key> keys;
    for (int shoot = 1; shoot <= Shoots; ++shoot) {
        keys.insert(keys.end(), Places - 1, shoot % 2 ? Qt::Key_Right : Qt::Key_Left);
        keys.push_back(shoot < Shoots ? Qt::Key_Down : Qt::Key_Home);
    }
    keys.insert(keys.end(), Shoots - 1, Qt::Key_Up);
    size_t next = 0;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, keys[next], Qt::NoModifier);
        QCoreApplication::sendEvent(f->Frame6, &press);
        next = (next + 1) % keys.size();
        settle();
    }
    if (!f->Frame6->currentItem() || !f->Frame6->focusFrameShown())
        state.SkipWithError("the keys did not move the grid's frame");
    kvx::frmAlter::discard();
    kvx::frmSwitch::discard();
    settle();
}
BENCHMARK(BM_GridKey)->Unit(benchmark::kMicrosecond);

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

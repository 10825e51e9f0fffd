// The main window on the largest exchange (15 x 15 racks, 35 cards a shelf):
// the rebuild of the room plan that Refresh performs (load, Clear, InitMe)
// and one paint of the rebuilt plan; a rack click until the rack view is laid
// out, one tick of the shelf animation and the last tick, which lays the
// shelf's 35 cards, and a paint of the shelf view; and the program's start-up until its
// main window is shown, next to a bare Qt main window's start-up measured the
// same way: each iteration starts this benchmark again as a child process in
// one of the two roles and waits for it to end once its window is painted.
// The children run on the platform the program runs on: the X display when
// there is one (run the benchmark under xvfb-run on a machine without), else
// Qt's offscreen platform; QT_QPA_PLATFORM chooses another.
//
//   bench-viewer                      the benchmarks
//   bench-viewer --child bare         a bare window (child role)
//   bench-viewer --child program DIR  the program on DIR/config.kvx (child role)

#include "largestexchange.h"

#include "app/modmain.h"
#include "app/startup.h"
#include "platform/files.h"
#include "platform/qtservices.h"
#include "platform/services.h"
#include "viewer/frmswitch.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>

using namespace kvx;

namespace {

QString g_self;
QString g_childPlatform;

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Waits until the window is on the screen and painted once.
bool waitShown(QWidget &window)
{
    QDeadlineTimer deadline(10000);
    while (!(window.windowHandle() && window.windowHandle()->isExposed())) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QCoreApplication::processEvents();
    return true;
}

int child(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget *window = nullptr;
    QMainWindow bare;
    if (std::strcmp(argv[2], "bare") == 0 || argc < 4) {
        bare.resize(1024, 768);
        bare.show();
        window = &bare;
    } else {
        QApplication::setApplicationName(QStringLiteral("kvx410"));
        installQtServices();
        Screen::setSizeTwips(1024 * 15, 768 * 15);
        setAppPath(QString::fromLocal8Bit(argv[3]));
        Main();
        if (!frmSwitch::isLoaded())
            return 1;
        window = &frmSwitch::get();
    }
    const bool shown = waitShown(*window);
    // Gone at once, like the measured start-up ends: tearing down is not part of it.
    std::fflush(nullptr);
    std::_Exit(shown ? 0 : 1);
}

// The main window on the largest exchange, shown on a 1024 x 768 screen.
struct LargestRoom
{
    QTemporaryDir dir;
    bool ok = false;

    LargestRoom()
    {
        const QString path = dir.filePath(QStringLiteral("largest.kvx"));
        if (!writeBytes(path, bench::largestFile()))
            return;
        setMsgBoxHook([](const MsgBoxCall &call) {
            std::fprintf(stderr, "message: %s\n", qPrintable(call.text));
            return int(vbOK);
        });
        setAppPath(dir.path());
        Screen::setSizeTwips(1024 * 15, 768 * 15);
        ModMain = ModMainState();
        ModMain.DataFile = Files::bytesFromPath(path);
        if (!LoadExchange(OnLoadFailure::KeepExchange))
            return;
        frmSwitch::get().Show();
        ok = waitShown(frmSwitch::get()) && ModMain.RackIndex == bench::Shoots * bench::Places;
    }
    ~LargestRoom() { frmSwitch::discard(); }
};

void BM_RebuildRoomPlan(benchmark::State &state)
{
    LargestRoom room;
    if (!room.ok) {
        state.SkipWithError("the largest exchange did not load");
        return;
    }
    frmSwitch &form = frmSwitch::get();
    for (auto _ : state)
        form.mnuRefresh->trigger(); // load, Clear, InitMe
    state.counters["racks"] = ModMain.RackIndex;
    state.counters["plan_controls"] = form.PicRoom->itemCount() + form.PicRing->itemCount();
}

void BM_PaintRoomPlan(benchmark::State &state)
{
    LargestRoom room;
    if (!room.ok) {
        state.SkipWithError("the largest exchange did not load");
        return;
    }
    frmSwitch &form = frmSwitch::get();
    for (auto _ : state) {
        form.PicRoom->repaint();
        benchmark::ClobberMemory();
    }
}

// The rack click as the plan raises it, on racks all over the room; the
// first click, which parses the view's pictures, is made before timing.
void BM_RackClick(benchmark::State &state)
{
    LargestRoom room;
    if (!room.ok) {
        state.SkipWithError("the largest exchange did not load");
        return;
    }
    frmSwitch &form = frmSwitch::get();
    form.imgRack(1).Click();
    int i = 0;
    for (auto _ : state) {
        i = i % ModMain.RackIndex + 1;
        form.imgRack(i).Click();
    }
    if (!form.frameRackBig->Visible())
        state.SkipWithError("the rack view did not open");
}

// Arg: the tick timed, 3 (the box grows) or 6 (the cards are laid). Each
// iteration opens the first shelf again, which removes the cards laid last.
void BM_ShelfTick(benchmark::State &state)
{
    LargestRoom room;
    if (!room.ok) {
        state.SkipWithError("the largest exchange did not load");
        return;
    }
    frmSwitch &form = frmSwitch::get();
    form.imgRack(1).Click();
    const int timed = int(state.range(0));
    for (auto _ : state) {
        form.imgShelf(0).Click();
        for (int t = 1; t < timed; ++t)
            form.TimShelfEnlarger->fireTick();
        const auto begin = std::chrono::steady_clock::now();
        form.TimShelfEnlarger->fireTick();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
    }
    state.counters["cards"] = form.CardCount;
}

// The room with the grown shelf view over it, painted.
void BM_PaintShelfView(benchmark::State &state)
{
    LargestRoom room;
    if (!room.ok) {
        state.SkipWithError("the largest exchange did not load");
        return;
    }
    frmSwitch &form = frmSwitch::get();
    form.imgRack(1).Click();
    form.imgShelf(0).Click();
    for (int t = 0; t < 6; ++t)
        form.TimShelfEnlarger->fireTick();
    form.PicRoom->repaint();
    for (auto _ : state) {
        form.PicRoom->repaint();
        benchmark::ClobberMemory();
    }
}

// Arg 0: a bare Qt main window; 1: the program on its sample; 2: the program on the largest exchange.
void BM_StartUntilShown(benchmark::State &state)
{
    QTemporaryDir dir;
    QStringList arguments{QStringLiteral("--child")};
    if (state.range(0) == 0) {
        arguments << QStringLiteral("bare");
    } else {
        QFile sample(QStringLiteral(KVX_SAMPLE_FILE));
        const QByteArray bytes = state.range(0) == 1 && sample.open(QIODevice::ReadOnly) ? sample.readAll()
                                                                                        : bench::largestFile();
        if (!writeBytes(dir.filePath(QStringLiteral("config.kvx")), bytes)) {
            state.SkipWithError("no program folder");
            return;
        }
        arguments << QStringLiteral("program") << dir.path();
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), g_childPlatform);
    state.SetLabel(g_childPlatform.toStdString());
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(g_self, arguments);
        if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            state.SkipWithError("the child did not show its window");
            break;
        }
    }
}

} // namespace

BENCHMARK(BM_RebuildRoomPlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintRoomPlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RackClick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShelfTick)
    ->ArgName("tick")
    ->Arg(3)
    ->Arg(6)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintShelfView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUntilShown)
    ->ArgName("bare0_sample1_largest2")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(20);

int main(int argc, char *argv[])
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return child(argc, argv);
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        g_childPlatform = qEnvironmentVariable("QT_QPA_PLATFORM");
    else
        g_childPlatform = qEnvironmentVariableIsEmpty("DISPLAY") ? QStringLiteral("offscreen") : QStringLiteral("xcb");
    // The rebuild and paint benchmarks need no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_self = QCoreApplication::applicationFilePath();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

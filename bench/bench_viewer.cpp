// The main window on the largest exchange (15 x 15 racks, 35 cards a shelf):
// the rebuild of the room plan that Refresh performs (load, Clear, InitMe)
// and one paint of the rebuilt plan; a rack click until the rack view is laid
// out, one tick of the shelf animation and the last tick, which lays the
// shelf's 35 cards, and a paint of the shelf view; the whole room plan
// exported to PDF and to PNG at scale 2; a keystroke in the find bar and the
// repaint of the room it dims, and the accessible objects of the room's racks
// made for a screen reader; and the program's start-up until its
// main window is shown, next to a bare Qt main window's start-up measured the
// same way: each iteration starts this benchmark again as a child process in
// each role (the bare window, the program on its sample, the program on the
// largest exchange) and times it until it reports its window painted.
// The children run on the platform the program runs on: the X display when
// there is one (run the benchmark under xvfb-run on a machine without), else
// Qt's offscreen platform; QT_QPA_PLATFORM chooses another.
//
//   bench-viewer                      the benchmarks
//   bench-viewer --child bare         a bare window (child role)
//   bench-viewer --child program DIR  the program on DIR/config.kvx (child role)

#include "largestexchange.h"

#include "app/startup.h"
#include "model/modmain.h"
#include "platform/core/files.h"
#include "platform/core/services.h"
#include "platform/fonts.h"
#include "platform/qtservices.h"
#include "viewer/exportview.h"
#include "viewer/findbar.h"
#include "viewer/frmswitch.h"
#include "viewer/loadexchange.h"

#include <QAccessible>
#include <QAction>
#include <QLineEdit>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

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

// Says so on the standard output once the window is shown, and is gone at
// once: tearing down is not part of the start-up.
[[noreturn]] void endShown(QWidget &window)
{
    const bool shown = waitShown(window);
    if (shown)
        std::fputs("shown\n", stdout);
    std::fflush(nullptr);
    std::_Exit(shown ? 0 : 1);
}

int bareChild(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow bare;
    bare.resize(1024, 768);
    bare.show();
    endShown(bare);
}

// The program's own main, on a 1024 x 768 screen and the given folder.
int programChild(int argc, char *argv[])
{
    QApplication app(argc, argv);
    askAccessibilityFirst();
    FontDatabaseAhead fonts;
    Screen::setSizeTwips(1024 * 15, 768 * 15);
    setAppPath(QString::fromLocal8Bit(argv[3]));
    const bool started = StartProgram();
    fonts.wait();
    if (!started)
        return 1;
    endShown(frmSwitch::get());
}

int child(int argc, char *argv[])
{
    if (std::strcmp(argv[2], "bare") == 0 || argc < 4)
        return bareChild(argc, argv);
    return programChild(argc, argv);
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

// The whole room plan, as Export View writes it: rendered and written to a
// file. Arg: 0 PDF, 1 PNG at scale 2.
void BM_ExportRoomPlan(benchmark::State &state)
{
    LargestRoom room;
    if (!room.ok) {
        state.SkipWithError("the largest exchange did not load");
        return;
    }
    const bool png = state.range(0) == 1;
    const QString path = room.dir.filePath(png ? QStringLiteral("room.png") : QStringLiteral("room.pdf"));
    const ViewPicture view = shownView(frmSwitch::get());
    for (auto _ : state) {
        QString error;
        if (!exportView(view, path, 2, &error)) {
            state.SkipWithError(qPrintable(error));
            return;
        }
    }
    state.SetLabel(png ? "PNG, scale 2" : "PDF");
    state.counters["kB"] = double(QFile(path).size()) / 1024;
    state.counters["width_px"] = view.size.width();
    state.counters["height_px"] = view.size.height();
}

// Ctrl+F, then a letter typed and taken back in turn: each keystroke reads
// every rack, station and card name of the room and dims the racks anew
// ("UD-1" finds a few racks by name, "UD-10" fewer). Arg 1 times the repaint
// of the room that follows the keystroke instead.
void BM_FindKeystroke(benchmark::State &state)
{
    LargestRoom room;
    if (!room.ok) {
        state.SkipWithError("the largest exchange did not load");
        return;
    }
    frmSwitch &form = frmSwitch::get();
    for (QAction *action : form.actions()) {
        if (action->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_F))
            action->trigger();
    }
    QLineEdit *edit = form.findBar()->edit();
    if (form.findBar()->isHidden()) {
        state.SkipWithError("Ctrl+F opened no find bar");
        return;
    }
    edit->setText(QStringLiteral("UD-1"));
    const bool repaint = state.range(0) == 1;
    bool longer = false;
    for (auto _ : state) {
        const auto begin = std::chrono::steady_clock::now();
        if (!repaint) {
            longer ? edit->backspace() : edit->insert(QStringLiteral("0"));
        } else {
            form.PicRoom->repaint();
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
        if (repaint)
            longer ? edit->backspace() : edit->insert(QStringLiteral("0"));
        longer = !longer;
    }
    state.SetLabel(form.findBar()->countText().toStdString());
}

// The room plan's accessible object and one for each rack with its name and
// description, as a screen reader walks the list; each iteration starts on a
// rebuilt room, whose racks have none yet.
void BM_AccessibleRoom(benchmark::State &state)
{
    LargestRoom room;
    if (!room.ok) {
        state.SkipWithError("the largest exchange did not load");
        return;
    }
    frmSwitch &form = frmSwitch::get();
    int items = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.mnuRefresh->trigger();
        state.ResumeTiming();
        QAccessibleInterface *plan = QAccessible::queryAccessibleInterface(form.PicRoom);
        items = 0;
        for (int i = 0; i < plan->childCount(); ++i) {
            QAccessibleInterface *item = plan->child(i);
            if (item->role() != QAccessible::ListItem)
                continue;
            benchmark::DoNotOptimize(item->text(QAccessible::Name));
            benchmark::DoNotOptimize(item->text(QAccessible::Description));
            benchmark::DoNotOptimize(item->rect());
            ++items;
        }
    }
    state.counters["racks"] = items;
}

// Milliseconds from starting a child until it says its window is shown; a
// negative value when it failed.
double runChild(const QProcessEnvironment &env, const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(env);
    const auto begin = std::chrono::steady_clock::now();
    process.start(g_self, arguments);
    QDeadlineTimer deadline(30000);
    while (!process.canReadLine() && process.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    const bool shown = process.canReadLine() && process.readLine() == "shown\n";
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0
        || !shown)
        return -1;
    return ms;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A bare Qt main window, the program on its sample and the program on the
// largest exchange, started in turn within each iteration, so that a machine
// that slows down or speeds up weighs on all three alike. The counters are
// the medians in milliseconds and the program's over the bare window's; the
// time reported is the program's on the largest exchange.
void BM_StartUntilShown(benchmark::State &state)
{
    QTemporaryDir sampleDir;
    QTemporaryDir largestDir;
    QFile sample(QStringLiteral(KVX_SAMPLE_FILE));
    if (!sample.open(QIODevice::ReadOnly)
        || !writeBytes(sampleDir.filePath(QStringLiteral("config.kvx")), sample.readAll())
        || !writeBytes(largestDir.filePath(QStringLiteral("config.kvx")), bench::largestFile())) {
        state.SkipWithError("no program folder");
        return;
    }
    const QString child = QStringLiteral("--child");
    const QStringList roles[] = {{child, QStringLiteral("bare")},
                                 {child, QStringLiteral("program"), sampleDir.path()},
                                 {child, QStringLiteral("program"), largestDir.path()}};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), g_childPlatform);
    // Qt's offscreen screen is 800 x 600, where the program would stop to ask
    // about the screen: the children get the 1024 x 768 the others have.
    const QString screens = sampleDir.filePath(QStringLiteral("screens.json"));
    if (g_childPlatform == QLatin1String("offscreen")) {
        if (!writeBytes(screens, R"({"screens": [{"name": "1024x768", "x": 0, "y": 0, "width": 1024, "height": 768,
                                    "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")) {
            state.SkipWithError("no program folder");
            return;
        }
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen:configfile=") + screens);
    }
    state.SetLabel(g_childPlatform.toStdString());
    std::vector<double> times[3];
    // Every order of the three in turn, so that none always follows another;
    // a pause before each lets the display finish with the child before.
    const int orders[6][3] = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    int turn = 0;
    for (auto _ : state) {
        double largest = 0;
        for (const int role : orders[turn % 6]) {
            QThread::msleep(30);
            const double ms = runChild(env, roles[role]);
            if (ms < 0) {
                state.SkipWithError("a child did not show its window");
                return;
            }
            times[role].push_back(ms);
            if (role == 2)
                largest = ms;
        }
        ++turn;
        state.SetIterationTime(largest / 1000);
    }
    const double bare = median(times[0]);
    state.counters["bare_ms"] = bare;
    state.counters["sample_ms"] = median(times[1]);
    state.counters["largest_ms"] = median(times[2]);
    state.counters["sample_x"] = median(times[1]) / bare;
    state.counters["largest_x"] = median(times[2]) / bare;
}

} // namespace

BENCHMARK(BM_RebuildRoomPlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintRoomPlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RackClick)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShelfTick)->ArgName("tick")->Arg(3)->Arg(6)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintShelfView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportRoomPlan)->ArgName("png")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindKeystroke)->ArgName("repaint")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AccessibleRoom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUntilShown)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(30);

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

// Rooms far beyond what the editor makes: 1,000, 10,000 and 100,000 racks
// read from a data file and built into the main window's room plan, each in
// a child process of its own, which reports its time and its peak memory
// (VmHWM), and then the time of a Refresh, which clears the plan, reads the
// file again and builds the plan anew. A child that loads and builds a room of
// one rack gives the baseline taken off the peak. Two kinds of room: bare
// (one-letter names, no stations, every shelf empty: the fewest bytes a rack
// can take) and furnished (own names, station names, a card on each rack).
//
//   bench-bigroom                          the benchmarks
//   bench-bigroom --child load|build FILE  one child: prints its figures

#include "app/startup.h"
#include "model/exchangereader.h"
#include "model/exchangewriter.h"
#include "model/modmain.h"
#include "platform/core/files.h"
#include "platform/core/services.h"
#include "platform/qtservices.h"
#include "viewer/frmswitch.h"
#include "viewer/loadexchange.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>

using namespace kvx;

namespace {

using Clock = std::chrono::steady_clock;

QString g_self;

enum class Kind { Bare, Furnished };

// Racks fill the places of a square room shoot by shoot.
QByteArray roomFile(int racks, Kind kind)
{
    int places = 1;
    while (places * places < racks)
        ++places;
    const int shoots = (racks + places - 1) / places;
    const auto name = [kind](int i) {
        return kind == Kind::Bare ? QByteArray(1, char('A' + i % 26)) : "R-" + QByteArray::number(i);
    };
    QByteArray out = "\"BIG ROOM\"," + QByteArray::number(shoots) + ',' + QByteArray::number(places) + ",2\n";
    for (int s = 0; s < shoots; ++s) {
        for (int p = 0; p < places; ++p) {
            if (p > 0)
                out += ',';
            if (s * places + p < racks)
                out += name(s * places + p);
        }
        out += '\n';
    }
    for (int i = 0; i < racks; ++i) {
        out += name(i) + '\n';
        if (kind == Kind::Bare)
            out += ",,,,\n-1\n-1\n-1\n-1\n-1\n";
        else
            out += "SMXC,SMX,SMX,,SMX\n 4 ,RCID4, 3 ,-1 \n-1\n-1\n-1\n-1\n";
    }
    out += "MIS\n" + name(0) + ",*,255\nMAS1\n*, 1 \nMAS2\n*, 2 \n";
    return out;
}

qint64 peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

double msSince(Clock::time_point begin)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
}

// The reader alone, as kvx-check runs it: no window, no application object.
int loadChild(const char *path)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const auto begin = Clock::now();
    Exchange x;
    ExchangeReader reader;
    if (!reader.read(file, x)) {
        std::fprintf(stderr, "%s\n", qPrintable(reader.errorString()));
        return 1;
    }
    std::printf("%.1f 0 %lld\n", msSince(begin), peakKilobytes());
    return 0;
}

// The program's load and its room plan, shown on a 1024 x 768 screen.
int buildChild(int argc, char *argv[])
{
    QApplication app(argc, argv);
    installQtServices();
    setMsgBoxHook([](const MsgBoxCall &call) {
        std::fprintf(stderr, "message: %s\n", qPrintable(call.text));
        std::_Exit(1);
        return int(vbOK);
    });
    Screen::setSizeTwips(1024 * 15, 768 * 15);
    const QString path = QString::fromLocal8Bit(argv[3]);
    setAppPath(QFileInfo(path).path());
    ModMain.DataFile = Files::bytesFromPath(path);
    // The load builds the main window and its room plan too.
    const auto begin = Clock::now();
    if (!LoadExchange(OnLoadFailure::KeepExchange))
        return 1;
    frmSwitch &form = frmSwitch::get();
    form.Show();
    QDeadlineTimer deadline(60000);
    while (!(form.windowHandle() && form.windowHandle()->isExposed()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QCoreApplication::processEvents();
    const double startMs = msSince(begin);
    const qint64 peak = peakKilobytes();
    const auto refresh = Clock::now();
    form.mnuRefresh->trigger();
    std::printf("%.1f %.1f %lld\n", startMs, msSince(refresh), peak);
    std::fflush(nullptr);
    std::_Exit(0); // tearing down is not measured
}

struct Figures
{
    double ms = -1;
    double refreshMs = -1;
    double peakKb = -1;
};

Figures runChild(const char *role, const QString &path)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(g_self, {QStringLiteral("--child"), QString::fromLatin1(role), path});
    Figures f;
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return f;
    const QList<QByteArray> words = process.readAllStandardOutput().trimmed().split(' ');
    if (words.size() == 3) {
        f.ms = words[0].toDouble();
        f.refreshMs = words[1].toDouble();
        f.peakKb = words[2].toDouble();
    }
    return f;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Args: racks, kind (0 bare, 1 furnished). The time reported is the program's
// load with its room plan until the window is shown; read_ms is the reader
// alone, refresh_ms a Refresh of the room shown. The peaks, before the
// Refresh, are above the one-rack baseline, also over the file's size.
void BM_BigRoom(benchmark::State &state)
{
    const int racks = int(state.range(0));
    const Kind kind = state.range(1) ? Kind::Furnished : Kind::Bare;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("room.kvx"));
    const QString one = dir.filePath(QStringLiteral("one.kvx"));
    const QByteArray bytes = roomFile(racks, kind);
    if (!writeFile(path, bytes) || !writeFile(one, roomFile(1, kind))) {
        state.SkipWithError("no temporary folder");
        return;
    }
    for (auto _ : state) {
        const Figures load = runChild("load", path);
        const Figures loadBase = runChild("load", one);
        const Figures build = runChild("build", path);
        const Figures buildBase = runChild("build", one);
        if (load.peakKb < 0 || loadBase.peakKb < 0 || build.peakKb < 0 || buildBase.peakKb < 0) {
            state.SkipWithError("a child failed");
            return;
        }
        state.SetIterationTime(build.ms / 1000);
        const double mb = double(bytes.size()) / (1 << 20);
        const double loadPeak = (load.peakKb - loadBase.peakKb) / 1024;
        const double buildPeak = (build.peakKb - buildBase.peakKb) / 1024;
        state.counters["file_MB"] = mb;
        state.counters["read_ms"] = load.ms;
        state.counters["refresh_ms"] = build.refreshMs;
        state.counters["read_peak_MB"] = loadPeak;
        state.counters["read_x_file"] = loadPeak / mb;
        state.counters["build_peak_MB"] = buildPeak;
        state.counters["build_x_file"] = buildPeak / mb;
    }
}

} // namespace

BENCHMARK(BM_BigRoom)
    ->ArgNames({"racks", "furnished"})
    ->ArgsProduct({{1000, 10000, 100000}, {0, 1}})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

int main(int argc, char *argv[])
{
    if (argc >= 4 && std::strcmp(argv[1], "--child") == 0)
        return std::strcmp(argv[2], "load") == 0 ? loadChild(argv[3]) : buildChild(argc, argv);
    QCoreApplication app(argc, argv);
    g_self = QCoreApplication::applicationFilePath();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

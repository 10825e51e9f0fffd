// Loading and saving the largest exchange the editor can make: 15 shoots of
// 15 places, every place a rack, every shelf 35 cards, all four MAS rings.

#include "app/exchangefile.h"
#include "platform/errors.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Shoots = 15;
constexpr int Places = 15;

QByteArray rackName(int s, int p)
{
    static const char *const families[] = {"UC", "UD", "UE", "XA", "XB"};
    return QByteArray(families[(s + p) % 5]) + '-' + QByteArray::number(s) + QByteArray::number(p).rightJustified(2, '0');
}

void fillRing(kvx::LooseTable &ring, int first)
{
    ring.redim({kvx::RingEntries});
    for (int n = 1; n < kvx::RingEntries; ++n)
        ring.set(kvx::Loose(rackName((first + n) % Shoots + 1, n)), n);
    ring.set(kvx::Loose("*"), kvx::RingEntries);
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

QByteArray largestFile()
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

void BM_LoadExchange(benchmark::State &state)
{
    const QByteArray bytes = largestFile();
    for (auto _ : state) {
        kvx::Exchange x;
        kvx::ExchangeReader reader;
        if (!reader.read(bytes, x)) {
            state.SkipWithError(qPrintable(reader.errorString()));
            break;
        }
        benchmark::DoNotOptimize(x);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["file_bytes"] = double(bytes.size());
}

void BM_WriteExchange(benchmark::State &state)
{
    const kvx::Exchange x = largestExchange();
    const kvx::ModelRingControls rings(x);
    QByteArray out;
    for (auto _ : state) {
        kvx::ExchangeWriter writer;
        if (!writer.write(x, rings, &out)) {
            state.SkipWithError(qPrintable(writer.errorString()));
            break;
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(state.iterations() * out.size());
}

// The editor's Save: the writer, then the file replaced on disk through Files.
void BM_SaveExchangeToDisk(benchmark::State &state)
{
    QTemporaryDir dir;
    if (!dir.isValid()) {
        state.SkipWithError("no temporary folder");
        return;
    }
    kvx::ModMain.adopt(largestExchange());
    kvx::ModMain.SaveFile = dir.filePath(QStringLiteral("largest.kvx"));
    kvx::setRingControls(nullptr);
    for (auto _ : state) {
        try {
            kvx::SaveExchange();
        } catch (const kvx::PlatformError &e) {
            state.SkipWithError(e.what());
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * largestFile().size());
}

} // namespace

BENCHMARK(BM_LoadExchange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteExchange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveExchangeToDisk)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

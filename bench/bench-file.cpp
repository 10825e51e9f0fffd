// Loading, saving and comparing the largest exchange the editor can make: 15
// shoots of 15 places, every place a rack, every shelf 35 cards, all four MAS
// rings.

#include "largestexchange.h"
#include "model/exchangediff.h"
#include "platform/core/errors.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using kvx::bench::largestExchange;
using kvx::bench::largestFile;

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

// kvx-check --diff on two of the largest exchanges: the same exchange (every
// card looked at, no line), and one whose every card stands a slot further on
// (every card removed and added again: 78,750 lines).
void BM_DiffExchanges(benchmark::State &state)
{
    const kvx::Exchange expected = largestExchange();
    kvx::Exchange actual = largestExchange();
    if (state.range(0) != 0) {
        for (int s = 1; s <= kvx::bench::Shoots; ++s) {
            for (int p = 1; p <= kvx::bench::Places; ++p) {
                for (int shelf = 1; shelf <= kvx::ShelvesPerRack; ++shelf) {
                    for (int n = 1; n <= kvx::CardsPerShelf; ++n)
                        actual.SlotNo.set(kvx::Loose(4 * n + 1), s, p, shelf, n);
                }
            }
        }
    }
    qsizetype lines = 0;
    for (auto _ : state) {
        const QList<kvx::ExchangeDifference> differences = kvx::diffExchanges(expected, actual);
        lines = differences.size();
        benchmark::DoNotOptimize(differences);
    }
    state.counters["lines"] = double(lines);
}

} // namespace

BENCHMARK(BM_DiffExchanges)->ArgName("every_card_moved")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadExchange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteExchange)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveExchangeToDisk)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

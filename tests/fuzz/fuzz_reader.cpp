// Feeds arbitrary bytes to the data file reader. Whatever it accepts must
// survive the writer: a file the writer produces always reads back, and
// what one Save writes the next Save writes again byte for byte.
#include "model/exchangereader.h"
#include "model/exchangewriter.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace kvx;
    Exchange x, again;
    QByteArray first, second;
    ExchangeWriter writer;
    if (!ExchangeReader().read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), x)
        || !writer.write(x, ModelRingControls(x), &first))
        return 0; // not loaded, or refused with a reason: nothing unreadable was written
    if (!ExchangeReader().read(first, again) || !writer.write(again, ModelRingControls(again), &second) || second != first)
        std::abort();
    return 0;
}

// Feeds arbitrary bytes to the data file reader. Whatever it accepts must
// survive the writer: a file the writer produces always reads back, and
// what one Save writes the next Save writes again byte for byte.
#include "app/exchangefile.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool roundTrip(const QByteArray &in, QByteArray *out)
{
    using namespace kvx;
    Exchange x;
    if (!ExchangeReader().read(in, x))
        std::abort(); // the writer made a file the reader cannot load
    ExchangeWriter writer;
    return writer.write(x, ModelRingControls(x), out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    using namespace kvx;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Exchange x;
    if (!ExchangeReader().read(bytes, x))
        return 0;
    QByteArray first;
    ExchangeWriter writer;
    if (!writer.write(x, ModelRingControls(x), &first))
        return 0; // refused with a reason: nothing unreadable was written
    QByteArray second;
    if (!roundTrip(first, &second) || second != first)
        std::abort();
    return 0;
}

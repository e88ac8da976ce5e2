// libFuzzer target over .dic files, by bytes: no input may crash the reader,
// and every input is refused with nothing or goes through Open, Save, reopen
// and Save unchanged, read alike from a stream and from memory.
#include "support/DicRoundTrip.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    // Pieces of a few bytes; of 1/256 of a big file, which is enough to cut
    // its lines and units anywhere.
    const qint64 piece = std::max<qint64>(1 + (size ? data[size - 1] % 7 : 0), qint64(size) / 256);
    const QString fault = vorbix::testing::roundTripFault(bytes, piece);
    if (!fault.isEmpty()) {
        std::fprintf(stderr, "fuzz_reader: %s\n", qPrintable(fault));
        std::abort();
    }
    return 0;
}

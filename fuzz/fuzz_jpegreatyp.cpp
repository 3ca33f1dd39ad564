// Decodes arbitrary bytes as a JPEG image through the reader in every row
// layout: the first byte chooses the layout, the rest is the file. Every
// malformed file must end in a reported error or in rows, never in a crash,
// a process exit or a read outside the data.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/velsys/fil.h"
#include "raster/input/jpegreatyp.h"

namespace {

// Large frames decode correctly but slowly; the fuzzer looks for faults.
constexpr long kMaxPixels = 4L << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const int selector = static_cast<int>(data[0] % 10) - 5;  // -5 .. 4
    VelSys::fil file;
    file.openMemory({data + 1, size - 1});
    QuillonCore::jpegreatyp reader(&file);
    int numerator = 0, denominator = 0, rows = 0, columns = 0;
    if (reader.pixreaini(&numerator, &denominator, &rows, &columns, selector, 0) != 0) return 0;
    if (rows <= 0 || columns <= 0) std::abort();
    if (static_cast<long>(rows) * columns > kMaxPixels) {
        reader.pixreaend();
        return 0;
    }
    // Room for the widest layout; run lists get a tight capacity now and then.
    const std::size_t rowBytes = 4 * static_cast<std::size_t>(columns) + 16;
    const int capacity = selector == -2 && (data[0] & 0x80) ? 12 : static_cast<int>(rowBytes);
    std::vector<unsigned char> row(rowBytes);
    for (int y = 0; y < rows; ++y) {
        unsigned char* target = (y % 7 == 3) ? nullptr : row.data();
        if (reader.pixrealin(target, capacity) != 1) break;
    }
    reader.pixreaend();
    return 0;
}

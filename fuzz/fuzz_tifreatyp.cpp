// The TIFF reader on arbitrary bytes: prepared with every layout in turn
// (the all-samples layout through the pixel cache), every row read, ended.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/velgen/Messages.h"
#include "platform/velsys/fil.h"
#include "raster/input/tifreatyp.h"

namespace {

// Keeps one run of the harness small: images larger than this are only prepared.
constexpr std::int64_t kMaxRowBytes = 1 << 22;
constexpr int kMaxRows = 1 << 15;

void readAll(VelSys::fil& file, int selector) {
    QuillonCore::tifreatyp reader(&file);
    int n = 0, d = 0, rows = 0, columns = 0;
    if (reader.pixreaini(&n, &d, &rows, &columns, selector, 0) == 1) return;
    const std::int64_t rowBytes =
        4 * (static_cast<std::int64_t>(columns) + 2) * reader.pixsamplesperpixel();
    if (rowBytes > kMaxRowBytes) return;
    std::vector<unsigned char> row(static_cast<std::size_t>(rowBytes));
    // An undecodable LZW code is thrown as an int; the reader then goes on
    // with the next strip.
    try {
        if (selector == -4 && rows <= kMaxRows) reader.pixcachereabeg(&file, 1);
    } catch (int) {
    }
    for (int y = 0; y < rows && y < kMaxRows; ++y) {
        try {
            if (!reader.pixrealin(y % 5 == 4 ? nullptr : row.data(), static_cast<int>(row.size())))
                break;
        } catch (int) {
        }
    }
    reader.pixreaend();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VelGen::SetMessageSink(nullptr);
    QuillonCore::pixreatyp::pixcacheini();
    VelSys::fil file;
    file.openMemory({data, size});
    for (int selector : {-1, -2, -3, -4, 0, 1, 4}) readAll(file, selector);
    QuillonCore::pixreatyp::pixcacheexi();
    return 0;
}

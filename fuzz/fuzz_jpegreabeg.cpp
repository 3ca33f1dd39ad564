// Decodes arbitrary bytes through the free-function interface with a byte
// source callback (with or without seeking, chosen by the first byte), and
// walks the same bytes as Photoshop resources in both layouts.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "raster/input/PhotoshopResolution.h"
#include "raster/input/jpegintyp.h"

namespace {

constexpr long kMaxPixels = 4L << 20;

struct Source {
    const std::uint8_t* data;
    long size;
    long position;
};

long getByte(void* context) {
    auto* source = static_cast<Source*>(context);
    // Reading past the end must stop at the first negative answer.
    if (source->position > source->size) std::abort();
    if (source->position == source->size) {
        ++source->position;
        return -1;
    }
    return source->data[source->position++];
}

long seek(void* context, long position) {
    auto* source = static_cast<Source*>(context);
    if (position >= 0) source->position = position < source->size ? position : source->size;
    return source->position;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const bool withSeek = data[0] & 1;
    QuillonCore::PhotoshopResolution::find({data + 1, size - 1}, true);
    QuillonCore::PhotoshopResolution::find({data + 1, size - 1}, false);
    Source source{data + 1, static_cast<long>(size - 1), 0};
    int rows = 0, columns = 0, numerator = 0, denominator = 0, interpretation = 0, components = 0;
    QuillonCore::jpegintyp* context = QuillonCore::jpegreabeg(getByte, withSeek ? seek : nullptr, &rows, &columns,
                                                              &numerator, &denominator, &interpretation,
                                                              &components, &source);
    if (!context) return 0;
    if (components < 1 || components > 4 || rows <= 0 || columns <= 0) std::abort();
    if (static_cast<long>(rows) * columns <= kMaxPixels) {
        std::vector<unsigned char> row(static_cast<std::size_t>(columns) * components);
        // Half the rows bounded by a short length, the others whole.
        for (int y = 0; y < rows; ++y)
            QuillonCore::jpegrealin(context, row.data(), (y & 1) ? static_cast<int>(row.size()) / 2 + 1 : 0);
    }
    QuillonCore::jpegreaend(context);
    return 0;
}

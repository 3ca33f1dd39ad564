#include "raster/input/PackBitsRow.h"

#include <algorithm>
#include <cstring>

namespace QuillonCore {

PackBitsRowResult decodePackBitsRow(StripInput& input, std::span<unsigned char> row) {
    std::size_t at = 0;
    bool overrun = false;
    while (at < row.size()) {
        const int control = input.next();
        if (control < 0) {
            std::memset(row.data() + at, 0, row.size() - at);
            return PackBitsRowResult::kTruncated;
        }
        const int c = static_cast<signed char>(control);
        if (c == -128) continue;
        const std::size_t room = row.size() - at;
        if (c < 0) {
            const int value = input.next();
            if (value < 0) continue;  // the end is met on the next control byte
            const std::size_t count = static_cast<std::size_t>(1 - c);
            overrun |= count > room;
            std::memset(row.data() + at, value, std::min(count, room));
            at += std::min(count, room);
        } else {
            const std::size_t count = static_cast<std::size_t>(c + 1);
            const std::size_t taken = std::min(count, room);
            const int got = input.read(row.data() + at, static_cast<int>(taken));
            at += static_cast<std::size_t>(got);
            if (count > room) {
                overrun = true;
                input.skip(static_cast<std::int64_t>(count - room));
            }
        }
    }
    return overrun ? PackBitsRowResult::kOverrun : PackBitsRowResult::kComplete;
}

}  // namespace QuillonCore

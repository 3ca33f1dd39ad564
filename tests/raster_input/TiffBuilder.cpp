#include "TiffBuilder.h"

#include <algorithm>

namespace QuillonTest {

void TiffBuilder::put(std::vector<unsigned char>& out, std::uint32_t value, int size) const {
    for (int i = 0; i < size; ++i) {
        const int shift = mBigEndian ? 8 * (size - 1 - i) : 8 * i;
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

TiffBuilder& TiffBuilder::shorts(std::uint16_t tag, std::vector<std::uint32_t> values) {
    Entry e{tag, 3, static_cast<std::uint32_t>(values.size()), {}};
    for (auto v : values) put(e.value, v, 2);
    mEntries.push_back(e);
    return *this;
}

TiffBuilder& TiffBuilder::longs(std::uint16_t tag, std::vector<std::uint32_t> values) {
    Entry e{tag, 4, static_cast<std::uint32_t>(values.size()), {}};
    for (auto v : values) put(e.value, v, 4);
    mEntries.push_back(e);
    return *this;
}

TiffBuilder& TiffBuilder::rational(std::uint16_t tag, std::uint32_t numerator,
                                   std::uint32_t denominator) {
    Entry e{tag, 5, 1, {}};
    put(e.value, numerator, 4);
    put(e.value, denominator, 4);
    mEntries.push_back(e);
    return *this;
}

TiffBuilder& TiffBuilder::bytes(std::uint16_t tag, std::uint16_t type,
                                std::vector<unsigned char> data) {
    mEntries.push_back({tag, type, static_cast<std::uint32_t>(data.size()), std::move(data)});
    return *this;
}

TiffBuilder& TiffBuilder::raw(std::uint16_t tag, std::uint16_t type, std::uint32_t count,
                              std::uint32_t field) {
    mEntries.push_back({tag, type, count, {}, true, field});
    return *this;
}

TiffBuilder& TiffBuilder::strips(std::vector<std::vector<unsigned char>> data) {
    mStrips = std::move(data);
    return *this;
}

TiffBuilder& TiffBuilder::image(int width, int height, int spp, int bits, int photometric,
                                int compression, std::vector<std::vector<unsigned char>> data) {
    const auto n = data.size();
    longs(256, {static_cast<std::uint32_t>(width)});
    longs(257, {static_cast<std::uint32_t>(height)});
    shorts(258, std::vector<std::uint32_t>(static_cast<std::size_t>(spp),
                                           static_cast<std::uint32_t>(bits)));
    shorts(259, {static_cast<std::uint32_t>(compression)});
    shorts(262, {static_cast<std::uint32_t>(photometric)});
    shorts(277, {static_cast<std::uint32_t>(spp)});
    longs(278, {static_cast<std::uint32_t>((height + n - 1) / n)});
    return strips(std::move(data));
}

std::vector<unsigned char> TiffBuilder::build() const {
    std::vector<Entry> entries = mEntries;
    std::vector<unsigned char> out = {static_cast<unsigned char>(mBigEndian ? 'M' : 'I'),
                                      static_cast<unsigned char>(mBigEndian ? 'M' : 'I')};
    put(out, 42, 2);
    put(out, 0, 4);  // the directory offset, filled in below
    if (!mStrips.empty()) {
        Entry offsets{273, 4, static_cast<std::uint32_t>(mStrips.size()), {}};
        Entry counts{279, 4, static_cast<std::uint32_t>(mStrips.size()), {}};
        std::vector<unsigned char> data;
        for (const auto& s : mStrips) {
            put(offsets.value, static_cast<std::uint32_t>(out.size() + data.size()), 4);
            put(counts.value, static_cast<std::uint32_t>(s.size()), 4);
            data.insert(data.end(), s.begin(), s.end());
        }
        out.insert(out.end(), data.begin(), data.end());
        entries.push_back(offsets);
        entries.push_back(counts);
    }
    if (mSorted)
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
    for (auto& e : entries) {
        if (e.rawField || e.value.size() <= 4) continue;
        if (out.size() & 1) out.push_back(0);
        e.field = static_cast<std::uint32_t>(out.size());
        out.insert(out.end(), e.value.begin(), e.value.end());
    }
    if (out.size() & 1) out.push_back(0);
    const auto ifd = static_cast<std::uint32_t>(out.size());
    std::vector<unsigned char> head;
    put(head, ifd, 4);
    std::copy(head.begin(), head.end(), out.begin() + 4);
    put(out, static_cast<std::uint32_t>(entries.size()), 2);
    for (const auto& e : entries) {
        put(out, e.tag, 2);
        put(out, e.type, 2);
        put(out, e.count, 4);
        if (!e.rawField && e.value.size() <= 4) {
            std::vector<unsigned char> field = e.value;
            field.resize(4, 0);
            out.insert(out.end(), field.begin(), field.end());
        } else {
            put(out, e.field, 4);
        }
    }
    put(out, 0, 4);
    return out;
}

}  // namespace QuillonTest

#include "raster/output/TiffDirectoryBuilder.h"

#include <algorithm>
#include <numeric>

#include "raster/output/TiffOutStream.h"

namespace QuillonCore {

namespace {
constexpr std::uint64_t kEntrySize = 12;
}

void TiffDirectoryBuilder::AddValue(std::uint16_t tag, Type type, std::uint32_t count,
                                    std::uint32_t value) {
    mEntries.push_back({tag, type, count, value, {}});
}

void TiffDirectoryBuilder::AddShortPair(std::uint16_t tag, std::uint32_t count, std::uint16_t first,
                                        std::uint16_t second) {
    Entry entry{tag, kShort, count, first, {}};
    entry.pair = true;
    entry.second = second;
    mEntries.push_back(entry);
}

void TiffDirectoryBuilder::AddData(std::uint16_t tag, Type type, std::uint32_t count,
                                   std::vector<unsigned char> bytes, bool keepBlock) {
    Entry entry{tag, type, count, 0, std::move(bytes)};
    entry.keepBlock = keepBlock;
    mEntries.push_back(std::move(entry));
    if (mEntries.back().HasBlock()) mBlockOrder.push_back(mEntries.size() - 1);
}

TiffDirectoryBuilder::Entry* TiffDirectoryBuilder::Find(std::uint16_t tag) {
    for (Entry& entry : mEntries)
        if (entry.tag == tag) return &entry;
    return nullptr;
}

void TiffDirectoryBuilder::SetValue(std::uint16_t tag, std::uint32_t value) {
    if (Entry* entry = Find(tag)) entry->value = value;
}

std::vector<unsigned char> TiffDirectoryBuilder::Shorts(
    const std::vector<std::uint16_t>& values) const {
    std::vector<unsigned char> out;
    out.reserve(values.size() * 2);
    for (std::uint16_t v : values) {
        const unsigned char high = static_cast<unsigned char>(v >> 8),
                            low = static_cast<unsigned char>(v);
        out.push_back(mLittleEndian ? low : high);
        out.push_back(mLittleEndian ? high : low);
    }
    return out;
}

std::uint64_t TiffDirectoryBuilder::DirectoryEnd(std::uint64_t directoryOffset) const {
    return directoryOffset + 2 + kEntrySize * mEntries.size() + 4;
}

std::uint64_t TiffDirectoryBuilder::BlocksEnd(std::uint64_t directoryOffset) const {
    std::uint64_t end = DirectoryEnd(directoryOffset) + mReserved;
    for (std::size_t i : mBlockOrder) end += mEntries[i].bytes.size();
    return end;
}

std::uint64_t TiffDirectoryBuilder::ValueFieldOffset(std::uint16_t tag) const {
    std::size_t before = 0;
    for (const Entry& entry : mEntries) before += entry.tag < tag ? 1 : 0;
    return 2 + kEntrySize * before + 8;
}

bool TiffDirectoryBuilder::WriteEntry(TiffOutStream& stream, const Entry& entry,
                                      std::uint64_t blockOffset) const {
    bool ok = stream.WriteUInt16(entry.tag) && stream.WriteUInt16(entry.type) &&
              stream.WriteUInt32(entry.count);
    if (entry.bytes.size() > 4)
        return ok && stream.WriteUInt32(static_cast<std::uint32_t>(blockOffset));
    if (!entry.bytes.empty() || entry.keepBlock) {
        unsigned char field[4] = {0, 0, 0, 0};
        std::copy(entry.bytes.begin(), entry.bytes.end(), field);
        return ok && stream.Write(field, 4);
    }
    if (entry.type == kShort && entry.count == 1) {
        return ok && stream.WriteUInt16(static_cast<std::uint16_t>(entry.value)) &&
               stream.WriteUInt16(0);
    }
    if (entry.pair)
        return ok && stream.WriteUInt16(static_cast<std::uint16_t>(entry.value)) &&
               stream.WriteUInt16(entry.second);
    return ok && stream.WriteUInt32(entry.value);
}

bool TiffDirectoryBuilder::Write(TiffOutStream& stream, std::uint64_t directoryOffset) {
    std::vector<std::size_t> order(mEntries.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return mEntries[a].tag < mEntries[b].tag;
    });
    std::vector<std::uint64_t> blockOffsets(mEntries.size(), 0);
    std::uint64_t next = DirectoryEnd(directoryOffset) + mReserved;
    for (std::size_t i : mBlockOrder) {
        blockOffsets[i] = next;
        next += mEntries[i].bytes.size();
    }
    bool ok = stream.WriteUInt16(static_cast<std::uint16_t>(mEntries.size()));
    for (std::size_t i : order) ok = WriteEntry(stream, mEntries[i], blockOffsets[i]) && ok;
    ok = stream.WriteUInt32(0) && ok;
    const std::vector<unsigned char> zeros(mReserved, 0);
    ok = stream.Write(zeros.data(), zeros.size()) && ok;
    for (std::size_t i : mBlockOrder)
        ok = stream.Write(mEntries[i].bytes.data(), mEntries[i].bytes.size()) && ok;
    return ok;
}

}  // namespace QuillonCore

#include "raster/output/lzwouttyp.h"

#include <new>

#include "raster/output/FilTiffOutStream.h"
#include "raster/output/FileIOTiffOutStream.h"

namespace QuillonCore {

namespace {

constexpr std::uint32_t kHashMask = (1u << lzwouttyp::kHashBits) - 1;
constexpr std::uint32_t kGenerationShift = 20;  // (12-bit prefix, 8-bit byte) below it
constexpr std::uint32_t kLastGeneration = 0xFFF;

lzwouttyp* makeEncoder(std::unique_ptr<TiffOutStream> stream);

inline std::uint32_t slotOf(std::uint32_t key) {
    return (key * 2654435761u) >> (32 - lzwouttyp::kHashBits);
}

void flushOutput(lzwouttyp& e) {
    if (e.output.empty()) return;
    if (!e.stream->Write(e.output.data(), e.output.size())) e.failed = true;
    e.stripBytes += e.output.size();
    e.totalBytes += e.output.size();
    e.output.clear();
}

inline void putCode(lzwouttyp& e, std::uint32_t code) {
    e.bitBuffer = (e.bitBuffer << e.codeWidth) | code;
    e.bitCount += e.codeWidth;
    if (e.bitCount < 32) return;
    e.bitCount -= 32;
    const std::uint32_t word = static_cast<std::uint32_t>(e.bitBuffer >> e.bitCount);
    const unsigned char bytes[4] = {
        static_cast<unsigned char>(word >> 24), static_cast<unsigned char>(word >> 16),
        static_cast<unsigned char>(word >> 8), static_cast<unsigned char>(word)};
    e.output.insert(e.output.end(), bytes, bytes + 4);
    if (e.output.size() >= lzwouttyp::kOutputSize) flushOutput(e);
}

// The remaining bits, padded with zeros to whole bytes.
void putPendingBits(lzwouttyp& e) {
    while (e.bitCount > 0) {
        const int shift = e.bitCount - 8;
        e.output.push_back(
            static_cast<unsigned char>(shift >= 0 ? e.bitBuffer >> shift : e.bitBuffer << -shift));
        e.bitCount = shift > 0 ? shift : 0;
    }
    e.bitBuffer = 0;
    flushOutput(e);
}

// Codes up to 510 are 9 bits wide, up to 1022 10, up to 2046 11, then 12.
inline void countCode(lzwouttyp& e) {
    ++e.lastCode;
    if (e.lastCode > (1 << e.codeWidth) - 2) ++e.codeWidth;
}

void resetTable(lzwouttyp& e) {
    if (++e.generation > kLastGeneration) {
        std::fill(e.keys.begin(), e.keys.end(), 0u);
        e.generation = 1;
    }
    e.lastCode = lzwouttyp::kFirstFreeCode - 1;
    e.codeWidth = 9;
}

// Encodes bytes, extending the current string across calls.
void encode(lzwouttyp& e, const unsigned char* bytes, std::size_t count) {
    std::size_t i = 0;
    int prefix = e.prefix;
    if (prefix < 0 && count > 0) prefix = bytes[i++];
    std::uint32_t tagBase = e.generation << kGenerationShift;
    for (; i < count; ++i) {
        const unsigned char c = bytes[i];
        const std::uint32_t key = (static_cast<std::uint32_t>(prefix) << 8) | c;
        const std::uint32_t tag = tagBase | key;
        std::uint32_t slot = slotOf(key);
        for (;;) {
            const std::uint32_t k = e.keys[slot];
            if (k == tag) break;
            if ((k >> kGenerationShift) != e.generation) break;
            slot = (slot + 1) & kHashMask;
        }
        if (e.keys[slot] == tag) {
            prefix = e.codes[slot];
            continue;
        }
        putCode(e, static_cast<std::uint32_t>(prefix));
        e.keys[slot] = tag;
        countCode(e);
        e.codes[slot] = static_cast<std::uint16_t>(e.lastCode);
        if (e.lastCode == lzwouttyp::kLastCode) {
            putCode(e, lzwouttyp::kClear);
            resetTable(e);
            tagBase = e.generation << kGenerationShift;
        }
        prefix = c;
    }
    e.prefix = prefix;
}

void endStrip(lzwouttyp& e) {
    if (e.prefix >= 0) {
        putCode(e, static_cast<std::uint32_t>(e.prefix));
        countCode(e);
        e.prefix = -1;
    }
    putCode(e, lzwouttyp::kEndOfInformation);
    putPendingBits(e);
    if (e.stream->GetStreamPosition() % 2 != 0 && !e.stream->WriteUInt8(0)) e.failed = true;
    e.strips.Add(e.stripStart, e.stripBytes);
    e.stripStart = e.stream->GetStreamPosition();
    e.stripBytes = 0;
    ++e.currentStrip;
    resetTable(e);
    if (e.rowsWritten < e.totalRows) putCode(e, lzwouttyp::kClear);
}

const unsigned char* differenced(lzwouttyp& e, const unsigned char* row, std::size_t count,
                                 int samples) {
    e.differences.resize(count);
    unsigned char* d = e.differences.data();
    const std::size_t lead = std::min<std::size_t>(count, static_cast<std::size_t>(samples));
    for (std::size_t i = 0; i < lead; ++i) d[i] = row[i];
    for (std::size_t i = lead; i < count; ++i)
        d[i] = static_cast<unsigned char>(row[i] - row[i - samples]);
    return d;
}

lzwouttyp* makeEncoder(std::unique_ptr<TiffOutStream> stream) {
    try {
        auto encoder = std::make_unique<lzwouttyp>();
        encoder->stream = std::move(stream);
        encoder->keys.assign(std::size_t{1} << lzwouttyp::kHashBits, 0u);
        encoder->codes.assign(std::size_t{1} << lzwouttyp::kHashBits, 0);
        encoder->output.reserve(lzwouttyp::kOutputSize + 8);
        putCode(*encoder, lzwouttyp::kClear);
        return encoder.release();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

TiffOutStream::ByteOrder orderOf(int littleEndian) {
    return littleEndian ? TiffOutStream::kLittleEndian : TiffOutStream::kBigEndian;
}

}  // namespace

lzwouttyp* tiflzwoutini(VelSys::fil* file, int littleEndian) {
    if (!file) return nullptr;
    return makeEncoder(std::make_unique<FilTiffOutStream>(*file, orderOf(littleEndian)));
}

lzwouttyp* tiflzwoutini(VelSys::FileIO* io, int littleEndian) {
    if (!io) return nullptr;
    return makeEncoder(std::make_unique<FileIOTiffOutStream>(*io, orderOf(littleEndian)));
}

void tiflzwsetstrippar(lzwouttyp* encoder, int totalRows, int rowsPerStrip,
                       const TiffHeaderInfo& layout, std::uint64_t firstStripPosition,
                       int predictor) {
    if (!encoder) return;
    const bool valid =
        totalRows >= 1 && rowsPerStrip >= 1 &&
        layout.stripCount == static_cast<std::uint64_t>((totalRows - 1) / rowsPerStrip + 1);
    if (!valid) {
        encoder->failed = true;
        return;
    }
    encoder->totalRows = totalRows;
    encoder->rowsPerStrip = rowsPerStrip;
    encoder->stripCount = static_cast<int>(layout.stripCount);
    encoder->layout = layout;
    encoder->stripStart = firstStripPosition;
    encoder->predictor = predictor == 2 ? 2 : 1;
    encoder->strips.clear();
}

void tiflzwsetstrippar(lzwouttyp* encoder, int totalRows, int rowsPerStrip, int stripCount,
                       unsigned int byteCountsPosition, unsigned int offsetsPosition,
                       int firstStripPosition, int predictor) {
    TiffHeaderInfo layout;
    layout.stripOffsetsPosition = offsetsPosition;
    layout.stripByteCountsPosition = byteCountsPosition;
    layout.stripCount = stripCount < 0 ? 0 : static_cast<std::uint64_t>(stripCount);
    const bool validStart = firstStripPosition >= 0;
    tiflzwsetstrippar(encoder, totalRows, rowsPerStrip, layout,
                      validStart ? static_cast<std::uint64_t>(firstStripPosition) : 0, predictor);
    if (encoder && !validStart) encoder->failed = true;
}

int tiflzwoutrow(lzwouttyp* encoder, const unsigned char* row, std::size_t byteCount,
                 int samplesPerPixel) {
    if (!encoder) return 0;
    lzwouttyp& e = *encoder;
    if (e.failed || e.stripCount == 0 || e.rowsWritten >= e.totalRows || (!row && byteCount > 0))
        return 1;
    if (e.predictor == 2) {
        if (samplesPerPixel < 1) {
            e.failed = true;
            return 1;
        }
        row = differenced(e, row, byteCount, samplesPerPixel);
    }
    encode(e, row, byteCount);
    e.inputBytes += byteCount;
    ++e.rowsWritten;
    if (e.rowsWritten % e.rowsPerStrip == 0 || e.rowsWritten == e.totalRows) endStrip(e);
    return e.failed || e.stream->Failed() ? 1 : 0;
}

int tiflzwoutrow(lzwouttyp* encoder, const unsigned char* row, int byteCount, int samplesPerPixel) {
    if (encoder && byteCount < 0) return 1;
    return tiflzwoutrow(encoder, row, static_cast<std::size_t>(byteCount < 0 ? 0 : byteCount),
                        samplesPerPixel);
}

bool tiflzwoutfailed(const lzwouttyp* encoder) {
    return encoder && (encoder->failed || encoder->stream->Failed());
}

bool tiflzwoutexi(lzwouttyp* encoder) {
    if (!encoder) return true;
    std::unique_ptr<lzwouttyp> owned(encoder);
    bool ok = !tiflzwoutfailed(encoder) && encoder->rowsWritten == encoder->totalRows;
    if (encoder->stripCount > 0)
        ok = encoder->strips.Patch(*encoder->stream, encoder->layout) && ok;
    return ok && !encoder->stream->Failed();
}

}  // namespace QuillonCore

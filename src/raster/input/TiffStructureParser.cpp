#include "raster/input/TiffStructureParser.h"

#include <algorithm>
#include <cstring>

#include "platform/velgen/Messages.h"
#include "services/Localization.h"
#include "raster/output/TiffTag.h"

namespace QuillonCore {

namespace {

constexpr int kFormatError = 102;
constexpr int kCannotRead = 100;
constexpr const char* kResolutionsDiffer =
    "CANNOT READ THIS FILE. HORIZONTAL AND VERTICAL RESOLUTION SHOULD BE IDENTICAL";
constexpr const char* kPaletteDepth = "CANNOT READ THIS FILE. FILE SHOULD HAVE 8 BITS PER SAMPLE";

// Unwinds a parse to its entry point with the failure to report.
struct ParseStopped {
    TiffStructureParser::Failure failure;
};

// Bytes per value of the TIFF field types; 0 for types the reader does not take.
std::int64_t typeSize(std::uint16_t type) {
    switch (type) {
        case 1:
        case 2:
        case 6:
        case 7:
            return 1;
        case 3:
        case 8:
            return 2;
        case 4:
        case 9:
        case 11:
            return 4;
        case 5:
        case 10:
        case 12:
            return 8;
        default:
            return 0;
    }
}

bool acceptedCompression(std::uint32_t code) {
    return (code >= 1 && code <= 5) || code == 32773 || (code >= 32895 && code <= 32898);
}

}  // namespace

TiffStructureParser::TiffStructureParser(VelSys::fil* file, std::uint32_t imageOffset)
    : mFile(file), mBase(imageOffset), mEnd(VelSys::filgeteof(file)) {}

std::optional<TiffStructureParser::Failure> TiffStructureParser::parse(TiffDirectory& directory) {
    mDirectory = &directory;
    try {
        const std::uint32_t ifd = parseHeader();
        if (ifd != 0) parseIfd(ifd);
    } catch (const ParseStopped& stopped) {
        return stopped.failure;
    }
    return std::nullopt;
}

void TiffStructureParser::fail(int id) {
    throw ParseStopped{Failure{id, {}}};
}

std::uint16_t TiffStructureParser::word(const unsigned char* p) const {
    return mDirectory->bigEndian ? static_cast<std::uint16_t>((p[0] << 8) | p[1])
                                 : static_cast<std::uint16_t>((p[1] << 8) | p[0]);
}

std::uint32_t TiffStructureParser::longValue(const unsigned char* p) const {
    if (mDirectory->bigEndian)
        return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) |
               (std::uint32_t{p[2]} << 8) | p[3];
    return (std::uint32_t{p[3]} << 24) | (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) |
           p[0];
}

// Reads exactly count bytes at a position relative to the file start;
// running out of file is a format error.
void TiffStructureParser::readAt(std::int64_t position, unsigned char* destination,
                                 std::int64_t count) {
    if (count == 0) return;
    if (position < 0 || count < 0 || position > mEnd || count > mEnd - position) fail(kFormatError);
    VelSys::filpos(mFile, static_cast<int>(position));
    if (VelSys::filrea(mFile, destination, static_cast<int>(count)) != count) fail(kFormatError);
}

std::uint32_t TiffStructureParser::parseHeader() {
    unsigned char header[8];
    readAt(mBase, header, 8);
    if (header[0] != header[1] || (header[0] != 'I' && header[0] != 'M')) fail(kFormatError);
    mDirectory->bigEndian = header[0] != 'I';
    if (word(header + 2) != 42) fail(kFormatError);
    return longValue(header + 4);
}

void TiffStructureParser::parseIfd(std::uint32_t ifdOffset) {
    unsigned char countBytes[2];
    readAt(mBase + ifdOffset, countBytes, 2);
    const int entries = word(countBytes);
    std::vector<unsigned char> table(static_cast<std::size_t>(entries) * 12);
    readAt(mBase + ifdOffset + 2, table.data(), static_cast<std::int64_t>(table.size()));
    for (int i = 0; i < entries; ++i) {
        const unsigned char* p = table.data() + 12 * i;
        Entry entry;
        entry.tag = word(p);
        entry.type = word(p + 2);
        entry.count = longValue(p + 4);
        std::memcpy(entry.raw, p + 8, 4);
        takeEntry(entry);
    }
    if (mColorMap) takeColorMap(*mColorMap);
    finishInks();
}

// The value bytes of an entry: inline when they fit in the entry's 4 bytes
// (decoded from those raw bytes, never from the assembled offset), else at
// the offset, which must lie wholly inside the file.
std::vector<unsigned char> TiffStructureParser::valueBytes(const Entry& entry,
                                                           std::int64_t valueSize) {
    const std::int64_t total = static_cast<std::int64_t>(entry.count) * valueSize;
    if (total <= 4) return std::vector<unsigned char>(entry.raw, entry.raw + total);
    if (total > mEnd) fail(kFormatError);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(total));
    readAt(mBase + longValue(entry.raw), bytes.data(), total);
    return bytes;
}

// Up to `wanted` integer values of a BYTE, SHORT or LONG entry. The whole
// stored array must lie inside the file; only the wanted values are read.
std::vector<std::uint32_t> TiffStructureParser::integers(const Entry& entry, std::uint32_t wanted) {
    if (entry.type != 1 && entry.type != 3 && entry.type != 4) fail(kFormatError);
    const std::int64_t size = typeSize(entry.type);
    const std::int64_t total = static_cast<std::int64_t>(entry.count) * size;
    const std::uint32_t n = std::min(wanted, entry.count);
    std::vector<unsigned char> bytes;
    if (total <= 4) {
        bytes.assign(entry.raw, entry.raw + total);
    } else {
        const std::int64_t at = mBase + longValue(entry.raw);
        if (at > mEnd || total > mEnd - at) fail(kFormatError);
        bytes.resize(static_cast<std::size_t>(n * size));
        readAt(at, bytes.data(), static_cast<std::int64_t>(bytes.size()));
    }
    std::vector<std::uint32_t> values(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        const unsigned char* p = bytes.data() + i * size;
        values[i] = size == 1 ? p[0] : size == 2 ? word(p) : longValue(p);
    }
    return values;
}

std::uint32_t TiffStructureParser::single(const Entry& entry) {
    if (entry.count != 1) fail(kFormatError);
    return integers(entry, 1)[0];
}

// An ASCII entry's bytes, or nothing (the tag is skipped) for another type.
std::vector<unsigned char> TiffStructureParser::stringBytes(const Entry& entry) {
    if (entry.type != 2) return {};
    return valueBytes(entry, 1);
}

void TiffStructureParser::takeEntry(const Entry& entry) {
    TiffDirectory& d = *mDirectory;
    switch (entry.tag) {
        case kImageWidth:
            d.width = single(entry);
            break;
        case kImageLength:
            d.height = single(entry);
            break;
        case kBitsPerSample:
            if (entry.count == 0) fail(kFormatError);
            d.bitsPerSample = integers(entry, 1)[0];
            break;
        case kCompression:
            d.compression = single(entry);
            if (!acceptedCompression(d.compression)) fail(kCannotRead);
            break;
        case kPhotometric:
            d.photometric = static_cast<int>(std::min<std::uint32_t>(single(entry), 0xFFFF));
            break;
        case kFillOrder:
            d.fillOrder = single(entry);
            break;
        case kStripOffsets:
            d.stripOffsets = integers(entry, entry.count);
            break;
        case kSamplesPerPixel:
            d.samplesPerPixel = single(entry);
            break;
        case kRowsPerStrip:
            d.rowsPerStrip = single(entry);
            break;
        case kStripByteCounts:
            d.stripByteCounts = integers(entry, entry.count);
            break;
        case kXResolution:
        case kYResolution:
            takeResolution(entry);
            break;
        case kPlanarConfiguration:
            d.planarConfiguration = single(entry);
            break;
        case kT4Options:
            d.t4Options = single(entry);
            break;
        case kResolutionUnit:
            d.resolutionUnitCm = single(entry) == 3;
            break;
        case kPredictor:
            d.predictor = single(entry);
            break;
        case kColorMap:
            mColorMap = entry;
            break;
        case kInkNames: {
            const auto bytes = stringBytes(entry);
            d.hasInkNames = entry.type == 2;
            d.inkNames.assign(bytes.begin(), bytes.end());
            break;
        }
        case kImageId: {
            const auto bytes = stringBytes(entry);
            const auto end = std::find(bytes.begin(),
                                       bytes.begin() + std::min<std::size_t>(bytes.size(), 255), 0);
            d.imageId.assign(bytes.begin(), end);
            break;
        }
        case kCmykEquivalent:
            mCmykEquivalent = entry;
            break;
        case kPhotoshop:
            if (entry.type == 1 || entry.type == 7) d.photoshopResources = valueBytes(entry, 1);
            break;
        case kIccProfile:
            if (typeSize(entry.type) == 1) d.iccProfile = valueBytes(entry, 1);
            break;
        default:
            break;
    }
}

// The first of XResolution and YResolution is kept; a second one that
// differs by more than 1 % is reported and, when larger, replaces it. A
// rational with a zero part counts as absent.
void TiffStructureParser::takeResolution(const Entry& entry) {
    if (entry.type != 5 || entry.count != 1) fail(kFormatError);
    const auto bytes = valueBytes(entry, 8);
    const std::uint32_t numerator = longValue(bytes.data());
    const std::uint32_t denominator = longValue(bytes.data() + 4);
    if (numerator == 0 || denominator == 0) return;
    TiffDirectory& d = *mDirectory;
    if (d.resolutionNumerator == 0) {
        d.resolutionNumerator = numerator;
        d.resolutionDenominator = denominator;
        return;
    }
    const double ratio = (static_cast<double>(numerator) / denominator) *
                         (static_cast<double>(d.resolutionDenominator) / d.resolutionNumerator);
    if (ratio >= 0.99 && ratio <= 1.01) return;
    VelGen::ShowInfoMessage(VelGen::kSeverityError, VelGen::kVolatilityTransient,
                            VelSys::UTF8ToUni16(GetLocalizedUTF8String(kResolutionsDiffer, "")));
    if (ratio > 1.01) {
        d.resolutionNumerator = numerator;
        d.resolutionDenominator = denominator;
    }
}

// Evaluated after every entry, so that BitsPerSample is known whatever the
// order of the tags. A map of the wrong size leaves the image without one.
void TiffStructureParser::takeColorMap(const Entry& entry) {
    TiffDirectory& d = *mDirectory;
    const std::uint32_t bits = d.bitsPerSample;
    if (bits > 16 || entry.count != (3u << bits)) throw ParseStopped{Failure{0, kPaletteDepth}};
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8) {
        VelGen::ShowInfoMessage(VelGen::kSeverityError, VelGen::kVolatilityTransient,
                                VelSys::UTF8ToUni16(GetLocalizedUTF8String(kPaletteDepth, "")));
        return;
    }
    const auto map = integers(entry, entry.count);
    const std::uint32_t colours = 1u << bits;
    d.palette.assign(256, 0);
    for (std::uint32_t i = 0; i < colours; ++i) {
        const std::uint32_t r = map[i] >> 8, g = map[colours + i] >> 8,
                            b = map[2 * colours + i] >> 8;
        d.palette[i] = ((r & 0xFF) << 16) | ((g & 0xFF) << 8) | (b & 0xFF);
    }
}

void TiffStructureParser::finishInks() {
    if (mCmykEquivalent)
        mDirectory->cmykEquivalent = integers(*mCmykEquivalent, mCmykEquivalent->count);
}

}  // namespace QuillonCore

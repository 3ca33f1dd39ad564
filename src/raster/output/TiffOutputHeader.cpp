#include "raster/output/TiffOutputHeader.h"

#include <cstring>

#include "platform/veldb/DocumentSettings.h"
#include "platform/velsys/ustring.h"
#include "raster/output/PhotoshopPathRecords.h"
#include "raster/output/PhotoshopResourceBlock.h"
#include "raster/output/TiffDirectoryBuilder.h"
#include "raster/output/TiffTag.h"
#include "raster/output/lzwouttyp.h"

namespace QuillonCore {

namespace {

struct Image {
    int width, height, bits, samples;
    const ColorspaceInfo& colorspace;
    tifcompression compression;
    std::uint64_t strips() const {
        return compression == kTifCompressionNone ? 1 : static_cast<std::uint64_t>(height);
    }
};

bool validImage(const Image& image) {
    const int interpretation = image.colorspace.interpretation();
    const bool knownColour =
        interpretation == 0 || interpretation == 1 || interpretation == 2 || interpretation == 5;
    const int colourSamples = interpretation == 2 ? 3 : interpretation == 5 ? 4 : 1;
    const bool knownDepth = image.bits == 1 || image.bits == 2 || image.bits == 4 ||
                            image.bits == 8 || image.bits == 16;
    const std::uint64_t rowBytes =
        TiffRowBytes(image.width > 0 ? image.width : 0, image.samples > 0 ? image.samples : 0,
                     image.bits > 0 ? image.bits : 0);
    return image.width > 0 && image.height > 0 && knownColour && knownDepth &&
           image.samples >= colourSamples && image.samples <= 0xFFFF && rowBytes > 0 &&
           rowBytes * image.height <= TiffOutStream::kMaxTiffPosition;
}

std::vector<unsigned char> textWithNul(const char* text) {
    const std::size_t length = std::strlen(text);
    return std::vector<unsigned char>(text, text + length + 1);
}

std::vector<unsigned char> inkNames(const ColorspaceInfo& colorspace) {
    std::vector<unsigned char> out;
    for (int i = 0; i < colorspace.separationCount(); ++i) {
        const std::vector<unsigned char> name =
            textWithNul(VelSys::UTF8ToPlatform(colorspace.getSeparationInfoAt(i)->name()).c_str());
        out.insert(out.end(), name.begin(), name.end());
    }
    return out;
}

std::vector<unsigned char> cmykEquivalents(const ColorspaceInfo& colorspace) {
    std::vector<unsigned char> out;
    for (int i = 0; i < colorspace.separationCount(); ++i) {
        const SeparationInfo& s = *colorspace.getSeparationInfoAt(i);
        out.insert(out.end(), {s.mC, s.mM, s.mY, s.mK});
    }
    return out;
}

std::vector<std::string> extraChannelNames(const ColorspaceInfo& colorspace) {
    std::vector<std::string> names;
    for (int i = colorspace.interpretation() == 5 ? 4 : 1; i < colorspace.separationCount(); ++i)
        names.push_back(colorspace.getSeparationInfoAt(i)->name());
    return names;
}

struct PathPlacement {
    const VelDB::Object* path;
    int resolutionNumerator, resolutionDenominator, centimetre, verticalOrigin, horizontalOrigin;
};

// The saved path with the name resource that makes it the clipping path,
// and the names of the extra channels.
PhotoshopResourceBlock photoshopBlock(const Image& image, const PathPlacement& placement) {
    PhotoshopResourceBlock block;
    if (placement.path && placement.resolutionDenominator != 0) {
        PhotoshopPathRecords::Frame frame;
        frame.height = image.height;
        frame.width = image.width;
        frame.pixelsPerInch = static_cast<double>(placement.resolutionNumerator) /
                              placement.resolutionDenominator * (placement.centimetre ? 2.54 : 1.0);
        frame.unitsPerInch = VelDB::getppi();
        frame.verticalOrigin = placement.verticalOrigin;
        frame.horizontalOrigin = placement.horizontalOrigin;
        const std::vector<unsigned char> records =
            PhotoshopPathRecords(frame).Build(*placement.path);
        if (records.size() > 26) {  // more than the fill rule record
            block.Add(PhotoshopResourceBlock::kFirstSavedPath, records);
            block.AddClippingPathName();
        }
    }
    if (image.colorspace.hasSeparationInfo() && image.colorspace.hasExtraChannels())
        block.AddUnicodeAlphaNames(extraChannelNames(image.colorspace));
    return block;
}

// The entries whose values may need blocks, in the order of the blocks.
void addMetadata(TiffDirectoryBuilder& directory, const Image& image, const std::string& software,
                 const PhotoshopResourceBlock& photoshop, const std::string& description) {
    const std::vector<unsigned char> softwareText = textWithNul(software.c_str());
    directory.AddData(kSoftware, TiffDirectoryBuilder::kAscii,
                      static_cast<std::uint32_t>(softwareText.size()), softwareText, true);
    if (!photoshop.empty())
        directory.AddData(kPhotoshop, TiffDirectoryBuilder::kByte,
                          static_cast<std::uint32_t>(photoshop.bytes().size()), photoshop.bytes());
    const ColorspaceInfo& colorspace = image.colorspace;
    if (colorspace.hasSeparationInfo()) {
        const std::vector<unsigned char> names = inkNames(colorspace);
        directory.AddData(kInkNames, TiffDirectoryBuilder::kAscii,
                          static_cast<std::uint32_t>(names.size()), names);
        const std::vector<unsigned char> cmyk = cmykEquivalents(colorspace);
        directory.AddData(kCmykEquivalent, TiffDirectoryBuilder::kByte,
                          static_cast<std::uint32_t>(cmyk.size()), cmyk);
    }
    if (!description.empty() && description[0] != '\0') {
        const std::vector<unsigned char> text = textWithNul(description.c_str());
        directory.AddData(kImageDescription, TiffDirectoryBuilder::kAscii,
                          static_cast<std::uint32_t>(text.size()), text);
    }
    const int interpretation = colorspace.interpretation();
    const int extra = colorspace.ExtraSamples(image.samples);
    if (extra > 0 && (interpretation == 0 || interpretation == 1 || interpretation == 5)) {
        directory.AddData(
            kExtraSamples, TiffDirectoryBuilder::kShort, static_cast<std::uint32_t>(extra),
            directory.Shorts(std::vector<std::uint16_t>(static_cast<std::size_t>(extra), 0)));
    }
}

void addImageEntries(TiffDirectoryBuilder& directory, const Image& image, int orientation,
                     int centimetre, std::uint32_t firstOffset) {
    const auto s = static_cast<std::uint16_t>(image.samples);
    const auto bits = static_cast<std::uint16_t>(image.bits);
    const auto strips = static_cast<std::uint32_t>(image.strips());
    directory.AddValue(kNewSubfileType, TiffDirectoryBuilder::kLong, 1, 0);
    directory.AddValue(kImageWidth, TiffDirectoryBuilder::kLong, 1,
                       static_cast<std::uint32_t>(image.width));
    directory.AddValue(kImageLength, TiffDirectoryBuilder::kLong, 1,
                       static_cast<std::uint32_t>(image.height));
    if (s <= 2) directory.AddShortPair(kBitsPerSample, s, bits, s == 2 ? bits : 0);
    if (s > 2) directory.AddValue(kBitsPerSample, TiffDirectoryBuilder::kShort, s, firstOffset);
    directory.AddValue(kCompression, TiffDirectoryBuilder::kShort, 1,
                       static_cast<std::uint32_t>(image.compression));
    directory.AddValue(kPhotometric, TiffDirectoryBuilder::kShort, 1,
                       static_cast<std::uint32_t>(image.colorspace.interpretation()));
    directory.AddValue(kStripOffsets, TiffDirectoryBuilder::kLong, strips, 0);
    directory.AddValue(kOrientation, TiffDirectoryBuilder::kShort, 1,
                       static_cast<std::uint16_t>(orientation));
    directory.AddValue(kSamplesPerPixel, TiffDirectoryBuilder::kShort, 1, s);
    directory.AddValue(kRowsPerStrip, TiffDirectoryBuilder::kLong, 1,
                       strips == 1 ? static_cast<std::uint32_t>(image.height) : 1);
    directory.AddValue(kStripByteCounts, TiffDirectoryBuilder::kLong, strips, 0);
    directory.AddValue(kXResolution, TiffDirectoryBuilder::kRational, 1, firstOffset + 2u * s);
    directory.AddValue(kYResolution, TiffDirectoryBuilder::kRational, 1, firstOffset + 2u * s + 8);
    directory.AddValue(kPlanarConfiguration, TiffDirectoryBuilder::kShort, 1, 1);
    directory.AddValue(kResolutionUnit, TiffDirectoryBuilder::kShort, 1, centimetre ? 3 : 2);
    // Predictor belongs to LZW: readers take it for an unknown tag elsewhere.
    if (image.compression == kTifCompressionLzw) {
        directory.AddValue(kPredictor, TiffDirectoryBuilder::kShort, 1,
                           static_cast<std::uint32_t>(
                               TiffPredictorFor(image.compression, image.bits, image.samples)));
    }
}

bool writeFileHeader(TiffOutStream& stream, const Image& image, std::uint32_t directoryOffset,
                     int numerator, int denominator) {
    const unsigned char mark = stream.IsLittleEndian() ? 'I' : 'M';
    bool ok = stream.WriteUInt8(mark) && stream.WriteUInt8(mark) && stream.WriteUInt16(42) &&
              stream.WriteUInt32(directoryOffset);
    for (int i = 0; i < image.samples; ++i)
        ok = ok && stream.WriteUInt16(static_cast<std::uint16_t>(image.bits));
    for (int i = 0; i < 2; ++i)
        ok = ok && stream.WriteUInt32(static_cast<std::uint32_t>(numerator)) &&
             stream.WriteUInt32(static_cast<std::uint32_t>(denominator));
    return ok;
}

}  // namespace

std::uint64_t TiffRowBytes(std::uint64_t width, std::uint64_t samplesPerPixel,
                           std::uint64_t bitsPerSample) {
    if (width > 0xFFFFFFFFu || samplesPerPixel > 0xFFFF || bitsPerSample > 32) return 0;
    return (width * samplesPerPixel * bitsPerSample + 7) / 8;
}

int TiffPredictorFor(tifcompression compression, int bitsPerSample, int samplesPerPixel) {
    return compression == kTifCompressionLzw && bitsPerSample == 8 && samplesPerPixel >= 1 &&
                   samplesPerPixel <= 64
               ? 2
               : 1;
}

bool TiffOutputHeader(TiffOutStream& stream, int width, int height, int bitsPerSample,
                      int samplesPerPixel, const ColorspaceInfo& colorspace,
                      int resolutionNumerator, int resolutionDenominator, int centimetre,
                      int orientation, tifcompression compression, lzwouttyp* encoder,
                      const VelDB::Object* clippingPath, int verticalOrigin, int horizontalOrigin,
                      const std::string& software, TiffHeaderInfo& headerInfo,
                      const std::string& description) {
    const Image image{width, height, bitsPerSample, samplesPerPixel, colorspace, compression};
    if (!validImage(image)) return false;
    const std::uint32_t firstOffset = 8;
    const std::uint32_t directoryOffset = firstOffset + 2u * samplesPerPixel + 16;
    const std::uint64_t strips = image.strips();

    TiffDirectoryBuilder directory(stream.IsLittleEndian());
    addImageEntries(directory, image, orientation, centimetre, firstOffset);
    const PathPlacement placement{clippingPath, resolutionNumerator, resolutionDenominator,
                                  centimetre,   verticalOrigin,      horizontalOrigin};
    addMetadata(directory, image, software, photoshopBlock(image, placement), description);
    if (strips > 1) directory.Reserve(static_cast<std::uint32_t>(8 * strips));

    const std::uint64_t directoryEnd = directory.DirectoryEnd(directoryOffset);
    const std::uint64_t dataOffset = directory.BlocksEnd(directoryOffset);
    const std::uint64_t imageBytes = TiffRowBytes(width, samplesPerPixel, bitsPerSample) * height;
    if (dataOffset + (strips == 1 ? imageBytes : 0) > TiffOutStream::kMaxTiffPosition) return false;

    const std::uint64_t origin = stream.GetStreamPosition();
    headerInfo.origin = origin;
    headerInfo.stripCount = strips;
    if (strips > 1) {
        directory.SetValue(kStripOffsets, static_cast<std::uint32_t>(directoryEnd));
        directory.SetValue(kStripByteCounts, static_cast<std::uint32_t>(directoryEnd + 4 * strips));
        headerInfo.stripOffsetsPosition = origin + directoryEnd;
        headerInfo.stripByteCountsPosition = origin + directoryEnd + 4 * strips;
    } else {
        directory.SetValue(kStripOffsets, static_cast<std::uint32_t>(dataOffset));
        directory.SetValue(kStripByteCounts, static_cast<std::uint32_t>(imageBytes));
        headerInfo.stripOffsetsPosition =
            origin + directoryOffset + directory.ValueFieldOffset(kStripOffsets);
        headerInfo.stripByteCountsPosition =
            origin + directoryOffset + directory.ValueFieldOffset(kStripByteCounts);
    }
    bool ok =
        writeFileHeader(stream, image, directoryOffset, resolutionNumerator, resolutionDenominator);
    ok = ok && directory.Write(stream, directoryOffset);
    if (encoder) {
        tiflzwsetstrippar(encoder, height, 1, headerInfo, stream.GetStreamPosition(),
                          TiffPredictorFor(compression, bitsPerSample, samplesPerPixel));
    }
    return ok && !stream.Failed();
}

}  // namespace QuillonCore

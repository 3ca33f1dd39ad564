#include "raster/output/psjpeghandler.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace QuillonCore {

namespace {

// "%1.16f" in the C locale; a value that is not finite is written as 0.
std::string fixed16(double value) {
    if (!std::isfinite(value)) value = 0.0;
    char text[400];
    const auto result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 16);
    return std::string(text, result.ptr);
}

std::string imageMatrix(const double* matrix) {
    std::string text = "/ImageMatrix [";
    for (int i = 0; i < 6; ++i) {
        if (i) text += ' ';
        text += fixed16(matrix ? matrix[i] : 0.0);
    }
    return text + "] def\n";
}

const char* decodeArray(int components, bool inverted) {
    switch (components) {
        case 4:
            return inverted ? "/Decode [1 0 1 0 1 0 1 0] def\n" : "/Decode [0 1 0 1 0 1 0 1] def\n";
        case 3:
            return inverted ? "/Decode [1 0 1 0 1 0] def\n" : "/Decode [0 1 0 1 0 1] def\n";
        case 1:
            return inverted ? "/Decode [1 0] def\n" : "/Decode [0 1] def\n";
        default:
            return nullptr;
    }
}

}  // namespace

psjpeghandler::psjpeghandler(int colourType, int width, int height, int resolutionNumerator,
                             int resolutionDenominator, int quality, bool perInch,
                             std::unique_ptr<PsJpegWriterBase> writer)
    : jpeghandler(nullptr, colourType, width, height, resolutionNumerator, resolutionDenominator,
                  quality, perInch),
      mWriter(std::move(writer)) {}

void psjpeghandler::wribytes(const unsigned char* bytes, int count, int size) {
    if (!bytes || count <= 0 || size <= 0) return;
    handlebytes(bytes, static_cast<std::size_t>(count) * static_cast<std::size_t>(size));
}

int psjpeghandler::endcompression() {
    const int result = end_compression();
    try {
        FlushBuffer();
    } catch (...) {
        // The writer's failure is this call's result.
        return 1;
    }
    return result;
}

void psjpeghandler::FlushBuffer() {
    if (mBufferCount > 0 && mWriter) mWriter->write(mBuffer, mBufferCount);
    mBufferCount = 0;
}

int psjpeghandler::putUInt8(unsigned char byte) {
    return putBytes(&byte, 1) ? 0 : 1;
}

bool psjpeghandler::putBytes(const unsigned char* bytes, std::size_t count) {
    if (!mWriter) return false;
    while (count > 0) {
        const std::size_t take =
            std::min(count, static_cast<std::size_t>(kBbufferMaxCount - mBufferCount));
        std::memcpy(mBuffer + mBufferCount, bytes, take);
        mBufferCount += static_cast<int>(take);
        bytes += take;
        count -= take;
        if (mBufferCount == kBbufferMaxCount) FlushBuffer();
    }
    return true;
}

int psjpeghandler::psbegbin(bool binary) {
    return mWriter ? psbegbin(binary, *mWriter) : -1;
}

int psjpeghandler::psbegbin(bool binary, PsJpegWriterBase& writer) {
    if (!binary) return -1;
    writer.writeText("%%BeginBinary:");
    const int position = writer.position();
    writer.writeText("          \n");
    return position;
}

void psjpeghandler::psendbin(bool binary, int position) {
    if (mWriter) psendbin(binary, position, *mWriter);
}

void psjpeghandler::psendbin(bool binary, int position, PsJpegWriterBase& writer) {
    if (!binary) {
        writer.writeText(">\n");
        return;
    }
    // The count is that of the data bytes: everything after the reserved
    // line up to the line end before %%EndBinary.
    if (position >= 0) writer.patch(position, writer.position() - (position + kCountRoom));
    writer.writeText("\n%%EndBinary\n");
}

void psjpeghandler::pswridic(bool inverted, const double* matrix, bool binary) {
    pswridic(inverted, matrix, binary, getSamplesPerPixel(), getWidth(), getHeight());
}

void psjpeghandler::pswridic(bool inverted, const double* matrix, bool binary, int components,
                             int width, int height) {
    if (mWriter) pswridic(inverted, matrix, binary, components, width, height, *mWriter);
}

bool psjpeghandler::pswridic(bool inverted, const double* matrix, bool binary, int components,
                             int width, int height, PsJpegWriterBase& writer) {
    const char* decode = decodeArray(components, inverted);
    if (!decode) return false;
    writer.writeText("12 dict begin\n");
    writer.writeText("/ImageType 1 def\n");
    writer.writeText(("/Width " + std::to_string(width) + " def\n").c_str());
    writer.writeText(("/Height " + std::to_string(height) + " def\n").c_str());
    writer.writeText(imageMatrix(matrix).c_str());
    writer.writeText("/BitsPerComponent 8 def\n");
    writer.writeText(decode);
    writer.writeText(
        binary ? "/DataSource currentfile /DCTDecode filter def\n"
               : "/DataSource currentfile /ASCIIHexDecode filter /DCTDecode filter def\n");
    writer.writeText("currentdict end\n");
    return true;
}

}  // namespace QuillonCore

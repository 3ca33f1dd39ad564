#include "raster/input/PhotoshopResolution.h"

#include <cstring>

namespace QuillonCore {

namespace {

std::uint32_t bigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

// One resource header; the walk position moves past it on success.
struct ResourceHeader {
    int id = 0;
    std::size_t dataLength = 0;
};

bool readHeader(std::span<const unsigned char> bytes, std::size_t& position,
                ResourceHeader& header) {
    const std::size_t left = bytes.size() - position;
    if (left < 7 || std::memcmp(bytes.data() + position, "8BIM", 4) != 0) return false;
    header.id = (bytes[position + 4] << 8) | bytes[position + 5];
    // Length byte and name together are padded to an even count.
    const std::size_t nameField = (std::size_t{bytes[position + 6]} + 2) & ~std::size_t{1};
    const std::size_t fixed = 6 + nameField + 4;
    if (left < fixed) return false;
    header.dataLength = bigEndian32(bytes.data() + position + 6 + nameField);
    position += fixed;
    return header.dataLength <= bytes.size() - position;
}

void takeResolution(const unsigned char* data, PhotoshopResolution& result) {
    const std::uint32_t horizontal = bigEndian32(data);
    const std::uint32_t vertical = bigEndian32(data + 8);
    result.found = true;
    result.horizontal = static_cast<int>(horizontal >> 16);
    result.vertical = static_cast<int>(vertical >> 16);
    result.fractionalHorizontal = (horizontal & 0xFFFF) ? horizontal / 65536.0 : 0.0;
}

}  // namespace

PhotoshopResolution PhotoshopResolution::find(std::span<const unsigned char> resources,
                                              bool padData) {
    PhotoshopResolution result;
    std::size_t position = 0;
    ResourceHeader header;
    while (readHeader(resources, position, header)) {
        if (header.id == kResolutionInfoId) {
            if (header.dataLength != 16) break;
            takeResolution(resources.data() + position, result);
        }
        position += header.dataLength;
        if (padData && (header.dataLength & 1) && position < resources.size()) ++position;
    }
    return result;
}

}  // namespace QuillonCore

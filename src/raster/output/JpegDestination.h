#pragma once
// The libjpeg destination manager of the compressor: compressed bytes are
// collected in a buffer and handed on, a full buffer at a time and the rest
// at the end, to a sink. The sink may fail (or throw): the failure becomes a
// libjpeg write error, which the compressor's error exit turns into a
// non-zero result.

#include <cstddef>
#include <cstdio>
#include <functional>
#include <vector>

#include <jpeglib.h>

namespace QuillonCore {

struct JpegDestination {
    // At least this many bytes are buffered, whatever the image width.
    static constexpr std::size_t kMinimumBuffer = 4096;

    jpeg_destination_mgr pub;
    std::vector<JOCTET> buffer;
    // Receives the bytes; false when they could not be written.
    std::function<bool(const unsigned char* bytes, std::size_t count)> sink;

    // Attaches the destination with a buffer of max(2 x width, the minimum).
    void attach(j_compress_ptr compressor, int width);
    // Hands count bytes to the sink; false when it failed or threw.
    bool deliver(std::size_t count) noexcept;
};

}  // namespace QuillonCore

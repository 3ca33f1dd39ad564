#include "raster/output/JpegDestination.h"

#include <algorithm>

#include <jerror.h>

namespace QuillonCore {

namespace {

JpegDestination* destinationOf(j_compress_ptr compressor) {
    return reinterpret_cast<JpegDestination*>(compressor->dest);
}

void restart(JpegDestination* destination) {
    destination->pub.next_output_byte = destination->buffer.data();
    destination->pub.free_in_buffer = destination->buffer.size();
}

void initDestination(j_compress_ptr compressor) {
    restart(destinationOf(compressor));
}

boolean emptyOutputBuffer(j_compress_ptr compressor) {
    JpegDestination* destination = destinationOf(compressor);
    if (!destination->deliver(destination->buffer.size())) ERREXIT(compressor, JERR_FILE_WRITE);
    restart(destination);
    return TRUE;
}

void termDestination(j_compress_ptr compressor) {
    JpegDestination* destination = destinationOf(compressor);
    const std::size_t used = destination->buffer.size() - destination->pub.free_in_buffer;
    if (used && !destination->deliver(used)) ERREXIT(compressor, JERR_FILE_WRITE);
    restart(destination);
}

}  // namespace

void JpegDestination::attach(j_compress_ptr compressor, int width) {
    buffer.assign(std::max(kMinimumBuffer, 2 * static_cast<std::size_t>(std::max(width, 0))), 0);
    pub.init_destination = initDestination;
    pub.empty_output_buffer = emptyOutputBuffer;
    pub.term_destination = termDestination;
    restart(this);
    compressor->dest = &pub;
}

bool JpegDestination::deliver(std::size_t count) noexcept {
    try {
        return !sink || sink(buffer.data(), count);
    } catch (...) {
        return false;
    }
}

}  // namespace QuillonCore

#include "raster/output/NoCompressionTiffFilter.h"

namespace QuillonCore {

bool NoCompressionTiffFilter::Encode(const unsigned char* row, std::size_t byteCount,
                                     unsigned long) {
    return GetOutStream().Write(row, byteCount);
}

// The header already holds the one strip's offset and byte count.
bool NoCompressionTiffFilter::Complete(TiffWriter&) {
    return !GetOutStream().Failed();
}

}  // namespace QuillonCore

#pragma once
// TIFF compression codes the writer produces.

namespace QuillonCore {

enum tifcompression : int {
    kTifCompressionNone = 1,
    kTifCompressionLzw = 5,
    kTifCompressionPackBits = 32773,
};

}  // namespace QuillonCore

#pragma once
// The libjpeg source manager of the JPEG reader: compressed bytes come from a
// caller's callbacks, either a byte at a time (getByte, negative at the end)
// or, for the reader's own file, in blocks.
//
// At the end of the data the source supplies an end-of-image marker after a
// warning, so that a truncated file delivers what could be decoded; when
// there was no data at all it raises libjpeg's empty-input error. Skipping
// first consumes the bytes still buffered, then seeks over the rest (or reads
// and drops it when there is no seek callback).

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace QuillonCore {

using JpegGetByte = long (*)(void* context);
using JpegSeek = long (*)(void* context, long position);
// Reads up to count bytes into buffer; returns the count read (0 at the end).
using JpegReadBlock = int (*)(void* context, unsigned char* buffer, int count);

struct JpegByteSource {
    static constexpr int kBlockSize = 4096;

    jpeg_source_mgr pub;
    JpegGetByte getByte = nullptr;
    JpegReadBlock readBlock = nullptr;
    JpegSeek seek = nullptr;
    void* context = nullptr;
    bool sawData = false;
    bool atEnd = false;
    JOCTET buffer[kBlockSize];

    // Attaches the source to a decompression object (byte-wise callbacks).
    void attach(j_decompress_ptr decoder, JpegGetByte getByteCallback, JpegSeek seekCallback,
                void* callbackContext);
    // The same with a block reader instead of getByte.
    void attachBlocks(j_decompress_ptr decoder, JpegReadBlock readBlockCallback,
                      JpegSeek seekCallback, void* callbackContext);
    // Bytes fetched from the callbacks that libjpeg has not consumed.
    std::size_t unconsumed() const { return pub.bytes_in_buffer; }

    // Pulls the next bytes from the callbacks into buffer; 0 at the end.
    int fetchForLibjpeg();

  private:
    void attachCommon(j_decompress_ptr decoder, JpegSeek seekCallback, void* callbackContext);
};

}  // namespace QuillonCore

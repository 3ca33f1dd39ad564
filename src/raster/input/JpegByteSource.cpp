#include "raster/input/JpegByteSource.h"

#include <algorithm>

#include <jerror.h>

namespace QuillonCore {

namespace {

JpegByteSource* sourceOf(j_decompress_ptr decoder) {
    return reinterpret_cast<JpegByteSource*>(decoder->src);
}

void initSource(j_decompress_ptr) {}

void termSource(j_decompress_ptr) {}

boolean fillInputBuffer(j_decompress_ptr decoder) {
    JpegByteSource* source = sourceOf(decoder);
    const int count = source->atEnd ? 0 : source->fetchForLibjpeg();
    if (count > 0) {
        source->pub.next_input_byte = source->buffer;
        source->pub.bytes_in_buffer = static_cast<std::size_t>(count);
        return TRUE;
    }
    source->atEnd = true;
    if (!source->sawData) ERREXIT(decoder, JERR_INPUT_EMPTY);
    WARNMS(decoder, JWRN_JPEG_EOF);
    // A fake end-of-image marker ends decoding at the data we have.
    source->buffer[0] = 0xFF;
    source->buffer[1] = JPEG_EOI;
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = 2;
    return TRUE;
}

void dropBytes(JpegByteSource* source, j_decompress_ptr decoder, long count) {
    while (count > 0) {
        if (source->pub.bytes_in_buffer == 0) {
            fillInputBuffer(decoder);
            if (source->atEnd) return;
        }
        const long take = std::min<long>(count, static_cast<long>(source->pub.bytes_in_buffer));
        source->pub.next_input_byte += take;
        source->pub.bytes_in_buffer -= static_cast<std::size_t>(take);
        count -= take;
    }
}

void skipInputData(j_decompress_ptr decoder, long count) {
    if (count <= 0) return;
    JpegByteSource* source = sourceOf(decoder);
    const long buffered = static_cast<long>(source->pub.bytes_in_buffer);
    if (count <= buffered || !source->seek || source->atEnd) {
        dropBytes(source, decoder, count);
        return;
    }
    source->pub.next_input_byte += buffered;
    source->pub.bytes_in_buffer = 0;
    const long position = source->seek(source->context, -1);
    if (position < 0) {
        dropBytes(source, decoder, count - buffered);
        return;
    }
    source->seek(source->context, position + (count - buffered));
}

}  // namespace

void JpegByteSource::attachCommon(j_decompress_ptr decoder, JpegSeek seekCallback,
                                  void* callbackContext) {
    seek = seekCallback;
    context = callbackContext;
    sawData = false;
    atEnd = false;
    pub.init_source = initSource;
    pub.fill_input_buffer = fillInputBuffer;
    pub.skip_input_data = skipInputData;
    pub.resync_to_restart = jpeg_resync_to_restart;
    pub.term_source = termSource;
    pub.next_input_byte = nullptr;
    pub.bytes_in_buffer = 0;
    decoder->src = &pub;
}

void JpegByteSource::attach(j_decompress_ptr decoder, JpegGetByte getByteCallback,
                            JpegSeek seekCallback, void* callbackContext) {
    getByte = getByteCallback;
    readBlock = nullptr;
    attachCommon(decoder, seekCallback, callbackContext);
}

void JpegByteSource::attachBlocks(j_decompress_ptr decoder, JpegReadBlock readBlockCallback,
                                  JpegSeek seekCallback, void* callbackContext) {
    getByte = nullptr;
    readBlock = readBlockCallback;
    attachCommon(decoder, seekCallback, callbackContext);
}

int JpegByteSource::fetchForLibjpeg() {
    int count = 0;
    if (readBlock) {
        count = readBlock(context, buffer, kBlockSize);
    } else if (getByte) {
        // One byte per fill: a byte-wise caller's stream is never read ahead.
        const long value = getByte(context);
        if (value >= 0) buffer[count++] = static_cast<JOCTET>(value);
    }
    if (count > 0) sawData = true;
    return count;
}

}  // namespace QuillonCore

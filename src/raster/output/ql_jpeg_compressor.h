#pragma once
// JPEG compression with libjpeg: the settings and the compression object.
// Derived classes receive the compressed bytes (putUInt8, or putBytes for a
// whole block) and feed rows with ql_compress_line.
//
// Colour types: 0 and 1 gray, 2 RGB (stored as YCbCr), 5 CMYK (stored as
// YCCK). A JFIF header carries the density for every colour type. libjpeg's
// errors, an unknown colour type and a sink that cannot write become non-zero
// results; they never end the process.

#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "raster/input/JpegErrorManager.h"
#include "raster/output/ColorspaceInfo.h"
#include "raster/output/JpegDestination.h"

namespace QuillonCore {

class ql_jpeg_compressor {
  public:
    virtual ~ql_jpeg_compressor();
    ql_jpeg_compressor(const ql_jpeg_compressor&) = delete;
    ql_jpeg_compressor& operator=(const ql_jpeg_compressor&) = delete;

    // Receives every compressed byte; non-zero when it could not be written.
    virtual int putUInt8(unsigned char byte) = 0;

    // Writes the header and tables. 0 on success.
    int start_compression();
    // Writes one scanline (width x components bytes). 0 when it was written.
    int ql_compress_line(const unsigned char* row);
    // Finishes the stream. 0 when every row was written and the stream ended;
    // with rows missing the compression is abandoned and the result is 1.
    int end_compression();

    // False after a refused colour type or a libjpeg error.
    bool isUsable() const { return mState != State::kFailed; }
    int rowsWritten() const { return mRowsWritten; }

  protected:
    ql_jpeg_compressor(int colourType, int height, int width, int resolutionNumerator,
                       int resolutionDenominator, int quality, bool perInch);
    // A block of compressed bytes; by default byte by byte through putUInt8.
    virtual bool putBytes(const unsigned char* bytes, std::size_t count);

  private:
    enum class State { kReady, kStarted, kFinished, kFailed };

    void configure(int colourType, int resolutionNumerator, int resolutionDenominator, int quality,
                   bool perInch);
    bool guarded(bool ok);

    JpegErrorManager mErrors;
    jpeg_compress_struct mCompressor{};
    JpegDestination mDestination;
    int mRowsWritten = 0;
    int mHeight = 0;
    bool mCreated = false;
    State mState = State::kReady;
};

}  // namespace QuillonCore

#pragma once
// Compresses image rows into an owned TIFF output stream. The header is
// written through GetOutStream(); then Start(), Write() once per strip, and
// Finish(), which patches the strip values the header left as placeholders.
//
// Failures are sticky: after a failed write, or once finished, Write returns
// false and Failed() is true (writing after Finish counts as a failure,
// since those strips could never be recorded).

#include <cstddef>
#include <memory>

#include "raster/output/TiffOutStream.h"
#include "raster/output/tifcompression.h"

namespace QuillonCore {

class TiffWriter;

class TiffFilter {
  public:
    TiffFilter(std::unique_ptr<TiffOutStream> stream, tifcompression compression);
    virtual ~TiffFilter();
    TiffFilter(const TiffFilter&) = delete;
    TiffFilter& operator=(const TiffFilter&) = delete;

    virtual void Start() {}
    // Writes pixelCount x samplesPerPixel bytes (8-bit samples).
    virtual bool Write(const unsigned char* row, unsigned long pixelCount,
                       unsigned long samplesPerPixel);
    virtual void Finish(TiffWriter& writer);

    // Writes one strip of byteCount bytes whatever the bit depth.
    bool WriteBytes(const unsigned char* row, std::size_t byteCount, unsigned long samplesPerPixel);

    TiffOutStream& GetOutStream() { return *mStream; }
    tifcompression GetCompressionType() const { return mCompression; }
    bool Failed() const { return mFailed || mStream->Failed(); }

  protected:
    virtual bool Encode(const unsigned char* row, std::size_t byteCount,
                        unsigned long samplesPerPixel) = 0;
    // Patches the strip values; false when that failed.
    virtual bool Complete(TiffWriter& writer) = 0;
    void MarkFailed() { mFailed = true; }

  private:
    std::unique_ptr<TiffOutStream> mStream;
    tifcompression mCompression;
    bool mFailed = false;
    bool mFinished = false;
};

}  // namespace QuillonCore

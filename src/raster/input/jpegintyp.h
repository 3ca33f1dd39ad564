#pragma once
// The JPEG decoder context: a libjpeg decompression object with our error
// manager and byte source, the Photoshop resources of the file and the
// resolution they give. Used by jpegreatyp and by the free-function
// interface for callers with their own byte source:
//
//     jpegintyp* c = jpegreabeg(getByte, seek, &rows, &cols, &num, &den, &interp, &comps, ctx);
//     for (...) jpegrealin(c, row, rowBytes);
//     jpegreaend(c);
//
// libjpeg's fatal errors never leave this type as a longjmp: every call into
// libjpeg runs under runGuarded and reports failure through its result.

#include <memory>
#include <span>
#include <vector>

#include <jpeglib.h>

#include "raster/input/JpegByteSource.h"
#include "raster/input/JpegErrorManager.h"
#include "raster/input/JpegResolution.h"
#include "raster/input/PhotoshopResolution.h"

namespace QuillonCore {

class jpegintyp {
  public:
    // Reading modes: current, or the older unpadded walk of Photoshop resources.
    enum Mode : int { kOlderMode = 0, kCurrentMode = 1 };
    // Progressive files with more scans than this are refused (a real file
    // has about ten; a crafted one can make decoding take for ever).
    static constexpr int kMaxScans = 1000;

    // Null when libjpeg cannot set up a decompression object.
    static std::unique_ptr<jpegintyp> create(Mode mode);
    ~jpegintyp();
    jpegintyp(const jpegintyp&) = delete;
    jpegintyp& operator=(const jpegintyp&) = delete;

    JpegByteSource& source() { return mSource; }
    j_decompress_ptr decoder() { return &mDecoder; }

    // Reads the header and the Photoshop resolution; false when the data is
    // not a JPEG image this reader decodes (8-bit, Huffman coded).
    bool readHeader();
    int width() const { return static_cast<int>(mDecoder.image_width); }
    int height() const { return static_cast<int>(mDecoder.image_height); }
    // 1 gray, 2 RGB, 5 CMYK, 7 any other colour model.
    int interpretation() const;
    // Samples per pixel of a decoded scanline.
    int components() const;
    bool isProgressive() const { return mDecoder.progressive_mode != 0; }
    JpegResolution resolution(bool useFractional) const;
    // The ResolutionInfo of the Photoshop resources (found false when none).
    const PhotoshopResolution& photoshopResolution() const { return mPhotoshop; }

    // Decodes the next scanline into row (components x width bytes), starting
    // decompression first when needed. False on a decoder error or when every
    // scanline has been read.
    bool readScanline(JSAMPROW row);
    // The scratch scanline (components x width bytes).
    std::span<JSAMPLE> scratch() { return mScratch; }
    // Finishes decompression when every scanline was read; the object is
    // then destroyed with the context.
    void finish();
    const char* lastError() const { return mErrors.lastMessage; }

  private:
    explicit jpegintyp(Mode mode);
    bool checkDecodable();
    void collectPhotoshopResources();
    bool startDecompress();

    JpegErrorManager mErrors;
    bool mNotStarted = true;
    bool mCreated = false;
    jpeg_decompress_struct mDecoder{};
    jpeg_progress_mgr mProgress{};
    JpegByteSource mSource{};
    std::vector<unsigned char> mPhotoshopResources;
    JpegDensity mDensity;
    PhotoshopResolution mPhotoshop;
    Mode mMode;
    std::vector<JSAMPLE> mScratch;
};

// The free-function interface. Out pointers may be null; rows and columns
// are written only when both are given, likewise the resolution pair.
// Returns null when the context cannot be set up or the header is not
// decodable.
jpegintyp* jpegreabeg(long (*getByte)(void*), long (*seek)(void*, long), int* rows, int* columns,
                      int* resolutionNumerator, int* resolutionDenominator, int* interpretation,
                      int* components, void* context);
// Decodes the next scanline. With a positive length at most length bytes of
// it are copied into row; with length 0 or below row must hold a whole
// scanline. A null context does nothing; a decoder error or a call after the
// last scanline leaves row untouched.
void jpegrealin(jpegintyp* context, void* row, int length);
// Finishes and frees the context; null does nothing.
void jpegreaend(jpegintyp* context);
bool jpegIsProgressive(const jpegintyp* context);

}  // namespace QuillonCore

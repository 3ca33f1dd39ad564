#pragma once
// JPEG compression into a PostScript program: the image dictionary that
// decodes it (DCTDecode), the DSC framing of binary data, and the compressed
// bytes, all through a writer the caller supplies.
//
//     psjpeghandler h(colourType, width, height, num, den, quality, perInch, std::move(writer));
//     h.pswridic(inverted, matrix, binary);     // the dictionary
//     ... "image" operator, then:
//     int at = h.psbegbin(binary);              // %%BeginBinary: with room for the count
//     h.startcompression(); h.wribytes(...); h.endcompression();
//     h.psendbin(binary, at);                   // the count, %%EndBinary (or ">" for ASCIIHex)

#include <memory>

#include "raster/output/PsJpegWriterBase.h"
#include "raster/output/jpeghandler.h"

namespace QuillonCore {

class psjpeghandler : public jpeghandler {
  public:
    static constexpr int kBbufferMaxCount = 50;
    // The room psbegbin reserves for the byte count: ten spaces and a line end.
    static constexpr int kCountRoom = 11;

    psjpeghandler(int colourType, int width, int height, int resolutionNumerator,
                  int resolutionDenominator, int quality, bool perInch,
                  std::unique_ptr<PsJpegWriterBase> writer);

    // count x size input bytes (see jpeghandler::handlebyte).
    void wribytes(const unsigned char* bytes, int count, int size);
    // Finishes the compression and passes the buffered bytes on; non-zero
    // when rows are missing or libjpeg failed.
    int endcompression() override;
    void FlushBuffer();

    // Binary: writes "%%BeginBinary:" and reserves room for the byte count;
    // returns the position of that room. Otherwise writes nothing, -1.
    int psbegbin(bool binary);
    static int psbegbin(bool binary, PsJpegWriterBase& writer);
    // Binary: patches the count of data bytes written since psbegbin and
    // writes "%%EndBinary"; otherwise ends the ASCIIHex data with ">".
    void psendbin(bool binary, int position);
    static void psendbin(bool binary, int position, PsJpegWriterBase& writer);

    // The image dictionary. matrix: the six values of /ImageMatrix.
    // inverted: decode samples from 1 to 0 (stored CMYK is 255 - ink).
    void pswridic(bool inverted, const double* matrix, bool binary);
    void pswridic(bool inverted, const double* matrix, bool binary, int components, int width,
                  int height);
    // False, and nothing written, for a component count other than 1, 3, 4.
    static bool pswridic(bool inverted, const double* matrix, bool binary, int components,
                         int width, int height, PsJpegWriterBase& writer);

    int putUInt8(unsigned char byte) override;

  protected:
    bool putBytes(const unsigned char* bytes, std::size_t count) override;

  private:
    std::unique_ptr<PsJpegWriterBase> mWriter;
    unsigned char mBuffer[kBbufferMaxCount] = {};
    int mBufferCount = 0;
};

}  // namespace QuillonCore

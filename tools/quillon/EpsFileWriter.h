#pragma once
// The PostScript writer of `quillon eps`: texts and data go to a file; data
// bytes are written as they are (binary) or as ASCIIHex lines. The byte count
// of %%BeginBinary is patched, left-aligned after a space, into the ten
// characters psbegbin reserved.

#include "platform/velsys/fil.h"
#include "raster/output/PsJpegWriterBase.h"

namespace Quillon {

class EpsFileWriter : public QuillonCore::PsJpegWriterBase {
  public:
    static constexpr int kHexPerLine = 64;

    EpsFileWriter(VelSys::fil* file, bool ascii) : mFile(file), mAscii(ascii) {}

    void write(const unsigned char* bytes, int count) override;
    void writeText(const char* text) override;
    void patch(int position, int value) override;
    int position() const override { return VelSys::filpos(mFile); }

  private:
    VelSys::fil* mFile;
    bool mAscii;
    int mHexOnLine = 0;
};

}  // namespace Quillon

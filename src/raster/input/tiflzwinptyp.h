#pragma once
// The LZW decoder of the TIFF reader: it takes a strip's compressed bytes
// from the reader's strip input and decodes the strip straight into the
// reader's strip buffer (its output buffer), so a full strip ends decoding.

#include "raster/input/StripInput.h"
#include "raster/input/lzwinptyp.h"
#include "raster/input/pixreatyp.h"

namespace QuillonCore {

class tiflzwinptyp : public lzwinptyp {
  public:
    tiflzwinptyp(pixreatyp& reader, StripInput& input) : mReader(reader), mInput(input) {}

  protected:
    int lzwgetbyte() override { return mInput.next(); }
    int lzwreadbytes(unsigned char* destination, int max) override {
        return mInput.read(destination, max);
    }
    void lzwerror(const VelGen::MessageSeverity& severity,
                  const VelGen::MessageVolatility& volatility, int id) override {
        mReader.pixerror(severity, volatility, id);
    }
    // The output buffer is the strip buffer itself: nothing to copy, and a
    // full buffer is the end of the strip.
    int lzwoutput(const unsigned char*, int) override { return 1; }

  private:
    pixreatyp& mReader;
    StripInput& mInput;
};

}  // namespace QuillonCore

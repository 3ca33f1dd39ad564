#pragma once
// The LZW decoder as a pull source of decoded bytes. Callers derive from it
// and supply the compressed bytes (lzwgetbyte).

#include "raster/input/lzwinptyp.h"

namespace QuillonCore {

class lzwinpbyttyp : public lzwinptyp {
  public:
    // The next decoded byte, or -1 after the last one (and for ever after).
    int getcha();

  protected:
    int lzwoutput(const unsigned char* bytes, int count) override;

  private:
    const unsigned char* mChunk = nullptr;
    int mPosition = 0;
    int mSize = 0;
    int mState = -1;  // -1 not started, 0 decoding, 1 finished
};

}  // namespace QuillonCore

#pragma once
// A colour link for tests: counts the pixels it converts, and turns each
// pixel of `inBytes` bytes into `outBytes` bytes (out k = first input byte
// + 10 x (k + 1), modulo 256), or fails when told to.

#include "platform/velgen/colsynlnk.h"

namespace QuillonTest {

class CountingLink : public VelGen::colsynlnk {
  public:
    CountingLink(int inBytes, int outBytes) : mIn(inBytes), mOut(outBytes) {}

    int process(const unsigned char* in, unsigned char* out, int count) override {
        ++calls;
        pixels += count;
        if (fail) return 0;
        for (int i = 0; i < count; ++i)
            for (int k = 0; k < mOut; ++k)
                out[i * mOut + k] = static_cast<unsigned char>(in[i * mIn] + 10 * (k + 1));
        return 1;
    }

    int calls = 0;
    long pixels = 0;
    bool fail = false;

  private:
    int mIn;
    int mOut;
};

}  // namespace QuillonTest

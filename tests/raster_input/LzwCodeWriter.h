#pragma once
// Writes TIFF LZW code sequences for the tests, widening codes exactly as
// the decoder does (one code early), so that tests can state streams code
// by code.

#include <vector>

namespace QuillonTest {

class LzwCodeWriter {
  public:
    static constexpr int kClear = 256;
    static constexpr int kEnd = 257;

    void code(int value);
    // The bytes written so far (the last byte padded with zeros).
    std::vector<unsigned char> bytes() const;
    // An entire stream: Clear, the literal bytes as codes, end of information.
    static std::vector<unsigned char> literals(const std::vector<unsigned char>& data);

  private:
    std::vector<unsigned char> mBytes;
    unsigned long mBits = 0;
    int mCount = 0;
    int mWidth = 9;
    int mNext = 258;
    bool mFirst = true;
};

}  // namespace QuillonTest

#pragma once
// The TIFF LZW decoder (variable code width, 9 to 12 bits, growing one code
// early). Derived classes supply the compressed bytes and take the output.
//
// With an output buffer (lzwini(buffer, capacity)) lzwreastrip decodes one
// strip straight into it: it ends at the end-of-information code, at the end
// of the input, or when the buffer is full (lzwoutput is then told). Without
// one, every decoded string is handed to lzwoutput.
//
// A code that names no string is reported ("TIFF:Invalid code !") and thrown
// as the int 1; the table and the write position are reset first, so the
// decoder can start the next strip cleanly.

#include <cstdint>
#include <vector>

#include "platform/velgen/Messages.h"

namespace QuillonCore {

class lzwinptyp {
  public:
    static constexpr int kClear = 256;
    static constexpr int kEndOfInformation = 257;
    static constexpr int kFirstFree = 258;
    static constexpr int kTableSize = 4096;

    lzwinptyp() = default;
    virtual ~lzwinptyp() = default;
    lzwinptyp(const lzwinptyp&) = delete;
    lzwinptyp& operator=(const lzwinptyp&) = delete;

    int lzwini();
    int lzwini(unsigned char* buffer, int capacity);
    // Points the output at another buffer (the table keeps its allocation).
    void lzwsetbuffer(unsigned char* buffer, int capacity);
    void lzwexi();

    void lzwinitable();
    int lzwgetnextcode();
    bool isintable(int code) const;
    void lzwaddstringtotable(int code);
    int lzwwritestring(int code);
    // Decodes one strip (the input starts on a byte boundary).
    void lzwreastrip();
    // Decodes one code; 1 at the end of information.
    int lzwrea();

    // Bytes of the output buffer filled by the last lzwreastrip.
    int lzwfilled() const { return mFilled; }
    int lzwentries() const { return mNext; }
    int lzwcodewidth() const { return mWidth; }

  protected:
    // The next compressed byte, or -1 at the end of the input.
    virtual int lzwgetbyte() = 0;
    // Up to max compressed bytes (the default pulls them one by one).
    virtual int lzwreadbytes(unsigned char* destination, int max);
    virtual void lzwerror(const VelGen::MessageSeverity& severity,
                          const VelGen::MessageVolatility& volatility, int id);
    virtual int lzwoutput(const unsigned char* bytes, int count) = 0;

  private:
    int nextInputByte();
    [[noreturn]] void invalidCode();
    void addString(int prefix, int firstByteCode);
    void copyString(int code, unsigned char* destination) const;
    int appendToBuffer(int code);
    int decodeOne(int code);
    void decodeIntoBuffer();
    int stripFull(int written);

    std::vector<std::uint16_t> mPrefix;
    std::vector<std::uint16_t> mLength;
    std::vector<unsigned char> mSuffix;
    std::vector<unsigned char> mFirst;
    // Strip decoding: where in the output buffer each entry's string was written.
    std::vector<std::int32_t> mOffset;
    std::vector<unsigned char> mScratch;
    int mNext = kFirstFree;
    int mWidth = 9;
    int mPrevious = -1;
    std::uint64_t mBits = 0;
    int mBitCount = 0;
    unsigned char mInput[4096];
    int mInputAt = 0;
    int mInputLength = 0;
    bool mInputEnded = false;
    unsigned char* mBuffer = nullptr;
    int mCapacity = 0;
    int mWrite = 0;
    int mFilled = 0;
};

}  // namespace QuillonCore

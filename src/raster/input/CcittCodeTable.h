#pragma once
// Lookup tables of the ITU-T T.4 / T.6 code words: indexed by the next
// kRunBits (or kModeBits) bits of the input, each entry gives the decoded
// value and the code's length (0: no code starts with these bits).
//
// Run values are pixel counts (make-up codes 64 and up); -1 is the entry
// into uncompressed mode and -2 the end-of-line code. Mode values: 0 VR3,
// 1 VR2, 2 VR1, 3 V0, 4 VL1, 5 VL2, 6 VL3, 7 pass, 8 horizontal,
// 9 extension (uncompressed mode).

#include <cstdint>
#include <vector>

namespace QuillonCore {

class CcittCodeTable {
  public:
    static constexpr int kRunBits = 13;
    static constexpr int kModeBits = 10;
    static constexpr int kUncompressed = -1;
    static constexpr int kEndOfLine = -2;
    enum Mode { kVR3, kVR2, kVR1, kV0, kVL1, kVL2, kVL3, kPass, kHorizontal, kExtension };

    struct Entry {
        std::int16_t value = 0;
        std::uint8_t length = 0;
    };

    static const CcittCodeTable& white();
    static const CcittCodeTable& black();
    static const CcittCodeTable& modes();

    const Entry& operator[](std::uint32_t index) const { return mEntries[index]; }

  private:
    struct Code {
        const char* bits;
        int value;
    };
    CcittCodeTable(int indexBits, std::initializer_list<const std::vector<Code>*> codeLists);
    void add(const char* bits, int value);

    int mIndexBits;
    std::vector<Entry> mEntries;

    static const std::vector<Code> kWhiteCodes;
    static const std::vector<Code> kBlackCodes;
    static const std::vector<Code> kSharedCodes;
    static const std::vector<Code> kModeCodes;
};

}  // namespace QuillonCore

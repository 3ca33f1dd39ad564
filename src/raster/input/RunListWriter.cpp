#include "raster/input/RunListWriter.h"

#include <cstdint>
#include <cstring>

namespace QuillonCore {

namespace {

class RunSink {
  public:
    RunSink(unsigned char* runs, int capacityBytes)
        : mRuns(runs), mSlots(capacityBytes > 0 ? capacityBytes / 4 : 0) {}

    // Writes a value when a slot for it and one for the terminator remain.
    bool put(std::int32_t value) {
        if (mUsed + 2 > mSlots) return false;
        store(mUsed++, value);
        return true;
    }
    bool finish() {
        if (mSlots < 1) return false;
        store(mUsed, kRunListTerminator);
        return true;
    }
    // Overflow: drop an unmatched start, then terminate.
    void truncate() {
        if (mUsed & 1) --mUsed;
        finish();
    }

  private:
    void store(int slot, std::int32_t value) { std::memcpy(mRuns + 4 * slot, &value, 4); }
    unsigned char* mRuns;
    int mSlots;
    int mUsed = 0;
};

}  // namespace

bool encodeRunList(unsigned char* runs, int capacityBytes, const unsigned char* bits, int width,
                   int polarity) {
    if (!runs) return false;
    RunSink sink(runs, capacityBytes);
    const unsigned char flip = polarity == 0 ? 0xFF : 0x00;
    bool inside = false;
    int x = 0;
    while (x < width) {
        const unsigned char byte = static_cast<unsigned char>(bits[x >> 3] ^ flip);
        // Whole bytes that do not change the state are skipped eight at a time.
        if ((x & 7) == 0 && x + 8 < width && byte == (inside ? 0xFF : 0x00)) {
            x += 8;
            continue;
        }
        const bool set = (byte >> (7 - (x & 7))) & 1;
        if (set != inside) {
            if (!sink.put(set ? x : x - 1)) {
                sink.truncate();
                return false;
            }
            inside = set;
        }
        ++x;
    }
    if (inside && !sink.put(width - 1)) {
        sink.truncate();
        return false;
    }
    if (!sink.finish()) return false;
    return true;
}

}  // namespace QuillonCore

// The LZW decoder as a byte source, on arbitrary compressed bytes.

#include <cstddef>
#include <cstdint>

#include "platform/velgen/Messages.h"
#include "raster/input/lzwinpbyttyp.h"

namespace {

class MemoryLzw : public QuillonCore::lzwinpbyttyp {
  public:
    MemoryLzw(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}

  protected:
    int lzwgetbyte() override { return mAt < mSize ? mData[mAt++] : -1; }

  private:
    const std::uint8_t* mData;
    std::size_t mSize;
    std::size_t mAt = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    VelGen::SetMessageSink(nullptr);
    MemoryLzw decoder(data, size);
    try {
        for (long n = 0; n < (1L << 24); ++n) {
            if (decoder.getcha() >= 0) continue;
            // After the end, the source stays at its end.
            if (decoder.getcha() != -1) __builtin_trap();
            break;
        }
    } catch (int) {
        // An invalid code.
    }
    return 0;
}

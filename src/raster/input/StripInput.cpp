#include "raster/input/StripInput.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace QuillonCore {

namespace {

constexpr std::int64_t kChunk = 64 * 1024;
// Reads of at least this many bytes bypass the block when it is empty.
constexpr int kDirectRead = 4096;

const std::array<unsigned char, 256>& reversedBits() {
    static const auto table = [] {
        std::array<unsigned char, 256> t{};
        for (int i = 0; i < 256; ++i) {
            int r = 0;
            for (int b = 0; b < 8; ++b)
                if (i & (1 << b)) r |= 0x80 >> b;
            t[i] = static_cast<unsigned char>(r);
        }
        return t;
    }();
    return table;
}

}  // namespace

StripInput::StripInput(VelSys::fil* file, bool reverseBits)
    : mFile(file), mReverseBits(reverseBits) {}

void StripInput::begin(std::int64_t position, std::int64_t budget) {
    const std::int64_t end = VelSys::filgeteof(mFile);
    mNextPosition = position;
    mRemaining = position >= end ? 0 : std::clamp<std::int64_t>(budget, 0, end - position);
    mAt = mLength = 0;
}

bool StripInput::refill() {
    if (mRemaining <= 0) return false;
    mChunk.resize(static_cast<std::size_t>(std::min(mRemaining, kChunk)));
    mAt = 0;
    mLength = static_cast<std::size_t>(fetch(mChunk.data(), kChunk));
    return mLength > 0;
}

// Reads up to count bytes of the strip from the file into destination.
int StripInput::fetch(unsigned char* destination, std::int64_t count) {
    if (mRemaining <= 0) return 0;
    const int want = static_cast<int>(std::min(mRemaining, count));
    VelSys::filpos(mFile, static_cast<int>(mNextPosition));
    const int got = VelSys::filrea(mFile, destination, want);
    if (got <= 0) {
        mRemaining = 0;
        return 0;
    }
    if (mReverseBits) {
        const auto& table = reversedBits();
        for (int i = 0; i < got; ++i) destination[i] = table[destination[i]];
    }
    mNextPosition += got;
    mRemaining = got < want ? 0 : mRemaining - got;
    return got;
}

int StripInput::refillAndNext() {
    return refill() ? mChunk[mAt++] : -1;
}

int StripInput::read(unsigned char* destination, int count) {
    int done = 0;
    while (done < count) {
        if (mAt == mLength && destination && count - done >= kDirectRead) {
            const int got = fetch(destination + done, count - done);
            if (got == 0) break;
            done += got;
            continue;
        }
        if (mAt == mLength && !refill()) break;
        const int n = static_cast<int>(std::min<std::size_t>(count - done, mLength - mAt));
        if (destination) std::memcpy(destination + done, mChunk.data() + mAt, n);
        mAt += n;
        done += n;
    }
    return done;
}

void StripInput::skip(std::int64_t count) {
    while (count > 0) {
        if (mAt == mLength && !refill()) return;
        const std::int64_t n =
            std::min<std::int64_t>(count, static_cast<std::int64_t>(mLength - mAt));
        mAt += static_cast<std::size_t>(n);
        count -= n;
    }
}

bool StripInput::atEnd() {
    return mAt == mLength && !refill();
}

}  // namespace QuillonCore

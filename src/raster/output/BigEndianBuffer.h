#pragma once
// Bytes collected most significant first, as Photoshop image resources are
// stored whatever the byte order of the file around them.

#include <cstdint>
#include <string_view>
#include <vector>

namespace QuillonCore {

class BigEndianBuffer {
  public:
    void Put8(std::uint8_t v) { mBytes.push_back(v); }
    void Put16(std::uint16_t v) {
        Put8(static_cast<std::uint8_t>(v >> 8));
        Put8(static_cast<std::uint8_t>(v));
    }
    void Put32(std::uint32_t v) {
        Put16(static_cast<std::uint16_t>(v >> 16));
        Put16(static_cast<std::uint16_t>(v));
    }
    void PutZeros(std::size_t count) { mBytes.insert(mBytes.end(), count, 0); }
    void PutBytes(std::string_view bytes) {
        mBytes.insert(mBytes.end(), bytes.begin(), bytes.end());
    }
    void PutBytes(const std::vector<unsigned char>& bytes) {
        mBytes.insert(mBytes.end(), bytes.begin(), bytes.end());
    }
    // Overwrites four bytes at an earlier position.
    void Patch32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) mBytes[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    }

    std::size_t size() const { return mBytes.size(); }
    bool empty() const { return mBytes.empty(); }
    const std::vector<unsigned char>& bytes() const { return mBytes; }
    std::vector<unsigned char> take() { return std::move(mBytes); }

  private:
    std::vector<unsigned char> mBytes;
};

}  // namespace QuillonCore

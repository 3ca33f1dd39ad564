#pragma once
// A block of Photoshop image resources ("8BIM", 16-bit id, Pascal name padded
// to even length, 32-bit data length, data padded to even length), as stored
// in the TIFF Photoshop tag. Every resource written here has an empty name.

#include <string>
#include <vector>

#include "raster/output/BigEndianBuffer.h"

namespace QuillonCore {

class PhotoshopResourceBlock {
  public:
    static constexpr std::uint16_t kUnicodeAlphaNames = 1045;
    static constexpr std::uint16_t kFirstSavedPath = 2000;
    static constexpr std::uint16_t kClippingPathName = 2999;

    void Add(std::uint16_t id, const std::vector<unsigned char>& data);
    // The names as counted UTF-16 strings (each with its terminating zero).
    void AddUnicodeAlphaNames(const std::vector<std::string>& utf8Names);
    // Names the (empty-named) saved path as the clipping path, with the
    // device's default flatness.
    void AddClippingPathName();

    bool empty() const { return mBlock.empty(); }
    const std::vector<unsigned char>& bytes() const { return mBlock.bytes(); }

  private:
    BigEndianBuffer mBlock;
};

}  // namespace QuillonCore

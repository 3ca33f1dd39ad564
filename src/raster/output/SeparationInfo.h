#pragma once
// A named separation of an image and its CMYK equivalent (0 to 255 each).

#include <string>

namespace QuillonCore {

class SeparationInfo {
  public:
    SeparationInfo() = default;

    const std::string& name() const { return mName; }
    void setName(const std::string& name) { mName = name; }

    // Percentages 0 to 100 (larger values count as 100), each stored as the
    // integer part of percent x 255 / 100.
    void setCMYK(unsigned char c, unsigned char m, unsigned char y, unsigned char k);

    // The stored bytes, as the TIFF reader fills them directly.
    unsigned char mC = 0;
    unsigned char mM = 0;
    unsigned char mY = 0;
    unsigned char mK = 0;

  private:
    std::string mName;
};

}  // namespace QuillonCore

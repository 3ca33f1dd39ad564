#pragma once
// PostScript-style tokens written to a byte sink: texts as they are, numbers
// separated from what precedes them by single spaces.
//
//     out << 1 << 2 << "x";      // "1 2 x"
//     out << 0.5 << -0.25;       // ".5 -.25"

#include <string>

namespace QuillonCore {

class genoutfil {
  public:
    genoutfil() = default;
    virtual ~genoutfil() = default;

    // Writes the bytes one by one through putuns8met.
    virtual void PutUns8Buffer(const unsigned char* bytes, int count);
    virtual void putuns8met(unsigned char byte) = 0;

    // A text, after a space when a number came last.
    genoutfil& operator<<(const char* text);
    genoutfil& operator<<(const std::string& text);
    // A number in decimal; the next token is separated by a space.
    genoutfil& operator<<(int value);
    // Up to five decimals, without a leading zero or trailing zeros (".5",
    // "-.25", "12.34567"); 0 for values that round to zero and for values
    // that are not finite; the integer part is clamped to the 32-bit range.
    genoutfil& operator<<(double value);
    // The decimal text without setting the separator.
    void writeInteger(int value);

    // The text operator<<(double) writes, without the separator.
    static std::string formatNumber(double value);

  private:
    void writeText(const std::string& text);

    bool mSeparate = false;
};

}  // namespace QuillonCore

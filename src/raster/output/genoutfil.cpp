#include "raster/output/genoutfil.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace QuillonCore {

namespace {

constexpr std::int64_t kFractionScale = 100000;
constexpr std::int64_t kMaxIntegerPart = 2147483647;

}  // namespace

void genoutfil::PutUns8Buffer(const unsigned char* bytes, int count) {
    if (!bytes) return;
    for (int i = 0; i < count; ++i) putuns8met(bytes[i]);
}

void genoutfil::writeText(const std::string& text) {
    PutUns8Buffer(reinterpret_cast<const unsigned char*>(text.data()),
                  static_cast<int>(text.size()));
}

genoutfil& genoutfil::operator<<(const char* text) {
    if (mSeparate) putuns8met(' ');
    mSeparate = false;
    if (text) writeText(text);
    return *this;
}

genoutfil& genoutfil::operator<<(const std::string& text) {
    return *this << text.c_str();
}

genoutfil& genoutfil::operator<<(int value) {
    *this << std::to_string(value);
    mSeparate = true;
    return *this;
}

void genoutfil::writeInteger(int value) {
    *this << std::to_string(value);
}

std::string genoutfil::formatNumber(double value) {
    if (!std::isfinite(value)) return "0";
    const double magnitude = std::fabs(value);
    std::int64_t integer = kMaxIntegerPart;
    std::int64_t fraction = 0;
    if (magnitude < static_cast<double>(kMaxIntegerPart)) {
        integer = static_cast<std::int64_t>(magnitude);
        fraction = std::llround((magnitude - static_cast<double>(integer)) * kFractionScale);
    }
    if (fraction >= kFractionScale) {
        fraction = 0;
        integer = std::min(integer + 1, kMaxIntegerPart);
    }
    if (integer == 0 && fraction == 0) return "0";
    std::string text = value < 0 ? "-" : "";
    if (integer != 0) text += std::to_string(integer);
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, 5 - digits.size(), '0');
        while (digits.back() == '0') digits.pop_back();
        text += "." + digits;
    }
    return text;
}

genoutfil& genoutfil::operator<<(double value) {
    if (mSeparate) putuns8met(' ');
    writeText(formatNumber(value));
    mSeparate = true;
    return *this;
}

}  // namespace QuillonCore

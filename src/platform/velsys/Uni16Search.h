#pragma once
// Substring search in UTF-16 text.

#include <cstddef>
#include <string_view>

namespace VelSys {

// Option bit: compare ignoring case (the C locale's case of each unit).
inline constexpr int kFindIgnoreCase = 1;

// The index of the first occurrence of token in text, or -1. An empty token
// is found at 0.
std::ptrdiff_t Uni16CharFindSubStringWithOptions(std::u16string_view text,
                                                 std::u16string_view token, int options);

}  // namespace VelSys

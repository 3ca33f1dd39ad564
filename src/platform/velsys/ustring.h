#pragma once
// Text types of the system library and the conversions between them.
//
// ustring is UTF-16 (16-bit units). Narrow strings are UTF-8 throughout the
// library. The "platform narrow character set" (what file names and system
// calls use) is UTF-8 on the POSIX systems this library runs on, so the
// platform conversions below are the identity, checked for valid UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

using ustring = std::u16string;

namespace VelSys {

// UTF-8 to UTF-16. Invalid sequences become U+FFFD.
ustring UTF8ToUni16(std::string_view utf8);
// UTF-16 to UTF-8. Unpaired surrogates become U+FFFD.
std::string Uni16ToUTF8(std::u16string_view text);

// The C-style forms the older code calls.
ustring UTF8ToUni16Char(const char* utf8);
// Writes at most capacity - 1 bytes and a terminating NUL; never splits a
// character. Returns the number of bytes written without the NUL.
std::size_t Uni16CharToUTF8(const char16_t* text, std::size_t units, char* out, std::size_t capacity);

// Platform narrow strings (UTF-8 here).
std::string PlatformToUTF8(std::string_view platform);
std::string UTF8ToPlatform(std::string_view utf8);

}  // namespace VelSys

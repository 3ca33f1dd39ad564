#pragma once
// Event identifiers: 32-bit values, nearly all four-character codes whose
// bytes, most significant first, are the ASCII codes of the characters
// ("jope" is 0x6A6F7065).

#include <cstdint>

namespace QuillonCore {

using EventID = std::uint32_t;

constexpr EventID FourCharCode(const char (&code)[5]) {
    return (EventID(std::uint8_t(code[0])) << 24) | (EventID(std::uint8_t(code[1])) << 16) |
           (EventID(std::uint8_t(code[2])) << 8) | EventID(std::uint8_t(code[3]));
}

// The identifiers the library sends or listens to.
inline constexpr EventID kJobOpened = FourCharCode("jope");
inline constexpr EventID kJobClosed = FourCharCode("jclo");
inline constexpr EventID kJobActivated = FourCharCode("jact");
inline constexpr EventID kJobDeactivated = FourCharCode("jdea");
inline constexpr EventID kApplicationActivated = FourCharCode("aact");
inline constexpr EventID kApplicationDeactivated = FourCharCode("adea");
inline constexpr EventID kJobCopied = FourCharCode("jcop");
inline constexpr EventID kJobReverted = FourCharCode("jrev");
inline constexpr EventID kProcessingModeEntered = FourCharCode("AaCh");
inline constexpr EventID kEditLogChanged = FourCharCode("eLCh");
inline constexpr EventID kActionAdded = FourCharCode("acad");
inline constexpr EventID kActionUndone = FourCharCode("undo");
inline constexpr EventID kActionRedone = FourCharCode("redo");
inline constexpr EventID kLayerSelectionChanged = FourCharCode("lasc");
inline constexpr EventID kLayerStructureChanged = FourCharCode("lasx");

}  // namespace QuillonCore

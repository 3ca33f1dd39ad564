#include "platform/velsys/Uni16Search.h"

#include <algorithm>
#include <cwctype>

namespace VelSys {

namespace {

char16_t folded(char16_t unit) {
    return unit < 0x80 ? static_cast<char16_t>(std::towlower(unit)) : unit;
}

}  // namespace

std::ptrdiff_t Uni16CharFindSubStringWithOptions(std::u16string_view text,
                                                 std::u16string_view token, int options) {
    if (!(options & kFindIgnoreCase)) {
        const std::size_t at = text.find(token);
        return at == std::u16string_view::npos ? -1 : static_cast<std::ptrdiff_t>(at);
    }
    auto found = std::search(text.begin(), text.end(), token.begin(), token.end(),
                             [](char16_t a, char16_t b) { return folded(a) == folded(b); });
    return found == text.end() && !token.empty() ? -1 : found - text.begin();
}

}  // namespace VelSys

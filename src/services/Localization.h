#pragma once
// Looking up the library's user-facing texts, and the message identifier
// convertor that gives the general library's numeric codes their text.

#include <string>

#include "platform/velsys/ustring.h"

namespace QuillonCore {

// The library's own text domain.
inline constexpr const char* kDefaultDomain = "QuillonLib";

// Installs the message identifier convertor. Idempotent: a second call keeps
// the convertor already installed.
void LocalizationInitialize();

// The text of a key in a domain (empty: the library's domain). For a
// disabled domain the key itself is returned.
std::string GetLocalizedUTF8String(const std::string& key, const std::string& domain);
ustring GetLocalizedUni16String(const std::string& key, const std::string& domain);

// Disables lookups in a domain for the rest of the process.
void DisableLocalization(const std::string& domain);

}  // namespace QuillonCore

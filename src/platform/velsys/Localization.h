#pragma once
// The localization catalogue of the system library, backed by GNU gettext.
//
// Catalogues are gettext .mo files named after their domain. A key is looked
// up first in the caller's message locale (LC_MESSAGES / LANGUAGE), then in
// the library's base language (English), which is installed with the library.
// A key found in neither gives the default, or the key itself when the
// default is empty.

#include <string>

#include "platform/velsys/ustring.h"

namespace VelSys {

class Localization {
public:
    static ustring GetString(const std::string& key, const std::string& domain, const ustring& defaultText);

    // The folder holding <language>/LC_MESSAGES/<domain>.mo. Defaults to
    // $QUILLON_LOCALEDIR, else the build tree's catalogues, else the
    // installation's.
    static void SetCatalogueFolder(const std::string& folder);
    static std::string GetCatalogueFolder();
};

}  // namespace VelSys

#include "platform/velsys/Localization.h"

#include <libintl.h>
#include <locale.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <set>

namespace VelSys {

namespace {

std::string& catalogueFolder() {
    static std::string folder = [] {
        if (const char* env = std::getenv("QUILLON_LOCALEDIR")) return std::string(env);
        const std::string probe = "/C.UTF-8/LC_MESSAGES/QuillonLib.mo";
        if (std::filesystem::exists(std::string(QUILLON_BUILD_LOCALEDIR) + probe)) return std::string(QUILLON_BUILD_LOCALEDIR);
        return std::string(QUILLON_INSTALL_LOCALEDIR);
    }();
    return folder;
}

std::set<std::string>& boundDomains() {
    static std::set<std::string> domains;
    return domains;
}

void bindDomain(const std::string& domain) {
    if (!boundDomains().insert(domain).second) return;
    bindtextdomain(domain.c_str(), catalogueFolder().c_str());
    bind_textdomain_codeset(domain.c_str(), "UTF-8");
}

// gettext never translates in the plain "C" locale. The base language is
// therefore looked up under the thread locale "C.UTF-8", whose catalogue is
// the English one (installed under that name as well as "en").
const char* lookupBase(const std::string& domain, const std::string& key) {
    static locale_t base = newlocale(LC_MESSAGES_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    if (!base) return key.c_str();
    const locale_t previous = uselocale(base);
    const char* text = dgettext(domain.c_str(), key.c_str());
    uselocale(previous);
    return text;
}

}  // namespace

ustring Localization::GetString(const std::string& key, const std::string& domain, const ustring& defaultText) {
    if (key.empty()) return defaultText;
    bindDomain(domain);
    const char* text = dgettext(domain.c_str(), key.c_str());
    if (key == text) text = lookupBase(domain, key);
    if (key == text) return defaultText.empty() ? UTF8ToUni16(key) : defaultText;
    return UTF8ToUni16(text);
}

void Localization::SetCatalogueFolder(const std::string& folder) {
    catalogueFolder() = folder;
    for (const std::string& domain : boundDomains()) bindtextdomain(domain.c_str(), folder.c_str());
}

std::string Localization::GetCatalogueFolder() { return catalogueFolder(); }

}  // namespace VelSys

#include "services/Localization.h"

#include <set>

#include "platform/velsys/Localization.h"
#include "services/QuillonMessageIDConvertor.h"

namespace QuillonCore {

namespace {

std::set<std::string>& disabledDomains() {
    static std::set<std::string> domains;
    return domains;
}

const std::string& effectiveDomain(const std::string& domain) {
    static const std::string kDefault = kDefaultDomain;
    return domain.empty() ? kDefault : domain;
}

}  // namespace

void LocalizationInitialize() {
    // Lives for the rest of the process: the general library keeps a plain pointer.
    static QuillonMessageIDConvertor convertor;
    if (VelGen::GetMessageIDConvertor() != &convertor) VelGen::SetMessageIDConvertor(&convertor);
}

ustring GetLocalizedUni16String(const std::string& key, const std::string& domain) {
    const std::string& d = effectiveDomain(domain);
    if (disabledDomains().count(d)) return VelSys::UTF8ToUni16(key);
    return VelSys::Localization::GetString(key, d, ustring());
}

std::string GetLocalizedUTF8String(const std::string& key, const std::string& domain) {
    // Converted through a growing string: no fixed 3 x length buffer to overflow.
    return VelSys::Uni16ToUTF8(GetLocalizedUni16String(key, domain));
}

void DisableLocalization(const std::string& domain) { disabledDomains().insert(effectiveDomain(domain)); }

}  // namespace QuillonCore

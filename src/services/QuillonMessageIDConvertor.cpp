#include "services/QuillonMessageIDConvertor.h"

#include "services/Localization.h"

namespace QuillonCore {

std::string QuillonMessageIDConvertor::Convert(unsigned code) {
    switch (code) {
        case 100: return GetLocalizedUTF8String("CANNOT READ TIFF FILE", "");
        case 101: return GetLocalizedUTF8String("OUT OF MEMORY", "");
        case 102:
        case 103: return GetLocalizedUTF8String("ERROR IN FILE FORMAT", "");
        default: return "Unknown error";
    }
}

}  // namespace QuillonCore

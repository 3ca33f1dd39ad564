#include "platform/velsys/Error.h"

namespace VelSys::Core {

Error::Error(Severity severity, const ustring& title)
    : mSeverity(severity), mTitle(title), mWhat(Uni16ToUTF8(title)) {}

}  // namespace VelSys::Core

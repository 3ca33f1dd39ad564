#include "services/Message.h"

#include "platform/velsys/Time.h"

namespace QuillonCore {

Message::Message(const ustring& description, const VelSys::Core::Error::Severity& severity)
    : Error(severity, description),
      mDescription(description),
      mTimeStamp(VelSys::UTF8ToUni16(VelSys::Time::Now().GetISO8601String())) {}

}  // namespace QuillonCore

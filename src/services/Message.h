#pragma once
// A ready-made error carrying a description and the time it was made. Its
// title is the description, so the message log's word filter finds it.

#include <memory>

#include "platform/velsys/Error.h"

namespace QuillonCore {

class Message : public VelSys::Core::Error {
  public:
    Message(const ustring& description, const VelSys::Core::Error::Severity& severity);

    virtual ustring GetDescription() const { return mDescription; }
    // UTC in ISO 8601 form, to the second.
    virtual ustring GetTimeStamp() const { return mTimeStamp; }
    // A new copy, owned by the caller.
    virtual Message* Clone() const { return new Message(*this); }

  private:
    ustring mDescription;
    ustring mTimeStamp;
};

}  // namespace QuillonCore

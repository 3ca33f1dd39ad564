#pragma once
// Base of the parameters sent with an event. A parameter lives on the
// sender's stack for one dispatch; handlers get it by const reference, must
// not keep it, and check its class with dynamic_cast before reading it.

// The host's job and view records; the library only passes pointers on.
struct jobstr;
struct viestr;

namespace QuillonCore {

class EventParameter {
  public:
    EventParameter() = default;
    virtual ~EventParameter() = default;
    EventParameter(const EventParameter&) = default;
    EventParameter& operator=(const EventParameter&) = default;
};

}  // namespace QuillonCore

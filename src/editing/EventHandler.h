#pragma once
// A registration: the receiver that owns it and the callable to invoke with
// the sending dispatcher and the event's parameter.

#include <functional>

namespace QuillonCore {

class EventDispatcher;
class EventParameter;
class EventReceiver;

class EventHandler {
  public:
    using Method = std::function<void(EventDispatcher*, const EventParameter&)>;

    EventHandler(EventReceiver* receiver, Method method)
        : mReceiver(receiver), mMethod(std::move(method)) {}

    EventReceiver* GetReceiver() const { return mReceiver; }
    Method GetMethod() const { return mMethod; }
    // Calls the method (std::bad_function_call when it is empty).
    void Invoke(EventDispatcher* sender, const EventParameter& parameter) const {
        mMethod(sender, parameter);
    }

  private:
    EventReceiver* mReceiver;
    Method mMethod;
};

}  // namespace QuillonCore

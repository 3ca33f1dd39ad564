#pragma once
// Base of every listener. A receiver knows the dispatchers it is registered
// with and unregisters from all of them when it is destroyed, so a dead
// receiver is never called.

#include <cstdint>
#include <set>

namespace QuillonCore {

class EventDispatcher;

class EventReceiver {
  public:
    EventReceiver() = default;
    virtual ~EventReceiver();
    EventReceiver(const EventReceiver&) = delete;
    EventReceiver& operator=(const EventReceiver&) = delete;

    // Removes this receiver's handlers from every dispatcher.
    void UnregisterEventHandlers();
    // Tells this receiver apart from one made later at the same address.
    std::uint64_t Serial() const { return mSerial; }
    // Whether this receiver is (or is about to be) registered with the dispatcher.
    bool IsRegisteredWith(const EventDispatcher* dispatcher) const {
        return mDispatchers.count(const_cast<EventDispatcher*>(dispatcher)) != 0;
    }

  private:
    friend class EventDispatcher;
    void NotifyReceiverWasRegistered(EventDispatcher* dispatcher) {
        mDispatchers.insert(dispatcher);
    }
    void NotifyReceiverWasUnregistered(EventDispatcher* dispatcher) {
        mDispatchers.erase(dispatcher);
    }

    static std::uint64_t NextSerial();

    std::set<EventDispatcher*> mDispatchers;
    const std::uint64_t mSerial = NextSerial();
};

}  // namespace QuillonCore

#pragma once
// The sending side of the library's events: handlers are registered per
// event identifier and called in order of registration.
//
// Handlers may register, unregister, dispatch again and destroy receivers
// while a dispatch runs. Registrations made during a dispatch take effect
// when the outermost dispatch returns; a receiver unregistered during a
// dispatch is not called again, not even later in the same walk. A receiver
// unregistered and registered again within one dispatch ends with no
// handlers here.
//
// Do not destroy a dispatcher from one of its own handlers. Should it happen
// anyway, the dispatch returns at once without touching the dead object.

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "editing/EventHandler.h"
#include "editing/EventID.h"

namespace QuillonCore {

class EventDispatcher {
  public:
    EventDispatcher() = default;
    virtual ~EventDispatcher();
    EventDispatcher(const EventDispatcher&) = delete;
    EventDispatcher& operator=(const EventDispatcher&) = delete;

    // A null receiver is ignored. Registering a receiver twice for one
    // identifier makes it run twice per dispatch.
    void RegisterEventHandler(const EventHandler& handler, EventID id);
    void RegisterEventHandler(EventReceiver* receiver, EventHandler::Method method, EventID id);
    void RegisterSimpleEventHandler(EventReceiver* receiver, std::function<void()> method,
                                    EventID id);
    void UnregisterReceiver(EventReceiver* receiver);

    // A handler that throws ends the dispatch; the exception reaches the
    // caller after deferred registrations are settled.
    void DispatchEvent(EventID id);
    void DispatchEvent(EventID id, const EventParameter& parameter);

    // Handlers registered for an identifier (pending ones not included).
    std::size_t HandlerCount(EventID id) const;
    bool IsDispatching() const { return mDispatchDepth > 0; }

  protected:
    // Shared with each running dispatch, which checks it after every
    // handler: false once the dispatcher has been destroyed.
    std::shared_ptr<bool> LivenessToken() const { return mAlive; }

  private:
    class DepthGuard;

    void ReallyUnregisterReceiver(EventReceiver* receiver);
    void AddHandler(const EventHandler& handler, EventID id);
    void SettleDeferredWork();
    bool IsPendingUnregistration(EventReceiver* receiver) const {
        return mPendingUnregistrations.count(receiver) != 0;
    }
    // This very object (not a later one at its address) was unregistered
    // during the running dispatch.
    bool WasUnregisteredDuringDispatch(const EventReceiver* receiver) const;
    void DropPendingHandlers(EventReceiver* receiver);

    std::map<EventID, std::vector<EventHandler>> mHandlers;
    std::map<EventReceiver*, std::set<EventID>> mReceiverEvents;
    std::map<EventID, std::vector<EventHandler>> mPendingHandlers;
    // Receivers unregistered during the dispatch, with their serial numbers.
    // Their pending registrations are dropped at once.
    std::map<EventReceiver*, std::uint64_t> mPendingUnregistrations;
    int mDispatchDepth = 0;
    std::shared_ptr<bool> mAlive = std::make_shared<bool>(true);
};

}  // namespace QuillonCore

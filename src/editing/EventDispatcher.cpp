#include "editing/EventDispatcher.h"

#include <algorithm>

#include "editing/EventParameter.h"
#include "editing/EventReceiver.h"
#include "platform/velsys/Debug.h"

namespace QuillonCore {

// Counts one dispatch in progress. Leaving the outermost one, also by an
// exception, settles what was deferred, unless the dispatcher died meanwhile.
class EventDispatcher::DepthGuard {
  public:
    explicit DepthGuard(EventDispatcher& dispatcher)
        : mDispatcher(dispatcher), mAlive(dispatcher.mAlive) {
        ++mDispatcher.mDispatchDepth;
    }
    ~DepthGuard() {
        if (!*mAlive) return;
        if (--mDispatcher.mDispatchDepth == 0) mDispatcher.SettleDeferredWork();
    }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;
    bool DispatcherAlive() const { return *mAlive; }

  private:
    EventDispatcher& mDispatcher;
    std::shared_ptr<bool> mAlive;
};

// Receivers are told before the containers go, so none calls back into a
// destroyed dispatcher; that includes receivers whose registration was still
// pending. Those unregistered during a dispatch were told then.
EventDispatcher::~EventDispatcher() {
    *mAlive = false;
    std::set<EventReceiver*> receivers;
    for (const auto& [receiver, ids] : mReceiverEvents)
        if (!IsPendingUnregistration(receiver)) receivers.insert(receiver);
    for (const auto& [id, handlers] : mPendingHandlers)
        for (const EventHandler& handler : handlers) receivers.insert(handler.GetReceiver());
    for (EventReceiver* receiver : receivers) receiver->NotifyReceiverWasUnregistered(this);
}

void EventDispatcher::RegisterEventHandler(const EventHandler& handler, EventID id) {
    EventReceiver* receiver = handler.GetReceiver();
    if (!receiver) {
        VelSys::debug("EventDispatcher: registration without a receiver ignored");
        return;
    }
    if (mDispatchDepth == 0) {
        AddHandler(handler, id);
    } else if (!WasUnregisteredDuringDispatch(receiver)) {
        // Known to the receiver at once: should it die before the dispatch
        // ends, its destructor withdraws the pending registration.
        mPendingHandlers[id].push_back(handler);
    } else {
        return;  // unregistered during this dispatch: the registration is dropped
    }
    receiver->NotifyReceiverWasRegistered(this);
}

void EventDispatcher::RegisterEventHandler(EventReceiver* receiver, EventHandler::Method method,
                                           EventID id) {
    RegisterEventHandler(EventHandler(receiver, std::move(method)), id);
}

void EventDispatcher::RegisterSimpleEventHandler(EventReceiver* receiver,
                                                 std::function<void()> method, EventID id) {
    RegisterEventHandler(
        receiver,
        [method = std::move(method)](EventDispatcher*, const EventParameter&) { method(); }, id);
}

void EventDispatcher::AddHandler(const EventHandler& handler, EventID id) {
    mHandlers[id].push_back(handler);
    mReceiverEvents[handler.GetReceiver()].insert(id);
}

void EventDispatcher::UnregisterReceiver(EventReceiver* receiver) {
    if (!receiver) {
        VelSys::debug("EventDispatcher: unregistration without a receiver ignored");
        return;
    }
    if (mDispatchDepth != 0) {
        DropPendingHandlers(receiver);
        mPendingUnregistrations[receiver] = receiver->Serial();
    } else {
        ReallyUnregisterReceiver(receiver);
    }
    receiver->NotifyReceiverWasUnregistered(this);
}

void EventDispatcher::ReallyUnregisterReceiver(EventReceiver* receiver) {
    auto found = mReceiverEvents.find(receiver);
    if (found == mReceiverEvents.end()) return;
    for (EventID id : found->second) {
        auto handlers = mHandlers.find(id);
        if (handlers == mHandlers.end()) continue;
        std::erase_if(handlers->second,
                      [receiver](const EventHandler& h) { return h.GetReceiver() == receiver; });
        if (handlers->second.empty()) mHandlers.erase(handlers);
    }
    mReceiverEvents.erase(found);
}

void EventDispatcher::DispatchEvent(EventID id) {
    DispatchEvent(id, EventParameter());
}

// The handler list is looked up afresh for every call: nothing of this
// dispatcher is held across a handler.
void EventDispatcher::DispatchEvent(EventID id, const EventParameter& parameter) {
    DepthGuard guard(*this);
    for (std::size_t i = 0;; ++i) {
        auto handlers = mHandlers.find(id);
        if (handlers == mHandlers.end() || i >= handlers->second.size()) break;
        const EventHandler handler = handlers->second[i];
        if (IsPendingUnregistration(handler.GetReceiver())) continue;
        handler.Invoke(this, parameter);
        if (!guard.DispatcherAlive()) return;
    }
}

bool EventDispatcher::WasUnregisteredDuringDispatch(const EventReceiver* receiver) const {
    auto found = mPendingUnregistrations.find(const_cast<EventReceiver*>(receiver));
    return found != mPendingUnregistrations.end() && found->second == receiver->Serial();
}

void EventDispatcher::DropPendingHandlers(EventReceiver* receiver) {
    for (auto it = mPendingHandlers.begin(); it != mPendingHandlers.end();) {
        std::erase_if(it->second,
                      [receiver](const EventHandler& h) { return h.GetReceiver() == receiver; });
        it = it->second.empty() ? mPendingHandlers.erase(it) : std::next(it);
    }
}

// Handlers still in the table for an unregistered address belong to the
// receivers unregistered during the dispatch; pending ones belong to live
// receivers only (an unregistration drops them). So the removals go first,
// and a receiver made at the address of a destroyed one keeps its
// registrations.
void EventDispatcher::SettleDeferredWork() {
    while (!mPendingUnregistrations.empty()) {
        EventReceiver* receiver = mPendingUnregistrations.begin()->first;
        ReallyUnregisterReceiver(receiver);
        mPendingUnregistrations.erase(mPendingUnregistrations.begin());
    }
    while (!mPendingHandlers.empty()) {
        auto first = mPendingHandlers.begin();
        const EventID id = first->first;
        std::vector<EventHandler> handlers = std::move(first->second);
        mPendingHandlers.erase(first);
        for (const EventHandler& handler : handlers) AddHandler(handler, id);
    }
}

std::size_t EventDispatcher::HandlerCount(EventID id) const {
    auto found = mHandlers.find(id);
    return found == mHandlers.end() ? 0 : found->second.size();
}

}  // namespace QuillonCore

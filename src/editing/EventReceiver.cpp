#include "editing/EventReceiver.h"

#include "editing/EventDispatcher.h"

namespace QuillonCore {

std::uint64_t EventReceiver::NextSerial() {
    static std::uint64_t serial = 0;
    return ++serial;
}

EventReceiver::~EventReceiver() {
    UnregisterEventHandlers();
}

// Each UnregisterReceiver call removes that dispatcher from the set.
void EventReceiver::UnregisterEventHandlers() {
    while (!mDispatchers.empty()) (*mDispatchers.begin())->UnregisterReceiver(this);
}

}  // namespace QuillonCore

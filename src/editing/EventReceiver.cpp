#include "editing/EventReceiver.h"

#include "editing/EventDispatcher.h"

namespace QuillonCore {

EventReceiver::~EventReceiver() {
    UnregisterEventHandlers();
}

// Each UnregisterReceiver call removes that dispatcher from the set.
void EventReceiver::UnregisterEventHandlers() {
    while (!mDispatchers.empty()) (*mDispatchers.begin())->UnregisterReceiver(this);
}

}  // namespace QuillonCore

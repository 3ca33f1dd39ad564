#include "editing/QuillonEventDispatcher.h"

#include "editing/JobEventParameter.h"
#include "editing/JobSourceDestinationEventParameter.h"
#include "platform/velgen/EventController.h"

namespace QuillonCore {

namespace {

bool gBridgeNotInstalled = true;
// Cleared when the dispatcher dies at process exit: later classic events
// then go nowhere.
QuillonEventDispatcher* gBridgeTarget = nullptr;

EventID classicJobEvent(int classicId) {
    switch (classicId) {
        case 0:
            return kJobOpened;
        case 3:
            return kJobClosed;
        case 4:
            return kJobActivated;
        case 6:
            return kJobDeactivated;
        case 28:
            return kJobReverted;
        default:
            return 0;
    }
}

int bridgeClassicEvent(const VelGen::Event& event) {
    if (!gBridgeTarget) return 0;
    const int id = event.GetID();
    if (const EventID jobEvent = classicJobEvent(id)) {
        gBridgeTarget->DispatchEvent(jobEvent, JobEventParameter(event.job()));
    } else if (id == 16) {
        gBridgeTarget->DispatchEvent(kApplicationActivated);
    } else if (id == 18) {
        gBridgeTarget->DispatchEvent(kApplicationDeactivated);
    } else if (id == 26) {
        gBridgeTarget->DispatchEvent(
            kJobCopied, JobSourceDestinationEventParameter(event.srcjob(), event.job()));
    }
    return 0;
}

}  // namespace

QuillonEventDispatcher& QuillonEventDispatcher::Instance() {
    static QuillonEventDispatcher instance;
    return instance;
}

QuillonEventDispatcher::~QuillonEventDispatcher() {
    if (gBridgeTarget == this) gBridgeTarget = nullptr;
}

void QuillonEventDispatcher::InstallClassicEventHandler() {
    if (!gBridgeNotInstalled) return;
    VelGen::AddEventHandler(bridgeClassicEvent);
    gBridgeTarget = this;
    gBridgeNotInstalled = false;
}

}  // namespace QuillonCore

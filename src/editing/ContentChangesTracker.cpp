#include "editing/ContentChangesTracker.h"

#include <map>
#include <vector>

#include "editing/HISTORY_ID.h"
#include "editing/JobEventParameter.h"
#include "editing/QuillonEventDispatcher.h"
#include "editing/SingleEventParameter.h"
#include "platform/velsys/Debug.h"

namespace QuillonCore {

int ContentChangesTracker::mIsInProcessingMode = 0;

namespace {

using WhatChanged = ContentChangesTracker::WhatChanged;

void addKinds(std::map<int, WhatChanged>& map, std::initializer_list<int> kinds, WhatChanged bits) {
    for (int kind : kinds) map[kind] = bits;
}

// Which kinds of content an action changes. Kinds 58 and 61 are absent:
// they change nothing a tracker reports.
const std::map<int, WhatChanged>& actionMap() {
    static const std::map<int, WhatChanged> map = [] {
        std::map<int, WhatChanged> m;
        for (int kind = 0; kind <= 63; ++kind) m[kind] = ContentChangesTracker::kContent;
        addKinds(m, {20, 33}, 0);
        addKinds(m, {8, 10, 11, 17, 18, 19, 24, 31, 35}, ContentChangesTracker::kAppearance);
        addKinds(m, {62},
                 ContentChangesTracker::kContent | ContentChangesTracker::kStructuralDesign);
        addKinds(m, {kHistoryRedoMarker, kHistoryUndoLastAction}, ContentChangesTracker::kContent);
        m.erase(58);
        m.erase(61);
        return m;
    }();
    return map;
}

}  // namespace

// Ends the outermost processing mode also when a report throws.
class ContentChangesTracker::ProcessingModeExit {
  public:
    ~ProcessingModeExit() { mIsInProcessingMode = 0; }
};

ContentChangesTracker::ContentChangesTracker(jobstr* job, EventDispatcher* history,
                                             EventDispatcher& layers) {
    layers.RegisterEventHandler(
        this, [this](EventDispatcher* s, const EventParameter& p) { LayersSelectionChanged(s, p); },
        kLayerSelectionChanged);
    layers.RegisterEventHandler(
        this, [this](EventDispatcher* s, const EventParameter& p) { LayersStructureChanged(s, p); },
        kLayerStructureChanged);
    auto& application = QuillonEventDispatcher::Instance();
    application.RegisterEventHandler(
        this, [this](EventDispatcher* s, const EventParameter& p) { JobWasClosed(s, p); },
        kJobClosed);
    application.RegisterEventHandler(
        this, [this](EventDispatcher* s, const EventParameter& p) { LayersStructureChanged(s, p); },
        kJobReverted);
    SetJob(job, history);
    static std::uint64_t serial = 0;
    LiveTrackers().emplace(this, ++serial);
}

ContentChangesTracker::~ContentChangesTracker() {
    LiveTrackers().erase(this);
}

std::map<ContentChangesTracker*, std::uint64_t>& ContentChangesTracker::LiveTrackers() {
    static std::map<ContentChangesTracker*, std::uint64_t> trackers;
    return trackers;
}

void ContentChangesTracker::SetJob(jobstr* job, EventDispatcher* history) {
    if (job == mJob) return;
    ForgetHistory();
    mJob = job;
    mHistory = history;
    if (!history) return;
    for (EventID id : {kActionAdded, kActionUndone, kActionRedone})
        history->RegisterEventHandler(
            this, [this](EventDispatcher* s, const EventParameter& p) { ActionChanged(s, p); }, id);
}

// The history may have been destroyed meanwhile (its teardown removed it
// from this receiver's dispatchers): then there is nothing to unregister.
void ContentChangesTracker::ForgetHistory() {
    if (mHistory && IsRegisteredWith(mHistory)) mHistory->UnregisterReceiver(this);
    mHistory = nullptr;
}

void ContentChangesTracker::Report(WhatChanged what) {
    if (InProcessingMode())
        mPending |= what;
    else if (what != 0)
        ContentChangedDetailedSelf(what);
}

bool ContentChangesTracker::ConcernsMyJob(const EventParameter& parameter) const {
    auto* jobParameter = dynamic_cast<const JobEventParameter*>(&parameter);
    return jobParameter && jobParameter->GetJob() == mJob;
}

void ContentChangesTracker::ActionChanged(EventDispatcher*, const EventParameter& parameter) {
    auto* action = dynamic_cast<const SingleEventParameter<HISTORY_ID>*>(&parameter);
    if (!action) return;
    auto found = actionMap().find(action->GetValue());
    if (found != actionMap().end()) Report(found->second);
}

void ContentChangesTracker::LayersSelectionChanged(EventDispatcher*, const EventParameter&) {
    Report(kLayerSelection);
}

void ContentChangesTracker::LayersStructureChanged(EventDispatcher*,
                                                   const EventParameter& parameter) {
    if (ConcernsMyJob(parameter)) Report(kContent);
}

void ContentChangesTracker::JobWasClosed(EventDispatcher*, const EventParameter& parameter) {
    if (!ConcernsMyJob(parameter)) return;
    ForgetHistory();
    mJob = nullptr;
}

void ContentChangesTracker::EnterProcessingMode(bool notify) {
    ++mIsInProcessingMode;
    if (notify) QuillonEventDispatcher::Instance().DispatchEvent(kProcessingModeEntered);
}

// Reports walk a snapshot: a report may destroy trackers (closing a job
// deletes its history and the tracker it owns) or create new ones, which
// are reported from the next exit on. Bits a report causes are kept for the
// next exit as well.
void ContentChangesTracker::ExitProcessingMode() {
    if (mIsInProcessingMode <= 0) {
        VelSys::debug("ContentChangesTracker: processing mode left without being entered");
        return;
    }
    if (mIsInProcessingMode > 1) {
        --mIsInProcessingMode;
        return;
    }
    ProcessingModeExit exit;
    const std::vector<std::pair<ContentChangesTracker*, std::uint64_t>> snapshot(
        LiveTrackers().begin(), LiveTrackers().end());
    for (const auto& [tracker, serial] : snapshot) {
        auto live = LiveTrackers().find(tracker);
        if (live == LiveTrackers().end() || live->second != serial) continue;
        const WhatChanged pending = tracker->mPending;
        tracker->mPending = 0;
        tracker->ContentChangedDetailedSelf(pending);
    }
}

}  // namespace QuillonCore

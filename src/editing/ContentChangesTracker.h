#pragma once
// Watches one job and turns the events that describe its edits (actions
// added, undone or redone; layer selection and structure changes; the job
// reverted or closed) into one call, ContentChangedDetailedSelf(what), whose
// bits say which kinds of content changed.
//
// In processing mode (a batch operation; the mode nests) trackers only
// collect the bits; the outermost ExitProcessingMode reports each live
// tracker's collection once, also when it is 0. The order in which trackers
// are reported is not defined.

#include <cstdint>
#include <map>

#include "editing/EventReceiver.h"

struct jobstr;

namespace QuillonCore {

class EventParameter;

class ContentChangesTracker : public EventReceiver {
  public:
    using WhatChanged = int;
    static constexpr WhatChanged kLayerSelection = 0xF;
    static constexpr WhatChanged kContent = 0x10;
    static constexpr WhatChanged kAppearance = 0x20;
    // Sent together with kContent only.
    static constexpr WhatChanged kStructuralDesign = 0x40;

    ContentChangesTracker(jobstr* job, EventDispatcher* history, EventDispatcher& layers);
    ~ContentChangesTracker() override;

    // Switches to another job and its edit history; nothing happens when the
    // job is the current one.
    void SetJob(jobstr* job, EventDispatcher* history);
    jobstr* GetJob() const { return mJob; }

    static void EnterProcessingMode(bool notify);
    // An exit without a matching enter is ignored.
    static void ExitProcessingMode();
    static bool InProcessingMode() { return mIsInProcessingMode > 0; }

    // The nesting count of processing mode.
    static int mIsInProcessingMode;

  protected:
    virtual void ContentChangedDetailedSelf(WhatChanged what) = 0;

    void ActionChanged(EventDispatcher* sender, const EventParameter& parameter);
    void LayersSelectionChanged(EventDispatcher* sender, const EventParameter& parameter);
    void LayersStructureChanged(EventDispatcher* sender, const EventParameter& parameter);
    void JobWasClosed(EventDispatcher* sender, const EventParameter& parameter);

  private:
    class ProcessingModeExit;

    void Report(WhatChanged what);
    bool ConcernsMyJob(const EventParameter& parameter) const;
    void ForgetHistory();
    // Each live tracker with its serial number, so that a tracker made at
    // the address of one destroyed during a report walk is told apart.
    static std::map<ContentChangesTracker*, std::uint64_t>& LiveTrackers();

    jobstr* mJob = nullptr;
    EventDispatcher* mHistory = nullptr;
    WhatChanged mPending = 0;
};

}  // namespace QuillonCore

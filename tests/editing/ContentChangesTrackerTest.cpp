#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "editing/EditHistoryList.h"
#include "editing/FunctionalContentChangesTracker.h"
#include "editing/JobEventParameter.h"
#include "editing/QuillonEventDispatcher.h"

using namespace QuillonCore;

namespace {

jobstr* const kJob = reinterpret_cast<jobstr*>(0x100);
jobstr* const kOtherJob = reinterpret_cast<jobstr*>(0x200);

class TrackerTest : public ::testing::Test {
  protected:
    std::unique_ptr<FunctionalContentChangesTracker> MakeTracker(std::vector<int>& reports) {
        return std::make_unique<FunctionalContentChangesTracker>(
            kJob, &history, layers, [&reports](int what) { reports.push_back(what); });
    }
    EditHistoryList history;
    EventDispatcher layers;
    std::vector<int> reports;
};

}  // namespace

TEST_F(TrackerTest, ActionsReportTheKindsOfContentTheyChange) {
    auto tracker = MakeTracker(reports);
    struct Case {
        HISTORY_ID kind;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {kHistoryMoveScaleOrRotateObjects, {0x20}},
        {kHistoryExecutePlugIn, {}},
        {kHistoryFixThinParts, {}},
        {kHistoryImportStructuralDesignFile, {0x50}},
        {kHistoryAlignObjects, {0x10}},
        {kHistoryRenameObject, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        reports.clear();
        history.AddEntry(c.kind, std::vector<VelSys::ql_rectangle<int>>{});
        EXPECT_EQ(reports, c.expected);
    }
    reports.clear();
    history.UndoLastAction(kHistoryRenameObject);  // undo and redo report as well
    history.RedoLastAction(kHistoryRenameObject);
    EXPECT_EQ(reports, std::vector<int>({}));
    history.UndoLastAction(kHistoryAlignObjects);  // not last: an undo marker (0x10)
    EXPECT_EQ(reports, std::vector<int>({0x10}));
}

TEST_F(TrackerTest, ProcessingModeCollectsAndTheOutermostExitReportsEveryTrackerOnce) {
    auto tracker = MakeTracker(reports);
    std::vector<int> idle;
    EventDispatcher otherLayers;
    FunctionalContentChangesTracker bystander(kOtherJob, nullptr, otherLayers,
                                              [&](int what) { idle.push_back(what); });
    ContentChangesTracker::EnterProcessingMode(false);
    ContentChangesTracker::EnterProcessingMode(false);
    layers.DispatchEvent(kLayerSelectionChanged);
    history.AddEntry(kHistoryMoveScaleOrRotateObjects, std::vector<VelSys::ql_rectangle<int>>{});
    ContentChangesTracker::ExitProcessingMode();  // inner: nothing
    EXPECT_TRUE(reports.empty());
    ContentChangesTracker::ExitProcessingMode();
    EXPECT_EQ(reports, std::vector<int>({0x2F}));
    EXPECT_EQ(idle, std::vector<int>({0}));  // nothing pending: told so
    EXPECT_FALSE(ContentChangesTracker::InProcessingMode());
    ContentChangesTracker::ExitProcessingMode();  // unbalanced: ignored
    EXPECT_FALSE(ContentChangesTracker::InProcessingMode());
    reports.clear();
    layers.DispatchEvent(kLayerSelectionChanged);
    EXPECT_EQ(reports, std::vector<int>({0xF}));
}

TEST_F(TrackerTest, LayerStructureRevertAndCloseConcernOnlyTheWatchedJob) {
    auto tracker = MakeTracker(reports);
    layers.DispatchEvent(kLayerStructureChanged, JobEventParameter(kOtherJob));
    layers.DispatchEvent(kLayerStructureChanged);  // no job parameter: ignored
    EXPECT_TRUE(reports.empty());
    layers.DispatchEvent(kLayerStructureChanged, JobEventParameter(kJob));
    QuillonEventDispatcher::Instance().DispatchEvent(kJobReverted, JobEventParameter(kJob));
    EXPECT_EQ(reports, std::vector<int>({0x10, 0x10}));
    QuillonEventDispatcher::Instance().DispatchEvent(kJobClosed, JobEventParameter(kOtherJob));
    EXPECT_EQ(tracker->GetJob(), kJob);
    QuillonEventDispatcher::Instance().DispatchEvent(kJobClosed, JobEventParameter(kJob));
    EXPECT_EQ(tracker->GetJob(), nullptr);
    reports.clear();
    history.AddEntry(kHistoryAlignObjects,
                     std::vector<VelSys::ql_rectangle<int>>{});  // no longer watched
    EXPECT_TRUE(reports.empty());
}

TEST_F(TrackerTest, SetJobSwitchesHistoriesAndSurvivesADestroyedOne) {
    auto tracker = MakeTracker(reports);
    EditHistoryList other;
    tracker->SetJob(kJob, &other);  // same job: nothing changes
    other.AddEntry(kHistoryAlignObjects, std::vector<VelSys::ql_rectangle<int>>{});
    EXPECT_TRUE(reports.empty());

    auto doomed = std::make_unique<EditHistoryList>();
    tracker->SetJob(kOtherJob, doomed.get());
    doomed->AddEntry(kHistoryAlignObjects, std::vector<VelSys::ql_rectangle<int>>{});
    EXPECT_EQ(reports, std::vector<int>({0x10}));
    doomed.reset();                 // destroyed without a close event
    tracker->SetJob(kJob, &other);  // must not reach the dead history
    other.AddEntry(kHistoryAlignObjects, std::vector<VelSys::ql_rectangle<int>>{});
    EXPECT_EQ(reports, std::vector<int>({0x10, 0x10}));
}

TEST_F(TrackerTest, ReportsMayDestroyOrCreateTrackersAndTheirOwnChangesWaitForTheNextExit) {
    std::vector<int> victimReports, bornReports;
    auto victim = MakeTracker(victimReports);
    std::unique_ptr<FunctionalContentChangesTracker> born;
    int calls = 0;
    auto tracker =
        std::make_unique<FunctionalContentChangesTracker>(kJob, &history, layers, [&](int what) {
            reports.push_back(what);
            if (calls++ > 0) return;
            victim.reset();
            born = MakeTracker(bornReports);
            layers.DispatchEvent(
                kLayerSelectionChanged);  // during the walk: kept for the next exit
        });
    ContentChangesTracker::EnterProcessingMode(false);
    ContentChangesTracker::ExitProcessingMode();
    EXPECT_EQ(reports, std::vector<int>({0}));
    EXPECT_TRUE(bornReports.empty());
    ContentChangesTracker::EnterProcessingMode(false);
    ContentChangesTracker::ExitProcessingMode();
    EXPECT_EQ(reports, std::vector<int>({0, 0xF}));
    EXPECT_EQ(bornReports, std::vector<int>({0xF}));
}

TEST_F(TrackerTest, AThrowingReportStillEndsProcessingMode) {
    FunctionalContentChangesTracker tracker(kJob, &history, layers, {});
    ContentChangesTracker::EnterProcessingMode(true);
    EXPECT_THROW(ContentChangesTracker::ExitProcessingMode(), std::bad_function_call);
    EXPECT_FALSE(ContentChangesTracker::InProcessingMode());
}

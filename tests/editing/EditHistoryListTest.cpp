#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "editing/EditHistoryList.h"
#include "editing/EventReceiver.h"
#include "editing/FunctionalContentChangesTracker.h"
#include "editing/QuillonEventDispatcher.h"
#include "editing/SingleEventParameter.h"

using namespace QuillonCore;
using Rect = VelSys::ql_rectangle<int>;
using Boxes = std::vector<Rect>;

namespace {

// Records the events of one list and the application's "eLCh".
struct EventLog : EventReceiver {
    explicit EventLog(EditHistoryList& list) {
        for (EventID id : {kActionAdded, kActionUndone, kActionRedone})
            list.RegisterEventHandler(
                this,
                [this, id](EventDispatcher*, const EventParameter& p) {
                    auto* kind = dynamic_cast<const SingleEventParameter<HISTORY_ID>*>(&p);
                    events.emplace_back(id, kind ? kind->GetValue() : -1);
                },
                id);
        QuillonEventDispatcher::Instance().RegisterSimpleEventHandler(
            this, [this] { events.emplace_back(kEditLogChanged, 0); }, kEditLogChanged);
    }
    int count(EventID id) const {
        return static_cast<int>(
            std::count_if(events.begin(), events.end(), [id](auto& e) { return e.first == id; }));
    }
    std::vector<std::pair<EventID, int>> events;
};

const Boxes kA{{0, 0, 10, 10}};
const Boxes kB{{20, 20, 30, 30}};
const Boxes kC{{40, 40, 50, 50}};

}  // namespace

TEST(EditHistoryList, ConsecutiveMergeableActionsFoldIntoOneEntry) {
    EditHistoryList list;
    EventLog log(list);
    list.AddEntry(kHistoryMoveScaleOrRotateObjects, kA);
    list.AddEntry(kHistoryMoveScaleOrRotateObjects, kB);
    ASSERT_EQ(list.NumEntries(), 1);
    const EditHistoryEntry* entry = list.GetEntry(0);
    EXPECT_EQ(entry->GetCount(), 2);
    EXPECT_EQ(entry->GetBBoxes(), Boxes({kA[0], kB[0]}));
    EXPECT_EQ(entry->NumSubEntries(), 2u);
    EXPECT_EQ(entry->GetDescription(), u"Move/scale or rotate objects");
    EXPECT_EQ(entry->GetDescriptionWithCount(), u"Move/scale or rotate objects (2x)");
    EXPECT_EQ(log.count(kActionAdded), 2);
    EXPECT_EQ(log.count(kEditLogChanged), 2);
}

TEST(EditHistoryList, UnmergeableKindsAndDifferentDescriptionsStaySeparate) {
    EditHistoryList list;
    list.AddEntry(kHistoryAddChangeBarcode, kA);
    list.AddEntry(kHistoryAddChangeBarcode, kA);
    list.AddEntry(kHistoryEditPaths, u"first", nullptr);
    list.AddEntry(kHistoryEditPaths, u"second", nullptr);
    EXPECT_EQ(list.NumEntries(), 4);
    EXPECT_EQ(list.GetEntry(4), nullptr);
    EXPECT_EQ(list.GetEntry(-1), nullptr);
}

TEST(EditHistoryList, UndoTakesOffTheLatestMergedActionAndRedoPutsItBack) {
    EditHistoryList list;
    EventLog log(list);
    for (const Boxes& b : {kA, kB, kC}) list.AddEntry(kHistoryMoveScaleOrRotateObjects, b);
    list.UndoLastAction(kHistoryMoveScaleOrRotateObjects);
    EXPECT_EQ(list.GetEntry(0)->GetCount(), 2);
    EXPECT_EQ(list.GetEntry(0)->GetBBoxes(), Boxes({kA[0], kB[0]}));
    ASSERT_EQ(list.NumRedoEntries(), 1);
    EXPECT_EQ(list.GetRedoEntry(0)->GetBBoxes(), kC);
    EXPECT_EQ(log.events.back(), std::make_pair(kEditLogChanged, 0));
    EXPECT_EQ(log.count(kActionUndone), 1);
    list.RedoLastAction(kHistoryMoveScaleOrRotateObjects);
    EXPECT_EQ(list.GetEntry(0)->GetCount(), 3);
    EXPECT_EQ(list.NumRedoEntries(), 0);

    list.AddEntry(kHistoryAlignObjects, kA);
    list.UndoLastAction(kHistoryAlignObjects);  // count 1: moves whole
    EXPECT_EQ(list.NumEntries(), 1);
    EXPECT_EQ(list.GetRedoEntry(0)->GetId(), kHistoryAlignObjects);
}

TEST(EditHistoryList, UndoAndRedoTheHistoryDoesNotShowUseMarkers) {
    EditHistoryList list;
    EventLog log(list);
    list.AddEntry(kHistoryAlignObjects, kA);
    list.UndoLastAction(kHistoryEditPaths);
    list.UndoLastAction(kHistoryEditPaths);
    ASSERT_EQ(list.NumEntries(), 2);
    EXPECT_EQ(list.GetEntry(1)->GetId(), kHistoryUndoLastAction);
    EXPECT_EQ(list.GetEntry(1)->GetCount(), 2);
    EXPECT_EQ(list.GetEntry(1)->GetDescription(), u"Undo last action");
    list.RedoLastAction(kHistoryEditPaths);
    EXPECT_EQ(list.GetEntry(1)->GetCount(), 1);
    EXPECT_EQ(log.events.end()[-2], std::make_pair(kActionRedone, int(kHistoryRedoMarker)));
    list.RedoLastAction(kHistoryEditPaths);
    EXPECT_EQ(list.NumEntries(), 1);

    list.UndoLastAction(kHistoryAlignObjects);  // to the redo side
    list.RedoLastAction(kHistoryEditPaths);     // not there, no marker: a redo marker entry
    ASSERT_EQ(list.NumEntries(), 1);
    EXPECT_EQ(list.GetEntry(0)->GetId(), kHistoryRedoMarker);
    EXPECT_TRUE(list.GetEntry(0)->GetDescription().empty());
    EXPECT_EQ(list.NumRedoEntries(), 0);
}

TEST(EditHistoryList, HandlersMayChangeOrDestroyTheListWhileAnEntryIsAdded) {
    EventReceiver receiver;
    auto list = std::make_unique<EditHistoryList>();
    list->AddEntry(kHistoryAlignObjects, kA);
    bool clearOnce = true;
    list->RegisterSimpleEventHandler(
        &receiver,
        [&] {
            if (clearOnce) list->Clear();
            clearOnce = false;
        },
        kActionAdded);
    list->AddEntry(kHistoryAlignObjects, kB);  // the entry it would merge into is gone
    ASSERT_EQ(list->NumEntries(), 1);
    EXPECT_EQ(list->GetEntry(0)->GetCount(), 1);

    list->RegisterSimpleEventHandler(
        &receiver, [&] { list.reset(); }, kActionAdded);
    list->AddEntry(kHistoryAlignObjects, kC);
    EXPECT_EQ(list, nullptr);
}

TEST(EditHistoryEntry, DescriptionsComeFromTheCatalogueAndTheCountSuffixIsAppended) {
    EXPECT_EQ(EditHistoryEntry(kHistoryTrapping).GetDescription(), u"Trapping");
    EXPECT_TRUE(EditHistoryEntry(kHistoryRedoMarker).GetDescription().empty());
    EXPECT_TRUE(EditHistoryEntry(static_cast<HISTORY_ID>(12345)).GetDescription().empty());
    // A long, non-ASCII description keeps every unit.
    const ustring longText = ustring(300, u'\u00e9') + u"\u4e2d";
    EditHistoryEntry entry(kHistoryEditPaths, longText);
    entry.MergeNewEntry(new EditHistoryEntry(kHistoryEditPaths, longText));
    EXPECT_EQ(entry.GetDescriptionWithCount(), longText + u" (2x)");
}

TEST(EditHistoryList, ATrackerHandedOverAgainIsKept) {
    EventDispatcher layers;
    auto list = std::make_unique<EditHistoryList>();
    auto* tracker = new FunctionalContentChangesTracker(nullptr, list.get(), layers, [](int) {});
    list->SetFunctionalContentChangesTracker(tracker);
    list->SetFunctionalContentChangesTracker(tracker);
    EXPECT_EQ(list->GetFunctionalContentChangesTracker(), tracker);
    list.reset();  // deletes the tracker once
}

#pragma once
// The edit history of a job: the actions performed (the undo side, shown as
// the edit log, oldest first) and the actions undone (the redo side, most
// recently undone last). The host performs undo and redo itself and reports
// each action, undo and redo here; the list mirrors them, announces every
// change and is stored as a record of the job file.
//
// Events: "acad", "undo" and "redo" on the list itself, with the action kind
// as a SingleEventParameter<HISTORY_ID>; "eLCh" on the application
// dispatcher after every change.

#include <memory>
#include <vector>

#include "editing/EditHistoryEntry.h"
#include "editing/EventDispatcher.h"

namespace VelSys {
class fil;
}

namespace QuillonCore {

class BoundingBoxList;
class FunctionalContentChangesTracker;

class EditHistoryList : public EventDispatcher {
  public:
    using Rect = VelSys::ql_rectangle<int>;

    EditHistoryList();
    ~EditHistoryList() override;

    // Takes ownership. clearRedo: the action starts a new branch of history.
    void AddEntry(EditHistoryEntry* entry, bool clearRedo);
    // Entries described by the table, with the given boxes (a box list of
    // 11 or more rectangles is united first).
    void AddEntry(HISTORY_ID id, BoundingBoxList* boxes);
    void AddEntry(HISTORY_ID id, const std::vector<Rect>& boxes);
    void AddEntry(HISTORY_ID id, const ustring& description, BoundingBoxList* boxes);

    // The host undid or redid an action of this kind.
    void UndoLastAction(HISTORY_ID id);
    void RedoLastAction(HISTORY_ID id);

    int NumEntries() const { return static_cast<int>(mUndo.size()); }
    // Null when the index is out of range; 0 is the oldest.
    const EditHistoryEntry* GetEntry(int index) const;
    int NumRedoEntries() const { return static_cast<int>(mRedo.size()); }
    const EditHistoryEntry* GetRedoEntry(int index) const;

    // Both delete entries without sending events.
    void Clear();
    void ClearRedoList() { mRedo.clear(); }
    // Sends "eLCh" on the application dispatcher.
    void DispatchUpdate();

    // Takes ownership; a different tracker held before is deleted.
    void SetFunctionalContentChangesTracker(FunctionalContentChangesTracker* tracker);
    FunctionalContentChangesTracker* GetFunctionalContentChangesTracker() const {
        return mTracker.get();
    }

    // The undo side as a framed record: a framed header holding the entry
    // count, then one framed record per entry; boxes relative to (x, y).
    void Write(VelSys::fil* file, int x, int y) const;
    // Replaces the list's content by the record. A count above 2^30 - 1 or
    // negative throws std::length_error (after the list was cleared); reading
    // stops at the record's end whatever the count claims.
    void Read(VelSys::fil* file, int x, int y);

  private:
    void AddEntryWithBoxes(HISTORY_ID id, const ustring& description, BoundingBoxList* boxes);
    void SendAction(EventID event, HISTORY_ID id);
    static void SendEditLogChanged();
    void MergeRedoMarker();
    void ReadEntries(VelSys::fil* file, int x, int y, std::int32_t count, int end);

    std::vector<std::unique_ptr<EditHistoryEntry>> mUndo;
    std::vector<std::unique_ptr<EditHistoryEntry>> mRedo;
    std::unique_ptr<FunctionalContentChangesTracker> mTracker;
};

}  // namespace QuillonCore

#pragma once
// One line of the edit log: an action kind, its description, how many
// actions of that kind it stands for, and the area they changed.
//
// Consecutive mergeable actions fold into one entry. The entry then keeps
// each action as a sub-entry (the first one a clone of the entry as it was)
// so that undo can take the latest one off again. Entries read from a job
// file have no sub-entries.

#include <cstdint>
#include <memory>
#include <vector>

#include "editing/HISTORY_ID.h"
#include "platform/velsys/Rectangle.h"
#include "platform/velsys/ustring.h"

namespace VelSys {
class fil;
}

namespace QuillonCore {

class EditHistoryEntry {
  public:
    using Rect = VelSys::ql_rectangle<int>;

    // Without a description, the entry takes its kind's text from the table.
    explicit EditHistoryEntry(HISTORY_ID id);
    EditHistoryEntry(HISTORY_ID id, const std::vector<Rect>& boxes);
    EditHistoryEntry(HISTORY_ID id, const ustring& description);
    EditHistoryEntry(HISTORY_ID id, const ustring& description, const std::vector<Rect>& boxes);
    // Reads the entry from a file (see Read); marks it as loaded.
    EditHistoryEntry(VelSys::fil* file, int x, int y);
    virtual ~EditHistoryEntry();
    EditHistoryEntry(const EditHistoryEntry&) = delete;
    EditHistoryEntry& operator=(const EditHistoryEntry&) = delete;

    // A copy of id, description, boxes, count and flag; no sub-entries.
    std::unique_ptr<EditHistoryEntry> Clone() const;

    HISTORY_ID GetId() const { return mId; }
    int GetCount() const { return mCount; }
    const std::vector<Rect>& GetBBoxes() const { return mBoxes; }
    virtual const ustring& GetDescription() const { return mDescription; }
    // The description with " (3x)" for a merged entry made in this session.
    virtual ustring GetDescriptionWithCount() const;
    bool IsLoadedFromFile() const { return mLoadedFromFile; }
    std::size_t NumSubEntries() const { return mSubEntries.size(); }

    // Folds a later action into this entry (takes ownership).
    virtual void MergeNewEntry(EditHistoryEntry* entry);
    // Takes the latest merged action off; null when there is none to take
    // (count 1 or less, or fewer than two sub-entries). The caller owns it.
    EditHistoryEntry* UndoLastAction();
    // As UndoLastAction, and when the sub-entries are not known (an entry
    // read from a file) one action is split off with the entry's id,
    // description and all its boxes. Null only for an entry of count 1 or less.
    EditHistoryEntry* DetachOneAction();
    void RecalcBoxesFromSubEntries();

    // The entry as a framed record; boxes relative to (x, y).
    void Write(VelSys::fil* file, int x, int y) const;
    // Reads a record written by Write (or by an older or newer writer);
    // never reads past the record, nor past enclosingEnd when given. A
    // damaged field leaves its value empty and sets the file's error state.
    void Read(VelSys::fil* file, int x, int y);
    void Read(VelSys::fil* file, int x, int y, int enclosingEnd);

    // Whether the record could hold an id and a count (set by Read).
    bool HasIdentity() const { return mHasIdentity; }

  private:
    HISTORY_ID mId;
    std::vector<Rect> mBoxes;
    int mCount = 1;
    ustring mDescription;
    std::vector<std::unique_ptr<EditHistoryEntry>> mSubEntries;
    bool mLoadedFromFile = false;
    bool mHasIdentity = true;
};

}  // namespace QuillonCore

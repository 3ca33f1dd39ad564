#include "editing/EditHistoryList.h"

#include <algorithm>
#include <stdexcept>

#include "editing/BoundingBoxList.h"
#include "editing/FunctionalContentChangesTracker.h"
#include "editing/HistoryText.h"
#include "editing/QuillonEventDispatcher.h"
#include "editing/SingleEventParameter.h"
#include "platform/velsys/Debug.h"
#include "platform/velsys/fil.h"

namespace QuillonCore {

namespace {

constexpr std::int32_t kMaxStoredEntries = (1 << 30) - 1;
// Length, id, count, description length and legacy box count.
constexpr int kSmallestEntryRecord = 20;

std::vector<EditHistoryEntry::Rect> boxesOf(BoundingBoxList* boxes) {
    return boxes ? boxes->GetBBoxes() : std::vector<EditHistoryEntry::Rect>();
}

}  // namespace

EditHistoryList::EditHistoryList() {
    mUndo.reserve(8);
}

EditHistoryList::~EditHistoryList() {
    Clear();
    mTracker.reset();
}

// Handlers of "acad" may change the list or destroy it: the last entry is
// looked at only after they ran, and only when the list still exists.
void EditHistoryList::AddEntry(EditHistoryEntry* entry, bool clearRedo) {
    std::unique_ptr<EditHistoryEntry> owned(entry);
    if (!owned) {
        VelSys::debug("EditHistoryList: null entry ignored");
        return;
    }
    if (clearRedo) ClearRedoList();
    const auto alive = LivenessToken();
    DispatchEvent(kActionAdded, SingleEventParameter<HISTORY_ID>(owned->GetId()));
    if (!*alive) return;
    EditHistoryEntry* last = mUndo.empty() ? nullptr : mUndo.back().get();
    if (last && last->GetId() == owned->GetId() &&
        last->GetDescription() == owned->GetDescription() &&
        HistoryText::IsMergeable(owned->GetId())) {
        last->MergeNewEntry(owned.release());
    } else {
        mUndo.push_back(std::move(owned));
    }
    SendEditLogChanged();
}

void EditHistoryList::AddEntry(HISTORY_ID id, BoundingBoxList* boxes) {
    AddEntryWithBoxes(id, HistoryText::Description(id), boxes);
}

void EditHistoryList::AddEntry(HISTORY_ID id, const std::vector<Rect>& boxes) {
    AddEntry(new EditHistoryEntry(id, boxes), true);
}

void EditHistoryList::AddEntry(HISTORY_ID id, const ustring& description, BoundingBoxList* boxes) {
    AddEntryWithBoxes(id, description, boxes);
}

void EditHistoryList::AddEntryWithBoxes(HISTORY_ID id, const ustring& description,
                                        BoundingBoxList* boxes) {
    AddEntry(new EditHistoryEntry(id, description, boxesOf(boxes)), true);
}

// An entry standing for several actions gives one of them to the redo side;
// one that stands for a single action moves there whole.
void EditHistoryList::UndoLastAction(HISTORY_ID id) {
    if (mUndo.empty() || mUndo.back()->GetId() != id) {
        AddEntry(new EditHistoryEntry(kHistoryUndoLastAction), true);
        return;
    }
    if (EditHistoryEntry* one = mUndo.back()->DetachOneAction()) {
        mRedo.emplace_back(one);
    } else {
        mRedo.push_back(std::move(mUndo.back()));
        mUndo.pop_back();
    }
    SendAction(kActionUndone, id);
}

void EditHistoryList::RedoLastAction(HISTORY_ID id) {
    if (!mRedo.empty() && mRedo.back()->GetId() == id) {
        std::unique_ptr<EditHistoryEntry> entry = std::move(mRedo.back());
        mRedo.pop_back();
        AddEntry(entry.release(), false);
    } else if (!mUndo.empty() && mUndo.back()->GetId() == kHistoryUndoLastAction) {
        MergeRedoMarker();
    } else {
        AddEntry(new EditHistoryEntry(kHistoryRedoMarker), true);
    }
}

// A redo cancels one undo that the history did not show.
void EditHistoryList::MergeRedoMarker() {
    mUndo.back()->MergeNewEntry(new EditHistoryEntry(kHistoryRedoMarker));
    if (mUndo.back()->GetCount() <= 0) mUndo.pop_back();
    SendAction(kActionRedone, kHistoryRedoMarker);
}

void EditHistoryList::SendAction(EventID event, HISTORY_ID id) {
    const auto alive = LivenessToken();
    DispatchEvent(event, SingleEventParameter<HISTORY_ID>(id));
    if (*alive) SendEditLogChanged();
}

const EditHistoryEntry* EditHistoryList::GetEntry(int index) const {
    return index >= 0 && index < NumEntries() ? mUndo[static_cast<std::size_t>(index)].get()
                                              : nullptr;
}

const EditHistoryEntry* EditHistoryList::GetRedoEntry(int index) const {
    return index >= 0 && index < NumRedoEntries() ? mRedo[static_cast<std::size_t>(index)].get()
                                                  : nullptr;
}

void EditHistoryList::Clear() {
    mUndo.clear();
    mRedo.clear();
}

void EditHistoryList::DispatchUpdate() {
    SendEditLogChanged();
}

void EditHistoryList::SendEditLogChanged() {
    QuillonEventDispatcher::Instance().DispatchEvent(kEditLogChanged);
}

void EditHistoryList::SetFunctionalContentChangesTracker(FunctionalContentChangesTracker* tracker) {
    if (tracker == mTracker.get()) return;
    mTracker.reset(tracker);
}

void EditHistoryList::Write(VelSys::fil* file, int x, int y) const {
    const int record = VelSys::filwripos(file);
    const int header = VelSys::filwripos(file);
    VelSys::filwri32sub(file, static_cast<std::int32_t>(mUndo.size()));
    VelSys::filwrilen(file, header);
    for (const auto& entry : mUndo) entry->Write(file, x, y);
    VelSys::filwrilen(file, record);
}

void EditHistoryList::Read(VelSys::fil* file, int x, int y) {
    const int end = VelSys::filreapos(file);
    const int headerEnd = VelSys::filreapos(file, end);
    std::int32_t count = 0;
    if (headerEnd - VelSys::filpos(file) >= 4)
        count = VelSys::filrea32sub(file);
    else
        VelSys::filseterr(file, VelSys::kCorruptRecord);
    VelSys::filpos(file, headerEnd);
    Clear();
    if (count < 0 || count > kMaxStoredEntries) {
        VelSys::filpos(file, end);
        throw std::length_error("edit log: stored entry count out of range");
    }
    ReadEntries(file, x, y, count, end);
    VelSys::filpos(file, end);
}

// Room is reserved for what the record can hold, not for what it claims.
void EditHistoryList::ReadEntries(VelSys::fil* file, int x, int y, std::int32_t count, int end) {
    mUndo.reserve(static_cast<std::size_t>(
        std::min(count, (end - VelSys::filpos(file)) / kSmallestEntryRecord)));
    for (std::int32_t i = 0; i < count && end - VelSys::filpos(file) >= 4; ++i) {
        auto entry = std::make_unique<EditHistoryEntry>(kHistoryNone, ustring());
        entry->Read(file, x, y, end);
        if (entry->HasIdentity()) mUndo.push_back(std::move(entry));
    }
}

}  // namespace QuillonCore

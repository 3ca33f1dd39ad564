#include "editing/EditHistoryEntry.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "editing/HistoryText.h"
#include "platform/velsys/fil.h"

// Entry record (framed, big-endian int32 unless said otherwise):
//   id, count,
//   n, then n UTF-16 units: the description and one zero unit,
//   legacy box count (written 0), then that many boxes in absolute coordinates,
//   box count, then that many boxes relative to the origin (x, y).
// A box is four int32: low x, low y, high x, high y. Readers skip what
// follows the relative boxes, so newer writers may append fields.

namespace QuillonCore {

namespace {

constexpr std::int64_t kBoxBytes = 16;

// Coordinates wrap in 32 bits, as the stored values always did.
std::int32_t wrappedAdd(std::int32_t a, std::int64_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

EditHistoryEntry::Rect moved(const EditHistoryEntry::Rect& r, std::int64_t dx, std::int64_t dy) {
    return {wrappedAdd(r.lowX, dx), wrappedAdd(r.lowY, dy), wrappedAdd(r.highX, dx),
            wrappedAdd(r.highY, dy)};
}

// Reads inside one record: nothing is read past its end.
class RecordCursor {
  public:
    RecordCursor(VelSys::fil* file, int end) : mFile(file), mEnd(end) {}

    std::int64_t Left() const { return std::max<std::int64_t>(0, mEnd - VelSys::filpos(mFile)); }
    bool Int32(std::int32_t& value) {
        if (Left() < 4) return false;
        value = VelSys::filrea32sub(mFile);
        return true;
    }
    // A count of items of itemBytes each that must fit in the record.
    bool Count(std::int64_t itemBytes, std::int32_t& count) {
        if (!Int32(count)) return false;
        if (count >= 0 && count * itemBytes <= Left()) return true;
        count = 0;
        return false;
    }
    bool Boxes(std::int64_t dx, std::int64_t dy, std::vector<EditHistoryEntry::Rect>& boxes) {
        std::int32_t count = 0;
        if (!Count(kBoxBytes, count)) return false;
        boxes.clear();
        boxes.reserve(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i) {
            EditHistoryEntry::Rect r;
            for (std::int32_t* v : {&r.lowX, &r.lowY, &r.highX, &r.highY}) Int32(*v);
            boxes.push_back(moved(r, dx, dy));
        }
        return true;
    }
    bool AtEnd() const { return Left() == 0; }
    void Finish() { VelSys::filpos(mFile, mEnd); }

  private:
    VelSys::fil* mFile;
    int mEnd;
};

bool readDescription(RecordCursor& cursor, VelSys::fil* file, ustring& description) {
    std::int32_t units = 0;
    if (!cursor.Count(2, units)) return false;
    description.clear();
    bool cut = false;
    for (std::int32_t i = 0; i < units; ++i) {
        const char16_t unit = static_cast<char16_t>(VelSys::filrea16sub(file));
        cut = cut || unit == 0;
        if (!cut) description += unit;
    }
    return true;
}

}  // namespace

EditHistoryEntry::EditHistoryEntry(HISTORY_ID id)
    : EditHistoryEntry(id, HistoryText::Description(id)) {}

EditHistoryEntry::EditHistoryEntry(HISTORY_ID id, const std::vector<Rect>& boxes)
    : EditHistoryEntry(id, HistoryText::Description(id), boxes) {}

EditHistoryEntry::EditHistoryEntry(HISTORY_ID id, const ustring& description)
    : EditHistoryEntry(id, description, {}) {}

EditHistoryEntry::EditHistoryEntry(HISTORY_ID id, const ustring& description,
                                   const std::vector<Rect>& boxes)
    : mId(id), mBoxes(boxes), mDescription(description) {}

EditHistoryEntry::EditHistoryEntry(VelSys::fil* file, int x, int y) : mId(kHistoryNone) {
    Read(file, x, y);
}

EditHistoryEntry::~EditHistoryEntry() = default;

std::unique_ptr<EditHistoryEntry> EditHistoryEntry::Clone() const {
    auto copy = std::make_unique<EditHistoryEntry>(mId, mDescription, mBoxes);
    copy->mCount = mCount;
    copy->mLoadedFromFile = mLoadedFromFile;
    return copy;
}

// Only the suffix is formatted: the description may be long and is not ASCII.
ustring EditHistoryEntry::GetDescriptionWithCount() const {
    if (mLoadedFromFile || mCount <= 1) return mDescription;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, " (%dx)", mCount);
    return mDescription + VelSys::UTF8ToUni16(suffix);
}

void EditHistoryEntry::MergeNewEntry(EditHistoryEntry* entry) {
    std::unique_ptr<EditHistoryEntry> merged(entry);
    if (mId == kHistoryUndoLastAction && merged->mId == kHistoryRedoMarker) {
        --mCount;
        return;
    }
    if (mSubEntries.empty()) {
        mSubEntries.push_back(Clone());
        mSubEntries.back()->mCount = 1;
    }
    mBoxes.insert(mBoxes.end(), merged->mBoxes.begin(), merged->mBoxes.end());
    if (mCount < INT_MAX) ++mCount;
    mSubEntries.push_back(std::move(merged));
}

EditHistoryEntry* EditHistoryEntry::UndoLastAction() {
    if (mCount <= 1 || mSubEntries.size() < 2) return nullptr;
    EditHistoryEntry* last = mSubEntries.back().release();
    mSubEntries.pop_back();
    --mCount;
    RecalcBoxesFromSubEntries();
    return last;
}

EditHistoryEntry* EditHistoryEntry::DetachOneAction() {
    if (EditHistoryEntry* last = UndoLastAction()) return last;
    if (mCount <= 1) return nullptr;
    --mCount;
    // The boxes of the one action are not known; all of them cover it.
    std::unique_ptr<EditHistoryEntry> one = Clone();
    one->mCount = 1;
    return one.release();
}

void EditHistoryEntry::RecalcBoxesFromSubEntries() {
    mBoxes.clear();
    for (const auto& sub : mSubEntries)
        mBoxes.insert(mBoxes.end(), sub->mBoxes.begin(), sub->mBoxes.end());
}

void EditHistoryEntry::Write(VelSys::fil* file, int x, int y) const {
    const int record = VelSys::filwripos(file);
    VelSys::filwri32sub(file, mId);
    VelSys::filwri32sub(file, mCount);
    VelSys::filwri32sub(file, static_cast<std::int32_t>(mDescription.size() + 1));
    for (char16_t unit : mDescription) VelSys::filwri16sub(file, unit);
    VelSys::filwri16sub(file, 0);
    VelSys::filwri32sub(file, 0);  // legacy absolute boxes: none
    VelSys::filwri32sub(file, static_cast<std::int32_t>(mBoxes.size()));
    for (const Rect& box : mBoxes) {
        const Rect r = moved(box, -std::int64_t(x), -std::int64_t(y));
        for (std::int32_t v : {r.lowX, r.lowY, r.highX, r.highY}) VelSys::filwri32sub(file, v);
    }
    VelSys::filwrilen(file, record);
}

void EditHistoryEntry::Read(VelSys::fil* file, int x, int y) {
    Read(file, x, y, -1);
}

void EditHistoryEntry::Read(VelSys::fil* file, int x, int y, int enclosingEnd) {
    mBoxes.clear();
    mDescription.clear();
    mSubEntries.clear();
    mCount = 1;
    mLoadedFromFile = true;
    RecordCursor cursor(file, VelSys::filreapos(file, enclosingEnd));
    std::int32_t id = 0, count = 1;
    mHasIdentity = cursor.Int32(id) && cursor.Int32(count);
    mId = static_cast<HISTORY_ID>(id);
    mCount = count < 1 ? 1 : count;
    const bool intact = mHasIdentity && readDescription(cursor, file, mDescription) &&
                        cursor.Boxes(0, 0, mBoxes) &&
                        (cursor.AtEnd() || cursor.Boxes(x, y, mBoxes));
    if (!intact) VelSys::filseterr(file, VelSys::kCorruptRecord);
    cursor.Finish();
}

}  // namespace QuillonCore

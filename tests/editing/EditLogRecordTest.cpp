// The edit log as a record of the job file: round trips, records of older
// and newer writers, and damaged or lying records.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "editing/EditHistoryList.h"
#include "platform/velsys/fil.h"

using namespace QuillonCore;
using Rect = VelSys::ql_rectangle<int>;
using Boxes = std::vector<Rect>;
using Bytes = std::vector<unsigned char>;

namespace {

// Big-endian record bytes, built by hand to show what other writers store.
struct RecordBuilder {
    Bytes bytes;
    RecordBuilder& i32(std::int64_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes.push_back(static_cast<unsigned char>(v >> shift));
        return *this;
    }
    RecordBuilder& units(const std::u16string& text) {
        for (char16_t u : text)
            bytes.push_back(static_cast<unsigned char>(u >> 8)), bytes.push_back(u & 0xFF);
        return *this;
    }
    RecordBuilder& box(const Rect& r) { return i32(r.lowX).i32(r.lowY).i32(r.highX).i32(r.highY); }
    RecordBuilder& raw(const Bytes& b) {
        bytes.insert(bytes.end(), b.begin(), b.end());
        return *this;
    }
    // Frames what was built so far; claim overrides the stored length.
    Bytes framed(std::int64_t claim = -1) const {
        RecordBuilder r;
        r.i32(claim < 0 ? std::int64_t(bytes.size()) : claim).raw(bytes);
        return r.bytes;
    }
};

Bytes entryRecord(int id, int count, const std::u16string& text, const Boxes& legacy,
                  const Boxes* relative, const Bytes& trailing = {}) {
    RecordBuilder e;
    e.i32(id)
        .i32(count)
        .i32(std::int64_t(text.size()) + 1)
        .units(text)
        .units(std::u16string(1, u'\0'));
    e.i32(std::int64_t(legacy.size()));
    for (const Rect& r : legacy) e.box(r);
    if (relative) {
        e.i32(std::int64_t(relative->size()));
        for (const Rect& r : *relative) e.box(r);
    }
    return e.raw(trailing).framed();
}

Bytes listRecord(std::int64_t count, const std::vector<Bytes>& entries,
                 const Bytes& headerTrailing = {}) {
    RecordBuilder list;
    list.raw(RecordBuilder().i32(count).raw(headerTrailing).framed());
    for (const Bytes& e : entries) list.raw(e);
    return list.framed();
}

Bytes written(const EditHistoryList& list, int x, int y) {
    VelSys::fil file;
    file.createMemory();
    list.Write(&file, x, y);
    return file.contents();
}

// Reads a list record followed by a marker word; the reader must stop
// exactly at the record's end.
struct ReadResult {
    EditHistoryList list;
    bool error = false;
    bool positionedAtEnd = false;
};

void readInto(ReadResult& result, Bytes bytes, int x = 0, int y = 0) {
    const std::size_t end = bytes.size();
    bytes.insert(bytes.end(), {0x12, 0x34, 0x56, 0x78});
    VelSys::fil file;
    file.openMemory(bytes);
    result.list.Read(&file, x, y);
    result.error = VelSys::filerr(&file) != 0;
    result.positionedAtEnd = VelSys::filpos(&file) == static_cast<int>(end);
}

}  // namespace

TEST(EditLogRecord, WhatWeWriteReadsBackEqual) {
    EditHistoryList list;
    list.AddEntry(kHistoryMoveScaleOrRotateObjects, Boxes{{0, 0, 10, 10}});
    list.AddEntry(kHistoryMoveScaleOrRotateObjects, Boxes{{-5, 3, 7, 9}});
    list.AddEntry(kHistoryEditPaths, u"Kurve \u00e4ndern \u4e2d", nullptr);
    list.AddEntry(kHistoryTrapping,
                  Boxes{{INT_MIN, INT_MIN, INT_MAX, INT_MAX}});  // wraps with the origin
    ReadResult back;
    readInto(back, written(list, 123456, -987654), 123456, -987654);
    EXPECT_FALSE(back.error);
    EXPECT_TRUE(back.positionedAtEnd);
    ASSERT_EQ(back.list.NumEntries(), 3);
    for (int i = 0; i < 3; ++i) {
        const EditHistoryEntry* a = list.GetEntry(i);
        const EditHistoryEntry* b = back.list.GetEntry(i);
        EXPECT_EQ(b->GetId(), a->GetId());
        EXPECT_EQ(b->GetCount(), a->GetCount());
        EXPECT_EQ(b->GetDescription(), a->GetDescription());
        EXPECT_EQ(b->GetBBoxes(), a->GetBBoxes());
        EXPECT_EQ(b->NumSubEntries(), 0u);
        EXPECT_TRUE(b->IsLoadedFromFile());
        EXPECT_EQ(b->GetDescriptionWithCount(),
                  b->GetDescription());  // no count suffix for loaded entries
    }
}

TEST(EditLogRecord, OlderAndNewerWritersAreRead) {
    const Boxes absolute{{100, 200, 300, 400}};
    const Boxes relative{{1, 2, 3, 4}};
    ReadResult result;
    readInto(result,
             listRecord(3,
                        {entryRecord(11, 1, u"legacy", absolute, nullptr),
                         entryRecord(24, 2, u"both", absolute, &relative),
                         entryRecord(4, 1, u"newer", {}, &relative,
                                     RecordBuilder().i32(77).i32(-1).bytes)},
                        RecordBuilder().i32(5).i32(6).bytes),
             10, 20);
    EXPECT_FALSE(result.error);
    EXPECT_TRUE(result.positionedAtEnd);
    ASSERT_EQ(result.list.NumEntries(), 3);
    EXPECT_EQ(result.list.GetEntry(0)->GetBBoxes(), absolute);  // taken as they are
    EXPECT_EQ(result.list.GetEntry(1)->GetBBoxes(),
              Boxes({{11, 22, 13, 24}}));  // replaced, origin added
    EXPECT_EQ(result.list.GetEntry(2)->GetDescription(), u"newer");
    EXPECT_EQ(result.list.GetEntry(2)->GetBBoxes(), Boxes({{11, 22, 13, 24}}));
}

TEST(EditLogRecord, DescriptionsStopAtTheFirstZeroAndCountsBelowOneReadAsOne) {
    RecordBuilder e;
    e.i32(7).i32(-5).i32(4).units(u"ab").units(std::u16string(1, u'\0')).units(u"c").i32(0).i32(0);
    ReadResult result;
    readInto(result, listRecord(2, {e.framed(), entryRecord(9999, 0, u"", {}, nullptr)}));
    ASSERT_EQ(result.list.NumEntries(), 2);
    EXPECT_EQ(result.list.GetEntry(0)->GetDescription(), u"ab");
    EXPECT_EQ(result.list.GetEntry(0)->GetCount(), 1);
    EXPECT_EQ(result.list.GetEntry(1)->GetCount(), 1);
}

TEST(EditLogRecord, DamagedOrLyingRecordsAreRefusedWithinTheirFrame) {
    const Boxes one{{1, 2, 3, 4}};
    const Bytes good = entryRecord(1, 1, u"good", {}, &one);
    auto entryWith = [](std::int64_t units, std::int64_t legacy, std::int64_t boxes) {
        return RecordBuilder()
            .i32(24)
            .i32(3)
            .i32(units)
            .units(u"ok")
            .i32(legacy)
            .i32(boxes)
            .box({9, 9, 9, 9})
            .framed();
    };
    struct Case {
        const char* what;
        Bytes record;
        int entries;        // read entries
        const char* text;   // description of the first entry
        std::size_t boxes;  // boxes of the first entry
    };
    const Case cases[] = {
        {"description longer than the entry", listRecord(2, {entryWith(0x7FFFFFFF, 0, 1), good}), 2,
         "", 0},
        {"negative description length", listRecord(2, {entryWith(-1, 0, 1), good}), 2, "", 0},
        {"legacy boxes beyond the entry", listRecord(2, {entryWith(2, 1000000, 1), good}), 2, "ok",
         0},
        {"box count beyond the entry", listRecord(2, {entryWith(2, 0, 0x40000000), good}), 2, "ok",
         0},
        {"negative box count", listRecord(2, {entryWith(2, 0, -3), good}), 2, "ok", 0},
        {"entry claims more than the list",
         listRecord(2, {RecordBuilder().i32(5).i32(1).framed(1000)}), 1, "", 0},
        {"entry too short for id and count", listRecord(2, {RecordBuilder().i32(5).framed(), good}),
         1, "good", 1},
        {"count claims more entries than held", listRecord(1000000, {good}), 1, "good", 1},
        {"header without a count", RecordBuilder().raw(RecordBuilder().framed()).raw(good).framed(),
         0, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ReadResult result;
        readInto(result, c.record);
        EXPECT_TRUE(result.positionedAtEnd);
        ASSERT_EQ(result.list.NumEntries(), c.entries);
        if (c.entries == 0) continue;
        EXPECT_EQ(result.list.GetEntry(0)->GetDescription(), VelSys::UTF8ToUni16(c.text));
        EXPECT_EQ(result.list.GetEntry(0)->GetBBoxes().size(), c.boxes);
        EXPECT_EQ(
            result.list.NumEntries() == 2 ? result.list.GetEntry(1)->GetDescription() : u"good",
            u"good");
    }
}

TEST(EditLogRecord, ATruncatedListRecordIsRefused) {
    Bytes bytes = listRecord(1, {entryRecord(1, 1, u"x", {}, nullptr)});
    bytes[3] += 100;  // claims 100 bytes the file does not have
    VelSys::fil file;
    file.openMemory(bytes);
    EditHistoryList list;
    list.AddEntry(kHistoryAlignObjects, Boxes{});
    list.Read(&file, 0, 0);
    EXPECT_EQ(list.NumEntries(), 0);
    EXPECT_NE(VelSys::filerr(&file), 0);
    EXPECT_EQ(VelSys::filpos(&file), static_cast<int>(bytes.size()));
}

TEST(EditLogRecord, StoredCountsOutOfRangeThrowAfterClearing) {
    for (std::int64_t count : {std::int64_t(-1), std::int64_t(1) << 30, std::int64_t(INT_MAX)}) {
        SCOPED_TRACE(count);
        EditHistoryList list;
        list.AddEntry(kHistoryAlignObjects, Boxes{});
        VelSys::fil file;
        file.openMemory(listRecord(count, {}));
        EXPECT_THROW(list.Read(&file, 0, 0), std::length_error);
        EXPECT_EQ(list.NumEntries(), 0);
    }
}

TEST(EditLogRecord, MergedEntriesReadFromAFileUndoOneActionAtATime) {
    ReadResult loaded;
    const Boxes boxes{{0, 0, 5, 5}, {10, 10, 20, 20}};
    readInto(loaded, listRecord(1, {entryRecord(24, 3, u"Move", {}, &boxes)}));
    EditHistoryList& history = loaded.list;
    history.UndoLastAction(kHistoryMoveScaleOrRotateObjects);
    ASSERT_EQ(history.NumEntries(), 1);
    EXPECT_EQ(history.GetEntry(0)->GetCount(), 2);
    ASSERT_EQ(history.NumRedoEntries(), 1);
    const EditHistoryEntry* undone = history.GetRedoEntry(0);
    EXPECT_EQ(undone->GetCount(), 1);
    EXPECT_EQ(undone->GetDescription(), u"Move");
    EXPECT_EQ(undone->GetBBoxes(), boxes);  // the union covers the one action
    history.RedoLastAction(kHistoryMoveScaleOrRotateObjects);
    EXPECT_EQ(history.GetEntry(0)->GetCount(), 3);
    for (int i = 0; i < 3; ++i) history.UndoLastAction(kHistoryMoveScaleOrRotateObjects);
    EXPECT_EQ(history.NumEntries(), 0);
    EXPECT_EQ(history.NumRedoEntries(), 3);
    for (int i = 0; i < 3; ++i) history.RedoLastAction(kHistoryMoveScaleOrRotateObjects);
    ASSERT_EQ(history.NumEntries(), 1);
    EXPECT_EQ(history.GetEntry(0)->GetCount(), 3);
}

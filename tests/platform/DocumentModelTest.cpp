#include <gtest/gtest.h>

#include <vector>

#include "platform/veldb/Path.h"
#include "platform/veldb/Sequence.h"
#include "platform/veldb/scan.h"

using namespace VelDB;

namespace {

std::vector<Object*> members(const Object* list) {
    std::vector<Object*> out;
    queryseq query(list);
    while (Object* o = query.quenex()) out.push_back(o);
    return out;
}

// A closed triangle (0,0) (0,10) (10,0) with a curve as its second segment.
Path* triangle() {
    Path* path = patbeg();
    patlin(path, 0, 0);
    patlin(path, 0, 10);
    patbez(path, 5, 10, 10, 5, 10, 0);
    patendclo(path);
    return path;
}

struct Item {
    Point end;
    bool curve, start;
    bool operator==(const Item&) const = default;
};

std::vector<Item> walk(const Object* object, int reverse) {
    scan scanner;
    std::vector<Item> out;
    if (scanner.scabeg(object, reverse, 0) != 0) return out;
    Item item{};
    while (scanner.scanex(nullptr, nullptr, &item.end, &item.curve, &item.start))
        out.push_back(item);
    scanner.scaend();
    return out;
}

}  // namespace

TEST(DocumentModel, KindBitsOfPathsGroupsAndCompounds) {
    Path* path = patbeg();
    Sequence* group = seqnew();
    Sequence* compound = comnew();
    EXPECT_TRUE(path->hasProperties(kKindPath, true));
    EXPECT_TRUE(group->hasProperties(kKindGroup, true));
    EXPECT_FALSE(group->hasProperties(kKindCompound, false));
    EXPECT_TRUE(compound->hasProperties(kKindGroup | kKindCompound, true));
    objins(compound, path);
    objins(group, compound);
    EXPECT_EQ(path->getRoot(), group);
    objrem(group);
}

TEST(DocumentModel, RemovedMembersAreGoneAndCyclesAreRefused) {
    Sequence* outer = seqnew();
    Sequence* inner = seqnew();
    Path* a = patbeg();
    Path* b = patbeg();
    objins(outer, inner);
    objins(inner, a);
    objins(inner, b);
    objins(inner, outer);  // would hold its own container
    objins(inner, inner);
    EXPECT_EQ(members(inner), (std::vector<Object*>{a, b}));
    EXPECT_EQ(outer->parent(), nullptr);
    objrem(a);
    EXPECT_EQ(members(inner), (std::vector<Object*>{b}));
    objins(outer, b);  // moves
    EXPECT_EQ(members(inner), std::vector<Object*>{});
    EXPECT_EQ(members(outer), (std::vector<Object*>{inner, b}));
    objrem(outer);
}

TEST(DocumentModel, TheScannerClosesContoursAndWalksBackwards) {
    Path* path = triangle();
    const std::vector<Item> forward = {{{0, 0}, false, true},
                                       {{0, 10}, false, false},
                                       {{10, 0}, true, false},
                                       {{0, 0}, false, false}};
    EXPECT_EQ(walk(path, 0), forward);
    const std::vector<Item> backward = {{{0, 0}, false, true},
                                        {{10, 0}, false, false},
                                        {{0, 10}, true, false},
                                        {{0, 0}, false, false}};
    EXPECT_EQ(walk(path, 1), backward);
    EXPECT_EQ(path->getBoundingBox(), (VelSys::ql_rectangle<int>{0, 0, 10, 10}));
    Sequence* empty = seqnew();
    EXPECT_TRUE(walk(empty, 0).empty());
    objrem(empty);
    objrem(path);
}

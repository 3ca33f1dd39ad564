#include <gtest/gtest.h>

#include <vector>

#include "editing/BoundingBoxList.h"
#include "platform/veldb/Path.h"
#include "platform/veldb/Sequence.h"
#include "platform/veldb/SpatialTree.h"

using namespace QuillonCore;
using Rect = VelSys::ql_rectangle<int>;
using Boxes = std::vector<Rect>;

namespace {

// A path whose bounding box is (a, a) to (a + 10, a + 10).
VelDB::Path* square(VelDB::Object* container, int a) {
    VelDB::Path* path = VelDB::patbeg();
    VelDB::patlin(path, a, a);
    VelDB::patlin(path, a + 10, a + 10);
    VelDB::patend(path);
    VelDB::objins(container, path);
    return path;
}

Rect box(int a) {
    return {a, a, a + 10, a + 10};
}

}  // namespace

TEST(BoundingBoxList, ElevenOrMoreRectanglesAreUnited) {
    BoundingBoxList list;
    for (int i = 0; i < 10; ++i) list.AddRect({-100 - i, 5, -50, -20 + i});
    EXPECT_EQ(list.GetBBoxes().size(), 10u);
    list.AddRect({3, 4, 7, 8});
    list.AddObject(nullptr);
    EXPECT_EQ(list.GetBBoxes(), Boxes({{-109, 4, 7, 8}}));
    list.Clear();
    list.AddRect({-30, -30, -10, -10});
    list.UniteAll();
    EXPECT_EQ(list.GetBBoxes(), Boxes({{-30, -30, 0, 0}}));  // high corner not below 0
    list.Clear();
    list.UniteAll();
    EXPECT_TRUE(list.IsEmpty());
}

TEST(BoundingBoxList, WalksOfTheLayerTreeCollectChangedSelectedAndPaintedObjects) {
    VelDB::SpatialTree tree;
    VelDB::Sequence* layer = VelDB::seqnew();
    layer->setCreationLevel(1);  // older than the edit: the walk enters it
    VelDB::objins(tree.root(), layer);
    square(layer, 0);
    VelDB::Path* old = square(layer, 100);
    old->setCreationLevel(2);
    VelDB::Sequence* group = VelDB::seqnew();  // an old group holding a fresh path
    group->setCreationLevel(1);
    VelDB::objins(layer, group);
    VelDB::Path* inner = square(group, 200);
    VelDB::flaset(old, 0x10000);
    VelDB::flaset(inner, 0x10000 | 4);  // selected but excluded
    inner->setPaint(7);

    BoundingBoxList changed, selected, painted;
    changed.AddAllChanged(&tree);
    selected.AddAllSelected(&tree);
    painted.AddByPaint(&tree, 7);
    EXPECT_EQ(changed.GetBBoxes(), Boxes({box(0), box(200)}));
    EXPECT_EQ(selected.GetBBoxes(), Boxes({box(100)}));
    EXPECT_EQ(painted.GetBBoxes(), Boxes({box(200)}));
}

#include "editing/BoundingBoxList.h"

#include <algorithm>
#include <functional>

#include "platform/veldb/Object.h"
#include "platform/veldb/ObjectVisitor.h"

namespace QuillonCore {

namespace {

constexpr int kUniteFrom = 11;
constexpr int kLowSeed = 10000000;

// Adds the box of each object the predicate accepts; the walk does not go
// into an object once its box is taken.
class BoxCollector : public VelDB::ObjectVisitor {
  public:
    BoxCollector(BoundingBoxList& list, std::function<bool(const VelDB::Object&)> accept,
                 bool enterText)
        : ObjectVisitor(0x820000, 0, 0x8820000, 0),
          mList(list),
          mAccept(std::move(accept)),
          mEnterText(enterText) {}

    bool VisitObject(VelDB::Object* object) override {
        if (!mAccept(*object)) return true;
        mList.AddObject(object);
        return false;
    }
    bool VisitText(VelDB::Object*) override { return mEnterText; }

  private:
    BoundingBoxList& mList;
    std::function<bool(const VelDB::Object&)> mAccept;
    bool mEnterText;
};

void collect(BoundingBoxList& list, VelDB::SpatialTree* tree,
             std::function<bool(const VelDB::Object&)> accept, bool enterText = true) {
    BoxCollector collector(list, std::move(accept), enterText);
    VelDB::AcceptVisitor(collector, tree);
}

}  // namespace

const std::vector<BoundingBoxList::Rect>& BoundingBoxList::GetBBoxes() {
    if (mBoxes.size() >= kUniteFrom) UniteAll();
    return mBoxes;
}

void BoundingBoxList::AddObject(const VelDB::Object* object) {
    if (object) mBoxes.push_back(object->getBoundingBox());
}

void BoundingBoxList::AddAllChanged(VelDB::SpatialTree* tree) {
    collect(*this, tree, [](const VelDB::Object& o) {
        return o.getCreationLevel() == 0 && !o.hasProperties(4, true);
    });
}

void BoundingBoxList::AddAllSelected(VelDB::SpatialTree* tree) {
    collect(*this, tree, [](const VelDB::Object& o) {
        return VelDB::flaget(&o, 0x10000) && !VelDB::flaget(&o, 4);
    });
}

void BoundingBoxList::AddByPaint(VelDB::SpatialTree* tree, unsigned short paint) {
    collect(
        *this, tree, [paint](const VelDB::Object& o) { return o.getPaint() == paint; }, false);
}

void BoundingBoxList::UniteAll() {
    if (mBoxes.empty()) return;
    Rect united{kLowSeed, kLowSeed, 0, 0};
    for (const Rect& r : mBoxes) {
        united.lowX = std::min(united.lowX, r.lowX);
        united.lowY = std::min(united.lowY, r.lowY);
        united.highX = std::max(united.highX, r.highX);
        united.highY = std::max(united.highY, r.highY);
    }
    mBoxes.assign(1, united);
}

}  // namespace QuillonCore

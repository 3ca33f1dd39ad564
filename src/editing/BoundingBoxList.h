#pragma once
// The rectangles an editing action changed, collected by the host from
// single objects, from the changed or selected objects of a layer tree, or
// from the objects of one paint.

#include <vector>

#include "platform/velsys/Rectangle.h"

namespace VelDB {
class Object;
class SpatialTree;
}  // namespace VelDB

namespace QuillonCore {

class BoundingBoxList {
  public:
    using Rect = VelSys::ql_rectangle<int>;

    BoundingBoxList() { mBoxes.reserve(16); }
    virtual ~BoundingBoxList() = default;
    BoundingBoxList(const BoundingBoxList&) = default;
    BoundingBoxList& operator=(const BoundingBoxList&) = default;

    // The rectangles; 11 or more are first united into one.
    const std::vector<Rect>& GetBBoxes();

    void AddRect(const Rect& rect) { mBoxes.push_back(rect); }
    // A null object is ignored.
    void AddObject(const VelDB::Object* object);
    // Objects made by the current edit (creation level 0) without property 4.
    void AddAllChanged(VelDB::SpatialTree* tree);
    // Selected objects (flag 0x10000 set, flag 4 clear).
    void AddAllSelected(VelDB::SpatialTree* tree);
    // Objects of one paint; text objects are not entered.
    void AddByPaint(VelDB::SpatialTree* tree, unsigned short paint);

    // Replaces the rectangles by one covering them all. The low corner
    // starts from 10000000 and the high corner from 0, as stored files
    // expect, so the result never has high coordinates below 0. An empty
    // list stays empty.
    void UniteAll();
    void Clear() { mBoxes.clear(); }
    bool IsEmpty() const { return mBoxes.empty(); }

  private:
    std::vector<Rect> mBoxes;
};

}  // namespace QuillonCore

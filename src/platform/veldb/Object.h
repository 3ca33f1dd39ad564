#pragma once
// Base of every document object. Objects are made and deleted through the
// document model's calls (comnew, seqnew, patbeg, objdup, objrem); a
// container owns its members.

#include "platform/veldb/Tagged.h"
#include "platform/velsys/Rectangle.h"

namespace VelDB {

class Sequence;

class Object : public Tagged {
  public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // A deep copy of the object.
    virtual Object* clone() const = 0;
    // The smallest rectangle holding every point (control points included);
    // empty (all 0) for an object without points.
    virtual VelSys::ql_rectangle<int> getBoundingBox() const = 0;

    Sequence* parent() const { return mParent; }

    // 0 for an object made by the current edit; higher for older ones.
    int getCreationLevel() const { return mCreationLevel; }
    void setCreationLevel(int level) { mCreationLevel = level; }
    // The number of the paint the object is filled with.
    unsigned short getPaint() const { return mPaint; }
    void setPaint(unsigned short paint) { mPaint = paint; }
    // The outermost container (the object itself when it has none).
    Object* getRoot();

  private:
    friend class Sequence;
    Sequence* mParent = nullptr;
    int mCreationLevel = 0;
    unsigned short mPaint = 0;
};

// Deletes an object (removing it from its container first). Null is ignored.
void objrem(Object* object);
// A deep copy.
Object* objdup(const Object* object);

}  // namespace VelDB

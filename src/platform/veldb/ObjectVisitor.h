#pragma once
// A walk over the objects of a layer tree. AcceptVisitor calls VisitObject
// for every object, depth first in the order of the members; when it
// returns true and the object is a container, the walk goes on into its
// members. The masks select what the walk reports and are kept for the
// callers that read them back; VectorizeText and VisitText concern text
// objects, which this model does not hold yet.

namespace VelDB {

class Object;
class SpatialTree;

class ObjectVisitor {
  public:
    ObjectVisitor(unsigned visitFlags, unsigned second, unsigned mask, unsigned fourth)
        : mVisitFlags(visitFlags), mSecond(second), mMask(mask), mFourth(fourth) {}
    virtual ~ObjectVisitor() = default;

    // True: go on into the object.
    virtual bool VisitObject(Object* object) = 0;
    // A path standing in for a text object, or null to leave it as text.
    virtual Object* VectorizeText(Object*) { return nullptr; }
    // True: go on into a text object.
    virtual bool VisitText(Object*) { return true; }

    unsigned visitFlags() const { return mVisitFlags; }
    unsigned second() const { return mSecond; }
    unsigned mask() const { return mMask; }
    unsigned fourth() const { return mFourth; }

  private:
    unsigned mVisitFlags;
    unsigned mSecond;
    unsigned mMask;
    unsigned mFourth;
};

void AcceptVisitor(ObjectVisitor& visitor, SpatialTree* tree);

}  // namespace VelDB

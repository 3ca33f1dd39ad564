#pragma once
// The layer tree of a job: a group whose members are the layers, each a
// group of objects.

#include <memory>

#include "platform/veldb/Sequence.h"

namespace VelDB {

class SpatialTree {
  public:
    SpatialTree() : mRoot(seqnew()) {}
    Sequence* root() const { return mRoot.get(); }

  private:
    std::unique_ptr<Sequence> mRoot;
};

}  // namespace VelDB

#include "platform/veldb/ObjectVisitor.h"

#include "platform/veldb/Sequence.h"
#include "platform/veldb/SpatialTree.h"

namespace VelDB {

namespace {

// Members are taken by index: a visitor may not change the tree, but an
// index never outruns the list even if it does.
void visitMembers(ObjectVisitor& visitor, const Sequence& sequence) {
    for (std::size_t i = 0; i < sequence.members().size(); ++i) {
        Object* member = sequence.members()[i];
        if (!visitor.VisitObject(member)) continue;
        if (auto* inner = dynamic_cast<const Sequence*>(member)) visitMembers(visitor, *inner);
    }
}

}  // namespace

void AcceptVisitor(ObjectVisitor& visitor, SpatialTree* tree) {
    if (tree) visitMembers(visitor, *tree->root());
}

}  // namespace VelDB

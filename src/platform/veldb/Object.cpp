#include "platform/veldb/Object.h"

#include "platform/veldb/Sequence.h"

namespace VelDB {

Object* Object::getRoot() {
    Object* root = this;
    while (root->mParent) root = root->mParent;
    return root;
}

void objrem(Object* object) {
    if (!object) return;
    if (object->parent()) object->parent()->release(object);
    delete object;
}

Object* objdup(const Object* object) { return object ? object->clone() : nullptr; }

}  // namespace VelDB

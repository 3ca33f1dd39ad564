#include "platform/veldb/Sequence.h"

#include <algorithm>
#include <climits>

namespace VelDB {

Sequence::~Sequence() {
    for (Object* member : mMembers) {
        member->mParent = nullptr;
        delete member;
    }
}

Object* Sequence::clone() const {
    auto* copy = new Sequence(mCompound);
    copy->setFlags(flags());
    for (const Object* member : mMembers) copy->append(member->clone());
    return copy;
}

VelSys::ql_rectangle<int> Sequence::getBoundingBox() const {
    bool any = false;
    VelSys::ql_rectangle<int> box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
    for (const Object* member : mMembers) {
        const auto b = member->getBoundingBox();
        if (b == VelSys::ql_rectangle<int>{}) continue;
        any = true;
        box.lowX = std::min(box.lowX, b.lowX), box.lowY = std::min(box.lowY, b.lowY);
        box.highX = std::max(box.highX, b.highX), box.highY = std::max(box.highY, b.highY);
    }
    return any ? box : VelSys::ql_rectangle<int>{};
}

void Sequence::append(Object* object) {
    // Appending a container into itself or one of its own members would make
    // a cycle: walks and deletion would never end.
    for (const Object* up = this; up; up = up->parent())
        if (up == object) return;
    if (!object) return;
    if (object->mParent) object->mParent->release(object);
    object->mParent = this;
    mMembers.push_back(object);
}

bool Sequence::release(Object* object) {
    auto it = std::find(mMembers.begin(), mMembers.end(), object);
    if (it == mMembers.end()) return false;
    mMembers.erase(it);
    object->mParent = nullptr;
    return true;
}

Sequence* comnew() { return new Sequence(true); }
Sequence* seqnew() { return new Sequence(false); }

void objins(Object* list, Object* object) {
    if (auto* sequence = dynamic_cast<Sequence*>(list)) sequence->append(object);
}

queryseq::queryseq(const Object* sequence) : mSequence(dynamic_cast<const Sequence*>(sequence)) {}

Object* queryseq::quenex() {
    if (!mSequence || mNext >= mSequence->members().size()) return nullptr;
    return mSequence->members()[mNext++];
}

void queryseq::queend() { mSequence = nullptr; }

}  // namespace VelDB

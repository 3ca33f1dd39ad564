#pragma once
// A group or a compound: an ordered list of owned members.

#include <vector>

#include "platform/veldb/Object.h"

namespace VelDB {

class Sequence : public Object {
public:
    explicit Sequence(bool compound) : mCompound(compound) {}
    ~Sequence() override;

    unsigned kindBits() const override { return mCompound ? (kKindCompound | kKindGroup) : kKindGroup; }
    Object* clone() const override;
    VelSys::ql_rectangle<int> getBoundingBox() const override;

    const std::vector<Object*>& members() const { return mMembers; }
    // Appends (takes ownership; the object leaves its previous container).
    // The sequence itself or a container holding it is refused.
    void append(Object* object);
    // Releases a member without deleting it; false when it is not a member.
    bool release(Object* object);

private:
    bool mCompound;
    std::vector<Object*> mMembers;
};

Sequence* comnew();
Sequence* seqnew();
// Appends object to the container list (takes ownership). A list that is not
// a container leaves the object where it is.
void objins(Object* list, Object* object);
// objins under the name the compound builders use.
inline void addontop(Object* list, Object* object) { objins(list, object); }

// The members of a sequence, one by one.
class queryseq {
public:
    explicit queryseq(const Object* sequence);
    Object* quenex();  // null after the last member
    void queend();

private:
    const Sequence* mSequence;
    std::size_t mNext = 0;
};

}  // namespace VelDB

#pragma once
// Flags and kind bits of a document object.
//
// Kind bits (what hasProperties tests):
//   kKindPath      8            a path
//   kKindCompound  2            a compound (answers 0x80000000 as well)
//   kKindGroup     0x80000000   a group; every compound is also a container
// Library code treats (kKindGroup or kKindCompound) as "container of paths".
// Flags are a separate word (flaget/flaset/flacle), e.g. 0x10000000 marks an
// inverse-transformed path.

namespace VelDB {

inline constexpr unsigned kKindCompound = 2;
inline constexpr unsigned kKindPath = 8;
inline constexpr unsigned kKindGroup = 0x80000000u;

class Tagged {
public:
    virtual ~Tagged() = default;

    // all: every bit of `bits` must be a kind bit of the object; otherwise any.
    bool hasProperties(unsigned bits, bool all) const {
        const unsigned mine = kindBits() & bits;
        return all ? mine == bits : mine != 0;
    }
    virtual unsigned kindBits() const = 0;

    unsigned flags() const { return mFlags; }
    void setFlags(unsigned bits) { mFlags |= bits; }
    void clearFlags(unsigned bits) { mFlags &= ~bits; }

private:
    unsigned mFlags = 0;
};

inline bool flaget(const Tagged* object, unsigned bits) { return object && (object->flags() & bits) == bits; }
inline void flaset(Tagged* object, unsigned bits) {
    if (object) object->setFlags(bits);
}
inline void flacle(Tagged* object, unsigned bits) {
    if (object) object->clearFlags(bits);
}

}  // namespace VelDB

#pragma once
// The recovery point a host registers on a file handle.
//
// A reader that reports an error asks the handle for its recovery point
// (filrecovery). When one is registered, the reader does not return into the
// failed operation: it throws RecoveryJump, which unwinds every frame on the
// way (destructors run, nothing leaks) to where the host registered the
// point. Without one, the reader returns its failure value.
//
//     VelSys::RecoveryScope point(&file);
//     int result = point.run([&] { ... reader calls ... });  // -2 after a jump

#include <exception>
#include <utility>

namespace VelSys {

class fil;

// The value a jump delivers: -2 for reader errors.
class RecoveryJump : public std::exception {
public:
    explicit RecoveryJump(int value) : mValue(value) {}
    int value() const { return mValue; }
    const char* what() const noexcept override { return "recovery point reached"; }

private:
    int mValue;
};

// Null when no recovery point is registered on the handle.
const void* filrecovery(const fil* file);

// Transfers control to the registered recovery point. Returns only when
// there is none.
void filjumprecovery(const fil* file, int value);

// Registers a recovery point on a handle for its lifetime (nesting restores
// the previous one).
class RecoveryScope {
public:
    explicit RecoveryScope(fil* file);
    ~RecoveryScope();
    RecoveryScope(const RecoveryScope&) = delete;
    RecoveryScope& operator=(const RecoveryScope&) = delete;

    // Runs fn; returns 0 when it completed, or the jump's value.
    template <class Fn>
    int run(Fn&& fn) {
        try {
            std::forward<Fn>(fn)();
            return 0;
        } catch (const RecoveryJump& jump) {
            return jump.value();
        }
    }

private:
    fil* mFile;
    const void* mPrevious;
};

}  // namespace VelSys

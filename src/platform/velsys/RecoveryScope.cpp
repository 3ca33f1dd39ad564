#include "platform/velsys/RecoveryScope.h"

#include "platform/velsys/fil.h"

namespace VelSys {

void filjumprecovery(const fil* file, int value) {
    if (filrecovery(file)) throw RecoveryJump(value);
}

RecoveryScope::RecoveryScope(fil* file) : mFile(file), mPrevious(filrecovery(file)) {
    if (mFile) mFile->mRecovery = this;
}

RecoveryScope::~RecoveryScope() {
    if (mFile) mFile->mRecovery = mPrevious;
}

}  // namespace VelSys

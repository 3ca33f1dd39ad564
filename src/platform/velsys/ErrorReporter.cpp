#include "platform/velsys/ErrorReporter.h"

namespace VelSys::Core {

void ErrorReporter::Begin() {
    ++mBatchDepth;
}

void ErrorReporter::Report(const Error& error) {
    Report(std::make_shared<Error>(error));
}

void ErrorReporter::Report(std::shared_ptr<Error> error) {
    if (!mEnabled || !error) return;
    mPending.push_back(std::move(error));
    if (mBatchDepth == 0) Flush();
}

void ErrorReporter::End(std::function<void()> done) {
    if (mBatchDepth > 0 && --mBatchDepth > 0) return;
    Flush();
    if (done) done();
}

// Taken out first: the delivery may report again.
void ErrorReporter::Flush() {
    ErrorList batch;
    batch.swap(mPending);
    if (!batch.empty()) Deliver(batch.begin(), batch.end());
}

}  // namespace VelSys::Core

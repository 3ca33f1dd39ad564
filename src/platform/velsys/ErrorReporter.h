#pragma once
// Where the system library's errors are reported. Reports made between
// Begin() and the matching End() form one batch, delivered together when
// the outermost batch ends; a report outside any batch is delivered at
// once. A disabled reporter drops what it is given.

#include <functional>
#include <memory>
#include <vector>

#include "platform/velsys/Error.h"

namespace VelSys::Core {

class ErrorReporter {
  public:
    using ErrorList = std::vector<std::shared_ptr<Error>>;

    ErrorReporter() = default;
    virtual ~ErrorReporter() = default;
    ErrorReporter(const ErrorReporter&) = delete;
    ErrorReporter& operator=(const ErrorReporter&) = delete;

    virtual void Begin();
    // Keeps a copy of the error (of its Error part).
    virtual void Report(const Error& error);
    // Keeps the error object itself.
    void Report(std::shared_ptr<Error> error);
    // Ends a batch; after the outermost one, delivers the batch and then
    // calls done (when given).
    virtual void End(std::function<void()> done = {});
    virtual void SetEnabled(bool enabled) { mEnabled = enabled; }
    virtual bool HasPending() const { return !mPending.empty(); }

  protected:
    // Receives each delivered batch, in the order of the reports.
    virtual void Deliver(ErrorList::iterator first, ErrorList::iterator last) = 0;

  private:
    void Flush();

    ErrorList mPending;
    int mBatchDepth = 0;
    bool mEnabled = true;
};

}  // namespace VelSys::Core

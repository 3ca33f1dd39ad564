#pragma once
// An error reporter that keeps what is delivered: Log receives every batch.

#include "platform/velsys/ErrorReporter.h"

namespace VelSys::Core {

class ErrorLogger : public ErrorReporter {
  public:
    using iterator = ErrorList::iterator;

    virtual void Log(iterator first, iterator last) = 0;

  protected:
    void Deliver(iterator first, iterator last) override { Log(first, last); }
};

}  // namespace VelSys::Core

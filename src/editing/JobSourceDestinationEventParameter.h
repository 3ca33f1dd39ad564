#pragma once
// Parameter of "job copied": the job copied from and the new job.

#include "editing/EventParameter.h"

namespace QuillonCore {

class JobSourceDestinationEventParameter : public EventParameter {
  public:
    JobSourceDestinationEventParameter(const jobstr* source, jobstr* destination)
        : mSource(source), mDestination(destination) {}
    const jobstr* GetSourceJob() const { return mSource; }
    jobstr* GetDestinationJob() const { return mDestination; }

  private:
    const jobstr* mSource;
    jobstr* mDestination;
};

}  // namespace QuillonCore

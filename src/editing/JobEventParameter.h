#pragma once
// Parameter of the job events (opened, closed, activated, ...).

#include "editing/EventParameter.h"

namespace QuillonCore {

class JobEventParameter : public EventParameter {
  public:
    explicit JobEventParameter(jobstr* job) : mJob(job) {}
    jobstr* GetJob() const { return mJob; }

  private:
    jobstr* mJob;
};

}  // namespace QuillonCore

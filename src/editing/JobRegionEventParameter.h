#pragma once
// A job event about one region of the job.

#include "editing/JobEventParameter.h"
#include "platform/velsys/Rectangle.h"

namespace QuillonCore {

class JobRegionEventParameter : public JobEventParameter {
  public:
    JobRegionEventParameter(jobstr* job, const VelSys::ql_rectangle<int>& region)
        : JobEventParameter(job), mRegion(region) {}
    const VelSys::ql_rectangle<int>& GetRegion() const { return mRegion; }

  private:
    VelSys::ql_rectangle<int> mRegion;
};

}  // namespace QuillonCore

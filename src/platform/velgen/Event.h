#pragma once
// A notification of the host's classic channel: the event type, the jobs it
// concerns and a reason code.

struct jobstr;

namespace VelGen {

class Event {
  public:
    Event(int id, int reason) : mId(id), mReason(reason) {}
    Event(int id, jobstr* job) : mId(id), mJob(job) {}
    Event(int id, jobstr* job, const jobstr* srcjob) : mId(id), mSourceJob(srcjob), mJob(job) {}

    int GetID() const { return mId; }
    const jobstr* srcjob() const { return mSourceJob; }
    jobstr* job() const { return mJob; }
    int reason() const { return mReason; }

  private:
    int mId;
    const jobstr* mSourceJob = nullptr;
    jobstr* mJob = nullptr;
    int mReason = 0;
};

}  // namespace VelGen

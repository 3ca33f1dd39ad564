#pragma once
// Scoped progress of a long operation.
//
// Statuses nest: each maps its own progress (0 to 1) into a slice of its
// parent's range, so a sub-task half done moves the outer bar by half of the
// slice its caller gave it. The outermost status resets the reporter and the
// cancel flag; the last one to end finalizes everything. Progress updates
// reach the reporter at most ten times a second.
//
//     Status status(1, u"Converting");
//     for (int row = 0; row < rows; ++row) {
//         if (Status::Cancelled()) break;
//         ...
//         status.Notify(double(row + 1) / rows);
//     }

#include <utility>
#include <vector>

#include "platform/velsys/ustring.h"

namespace QuillonCore {

class Status {
  public:
    // range: the share of the parent's progress this status stands for
    // (ignored for the outermost one, which always spans the whole bar when
    // positive). A negative or NaN range counts as 0.
    Status(double range, const ustring& description);
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;

    void SetDescription(const ustring& description);
    // Progress of the innermost status, 0 to 1 (clamped).
    void Notify(double value);
    // A sign of life without a value.
    void Notify();

    bool IsDisabled() const { return mStart == mEnd; }
    double Start() const { return mStart; }
    double End() const { return mEnd; }

    static bool IsProgressing() { return !smStatusStack.empty(); }
    // The innermost status; std::out_of_range when none exists.
    static Status& GetCurrent();
    // The stored progress of the innermost status (0 when none).
    static double CurrentValue();

    static bool Cancelled() { return smCancelled; }
    static void SetCancelled(bool cancelled) { smCancelled = cancelled; }

    // Innermost last: each status with its current progress value.
    static std::vector<std::pair<Status*, double>> smStatusStack;
    // Tick count before which no further update is sent.
    static unsigned smNotifyTimer;
    static bool smCancelled;
    // For the host's own use; the library does not read it.
    static unsigned smCancelCheckTimer;

  private:
    friend void NotifyBusy(double value);
    friend void NotifyBusy();

    static void StoreAndSend(double value);
    static void SendBusy();
    static bool TimerExpired();
    static void EndInnermost();

    double mStart = 0;
    double mEnd = 0;
    bool mHasMessage = false;
};

// As Status::Notify, for code without a Status object; nothing when no
// status exists.
void NotifyBusy(double value);
void NotifyBusy();

}  // namespace QuillonCore

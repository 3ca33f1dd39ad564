#pragma once
// The system library's progress reporter: the model behind the host's
// progress bar.
//
// Progress is reported inside nested maps. BeginProgressMap(from, to) opens a
// map over the slice [from, to] of the enclosing scale; ProgressInitialize(n)
// sets the total of the innermost scale, and ProgressUpdate(v) then means
// v / n of the innermost map. The overall fraction is v carried out through
// every open map. EndProgressMap(true) restores the status text that was
// shown when the map began.
//
// This class keeps the model and shows nothing; a host derives from it and
// overrides the Show... hooks to draw.

#include <vector>

#include "platform/velsys/ustring.h"

namespace VelSys {

class StatusReporting {
  public:
    StatusReporting() = default;
    virtual ~StatusReporting() = default;
    StatusReporting(const StatusReporting&) = delete;
    StatusReporting& operator=(const StatusReporting&) = delete;

    // Back to an empty model: no maps, fraction 0, no text.
    virtual void Reset();
    virtual void ProgressInitialize(float total);
    virtual void BeginProgressMap(float from, float to);
    virtual void EndProgressMap(bool restoreMessage);
    virtual void ProgressUpdate(float value);
    // A sign of life without a value.
    virtual void ProgressBusy();
    // The innermost map is complete.
    virtual void ProgressFinalize();
    // Every map is closed and the work is complete (flags: reserved, 0).
    virtual void FinalizeAll(unsigned flags);
    virtual void SetStatusMessage(const ustring& message);

    // Overall progress, 0 to 1.
    double Fraction() const { return mFraction; }
    const ustring& Message() const { return mMessage; }
    std::size_t Depth() const { return mMaps.size(); }

  protected:
    // Called after every change of fraction or text.
    virtual void ShowProgress(double /*fraction*/, const ustring& /*message*/) {}
    virtual void ShowBusy() {}
    virtual void ShowFinished() {}

  private:
    struct Map {
        double from;
        double to;
        double total;          // of this map's own scale
        ustring savedMessage;  // text shown when the map began
    };

    double toOverall(double value) const;
    double& innermostTotal();
    void setFraction(double fraction);

    std::vector<Map> mMaps;
    double mRootTotal = 1;
    double mFraction = 0;
    ustring mMessage;
};

}  // namespace VelSys

#include "platform/velsys/StatusReporting.h"

#include <algorithm>
#include <cmath>

namespace VelSys {

namespace {

double clampUnit(double value) {
    return std::isnan(value) ? 0 : std::clamp(value, 0.0, 1.0);
}

}  // namespace

void StatusReporting::Reset() {
    mMaps.clear();
    mRootTotal = 1;
    mMessage.clear();
    setFraction(0);
}

double& StatusReporting::innermostTotal() {
    return mMaps.empty() ? mRootTotal : mMaps.back().total;
}

void StatusReporting::ProgressInitialize(float total) {
    innermostTotal() = total > 0 ? total : 1;
}

void StatusReporting::BeginProgressMap(float from, float to) {
    mMaps.push_back(Map{from, std::max(from, to), 1, mMessage});
}

void StatusReporting::EndProgressMap(bool restoreMessage) {
    if (mMaps.empty()) return;
    if (restoreMessage) mMessage = mMaps.back().savedMessage;
    mMaps.pop_back();
    ShowProgress(mFraction, mMessage);
}

// A value of the innermost scale carried out through every open map.
double StatusReporting::toOverall(double value) const {
    for (auto it = mMaps.rbegin(); it != mMaps.rend(); ++it)
        value = it->from + clampUnit(value / it->total) * (it->to - it->from);
    return clampUnit(value / mRootTotal);
}

void StatusReporting::ProgressUpdate(float value) {
    setFraction(toOverall(value));
}

void StatusReporting::ProgressBusy() {
    ShowBusy();
}

void StatusReporting::ProgressFinalize() {
    ProgressUpdate(static_cast<float>(innermostTotal()));
}

void StatusReporting::FinalizeAll(unsigned) {
    mMaps.clear();
    mRootTotal = 1;
    setFraction(1);
    ShowFinished();
}

void StatusReporting::SetStatusMessage(const ustring& message) {
    mMessage = message;
    ShowProgress(mFraction, mMessage);
}

void StatusReporting::setFraction(double fraction) {
    mFraction = fraction;
    ShowProgress(mFraction, mMessage);
}

}  // namespace VelSys

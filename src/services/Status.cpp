#include "services/Status.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "platform/velsys/Clock.h"
#include "services/StatusReporting.h"

namespace QuillonCore {

std::vector<std::pair<Status*, double>> Status::smStatusStack;
unsigned Status::smNotifyTimer = 0;
bool Status::smCancelled = false;
unsigned Status::smCancelCheckTimer = 0;

namespace {

double clampUnit(double value) {
    return std::isnan(value) ? 0 : std::clamp(value, 0.0, 1.0);
}

double sanitizedRange(double range) {
    return std::isnan(range) || range < 0 ? 0 : range;
}

VelSys::StatusReporting& reporter() {
    return StatusReporting::Instance();
}

}  // namespace

Status::Status(double range, const ustring& description) {
    range = sanitizedRange(range);
    const double a = CurrentValue();
    mStart = a;
    mEnd = a + range;
    if (smStatusStack.empty()) {
        mEnd = mEnd > mStart ? 1 : range;
        reporter().Reset();
        smCancelled = false;
        // The first update of an operation goes out at once, whatever the
        // tick count is.
        smNotifyTimer = VelSys::Clock::Ticks() - 1;
        reporter().ProgressInitialize(1);
    } else if (range == 0 || GetCurrent().IsDisabled()) {
        mEnd = a;
    } else {
        mEnd = std::min(mEnd, 1.0);
    }
    reporter().BeginProgressMap(static_cast<float>(mStart), static_cast<float>(mEnd));
    reporter().ProgressInitialize(1);
    if (!description.empty()) SetDescription(description);
    smStatusStack.emplace_back(this, 0.0);
}

// A status destroyed out of order first ends the statuses nested in it; one
// already ended that way has nothing left to do.
Status::~Status() {
    auto mine = std::find_if(smStatusStack.begin(), smStatusStack.end(),
                             [this](const auto& entry) { return entry.first == this; });
    if (mine == smStatusStack.end()) return;
    const std::size_t depth = static_cast<std::size_t>(mine - smStatusStack.begin());
    while (smStatusStack.size() > depth) EndInnermost();
}

void Status::EndInnermost() {
    const Status* status = smStatusStack.back().first;
    reporter().ProgressFinalize();
    reporter().EndProgressMap(status->mHasMessage);
    reporter().ProgressUpdate(static_cast<float>(status->mEnd));
    smStatusStack.pop_back();
    if (smStatusStack.empty())
        reporter().FinalizeAll(0);
    else
        smStatusStack.back().second = status->mEnd;
}

void Status::SetDescription(const ustring& description) {
    reporter().SetStatusMessage(description);
    mHasMessage = !description.empty();
}

void Status::Notify(double value) {
    StoreAndSend(value);
}

void Status::Notify() {
    SendBusy();
}

Status& Status::GetCurrent() {
    if (smStatusStack.empty()) throw std::out_of_range("no status is in progress");
    return *smStatusStack.back().first;
}

double Status::CurrentValue() {
    return smStatusStack.empty() ? 0 : smStatusStack.back().second;
}

// The tick count wraps; a signed difference keeps the comparison right
// across the wrap.
bool Status::TimerExpired() {
    const unsigned now = VelSys::Clock::Ticks();
    if (static_cast<std::int32_t>(now - smNotifyTimer) <= 0) return false;
    smNotifyTimer = now + VelSys::Clock::TicksPerSecond() / 10;
    return true;
}

void Status::StoreAndSend(double value) {
    if (smStatusStack.empty()) return;
    value = clampUnit(value);
    smStatusStack.back().second = value;
    if (TimerExpired()) reporter().ProgressUpdate(static_cast<float>(value));
}

void Status::SendBusy() {
    if (TimerExpired()) reporter().ProgressBusy();
}

void NotifyBusy(double value) {
    Status::StoreAndSend(value);
}

void NotifyBusy() {
    if (Status::IsProgressing()) Status::SendBusy();
}

}  // namespace QuillonCore

#include "ProgressBar.h"

#include <algorithm>
#include <cmath>

namespace Quillon {

namespace {

constexpr int kBarWidth = 30;
constexpr std::size_t kMaxMessage = 40;  // keeps the line within 80 columns

}  // namespace

ProgressBar::ProgressBar(std::FILE* out, bool enabled) : mOut(out), mEnabled(enabled && out) {}

ProgressBar::~ProgressBar() {
    clear();
}

std::string ProgressBar::Render(double fraction, const std::string& message, int width) {
    fraction = std::isnan(fraction) ? 0 : std::clamp(fraction, 0.0, 1.0);
    const int filled = static_cast<int>(std::lround(fraction * width));
    std::string line = "[" + std::string(filled, '#') + std::string(width - filled, '.') + "] ";
    const std::string percent = std::to_string(static_cast<int>(fraction * 100)) + "%";
    line += std::string(4 - std::min<std::size_t>(4, percent.size()), ' ') + percent;
    if (!message.empty()) line += "  " + message.substr(0, kMaxMessage);
    return line;
}

void ProgressBar::ShowProgress(double fraction, const ustring& message) {
    draw(Render(fraction, VelSys::Uni16ToUTF8(message), kBarWidth));
}

void ProgressBar::ShowBusy() {
    static const char kTurns[] = {'|', '/', '-', '\\'};
    mSpinner = (mSpinner + 1) % 4;
    draw(Render(Fraction(), VelSys::Uni16ToUTF8(Message()), kBarWidth) + " " + kTurns[mSpinner]);
}

void ProgressBar::ShowFinished() {
    clear();
}

void ProgressBar::draw(const std::string& line) {
    if (!mEnabled || line == mShown) return;
    std::fprintf(mOut, "\r%s\033[K", line.c_str());
    std::fflush(mOut);
    mShown = line;
}

void ProgressBar::clear() {
    if (!mEnabled || mShown.empty()) return;
    std::fputs("\r\033[K", mOut);
    std::fflush(mOut);
    mShown.clear();
}

}  // namespace Quillon

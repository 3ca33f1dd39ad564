#include "platform/velsys/Clock.h"

#include <chrono>

namespace VelSys {

namespace {

Clock::Source& installedSource() {
    static Clock::Source source;
    return source;
}

}  // namespace

unsigned Clock::Ticks() {
    if (const Source& source = installedSource()) return source();
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<unsigned>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

Clock::Source Clock::SetSource(Source source) {
    Source previous = std::move(installedSource());
    installedSource() = std::move(source);
    return previous;
}

}  // namespace VelSys

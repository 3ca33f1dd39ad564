#pragma once
// Millisecond tick count of the system library. The count is 32 bits and
// wraps after about 49.7 days; compare ticks by signed difference.
//
// Tests install their own tick source to drive time-dependent code.

#include <functional>

namespace VelSys {

class Clock {
  public:
    using Source = std::function<unsigned()>;

    static unsigned Ticks();
    static unsigned TicksPerSecond() { return 1000; }

    // Replaces the tick source (empty: the steady system clock); returns the
    // previous one.
    static Source SetSource(Source source);
};

}  // namespace VelSys

#pragma once
// A point in time of the system library, with its ISO 8601 text.

#include <chrono>
#include <string>

namespace VelSys {

class Time {
  public:
    static Time Now() { return Time(std::chrono::system_clock::now()); }
    explicit Time(std::chrono::system_clock::time_point point) : mPoint(point) {}

    // UTC, to the second: "2024-05-17T09:30:12Z".
    std::string GetISO8601String() const;

  private:
    std::chrono::system_clock::time_point mPoint;
};

}  // namespace VelSys

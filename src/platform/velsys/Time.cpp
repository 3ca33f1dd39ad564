#include "platform/velsys/Time.h"

#include <ctime>

namespace VelSys {

std::string Time::GetISO8601String() const {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(mPoint);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

}  // namespace VelSys

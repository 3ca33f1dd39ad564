#pragma once
// Error record of the system library's open and save calls.

#include <string>

namespace VelSys {

struct errtyp {
    int code = 0;         // errno of the failed call, 0 when none
    std::string message;  // what failed, for the caller's own message
};

}  // namespace VelSys

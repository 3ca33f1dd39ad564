#include "platform/velsys/Debug.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace VelSys {

bool debugEnabled() {
    static const bool enabled = std::getenv("QUILLON_DEBUG") != nullptr;
    return enabled;
}

void debug(const char* format, ...) {
    if (!debugEnabled()) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
}

void debugstring(const char* text) {
    if (debugEnabled() && text) std::fprintf(stderr, "%s\n", text);
}

}  // namespace VelSys

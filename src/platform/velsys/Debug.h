#pragma once
// Developer diagnostics. Printed to stderr only when the environment variable
// QUILLON_DEBUG is set; nothing in the library depends on them.

namespace VelSys {

void debug(const char* format, ...) __attribute__((format(printf, 1, 2)));
void debugstring(const char* text);
bool debugEnabled();

}  // namespace VelSys

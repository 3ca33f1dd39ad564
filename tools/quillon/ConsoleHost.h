#pragma once
// What the command-line host installs into the library for its lifetime:
// the library's message convertor and a message sink printing
// "severity: text" to stderr, and the progress bar (drawn only when stderr
// is a terminal).

namespace Quillon {

class ConsoleHost {
  public:
    ConsoleHost();
    ~ConsoleHost();
    ConsoleHost(const ConsoleHost&) = delete;
    ConsoleHost& operator=(const ConsoleHost&) = delete;
};

}  // namespace Quillon

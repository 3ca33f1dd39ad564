#pragma once
// The commands of the command-line host. Each command lives in its own file
// and registers itself with a static CommandRegistration:
//
//     static const CommandRegistration kInfo{{"info", "FILE [--json]", "Describe an image", help, run}};
//
// Exit statuses: 0 success, 1 the input could not be processed, 2 bad usage.

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace Quillon {

enum ExitStatus : int { kExitSuccess = 0, kExitFailure = 1, kExitUsage = 2 };

struct Command {
    std::string name;
    std::string usage;    // arguments, e.g. "IN OUT.tif [--compression none|lzw|packbits]"
    std::string summary;  // one line for `quillon --help`
    std::string help;     // the rest of `quillon <name> --help`
    std::function<int(const std::vector<std::string>& args)> run;
};

class CommandRegistry {
public:
    static void add(Command command);
    static const Command* find(const std::string& name);
    static const std::map<std::string, Command>& all();
};

struct CommandRegistration {
    explicit CommandRegistration(Command command) { CommandRegistry::add(std::move(command)); }
};

// Prints "quillon <name>: <text>" and the usage line to stderr; returns kExitUsage.
int usageError(const Command& command, const std::string& text);

}  // namespace Quillon

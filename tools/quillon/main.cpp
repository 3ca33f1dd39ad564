// quillon: the command-line host of the library. It drives the library the
// way the editor does and serves as demo, test driver and benchmark driver.

#include <iostream>
#include <string>
#include <vector>

#include "Command.h"
#include "ConsoleHost.h"

namespace {

void printHelp() {
    std::cout << "usage: quillon <command> [options]\n"
                 "       quillon --help | --version\n"
                 "       quillon <command> --help\n\ncommands:\n";
    for (const auto& [name, command] : Quillon::CommandRegistry::all())
        std::cout << "  " << name << std::string(name.size() < 10 ? 10 - name.size() : 1, ' ')
                  << command.summary << "\n";
}

void printCommandHelp(const Quillon::Command& command) {
    std::cout << "usage: quillon " << command.name << " " << command.usage << "\n\n"
              << command.summary << "\n";
    if (!command.help.empty()) std::cout << "\n" << command.help << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        printHelp();
        return Quillon::kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp();
        return Quillon::kExitSuccess;
    }
    if (args[0] == "--version") {
        std::cout << "quillon " << QUILLON_VERSION << "\n";
        return Quillon::kExitSuccess;
    }
    const Quillon::Command* command = Quillon::CommandRegistry::find(args[0]);
    if (!command) {
        std::cerr << "quillon: unknown command '" << args[0] << "' (see quillon --help)\n";
        return Quillon::kExitUsage;
    }
    args.erase(args.begin());
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            printCommandHelp(*command);
            return Quillon::kExitSuccess;
        }
    }
    Quillon::ConsoleHost host;
    return command->run(args);
}

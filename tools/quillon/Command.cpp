#include "Command.h"

#include <iostream>

namespace Quillon {

namespace {
std::map<std::string, Command>& table() {
    static std::map<std::string, Command> commands;
    return commands;
}
}  // namespace

void CommandRegistry::add(Command command) {
    std::string name = command.name;
    table()[name] = std::move(command);
}

const Command* CommandRegistry::find(const std::string& name) {
    auto it = table().find(name);
    return it == table().end() ? nullptr : &it->second;
}

const std::map<std::string, Command>& CommandRegistry::all() { return table(); }

int usageError(const Command& command, const std::string& text) {
    std::cerr << "quillon " << command.name << ": " << text << "\n"
              << "usage: quillon " << command.name << " " << command.usage << "\n";
    return kExitUsage;
}

}  // namespace Quillon

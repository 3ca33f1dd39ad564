// quillon demo: runs the library's main roads on the bundled samples.

#include <iostream>
#include <map>
#include <system_error>

#include "Command.h"
#include "Demo.h"

namespace Quillon {

namespace {

std::map<std::string, DemoStep>& steps() {
    static std::map<std::string, DemoStep> table;
    return table;
}

int runDemo(const std::vector<std::string>& args) {
    std::filesystem::path out = "demo-out";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--out" && i + 1 < args.size()) {
            out = args[++i];
        } else {
            return usageError(*CommandRegistry::find("demo"), "unexpected argument '" + args[i] + "'");
        }
    }
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec) {
        std::cerr << "quillon demo: cannot create " << out << ": " << ec.message() << "\n";
        return kExitFailure;
    }
    DemoContext context{std::filesystem::absolute(out), QUILLON_SAMPLES_DIR, std::cout};
    std::cout << "quillon demo: writing into " << context.outputFolder.string() << "\n";
    int failed = 0;
    for (auto& [key, step] : steps()) {
        std::cout << "\n== " << step.title << "\n";
        if (!step.run(context)) {
            std::cout << "   FAILED\n";
            ++failed;
        }
    }
    std::cout << "\n" << steps().size() - failed << " of " << steps().size() << " demo steps succeeded\n";
    return failed ? kExitFailure : kExitSuccess;
}

const CommandRegistration kDemo{{"demo", "[--out DIR]", "Run the library's main roads on the bundled samples",
                                 "Writes its results into DIR (default demo-out/) and prints what it did.",
                                 runDemo}};

}  // namespace

DemoStepRegistration::DemoStepRegistration(DemoStep step) {
    std::string key = step.key;
    steps()[key] = std::move(step);
}

}  // namespace Quillon

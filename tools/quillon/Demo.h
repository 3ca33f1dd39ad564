#pragma once
// Steps of `quillon demo`. Each feature registers its own step; the demo runs
// them in order of their key and prints what each did.

#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>

namespace Quillon {

struct DemoContext {
    std::filesystem::path outputFolder;  // where results go (exists)
    std::filesystem::path samplesFolder; // the bundled sample files
    std::ostream& out;                   // what the step did, for the user
};

struct DemoStep {
    std::string key;    // orders the steps, e.g. "10-localization"
    std::string title;
    std::function<bool(DemoContext&)> run;  // false: the step failed
};

struct DemoStepRegistration {
    explicit DemoStepRegistration(DemoStep step);
};

}  // namespace Quillon

#include "ConsoleHost.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <memory>

#include "ProgressBar.h"

#include "platform/velgen/Messages.h"
#include "services/Localization.h"
#include "services/StatusReporting.h"

namespace Quillon {

ConsoleHost::ConsoleHost() {
    QuillonCore::LocalizationInitialize();
    VelGen::SetMessageSink([](VelGen::MessageSeverity severity, VelGen::MessageVolatility,
                              const ustring& text) {
        std::cerr << VelGen::SeverityName(severity) << ": " << VelSys::Uni16ToUTF8(text) << "\n";
    });
    QuillonCore::StatusReporting::Initialize(
        std::make_unique<ProgressBar>(stderr, isatty(STDERR_FILENO) == 1));
}

ConsoleHost::~ConsoleHost() {
    VelGen::SetMessageSink(nullptr);
    QuillonCore::StatusReporting::Initialize(nullptr);
}

}  // namespace Quillon

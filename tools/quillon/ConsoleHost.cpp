#include "ConsoleHost.h"

#include <iostream>

#include "platform/velgen/Messages.h"
#include "services/Localization.h"

namespace Quillon {

ConsoleHost::ConsoleHost() {
    QuillonCore::LocalizationInitialize();
    VelGen::SetMessageSink([](VelGen::MessageSeverity severity, VelGen::MessageVolatility, const ustring& text) {
        std::cerr << VelGen::SeverityName(severity) << ": " << VelSys::Uni16ToUTF8(text) << "\n";
    });
}

ConsoleHost::~ConsoleHost() { VelGen::SetMessageSink(nullptr); }

}  // namespace Quillon

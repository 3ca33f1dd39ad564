#pragma once
// User messages of the general library. What the library says goes to the
// sink the host installs: the command-line host prints "severity: text" to
// stderr, tests record it. Without a sink messages are dropped.

#include <functional>

#include "platform/velsys/ustring.h"

namespace VelGen {

// Severity 3 is an error (what the readers report); 4 an information text.
enum MessageSeverity : int {
    kSeverityNote = 1,
    kSeverityWarning = 2,
    kSeverityError = 3,
    kSeverityInfo = 4,
};

// Volatility 1: the message concerns the current operation only.
enum MessageVolatility : int {
    kVolatilityPersistent = 0,
    kVolatilityTransient = 1,
};

using MessageSink = std::function<void(MessageSeverity, MessageVolatility, const ustring&)>;

// Installs a sink and returns the previous one.
MessageSink SetMessageSink(MessageSink sink);

// Says the text of a numeric code (through the message identifier convertor).
void message(MessageSeverity severity, MessageVolatility volatility, int id);
// Says a text.
void ShowInfoMessage(MessageSeverity severity, MessageVolatility volatility, const ustring& text);

// "error", "warning", ... for hosts that print messages.
const char* SeverityName(MessageSeverity severity);

}  // namespace VelGen

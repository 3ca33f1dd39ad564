#include "platform/velgen/Messages.h"

#include "platform/velgen/MessageIDConvertor.h"

namespace VelGen {

namespace {

MessageSink& currentSink() {
    static MessageSink sink;
    return sink;
}

MessageIDConvertor*& currentConvertor() {
    static MessageIDConvertor* convertor = nullptr;
    return convertor;
}

}  // namespace

MessageSink SetMessageSink(MessageSink sink) {
    MessageSink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

MessageIDConvertor* SetMessageIDConvertor(MessageIDConvertor* convertor) {
    MessageIDConvertor* previous = currentConvertor();
    currentConvertor() = convertor;
    return previous;
}

MessageIDConvertor* GetMessageIDConvertor() { return currentConvertor(); }

void message(MessageSeverity severity, MessageVolatility volatility, int id) {
    MessageIDConvertor* convertor = currentConvertor();
    const std::string text = convertor ? convertor->Convert(static_cast<unsigned>(id)) : "Unknown error";
    ShowInfoMessage(severity, volatility, VelSys::UTF8ToUni16(text));
}

void ShowInfoMessage(MessageSeverity severity, MessageVolatility volatility, const ustring& text) {
    // Copy: a sink may replace itself while it runs.
    MessageSink sink = currentSink();
    if (sink) sink(severity, volatility, text);
}

const char* SeverityName(MessageSeverity severity) {
    switch (severity) {
        case kSeverityNote: return "note";
        case kSeverityWarning: return "warning";
        case kSeverityError: return "error";
        case kSeverityInfo: return "info";
    }
    return "message";
}

}  // namespace VelGen

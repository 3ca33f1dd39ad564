#include "platform/velgen/EventController.h"

#include <vector>

namespace VelGen {

namespace {

constexpr std::size_t kMaxHandlers = 120;

std::vector<ClassicEventHandler>& handlerTable() {
    static std::vector<ClassicEventHandler> table;
    return table;
}

std::vector<std::shared_ptr<EventController>>& replacedControllers() {
    static std::vector<std::shared_ptr<EventController>> kept;
    return kept;
}

}  // namespace

std::shared_ptr<EventController> EventController::msInstance;

void AddEventHandler(ClassicEventHandler handler) {
    auto& table = handlerTable();
    if (handler && table.size() < kMaxHandlers) table.push_back(std::move(handler));
}

std::size_t ClassicEventHandlerCount() {
    return handlerTable().size();
}

EventController& EventController::Instance() {
    if (!msInstance) msInstance = std::make_shared<EventController>();
    return *msInstance;
}

// Handlers are copied before each call: one may add to the table.
void EventController::NotifyEvent(const Event& event) {
    const std::size_t count = handlerTable().size();
    const bool reverse = (event.GetID() & 1) != 0;
    for (std::size_t i = 0; i < count; ++i) {
        const ClassicEventHandler handler = handlerTable()[reverse ? count - 1 - i : i];
        handler(event);
    }
}

void EventController::SetEventController(std::shared_ptr<EventController> controller) {
    if (msInstance) replacedControllers().push_back(msInstance);
    msInstance = std::move(controller);
}

}  // namespace VelGen

#pragma once
// The host's classic notification channel. Handlers live in one
// process-wide table of at most 120 entries that only grows; every
// controller notifies the same table. A host installs its own controller
// with SetEventController.

#include <functional>
#include <memory>

#include "platform/velgen/Event.h"

namespace VelGen {

using ClassicEventHandler = std::function<int(const Event&)>;

// Appends a handler; an empty one, or one beyond the 120th, is ignored.
void AddEventHandler(ClassicEventHandler handler);
// How many handlers the table holds.
std::size_t ClassicEventHandlerCount();

class EventController {
  public:
    EventController() = default;
    virtual ~EventController() = default;

    static EventController& Instance();

    // Calls every handler with the event: in order of addition for an even
    // id, in reverse order for an odd one. Handlers added meanwhile run from
    // the next notification on.
    virtual void NotifyEvent(const Event& event);

  protected:
    // Replaces the current controller. The replaced one is kept alive until
    // the process ends: its NotifyEvent may be running.
    static void SetEventController(std::shared_ptr<EventController> controller);

  private:
    static std::shared_ptr<EventController> msInstance;
};

}  // namespace VelGen

#pragma once
// The process-wide dispatcher of application events (jobs opened, closed,
// activated, the edit log changed, ...). InstallClassicEventHandler bridges
// the host's classic notification channel into it.

#include "editing/EventDispatcher.h"

namespace QuillonCore {

class QuillonEventDispatcher : public EventDispatcher {
  public:
    static QuillonEventDispatcher& Instance();
    ~QuillonEventDispatcher() override;

    // Connects the classic channel, once per process; later calls, on any
    // dispatcher, do nothing.
    void InstallClassicEventHandler();

  private:
    QuillonEventDispatcher() = default;
};

}  // namespace QuillonCore

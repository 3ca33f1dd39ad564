#pragma once
// Holder of the progress reporter the host installs. Until the host installs
// one, a reporter that shows nothing stands in, so library code may report
// progress at any time.

#include <memory>

#include "platform/velsys/StatusReporting.h"

namespace QuillonCore {

class StatusReporting {
  public:
    // Installs the reporter (null: back to the silent one); the previous one
    // is deleted.
    static void Initialize(std::unique_ptr<VelSys::StatusReporting> reporter);
    static VelSys::StatusReporting& Instance();

  private:
    static std::unique_ptr<VelSys::StatusReporting> smInstance;
};

}  // namespace QuillonCore

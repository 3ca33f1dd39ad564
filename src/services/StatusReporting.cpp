#include "services/StatusReporting.h"

namespace QuillonCore {

std::unique_ptr<VelSys::StatusReporting> StatusReporting::smInstance;

void StatusReporting::Initialize(std::unique_ptr<VelSys::StatusReporting> reporter) {
    smInstance = std::move(reporter);
}

VelSys::StatusReporting& StatusReporting::Instance() {
    static VelSys::StatusReporting silent;
    return smInstance ? *smInstance : silent;
}

}  // namespace QuillonCore

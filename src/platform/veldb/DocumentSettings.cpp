#include "platform/veldb/DocumentSettings.h"

namespace VelDB {

namespace {
int gPpi = kDefaultPpi;
}

int getppi() { return gPpi; }

void setppi(int unitsPerInch) {
    if (unitsPerInch > 0) gPpi = unitsPerInch;
}

}  // namespace VelDB

#include "raster/output/ColorspaceInfo.h"

namespace QuillonCore {

const SeparationInfo* ColorspaceInfo::getSeparationInfoAt(int index) const {
    if (index < 0 || index >= separationCount()) return nullptr;
    return &mSeparations[static_cast<std::size_t>(index)];
}

bool ColorspaceInfo::hasExtraChannels() const {
    if (isSingleSeparation()) return separationCount() > 1;
    if (mInterpretation == 5) return separationCount() > 4;
    return false;
}

int ColorspaceInfo::ExtraSamples(int samplesPerPixel) const {
    if (isSingleSeparation()) return samplesPerPixel >= 2 ? samplesPerPixel - 1 : 0;
    if (mInterpretation == 5) return samplesPerPixel >= 5 ? samplesPerPixel - 4 : 0;
    return 0;
}

int ColorspaceInfo::ModelChannels(int interpretation) {
    switch (interpretation) {
        case 0:
        case 1:
            return 1;
        case 2:
            return 3;
        case 5:
            return 4;
        default:
            return 0;
    }
}

}  // namespace QuillonCore

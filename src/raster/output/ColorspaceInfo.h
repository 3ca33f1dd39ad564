#pragma once
// An image's colour space: its interpretation (the TIFF photometric code:
// 0 or 1 gray, 2 RGB, 3 palette, 5 CMYK; negative when unknown) and its
// named separations in order of addition.

#include <vector>

#include "raster/output/SeparationInfo.h"

namespace QuillonCore {

class ColorspaceInfo {
  public:
    explicit ColorspaceInfo(int interpretation) : mInterpretation(interpretation) {}

    int interpretation() const { return mInterpretation; }
    void setInterpretation(int interpretation) { mInterpretation = interpretation; }

    int separationCount() const { return static_cast<int>(mSeparations.size()); }
    bool hasSeparationInfo() const { return !mSeparations.empty(); }
    // Null outside 0 to separationCount() - 1.
    const SeparationInfo* getSeparationInfoAt(int index) const;
    void addSeparation(const SeparationInfo& separation) { mSeparations.push_back(separation); }

    bool isSingleSeparation() const { return mInterpretation == 0 || mInterpretation == 1; }
    bool hasExtraChannels() const;
    // Samples beyond the colour channels.
    int ExtraSamples(int samplesPerPixel) const;

    // Channels of a colour model: 1 gray (0 or 1), 3 RGB (2), 4 CMYK (5); 0 for others.
    static int ModelChannels(int interpretation);

  private:
    std::vector<SeparationInfo> mSeparations;
    int mInterpretation;
};

}  // namespace QuillonCore

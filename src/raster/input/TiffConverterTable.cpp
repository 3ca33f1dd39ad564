#include "raster/input/TiffConverterTable.h"

#include <iterator>

namespace QuillonCore {

namespace {

using Model = TiffRowShaper::Model;
using Layout = TiffConverter::Layout;
using S = TiffRowShaper;

// Gray, RGB and CMYK rows of 8 and 16 bits share their lines: the shapes
// see 8-bit samples either way.
const TiffConverter kConverters[] = {
    {Model::kBilevel, 1, Layout::kPreview, &S::bitsToPreview,
     "tifreabw tifreabwlzw tifreagraypacktorgb tifreagro3rgb tifreagro4rgb"},
    {Model::kBilevel, 1, Layout::kRuns, &S::bitsToRuns,
     "tifreabwrun tifreabwrunlzw tifreagraypackbwrun ccitttorun tifreagro3bw tifreagro4bw"},
    {Model::kBilevel, 1, Layout::kComposite, &S::bitsToBytes,
     "tifreabw2 tifreabwlzw2 tifreagraypacksep tifreagro3gray tifreagro4gray"},
    {Model::kBilevel, 1, Layout::kAllSamples, &S::bitsToBytes, "as the composite"},
    {Model::kBilevel, 1, Layout::kChannel, &S::bitsToBytes, "as the composite"},

    {Model::kGray, 0, Layout::kPreview, &S::grayToPreview,
     "tifreagray tifreagraylzwtorgb tifreagray8packtorgb"},
    {Model::kGray, 0, Layout::kRuns, &S::grayToRuns,
     "tifreagrayrun tifreagrayrunlzw tifreagray8packbwrun"},
    {Model::kGray, 0, Layout::kComposite, &S::composite,
     "tifreagray2 tifreagraylzw2 tifreagray8packsep"},
    {Model::kGray, 0, Layout::kAllSamples, &S::allSamples,
     "tifreagray3 tifreagraylzw3 tifreagray8packsep"},
    {Model::kGray, 0, Layout::kChannel, &S::singleChannel,
     "tifreasep tifreaseplzw tifreagray8packsep"},

    {Model::kRgb, 0, Layout::kPreview, &S::rgbToPreview, "tifreargb tifreargblzw"},
    {Model::kRgb, 0, Layout::kRuns, &S::rgbToRuns, "tifreargbrun tifreargbrunlzw"},
    {Model::kRgb, 0, Layout::kComposite, &S::composite, "tifreargb2 tifreargblzw2"},
    {Model::kRgb, 0, Layout::kAllSamples, &S::allSamples, "tifreargb3 tifreargblzw3"},
    {Model::kRgb, 0, Layout::kChannel, &S::singleChannel, "tifreasep tifreaseplzw"},

    {Model::kPalette, 0, Layout::kPreview, &S::paletteToPreview,
     "tifreapaletteuncom tifreapalettelzw tifreapalettepack"},

    {Model::kCmyk, 0, Layout::kPreview, &S::cmykToPreview,
     "tifreacmyk tifreacmyk16rgb tifreacmyklzw tifreacmykpacktorgb"},
    {Model::kCmyk, 0, Layout::kRuns, &S::cmykToRuns,
     "tifreacmykrun tifreacmyk16run tifreacmykrunlzw tifreacmykpackrun"},
    {Model::kCmyk, 0, Layout::kComposite, &S::composite,
     "tifreacmyk2 tifreacmyk16 tifreacmyklzw2 tifreacmykpack"},
    {Model::kCmyk, 0, Layout::kAllSamples, &S::allSamples,
     "tifreacmyk3 tifreacmyk16all tifreacmyklzw3 tifreacmykpackAllSeparations"},
    {Model::kCmyk, 0, Layout::kChannel, &S::singleChannel,
     "tifreasep tifreacmyk16sep tifreaseplzw tifreaseppack"},

    // 1-bit CMYK has no run list or composite.
    {Model::kCmyk, 1, Layout::kPreview, &S::cmykToPreview, "tifrea1bitcmyk2rgb"},
    {Model::kCmyk, 1, Layout::kAllSamples, &S::allSamples, "tifrea1bitcmykall"},
    {Model::kCmyk, 1, Layout::kChannel, &S::singleChannel, "tifrea1bitcmyksep"},
};

}  // namespace

TiffConverter::Layout TiffConverter::layoutOf(int outputSelector) {
    switch (outputSelector) {
        case -1:
            return Layout::kPreview;
        case -2:
            return Layout::kRuns;
        case -3:
            return Layout::kComposite;
        case -4:
            return Layout::kAllSamples;
        default:
            return Layout::kChannel;
    }
}

const TiffConverter* TiffConverter::find(Model model, int bitsPerSample, Layout layout) {
    const TiffConverter* general = nullptr;
    for (const TiffConverter& c : kConverters) {
        if (c.model != model || c.layout != layout) continue;
        if (c.bitsPerSample == bitsPerSample) return &c;
        if (c.bitsPerSample == 0 && !general) general = &c;
    }
    // A model's depth-specific lines (1-bit CMYK) replace its general ones.
    for (const TiffConverter& c : kConverters)
        if (c.model == model && c.bitsPerSample == bitsPerSample) return nullptr;
    return general;
}

}  // namespace QuillonCore

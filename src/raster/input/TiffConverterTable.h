#pragma once
// The row converters of the TIFF reader: one line per colour model, sample
// depth and row layout, naming the shape that writes the layout. The codec
// (uncompressed, PackBits, LZW, CCITT) only decides where the stored row
// comes from, so one line serves every compression; the names list the
// converters of each compression that the line stands for.
//
// A combination without a line has no converter and is refused.

#include "raster/input/TiffRowShaper.h"

namespace QuillonCore {

struct TiffConverter {
    enum class Layout { kPreview, kRuns, kComposite, kAllSamples, kChannel };

    TiffRowShaper::Model model;
    int bitsPerSample;  // 0: any depth the model accepts
    Layout layout;
    TiffRowShaper::Shape shape;
    const char* names;

    static Layout layoutOf(int outputSelector);
    // The line for a model, depth and layout, or null.
    static const TiffConverter* find(TiffRowShaper::Model model, int bitsPerSample, Layout layout);
};

}  // namespace QuillonCore

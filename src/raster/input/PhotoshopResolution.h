#pragma once
// The resolution a JPEG file records in its Photoshop image resources
// (application segment 13, "Photoshop 3.0"): resource 1005, ResolutionInfo.
//
// Resources are "8BIM", a 16-bit id, a Pascal name padded to an even length
// (length byte included), a 32-bit data length and the data. Current files
// pad the data to an even length as well; the editor's older versions did
// not, and the compatibility reading keeps that (padData false). Every field
// is checked against the bytes: the walk stops at the first one that does not
// fit.

#include <cstdint>
#include <span>

namespace QuillonCore {

struct PhotoshopResolution {
    bool found = false;
    // Integer parts of the 16.16 fixed-point densities (pixels per inch).
    int horizontal = 0;
    int vertical = 0;
    // The horizontal density when it has a fractional part, else 0.
    double fractionalHorizontal = 0.0;

    static constexpr int kResolutionInfoId = 1005;

    // Walks the concatenated resource bytes. A ResolutionInfo of a length
    // other than 16 ends the walk.
    static PhotoshopResolution find(std::span<const unsigned char> resources, bool padData);
};

}  // namespace QuillonCore

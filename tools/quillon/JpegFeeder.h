#pragma once
// Feeds the rows of any prepared image reader to the JPEG compressors, in
// the compressors' input convention (gray and RGB inverted, CMYK as ink).
// Shared by `quillon jpeg`, `quillon eps` and the demo.

#include <functional>
#include <string>

#include "raster/input/pixreatyp.h"

namespace Quillon {

struct JpegFeeder {
    int rows = 0;
    int columns = 0;
    int colourType = 0;  // 1 gray, 2 RGB, 5 CMYK
    int components = 0;
    int resolutionNumerator = 300;
    int resolutionDenominator = 1;

    // Prepares the reader for composite rows. False (with the reason in
    // error) when it cannot deliver rows a JPEG can hold.
    bool prepare(QuillonCore::pixreatyp& reader, std::string& error);
    // Pulls every row and hands it to sink (components x columns bytes);
    // false when the reader or the sink failed.
    bool feed(QuillonCore::pixreatyp& reader,
              const std::function<bool(const unsigned char* bytes, std::size_t count)>& sink,
              std::string& error);
    // Pixels per inch, positive.
    double pixelsPerInch() const;
};

}  // namespace Quillon

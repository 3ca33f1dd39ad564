#pragma once
// The resolution rule of the JPEG reader: from the density a JPEG file
// records (JFIF, possibly replaced by a Photoshop ResolutionInfo) to a
// resolution in pixels per inch as numerator / denominator.

namespace QuillonCore {

struct JpegDensity {
    int unit = 0;        // 0 none (aspect ratio only), 1 per inch, 2 per centimetre
    int horizontal = 1;  // JFIF X density
    int vertical = 1;    // JFIF Y density
    // A Photoshop resolution with a fractional part (pixels per inch), else 0.
    double fractional = 0.0;
};

struct JpegResolution {
    int numerator = 300;
    int denominator = 1;

    // A fractional Photoshop resolution gives round(100 x it) / 100. Otherwise
    // the vertical density (or, when that is 300, the horizontal one, negated
    // when it differs from 300) scaled to hundredths of an inch. No usable
    // density (unit 0, an unknown unit, a density of 0) gives 300 / 1.
    static JpegResolution fromDensity(const JpegDensity& density, bool useFractional);
};

}  // namespace QuillonCore

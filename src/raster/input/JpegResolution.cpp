#include "raster/input/JpegResolution.h"

#include "platform/velsys/Arithmetic.h"

namespace QuillonCore {

JpegResolution JpegResolution::fromDensity(const JpegDensity& density, bool useFractional) {
    if (useFractional && density.fractional != 0.0)
        return {VelSys::iround(100.0 * density.fractional), 100};
    // Hundredths of an inch per unit: an inch, or a centimetre (2.54 inch).
    int perUnit = 0;
    if (density.unit == 1) perUnit = 100;
    if (density.unit == 2) perUnit = 254;
    if (perUnit == 0) return {};
    // The output scale of the decoder is 1/1.
    const bool useHorizontal = density.vertical == 300;
    const int value = useHorizontal ? density.horizontal : density.vertical;
    if (value <= 0) return {};
    int numerator = perUnit * value;
    if (useHorizontal && density.horizontal != 300) numerator = -numerator;
    return {numerator, 100};
}

}  // namespace QuillonCore

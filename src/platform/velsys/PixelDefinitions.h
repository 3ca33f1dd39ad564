#pragma once
// Pixel file formats of the system library.

namespace VelSys::PixelDefinitions {

enum pixfmttype : int {
    kPixelFormatNone = 0,
    kPixelFormatTiff = 1,
    kPixelFormatJpeg = 2,
};

}  // namespace VelSys::PixelDefinitions

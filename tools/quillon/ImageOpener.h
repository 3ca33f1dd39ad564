#pragma once
// Opens an image file for the commands that read images: detects its type
// and makes the reader for it.

#include <memory>
#include <string>

#include "platform/velsys/fil.h"
#include "raster/input/pixreatyp.h"

namespace Quillon {

struct OpenedImage {
    std::unique_ptr<VelSys::fil> file;
    std::string type;                                // "TIFF", "JPEG", ... as detected
    std::unique_ptr<QuillonCore::pixreatyp> reader;  // null for a type without a reader
};

class ImageOpener {
  public:
    // False (with a message in error) when the file cannot be opened.
    static bool open(const std::string& path, OpenedImage& image, std::string& error);
    // The file type from its first bytes, or "unknown".
    static std::string typeOf(VelSys::fil& file);
};

}  // namespace Quillon

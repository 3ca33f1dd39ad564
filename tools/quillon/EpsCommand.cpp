// quillon eps: an image as EPS whose image data is JPEG (DCTDecode).

#include <iostream>

#include "Command.h"
#include "JpegExport.h"

namespace Quillon {

namespace {

int runEps(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    JpegExportOptions options;
    if (const int status =
            parseExportArguments(*CommandRegistry::find("eps"), args, true, files, options))
        return status;
    std::string error;
    if (!writeEpsFile(files[0], files[1], options, error)) {
        std::cerr << "quillon eps: " << error << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

const CommandRegistration kEps{
    {"eps", "IN OUT.eps [--ascii]", "Write an image as EPS with JPEG (DCTDecode) data",
     "Writes an EPS file (DSC header with %%BoundingBox in points from the image's resolution)\n"
     "whose image is the JPEG data of IN: binary between %%BeginBinary and %%EndBinary, or\n"
     "ASCIIHex with --ascii.",
     runEps}};

}  // namespace

}  // namespace Quillon

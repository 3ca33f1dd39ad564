// quillon jpeg: an image to a JPEG file through the library's compressor.

#include <iostream>

#include "Command.h"
#include "JpegExport.h"

namespace Quillon {

namespace {

int runJpeg(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    JpegExportOptions options;
    if (const int status =
            parseExportArguments(*CommandRegistry::find("jpeg"), args, false, files, options))
        return status;
    std::string error;
    if (!writeJpegFile(files[0], files[1], options, error)) {
        std::cerr << "quillon jpeg: " << error << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

const CommandRegistration kJpeg{
    {"jpeg", "IN OUT.jpg [--quality Q]", "Compress an image to a JPEG file",
     "Reads IN (any image the library reads) and writes its pixels as a baseline JPEG with\n"
     "optimised Huffman tables and the image's resolution as JFIF density. --quality: 1 to 100\n"
     "(default 85).",
     runJpeg}};

}  // namespace

}  // namespace Quillon

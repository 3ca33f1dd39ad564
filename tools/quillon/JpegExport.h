#pragma once
// Writing an image as a JPEG file or as an EPS file holding its JPEG data:
// the roads of `quillon jpeg`, `quillon eps` and the demo.

#include <string>
#include <vector>

#include "Command.h"

namespace Quillon {

struct JpegExportOptions {
    int quality = 85;
    bool ascii = false;  // EPS only: ASCIIHex instead of binary data
};

// Parses IN OUT [--quality Q] (allowAscii: IN OUT [--ascii]); kExitSuccess,
// or kExitUsage after saying what is wrong.
int parseExportArguments(const Command& command, const std::vector<std::string>& args,
                         bool allowAscii, std::vector<std::string>& files,
                         JpegExportOptions& options);

// False with the reason in error when the input cannot be read or the output
// cannot be written.
bool writeJpegFile(const std::string& input, const std::string& output,
                   const JpegExportOptions& options, std::string& error);
bool writeEpsFile(const std::string& input, const std::string& output,
                  const JpegExportOptions& options, std::string& error);

}  // namespace Quillon

// quillon convert IN OUT.tif [--compression none|lzw|packbits] [--byte-order II|MM]
//                 [--software TEXT] [--description TEXT]

#include <iostream>
#include <map>

#include "Command.h"
#include "TiffConversion.h"

namespace Quillon {

namespace {

bool parseOption(const std::string& name, const std::string& value,
                 TiffConversionOptions& options) {
    static const std::map<std::string, QuillonCore::tifcompression> kCompressions = {
        {"none", QuillonCore::kTifCompressionNone},
        {"lzw", QuillonCore::kTifCompressionLzw},
        {"packbits", QuillonCore::kTifCompressionPackBits}};
    if (name == "--compression") {
        const auto it = kCompressions.find(value);
        if (it == kCompressions.end()) return false;
        options.compression = it->second;
    } else if (name == "--byte-order") {
        if (value != "II" && value != "MM") return false;
        options.byteOrder = value == "II" ? QuillonCore::TiffOutStream::kLittleEndian
                                          : QuillonCore::TiffOutStream::kBigEndian;
    } else if (name == "--software") {
        options.software = value;
    } else if (name == "--description") {
        options.description = value;
    } else {
        return false;
    }
    return true;
}

int runConvert(const std::vector<std::string>& args) {
    const Command& command = *CommandRegistry::find("convert");
    TiffConversionOptions options;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i].rfind("--", 0) != 0) {
            paths.push_back(args[i]);
        } else if (i + 1 >= args.size() || !parseOption(args[i], args[i + 1], options)) {
            return usageError(command, "bad option '" + args[i] +
                                           (i + 1 < args.size() ? " " + args[i + 1] : "") + "'");
        } else {
            ++i;
        }
    }
    if (paths.size() != 2) return usageError(command, "give IN and OUT");
    std::string error;
    if (!TiffConversion::Convert(paths[0], paths[1], options, error)) {
        std::cerr << "quillon convert: " << error << "\n";
        return kExitFailure;
    }
    return kExitSuccess;
}

const CommandRegistration kConvert{
    {"convert",
     "IN OUT.tif [--compression none|lzw|packbits] [--byte-order II|MM] [--software TEXT] "
     "[--description TEXT]",
     "Write an image as a TIFF file",
     "Reads IN with the library's readers (all samples; palette images as RGB) and writes\n"
     "OUT with the same interpretation, separations, extra channels, resolution and\n"
     "clipping path. Default: LZW (with horizontal differencing for 8-bit samples),\n"
     "little-endian (II), Software \"QuillonCore\". Exit 1 when IN cannot be read or OUT\n"
     "cannot be written.",
     runConvert}};

}  // namespace

}  // namespace Quillon

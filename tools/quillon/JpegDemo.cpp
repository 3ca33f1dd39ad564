// Demo step: a bundled JPEG read by the JPEG reader, compressed again to a
// JPEG file and written as EPS with binary and ASCIIHex JPEG data.

#include <filesystem>
#include <ostream>

#include "Demo.h"
#include "JpegExport.h"

namespace Quillon {

namespace {

bool runJpegDemo(DemoContext& context) {
    const std::filesystem::path input = context.samplesFolder / "jpeg-cmyk.jpg";
    struct Output {
        const char* name;
        bool eps;
        bool ascii;
    };
    const Output outputs[] = {{"jpeg-cmyk-q85.jpg", false, false},
                              {"jpeg-cmyk-binary.eps", true, false},
                              {"jpeg-cmyk-asciihex.eps", true, true}};
    for (const Output& output : outputs) {
        const std::filesystem::path path = context.outputFolder / output.name;
        JpegExportOptions options;
        options.ascii = output.ascii;
        std::string error;
        const bool written = output.eps
                                 ? writeEpsFile(input.string(), path.string(), options, error)
                                 : writeJpegFile(input.string(), path.string(), options, error);
        if (!written) {
            context.out << "   " << output.name << ": " << error << "\n";
            return false;
        }
        context.out << "   " << input.filename().string() << " -> " << output.name << " ("
                    << std::filesystem::file_size(path) << " bytes)\n";
    }
    return true;
}

const DemoStepRegistration kJpegDemo{
    {"40-jpeg", "JPEG: read a CMYK JPEG, write it as JPEG and as EPS", runJpegDemo}};

}  // namespace

}  // namespace Quillon

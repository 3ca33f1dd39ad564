// Demo step: the reader frame's row helpers, localized texts and pixel
// buffers, on rows made here (no file needed).

#include <cstdint>
#include <cstring>
#include <fstream>
#include <ostream>
#include <vector>

#include "Demo.h"
#include "platform/velsys/drapix.h"
#include "raster/input/PixelBuffer.h"
#include "raster/input/RunListWriter.h"
#include "raster/input/XrgbRow.h"
#include "raster/input/pixreatyp.h"
#include "services/Localization.h"

namespace Quillon {

namespace {

constexpr int kWidth = 64;
constexpr int kRows = 32;

// A gray ramp with a dark band, thresholded and turned into a run list.
void showRunList(std::ostream& out) {
    std::vector<unsigned char> row(kWidth);
    for (int x = 0; x < kWidth; ++x) row[x] = static_cast<unsigned char>(x < 40 ? 4 * x : 60);
    QuillonCore::graytobw(row.data(), kWidth);
    std::int32_t runs[16];
    const bool fits = QuillonCore::encodeRunList(reinterpret_cast<unsigned char*>(runs),
                                                 sizeof runs, row.data(), kWidth, 1);
    out << "   gray ramp of " << kWidth << " pixels at threshold " << QuillonCore::gTreshold
        << "% -> runs of black:";
    for (int i = 0; fits && runs[i] != QuillonCore::kRunListTerminator; i += 2)
        out << " [" << runs[i] << ".." << runs[i + 1] << "]";
    out << "\n";
}

void showTexts(std::ostream& out) {
    for (const char* key : {"CANNOT READ TIFF FILE", "OUT OF MEMORY", "ERROR IN FILE FORMAT"})
        out << "   catalogue: \"" << key << "\" -> \""
            << QuillonCore::GetLocalizedUTF8String(key, "") << "\"\n";
}

// CMYK ink ramps turned into preview pixels, drawn into a drawing buffer.
VelSys::drapix previewDrawing() {
    VelSys::drapix drawing(kRows, kWidth);
    std::vector<unsigned char> row(4 * kWidth);
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            unsigned char* ink = &row[4 * x];
            ink[0] = static_cast<unsigned char>(4 * x);
            ink[1] = static_cast<unsigned char>(8 * y);
            ink[2] = static_cast<unsigned char>(255 - 4 * x);
            ink[3] = 0;
        }
        QuillonCore::xrgbFromInk(row.data(), kWidth, row.data());
        for (int x = 0; x < kWidth; ++x)
            drawing.setPixel(y, x, row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]);
    }
    return drawing;
}

bool writePpm(const QuillonCore::PixelBuffer& buffer, const std::filesystem::path& path) {
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << buffer.GetWidth() << " " << buffer.GetHeight() << "\n255\n";
    const unsigned char* p = buffer.GetPixelData().get();
    for (unsigned long i = 0; i < buffer.GetWidth() * buffer.GetHeight(); ++i, p += 4)
        file.write(reinterpret_cast<const char*>(p + 1), 3);
    return static_cast<bool>(file);
}

bool runFoundation(DemoContext& context) {
    showRunList(context.out);
    showTexts(context.out);
    VelSys::drapix drawing = previewDrawing();
    const auto whole = QuillonCore::PixelBuffer::CreateFromDraPix(&drawing);
    const auto part = QuillonCore::PixelBuffer::CreatePartFromPixelBuffer(whole, 8, 24, 16, 48);
    context.out << "   CMYK ramps as preview pixels: " << whole.GetWidth() << " x "
                << whole.GetHeight() << "; part [8,24) x [16,48) is " << part.GetWidth() << " x "
                << part.GetHeight() << " (" << part.GetBufferSize() << " bytes)\n";
    const auto path = context.outputFolder / "foundation-preview.ppm";
    if (!writePpm(whole, path)) return false;
    context.out << "   wrote " << path.filename().string() << "\n";
    return part.GetWidth() == 32 && part.GetHeight() == 16;
}

const DemoStepRegistration kFoundation{
    {"05-foundation", "Row helpers, localized texts and pixel buffers", runFoundation}};

}  // namespace

}  // namespace Quillon

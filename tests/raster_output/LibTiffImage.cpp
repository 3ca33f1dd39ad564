#include "raster_output/LibTiffImage.h"

#include <tiffio.h>

#include <cstdarg>
#include <cstring>
#include <fstream>
#include <iterator>

namespace QuillonTest {

namespace {

struct MemoryFile {
    const std::vector<unsigned char>* bytes;
    toff_t position = 0;
};

tsize_t readProc(thandle_t h, tdata_t buffer, tsize_t size) {
    auto* f = static_cast<MemoryFile*>(h);
    const toff_t left = f->position < f->bytes->size() ? f->bytes->size() - f->position : 0;
    const toff_t n = std::min<toff_t>(left, static_cast<toff_t>(size));
    if (n) std::memcpy(buffer, f->bytes->data() + f->position, n);
    f->position += n;
    return static_cast<tsize_t>(n);
}
tsize_t writeProc(thandle_t, tdata_t, tsize_t) {
    return -1;
}
toff_t seekProc(thandle_t h, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    const toff_t base = whence == SEEK_SET   ? 0
                        : whence == SEEK_CUR ? f->position
                                             : f->bytes->size();
    f->position = base + offset;
    return f->position;
}
int closeProc(thandle_t) {
    return 0;
}
toff_t sizeProc(thandle_t h) {
    return static_cast<MemoryFile*>(h)->bytes->size();
}

thread_local std::vector<std::string>* gDiagnostics = nullptr;

void collect(const char* module, const char* format, va_list args) {
    char text[1024];
    std::vsnprintf(text, sizeof text, format, args);
    if (gDiagnostics) gDiagnostics->push_back(std::string(module ? module : "") + ": " + text);
}

// CMYKEquivalent (a TIFF/IT tag) is unknown to libtiff; registering it keeps
// its directory reading free of "unknown tag" warnings.
TIFFExtendProc gParentExtender = nullptr;
void registerCmykEquivalent(TIFF* tif) {
    static const TIFFFieldInfo kInfo[] = {{34032, TIFF_VARIABLE2, TIFF_VARIABLE2, TIFF_BYTE,
                                           FIELD_CUSTOM, 1, 1,
                                           const_cast<char*>("CMYKEquivalent")}};
    TIFFMergeFieldInfo(tif, kInfo, 1);
    if (gParentExtender) gParentExtender(tif);
}

void installHandlers() {
    static const bool installed = [] {
        TIFFSetWarningHandler(collect);
        TIFFSetErrorHandler(collect);
        gParentExtender = TIFFSetTagExtender(registerCmykEquivalent);
        return true;
    }();
    (void)installed;
}

template <typename T>
std::vector<unsigned char> bytesField(TIFF* tif, ttag_t tag) {
    T count = 0;
    unsigned char* data = nullptr;
    if (!TIFFGetField(tif, tag, &count, &data) || !data) return {};
    return std::vector<unsigned char>(data, data + count);
}

std::string textField(TIFF* tif, ttag_t tag) {
    char* text = nullptr;
    return TIFFGetField(tif, tag, &text) && text ? std::string(text) : std::string();
}

void readFields(TIFF* tif, LibTiffImage& image) {
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &image.width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &image.height);
    TIFFGetField(tif, TIFFTAG_ROWSPERSTRIP, &image.rowsPerStrip);
    TIFFGetField(tif, TIFFTAG_SAMPLESPERPIXEL, &image.samplesPerPixel);
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &image.bitsPerSample);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &image.photometric);
    TIFFGetField(tif, TIFFTAG_COMPRESSION, &image.compression);
    TIFFGetField(tif, TIFFTAG_PREDICTOR, &image.predictor);
    TIFFGetField(tif, TIFFTAG_RESOLUTIONUNIT, &image.resolutionUnit);
    TIFFGetField(tif, TIFFTAG_ORIENTATION, &image.orientation);
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &image.xResolution);
    std::uint16_t extraCount = 0;
    std::uint16_t* extra = nullptr;
    if (TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extra) && extra)
        image.extraSamples.assign(extra, extra + extraCount);
    char* inks = nullptr;
    std::uint16_t inkCount = image.samplesPerPixel;
    TIFFGetField(tif, TIFFTAG_NUMBEROFINKS, &inkCount);
    if (TIFFGetField(tif, TIFFTAG_INKNAMES, &inks) && inks) {
        for (const char* name = inks; inkCount-- > 0; name += std::strlen(name) + 1)
            image.inkNames.append(name, std::strlen(name) + 1);
    }
    image.software = textField(tif, TIFFTAG_SOFTWARE);
    image.description = textField(tif, TIFFTAG_IMAGEDESCRIPTION);
    image.photoshop = bytesField<std::uint32_t>(tif, TIFFTAG_PHOTOSHOP);
    image.cmykEquivalent = bytesField<std::uint32_t>(tif, 34032);
}

}  // namespace

LibTiffImage LibTiffImage::ReadFile(const std::string& path, bool withRgba) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    return Read(bytes, withRgba);
}

LibTiffImage LibTiffImage::Read(const std::vector<unsigned char>& file, bool withRgba) {
    installHandlers();
    LibTiffImage image;
    gDiagnostics = &image.diagnostics;
    MemoryFile memory{&file};
    TIFF* tif = TIFFClientOpen("memory", "rm", &memory, readProc, writeProc, seekProc, closeProc,
                               sizeProc, nullptr, nullptr);
    if (tif) {
        image.opened = true;
        readFields(tif, image);
        if (withRgba) {
            image.rgba.resize(static_cast<std::size_t>(image.width) * image.height);
            if (!TIFFReadRGBAImage(tif, image.width, image.height, image.rgba.data(), 0))
                image.rgba.clear();
            image.height = 0;  // libtiff reads no scanlines after the whole picture
        }
        std::vector<unsigned char> row(static_cast<std::size_t>(TIFFScanlineSize64(tif)));
        for (std::uint32_t y = 0; y < image.height; ++y) {
            if (TIFFReadScanline(tif, row.data(), y, 0) < 0) break;
            image.rows.push_back(row);
        }
        TIFFClose(tif);
    }
    gDiagnostics = nullptr;
    return image;
}

}  // namespace QuillonTest

// Reading TIFF rows: our reader (pixrealin, all samples; run lists for the
// bilevel images) against libtiff (TIFFReadScanline, turning bilevel rows
// into the same run lists) on generated 4000 x 4000 images, the file opened
// once for each.

#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/velsys/FileSpec.h"
#include "platform/velsys/fil.h"
#include "raster/input/RunListWriter.h"
#include "raster/input/tifreatyp.h"

namespace {

constexpr int kSize = 4000;

struct Image {
    const char* name;
    int spp, bits, photometric, compression, predictor;
};

const Image kImages[] = {
    {"gray8-lzw-pred2", 1, 8, PHOTOMETRIC_MINISBLACK, COMPRESSION_LZW, 2},
    {"cmyk8-lzw", 4, 8, PHOTOMETRIC_SEPARATED, COMPRESSION_LZW, 1},
    {"cmyk8-packbits", 4, 8, PHOTOMETRIC_SEPARATED, COMPRESSION_PACKBITS, 1},
    {"cmyk8-none", 4, 8, PHOTOMETRIC_SEPARATED, COMPRESSION_NONE, 1},
    {"bw-g4", 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX4, 1},
    {"bw-g3", 1, 1, PHOTOMETRIC_MINISWHITE, COMPRESSION_CCITTFAX3, 1},
};

// Smooth ramps with a little noise (continuous tone) or discs and bars
// (bilevel), so that every compression has realistic work to do.
unsigned char toneSample(int x, int y, int c) {
    const unsigned noise =
        (static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u) >> 29;
    return static_cast<unsigned char>(((x * (c + 1) + y * (3 - c)) >> 5) + noise);
}

bool blackPixel(int x, int y) {
    const int dx = x % 200 - 100, dy = y % 200 - 100;
    return dx * dx + dy * dy < 3600 || (y % 97 < 3) || (x / 7 % 13 == 0 && y % 150 < 60);
}

std::string path(const Image& image) {
    const auto dir = std::filesystem::temp_directory_path() / "quillon-bench";
    std::filesystem::create_directories(dir);
    return (dir / (std::string(image.name) + ".tif")).string();
}

void write(const Image& image) {
    const std::string file = path(image);
    if (std::filesystem::exists(file)) return;
    TIFF* tif = TIFFOpen(file.c_str(), "w");
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kSize);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kSize);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, image.spp);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, image.bits);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, image.photometric);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, image.compression);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (image.predictor != 1) TIFFSetField(tif, TIFFTAG_PREDICTOR, image.predictor);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, image.bits == 1 ? kSize : 64);
    std::vector<unsigned char> row(static_cast<std::size_t>(kSize) * image.spp);
    for (int y = 0; y < kSize; ++y) {
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < kSize; ++x)
            for (int c = 0; c < image.spp; ++c) {
                if (image.bits == 8)
                    row[x * image.spp + c] = toneSample(x, y, c);
                else if (blackPixel(x, y))
                    row[x >> 3] |= static_cast<unsigned char>(0x80 >> (x & 7));
            }
        TIFFWriteScanline(tif, row.data(), static_cast<std::uint32_t>(y), 0);
    }
    TIFFClose(tif);
}

void ours(benchmark::State& state, const Image& image) {
    write(image);
    VelSys::fil file;
    VelSys::openFile(&file, nullptr, VelSys::FileSpec(path(image)));
    const int selector = image.bits == 1 ? -2 : -4;
    std::vector<unsigned char> row(4 * (static_cast<std::size_t>(kSize) + 2) * image.spp);
    for (auto _ : state) {
        QuillonCore::tifreatyp reader(&file);
        int n, d, rows, columns;
        reader.pixreaini(&n, &d, &rows, &columns, selector, 0);
        for (int y = 0; y < rows; ++y) reader.pixrealin(row.data(), static_cast<int>(row.size()));
        reader.pixreaend();
        benchmark::DoNotOptimize(row.data());
    }
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(kSize),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void libtiff(benchmark::State& state, const Image& image) {
    write(image);
    TIFF* tif = TIFFOpen(path(image).c_str(), "r");
    std::vector<unsigned char> row(static_cast<std::size_t>(TIFFScanlineSize(tif)));
    std::vector<unsigned char> runs(4 * (static_cast<std::size_t>(kSize) + 2));
    for (auto _ : state) {
        for (int y = 0; y < kSize; ++y) {
            TIFFReadScanline(tif, row.data(), static_cast<std::uint32_t>(y), 0);
            if (image.bits == 1)
                QuillonCore::encodeRunList(runs.data(), static_cast<int>(runs.size()), row.data(),
                                           kSize, 1);
        }
        benchmark::DoNotOptimize(row.data());
    }
    TIFFClose(tif);
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(kSize),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

const bool kRegistered = [] {
    TIFFSetWarningHandler(nullptr);
    for (const Image& image : kImages) {
        benchmark::RegisterBenchmark((std::string("TiffRead/") + image.name + "/ours").c_str(),
                                     [&image](benchmark::State& s) { ours(s, image); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("TiffRead/") + image.name + "/libtiff").c_str(),
                                     [&image](benchmark::State& s) { libtiff(s, image); })
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace

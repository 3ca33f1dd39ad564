// TIFF encoding against libtiff: the same 4000 x 4000 rows (8-bit CMYK and
// 8-bit gray) compressed with LZW (with and without horizontal differencing)
// and PackBits, one row per strip, into memory on both sides.
//
// Ours: TiffWriter with its filter (the LZW encoder directly when there is
// no predictor, which TiffWriter only omits for other depths). The peer:
// TIFFWriteScanline. The "bytes" counter is the size of the file produced.

#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <cmath>
#include <cstring>
#include <random>

#include "platform/velsys/FileIO.h"
#include "raster/output/FileIOTiffOutStream.h"
#include "raster/output/LzwTiffFilter.h"
#include "raster/output/PackBitsTiffFilter.h"
#include "raster/output/TiffWriter.h"
#include "raster/output/lzwouttyp.h"

using namespace QuillonCore;

namespace {

constexpr int kSize = 4000;

// A photograph-like picture: smooth shading with texture and a little
// noise, different in each channel, with flat areas (as around artwork).
const std::vector<unsigned char>& picture(int samples) {
    static std::vector<unsigned char> planes[5];
    std::vector<unsigned char>& bytes = planes[samples];
    if (!bytes.empty()) return bytes;
    bytes.resize(static_cast<std::size_t>(kSize) * kSize * samples);
    std::mt19937 random(42);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const bool flat = (x / 500 + y / 700) % 5 == 0;
            for (int s = 0; s < samples; ++s) {
                const double shade = 128 +
                                     90 * std::sin(x * 0.0021 * (s + 1) + y * 0.0013) *
                                         std::cos(y * 0.0017 - x * 0.0004 * s) +
                                     12 * std::sin(x * 0.09 + y * 0.05 * s);
                const int noise = static_cast<int>(random() % 5) - 2;
                const int value = flat ? 255 * (s == 3) : static_cast<int>(shade) + noise;
                bytes[(static_cast<std::size_t>(y) * kSize + x) * samples + s] =
                    static_cast<unsigned char>(std::clamp(value, 0, 255));
            }
        }
    }
    return bytes;
}

const unsigned char* rowOf(const std::vector<unsigned char>& image, int samples, int y) {
    return image.data() + static_cast<std::size_t>(y) * kSize * samples;
}

std::size_t writeOurs(tifcompression compression, int samples) {
    const auto& image = picture(samples);
    VelSys::FileIO sink;
    auto stream = std::make_unique<FileIOTiffOutStream>(sink, TiffOutStream::kLittleEndian);
    std::unique_ptr<TiffFilter> filter;
    if (compression == kTifCompressionLzw)
        filter = std::make_unique<LzwTiffFilter>(std::move(stream));
    else
        filter = std::make_unique<PackBitsTiffFilter>(std::move(stream));
    TiffWriter writer(std::move(filter), kSize, kSize, 8, static_cast<unsigned long>(samples),
                      ColorspaceInfo(samples == 4 ? 5 : 1), 300, 1, 0, 1, nullptr, 0, 0, "bench",
                      "");
    for (int y = 0; y < kSize; ++y) writer.Write(rowOf(image, samples, y), kSize);
    writer.Flush();
    if (writer.Failed()) throw std::runtime_error("write failed");
    return sink.contents().size();
}

// LZW without the predictor: the encoder behind TiffWriter's filter, on its own.
std::size_t writeOursLzwPlain(int samples) {
    const auto& image = picture(samples);
    VelSys::FileIO sink;
    const std::vector<unsigned char> header(8 + 8 * kSize, 0);
    sink.Write(header.data(), header.size());
    lzwouttyp* encoder = tiflzwoutini(&sink, 1);
    TiffHeaderInfo layout{8, 8 + 4 * kSize, kSize, 0};
    tiflzwsetstrippar(encoder, kSize, 1, layout, header.size(), 1);
    for (int y = 0; y < kSize; ++y)
        tiflzwoutrow(encoder, rowOf(image, samples, y), static_cast<std::size_t>(kSize) * samples,
                     samples);
    if (!tiflzwoutexi(encoder)) throw std::runtime_error("write failed");
    return sink.contents().size();
}

struct MemoryFile {
    std::vector<unsigned char> bytes;
    toff_t position = 0;
};
tsize_t memRead(thandle_t, tdata_t, tsize_t) {
    return 0;
}
tsize_t memWrite(thandle_t h, tdata_t data, tsize_t size) {
    auto* f = static_cast<MemoryFile*>(h);
    if (f->bytes.size() < f->position + size) f->bytes.resize(f->position + size);
    std::memcpy(f->bytes.data() + f->position, data, static_cast<std::size_t>(size));
    f->position += size;
    return size;
}
toff_t memSeek(thandle_t h, toff_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(h);
    f->position = (whence == SEEK_SET   ? 0
                   : whence == SEEK_CUR ? f->position
                                        : f->bytes.size()) +
                  offset;
    return f->position;
}
int memClose(thandle_t) {
    return 0;
}
toff_t memSize(thandle_t h) {
    return static_cast<MemoryFile*>(h)->bytes.size();
}

std::size_t writeLibTiff(int compression, int samples, int predictor) {
    const auto& image = picture(samples);
    MemoryFile file;
    TIFF* tif = TIFFClientOpen("bench", "w", &file, memRead, memWrite, memSeek, memClose, memSize,
                               nullptr, nullptr);
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kSize);
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kSize);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC,
                 samples == 4 ? PHOTOMETRIC_SEPARATED : PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
    if (compression == COMPRESSION_LZW) TIFFSetField(tif, TIFFTAG_PREDICTOR, predictor);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 1);
    std::vector<unsigned char> row(static_cast<std::size_t>(kSize) * samples);
    for (int y = 0; y < kSize; ++y) {
        // libtiff differences the row in place, so it gets a copy.
        std::memcpy(row.data(), rowOf(image, samples, y), row.size());
        if (TIFFWriteScanline(tif, row.data(), static_cast<std::uint32_t>(y), 0) < 0)
            throw std::runtime_error("libtiff failed");
    }
    TIFFClose(tif);
    return file.bytes.size();
}

template <typename Encode>
void run(benchmark::State& state, int samples, Encode encode) {
    picture(samples);
    std::size_t bytes = 0;
    for (auto _ : state) bytes = encode();
    state.counters["bytes"] = static_cast<double>(bytes);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kSize * kSize *
                            samples);
}

void OursLzw(benchmark::State& state, int samples) {
    run(state, samples, [&] { return writeOurs(kTifCompressionLzw, samples); });
}
void LibTiffLzw(benchmark::State& state, int samples) {
    run(state, samples,
        [&] { return writeLibTiff(COMPRESSION_LZW, samples, PREDICTOR_HORIZONTAL); });
}
void OursLzwNoPredictor(benchmark::State& state, int samples) {
    run(state, samples, [&] { return writeOursLzwPlain(samples); });
}
void LibTiffLzwNoPredictor(benchmark::State& state, int samples) {
    run(state, samples, [&] { return writeLibTiff(COMPRESSION_LZW, samples, PREDICTOR_NONE); });
}
void OursPackBits(benchmark::State& state, int samples) {
    run(state, samples, [&] { return writeOurs(kTifCompressionPackBits, samples); });
}
void LibTiffPackBits(benchmark::State& state, int samples) {
    run(state, samples,
        [&] { return writeLibTiff(COMPRESSION_PACKBITS, samples, PREDICTOR_NONE); });
}

}  // namespace

#define TIFF_WRITE_BENCH(fn, name, samples) \
    BENCHMARK_CAPTURE(fn, name, samples)->Unit(benchmark::kMillisecond)->MinTime(2.0)

TIFF_WRITE_BENCH(OursLzw, cmyk, 4);
TIFF_WRITE_BENCH(LibTiffLzw, cmyk, 4);
TIFF_WRITE_BENCH(OursLzw, gray, 1);
TIFF_WRITE_BENCH(LibTiffLzw, gray, 1);
TIFF_WRITE_BENCH(OursLzwNoPredictor, gray, 1);
TIFF_WRITE_BENCH(LibTiffLzwNoPredictor, gray, 1);
TIFF_WRITE_BENCH(OursPackBits, cmyk, 4);
TIFF_WRITE_BENCH(LibTiffPackBits, cmyk, 4);
TIFF_WRITE_BENCH(OursPackBits, gray, 1);
TIFF_WRITE_BENCH(LibTiffPackBits, gray, 1);

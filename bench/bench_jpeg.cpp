// JPEG decoding and compression: the library (jpegreatyp, jpeghandler)
// against plain libjpeg on the same data in the same process.
//
// Images: 4000 x 4000 RGB and CMYK, smooth gradients with noise, compressed
// at quality 90. Decoding delivers composite rows (selector -3) against
// libjpeg's scanline decoding from memory; compression uses the same
// settings on both sides, written to the null device (quality 90, baseline tables, optimised
// Huffman coding, floating-point DCT, JFIF density).

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "platform/velsys/FileSpec.h"
#include "platform/velsys/fil.h"
#include "raster/input/jpegreatyp.h"
#include "raster/output/jpeghandler.h"

namespace {

// glibc moves its mmap threshold after large frees, which makes the page
// faults of libjpeg's whole-image buffers depend on what ran before: fixed
// thresholds give every benchmark the same allocator.
const bool kFixedAllocator = [] {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    return true;
}();

constexpr int kSize = 4000;
constexpr int kQuality = 90;
// Both compressors write to the same sink.
constexpr const char* kSink = "/dev/null";

struct Image {
    int components;
    std::vector<unsigned char> samples;  // composite rows as the reader delivers them
    std::vector<unsigned char> jpeg;
    // The handler inverts its input: inverted samples make both sides
    // compress the same samples.
    std::vector<unsigned char> handlerInput;
};

std::vector<unsigned char> makeSamples(int components) {
    std::vector<unsigned char> samples(static_cast<std::size_t>(kSize) * kSize * components);
    unsigned state = 12345;
    std::size_t at = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            for (int c = 0; c < components; ++c) {
                state = state * 1103515245u + 12345u;
                const int noise = static_cast<int>((state >> 16) & 15) - 8;
                const int value = ((x * (c + 1) + y * (components - c)) / 40 + noise) & 255;
                samples[at++] = static_cast<unsigned char>(value);
            }
    return samples;
}

// Plain libjpeg compression with the library's settings. Input: rows in
// libjpeg's colour space (CMYK stored inverted, as CMYK JPEG files do).
std::vector<unsigned char> libjpegCompress(const std::vector<unsigned char>& samples,
                                           int components) {
    jpeg_compress_struct compressor;
    jpeg_error_mgr errors;
    compressor.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compressor);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compressor, &buffer, &size);
    compressor.image_width = compressor.image_height = kSize;
    compressor.input_components = components;
    compressor.in_color_space = components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_colorspace(&compressor, components == 4 ? JCS_YCCK : JCS_YCbCr);
    compressor.write_JFIF_header = TRUE;
    compressor.density_unit = 1;
    compressor.X_density = compressor.Y_density = 300;
    jpeg_set_quality(&compressor, kQuality, TRUE);
    compressor.optimize_coding = TRUE;
    compressor.smoothing_factor = 0;
    compressor.dct_method = JDCT_FLOAT;
    jpeg_start_compress(&compressor, TRUE);
    const std::size_t rowBytes = static_cast<std::size_t>(kSize) * components;
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(samples.data() + compressor.next_scanline * rowBytes);
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    jpeg_destroy_compress(&compressor);
    std::vector<unsigned char> jpeg(buffer, buffer ? buffer + size : buffer);
    std::free(buffer);
    return jpeg;
}

const Image& image(int components) {
    static Image rgb, cmyk;
    Image& made = components == 4 ? cmyk : rgb;
    if (made.jpeg.empty()) {
        made.components = components;
        made.samples = makeSamples(components);
        made.jpeg = libjpegCompress(made.samples, components);
        made.handlerInput = made.samples;
        for (auto& sample : made.handlerInput) sample = static_cast<unsigned char>(255 - sample);
    }
    return made;
}

void ourDecoding(benchmark::State& state) {
    const Image& source = image(static_cast<int>(state.range(0)));
    std::vector<unsigned char> row(static_cast<std::size_t>(kSize) * source.components);
    for (auto _ : state) {
        state.PauseTiming();
        VelSys::fil file;
        file.openMemory(source.jpeg);
        state.ResumeTiming();
        QuillonCore::jpegreatyp reader(&file);
        int numerator, denominator, rows, columns;
        reader.pixreaini(&numerator, &denominator, &rows, &columns, -3, 0);
        while (reader.pixrealin(row.data(), static_cast<int>(row.size())) == 1)
            benchmark::DoNotOptimize(row.data());
        reader.pixreaend();
    }
}

void libjpegDecoding(benchmark::State& state) {
    const Image& source = image(static_cast<int>(state.range(0)));
    std::vector<unsigned char> row(static_cast<std::size_t>(kSize) * source.components);
    for (auto _ : state) {
        jpeg_decompress_struct decoder;
        jpeg_error_mgr errors;
        decoder.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&decoder);
        jpeg_mem_src(&decoder, source.jpeg.data(), source.jpeg.size());
        jpeg_read_header(&decoder, TRUE);
        jpeg_start_decompress(&decoder);
        JSAMPROW line = row.data();
        while (decoder.output_scanline < decoder.output_height) {
            jpeg_read_scanlines(&decoder, &line, 1);
            benchmark::DoNotOptimize(row.data());
        }
        jpeg_finish_decompress(&decoder);
        jpeg_destroy_decompress(&decoder);
    }
}

void ourCompression(benchmark::State& state) {
    const int components = static_cast<int>(state.range(0));
    const Image& source = image(components);
    const std::vector<unsigned char>& input = source.handlerInput;
    const std::size_t rowBytes = static_cast<std::size_t>(kSize) * components;
    for (auto _ : state) {
        VelSys::fil out;
        VelSys::errtyp error;
        VelSys::saveFile(&out, &error, VelSys::FileSpec(kSink));
        QuillonCore::jpeghandler handler(&out, components == 4 ? 5 : 2, kSize, kSize, 300, 1,
                                         kQuality, true);
        handler.startcompression();
        for (int y = 0; y < kSize; ++y) handler.handlebytes(input.data() + y * rowBytes, rowBytes);
        if (handler.endcompression() != 0) state.SkipWithError("compression failed");
    }
}

void libjpegCompression(benchmark::State& state) {
    const Image& source = image(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(libjpegCompress(source.samples, source.components));
}

}  // namespace

// Argument: components (3 RGB, 4 CMYK).
BENCHMARK(ourDecoding)
    ->Arg(3)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4)
    ->Repetitions(5);
BENCHMARK(libjpegDecoding)
    ->Arg(3)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4)
    ->Repetitions(5);
BENCHMARK(ourCompression)
    ->Arg(3)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK(libjpegCompression)
    ->Arg(3)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);

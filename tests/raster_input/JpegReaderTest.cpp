// The JPEG reader against libjpeg's own decoding of real files (the corpus
// digests), its row layouts, resolutions and errors.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/velgen/colsynlnk.h"
#include "platform/velsys/RecoveryScope.h"
#include "platform/velsys/fil.h"
#include "platform/velsys/filref.h"
#include "raster/input/RunListWriter.h"
#include "raster/input/jpegreatyp.h"
#include "support/JpegTestFiles.h"
#include "support/Sha256.h"
#include "support/TestSupport.h"

using namespace QuillonCore;
using namespace QuillonTest;

namespace {

std::vector<unsigned char> fixture(const std::string& name) {
    return fileBytes(dataPath(name));
}

struct DigestCase {
    const char* file;
    int interpretation;
    int components;
    const char* digest;
};

// libjpeg's samples: gray luminance, RGB, and CMYK as stored (255 - ink).
const DigestCase kDigests[] = {
    {"jpeg-testorig.jpg", 2, 3, "37280c2751859a3cff4b45000b365aba7c102b6e7da5c1a39c95752269d4f34e"},
    {"jpeg-progressive.jpg", 2, 3,
     "37280c2751859a3cff4b45000b365aba7c102b6e7da5c1a39c95752269d4f34e"},
    {"jpeg-nojfif.jpg", 2, 3, "37280c2751859a3cff4b45000b365aba7c102b6e7da5c1a39c95752269d4f34e"},
    {"jpeg-444-restart.jpg", 2, 3,
     "bfc0d194514b64224d71b07115101a11969561f19d9685f54f8bb0a7d6b45f36"},
    {"jpeg-jfif-unit0.jpg", 2, 3,
     "b8cef5f4eae203433f57c785269465763e97790242527b69fb10f314d12ad350"},
    {"jpeg-ps-odd-resource-before-1005.jpg", 2, 3,
     "31141ff19b3e399b07645a84935533072d7c6173333d8712c719efb6e8481b37"},
    {"jpeg-ps-res-72.5dpi.jpg", 2, 3,
     "0e6dcef4ac0157273c6a85a902bcfeeeac62900dd2012fb2440142b7dcc6d2c4"},
    {"jpeg-gray.jpg", 1, 1, "fec19834cfac327443fc84e721b39a41dfcaafb24df1041808152c387859b1d6"},
    {"jpeg-cmyk-adobe0.jpg", 5, 4,
     "7e0a8d9a581f759ccd37f173d6c17e9302da8c896155f03585b8d1ea81acee3d"},
    {"jpeg-cmyk.jpg", 5, 4, "1095322d8629ba08c9d4ff493c7b25c85c3ea9fa299005c0be592f66ac763045"},
    {"jpeg-truncated.jpg", 2, 3,
     "c749b74315a4953b843cdc9408d2d078ec13ffc8af0f1ae5b817d72f0e08c40d"},
};

std::vector<unsigned char> inverted(std::vector<unsigned char> bytes) {
    for (auto& b : bytes) b = static_cast<unsigned char>(255 - b);
    return bytes;
}

}  // namespace

TEST(JpegReader, AllSamplesEqualLibjpegDigests) {
    for (const DigestCase& c : kDigests) {
        SCOPED_TRACE(c.file);
        for (int selector : {-3, -4}) {
            const DecodedJpeg decoded = decodeJpeg(fixture(c.file), selector, c.components);
            ASSERT_EQ(decoded.result, 0);
            EXPECT_EQ(decoded.interpretation, c.interpretation);
            EXPECT_EQ(decoded.rowsDelivered, decoded.rows);
            // CMYK composites are ink amounts: the stored values inverted.
            const auto stored = c.interpretation == 5 ? inverted(decoded.pixels) : decoded.pixels;
            EXPECT_EQ(sha256Hex(stored), c.digest);
        }
    }
}

namespace {

// Every layout of a file, derived independently from its composite rows.
std::vector<unsigned char> expectedLayout(const std::vector<unsigned char>& composite,
                                          int interpretation, int selector) {
    const int components = interpretation == 5 ? 4 : interpretation == 2 ? 3 : 1;
    const std::size_t pixels = composite.size() / components;
    std::vector<unsigned char> out;
    for (std::size_t i = 0; i < pixels; ++i) {
        const unsigned char* p = composite.data() + i * components;
        if (selector >= 0 && interpretation == 1) {
            out.push_back(p[0]);
        } else if (selector >= 0) {
            out.push_back(static_cast<unsigned char>(255 - p[selector]));
        } else if (interpretation == 1) {
            out.insert(out.end(), {0, p[0], p[0], p[0]});
        } else if (interpretation == 2) {
            out.insert(out.end(), {0, p[0], p[1], p[2]});
        } else {
            unsigned char pixel[4] = {p[0], p[1], p[2], p[3]};
            VelGen::cmykrgbrun(pixel, 1);
            out.insert(out.end(), pixel, pixel + 4);
        }
    }
    return out;
}

}  // namespace

TEST(JpegReader, PreviewAndSingleChannelsFollowTheComposite) {
    struct Case {
        const char* file;
        int interpretation;
        std::vector<int> selectors;
    };
    const Case cases[] = {
        {"jpeg-gray.jpg", 1, {-1, 0, 5}},
        {"jpeg-testorig.jpg", 2, {-1, 0, 1, 2}},
        {"jpeg-cmyk.jpg", 5, {-1, 0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        const int components = c.interpretation == 5 ? 4 : c.interpretation == 2 ? 3 : 1;
        const auto composite = decodeJpeg(fixture(c.file), -3, components).pixels;
        for (int selector : c.selectors) {
            SCOPED_TRACE(std::string(c.file) + " selector " + std::to_string(selector));
            const DecodedJpeg decoded =
                decodeJpeg(fixture(c.file), selector, selector == -1 ? 4 : 1);
            ASSERT_EQ(decoded.result, 0);
            EXPECT_EQ(decoded.pixels, expectedLayout(composite, c.interpretation, selector));
        }
    }
}

namespace {

std::vector<std::int32_t> expectedRuns(const std::vector<unsigned char>& composite,
                                       int interpretation, int width) {
    const int components = interpretation == 5 ? 4 : interpretation == 2 ? 3 : 1;
    std::vector<std::int32_t> runs;
    const std::size_t rows = composite.size() / (components * width);
    for (std::size_t y = 0; y < rows; ++y) {
        int start = -1;
        for (int x = 0; x <= width; ++x) {
            bool dark = false;
            if (x < width) {
                const unsigned char* p = composite.data() + (y * width + x) * components;
                int gray = p[0];
                if (interpretation == 2) gray = (30 * p[0] + 59 * p[1] + 11 * p[2]) / 100;
                if (interpretation == 5)
                    gray =
                        255 - std::min(255, (30 * p[0] + 59 * p[1] + 11 * p[2] + 100 * p[3]) / 100);
                dark = gray <= 127;
            }
            if (dark && start < 0) start = x;
            if (!dark && start >= 0) {
                runs.insert(runs.end(), {start, x - 1});
                start = -1;
            }
        }
        runs.push_back(kRunListTerminator);
    }
    return runs;
}

}  // namespace

TEST(JpegReader, RunListsMarkDarkPixels) {
    for (auto [file, interpretation] :
         {std::pair{"jpeg-gray.jpg", 1}, {"jpeg-testorig.jpg", 2}, {"jpeg-cmyk.jpg", 5}}) {
        SCOPED_TRACE(file);
        const int components = interpretation == 5 ? 4 : interpretation == 2 ? 3 : 1;
        const DecodedJpeg composite = decodeJpeg(fixture(file), -3, components);
        const DecodedJpeg runs = decodeJpeg(fixture(file), -2, 0);
        ASSERT_EQ(runs.result, 0);
        std::vector<std::int32_t> values(runs.pixels.size() / 4);
        std::memcpy(values.data(), runs.pixels.data(), runs.pixels.size());
        EXPECT_EQ(values, expectedRuns(composite.pixels, interpretation, composite.columns));
    }
}

TEST(JpegReader, RunListOverflowIsSaidAndTheRowStaysTerminated) {
    MessageRecorder messages;
    VelSys::fil file;
    file.openMemory(fixture("jpeg-testorig.jpg"));
    jpegreatyp reader(&file);
    int num, den, rows, columns;
    ASSERT_EQ(reader.pixreaini(&num, &den, &rows, &columns, -2, 0), 0);
    // Room for one pair and the terminator only: every busy row overflows.
    std::int32_t runs[3] = {0, 0, 0};
    int overflowed = 0;
    for (int y = 0; y < rows; ++y) {
        messages.clear();
        ASSERT_EQ(reader.pixrealin(reinterpret_cast<unsigned char*>(runs), sizeof runs), 1);
        if (!messages.said().empty()) {
            ++overflowed;
            EXPECT_EQ(messages.said()[0].text, "OUT OF MEMORY");
        }
        EXPECT_TRUE(runs[0] == kRunListTerminator || runs[2] == kRunListTerminator);
    }
    EXPECT_GT(overflowed, 0);
    EXPECT_FALSE(reader.pixfailed());
}

TEST(JpegReader, ResolutionFromJfifAndPhotoshopResources) {
    struct Case {
        const char* file;
        int numerator;
        int denominator;
    };
    const Case cases[] = {
        {"jpeg-jfif-72dpi.jpg", 7200, 100},
        {"jpeg-jfif-28dpcm.jpg", 7112, 100},
        {"jpeg-jfif-72x300dpi.jpg", -7200, 100},
        {"jpeg-jfif-unit0.jpg", 300, 1},
        {"jpeg-nojfif.jpg", 300, 1},
        {"jpeg-ps-res-72.5dpi.jpg", 7250, 100},
        {"jpeg-ps-res-150dpi.jpg", 15000, 100},
        {"jpeg-ps-odd-resource-before-1005.jpg", 7250, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const DecodedJpeg decoded = decodeJpeg(fixture(c.file), -3, 3);
        EXPECT_EQ(decoded.numerator, c.numerator);
        EXPECT_EQ(decoded.denominator, c.denominator);
    }
}

TEST(JpegReader, OlderResolutionSkipsFractionsOnRequestAndDoesNotPadResources) {
    struct Case {
        const char* file;
        bool useFractional;
        int numerator;
    };
    const Case cases[] = {
        {"jpeg-ps-res-72.5dpi.jpg", true, 7250},
        {"jpeg-ps-res-72.5dpi.jpg", false, 7200},
        {"jpeg-ps-res-150dpi.jpg", true, 15000},
        // The unpadded walk misses the resolution after an odd resource: JFIF 72.
        {"jpeg-ps-odd-resource-before-1005.jpg", true, 7200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        int numerator = 0, denominator = 0;
        GetJPEGResolutionAsSeenByOlderQuillon(VelSys::filref(dataPath(c.file)), numerator,
                                              denominator, c.useFractional);
        EXPECT_EQ(numerator, c.numerator);
        EXPECT_EQ(denominator, 100);
    }
    int numerator = -5, denominator = -5;
    GetJPEGResolutionAsSeenByOlderQuillon(VelSys::filref(dataPath("no-such.jpg")), numerator,
                                          denominator, true);
    GetJPEGResolutionAsSeenByOlderQuillon(VelSys::filref(dataPath("README.md")), numerator,
                                          denominator, true);
    EXPECT_EQ(numerator, -5);
    EXPECT_EQ(denominator, -5);
}

TEST(JpegReader, ChannelsBeyondTheImageAreRefusedSilently) {
    MessageRecorder messages;
    EXPECT_EQ(decodeJpeg(fixture("jpeg-testorig.jpg"), 3, 1).result, 1);
    EXPECT_EQ(decodeJpeg(fixture("jpeg-cmyk.jpg"), 4, 1).result, 1);
    EXPECT_EQ(decodeJpeg(fixture("jpeg-cmyk.jpg"), 400, 1).result, 1);
    EXPECT_TRUE(messages.said().empty());
}

namespace {

// A progressive file whose first scan asks for an impossible progression:
// the header reads, decompression fails.
std::vector<unsigned char> withBadFirstScan(std::vector<unsigned char> bytes) {
    for (std::size_t at = 2; at + 4 <= bytes.size();) {
        const std::size_t length = bytes[at + 2] << 8 | bytes[at + 3];
        if (bytes[at + 1] == 0xDA) {
            const std::size_t components = bytes[at + 4];
            bytes[at + 5 + 2 * components + 1] = 63;  // Se of a DC scan
            break;
        }
        at += 2 + length;
    }
    return bytes;
}

}  // namespace

TEST(JpegReader, UndecodableFilesReportFormatErrors) {
    const auto original = fixture("jpeg-testorig.jpg");
    const std::vector<std::pair<std::string, std::vector<unsigned char>>> cases = {
        {"empty", {}},
        {"not a JPEG", {'G', 'I', 'F', '8', '9', 'a', 0, 0}},
        {"only SOI", {0xFF, 0xD8}},
        {"header cut", std::vector<unsigned char>(original.begin(), original.begin() + 180)},
        {"arithmetic coding", fixture("jpeg-testimgari-arith-NEG.jpg")},
        {"12-bit samples", fixture("jpeg-monkey12-12bit-NEG.jpg")},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        MessageRecorder messages;
        EXPECT_EQ(decodeJpeg(bytes, -3, 3).result, 1);
        ASSERT_EQ(messages.said().size(), 1u);
        EXPECT_EQ(messages.said()[0].text, "ERROR IN FILE FORMAT");
    }
}

TEST(JpegReader, DecoderErrorsJumpToTheRecoveryPoint) {
    // In the header: pixreaini does not return.
    {
        VelSys::fil file;
        file.openMemory(fixture("jpeg-monkey12-12bit-NEG.jpg"));
        jpegreatyp reader(&file);
        VelSys::RecoveryScope point(&file);
        MessageRecorder messages;
        int num, den, rows, columns;
        EXPECT_EQ(point.run([&] { reader.pixreaini(&num, &den, &rows, &columns, -3, 0); }), -2);
    }
    // While decoding rows: the first pixrealin fails, without a recovery
    // point as 0, with one as a jump; later calls deliver nothing.
    for (bool recover : {false, true}) {
        VelSys::fil file;
        file.openMemory(withBadFirstScan(fixture("jpeg-progressive.jpg")));
        jpegreatyp reader(&file);
        MessageRecorder messages;
        int num, den, rows, columns;
        ASSERT_EQ(reader.pixreaini(&num, &den, &rows, &columns, -3, 0), 0);
        std::vector<unsigned char> row(3 * columns, 0xAB);
        if (recover) {
            VelSys::RecoveryScope point(&file);
            EXPECT_EQ(
                point.run([&] { reader.pixrealin(row.data(), static_cast<int>(row.size())); }), -2);
        } else {
            EXPECT_EQ(reader.pixrealin(row.data(), static_cast<int>(row.size())), 0);
        }
        ASSERT_EQ(messages.said().size(), 1u);
        EXPECT_EQ(messages.said()[0].text, "ERROR IN FILE FORMAT");
        EXPECT_EQ(reader.pixrealin(row.data(), static_cast<int>(row.size())), 0);
        reader.pixreaend();
    }
}

TEST(JpegReader, ReadsOnlyItsOwnImageFromTheFilePosition) {
    // Two images back to back in one file: each reader starts at the current
    // position and leaves the file just after its image, whether it read
    // every row (and finished) or stopped half way.
    const auto first = fixture("jpeg-gray.jpg");
    const auto second = fixture("jpeg-testorig.jpg");
    std::vector<unsigned char> both = first;
    both.insert(both.end(), second.begin(), second.end());
    for (bool readAll : {true, false}) {
        VelSys::fil file;
        file.openMemory(both);
        jpegreatyp gray(&file);
        int num, den, rows, columns;
        ASSERT_EQ(gray.pixreaini(&num, &den, &rows, &columns, -3, 0), 0);
        const int toRead = readAll ? rows + 1 : rows / 2;
        for (int y = 0; y < toRead; ++y) gray.pixrealin(nullptr, 0);
        gray.pixreaend();
        if (readAll) {
            EXPECT_EQ(VelSys::filpos(&file), static_cast<int>(first.size()));
        } else {
            VelSys::filpos(&file, static_cast<int>(first.size()));
        }
        const DecodedJpeg rgb = [&] {
            jpegreatyp reader(&file);
            DecodedJpeg out;
            out.result = reader.pixreaini(&num, &den, &out.rows, &out.columns, -3, 0);
            std::vector<unsigned char> row(3 * out.columns);
            while (reader.pixrealin(row.data(), 0))
                out.pixels.insert(out.pixels.end(), row.begin(), row.end());
            return out;
        }();
        ASSERT_EQ(rgb.result, 0);
        EXPECT_EQ(sha256Hex(rgb.pixels), kDigests[0].digest);
    }
}

TEST(JpegReader, AfterTheLastRowNothingIsWritten) {
    VelSys::fil file;
    file.openMemory(fixture("jpeg-gray.jpg"));
    jpegreatyp reader(&file);
    int num, den, rows, columns;
    ASSERT_EQ(reader.pixreaini(&num, &den, &rows, &columns, -3, 0), 0);
    std::vector<unsigned char> row(columns);
    for (int y = 0; y < rows; ++y) ASSERT_EQ(reader.pixrealin(row.data(), columns), 1);
    std::fill(row.begin(), row.end(), 0xAB);
    EXPECT_EQ(reader.pixrealin(row.data(), columns), 0);
    EXPECT_EQ(row, std::vector<unsigned char>(columns, 0xAB));
    reader.pixreaend();
    EXPECT_EQ(reader.pixgetfmt(), VelSys::PixelDefinitions::kPixelFormatNone);
}

TEST(JpegReader, ReadersSharingAFileReadTheirOwnBytes) {
    // Two readers of one handle, interleaved row by row (as separations are
    // read), each deliver the whole image.
    VelSys::fil file;
    file.openMemory(fixture("jpeg-testorig.jpg"));
    jpegreatyp first(&file), second(&file);
    int num, den, rows, columns;
    ASSERT_EQ(first.pixreaini(&num, &den, &rows, &columns, -3, 0), 0);
    VelSys::filpos(&file, 0);
    ASSERT_EQ(second.pixreaini(&num, &den, &rows, &columns, -3, 0), 0);
    std::vector<unsigned char> a, b, row(3 * columns);
    for (int y = 0; y < rows; ++y) {
        ASSERT_EQ(first.pixrealin(row.data(), 0), 1);
        a.insert(a.end(), row.begin(), row.end());
        ASSERT_EQ(second.pixrealin(row.data(), 0), 1);
        b.insert(b.end(), row.begin(), row.end());
    }
    EXPECT_EQ(sha256Hex(a), kDigests[0].digest);
    EXPECT_EQ(sha256Hex(b), kDigests[0].digest);
}

// Inputs the fuzzer found troublesome (tests/data/tiff-fuzz): every layout
// is prepared and read to its end, promptly and without a fault.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "MemoryTiff.h"

namespace {

TEST(TiffFuzzFindings, EveryLayoutEndsCleanly) {
    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(QuillonTest::dataPath("tiff-fuzz"))) {
        SCOPED_TRACE(entry.path().filename().string());
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(in), {}};
        for (int selector : {-1, -2, -3, -4, 0, 4}) {
            QuillonTest::MemoryTiff tiff(bytes, selector);
            std::vector<unsigned char> row(1 << 16);
            for (int y = 0; y < tiff.rows && tiff.result != 1; ++y) {
                try {
                    if (!tiff.reader.pixrealin(row.data(), static_cast<int>(row.size()))) break;
                } catch (int) {
                }
            }
            EXPECT_TRUE(tiff.result == 1 || !tiff.said().empty() || tiff.reader.pixrowsleft() == 0);
        }
        ++files;
    }
    EXPECT_GT(files, 0);
}

}  // namespace

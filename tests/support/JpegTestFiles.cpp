#include "support/JpegTestFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/velsys/fil.h"
#include "raster/input/jpegreatyp.h"

namespace QuillonTest {

std::vector<unsigned char> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

// The bytes of a run list up to and including its terminator.
std::size_t runListBytes(const std::vector<unsigned char>& row) {
    for (std::size_t at = 0; at + 4 <= row.size(); at += 4) {
        std::int32_t value;
        std::memcpy(&value, row.data() + at, 4);
        if (value == 2147483647) return at + 4;
    }
    return row.size();
}

}  // namespace

DecodedJpeg decodeJpeg(const std::vector<unsigned char>& bytes, int selector,
                       int rowBytesPerPixel) {
    VelSys::fil file;
    file.openMemory(bytes);
    QuillonCore::jpegreatyp reader(&file);
    DecodedJpeg out;
    out.result =
        reader.pixreaini(&out.numerator, &out.denominator, &out.rows, &out.columns, selector, 0);
    out.interpretation = reader.pixinterpretation();
    if (out.result != 0) return out;
    // Runs of a row can need up to (columns + 1) int32 pairs.
    const std::size_t rowBytes =
        selector == -2 ? 8 * (out.columns + 2) : rowBytesPerPixel * out.columns;
    std::vector<unsigned char> row(rowBytes);
    while (reader.pixrealin(row.data(), static_cast<int>(row.size())) == 1) {
        ++out.rowsDelivered;
        std::size_t used = row.size();
        if (selector == -2) used = runListBytes(row);
        out.pixels.insert(out.pixels.end(), row.begin(),
                          row.begin() + static_cast<std::ptrdiff_t>(used));
    }
    reader.pixreaend();
    return out;
}

std::vector<unsigned char> pnmSamples(const std::string& path) {
    const std::vector<unsigned char> bytes = fileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    std::size_t at = 0;
    if (text.rfind("P7", 0) == 0) {
        at = text.find("ENDHDR\n");
        at = at == std::string::npos ? bytes.size() : at + 7;
    } else {
        for (int fields = 0; fields < 4 && at < bytes.size();) {
            while (at < bytes.size() && std::isspace(bytes[at])) ++at;
            if (at < bytes.size() && bytes[at] == '#') {
                at = text.find('\n', at);
                continue;
            }
            while (at < bytes.size() && !std::isspace(bytes[at])) ++at;
            ++fields;
        }
        ++at;
    }
    return {bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at, bytes.size())), bytes.end()};
}

double meanDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b) {
    if (a.size() != b.size() || a.empty()) return 1e9;
    double sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += std::abs(int{a[i]} - int{b[i]});
    return sum / static_cast<double>(a.size());
}

}  // namespace QuillonTest

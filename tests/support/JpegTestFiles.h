#pragma once
// Reading JPEG fixtures through jpegreatyp, for the reader's and the
// writer's tests.

#include <string>
#include <vector>

namespace QuillonTest {

std::vector<unsigned char> fileBytes(const std::string& path);

struct DecodedJpeg {
    int result = -1;
    int rows = 0;
    int columns = 0;
    int numerator = 0;
    int denominator = 0;
    int interpretation = -1;
    int rowsDelivered = 0;
    std::vector<unsigned char> pixels;  // every row, concatenated
};

// Prepares a reader on the bytes with the selector and pulls every row into
// a buffer of rowBytes (the run-list capacity for selector -2).
DecodedJpeg decodeJpeg(const std::vector<unsigned char>& bytes, int selector, int rowBytesPerPixel);

// The samples of a binary PNM or PAM file (what djpeg and Ghostscript write).
std::vector<unsigned char> pnmSamples(const std::string& path);

// Mean absolute difference per sample; huge when the sizes differ.
double meanDifference(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b);

}  // namespace QuillonTest

#include "JpegFeeder.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "services/Status.h"

namespace Quillon {

namespace {

int colourTypeOf(int interpretation) {
    switch (interpretation) {
        case 0:
        case 1:
            return 1;
        case 2:
            return 2;
        case 5:
            return 5;
        default:
            return 0;
    }
}

}  // namespace

bool JpegFeeder::prepare(QuillonCore::pixreatyp& reader, std::string& error) {
    const int result =
        reader.pixreaini(&resolutionNumerator, &resolutionDenominator, &rows, &columns, -3, 0);
    if (result != 0 && result != 2) {
        error = "the image cannot be read";
        return false;
    }
    colourType = colourTypeOf(reader.pixinterpretation());
    components = colourType == 5 ? 4 : colourType == 2 ? 3 : 1;
    if (colourType == 0) {
        error = "the image's colour model cannot be stored as JPEG";
        return false;
    }
    // A negative numerator only marks unequal densities.
    resolutionNumerator = std::abs(resolutionNumerator);
    if (resolutionNumerator == 0 || resolutionDenominator <= 0) {
        resolutionNumerator = 300;
        resolutionDenominator = 1;
    }
    return true;
}

bool JpegFeeder::feed(
    QuillonCore::pixreatyp& reader,
    const std::function<bool(const unsigned char* bytes, std::size_t count)>& sink,
    std::string& error) {
    std::vector<unsigned char> row(static_cast<std::size_t>(columns) * components);
    const bool invert = colourType != 5;
    QuillonCore::Status status(1, u"Compressing rows");
    for (int y = 0; y < rows; ++y) {
        if (reader.pixrealin(row.data(), static_cast<int>(row.size())) != 1) {
            error = "row " + std::to_string(y) + " cannot be read";
            return false;
        }
        if (invert)
            for (auto& sample : row) sample = static_cast<unsigned char>(255 - sample);
        if (!sink(row.data(), row.size())) {
            error = "row " + std::to_string(y) + " cannot be compressed";
            return false;
        }
        status.Notify(double(y + 1) / rows);
    }
    return true;
}

double JpegFeeder::pixelsPerInch() const {
    return static_cast<double>(resolutionNumerator) / resolutionDenominator;
}

}  // namespace Quillon

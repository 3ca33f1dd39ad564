#pragma once
// A reader over a plain interleaved image for tests of the reader frame: the
// file holds rows x width x samples bytes. It counts the rows it reads from
// the file and can be told to fail at one row.

#include <vector>

#include "platform/velsys/RecoveryScope.h"
#include "platform/velsys/fil.h"
#include "raster/input/pixreatyp.h"

namespace QuillonTest {

struct FakeImage {
    int width = 4;
    int rows = 3;
    int samples = 4;
    int interpretation = 5;
    // Byte of (row, column, sample).
    static unsigned char value(int row, int column, int sample) {
        return static_cast<unsigned char>(row * 50 + column * 10 + sample);
    }
    std::vector<unsigned char> bytes() const;
};

class FakeReader : public QuillonCore::pixreatyp {
  public:
    FakeReader(VelSys::fil* file, FakeImage image)
        : pixreatyp(VelSys::PixelDefinitions::kPixelFormatTiff, file), mImage(image) {}

    // Rows of: -4 all samples, -2 run list of sample 0 (set at or below 127),
    // n sample n; -1 and -3 are the first 4 and the first samples.
    int pixreaini(int* numerator, int* denominator, int* rows, int* columns, int selector,
                  unsigned int imageOffset) override;

    int rowsRead = 0;    // rows consumed from the file
    int failAtRow = -1;  // reports 102 when this row is read
    int rowsDelivered() const { return mRowsDelivered; }

  protected:
    int ConvertRow(unsigned char* dst, int length) override;

  private:
    FakeImage mImage;
};

// An open in-memory file holding the image.
struct FakeFile {
    explicit FakeFile(const FakeImage& image) { file.openMemory(image.bytes()); }
    VelSys::fil file;
};

// Runs fn with or without a recovery point on the file: -2 after a jump,
// else 0.
template <class Fn>
int runRecovering(VelSys::fil* file, bool withRecoveryPoint, Fn fn) {
    if (!withRecoveryPoint) {
        fn();
        return 0;
    }
    VelSys::RecoveryScope point(file);
    return point.run(fn);
}

// Prepares a reader; 0 when ready.
int prepare(FakeReader& reader, int selector, unsigned int imageOffset = 0);

}  // namespace QuillonTest

#pragma once
// A TIFF reader prepared on bytes held in memory, with the messages it said.

#include <memory>
#include <string>
#include <vector>

#include "platform/velsys/fil.h"
#include "raster/input/tifreatyp.h"
#include "support/TestSupport.h"

namespace QuillonTest {

class MemoryTiff {
  public:
    MemoryTiff(const std::vector<unsigned char>& bytes, int selector) : reader(&file) {
        file.openMemory(bytes);
        result = reader.pixreaini(&numerator, &denominator, &rows, &columns, selector, 0);
    }

    // The next row of `size` bytes (0xEE where nothing was written).
    std::vector<unsigned char> row(std::size_t size) {
        std::vector<unsigned char> bytes(size, 0xEE);
        delivered = reader.pixrealin(bytes.data(), static_cast<int>(bytes.size()));
        return bytes;
    }
    // The texts said so far.
    std::vector<std::string> said() const {
        std::vector<std::string> texts;
        for (const auto& m : messages.said()) texts.push_back(m.text);
        return texts;
    }

    MessageRecorder messages;
    VelSys::fil file;
    QuillonCore::tifreatyp reader;
    int result = 0, numerator = 0, denominator = 0, rows = 0, columns = 0, delivered = 0;
};

}  // namespace QuillonTest

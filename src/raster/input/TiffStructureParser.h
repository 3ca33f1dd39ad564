#pragma once
// Reads a TIFF header and its first image file directory into a
// TiffDirectory. Every count and offset is checked against the end of the
// file before it is used; the first problem stops the parse and is returned
// for the reader to report. Later directories are ignored.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/velsys/fil.h"
#include "raster/input/TiffDirectory.h"

namespace QuillonCore {

class TiffStructureParser {
  public:
    // A parse failure: a numeric message id, or (id 0) a localization key.
    struct Failure {
        int id = 0;
        std::string textKey;
    };

    // All offsets of the TIFF are relative to imageOffset.
    TiffStructureParser(VelSys::fil* file, std::uint32_t imageOffset);

    std::optional<Failure> parse(TiffDirectory& directory);

  private:
    struct Entry {
        std::uint16_t tag = 0;
        std::uint16_t type = 0;
        std::uint32_t count = 0;
        unsigned char raw[4] = {0, 0, 0, 0};
    };

    std::uint32_t parseHeader();
    void parseIfd(std::uint32_t ifdOffset);
    void takeEntry(const Entry& entry);
    void takeResolution(const Entry& entry);
    void takeColorMap(const Entry& entry);
    void finishInks();

    std::uint16_t word(const unsigned char* p) const;
    std::uint32_t longValue(const unsigned char* p) const;
    void readAt(std::int64_t position, unsigned char* destination, std::int64_t count);
    std::vector<unsigned char> valueBytes(const Entry& entry, std::int64_t valueSize);
    std::vector<std::uint32_t> integers(const Entry& entry, std::uint32_t wanted);
    std::uint32_t single(const Entry& entry);
    std::vector<unsigned char> stringBytes(const Entry& entry);
    [[noreturn]] void fail(int id);

    VelSys::fil* mFile;
    std::int64_t mBase;
    std::int64_t mEnd;
    TiffDirectory* mDirectory = nullptr;
    std::optional<Entry> mColorMap;
    std::optional<Entry> mCmykEquivalent;
};

}  // namespace QuillonCore

#pragma once
// The Photoshop image resource block of a TIFF (tag 34377): extra channel
// names (1006 Pascal, 1045 Unicode), their display information (1007 and
// the versioned 1077), and the saved path the clipping path name (2999)
// designates. Every resource's header, name and data must fit in what is
// left of the block, otherwise the walk stops there.

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "raster/input/DisplayInfo.h"

namespace VelDB {
class Object;
}

namespace QuillonCore {

class PhotoshopResources {
  public:
    static constexpr int kChannelSlots = 64;
    using ChannelNames = std::array<std::string, kChannelSlots>;
    using DisplayInfos = std::array<DisplayInfo, kChannelSlots>;

    // Scales from path fractions (24-bit fixed point) to document units.
    struct PathScale {
        double vertical = 0;
        double horizontal = 0;
    };

    explicit PhotoshopResources(std::span<const unsigned char> block) : mBlock(block) {}

    // The clipping path name and its length, or -1 (name empty) without one.
    int findClippingPathName(std::string& name) const;

    // Fills names and display infos; *clippingPath receives a new compound
    // when a saved path matches the clipping path name (the previous one is
    // removed). The caller owns it.
    void read(ChannelNames& names, DisplayInfos& infos, VelDB::Object*& clippingPath,
              const PathScale& scale) const;

  private:
    using Visitor = std::function<bool(int id, std::span<const unsigned char> name,
                                       std::span<const unsigned char> data)>;
    // Calls visit for each well-formed resource until it returns false.
    void walk(const Visitor& visit) const;

    static void readPascalNames(std::span<const unsigned char> data, ChannelNames& names);
    static void readUnicodeNames(std::span<const unsigned char> data, ChannelNames& names);
    static void readDisplayInfos(std::span<const unsigned char> data, bool versioned,
                                 DisplayInfos& infos);

    std::span<const unsigned char> mBlock;
};

}  // namespace QuillonCore

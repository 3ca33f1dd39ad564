#include "raster/input/PhotoshopResources.h"

#include <cstring>

#include "platform/veldb/Object.h"
#include "platform/velsys/ustring.h"
#include "raster/input/PhotoshopPathBuilder.h"

namespace QuillonCore {

namespace {

std::uint32_t be16(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 8) | p[1];
}
std::uint32_t be32(const unsigned char* p) {
    return (be16(p) << 16) | be16(p + 2);
}

std::string pascalString(std::span<const unsigned char> bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

void PhotoshopResources::walk(const Visitor& visit) const {
    std::size_t at = 0;
    const std::size_t size = mBlock.size();
    const unsigned char* b = mBlock.data();
    while (size - at >= 7 && std::memcmp(b + at, "8BIM", 4) == 0) {
        const int id = static_cast<int>(be16(b + at + 4));
        const std::size_t nameLength = b[at + 6];
        const std::size_t nameField = (1 + nameLength + 1) & ~std::size_t{1};
        if (size - at - 6 < nameField + 4) return;
        const std::size_t dataAt = at + 6 + nameField + 4;
        const std::uint64_t dataLength = be32(b + dataAt - 4);
        if (dataLength > size - dataAt) return;
        const std::span<const unsigned char> name(b + at + 7, nameLength);
        const std::span<const unsigned char> data(b + dataAt, static_cast<std::size_t>(dataLength));
        if (!visit(id, name, data)) return;
        const std::uint64_t padded = (dataLength + 1) & ~std::uint64_t{1};
        at = padded >= size - dataAt ? size : dataAt + static_cast<std::size_t>(padded);
    }
}

int PhotoshopResources::findClippingPathName(std::string& name) const {
    name.clear();
    int result = -1;
    walk([&](int id, std::span<const unsigned char>, std::span<const unsigned char> data) {
        if (id != 2999) return true;
        const std::size_t length =
            data.empty() ? 0 : std::min<std::size_t>(data[0], data.size() - 1);
        name = pascalString(data.subspan(data.empty() ? 0 : 1, length));
        result = static_cast<int>(length);
        return false;
    });
    return result;
}

void PhotoshopResources::read(ChannelNames& names, DisplayInfos& infos,
                              VelDB::Object*& clippingPath, const PathScale& scale) const {
    std::string clipName;
    const int clipLength = findClippingPathName(clipName);
    walk([&](int id, std::span<const unsigned char> name, std::span<const unsigned char> data) {
        if (id == 1006) {
            readPascalNames(data, names);
        } else if (id == 1045) {
            readUnicodeNames(data, names);
        } else if (id == 1007) {
            readDisplayInfos(data, false, infos);
        } else if (id == 1077) {
            if (data.size() >= 4) readDisplayInfos(data.subspan(4), true, infos);
        } else if (id >= 2000 && id <= 2998 && clipLength >= 0 && pascalString(name) == clipName) {
            if (VelDB::Object* path =
                    PhotoshopPathBuilder(scale.vertical, scale.horizontal).build(data)) {
                VelDB::objrem(clippingPath);
                clippingPath = path;
            }
        }
        return true;
    });
}

// Pascal strings into slots 0, 1, ...; a slot that already has a name keeps it.
void PhotoshopResources::readPascalNames(std::span<const unsigned char> data, ChannelNames& names) {
    std::size_t at = 0;
    for (int slot = 0; slot < kChannelSlots && data.size() - at > 1; ++slot) {
        const std::size_t length = data[at];
        if (length > data.size() - at - 1) return;
        if (names[slot].empty())
            names[slot] = VelSys::PlatformToUTF8(pascalString(data.subspan(at + 1, length)));
        at += 1 + length;
    }
}

// Counted UTF-16 names; they replace the Pascal names. A trailing NUL code
// unit (which writers usually add) is dropped.
void PhotoshopResources::readUnicodeNames(std::span<const unsigned char> data,
                                          ChannelNames& names) {
    std::size_t at = 0;
    for (int slot = 0; slot < kChannelSlots && data.size() - at > 1; ++slot) {
        if (data.size() - at < 4) return;
        const std::uint64_t units = be32(data.data() + at);
        at += 4;
        if (2 * units > data.size() - at) return;
        std::u16string text;
        for (std::uint64_t i = 0; i < units; ++i)
            text.push_back(static_cast<char16_t>(be16(data.data() + at + 2 * i)));
        at += static_cast<std::size_t>(2 * units);
        if (!text.empty() && text.back() == 0) text.pop_back();
        names[slot] = VelSys::Uni16ToUTF8(text);
    }
}

void PhotoshopResources::readDisplayInfos(std::span<const unsigned char> data, bool versioned,
                                          DisplayInfos& infos) {
    const std::size_t recordSize = versioned ? 13 : 14;
    for (std::size_t slot = 0; slot < kChannelSlots && data.size() >= (slot + 1) * recordSize;
         ++slot) {
        const unsigned char* p = data.data() + slot * recordSize;
        DisplayInfo& info = infos[slot];
        info.colourSpace = static_cast<std::uint16_t>(be16(p));
        for (int c = 0; c < 4; ++c)
            info.colour[c] = static_cast<std::uint16_t>(be16(p + 2 + 2 * c));
        info.opacity = static_cast<std::uint16_t>(be16(p + 10));
        info.kind = p[12];
        if (!versioned) info.padding = p[13];
    }
}

}  // namespace QuillonCore

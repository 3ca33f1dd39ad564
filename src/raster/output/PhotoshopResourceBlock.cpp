#include "raster/output/PhotoshopResourceBlock.h"

#include "platform/velsys/ustring.h"

namespace QuillonCore {

void PhotoshopResourceBlock::Add(std::uint16_t id, const std::vector<unsigned char>& data) {
    mBlock.PutBytes(std::string_view("8BIM"));
    mBlock.Put16(id);
    mBlock.PutZeros(2);  // empty Pascal name, padded to even length
    mBlock.Put32(static_cast<std::uint32_t>(data.size()));
    mBlock.PutBytes(data);
    if (data.size() % 2 != 0) mBlock.Put8(0);
}

void PhotoshopResourceBlock::AddUnicodeAlphaNames(const std::vector<std::string>& utf8Names) {
    BigEndianBuffer data;
    for (const std::string& name : utf8Names) {
        const ustring units = VelSys::UTF8ToUni16(name);
        data.Put32(static_cast<std::uint32_t>(units.size() + 1));
        for (char16_t unit : units) data.Put16(static_cast<std::uint16_t>(unit));
        data.Put16(0);
    }
    Add(kUnicodeAlphaNames, data.bytes());
}

void PhotoshopResourceBlock::AddClippingPathName() {
    BigEndianBuffer data;
    data.Put8(0);   // the empty name of the saved path
    data.Put16(0);  // flatness: the device's default
    Add(kClippingPathName, data.bytes());
}

}  // namespace QuillonCore

#include "raster/output/FilTiffOutStream.h"

#include <climits>

namespace QuillonCore {

FilTiffOutStream::FilTiffOutStream(VelSys::fil& file, ByteOrder byteOrder)
    : TiffOutStream(byteOrder), mFile(&file) {}

FilTiffOutStream::FilTiffOutStream(std::unique_ptr<VelSys::fil> file, ByteOrder byteOrder)
    : TiffOutStream(byteOrder), mFile(file.get()), mOwned(std::move(file)) {}

FilTiffOutStream::~FilTiffOutStream() {
    if (mOwned) mOwned->Close();
}

bool FilTiffOutStream::Succeeded() {
    return Track(VelSys::filerr(mFile) == 0);
}

bool FilTiffOutStream::WriteUInt8(unsigned char value) {
    if (Failed()) return false;
    VelSys::filwri8sub(mFile, value);
    return Succeeded();
}

bool FilTiffOutStream::WriteUInt16(unsigned short value) {
    if (Failed()) return false;
    VelSys::filwri16sub(mFile, Ordered16(value));
    return Succeeded();
}

bool FilTiffOutStream::WriteUInt32(unsigned long value) {
    if (Failed()) return false;
    VelSys::filwri32sub(mFile,
                        static_cast<std::int32_t>(Ordered32(static_cast<std::uint32_t>(value))));
    return Succeeded();
}

bool FilTiffOutStream::Write(const unsigned char* bytes, unsigned long count) {
    if (Failed()) return false;
    if (count > static_cast<unsigned long>(INT_MAX)) return Track(false);
    VelSys::filwri(mFile, bytes, static_cast<int>(count));
    return Succeeded();
}

unsigned long long FilTiffOutStream::GetStreamPosition() {
    return static_cast<unsigned long long>(VelSys::filpos(mFile));
}

void FilTiffOutStream::SetStreamPosition(unsigned long long position) {
    if (position > static_cast<unsigned long long>(INT_MAX)) {
        Track(false);
        return;
    }
    VelSys::filpos(mFile, static_cast<int>(position));
}

}  // namespace QuillonCore

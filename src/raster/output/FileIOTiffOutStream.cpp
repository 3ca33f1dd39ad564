#include "raster/output/FileIOTiffOutStream.h"

namespace QuillonCore {

FileIOTiffOutStream::FileIOTiffOutStream(VelSys::FileIO& io, ByteOrder byteOrder)
    : TiffOutStream(byteOrder), mIO(&io) {
    mIO->mFlags = 1;
}

FileIOTiffOutStream::FileIOTiffOutStream(std::unique_ptr<VelSys::FileIO> io, ByteOrder byteOrder)
    : TiffOutStream(byteOrder), mIO(io.get()), mOwned(std::move(io)) {
    mIO->mFlags = 1;
}

bool FileIOTiffOutStream::WriteUInt8(unsigned char value) {
    return Track(!Failed() && mIO->WriteUInt8(value));
}

bool FileIOTiffOutStream::WriteUInt16(unsigned short value) {
    return Track(!Failed() && mIO->WriteUInt16(Ordered16(value)));
}

bool FileIOTiffOutStream::WriteUInt32(unsigned long value) {
    return Track(!Failed() && mIO->WriteUInt32(Ordered32(static_cast<std::uint32_t>(value))));
}

bool FileIOTiffOutStream::Write(const unsigned char* bytes, unsigned long count) {
    return Track(!Failed() && mIO->Write(bytes, count));
}

unsigned long long FileIOTiffOutStream::GetStreamPosition() {
    return mIO->GetPosition();
}

void FileIOTiffOutStream::SetStreamPosition(unsigned long long position) {
    Track(mIO->Seek(position));
}

bool FileIOTiffOutStream::Flush() {
    return Track(mIO->Flush());
}

}  // namespace QuillonCore

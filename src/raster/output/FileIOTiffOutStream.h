#pragma once
// A TIFF output stream over the system library's FileIO sink, borrowed or
// owned (an owned sink is deleted with the stream).

#include <memory>

#include "platform/velsys/FileIO.h"
#include "raster/output/TiffOutStream.h"

namespace QuillonCore {

class FileIOTiffOutStream : public TiffOutStream {
  public:
    FileIOTiffOutStream(VelSys::FileIO& io, ByteOrder byteOrder);
    FileIOTiffOutStream(std::unique_ptr<VelSys::FileIO> io, ByteOrder byteOrder);

    bool WriteUInt8(unsigned char value) override;
    bool WriteUInt16(unsigned short value) override;
    bool WriteUInt32(unsigned long value) override;
    bool Write(const unsigned char* bytes, unsigned long count) override;
    unsigned long long GetStreamPosition() override;
    void SetStreamPosition(unsigned long long position) override;
    bool Flush() override;

    VelSys::FileIO& GetFileIO() { return *mIO; }

  private:
    VelSys::FileIO* mIO;
    std::unique_ptr<VelSys::FileIO> mOwned;
};

}  // namespace QuillonCore

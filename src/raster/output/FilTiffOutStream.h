#pragma once
// A TIFF output stream over the system library's file handle, borrowed or
// owned (an owned handle is closed and deleted with the stream). Positions
// are limited to what the handle can address (2 GiB - 1).

#include <memory>

#include "platform/velsys/fil.h"
#include "raster/output/TiffOutStream.h"

namespace QuillonCore {

class FilTiffOutStream : public TiffOutStream {
  public:
    FilTiffOutStream(VelSys::fil& file, ByteOrder byteOrder);
    FilTiffOutStream(std::unique_ptr<VelSys::fil> file, ByteOrder byteOrder);
    ~FilTiffOutStream() override;

    bool WriteUInt8(unsigned char value) override;
    bool WriteUInt16(unsigned short value) override;
    bool WriteUInt32(unsigned long value) override;
    bool Write(const unsigned char* bytes, unsigned long count) override;
    unsigned long long GetStreamPosition() override;
    void SetStreamPosition(unsigned long long position) override;

    VelSys::fil& Getfil() { return *mFile; }

  private:
    // True when the handle reports no error after a primitive.
    bool Succeeded();
    VelSys::fil* mFile;
    std::unique_ptr<VelSys::fil> mOwned;
};

}  // namespace QuillonCore

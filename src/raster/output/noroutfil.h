#pragma once
// genoutfil writing to a file (not owned).

#include "platform/velsys/fil.h"
#include "raster/output/genoutfil.h"

namespace QuillonCore {

class noroutfil : public genoutfil {
  public:
    explicit noroutfil(VelSys::fil* file) : mFile(file) {}

    void putuns8met(unsigned char byte) override { putcha(static_cast<char>(byte)); }
    void PutUns8Buffer(const unsigned char* bytes, int count) override;
    void putcha(char byte);
    VelSys::fil* f() { return mFile; }

  private:
    VelSys::fil* mFile;
};

}  // namespace QuillonCore

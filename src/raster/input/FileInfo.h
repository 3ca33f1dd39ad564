#pragma once
// Recognises a file's type from its first bytes. The tests on an open fil
// leave its position where it was; a file too short for a test is not of
// that type. The filref and FileSpec forms open the file themselves (only
// an open result of 0 counts as success) and close it again.

#include "platform/velsys/FileSpec.h"
#include "platform/velsys/fil.h"
#include "platform/velsys/filref.h"

namespace QuillonCore {

class FileInfo {
  public:
    FileInfo& operator=(const FileInfo&) { return *this; }

    // "KelM", or "den" followed by any byte.
    static bool fileIsQuillon(VelSys::fil& file);
    static bool fileIsQuillon(const VelSys::filref& ref);
    static bool fileIsQuillon(const VelSys::FileSpec& spec);
    // "%PDF" within the first 1024 bytes.
    static bool fileIsPDF(VelSys::fil& file);
    static bool fileIsJPEG(VelSys::fil& file);
    static bool fileIsJPEG(const VelSys::filref& ref);
    // "II" or "MM" (the 42 that follows is not checked).
    static bool fileIsTiff(VelSys::fil& file);
    static bool fileIsPsd(VelSys::fil& file);
    static bool fileIsBrellCT(VelSys::fil& file);
    // "%!", or the binary EPS header C5 D0.
    static bool fileIsEps(VelSys::fil& file);
};

}  // namespace QuillonCore

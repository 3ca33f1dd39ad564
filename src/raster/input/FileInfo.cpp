#include "raster/input/FileInfo.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace QuillonCore {

namespace {

constexpr int kPdfScanLength = 1024;

// Reads up to count bytes from the start of the file, restoring the
// position; returns how many there were.
int readHead(VelSys::fil& file, unsigned char* bytes, int count) {
    const int saved = VelSys::filpos(&file);
    const int available = std::min(count, VelSys::filgeteof(&file));
    int got = 0;
    if (available > 0) {
        VelSys::filpos(&file, 0);
        got = VelSys::filrea(&file, bytes, available);
    }
    VelSys::filpos(&file, saved);
    return got;
}

bool startsWith(VelSys::fil& file, std::string_view prefix) {
    unsigned char head[8];
    const int n = static_cast<int>(prefix.size());
    return readHead(file, head, n) == n && std::memcmp(head, prefix.data(), prefix.size()) == 0;
}

template <class Reference, class Test>
bool openAndTest(const Reference& ref, int (*open)(VelSys::fil*, VelSys::errtyp*, const Reference&),
                 Test test) {
    VelSys::fil file;
    if (open(&file, nullptr, ref) != 0) return false;
    const bool result = test(file);
    file.Close();
    return result;
}

}  // namespace

bool FileInfo::fileIsQuillon(VelSys::fil& file) {
    return startsWith(file, "KelM") || startsWith(file, "den");
}

bool FileInfo::fileIsQuillon(const VelSys::filref& ref) {
    return openAndTest(ref, &VelSys::filope, [](VelSys::fil& f) { return fileIsQuillon(f); });
}

bool FileInfo::fileIsQuillon(const VelSys::FileSpec& spec) {
    return openAndTest(spec, &VelSys::openFile, [](VelSys::fil& f) { return fileIsQuillon(f); });
}

// After a '%' the next three bytes must be "PDF"; the byte that breaks the
// match is consumed with it (it is not looked at as a new '%').
bool FileInfo::fileIsPDF(VelSys::fil& file) {
    unsigned char head[kPdfScanLength];
    const int n = readHead(file, head, kPdfScanLength);
    int at = 0;
    while (at < n) {
        if (head[at++] != '%') continue;
        int matched = 0;
        while (matched < 3 && at < n && head[at++] == "PDF"[matched]) ++matched;
        if (matched == 3) return true;
    }
    return false;
}

bool FileInfo::fileIsJPEG(VelSys::fil& file) {
    return startsWith(file, "\xFF\xD8");
}

bool FileInfo::fileIsJPEG(const VelSys::filref& ref) {
    return openAndTest(ref, &VelSys::filope, [](VelSys::fil& f) { return fileIsJPEG(f); });
}

bool FileInfo::fileIsTiff(VelSys::fil& file) {
    return startsWith(file, "II") || startsWith(file, "MM");
}

bool FileInfo::fileIsPsd(VelSys::fil& file) {
    return startsWith(file, "8BPS");
}

bool FileInfo::fileIsBrellCT(VelSys::fil& file) {
    return startsWith(file, "I1");
}

bool FileInfo::fileIsEps(VelSys::fil& file) {
    return startsWith(file, "%!") || startsWith(file, "\xC5\xD0");
}

}  // namespace QuillonCore

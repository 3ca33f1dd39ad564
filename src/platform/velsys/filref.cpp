#include "platform/velsys/filref.h"

#include <filesystem>
#include <system_error>

#include "platform/velsys/FileSpec.h"
#include "platform/velsys/fil.h"

namespace VelSys {

namespace fs = std::filesystem;

filref::filref(std::string utf8Path) : mPath(std::move(utf8Path)) {}

std::string filref::getNameAsUtf8() const { return fs::u8path(mPath).filename().string(); }

int filrefnew(filref* ref, const char* utf8Path) {
    if (!ref) return -1;
    ref->clear();
    if (!utf8Path || !*utf8Path) return -1;
    std::error_code ec;
    fs::path p = fs::u8path(utf8Path);
    fs::path canonical = fs::weakly_canonical(fs::absolute(p, ec), ec);
    *ref = filref((ec ? fs::absolute(p) : canonical).string());
    return 0;
}

int filrefnew(filref* ref, const fil* file) {
    if (!ref) return -1;
    ref->clear();
    if (!file || !file->isOpen()) return -1;
    *ref = filref(file->path());
    return 0;
}

int convertFromFileSpec(filref* ref, const FileSpec& spec) {
    return filrefnew(ref, spec.GetPathUtf8().c_str());
}

}  // namespace VelSys

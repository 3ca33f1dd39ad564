#include "platform/velsys/FileSpec.h"

#include <filesystem>
#include <system_error>

namespace VelSys {

namespace fs = std::filesystem;

bool FileSpec::DoesExist() const {
    std::error_code ec;
    return IsValid() && fs::exists(fs::u8path(mPath), ec);
}

bool FileSpec::IsFolder() const {
    std::error_code ec;
    return IsValid() && fs::is_directory(fs::u8path(mPath), ec);
}

std::string FileSpec::GetNameUtf8() const { return fs::u8path(mPath).filename().string(); }

bool FileSpec::ToParent() {
    const fs::path parent = fs::u8path(mPath).parent_path();
    if (parent.empty() || parent == fs::u8path(mPath)) return false;
    mPath = parent.string();
    return true;
}

FileSpec FileSpec::ToFile(const std::string& name) const {
    return FileSpec((fs::u8path(mPath) / fs::u8path(name)).string());
}

bool FileSpec::Delete() const {
    std::error_code ec;
    fs::remove(fs::u8path(mPath), ec);
    return !DoesExist();
}

}  // namespace VelSys

#pragma once
// A named place in the file system: a UTF-8 path that may or may not name an
// existing file.

#include <string>

namespace VelSys {

class FileSpec {
public:
    FileSpec() = default;
    explicit FileSpec(std::string utf8Path) : mPath(std::move(utf8Path)) {}

    bool IsValid() const { return !mPath.empty(); }
    bool DoesExist() const;
    bool IsFolder() const;
    const std::string& GetPathUtf8() const { return mPath; }
    std::string GetNameUtf8() const;
    // The containing folder; false when there is none.
    bool ToParent();
    // A file or folder inside this folder.
    FileSpec ToFile(const std::string& name) const;
    // Deletes the file; true when it is gone.
    bool Delete() const;

private:
    std::string mPath;
};

}  // namespace VelSys

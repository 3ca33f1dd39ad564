#pragma once
// A persistent file reference: names one file, compares equal for the same
// file. References to real files hold the canonical UTF-8 path; a reference
// made from an in-memory fil names that handle's content for its lifetime.

#include <string>

namespace VelSys {

class fil;
class FileSpec;

class filref {
public:
    filref() = default;
    explicit filref(std::string utf8Path);

    bool operator==(const filref& other) const { return !mPath.empty() && mPath == other.mPath; }
    bool isEmpty() const { return mPath.empty(); }
    void clear() { mPath.clear(); }

    std::string getFullPathAsUtf8() const { return mPath; }
    std::string getNameAsUtf8() const;

private:
    std::string mPath;
};

// 0 on success. A path is made absolute (canonical when the file exists).
int filrefnew(filref* ref, const char* utf8Path);
// The reference of the file an open handle reads or writes.
int filrefnew(filref* ref, const fil* file);
int convertFromFileSpec(filref* ref, const FileSpec& spec);

}  // namespace VelSys

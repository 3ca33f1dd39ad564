// Strings, framed records and references of fil (declared in fil.h).
//
// Stored formats (big-endian):
//   NUL string      the bytes, then one NUL
//   byte string     int32 byte count, then the bytes
//   Unicode string  int32 count of UTF-16 units, then the units
//   record          int32 count of the bytes that follow, then those bytes
//   reference       a byte string holding a UTF-8 path; the relative form holds
//                   the path relative to the writing file's folder

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/velsys/fil.h"
#include "platform/velsys/filref.h"

namespace VelSys {

namespace fs = std::filesystem;

namespace {

// Bytes a stored count may claim: what is left before `end` (or the file's end).
std::int64_t bytesLeft(fil* file, int end) {
    const std::int64_t limit = end >= 0 ? std::min(end, filgeteof(file)) : filgeteof(file);
    return std::max<std::int64_t>(0, limit - filpos(file));
}

void markCorrupt(fil* file) { filseterr(file, kCorruptRecord); }

bool readCount(fil* file, int end, std::int64_t unitSize, std::int64_t& count) {
    count = filrea32sub(file);
    if (filerr(file)) return false;
    if (count < 0 || count * unitSize > bytesLeft(file, end)) {
        markCorrupt(file);
        return false;
    }
    return true;
}

std::string folderOf(const fil* file) {
    const std::string& p = file->path();
    if (p.empty() || p.rfind("memory:", 0) == 0) return {};
    return fs::u8path(p).parent_path().string();
}

}  // namespace

void filwrifmt(fil* file, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n > 0) {
        std::vector<char> text(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        filwri(file, reinterpret_cast<const unsigned char*>(text.data()), n);
    }
    va_end(args);
}

int filreastrnul(fil* file, char* buffer, int max) {
    int stored = 0;
    for (;;) {
        unsigned char b = 0;
        if (filrea(file, &b, 1) != 1 || b == 0) break;
        if (buffer && stored < max - 1) buffer[stored++] = static_cast<char>(b);
    }
    if (buffer && max > 0) buffer[stored] = '\0';
    return stored;
}

void filwristrnul(fil* file, const char* text) {
    const std::size_t n = text ? std::strlen(text) : 0;
    filwri(file, reinterpret_cast<const unsigned char*>(text ? text : ""), static_cast<int>(n) + 1);
}

void filwristring(fil* file, const std::string& text) {
    filwri32sub(file, static_cast<std::int32_t>(text.size()));
    filwri(file, reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
}

bool filreastring(fil* file, std::string& text, int end) {
    text.clear();
    std::int64_t count = 0;
    if (!readCount(file, end, 1, count)) return false;
    text.resize(static_cast<std::size_t>(count));
    const int got = filrea(file, reinterpret_cast<unsigned char*>(text.data()), static_cast<int>(count));
    text.resize(static_cast<std::size_t>(got));
    return got == count;
}

void filwriUni16String(fil* file, const ustring& text) {
    filwri32sub(file, static_cast<std::int32_t>(text.size()));
    for (char16_t unit : text) filwri16sub(file, unit);
}

bool filreaUni16String(fil* file, ustring& text, int end) {
    text.clear();
    std::int64_t count = 0;
    if (!readCount(file, end, 2, count)) return false;
    text.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count && !filerr(file); ++i) text += static_cast<char16_t>(filrea16sub(file));
    return !filerr(file);
}

int filwripos(fil* file) {
    const int pos = filpos(file);
    filwri32sub(file, 0);
    return pos;
}

void filwrilen(fil* file, int position) {
    const int here = filpos(file);
    filpos(file, position);
    filwri32sub(file, here - position - 4);
    filpos(file, here);
}

int filreapos(fil* file, int enclosingEnd, bool* corrupt) {
    if (corrupt) *corrupt = false;
    const std::int64_t count = filrea32sub(file);
    const std::int64_t start = filpos(file);
    std::int64_t limit = filgeteof(file);
    if (enclosingEnd >= 0) limit = std::min<std::int64_t>(limit, enclosingEnd);
    limit = std::max(limit, start);
    std::int64_t end = start + count;
    if (filerr(file) || count < 0 || end > limit) {
        end = count < 0 ? start : limit;
        if (!filerr(file)) markCorrupt(file);
        if (corrupt) *corrupt = true;
    }
    return static_cast<int>(end);
}

void filwriref(fil* file, const filref& ref) { filwristring(file, ref.getFullPathAsUtf8()); }

bool filrearef(fil* file, filref* ref, int end) {
    std::string path;
    if (!filreastring(file, path, end)) return false;
    if (ref) {
        ref->clear();
        if (!path.empty()) *ref = filref(path);
    }
    return true;
}

void filwrirefrel(fil* file, const filref& ref) {
    const std::string folder = folderOf(file);
    const std::string path = ref.getFullPathAsUtf8();
    if (folder.empty() || path.empty()) {
        filwristring(file, path);
        return;
    }
    filwristring(file, fs::u8path(path).lexically_relative(fs::u8path(folder)).string());
}

bool filrearefrel(fil* file, filref* ref, int end) {
    std::string path;
    if (!filreastring(file, path, end)) return false;
    if (!ref) return true;
    ref->clear();
    if (path.empty()) return true;
    const std::string folder = folderOf(file);
    fs::path p = fs::u8path(path);
    if (p.is_relative() && !folder.empty()) p = (fs::u8path(folder) / p).lexically_normal();
    *ref = filref(p.string());
    return true;
}

}  // namespace VelSys

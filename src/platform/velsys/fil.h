#pragma once
// The system library's file handle: a buffered file with a position over
// POSIX I/O (or over memory, for hosts and tests that hold the bytes).
//
// Multi-byte integers are big-endian both ways. Reads past the end return 0
// (or the count actually read) and set a sticky end-of-file and error state:
// fileofsub() becomes true and filerr() nonzero until filclearerr(). Every
// loop over file data is expected to check that state or a byte budget.
//
// Positions are 32-bit, as in the callers' interfaces; files are limited to
// 2 GiB - 1 bytes.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/velsys/errtyp.h"
#include "platform/velsys/ustring.h"

namespace VelSys {

class FileSpec;
class filref;
class RecoveryScope;

class fil {
public:
    fil();
    ~fil();
    fil(const fil&) = delete;
    fil& operator=(const fil&) = delete;

    // Flushes and closes; the handle can be opened again.
    void Close();
    bool isOpen() const;
    const std::string& path() const { return mPath; }

    // A read-only file over a copy of bytes.
    void openMemory(std::span<const unsigned char> bytes);
    // An empty, writable in-memory file.
    void createMemory();
    // The whole content (flushed), for either kind of file.
    std::vector<unsigned char> contents();

private:
    friend int openFile(fil*, errtyp*, const FileSpec&);
    friend int saveFile(fil*, errtyp*, const FileSpec&, unsigned);
    friend class FileAccess;
    friend class RecoveryScope;
    friend const void* filrecovery(const fil*);

    struct Backend;
    std::unique_ptr<Backend> mBackend;
    std::string mPath;
    std::vector<unsigned char> mBuffer;  // window over the backend
    std::int64_t mBufferStart = 0;       // file offset of mBuffer[0]
    std::size_t mBufferLength = 0;       // valid bytes in the window
    bool mBufferDirty = false;
    std::int64_t mPosition = 0;
    bool mWritable = false;
    bool mEof = false;
    int mError = 0;
    const void* mRecovery = nullptr;
};

// Open and close. 0 on success; a failure fills the errtyp.
int filope(fil* file, errtyp* error, const filref& ref);
int openFile(fil* file, errtyp* error, const FileSpec& spec);
// Creates (or truncates) a file for writing; it can also be read and sought.
int saveFile(fil* file, errtyp* error, const FileSpec& spec, unsigned mode = 0);

// Position.
int filpos(fil* file);
void filpos(fil* file, int position);

// Scalars (big-endian). Past the end: 0 and the sticky error state.
int filrea8sub(fil* file);
int filrea16sub(fil* file);           // 0..65535
std::int32_t filrea32sub(fil* file);  // the 32 bits as a signed value
void filwri8sub(fil* file, int value);
void filwri16sub(fil* file, int value);
void filwri32sub(fil* file, std::int32_t value);

// Blocks. filrea returns the count actually read.
int filrea(fil* file, unsigned char* buffer, int count);
void filwri(fil* file, const unsigned char* buffer, int count);

// End and errors.
bool fileofsub(fil* file);  // at or past the end, or a read ran past it
int filgeteof(fil* file);   // the file's length in bytes
int filerr(const fil* file);  // nonzero after a failed read or write
void filclearerr(fil* file);
// Sets the sticky error state (a reader that found the data corrupt).
void filseterr(fil* file, int code);
inline constexpr int kCorruptRecord = -100;

// printf-style text write (no terminator).
void filwrifmt(fil* file, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Strings.
//
// filreastrnul reads a NUL-terminated string. It stores at most max - 1 bytes
// and a NUL into buffer (max counts the terminator) but always consumes the
// stored string through its NUL, so the next field is read correctly. Returns
// the number of bytes stored.
int filreastrnul(fil* file, char* buffer, int max);
void filwristrnul(fil* file, const char* text);
// Byte strings: a big-endian int32 byte count, then the bytes.
// Unicode strings: a big-endian int32 count of UTF-16 units, then the units
// big-endian. Readers refuse (error state, empty result) a negative count or
// one larger than the bytes left before `end` (default: the file's end).
void filwristring(fil* file, const std::string& text);
bool filreastring(fil* file, std::string& text, int end = -1);
void filwriUni16String(fil* file, const ustring& text);
bool filreaUni16String(fil* file, ustring& text, int end = -1);

// Framed records: a big-endian int32 count of the bytes that follow.
// filwripos reserves the count and returns its position; filwrilen fills it
// in from the current position. filreapos reads a count and returns the
// absolute end, clamped to [the position after the count, enclosingEnd (if
// given) and the file's end]; a count that had to be clamped sets the error
// state and, when given, *corrupt.
int filwripos(fil* file);
void filwrilen(fil* file, int position);
int filreapos(fil* file, int enclosingEnd = -1, bool* corrupt = nullptr);

// References, stored as byte strings of UTF-8 paths. The relative form stores
// the path relative to the folder of the file being written (absolute when
// that file has no path) and resolves it against the reading file's folder.
void filwriref(fil* file, const filref& ref);
bool filrearef(fil* file, filref* ref, int end = -1);
void filwrirefrel(fil* file, const filref& ref);
bool filrearefrel(fil* file, filref* ref, int end = -1);

}  // namespace VelSys

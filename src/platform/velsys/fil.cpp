#include "platform/velsys/fil.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

#include "platform/velsys/FileSpec.h"
#include "platform/velsys/filref.h"

namespace VelSys {

namespace {
constexpr std::size_t kWindow = 64 * 1024;
constexpr std::int64_t kMaxFileSize = INT_MAX;
}  // namespace

// Where the bytes live: a POSIX descriptor or a vector in memory. Both are
// addressed by offset, so the buffering above them is shared.
struct fil::Backend {
    int fd = -1;
    bool memory = false;
    std::vector<unsigned char> bytes;

    ~Backend() {
        if (fd >= 0) ::close(fd);
    }
    std::int64_t size() const {
        if (memory) return static_cast<std::int64_t>(bytes.size());
        struct stat st {};
        return ::fstat(fd, &st) == 0 ? st.st_size : 0;
    }
    // Returns bytes read, or -1.
    long readAt(std::int64_t offset, unsigned char* dst, std::size_t n) {
        if (memory) {
            if (offset >= static_cast<std::int64_t>(bytes.size())) return 0;
            const std::size_t k = std::min<std::size_t>(n, bytes.size() - offset);
            std::memcpy(dst, bytes.data() + offset, k);
            return static_cast<long>(k);
        }
        std::size_t done = 0;
        while (done < n) {
            const ssize_t r = ::pread(fd, dst + done, n - done, offset + done);
            if (r < 0 && errno == EINTR) continue;
            if (r < 0) return -1;
            if (r == 0) break;
            done += static_cast<std::size_t>(r);
        }
        return static_cast<long>(done);
    }
    bool writeAt(std::int64_t offset, const unsigned char* src, std::size_t n) {
        if (memory) {
            if (bytes.size() < offset + n) bytes.resize(offset + n);
            std::memcpy(bytes.data() + offset, src, n);
            return true;
        }
        std::size_t done = 0;
        while (done < n) {
            const ssize_t w = ::pwrite(fd, src + done, n - done, offset + done);
            if (w < 0 && errno == EINTR) continue;
            if (w <= 0) return false;
            done += static_cast<std::size_t>(w);
        }
        return true;
    }
};

// The buffered access every call goes through.
class FileAccess {
public:
    static bool flush(fil& f) {
        if (!f.mBufferDirty) return true;
        f.mBufferDirty = false;
        if (!f.mBackend->writeAt(f.mBufferStart, f.mBuffer.data(), f.mBufferLength)) {
            f.mError = EIO;
            return false;
        }
        return true;
    }

    // Reads a block of a window or more straight into dst.
    static int readDirect(fil& f, unsigned char* dst, int count) {
        flush(f);
        const long r = f.mBackend->readAt(f.mPosition, dst, static_cast<std::size_t>(count));
        if (r < 0) f.mError = EIO;
        const int got = r > 0 ? static_cast<int>(r) : 0;
        f.mPosition += got;
        return got;
    }

    // Makes the window start at the current position (after a flush).
    static void refill(fil& f) {
        flush(f);
        f.mBufferStart = f.mPosition;
        f.mBuffer.resize(kWindow);
        const long r = f.mBackend->readAt(f.mPosition, f.mBuffer.data(), kWindow);
        if (r < 0) f.mError = EIO;
        f.mBufferLength = r > 0 ? static_cast<std::size_t>(r) : 0;
    }

    static int read(fil& f, unsigned char* dst, int count) {
        if (!f.mBackend || count <= 0) return 0;
        int done = 0;
        while (done < count) {
            if (!inWindow(f) && count - done >= static_cast<int>(kWindow)) {
                done += readDirect(f, dst + done, count - done);
                break;
            }
            if (!inWindow(f)) refill(f);
            const std::size_t at = static_cast<std::size_t>(f.mPosition - f.mBufferStart);
            if (at >= f.mBufferLength) break;
            const std::size_t k = std::min<std::size_t>(count - done, f.mBufferLength - at);
            std::memcpy(dst + done, f.mBuffer.data() + at, k);
            done += static_cast<int>(k);
            f.mPosition += static_cast<std::int64_t>(k);
        }
        if (done < count) {
            f.mEof = true;
            if (!f.mError) f.mError = EOF;
        }
        return done;
    }

    static void write(fil& f, const unsigned char* src, int count) {
        if (!f.mBackend || !f.mWritable) {
            f.mError = EBADF;
            return;
        }
        if (count <= 0) return;
        if (f.mPosition + count > kMaxFileSize) {
            f.mError = EFBIG;
            return;
        }
        int done = 0;
        while (done < count) {
            if (!writableWindow(f)) {
                flush(f);
                f.mBufferStart = f.mPosition;
                f.mBufferLength = 0;
                f.mBuffer.resize(kWindow);
            }
            const std::size_t at = static_cast<std::size_t>(f.mPosition - f.mBufferStart);
            const std::size_t k = std::min<std::size_t>(count - done, kWindow - at);
            std::memcpy(f.mBuffer.data() + at, src + done, k);
            f.mBufferLength = std::max(f.mBufferLength, at + k);
            f.mBufferDirty = true;
            done += static_cast<int>(k);
            f.mPosition += static_cast<std::int64_t>(k);
        }
    }

    static std::int64_t size(fil& f) {
        if (!f.mBackend) return 0;
        const std::int64_t stored = f.mBackend->size();
        return f.mBufferDirty ? std::max(stored, f.mBufferStart + static_cast<std::int64_t>(f.mBufferLength))
                              : stored;
    }

    static std::int64_t& position(fil& f) { return f.mPosition; }
    static bool& eof(fil& f) { return f.mEof; }
    static int& error(fil& f) { return f.mError; }
    static int error(const fil& f) { return f.mError; }

private:
    static bool inWindow(const fil& f) {
        return f.mPosition >= f.mBufferStart &&
               f.mPosition < f.mBufferStart + static_cast<std::int64_t>(f.mBufferLength);
    }
    // Writing may extend the window up to its capacity, but only contiguously.
    static bool writableWindow(const fil& f) {
        return !f.mBuffer.empty() && f.mPosition >= f.mBufferStart &&
               f.mPosition <= f.mBufferStart + static_cast<std::int64_t>(f.mBufferLength) &&
               f.mPosition < f.mBufferStart + static_cast<std::int64_t>(kWindow);
    }
};

fil::fil() = default;

fil::~fil() { Close(); }

void fil::Close() {
    if (mBackend) FileAccess::flush(*this);
    mBackend.reset();
    mPath.clear();
    mBuffer.clear();
    mBufferStart = 0;
    mBufferLength = 0;
    mBufferDirty = false;
    mPosition = 0;
    mWritable = false;
    mEof = false;
    mError = 0;
}

bool fil::isOpen() const { return mBackend != nullptr; }

namespace {
std::string memoryName() {
    static std::atomic<unsigned long> serial{0};
    return "memory:" + std::to_string(++serial);
}
}  // namespace

void fil::openMemory(std::span<const unsigned char> bytes) {
    Close();
    mBackend = std::make_unique<Backend>();
    mBackend->memory = true;
    mBackend->bytes.assign(bytes.begin(), bytes.end());
    mPath = memoryName();
}

void fil::createMemory() {
    Close();
    mBackend = std::make_unique<Backend>();
    mBackend->memory = true;
    mPath = memoryName();
    mWritable = true;
}

std::vector<unsigned char> fil::contents() {
    if (!mBackend) return {};
    FileAccess::flush(*this);
    const std::int64_t n = mBackend->size();
    std::vector<unsigned char> out(static_cast<std::size_t>(n));
    const long r = mBackend->readAt(0, out.data(), out.size());
    out.resize(r > 0 ? static_cast<std::size_t>(r) : 0);
    return out;
}

namespace {

int openPath(fil* file, errtyp* error, const std::string& path, bool forWriting) {
    if (!file) return -1;
    file->Close();
    const int flags = forWriting ? (O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC) : (O_RDONLY | O_CLOEXEC);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        if (error) {
            error->code = errno;
            error->message = std::string(forWriting ? "cannot create " : "cannot open ") + path + ": " +
                             std::strerror(errno);
        }
        return -1;
    }
    if (error) *error = errtyp{};
    return fd;
}

}  // namespace

int openFile(fil* file, errtyp* error, const FileSpec& spec) {
    const int fd = openPath(file, error, spec.GetPathUtf8(), false);
    if (fd < 0) return -1;
    file->mBackend = std::make_unique<fil::Backend>();
    file->mBackend->fd = fd;
    filref ref;
    filrefnew(&ref, spec.GetPathUtf8().c_str());
    file->mPath = ref.getFullPathAsUtf8();
    return 0;
}

int saveFile(fil* file, errtyp* error, const FileSpec& spec, unsigned /*mode*/) {
    const int fd = openPath(file, error, spec.GetPathUtf8(), true);
    if (fd < 0) return -1;
    file->mBackend = std::make_unique<fil::Backend>();
    file->mBackend->fd = fd;
    file->mWritable = true;
    filref ref;
    filrefnew(&ref, spec.GetPathUtf8().c_str());
    file->mPath = ref.getFullPathAsUtf8();
    return 0;
}

int filope(fil* file, errtyp* error, const filref& ref) {
    return openFile(file, error, FileSpec(ref.getFullPathAsUtf8()));
}

int filpos(fil* file) { return file ? static_cast<int>(FileAccess::position(*file)) : 0; }

void filpos(fil* file, int position) {
    if (!file) return;
    FileAccess::position(*file) = position < 0 ? 0 : position;
    FileAccess::eof(*file) = false;
}

int filrea8sub(fil* file) {
    unsigned char b = 0;
    return filrea(file, &b, 1) == 1 ? b : 0;
}

int filrea16sub(fil* file) {
    unsigned char b[2] = {0, 0};
    return filrea(file, b, 2) == 2 ? (b[0] << 8) | b[1] : 0;
}

std::int32_t filrea32sub(fil* file) {
    unsigned char b[4] = {0, 0, 0, 0};
    if (filrea(file, b, 4) != 4) return 0;
    const std::uint32_t v = (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) |
                            (std::uint32_t{b[2]} << 8) | b[3];
    return static_cast<std::int32_t>(v);
}

void filwri8sub(fil* file, int value) {
    const unsigned char b = static_cast<unsigned char>(value);
    filwri(file, &b, 1);
}

void filwri16sub(fil* file, int value) {
    const unsigned char b[2] = {static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
    filwri(file, b, 2);
}

void filwri32sub(fil* file, std::int32_t value) {
    const std::uint32_t v = static_cast<std::uint32_t>(value);
    const unsigned char b[4] = {static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                                static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)};
    filwri(file, b, 4);
}

int filrea(fil* file, unsigned char* buffer, int count) {
    if (!file || !buffer) return 0;
    return FileAccess::read(*file, buffer, count);
}

void filwri(fil* file, const unsigned char* buffer, int count) {
    if (!file || (!buffer && count > 0)) return;
    FileAccess::write(*file, buffer, count);
}

bool fileofsub(fil* file) {
    if (!file || !file->isOpen()) return true;
    return FileAccess::eof(*file) || FileAccess::position(*file) >= FileAccess::size(*file);
}

int filgeteof(fil* file) {
    if (!file) return 0;
    return static_cast<int>(std::min<std::int64_t>(FileAccess::size(*file), kMaxFileSize));
}

int filerr(const fil* file) { return file ? FileAccess::error(*file) : EBADF; }

void filclearerr(fil* file) {
    if (!file) return;
    FileAccess::error(*file) = 0;
    FileAccess::eof(*file) = false;
}

void filseterr(fil* file, int code) {
    if (file && !FileAccess::error(*file)) FileAccess::error(*file) = code ? code : kCorruptRecord;
}

const void* filrecovery(const fil* file) { return file ? file->mRecovery : nullptr; }

}  // namespace VelSys

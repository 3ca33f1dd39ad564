#include "platform/velsys/FileIO.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace VelSys {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

FileIO::FileIO() {
    mBuffer.reserve(kBufferSize);
}

FileIO::~FileIO() {
    Close();
}

bool FileIO::Create(const std::string& pathUtf8) {
    Close();
    mMemory.clear();
    mPosition = mBufferStart = 0;
    mClosedFile = false;
    mDescriptor = ::open(pathUtf8.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    mFailed = mDescriptor < 0;  // nothing may land in memory instead
    return mDescriptor >= 0;
}

bool FileIO::Close() {
    const bool ok = Flush();
    if (mDescriptor >= 0) {
        if (::close(mDescriptor) != 0) mFailed = true;
        mDescriptor = -1;
        mClosedFile = true;
    }
    return ok && !mFailed;
}

bool FileIO::Fail() {
    mFailed = true;
    return false;
}

bool FileIO::Flush() {
    if (mBuffer.empty()) return !mFailed;
    const bool stored = !mFailed && Store(mBufferStart, mBuffer.data(), mBuffer.size());
    mBuffer.clear();
    mBufferStart = mPosition;
    return stored ? true : Fail();
}

bool FileIO::Write(const void* bytes, std::size_t count) {
    if (mFailed || mClosedFile) return false;
    if (count > UINT64_MAX - mPosition) return Fail();
    const auto* in = static_cast<const unsigned char*>(bytes);
    while (count > 0) {
        if (mBuffer.size() == kBufferSize && !Flush()) return false;
        const std::size_t take = std::min(count, kBufferSize - mBuffer.size());
        mBuffer.insert(mBuffer.end(), in, in + take);
        in += take;
        count -= take;
        mPosition += take;
    }
    return true;
}

bool FileIO::WriteUInt8(std::uint8_t value) {
    return Write(&value, 1);
}

bool FileIO::WriteUInt16(std::uint16_t value) {
    const unsigned char b[2] = {static_cast<unsigned char>(value >> 8),
                                static_cast<unsigned char>(value)};
    return Write(b, 2);
}

bool FileIO::WriteUInt32(std::uint32_t value) {
    const unsigned char b[4] = {
        static_cast<unsigned char>(value >> 24), static_cast<unsigned char>(value >> 16),
        static_cast<unsigned char>(value >> 8), static_cast<unsigned char>(value)};
    return Write(b, 4);
}

bool FileIO::Seek(std::uint64_t position) {
    if (!Flush()) return false;
    mPosition = mBufferStart = position;
    return true;
}

const std::vector<unsigned char>& FileIO::contents() {
    Flush();
    return mMemory;
}

bool FileIO::Store(std::uint64_t position, const unsigned char* bytes, std::size_t count) {
    if (mClosedFile) return false;
    if (mDescriptor < 0) {
        if (position > mMemory.max_size() - count) return false;
        if (mMemory.size() < position + count) mMemory.resize(position + count);
        std::memcpy(mMemory.data() + position, bytes, count);
        return true;
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t w =
            ::pwrite(mDescriptor, bytes + done, count - done, static_cast<off_t>(position + done));
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        done += static_cast<std::size_t>(w);
    }
    return true;
}

}  // namespace VelSys

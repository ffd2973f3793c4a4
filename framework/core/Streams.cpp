#include "framework/core/Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// CopyFrom and the memory stream's whole-stream transfers move data in pieces of this size.
constexpr int32_t CopyBufferSize = 0xF000;
constexpr int64_t MaxChunk = 0x40000000;

std::string ErrorText(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

// The new position of a seek within [0, max], or -1 when it falls outside or overflows.
int64_t SeekTarget(int64_t offset, TSeekOrigin origin, int64_t position, int64_t size)
{
    int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? position : size;
    int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target) || target < 0)
        return -1;
    return target;
}

// How many bytes of `count` a read at `position` of a `size`-byte buffer delivers.
int32_t Available(int64_t position, int64_t size, int32_t count)
{
    if (count <= 0 || position >= size)
        return 0;
    return static_cast<int32_t>(std::min<int64_t>(count, size - position));
}

// Read, Write and Seek of the two streams that keep their bytes in a container with a position.
template <class Buffer> int32_t ReadBytes(const Buffer& data, int64_t& position, void* buffer, int32_t count)
{
    const int32_t n = Available(position, static_cast<int64_t>(data.size()), count);
    if (n > 0) {
        std::memcpy(buffer, data.data() + position, static_cast<size_t>(n));
        position += n;
    }
    return n;
}

// `grow` resizes the container (zero-filling) when the write reaches past its end.
template <class Buffer, class Grow>
int32_t WriteBytes(Buffer& data, int64_t& position, const void* buffer, int32_t count, Grow grow)
{
    if (count <= 0)
        return 0;
    if (position > std::numeric_limits<int64_t>::max() - count)
        return 0;
    const int64_t end = position + count;
    if (end > static_cast<int64_t>(data.size()))
        grow(end);
    std::memcpy(data.data() + position, buffer, static_cast<size_t>(count));
    position = end;
    return count;
}

int64_t SeekBytes(int64_t& position, int64_t size, int64_t offset, TSeekOrigin origin)
{
    const int64_t target = SeekTarget(offset, origin, position, size);
    if (target >= 0)
        position = target;
    return target;
}

} // namespace

// TStream

int64_t TStream::Size()
{
    int64_t position = Seek(0, soCurrent);
    int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

void TStream::SetSize(int64_t)
{
}

void TStream::ReadBuffer(void* buffer, int32_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int32_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count)
{
    if (count < 0)
        throw EReadError("Stream read error");
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min<int64_t>(count, CopyBufferSize)));
    int64_t remaining = count;
    while (remaining > 0) {
        int32_t n = static_cast<int32_t>(std::min<int64_t>(remaining, CopyBufferSize));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        remaining -= n;
    }
    return count;
}

// TFileStream

TFileStream::TFileStream(std::string_view fileName, uint16_t mode)
    : FFileName(fileName)
{
    if ((mode & fmCreate) == fmCreate) {
        FHandle = ::open(FFileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0)
            throw EFCreateError("Cannot create file \"" + FFileName + "\". " + ErrorText(errno));
        return;
    }
    int access = mode & 0x3;
    int error = EINVAL;
    if (access != 3) {
        int flags = access == fmOpenWrite ? O_WRONLY : access == fmOpenReadWrite ? O_RDWR : O_RDONLY;
        FHandle = ::open(FFileName.c_str(), flags | O_CLOEXEC);
        error = errno;
    }
    // A folder opens fine for reading here, but reading it fails; refuse it now with a clear error.
    struct stat info { };
    if (FHandle >= 0 && ::fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        error = EISDIR;
    }
    if (FHandle < 0)
        throw EFOpenError("Cannot open file \"" + FFileName + "\". " + ErrorText(error));
}

TFileStream::~TFileStream()
{
    if (FHandle >= 0)
        ::close(FHandle);
}

int32_t TFileStream::Read(void* buffer, int32_t count)
{
    auto* bytes = static_cast<uint8_t*>(buffer);
    int32_t done = 0;
    while (done < count) {
        ssize_t n = ::read(FHandle, bytes + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<int32_t>(n);
    }
    return done;
}

int32_t TFileStream::Write(const void* buffer, int32_t count)
{
    auto* bytes = static_cast<const uint8_t*>(buffer);
    int32_t done = 0;
    while (done < count) {
        ssize_t n = ::write(FHandle, bytes + done, static_cast<size_t>(count - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += static_cast<int32_t>(n);
    }
    return done;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin)
{
    int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(FHandle, offset, whence);
}

void TFileStream::SetSize(int64_t size)
{
    int64_t position = Position();
    if (size < 0 || ::ftruncate(FHandle, size) != 0)
        throw EStreamError("Cannot resize file \"" + FFileName + "\". " + ErrorText(size < 0 ? EINVAL : errno));
    if (position > size)
        Seek(size, soBeginning);
}

// TMemoryStream

void TMemoryStream::Clear()
{
    std::vector<uint8_t>().swap(FMemory);
    FPosition = 0;
}

void TMemoryStream::Grow(int64_t size)
{
    try {
        if (size < 0 || static_cast<uint64_t>(size) > FMemory.max_size())
            throw std::length_error("memory stream");
        FMemory.resize(static_cast<size_t>(size));
    } catch (const std::exception&) {
        throw EStreamError("Out of memory while expanding memory stream");
    }
}

int32_t TMemoryStream::Read(void* buffer, int32_t count)
{
    return ReadBytes(FMemory, FPosition, buffer, count);
}

int32_t TMemoryStream::Write(const void* buffer, int32_t count)
{
    // Growing zero-fills any gap left by a seek past the end.
    return WriteBytes(FMemory, FPosition, buffer, count, [this](int64_t size) { Grow(size); });
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin)
{
    return SeekBytes(FPosition, Size(), offset, origin);
}

void TMemoryStream::SetSize(int64_t size)
{
    if (size < 0)
        throw EStreamError("Out of memory while expanding memory stream");
    Grow(size);
    if (FPosition > size)
        FPosition = size;
}

void TMemoryStream::LoadFromStream(TStream& stream)
{
    stream.SetPosition(0);
    int64_t size = stream.Size();
    // The bytes arrive in a buffer of their own, so a failed read leaves this stream as it was.
    TMemoryStream loaded;
    loaded.SetSize(size);
    for (int64_t done = 0; done < size;) {
        int32_t n = static_cast<int32_t>(std::min(size - done, MaxChunk));
        stream.ReadBuffer(loaded.FMemory.data() + done, n);
        done += n;
    }
    FMemory.swap(loaded.FMemory);
    if (FPosition > size)
        FPosition = size;
}

void TMemoryStream::LoadFromFile(std::string_view fileName)
{
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& stream)
{
    int64_t size = Size();
    for (int64_t done = 0; done < size;) {
        int32_t n = static_cast<int32_t>(std::min(size - done, MaxChunk));
        stream.WriteBuffer(FMemory.data() + done, n);
        done += n;
    }
}

void TMemoryStream::SaveToFile(std::string_view fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

// TStringStream

TStringStream::TStringStream(std::string initial)
    : FDataString(std::move(initial))
{
}

std::string TStringStream::ReadString(int32_t count)
{
    int32_t n = Available(FPosition, Size(), count);
    std::string result = FDataString.substr(static_cast<size_t>(FPosition), static_cast<size_t>(n));
    FPosition += n;
    return result;
}

void TStringStream::WriteString(std::string_view s)
{
    for (size_t done = 0; done < s.size();) {
        auto n = static_cast<int32_t>(std::min<size_t>(s.size() - done, MaxChunk));
        WriteBuffer(s.data() + done, n);
        done += static_cast<size_t>(n);
    }
}

int32_t TStringStream::Read(void* buffer, int32_t count)
{
    return ReadBytes(FDataString, FPosition, buffer, count);
}

int32_t TStringStream::Write(const void* buffer, int32_t count)
{
    // Overwrites in place: the bytes after the written range stay.
    return WriteBytes(FDataString, FPosition, buffer, count, [this](int64_t size) { SetSize(size); });
}

int64_t TStringStream::Seek(int64_t offset, TSeekOrigin origin)
{
    return SeekBytes(FPosition, Size(), offset, origin);
}

void TStringStream::SetSize(int64_t size)
{
    try {
        if (size < 0 || static_cast<uint64_t>(size) > FDataString.max_size())
            throw std::length_error("string stream");
        FDataString.resize(static_cast<size_t>(size));
    } catch (const std::exception&) {
        throw EStreamError("Out of memory while expanding memory stream");
    }
    if (FPosition > size)
        FPosition = size;
}

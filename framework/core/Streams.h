// The framework's byte streams: TStream and its file, memory and string forms, with the errors they raise.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/TObject.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class EStreamError : public Exception {
public:
    using Exception::Exception;
};

// Raised by ReadBuffer when fewer bytes arrive than asked for ("Stream read error").
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// Raised by WriteBuffer when fewer bytes are taken than given ("Stream write error").
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// Raised by TFileStream when an existing file cannot be opened.
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// Raised by TFileStream when fmCreate cannot create or truncate the file.
class EFCreateError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

enum TSeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };

// The old integer origins, equal to the TSeekOrigin values.
constexpr uint16_t soFromBeginning = 0;
constexpr uint16_t soFromCurrent = 1;
constexpr uint16_t soFromEnd = 2;

// TFileStream modes: one access mode, or fmCreate, combined with a share flag. Share flags are accepted
// for compatibility and ignored: this system has no mandatory file locks.
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

// A sequence of bytes with a current position. Sizes and positions are 64-bit; a single Read or
// Write moves at most 2 GiB, and a negative count moves nothing.
class TStream : public TObject {
    using inherited = TObject;

public:
    // Reads up to `count` bytes at the position and advances past them; returns how many arrived
    // (0 at the end or on an error).
    virtual int32_t Read(void* buffer, int32_t count) = 0;
    // Writes `count` bytes at the position and advances past them; returns how many were taken.
    virtual int32_t Write(const void* buffer, int32_t count) = 0;
    // Moves the position and returns the new one, or -1 (position unchanged) when the target is
    // before the start or the device refuses.
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(int64_t position) { Seek(position, soBeginning); }
    virtual int64_t Size();
    // Cuts or extends the stream; the position stays unless it would lie past the new end.
    virtual void SetSize(int64_t size);

    // Reads exactly `count` bytes or raises EReadError.
    void ReadBuffer(void* buffer, int32_t count);
    // Writes exactly `count` bytes or raises EWriteError.
    void WriteBuffer(const void* buffer, int32_t count);
    // Copies `count` bytes from the source's position into this stream; count 0 copies the whole
    // source from its start. Returns the bytes copied; a short source raises EReadError.
    int64_t CopyFrom(TStream& source, int64_t count);
};

// A stream over an open file, closed when the stream is destroyed.
class TFileStream : public TStream {
    using inherited = TStream;

public:
    // `mode` is fmCreate (create or truncate, then read and write) or fmOpenRead, fmOpenWrite,
    // fmOpenReadWrite, each optionally or-ed with a share flag. Raises EFCreateError / EFOpenError.
    TFileStream(std::string_view fileName, uint16_t mode);
    ~TFileStream() override;

    const std::string& FileName() const { return FFileName; }

    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    // Raises EStreamError when the file cannot be resized.
    void SetSize(int64_t size) override;

private:
    std::string FFileName;
    int FHandle = -1;
};

// A stream held in memory. Writing past the end grows it; seeking past the end is allowed and a
// later write zero-fills the gap.
class TMemoryStream : public TStream {
    using inherited = TStream;

public:
    TMemoryStream() = default;

    // The bytes of the stream (Size() of them); may be null while the stream is empty.
    void* Memory() { return FMemory.data(); }
    const void* Memory() const { return FMemory.data(); }
    void Clear();

    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(FMemory.size()); }
    // New bytes are zero. Raises EStreamError when the memory cannot be had.
    void SetSize(int64_t size) override;

    // Replaces the contents with the whole of `stream` (read from its start); on a failure the
    // contents stay as they were.
    void LoadFromStream(TStream& stream);
    void LoadFromFile(std::string_view fileName);
    // Writes the whole contents, whatever the position.
    void SaveToStream(TStream& stream);
    void SaveToFile(std::string_view fileName);

private:
    void Grow(int64_t size);

    std::vector<uint8_t> FMemory;
    int64_t FPosition = 0;
};

// A stream over a std::string. Writing overwrites at the position and extends the string as needed.
class TStringStream : public TStream {
    using inherited = TStream;

public:
    explicit TStringStream(std::string initial = "");

    const std::string& DataString() const { return FDataString; }
    // Reads up to `count` bytes at the position as a string.
    std::string ReadString(int32_t count);
    void WriteString(std::string_view s);

    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(FDataString.size()); }
    void SetSize(int64_t size) override;

private:
    std::string FDataString;
    int64_t FPosition = 0;
};

// The zlib stream adapters of packed skins: compressing and decompressing streams and the whole-stream routines.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/Streams.h"
#include "framework/core/TObject.h"

#include <cstdint>
#include <memory>

struct z_stream_s;

class EZlibError : public Exception {
public:
    using Exception::Exception;
};

// Raised by a compression stream: "error" for a zlib failure, "Invalid stream operation" for a read or seek.
class ECompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};

// Raised by a decompression stream: "compression error" for data that is no zlib stream, "Invalid stream
// operation" for a write or a backward seek.
class EDecompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};

// The zlib level each value gives: 0, 1, zlib's default (-1) and 9. Scoped, because clNone and clDefault
// also name colours.
enum class TCompressionLevel : uint8_t { clNone, clFastest, clDefault, clMax };

// What both adapters share: the stream underneath, the position last used in it, the zlib state, a
// 4096-byte buffer and the progress event.
class TCustomZlibStream : public TStream {
    using inherited = TStream;

public:
    static constexpr int32_t BufferSize = 4096;

    ~TCustomZlibStream() override;

    // Called after each block of 4096 bytes moved to or from the stream underneath.
    TNotifyEvent OnProgress;

protected:
    explicit TCustomZlibStream(TStream& stream);

    virtual void Progress(TObject* sender);

    TStream& FStrm;
    int64_t FStrmPos = 0;
    std::unique_ptr<z_stream_s> FZRec;
    uint8_t FBuffer[BufferSize];
};

// Compresses everything written to it into the stream underneath, from that stream's position at
// construction. The last bytes reach that stream only when the compression ends.
class TCompressionStream final : public TCustomZlibStream {
    using inherited = TCustomZlibStream;

public:
    TCompressionStream(TCompressionLevel compressionLevel, TStream& dest);
    // Ends the compression when Finish has not; an error there can only be dropped, so callers that must
    // know the data is complete call Finish themselves.
    ~TCompressionStream() override;

    // Ends the zlib stream: writes every remaining byte to the stream underneath. Raises ECompressionError
    // or the stream's write error. Writing after it raises ECompressionError.
    void Finish();
    // (1 - bytes out / bytes in) x 100; 0 when nothing was written.
    float GetCompressionRate() const;

    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    // Only Seek(0, soCurrent) is allowed: it returns the number of bytes written so far.
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

private:
    bool FFinished = false;
};

// Decompresses the stream underneath, from that stream's position at construction, into what is read.
class TDecompressionStream final : public TCustomZlibStream {
    using inherited = TCustomZlibStream;

public:
    explicit TDecompressionStream(TStream& source);
    ~TDecompressionStream() override;

    // Returns fewer bytes than asked for only at the end of the zlib stream or of the stream underneath.
    // Bytes after the end of the zlib stream are ignored.
    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    // Seek(0, soBeginning) starts over from the start of the stream underneath; seeks forward (from the
    // current position, or from the beginning past what was produced) read and drop the bytes between. The
    // result is the number of bytes produced so far; every other seek raises "Invalid stream operation".
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;

    // True once the end marker of the zlib stream has been read: data that stops before it is incomplete.
    bool StreamEnded() const { return FStreamEnd; }

private:
    bool FStreamEnd = false;
};

namespace spzlibcompress {

// Compresses the whole of `source` (from its start) at clMax into `dest`, from dest's position.
void CompressStream(TStream& source, TStream& dest);
// Writes everything the zlib stream in `source` (from its start) holds into `dest`, in blocks of 4096 bytes.
void DeCompressStream(TStream& dest, TStream& source);

} // namespace spzlibcompress

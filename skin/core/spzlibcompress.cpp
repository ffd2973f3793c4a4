#include "skin/core/spzlibcompress.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace {

constexpr const char* kInvalidOperation = "Invalid stream operation";

int ZlibLevel(TCompressionLevel level)
{
    switch (level) {
    case TCompressionLevel::clNone:
        return Z_NO_COMPRESSION;
    case TCompressionLevel::clFastest:
        return Z_BEST_SPEED;
    case TCompressionLevel::clDefault:
        return Z_DEFAULT_COMPRESSION;
    case TCompressionLevel::clMax:
        return Z_BEST_COMPRESSION;
    }
    return Z_DEFAULT_COMPRESSION;
}

int CCheck(int code)
{
    if (code < 0)
        throw ECompressionError("error");
    return code;
}

// NOTE: a stream that asks for a preset dictionary can never make progress here, so it counts as
// broken data instead of leaving the read loop spinning.
int DCheck(int code)
{
    if (code < 0 || code == Z_NEED_DICT)
        throw EDecompressionError("compression error");
    return code;
}

} // namespace

TCustomZlibStream::TCustomZlibStream(TStream& stream)
    : FStrm(stream)
    , FStrmPos(stream.Position())
    , FZRec(std::make_unique<z_stream_s>())
{
    std::memset(FZRec.get(), 0, sizeof(z_stream_s));
    std::memset(FBuffer, 0, sizeof(FBuffer));
}

TCustomZlibStream::~TCustomZlibStream() = default;

void TCustomZlibStream::Progress(TObject* sender)
{
    if (OnProgress)
        OnProgress(sender);
}

TCompressionStream::TCompressionStream(TCompressionLevel compressionLevel, TStream& dest)
    : inherited(dest)
{
    FZRec->next_out = FBuffer;
    FZRec->avail_out = BufferSize;
    CCheck(deflateInit(FZRec.get(), ZlibLevel(compressionLevel)));
}

TCompressionStream::~TCompressionStream()
{
    try {
        Finish();
    } catch (const std::exception&) {
        // Nothing can report it from here; Finish is public for callers that must know.
    }
    deflateEnd(FZRec.get());
}

void TCompressionStream::Finish()
{
    if (FFinished)
        return;
    FFinished = true;
    FZRec->next_in = nullptr;
    FZRec->avail_in = 0;
    if (FStrm.Position() != FStrmPos)
        FStrm.SetPosition(FStrmPos);
    while (CCheck(deflate(FZRec.get(), Z_FINISH)) != Z_STREAM_END) {
        if (FZRec->avail_out == 0) {
            FStrm.WriteBuffer(FBuffer, BufferSize);
            FZRec->next_out = FBuffer;
            FZRec->avail_out = BufferSize;
        }
    }
    int32_t pending = BufferSize - static_cast<int32_t>(FZRec->avail_out);
    if (pending > 0)
        FStrm.WriteBuffer(FBuffer, pending);
    FZRec->next_out = FBuffer;
    FZRec->avail_out = BufferSize;
    FStrmPos = FStrm.Position();
}

float TCompressionStream::GetCompressionRate() const
{
    if (FZRec->total_in == 0)
        return 0;
    return static_cast<float>((1.0 - static_cast<double>(FZRec->total_out) / FZRec->total_in) * 100.0);
}

int32_t TCompressionStream::Read(void*, int32_t)
{
    throw ECompressionError(kInvalidOperation);
}

int32_t TCompressionStream::Write(const void* buffer, int32_t count)
{
    if (count <= 0)
        return 0;
    if (FFinished)
        throw ECompressionError(kInvalidOperation);
    FZRec->next_in = static_cast<Bytef*>(const_cast<void*>(buffer));
    FZRec->avail_in = static_cast<uInt>(count);
    if (FStrm.Position() != FStrmPos)
        FStrm.SetPosition(FStrmPos);
    while (FZRec->avail_in > 0) {
        CCheck(deflate(FZRec.get(), Z_NO_FLUSH));
        if (FZRec->avail_out == 0) {
            FStrm.WriteBuffer(FBuffer, BufferSize);
            FZRec->next_out = FBuffer;
            FZRec->avail_out = BufferSize;
            FStrmPos = FStrm.Position();
            Progress(this);
        }
    }
    return count;
}

int64_t TCompressionStream::Seek(int64_t offset, TSeekOrigin origin)
{
    if (offset == 0 && origin == soCurrent)
        return static_cast<int64_t>(FZRec->total_in);
    throw ECompressionError(kInvalidOperation);
}

TDecompressionStream::TDecompressionStream(TStream& source)
    : inherited(source)
{
    FZRec->next_in = FBuffer;
    FZRec->avail_in = 0;
    DCheck(inflateInit(FZRec.get()));
}

TDecompressionStream::~TDecompressionStream()
{
    inflateEnd(FZRec.get());
}

int32_t TDecompressionStream::Read(void* buffer, int32_t count)
{
    if (count <= 0)
        return 0;
    FZRec->next_out = static_cast<Bytef*>(buffer);
    FZRec->avail_out = static_cast<uInt>(count);
    if (FStrm.Position() != FStrmPos)
        FStrm.SetPosition(FStrmPos);
    while (FZRec->avail_out > 0 && !FStreamEnd) {
        if (FZRec->avail_in == 0) {
            int32_t got = FStrm.Read(FBuffer, BufferSize);
            if (got <= 0)
                break;
            FZRec->next_in = FBuffer;
            FZRec->avail_in = static_cast<uInt>(got);
            FStrmPos = FStrm.Position();
            Progress(this);
        }
        // The zlib stream ends where its own end marker says; whatever follows in the source is not ours.
        if (DCheck(inflate(FZRec.get(), Z_NO_FLUSH)) == Z_STREAM_END)
            FStreamEnd = true;
    }
    return count - static_cast<int32_t>(FZRec->avail_out);
}

int32_t TDecompressionStream::Write(const void*, int32_t)
{
    throw EDecompressionError(kInvalidOperation);
}

int64_t TDecompressionStream::Seek(int64_t offset, TSeekOrigin origin)
{
    int64_t produced = static_cast<int64_t>(FZRec->total_out);
    if (offset == 0 && origin == soBeginning) {
        DCheck(inflateReset(FZRec.get()));
        FZRec->next_in = FBuffer;
        FZRec->avail_in = 0;
        FStreamEnd = false;
        FStrm.SetPosition(0);
        FStrmPos = 0;
    } else if ((origin == soCurrent && offset >= 0) || (origin == soBeginning && offset > produced)) {
        int64_t skip = origin == soCurrent ? offset : offset - produced;
        uint8_t discard[BufferSize];
        while (skip > 0) {
            int32_t n = static_cast<int32_t>(std::min<int64_t>(skip, BufferSize));
            int32_t got = Read(discard, n);
            if (got < n)
                break;
            skip -= n;
        }
    } else {
        throw EDecompressionError(kInvalidOperation);
    }
    return static_cast<int64_t>(FZRec->total_out);
}

namespace spzlibcompress {

void CompressStream(TStream& source, TStream& dest)
{
    source.SetPosition(0);
    TCompressionStream compressor(TCompressionLevel::clMax, dest);
    uint8_t buffer[TCustomZlibStream::BufferSize];
    for (;;) {
        int32_t got = source.Read(buffer, sizeof(buffer));
        if (got <= 0)
            break;
        compressor.WriteBuffer(buffer, got);
    }
    compressor.Finish();
}

void DeCompressStream(TStream& dest, TStream& source)
{
    source.SetPosition(0);
    TDecompressionStream decompressor(source);
    uint8_t buffer[TCustomZlibStream::BufferSize];
    for (;;) {
        int32_t got = decompressor.Read(buffer, sizeof(buffer));
        if (got <= 0)
            break;
        dest.WriteBuffer(buffer, got);
    }
}

} // namespace spzlibcompress

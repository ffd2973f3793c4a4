// Saving the image data: the row encoders, the filter chosen per row, deflate and the IDAT chunks it fills.
#include "framework/core/Streams.h"
#include "imaging/PngImageData.h"
#include "imaging/PngMessages.h"
#include "imaging/TPNGObject.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace {

// Where a row's pixels come from: the store row, its low-byte and alpha rows, and the image columns of the pixels
// (column Start + k x Step for the k-th).
struct TRowSource {
    const uint8_t* Pixels;
    const uint8_t* Extra;
    const uint8_t* Alpha;
    const uint8_t* Inverse;
    uint32_t Count;
    uint32_t Start;
    uint32_t Step;
    uint32_t FileBytes;
    uint8_t BitDepth;
};
using TEncodeProc = void (*)(const TRowSource& s, uint8_t* raw);

template <bool Interlaced> inline uint32_t Column(const TRowSource& s, uint32_t k)
{
    if constexpr (Interlaced)
        return s.Start + k * s.Step;
    else
        return k;
}

// Low bytes come from the low-byte plane, so a 16-bit picture saves the samples it loaded.
inline uint8_t Low(const TRowSource& s, uint32_t index)
{
    return s.Extra ? s.Extra[index] : 0;
}

template <bool Interlaced> void EncodePalette148(const TRowSource& s, uint8_t* raw)
{
    if constexpr (!Interlaced) {
        std::memcpy(raw, s.Pixels, s.FileBytes);
    } else {
        uint32_t depth = s.BitDepth;
        if (depth == 8) {
            for (uint32_t k = 0; k < s.Count; ++k)
                raw[k] = s.Pixels[Column<true>(s, k)];
            return;
        }
        std::memset(raw, 0, s.FileBytes);
        uint32_t perByte = 8 / depth, mask = (1u << depth) - 1;
        for (uint32_t k = 0; k < s.Count; ++k) {
            uint32_t x = Column<true>(s, k);
            uint32_t value = (s.Pixels[x / perByte] >> (8 - depth - depth * (x % perByte))) & mask;
            raw[k / perByte] |= uint8_t(value << (8 - depth - depth * (k % perByte)));
        }
    }
}

template <bool Interlaced> void EncodeGrayscale16(const TRowSource& s, uint8_t* raw)
{
    for (uint32_t k = 0; k < s.Count; ++k, raw += 2) {
        uint32_t x = Column<Interlaced>(s, k);
        raw[0] = s.Pixels[x];
        raw[1] = Low(s, x);
    }
}

template <bool Interlaced> void EncodeRGB8(const TRowSource& s, uint8_t* raw)
{
    const uint8_t* inverse = s.Inverse;
    for (uint32_t k = 0; k < s.Count; ++k, raw += 3) {
        const uint8_t* p = s.Pixels + 3 * Column<Interlaced>(s, k);
        raw[0] = inverse[p[2]];
        raw[1] = inverse[p[1]];
        raw[2] = inverse[p[0]];
    }
}

template <bool Interlaced> void EncodeRGB16(const TRowSource& s, uint8_t* raw)
{
    const uint8_t* inverse = s.Inverse;
    for (uint32_t k = 0; k < s.Count; ++k, raw += 6) {
        uint32_t x = 3 * Column<Interlaced>(s, k);
        raw[0] = inverse[s.Pixels[x + 2]];
        raw[1] = inverse[Low(s, x + 2)];
        raw[2] = inverse[s.Pixels[x + 1]];
        raw[3] = inverse[Low(s, x + 1)];
        raw[4] = inverse[s.Pixels[x]];
        raw[5] = inverse[Low(s, x)];
    }
}

template <bool Interlaced> void EncodeGrayscaleAlpha8(const TRowSource& s, uint8_t* raw)
{
    for (uint32_t k = 0; k < s.Count; ++k, raw += 2) {
        uint32_t x = Column<Interlaced>(s, k);
        raw[0] = s.Pixels[x];
        raw[1] = s.Alpha[x];
    }
}

// A 16-bit alpha keeps only its high byte in the store; it is written back as that byte repeated, so opaque stays
// 65535 and transparent 0.
template <bool Interlaced> void EncodeGrayscaleAlpha16(const TRowSource& s, uint8_t* raw)
{
    for (uint32_t k = 0; k < s.Count; ++k, raw += 4) {
        uint32_t x = Column<Interlaced>(s, k);
        raw[0] = s.Pixels[x];
        raw[1] = Low(s, x);
        raw[2] = s.Alpha[x];
        raw[3] = s.Alpha[x];
    }
}

template <bool Interlaced> void EncodeRGBAlpha8(const TRowSource& s, uint8_t* raw)
{
    const uint8_t* inverse = s.Inverse;
    for (uint32_t k = 0; k < s.Count; ++k, raw += 4) {
        uint32_t x = Column<Interlaced>(s, k);
        const uint8_t* p = s.Pixels + 3 * x;
        raw[0] = inverse[p[2]];
        raw[1] = inverse[p[1]];
        raw[2] = inverse[p[0]];
        raw[3] = s.Alpha[x];
    }
}

template <bool Interlaced> void EncodeRGBAlpha16(const TRowSource& s, uint8_t* raw)
{
    const uint8_t* inverse = s.Inverse;
    for (uint32_t k = 0; k < s.Count; ++k, raw += 8) {
        uint32_t x = Column<Interlaced>(s, k);
        raw[0] = inverse[s.Pixels[3 * x + 2]];
        raw[1] = inverse[Low(s, 3 * x + 2)];
        raw[2] = inverse[s.Pixels[3 * x + 1]];
        raw[3] = inverse[Low(s, 3 * x + 1)];
        raw[4] = inverse[s.Pixels[3 * x]];
        raw[5] = inverse[Low(s, 3 * x)];
        raw[6] = s.Alpha[x];
        raw[7] = s.Alpha[x];
    }
}

// The encoders under the names of the non-interlaced and interlaced families.
constexpr TEncodeProc EncodeNonInterlacedPalette148 = &EncodePalette148<false>;
constexpr TEncodeProc EncodeInterlacedPalette148 = &EncodePalette148<true>;
constexpr TEncodeProc EncodeNonInterlacedGrayscale16 = &EncodeGrayscale16<false>;
constexpr TEncodeProc EncodeInterlacedGrayscale16 = &EncodeGrayscale16<true>;
constexpr TEncodeProc EncodeNonInterlacedRGB8 = &EncodeRGB8<false>;
constexpr TEncodeProc EncodeInterlacedRGB8 = &EncodeRGB8<true>;
constexpr TEncodeProc EncodeNonInterlacedRGB16 = &EncodeRGB16<false>;
constexpr TEncodeProc EncodeInterlacedRGB16 = &EncodeRGB16<true>;
constexpr TEncodeProc EncodeNonInterlacedGrayscaleAlpha8 = &EncodeGrayscaleAlpha8<false>;
constexpr TEncodeProc EncodeInterlacedGrayscaleAlpha8 = &EncodeGrayscaleAlpha8<true>;
constexpr TEncodeProc EncodeNonInterlacedGrayscaleAlpha16 = &EncodeGrayscaleAlpha16<false>;
constexpr TEncodeProc EncodeInterlacedGrayscaleAlpha16 = &EncodeGrayscaleAlpha16<true>;
constexpr TEncodeProc EncodeNonInterlacedRGBAlpha8 = &EncodeRGBAlpha8<false>;
constexpr TEncodeProc EncodeInterlacedRGBAlpha8 = &EncodeRGBAlpha8<true>;
constexpr TEncodeProc EncodeNonInterlacedRGBAlpha16 = &EncodeRGBAlpha16<false>;
constexpr TEncodeProc EncodeInterlacedRGBAlpha16 = &EncodeRGBAlpha16<true>;

// Depth 2 has no encoder: the header has already made such pictures 4-bit before the data is written.
TEncodeProc ChooseEncoder(uint8_t colorType, uint8_t bitDepth, bool interlaced)
{
    switch (colorType) {
    case COLOR_GRAYSCALE:
        if (bitDepth == 16)
            return interlaced ? EncodeInterlacedGrayscale16 : EncodeNonInterlacedGrayscale16;
        [[fallthrough]];
    case COLOR_PALETTE:
        if (bitDepth == 1 || bitDepth == 4 || bitDepth == 8)
            return interlaced ? EncodeInterlacedPalette148 : EncodeNonInterlacedPalette148;
        return nullptr;
    case COLOR_RGB:
        if (bitDepth == 8)
            return interlaced ? EncodeInterlacedRGB8 : EncodeNonInterlacedRGB8;
        return bitDepth == 16 ? (interlaced ? EncodeInterlacedRGB16 : EncodeNonInterlacedRGB16) : nullptr;
    case COLOR_GRAYSCALEALPHA:
        if (bitDepth == 8)
            return interlaced ? EncodeInterlacedGrayscaleAlpha8 : EncodeNonInterlacedGrayscaleAlpha8;
        return bitDepth == 16 ? (interlaced ? EncodeInterlacedGrayscaleAlpha16 : EncodeNonInterlacedGrayscaleAlpha16)
                              : nullptr;
    case COLOR_RGBALPHA:
        if (bitDepth == 8)
            return interlaced ? EncodeInterlacedRGBAlpha8 : EncodeNonInterlacedRGBAlpha8;
        return bitDepth == 16 ? (interlaced ? EncodeInterlacedRGBAlpha16 : EncodeNonInterlacedRGBAlpha16) : nullptr;
    default:
        return nullptr;
    }
}

// The positions j in 2 .. n - 1 whose byte equals the byte before it or the one two before it.
uint32_t CountRuns(const uint8_t* row, uint32_t n)
{
    uint32_t count = 0;
    for (uint32_t j = 2; j < n; ++j)
        count += row[j] == row[j - 1] || row[j] == row[j - 2];
    return count;
}

// The working state of one save: the deflater, the IDAT output block and the row buffers.
class TIDATEncoder {
public:
    TIDATEncoder(TStream& stream, TChunkIHDR& header, TPNGObject& owner)
        : FStream(stream)
        , FHeader(header)
        , FOwner(owner)
        , FFilters(owner.Filters())
    {
        int status = deflateInit(&FZlib, owner.CompressionLevel());
        if (status != Z_OK)
            RaiseError<EPNGZLIBError>(ZLibErrorText(status));
        FZlibOpen = true;
        FOutput.resize(size_t(owner.MaxIdatSize()));
        FZlib.next_out = FOutput.data();
        FZlib.avail_out = uInt(FOutput.size());
    }
    ~TIDATEncoder()
    {
        if (FZlibOpen)
            deflateEnd(&FZlib);
    }

    void Encode();

private:
    void IDATZlibWrite(const uint8_t* data, uint32_t count);
    void FinishIDATZlib();
    void WriteIDAT(uint32_t size);
    void EncodeRow(TEncodeProc encoder, uint32_t y, uint32_t count, uint32_t start, uint32_t step, uint32_t rowSize);
    // Writes the transparent samples into the raw row exactly where the key plane marks them, and moves any other
    // pixel that the inverse gamma would write as those samples off them by its last bit.
    void KeepKey(uint32_t y, uint32_t count, uint32_t start, uint32_t step);
    void EncodeNonInterlaced(TEncodeProc encoder);
    void EncodeInterlacedAdam7(TEncodeProc encoder);

    TStream& FStream;
    TChunkIHDR& FHeader;
    TPNGObject& FOwner;
    TFilters FFilters;
    z_stream FZlib {};
    bool FZlibOpen = false;
    std::vector<uint8_t> FOutput;
    std::vector<uint8_t> FRaw, FPrevious;
    std::vector<uint8_t> FFiltered[5];
    uint32_t FOffset = 0;
    bool FKeyed = false;
    uint8_t FKey[6] = {};
};

void TIDATEncoder::KeepKey(uint32_t y, uint32_t count, uint32_t start, uint32_t step)
{
    const uint8_t* key = FHeader.KeyScanLine(y);
    for (uint32_t k = 0; k < count; ++k) {
        uint8_t* samples = FRaw.data() + size_t(k) * FOffset;
        if (key[start + k * step])
            std::memcpy(samples, FKey, FOffset);
        else if (std::memcmp(samples, FKey, FOffset) == 0)
            samples[FOffset - 1] ^= 1;
    }
}

void TIDATEncoder::WriteIDAT(uint32_t size)
{
    static const TChunkName idat { 'I', 'D', 'A', 'T' };
    uint8_t frame[8];
    WriteBigEndian32(frame, size);
    std::memcpy(frame + 4, idat.data(), 4);
    FStream.WriteBuffer(frame, 8);
    if (size > 0)
        FStream.WriteBuffer(FOutput.data(), int32_t(size));
    WriteBigEndian32(frame, ChunkCRC(idat, FOutput.data(), size));
    FStream.WriteBuffer(frame, 4);
}

void TIDATEncoder::IDATZlibWrite(const uint8_t* data, uint32_t count)
{
    FZlib.next_in = const_cast<uint8_t*>(data);
    FZlib.avail_in = count;
    while (FZlib.avail_in > 0) {
        // With input and output room deflate always progresses; any other answer would repeat forever.
        int status = deflate(&FZlib, Z_NO_FLUSH);
        if (status != Z_OK)
            RaiseError<EPNGZLIBError>(ZLibErrorText(status));
        if (FZlib.avail_out == 0) {
            WriteIDAT(uint32_t(FOutput.size()));
            FZlib.next_out = FOutput.data();
            FZlib.avail_out = uInt(FOutput.size());
        }
    }
}

void TIDATEncoder::FinishIDATZlib()
{
    for (;;) {
        int status = deflate(&FZlib, Z_FINISH);
        if (status == Z_STREAM_END)
            break;
        // Anything but progress would repeat forever: deflate reports the end of the stream or nothing.
        if (status != Z_OK && status != Z_BUF_ERROR)
            RaiseError<EPNGZLIBError>(ZLibErrorText(status));
        if (status == Z_BUF_ERROR && FZlib.avail_out > 0)
            RaiseError<EPNGZLIBError>(ZLibErrorText(status));
        WriteIDAT(uint32_t(FOutput.size() - FZlib.avail_out));
        FZlib.next_out = FOutput.data();
        FZlib.avail_out = uInt(FOutput.size());
    }
    uint32_t rest = uint32_t(FOutput.size() - FZlib.avail_out);
    if (rest > 0)
        WriteIDAT(rest);
}

void TIDATEncoder::EncodeRow(
    TEncodeProc encoder, uint32_t y, uint32_t count, uint32_t start, uint32_t step, uint32_t rowSize)
{
    TRowSource s {};
    s.Pixels = FHeader.ScanLine(y);
    s.Extra = FHeader.ExtraImageData ? FHeader.ExtraScanLine(y) : nullptr;
    s.Alpha = FHeader.AlphaScanLine(y);
    s.Inverse = FOwner.InverseGamma;
    s.Count = count;
    s.Start = start;
    s.Step = step;
    s.FileBytes = rowSize;
    s.BitDepth = FHeader.IHDRData.BitDepth;
    encoder(s, FRaw.data());
    if (FKeyed)
        KeepKey(y, count, start, step);
    uint8_t* outputs[5]
        = { nullptr, FFiltered[1].data(), FFiltered[2].data(), FFiltered[3].data(), FFiltered[4].data() };
    TFilter filter = TChunkIDAT::FilterToEncode(FFilters, FRaw.data(), FPrevious.data(), outputs, rowSize, FOffset);
    uint8_t type = filter;
    IDATZlibWrite(&type, 1);
    // After the choice the previous-row buffer holds the raw row, which is the output of None.
    IDATZlibWrite(filter == pfNone ? FPrevious.data() : outputs[filter], rowSize);
}

void TIDATEncoder::EncodeNonInterlaced(TEncodeProc encoder)
{
    const TIHDRData& ihdr = FHeader.IHDRData;
    uint32_t rowSize = PngRowSize(ihdr.ColorType, ihdr.BitDepth, ihdr.Width);
    for (uint32_t y = 0; y < ihdr.Height; ++y)
        EncodeRow(encoder, y, ihdr.Width, 0, 1, rowSize);
}

void TIDATEncoder::EncodeInterlacedAdam7(TEncodeProc encoder)
{
    const TIHDRData& ihdr = FHeader.IHDRData;
    for (const TAdam7Pass& pass : Adam7Passes) {
        uint32_t passWidth = ihdr.Width <= pass.ColumnStart
            ? 0
            : uint32_t((uint64_t(ihdr.Width) + pass.ColumnIncrement - 1 - pass.ColumnStart) / pass.ColumnIncrement);
        uint32_t rowSize = PngRowSize(ihdr.ColorType, ihdr.BitDepth, passWidth);
        std::fill(FPrevious.begin(), FPrevious.end(), 0);
        if (rowSize == 0)
            continue;
        for (uint32_t y = pass.RowStart; y < ihdr.Height; y += pass.RowIncrement)
            EncodeRow(encoder, y, passWidth, pass.ColumnStart, pass.ColumnIncrement, rowSize);
    }
}

void TIDATEncoder::Encode()
{
    const TIHDRData& ihdr = FHeader.IHDRData;
    uint32_t rowSize = 0;
    FOwner.GetPixelInfo(rowSize, FOffset);
    FRaw.assign(size_t(rowSize) + 1, 0);
    FPrevious.assign(size_t(rowSize) + 1, 0);
    for (TFilter filter : { pfSub, pfUp, pfAverage, pfPaeth }) {
        if (FFilters.Contains(filter))
            FFiltered[filter].assign(size_t(rowSize) + 1, 0);
    }
    const TChunktRNS* trns = FOwner.Chunks().Find<TChunktRNS>();
    FKeyed = FHeader.ImageKey && ihdr.ColorType == COLOR_RGB && trns
        && TChunkIHDR::RGBKeySamples(*trns, ihdr.BitDepth, FKey);
    bool interlaced = FOwner.InterlaceMethod() == imAdam7;
    TEncodeProc encoder = ChooseEncoder(ihdr.ColorType, ihdr.BitDepth, interlaced);
    if (!encoder)
        RaiseError<EPngInvalidIHDR>(EPNGInvalidIHDRText);
    if (interlaced)
        EncodeInterlacedAdam7(encoder);
    else
        EncodeNonInterlaced(encoder);
    FinishIDATZlib();
}

} // namespace

TFilter TChunkIDAT::FilterToEncode(
    TFilters filters, uint8_t* raw, uint8_t* previous, uint8_t* const outputs[5], uint32_t rowSize, uint32_t offset)
{
    const uint32_t n = rowSize, b = offset;
    if (filters.Contains(pfSub)) {
        uint8_t* out = outputs[pfSub];
        for (uint32_t i = 0; i < n; ++i)
            out[i] = uint8_t(raw[i] - (i >= b ? raw[i - b] : 0));
    }
    if (filters.Contains(pfUp)) {
        uint8_t* out = outputs[pfUp];
        for (uint32_t i = 0; i < n; ++i)
            out[i] = uint8_t(raw[i] - previous[i]);
    }
    if (filters.Contains(pfAverage)) {
        uint8_t* out = outputs[pfAverage];
        for (uint32_t i = 0; i < n; ++i)
            out[i] = uint8_t(raw[i] - ((unsigned(i >= b ? raw[i - b] : 0) + previous[i]) >> 1));
    }
    if (filters.Contains(pfPaeth)) {
        uint8_t* out = outputs[pfPaeth];
        for (uint32_t i = 0; i < n; ++i) {
            int left = i >= b ? raw[i - b] : 0;
            int upperLeft = i >= b ? previous[i - b] : 0;
            out[i] = uint8_t(raw[i] - PaethPredictor(left, previous[i], upperLeft));
        }
    }
    std::memcpy(previous, raw, n);

    TFilters noneOnly { pfNone };
    if (filters.Empty() || filters == noneOnly)
        return pfNone;
    TFilter result = pfNone;
    uint32_t longest = 0;
    for (TFilter filter : { pfNone, pfSub, pfUp, pfAverage, pfPaeth }) {
        if (!filters.Contains(filter))
            continue;
        if (filters == TFilters { filter })
            return filter;
        uint32_t count = CountRuns(filter == pfNone ? previous : outputs[filter], n);
        if (count > longest) {
            result = filter;
            longest = count;
        }
    }
    return result;
}

bool TChunkIDAT::SaveToStream(TStream& stream)
{
    TChunkIHDR* header = GetHeader();
    TIDATEncoder encoder(stream, *header, *FOwner);
    encoder.Encode();
    return true;
}

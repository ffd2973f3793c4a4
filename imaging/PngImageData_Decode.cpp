// Loading the image data: inflation across the IDAT chunks of a run, row filters, Adam7 and the row copiers.
#include "framework/core/Streams.h"
#include "imaging/PngImageData.h"
#include "imaging/PngMessages.h"
#include "imaging/TPNGObject.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace {

// Where one decoded row goes: its store row, low-byte row and alpha row, and the image columns of its pixels
// (column Start + k x Step for the k-th pixel; 0 and 1 without interlacing).
struct TRowTarget {
    uint8_t* Pixels;
    uint8_t* Extra;
    uint8_t* Alpha;
    const uint8_t* Gamma;
    uint32_t Count;
    uint32_t Start;
    uint32_t Step;
    uint32_t FileBytes;
    uint8_t BitDepth;
};
using TCopyProc = void (*)(const TRowTarget& t, const uint8_t* src);

template <bool Interlaced> inline uint32_t Column(const TRowTarget& t, uint32_t k)
{
    if constexpr (Interlaced)
        return t.Start + k * t.Step;
    else
        return k;
}

// Grey of depth 1, 4, 8 and palette indices of depth 1, 4, 8: the index bits as the file has them.
template <bool Interlaced> void CopyPalette148(const TRowTarget& t, const uint8_t* src)
{
    if constexpr (!Interlaced) {
        std::memcpy(t.Pixels, src, t.FileBytes);
    } else {
        uint32_t depth = t.BitDepth;
        if (depth == 8) {
            for (uint32_t k = 0; k < t.Count; ++k)
                t.Pixels[Column<true>(t, k)] = src[k];
            return;
        }
        uint32_t perByte = 8 / depth, mask = (1u << depth) - 1;
        for (uint32_t k = 0; k < t.Count; ++k) {
            uint32_t value = (src[k / perByte] >> (8 - depth - depth * (k % perByte))) & mask;
            uint32_t x = Column<true>(t, k);
            t.Pixels[x / perByte] |= uint8_t(value << (8 - depth - depth * (x % perByte)));
        }
    }
}

// 2-bit samples into the 4-bit store, one nibble each: palette indices unchanged, grey levels widened to 5 x v, so
// that the 16-entry grey ramp shows the same level (17 x 5 v = 85 v) and saving as 4-bit grey keeps it.
template <bool Interlaced, int Scale> void CopyTwoBit(const TRowTarget& t, const uint8_t* src)
{
    for (uint32_t k = 0; k < t.Count; ++k) {
        uint32_t value = ((src[k / 4] >> (6 - 2 * (k % 4))) & 3) * Scale;
        uint32_t x = Column<Interlaced>(t, k);
        t.Pixels[x / 2] |= uint8_t(value << ((x % 2) ? 0 : 4));
    }
}

template <bool Interlaced> void CopyGrayscale16(const TRowTarget& t, const uint8_t* src)
{
    for (uint32_t k = 0; k < t.Count; ++k, src += 2) {
        uint32_t x = Column<Interlaced>(t, k);
        t.Pixels[x] = src[0];
        t.Extra[x] = src[1];
    }
}

template <bool Interlaced> void CopyRGB8(const TRowTarget& t, const uint8_t* src)
{
    const uint8_t* gamma = t.Gamma;
    for (uint32_t k = 0; k < t.Count; ++k, src += 3) {
        uint8_t* p = t.Pixels + 3 * Column<Interlaced>(t, k);
        p[0] = gamma[src[2]];
        p[1] = gamma[src[1]];
        p[2] = gamma[src[0]];
    }
}

template <bool Interlaced> void CopyRGB16(const TRowTarget& t, const uint8_t* src)
{
    const uint8_t* gamma = t.Gamma;
    for (uint32_t k = 0; k < t.Count; ++k, src += 6) {
        uint32_t x = 3 * Column<Interlaced>(t, k);
        t.Pixels[x] = gamma[src[4]];
        t.Pixels[x + 1] = gamma[src[2]];
        t.Pixels[x + 2] = gamma[src[0]];
        t.Extra[x] = gamma[src[5]];
        t.Extra[x + 1] = gamma[src[3]];
        t.Extra[x + 2] = gamma[src[1]];
    }
}

template <bool Interlaced> void CopyGrayscaleAlpha8(const TRowTarget& t, const uint8_t* src)
{
    for (uint32_t k = 0; k < t.Count; ++k, src += 2) {
        uint32_t x = Column<Interlaced>(t, k);
        t.Pixels[x] = src[0];
        t.Alpha[x] = src[1];
    }
}

template <bool Interlaced> void CopyGrayscaleAlpha16(const TRowTarget& t, const uint8_t* src)
{
    for (uint32_t k = 0; k < t.Count; ++k, src += 4) {
        uint32_t x = Column<Interlaced>(t, k);
        t.Pixels[x] = src[0];
        t.Alpha[x] = src[2];
        t.Extra[x] = src[1];
    }
}

template <bool Interlaced> void CopyRGBAlpha8(const TRowTarget& t, const uint8_t* src)
{
    const uint8_t* gamma = t.Gamma;
    for (uint32_t k = 0; k < t.Count; ++k, src += 4) {
        uint32_t x = Column<Interlaced>(t, k);
        uint8_t* p = t.Pixels + 3 * x;
        p[0] = gamma[src[2]];
        p[1] = gamma[src[1]];
        p[2] = gamma[src[0]];
        t.Alpha[x] = src[3];
    }
}

template <bool Interlaced> void CopyRGBAlpha16(const TRowTarget& t, const uint8_t* src)
{
    const uint8_t* gamma = t.Gamma;
    for (uint32_t k = 0; k < t.Count; ++k, src += 8) {
        uint32_t x = Column<Interlaced>(t, k);
        t.Pixels[3 * x] = gamma[src[4]];
        t.Pixels[3 * x + 1] = gamma[src[2]];
        t.Pixels[3 * x + 2] = gamma[src[0]];
        t.Extra[3 * x] = gamma[src[5]];
        t.Extra[3 * x + 1] = gamma[src[3]];
        t.Extra[3 * x + 2] = gamma[src[1]];
        t.Alpha[x] = src[6];
    }
}

// The copiers under the names of the non-interlaced and interlaced families.
constexpr TCopyProc CopyNonInterlacedPalette148 = &CopyPalette148<false>;
constexpr TCopyProc CopyInterlacedPalette148 = &CopyPalette148<true>;
constexpr TCopyProc CopyNonInterlacedPalette2 = &CopyTwoBit<false, 1>;
constexpr TCopyProc CopyInterlacedPalette2 = &CopyTwoBit<true, 1>;
constexpr TCopyProc CopyNonInterlacedGray2 = &CopyTwoBit<false, 5>;
constexpr TCopyProc CopyInterlacedGray2 = &CopyTwoBit<true, 5>;
constexpr TCopyProc CopyNonInterlacedGrayscale16 = &CopyGrayscale16<false>;
constexpr TCopyProc CopyInterlacedGrayscale16 = &CopyGrayscale16<true>;
constexpr TCopyProc CopyNonInterlacedRGB8 = &CopyRGB8<false>;
constexpr TCopyProc CopyInterlacedRGB8 = &CopyRGB8<true>;
constexpr TCopyProc CopyNonInterlacedRGB16 = &CopyRGB16<false>;
constexpr TCopyProc CopyInterlacedRGB16 = &CopyRGB16<true>;
constexpr TCopyProc CopyNonInterlacedGrayscaleAlpha8 = &CopyGrayscaleAlpha8<false>;
constexpr TCopyProc CopyInterlacedGrayscaleAlpha8 = &CopyGrayscaleAlpha8<true>;
constexpr TCopyProc CopyNonInterlacedGrayscaleAlpha16 = &CopyGrayscaleAlpha16<false>;
constexpr TCopyProc CopyInterlacedGrayscaleAlpha16 = &CopyGrayscaleAlpha16<true>;
constexpr TCopyProc CopyNonInterlacedRGBAlpha8 = &CopyRGBAlpha8<false>;
constexpr TCopyProc CopyInterlacedRGBAlpha8 = &CopyRGBAlpha8<true>;
constexpr TCopyProc CopyNonInterlacedRGBAlpha16 = &CopyRGBAlpha16<false>;
constexpr TCopyProc CopyInterlacedRGBAlpha16 = &CopyRGBAlpha16<true>;

// The copier for a colour type and depth; nil for a combination the header check has already refused.
TCopyProc ChooseCopier(uint8_t colorType, uint8_t bitDepth, bool interlaced)
{
    switch (colorType) {
    case COLOR_GRAYSCALE:
        if (bitDepth == 2)
            return interlaced ? CopyInterlacedGray2 : CopyNonInterlacedGray2;
        if (bitDepth == 16)
            return interlaced ? CopyInterlacedGrayscale16 : CopyNonInterlacedGrayscale16;
        return interlaced ? CopyInterlacedPalette148 : CopyNonInterlacedPalette148;
    case COLOR_PALETTE:
        if (bitDepth == 2)
            return interlaced ? CopyInterlacedPalette2 : CopyNonInterlacedPalette2;
        return interlaced ? CopyInterlacedPalette148 : CopyNonInterlacedPalette148;
    case COLOR_RGB:
        if (bitDepth == 8)
            return interlaced ? CopyInterlacedRGB8 : CopyNonInterlacedRGB8;
        return interlaced ? CopyInterlacedRGB16 : CopyNonInterlacedRGB16;
    case COLOR_GRAYSCALEALPHA:
        if (bitDepth == 8)
            return interlaced ? CopyInterlacedGrayscaleAlpha8 : CopyNonInterlacedGrayscaleAlpha8;
        return interlaced ? CopyInterlacedGrayscaleAlpha16 : CopyNonInterlacedGrayscaleAlpha16;
    case COLOR_RGBALPHA:
        if (bitDepth == 8)
            return interlaced ? CopyInterlacedRGBAlpha8 : CopyNonInterlacedRGBAlpha8;
        return interlaced ? CopyInterlacedRGBAlpha16 : CopyNonInterlacedRGBAlpha16;
    default:
        return nullptr;
    }
}

// The filters with the pixel offset fixed at compile time, so the inner loops carry no extra index arithmetic.
template <uint32_t Bpp> void UnfilterRow(uint8_t filter, uint8_t* row, const uint8_t* prev, uint32_t n)
{
    switch (filter) {
    case pfSub:
        for (uint32_t i = Bpp; i < n; ++i)
            row[i] = uint8_t(row[i] + row[i - Bpp]);
        break;
    case pfUp:
        for (uint32_t i = 0; i < n; ++i)
            row[i] = uint8_t(row[i] + prev[i]);
        break;
    case pfAverage: {
        uint32_t i = 0;
        for (; i < Bpp && i < n; ++i)
            row[i] = uint8_t(row[i] + (prev[i] >> 1));
        for (; i < n; ++i)
            row[i] = uint8_t(row[i] + ((unsigned(row[i - Bpp]) + prev[i]) >> 1));
        break;
    }
    case pfPaeth: {
        uint32_t i = 0;
        for (; i < Bpp && i < n; ++i)
            row[i] = uint8_t(row[i] + prev[i]);
        for (; i < n; ++i)
            row[i] = uint8_t(row[i] + PaethPredictor(row[i - Bpp], prev[i], prev[i - Bpp]));
        break;
    }
    default:
        // None, and type bytes above 4, which are used as they are.
        break;
    }
}

// The working state of one load: the inflater, the input block, the running CRC of the IDAT chunk in progress
// and the two alternating row buffers.
class TIDATDecoder {
public:
    TIDATDecoder(TStream& stream, TChunkIHDR& header, TPNGObject& owner, uint32_t chunkSize)
        : FStream(stream)
        , FHeader(header)
        , FOwner(owner)
        , FChunkLeft(chunkSize)
    {
        static const TChunkName idat { 'I', 'D', 'A', 'T' };
        FCrc = update_crc(0xFFFFFFFFu, reinterpret_cast<const uint8_t*>(idat.data()), 4);
        int status = inflateInit(&FZlib);
        if (status != Z_OK)
            RaiseError<EPNGZLIBError>(ZLibErrorText(status));
        FZlibOpen = true;
    }
    ~TIDATDecoder()
    {
        if (FZlibOpen)
            inflateEnd(&FZlib);
    }

    void Decode();

private:
    uint32_t IDATZlibRead(uint8_t* buffer, uint32_t count);
    void NextChunk();
    // Reads count bytes of chunk data into the input block and the running CRC; returns how many arrived.
    uint32_t ReadData(uint8_t* buffer, uint32_t count);
    void CheckCRC();
    void FilterRow(uint8_t* row, const uint8_t* previous, uint32_t rowSize);
    // Marks the row's pixels that hold exactly the transparent samples in the key plane.
    void MarkKey(uint32_t y, const uint8_t* samples, uint32_t count, uint32_t start, uint32_t step);
    void DecodeNonInterlaced(TCopyProc copier);
    void DecodeInterlacedAdam7(TCopyProc copier);
    TRowTarget Target(uint32_t y) const;

    TStream& FStream;
    TChunkIHDR& FHeader;
    TPNGObject& FOwner;
    z_stream FZlib {};
    bool FZlibOpen = false;
    uint32_t FChunkLeft;
    uint32_t FCrc;
    uint8_t FInput[65535];
    std::vector<uint8_t> FRows[2];
    int FCurrent = 1;
    uint32_t FOffset = 0;
    // The transparent samples of an RGB picture as its rows hold them, when the store keeps a key plane.
    uint8_t FKey[6] = {};
};

uint32_t TIDATDecoder::ReadData(uint8_t* buffer, uint32_t count)
{
    int32_t got = FStream.Read(buffer, int32_t(count));
    if (got <= 0)
        return 0;
    FCrc = update_crc(FCrc, buffer, size_t(got));
    FChunkLeft -= uint32_t(got);
    return uint32_t(got);
}

void TIDATDecoder::CheckCRC()
{
    uint8_t stored[4];
    ReadChunkBytes(FStream, stored, 4);
    if (ReadBigEndian32(stored) != ~FCrc)
        RaiseError<EPngInvalidCRC>(EPngInvalidCRCText);
}

void TIDATDecoder::NextChunk()
{
    CheckCRC();
    uint8_t frame[8];
    ReadChunkBytes(FStream, frame, 8);
    TChunkName name;
    std::memcpy(name.data(), frame + 4, 4);
    if (name != TChunkName { 'I', 'D', 'A', 'T' })
        RaiseError<EPNGMissingMultipleIDAT>(EPNGMissingMultipleIDATText);
    uint32_t length = ReadBigEndian32(frame);
    if (length > 0x7FFFFFFFu)
        RaiseError<EPngUnexpectedEnd>(EPNGUnexpectedEndText);
    FCrc = update_crc(0xFFFFFFFFu, frame + 4, 4);
    FChunkLeft = length;
}

uint32_t TIDATDecoder::IDATZlibRead(uint8_t* buffer, uint32_t count)
{
    FZlib.next_out = buffer;
    FZlib.avail_out = count;
    while (FZlib.avail_out > 0) {
        if (FZlib.avail_in == 0 && FChunkLeft == 0)
            NextChunk();
        if (FZlib.avail_in == 0) {
            uint32_t got = ReadData(FInput, std::min<uint32_t>(FChunkLeft, sizeof FInput));
            if (got == 0 && FChunkLeft > 0)
                return count - FZlib.avail_out;
            FZlib.next_in = FInput;
            FZlib.avail_in = got;
            if (got == 0)
                continue;
        }
        int status = inflate(&FZlib, Z_NO_FLUSH);
        // Anything but progress is refused: an error, a stream that asks for a preset dictionary, or a stream that
        // ends while rows are still expected would otherwise have inflate called again and again for nothing.
        if (status != Z_OK && !(status == Z_STREAM_END && FZlib.avail_out == 0))
            RaiseError<EPNGZLIBError>(ZLibErrorText(status));
    }
    return count;
}

void TIDATDecoder::FilterRow(uint8_t* row, const uint8_t* previous, uint32_t rowSize)
{
    TChunkIDAT::FilterRow(row[0], row + 1, previous + 1, rowSize, FOffset);
}

TRowTarget TIDATDecoder::Target(uint32_t y) const
{
    TRowTarget t {};
    t.Pixels = FHeader.ScanLine(y);
    t.Extra = FHeader.ExtraImageData ? FHeader.ExtraScanLine(y) : nullptr;
    t.Alpha = FHeader.AlphaScanLine(y);
    t.Gamma = FOwner.GammaTable;
    t.BitDepth = FHeader.IHDRData.BitDepth;
    return t;
}

void TIDATDecoder::DecodeNonInterlaced(TCopyProc copier)
{
    const TIHDRData& ihdr = FHeader.IHDRData;
    uint32_t rowSize = PngRowSize(ihdr.ColorType, ihdr.BitDepth, ihdr.Width);
    for (uint32_t y = 0; y < ihdr.Height; ++y) {
        uint8_t* row = FRows[FCurrent].data();
        // A stream that ends inside the data ends the decoding; the rows not read stay zero.
        if (IDATZlibRead(row, rowSize + 1) < rowSize + 1)
            return;
        FilterRow(row, FRows[1 - FCurrent].data(), rowSize);
        TRowTarget t = Target(y);
        t.Count = ihdr.Width;
        t.Start = 0;
        t.Step = 1;
        t.FileBytes = rowSize;
        copier(t, row + 1);
        if (FHeader.ImageKey)
            MarkKey(y, row + 1, ihdr.Width, 0, 1);
        FCurrent = 1 - FCurrent;
    }
}

void TIDATDecoder::MarkKey(uint32_t y, const uint8_t* samples, uint32_t count, uint32_t start, uint32_t step)
{
    uint8_t* key = FHeader.KeyScanLine(y);
    for (uint32_t k = 0; k < count; ++k)
        key[start + k * step] = std::memcmp(samples + size_t(k) * FOffset, FKey, FOffset) == 0;
}

void TIDATDecoder::DecodeInterlacedAdam7(TCopyProc copier)
{
    const TIHDRData& ihdr = FHeader.IHDRData;
    for (const TAdam7Pass& pass : Adam7Passes) {
        uint32_t passWidth
            = uint32_t((uint64_t(ihdr.Width) + pass.ColumnIncrement - 1 - pass.ColumnStart) / pass.ColumnIncrement);
        if (ihdr.Width <= pass.ColumnStart)
            passWidth = 0;
        uint32_t rowSize = PngRowSize(ihdr.ColorType, ihdr.BitDepth, passWidth);
        std::fill(FRows[1 - FCurrent].begin(), FRows[1 - FCurrent].end(), 0);
        if (rowSize == 0)
            continue;
        for (uint32_t y = pass.RowStart; y < ihdr.Height; y += pass.RowIncrement) {
            uint8_t* row = FRows[FCurrent].data();
            if (IDATZlibRead(row, rowSize + 1) < rowSize + 1)
                return;
            FilterRow(row, FRows[1 - FCurrent].data(), rowSize);
            TRowTarget t = Target(y);
            t.Count = passWidth;
            t.Start = pass.ColumnStart;
            t.Step = pass.ColumnIncrement;
            t.FileBytes = rowSize;
            copier(t, row + 1);
            if (FHeader.ImageKey)
                MarkKey(y, row + 1, passWidth, pass.ColumnStart, pass.ColumnIncrement);
            FCurrent = 1 - FCurrent;
        }
    }
}

void TIDATDecoder::Decode()
{
    const TIHDRData& ihdr = FHeader.IHDRData;
    uint32_t rowSize = PngRowSize(ihdr.ColorType, ihdr.BitDepth, ihdr.Width);
    FOffset = PngPixelOffset(ihdr.ColorType, ihdr.BitDepth);
    FRows[0].assign(size_t(rowSize) + 1, 0);
    FRows[1].assign(size_t(rowSize) + 1, 0);
    FCurrent = 1;
    // An RGB picture's transparent colour is matched on the samples the file stores, before the gamma table
    // (which may show two levels alike) changes them on their way into the rows.
    FHeader.SetKeyPlane(nullptr);
    const TChunktRNS* trns = FOwner.Chunks().Find<TChunktRNS>();
    if (ihdr.ColorType == COLOR_RGB && trns && TChunkIHDR::RGBKeySamples(*trns, ihdr.BitDepth, FKey))
        FHeader.SetKeyPlane(AllocatePngBuffer(size_t(ihdr.Width) * ihdr.Height));
    bool interlaced = FOwner.InterlaceMethod() == imAdam7;
    TCopyProc copier = ChooseCopier(ihdr.ColorType, ihdr.BitDepth, interlaced);
    if (!copier)
        RaiseError<EPngInvalidIHDR>(EPNGInvalidIHDRText);
    if (interlaced)
        DecodeInterlacedAdam7(copier);
    else
        DecodeNonInterlaced(copier);

    // The rows may end before the chunk does (the zlib trailer, or padding, in a later block): the rest of the
    // chunk's data still belongs to its CRC.
    while (FChunkLeft > 0) {
        if (ReadData(FInput, std::min<uint32_t>(FChunkLeft, sizeof FInput)) == 0)
            RaiseError<EPngUnexpectedEnd>(EPNGUnexpectedEndText);
    }
    CheckCRC();
}

} // namespace

void TChunkIDAT::FilterRow(uint8_t filter, uint8_t* row, const uint8_t* previous, uint32_t rowSize, uint32_t offset)
{
    switch (offset) {
    case 1:
        return UnfilterRow<1>(filter, row, previous, rowSize);
    case 2:
        return UnfilterRow<2>(filter, row, previous, rowSize);
    case 3:
        return UnfilterRow<3>(filter, row, previous, rowSize);
    case 4:
        return UnfilterRow<4>(filter, row, previous, rowSize);
    case 6:
        return UnfilterRow<6>(filter, row, previous, rowSize);
    case 8:
        return UnfilterRow<8>(filter, row, previous, rowSize);
    default:
        return;
    }
}

bool TChunkIDAT::LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size)
{
    Name = chunkName;
    TChunkIHDR* header = GetHeader();
    const TIHDRData& ihdr = header->IHDRData;
    if (ihdr.ColorType == COLOR_PALETTE && !FOwner->Chunks().Find<TChunkPLTE>())
        RaiseError<EPNGMissingPalette>(EPNGMissingPaletteText);
    if (header->HasPalette && (ihdr.ColorType == COLOR_GRAYSCALE || ihdr.ColorType == COLOR_GRAYSCALEALPHA))
        FOwner->SetPalette(CreateGrayscalePalette(header->StoreBitsPerPixel(), FOwner->GammaTable));
    // The decoder holds a 64 KiB input block, so it lives on the heap.
    auto decoder = std::make_unique<TIDATDecoder>(stream, *header, *FOwner, size);
    decoder->Decode();
    return true;
}

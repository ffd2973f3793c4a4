#include "imaging/PngImageData.h"

#include "framework/core/Numbers.h"
#include "framework/core/Streams.h"
#include "imaging/PngMessages.h"
#include "imaging/TPNGObject.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <cstring>

const TAdam7Pass Adam7Passes[7] = {
    { 0, 0, 8, 8 },
    { 0, 4, 8, 8 },
    { 4, 0, 8, 4 },
    { 0, 2, 4, 4 },
    { 2, 0, 4, 2 },
    { 0, 1, 2, 2 },
    { 1, 0, 2, 1 },
};

namespace {

template <class T> TChunk* CreateChunk(TPNGObject* owner)
{
    T* chunk = new T(owner);
    std::string name = TChunk::GetName(&T::ClassInfo);
    std::memcpy(chunk->Name.data(), name.data(), 4);
    return chunk;
}

// The palette a new palette picture starts with: the 6 x 6 x 6 colour cube in steps of 51, then a grey ramp.
TPngPalette HalftonePalette()
{
    TPngPalette palette(256);
    for (int i = 0; i < 216; ++i) {
        palette[i].peRed = uint8_t(i / 36 * 51);
        palette[i].peGreen = uint8_t(i / 6 % 6 * 51);
        palette[i].peBlue = uint8_t(i % 6 * 51);
    }
    for (int i = 216; i < 256; ++i) {
        auto level = uint8_t((i - 216) * 255 / 39);
        palette[i].peRed = palette[i].peGreen = palette[i].peBlue = level;
    }
    return palette;
}

// The colour types and bit depths the PNG format allows.
bool ValidColorTypeAndDepth(uint8_t colorType, uint8_t bitDepth)
{
    switch (colorType) {
    case COLOR_GRAYSCALE:
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case COLOR_PALETTE:
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
    case COLOR_RGB:
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
        return bitDepth == 8 || bitDepth == 16;
    default:
        return false;
    }
}

} // namespace

const TChunkClassInfo TChunkIHDR::ClassInfo { "TChunkIHDR", &TChunk::ClassInfo, &CreateChunk<TChunkIHDR> };
const TChunkClassInfo TChunkIDAT::ClassInfo { "TChunkIDAT", &TChunk::ClassInfo, &CreateChunk<TChunkIDAT> };

TPngBuffer AllocatePngBuffer(size_t size)
{
    auto* block = static_cast<uint8_t*>(std::calloc(size ? size : 1, 1));
    if (!block)
        RaiseError<EPNGOutMemory>(EPNGOutMemoryText);
    return TPngBuffer(block);
}

static_assert(sizeof(TPngBitmapInfoHeader) == sizeof(BITMAPINFOHEADER));
static_assert(sizeof(TPngRGBQuad) == sizeof(RGBQUAD));

TPngStoreSurface CreatePngStoreSurface(const TMAXBITMAPINFO& info)
{
    TPngStoreSurface surface;
    void* bits = nullptr;
    surface.Dib = CreateDIBSection(
        nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    if (surface.Dib)
        surface.DC = CreateCompatibleDC(nullptr);
    if (!surface.Dib || !surface.DC || !bits) {
        FreePngStoreSurface(surface);
        RaiseError<EPNGOutMemory>(EPNGOutMemoryText);
    }
    SelectObject(surface.DC, surface.Dib);
    surface.Bits = static_cast<uint8_t*>(bits);
    return surface;
}

void FreePngStoreSurface(TPngStoreSurface& surface)
{
    if (surface.DC)
        DeleteDC(surface.DC);
    if (surface.Dib)
        DeleteObject(surface.Dib);
    surface = TPngStoreSurface {};
}

TPngPalette CreateGrayscalePalette(int bitDepth, const uint8_t* gammaTable)
{
    if (bitDepth == 16)
        bitDepth = 8;
    int count = 1 << bitDepth;
    TPngPalette palette(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        uint8_t level = gammaTable[MulDiv(i, 255, count - 1)];
        palette[i].peRed = palette[i].peGreen = palette[i].peBlue = level;
    }
    return palette;
}

uint32_t PngRowSize(uint8_t colorType, uint8_t bitDepth, uint32_t width)
{
    uint64_t bits = uint64_t(width) * bitDepth;
    switch (colorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE:
        return uint32_t((bits + 7) / 8);
    case COLOR_RGB:
        return uint32_t(bits * 3 / 8);
    case COLOR_GRAYSCALEALPHA:
        return uint32_t(bits * 2 / 8);
    case COLOR_RGBALPHA:
        return uint32_t(bits * 4 / 8);
    default:
        return 0;
    }
}

uint32_t PngPixelOffset(uint8_t colorType, uint8_t bitDepth)
{
    switch (colorType) {
    case COLOR_GRAYSCALE:
        return bitDepth == 16 ? 2 : 1;
    case COLOR_PALETTE:
        return 1;
    case COLOR_RGB:
        return bitDepth * 3u / 8;
    case COLOR_GRAYSCALEALPHA:
        return bitDepth / 4u;
    case COLOR_RGBALPHA:
        return bitDepth / 2u;
    default:
        return 0;
    }
}

// ---------------------------------------------------------------------------------------------------------------
// TChunkIHDR

TChunkIHDR::TChunkIHDR(TPNGObject* owner)
    : TChunk(owner)
{
}

TChunkIHDR::~TChunkIHDR()
{
    FreeImageData();
}

int TChunkIHDR::StoreBitsPerPixel() const
{
    switch (IHDRData.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE:
        if (IHDRData.BitDepth == 2)
            return 4;
        return IHDRData.BitDepth == 16 ? 8 : IHDRData.BitDepth;
    case COLOR_GRAYSCALEALPHA:
        return 8;
    default:
        return 24;
    }
}

void TChunkIHDR::FreeImageData()
{
    if (FImageSurface.DC && FOwner)
        FOwner->StoreChanged(nullptr);
    FreePngStoreSurface(FImageSurface);
    FAlphaBits.reset();
    FExtraBits.reset();
    SetKeyPlane(nullptr);
    ImagePalette.clear();
    ImageData = nullptr;
    ImageAlpha = nullptr;
    ExtraImageData = nullptr;
}

void TChunkIHDR::PrepareImageData()
{
    BitmapInfo = TMAXBITMAPINFO {};
    FreeImageData();

    uint8_t colorType = IHDRData.ColorType;
    int bits = StoreBitsPerPixel();
    HasPalette = colorType == COLOR_GRAYSCALE || colorType == COLOR_PALETTE || colorType == COLOR_GRAYSCALEALPHA;
    TPngBitmapInfoHeader& info = BitmapInfo.bmiHeader;
    info.biSize = 40;
    info.biWidth = int32_t(IHDRData.Width);
    info.biHeight = int32_t(IHDRData.Height);
    info.biPlanes = 1;
    info.biBitCount = uint16_t(bits);
    info.biCompression = 0;
    // Sizes are worked out in 64 bits: 65535 x 65535 pixels of 24 bits are far beyond 32-bit arithmetic.
    BytesPerRow = uint32_t((uint64_t(bits) * IHDRData.Width + 31) / 32 * 4);
    size_t pixels = size_t(IHDRData.Width) * IHDRData.Height;
    size_t rows = size_t(BytesPerRow) * IHDRData.Height;

    if (colorType == COLOR_GRAYSCALEALPHA || colorType == COLOR_RGBALPHA) {
        FAlphaBits = AllocatePngBuffer(pixels);
        ImageAlpha = FAlphaBits.get();
    }
    if (IHDRData.BitDepth == 16) {
        FExtraBits = AllocatePngBuffer(rows);
        ExtraImageData = FExtraBits.get();
    }
    if (HasPalette) {
        TPngPalette palette
            = colorType == COLOR_PALETTE ? HalftonePalette() : CreateGrayscalePalette(bits, FOwner->GammaTable);
        palette.resize(size_t(1) << bits);
        ImagePalette = palette;
        PaletteToDIB(ImagePalette);
    }
    (void)rows;
    FImageSurface = CreatePngStoreSurface(BitmapInfo);
    ImageData = FImageSurface.Bits;
    if (FOwner && FOwner->HeaderPresent() && FOwner->Header() == this)
        FOwner->StoreChanged(FImageSurface.DC);
}

void TChunkIHDR::PaletteToDIB(const TPngPalette& palette)
{
    size_t count = palette.size() < 256 ? palette.size() : 256;
    BitmapInfo.bmiHeader.biClrUsed = uint32_t(count);
    for (size_t i = 0; i < count; ++i) {
        BitmapInfo.bmiColors[i].rgbRed = palette[i].peRed;
        BitmapInfo.bmiColors[i].rgbGreen = palette[i].peGreen;
        BitmapInfo.bmiColors[i].rgbBlue = palette[i].peBlue;
    }
    // The rows' own colour table follows, so what the canvas draws and reads matches the store.
    if (FImageSurface.DC && count > 0)
        SetDIBColorTable(
            FImageSurface.DC, 0, UINT(count), reinterpret_cast<const RGBQUAD*>(BitmapInfo.bmiColors));
}

void TChunkIHDR::AdoptStore(TPngStoreSurface rows, TPngBuffer alpha, TPngBuffer extra, uint32_t width,
    uint32_t height, uint32_t bytesPerRow)
{
    if (FImageSurface.DC && FOwner)
        FOwner->StoreChanged(nullptr);
    FreePngStoreSurface(FImageSurface);
    FImageSurface = rows;
    if (FOwner)
        FOwner->StoreChanged(FImageSurface.DC);
    FAlphaBits = std::move(alpha);
    FExtraBits = std::move(extra);
    SetKeyPlane(nullptr);
    ImageData = FImageSurface.Bits;
    ImageAlpha = FAlphaBits.get();
    ExtraImageData = FExtraBits.get();
    IHDRData.Width = width;
    IHDRData.Height = height;
    BytesPerRow = bytesPerRow;
    BitmapInfo.bmiHeader.biWidth = int32_t(width);
    BitmapInfo.bmiHeader.biHeight = int32_t(height);
}

void TChunkIHDR::SetAlphaPlane(TPngBuffer alpha)
{
    FAlphaBits = std::move(alpha);
    ImageAlpha = FAlphaBits.get();
}

void TChunkIHDR::SetKeyPlane(TPngBuffer key)
{
    FKeyBits = std::move(key);
    ImageKey = FKeyBits.get();
}

bool TChunkIHDR::RGBKeySamples(const TChunktRNS& trns, uint8_t bitDepth, uint8_t samples[6])
{
    // The chunk holds red, green and blue as 16-bit values whatever the depth.
    const uint8_t* v = trns.PaletteValues;
    if (bitDepth == 16) {
        std::memcpy(samples, v, 6);
        return true;
    }
    for (int c = 0; c < 3; ++c) {
        if (v[2 * c] != 0)
            return false;
        samples[c] = v[2 * c + 1];
    }
    return true;
}

void TChunkIHDR::Assign(TChunk* source)
{
    if (source->ClassType() != &TChunkIHDR::ClassInfo)
        RaiseError<EPngError>(EPNGCannotAssignChunkText);
    auto* other = static_cast<TChunkIHDR*>(source);
    Name = other->Name;
    IHDRData = other->IHDRData;
    PrepareImageData();
    size_t rows = size_t(BytesPerRow) * IHDRData.Height;
    if (other->ImageData)
        std::memcpy(ImageData, other->ImageData, rows);
    if (ImageAlpha && other->ImageAlpha)
        std::memcpy(ImageAlpha, other->ImageAlpha, size_t(IHDRData.Width) * IHDRData.Height);
    // The low bytes of 16-bit samples are copied as well, so that a copy saves the same samples as its source.
    if (ExtraImageData && other->ExtraImageData)
        std::memcpy(ExtraImageData, other->ExtraImageData, rows);
    if (other->ImageKey) {
        SetKeyPlane(AllocatePngBuffer(size_t(IHDRData.Width) * IHDRData.Height));
        std::memcpy(ImageKey, other->ImageKey, size_t(IHDRData.Width) * IHDRData.Height);
    }
    std::memcpy(BitmapInfo.bmiColors, other->BitmapInfo.bmiColors, sizeof BitmapInfo.bmiColors);
    BitmapInfo.bmiHeader.biClrUsed = other->BitmapInfo.bmiHeader.biClrUsed;
    if (HasPalette)
        ImagePalette = other->ImagePalette;
}

namespace {

constexpr uint64_t kMaxDeflateRatio = 1032;
// The zlib header and a last block's few bytes, which the ratio does not cover.
constexpr uint64_t kDeflateSlack = 4096;

} // namespace

bool TChunkIHDR::LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size)
{
    bool result = inherited::LoadFromStream(stream, chunkName, size);
    if (FDataSize < 13)
        RaiseError<EPngInvalidIHDR>(EPNGInvalidIHDRText);
    IHDRData.Width = ReadBigEndian32(FData.data());
    IHDRData.Height = ReadBigEndian32(FData.data() + 4);
    IHDRData.BitDepth = FData[8];
    IHDRData.ColorType = FData[9];
    IHDRData.CompressionMethod = FData[10];
    IHDRData.FilterMethod = FData[11];
    IHDRData.InterlaceMethod = FData[12];
    if (IHDRData.Width > 65535 || IHDRData.Height > 65535)
        RaiseError<EPNGSizeExceeds>(EPNGSizeExceedsText);
    if (IHDRData.CompressionMethod != 0)
        RaiseError<EPNGUnknownCompression>(EPNGUnknownCompressionText);
    if (IHDRData.InterlaceMethod != imNone && IHDRData.InterlaceMethod != imAdam7)
        RaiseError<EPNGUnknownInterlace>(EPNGUnknownInterlaceText);
    // The store and the row copiers exist only for the combinations the format allows, and an empty image has no
    // rows to decode: anything else is a corrupt header.
    if (IHDRData.Width == 0 || IHDRData.Height == 0 || !ValidColorTypeAndDepth(IHDRData.ColorType, IHDRData.BitDepth))
        RaiseError<EPngInvalidIHDR>(EPNGInvalidIHDRText);
    FOwner->SetInterlaceMethod(TInterlaceMethod(IHDRData.InterlaceMethod));
    // Deflate makes at most 1032 bytes of 2 bits (a 258-byte match in two one-bit codes). A file whose remaining
    // bytes could not inflate to the rows it declares is no truncated picture worth showing in part: it is refused
    // before a store of that size is allocated and cleared.
    const uint64_t rows = uint64_t(IHDRData.Height)
        * (uint64_t(PngRowSize(IHDRData.ColorType, IHDRData.BitDepth, IHDRData.Width)) + 1);
    const int64_t remaining = std::max<int64_t>(0, stream.Size() - stream.Position());
    if (rows > kMaxDeflateRatio * uint64_t(remaining) + kDeflateSlack)
        RaiseError<EPngUnexpectedEnd>(EPNGUnexpectedEndText);
    PrepareImageData();
    return result;
}

bool TChunkIHDR::SaveToStream(TStream& stream)
{
    if (IHDRData.BitDepth == 2) {
        // The store holds a 2-bit grey level v as the 4-bit level 5 x v, and the file now says 4 bits: a
        // transparent grey must name that level too, or its pixels would turn opaque.
        if (IHDRData.ColorType == COLOR_GRAYSCALE) {
            if (auto* trns = FOwner->Chunks().Find<TChunktRNS>()) {
                trns->PaletteValues[1] = uint8_t((trns->PaletteValues[1] & 3) * 5);
                trns->PaletteValues[0] = 0;
            }
        }
        IHDRData.BitDepth = 4;
    }
    ResizeData(13);
    WriteBigEndian32(FData.data(), IHDRData.Width);
    WriteBigEndian32(FData.data() + 4, IHDRData.Height);
    FData[8] = IHDRData.BitDepth;
    FData[9] = IHDRData.ColorType;
    FData[10] = IHDRData.CompressionMethod;
    FData[11] = IHDRData.FilterMethod;
    FData[12] = uint8_t(FOwner->InterlaceMethod());
    return SaveData(stream);
}

// The PNG image store and the two chunks that own and fill it: the header (IHDR) and the image data (IDAT).
#pragma once
#include "imaging/PngChunks.h"
#include "platform/gdi/GdiTypes.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

// A zeroed heap block; freed with free(), since calloc leaves untouched pages of a big store unallocated.
struct TPngFreeDeleter {
    void operator()(uint8_t* p) const { std::free(p); }
};
using TPngBuffer = std::unique_ptr<uint8_t, TPngFreeDeleter>;
// A zeroed block of `size` bytes; raises EPNGOutMemory when it cannot be had.
TPngBuffer AllocatePngBuffer(size_t size);

// The store's pixel rows: a bottom-up DIB section of the store's format selected into a memory DC, so a canvas on
// the DC paints straight into the rows.
struct TPngStoreSurface {
    HBITMAP Dib = nullptr;
    HDC DC = nullptr;
    uint8_t* Bits = nullptr;
};
// Raises EPNGOutMemory when the rows cannot be had.
TPngStoreSurface CreatePngStoreSurface(const TMAXBITMAPINFO& info);
void FreePngStoreSurface(TPngStoreSurface& surface);

// The Paeth filter's choice among the left (a), upper (b) and upper-left (c) bytes; inline, as the row filters
// call it once a byte.
inline uint8_t PaethPredictor(int a, int b, int c)
{
    int p = b - c;
    int q = a - c;
    int pa = p < 0 ? -p : p;
    int pb = q < 0 ? -q : q;
    int pc = p + q < 0 ? -(p + q) : p + q;
    if (pa <= pb && pa <= pc)
        return uint8_t(a);
    return uint8_t(pb <= pc ? b : c);
}

// The grey ramp of a bit depth: 2^depth entries (16 counts as 8), entry i the level gamma[MulDiv(i, 255, n - 1)].
TPngPalette CreateGrayscalePalette(int bitDepth, const uint8_t* gammaTable);

// The header chunk. It owns the image store: bottom-up pixel rows padded to 4 bytes, the colour table and palette
// of the grey and palette types, a top-down alpha plane for the types with alpha and a low-byte plane at depth 16.
class TChunkIHDR final : public TChunk {
    using inherited = TChunk;

public:
    static const TChunkClassInfo ClassInfo;
    explicit TChunkIHDR(TPNGObject* owner);
    ~TChunkIHDR() override;
    TChunkClass ClassType() const override { return &ClassInfo; }

    // Copies header and store (pixels, alpha, low bytes, colours); the source must be a header (else EPngError).
    void Assign(TChunk* source) override;
    // Checks the header values and prepares an empty store: EPngInvalidIHDR, EPNGSizeExceeds,
    // EPNGUnknownCompression, EPNGUnknownInterlace.
    bool LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size) override;
    // A bit depth of 2 is written, and from then on held, as 4: the store keeps such images with 4 bits.
    bool SaveToStream(TStream& stream) override;

    // (Re)creates the store from the header fields; the new rows are zero. Raises EPNGOutMemory.
    void PrepareImageData();
    void FreeImageData();
    // Copies a palette's colours into the colour table and sets the colour count.
    void PaletteToDIB(const TPngPalette& palette);

    // Bits per pixel of the store for the header's colour type and depth.
    int StoreBitsPerPixel() const;
    // Row y counted from the top, in the pixel rows and in the low-byte plane.
    uint8_t* ScanLine(uint32_t y) const { return ImageData + size_t(BytesPerRow) * (IHDRData.Height - 1 - y); }
    uint8_t* ExtraScanLine(uint32_t y) const
    {
        return ExtraImageData + size_t(BytesPerRow) * (IHDRData.Height - 1 - y);
    }
    // Row y of the alpha plane, nil without one.
    uint8_t* AlphaScanLine(uint32_t y) const { return ImageAlpha ? ImageAlpha + size_t(IHDRData.Width) * y : nullptr; }
    // Replaces the pixel rows and planes with ones of another size (TPNGObject::Resize); the store takes `rows`.
    void AdoptStore(TPngStoreSurface rows, TPngBuffer alpha, TPngBuffer extra, uint32_t width, uint32_t height,
        uint32_t bytesPerRow);
    // The memory DC with the pixel rows selected; null without a store.
    HDC StoreDC() const { return FImageSurface.DC; }
    // Frees the alpha plane (RemoveTransparency) or gives the store a new one (CreateAlpha).
    void SetAlphaPlane(TPngBuffer alpha);
    // The key plane of an RGB picture with a transparent colour: one byte a pixel, top-down, nonzero where the
    // file stored exactly the transparent samples. The rows hold samples through the gamma table, which may show
    // two levels alike; the plane keeps which pixels the file keyed. Null when there is none: a change of the key
    // or of the pixels drops it, and the key is then compared with the rows.
    uint8_t* KeyScanLine(uint32_t y) const { return ImageKey ? ImageKey + size_t(IHDRData.Width) * y : nullptr; }
    void SetKeyPlane(TPngBuffer key);
    // The transparent colour's samples as an RGB row of the file holds them (3 bytes at depth 8, 6 at depth 16);
    // false when no sample of that depth can hold them.
    static bool RGBKeySamples(const TChunktRNS& trns, uint8_t bitDepth, uint8_t samples[6]);

    // The store, under the names the codec uses.
    bool HasPalette = false;
    TMAXBITMAPINFO BitmapInfo {};
    TPngPalette ImagePalette;
    uint8_t* ExtraImageData = nullptr;
    uint8_t* ImageData = nullptr;
    uint8_t* ImageAlpha = nullptr;
    uint8_t* ImageKey = nullptr;
    TIHDRData IHDRData;
    uint32_t BytesPerRow = 0;

private:
    TPngStoreSurface FImageSurface;
    TPngBuffer FAlphaBits;
    TPngBuffer FExtraBits;
    TPngBuffer FKeyBits;
};

struct TIDATWork;

// The image data. Loading inflates every IDAT chunk of the first run straight into the header's store; saving
// writes the store as one or more IDAT chunks. Nothing is kept in the chunk between the two.
class TChunkIDAT final : public TChunk {
    using inherited = TChunk;

public:
    static const TChunkClassInfo ClassInfo;
    using TChunk::TChunk;
    TChunkClass ClassType() const override { return &ClassInfo; }

    // EPngInvalidCRC, EPNGMissingMultipleIDAT, EPNGZLIBError, EPNGMissingPalette; a stream that ends inside the
    // data leaves the remaining rows zero.
    bool LoadFromStream(TStream& stream, const TChunkName& chunkName, uint32_t size) override;
    // Raises EPNGZLIBError when zlib refuses to compress.
    bool SaveToStream(TStream& stream) override;

    // The filter type the encoder writes for row `raw` after `previous` (both rowSize bytes); `outputs` receives
    // each candidate's filtered row (index by TFilter) and `previous` becomes `raw`.
    static TFilter FilterToEncode(TFilters filters, uint8_t* raw, uint8_t* previous, uint8_t* const outputs[5],
        uint32_t rowSize, uint32_t offset);
    // Undoes a row filter in place; `previous` is the row above (zero for the first), offset the bytes per pixel.
    static void FilterRow(uint8_t filter, uint8_t* row, const uint8_t* previous, uint32_t rowSize, uint32_t offset);
};

// The Adam7 passes: start row, start column, row step and column step.
struct TAdam7Pass {
    uint32_t RowStart, ColumnStart, RowIncrement, ColumnIncrement;
};
extern const TAdam7Pass Adam7Passes[7];

// Bytes of a row of `width` pixels in the file, and the filters' distance to the byte of the pixel on the left.
uint32_t PngRowSize(uint8_t colorType, uint8_t bitDepth, uint32_t width);
uint32_t PngPixelOffset(uint8_t colorType, uint8_t bitDepth);

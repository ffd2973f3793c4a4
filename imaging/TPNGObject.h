// TPNGObject, the PNG picture: a chunk list whose header holds the image store, with load, save, pixels and drawing.
#pragma once
#include "framework/graphics/TGraphic.h"
#include "imaging/Img32Types.h"
#include "imaging/PngImageData.h"

#include <cstdint>
#include <memory>
#include <string>

class TStream;
class TBitmap;
class TBitmap32;
class TCanvas;

// The PNG picture. Its file is an ordered list of chunk objects; the first is always the header, whose store holds
// the pixels. RegisterPNGFormat makes TPicture load ".png" files as this class.
//
// The store's pixel rows are a DIB section in a memory DC, and Canvas draws on that DC.
//
// FIXME: the store keeps its palette as a TPngPalette rather than an HPALETTE, so GetPalette gives a palette made
// from the store's on each call; the resource loaders are not there yet.
class TPNGObject : public TGraphic {
    using inherited = TGraphic;

public:
    // An empty picture with the default settings.
    TPNGObject();
    // A blank picture: every pixel zero (alpha fully transparent). Raises EPNGInvalidSpec for a colour type and bit
    // depth the PNG format does not allow; a bit depth of 2 becomes 4.
    TPNGObject(uint32_t colorType, uint32_t bitDepth, int32_t width, int32_t height);
    ~TPNGObject() override;

    // Settings, used when the picture is saved. Loading replaces the interlace method by the file's.
    TFilters Filters() const { return FFilters; }
    void SetFilters(TFilters value) { FFilters = value; }
    TCompressionLevel CompressionLevel() const { return FCompressionLevel; }
    void SetCompressionLevel(TCompressionLevel value) { FCompressionLevel = value > 9 ? 9 : value; }
    TInterlaceMethod InterlaceMethod() const { return FInterlaceMethod; }
    void SetInterlaceMethod(TInterlaceMethod value) { FInterlaceMethod = value; }
    int32_t MaxIdatSize() const { return FMaxIdatSize; }
    // Values below 65535 become 65535.
    void SetMaxIdatSize(int32_t value);

    // The chunks in file order.
    TPNGList& Chunks() const { return *FChunkList; }
    // The list holds a header as its first chunk.
    bool HeaderPresent() const;
    // Raises EPNGHeaderNotPresent without a header.
    TChunkIHDR* Header() const;
    static std::string GetLibraryVersion() { return LibraryVersion; }

    std::unique_ptr<TGraphic> CreateNew() const override;

    // The graphic's properties.
    bool GetEmpty() const override;
    int32_t GetWidth() const override;
    int32_t GetHeight() const override;
    void SetWidth(int32_t value) override;
    void SetHeight(int32_t value) override;
    // Row size of the full width and pixel offset; both 0 without a header.
    void GetPixelInfo(uint32_t& lineSize, uint32_t& offset) const;

    // The file (LoadFromFile and SaveToFile are TGraphic's). A failed load raises and keeps the chunks read so far.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;

    // Copies: nil empties the picture, another TPNGObject is copied with AssignPNG, a TBitmap is taken with
    // AssignHandle of its handle, transparency and transparent colour.
    void Assign(TPersistent* source) override;
    // Settings and chunks of the source; the gamma tables start again from the identity.
    void AssignPNG(TPNGObject* source);
    // A bitmap of 1, 4 or 8 bits per pixel becomes a palette picture of that depth, a deeper one an 8-bit RGB
    // picture. With transparent, a tRNS chunk keys transparentColor (0x00BBGGRR). The settings stay. Raises
    // EInvalidGraphic for a handle that is no bitmap, and the picture keeps its chunks then.
    void AssignHandle(HBITMAP handle, bool transparent, uint32_t transparentColor);

    // The clipboard's bitmap form: the picture drawn on a framework bitmap, whose saved bytes become a memory
    // block under the bitmap's clipboard format; no palette. Loading takes such a block back through a framework
    // bitmap (AssignHandle, without transparency). The clipboard itself carries the PNG file under its own format
    // (RegisterPNGFormat), so a copied picture comes back unchanged.
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette);
    // A canvas over the store's pixel rows (on its DC): drawing on it paints into the picture. Without a store its
    // handle is null. The picture owns it; its handle follows every new store (load, assignment, resize).
    TCanvas* Canvas();
    // The header's store was made, replaced or freed: the canvas follows.
    void StoreChanged(HDC dc);
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);

    // Pixels as 0x00BBGGRR, the colours Draw shows (the file's gamma applied once); reads outside the image give 0
    // and writes outside do nothing.
    TColor GetPixels(int32_t x, int32_t y) const;
    void SetPixels(int32_t x, int32_t y, TColor color);
    // Row y from the top in the pixel rows, the low-byte plane and the alpha plane (nil without one). Not checked.
    uint8_t* GetScanline(int32_t y) const;
    uint8_t* GetExtraScanline(int32_t y) const;
    uint8_t* GetAlphaScanline(int32_t y) const;
    // Keeps the top-left part; new alpha is 255. Raises EPNGInvalidNewSize for a side below 1 or above 65535.
    void Resize(int32_t cx, int32_t cy);

    // Text and pixel-size metadata.
    void AddtEXt(const std::string& keyword, const std::string& text);
    void AddzTXt(const std::string& keyword, const std::string& text);
    bool HasPixelInformation() const;
    // The pHYs chunk, added (unit utMeter) when there is none.
    TChunkpHYs* GetPixelInformation();

    // The store's palette; empty for the RGB types.
    const TPngPalette& PngPalette() const;
    virtual void SetPalette(const TPngPalette& value);
    // The graphic's palette handle: the store's palette as an HPALETTE the picture keeps until the next call, null
    // for the RGB types and without a header. Setting one copies its entries into the store (nothing for RGB).
    HPALETTE GetPalette() const override;
    void SetPalette(HPALETTE value) override;
    // Installs the palette in the store (nothing when the store has none); updateColors copies its colours into
    // the colour table too.
    void DoSetPalette(const TPngPalette& value, bool updateColors);

    // Transparency.
    TPNGTransparencyMode GetTransparencyMode() const;
    bool GetTransparent() const override;
    TColor GetTransparentColor() const;
    void SetTransparentColor(TColor value);
    void RemoveTransparency();
    void CreateAlpha();

    // Draws the picture into rect of the canvas: a plain stretched copy, a colour-keyed copy through masks or a
    // per-pixel blend over what the canvas shows, by the transparency mode. An empty picture draws nothing. A
    // rectangle given right to left or bottom to top is normalised, so the three paths never mirror.
    void Draw(TCanvas* canvas, const TRect& rect) override;
    // The blend path on a device context. Raises EPNGOutMemory, leaving the destination untouched, when its
    // buffer cannot be had.
    void DrawPartialTrans(HDC dc, TRect rect);
    // Draws at the physical size the pHYs chunk gives, for the screen's dots per inch.
    void DrawUsingPixelInformation(TCanvas* canvas, const TPoint& point);
    // The same three paths straight into a 32-bit bitmap.
    void Draw(TBitmap32& dest, const TRect& rect);
    // The blend path on its own. Raises EPNGOutMemory when its buffer cannot be had.
    void DrawPartialTrans(TBitmap32& dest, TRect rect);
    // Draws at the physical size the pHYs chunk gives, for a screen of the given dots per inch.
    void DrawUsingPixelInformation(TBitmap32& dest, const TPoint& point, int screenDpiX = 96, int screenDpiY = 96);

    // Frees every chunk and resets both gamma tables.
    void ClearChunks();
    void InitializeGamma();

    // The owner's tables: a decoded sample to the stored value, and a stored value to the sample written.
    uint8_t GammaTable[256];
    uint8_t InverseGamma[256];
    // True only while the blank-image constructor adds its chunks.
    bool BeingCreated = false;

protected:
    // A TBitmap receives the picture drawn at (0, 0) (24 bits for partial transparency, else by the bit depth) and,
    // for bit transparency, its transparent colour.
    void AssignTo(TPersistent* dest) override;

private:
    void AssignToBitmap(TBitmap& bitmap);
    void DrawMasked(HDC dc, const TRect& rect);
    // True when the transparent colour keys exactly the transparent pixels, so the colour mask can do it.
    bool ColorKeyIsExact() const;
    // A palette picture's transparent entry is keyed exactly by its colour: no other entry shows that colour.
    bool PaletteKeyIsExact(const TChunkIHDR& header) const;
    TRect PixelInformationRect(const TPoint& point, int screenDpiX, int screenDpiY);
    void DrawOpaque(TBitmap32& dest, const TRect& rect);
    void DrawBitTransparent(TBitmap32& dest, const TRect& rect);
    // The colour of a store pixel as 0x00RRGGBB (the colour table for paletted stores).
    uint32_t StorePixelRGB(const TChunkIHDR& header, uint32_t x, uint32_t y) const;
    // The colour-table index of a pixel of a paletted (or grey) store.
    static uint32_t StoreIndex(const TChunkIHDR& header, uint32_t x, uint32_t y);
    // The colour of palette entry index from the PLTE chunk, or from the store's table when there is none.
    uint32_t PaletteColor(const TChunkIHDR& header, uint32_t index) const;

    TFilters FFilters { pfSub };
    TCompressionLevel FCompressionLevel = 7;
    int32_t FMaxIdatSize = 65535;
    TInterlaceMethod FInterlaceMethod = imNone;
    std::unique_ptr<TPNGList> FChunkList;
    mutable HPALETTE FPaletteHandle = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    HDC FCanvasDC = nullptr;
};

// Registers TPNGObject with TPicture for "PNG" ("Portable Network Graphics") and with the clipboard under the format
// "PNG". The program's start-up calls it once; calling it again changes nothing.
void RegisterPNGFormat();

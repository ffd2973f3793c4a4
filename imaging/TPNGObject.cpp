#include "imaging/TPNGObject.h"

#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TClipboard.h"
#include "framework/graphics/TPicture.h"
#include "imaging/Img32.h"
#include "imaging/PngMessages.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Clipboard.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr uint8_t PngSignature[8] = { 0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A };

bool NameIs(const TChunkName& name, const char* text)
{
    return std::memcmp(name.data(), text, 4) == 0;
}

// Which colour types the blank-image constructor accepts at which depths: the combinations of the PNG format.
bool ValidSpec(uint32_t colorType, uint32_t bitDepth)
{
    bool anyDepth = bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    switch (colorType) {
    case COLOR_GRAYSCALE:
        return anyDepth;
    case COLOR_PALETTE:
        return anyDepth && bitDepth != 16;
    case COLOR_RGB:
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
        return bitDepth == 8 || bitDepth == 16;
    default:
        return false;
    }
}

// A framework colour (system colours included) as 0x00BBGGRR.
uint32_t PngColorToRGB(TColor color)
{
    return uint32_t(Img32::WinColor(Img32::Color32(color))) & 0xFFFFFF;
}

uint32_t RGBValue(uint8_t r, uint8_t g, uint8_t b)
{
    return uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16);
}

} // namespace

TPNGObject::TPNGObject()
    : FChunkList(std::make_unique<TPNGList>(this))
    , FCanvas(std::make_unique<TCanvas>())
{
    // The tables start as the identity, so a picture that is filled chunk by chunk sees sensible values.
    InitializeGamma();
}

TPNGObject::TPNGObject(uint32_t colorType, uint32_t bitDepth, int32_t width, int32_t height)
    : TPNGObject()
{
    // Sizes outside the range a PNG file can hold would make a picture that can never be loaded again.
    if (!ValidSpec(colorType, bitDepth) || width < 1 || height < 1 || width > 65535 || height > 65535)
        RaiseError<EPNGInvalidSpec>(EInvalidSpec);
    if (bitDepth == 2)
        bitDepth = 4;
    InitializeGamma();
    BeingCreated = true;
    try {
        FChunkList->Add(&TChunkIEND::ClassInfo);
        auto* header = static_cast<TChunkIHDR*>(FChunkList->Add(&TChunkIHDR::ClassInfo));
        header->IHDRData.ColorType = uint8_t(colorType);
        header->IHDRData.BitDepth = uint8_t(bitDepth);
        header->IHDRData.Width = uint32_t(width);
        header->IHDRData.Height = uint32_t(height);
        header->PrepareImageData();
        // Only palette pictures get a PLTE chunk: the format forbids one for the grey types.
        if (colorType == COLOR_PALETTE)
            static_cast<TChunkPLTE*>(FChunkList->Add(&TChunkPLTE::ClassInfo))->SetCount(1 << bitDepth);
        FChunkList->Add(&TChunkIDAT::ClassInfo);
    } catch (...) {
        BeingCreated = false;
        ClearChunks();
        throw;
    }
    BeingCreated = false;
}

TPNGObject::~TPNGObject()
{
    ClearChunks();
    StoreChanged(nullptr);
    if (FPaletteHandle)
        DeleteObject(FPaletteHandle);
}

TCanvas* TPNGObject::Canvas()
{
    StoreChanged(HeaderPresent() ? Header()->StoreDC() : nullptr);
    return FCanvas.get();
}

void TPNGObject::StoreChanged(HDC dc)
{
    if (FCanvas && FCanvasDC != dc) {
        FCanvas->SetHandle(dc);
        FCanvasDC = dc;
    }
}

std::unique_ptr<TGraphic> TPNGObject::CreateNew() const
{
    return std::make_unique<TPNGObject>();
}

void RegisterPNGFormat()
{
    TPicture::RegisterFileFormat("png", "Portable Network Graphics", TGraphicClass::Of<TPNGObject>());
    TClipboard::RegisterPictureFormat("PNG", TGraphicClass::Of<TPNGObject>());
}

void TPNGObject::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette)
{
    TBitmap bitmap;
    bitmap.SetSize(Width(), Height());
    bitmap.Canvas()->StretchDraw(TRect { 0, 0, Width(), Height() }, this);
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    format = TClipboard::PictureFormatOf(bitmap);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size_t(stream.Size()));
    if (void* p = GlobalLock(block); p && stream.Size() > 0)
        std::memcpy(p, stream.Memory(), size_t(stream.Size()));
    GlobalUnlock(block);
    data = block;
    palette = nullptr;
}

void TPNGObject::LoadFromClipboardFormat(UINT, HANDLE data, HPALETTE)
{
    TMemoryStream stream;
    if (const void* p = GlobalLock(data)) {
        stream.Write(p, int32_t(GlobalSize(data)));
        GlobalUnlock(data);
    }
    stream.SetPosition(0);
    TBitmap bitmap;
    bitmap.LoadFromStream(stream);
    AssignHandle(bitmap.Handle(), false, 0);
}

void TPNGObject::SetMaxIdatSize(int32_t value)
{
    FMaxIdatSize = value < 65535 ? 65535 : value;
}

void TPNGObject::InitializeGamma()
{
    for (int i = 0; i < 256; ++i) {
        GammaTable[i] = uint8_t(i);
        InverseGamma[i] = uint8_t(i);
    }
}

void TPNGObject::ClearChunks()
{
    InitializeGamma();
    for (uint32_t i = 0; i < FChunkList->Count(); ++i)
        delete FChunkList->Item(i);
    FChunkList->SetSize(0);
}

bool TPNGObject::HeaderPresent() const
{
    TChunk* first = FChunkList->Item(0);
    return first && first->ClassType() == &TChunkIHDR::ClassInfo;
}

TChunkIHDR* TPNGObject::Header() const
{
    if (!HeaderPresent())
        RaiseError<EPNGHeaderNotPresent>(EPNGHeaderNotPresentText);
    return static_cast<TChunkIHDR*>(FChunkList->Item(0));
}

bool TPNGObject::GetEmpty() const
{
    return FChunkList->Count() == 0;
}

int32_t TPNGObject::GetWidth() const
{
    return HeaderPresent() ? int32_t(Header()->IHDRData.Width) : 0;
}

int32_t TPNGObject::GetHeight() const
{
    return HeaderPresent() ? int32_t(Header()->IHDRData.Height) : 0;
}

void TPNGObject::SetWidth(int32_t value)
{
    Resize(value, GetHeight());
}

void TPNGObject::SetHeight(int32_t value)
{
    Resize(GetWidth(), value);
}

void TPNGObject::GetPixelInfo(uint32_t& lineSize, uint32_t& offset) const
{
    if (!HeaderPresent()) {
        lineSize = 0;
        offset = 0;
        return;
    }
    const TIHDRData& ihdr = Header()->IHDRData;
    lineSize = PngRowSize(ihdr.ColorType, ihdr.BitDepth, ihdr.Width);
    offset = PngPixelOffset(ihdr.ColorType, ihdr.BitDepth);
}

// ---------------------------------------------------------------------------------------------------------------
// The file

void TPNGObject::LoadFromStream(TStream& stream)
{
    ClearChunks();
    uint8_t signature[8] {};
    if (stream.Read(signature, 8) != 8 || std::memcmp(signature, PngSignature, 8) != 0)
        RaiseError<EPNGInvalidFileHeader>(EPNGInvalidFileHeaderText);

    TPNGList& list = *FChunkList;
    list.SetSize(10);
    uint32_t n = 0;
    bool hasIDAT = false;
    TChunkName name {};
    do {
        ++n;
        if (n > list.Count())
            list.SetSize(list.Count() + 10);
        uint8_t frame[8];
        // A stream that ends where a chunk should start, or inside its length and name, ends the file too early.
        if (stream.Read(frame, 8) != 8) {
            list.SetSize(n - 1);
            RaiseError<EPngUnexpectedEnd>(EPNGUnexpectedEndText);
        }
        uint32_t length = ReadBigEndian32(frame);
        std::memcpy(name.data(), frame + 4, 4);
        if (n == 1 && !NameIs(name, "IHDR")) {
            list.SetSize(n - 1);
            RaiseError<EPNGIHDRNotFirst>(EPNGIHDRNotFirstText);
        }
        // Lengths are at most 2^31 - 1 in a valid file; a larger one cannot be trusted for anything.
        if (length > 0x7FFFFFFFu) {
            list.SetSize(n - 1);
            RaiseError<EPngUnexpectedEnd>(EPNGUnexpectedEndText);
        }
        if (NameIs(name, "cHRM") || (NameIs(name, "IDAT") && hasIDAT)) {
            --n;
            stream.Seek(int64_t(length) + 4, soCurrent);
            continue;
        }
        if (NameIs(name, "IDAT"))
            hasIDAT = true;
        TChunkClass chunkClass = FindChunkClass(name);
        TChunk* chunk = chunkClass->Create(this);
        chunk->Name = name;
        list.SetItem(n - 1, chunk);
        if (chunkClass == &TChunk::ClassInfo && (uint8_t(name[0]) & 0x20) == 0) {
            list.SetSize(n);
            RaiseError<EPNGUnknownCriticalChunk>(EPNGUnknownCriticalChunkText);
        }
        bool loaded;
        try {
            loaded = chunk->LoadFromStream(stream, name, length);
        } catch (...) {
            list.SetSize(n);
            throw;
        }
        if (!loaded)
            break;
    } while (!NameIs(name, "IEND"));
    list.SetSize(n);
    if (!hasIDAT)
        RaiseError<EPNGNoImageData>(EPNGNoImageDataText);
}

void TPNGObject::SaveToStream(TStream& stream)
{
    // A 2-bit picture is written with 4 bits a sample. The frames of an animation (acTL, fcTL, fdAT, kept raw like
    // every chunk the codec does not know) still hold 2-bit samples and would no longer match the file's header,
    // so they go: the picture stays, as its first frame.
    if (HeaderPresent() && Header()->IHDRData.BitDepth == 2) {
        for (uint32_t i = FChunkList->Count(); i-- > 0;) {
            TChunk* chunk = FChunkList->Item(i);
            const std::string_view name(chunk->Name.data(), chunk->Name.size());
            if (name == "acTL" || name == "fcTL" || name == "fdAT")
                FChunkList->RemoveChunk(chunk);
        }
    }
    stream.WriteBuffer(PngSignature, 8);
    for (uint32_t i = 0; i < FChunkList->Count(); ++i)
        FChunkList->Item(i)->SaveToStream(stream);
}

// ---------------------------------------------------------------------------------------------------------------
// Assignment

void TPNGObject::Assign(TPersistent* source)
{
    if (!source) {
        ClearChunks();
        return;
    }
    if (auto* png = dynamic_cast<TPNGObject*>(source)) {
        AssignPNG(png);
        return;
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
        // An empty bitmap has no handle; it empties the picture as nil does.
        if (bitmap->Empty()) {
            ClearChunks();
            return;
        }
        // The bitmap marks its transparent colour with a palette-relative flag, which is no part of the colour.
        uint32_t key = uint32_t(ColorToRGB(bitmap->TransparentColor())) & 0xFFFFFF;
        AssignHandle(bitmap->Handle(), bitmap->Transparent(), key);
        return;
    }
    inherited::Assign(source);
}

void TPNGObject::AssignTo(TPersistent* dest)
{
    if (auto* png = dynamic_cast<TPNGObject*>(dest)) {
        png->AssignPNG(this);
        return;
    }
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest); bitmap && HeaderPresent()) {
        AssignToBitmap(*bitmap);
        return;
    }
    inherited::AssignTo(dest);
}

void TPNGObject::AssignToBitmap(TBitmap& bitmap)
{
    TChunkIHDR* header = Header();
    const TIHDRData& ihdr = header->IHDRData;
    TPNGTransparencyMode mode = GetTransparencyMode();
    TPixelFormat format;
    if (mode == ptmPartial)
        format = pf24bit;
    else if (ihdr.BitDepth == 1)
        format = pf1bit;
    else if (ihdr.BitDepth == 2 || ihdr.BitDepth == 4)
        format = pf4bit;
    else if ((ihdr.BitDepth == 8 || ihdr.BitDepth == 16) && ihdr.ColorType == COLOR_PALETTE)
        format = pf8bit;
    else if (ihdr.BitDepth == 8 || ihdr.BitDepth == 16)
        format = pf24bit;
    else
        throw Exception("");
    bitmap.SetPixelFormat(format);
    bitmap.SetSize(GetWidth(), GetHeight());
    bitmap.Canvas()->Draw(0, 0, this);
    if (mode == ptmBit) {
        bitmap.SetTransparentColor(GetTransparentColor());
        bitmap.SetTransparent(true);
    }
}

void TPNGObject::AssignHandle(HBITMAP handle, bool transparent, uint32_t transparentColor)
{
    BITMAP description {};
    if (!handle || GetObject(handle, sizeof description, &description) != int(sizeof description)
        || description.bmWidth < 1 || description.bmHeight == 0)
        throw EInvalidGraphic("Bitmap image is not valid");
    int32_t width = description.bmWidth, height = std::abs(description.bmHeight);
    // Sizes a PNG file cannot hold are refused before the chunks go, so the picture stays as it was.
    if (width > 65535 || height > 65535)
        RaiseError<EPNGInvalidNewSize>(EInvalidNewSize);
    int bits = description.bmBitsPixel;
    bool paletted = bits < 16;
    if (paletted && bits != 1 && bits != 4 && bits != 8)
        throw EInvalidGraphic("Bitmap image is not valid");

    ClearChunks();
    try {
        auto* header = static_cast<TChunkIHDR*>(TChunkIHDR::ClassInfo.Create(this));
        FChunkList->SetSize(1);
        FChunkList->SetItem(0, header);
        TIHDRData& ihdr = header->IHDRData;
        ihdr.Width = uint32_t(width);
        ihdr.Height = uint32_t(height);
        ihdr.BitDepth = uint8_t(paletted ? bits : 8);
        ihdr.ColorType = paletted ? COLOR_PALETTE : COLOR_RGB;
        ihdr.CompressionMethod = 0;
        ihdr.InterlaceMethod = 0;
        header->PrepareImageData();

        // The bitmap's rows in the store's own layout; for palette stores this fills the colour table too.
        struct {
            BITMAPINFOHEADER bmiHeader;
            RGBQUAD bmiColors[256];
        } info {};
        static_assert(sizeof(info.bmiHeader) == sizeof(header->BitmapInfo.bmiHeader));
        static_assert(sizeof(info.bmiColors) == sizeof(header->BitmapInfo.bmiColors));
        std::memcpy(&info.bmiHeader, &header->BitmapInfo.bmiHeader, sizeof info.bmiHeader);
        HDC dc = CreateCompatibleDC(nullptr);
        int lines = GetDIBits(
            dc, handle, 0, uint32_t(height), header->ImageData, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
        DeleteDC(dc);
        if (lines != height)
            throw EInvalidGraphic("Bitmap image is not valid");
        if (paletted)
            std::memcpy(header->BitmapInfo.bmiColors, info.bmiColors, sizeof info.bmiColors);

        auto append = [this](TChunkClass chunkClass) {
            TChunk* chunk = chunkClass->Create(this);
            FChunkList->SetSize(FChunkList->Count() + 1);
            FChunkList->SetItem(FChunkList->Count() - 1, chunk);
            return chunk;
        };
        TChunkPLTE* plte = header->HasPalette ? static_cast<TChunkPLTE*>(append(&TChunkPLTE::ClassInfo)) : nullptr;
        auto* trns = transparent ? static_cast<TChunktRNS*>(append(&TChunktRNS::ClassInfo)) : nullptr;
        append(&TChunkIDAT::ClassInfo);
        append(&TChunkIEND::ClassInfo);
        if (plte) {
            int count = 1 << bits;
            plte->SetCount(count);
            TPngPalette palette(static_cast<size_t>(count));
            for (int i = 0; i < count; ++i) {
                const TPngRGBQuad& e = header->BitmapInfo.bmiColors[i];
                palette[size_t(i)] = TPngPaletteEntry { e.rgbRed, e.rgbGreen, e.rgbBlue, 0 };
            }
            DoSetPalette(palette, false);
        }
        if (trns)
            trns->SetTransparentColor(transparentColor);
    } catch (...) {
        // Half a picture would save as a broken file; an empty one says plainly that nothing was taken.
        ClearChunks();
        throw;
    }
}

void TPNGObject::AssignPNG(TPNGObject* source)
{
    // Clearing first would free the very chunks that are about to be copied.
    if (source == this)
        return;
    FInterlaceMethod = source->FInterlaceMethod;
    SetMaxIdatSize(source->FMaxIdatSize);
    FCompressionLevel = source->FCompressionLevel;
    FFilters = source->FFilters;
    ClearChunks();
    TPNGList& from = source->Chunks();
    FChunkList->SetSize(from.Count());
    for (uint32_t i = 0; i < from.Count(); ++i) {
        TChunk* original = from.Item(i);
        TChunk* copy = original->ClassType()->Create(this);
        FChunkList->SetItem(i, copy);
        copy->Assign(original);
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Pixels

uint8_t* TPNGObject::GetScanline(int32_t y) const
{
    return Header()->ScanLine(uint32_t(y));
}

uint8_t* TPNGObject::GetExtraScanline(int32_t y) const
{
    TChunkIHDR* header = Header();
    return header->ExtraImageData ? header->ExtraScanLine(uint32_t(y)) : nullptr;
}

uint8_t* TPNGObject::GetAlphaScanline(int32_t y) const
{
    return Header()->AlphaScanLine(uint32_t(y));
}

uint32_t TPNGObject::PaletteColor(const TChunkIHDR& header, uint32_t index) const
{
    // A palette picture without a PLTE chunk (removed by a caller) still has the colours of its store.
    TPngRGBQuad entry;
    if (auto* palette = FChunkList->Find<TChunkPLTE>())
        entry = palette->GetPaletteItem(uint8_t(index));
    else
        entry = header.BitmapInfo.bmiColors[index & 0xFF];
    return RGBValue(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
}

TColor TPNGObject::GetPixels(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return 0;
    TChunkIHDR* header = Header();
    const TIHDRData& ihdr = header->IHDRData;
    const uint8_t* row = header->ScanLine(uint32_t(y));
    switch (ihdr.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE: {
        // The store's own bits per pixel: 2-bit images are held with 4.
        uint32_t depth = std::min(header->StoreBitsPerPixel(), 8);
        uint32_t perByte = 8 / depth;
        uint32_t sample
            = (row[uint32_t(x) / perByte] >> (8 - depth - depth * (uint32_t(x) % perByte))) & ((1u << depth) - 1);
        // The colour Draw shows: the gamma is applied once, by the grey ramp or the PLTE chunk as they load.
        if (ihdr.ColorType == COLOR_GRAYSCALE) {
            uint32_t scale = depth == 1 ? 255 : depth == 4 ? 17 : 1;
            uint8_t level = GammaTable[uint8_t(sample * scale)];
            return TColor(RGBValue(level, level, level));
        }
        return TColor(PaletteColor(*header, sample));
    }
    case COLOR_GRAYSCALEALPHA: {
        // The stored grey is an index into the grey ramp, which carries the gamma as it does for plain grey.
        const TPngRGBQuad& e = header->BitmapInfo.bmiColors[row[x]];
        return TColor(RGBValue(e.rgbRed, e.rgbGreen, e.rgbBlue));
    }
    default: {
        const uint8_t* p = row + 3 * x;
        return TColor(RGBValue(p[2], p[1], p[0]));
    }
    }
}

void TPNGObject::SetPixels(int32_t x, int32_t y, TColor color)
{
    if (x < 0 || y < 0 || x >= GetWidth() || y >= GetHeight())
        return;
    TChunkIHDR* header = Header();
    const TIHDRData& ihdr = header->IHDRData;
    // A changed pixel is keyed by the colour it shows, as every pixel is once the file's key plane is gone.
    header->SetKeyPlane(nullptr);
    uint8_t* row = header->ScanLine(uint32_t(y));
    // The nearest entry of the store's palette, the first of equally near ones.
    auto nearest = [&]() {
        uint32_t rgb = PngColorToRGB(color);
        int r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
        uint32_t best = 0;
        int bestDistance = 1 << 30;
        for (size_t i = 0; i < header->ImagePalette.size(); ++i) {
            const TPngPaletteEntry& e = header->ImagePalette[i];
            int dr = e.peRed - r, dg = e.peGreen - g, db = e.peBlue - b;
            int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = uint32_t(i);
            }
        }
        return best;
    };
    switch (ihdr.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE: {
        uint32_t best = nearest();
        uint32_t depth = std::min(header->StoreBitsPerPixel(), 8);
        uint32_t perByte = 8 / depth, mask = (1u << depth) - 1;
        uint32_t shift = 8 - depth - depth * (uint32_t(x) % perByte);
        uint8_t& byte = row[uint32_t(x) / perByte];
        byte = uint8_t((byte & ~(mask << shift)) | ((best & mask) << shift));
        break;
    }
    case COLOR_GRAYSCALEALPHA:
        // The grey that shows the colour through the ramp, so GetPixels gives back what was set.
        row[x] = uint8_t(nearest());
        break;
    default: {
        uint8_t* p = row + 3 * x;
        p[0] = uint8_t((color >> 16) & 0xFF);
        p[1] = uint8_t((color >> 8) & 0xFF);
        p[2] = uint8_t(color & 0xFF);
        break;
    }
    }
}

void TPNGObject::Resize(int32_t cx, int32_t cy)
{
    // A side above 65535 would make a file that no PNG reader, this one included, loads again.
    if (cx < 1 || cy < 1 || cx > 65535 || cy > 65535)
        RaiseError<EPNGInvalidNewSize>(EInvalidNewSize);
    TChunkIHDR* header = Header();
    const TIHDRData& ihdr = header->IHDRData;
    uint32_t oldWidth = ihdr.Width, oldHeight = ihdr.Height, oldRow = header->BytesPerRow;
    uint32_t bits = header->BitmapInfo.bmiHeader.biBitCount;
    uint32_t newRow = uint32_t((uint64_t(bits) * uint32_t(cx) + 31) / 32 * 4);
    uint32_t rows = std::min<uint32_t>(uint32_t(cy), oldHeight);
    uint32_t rowBytes = std::min(newRow, oldRow);

    // New rows of the same format and colour table in a DIB section of their own.
    TMAXBITMAPINFO info = header->BitmapInfo;
    info.bmiHeader.biWidth = cx;
    info.bmiHeader.biHeight = cy;
    TPngStoreSurface data = CreatePngStoreSurface(info);
    auto newLine = [&](uint8_t* base, uint32_t y) { return base + size_t(newRow) * (uint32_t(cy) - 1 - y); };
    for (uint32_t y = 0; y < rows; ++y)
        std::memcpy(newLine(data.Bits, y), header->ScanLine(y), rowBytes);

    TPngBuffer alpha;
    if (header->ImageAlpha) {
        alpha = AllocatePngBuffer(size_t(cx) * uint32_t(cy));
        std::memset(alpha.get(), 255, size_t(cx) * uint32_t(cy));
        uint32_t alphaBytes = std::min<uint32_t>(uint32_t(cx), oldWidth);
        for (uint32_t y = 0; y < rows; ++y)
            std::memcpy(alpha.get() + size_t(cx) * y, header->AlphaScanLine(y), alphaBytes);
    }
    TPngBuffer extra;
    if (header->ExtraImageData) {
        extra = AllocatePngBuffer(size_t(newRow) * uint32_t(cy));
        for (uint32_t y = 0; y < rows; ++y)
            std::memcpy(newLine(extra.get(), y), header->ExtraScanLine(y), rowBytes);
    }
    header->AdoptStore(data, std::move(alpha), std::move(extra), uint32_t(cx), uint32_t(cy), newRow);
}

// ---------------------------------------------------------------------------------------------------------------
// Metadata and palette

void TPNGObject::AddtEXt(const std::string& keyword, const std::string& text)
{
    if (auto* chunk = static_cast<TChunktEXt*>(FChunkList->Add(&TChunktEXt::ClassInfo))) {
        chunk->Keyword = keyword;
        chunk->Text = text;
    }
}

void TPNGObject::AddzTXt(const std::string& keyword, const std::string& text)
{
    if (auto* chunk = static_cast<TChunkzTXt*>(FChunkList->Add(&TChunkzTXt::ClassInfo))) {
        chunk->Keyword = keyword;
        chunk->Text = text;
    }
}

bool TPNGObject::HasPixelInformation() const
{
    return FChunkList->Find<TChunkpHYs>() != nullptr;
}

TChunkpHYs* TPNGObject::GetPixelInformation()
{
    if (auto* chunk = FChunkList->Find<TChunkpHYs>())
        return chunk;
    auto* chunk = static_cast<TChunkpHYs*>(FChunkList->Add(&TChunkpHYs::ClassInfo));
    if (chunk)
        chunk->UnitType = utMeter;
    return chunk;
}

const TPngPalette& TPNGObject::PngPalette() const
{
    return Header()->ImagePalette;
}

HPALETTE TPNGObject::GetPalette() const
{
    const TPngPalette& palette = Header()->ImagePalette;
    if (FPaletteHandle) {
        DeleteObject(FPaletteHandle);
        FPaletteHandle = nullptr;
    }
    if (palette.empty())
        return nullptr;
    std::vector<uint8_t> memory(sizeof(LOGPALETTE) + palette.size() * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(memory.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = WORD(palette.size());
    PALETTEENTRY* entries = logical->palPalEntry;
    for (size_t i = 0; i < palette.size(); ++i)
        entries[i] = PALETTEENTRY { palette[i].peRed, palette[i].peGreen, palette[i].peBlue, 0 };
    FPaletteHandle = CreatePalette(logical);
    return FPaletteHandle;
}

void TPNGObject::SetPalette(HPALETTE value)
{
    if (!value)
        return;
    PALETTEENTRY entries[256];
    UINT count = GetPaletteEntries(value, 0, 256, entries);
    TPngPalette palette(count);
    for (UINT i = 0; i < count; ++i)
        palette[i] = TPngPaletteEntry { entries[i].peRed, entries[i].peGreen, entries[i].peBlue, 0 };
    DoSetPalette(palette, true);
}

void TPNGObject::SetPalette(const TPngPalette& value)
{
    DoSetPalette(value, true);
}

void TPNGObject::DoSetPalette(const TPngPalette& value, bool updateColors)
{
    if (!HeaderPresent())
        return;
    TChunkIHDR* header = Header();
    if (!header->HasPalette)
        return;
    if (updateColors)
        header->PaletteToDIB(value);
    header->ImagePalette = value;
}

// ---------------------------------------------------------------------------------------------------------------
// Transparency

TPNGTransparencyMode TPNGObject::GetTransparencyMode() const
{
    TChunkIHDR* header = Header();
    auto* trns = FChunkList->Find<TChunktRNS>();
    switch (header->IHDRData.ColorType) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB:
        return trns ? ptmBit : ptmNone;
    case COLOR_PALETTE:
        if (!trns)
            return ptmNone;
        return trns->BitTransparency ? ptmBit : ptmPartial;
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
        return ptmPartial;
    default:
        return ptmNone;
    }
}

bool TPNGObject::GetTransparent() const
{
    return GetTransparencyMode() != ptmNone;
}

TColor TPNGObject::GetTransparentColor() const
{
    auto* trns = FChunkList->Find<TChunktRNS>();
    return trns ? TColor(trns->GetTransparentColor()) : 0;
}

void TPNGObject::SetTransparentColor(TColor value)
{
    if (!HeaderPresent())
        return;
    TChunkIHDR* header = Header();
    uint8_t colorType = header->IHDRData.ColorType;
    if (colorType == COLOR_GRAYSCALEALPHA || colorType == COLOR_RGBALPHA)
        RaiseError<EPNGCannotChangeTransparent>(EPNGCannotChangeTransparentText);
    if (colorType != COLOR_GRAYSCALE && colorType != COLOR_RGB && colorType != COLOR_PALETTE)
        return;
    uint32_t rgb = PngColorToRGB(value);
    if (colorType == COLOR_PALETTE) {
        // A colour the palette lacks cannot be made transparent; the picture stays as it is.
        uint32_t count = std::min<uint32_t>(header->BitmapInfo.bmiHeader.biClrUsed, 256);
        bool found = false;
        for (uint32_t k = 0; k < count && !found; ++k) {
            const TPngRGBQuad& e = header->BitmapInfo.bmiColors[k];
            found = RGBValue(e.rgbRed, e.rgbGreen, e.rgbBlue) == rgb;
        }
        if (!found)
            return;
    }
    auto* trns = FChunkList->Find<TChunktRNS>();
    if (!trns)
        trns = static_cast<TChunktRNS*>(FChunkList->Add(&TChunktRNS::ClassInfo));
    if (trns)
        trns->SetTransparentColor(rgb);
    // The new key is a colour as shown; the file's keyed pixels no longer tell which pixels have it.
    header->SetKeyPlane(nullptr);
}

void TPNGObject::RemoveTransparency()
{
    TChunkIHDR* header = Header();
    switch (header->IHDRData.ColorType) {
    case COLOR_PALETTE:
        if (auto* trns = FChunkList->Find<TChunktRNS>())
            FChunkList->RemoveChunk(trns);
        break;
    case COLOR_GRAYSCALEALPHA:
        header->IHDRData.ColorType = COLOR_GRAYSCALE;
        header->SetAlphaPlane(nullptr);
        break;
    case COLOR_RGBALPHA:
        header->IHDRData.ColorType = COLOR_RGB;
        header->SetAlphaPlane(nullptr);
        break;
    default:
        break;
    }
}

void TPNGObject::CreateAlpha()
{
    TChunkIHDR* header = Header();
    TIHDRData& ihdr = header->IHDRData;
    size_t pixels = size_t(ihdr.Width) * ihdr.Height;
    switch (ihdr.ColorType) {
    case COLOR_GRAYSCALE:
        // Grey with alpha exists only at 8 and 16 bits, so a lower depth is first widened to 8-bit levels.
        if (ihdr.BitDepth < 8) {
            uint32_t depth = uint32_t(header->StoreBitsPerPixel());
            uint32_t perByte = 8 / depth, mask = (1u << depth) - 1;
            std::vector<uint8_t> levels(pixels);
            for (uint32_t y = 0; y < ihdr.Height; ++y) {
                const uint8_t* row = header->ScanLine(y);
                for (uint32_t x = 0; x < ihdr.Width; ++x) {
                    uint32_t v = (row[x / perByte] >> (8 - depth - depth * (x % perByte))) & mask;
                    levels[size_t(y) * ihdr.Width + x] = uint8_t(v * 255 / mask);
                }
            }
            ihdr.BitDepth = 8;
            ihdr.ColorType = COLOR_GRAYSCALEALPHA;
            header->PrepareImageData();
            for (uint32_t y = 0; y < ihdr.Height; ++y)
                std::memcpy(header->ScanLine(y), levels.data() + size_t(y) * ihdr.Width, ihdr.Width);
            std::memset(header->ImageAlpha, 255, pixels);
            return;
        }
        ihdr.ColorType = COLOR_GRAYSCALEALPHA;
        break;
    case COLOR_RGB:
        ihdr.ColorType = COLOR_RGBALPHA;
        break;
    case COLOR_PALETTE: {
        auto* trns = FChunkList->Find<TChunktRNS>();
        if (!trns)
            trns = static_cast<TChunktRNS*>(FChunkList->Add(&TChunktRNS::ClassInfo));
        if (!trns)
            return;
        trns->ResizeData(256);
        std::memset(trns->PaletteValues, 255, sizeof trns->PaletteValues);
        trns->ResizeData(1u << ihdr.BitDepth);
        trns->BitTransparency = false;
        return;
    }
    default:
        return;
    }
    TPngBuffer alpha = AllocatePngBuffer(pixels);
    std::memset(alpha.get(), 255, pixels);
    header->SetAlphaPlane(std::move(alpha));
}

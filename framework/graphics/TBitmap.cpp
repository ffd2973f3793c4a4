#include "framework/graphics/TBitmap.h"

#include "framework/core/Streams.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmapImage.h"
#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Raster.h"

#include <vector>

namespace {

constexpr const char* kInvalidBitmap = "Bitmap image is not valid";
constexpr uint32_t kWhite = 0xFFFFFF;

int BitCountOf(TPixelFormat format)
{
    switch (format) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf15bit:
    case pf16bit:
        return 16;
    case pf24bit:
        return 24;
    default:
        return 32;
    }
}

TPixelFormat FormatOf(const TBitmapImage& image)
{
    switch (image.BitCount) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 16:
        return image.Is565() ? pf16bit : pf15bit;
    case 24:
        return pf24bit;
    default:
        return pf32bit;
    }
}

void Fill(TBitmapImage& image, uint32_t color)
{
    TSurface surface = image.Surface();
    std::vector<uint32_t> row(static_cast<size_t>(image.Width), color);
    for (int y = 0; y < image.Height; ++y)
        surface.WriteRow(y, 0, image.Width, row.data());
}

} // namespace

// The canvas of a bitmap: a memory DC with the bitmap's DIB section selected, made when first drawn on and
// freed whenever the bitmap's pixels are replaced or its handle is handed out.
class TBitmapCanvas final : public TCanvas {
    using inherited = TCanvas;

public:
    explicit TBitmapCanvas(TBitmap* bitmap)
        : FBitmap(bitmap)
    {
    }
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext()
    {
        if (!FDC)
            return;
        HDC dc = FDC;
        FDC = nullptr;
        SetHandle(nullptr);
        if (FOldBitmap)
            SelectObject(dc, FOldBitmap);
        FOldBitmap = nullptr;
        DeleteDC(dc);
    }

protected:
    void CreateHandle() override
    {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc)
            throw EOutOfResources("Out of system resources");
        // An empty bitmap still gets a DC (with the DC's own 1x1 bitmap), so drawing on it does nothing rather
        // than fail.
        if (FBitmap->FImage)
            FOldBitmap = SelectObject(dc, FBitmap->FImage->Handle);
        FDC = dc;
        SetHandle(dc);
    }

private:
    TBitmap* FBitmap;
    HDC FDC = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap()
{
    // The DC goes first: a DIB section selected into a DC cannot be freed.
    FCanvas.reset();
}

std::unique_ptr<TGraphic> TBitmap::CreateNew() const
{
    return std::make_unique<TBitmap>();
}

void TBitmap::FreeCanvasHandle()
{
    if (FCanvas)
        static_cast<TBitmapCanvas*>(FCanvas.get())->FreeContext();
}

void TBitmap::SetImage(std::unique_ptr<TBitmapImage> image)
{
    FreeCanvasHandle();
    FImage = std::move(image);
    if (FImage) {
        FWidth = FImage->Width;
        FHeight = FImage->Height;
    }
}

void TBitmap::Assign(TPersistent* source)
{
    if (!source) {
        SetImage(nullptr);
        FWidth = 0;
        FHeight = 0;
        Changed(this);
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(source);
    if (!bitmap) {
        inherited::Assign(source);
        return;
    }
    if (bitmap == this)
        return;
    SetImage(bitmap->FImage ? bitmap->FImage->Clone() : nullptr);
    FWidth = bitmap->FWidth;
    FHeight = bitmap->FHeight;
    FPixelFormat = bitmap->FPixelFormat;
    FTransparent = bitmap->FTransparent;
    FTransparentColor = bitmap->FTransparentColor;
    FTransparentMode = bitmap->FTransparentMode;
    Changed(this);
}

TCanvas* TBitmap::Canvas()
{
    if (!FCanvas) {
        FCanvas = std::make_unique<TBitmapCanvas>(this);
        FCanvas->OnChange = [this](TObject* sender) { Changed(sender); };
    }
    return FCanvas.get();
}

bool TBitmap::HandleAllocated() const
{
    return FImage != nullptr;
}

HBITMAP TBitmap::Handle()
{
    // The caller may select the handle into a DC of its own, which GDI allows only while no other DC holds it.
    FreeCanvasHandle();
    return FImage ? FImage->Handle : nullptr;
}

void TBitmap::SetHandle(HBITMAP value)
{
    if (FImage && value == FImage->Handle)
        return;
    if (!value) {
        SetImage(nullptr);
        FWidth = 0;
        FHeight = 0;
        Changed(this);
        return;
    }
    DIBSECTION ds {};
    bool section = GetObject(value, sizeof(ds), &ds) == static_cast<int>(sizeof(ds)) && ds.dsBm.bmBits;
    std::unique_ptr<TBitmapImage> image = TBitmapImage::Adopt(value);
    if (!image)
        throw EInvalidGraphic(kInvalidBitmap);
    FPixelFormat = !section && image->BitCount == 32 ? pfDevice : FormatOf(*image);
    SetImage(std::move(image));
    Changed(this);
}

HBITMAP TBitmap::ReleaseHandle()
{
    if (!FImage)
        return nullptr;
    FreeCanvasHandle();
    std::unique_ptr<TBitmapImage> copy = FImage->Clone();
    HBITMAP handle = FImage->Handle;
    FImage->Handle = nullptr;
    FImage = std::move(copy);
    return handle;
}

void TBitmap::SetHandleType(TBitmapHandleType value)
{
    if (value == HandleType())
        return;
    if (value == bmDDB) {
        SetPixelFormat(pfDevice);
        return;
    }
    // The device format is 32 bits already; as a DIB it is simply pf32bit.
    FPixelFormat = pf32bit;
    Changed(this);
}

TPixelFormat TBitmap::PixelFormat() const
{
    return FPixelFormat;
}

void TBitmap::SetPixelFormat(TPixelFormat value)
{
    if (value == pfCustom || value > pfCustom)
        throw EInvalidGraphic("Invalid pixel format");
    if (value == FPixelFormat)
        return;
    if (FImage) {
        int bitCount = BitCountOf(value);
        bool rgb565 = value == pf16bit;
        if (bitCount != FImage->BitCount || rgb565 != FImage->Is565())
            SetImage(FImage->Convert(bitCount, rgb565));
    }
    FPixelFormat = value;
    Changed(this);
}

bool TBitmap::Monochrome() const
{
    return FPixelFormat == pf1bit;
}

void TBitmap::SetMonochrome(bool value)
{
    if (value == Monochrome())
        return;
    SetPixelFormat(value ? pf1bit : pfDevice);
}

void* TBitmap::ScanLine(int row)
{
    if (!FImage || row < 0 || row >= FHeight)
        throw EInvalidGraphicOperation("Scan line index out of range");
    return FImage->Row(row);
}

uint32_t TBitmap::PixelAt(int x, int y) const
{
    return ColorFromPixel(FImage->Surface().Pixel(x, y));
}

TColor TBitmap::TransparentColor() const
{
    // The palette-relative flag marks the colour as the framework's own pick; GDI calls mask it off.
    constexpr TColor kPaletteRelative = 0x02000000;
    if (FTransparentColor != clDefault)
        return ColorToRGB(FTransparentColor) | kPaletteRelative;
    if (!FImage)
        return static_cast<TColor>(CLR_INVALID);
    if (Monochrome())
        return clWhite | kPaletteRelative;
    return static_cast<TColor>(PixelAt(0, FHeight - 1)) | kPaletteRelative;
}

void TBitmap::SetTransparentColor(TColor value)
{
    if (value == FTransparentColor)
        return;
    FTransparentMode = value == clDefault ? tmAuto : tmFixed;
    FTransparentColor = value;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode value)
{
    if (value == FTransparentMode)
        return;
    if (value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor());
}

void TBitmap::SetSize(int width, int height)
{
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    if (width == FWidth && height == FHeight)
        return;
    if (width == 0 || height == 0) {
        SetImage(nullptr);
    } else {
        std::unique_ptr<TBitmapImage> image;
        try {
            // What was drawn stays in the top-left corner; new pixels are white, the colour of a fresh canvas.
            if (FImage) {
                image = FImage->Resized(width, height, kWhite);
            } else {
                image = TBitmapImage::Create(width, height, BitCountOf(FPixelFormat), {}, FPixelFormat == pf16bit);
                Fill(*image, kWhite);
            }
        } catch (const EInvalidGraphic&) {
            throw EOutOfResources("Out of system resources");
        }
        SetImage(std::move(image));
    }
    FWidth = width;
    FHeight = height;
    Changed(this);
}

void TBitmap::SetWidth(int value)
{
    SetSize(value, FHeight);
}

void TBitmap::SetHeight(int value)
{
    SetSize(FWidth, value);
}

bool TBitmap::GetEmpty() const
{
    return FImage == nullptr;
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect)
{
    if (!FImage || !canvas)
        return;
    HDC dest = canvas->Handle();
    HDC source = Canvas()->Handle();
    int width = rect.Right - rect.Left;
    int height = rect.Bottom - rect.Top;
    if (Transparent()) {
        TransparentBlt(dest, rect.Left, rect.Top, width, height, source, 0, 0, FWidth, FHeight,
            static_cast<COLORREF>(TransparentColor()) & 0xFFFFFF);
        return;
    }
    int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
    StretchBlt(dest, rect.Left, rect.Top, width, height, source, 0, 0, FWidth, FHeight,
        static_cast<DWORD>(canvas->CopyMode()));
    if (oldMode)
        SetStretchBltMode(dest, oldMode);
}

void TBitmap::LoadFromStream(TStream& stream)
{
    int64_t start = stream.Position();
    int64_t remaining = stream.Size() - start;
    if (remaining <= 0) {
        // An empty stream is an empty bitmap: what SaveToStream writes for one.
        SetImage(nullptr);
        FWidth = 0;
        FHeight = 0;
        Changed(this);
        return;
    }
    // A plain picture goes straight into the bitmap's memory instead of through a buffer of the file's size: a
    // skin's pictures are megabytes each.
    if (std::unique_ptr<TBitmapImage> plain = ReadPlainBmp(stream, remaining)) {
        FPixelFormat = FormatOf(*plain);
        SetImage(std::move(plain));
        Changed(this);
        return;
    }
    // No bitmap this layer can hold comes near this size; the rest of a bigger stream is not ours to read.
    constexpr int64_t kMaxFileBytes = int64_t(kMaxBitmapBytes) + (int64_t(1) << 20);
    // Not zeroed first: the read fills every byte or throws, and a skin's pictures are megabytes each.
    const size_t size = static_cast<size_t>(std::min(remaining, kMaxFileBytes));
    const std::unique_ptr<uint8_t[]> data = std::make_unique_for_overwrite<uint8_t[]>(size);
    stream.ReadBuffer(data.get(), static_cast<int32_t>(size));
    size_t used = 0;
    std::unique_ptr<TBitmapImage> image;
    try {
        image = ReadBmpFile(data.get(), size, used);
    } catch (...) {
        stream.SetPosition(start);
        throw;
    }
    stream.SetPosition(start + static_cast<int64_t>(used));
    FPixelFormat = FormatOf(*image);
    SetImage(std::move(image));
    Changed(this);
}

void TBitmap::SaveToStream(TStream& stream)
{
    if (FImage)
        WriteBmpFile(*FImage, stream);
}

void TBitmap::ReadData(TStream& stream)
{
    int32_t size = 0;
    stream.ReadBuffer(&size, sizeof(size));
    if (size < 0 || size > stream.Size() - stream.Position())
        throw EInvalidGraphic(kInvalidBitmap);
    TMemoryStream data;
    if (size > 0)
        data.CopyFrom(stream, size);
    data.SetPosition(0);
    LoadFromStream(data);
}

void TBitmap::WriteData(TStream& stream)
{
    TMemoryStream data;
    SaveToStream(data);
    int32_t size = static_cast<int32_t>(data.Size());
    stream.WriteBuffer(&size, sizeof(size));
    if (size > 0)
        stream.WriteBuffer(data.Memory(), size);
}

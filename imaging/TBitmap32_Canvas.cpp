// The device-context parts of TBitmap32: font, canvas and text, BMP persistence and copies to and from the
// framework's graphics, and drawing from and to device contexts.
#include "framework/graphics/Colors.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TClipboard.h"
#include "framework/graphics/TPicture.h"
#include "imaging/Img32_Transforms.h"
#include "imaging/TBitmap32.h"
#include "platform/gdi/Gdi.h"

#include <algorithm>
#include <climits>
#include <string>

namespace {

// The tiles of TileTo, so the work bitmap stays small however large the destination rectangle is.
constexpr int kTileSize = 1024;

// Platform text calls take an int count; longer texts are cut rather than wrapped to a negative count.
int TextCount(std::string_view text)
{
    return int(std::min<size_t>(text.size(), INT_MAX));
}

// Measures text in `font` for bitmaps without a DC and for the enlarged font of antialiased text. A memory DC
// of its own per call: nothing shared between threads, and no DC outlives the platform's object tables at exit.
SIZE MeasureText(HFONT font, std::string_view text)
{
    SIZE size { 0, 0 };
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc)
        return size;
    HGDIOBJ previous = SelectObject(dc, font);
    GetTextExtentPoint32(dc, text.data(), TextCount(text), &size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    return size;
}

RECT AsRECT(const TRect& r)
{
    return RECT { r.Left, r.Top, r.Right, r.Bottom };
}

} // namespace

// ---- Font and canvas -------------------------------------------------------------------------------------------

void TBitmap32::SetFont(TFont* value)
{
    FFont->Assign(value);
    FontChanged(this);
}

void TBitmap32::FontChanged(TObject*)
{
    if (!FSelectedFont)
        return;
    // The font frees its handle right after this; the DC must not hold it then.
    if (FHandle)
        SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    FSelectedFont = nullptr;
}

void TBitmap32::UpdateFont()
{
    if (!FHandle)
        return;
    // A canvas on the same DC would otherwise go on believing its own font is selected and draw with ours.
    if (FCanvas)
        FCanvas->Refresh();
    if (!FSelectedFont)
        FSelectedFont = FFont->Handle();
    SelectObject(FHandle, FSelectedFont);
    SetTextColor(FHandle, COLORREF(ColorToRGB(FFont->Color())));
    SetBkMode(FHandle, TRANSPARENT);
}

TCanvas* TBitmap32::Canvas()
{
    if (!FCanvas) {
        auto canvas = std::make_unique<TCanvas>();
        canvas->SetHandle(FHandle);
        canvas->OnChange = [this](TObject* sender) { CanvasChanged(sender); };
        FCanvas = std::move(canvas);
    }
    return FCanvas.get();
}

void TBitmap32::DeleteCanvas()
{
    if (!FCanvas)
        return;
    FCanvas->SetHandle(nullptr);
    FCanvas.reset();
}

void TBitmap32::CanvasChanged(TObject*)
{
    Changed();
}

// ---- Text ------------------------------------------------------------------------------------------------------

void TBitmap32::Textout(int x, int y, std::string_view text)
{
    UpdateFont();
    if (FHandle)
        ExtTextOut(FHandle, x, y, 0, nullptr, text.data(), UINT(TextCount(text)), nullptr);
    Changed();
}

void TBitmap32::Textout(int x, int y, const TRect& clipRect, std::string_view text)
{
    UpdateFont();
    if (FHandle) {
        const RECT clip = AsRECT(clipRect);
        ExtTextOut(FHandle, x, y, ETO_CLIPPED, &clip, text.data(), UINT(TextCount(text)), nullptr);
    }
    Changed();
}

void TBitmap32::Textout(const TRect& dstRect, uint32_t flags, std::string_view text)
{
    UpdateFont();
    if (FHandle) {
        RECT r = AsRECT(dstRect);
        DrawText(FHandle, text.data(), TextCount(text), &r, flags);
    }
    Changed();
}

TSize TBitmap32::TextExtent(std::string_view text)
{
    UpdateFont();
    SIZE size { 0, 0 };
    if (FHandle)
        GetTextExtentPoint32(FHandle, text.data(), TextCount(text), &size);
    else
        size = MeasureText(FFont->Handle(), text);
    return TSize { size.cx, size.cy };
}

void TBitmap32::RenderText(int x, int y, std::string_view text, int aaLevel, TColor32 color)
{
    if (Empty())
        return;
    const uint32_t alpha = color >> 24;
    color &= 0x00FFFFFF;
    aaLevel = std::clamp(aaLevel, 0, 4);
    // The blank gives the last glyph's overhang room.
    std::string padded(text);
    padded += ' ';

    TBitmap32 result;
    if (aaLevel == 0) {
        const TSize size = TextExtent(padded);
        result.SetSize(size.cx, size.cy);
        result.SetFont(FFont.get());
        result.Clear(0);
        result.Font()->SetColor(clWhite);
        result.Textout(0, 0, text);
        TColor32* p = result.Bits();
        for (size_t i = 0, n = size_t(result.Width()) * size_t(result.Height()); i < n; ++i)
            if (p[i] != 0)
                p[i] = ((p[i] & 0xFF) << 24) + color;
    } else {
        const int factor = 1 << aaLevel;
        TFont largeFont;
        largeFont.Assign(FFont.get());
        // The pixel height scales exactly; the point size would round.
        largeFont.SetHeight(FFont->Height() * factor);
        const SIZE measured = MeasureText(largeFont.Handle(), padded);
        TSize size { measured.cx, measured.cy };
        size.cx = ((size.cx >> aaLevel) + 1) << aaLevel;
        TBitmap32 large;
        large.SetSize(size.cx, size.cy);
        large.Clear(0);
        large.SetFont(&largeFont);
        large.Font()->SetColor(clWhite);
        large.Textout(0, 0, text);

        result.SetSize(size.cx >> aaLevel, size.cy >> aaLevel);
        for (int ry = 0; ry < result.Height(); ++ry) {
            TColor32* dst = result.ScanLine(ry);
            for (int rx = 0; rx < result.Width(); ++rx) {
                uint32_t sum = 0;
                for (int j = 0; j < factor; ++j) {
                    const TColor32* src = large.PixelPtr(rx * factor, ry * factor + j);
                    for (int i = 0; i < factor; ++i)
                        sum += src[i] & 0xFF;
                }
                dst[rx] = ((sum >> (2 * aaLevel)) << 24) + color;
            }
        }
    }
    result.SetDrawMode(dmBlend);
    result.SetMasterAlpha(alpha);
    result.DrawTo(this, x, y);
}

// ---- Framework graphics ----------------------------------------------------------------------------------------

void TBitmap32::AssignFromBitmap(TBitmap* source)
{
    SetSize(source->Width(), source->Height());
    if (Empty())
        return;
    BitBlt(FHandle, 0, 0, FWidth, FHeight, source->Canvas()->Handle(), 0, 0, SRCCOPY);
    // Only 32-bit pixels carry an alpha byte; the others would come out fully transparent.
    if (source->PixelFormat() != pf32bit)
        ResetAlpha();
}

void TBitmap32::AssignFromGraphic(TGraphic* graphic, int width, int height)
{
    SetSize(width, height);
    if (Empty())
        return;
    {
        TCanvas canvas;
        canvas.SetHandle(FHandle);
        canvas.StretchDraw(TRect { 0, 0, FWidth, FHeight }, graphic);
        canvas.SetHandle(nullptr);
    }
    ResetAlpha();
}

void TBitmap32::CopyToBitmap(TBitmap* dest)
{
    dest->SetHandleType(bmDIB);
    dest->SetPixelFormat(pf32bit);
    dest->SetSize(FWidth, FHeight);
    if (!Empty())
        DrawTo(dest->Canvas()->Handle(), 0, 0);
}

void TBitmap32::AssignTo(TPersistent* dest)
{
    if (auto* picture = dynamic_cast<TPicture*>(dest))
        CopyToBitmap(picture->Bitmap());
    else if (auto* bitmap = dynamic_cast<TBitmap*>(dest))
        CopyToBitmap(bitmap);
    else if (auto* clipboard = dynamic_cast<TClipboard*>(dest)) {
        TBitmap copy;
        CopyToBitmap(&copy);
        clipboard->Assign(&copy);
    } else
        inherited::AssignTo(dest);
}

void TBitmap32::LoadFromStream(TStream& stream)
{
    try {
        TBitmap bitmap;
        bitmap.LoadFromStream(stream);
        Assign(&bitmap);
    } catch (...) {
        Changed();
        throw;
    }
    Changed();
}

void TBitmap32::SaveToStream(TStream& stream)
{
    TBitmap bitmap;
    bitmap.Assign(this);
    bitmap.SaveToStream(stream);
}

void TBitmap32::LoadFromFile(std::string_view fileName)
{
    TPicture picture;
    picture.LoadFromFile(fileName);
    Assign(&picture);
}

void TBitmap32::SaveToFile(std::string_view fileName)
{
    TBitmap bitmap;
    bitmap.Assign(this);
    bitmap.SaveToFile(fileName);
}

// ---- Device contexts -------------------------------------------------------------------------------------------

void TBitmap32::Draw(const TRect& dstRect, const TRect& srcRect, HDC hSrc)
{
    if (Empty())
        return;
    StretchBlt(FHandle, dstRect.Left, dstRect.Top, dstRect.Right - dstRect.Left, dstRect.Bottom - dstRect.Top, hSrc,
        srcRect.Left, srcRect.Top, srcRect.Right - srcRect.Left, srcRect.Bottom - srcRect.Top, SRCCOPY);
    Changed();
}

void TBitmap32::DrawTo(HDC hDst, int dstX, int dstY)
{
    if (Empty())
        return;
    StretchDIBits(
        hDst, dstX, dstY, FWidth, FHeight, 0, 0, FWidth, FHeight, FBits, &FBitmapInfo, DIB_RGB_COLORS, SRCCOPY);
}

void TBitmap32::DrawTo(HDC hDst, const TRect& dstRect, const TRect& srcRect)
{
    if (Empty())
        return;
    StretchDIBits(hDst, dstRect.Left, dstRect.Top, dstRect.Right - dstRect.Left, dstRect.Bottom - dstRect.Top,
        srcRect.Left, srcRect.Top, srcRect.Right - srcRect.Left, srcRect.Bottom - srcRect.Top, FBits, &FBitmapInfo,
        DIB_RGB_COLORS, SRCCOPY);
}

void TBitmap32::TileTo(HDC hDst, const TRect& dstRect, const TRect& srcRect)
{
    const int w = dstRect.Right - dstRect.Left;
    const int h = dstRect.Bottom - dstRect.Top;
    if (w <= 0 || h <= 0)
        return;
    TBitmap32 work;
    for (int y0 = 0; y0 < h; y0 += kTileSize) {
        for (int x0 = 0; x0 < w; x0 += kTileSize) {
            work.SetSize(std::min(x0 + kTileSize, w) - x0, std::min(y0 + kTileSize, h) - y0);
            // The destination rectangle moved so that this tile's corner is the work bitmap's origin.
            const TRect moved { -x0, -y0, w - x0, h - y0 };
            Img32_Transforms::StretchTransfer(
                &work, moved, work.BoundsRect(), this, srcRect, FStretchFilter, FDrawMode, OnPixelCombine);
            work.DrawTo(hDst, dstRect.Left + x0, dstRect.Top + y0);
        }
    }
}

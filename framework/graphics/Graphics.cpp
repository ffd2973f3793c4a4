#include "framework/graphics/Graphics.h"

#include "framework/core/Numbers.h"
#include "framework/graphics/TBitmap.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Windows.h"

#include <atomic>
#include <cstring>

namespace {

constexpr const char* kOutOfResources = "Out of system resources";

// The framework's default font: MS Sans Serif at 8 points.
constexpr const char* kDefaultFontName = "MS Sans Serif";
constexpr int kDefaultFontSize = 8;

} // namespace

int ScreenLogPixels()
{
    static std::atomic<int> cached { 0 };
    int value = cached.load(std::memory_order_relaxed);
    if (value == 0) {
        HDC dc = GetDC(nullptr);
        value = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
        if (dc)
            ReleaseDC(nullptr, dc);
        if (value <= 0)
            value = 96;
        cached.store(value, std::memory_order_relaxed);
    }
    return value;
}

// ---- TGraphicsObject -----------------------------------------------------------------------------------------

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TGraphicsObject::Lock()
{
    if (FOwnerLock)
        FOwnerLock->lock();
}

void TGraphicsObject::Unlock()
{
    if (FOwnerLock)
        FOwnerLock->unlock();
}

// ---- TFont ---------------------------------------------------------------------------------------------------

TFont::TFont()
    : FColor(clWindowText)
    , FName(kDefaultFontName)
    , FPixelsPerInch(ScreenLogPixels())
{
    FHeight = -MulDiv(kDefaultFontSize, FPixelsPerInch, 72);
}

TFont::~TFont()
{
    FreeHandle();
}

void TFont::FreeHandle()
{
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
}

void TFont::Changed()
{
    // The listener (a canvas) deselects the old handle before it is freed: GDI refuses to free a font that is
    // still selected into a DC.
    HFONT old = FHandle;
    FHandle = nullptr;
    inherited::Changed();
    if (old)
        DeleteObject(old);
}

void TFont::Assign(TPersistent* source)
{
    if (auto* font = dynamic_cast<TFont*>(source)) {
        if (font == this)
            return;
        Lock();
        FColor = font->FColor;
        FHeight = font->FHeight;
        FName = font->FName;
        FStyle = font->FStyle;
        FCharset = font->FCharset;
        FPitch = font->FPitch;
        FOrientation = font->FOrientation;
        Unlock();
        Changed();
        return;
    }
    inherited::Assign(source);
}

HFONT TFont::Handle()
{
    Lock();
    if (!FHandle) {
        LOGFONT lf {};
        lf.lfHeight = FHeight;
        lf.lfEscapement = FOrientation;
        lf.lfOrientation = FOrientation;
        lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = FStyle.Contains(fsItalic);
        lf.lfUnderline = FStyle.Contains(fsUnderline);
        lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
        lf.lfCharSet = FCharset;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        lf.lfPitchAndFamily = FPitch == fpFixed ? FIXED_PITCH : FPitch == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
        std::strncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
        FHandle = CreateFontIndirect(&lf);
        if (!FHandle) {
            Unlock();
            throw EOutOfResources(kOutOfResources);
        }
    }
    HFONT handle = FHandle;
    Unlock();
    return handle;
}

void TFont::SetHandle(HFONT value)
{
    if (value == FHandle)
        return;
    LOGFONT lf {};
    if (value && GetObject(value, sizeof(lf), &lf) != static_cast<int>(sizeof(lf)))
        throw EInvalidOperation("Invalid font handle");
    HFONT old = FHandle;
    FHandle = nullptr;
    if (value) {
        lf.lfFaceName[LF_FACESIZE - 1] = '\0';
        FHeight = lf.lfHeight;
        FName = lf.lfFaceName;
        FStyle = TFontStyles();
        if (lf.lfWeight >= FW_BOLD)
            FStyle.Include(fsBold);
        if (lf.lfItalic)
            FStyle.Include(fsItalic);
        if (lf.lfUnderline)
            FStyle.Include(fsUnderline);
        if (lf.lfStrikeOut)
            FStyle.Include(fsStrikeOut);
        FCharset = lf.lfCharSet;
        int pitch = lf.lfPitchAndFamily & 0x03;
        FPitch = pitch == FIXED_PITCH ? fpFixed : pitch == VARIABLE_PITCH ? fpVariable : fpDefault;
        FOrientation = lf.lfEscapement;
    }
    // Tell the canvas first, so the old handle is no longer selected anywhere when it is freed.
    inherited::Changed();
    if (old)
        DeleteObject(old);
    FHandle = value;
}

void TFont::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    // The colour is the DC's text colour, not part of the handle; the canvas still needs to hear of it.
    Changed();
}

void TFont::SetHeight(int value)
{
    if (value == FHeight)
        return;
    FHeight = value;
    Changed();
}

int TFont::Size() const
{
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int value)
{
    SetHeight(-MulDiv(value, FPixelsPerInch, 72));
}

void TFont::SetName(std::string_view value)
{
    if (value.empty() || value == FName)
        return;
    FName = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TFont::SetCharset(TFontCharset value)
{
    if (value == FCharset)
        return;
    FCharset = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value)
{
    if (value == FPitch)
        return;
    FPitch = value;
    Changed();
}

void TFont::SetOrientation(int value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    Changed();
}

// ---- TPen ----------------------------------------------------------------------------------------------------

TPen::~TPen()
{
    FreeHandle();
}

void TPen::FreeHandle()
{
    if (FHandle) {
        DeleteObject(FHandle);
        FHandle = nullptr;
    }
}

void TPen::Changed()
{
    HPEN old = FHandle;
    FHandle = nullptr;
    inherited::Changed();
    if (old)
        DeleteObject(old);
}

void TPen::Assign(TPersistent* source)
{
    if (auto* pen = dynamic_cast<TPen*>(source)) {
        if (pen == this)
            return;
        FColor = pen->FColor;
        FWidth = pen->FWidth;
        FStyle = pen->FStyle;
        FMode = pen->FMode;
        Changed();
        return;
    }
    inherited::Assign(source);
}

HPEN TPen::Handle()
{
    Lock();
    if (!FHandle) {
        static constexpr UINT kStyles[]
            = { PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME };
        FHandle = CreatePen(static_cast<int>(kStyles[FStyle]), FWidth, static_cast<COLORREF>(ColorToRGB(FColor)));
        if (!FHandle) {
            Unlock();
            throw EOutOfResources(kOutOfResources);
        }
    }
    HPEN handle = FHandle;
    Unlock();
    return handle;
}

void TPen::SetColor(TColor value)
{
    if (value == FColor)
        return;
    FColor = value;
    Changed();
}

void TPen::SetWidth(int value)
{
    if (value < 0 || value == FWidth)
        return;
    FWidth = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Changed();
}

void TPen::SetMode(TPenMode value)
{
    if (value == FMode)
        return;
    FMode = value;
    Changed();
}

// ---- TBrush --------------------------------------------------------------------------------------------------

TBrush::~TBrush()
{
    FreeHandle();
}

void TBrush::FreeHandle()
{
    if (FHandle && FOwnsHandle)
        DeleteObject(FHandle);
    FHandle = nullptr;
    FOwnsHandle = false;
}

void TBrush::Changed()
{
    HBRUSH old = FOwnsHandle ? FHandle : nullptr;
    FHandle = nullptr;
    FOwnsHandle = false;
    inherited::Changed();
    if (old)
        DeleteObject(old);
}

void TBrush::Assign(TPersistent* source)
{
    if (auto* brush = dynamic_cast<TBrush*>(source)) {
        if (brush == this)
            return;
        FColor = brush->FColor;
        FStyle = brush->FStyle;
        FBitmap = brush->FBitmap;
        Changed();
        return;
    }
    inherited::Assign(source);
}

HBRUSH TBrush::Handle()
{
    Lock();
    if (!FHandle) {
        COLORREF color = static_cast<COLORREF>(ColorToRGB(FColor));
        bool owns = true;
        HBRUSH handle = nullptr;
        if (FBitmap && !FBitmap->Empty()) {
            handle = CreatePatternBrush(FBitmap->Handle());
        } else {
            switch (FStyle) {
            case bsSolid:
                handle = CreateSolidBrush(color);
                break;
            case bsClear:
                handle = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
                owns = false;
                break;
            default:
                handle = CreateHatchBrush(HS_HORIZONTAL + (FStyle - bsHorizontal), color);
                break;
            }
        }
        if (!handle) {
            Unlock();
            throw EOutOfResources(kOutOfResources);
        }
        FHandle = handle;
        FOwnsHandle = owns;
    }
    HBRUSH handle = FHandle;
    Unlock();
    return handle;
}

void TBrush::SetColor(TColor value)
{
    if (value == FColor && FStyle != bsClear)
        return;
    FColor = value;
    if (FStyle == bsClear)
        FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    // A clear brush forgets its colour, so a later solid style starts from white again.
    if (FStyle == bsClear)
        FColor = clWhite;
    Changed();
}

void TBrush::SetBitmap(TBitmap* value)
{
    if (value == FBitmap)
        return;
    FBitmap = value;
    Changed();
}

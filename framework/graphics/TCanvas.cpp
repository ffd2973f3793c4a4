#include "framework/graphics/TCanvas.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TGraphic.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/PensBrushes.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/Shapes.h"
#include "platform/gdi/Text.h"

#include <vector>

namespace {

constexpr TCanvasState kAllValid { csHandleValid, csFontValid, csPenValid, csBrushValid };

// TPenMode in declaration order as SetROP2 codes.
constexpr int kPenModes[]
    = { R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN,
          R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN, R2_NOTXORPEN };

std::vector<POINT> ToPoints(std::span<const TPoint> points)
{
    std::vector<POINT> result;
    result.reserve(points.size());
    for (const TPoint& p : points)
        result.push_back(POINT { p.X, p.Y });
    return result;
}

} // namespace

TCanvas::TCanvas()
    : FFont(std::make_unique<TFont>())
    , FPen(std::make_unique<TPen>())
    , FBrush(std::make_unique<TBrush>())
{
    FFont->OnChange = [this](TObject* sender) { FontChanged(sender); };
    FPen->OnChange = [this](TObject* sender) { PenChanged(sender); };
    FBrush->OnChange = [this](TObject* sender) { BrushChanged(sender); };
}

TCanvas::~TCanvas()
{
    // Give the DC its stock objects back before the tools free their handles.
    SetHandle(nullptr);
}

HDC TCanvas::Handle()
{
    Changing();
    RequiredState(kAllValid);
    return FHandle;
}

void TCanvas::SetHandle(HDC value)
{
    if (FHandle == value)
        return;
    if (FHandle) {
        DeselectHandles();
        POINT p {};
        if (GetCurrentPositionEx(FHandle, &p))
            FPenPos = TPoint { p.x, p.y };
        FHandle = nullptr;
        FState.Exclude(csHandleValid);
    }
    if (value) {
        FState.Include(csHandleValid);
        FHandle = value;
        MoveToEx(FHandle, FPenPos.X, FPenPos.Y, nullptr);
    }
}

void TCanvas::SetFont(TFont* value)
{
    FFont->Assign(value);
}

void TCanvas::SetPen(TPen* value)
{
    FPen->Assign(value);
}

void TCanvas::SetBrush(TBrush* value)
{
    FBrush->Assign(value);
}

void TCanvas::CreateHandle()
{
}

void TCanvas::RequiredState(TCanvasState required)
{
    TCanvasState needed = required - FState;
    if (needed.Empty())
        return;
    if (needed.Contains(csHandleValid)) {
        CreateHandle();
        if (!FHandle)
            throw EInvalidOperation("Canvas does not allow drawing");
    }
    if (needed.Contains(csFontValid))
        CreateFont();
    if (needed.Contains(csPenValid))
        CreatePen();
    if (needed.Contains(csBrushValid))
        CreateBrush();
    FState += needed;
}

void TCanvas::DeselectHandles()
{
    if (FHandle && !(FState * TCanvasState { csFontValid, csPenValid, csBrushValid }).Empty()) {
        SelectObject(FHandle, GetStockObject(BLACK_PEN));
        SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
        SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
        FState -= TCanvasState { csFontValid, csPenValid, csBrushValid };
    }
}

void TCanvas::CreateFont()
{
    SelectObject(FHandle, FFont->Handle());
    SetTextColor(FHandle, static_cast<COLORREF>(ColorToRGB(FFont->Color())));
}

void TCanvas::CreatePen()
{
    SelectObject(FHandle, FPen->Handle());
    SetROP2(FHandle, kPenModes[FPen->Mode()]);
}

void TCanvas::CreateBrush()
{
    SelectObject(FHandle, FBrush->Handle());
    COLORREF color = static_cast<COLORREF>(ColorToRGB(FBrush->Color()));
    if (FBrush->Style() == bsSolid) {
        SetBkColor(FHandle, color);
        SetBkMode(FHandle, OPAQUE);
    } else {
        // Hatches and text then leave the background alone.
        SetBkColor(FHandle, ~color & 0xFFFFFF);
        SetBkMode(FHandle, TRANSPARENT);
    }
}

void TCanvas::FontChanged(TObject*)
{
    if (FState.Contains(csFontValid)) {
        FState.Exclude(csFontValid);
        SelectObject(FHandle, GetStockObject(SYSTEM_FONT));
    }
}

void TCanvas::PenChanged(TObject*)
{
    if (FState.Contains(csPenValid)) {
        FState.Exclude(csPenValid);
        SelectObject(FHandle, GetStockObject(BLACK_PEN));
    }
}

void TCanvas::BrushChanged(TObject*)
{
    if (FState.Contains(csBrushValid)) {
        FState.Exclude(csBrushValid);
        SelectObject(FHandle, GetStockObject(HOLLOW_BRUSH));
    }
}

void TCanvas::Refresh()
{
    DeselectHandles();
}

void TCanvas::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TCanvas::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

TPoint TCanvas::PenPos()
{
    RequiredState({ csHandleValid });
    POINT p {};
    GetCurrentPositionEx(FHandle, &p);
    return TPoint { p.x, p.y };
}

TRect TCanvas::ClipRect()
{
    RequiredState({ csHandleValid });
    RECT r {};
    GetClipBox(FHandle, &r);
    return FromRECT(r);
}

TColor TCanvas::Pixels(int x, int y)
{
    RequiredState({ csHandleValid });
    return static_cast<TColor>(GetPixel(FHandle, x, y));
}

void TCanvas::SetPixels(int x, int y, TColor value)
{
    Changing();
    RequiredState({ csHandleValid, csPenValid });
    SetPixel(FHandle, x, y, static_cast<COLORREF>(ColorToRGB(value)));
    Changed();
}

void TCanvas::MoveTo(int x, int y)
{
    RequiredState({ csHandleValid });
    MoveToEx(FHandle, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y)
{
    Changing();
    RequiredState({ csHandleValid, csPenValid, csBrushValid });
    ::LineTo(FHandle, x, y);
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    Changing();
    RequiredState({ csHandleValid, csPenValid, csBrushValid });
    ::Rectangle(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    Changing();
    RequiredState({ csHandleValid, csPenValid, csBrushValid });
    ::RoundRect(FHandle, x1, y1, x2, y2, x3, y3);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    Changing();
    RequiredState({ csHandleValid, csPenValid, csBrushValid });
    ::Ellipse(FHandle, x1, y1, x2, y2);
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points)
{
    Changing();
    RequiredState({ csHandleValid, csPenValid, csBrushValid });
    std::vector<POINT> p = ToPoints(points);
    ::Polygon(FHandle, p.data(), static_cast<int>(p.size()));
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points)
{
    Changing();
    RequiredState({ csHandleValid, csPenValid, csBrushValid });
    std::vector<POINT> p = ToPoints(points);
    ::Polyline(FHandle, p.data(), static_cast<int>(p.size()));
    Changed();
}

void TCanvas::FillRect(const TRect& rect)
{
    Changing();
    RequiredState({ csHandleValid, csBrushValid });
    RECT r = ToRECT(rect);
    ::FillRect(FHandle, &r, FBrush->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& rect)
{
    Changing();
    RequiredState({ csHandleValid, csBrushValid });
    RECT r = ToRECT(rect);
    ::FrameRect(FHandle, &r, FBrush->Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect)
{
    Changing();
    RequiredState({ csHandleValid, csBrushValid });
    RECT r = ToRECT(rect);
    ::DrawFocusRect(FHandle, &r);
    Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text)
{
    Changing();
    RequiredState({ csHandleValid, csFontValid, csBrushValid });
    ExtTextOut(FHandle, x, y, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    MoveTo(x + TextWidth(text), y);
    Changed();
}

void TCanvas::TextRect(const TRect& rect, int x, int y, std::string_view text)
{
    Changing();
    RequiredState({ csHandleValid, csFontValid, csBrushValid });
    UINT options = ETO_CLIPPED;
    if (FBrush->Style() != bsClear)
        options |= ETO_OPAQUE;
    RECT r = ToRECT(rect);
    ExtTextOut(FHandle, x, y, options, &r, text.data(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

TSize TCanvas::TextExtent(std::string_view text)
{
    RequiredState({ csHandleValid, csFontValid });
    SIZE size {};
    GetTextExtentPoint32(FHandle, text.data(), static_cast<int>(text.size()), &size);
    return TSize { size.cx, size.cy };
}

void TCanvas::Draw(int x, int y, TGraphic* graphic)
{
    if (!graphic || graphic->Empty())
        return;
    Changing();
    RequiredState({ csHandleValid });
    SetBkColor(FHandle, static_cast<COLORREF>(ColorToRGB(FBrush->Color())));
    graphic->Draw(this, Bounds(x, y, graphic->Width(), graphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic)
{
    if (!graphic)
        return;
    Changing();
    RequiredState(kAllValid);
    graphic->Draw(this, rect);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source)
{
    if (!canvas)
        return;
    Changing();
    RequiredState({ csHandleValid, csFontValid, csBrushValid });
    canvas->RequiredState({ csHandleValid, csBrushValid });
    StretchBlt(FHandle, dest.Left, dest.Top, dest.Right - dest.Left, dest.Bottom - dest.Top, canvas->FHandle,
        source.Left, source.Top, source.Right - source.Left, source.Bottom - source.Top, static_cast<DWORD>(FCopyMode));
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& source, TColor color)
{
    if (!bitmap || bitmap->Empty())
        return;
    Changing();
    RequiredState({ csHandleValid, csBrushValid });
    // The brush goes under the whole rectangle; the bitmap then covers it everywhere but where it has `color`.
    RECT r = ToRECT(dest);
    ::FillRect(FHandle, &r, FBrush->Handle());
    HDC sourceDC = bitmap->Canvas()->Handle();
    TransparentBlt(FHandle, dest.Left, dest.Top, dest.Right - dest.Left, dest.Bottom - dest.Top, sourceDC, source.Left,
        source.Top, source.Right - source.Left, source.Bottom - source.Top,
        static_cast<COLORREF>(ColorToRGB(color)) & 0xFFFFFF);
    Changed();
}

void TCanvas::Lock()
{
    FLock.lock();
    ++FLockCount;
}

bool TCanvas::TryLock()
{
    if (!FLock.try_lock())
        return false;
    ++FLockCount;
    return true;
}

void TCanvas::Unlock()
{
    --FLockCount;
    FLock.unlock();
}

#include "imaging/TImage32.h"

#include "framework/controls/TScreen.h"
#include "framework/core/Numbers.h"
#include "framework/core/TList.h"
#include "framework/graphics/TCanvas.h"
#include "imaging/Img32.h"
#include "imaging/TBitmap32.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/Shapes.h"

#include <algorithm>

PPaintStage TPaintStages::Add()
{
    FStages.push_back(TPaintStage { false, true, 0, 0 });
    return &FStages.back();
}

PPaintStage TPaintStages::Insert(int index)
{
    index = std::clamp(index, 0, Count());
    auto at = FStages.insert(FStages.begin() + index, TPaintStage { false, true, 0, 0 });
    return &*at;
}

void TPaintStages::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EListError("Invalid stage index");
    FStages.erase(FStages.begin() + index);
}

TCustomImage32::TCustomImage32(TComponent* owner)
    : inherited(owner)
{
    SetControlStyle(TControlStyle { csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque,
        csReplicatable });
    FBitmap = std::make_unique<TBitmap32>();
    FBitmap->OnChange = [this](TObject*) { Changed(); };
    FBitmap->OnResize = [this](TObject*) { BitmapResized(); };
    FLayers = std::make_unique<TLayerCollection>(this);
    FLayers->SetMapping(&FMapping);
    FLayers->OnChange = [this](TObject*) { Changed(); };
    // A GDI update only re-copies the buffer and the overlay; the buffer is rendered again only if stale.
    FLayers->OnGDIUpdate = [this](TObject*) {
        if (HandleAllocated())
            Paint();
    };
    FPaintStages = std::make_unique<TPaintStages>();
    FScale = 1.0f;
    InitDefaultStages();
}

TCustomImage32::~TCustomImage32()
{
    // No change notification may reach a half-destroyed control.
    BeginUpdate();
    FPaintStages.reset();
    FLayers->OnChange = nullptr;
    FLayers->OnGDIUpdate = nullptr;
    FLayers.reset();
    FBitmap->OnChange = nullptr;
    FBitmap->OnResize = nullptr;
    FBitmap.reset();
}

bool TCustomImage32::Designing() const
{
    return ComponentState().Contains(csDesigning);
}

void TCustomImage32::InitDefaultStages()
{
    auto add = [this](bool atDesignTime, bool atRunTime, uint32_t code, uint32_t param) {
        PPaintStage stage = FPaintStages->Add();
        *stage = TPaintStage { atDesignTime, atRunTime, code, param };
    };
    add(true, true, stageClearBackground, 0);
    add(true, false, stageControlFrame, 0);
    add(true, true, stageDrawBitmap, 0);
    add(true, false, stageBitmapFrame, 0);
    add(true, true, stageDrawLayers, loVisible);
}

void TCustomImage32::SetBitmap(TBitmap32* value)
{
    InvalidateCache();
    FBitmap->Assign(value);
}

void TCustomImage32::SetBitmapAlign(TBitmapAlign value)
{
    InvalidateCache();
    FBitmapAlign = value;
    Changed();
}

void TCustomImage32::SetLayers(TLayerCollection* value)
{
    FLayers->Assign(value);
}

void TCustomImage32::SetOffsetHorz(float value)
{
    if (value == FOffsetHorz)
        return;
    InvalidateCache();
    FOffsetHorz = value;
    Changed();
}

void TCustomImage32::SetOffsetVert(float value)
{
    if (value == FOffsetVert)
        return;
    InvalidateCache();
    FOffsetVert = value;
    Changed();
}

void TCustomImage32::SetScale(float value)
{
    value = std::max(value, 0.001f);
    if (value == FScale)
        return;
    InvalidateCache();
    FScale = value;
    DoScaleChange();
    Changed();
}

void TCustomImage32::SetScaleMode(TScaleMode value)
{
    if (value == FScaleMode)
        return;
    InvalidateCache();
    FScaleMode = value;
    Changed();
}

const TPixelCombineEvent& TCustomImage32::OnPixelCombine() const
{
    return FBitmap->OnPixelCombine;
}

void TCustomImage32::SetOnPixelCombine(TPixelCombineEvent value)
{
    FBitmap->OnPixelCombine = std::move(value);
    Changed();
}

TSize TCustomImage32::GetBitmapSize()
{
    const int bw = FBitmap->Width();
    const int bh = FBitmap->Height();
    if (FBitmap->Empty() || Width() == 0 || Height() == 0)
        return TSize { 0, 0 };
    TSize size { bw, bh };
    switch (FScaleMode) {
    case smNormal:
        break;
    case smStretch:
        size = TSize { Width(), Height() };
        break;
    case smScale:
        size = TSize { int(Round(double(bw) * FScale)), int(Round(double(bh) * FScale)) };
        break;
    case smResize: {
        const float sx = float(Width()) / float(bw);
        const float sy = float(Height()) / float(bh);
        if (sx >= sy)
            size = TSize { int(Round(double(bw) * sy)), Height() };
        else
            size = TSize { Width(), int(Round(double(bh) * sx)) };
        break;
    }
    }
    size.cx = std::max(size.cx, 0);
    size.cy = std::max(size.cy, 0);
    return size;
}

TRect TCustomImage32::GetBitmapRect()
{
    if (FBitmap->Empty())
        return TRect { 0, 0, 0, 0 };
    const TSize size = GetBitmapSize();
    TRect r { 0, 0, size.cx, size.cy };
    int dx = 0;
    int dy = 0;
    switch (FBitmapAlign) {
    case baTopLeft:
    case baTile:
        break;
    case baCenter:
        // Truncating division: a bitmap larger than the control moves left and up by half the excess.
        dx = (Width() - size.cx) / 2;
        dy = (Height() - size.cy) / 2;
        break;
    case baCustom:
        dx = int(Round(FOffsetHorz));
        dy = int(Round(FOffsetVert));
        break;
    }
    return TRect { r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy };
}

void TCustomImage32::UpdateCache()
{
    if (FMappingValid)
        return;
    FCachedBitmapRect = GetBitmapRect();
    const TRect& r = FCachedBitmapRect;
    const int rw = r.Right - r.Left;
    const int rh = r.Bottom - r.Top;
    if (FBitmap->Empty() || rw == 0 || rh == 0) {
        FMapping = TImageMapping {};
    } else {
        const int bw = FBitmap->Width();
        const int bh = FBitmap->Height();
        FMapping.OriginX = r.Left;
        FMapping.OriginY = r.Top;
        FMapping.ScaleX = MulDiv(rw, 65536, bw);
        FMapping.ScaleY = MulDiv(rh, 65536, bh);
        FMapping.InverseScaleX = MulDiv(bw, 65536, rw);
        FMapping.InverseScaleY = MulDiv(bh, 65536, rh);
    }
    FMappingValid = true;
}

const TImageMapping& TCustomImage32::Mapping()
{
    UpdateCache();
    return FMapping;
}

// The products are taken in 64 bits: a zoomed or large picture would overflow 32-bit ones.
TPoint TCustomImage32::BitmapToControl(const TPoint& p)
{
    UpdateCache();
    return TPoint { int(int64_t(p.X) * FMapping.ScaleX / 65536 + FMapping.OriginX),
        int(int64_t(p.Y) * FMapping.ScaleY / 65536 + FMapping.OriginY) };
}

TPoint TCustomImage32::ControlToBitmap(const TPoint& p)
{
    UpdateCache();
    return TPoint { int(int64_t(p.X - FMapping.OriginX) * FMapping.InverseScaleX / 65536),
        int(int64_t(p.Y - FMapping.OriginY) * FMapping.InverseScaleY / 65536) };
}

void TCustomImage32::ExecStage(int index, TBitmap32* dest)
{
    switch (FPaintStages->Items(index)->Code) {
    case stageCustom:
        ExecCustom(dest, index);
        break;
    case stageClearBuffer:
        ExecClearBuffer(dest, index);
        break;
    case stageClearBackground:
        ExecClearBackgnd(dest, index);
        break;
    case stageDrawBitmap:
        ExecDrawBitmap(dest, index);
        break;
    case stageDrawLayers:
        ExecDrawLayers(dest, index);
        break;
    case stageControlFrame:
        ExecControlFrame(dest, index);
        break;
    case stageBitmapFrame:
        ExecBitmapFrame(dest, index);
        break;
    default:
        break;
    }
}

void TCustomImage32::DoPaintBuffer()
{
    UpdateCache();
    const bool designing = Designing();
    for (int i = 0; i < FPaintStages->Count(); ++i) {
        const TPaintStage& stage = *FPaintStages->Items(i);
        if (designing ? stage.AtDesignTime : stage.AtRunTime)
            ExecStage(i, Buffer());
    }
    inherited::DoPaintBuffer();
}

bool TCustomImage32::RendersBitmapOnly()
{
    if (Designing() || FBitmap->Empty() || FBitmap->DrawMode() != dmOpaque || FBitmapAlign == baTile)
        return false;
    UpdateCache();
    const TRect& r = FCachedBitmapRect;
    const TRect viewport = GetViewportRect();
    if (r.Left != 0 || r.Top != 0 || r.Right != FBitmap->Width() || r.Bottom != FBitmap->Height()
        || r.Right < viewport.Right - viewport.Left || r.Bottom < viewport.Bottom - viewport.Top)
        return false;
    bool drawsBitmap = false;
    for (int i = 0; i < FPaintStages->Count(); ++i) {
        const TPaintStage& stage = *FPaintStages->Items(i);
        if (!stage.AtRunTime)
            continue;
        switch (stage.Code) {
        case stageDrawBitmap:
            drawsBitmap = true;
            break;
        case stageClearBackground:
            // A covering opaque bitmap leaves no background to clear.
            break;
        case stageDrawLayers:
            for (int j = 0; j < FLayers->Count(); ++j)
                if (FLayers->Items(j)->LayerOptions() & stage.Param)
                    return false;
            break;
        case stageCustom:
        case stageClearBuffer:
        case stageControlFrame:
        case stageBitmapFrame:
            return false;
        default:
            break;
        }
    }
    return drawsBitmap;
}

bool TCustomImage32::PaintDirect(HDC dc)
{
    FPaintedDirect = false;
    if (!RendersBitmapOnly())
        return false;
    const TRect viewport = GetViewportRect();
    FBitmap->Lock();
    try {
        BitBlt(dc, viewport.Left, viewport.Top, viewport.Right - viewport.Left, viewport.Bottom - viewport.Top,
            FBitmap->Handle(), 0, 0, SRCCOPY);
    } catch (...) {
        FBitmap->Unlock();
        throw;
    }
    FBitmap->Unlock();
    FPaintedDirect = true;
    return true;
}

void TCustomImage32::PrepareFlush()
{
    if (FPaintedDirect && !FBufferValid)
        DoPaintBuffer();
    FPaintedDirect = false;
}

void TCustomImage32::ExecClearBuffer(TBitmap32* dest, int)
{
    dest->Clear(Img32::Color32(Color()));
}

void TCustomImage32::ExecClearBackgnd(TBitmap32* dest, int)
{
    const TColor32 c = Img32::Color32(Color());
    if (FBitmap->Empty() || FBitmap->DrawMode() != dmOpaque) {
        dest->Clear(c);
        return;
    }
    const TRect& r = FCachedBitmapRect;
    const int w = Width();
    const int h = Height();
    if (FBitmapAlign != baTile && (r.Left > 0 || r.Right < w || r.Top > 0 || r.Bottom < h)) {
        dest->FillRectS(0, 0, w, r.Top, c);
        dest->FillRectS(0, r.Bottom, w, h, c);
        dest->FillRectS(0, r.Top, r.Left, r.Bottom, c);
        dest->FillRectS(r.Right, r.Top, w, r.Bottom, c);
    }
}

void TCustomImage32::ExecDrawBitmap(TBitmap32* dest, int)
{
    const TRect& r = FCachedBitmapRect;
    if (FBitmap->Empty() || r.Right - r.Left <= 0 || r.Bottom - r.Top <= 0)
        return;
    FBitmap->Lock();
    try {
        if (FBitmapAlign != baTile) {
            FBitmap->DrawTo(dest, r);
        } else {
            // Tiles of the bitmap rectangle's size, which starts at (0, 0) in this mode.
            const int tw = r.Right;
            const int th = r.Bottom;
            for (int j = 0; j <= dest->Height() / th; ++j)
                for (int i = 0; i <= dest->Width() / tw; ++i)
                    FBitmap->DrawTo(dest, TRect { i * tw, j * th, i * tw + tw, j * th + th });
        }
    } catch (...) {
        FBitmap->Unlock();
        throw;
    }
    FBitmap->Unlock();
}

void TCustomImage32::ExecDrawLayers(TBitmap32* dest, int stageNum)
{
    const uint32_t mask = FPaintStages->Items(stageNum)->Param;
    for (int i = 0; i < FLayers->Count(); ++i) {
        TCustomLayer* layer = FLayers->Items(i);
        if (layer->LayerOptions() & mask)
            layer->DoPaint(dest);
    }
}

void TCustomImage32::ExecControlFrame(TBitmap32* dest, int)
{
    const RECT r { 0, 0, Width(), Height() };
    DrawFocusRect(dest->Handle(), &r);
}

void TCustomImage32::ExecBitmapFrame(TBitmap32* dest, int)
{
    const RECT r { FCachedBitmapRect.Left, FCachedBitmapRect.Top, FCachedBitmapRect.Right, FCachedBitmapRect.Bottom };
    DrawFocusRect(dest->Handle(), &r);
}

void TCustomImage32::ExecCustom(TBitmap32* dest, int stageNum)
{
    if (OnPaintStage)
        OnPaintStage(this, dest, uint32_t(stageNum));
}

void TCustomImage32::PaintTo(TBitmap32* dest, const TRect& destRect)
{
    FCachedBitmapRect = destRect;
    const int rw = destRect.Right - destRect.Left;
    const int rh = destRect.Bottom - destRect.Top;
    if (rw < 1 || rh < 1 || FBitmap->Empty()) {
        FMapping = TImageMapping {};
    } else {
        const int bw = FBitmap->Width();
        const int bh = FBitmap->Height();
        FMapping.OriginX = destRect.Left;
        FMapping.OriginY = destRect.Top;
        FMapping.ScaleX = MulDiv(rw, 65536, bw);
        FMapping.ScaleY = MulDiv(rh, 65536, bh);
        FMapping.InverseScaleX = MulDiv(bw, 65536, rw);
        FMapping.InverseScaleY = MulDiv(bh, 65536, rh);
    }
    FMappingValid = true;
    FPaintingTo = true;
    try {
        for (int i = 0; i < FPaintStages->Count(); ++i)
            if (FPaintStages->Items(i)->AtRunTime)
                ExecStage(i, dest);
    } catch (...) {
        FPaintingTo = false;
        FMappingValid = false;
        throw;
    }
    FPaintingTo = false;
    FMappingValid = false;
}

void TCustomImage32::DoPaintGDIOverlay()
{
    for (int i = 0; i < FLayers->Count(); ++i) {
        TCustomLayer* layer = FLayers->Items(i);
        if (layer->LayerOptions() & loGDIOverlay)
            layer->PaintGDI(Canvas());
    }
    inherited::DoPaintGDIOverlay();
}

void TCustomImage32::SetupBitmap(bool doClear, TColor32 clearColor)
{
    FBitmap->BeginUpdate();
    try {
        const TRect viewport = GetViewportRect();
        FBitmap->SetSize(viewport.Right - viewport.Left, viewport.Bottom - viewport.Top);
        if (doClear)
            FBitmap->Clear(clearColor);
    } catch (...) {
        FBitmap->EndUpdate();
        throw;
    }
    FBitmap->EndUpdate();
    InvalidateCache();
    Changed();
}

void TCustomImage32::BeginUpdate()
{
    ++FUpdateCount;
}

void TCustomImage32::EndUpdate()
{
    --FUpdateCount;
    if (FUpdateCount < 0)
        throw EAssertionFailed("Unpaired EndUpdate call");
}

void TCustomImage32::Changed()
{
    if (FUpdateCount != 0)
        return;
    Invalidate();
    if (OnChange)
        OnChange(this);
}

void TCustomImage32::Invalidate()
{
    FBufferValid = false;
    InvalidateCache();
    inherited::Invalidate();
}

void TCustomImage32::Loaded()
{
    inherited::Loaded();
    DoInitStages();
}

void TCustomImage32::DoInitStages()
{
    if (OnInitStages)
        OnInitStages(this);
}

void TCustomImage32::DoScaleChange()
{
}

TSize TCustomImage32::AutoSizeOf() const
{
    int w = FBitmap->Width();
    int h = FBitmap->Height();
    if (FScaleMode == smScale) {
        w = int(Round(double(w) * FScale));
        h = int(Round(double(h) * FScale));
    }
    return TSize { w, h };
}

void TCustomImage32::BitmapResized()
{
    if (AutoSize()) {
        const TSize size = AutoSizeOf();
        if (size.cx > 0 && size.cy > 0)
            SetBounds(Left(), Top(), size.cx, size.cy);
    }
    if (FUpdateCount == 0 && OnBitmapResize)
        OnBitmapResize(this);
    InvalidateCache();
    Invalidate();
}

bool TCustomImage32::CanAutoSize(int& newWidth, int& newHeight)
{
    InvalidateCache();
    const TSize size = AutoSizeOf();
    if (!Designing() || (size.cx > 0 && size.cy > 0)) {
        const TAlign align = Align();
        if (align == alNone || align == alLeft || align == alRight)
            newWidth = size.cx;
        if (align == alNone || align == alTop || align == alBottom)
            newHeight = size.cy;
    }
    return true;
}

void TCustomImage32::Resize()
{
    InvalidateCache();
    inherited::Resize();
}

void TCustomImage32::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (TabStop() && CanFocus())
        SetFocus();
    TCustomLayer* layer = FLayers->MouseEvents() ? FLayers->MouseDown(button, shift, x, y) : nullptr;
    // The capture is kept for a left press, or while a layer listens to the mouse.
    if (button == mbLeft || FLayers->MouseListener())
        SetMouseCapture(true);
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y, layer);
}

void TCustomImage32::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    TCustomLayer* layer = FLayers->MouseEvents() ? FLayers->MouseMove(shift, x, y) : nullptr;
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y, layer);
}

void TCustomImage32::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomLayer* layer = FLayers->MouseEvents() ? FLayers->MouseUp(button, shift, x, y) : nullptr;
    if (button == mbLeft && !FLayers->MouseListener())
        SetMouseCapture(false);
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y, layer);
}

void TCustomImage32::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_MOUSEENTER:
        if (OnMouseEnter)
            OnMouseEnter(this);
        inherited::WndProc(message);
        break;
    case CM_MOUSELEAVE:
        if (FLayers->MouseEvents() && !FLayers->MouseListener())
            Screen->SetCursor(crDefault);
        if (OnMouseLeave)
            OnMouseLeave(this);
        inherited::WndProc(message);
        break;
    default:
        inherited::WndProc(message);
    }
}

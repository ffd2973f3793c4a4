#include "imaging/TRubberbandLayer.h"

#include "framework/controls/TScreen.h"
#include "imaging/Img32.h"
#include "imaging/TBitmap32.h"

#include <cmath>
#include <cstdlib>

namespace {

TCursor CursorOf(TDragState state)
{
    switch (state) {
    case dsSizeL:
    case dsSizeR:
        return crSizeWE;
    case dsSizeT:
    case dsSizeB:
        return crSizeNS;
    case dsSizeTL:
    case dsSizeBR:
        return crSizeNWSE;
    case dsSizeTR:
    case dsSizeBL:
        return crSizeNESW;
    default:
        return crDefault;
    }
}

// After the low edge moved: at least `minimum` apart, and at most `maximum` when that is not below the minimum.
void LimitLow(float& low, float high, float minimum, float maximum)
{
    if (high - low < minimum)
        low = high - minimum;
    if (maximum >= minimum && high - low > maximum)
        low = high - maximum;
}

void LimitHigh(float low, float& high, float minimum, float maximum)
{
    if (high - low < minimum)
        high = low + minimum;
    if (maximum >= minimum && high - low > maximum)
        high = low + maximum;
}

bool SameRect(const TFloatRect& a, const TFloatRect& b)
{
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

} // namespace

TRubberbandLayer::TRubberbandLayer(TLayerCollection* layerCollection)
    : inherited(layerCollection)
{
    FLayerOptions = loVisible | loMouseEvents;
}

TRubberbandLayer::~TRubberbandLayer()
{
    // The child lives on, but must not tell a destroyed rubber band about its own end.
    if (FChildLayer)
        FChildLayer->RemoveNotification(this);
}

TCustomLayer* TRubberbandLayer::NewOfSameClass(TLayerCollection* layerCollection) const
{
    return new TRubberbandLayer(layerCollection);
}

void TRubberbandLayer::SetChildLayer(TPositionedLayer* value)
{
    if (FChildLayer)
        FChildLayer->RemoveNotification(this);
    FChildLayer = value;
    if (value) {
        SetLocation(value->Location());
        SetScaled(value->Scaled());
        value->AddNotification(this);
    }
    UpdateChildLayer();
}

// With a child the rubber band's own changes stay silent: the child's location changes repaint.
void TRubberbandLayer::UpdateChildLayer()
{
    const uint32_t options = FChildLayer ? FLayerOptions | loNoUpdate : FLayerOptions & ~loNoUpdate;
    if (options != FLayerOptions)
        SetLayerOptions(options);
}

void TRubberbandLayer::Notification(TCustomLayer* layer)
{
    if (layer == FChildLayer) {
        FChildLayer = nullptr;
        FLayerOptions &= ~loNoUpdate;
    }
}

void TRubberbandLayer::RequestGDIUpdate()
{
    if (LayerCollection())
        LayerCollection()->GDIUpdate();
}

void TRubberbandLayer::SetHandleFrame(TColor32 value)
{
    if (value == FHandleFrame)
        return;
    FHandleFrame = value;
    RequestGDIUpdate();
}

void TRubberbandLayer::SetHandleFill(TColor32 value)
{
    if (value == FHandleFill)
        return;
    FHandleFill = value;
    RequestGDIUpdate();
}

void TRubberbandLayer::SetHandles(TRBHandles value)
{
    if (value == FHandles)
        return;
    FHandles = value;
    RequestGDIUpdate();
}

void TRubberbandLayer::SetHandleSize(int value)
{
    if (value < 1)
        value = 1;
    if (value == FHandleSize)
        return;
    FHandleSize = value;
    RequestGDIUpdate();
}

void TRubberbandLayer::DoSetLocation(const TFloatRect& value)
{
    inherited::DoSetLocation(value);
    if (FChildLayer)
        FChildLayer->SetLocation(value);
}

TDragState TRubberbandLayer::GetDragState(int x, int y)
{
    const int d = FHandleSize + 1;
    TRect r = Img32::MakeRect(GetAdjustedLocation(), rrClosest);
    --r.Right;
    --r.Bottom;
    const bool nearL = std::abs(r.Left - x) <= d;
    const bool nearR = std::abs(r.Right - x) <= d;
    const bool nearCx = std::abs((r.Left + r.Right) / 2 - x) <= d;
    const bool nearT = std::abs(r.Top - y) <= d;
    const bool nearB = std::abs(r.Bottom - y) <= d;
    const bool nearCy = std::abs((r.Top + r.Bottom) / 2 - y) <= d;
    if (FHandles.Contains(rhCorners)) {
        if (nearR && nearB)
            return dsSizeBR;
        if (nearL && nearB)
            return dsSizeBL;
        if (nearR && nearT)
            return dsSizeTR;
        if (nearL && nearT)
            return dsSizeTL;
    }
    if (FHandles.Contains(rhSides)) {
        if (nearR && nearCy)
            return dsSizeR;
        if (nearB && nearCx)
            return dsSizeB;
        if (nearL && nearCy)
            return dsSizeL;
        if (nearT && nearCx)
            return dsSizeT;
    }
    if (FHandles.Contains(rhCenter) && r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom)
        return dsMove;
    return dsNone;
}

bool TRubberbandLayer::DoHitTest(int x, int y)
{
    return GetDragState(x, y) != dsNone;
}

void TRubberbandLayer::DoResizing(
    const TFloatRect& oldLocation, TFloatRect& newLocation, TDragState dragState, TShiftState shift)
{
    if (OnResizing)
        OnResizing(this, oldLocation, newLocation, dragState, shift);
}

void TRubberbandLayer::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FIsDragging)
        return;
    FDragState = GetDragState(x, y);
    FIsDragging = FDragState != dsNone;
    if (FIsDragging) {
        FOldLocation = FLocation;
        if (FDragState == dsMove) {
            const TFloatRect a = GetAdjustedLocation();
            FMouseShiftX = x - a.Left;
            FMouseShiftY = y - a.Top;
        } else {
            FMouseShiftX = 0;
            FMouseShiftY = 0;
        }
    }
    inherited::MouseDown(button, shift, x, y);
}

void TRubberbandLayer::MouseMove(TShiftState shift, int x, int y)
{
    if (!FIsDragging) {
        FDragState = GetDragState(x, y);
        Screen->SetCursor(FDragState == dsMove ? Cursor() : CursorOf(FDragState));
        return;
    }
    float mx = x - FMouseShiftX;
    float my = y - FMouseShiftY;
    if (FScaled) {
        const TFloatRect a = GetAdjustedLocation();
        if (a.Right - a.Left == 0 || a.Bottom - a.Top == 0)
            return;
        mx = (mx - a.Left) / (a.Right - a.Left) * (FLocation.Right - FLocation.Left) + FLocation.Left;
        my = (my - a.Top) / (a.Bottom - a.Top) * (FLocation.Bottom - FLocation.Top) + FLocation.Top;
    }
    float l = FOldLocation.Left;
    float t = FOldLocation.Top;
    float r = FOldLocation.Right;
    float b = FOldLocation.Bottom;
    const float w = r - l;
    const float h = b - t;
    if (FDragState == dsMove) {
        l = mx;
        t = my;
        r = l + w;
        b = t + h;
    } else {
        if (FDragState == dsSizeL || FDragState == dsSizeTL || FDragState == dsSizeBL) {
            l = mx;
            LimitLow(l, r, MinWidth, MaxWidth);
        }
        if (FDragState == dsSizeR || FDragState == dsSizeTR || FDragState == dsSizeBR) {
            r = mx;
            LimitHigh(l, r, MinWidth, MaxWidth);
        }
        if (FDragState == dsSizeT || FDragState == dsSizeTL || FDragState == dsSizeTR) {
            t = my;
            LimitLow(t, b, MinHeight, MaxHeight);
        }
        if (FDragState == dsSizeB || FDragState == dsSizeBL || FDragState == dsSizeBR) {
            b = my;
            LimitHigh(t, b, MinHeight, MaxHeight);
        }
    }
    TFloatRect newLocation { l, t, r, b };
    DoResizing(FOldLocation, newLocation, FDragState, shift);
    if (!SameRect(newLocation, FLocation)) {
        SetLocation(newLocation);
        if (OnUserChange)
            OnUserChange(this);
    }
}

void TRubberbandLayer::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    FIsDragging = false;
    inherited::MouseUp(button, shift, x, y);
}

void TRubberbandLayer::Paint(TBitmap32* buffer)
{
    const TRect r = Img32::MakeRect(GetAdjustedLocation(), rrClosest);
    if (FHandles.Contains(rhFrame)) {
        buffer->SetStipple({ 0xFFFFFFFF, 0xFFFFFFFF, 0xFF000000, 0xFF000000 });
        buffer->StippleCounter = 0;
        buffer->StippleStep = 1.0f;
        buffer->FrameRectTSP(r.Left, r.Top, r.Right, r.Bottom);
    }
    const int s = FHandleSize;
    auto handle = [&](int x, int y) {
        buffer->FillRectS(x - s, y - s, x + s, y + s, FHandleFill);
        buffer->FrameRectS(x - s, y - s, x + s, y + s, FHandleFrame);
    };
    if (FHandles.Contains(rhCorners)) {
        handle(r.Left, r.Top);
        handle(r.Right, r.Top);
        handle(r.Left, r.Bottom);
        handle(r.Right, r.Bottom);
    }
    if (FHandles.Contains(rhSides)) {
        const int cx = (r.Left + r.Right) / 2;
        const int cy = (r.Top + r.Bottom) / 2;
        handle(cx, r.Top);
        handle(r.Left, cy);
        handle(r.Right, cy);
        handle(cx, r.Bottom);
    }
}

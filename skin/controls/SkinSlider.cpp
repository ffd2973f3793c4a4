#include "skin/controls/SkinSlider.h"

#include "framework/controls/Messages.h"
#include "framework/core/Streams.h"
#include "framework/core/TFiler.h"
#include "framework/core/Numbers.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Timers.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"

#include <algorithm>

using namespace SPUtils;

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatInterval = 400;
// The ruler and thumb stand this far inside the slider rectangle.
constexpr int kMargin = 6;

int RectW(const TRect& r)
{
    return r.Right - r.Left;
}

int RectH(const TRect& r)
{
    return r.Bottom - r.Top;
}

void Fill(TCanvas* canvas, const TRect& r, TColor color)
{
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(color);
    canvas->FillRect(r);
}

// A raised knob of `w` x `h` at x; the pressed state is darker.
void DrawKnob(TCanvas* canvas, int x, int w, int h, bool pressed)
{
    Fill(canvas, Rect(x, 0, x + w, h), clFuchsia);
    const TRect body = Rect(x + 1, 1, x + w - 1, h - 1);
    Fill(canvas, body, pressed ? clBtnShadow : clBtnFace);
    Frm3D(canvas, body, clBtnHighlight, clBlack);
}

} // namespace

void LoadSliderPicture(TBitmap* bitmap, TspSliderImage index)
{
    TCanvas* canvas = nullptr;
    switch (index) {
    case siHThumb:
    case siVThumb: {
        // Two states side by side on a fuchsia ground: normal, pressed.
        const bool h = index == siHThumb;
        bitmap->SetSize(h ? 18 : 38, h ? 17 : 9);
        canvas = bitmap->Canvas();
        const int w = bitmap->Width() / 2;
        DrawKnob(canvas, 0, w, bitmap->Height(), false);
        DrawKnob(canvas, w, w, bitmap->Height(), true);
        break;
    }
    case siHRuler:
    case siVRuler: {
        // A sunken groove on a fuchsia ground.
        const bool h = index == siHRuler;
        bitmap->SetSize(h ? 10 : 8, h ? 8 : 10);
        canvas = bitmap->Canvas();
        Fill(canvas, Rect(0, 0, bitmap->Width(), bitmap->Height()), clFuchsia);
        const TRect groove = h ? Rect(0, 2, 10, 6) : Rect(2, 0, 6, 10);
        Fill(canvas, groove, clWindow);
        Frm3D(canvas, groove, clBtnShadow, clBtnHighlight);
        break;
    }
    }
    bitmap->SetTransparentColor(clFuchsia);
    bitmap->SetTransparent(true);
}

TspSkinCustomSlider::TspSkinCustomSlider(TComponent* owner)
    : inherited(owner)
    , FRuler(std::make_unique<TBitmap>())
{
    SetControlStyle(TControlStyle { csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks });
    SetBounds(Left(), Top(), 150, 40);
    SetTabStop(true);
    for (int i = 0; i < 4; ++i) {
        FImages[i] = std::make_unique<TBitmap>();
        LoadSliderPicture(FImages[i].get(), static_cast<TspSliderImage>(i));
    }
    SetSkinDataName("slider");
    FCreating = false;
    Sized();
}

TspSkinCustomSlider::~TspSkinCustomSlider()
{
    OnChange = nullptr;
    OnChanged = nullptr;
    OnDrawPoints = nullptr;
}

// ---- Properties --------------------------------------------------------------------------------------------------

void TspSkinCustomSlider::SetRange(int min, int max)
{
    if (min >= max)
        return;
    FMinValue = min;
    FMaxValue = max;
    if (max < min + FIncrement)
        FIncrement = max - min;
    if (FOptions.Contains(soShowPoints))
        Invalidate();
    SetValue(FValue);
    RangeChanged();
}

void TspSkinCustomSlider::SetMinValue(int value)
{
    if (value != FMinValue)
        SetRange(value, FMaxValue);
}

void TspSkinCustomSlider::SetMaxValue(int value)
{
    if (value != FMaxValue)
        SetRange(FMinValue, value);
}

void TspSkinCustomSlider::SetValue(int value)
{
    value = std::clamp(value, FMinValue, FMaxValue);
    const int old = FValue;
    FValue = value;
    SetThumbOffset(GetOffsetByValue(value));
    if (value != old)
        Change();
}

void TspSkinCustomSlider::SetIncrement(int value)
{
    if (value <= 0 || value == FIncrement)
        return;
    FIncrement = value;
    SetValue(FValue);
    Invalidate();
}

void TspSkinCustomSlider::SetOrientation(TspSliderOrientation value)
{
    if (value == FOrientation)
        return;
    FOrientation = value;
    Sized();
}

void TspSkinCustomSlider::SetOptions(TspSliderOptions value)
{
    if (value == FOptions)
        return;
    FOptions = value;
    Invalidate();
}

void TspSkinCustomSlider::SetNumThumbStates(int value)
{
    value = std::clamp(value, 1, 2);
    if (value == FNumThumbStates)
        return;
    FNumThumbStates = value;
    Sized();
}

void TspSkinCustomSlider::SetEdgeSize(int value)
{
    const TBitmap* ruler = FImages[Horizontal() ? siHRuler : siVRuler].get();
    const int length = Horizontal() ? ruler->Width() : ruler->Height();
    if (2 * value >= length || value == FEdgeSize)
        return;
    FEdgeSize = value;
    Sized();
}

void TspSkinCustomSlider::SetImage(TspSliderImage index, TBitmap* bitmap)
{
    const uint8_t bit = uint8_t(1u << index);
    if (bitmap) {
        if (bitmap != FImages[index].get())
            FImages[index]->Assign(bitmap);
        FUserImages |= bit;
    } else {
        LoadSliderPicture(FImages[index].get(), index);
        FUserImages &= uint8_t(~bit);
        if (!ComponentState().Contains(csReading) && !ComponentState().Contains(csLoading)) {
            TspSliderOptions options = FOptions;
            options.Exclude(index == siHThumb || index == siVThumb ? soThumbOpaque : soRulerOpaque);
            FOptions = options;
            Invalidate();
        }
    }
    if (!FCreating)
        Sized();
}

void TspSkinCustomSlider::SetTransparent(bool value)
{
    FTransparent = value;
    Invalidate();
}

void TspSkinCustomSlider::DefineProperties(TFiler* filer)
{
    inherited::DefineProperties(filer);
    const auto* ancestor = dynamic_cast<const TspSkinCustomSlider*>(filer->Ancestor());
    const uint8_t ancestorImages = ancestor ? ancestor->FUserImages : 0;
    filer->DefineBinaryProperty(
        "UserImages",
        [this](TStream& stream) {
            if (stream.Size() != 1)
                throw EReadError("UserImages holds one byte");
            stream.ReadBuffer(&FUserImages, 1);
            FUserImages &= 0x0F;
        },
        [this](TStream& stream) { stream.WriteBuffer(&FUserImages, 1); }, FUserImages != ancestorImages);
    static const char* const kNames[4] = { "ImageHThumb", "ImageHRuler", "ImageVThumb", "ImageVRuler" };
    for (int i = 0; i < 4; ++i) {
        // Read into a spare bitmap first: a picture that does not read leaves the slider's own untouched.
        filer->DefineBinaryProperty(
            kNames[i],
            [this, i](TStream& stream) {
                TBitmap picture;
                picture.LoadFromStream(stream);
                FImages[i]->Assign(&picture);
            },
            [this, i](TStream& stream) { FImages[i]->SaveToStream(stream); }, (FUserImages >> i) & 1);
    }
}

void TspSkinCustomSlider::Loaded()
{
    inherited::Loaded();
    for (int i = 0; i < 4; ++i)
        if ((FUserImages >> i) & 1)
            SetImage(static_cast<TspSliderImage>(i), FImages[i].get());
}

void TspSkinCustomSlider::SetUseSkinThumb(bool value)
{
    FUseSkinThumb = value;
    Sized();
}

void TspSkinCustomSlider::SetReadOnly(bool value)
{
    if (value && !FReadOnly) {
        StopRulerTracking();
        if (FThumbTracking)
            ThumbMouseUp();
    }
    FReadOnly = value;
}

void TspSkinCustomSlider::Change()
{
    if (OnChange)
        OnChange(this);
}

void TspSkinCustomSlider::Changed()
{
    if (OnChanged)
        OnChanged(this);
}

// ---- The skin ----------------------------------------------------------------------------------------------------

void TspSkinCustomSlider::GetSkinData()
{
    inherited::GetSkinData();
    auto* record = SkinRecordAt<TspDataSkinSlider>(SkinData(), SkinIndex);
    // A record that names no picture cannot be drawn from: the slider's own pictures.
    if (!record || !SkinPictureAt(SkinData(), record->PictureIndex)) {
        SkinIndex = -1;
        return;
    }
    BGColor = record->BGColor;
    PointsColor = record->PointsColor;
    HRulerRect = record->HRulerRect;
    HThumbRect = record->HThumbRect;
    VRulerRect = record->VRulerRect;
    VThumbRect = record->VThumbRect;
    SkinEdgeSize = record->EdgeSize;
}

void TspSkinCustomSlider::ChangeSkinData()
{
    GetSkinData();
    Sized();
}

bool TspSkinCustomSlider::SkinThumb() const
{
    return SkinIndex != -1 && FUseSkinThumb;
}

// ---- Geometry ----------------------------------------------------------------------------------------------------

TSize TspSkinCustomSlider::ThumbSize() const
{
    if (SkinThumb()) {
        const TRect& r = Horizontal() ? HThumbRect : VThumbRect;
        return TSize { RectW(r) / 2, RectH(r) };
    }
    const TBitmap* thumb = FImages[Horizontal() ? siHThumb : siVThumb].get();
    return TSize { thumb->Width() / FNumThumbStates, thumb->Height() };
}

int TspSkinCustomSlider::Base() const
{
    const TRect r = GetSliderRect();
    return (Horizontal() ? r.Left : r.Top) + kMargin;
}

int TspSkinCustomSlider::RulerLength() const
{
    const TSize thumb = ThumbSize();
    return Horizontal() ? FRuler->Width() - thumb.cx : FRuler->Height() - thumb.cy;
}

void TspSkinCustomSlider::BuildRuler()
{
    const TRect r = GetSliderRect();
    const int length = std::max(0, (Horizontal() ? RectW(r) : RectH(r)) - 2 * kMargin);
    TBitmap* picture = SkinIndex != -1 ? SkinPictureAt(SkinData(), SkinRecordAt<TspDataSkinSlider>(SkinData(), SkinIndex)->PictureIndex) : nullptr;
    if (picture) {
        const TRect& source = Horizontal() ? HRulerRect : VRulerRect;
        if (Horizontal())
            CreateHSkinImage(SkinEdgeSize, SkinEdgeSize, FRuler.get(), picture, source, length, RectH(source), false);
        else
            CreateVSkinImage(SkinEdgeSize, SkinEdgeSize, FRuler.get(), picture, source, RectW(source), length, false);
        return;
    }
    // The slider's own picture: its first part, its middle repeated, its last part ending at the ruler's end.
    TBitmap* source = FImages[Horizontal() ? siHRuler : siVRuler].get();
    const int l = Horizontal() ? source->Width() : source->Height();
    const int across = Horizontal() ? source->Height() : source->Width();
    const int e = FEdgeSize;
    const int m = l - 2 * e;
    if (Horizontal())
        FRuler->SetSize(length, across);
    else
        FRuler->SetSize(across, length);
    TCanvas* canvas = FRuler->Canvas();
    auto copy = [&](int at, int from, int count) {
        if (count <= 0)
            return;
        if (Horizontal())
            canvas->CopyRect(Rect(at, 0, at + count, across), source->Canvas(), Rect(from, 0, from + count, across));
        else
            canvas->CopyRect(Rect(0, at, across, at + count), source->Canvas(), Rect(0, from, across, from + count));
    };
    const int n = length - 2 * e;
    // A picture without a middle (or a ruler shorter than the two ends) is stretched over the ruler instead.
    if (m <= 0 || n < 0) {
        canvas->StretchDraw(Rect(0, 0, FRuler->Width(), FRuler->Height()), source);
        return;
    }
    copy(0, 0, l - e);
    int at = l - e;
    for (int i = 0; i < n / m && at < length; ++i, at += m)
        copy(at, e, m);
    const int last = e + n % m;
    copy(length - last, l - last, last);
    FRuler->SetTransparentColor(clFuchsia);
    FRuler->SetTransparent(true);
}

void TspSkinCustomSlider::Sized()
{
    if (FCreating)
        return;
    GetSkinData();
    BuildRuler();
    const TRect r = GetSliderRect();
    const TSize thumb = ThumbSize();
    const int rulerAcross = Horizontal() ? FRuler->Height() : FRuler->Width();
    const int thumbAcross = Horizontal() ? thumb.cy : thumb.cx;
    const int larger = std::max(rulerAcross, thumbAcross);
    const int start = (Horizontal() ? r.Top : r.Left) + kMargin;
    const int rulerAt = start + (larger - rulerAcross) / 2;
    const int thumbAt = start + (larger - thumbAcross) / 2;
    const int along = Base();
    if (Horizontal()) {
        FRulerPos = TPoint { along, rulerAt };
        FRulerRect = Rect(along, rulerAt, along + FRuler->Width(), rulerAt + FRuler->Height());
        FThumbRect = Rect(along, thumbAt, along + thumb.cx, thumbAt + thumb.cy);
        FPointsRect = Rect(along, start + larger + 1, along + FRuler->Width(), RectH(r) - 1);
    } else {
        FRulerPos = TPoint { rulerAt, along };
        FRulerRect = Rect(rulerAt, along, rulerAt + FRuler->Width(), along + FRuler->Height());
        FThumbRect = Rect(thumbAt, along, thumbAt + thumb.cx, along + thumb.cy);
        FPointsRect = Rect(start + larger + 1, along, RectW(r) - 1, along + FRuler->Height());
    }
    SetValue(FValue);
    Invalidate();
}

int TspSkinCustomSlider::GetOffsetByValue(int value) const
{
    const int base = Base();
    const int length = RulerLength();
    int o = base;
    if (length > 0)
        o = base + static_cast<int>(Round(double(length) * (value - FMinValue) / (FMaxValue - FMinValue)));
    if (!Horizontal()) {
        const TRect r = GetSliderRect();
        o = r.Top + r.Bottom - o - ThumbSize().cy;
    }
    return std::max(o, base);
}

int TspSkinCustomSlider::GetValueByOffset(int offset) const
{
    if (!Horizontal())
        offset = ClientHeight() - offset - ThumbSize().cy;
    const int length = RulerLength();
    // No ruler to measure along: the value is the minimum.
    if (length <= 0)
        return FMinValue;
    int q = static_cast<int>(Round(double(offset - Base()) * (FMaxValue - FMinValue) / length));
    if (!FOptions.Contains(soSmooth))
        q = static_cast<int>(Round(double(q) / FIncrement)) * FIncrement;
    return std::min(std::max(q, 0) + FMinValue, FMaxValue);
}

TPoint TspSkinCustomSlider::GetThumbPosition(int offset) const
{
    const int base = Base();
    const int top = base + std::max(0, RulerLength());
    offset = std::clamp(offset, base, top);
    offset = std::min(GetOffsetByValue(GetValueByOffset(offset)), top);
    return Horizontal() ? TPoint { offset, FThumbRect.Top } : TPoint { FThumbRect.Left, offset };
}

void TspSkinCustomSlider::SetThumbOffset(int offset)
{
    const TPoint p = GetThumbPosition(offset);
    if (HandleAllocated()) {
        const RECT old { FThumbRect.Left, FThumbRect.Top, FThumbRect.Right, FThumbRect.Bottom };
        InvalidateRect(Handle(), &old, FALSE);
    }
    FThumbRect = Rect(p.X, p.Y, p.X + RectW(FThumbRect), p.Y + RectH(FThumbRect));
    if (HandleAllocated()) {
        const RECT now { FThumbRect.Left, FThumbRect.Top, FThumbRect.Right, FThumbRect.Bottom };
        InvalidateRect(Handle(), &now, FALSE);
    }
    if (FThumbTracking) {
        const int value = GetValueByOffset(offset);
        if (value != FValue) {
            FValue = value;
            Change();
        }
    }
}

// ---- Steps -------------------------------------------------------------------------------------------------------

void TspSkinCustomSlider::ThumbJump(TspJumpMode kind)
{
    int value = FValue;
    const int step = static_cast<int>(Round(double(FValue) / FIncrement)) * FIncrement;
    switch (kind) {
    case jmNone:
        return;
    case jmHome:
        value = FMinValue;
        break;
    case jmEnd:
        value = FMaxValue;
        break;
    case jmNext:
        value = step + FIncrement;
        break;
    case jmPrior:
        value = step - FIncrement;
        break;
    }
    value = std::clamp(value, FMinValue, FMaxValue);
    if (value != FValue)
        SetValue(value);
}

TspJumpMode TspSkinCustomSlider::JumpTo(int x, int y) const
{
    if (Horizontal()) {
        if (x < FThumbRect.Left)
            return jmPrior;
        if (x >= FThumbRect.Right)
            return jmNext;
        return jmNone;
    }
    if (y < FThumbRect.Top)
        return jmNext;
    if (y >= FThumbRect.Bottom)
        return jmPrior;
    return jmNone;
}

void TspSkinCustomSlider::TrackStep()
{
    const TspJumpMode kind = JumpTo(FLastPos.X, FLastPos.Y);
    if (kind != FPressJump)
        return;
    ThumbJump(kind);
    if (!FTimerRunning && HandleAllocated()) {
        SetTimer(Handle(), kRepeatTimer, kRepeatInterval, nullptr);
        FTimerRunning = true;
    }
}

void TspSkinCustomSlider::StopRulerTracking()
{
    if (FTimerRunning && HandleAllocated())
        KillTimer(Handle(), kRepeatTimer);
    FTimerRunning = false;
    if (!FRulerTracking)
        return;
    FRulerTracking = false;
    SetMouseCapture(false);
    Changed();
}

// ---- Mouse and keys ----------------------------------------------------------------------------------------------

void TspSkinCustomSlider::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button != mbLeft || shift.Contains(ssDouble))
        return;
    if (CanFocus())
        SetFocus();
    if (x >= FThumbRect.Left && x < FThumbRect.Right && y >= FThumbRect.Top && y < FThumbRect.Bottom) {
        ThumbMouseDown(x, y);
        return;
    }
    TRect ruler = FRulerRect;
    if (Horizontal()) {
        ruler.Top -= 3;
        ruler.Bottom += 3;
    } else {
        ruler.Left -= 3;
        ruler.Right += 3;
    }
    if (x < ruler.Left || x >= ruler.Right || y < ruler.Top || y >= ruler.Bottom || !CanModify() || FReadOnly)
        return;
    SetMouseCapture(true);
    FRulerTracking = true;
    FLastPos = TPoint { x, y };
    FPressJump = JumpTo(x, y);
    TrackStep();
}

void TspSkinCustomSlider::MouseMove(TShiftState shift, int x, int y)
{
    if (shift.Contains(ssLeft) && FThumbTracking)
        ThumbMouseMove(x, y);
    else if (FRulerTracking)
        FLastPos = TPoint { x, y };
    inherited::MouseMove(shift, x, y);
}

void TspSkinCustomSlider::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    StopRulerTracking();
    if (FThumbTracking && button == mbLeft)
        ThumbMouseUp();
    inherited::MouseUp(button, shift, x, y);
}

void TspSkinCustomSlider::ThumbMouseDown(int x, int y)
{
    if (!CanModify() || FReadOnly)
        return;
    FThumbTracking = true;
    FThumbPressed = true;
    FGrab = Horizontal() ? x - FThumbRect.Left : y - FThumbRect.Top;
    Invalidate();
}

void TspSkinCustomSlider::ThumbMouseMove(int x, int y)
{
    if (!CanModify() || FReadOnly)
        return;
    SetThumbOffset((Horizontal() ? x : y) - FGrab);
}

void TspSkinCustomSlider::ThumbMouseUp()
{
    FThumbTracking = false;
    FThumbPressed = false;
    Invalidate();
    if (CanModify() && !FReadOnly)
        Changed();
}

void TspSkinCustomSlider::KeyDown(uint16_t& key, TShiftState shift)
{
    TspJumpMode kind = jmNone;
    if (shift.Empty()) {
        switch (key) {
        case VK_HOME:
            kind = jmHome;
            break;
        case VK_END:
            kind = jmEnd;
            break;
        case VK_LEFT:
            kind = Horizontal() ? jmPrior : jmNone;
            break;
        case VK_RIGHT:
            kind = Horizontal() ? jmNext : jmNone;
            break;
        case VK_UP:
            kind = Horizontal() ? jmNone : jmNext;
            break;
        case VK_DOWN:
            kind = Horizontal() ? jmNone : jmPrior;
            break;
        default:
            break;
        }
    }
    if (kind != jmNone && CanModify() && !FReadOnly) {
        key = 0;
        ThumbJump(kind);
        Changed();
    }
    inherited::KeyDown(key, shift);
}

void TspSkinCustomSlider::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_GETDLGCODE:
        message.Result = DLGC_WANTARROWS;
        return;
    case WM_TIMER:
        if (message.WParam == kRepeatTimer && FRulerTracking) {
            TrackStep();
            return;
        }
        break;
    case WM_SIZE:
        inherited::WndProc(message);
        Sized();
        return;
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(message);
        Invalidate();
        return;
    case WM_MOVE:
        inherited::WndProc(message);
        if (FTransparent)
            Invalidate();
        return;
    case WM_CHECKPARENTBG:
        if (FTransparent)
            Invalidate();
        return;
    default:
        break;
    }
    inherited::WndProc(message);
}

// ---- Painting ----------------------------------------------------------------------------------------------------

void TspSkinCustomSlider::DefaultDrawPoints(int step, int length, int extremeLength)
{
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(SkinIndex == -1 ? clWindowText : PointsColor);
    const int ruler = RulerLength();
    const int range = FMaxValue - FMinValue;
    int e = step;
    int f = 1;
    int spacing = ruler;
    for (int k = 1; step > 0; ++k) {
        e = step * k;
        f = static_cast<int>(Round(double(range) / e));
        spacing = f + 1 <= 1 ? ruler : ruler / f;
        if (spacing >= 4 || spacing >= ruler)
            break;
    }
    const TSize thumb = ThumbSize();
    const int points = std::max(f, 0) + 1;
    for (int i = 0; i < points; ++i) {
        const int v = i == points - 1 ? FMaxValue : FMinValue + e * i;
        const int size = v == FMinValue || v == FMaxValue ? extremeLength : length;
        const int at = GetOffsetByValue(v);
        if (Horizontal()) {
            canvas->MoveTo(at + thumb.cx / 2, FPointsRect.Top);
            canvas->LineTo(at + thumb.cx / 2, FPointsRect.Top + size);
        } else {
            canvas->MoveTo(FPointsRect.Left, at + thumb.cy / 2);
            canvas->LineTo(FPointsRect.Left + size, at + thumb.cy / 2);
        }
    }
}

void TspSkinCustomSlider::Paint()
{
    GetSkinData();
    TCanvas* canvas = Canvas();
    if (FTransparent)
        GetParentImage(this, canvas);
    else
        Fill(canvas, ClientRect(), SkinIndex == -1 ? Color() : BGColor);
    if (FRuler->Width() > 0 && FRuler->Height() > 0) {
        FRuler->SetTransparent(SkinIndex != -1 || !FOptions.Contains(soRulerOpaque));
        canvas->Draw(FRulerPos.X, FRulerPos.Y, FRuler.get());
    }
    if (FOptions.Contains(soShowFocus) && Focused() && !Designing()) {
        TRect r = GetSliderRect();
        canvas->DrawFocusRect(Rect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2));
    }
    if (FOptions.Contains(soShowPoints)) {
        if (OnDrawPoints)
            OnDrawPoints(this);
        else
            DefaultDrawPoints(FIncrement, 3, 5);
    }
    const bool second = FThumbPressed || !Enabled();
    const TSize thumb = ThumbSize();
    TBitmap state;
    state.SetSize(thumb.cx, thumb.cy);
    if (SkinThumb()) {
        TBitmap* picture = SkinPictureAt(SkinData(), SkinRecordAt<TspDataSkinSlider>(SkinData(), SkinIndex)->PictureIndex);
        const TRect& r = Horizontal() ? HThumbRect : VThumbRect;
        const int x = r.Left + (second ? thumb.cx : 0);
        state.Canvas()->CopyRect(Rect(0, 0, thumb.cx, thumb.cy), picture->Canvas(), Rect(x, r.Top, x + thumb.cx, r.Bottom));
        state.SetTransparent(true);
    } else {
        TBitmap* picture = FImages[Horizontal() ? siHThumb : siVThumb].get();
        const int x = FNumThumbStates == 2 && second ? thumb.cx : 0;
        state.Canvas()->CopyRect(Rect(0, 0, thumb.cx, thumb.cy), picture->Canvas(), Rect(x, 0, x + thumb.cx, thumb.cy));
        state.SetTransparentColor(picture->TransparentColor());
        state.SetTransparent(!FOptions.Contains(soThumbOpaque));
    }
    canvas->Draw(FThumbRect.Left, FThumbRect.Top, &state);
}

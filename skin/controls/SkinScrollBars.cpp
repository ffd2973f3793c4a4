#include "skin/controls/SkinScrollBars.h"

#include "framework/controls/Messages.h"
#include "framework/core/Numbers.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImageCache.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"

#include <algorithm>

using namespace SPUtils;
using namespace SkinControlSupport;

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr uint32_t kFirstDelay = 500;
constexpr uint32_t kRepeatDelay = 50;
constexpr int kButtonSize = 17;
constexpr int kDefaultThumbLength = 16;

const TRect& Or(const TRect& value, const TRect& fallback) { return IsNullRect(value) ? fallback : value; }

void Shift(TRect& r, int dx, int dy)
{
    r.Left += dx;
    r.Right += dx;
    r.Top += dy;
    r.Bottom += dy;
}

} // namespace

TspSkinScrollBar::TspSkinScrollBar(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("hscrollbar");
    SetDefaultHeight(19);
    SetTabStop(false);
    SetBounds(Left(), Top(), 200, 19);
}

// ---- Values ----------------------------------------------------------------------------------------------------

int TspSkinScrollBar::Clamped(int value) const
{
    // NOTE: the lower bound is applied last, so that a page larger than the whole range (which SetRange lets
    // an owner give) still leaves the position at Min rather than below it.
    const int last = FPageSize == 0 ? FMax : FMax - FPageSize + 1;
    return std::max(FMin, std::min(value, last));
}

void TspSkinScrollBar::Repaint()
{
    if (FUpdateCount > 0) {
        Invalidate();
        return;
    }
    inherited::Repaint();
}

void TspSkinScrollBar::SetPosition(int value)
{
    value = Clamped(value);
    if (value == FPosition)
        return;
    FPosition = value;
    Repaint();
    if (OnChange)
        OnChange(this);
}

void TspSkinScrollBar::SimplySetPosition(int value)
{
    FPosition = Clamped(value);
    Repaint();
}

void TspSkinScrollBar::SetRange(TspScrollMin min, TspScrollMax max, TspScrollPage pageSize, TspScrollPosition position)
{
    const int oldMin = FMin, oldMax = FMax, oldPage = FPageSize, oldPosition = FPosition;
    FMin = min.Value;
    FMax = max.Value;
    FPageSize = pageSize.Value;
    FPosition = Clamped(position.Value);
    // Owners mirror on every paint of their content; an unchanged range leaves the bar's picture as it is.
    if (FMin != oldMin || FMax != oldMax || FPageSize != oldPage || FPosition != oldPosition)
        Repaint();
}

void TspSkinScrollBar::SetMax(int value)
{
    FMax = value;
    // The same clamp as SetPosition's, so that a range not starting at 0 keeps an absolute position.
    FPosition = Clamped(FPosition);
    Repaint();
}

void TspSkinScrollBar::SetMin(int value)
{
    FMin = value;
    if (FPosition < value)
        FPosition = value;
    Repaint();
}

void TspSkinScrollBar::SetPageSize(int value)
{
    // The page must fit beside the position, both counted from Min.
    if ((FPosition - FMin) + value <= FMax - FMin + 1)
        FPageSize = value;
    Repaint();
}

void TspSkinScrollBar::SetSmallChange(int value)
{
    // Owners set the steps on every mirroring; the picture does not show them.
    if (value == FSmallChange)
        return;
    FSmallChange = value;
    Repaint();
}

void TspSkinScrollBar::SetLargeChange(int value)
{
    // Owners set the steps on every mirroring; the picture does not show them.
    if (value == FLargeChange)
        return;
    FLargeChange = value;
    Repaint();
}

void TspSkinScrollBar::SetBoth(bool value)
{
    if (FBoth == value)
        return;
    FBoth = value;
    if (!Designing()) {
        if (value) {
            FOldSkinDataName = SkinDataName();
            SetSkinDataName(FBothSkinDataName);
        } else if (!FOldSkinDataName.empty()) {
            SetSkinDataName(FOldSkinDataName);
        }
    }
    GetSkinData();
    if (SkinIndex == -1)
        Repaint();
    else
        ChangeSkinData();
}

void TspSkinScrollBar::SetBothMarkerWidth(int value)
{
    if (value < 0)
        return;
    FBothMarkerWidth = value;
    GetSkinData();
    if (SkinIndex == -1)
        Repaint();
}

void TspSkinScrollBar::SetKind(TScrollBarKind value)
{
    if (FKind == value)
        return;
    FKind = value;
    // The default look's fixed thickness follows the orientation, so that a bar without a record keeps its length.
    const int thickness = std::max(DefaultWidth(), DefaultHeight());
    if (thickness > 0) {
        SetDefaultWidth(0);
        SetDefaultHeight(0);
        if (value == sbVertical)
            SetDefaultWidth(thickness);
        else
            SetDefaultHeight(thickness);
    }
    if (Designing() && !ComponentState().Contains(csLoading)) {
        SetSkinDataName(value == sbVertical ? "vscrollbar" : "hscrollbar");
        const bool suits = value == sbVertical ? Height() >= Width() : Width() >= Height();
        if (!suits)
            SetBounds(Left(), Top(), Height(), Width());
    }
    Repaint();
}

void TspSkinScrollBar::SetCanFocused(bool value)
{
    FCanFocused = value;
    SetTabStop(value);
}

void TspSkinScrollBar::GetSkinData()
{
    inherited::GetSkinData();
    auto* record = SkinRecordAt<TspDataSkinScrollBarControl>(SkinData(), SkinIndex);
    // A record of another kind, or one that names no picture, gives the default look: there is nothing to cut
    // the buttons and the thumb from.
    if (!record || !SkinPicture) {
        SkinIndex = -1;
        return;
    }
    TrackArea = record->TrackArea;
    UpButtonRect = record->UpButtonRect;
    ActiveUpButtonRect = record->ActiveUpButtonRect;
    DownUpButtonRect = record->DownUpButtonRect;
    DownButtonRect = record->DownButtonRect;
    ActiveDownButtonRect = record->ActiveDownButtonRect;
    DownDownButtonRect = record->DownDownButtonRect;
    ThumbRect = record->ThumbRect;
    ActiveThumbRect = record->ActiveThumbRect;
    DownThumbRect = record->DownThumbRect;
    GlyphRect = record->GlyphRect;
    ActiveGlyphRect = record->ActiveGlyphRect;
    DownGlyphRect = record->DownGlyphRect;
    ThumbOffset1 = record->ThumbOffset1;
    ThumbOffset2 = record->ThumbOffset2;
    ThumbTransparent = record->ThumbTransparent;
    ThumbTransparentColor = record->ThumbTransparentColor;
}

// ---- Geometry --------------------------------------------------------------------------------------------------

double TspSkinScrollBar::Fraction() const
{
    if (FPageSize == 0)
        return FMax == FMin ? 0.0 : double(FPosition - FMin) / double(FMax - FMin);
    const int divisor = FMax - FPageSize + 1 - FMin;
    if (divisor > 0)
        return double(FPosition - FMin) / double(divisor);
    // A page covering the whole range: the default look puts the thumb at the end, the skinned one at the start.
    return Skinned() ? 0.0 : 1.0;
}

void TspSkinScrollBar::CalcRects()
{
    const int w = Width();
    const int h = Height();
    int across0 = 0, across1 = 0, minLength = kDefaultThumbLength;
    if (!Skinned()) {
        if (Horizontal()) {
            const int right = FBoth ? w - FBothMarkerWidth : w;
            FParts[spDecrease].R = Rect(1, 1, kButtonSize, h - 1);
            FParts[spIncrease].R = Rect(right - kButtonSize, 1, right - 1, h - 1);
            FTrack = Rect(kButtonSize, 1, right - kButtonSize, h - 1);
            across0 = FTrack.Top;
            across1 = FTrack.Bottom;
        } else {
            FParts[spDecrease].R = Rect(1, 1, w - 1, kButtonSize);
            FParts[spIncrease].R = Rect(1, h - kButtonSize, w - 1, h - 1);
            FTrack = Rect(1, kButtonSize, w - 1, h - kButtonSize);
            across0 = FTrack.Left;
            across1 = FTrack.Right;
        }
    } else {
        const int dx = w - RectWidth(SkinRectangle);
        const int dy = h - RectHeight(SkinRectangle);
        FTrack = TrackArea;
        TRect up = UpButtonRect;
        TRect down = DownButtonRect;
        if (Horizontal()) {
            FTrack.Right += dx;
            if (up.Left > RightTopPoint.X)
                Shift(up, dx, 0);
            if (down.Left > RightTopPoint.X)
                Shift(down, dx, 0);
            const int thickness = RectHeight(ThumbRect);
            across0 = FTrack.Top + RectHeight(FTrack) / 2 - thickness / 2;
            across1 = across0 + thickness;
            minLength = RectWidth(ThumbRect);
        } else {
            FTrack.Bottom += dy;
            if (up.Top > LeftBottomPoint.Y)
                Shift(up, 0, dy);
            if (down.Top > LeftBottomPoint.Y)
                Shift(down, 0, dy);
            const int thickness = RectWidth(ThumbRect);
            across0 = FTrack.Left + RectWidth(FTrack) / 2 - thickness / 2;
            across1 = across0 + thickness;
            minLength = RectHeight(ThumbRect);
        }
        FParts[spIncrease].R = up;
        FParts[spDecrease].R = down;
    }
    const int start = Horizontal() ? FTrack.Left : FTrack.Top;
    const int end = Horizontal() ? FTrack.Right : FTrack.Bottom;
    int length = minLength;
    if (FPageSize != 0) {
        const int span = FMax - FMin + 1;
        length = span == 0 ? 0 : int(Round(double(end - start) * FPageSize / span));
        length = std::max(length, minLength);
    }
    FThumbLength = length;
    const int half = length / 2;
    FFirst = start + half;
    FLast = end - half;
    FOffset = int(Round((FLast - FFirst) * Fraction()));
    const int a = FFirst + FOffset - half;
    const int b = FFirst + FOffset + half;
    FParts[spThumb].R = Horizontal() ? Rect(a, across0, b, across1) : Rect(across0, a, across1, b);
}

int TspSkinScrollBar::CalcValue(int offset)
{
    if (FPageSize != 0) {
        const int start = Horizontal() ? FTrack.Left : FTrack.Top;
        const int end = Horizontal() ? FTrack.Right : FTrack.Bottom;
        FFirst = start + FThumbLength / 2;
        FLast = end - FThumbLength / 2;
    }
    const int span = FLast - FFirst;
    double q = span > 0 ? double(offset) / double(span) : 0.0;
    q = std::max(0.0, std::min(q, 1.0));
    if (FPageSize == 0)
        return FMin + int(Round((FMax - FMin) * q));
    return FMin + int(Round((FMax - FMin - FPageSize + 1) * q));
}

// ---- Mouse, timer, keys ----------------------------------------------------------------------------------------

void TspSkinScrollBar::StartTimer(uint32_t interval)
{
    if (HandleAllocated())
        SetTimer(Handle(), kRepeatTimer, interval, nullptr);
}

void TspSkinScrollBar::StopTimer()
{
    if (HandleAllocated())
        KillTimer(Handle(), kRepeatTimer);
    FTimerMode = 0;
}

void TspSkinScrollBar::ArrowStep(int part)
{
    if (part == spIncrease) {
        if (OnUpButtonClick)
            OnUpButtonClick(this);
        else
            SetPosition(FPosition + FSmallChange);
    } else {
        if (OnDownButtonClick)
            OnDownButtonClick(this);
        else
            SetPosition(FPosition - FSmallChange);
    }
}

void TspSkinScrollBar::PressPart(int part)
{
    FParts[part].Down = true;
    Repaint();
    switch (part) {
    case spThumb:
        FDragStart = Horizontal() ? FLastPoint.X : FLastPoint.Y;
        FDragOffset = FOffset;
        FDragPosition = FPosition;
        FDragging = true;
        Repaint();
        break;
    case spIncrease:
        ArrowStep(spIncrease);
        FTimerMode = 2;
        StartTimer(kFirstDelay);
        break;
    default:
        ArrowStep(spDecrease);
        FTimerMode = 1;
        StartTimer(kFirstDelay);
        break;
    }
}

void TspSkinScrollBar::ReleasePart(int part)
{
    FParts[part].Down = false;
    if (part != FActivePart)
        FParts[part].MouseIn = false;
    if (part == spThumb)
        FDragging = false;
    else
        StopTimer();
    Repaint();
}

void TspSkinScrollBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    FButtonHeld = true;
    FLastPoint = TPoint { x, y };
    GetSkinData();
    CalcRects();
    StopTimer();
    FFirstTick = true;
    const TPoint p { x, y };
    for (int part : { spThumb, spIncrease, spDecrease })
        if (PointInRect(FParts[part].R, p)) {
            FDownPart = part;
            PressPart(part);
            return;
        }
    if (!PointInRect(FTrack, p))
        return;
    const TRect& thumb = FParts[spThumb].R;
    if (Horizontal() ? x < thumb.Left : y < thumb.Top) {
        SetPosition(FPosition - FLargeChange);
        FTimerMode = 3;
        StartTimer(kFirstDelay);
        if (OnPageUp)
            OnPageUp(this);
    } else {
        SetPosition(FPosition + FLargeChange);
        FTimerMode = 4;
        StartTimer(kFirstDelay);
        if (OnPageDown)
            OnPageDown(this);
    }
}

void TspSkinScrollBar::MouseMove(TShiftState shift, int x, int y)
{
    FLastPoint = TPoint { x, y };
    TestActive(x, y);
    if (FDragging) {
        const int pointer = Horizontal() ? x : y;
        SetPosition(CalcValue(FDragOffset + pointer - FDragStart));
    }
    inherited::MouseMove(shift, x, y);
}

void TspSkinScrollBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    FButtonHeld = false;
    if (FTimerMode == 3 || FTimerMode == 4)
        StopTimer();
    if (FDownPart == -1)
        return;
    const int part = FDownPart;
    ReleasePart(part);
    FDownPart = -1;
    if (button == mbLeft && part == spThumb && OnLastChange)
        OnLastChange(this);
}

void TspSkinScrollBar::TestActive(int x, int y)
{
    const TPoint p { x, y };
    int hit = -1;
    for (int part : { spThumb, spIncrease, spDecrease })
        if (PointInRect(FParts[part].R, p)) {
            hit = part;
            break;
        }
    // While a part is held, no other part lights up.
    if (FDownPart != -1 && hit != FDownPart)
        hit = -1;
    if (hit == FActivePart)
        return;
    FOldActivePart = FActivePart;
    FActivePart = hit;
    const auto heldArrow = [this](int part) { return part != spThumb && FParts[part].Down; };
    if (FOldActivePart != -1) {
        FParts[FOldActivePart].MouseIn = false;
        Repaint();
        // Leaving a held arrow pauses its repeat; coming back resumes it at the fast rate.
        if (heldArrow(FOldActivePart) && HandleAllocated())
            KillTimer(Handle(), kRepeatTimer);
    }
    if (hit != -1) {
        FParts[hit].MouseIn = true;
        Repaint();
        if (heldArrow(hit))
            StartTimer(kRepeatDelay);
    }
}

void TspSkinScrollBar::CMMouseLeave()
{
    if (Designing())
        return;
    if (FDownPart == -1 && !FDragging && FActivePart != -1) {
        FParts[FActivePart].MouseIn = false;
        FActivePart = -1;
        Repaint();
    }
    // NOTE: only a forward page repeat stops when the pointer leaves; a backward one goes on until the thumb
    // reaches the pointer, as the bar has always behaved.
    if (FButtonHeld && FTimerMode == 4)
        StopTimer();
}

void TspSkinScrollBar::WMTimer()
{
    if (FFirstTick) {
        FFirstTick = false;
        StartTimer(kRepeatDelay);
        return;
    }
    switch (FTimerMode) {
    case 1:
        ArrowStep(spDecrease);
        break;
    case 2:
        ArrowStep(spIncrease);
        break;
    case 3:
    case 4: {
        GetSkinData();
        CalcRects();
        TestActive(FLastPoint.X, FLastPoint.Y);
        const TRect& thumb = FParts[spThumb].R;
        const int pointer = Horizontal() ? FLastPoint.X : FLastPoint.Y;
        if (FTimerMode == 3 && pointer < (Horizontal() ? thumb.Left : thumb.Top)) {
            SetPosition(FPosition - FLargeChange);
            if (OnPageUp)
                OnPageUp(this);
        } else if (FTimerMode == 4 && pointer > (Horizontal() ? thumb.Right : thumb.Bottom)) {
            SetPosition(FPosition + FLargeChange);
            if (OnPageDown)
                OnPageDown(this);
        } else {
            StopTimer();
        }
        break;
    }
    default:
        StopTimer();
        break;
    }
}

void TspSkinScrollBar::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    if (!FCanFocused)
        return;
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        SetPosition(FPosition - FSmallChange);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        SetPosition(FPosition + FSmallChange);
        break;
    default:
        break;
    }
}

void TspSkinScrollBar::WMMouseWheel(TMessage& message)
{
    if (!IsFocused()) {
        inherited::WndProc(message);
        return;
    }
    if (static_cast<int16_t>(HIWORD(message.WParam)) > 0)
        SetPosition(FPosition - FSmallChange);
    else
        SetPosition(FPosition + FSmallChange);
    message.Result = 1;
}

void TspSkinScrollBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        PaintOnErase(message);
        return;
    case WM_MOUSEWHEEL:
        WMMouseWheel(message);
        return;
    case WM_TIMER:
        if (message.WParam == kRepeatTimer) {
            WMTimer();
            return;
        }
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        inherited::WndProc(message);
        if (FCanFocused)
            Repaint();
        return;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(message);
        Repaint();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        CMMouseLeave();
        return;
    case CM_WANTSPECIALKEY:
        if (FCanFocused && (message.WParam == VK_LEFT || message.WParam == VK_RIGHT || message.WParam == VK_UP
                               || message.WParam == VK_DOWN)) {
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    if (FCanFocused && DropClickWithoutFocus(this, message, FocusingByClick))
        return;
    inherited::WndProc(message);
}

// ---- Painting --------------------------------------------------------------------------------------------------

void TspSkinScrollBar::CreateControlSkinImage(TBitmap* bitmap)
{
    inherited::CreateControlSkinImage(bitmap);
    CalcRects();
    TCanvas* canvas = bitmap->Canvas();
    DrawSkinButton(canvas, spIncrease);
    DrawSkinButton(canvas, spDecrease);
    if (Enabled())
        DrawSkinThumb(bitmap);
}

void TspSkinScrollBar::DrawSkinButton(TCanvas* canvas, int part)
{
    const TPartState& state = FParts[part];
    if (!state.MouseIn)
        return; // the normal button is part of the face
    const bool increase = part == spIncrease;
    const TRect& active = increase ? ActiveUpButtonRect : ActiveDownButtonRect;
    const TRect& down = Or(increase ? DownUpButtonRect : DownDownButtonRect, active);
    const TRect& source = state.Down ? down : active;
    if (IsNullRect(source) || IsNullRect(state.R))
        return;
    canvas->CopyRect(state.R, SkinPicture->Canvas(), source);
}

void TspSkinScrollBar::DrawSkinThumb(TBitmap* bitmap)
{
    const TPartState& thumb = FParts[spThumb];
    const int w = RectWidth(thumb.R);
    const int h = RectHeight(thumb.R);
    if (w <= 0 || h <= 0)
        return;
    const TRect& active = Or(ActiveThumbRect, ThumbRect);
    const TRect& down = Or(DownThumbRect, active);
    const TRect& activeGlyph = Or(ActiveGlyphRect, GlyphRect);
    const TRect& downGlyph = Or(DownGlyphRect, activeGlyph);
    const bool pressed = thumb.Down || IsFocused();
    const TRect& source = pressed ? down : (thumb.MouseIn ? active : ThumbRect);
    const TRect& glyph = pressed ? downGlyph : (thumb.MouseIn ? activeGlyph : GlyphRect);
    if (IsNullRect(source))
        return;

    TBitmap scratch;
    TBitmap* image = ThumbImage(source, glyph, w, h, scratch);
    TCanvas* canvas = bitmap->Canvas();
    if (AlphaBlend()) {
        // The bar's face under the thumb shows through it; the kept picture stays as it is.
        TBitmap blendedImage;
        CopyCachedImage(&blendedImage, image);
        const int iw = blendedImage.Width();
        const int ih = blendedImage.Height();
        TBitmap face;
        face.SetSize(iw, ih);
        face.Canvas()->CopyRect(
            Rect(0, 0, iw, ih), canvas, Rect(thumb.R.Left, thumb.R.Top, thumb.R.Left + iw, thumb.R.Top + ih));
        TspEffectBmp blended(blendedImage.Handle());
        const TspEffectBmp behind(face.Handle());
        blended.Morph(&behind, 1.0 - AlphaBlendValue() / 255.0);
        blended.Draw(blendedImage.Canvas()->Handle(), 0, 0);
        SetThumbTransparency(&blendedImage);
        canvas->Draw(thumb.R.Left, thumb.R.Top, &blendedImage);
        return;
    }
    canvas->Draw(thumb.R.Left, thumb.R.Top, image);
}

TBitmap* TspSkinScrollBar::ThumbImage(const TRect& source, const TRect& glyph, int width, int height, TBitmap& scratch)
{
    // Everything the picture is made of; the thumb's place on the track is not among it.
    TspSkinImageKey key(TspSkinImageKind::ScrollThumb, SkinPicture);
    key.Add(source).Add(glyph).Add(width).Add(height).Add(FPageSize != 0).Add(Horizontal()).Add(ThumbOffset1)
        .Add(ThumbOffset2).Add(ThumbTransparent).Add(int(ThumbTransparentColor));
    return CachedSkinImage(SkinData() ? SkinData()->ImageCache() : nullptr, key, scratch, [&](TBitmap* image) {
        if (FPageSize != 0) {
            // A thumb as long as its page: a strip with fixed ends.
            if (Horizontal())
                CreateHSkinImage(ThumbOffset1, ThumbOffset2, image, SkinPicture, source, width, height, false);
            else
                CreateVSkinImage(ThumbOffset1, ThumbOffset2, image, SkinPicture, source, width, height, false);
        } else {
            image->SetSize(width, height);
            image->Canvas()->CopyRect(Rect(0, 0, width, height), SkinPicture->Canvas(), source);
        }
        if (!IsNullRect(glyph)) {
            const int gx = image->Width() / 2 - RectWidth(glyph) / 2;
            const int gy = image->Height() / 2 - RectHeight(glyph) / 2;
            image->Canvas()->CopyRect(
                Rect(gx, gy, gx + RectWidth(glyph), gy + RectHeight(glyph)), SkinPicture->Canvas(), glyph);
        }
        SetThumbTransparency(image);
    });
}

void TspSkinScrollBar::SetThumbTransparency(TBitmap* image) const
{
    if (!ThumbTransparent)
        return;
    image->SetTransparentMode(tmFixed);
    image->SetTransparentColor(ThumbTransparentColor);
    image->SetTransparent(true);
}

void TspSkinScrollBar::DrawDefaultPart(TCanvas* canvas, int part, bool pressedLook)
{
    const TRect& r = FParts[part].R;
    TColor frame = clBtnShadow;
    TColor fill = clBtnFace;
    if (pressedLook) {
        frame = clNavy;
        fill = RGB(133, 147, 181);
    } else if (FParts[part].MouseIn) {
        frame = clNavy;
        fill = RGB(182, 189, 210);
    }
    Frm3D(canvas, r, frame, frame);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(fill);
    canvas->FillRect(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
}

void TspSkinScrollBar::CreateControlDefaultImage(TBitmap* bitmap)
{
    inherited::CreateControlDefaultImage(bitmap);
    CalcRects();
    TCanvas* canvas = bitmap->Canvas();
    if (Enabled())
        DrawDefaultPart(canvas, spThumb, FParts[spThumb].Down || IsFocused());
    for (int part : { spIncrease, spDecrease }) {
        DrawDefaultPart(canvas, part, FParts[part].Down && FParts[part].MouseIn);
        const int kind = part == spIncrease ? (Horizontal() ? 2 : 4) : (Horizontal() ? 1 : 3);
        DrawArrowImage(canvas, FParts[part].R, clBlack, kind);
    }
}

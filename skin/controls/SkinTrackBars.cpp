#include "skin/controls/SkinTrackBars.h"

#include "framework/controls/Messages.h"
#include "framework/core/Numbers.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImageCache.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;
using namespace SkinControlSupport;

TspSkinTrackBar::TspSkinTrackBar(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("htrackbar");
    SetBounds(Left(), Top(), 100, 20);
}

void TspSkinTrackBar::SetMinValue(int value)
{
    FMinValue = value;
    if (FValue < value)
        FValue = value;
    Repaint();
}

void TspSkinTrackBar::SetMaxValue(int value)
{
    FMaxValue = value;
    if (FValue > value)
        FValue = value;
    Repaint();
}

void TspSkinTrackBar::SetValue(int value)
{
    value = std::max(FMinValue, std::min(value, FMaxValue));
    if (value == FValue)
        return;
    FValue = value;
    Repaint();
    if (OnChange)
        OnChange(this);
}

void TspSkinTrackBar::SetVertical(bool value)
{
    FVertical = value;
    Repaint();
    if (Designing() && !ComponentState().Contains(csLoading))
        SetSkinDataName(value ? "trackbar" : "htrackbar");
}

void TspSkinTrackBar::SetCanFocused(bool value)
{
    FCanFocused = value;
    SetTabStop(value);
}

void TspSkinTrackBar::GetSkinData()
{
    inherited::GetSkinData();
    auto* record = SkinRecordAt<TspDataSkinTrackBarControl>(SkinData(), SkinIndex);
    if (!record)
        return;
    ActiveSkinRect = record->ActiveSkinRect;
    TrackArea = record->TrackArea;
    ButtonRect = record->ButtonRect;
    ActiveButtonRect = IsNullRect(record->ActiveButtonRect) ? record->ButtonRect : record->ActiveButtonRect;
    ButtonTransparent = record->ButtonTransparent;
    ButtonTransparentColor = record->ButtonTransparentColor;
    FVertical = record->Vertical;
}

TRect TspSkinTrackBar::TrackRect()
{
    if (SkinIndex == -1)
        return Rect(2, 2, Width() - 2, Height() - 2);
    TRect track = TrackArea;
    const int mode = SkinResizeMode;
    if (!FVertical && (mode == 1 || mode == 2))
        track.Right += Width() - RectWidth(SkinRectangle);
    if (FVertical && (mode == 1 || mode == 3))
        track.Bottom += Height() - RectHeight(SkinRectangle);
    return track;
}

TSize TspSkinTrackBar::ThumbSize() const
{
    if (SkinIndex != -1)
        return TSize { RectWidth(ButtonRect), RectHeight(ButtonRect) };
    if (FVertical)
        return TSize { Width() - 4, (Width() - 4) / 2 };
    return TSize { (Height() - 4) / 2, Height() - 4 };
}

TRect TspSkinTrackBar::CalcButtonRect(const TRect& track)
{
    const double f = FMaxValue == FMinValue ? 0.0 : double(FValue - FMinValue) / double(FMaxValue - FMinValue);
    const TSize thumb = ThumbSize();
    if (!FVertical) {
        FirstCenter = track.Left + thumb.cx / 2;
        LastCenter = track.Right - thumb.cx / 2;
        ButtonOffset = int(Round((LastCenter - FirstCenter) * f));
        const int left = FirstCenter + ButtonOffset - thumb.cx / 2;
        const int top = track.Top + RectHeight(track) / 2 - thumb.cy / 2;
        return Rect(left, top, left + thumb.cx, top + thumb.cy);
    }
    // The minimum is at the bottom.
    FirstCenter = track.Top + thumb.cy / 2;
    LastCenter = track.Bottom - thumb.cy / 2;
    ButtonOffset = int(Round((LastCenter - FirstCenter) * f));
    const int top = LastCenter - ButtonOffset - thumb.cy / 2;
    const int left = track.Left + RectWidth(track) / 2 - thumb.cx / 2;
    return Rect(left, top, left + thumb.cx, top + thumb.cy);
}

int TspSkinTrackBar::CalcValue(int offset) const
{
    const int span = LastCenter - FirstCenter;
    double q = span > 0 ? double(offset) / double(span) : 0.0;
    q = std::max(0.0, std::min(q, 1.0));
    return FMinValue + int(Round((FMaxValue - FMinValue) * q));
}

void TspSkinTrackBar::CreateImage(TBitmap* bitmap)
{
    GetSkinData();
    bitmap->SetSize(Width(), Height());
    if (SkinIndex != -1)
        inherited::CreateControlSkinImage(bitmap);
}

void TspSkinTrackBar::CreateControlSkinImage(TBitmap* bitmap)
{
    inherited::CreateControlSkinImage(bitmap);
    const TRect thumb = CalcButtonRect(TrackRect());
    const TSize size = ThumbSize();
    TCanvas* canvas = bitmap->Canvas();
    if (!IsNullRect(ActiveSkinRect) && SkinPicture) {
        // The active face from the minimum end to the thumb's centre.
        TBitmap scratch;
        TBitmap* active = SkinControlImage(SkinPicture, ActiveSkinRect, bitmap->Width(), bitmap->Height(), scratch);
        if (!FVertical) {
            const int right = thumb.Left + size.cx / 2;
            if (right > 0)
                canvas->CopyRect(
                    Rect(0, 0, right, active->Height()), active->Canvas(), Rect(0, 0, right, active->Height()));
        } else {
            const int top = thumb.Top + size.cy / 2;
            canvas->CopyRect(Rect(0, top, active->Width(), active->Height()), active->Canvas(),
                Rect(0, top, active->Width(), active->Height()));
        }
    }
    if (!SkinPicture || size.cx <= 0 || size.cy <= 0)
        return;
    const TRect& source = (FDragging || IsFocused()) ? ActiveButtonRect : ButtonRect;
    if (!AlphaBlend() || ButtonTransparent) {
        TBitmap scratch;
        canvas->Draw(thumb.Left, thumb.Top, ThumbImage(source, size, scratch));
        return;
    }
    // Blended with the face under it, so made anew for every paint.
    TBitmap button;
    button.SetSize(size.cx, size.cy);
    button.Canvas()->CopyRect(Rect(0, 0, size.cx, size.cy), SkinPicture->Canvas(), source);
    TBitmap face;
    face.SetSize(size.cx, size.cy);
    face.Canvas()->CopyRect(Rect(0, 0, size.cx, size.cy), canvas, thumb);
    TspEffectBmp blended(button.Handle());
    const TspEffectBmp behind(face.Handle());
    blended.Morph(&behind, 1.0 - AlphaBlendValue() / 255.0);
    blended.Draw(button.Canvas()->Handle(), 0, 0);
    canvas->Draw(thumb.Left, thumb.Top, &button);
}

TBitmap* TspSkinTrackBar::ThumbImage(const TRect& source, TSize size, TBitmap& scratch)
{
    TspSkinImageKey key(TspSkinImageKind::TrackThumb, SkinPicture);
    key.Add(source).Add(int(size.cx)).Add(int(size.cy)).Add(ButtonTransparent).Add(int(ButtonTransparentColor));
    return CachedSkinImage(SkinData() ? SkinData()->ImageCache() : nullptr, key, scratch, [&](TBitmap* button) {
        button->SetSize(size.cx, size.cy);
        button->Canvas()->CopyRect(Rect(0, 0, size.cx, size.cy), SkinPicture->Canvas(), source);
        if (ButtonTransparent) {
            button->SetTransparentMode(tmFixed);
            button->SetTransparentColor(ButtonTransparentColor);
            button->SetTransparent(true);
        }
    });
}

void TspSkinTrackBar::CreateControlDefaultImage(TBitmap* bitmap)
{
    TCanvas* canvas = bitmap->Canvas();
    const int w = Width();
    const int h = Height();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, w, h));
    Frm3D(canvas, Rect(0, 0, w, h), clBtnShadow, clBtnShadow);
    if (!FVertical)
        Frm3D(canvas, Rect(4, h / 2 - 1, w - 4, h / 2 + 1), clBtnShadow, clBtnHighlight);
    else
        Frm3D(canvas, Rect(w / 2 - 1, 4, w / 2 + 1, h - 4), clBtnShadow, clBtnHighlight);
    const TRect thumb = CalcButtonRect(TrackRect());
    TColor frame = clBtnShadow;
    TColor fill = clBtnFace;
    if (FDragging) {
        frame = clNavy;
        fill = RGB(133, 147, 181);
    } else if (IsFocused()) {
        frame = clNavy;
        fill = RGB(182, 189, 210);
    }
    Frm3D(canvas, thumb, frame, frame);
    canvas->Brush()->SetColor(fill);
    canvas->FillRect(Rect(thumb.Left + 1, thumb.Top + 1, thumb.Right - 1, thumb.Bottom - 1));
}

void TspSkinTrackBar::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (!FMouseSupport)
        return;
    GetSkinData();
    TRect thumb = CalcButtonRect(TrackRect());
    ++thumb.Right;
    ++thumb.Bottom;
    if (!PointInRect(thumb, TPoint { x, y }))
        return;
    StartPos = FVertical ? y : x;
    StartOffset = ButtonOffset;
    FDragging = true;
    Repaint();
    if (OnStartDragButton)
        OnStartDragButton(this);
}

void TspSkinTrackBar::MouseMove(TShiftState shift, int x, int y)
{
    if (FMouseSupport && FDragging) {
        const int offset = FVertical ? StartOffset + (StartPos - y) : StartOffset + (x - StartPos);
        SetValue(CalcValue(offset));
    }
    inherited::MouseMove(shift, x, y);
}

void TspSkinTrackBar::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    if (!FMouseSupport)
        return;
    if (FDragging) {
        FDragging = false;
        Repaint();
        if (OnLastChange)
            OnLastChange(this);
        return;
    }
    if (!FJumpWhenClick)
        return;
    GetSkinData();
    const TRect track = TrackRect();
    CalcButtonRect(track);
    const TSize thumb = ThumbSize();
    // Measured from the left edge, or for a vertical bar from the bottom edge with the track's top margin.
    const int d = SkinIndex == -1 ? 2 : (FVertical ? track.Top : track.Left);
    const int offset = FVertical ? Height() - y - thumb.cy / 2 - d : x - thumb.cx / 2 - d;
    SetValue(CalcValue(offset));
}

void TspSkinTrackBar::LastChange()
{
    if (OnLastChange)
        OnLastChange(this);
}

void TspSkinTrackBar::Step(int delta)
{
    SetValue(FValue + delta);
    LastChange();
}

void TspSkinTrackBar::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    if (!FCanFocused)
        return;
    switch (key) {
    case VK_LEFT:
    case VK_DOWN:
        Step(-1);
        break;
    case VK_UP:
    case VK_RIGHT:
        Step(1);
        break;
    default:
        break;
    }
}

void TspSkinTrackBar::WMMouseWheel(TMessage& message)
{
    if (!IsFocused()) {
        inherited::WndProc(message);
        return;
    }
    const bool forward = static_cast<int16_t>(HIWORD(message.WParam)) > 0;
    // Forward raises a vertical bar and lowers a horizontal one.
    Step(FVertical == forward ? 1 : -1);
    message.Result = 1;
}

void TspSkinTrackBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        PaintOnErase(message);
        return;
    case WM_MOUSEWHEEL:
        WMMouseWheel(message);
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        inherited::WndProc(message);
        if (FCanFocused)
            Repaint();
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

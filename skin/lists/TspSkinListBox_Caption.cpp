// The caption strip of the skinned list frames: its text and glyph, and the up, down and check buttons with their
// auto-repeat.
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"
#include "skin/lists/SkinListSupport.h"
#include "skin/lists/TspSkinListBox.h"

#include <algorithm>

using namespace SPUtils;
using namespace SkinListSupport;

namespace {

constexpr UINT_PTR kButtonTimer = 1;

} // namespace

void TspSkinCustomListBox::CreateControlDefaultImage(TBitmap* bitmap)
{
    inherited::CreateControlDefaultImage(bitmap);
    const int width = bitmap->Width();
    TCanvas* canvas = bitmap->Canvas();
    if (FCaptionMode) {
        const int size = std::min(17, FDefaultCaptionHeight - 3);
        Buttons[0].R = Rect(width - size - 2, 2, width - 2, size + 1);
        Buttons[1].R = Rect(Buttons[0].R.Left - size, 2, Buttons[0].R.Left, size + 1);
        Buttons[2].R = Rect(Buttons[1].R.Left - size, 2, Buttons[1].R.Left, size + 1);
    }
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(Rect(0, 0, width, bitmap->Height()));
    if (!FCaptionMode)
        return;
    const int size = RectWidth(Buttons[0].R);
    canvas->Font()->Assign(FDefaultCaptionFont.get());
    SkinLabels::ApplyCharset(canvas->Font(), SkinData(), FDefaultCaptionFont.get());
    const TRect area = Rect(3, 2, width - 3 * size - 3, FDefaultCaptionHeight - 2);
    const int textTop = (FDefaultCaptionHeight - 2) / 2 - canvas->TextHeight("Wg") / 2;
    DrawCaption(canvas, area, textTop, false);
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->MoveTo(1, FDefaultCaptionHeight - 1);
    canvas->LineTo(width - 1, FDefaultCaptionHeight - 1);
    for (int i = 0; i < 3; ++i)
        DrawButton(canvas, i);
}

void TspSkinCustomListBox::CreateControlSkinImage(TBitmap* bitmap)
{
    inherited::CreateControlSkinImage(bitmap);
    PlaceSkinButtons();
    if (!IsNullRect(CaptionRect)) {
        TRect area = CaptionRect;
        if (area.Right >= RightTopPoint.X)
            area.Right += Width() - RectWidth(SkinRectangle);
        TCanvas* canvas = bitmap->Canvas();
        TFont* font = canvas->Font();
        font->SetName(CaptionFontName);
        font->SetHeight(CaptionFontHeight);
        font->SetStyle(CaptionFontStyle);
        font->SetColor(CaptionFontColor);
        SkinLabels::ApplyCharset(font, SkinData(), FDefaultCaptionFont.get());
        const int textTop = area.Top + RectHeight(area) / 2 - canvas->TextHeight("Wg") / 2;
        DrawCaption(canvas, Rect(area.Left + 2, area.Top, area.Right - 2, area.Bottom), textTop, true);
    }
    for (int i = 0; i < 3; ++i)
        DrawButton(bitmap->Canvas(), i);
}

// The record's buttons follow the frame's right and bottom edges as its corner points do.
void TspSkinCustomListBox::PlaceSkinButtons()
{
    const int dw = Width() - RectWidth(SkinRectangle);
    const int dh = Height() - RectHeight(SkinRectangle);
    for (size_t i = 0; i < 3; ++i) {
        TRect r = ButtonRects[i];
        if (IsNullRect(r)) {
            Buttons[i].R = r;
            continue;
        }
        int pointX = RightTopPoint.X;
        if (r.Top > LeftTopPoint.Y) {
            r = Offset(r, 0, dh);
            pointX = RightBottomPoint.X;
        }
        if (pointX < r.Left)
            r = Offset(r, dw, 0);
        Buttons[i].R = r;
    }
}

void TspSkinCustomListBox::DrawCaption(TCanvas* canvas, const TRect& area, int textTop, bool skinLook)
{
    const std::string& caption = Caption();
    const int glyphCount = std::max(1, static_cast<int>(FNumGlyphs));
    const bool hasGlyph = !FGlyph->Empty();
    const int glyphWidth = hasGlyph ? FGlyph->Width() / glyphCount : 0;
    int contentWidth = canvas->TextWidth(caption);
    if (hasGlyph)
        contentWidth += glyphWidth + FSpacing;
    int x = area.Left;
    if (FAlignment == taRightJustify)
        x = area.Right - contentWidth;
    else if (FAlignment == taCenter)
        x = area.Left + RectWidth(area) / 2 - contentWidth / 2;
    if (hasGlyph) {
        int glyphTop = area.Top + RectHeight(area) / 2 - FGlyph->Height() / 2;
        if (!skinLook)
            glyphTop -= 1;
        const int frame = (!Enabled() && glyphCount == 2) ? 2 : 1;
        DrawGlyph(canvas, x, glyphTop, FGlyph.get(), glyphCount, frame);
        x += glyphWidth + FSpacing;
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(area, x, textTop, caption);
}

void TspSkinCustomListBox::DrawButton(TCanvas* canvas, int index)
{
    const TCaptionButton& button = Buttons[size_t(index)];
    const TRect& r = button.R;
    const bool pressed = button.Down && button.MouseIn;
    if (SkinIndex == -1) {
        canvas->Brush()->SetStyle(bsSolid);
        if (pressed || button.MouseIn) {
            canvas->Brush()->SetColor(pressed ? TColor(0xB59385) : TColor(0xD2BDB6));
            canvas->FillRect(r);
            canvas->Brush()->SetColor(clNavy);
            canvas->FrameRect(r);
        } else {
            canvas->Brush()->SetColor(clBtnFace);
            canvas->FillRect(r);
        }
        if (index == 2)
            DrawCheckImage(canvas, r.Left + 4, r.Top + 4, clBlack);
        else
            DrawArrowImage(canvas, r, clBlack, index == 0 ? 3 : 4);
        return;
    }
    if (IsNullRect(r) || !SkinPicture)
        return;
    TRect source;
    if (pressed)
        source = DownButtonRects[size_t(index)];
    else if (button.MouseIn)
        source = ActiveButtonRects[size_t(index)];
    if (IsNullRect(source)) {
        source = Offset(ButtonRects[size_t(index)], SkinRectangle.Left, SkinRectangle.Top);
    }
    canvas->CopyRect(r, SkinPicture->Canvas(), source);
}

// ---- Caption buttons' input -----------------------------------------------------------------------------------

bool TspSkinCustomListBox::ButtonsActive() const
{
    if (!FCaptionMode)
        return false;
    return SkinIndex == -1 || !IsNullRect(ButtonRects[0]) || !IsNullRect(ButtonRects[1]);
}

void TspSkinCustomListBox::TestActive(int x, int y)
{
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int i = 0; i < 3; ++i)
        if (Contains(Buttons[size_t(i)].R, x, y)) {
            ActiveButton = i;
            break;
        }
    if (CaptureButton != -1 && ActiveButton != CaptureButton)
        ActiveButton = -1;
    if (ActiveButton == OldActiveButton)
        return;
    if (OldActiveButton != -1)
        ButtonLeave(OldActiveButton);
    if (ActiveButton != -1)
        ButtonEnter(ActiveButton);
}

const TNotifyEvent& TspSkinCustomListBox::ButtonEvent(int index) const
{
    return index == 0 ? OnUpButtonClick : index == 1 ? OnDownButtonClick : OnCheckButtonClick;
}

void TspSkinCustomListBox::ButtonDown(int index)
{
    TCaptionButton& button = Buttons[size_t(index)];
    button.MouseIn = true;
    button.Down = true;
    Repaint();
    if (!ButtonEvent(index) && index < 2) {
        TimerMode = index + 1;
        WaitMode = true;
        StartTimer(500);
    }
}

void TspSkinCustomListBox::ButtonUp(int index)
{
    TCaptionButton& button = Buttons[size_t(index)];
    button.Down = false;
    button.MouseIn = ActiveButton == index;
    Repaint();
    if (const TNotifyEvent& event = ButtonEvent(index)) {
        event(this);
    } else if (index == 0) {
        StepUp();
    } else if (index == 1) {
        StepDown();
    } else {
        CheckButtonAction();
    }
    if (TimerMode != 0)
        StopTimer();
}

void TspSkinCustomListBox::ButtonEnter(int index)
{
    Buttons[size_t(index)].MouseIn = true;
    Repaint();
    if (TimerMode != 0 && CaptureButton == index)
        StartTimer(50);
}

void TspSkinCustomListBox::ButtonLeave(int index)
{
    Buttons[size_t(index)].MouseIn = false;
    Repaint();
    if (TimerMode != 0 && CaptureButton == index && HandleAllocated())
        KillTimer(Handle(), kButtonTimer);
}

void TspSkinCustomListBox::CheckButtonAction() { FListBox->Click(); }

void TspSkinCustomListBox::StartTimer(int ms)
{
    KillTimer(Handle(), kButtonTimer);
    SetTimer(Handle(), kButtonTimer, static_cast<UINT>(ms), nullptr);
}

void TspSkinCustomListBox::StopTimer()
{
    if (HandleAllocated())
        KillTimer(Handle(), kButtonTimer);
    TimerMode = 0;
}

void TspSkinCustomListBox::WMTimer()
{
    if (TimerMode == 0)
        return;
    if (WaitMode) {
        WaitMode = false;
        StartTimer(100);
        return;
    }
    if (TimerMode == 1)
        StepUp();
    else
        StepDown();
}

// Both steps stop at the ends of the list.
void TspSkinCustomListBox::StepUp()
{
    if (ItemIndex() > 0)
        SetItemIndex(ItemIndex() - 1);
}

void TspSkinCustomListBox::StepDown()
{
    if (ItemIndex() < Items()->Count() - 1)
        SetItemIndex(ItemIndex() + 1);
}

void TspSkinCustomListBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (ButtonsActive()) {
        TestActive(x, y);
        if (ActiveButton != -1) {
            CaptureButton = ActiveButton;
            ButtonDown(ActiveButton);
        }
    }
    inherited::MouseDown(button, shift, x, y);
}

void TspSkinCustomListBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (CaptureButton != -1) {
        const int pressed = CaptureButton;
        CaptureButton = -1;
        ButtonUp(pressed);
    }
    inherited::MouseUp(button, shift, x, y);
}

void TspSkinCustomListBox::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    if (ButtonsActive())
        TestActive(x, y);
}

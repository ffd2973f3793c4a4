#include "skin/controls/SkinExPanel.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImages.h"

#include <algorithm>

using namespace SPUtils;
using namespace SkinControlSupport;

namespace {

constexpr TColor kHotFill = 0xD2BDB6;     // RGB(182, 189, 210)
constexpr TColor kPressedFill = 0xB59385; // RGB(133, 147, 181)
constexpr int kArrowLeft = 1, kArrowRight = 2, kArrowUp = 3, kArrowDown = 4;
// Rows of the caption-button rectangle table.
enum { kCloseRects, kHRoll, kHRestore, kVRoll, kVRestore };

int RectW(const TRect& r)
{
    return r.Right - r.Left;
}

int RectH(const TRect& r)
{
    return r.Bottom - r.Top;
}

bool Inside(const TRect& r, int x, int y)
{
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

} // namespace

TspSkinExPanel::TspSkinExPanel(TComponent* owner)
    : inherited(owner)
    , FGlyph(std::make_unique<TBitmap>())
{
    SetControlStyle(TControlStyle { csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
        csDoubleClicks, csReplicatable });
    PaintBorderStrips = true;
    SetSkinDataName("expanel");
    SetBounds(Left(), Top(), 150, 100);
}

TspSkinExPanel::~TspSkinExPanel() = default;

// ---- Properties --------------------------------------------------------------------------------------------------

void TspSkinExPanel::SetGlyph(TBitmap* value)
{
    FGlyph->Assign(value);
    Repaint();
}

void TspSkinExPanel::SetNumGlyphs(int value)
{
    FNumGlyphs = std::clamp(value, 1, 2);
    Repaint();
}

void TspSkinExPanel::SetSpacing(int value)
{
    FSpacing = value;
    Repaint();
}

void TspSkinExPanel::SetCaptionImageList(TCustomImageList* value)
{
    if (FCaptionImageList)
        FCaptionImageList->RemoveFreeNotification(this);
    FCaptionImageList = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinExPanel::SetCaptionImageIndex(int value)
{
    if (value == FCaptionImageIndex)
        return;
    FCaptionImageIndex = value;
    Repaint();
}

void TspSkinExPanel::SetDefaultCaptionHeight(int value)
{
    FDefaultCaptionHeight = value;
    if (SkinIndex == -1) {
        Repaint();
        Realign();
    }
}

void TspSkinExPanel::SetShowRollButton(bool value)
{
    FShowRollButton = value;
    Repaint();
}

void TspSkinExPanel::SetShowCloseButton(bool value)
{
    FShowCloseButton = value;
    Repaint();
}

void TspSkinExPanel::SetRollKind(TspExPanelRollKind value)
{
    FRollKind = value;
    Repaint();
}

void TspSkinExPanel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == static_cast<TComponent*>(FCaptionImageList))
        FCaptionImageList = nullptr;
}

// ---- Rolling -----------------------------------------------------------------------------------------------------

int TspSkinExPanel::GetRollWidth()
{
    GetSkinData();
    return SkinIndex == -1 ? FDefaultCaptionHeight : RectW(RollHSkinRect);
}

int TspSkinExPanel::GetRollHeight()
{
    GetSkinData();
    return SkinIndex == -1 ? FDefaultCaptionHeight : RectH(RollVSkinRect);
}

void TspSkinExPanel::SetRollState(bool value)
{
    if (value == FRollState)
        return;
    FInRoll = true;
    TSizeConstraints* c = Constraints();
    if (value) {
        // The panel unrolls by the kind it rolled by, even when RollKind changes meanwhile.
        FRolledKind = FRollKind;
        FRollState = true;
        PaintBorderStrips = false;
        SavedConstraints[0] = c->MaxWidth();
        SavedConstraints[1] = c->MinWidth();
        SavedConstraints[2] = c->MaxHeight();
        SavedConstraints[3] = c->MinHeight();
        c->SetMaxWidth(0);
        c->SetMinWidth(0);
        c->SetMaxHeight(0);
        c->SetMinHeight(0);
        HideControls();
        if (FRolledKind == rkRollVertical && FRealHeight == 0) {
            FRealHeight = Height();
            SetHeight(GetRollHeight());
        } else if (FRolledKind == rkRollHorizontal && FRealWidth == 0) {
            FRealWidth = Width();
            SetWidth(GetRollWidth());
        }
    } else {
        FRollState = false;
        PaintBorderStrips = true;
        c->SetMaxWidth(SavedConstraints[0]);
        c->SetMinWidth(SavedConstraints[1]);
        c->SetMaxHeight(SavedConstraints[2]);
        c->SetMinHeight(SavedConstraints[3]);
        if (FRolledKind == rkRollHorizontal) {
            SetWidth(FRealWidth);
            FRealWidth = 0;
        } else {
            SetHeight(FRealHeight);
            FRealHeight = 0;
        }
        ShowControls();
    }
    FInRoll = false;
    Repaint();
    if (!Designing() && OnChangeRollState)
        OnChangeRollState(this);
}

void TspSkinExPanel::ShowControls()
{
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->SetVisible(true);
    EnableAlign();
}

void TspSkinExPanel::HideControls()
{
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->SetVisible(false);
}

void TspSkinExPanel::Close()
{
    Hide();
    if (!Designing() && OnClose)
        OnClose(this);
}

void TspSkinExPanel::SetBounds(int left, int top, int width, int height)
{
    if (FRollState && !FInRoll) {
        if (FRolledKind == rkRollHorizontal)
            width = GetRollWidth();
        else
            height = GetRollHeight();
    }
    inherited::SetBounds(left, top, width, height);
}

// ---- The skin ----------------------------------------------------------------------------------------------------

void TspSkinExPanel::GetSkinData()
{
    inherited::GetSkinData();
    // A record that names no picture cannot be painted from: the default look.
    if (SkinIndex != -1 && !SkinPicture) {
        SkinIndex = -1;
        return;
    }
    auto* record = SkinRecordAt<TspDataSkinExPanelControl>(SkinData(), SkinIndex);
    if (!record)
        return;
    CaptionRect = record->CaptionRect;
    RollHSkinRect = record->RollHSkinRect;
    RollVSkinRect = record->RollVSkinRect;
    RollVCaptionRect = record->RollVCaptionRect;
    RollHCaptionRect = record->RollHCaptionRect;
    RollLeftOffset = record->RollLeftOffset;
    RollRightOffset = record->RollRightOffset;
    RollTopOffset = record->RollTopOffset;
    RollBottomOffset = record->RollBottomOffset;
    CaptionFont = RecordFont(record);
    ButtonsTransparent = record->ButtonsTransparent;
    ButtonsTransparentColor = record->ButtonsTransparentColor;
    const TRect rects[5][3] = {
        { record->CloseButtonRect, record->CloseButtonActiveRect, record->CloseButtonDownRect },
        { record->HRollButtonRect, record->HRollButtonActiveRect, record->HRollButtonDownRect },
        { record->HRestoreButtonRect, record->HRestoreButtonActiveRect, record->HRestoreButtonDownRect },
        { record->VRollButtonRect, record->VRollButtonActiveRect, record->VRollButtonDownRect },
        { record->VRestoreButtonRect, record->VRestoreButtonActiveRect, record->VRestoreButtonDownRect },
    };
    for (int row = 0; row < 5; ++row) {
        TRect normal = rects[row][0];
        TRect active = rects[row][1];
        TRect down = rects[row][2];
        // The roll and restore buttons fall back: active to normal, down to active.
        if (row != kCloseRects) {
            if (IsNullRect(active))
                active = normal;
            if (IsNullRect(down))
                down = active;
        }
        ButtonRects[row][0] = normal;
        ButtonRects[row][1] = active;
        ButtonRects[row][2] = down;
    }
}

void TspSkinExPanel::ChangeSkinData()
{
    inherited::ChangeSkinData();
    if (!FRollState)
        Realign();
    else if (FRolledKind == rkRollVertical)
        SetHeight(GetRollHeight());
    else
        SetWidth(GetRollWidth());
}

void TspSkinExPanel::AdjustClientRect(TRect& rect)
{
    inherited::AdjustClientRect(rect);
    GetSkinData();
    if (SkinIndex == -1 || Designing()) {
        rect = Rect(rect.Left + 1, rect.Top + FDefaultCaptionHeight, rect.Right - 1, rect.Bottom - 1);
        return;
    }
    int width = this->Width();
    int height = this->Height();
    CalcSize(width, height);
    rect = SizedClientRect;
}

void TspSkinExPanel::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        if (!Designing())
            TestActive(-1, -1);
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        if (!Designing()) {
            SetButtonMouseIn(kClose, false);
            SetButtonMouseIn(kRoll, false);
        }
        return;
    case CM_TEXTCHANGED:
        inherited::WndProc(message);
        Repaint();
        return;
    default:
        inherited::WndProc(message);
        return;
    }
}

// ---- The caption buttons -----------------------------------------------------------------------------------------

void TspSkinExPanel::SetButtonMouseIn(int index, bool value)
{
    if (FButtons[index].MouseIn == value)
        return;
    FButtons[index].MouseIn = value;
    Repaint();
}

void TspSkinExPanel::TestActive(int x, int y)
{
    int active = -1;
    for (int i : { kClose, kRoll })
        if (Shown(i) && Inside(FButtons[i].R, x, y))
            active = i;
    // While a button is held, the other one does not light up.
    if (CaptureButton != -1 && active != CaptureButton)
        active = -1;
    OldActiveButton = ActiveButton;
    ActiveButton = active;
    if (OldActiveButton == ActiveButton)
        return;
    if (OldActiveButton != -1)
        SetButtonMouseIn(OldActiveButton, false);
    if (ActiveButton != -1)
        SetButtonMouseIn(ActiveButton, true);
}

void TspSkinExPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TestActive(x, y);
    if (ActiveButton != -1) {
        CaptureButton = ActiveButton;
        FButtons[CaptureButton].MouseIn = true;
        FButtons[CaptureButton].Down = true;
        Repaint();
    }
    inherited::MouseDown(button, shift, x, y);
}

void TspSkinExPanel::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    TestActive(x, y);
}

void TspSkinExPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    if (CaptureButton == -1)
        return;
    const int index = CaptureButton;
    CaptureButton = -1;
    ButtonUp(index);
    if (FButtons[index].MouseIn) {
        if (index == kClose) {
            Close();
        } else {
            SetRollState(!FRollState);
            TestActive(x, y);
            Repaint();
        }
    }
}

void TspSkinExPanel::ButtonUp(int index)
{
    FButtons[index].Down = false;
    if (ActiveButton != index)
        FButtons[index].MouseIn = false;
    Repaint();
}

// ---- Painting ----------------------------------------------------------------------------------------------------

int TspSkinExPanel::CaptionImageWidth() const
{
    return TCaptionImage { FGlyph.get(), FNumGlyphs, FCaptionImageList, FCaptionImageIndex, Enabled() }.Width();
}

int TspSkinExPanel::CaptionImageHeight() const
{
    return TCaptionImage { FGlyph.get(), FNumGlyphs, FCaptionImageList, FCaptionImageIndex, Enabled() }.Height();
}

void TspSkinExPanel::DrawCaptionImage(TCanvas* canvas, int x, int y)
{
    TCaptionImage { FGlyph.get(), FNumGlyphs, FCaptionImageList, FCaptionImageIndex, Enabled() }.Draw(canvas, x, y);
}

void TspSkinExPanel::SetCaptionFont(TCanvas* canvas)
{
    TFont* font = canvas->Font();
    font->Assign(DefaultFont());
    if (SkinIndex == -1) {
        SkinLabels::ApplyCharset(font, SkinData(), DefaultFont());
    } else {
        ApplyCaptionFont(font, CaptionFont, UseSkinFont(), DefaultFont(), SkinData());
        font->SetColor(CaptionFont.Color);
    }
    canvas->Brush()->SetStyle(bsClear);
}

void TspSkinExPanel::DrawCaption(TCanvas* canvas, TRect area)
{
    const int imageWidth = CaptionImageWidth();
    if (imageWidth > 0) {
        DrawCaptionImage(canvas, area.Left, area.Top + RectH(area) / 2 - CaptionImageHeight() / 2);
        area.Left += imageWidth + FSpacing;
    }
    SPDrawText2(canvas, Caption(), area);
}

void TspSkinExPanel::DrawRotatedCaption(TCanvas* canvas, const TRect& area, int imageGap)
{
    int bottom = area.Bottom - 2;
    const int imageHeight = CaptionImageHeight();
    if (imageHeight > 0) {
        const int x = area.Left + RectW(area) / 2 - CaptionImageWidth() / 2;
        DrawCaptionImage(canvas, x, bottom - imageHeight);
        bottom -= imageHeight + FSpacing + imageGap;
    }
    TFont* font = canvas->Font();
    font->SetOrientation(900);
    const int x = area.Left + RectW(area) / 2 - canvas->TextHeight(Caption()) / 2;
    canvas->TextRect(area, x, bottom, Caption());
    font->SetOrientation(0);
}

void TspSkinExPanel::CreateControlDefaultImage(TBitmap* bitmap)
{
    TCanvas* canvas = bitmap->Canvas();
    const int w = this->Width();
    const int h = this->Height();
    const int s = FDefaultCaptionHeight - 6;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, w, h));
    SetCaptionFont(canvas);
    if (FRollState && FRolledKind == rkRollHorizontal) {
        Frm3D(canvas, Rect(0, 0, w, h), clBtnShadow, clBtnShadow);
        Frm3D(canvas, Rect(1, 1, w - 1, h - 1), clBtnHighlight, clBtnFace);
        FButtons[kClose].R = FShowCloseButton ? Rect(3, 3, s + 3, s + 3) : Rect(3, 3, s + 3, 3);
        const int top = FButtons[kClose].R.Bottom;
        FButtons[kRoll].R = FShowRollButton ? Rect(3, top, s + 3, top + s) : Rect(3, top, s + 3, top);
        TRect area = Rect(1, 1, w - 1, h - 1);
        area.Top = FButtons[kRoll].R.Bottom + 2;
        DrawRotatedCaption(canvas, area, 2);
    } else {
        Frm3D(canvas, Rect(0, 0, w, h), clBtnShadow, clBtnShadow);
        const TRect caption = Rect(0, 0, w, FDefaultCaptionHeight);
        Frm3D(canvas, caption, clBtnShadow, clBtnShadow);
        Frm3D(canvas, Rect(1, 1, w - 1, FDefaultCaptionHeight - 1), clBtnHighlight, clBtnFace);
        FButtons[kClose].R = FShowCloseButton ? Rect(w - s - 2, 3, w - 2, s + 3) : Rect(w - 2, 3, w - 2, s + 3);
        const int left = FButtons[kClose].R.Left;
        FButtons[kRoll].R = FShowRollButton ? Rect(left - s, 3, left, s + 3) : Rect(left, 3, left, s + 3);
        TRect area = Rect(2, 1, w - 1, FDefaultCaptionHeight - 1);
        area.Right = FButtons[kRoll].R.Left - 2;
        DrawCaption(canvas, area);
    }
    DrawButton(canvas, kClose);
    DrawButton(canvas, kRoll);
}

void TspSkinExPanel::DrawSkinButtons(TCanvas* canvas, TRect area, bool horizontalStrip)
{
    const TRect closeSize = ButtonRects[kCloseRects][0];
    const TRect rollSize = ButtonRects[horizontalStrip ? kHRoll : kVRoll][0];
    if (horizontalStrip) {
        // Down the strip: close at the top-left, roll 2 pixels below it.
        FButtons[kClose].R = FShowCloseButton
            ? Bounds(area.Left, area.Top, RectW(closeSize), RectH(closeSize)) : Rect(area.Left, area.Top, area.Left, area.Top);
        const int top = FShowCloseButton ? FButtons[kClose].R.Bottom + 2 : area.Top;
        FButtons[kRoll].R = FShowRollButton ? Bounds(area.Left, top, RectW(rollSize), RectH(rollSize))
                                            : Rect(area.Left, top, area.Left, top);
        area.Top = std::max(FButtons[kClose].R.Bottom, FButtons[kRoll].R.Bottom) + 2;
        DrawRotatedCaption(canvas, area, 0);
    } else {
        // Along the caption: close at the right, roll 2 pixels left of it.
        FButtons[kClose].R = FShowCloseButton
            ? Rect(area.Right - RectW(closeSize), area.Top, area.Right, area.Top + RectH(closeSize))
            : Rect(area.Right, area.Top, area.Right, area.Top);
        const int right = FShowCloseButton ? FButtons[kClose].R.Left - 2 : area.Right;
        FButtons[kRoll].R = FShowRollButton
            ? Rect(right - RectW(rollSize), area.Top, right, area.Top + RectH(rollSize))
            : Rect(right, area.Top, right, area.Top);
        area.Right = std::min(FButtons[kClose].R.Left, FButtons[kRoll].R.Left) - 2;
        DrawCaption(canvas, area);
    }
    DrawButton(canvas, kClose);
    DrawButton(canvas, kRoll);
}

void TspSkinExPanel::CreateControlSkinImage(TBitmap* bitmap)
{
    TCanvas* canvas = bitmap->Canvas();
    const int w = this->Width();
    const int h = this->Height();
    if (!FRollState) {
        inherited::CreateControlSkinImage(bitmap);
        SetCaptionFont(canvas);
        TRect area = CaptionRect;
        area.Right += w - RectW(SkinRectangle);
        DrawSkinButtons(canvas, area, false);
        return;
    }
    if (FRolledKind == rkRollVertical) {
        CreateHSkinImage(RollLeftOffset, RollRightOffset, bitmap, SkinPicture, RollVSkinRect, w, GetRollHeight(),
            TopStretch);
        SetCaptionFont(canvas);
        TRect area = RollVCaptionRect;
        area.Right += w - RectW(RollVSkinRect);
        DrawSkinButtons(canvas, area, false);
        return;
    }
    CreateVSkinImage(RollTopOffset, RollBottomOffset, bitmap, SkinPicture, RollHSkinRect, GetRollWidth(), h,
        TopStretch);
    SetCaptionFont(canvas);
    TRect area = RollHCaptionRect;
    area.Bottom += h - RectH(RollHSkinRect);
    DrawSkinButtons(canvas, area, true);
}

void TspSkinExPanel::DrawButton(TCanvas* canvas, int index)
{
    const TCaptionButton& b = FButtons[index];
    if (IsNullRect(b.R) || RectW(b.R) <= 0 || RectH(b.R) <= 0)
        return;
    const bool pressed = b.Down && b.MouseIn;
    const bool horizontal = ActiveRollKind() == rkRollHorizontal;
    if (SkinIndex == -1) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(b.R);
        if (b.MouseIn) {
            Frm3D(canvas, b.R, clNavy, clNavy);
            canvas->Brush()->SetColor(pressed ? kPressedFill : kHotFill);
            canvas->FillRect(Rect(b.R.Left + 1, b.R.Top + 1, b.R.Right - 1, b.R.Bottom - 1));
        }
        TRect glyph = b.R;
        if (pressed) {
            glyph.Left += 2;
            glyph.Top += 2;
        }
        if (index == kClose)
            DrawRCloseImage(canvas, glyph, clBlack);
        else
            DrawArrowImage(canvas, glyph, clBlack,
                horizontal ? (FRollState ? kArrowRight : kArrowLeft) : (FRollState ? kArrowDown : kArrowUp));
        return;
    }
    const int row = index == kClose ? kCloseRects
        : horizontal              ? (FRollState ? kHRestore : kHRoll)
                                  : (FRollState ? kVRestore : kVRoll);
    const TRect source = ButtonRects[row][pressed ? 2 : b.MouseIn ? 1 : 0];
    if (!ButtonsTransparent || IsNullRect(source)) {
        if (!IsNullRect(source))
            canvas->CopyRect(b.R, SkinPicture->Canvas(), source);
        return;
    }
    DrawPiece(canvas, b.R.Left, b.R.Top, SkinPicture, source, true, ButtonsTransparentColor);
}

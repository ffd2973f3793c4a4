#include "skin/lists/TspComboSkinParts.h"

#include "framework/controls/Messages.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/TspSkinData.h"
#include "platform/win/WinMessages.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/lists/SkinListSupport.h"
#include "skin/lists/TspSkinListBox.h"

using namespace SPUtils;

void TspComboSkinParts::ReadComboRecord(const TspDataSkinComboBox* record)
{
    ActiveSkinRect = record->ActiveSkinRect;
    SItemRect = record->ItemRect;
    FocusItemRect = IsNullRect(record->FocusItemRect) ? record->ItemRect : record->FocusItemRect;
    ActiveItemRect = record->ActiveItemRect;
    ItemLeftOffset = record->ItemLeftOffset;
    ItemRightOffset = record->ItemRightOffset;
    ItemTextRect = record->ItemTextRect;
    FontName = record->FontName;
    FontStyle = record->FontStyle;
    FontHeight = record->FontHeight;
    FontColor = record->FontColor;
    FocusFontColor = record->FocusFontColor;
    ActiveFontColor = record->ActiveFontColor;
    SButtonRect = record->ButtonRect;
    ActiveButtonRect = record->ActiveButtonRect;
    DownButtonRect = record->DownButtonRect;
    UnEnabledButtonRect = record->UnEnabledButtonRect;
    ListBoxName = record->ListBoxName;
    ItemStretchEffect = record->ItemStretchEffect;
    FocusItemStretchEffect = record->FocusItemStretchEffect;
    ShowFocus = record->ShowFocus;
}

bool TspComboSkinParts::ReadComboRecord(const TspSkinData* skin, int index)
{
    const auto* record = SkinRecordAt<TspDataSkinComboBox>(skin, index);
    if (record)
        ReadComboRecord(record);
    return record != nullptr;
}

void TspComboSkinParts::CalcFaceRects(int width, int height, bool skinned, const TRect& skinRect, int rightTopX,
    const TRect& skinClientRect, bool growHeight)
{
    if (!skinned) {
        ButtonRect = Rect(width - 19, 2, width - 2, height - 2);
        CBItemRect = Rect(2, 2, ButtonRect.Left - 1, height - 2);
        return;
    }
    const int dw = width - RectWidth(skinRect);
    const int dh = height - RectHeight(skinRect);
    ButtonRect = SButtonRect;
    if (ButtonRect.Left >= RectWidth(skinRect) - rightTopX)
        ButtonRect = SkinListSupport::Offset(ButtonRect, dw, 0);
    CBItemRect = skinClientRect;
    CBItemRect.Right += dw;
    if (growHeight) {
        ButtonRect.Bottom += dh;
        CBItemRect.Bottom += dh;
    }
}

void TspComboSkinParts::DrawDefaultComboButton(TCanvas* canvas, bool enabled) const
{
    const TRect& r = ButtonRect;
    canvas->Brush()->SetStyle(bsSolid);
    if (FButtonHover) {
        canvas->Brush()->SetColor(FButtonPressed ? TColor(0xB59385) : TColor(0xD2BDB6));
        canvas->FillRect(r);
        canvas->Brush()->SetColor(clNavy);
    } else {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(r);
        canvas->Brush()->SetColor(clBtnShadow);
    }
    canvas->FrameRect(r);
    DrawArrowImage(canvas, r, enabled ? clBlack : clBtnShadow, 4);
}

void TspComboSkinParts::DrawSkinComboButton(TCanvas* canvas, TBitmap* picture, bool enabled) const
{
    TRect source;
    if (!enabled && !IsNullRect(UnEnabledButtonRect))
        source = UnEnabledButtonRect;
    else if (FButtonPressed && FButtonHover)
        source = DownButtonRect;
    else if (FButtonHover)
        source = ActiveButtonRect;
    if (IsNullRect(source) || !picture)
        return;
    canvas->CopyRect(ButtonRect, picture->Canvas(), source);
}

int TspComboSkinParts::SkinItemHeight(int areaHeight) const
{
    int height = RectHeight(SItemRect);
    if (height <= 0)
        height = RectHeight(FocusItemRect);
    return height > 0 ? height : areaHeight;
}

const TRect& TspComboSkinParts::SkinItemSource(bool focused) const
{
    const bool activeLook = MouseIn && !IsNullRect(ActiveSkinRect) && !IsNullRect(ActiveItemRect);
    return focused ? FocusItemRect : activeLook ? ActiveItemRect : SItemRect;
}

TRect TspComboSkinParts::SkinItemTextRect(int areaWidth, const TRect& skinClientRect) const
{
    TRect r = ItemTextRect;
    r.Right += areaWidth - (IsNullRect(SItemRect) ? RectWidth(skinClientRect) : RectWidth(SItemRect));
    return r;
}

TColor TspComboSkinParts::SkinItemFontColor(bool focused) const
{
    return focused ? FocusFontColor : (MouseIn && !IsNullRect(ActiveSkinRect)) ? ActiveFontColor : FontColor;
}

TColor TspComboSkinParts::DisabledFontColor(const TspSkinData* skin)
{
    if (skin)
        if (auto* edit = SkinRecordAt<TspDataSkinEditControl>(skin, skin->GetControlIndex("edit")))
            return edit->DisabledFontColor;
    return clGrayText;
}

void TspComboSkinParts::TrackList(TWinControl* combo, TspSkinCustomListBox* list, int x, int y)
{
    TspListBox* inner = list->ListBox();
    const TPoint p = inner->ScreenToClient(combo->ClientToScreen(TPoint { x, y }));
    const bool bar = list->VScrollBar() != nullptr;
    if (p.Y < 0) {
        if (bar && FMovedInList)
            SetTimerMode(combo, 1);
    } else if (p.Y > inner->Height()) {
        if (bar && FMovedInList)
            SetTimerMode(combo, 2);
    } else {
        StopTimer(combo);
        inner->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(1, p.Y));
        FMovedInList = true;
    }
}

void TspComboSkinParts::SetTimerMode(TWinControl* combo, int mode)
{
    if (mode == TimerMode)
        return;
    TimerMode = mode;
    KillTimer(combo->Handle(), 1);
    SetTimer(combo->Handle(), 1, 25, nullptr);
}

void TspComboSkinParts::StopTimer(TWinControl* combo)
{
    if (TimerMode != 0 && combo->HandleAllocated())
        KillTimer(combo->Handle(), 1);
    TimerMode = 0;
}

TspComboSkinParts::TFaceAction TspComboSkinParts::PressFace(TWinControl* combo, int x, int y, bool itemOpens,
    bool listShown)
{
    const bool onFace
        = SkinListSupport::Contains(ButtonRect, x, y) || (itemOpens && SkinListSupport::Contains(CBItemRect, x, y));
    if (!onFace)
        return listShown ? TFaceAction::Close : TFaceAction::None;
    FButtonPressed = true;
    combo->Repaint();
    if (listShown)
        return TFaceAction::Close;
    FMovedInList = false;
    FTracking = true;
    return TFaceAction::Open;
}

void TspComboSkinParts::FollowPointer(TWinControl* combo, TspSkinCustomListBox* list, bool listShown, int x, int y)
{
    if (FTracking && listShown) {
        TrackList(combo, list, x, y);
        return;
    }
    const bool hover = SkinListSupport::Contains(ButtonRect, x, y);
    if (hover == FButtonHover)
        return;
    FButtonHover = hover;
    combo->Repaint();
}

bool TspComboSkinParts::IsOwnPart(const TControl* sender, const TControl* combo, TspSkinCustomListBox* list)
{
    return sender
        && (sender == combo || sender == list || sender == list->ListBox()
            || sender == static_cast<const TControl*>(list->VScrollBar())
            || sender == static_cast<const TControl*>(list->HScrollBar()));
}

bool TspComboSkinParts::ClaimArrowKey(TMessage& message)
{
    if (message.WParam < VK_LEFT || message.WParam > VK_DOWN)
        return false;
    message.Result = 1;
    return true;
}

TPoint TspComboSkinParts::DropDownOrigin(TWinControl* combo, int listHeight)
{
    TPoint origin = combo->ClientToScreen(TPoint { 0, combo->Height() });
    TRect workArea;
    GetMonitorWorkArea(combo->Handle(), true, workArea);
    if (origin.Y + listHeight > workArea.Bottom)
        origin.Y = combo->ClientToScreen(TPoint { 0, 0 }).Y - listHeight;
    return origin;
}

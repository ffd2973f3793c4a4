#include "skin/controls/SkinButtons.h"

#include "framework/controls/ActnList.h"
#include "framework/controls/Forms.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/Menus.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/core/TspSkinData.h"

TspSkinButton::TspSkinButton(TComponent* owner)
    : inherited(owner)
{
    // Clicks come from ButtonClick alone; the framework's own release click would repeat them.
    TControlStyle style = ControlStyle();
    style.Exclude(csClickEvents);
    SetControlStyle(style);
    SetBounds(Left(), Top(), 75, 25);
    SetSkinDataName("button");
    SetTabStop(true);
}

void TspSkinButton::SetCanFocused(bool value)
{
    FCanFocused = value;
    SetTabStop(value);
}

void TspSkinButton::SetGroupIndex(int value)
{
    inherited::SetGroupIndex(value);
    if (value != 0)
        SetCanFocused(false);
}

void TspSkinButton::SetDefault(bool value)
{
    FDefault = value;
    if (HandleAllocated() && FCanFocused && !Designing())
        if (TCustomForm* form = GetParentForm(this))
            form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(form->ActiveControl()));
}

bool TspSkinButton::KeepsHotOnLeave() const
{
    // The default button stays hot while a control that is no skin button has the focus.
    return FCanFocused && FDefault && FocusDefault && !Focused();
}

bool TspSkinButton::IsGroupPeer(TControl* control) const
{
    return dynamic_cast<TspSkinButton*>(control) != nullptr;
}

void TspSkinButton::CreateWnd()
{
    inherited::CreateWnd();
    FocusDefault = FDefault;
}

void TspSkinButton::ButtonClick()
{
    if (FCanFocused)
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(FModalResult);
    // OnClick, or the action when OnClick is unassigned.
    TControl::Click();
}

void TspSkinButton::ActionChange(TObject* sender, bool checkDefaults)
{
    inherited::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action || !action->ActionList() || !Glyph()->Empty())
        return;
    TCustomImageList* images = action->ActionList()->Images();
    if (!images || action->ImageIndex() < 0 || action->ImageIndex() >= images->Count())
        return;
    Glyph()->SetSize(images->Width(), images->Height());
    TCanvas* canvas = Glyph()->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clFuchsia);
    canvas->FillRect(Rect(0, 0, images->Width(), images->Height()));
    images->Draw(canvas, 0, 0, action->ImageIndex());
    Repaint();
}

void TspSkinButton::DrawSkinFocus(TCanvas* canvas, const TRect& r)
{
    if (!SkinFocusShown())
        return;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(SkinData()->Colors->cBtnFace);
    canvas->DrawFocusRect(r);
    canvas->Brush()->SetStyle(bsClear);
}

// ---- Messages -----------------------------------------------------------------------------------------------------

void TspSkinButton::KeyMessage(TMessage& message, bool& handled)
{
    switch (message.Msg) {
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE && SpacePresses) {
            SetDown(true);
            if (RepeatMode())
                ButtonClick();
        } else if (message.WParam == VK_RETURN) {
            ButtonClick();
        }
        break;
    case WM_KEYUP:
        if (message.WParam == VK_SPACE && SpacePresses) {
            SetDown(false);
            ButtonClick();
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A press first takes the focus; a press the focus was refused to goes no further.
        if (!Designing() && !Focused()) {
            FClicksDisabled = true;
            SetFocus();
            FClicksDisabled = false;
            handled = !Focused();
        }
        break;
    case CN_COMMAND:
        handled = FClicksDisabled;
        break;
    default:
        break;
    }
}

void TspSkinButton::CMDialogKey(TMessage& message)
{
    const bool enter = message.WParam == VK_RETURN && FocusDefault && Enabled();
    const bool escape = message.WParam == VK_ESCAPE && FCancel && FCanFocused
        && KeyDataToShiftState(static_cast<uint32_t>(message.LParam)).Empty() && CanFocus();
    if (enter || escape) {
        ButtonClick();
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}

void TspSkinButton::CMDialogChar(TMessage& message)
{
    if (IsAccel(static_cast<uint32_t>(message.WParam), Caption()) && CanFocus() && FCanFocused) {
        SetFocus();
        ButtonClick();
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}

void TspSkinButton::CMFocusChanged(TMessage& message)
{
    auto* sender = reinterpret_cast<TControl*>(message.LParam);
    const bool senderIsButton = dynamic_cast<TspSkinButton*>(sender) != nullptr;
    FocusDefault = senderIsButton ? sender == this : FDefault;
    if (FDefault && FCanFocused) {
        if (senderIsButton) {
            if (sender != this) {
                FHot = false;
                ReDrawControl();
            }
        } else {
            // The default button looks hot while a control that is no skin button has the focus.
            FHot = true;
            if (EnableMorphing())
                FMorphKf = 1;
            Repaint();
        }
    }
    inherited::WndProc(message);
}

void TspSkinButton::WndProc(TMessage& message)
{
    if (FCanFocused) {
        bool handled = false;
        KeyMessage(message, handled);
        if (handled)
            return;
    }
    switch (message.Msg) {
    case CM_DIALOGKEY:
        CMDialogKey(message);
        break;
    case CM_DIALOGCHAR:
        CMDialogChar(message);
        break;
    case CM_FOCUSCHANGED:
        CMFocusChanged(message);
        break;
    case WM_SETFOCUS:
        inherited::WndProc(message);
        if (FCanFocused) {
            StartAnimate(true);
            ReDrawControl();
        }
        break;
    case WM_KILLFOCUS:
        StopRepeat();
        if (GroupIndex() == 0 && FDown)
            FDown = false;
        inherited::WndProc(message);
        if (FCanFocused) {
            StartAnimate(false);
            ReDrawControl();
        }
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}

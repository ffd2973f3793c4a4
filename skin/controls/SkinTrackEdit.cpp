#include "skin/controls/SkinTrackEdit.h"

#include "framework/controls/Messages.h"
#include "framework/core/SysUtils.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinNumberRules.h"

#include <algorithm>
#include <cmath>

using namespace SPUtils;

// ---- TspSkinPopupTrackBar -------------------------------------------------------------------------------------

TspSkinPopupTrackBar::TspSkinPopupTrackBar(TComponent* owner)
    : inherited(owner)
{
    FControlStyle.Include(csNoDesignVisible);
    FControlStyle.Include(csReplicatable);
    SetSkinDataName("htrackbar");
    SetVisible(false);
}

void TspSkinPopupTrackBar::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.WindowClass.style = CS_SAVEBITS;
    if (CheckWXP())
        params.WindowClass.style |= CS_DROPSHADOW;
}

void TspSkinPopupTrackBar::SetLayered(bool value)
{
    if (value == FLayered)
        return;
    const LONG exStyle = GetWindowLong(Handle(), GWL_EXSTYLE);
    SetWindowLong(Handle(), GWL_EXSTYLE, value ? exStyle | WS_EX_LAYERED : exStyle & ~WS_EX_LAYERED);
    FLayered = value;
}

void TspSkinPopupTrackBar::Show(TPoint origin, bool layered, uint8_t opacity, bool fade)
{
    SetLayered(layered);
    if (layered)
        SetAlphaBlendTransparent(Handle(), fade ? 0 : opacity);
    SetWindowPos(Handle(), HWND_TOP, origin.X, origin.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    SetVisible(true);
    if (layered && fade)
        FFade.Start(Handle(), opacity);
}

void TspSkinPopupTrackBar::Hide()
{
    if (HandleAllocated()) {
        FFade.Stop(Handle());
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
            SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetLayered(false);
    }
    SetVisible(false);
}

void TspSkinPopupTrackBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEACTIVATE:
        message.Result = MA_NOACTIVATE;
        return;
    case WM_TIMER:
        if (FFade.Step(Handle(), message.WParam))
            return;
        break;
    default:
        break;
    }
    inherited::WndProc(message);
}

// ---- TspSkinTrackEdit -----------------------------------------------------------------------------------------

TspSkinTrackEdit::TspSkinTrackEdit(TComponent* owner)
    : inherited(owner)
{
    SetButtonMode(true);
    SetSkinDataName("buttonedit");
    SetBounds(Left(), Top(), 120, 20);
    FUpdating = true;
    SetText("0");
    FUpdating = false;
    OnButtonClick = [this](TObject* sender) { ButtonClick(sender); };
    FPopup = new TspSkinPopupTrackBar(this);
    FPopup->TrackEdit = this;
    FPopup->SetParent(this);
    FPopup->OnChange = [this](TObject* sender) { TrackBarChange(sender); };
}

TspSkinTrackEdit::~TspSkinTrackEdit()
{
    TspSkinPopupTrackBar* popup = FPopup;
    FPopup = nullptr;
    delete popup;
}

void TspSkinTrackEdit::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FPopup)
        FPopup = nullptr;
}

int TspSkinTrackEdit::CheckValue(int value) const
{
    if (FMinValue == FMaxValue)
        return value;
    return std::max(FMinValue, std::min(value, FMaxValue));
}

bool TspSkinTrackEdit::IsNumText(std::string_view text) const { return SkinNumberRules::IsNumText(text, vtInteger); }

bool TspSkinTrackEdit::IsValidChar(char32_t key) const
{
    return SkinNumberRules::IsValidChar(key, Text(), vtInteger, !ReadOnly());
}

void TspSkinTrackEdit::ShowValue()
{
    FUpdating = true;
    SetText(IntToStr(FValue));
    FUpdating = false;
}

void TspSkinTrackEdit::SetValue(int value)
{
    FValue = CheckValue(value);
    ShowValue();
}

void TspSkinTrackEdit::Change()
{
    if (FRewriting)
        return;
    const std::string text = Text();
    if (!FUpdating && IsNumText(text)) {
        // A number too long for an integer reads as an infinity of its sign: a range limits it to the nearer
        // bound, and without one the value stays as it was.
        const double typed = SkinNumberRules::ParseNumber(text, vtInteger);
        const double limited = FMinValue == FMaxValue ? typed : std::clamp(typed, double(FMinValue), double(FMaxValue));
        if (std::isfinite(limited)) {
            FValue = static_cast<int>(limited);
            if (SkinNumberRules::RewriteTyped(typed, limited, FMinValue, FMaxValue)) {
                FRewriting = true;
                SetText(IntToStr(FValue));
                FRewriting = false;
            }
        }
    }
    inherited::Change();
}

void TspSkinTrackEdit::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    if (!FSupportUpDownKeys)
        return;
    if (key == VK_UP)
        StepBy(FIncrement);
    else if (key == VK_DOWN)
        StepBy(-FIncrement);
}

void TspSkinTrackEdit::KeyPress(char32_t& key)
{
    if (!IsValidChar(key)) {
        key = 0;
        MessageBeep(0);
    }
    inherited::KeyPress(key);
}

void TspSkinTrackEdit::StepBy(int delta)
{
    if (IsPopupVisible())
        FPopup->SetValue(FPopup->Value() + delta);
    else
        SetValue(FValue + delta);
}

void TspSkinTrackEdit::TrackBarChange(TObject*)
{
    if (FPopup->Value() != FValue)
        SetValue(FPopup->Value());
}

void TspSkinTrackEdit::ButtonClick(TObject*)
{
    if (!Focused() && CanFocus())
        SetFocus();
    if (IsPopupVisible())
        CloseUp();
    else
        DropDown();
}

void TspSkinTrackEdit::DropDown()
{
    if (!FPopup)
        return;
    const int width = FTrackBarWidth > 0 ? FTrackBarWidth : Width();
    FPopup->SetBounds(FPopup->Left(), FPopup->Top(), width, FPopup->Height());
    FPopup->SetDefaultHeight(Height());
    FPopup->SetSkinDataName(FTrackBarSkinDataName);
    FPopup->SetSkinData(SkinData());
    FPopup->SetMinValue(FMinValue);
    FPopup->SetMaxValue(FMaxValue);
    FPopup->SetValue(FValue);

    TPoint origin { Left(), Top() };
    if (FPopupKind == tbpLeft && width != Width())
        origin.X += Width() - width;
    origin = Parent() ? Parent()->ClientToScreen(origin) : origin;
    const int height = FPopup->Height();
    TRect workArea;
    GetMonitorWorkArea(Handle(), true, workArea);
    int x = origin.X;
    if (x + width > workArea.Right)
        x = workArea.Right - width;
    else if (x < workArea.Left)
        x = workArea.Left;
    int y = origin.Y + Height();
    if (y + height > workArea.Bottom)
        y = origin.Y - height;
    FPopup->SetBounds(x, y, width, height);

    const bool layered = FTrackBarAlphaBlend && CheckW2KWXP();
    FPopup->Show(TPoint { x, y }, layered, FTrackBarAlphaBlendValue, layered && FTrackBarAlphaBlendAnimation);
}

void TspSkinTrackEdit::CloseUp()
{
    if (IsPopupVisible())
        FPopup->Hide();
}

void TspSkinTrackEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_CHAR:
        // Esc closes the open popup and goes no further: it is not meant for the form's cancel button then.
        if (message.WParam == 27 && IsPopupVisible()) {
            CloseUp();
            return;
        }
        break;
    case WM_MOUSEWHEEL:
        // A turn away from the user steps down, one step a message whatever the delta.
        StepBy(GET_WHEEL_DELTA_WPARAM(message.WParam) > 0 ? -FIncrement : FIncrement);
        message.Result = 1;
        return;
    case WM_SETFOCUS:
        inherited::WndProc(message);
        if (FMinValue != FMaxValue) {
            const size_t longest = std::max(IntToStr(FMinValue).size(), IntToStr(FMaxValue).size());
            SetMaxLength(static_cast<int>(longest));
        }
        return;
    case WM_KILLFOCUS:
        inherited::WndProc(message);
        CloseUp();
        ShowValue();
        return;
    case CM_CANCELMODE:
        inherited::WndProc(message);
        if (MessageSender(message) != FPopup)
            CloseUp();
        return;
    default:
        break;
    }
    inherited::WndProc(message);
}

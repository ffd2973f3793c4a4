// The skinned combo box's drop-down protocol: opening and closing the list, the pointer followed into it, keys,
// the wheel, incremental search, and the popup list itself.
#include "skin/lists/TspSkinComboBox.h"

#include "skin/lists/SkinListSupport.h"

#include "framework/controls/Messages.h"
#include "framework/core/SysUtils.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/TspSkinData.h"

#include <algorithm>

using namespace SPUtils;

namespace {

constexpr UINT_PTR kScrollTimer = 1;

std::string Utf8Of(char32_t c)
{
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

} // namespace

void SkinListSupport::ShowPopupWindow(HWND window, TPoint origin)
{
    SetWindowPos(window, HWND_TOP, origin.X, origin.Y, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
}

void SkinListSupport::SetPopupListParams(TCreateParams& params)
{
    params.Style = WS_POPUP | WS_CLIPCHILDREN;
    params.ExStyle = WS_EX_TOOLWINDOW;
    params.WindowClass.style |= CS_SAVEBITS;
    if (CheckWXP())
        params.WindowClass.style |= CS_DROPSHADOW;
}

void SkinListSupport::HidePopupWindow(HWND window)
{
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
}

// ---- TspPopupListBox ------------------------------------------------------------------------------------------

TspPopupListBox::TspPopupListBox(TComponent* owner)
    : inherited(owner)
{
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csNoDesignVisible);
    FControlStyle.Include(csReplicatable);
    SetCtl3D(false);
    SetParentCtl3D(false);
    SetVisible(false);
}

void TspPopupListBox::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    SkinListSupport::SetPopupListParams(params);
}

TspSkinCustomComboBox* TspPopupListBox::ComboBox() const { return dynamic_cast<TspSkinCustomComboBox*>(Owner()); }

void TspPopupListBox::Show(TPoint origin)
{
    TspSkinCustomComboBox* combo = CheckW2KWXP() ? ComboBox() : nullptr;
    const bool fade = combo && combo->ListBoxAlphaBlend() && combo->ListBoxAlphaBlendAnimation();
    if (combo) {
        const HWND w = Handle();
        const LONG exStyle = GetWindowLong(w, GWL_EXSTYLE);
        if (combo->ListBoxAlphaBlend() && !Layered)
            SetWindowLong(w, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        else if (!combo->ListBoxAlphaBlend() && Layered)
            SetWindowLong(w, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
        Layered = combo->ListBoxAlphaBlend();
        if (Layered && AppliedOpacity != combo->ListBoxAlphaBlendValue()) {
            AppliedOpacity = combo->ListBoxAlphaBlendAnimation() ? 0 : combo->ListBoxAlphaBlendValue();
            SetAlphaBlendTransparent(w, AppliedOpacity);
        }
        // Every opening fades from nothing again.
        if (fade)
            SetAlphaBlendTransparent(w, 0);
    }
    SkinListSupport::ShowPopupWindow(Handle(), origin);
    SetVisible(true);
    if (fade)
        FFade.Start(Handle(), combo->ListBoxAlphaBlendValue());
}

void TspPopupListBox::Hide()
{
    if (HandleAllocated()) {
        FFade.Stop(Handle());
        SkinListSupport::HidePopupWindow(Handle());
    }
    SetVisible(false);
}

void TspPopupListBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEACTIVATE:
        message.Result = MA_NOACTIVATE;
        return;
    case WM_TIMER:
        if (FFade.Step(Handle(), message.WParam))
            return;
        inherited::WndProc(message);
        return;
    default:
        inherited::WndProc(message);
    }
}

// ---- TspSkinCustomComboBox ------------------------------------------------------------------------------------

TspSkinCustomComboBox::TspSkinCustomComboBox(TComponent* owner)
    : inherited(owner)
{
    SetTabStop(true);
    FControlStyle = TControlStyle { csAcceptsControls, csCaptureMouse, csOpaque, csDoubleClicks };
    SetSkinDataName("combobox");
    Font()->SetName("Arial");
    Font()->SetColor(clWindowText);
    Font()->SetStyle({});
    Font()->SetHeight(14);
    SetBounds(Left(), Top(), 120, 20);
    FListBox = new TspPopupListBox(this);
    FListBox->SetVisible(false);
    FListBox->SetParent(this);
    TspListBox* inner = FListBox->ListBox();
    inner->SetTabStop(false);
    inner->OnMouseMove = [this](TObject* sender, TShiftState shift, int x, int y) {
        ListMouseMove(sender, shift, x, y);
    };
    FOldListProc = inner->WindowProc;
    inner->WindowProc = [this](TMessage& message) { ListHook(message); };
    FListBox->OnCheckButtonClick = [this](TObject*) { CloseUp(true); };
    CalcRects();
}

TspSkinCustomComboBox::~TspSkinCustomComboBox()
{
    *FAlive = false;
    if (HandleAllocated())
        KillTimer(Handle(), kScrollTimer);
    FreeEditor();
    TspPopupListBox* list = FListBox;
    FListBox = nullptr;
    delete list;
}

void TspSkinCustomComboBox::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FListBox)
        FListBox = nullptr;
    if (operation == opRemove && component == static_cast<TComponent*>(FEdit))
        FEdit = nullptr;
}

bool TspSkinCustomComboBox::Loading() const
{
    return ComponentState().Contains(csLoading) || ComponentState().Contains(csDesigning);
}

void TspSkinCustomComboBox::SetItems(TStrings* value) { FListBox->SetItems(value); }

void TspSkinCustomComboBox::SetDropDownCount(int value)
{
    if (value > 0)
        FDropDownCount = value;
}

void TspSkinCustomComboBox::SetDefaultColor(TColor value)
{
    FDefaultColor = value;
    Repaint();
}

void TspSkinCustomComboBox::SetImages(TCustomImageList* value)
{
    FListBox->SetImages(value);
    Repaint();
}

void TspSkinCustomComboBox::SetImageIndex(int value)
{
    FListBox->SetImageIndex(value);
    Repaint();
}

void TspSkinCustomComboBox::SetTabWidths(TStrings* value)
{
    FListBox->SetTabWidths(value);
    Repaint();
}

void TspSkinCustomComboBox::SetOnListBoxDrawItem(TspDrawSkinItemEvent value) { FListBox->OnDrawItem = std::move(value); }

void TspSkinCustomComboBox::SetUseSkinSize(bool value)
{
    FUseSkinSize = value;
    if (!Loading())
        ChangeSkinData();
}

void TspSkinCustomComboBox::SetStyle(TspSkinCustomComboBoxStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    if (FStyle == spcbEditStyle)
        CreateEditor();
    else
        FreeEditor();
    CalcRects();
    PlaceEditor();
    Repaint();
}

void TspSkinCustomComboBox::SetItemIndex(int value)
{
    const std::shared_ptr<bool> alive = FAlive;
    FListBox->SetItemIndex(value);
    const int index = FListBox->ItemIndex();
    if (Items()->Count() > 0 && index != -1)
        SetText(Items()->Strings(index));
    if (!*alive)
        return;
    FOldItemIndex = index;
    if (FStyle == spcbFixedStyle)
        Repaint();
    if (Loading())
        return;
    if (OnClick)
        OnClick(this);
    if (*alive)
        Change();
}

// ---- Opening and closing --------------------------------------------------------------------------------------

bool TspSkinCustomComboBox::IsPopupVisible() const { return FListBox && FListBox->Visible(); }

bool TspSkinCustomComboBox::CanCancelDropDown()
{
    POINT p;
    GetCursorPos(&p);
    return IsPopupVisible() && WindowFromPoint(p) != Handle();
}

void TspSkinCustomComboBox::DropDown()
{
    const int count = Items()->Count();
    if (count == 0)
        return;
    FMovedInList = false;
    StopTimer(this);
    const std::shared_ptr<bool> alive = FAlive;
    if (OnDropDown)
        OnDropDown(this);
    if (!*alive || Items()->Count() == 0)
        return;
    const int width = FListBoxWidth > 0 ? FListBoxWidth : Width();
    const int rows = std::min(FDropDownCount, count);
    const int height = FListBox->CalcHeight(rows);
    const TPoint origin = DropDownOrigin(this, height);
    FListBox->SetBounds(origin.X, origin.Y, width, height);
    if (FEdit && FEdit->CanFocus())
        FEdit->SetFocus();
    FOldItemIndex = ItemIndex();
    // Selecting another item first makes the list repaint the current one selected.
    if (ItemIndex() == 0 && count >= 2) {
        FListBox->SetItemIndex(1);
        FListBox->SetItemIndex(0);
    }
    FListBox->SetTopIndex(std::max(0, ItemIndex()));
    FListBox->Show(origin);
}

void TspSkinCustomComboBox::CloseUp(bool accept)
{
    // The auto-scroll ends with the list: left running it would move the hidden list's current item.
    StopTimer(this);
    if (!IsPopupVisible())
        return;
    FListBox->Hide();
    const std::shared_ptr<bool> alive = FAlive;
    const int index = ItemIndex();
    if (index == -1) {
        FListBox->SetItemIndex(FOldItemIndex);
    } else if (accept && index < Items()->Count()) {
        SetText(Items()->Strings(index));
        if (!*alive)
            return;
        if (FEdit)
            FEdit->SelectAll();
        Repaint();
        if (OnClick)
            OnClick(this);
        if (!*alive)
            return;
        Change();
        if (!*alive)
            return;
    } else {
        FListBox->SetItemIndex(FOldItemIndex);
    }
    Repaint();
    if (accept && OnCloseUp)
        OnCloseUp(this);
}

// ---- Moves ----------------------------------------------------------------------------------------------------

void TspSkinCustomComboBox::EditUp1(bool events)
{
    const int index = ItemIndex();
    if (index <= 0)
        return;
    if (events)
        SetItemIndex(index - 1);
    else
        FListBox->SetItemIndex(index - 1);
}

void TspSkinCustomComboBox::EditDown1(bool events)
{
    const int index = ItemIndex();
    if (index >= Items()->Count() - 1)
        return;
    if (events)
        SetItemIndex(index + 1);
    else
        FListBox->SetItemIndex(index + 1);
}

// A page up moves one row more than the list shows and a page down one row less.
void TspSkinCustomComboBox::EditPageUp1(bool events)
{
    if (Items()->Count() == 0)
        return;
    const int index = std::max(0, ItemIndex() - (FDropDownCount + 1));
    if (events)
        SetItemIndex(index);
    else
        FListBox->SetItemIndex(index);
}

void TspSkinCustomComboBox::EditPageDown1(bool events)
{
    const int count = Items()->Count();
    if (count == 0)
        return;
    const int index = std::min(count - 1, ItemIndex() + (FDropDownCount - 1));
    if (events)
        SetItemIndex(index);
    else
        FListBox->SetItemIndex(index);
}

// ---- The pointer ----------------------------------------------------------------------------------------------

void TspSkinCustomComboBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (FStyle == spcbFixedStyle && !Focused() && CanFocus())
        SetFocus();
    if (button != mbLeft)
        return;
    // In the edit style the item area is the editor's: only the button opens the list.
    switch (PressFace(this, x, y, FStyle == spcbFixedStyle, IsPopupVisible())) {
    case TFaceAction::Open:
        DropDown();
        break;
    case TFaceAction::Close:
        CloseUp(false);
        break;
    case TFaceAction::None:
        break;
    }
}

void TspSkinCustomComboBox::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    FollowPointer(this, FListBox, IsPopupVisible(), x, y);
}

void TspSkinCustomComboBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (FTracking && FMovedInList) {
        ReleaseCapture();
        FTracking = false;
        POINT p;
        GetCursorPos(&p);
        TspListBox* inner = FListBox->ListBox();
        const std::shared_ptr<bool> alive = FAlive;
        CloseUp(inner->HandleAllocated() && WindowFromPoint(p) == inner->Handle());
        if (!*alive)
            return;
    } else {
        FTracking = false;
    }
    inherited::MouseUp(button, shift, x, y);
    if (FButtonPressed) {
        FButtonPressed = false;
        Repaint();
    }
}

void TspSkinCustomComboBox::ListMouseMove(TObject*, TShiftState, int x, int y)
{
    const int index = FListBox->ItemAtPos(TPoint { x, y }, true);
    if (index >= 0 && index < Items()->Count())
        FListBox->SetItemIndex(index);
}

// The open list takes no press of its own: the combo box captures the pointer and decides on the release.
void TspSkinCustomComboBox::ListHook(TMessage& message)
{
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FTracking = true;
        FMovedInList = true;
        SetCapture(Handle());
        return;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return;
    case WM_MOUSEACTIVATE:
        FOldListProc(message);
        message.Result = MA_NOACTIVATE;
        return;
    default:
        FOldListProc(message);
    }
}

void TspSkinCustomComboBox::WMTimer()
{
    if (TimerMode == 1)
        EditUp1(false);
    else if (TimerMode == 2)
        EditDown1(false);
}

// ---- Keys and wheel -------------------------------------------------------------------------------------------

void TspSkinCustomComboBox::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    const bool alt = shift.Contains(ssAlt);
    const std::shared_ptr<bool> alive = FAlive;
    const uint16_t pressed = key;
    // A key the combo box acts on is used up here: its events may have freed the combo box.
    switch (pressed) {
    case VK_RETURN:
    case VK_ESCAPE:
        if (IsPopupVisible())
            key = 0;
        break;
    case VK_UP:
    case VK_LEFT:
    case VK_DOWN:
    case VK_RIGHT:
    case VK_PRIOR:
    case VK_NEXT:
        key = 0;
        break;
    default:
        break;
    }
    switch (pressed) {
    case VK_RETURN:
        if (IsPopupVisible())
            CloseUp(true);
        break;
    case VK_ESCAPE:
        if (IsPopupVisible())
            CloseUp(false);
        break;
    case VK_UP:
    case VK_LEFT:
        if (!alt)
            EditUp1(true);
        else if (IsPopupVisible())
            CloseUp(false);
        break;
    case VK_DOWN:
    case VK_RIGHT:
        if (!alt)
            EditDown1(true);
        else if (!IsPopupVisible())
            DropDown();
        break;
    case VK_PRIOR:
        EditPageUp1(true);
        break;
    case VK_NEXT:
        EditPageDown1(true);
        break;
    default:
        break;
    }
}

int TspSkinCustomComboBox::FindItem(const std::string& text)
{
    // A single character steps on from the current item; a longer prefix is looked for from the start.
    const auto characters = std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; });
    const WPARAM start = characters == 1 ? static_cast<WPARAM>(ItemIndex()) : static_cast<WPARAM>(-1);
    const HWND list = FListBox->ListBox()->Handle();
    return static_cast<int>(SendMessage(list, LB_FINDSTRING, start, reinterpret_cast<LPARAM>(text.c_str())));
}

void TspSkinCustomComboBox::KeyPress(char32_t& key)
{
    inherited::KeyPress(key);
    if (FStyle != spcbFixedStyle || key < U' ')
        return;
    const char32_t pressed = key;
    key = 0;
    const std::string typed = Utf8Of(pressed);
    std::string text = typed;
    if (FAutoComplete) {
        const uint64_t now = GetTickCount64();
        if (now - FLastSearchTick >= 500)
            FSearchText.clear();
        FLastSearchTick = now;
        FSearchText += typed;
        text = FSearchText;
    }
    const int found = FindItem(text);
    if (found >= 0)
        SetItemIndex(found);
}

void TspSkinCustomComboBox::WMMouseWheel(TMessage& message)
{
    const int delta = static_cast<int16_t>(HIWORD(message.WParam));
    const bool events = !IsPopupVisible();
    if (delta > 0)
        EditUp1(events);
    else
        EditDown1(events);
}

// ---- Messages -------------------------------------------------------------------------------------------------

void TspSkinCustomComboBox::CMTextChanged(TMessage& message)
{
    inherited::WndProc(message);
    const bool fromEdit = FFromEdit;
    const std::shared_ptr<bool> alive = FAlive;
    if (FEdit && !fromEdit)
        FEdit->SetText(Text());
    if (*alive && OnChange)
        OnChange(this);
    if (*alive && fromEdit)
        Change();
}

void TspSkinCustomComboBox::CMCancelMode(TMessage& message) { CancelModeFrom(MessageSender(message)); }

void TspSkinCustomComboBox::CancelModeFrom(TControl* sender)
{
    if (IsOwnPart(sender, this, FListBox) || (sender && sender == FEdit))
        return;
    if (IsPopupVisible())
        CloseUp(false);
}

void TspSkinCustomComboBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
        // The edit style's focus belongs in its editor.
        if (FEdit && FEdit->CanFocus()) {
            FEdit->SetFocus();
            return;
        }
        inherited::WndProc(message);
        Repaint();
        return;
    case WM_KILLFOCUS:
        inherited::WndProc(message);
        if (FStyle == spcbFixedStyle && IsPopupVisible()) {
            const std::shared_ptr<bool> alive = FAlive;
            CloseUp(false);
            if (!*alive)
                return;
        }
        Repaint();
        return;
    case WM_SIZE:
        inherited::WndProc(message);
        CalcRects();
        PlaceEditor();
        return;
    case WM_TIMER:
        if (message.WParam == kScrollTimer) {
            WMTimer();
            return;
        }
        inherited::WndProc(message);
        return;
    case WM_MOUSEWHEEL:
        if (FStyle == spcbFixedStyle) {
            WMMouseWheel(message);
            message.Result = 1;
            return;
        }
        inherited::WndProc(message);
        return;
    case CM_TEXTCHANGED:
        CMTextChanged(message);
        return;
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        MouseIn = true;
        UpdateEditorFont();
        if (Skinned() && !IsNullRect(ActiveSkinRect))
            Invalidate();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        MouseIn = false;
        UpdateEditorFont();
        if (FButtonHover) {
            FButtonHover = false;
            Repaint();
        }
        if (Skinned() && !IsNullRect(ActiveSkinRect))
            Invalidate();
        return;
    case CM_CANCELMODE:
        CMCancelMode(message);
        return;
    case CM_WANTSPECIALKEY:
        if (!ClaimArrowKey(message))
            inherited::WndProc(message);
        return;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(message);
        UpdateEditorFont();
        Repaint();
        return;
    default:
        inherited::WndProc(message);
    }
}

// ---- TspSkinMRUComboBox ---------------------------------------------------------------------------------------

void TspSkinMRUComboBox::AddMRUItem(std::string_view s)
{
    if (s.empty())
        return;
    TStrings* items = Items();
    const int at = items->IndexOf(s);
    if (at == 0)
        return;
    if (at > 0)
        items->Move(at, 0);
    else
        items->Insert(0, s);
}

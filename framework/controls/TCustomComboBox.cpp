#include "framework/controls/TCustomComboBox.h"

#include "framework/controls/Messages.h"
#include "framework/controls/TControlCanvas.h"
#include "framework/controls/TCustomForm.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/TextEngine.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WindowProps.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {
constexpr const char* kComboControlProp = "TCustomComboBoxOfEdit";
}

// --- TComboBoxStrings -----------------------------------------------------------------------------------

TComboBoxStrings::TComboBoxStrings(TCustomComboBox* comboBox)
    : TListControlStrings(comboBox, ComboBoxMessages)
    , FComboBox(comboBox)
{
}

void TComboBoxStrings::Clear()
{
    TListControlStrings::Clear();
    FComboBox->FSavedItemIndex = -1;
}

int TComboBoxStrings::Current() const { return FComboBox->ItemIndex(); }

void TComboBoxStrings::Replaced(int, int newIndex, bool, bool wasCurrent)
{
    if (wasCurrent)
        FComboBox->SetItemIndex(newIndex);
}

// --- The edit of a drop-down or simple combo box --------------------------------------------------------

// The framework learns of the focus entering the edit (a click straight into it) as the combo box's.
LRESULT ComboBoxEditHook(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* combo = static_cast<TCustomComboBox*>(GetProp(edit, kComboControlProp));
    if (!combo)
        return DefWindowProc(edit, message, wParam, lParam);
    WNDPROC previous = combo->FEditProc;
    switch (message) {
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(combo); form && !form->SetFocusedControl(combo))
            return 0;
        break;
    case WM_CHAR:
        // The combo box's key events see the edit's characters, and a typed character may complete the text.
        if (combo->OnKeyPress || combo->FAutoComplete) {
            char32_t key = static_cast<char32_t>(wParam);
            if (combo->OnKeyPress)
                combo->OnKeyPress(combo, key);
            if (key == 0)
                return 0;
            combo->FTyped = key >= ' ' && key != 0x7F;
            LRESULT result = CallWindowProc(previous, edit, message, static_cast<WPARAM>(key), lParam);
            combo->FTyped = false;
            return result;
        }
        break;
    case WM_NCDESTROY:
        SetWindowLongPtr(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemoveProp(edit, kComboControlProp);
        combo->FEditHandle = nullptr;
        return CallWindowProc(previous, edit, message, wParam, lParam);
    default:
        break;
    }
    return CallWindowProc(previous, edit, message, wParam, lParam);
}

// --- TCustomComboBox ------------------------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner)
    , FItems(std::make_unique<TComboBoxStrings>(this))
{
    FControlStyle = TControlStyle { csSetCaption, csDoubleClicks, csFixedHeight };
    FWidth = 145;
    FHeight = 21;
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomComboBox::~TCustomComboBox() = default;

TCanvas* TCustomComboBox::Canvas() const
{
    if (!FCanvas) {
        auto* self = const_cast<TCustomComboBox*>(this);
        self->FCanvas = std::make_unique<TControlCanvas>();
        self->FCanvas->SetControl(self);
    }
    return FCanvas.get();
}

intptr_t TCustomComboBox::SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const
{
    auto* self = const_cast<TCustomComboBox*>(this);
    if (!self->HandleAllocated())
        return CB_ERR;
    return SendMessage(self->Handle(), message, wParam, lParam);
}

HWND TCustomComboBox::EditHandle() const
{
    COMBOBOXINFO info {};
    info.cbSize = sizeof info;
    if (!SendToWindow(CB_GETCOMBOBOXINFO, 0, reinterpret_cast<intptr_t>(&info)) || info.hwndItem == info.hwndCombo)
        return nullptr;
    return info.hwndItem;
}

void TCustomComboBox::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    RegisterComboBoxClass();
    WNDCLASS combo {};
    GetClassInfo(nullptr, WC_COMBOBOX, &combo);
    params.WindowClass.lpfnWndProc = combo.lpfnWndProc;
    params.WindowClass.cbWndExtra = combo.cbWndExtra;
    params.WindowClass.hCursor = combo.hCursor;
    params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
    params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL;
    switch (FStyle) {
    case csDropDown: params.Style |= CBS_DROPDOWN; break;
    case csSimple: params.Style |= CBS_SIMPLE; break;
    case csDropDownList: params.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED; break;
    case csOwnerDrawVariable: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE; break;
    }
    if (FSorted)
        params.Style |= CBS_SORT;
    if (FCharCase == ecUpperCase)
        params.Style |= CBS_UPPERCASE;
    else if (FCharCase == ecLowerCase)
        params.Style |= CBS_LOWERCASE;
    if (Ctl3D())
        params.ExStyle |= WS_EX_CLIENTEDGE;
    else
        params.Style |= WS_BORDER;
}

void TCustomComboBox::CreateWnd()
{
    const std::string text = FText;
    inherited::CreateWnd();
    HWND w = Handle();
    SendMessage(w, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    // Owner-drawn combo boxes take the object's heights: the questions at creation cannot reach the object.
    if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable) {
        SendMessage(w, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), FItemHeight);
        SendMessage(w, CB_SETITEMHEIGHT, 0, FItemHeight);
    }
    SendMessage(w, CB_SETMINVISIBLE, static_cast<WPARAM>(FDropDownCount), 0);
    SendMessage(w, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(FDropDownWidth), 0);
    SendMessage(w, CB_LIMITTEXT, static_cast<WPARAM>(FMaxLength), 0);
    // The saved items go back; the current item follows its text.
    const bool hadCurrent = FSavedItemIndex >= 0 && FSavedItemIndex < static_cast<int>(Saved().size());
    const std::string current = hadCurrent ? Saved()[FSavedItemIndex].Text : std::string();
    const TObject* currentObject = hadCurrent ? Saved()[FSavedItemIndex].Object : nullptr;
    FItems->RestoreTo(w);
    Saved().clear();
    int at = -1;
    if (hadCurrent)
        for (int i = 0, n = FItems->Count(); i < n && at < 0; ++i)
            if (FItems->Objects(i) == currentObject && FItems->Strings(i) == current)
                at = i;
    if (at >= 0)
        SendMessage(w, CB_SETCURSEL, static_cast<WPARAM>(at), 0);
    if (FStyle == csDropDown || FStyle == csSimple)
        SendMessage(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    FText = TCustomComboBox::Text();
    FSavedItemIndex = -1;
    HookEdit();
}

void TCustomComboBox::HookEdit()
{
    FEditHandle = EditHandle();
    if (!FEditHandle)
        return;
    SetProp(FEditHandle, kComboControlProp, this);
    FEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(FEditHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboBoxEditHook)));
}

void TCustomComboBox::DestroyWnd()
{
    // What only the window knew goes back into the object, for the next window.
    const int itemIndex = ItemIndex();
    FText = TCustomComboBox::Text();
    FItems->SaveFrom(Handle());
    if (FEditHandle) {
        SetWindowLongPtr(FEditHandle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FEditProc));
        RemoveProp(FEditHandle, kComboControlProp);
        FEditHandle = nullptr;
    }
    if (FCanvas)
        FCanvas->FreeHandle();
    inherited::DestroyWnd();
    FSavedItemIndex = itemIndex;
}

void TCustomComboBox::RecreateIfAllocated()
{
    if (HandleAllocated())
        RecreateWnd();
}

const std::string& TCustomComboBox::Text() const
{
    auto* self = const_cast<TCustomComboBox*>(this);
    if (!self->HandleAllocated())
        return FText;
    HWND hwnd = self->Handle();
    FWindowText.assign(static_cast<size_t>(GetWindowTextLength(hwnd)) + 1, '\0');
    FWindowText.resize(static_cast<size_t>(GetWindowText(hwnd, FWindowText.data(), static_cast<int>(FWindowText.size()))));
    return FWindowText;
}

void TCustomComboBox::SetStyle(TComboBoxStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    RecreateIfAllocated();
}

void TCustomComboBox::SetSorted(bool value)
{
    if (value == FSorted)
        return;
    FSorted = value;
    FItems->Sorted = value;
    if (value && !HandleAllocated()) {
        const std::string current = FSavedItemIndex >= 0 ? Saved()[FSavedItemIndex].Text : std::string();
        FItems->SortSaved();
        if (FSavedItemIndex >= 0)
            FSavedItemIndex = FItems->IndexOf(current);
    }
    RecreateIfAllocated();
}

void TCustomComboBox::SetCharCase(TEditCharCase value)
{
    if (value == FCharCase)
        return;
    FCharCase = value;
    RecreateIfAllocated();
}

int TCustomComboBox::ItemIndex() const
{
    if (!const_cast<TCustomComboBox*>(this)->HandleAllocated())
        return FSavedItemIndex;
    return static_cast<int>(SendToWindow(CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int value)
{
    if (!HandleAllocated()) {
        FSavedItemIndex = value >= 0 && value < FItems->Count() ? value : -1;
        if (FSavedItemIndex >= 0)
            FText = Saved()[FSavedItemIndex].Text;
        return;
    }
    if (ItemIndex() == value)
        return;
    SendToWindow(CB_SETCURSEL, static_cast<uintptr_t>(value), 0);
    FText = TCustomComboBox::Text();
}

void TCustomComboBox::SetDropDownCount(int value)
{
    if (value <= 0)
        return;
    FDropDownCount = value;
    SendToWindow(CB_SETMINVISIBLE, static_cast<uintptr_t>(value), 0);
}

void TCustomComboBox::SetDropDownWidth(int value)
{
    FDropDownWidth = std::max(0, value);
    SendToWindow(CB_SETDROPPEDWIDTH, static_cast<uintptr_t>(FDropDownWidth), 0);
}

bool TCustomComboBox::DroppedDown() const
{
    return const_cast<TCustomComboBox*>(this)->HandleAllocated() && SendToWindow(CB_GETDROPPEDSTATE, 0, 0) > 0;
}

void TCustomComboBox::SetDroppedDown(bool value)
{
    SendMessage(Handle(), CB_SHOWDROPDOWN, value, 0);
}

int TCustomComboBox::ItemHeight() const
{
    if (const_cast<TCustomComboBox*>(this)->HandleAllocated() && FStyle != csOwnerDrawFixed
        && FStyle != csOwnerDrawVariable)
        return static_cast<int>(SendToWindow(CB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TCustomComboBox::SetItemHeight(int value)
{
    if (value <= 0 || value == FItemHeight)
        return;
    FItemHeight = value;
    if (FStyle == csOwnerDrawFixed || FStyle == csOwnerDrawVariable)
        RecreateIfAllocated();
}

void TCustomComboBox::SetMaxLength(int value)
{
    FMaxLength = std::max(0, value);
    SendToWindow(CB_LIMITTEXT, static_cast<uintptr_t>(FMaxLength), 0);
}

int TCustomComboBox::SelStart() const
{
    DWORD start = 0, end = 0;
    SendToWindow(CB_GETEDITSEL, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end));
    return static_cast<int>(start);
}

void TCustomComboBox::SetSelStart(int value)
{
    if (HWND edit = EditHandle())
        SendMessage(edit, EM_SETSEL, static_cast<WPARAM>(value), value);
}

int TCustomComboBox::SelLength() const
{
    DWORD start = 0, end = 0;
    SendToWindow(CB_GETEDITSEL, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end));
    return static_cast<int>(end - start);
}

void TCustomComboBox::SetSelLength(int value)
{
    HWND edit = EditHandle();
    if (!edit)
        return;
    DWORD start = 0, end = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    SendMessage(edit, EM_SETSEL, start, static_cast<LPARAM>(start) + value);
}

std::string TCustomComboBox::SelText() const
{
    const std::string& text = Text();
    DWORD start = 0, end = 0;
    SendToWindow(CB_GETEDITSEL, reinterpret_cast<uintptr_t>(&start), reinterpret_cast<intptr_t>(&end));
    size_t a = utf8::Offset(text, static_cast<int>(start));
    return text.substr(a, utf8::Offset(text, static_cast<int>(end)) - a);
}

void TCustomComboBox::SelectAll()
{
    if (HWND edit = EditHandle())
        SendMessage(edit, EM_SETSEL, 0, -1);
}

void TCustomComboBox::Clear()
{
    FItems->Clear();
    SetText("");
    if (HandleAllocated())
        SendToWindow(WM_SETTEXT, 0, reinterpret_cast<intptr_t>(""));
}

bool TCustomComboBox::Focused() const
{
    auto* self = const_cast<TCustomComboBox*>(this);
    if (!self->HandleAllocated())
        return false;
    HWND focus = GetFocus();
    return focus && (focus == self->Handle() || IsChild(self->Handle(), focus));
}

void TCustomComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

void TCustomComboBox::DrawItem(int index, TRect rect, TOwnerDrawState state)
{
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->FillRect(rect);
    if (index >= 0 && index < FItems->Count())
        canvas->TextOut(rect.Left + 2, rect.Top, FItems->Strings(index));
}

void TCustomComboBox::MeasureItem(int index, int& height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, index, height);
}

void TCustomComboBox::Complete()
{
    // After a typed character at the end of the text: the first item the text starts fills in the rest, selected,
    // so the next character replaces it.
    HWND edit = FEditHandle;
    if (!edit || FCompleting || !FAutoComplete || FStyle != csDropDown)
        return;
    const std::string typed = Text();
    DWORD start = 0, end = 0;
    SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const int length = utf8::Count(typed);
    if (typed.empty() || start != end || static_cast<int>(end) != length)
        return;
    const auto found = static_cast<int>(SendToWindow(CB_FINDSTRING, static_cast<uintptr_t>(-1), reinterpret_cast<intptr_t>(typed.c_str())));
    if (found < 0)
        return;
    const std::string item = FItems->Strings(found);
    FCompleting = true;
    SendToWindow(CB_SETCURSEL, static_cast<uintptr_t>(found), 0);
    // The characters typed keep their case; the rest comes from the item.
    const std::string completed = typed + item.substr(utf8::Offset(item, length));
    SendToWindow(WM_SETTEXT, 0, reinterpret_cast<intptr_t>(completed.c_str()));
    SendMessage(edit, EM_SETSEL, static_cast<WPARAM>(length), -1);
    FCompleting = false;
}

void TCustomComboBox::CNCommand(TMessage& message)
{
    switch (HIWORD(message.WParam)) {
    case CBN_DBLCLK:
        DblClick();
        break;
    case CBN_EDITCHANGE:
        if (FCompleting)
            break;
        if (FTyped)
            Complete();
        FText = TCustomComboBox::Text();
        Change();
        break;
    case CBN_DROPDOWN:
        DropDown();
        break;
    case CBN_SELCHANGE: {
        // The window shows the item only after this: the text is the item's now.
        const int index = ItemIndex();
        if (index >= 0)
            FText = FItems->Strings(index);
        Click();
        Select();
        break;
    }
    case CBN_CLOSEUP:
        CloseUp();
        break;
    default:
        break;
    }
}

void TCustomComboBox::CNDrawItem(TMessage& message)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    const TOwnerDrawState state = OwnerDrawStateFromBits(item->itemState);
    TCanvas* canvas = Canvas();
    canvas->Lock();
    canvas->SetHandle(item->hDC);
    canvas->Font()->Assign(Font());
    canvas->Brush()->Assign(Brush());
    const TRect rect {item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom};
    const int index = static_cast<int>(item->itemID);
    if (index >= 0 && state.Contains(odSelected)) {
        canvas->Brush()->SetColor(clHighlight);
        canvas->Font()->SetColor(clHighlightText);
    }
    if (index >= 0)
        DrawItem(index, rect, state);
    else
        canvas->FillRect(rect);
    if (state.Contains(odFocused))
        ::DrawFocusRect(item->hDC, &item->rcItem);
    canvas->SetHandle(nullptr);
    canvas->Unlock();
    message.Result = TRUE;
}

void TCustomComboBox::CNMeasureItem(TMessage& message)
{
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    int height = FItemHeight;
    if (FStyle == csOwnerDrawVariable && static_cast<int>(measure->itemID) >= 0)
        MeasureItem(static_cast<int>(measure->itemID), height);
    measure->itemHeight = static_cast<UINT>(std::max(1, height));
    message.Result = TRUE;
}

void TCustomComboBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        CNCommand(message);
        return;
    case CN_DRAWITEM:
        CNDrawItem(message);
        return;
    case CN_MEASUREITEM:
        CNMeasureItem(message);
        return;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: {
        // The edit's and the list's colours are the combo box's own.
        const HDC dc = reinterpret_cast<HDC>(message.WParam);
        ::SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(Font()->Color())));
        ::SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(Brush()->Color())));
        message.Result = reinterpret_cast<intptr_t>(Brush()->Handle());
        return;
    }
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        if (HandleAllocated())
            SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), TRUE);
        return;
    default:
        inherited::WndProc(message);
    }
}

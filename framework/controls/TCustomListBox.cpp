#include "framework/controls/TCustomListBox.h"

#include "framework/controls/Messages.h"
#include "framework/controls/TControlCanvas.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TList.h"
#include "framework/graphics/Graphics.h"
#include "platform/controls/ItemView.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"

#include <algorithm>

TOwnerDrawState OwnerDrawStateFromBits(UINT itemState)
{
    TOwnerDrawState state;
    for (int bit = 0; bit <= odComboBoxEdit; ++bit)
        if (itemState & (1u << bit))
            state.Include(static_cast<TOwnerDrawStateItem>(bit));
    return state;
}

// --- TListBoxStrings ------------------------------------------------------------------------------------

TListBoxStrings::TListBoxStrings(TCustomListBox* listBox)
    : TListControlStrings(listBox, ListBoxMessages)
    , FListBox(listBox)
{
}

void TListBoxStrings::Clear()
{
    TListControlStrings::Clear();
    FListBox->FSavedItemIndex = -1;
    FListBox->FSavedTopIndex = 0;
}

void TListBoxStrings::Replaced(int, int newIndex, bool wasSelected, bool wasCurrent)
{
    if (FListBox->MultiSelect())
        FListBox->SetSelected(newIndex, wasSelected);
    else if (wasCurrent)
        FListBox->SetItemIndex(newIndex);
}

bool TListBoxStrings::IsSelected(int index) const
{
    if (Window())
        return SendMessage(Window(), LB_GETSEL, index, 0) > 0;
    return index >= 0 && index < static_cast<int>(Saved.size()) && Saved[index].Selected;
}

int TListBoxStrings::Current() const { return FListBox->ItemIndex(); }

// --- TCustomListBox -------------------------------------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner)
    , FItems(std::make_unique<TListBoxStrings>(this))
{
    FControlStyle = TControlStyle { csSetCaption, csDoubleClicks, csOpaque };
    FWidth = 121;
    FHeight = 97;
    SetTabStop(true);
    SetParentColor(false);
    SetColor(clWindow);
}

TCustomListBox::~TCustomListBox() = default;

TCanvas* TCustomListBox::Canvas() const
{
    if (!FCanvas) {
        auto* self = const_cast<TCustomListBox*>(this);
        self->FCanvas = std::make_unique<TControlCanvas>();
        self->FCanvas->SetControl(self);
    }
    return FCanvas.get();
}

intptr_t TCustomListBox::SendToWindow(uint32_t message, uintptr_t wParam, intptr_t lParam) const
{
    auto* self = const_cast<TCustomListBox*>(this);
    if (!self->HandleAllocated())
        return LB_ERR;
    return SendMessage(self->Handle(), message, wParam, lParam);
}

void TCustomListBox::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    // The window is a "LISTBOX" under the control's own class name: its procedure is the list box's.
    RegisterListBoxClass();
    WNDCLASS list {};
    GetClassInfo(nullptr, WC_LISTBOX, &list);
    params.WindowClass.lpfnWndProc = list.lpfnWndProc;
    params.WindowClass.cbWndExtra = list.cbWndExtra;
    params.WindowClass.hCursor = list.hCursor;
    params.WindowClass.style &= ~(CS_VREDRAW | CS_HREDRAW);
    params.Style |= WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | LBS_HASSTRINGS;
    if (FStyle == lbOwnerDrawFixed)
        params.Style |= LBS_OWNERDRAWFIXED;
    else if (FStyle == lbOwnerDrawVariable)
        params.Style |= LBS_OWNERDRAWVARIABLE;
    if (FSorted)
        params.Style |= LBS_SORT;
    if (FMultiSelect)
        params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (FColumns > 0)
        params.Style |= LBS_MULTICOLUMN;
    if (!FIntegralHeight)
        params.Style |= LBS_NOINTEGRALHEIGHT;
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
}

void TCustomListBox::CreateWnd()
{
    const int height = Height();
    inherited::CreateWnd();
    HWND w = Handle();
    SendMessage(w, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    // Owner-drawn fixed lists take the object's height: the question at creation cannot reach the object.
    if (FStyle != lbStandard)
        SendMessage(w, LB_SETITEMHEIGHT, 0, MAKELPARAM(FItemHeight, 0));
    // The window fitted its height to whole items of the height it had at first; it fits again to the real one.
    if (FIntegralHeight && Height() != height)
        SetWindowPos(w, nullptr, 0, 0, Width(), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (FColumns > 0)
        SendMessage(w, LB_SETCOLUMNWIDTH, std::max(1, Width() / FColumns), 0);
    SendMessage(w, LB_SETHORIZONTALEXTENT, FScrollWidth, 0);
    // The saved items go back, with their objects and selection, wherever the window now sorts them.
    std::vector<TSavedItem> saved = std::move(Saved());
    Saved().clear();
    const bool hadCurrent = FSavedItemIndex >= 0 && FSavedItemIndex < static_cast<int>(saved.size());
    const std::string* current = hadCurrent ? &saved[FSavedItemIndex].Text : nullptr;
    SendMessage(w, WM_SETREDRAW, FALSE, 0);
    SendMessage(w, LB_INITSTORAGE, saved.size(), 0);
    int currentAt = -1;
    for (const TSavedItem& item : saved) {
        auto at = static_cast<int>(SendMessage(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.Text.c_str())));
        if (at < 0)
            continue;
        if (currentAt >= at)
            ++currentAt;
        SendMessage(w, LB_SETITEMDATA, at, reinterpret_cast<LPARAM>(item.Object));
        if (item.Selected && FMultiSelect)
            SendMessage(w, LB_SETSEL, TRUE, at);
        if (current == &item.Text)
            currentAt = at;
    }
    if (currentAt >= 0)
        SendMessage(w, FMultiSelect ? LB_SETCARETINDEX : LB_SETCURSEL, currentAt, FALSE);
    SendMessage(w, LB_SETTOPINDEX, FSavedTopIndex, 0);
    SendMessage(w, WM_SETREDRAW, TRUE, 0);
    FSavedItemIndex = -1;
    FSavedTopIndex = 0;
}

void TCustomListBox::DestroyWnd()
{
    // What only the window knew goes back into the object, for the next window.
    HWND w = Handle();
    const int itemIndex = ItemIndex();
    const int topIndex = TopIndex();
    FItems->SaveFrom(w);
    if (FCanvas)
        FCanvas->FreeHandle();
    inherited::DestroyWnd();
    FSavedItemIndex = itemIndex;
    FSavedTopIndex = topIndex;
}

void TCustomListBox::RecreateIfAllocated()
{
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    RecreateIfAllocated();
}

void TCustomListBox::SetMultiSelect(bool value)
{
    if (value == FMultiSelect)
        return;
    FMultiSelect = value;
    for (TSavedItem& item : Saved())
        item.Selected = false;
    RecreateIfAllocated();
}

void TCustomListBox::SetExtendedSelect(bool value)
{
    if (value == FExtendedSelect)
        return;
    FExtendedSelect = value;
    RecreateIfAllocated();
}

void TCustomListBox::SetSorted(bool value)
{
    if (value == FSorted)
        return;
    FSorted = value;
    FItems->Sorted = value;
    if (value && !HandleAllocated()) {
        // The current item follows its text.
        const std::string current = FSavedItemIndex >= 0 ? Saved()[FSavedItemIndex].Text : std::string();
        const TObject* object = FSavedItemIndex >= 0 ? Saved()[FSavedItemIndex].Object : nullptr;
        FItems->SortSaved();
        if (FSavedItemIndex >= 0)
            for (size_t i = 0; i < Saved().size(); ++i)
                if (Saved()[i].Text == current && Saved()[i].Object == object)
                    FSavedItemIndex = static_cast<int>(i);
    }
    // The window sorts what it is given again.
    RecreateIfAllocated();
}

void TCustomListBox::SetColumns(int value)
{
    value = std::max(0, value);
    if (value == FColumns)
        return;
    // Between one and several columns the window's style changes; otherwise only their width.
    const bool restyle = (FColumns == 0) != (value == 0);
    FColumns = value;
    if (restyle)
        RecreateIfAllocated();
    else if (HandleAllocated())
        SendToWindow(LB_SETCOLUMNWIDTH, std::max(1, Width() / FColumns), 0);
}

void TCustomListBox::SetIntegralHeight(bool value)
{
    if (value == FIntegralHeight)
        return;
    FIntegralHeight = value;
    RecreateIfAllocated();
}

void TCustomListBox::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    RecreateIfAllocated();
}

int TCustomListBox::ItemHeight() const
{
    if (const_cast<TCustomListBox*>(this)->HandleAllocated() && FStyle == lbStandard)
        return static_cast<int>(SendToWindow(LB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TCustomListBox::SetItemHeight(int value)
{
    if (value <= 0 || value == FItemHeight)
        return;
    FItemHeight = value;
    if (FStyle != lbStandard && HandleAllocated()) {
        SendToWindow(LB_SETITEMHEIGHT, 0, MAKELPARAM(value, 0));
        Invalidate();
    }
}

void TCustomListBox::SetScrollWidth(int value)
{
    FScrollWidth = std::max(0, value);
    if (HandleAllocated())
        SendToWindow(LB_SETHORIZONTALEXTENT, FScrollWidth, 0);
}

int TCustomListBox::ItemIndex() const
{
    if (!const_cast<TCustomListBox*>(this)->HandleAllocated())
        return FSavedItemIndex;
    if (FMultiSelect)
        return static_cast<int>(SendToWindow(LB_GETCARETINDEX, 0, 0));
    return static_cast<int>(SendToWindow(LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int value)
{
    if (!HandleAllocated()) {
        FSavedItemIndex = value >= 0 && value < Count() ? value : -1;
        return;
    }
    if (ItemIndex() == value)
        return;
    if (FMultiSelect)
        SendToWindow(LB_SETCARETINDEX, value, FALSE);
    else
        SendToWindow(LB_SETCURSEL, value, 0);
}

bool TCustomListBox::Selected(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", index));
    if (!const_cast<TCustomListBox*>(this)->HandleAllocated())
        return FMultiSelect ? Saved()[index].Selected : index == FSavedItemIndex;
    return SendToWindow(LB_GETSEL, index, 0) > 0;
}

void TCustomListBox::SetSelected(int index, bool value)
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", index));
    if (!HandleAllocated()) {
        if (FMultiSelect)
            Saved()[index].Selected = value;
        else if (value)
            FSavedItemIndex = index;
        else if (FSavedItemIndex == index)
            FSavedItemIndex = -1;
        return;
    }
    if (FMultiSelect)
        SendToWindow(LB_SETSEL, value, index);
    else if (value)
        SendToWindow(LB_SETCURSEL, index, 0);
    else if (ItemIndex() == index)
        SendToWindow(LB_SETCURSEL, static_cast<uintptr_t>(-1), 0);
}

int TCustomListBox::SelCount() const
{
    if (!FMultiSelect)
        return -1;
    if (!const_cast<TCustomListBox*>(this)->HandleAllocated())
        return static_cast<int>(std::count_if(Saved().begin(), Saved().end(), [](const auto& i) { return i.Selected; }));
    return static_cast<int>(SendToWindow(LB_GETSELCOUNT, 0, 0));
}

int TCustomListBox::TopIndex() const
{
    if (!const_cast<TCustomListBox*>(this)->HandleAllocated())
        return FSavedTopIndex;
    return static_cast<int>(SendToWindow(LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int value)
{
    if (!HandleAllocated()) {
        FSavedTopIndex = std::max(0, value);
        return;
    }
    if (TopIndex() != value)
        SendToWindow(LB_SETTOPINDEX, value, 0);
}

int TCustomListBox::ItemAtPos(TPoint pos, bool existing) const
{
    // Outside the client: none. Inside but past the items: none, or the index a new item would take.
    const TRect client = ClientRect();
    if (pos.X < client.Left || pos.Y < client.Top || pos.X >= client.Right || pos.Y >= client.Bottom)
        return -1;
    // Only the visible items can be under the point.
    const int count = Count();
    for (int i = std::max(0, TopIndex()); i < count; ++i) {
        const TRect r = ItemRect(i);
        if (pos.X >= r.Left && pos.X < r.Right && pos.Y >= r.Top && pos.Y < r.Bottom)
            return i;
        if (FColumns > 0 ? r.Left >= client.Right : r.Top >= client.Bottom)
            break;
    }
    return existing ? -1 : count;
}

TRect TCustomListBox::ItemRect(int index) const
{
    RECT r {};
    auto* self = const_cast<TCustomListBox*>(this);
    const int count = Count();
    if (index == 0 || index < count)
        SendMessage(self->Handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    else if (index == count && count > 0) {
        // Where an item after the last would go.
        SendMessage(self->Handle(), LB_GETITEMRECT, index - 1, reinterpret_cast<LPARAM>(&r));
        const LONG height = r.bottom - r.top;
        r.top += height;
        r.bottom += height;
    }
    return TRect {r.left, r.top, r.right, r.bottom};
}

void TCustomListBox::Clear() { FItems->Clear(); }

void TCustomListBox::ClearSelection()
{
    if (FMultiSelect) {
        for (int i = 0; i < Count(); ++i)
            SetSelected(i, false);
    } else {
        SetItemIndex(-1);
    }
}

void TCustomListBox::SelectAll()
{
    if (!FMultiSelect)
        return;
    for (int i = 0; i < Count(); ++i)
        SetSelected(i, true);
}

void TCustomListBox::DeleteSelected()
{
    if (FMultiSelect) {
        for (int i = Count() - 1; i >= 0; --i)
            if (Selected(i))
                FItems->Delete(i);
    } else if (ItemIndex() >= 0) {
        FItems->Delete(ItemIndex());
    }
}

void TCustomListBox::DrawItem(int index, TRect rect, TOwnerDrawState state)
{
    if (OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->FillRect(rect);
    if (index >= 0 && index < Count())
        canvas->TextOut(rect.Left + 2, rect.Top, FItems->Strings(index));
}

void TCustomListBox::MeasureItem(int index, int& height)
{
    if (OnMeasureItem)
        OnMeasureItem(this, index, height);
}

// Type-ahead is the window's: AutoComplete off lets it see no letters.
void TCustomListBox::KeyPress(char32_t& key)
{
    inherited::KeyPress(key);
    if (!FAutoComplete && key > ' ')
        key = 0;
}

void TCustomListBox::CNCommand(TMessage& message)
{
    if (HIWORD(message.WParam) == LBN_SELCHANGE)
        Click();
}

void TCustomListBox::CNDrawItem(TMessage& message)
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

void TCustomListBox::CNMeasureItem(TMessage& message)
{
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    int height = FItemHeight;
    if (FStyle == lbOwnerDrawVariable)
        MeasureItem(static_cast<int>(measure->itemID), height);
    measure->itemHeight = static_cast<UINT>(std::max(1, height));
    message.Result = TRUE;
}

void TCustomListBox::WndProc(TMessage& message)
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
    case CM_FONTCHANGED:
        inherited::WndProc(message);
        if (HandleAllocated())
            SendToWindow(WM_SETFONT, reinterpret_cast<uintptr_t>(Font()->Handle()), TRUE);
        return;
    case WM_SIZE:
        inherited::WndProc(message);
        if (FColumns > 0 && HandleAllocated())
            SendToWindow(LB_SETCOLUMNWIDTH, std::max(1, Width() / FColumns), 0);
        return;
    default:
        inherited::WndProc(message);
    }
}

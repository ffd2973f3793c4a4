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

HWND TListBoxStrings::Window() const
{
    return FListBox->HandleAllocated() ? FListBox->Handle() : nullptr;
}

void TListBoxStrings::CheckIndex(int index, int count) const
{
    if (index < 0 || index >= count)
        Error("List index out of bounds (%d)", index);
}

int TListBoxStrings::GetCount() const
{
    if (HWND w = Window())
        return static_cast<int>(SendMessage(w, LB_GETCOUNT, 0, 0));
    return static_cast<int>(FListBox->FSaved.size());
}

std::string TListBoxStrings::Get(int index) const
{
    CheckIndex(index, GetCount());
    HWND w = Window();
    if (!w)
        return FListBox->FSaved[index].Text;
    std::string text(static_cast<size_t>(SendMessage(w, LB_GETTEXTLEN, index, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(SendMessage(w, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

TObject* TListBoxStrings::GetObject(int index) const
{
    CheckIndex(index, GetCount());
    if (HWND w = Window())
        return reinterpret_cast<TObject*>(SendMessage(w, LB_GETITEMDATA, index, 0));
    return FListBox->FSaved[index].Object;
}

void TListBoxStrings::PutObject(int index, TObject* object)
{
    CheckIndex(index, GetCount());
    if (HWND w = Window())
        SendMessage(w, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(object));
    else
        FListBox->FSaved[index].Object = object;
}

void TListBoxStrings::Put(int index, std::string_view s)
{
    // A new text may sort elsewhere: the item goes and comes back with its object and selection.
    CheckIndex(index, GetCount());
    TObject* object = GetObject(index);
    const bool selected = FListBox->Selected(index);
    const int current = FListBox->ItemIndex();
    BeginUpdate();
    Delete(index);
    InsertObject(index, s, object);
    EndUpdate();
    int at = FListBox->Sorted() ? IndexOf(s) : index;
    if (FListBox->MultiSelect())
        FListBox->SetSelected(at, selected);
    else if (current == index)
        FListBox->SetItemIndex(at);
}

int TListBoxStrings::Add(std::string_view s) { return AddObject(s, nullptr); }

int TListBoxStrings::AddObject(std::string_view s, TObject* object)
{
    const std::string text(s);
    if (HWND w = Window()) {
        auto at = static_cast<int>(SendMessage(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
        if (at < 0)
            throw EOutOfResources("Out of system resources");
        SendMessage(w, LB_SETITEMDATA, at, reinterpret_cast<LPARAM>(object));
        return at;
    }
    auto& saved = FListBox->FSaved;
    auto at = saved.end();
    if (FListBox->Sorted())
        at = std::upper_bound(saved.begin(), saved.end(), text, [](const std::string& t, const auto& item) {
            return CompareTextNoCase(t, item.Text) < 0;
        });
    at = saved.insert(at, {text, object, false});
    return static_cast<int>(at - saved.begin());
}

void TListBoxStrings::Insert(int index, std::string_view s) { InsertObject(index, s, nullptr); }

void TListBoxStrings::InsertObject(int index, std::string_view s, TObject* object)
{
    // A sorted list puts the item where it sorts, as the window does with an added string.
    if (FListBox->Sorted()) {
        AddObject(s, object);
        return;
    }
    const int count = GetCount();
    if (index < 0 || index > count)
        Error("List index out of bounds (%d)", index);
    const std::string text(s);
    if (HWND w = Window()) {
        if (SendMessage(w, LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str())) < 0)
            throw EOutOfResources("Out of system resources");
        SendMessage(w, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(object));
        return;
    }
    FListBox->FSaved.insert(FListBox->FSaved.begin() + index, {text, object, false});
}

void TListBoxStrings::Delete(int index)
{
    CheckIndex(index, GetCount());
    if (HWND w = Window())
        SendMessage(w, LB_DELETESTRING, index, 0);
    else
        FListBox->FSaved.erase(FListBox->FSaved.begin() + index);
}

void TListBoxStrings::Clear()
{
    if (HWND w = Window())
        SendMessage(w, LB_RESETCONTENT, 0, 0);
    FListBox->FSaved.clear();
    FListBox->FSavedItemIndex = -1;
    FListBox->FSavedTopIndex = 0;
}

int TListBoxStrings::IndexOf(std::string_view s) const
{
    HWND w = Window();
    if (!w)
        return TStrings::IndexOf(s);
    // The window's exact search ignores case, as TStrings does; ask from before the first item.
    const std::string text(s);
    auto found = static_cast<int>(SendMessage(w, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
        reinterpret_cast<LPARAM>(text.c_str())));
    return found < 0 ? -1 : found;
}

void TListBoxStrings::Exchange(int index1, int index2)
{
    const int count = GetCount();
    CheckIndex(index1, count);
    CheckIndex(index2, count);
    if (index1 == index2)
        return;
    BeginUpdate();
    const std::string s1 = Get(index1), s2 = Get(index2);
    TObject* o1 = GetObject(index1);
    TObject* o2 = GetObject(index2);
    // Sorted lists keep their order; only unsorted lists really swap.
    Delete(index1);
    InsertObject(index1, s2, o2);
    Delete(index2);
    InsertObject(index2, s1, o1);
    EndUpdate();
}

void TListBoxStrings::Move(int curIndex, int newIndex)
{
    const int count = GetCount();
    CheckIndex(curIndex, count);
    CheckIndex(newIndex, count);
    if (curIndex == newIndex)
        return;
    BeginUpdate();
    const std::string s = Get(curIndex);
    TObject* o = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, o);
    EndUpdate();
}

void TListBoxStrings::SetUpdateState(bool updating)
{
    HWND w = Window();
    if (!w)
        return;
    SendMessage(w, WM_SETREDRAW, !updating, 0);
    if (!updating)
        FListBox->Invalidate();
}

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
    inherited::CreateWnd();
    HWND w = Handle();
    SendMessage(w, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    // Owner-drawn fixed lists take the object's height: the question at creation cannot reach the object.
    if (FStyle != lbStandard)
        SendMessage(w, LB_SETITEMHEIGHT, 0, MAKELPARAM(FItemHeight, 0));
    if (FColumns > 0)
        SendMessage(w, LB_SETCOLUMNWIDTH, std::max(1, Width() / FColumns), 0);
    SendMessage(w, LB_SETHORIZONTALEXTENT, FScrollWidth, 0);
    // The saved items go back, with their objects and selection.
    std::vector<TSavedItem> saved = std::move(FSaved);
    FSaved.clear();
    SendMessage(w, WM_SETREDRAW, FALSE, 0);
    SendMessage(w, LB_INITSTORAGE, saved.size(), 0);
    for (const TSavedItem& item : saved) {
        auto at = SendMessage(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.Text.c_str()));
        if (at < 0)
            continue;
        SendMessage(w, LB_SETITEMDATA, at, reinterpret_cast<LPARAM>(item.Object));
        if (item.Selected && FMultiSelect)
            SendMessage(w, LB_SETSEL, TRUE, at);
    }
    if (!FMultiSelect && FSavedItemIndex >= 0)
        SendMessage(w, LB_SETCURSEL, FSavedItemIndex, 0);
    else if (FMultiSelect && FSavedItemIndex >= 0)
        SendMessage(w, LB_SETCARETINDEX, FSavedItemIndex, FALSE);
    SendMessage(w, LB_SETTOPINDEX, FSavedTopIndex, 0);
    SendMessage(w, WM_SETREDRAW, TRUE, 0);
    FSavedItemIndex = -1;
    FSavedTopIndex = 0;
}

void TCustomListBox::DestroyWnd()
{
    // What only the window knew goes back into the object, for the next window.
    HWND w = Handle();
    const int count = static_cast<int>(SendMessage(w, LB_GETCOUNT, 0, 0));
    std::vector<TSavedItem> saved;
    saved.reserve(count);
    for (int i = 0; i < count; ++i) {
        std::string text(static_cast<size_t>(SendMessage(w, LB_GETTEXTLEN, i, 0)) + 1, '\0');
        text.resize(static_cast<size_t>(SendMessage(w, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        auto* object = reinterpret_cast<TObject*>(SendMessage(w, LB_GETITEMDATA, i, 0));
        saved.push_back({std::move(text), object, SendMessage(w, LB_GETSEL, i, 0) > 0});
    }
    FSavedItemIndex = ItemIndex();
    FSavedTopIndex = TopIndex();
    if (FCanvas)
        FCanvas->FreeHandle();
    inherited::DestroyWnd();
    FSaved = std::move(saved);
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
    for (TSavedItem& item : FSaved)
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
    if (value && !HandleAllocated())
        std::stable_sort(FSaved.begin(), FSaved.end(),
            [](const TSavedItem& a, const TSavedItem& b) { return CompareTextNoCase(a.Text, b.Text) < 0; });
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
        return FMultiSelect ? FSaved[index].Selected : index == FSavedItemIndex;
    return SendToWindow(LB_GETSEL, index, 0) > 0;
}

void TCustomListBox::SetSelected(int index, bool value)
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", index));
    if (!HandleAllocated()) {
        if (FMultiSelect)
            FSaved[index].Selected = value;
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
        return static_cast<int>(std::count_if(FSaved.begin(), FSaved.end(), [](const auto& i) { return i.Selected; }));
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

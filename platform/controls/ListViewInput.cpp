#include "platform/controls/ListView.h"
#include "platform/controls/TextEngine.h"
#include "platform/win/Timers.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// How far the pointer moves with the button down before the press becomes a drag.
constexpr int kDragDistance = 4;
// Typed letters within this time of each other extend the type-ahead prefix.
constexpr uint32_t kTypeAheadMs = 1000;
// The timer that starts label editing after a slow second click on the focused item.
constexpr UINT_PTR kEditTimer = 1;
} // namespace

LRESULT ListView::Notify(UINT code, NMHDR* header)
{
    return SendNotify(hwnd_, code, header);
}

LRESULT ListView::NotifyItem(UINT code, int index, int subItem, POINT at)
{
    NMITEMACTIVATE nm {};
    nm.iItem = index;
    nm.iSubItem = subItem;
    nm.ptAction = at;
    nm.lParam = Valid(index) ? ParamOf(index) : 0;
    if (Valid(index))
        nm.uOldState = nm.uNewState = StateOf(index);
    return Notify(code, &nm.hdr);
}

bool ListView::ChangeState(int index, UINT state, UINT mask)
{
    if (!Valid(index))
        return false;
    UINT old = StateOf(index);
    UINT next = (old & ~mask) | (state & mask);
    if (next == old)
        return true;
    NMLISTVIEW nm {};
    nm.iItem = index;
    nm.uChanged = LVIF_STATE;
    nm.uOldState = old;
    nm.uNewState = next;
    nm.lParam = ParamOf(index);
    if (Notify(LVN_ITEMCHANGING, &nm.hdr))
        return false;
    if ((next & LVIS_SELECTED) && !(old & LVIS_SELECTED) && (style_ & LVS_SINGLESEL))
        ClearSelection(index);
    if ((next & LVIS_FOCUSED) && !(old & LVIS_FOCUSED)) {
        if (Valid(focus_) && focus_ != index)
            ChangeState(focus_, 0, LVIS_FOCUSED);
        focus_ = index;
    } else if (!(next & LVIS_FOCUSED) && focus_ == index) {
        focus_ = -1;
    }
    if (!Valid(index))
        return false; // a handler removed it
    StoreState(index, next);
    InvalidateItem(index);
    nm.lParam = ParamOf(index);
    Notify(LVN_ITEMCHANGED, &nm.hdr);
    return true;
}

void ListView::SetFocusItem(int index)
{
    ChangeState(index, LVIS_FOCUSED, LVIS_FOCUSED);
}

void ListView::ClearSelection(int except)
{
    if (!OwnerData()) {
        for (int i = 0; i < Count(); ++i)
            if (i != except && (StateOf(i) & LVIS_SELECTED))
                ChangeState(i, 0, LVIS_SELECTED);
        return;
    }
    int selected = 0, one = -1;
    for (int i = 0; i < Count(); ++i)
        if (i != except && (ownerStates_[i] & LVIS_SELECTED)) {
            ++selected;
            one = i;
        }
    if (selected == 0)
        return;
    if (selected == 1) {
        ChangeState(one, 0, LVIS_SELECTED);
        return;
    }
    // Many items of an owner-data view: one report for all of them, as item -1.
    for (int i = 0; i < Count(); ++i)
        if (i != except)
            ownerStates_[i] &= static_cast<uint8_t>(~LVIS_SELECTED);
    NMLISTVIEW nm {};
    nm.iItem = -1;
    nm.uChanged = LVIF_STATE;
    nm.uOldState = LVIS_SELECTED;
    nm.uNewState = 0;
    Notify(LVN_ITEMCHANGED, &nm.hdr);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void ListView::SelectRange(int first, int last)
{
    if (first > last)
        std::swap(first, last);
    first = std::max(first, 0);
    last = std::min(last, Count() - 1);
    if (!OwnerData() || first == last) {
        for (int i = first; i <= last; ++i)
            ChangeState(i, LVIS_SELECTED, LVIS_SELECTED);
        return;
    }
    for (int i = first; i <= last; ++i)
        ownerStates_[i] |= LVIS_SELECTED;
    NMLVODSTATECHANGE nm {};
    nm.iFrom = first;
    nm.iTo = last;
    nm.uNewState = LVIS_SELECTED;
    nm.uOldState = 0;
    Notify(LVN_ODSTATECHANGED, &nm.hdr);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void ListView::SelectFromGesture(int index, bool shift, bool control, bool fromMouse)
{
    if (!Valid(index))
        return;
    bool multi = !(style_ & LVS_SINGLESEL);
    if (multi && shift) {
        // From the mark to here; with control the span is added to what is selected.
        if (!Valid(mark_))
            mark_ = index;
        if (!control)
            ClearSelection(-1);
        SelectRange(mark_, index);
        SetFocusItem(index);
    } else if (multi && control) {
        // Control with the mouse toggles; with keys it only moves the focus.
        if (fromMouse) {
            ChangeState(index, (StateOf(index) & LVIS_SELECTED) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
            mark_ = index;
        }
        SetFocusItem(index);
    } else {
        ClearSelection(index);
        ChangeState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        mark_ = index;
    }
    EnsureVisible(index);
}

void ListView::ButtonDown(POINT point, WPARAM keys, bool doubleClick)
{
    if (editor_.Window())
        EndEdit(true);
    bool wasFocused = GetFocus() == hwnd_;
    if (!wasFocused)
        SetFocus(hwnd_);
    KillTimer(hwnd_, kEditTimer);
    LVHITTESTINFO hit = HitTest(point);
    if (doubleClick) {
        NotifyItem(NM_DBLCLK, hit.iItem, hit.iSubItem, point);
        if (Valid(hit.iItem))
            NotifyItem(LVN_ITEMACTIVATE, hit.iItem, hit.iSubItem, point);
        return;
    }
    bool shift = keys & MK_SHIFT, control = keys & MK_CONTROL;
    if (!Valid(hit.iItem)) {
        if (!shift && !control)
            ClearSelection(-1);
        NotifyItem(NM_CLICK, -1, 0, point);
        return;
    }
    int item = hit.iItem;
    // A second, slow click on the label of the focused, selected item edits it.
    editOnRelease_ = (style_ & LVS_EDITLABELS) && wasFocused && !shift && !control && item == focus_
        && (StateOf(item) & LVIS_SELECTED) && (hit.flags & LVHT_ONITEMLABEL);
    // Pressing one of several selected items keeps them all for a drag; the release selects it alone.
    bool keepForDrag = !shift && !control && (StateOf(item) & LVIS_SELECTED);
    if (!keepForDrag)
        SelectFromGesture(item, shift, control, true);
    pressed_ = true;
    dragged_ = false;
    pressedItem_ = item;
    pressedAt_ = point;
    SetCapture(hwnd_);
}

void ListView::RightButtonDown(POINT point)
{
    if (editor_.Window())
        EndEdit(true);
    if (GetFocus() != hwnd_)
        SetFocus(hwnd_);
    LVHITTESTINFO hit = HitTest(point);
    if (Valid(hit.iItem)) {
        if (!(StateOf(hit.iItem) & LVIS_SELECTED))
            SelectFromGesture(hit.iItem, false, false, true);
        else
            SetFocusItem(hit.iItem);
    }
    NotifyItem(NM_RCLICK, hit.iItem, hit.iSubItem, point);
}

void ListView::MouseMove(POINT point)
{
    if (!pressed_ || dragged_)
        return;
    if (std::abs(point.x - pressedAt_.x) + std::abs(point.y - pressedAt_.y) < kDragDistance)
        return;
    // The parent runs the drag from here on.
    dragged_ = true;
    pressed_ = false;
    editOnRelease_ = false;
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    NotifyItem(LVN_BEGINDRAG, pressedItem_, 0, pressedAt_);
}

void ListView::ButtonUp(POINT point)
{
    if (!pressed_)
        return;
    pressed_ = false;
    if (GetCapture() == hwnd_)
        ReleaseCapture();
    int item = pressedItem_;
    if (!Valid(item))
        return;
    if (!editOnRelease_ && (StateOf(item) & LVIS_SELECTED) && !KeyHeld(VK_SHIFT) && !KeyHeld(VK_CONTROL))
        SelectFromGesture(item, false, false, true);
    NotifyItem(NM_CLICK, item, HitTest(point).iSubItem, point);
    if (editOnRelease_)
        SetTimer(hwnd_, kEditTimer, GetDoubleClickTime(), nullptr);
    editOnRelease_ = false;
}

void ListView::KeyDown(UINT key)
{
    NMLVKEYDOWN nm {};
    nm.wVKey = static_cast<WORD>(key);
    Notify(LVN_KEYDOWN, &nm.hdr);
    int n = Count();
    if (n == 0)
        return;
    bool shift = KeyHeld(VK_SHIFT), control = KeyHeld(VK_CONTROL);
    int from = Valid(focus_) ? focus_ : 0;
    switch (key) {
    case VK_F2:
        if ((style_ & LVS_EDITLABELS) && Valid(focus_))
            EditLabel(focus_);
        return;
    case VK_RETURN: {
        NMHDR header {};
        Notify(NM_RETURN, &header);
        if (Valid(focus_))
            NotifyItem(LVN_ITEMACTIVATE, focus_);
        return;
    }
    case VK_SPACE:
        if (!Valid(focus_))
            return;
        if (control && !(style_ & LVS_SINGLESEL)) {
            ChangeState(focus_, (StateOf(focus_) & LVIS_SELECTED) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
            mark_ = focus_;
        } else {
            SelectFromGesture(focus_, shift, false, false);
        }
        return;
    default:
        break;
    }
    int to = from;
    int page = std::max(1, CountPerPage());
    int rows = ViewType() == LVS_LIST ? view_.RowsPerColumn() : 1;
    int perRow = IconView() ? ItemsPerRow() : 1;
    bool none = !Valid(focus_);
    switch (key) {
    case VK_UP: to = none ? 0 : (IconView() ? from - perRow : from - 1); break;
    case VK_DOWN: to = none ? 0 : (IconView() ? from + perRow : from + 1); break;
    case VK_LEFT: to = ViewType() == LVS_LIST ? from - rows : (IconView() ? from - 1 : from); break;
    case VK_RIGHT: to = ViewType() == LVS_LIST ? from + rows : (IconView() ? from + 1 : from); break;
    case VK_PRIOR: {
        // First to the top of the page, then a page further.
        int top = view_.Top();
        to = Report() && from > top ? top : from - std::max(1, page - 1);
        break;
    }
    case VK_NEXT: {
        int bottom = view_.Top() + page - 1;
        to = Report() && from < bottom ? bottom : from + std::max(1, page - 1);
        break;
    }
    case VK_HOME: to = 0; break;
    case VK_END: to = n - 1; break;
    default: return;
    }
    to = std::clamp(to, 0, n - 1);
    if (to == from && !none && key != VK_HOME && key != VK_END)
        return;
    SelectFromGesture(to, shift, control, false);
}

void ListView::TypeAhead(char32_t c)
{
    uint32_t now = GetTickCount();
    if (now - typedAt_ > kTypeAheadMs)
        typed_.clear();
    typedAt_ = now;
    bool first = typed_.empty();
    utf8::Append(typed_, c);
    // A first letter searches past the focus (cycling through the items with that letter); a longer prefix
    // may stay on the focused item.
    LVFINDINFO info {};
    info.flags = LVFI_PARTIAL | LVFI_WRAP | LVFI_STRING;
    info.psz = typed_.c_str();
    int start = Valid(focus_) ? (first ? focus_ : focus_ - 1) : -1;
    auto found = static_cast<int>(FindItem(start, &info));
    if (Valid(found))
        SelectFromGesture(found, false, false, false);
}

HWND ListView::EditLabel(int index)
{
    if (!Valid(index))
        return nullptr;
    if (editor_.Window())
        EndEdit(true);
    EnsureVisible(index);
    if (GetFocus() != hwnd_)
        SetFocus(hwnd_);
    char buffer[260];
    std::string text(CellText(index, 0, buffer, sizeof buffer));
    NMLVDISPINFO info {};
    info.item.mask = LVIF_TEXT | LVIF_PARAM;
    info.item.iItem = index;
    info.item.pszText = text.data();
    info.item.cchTextMax = static_cast<int>(text.size() + 1);
    info.item.lParam = ParamOf(index);
    if (Notify(LVN_BEGINLABELEDIT, &info.hdr))
        return nullptr; // the parent keeps the label as it is
    if (!Valid(index))
        return nullptr;
    RECT r = ItemPart(index, LVIR_LABEL);
    RECT client;
    GetClientRect(hwnd_, &client);
    int width = std::max(static_cast<int>(r.right - r.left), 40);
    RECT area {r.left, r.top, r.left + std::min(width, static_cast<int>(client.right - r.left)),
        r.top + std::max(rowHeight_, fontHeight_ + 4)};
    editItem_ = index;
    HWND edit = editor_.Open(hwnd_, area, text, font_, [this](bool commit) { EndEdit(commit); });
    if (!edit)
        editItem_ = -1;
    return edit;
}

void ListView::EndEdit(bool commit)
{
    if (!editor_.Window())
        return;
    int item = editItem_;
    std::string text = editor_.Text();
    editItem_ = -1;
    editor_.Close();
    if (!Valid(item))
        return;
    // A null text tells the parent that the edit was cancelled; answering TRUE to a text keeps it.
    NMLVDISPINFO info {};
    info.item.mask = LVIF_TEXT | LVIF_PARAM;
    info.item.iItem = item;
    info.item.pszText = commit ? text.data() : nullptr;
    info.item.cchTextMax = static_cast<int>(text.size() + 1);
    info.item.lParam = ParamOf(item);
    LRESULT keep = Notify(LVN_ENDLABELEDIT, &info.hdr);
    if (commit && keep && Valid(item) && !OwnerData() && !items_[item].TextCallback)
        items_[item].Text = text;
    InvalidateItem(item);
}

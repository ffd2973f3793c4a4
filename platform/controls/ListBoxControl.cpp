#include "platform/controls/ListBoxControl.h"

#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/ItemView.h"
#include "platform/controls/TextEngine.h"
#include "platform/controls/ControlClass.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// Typed letters within this time of each other extend the type-ahead prefix.
constexpr uint32_t kTypeAheadMs = 1000;

// One list box's state, kept in the window's extra bytes from WM_NCCREATE to WM_NCDESTROY.
class ListBox {
public:
    ListBox(HWND hwnd, const CREATESTRUCT& create);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // What a selection change must redraw: the states of the visible items before it. An owner-drawn list
    // redraws only the items whose selection or focus changed, with ODA_SELECT or ODA_FOCUS, as its owner
    // expects; any other list, or a change that scrolled, repaints.
    class Redraw {
    public:
        explicit Redraw(ListBox& box);
        ~Redraw();
        Redraw(const Redraw&) = delete;
        Redraw& operator=(const Redraw&) = delete;

    private:
        ListBox& box_;
        int top_;
        bool focused_;
        std::vector<UINT> states_;
    };

    bool Multi() const { return style_ & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL); }
    bool Extended() const { return style_ & LBS_EXTENDEDSEL; }
    bool Selected(int i) const { return Multi() ? view_.At(i).Selected : i == current_; }
    bool OwnerDraw() const { return style_ & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }
    // Owner-drawn lists without LBS_HASSTRINGS keep only the item data the caller passes in place of text.
    bool HasStrings() const { return !OwnerDraw() || (style_ & LBS_HASSTRINGS); }
    UINT ItemState(int i) const;
    // The item's rectangle as the owner and callers see it: shifted by the horizontal scroll position and,
    // with a horizontal extent, as wide as the extent.
    RECT ShiftedRect(int i) const;

    // Who hears of the list: its parent, or the combo box it belongs to.
    HWND Owner() const { return combo_ ? combo_ : GetParent(hwnd_); }
    // The window the owner-draw records name: the list, or its combo box.
    HWND Reporter() const { return combo_ ? combo_ : hwnd_; }
    void Notify(WORD code);
    void Changed(); // repaint and new scroll information after the items or the view changed
    void UpdateScrollInfo();
    void SetTop(int top);
    // Without LBS_NOINTEGRALHEIGHT the window drops the part of an item that its height would cut.
    void FitIntegralHeight();

    LRESULT AddItem(int index, LPARAM value, bool sorted);
    // Where a sorted owner-drawn list without strings puts data: the owner compares by WM_COMPAREITEM.
    int ComparedPosition(LPARAM data);
    void SendDelete(int index);
    void MeasureItem(int index);
    LRESULT DeleteItem(int index);
    void Reset();
    LRESULT SetCurSel(int index);
    LRESULT SetSel(bool select, int index);

    // A selection gesture at index, from the mouse or the keys; returns whether the selection changed.
    bool SelectAt(int index, bool shift, bool control, bool fromMouse);
    void MoveCaretBy(UINT key);
    void TypeAhead(char32_t c);
    void OnScroll(bool vertical, WORD request, int thumb);
    // The mouse on a combo box's list.
    bool Popup() const { return combo_ && !(style_ & WS_CHILD); }
    void ComboButtonDown(UINT message, POINT point);
    void ComboMouseMove(POINT point);
    void ComboButtonUp(POINT point);
    void EndComboTracking();
    void OnHorizontalScroll(WORD request);
    void SetHorizontalPos(int pos);
    bool SetHorizontalPosChanged(int pos);
    // Finds text (or, in a list without strings, the item data) from after `after`, wrapping.
    int Find(LPARAM value, int after, bool exact) const;
    // The background brush, with the DC's colours, from the owner (WM_CTLCOLORLISTBOX).
    HBRUSH PrepareColors(HDC dc);
    void DrawItem(HDC dc, int index, UINT action);
    void Paint(HDC dc);

    HWND hwnd_;
    DWORD style_;
    ItemView view_;
    HFONT font_;
    int current_ = -1; // the selected item of a single-selection list
    int caret_ = -1;   // the item with the focus rectangle
    int anchor_ = -1;  // where shift-extended ranges start
    bool focused_ = false;
    bool redraw_ = true;
    bool tracking_ = false;
    bool publishing_ = false;
    int horizontalExtent_ = 0;
    int horizontalPos_ = 0;
    int averageCharWidth_ = 8;
    HWND combo_ = nullptr; // the combo box whose list this is
    bool comboTracking_ = false; // dropped down: the item under the pointer becomes current
    bool comboCapture_ = false;
    bool releasingCapture_ = false;
    bool fitting_ = false;
    std::string typed_;
    uint32_t typedAt_ = 0;
};

ListBox::ListBox(HWND hwnd, const CREATESTRUCT& create)
    : hwnd_(hwnd)
    , style_(static_cast<DWORD>(create.style))
    , font_(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)))
{
    view_.SetVariableHeights(style_ & LBS_OWNERDRAWVARIABLE);
    redraw_ = !(style_ & LBS_NOREDRAW);
    if (create.lpszClass && CompareTextNoCase(create.lpszClass, WC_COMBOLBOX) == 0)
        combo_ = static_cast<HWND>(create.lpCreateParams);
    if (style_ & LBS_MULTICOLUMN)
        view_.SetColumnWidth(64);
    RECT client {};
    GetClientRect(hwnd, &client);
    view_.SetClient(client.right - client.left, client.bottom - client.top);
}

void ListBox::Notify(WORD code)
{
    if (!(style_ & LBS_NOTIFY) && code != LBN_ERRSPACE)
        return;
    HWND parent = Owner();
    if (!parent)
        return;
    auto id = static_cast<WORD>(GetWindowLongPtr(hwnd_, GWLP_ID));
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd_));
}

void ListBox::Changed()
{
    if (!redraw_)
        return;
    UpdateScrollInfo();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ListBox::UpdateScrollInfo()
{
    // Showing or hiding a bar resizes the client, which comes back here through WM_SIZE.
    if (publishing_)
        return;
    publishing_ = true;
    SCROLLINFO info {sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (style_ & LBS_DISABLENOSCROLL)
        info.fMask |= SIF_DISABLENOSCROLL;
    if (view_.MultiColumn()) {
        // Columns are the steps of the horizontal bar.
        int rows = view_.RowsPerColumn();
        info.nMax = std::max(0, (view_.Count() + rows - 1) / rows - 1);
        info.nPage = static_cast<UINT>(std::max(1, view_.FullyVisibleCount() / rows));
        info.nPos = view_.Top() / rows;
        if (style_ & WS_HSCROLL)
            SetScrollInfo(hwnd_, SB_HORZ, &info, TRUE);
        if (style_ & WS_VSCROLL) {
            // Nothing scrolls up and down here: the bar goes (or, kept, is disabled).
            SCROLLINFO none {sizeof(SCROLLINFO), info.fMask, 0, 0, 0, 0, 0};
            SetScrollInfo(hwnd_, SB_VERT, &none, TRUE);
        }
    } else {
        // Items are the steps of the vertical bar; the page is what fits wholly.
        info.nMax = std::max(0, view_.Count() - 1);
        info.nPage = static_cast<UINT>(view_.FullyVisibleCount());
        info.nPos = view_.Top();
        if (style_ & WS_VSCROLL)
            SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
        if (style_ & WS_HSCROLL) {
            // Pixels of the horizontal extent; a list as wide as its extent has nothing to scroll.
            RECT client;
            GetClientRect(hwnd_, &client);
            SCROLLINFO h {sizeof(SCROLLINFO), info.fMask, 0, std::max(0, horizontalExtent_ - 1),
                static_cast<UINT>(std::max<LONG>(1, client.right - client.left)), horizontalPos_, 0};
            SetScrollInfo(hwnd_, SB_HORZ, &h, TRUE);
        }
    }
    publishing_ = false;
}

void ListBox::FitIntegralHeight()
{
    if ((style_ & (LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWVARIABLE)) || combo_ || fitting_ || publishing_)
        return;
    RECT client;
    GetClientRect(hwnd_, &client);
    const int height = client.bottom - client.top;
    const int cut = height % view_.ItemHeight();
    if (height <= view_.ItemHeight() || cut == 0)
        return;
    RECT window;
    GetWindowRect(hwnd_, &window);
    fitting_ = true;
    SetWindowPos(hwnd_, nullptr, 0, 0, window.right - window.left, window.bottom - window.top - cut,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    fitting_ = false;
}

void ListBox::SetTop(int top)
{
    if (view_.SetTop(top))
        Changed();
}

LRESULT ListBox::AddItem(int index, LPARAM value, bool sorted)
{
    if (index > view_.Count())
        return LB_ERR;
    ViewItem item;
    if (HasStrings()) {
        const char* text = reinterpret_cast<const char*>(value);
        item.Text = text ? text : "";
    } else {
        item.Data = value;
    }
    item.Height = view_.ItemHeight();
    int at = index;
    if (sorted)
        at = HasStrings() ? view_.SortedPosition(item.Text) : ComparedPosition(value);
    at = view_.Insert(at, std::move(item));
    for (int* i : {&current_, &caret_, &anchor_})
        if (*i >= at)
            ++*i;
    if (style_ & LBS_OWNERDRAWVARIABLE)
        MeasureItem(at);
    Changed();
    return at;
}

int ListBox::ComparedPosition(LPARAM data)
{
    // After the items that compare equal or less, found by halving: log2(count) questions to the owner.
    int low = 0, high = view_.Count();
    while (low < high) {
        int middle = low + (high - low) / 2;
        COMPAREITEMSTRUCT compare {};
        compare.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
        compare.itemID1 = static_cast<UINT>(-1);
        compare.itemData1 = static_cast<UINT_PTR>(data);
        compare.itemID2 = static_cast<UINT>(middle);
        compare.itemData2 = static_cast<UINT_PTR>(view_.At(middle).Data);
        if (SendCompareItem(Reporter(), compare) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

void ListBox::MeasureItem(int index)
{
    MEASUREITEMSTRUCT measure {};
    measure.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
    measure.itemID = static_cast<UINT>(index);
    measure.itemHeight = static_cast<UINT>(view_.ItemHeight());
    measure.itemData = static_cast<UINT_PTR>(view_.At(index).Data);
    RECT client;
    GetClientRect(hwnd_, &client);
    measure.itemWidth = static_cast<UINT>(std::max<LONG>(0, client.right - client.left));
    SendMeasureItem(Reporter(), measure);
    view_.At(index).Height = std::clamp(static_cast<int>(measure.itemHeight), 1, 0x7FFF);
}

void ListBox::SendDelete(int index)
{
    // Owners of owner-drawn lists, and of items carrying data, free what the data stands for.
    if (!OwnerDraw() && view_.At(index).Data == 0)
        return;
    DELETEITEMSTRUCT item {};
    item.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
    item.itemID = static_cast<UINT>(index);
    item.itemData = static_cast<UINT_PTR>(view_.At(index).Data);
    SendDeleteItem(Reporter(), item);
}

LRESULT ListBox::DeleteItem(int index)
{
    if (!view_.Valid(index))
        return LB_ERR;
    SendDelete(index);
    if (!view_.Valid(index))
        return LB_ERR; // the owner's handler changed the list
    view_.Erase(index);
    for (int* i : {&current_, &caret_, &anchor_}) {
        if (*i == index)
            *i = i == &current_ ? -1 : std::min(index, view_.Count() - 1);
        else if (*i > index)
            --*i;
    }
    Changed();
    return view_.Count();
}

void ListBox::Reset()
{
    for (int i = 0; i < view_.Count(); ++i)
        SendDelete(i);
    view_.Clear();
    current_ = caret_ = anchor_ = -1;
    Changed();
}

LRESULT ListBox::SetCurSel(int index)
{
    if (Multi())
        return LB_ERR;
    Redraw redraw(*this);
    current_ = view_.Valid(index) ? index : -1;
    if (current_ >= 0) {
        caret_ = anchor_ = current_;
        view_.EnsureVisible(current_);
    }
    return current_ >= 0 ? current_ : LB_ERR;
}

LRESULT ListBox::SetSel(bool select, int index)
{
    if (!Multi())
        return LB_ERR;
    Redraw redraw(*this);
    if (index == -1) {
        view_.SelectRange(0, view_.Count() - 1, select);
    } else {
        if (!view_.Valid(index))
            return LB_ERR;
        view_.At(index).Selected = select;
        caret_ = anchor_ = index;
    }
    return LB_OKAY;
}

int ListBox::Find(LPARAM value, int after, bool exact) const
{
    if (HasStrings())
        return view_.Find(value ? reinterpret_cast<const char*>(value) : "", after, exact);
    int n = view_.Count();
    int start = (after < -1 || after >= n) ? 0 : after + 1;
    for (int k = 0; k < n; ++k)
        if (view_.At((start + k) % n).Data == value)
            return (start + k) % n;
    return -1;
}

bool ListBox::SelectAt(int index, bool shift, bool control, bool fromMouse)
{
    if (!view_.Valid(index) || (style_ & LBS_NOSEL))
        return false;
    Redraw redraw(*this);
    bool changed = false;
    caret_ = index;
    if (!Multi()) {
        changed = current_ != index;
        current_ = anchor_ = index;
    } else if (!Extended()) {
        // Multiple selection: a click toggles; keys only move the caret (space toggles).
        if (fromMouse) {
            view_.At(index).Selected = !view_.At(index).Selected;
            changed = true;
        }
        anchor_ = index;
    } else if (shift) {
        // Extended: shift spans from the anchor; with control the span is added to what is selected.
        if (anchor_ < 0)
            anchor_ = index;
        if (!control)
            changed |= view_.ClearSelection();
        changed |= view_.SelectRange(anchor_, index, true);
    } else if (control) {
        if (fromMouse) {
            view_.At(index).Selected = !view_.At(index).Selected;
            changed = true;
            anchor_ = index;
        }
    } else {
        changed |= view_.ClearSelection(index);
        changed |= !view_.At(index).Selected;
        view_.At(index).Selected = true;
        anchor_ = index;
    }
    view_.EnsureVisible(index);
    return changed;
}

void ListBox::MoveCaretBy(UINT key)
{
    int n = view_.Count();
    if (n == 0)
        return;
    int from = caret_ < 0 ? 0 : caret_;
    int page = std::max(1, view_.FullyVisibleCount() - (view_.MultiColumn() ? 0 : 1));
    int rows = view_.MultiColumn() ? view_.RowsPerColumn() : 1;
    int to = from;
    switch (key) {
    case VK_UP: to = caret_ < 0 ? 0 : from - 1; break;
    case VK_DOWN: to = caret_ < 0 ? 0 : from + 1; break;
    case VK_LEFT: to = view_.MultiColumn() ? from - rows : from - 1; break;
    case VK_RIGHT: to = view_.MultiColumn() ? from + rows : from + 1; break;
    case VK_PRIOR: to = from - page; break;
    case VK_NEXT: to = from + page; break;
    case VK_HOME: to = 0; break;
    case VK_END: to = n - 1; break;
    default: return;
    }
    to = std::clamp(to, 0, n - 1);
    if (SelectAt(to, KeyHeld(VK_SHIFT), KeyHeld(VK_CONTROL), false))
        Notify(LBN_SELCHANGE);
}

void ListBox::TypeAhead(char32_t c)
{
    uint32_t now = GetTickCount();
    if (now - typedAt_ > kTypeAheadMs)
        typed_.clear();
    typedAt_ = now;
    bool first = typed_.empty();
    utf8::Append(typed_, c);
    // A first letter searches past the caret (cycling through items with that letter); a longer prefix
    // may stay on the caret's item.
    int after = first ? caret_ : caret_ - 1;
    int found = view_.Find(typed_, after, false);
    if (found >= 0 && SelectAt(found, false, false, false))
        Notify(LBN_SELCHANGE);
}

void ListBox::ComboButtonDown(UINT message, POINT point)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    const bool inside = PtInRect(&client, point);
    if (!Popup()) {
        // A simple combo box's list: the focus stays with the combo box (its edit), clicks select.
        if (GetFocus() != combo_ && !IsChild(combo_, GetFocus()))
            SetFocus(combo_);
        bool outside = false;
        int at = view_.ItemFromPoint(point, &outside);
        if (!inside || outside || !view_.Valid(at))
            return;
        if (message == WM_LBUTTONDBLCLK) {
            Notify(LBN_DBLCLK);
            return;
        }
        if (SelectAt(at, false, false, true))
            Notify(LBN_SELCHANGE);
        return;
    }
    if (inside) {
        ComboMouseMove(point);
        return;
    }
    POINT screen = point;
    ClientToScreen(hwnd_, &screen);
    RECT window;
    GetWindowRect(hwnd_, &window);
    if (PtInRect(&window, screen)) {
        // The list's own scroll bar: let go of the mouse while the bar tracks it, then take it back.
        releasingCapture_ = true;
        ReleaseCapture();
        releasingCapture_ = false;
        auto hit = static_cast<WPARAM>(SendMessage(hwnd_, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
        DefWindowProc(hwnd_, WM_NCLBUTTONDOWN, hit, MAKELPARAM(screen.x, screen.y));
        if (comboTracking_ && IsWindowVisible(hwnd_))
            SetCapture(hwnd_);
        return;
    }
    // Anywhere else closes the list without taking its item.
    SendMessage(combo_, CB_SHOWDROPDOWN, FALSE, 0);
}

void ListBox::ComboMouseMove(POINT point)
{
    if (!comboTracking_ || view_.Count() == 0)
        return;
    RECT client;
    GetClientRect(hwnd_, &client);
    if (point.x < client.left || point.x >= client.right)
        return;
    int at;
    if (point.y < client.top) {
        at = view_.Top() - 1; // above the list: it scrolls back by one
    } else if (point.y >= client.bottom) {
        at = view_.LastVisible() + 1;
    } else {
        bool outside = false;
        at = view_.ItemFromPoint(point, &outside);
    }
    at = std::clamp(at, 0, view_.Count() - 1);
    if (at != current_ || at != caret_)
        SelectAt(at, false, false, false); // only shown: the combo box takes it on the release
}

void ListBox::ComboButtonUp(POINT point)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    if (comboTracking_ && PtInRect(&client, point)) {
        ComboMouseMove(point);
        Notify(LBN_SELCHANGE); // the combo box takes the item and closes
    }
}

void ListBox::EndComboTracking()
{
    comboTracking_ = false;
    if (comboCapture_) {
        comboCapture_ = false;
        releasingCapture_ = true;
        if (GetCapture() == hwnd_)
            ReleaseCapture();
        releasingCapture_ = false;
    }
}

void ListBox::OnScroll(bool vertical, WORD request, int thumb)
{
    int step = view_.MultiColumn() ? view_.RowsPerColumn() : 1;
    int page = std::max(1, view_.FullyVisibleCount() - (view_.MultiColumn() ? 0 : 1));
    if (!vertical && !view_.MultiColumn()) {
        OnHorizontalScroll(request);
        return;
    }
    if (vertical && view_.MultiColumn())
        return; // multi-column lists scroll sideways only
    int top = view_.Top();
    switch (request) {
    case SB_LINEUP: top -= step; break;
    case SB_LINEDOWN: top += step; break;
    case SB_PAGEUP: top -= page; break;
    case SB_PAGEDOWN: top += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The message carries 16 bits; the bar knows the whole position of a long list.
        SCROLLINFO info {sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        if (GetScrollInfo(hwnd_, vertical ? SB_VERT : SB_HORZ, &info))
            thumb = info.nTrackPos;
        top = thumb * step;
        break;
    }
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = view_.MaxTop(); break;
    default: return;
    }
    SetTop(top);
}

void ListBox::OnHorizontalScroll(WORD request)
{
    // A single-column list scrolls its horizontal extent in pixels: a line is an average character.
    RECT client;
    GetClientRect(hwnd_, &client);
    int page = std::max<int>(1, client.right - client.left);
    int pos = horizontalPos_;
    switch (request) {
    case SB_LINELEFT: pos -= averageCharWidth_; break;
    case SB_LINERIGHT: pos += averageCharWidth_; break;
    case SB_PAGELEFT: pos -= page; break;
    case SB_PAGERIGHT: pos += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        SCROLLINFO info {sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
        if (GetScrollInfo(hwnd_, SB_HORZ, &info))
            pos = info.nTrackPos;
        break;
    }
    case SB_LEFT: pos = 0; break;
    case SB_RIGHT: pos = horizontalExtent_; break;
    default: return;
    }
    SetHorizontalPos(pos);
}

void ListBox::SetHorizontalPos(int pos) { SetHorizontalPosChanged(pos); }

bool ListBox::SetHorizontalPosChanged(int pos)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    pos = std::clamp(pos, 0, std::max<int>(0, horizontalExtent_ - (client.right - client.left)));
    if (pos == horizontalPos_)
        return false;
    horizontalPos_ = pos;
    Changed();
    return true;
}

RECT ListBox::ShiftedRect(int i) const
{
    RECT r {};
    view_.ItemRect(i, &r);
    if (!view_.MultiColumn()) {
        r.right = std::max<LONG>(r.right, horizontalExtent_) - horizontalPos_;
        r.left -= horizontalPos_;
    }
    return r;
}

UINT ListBox::ItemState(int i) const
{
    UINT state = 0;
    if (Selected(i))
        state |= ODS_SELECTED;
    if (focused_ && i == caret_)
        state |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd_))
        state |= ODS_DISABLED;
    return state;
}

HBRUSH ListBox::PrepareColors(HDC dc)
{
    bool enabled = IsWindowEnabled(hwnd_);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    HWND owner = Owner();
    auto brush = owner ? reinterpret_cast<HBRUSH>(SendMessage(owner, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(hwnd_)))
                       : nullptr;
    return brush ? brush : GetSysColorBrush(COLOR_WINDOW);
}

void ListBox::DrawItem(HDC dc, int index, UINT action)
{
    DRAWITEMSTRUCT item {};
    item.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
    item.itemAction = action;
    item.hDC = dc;
    if (index < 0) {
        // An empty list shows the focus where its first item would be.
        RECT client;
        GetClientRect(hwnd_, &client);
        item.itemID = static_cast<UINT>(-1);
        item.itemState = focused_ ? ODS_FOCUS : 0;
        item.rcItem = {0, 0, client.right, view_.ItemHeight()};
    } else {
        item.itemID = static_cast<UINT>(index);
        item.itemState = ItemState(index);
        item.rcItem = ShiftedRect(index);
        item.itemData = static_cast<UINT_PTR>(view_.At(index).Data);
    }
    SendDrawItem(Reporter(), item);
}

void ListBox::Paint(HDC dc)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    SelectObject(dc, font_);
    HBRUSH background = PrepareColors(dc);
    FillRect(dc, &client, background);
    if (OwnerDraw()) {
        for (int i = view_.Top(), last = view_.LastVisible(); i >= 0 && i <= last; ++i)
            DrawItem(dc, i, ODA_DRAWENTIRE);
        if (view_.Count() == 0 && focused_)
            DrawItem(dc, -1, ODA_FOCUS);
        return;
    }
    COLORREF normalText = GetTextColor(dc);
    SetBkMode(dc, TRANSPARENT);
    for (int i = view_.Top(), last = view_.LastVisible(); i >= 0 && i <= last; ++i) {
        RECT r = ShiftedRect(i);
        bool selected = Selected(i);
        if (selected)
            FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : normalText);
        const std::string& text = view_.At(i).Text;
        TextOut(dc, r.left + 2, r.top, text.data(), static_cast<int>(text.size()));
        if (focused_ && i == caret_)
            DrawFocusRect(dc, &r);
    }
}

ListBox::Redraw::Redraw(ListBox& box)
    : box_(box)
    , top_(box.view_.Top())
    , focused_(box.focused_)
{
    if (!box.OwnerDraw())
        return;
    for (int i = top_, last = box.view_.LastVisible(); i >= 0 && i <= last; ++i)
        states_.push_back(box.ItemState(i));
}

ListBox::Redraw::~Redraw()
{
    ListBox& b = box_;
    if (!b.redraw_)
        return;
    if (!b.OwnerDraw() || b.view_.Top() != top_ || !IsWindowVisible(b.hwnd_)) {
        b.Changed();
        return;
    }
    HDC dc = GetDC(b.hwnd_);
    if (!dc)
        return;
    RECT client;
    GetClientRect(b.hwnd_, &client);
    IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    SelectObject(dc, b.font_);
    b.PrepareColors(dc);
    int last = b.view_.LastVisible();
    auto before = [&](int i) { return i - top_ < static_cast<int>(states_.size()) ? states_[i - top_] : ~0u; };
    // Selection first, then the focus: off the old item before onto the new one.
    for (int i = top_; i >= 0 && i <= last; ++i)
        if ((before(i) ^ b.ItemState(i)) & ODS_SELECTED)
            b.DrawItem(dc, i, ODA_SELECT);
    for (bool gaining : {false, true})
        for (int i = top_; i >= 0 && i <= last; ++i)
            if (((before(i) ^ b.ItemState(i)) & ODS_FOCUS) && ((b.ItemState(i) & ODS_FOCUS) != 0) == gaining)
                b.DrawItem(dc, i, ODA_FOCUS);
    if (b.view_.Count() == 0 && focused_ != b.focused_)
        b.DrawItem(dc, -1, ODA_FOCUS);
    ReleaseDC(b.hwnd_, dc);
}

LRESULT ListBox::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<int32_t>(wParam));
    switch (message) {
    case WM_CREATE:
    case WM_SIZE: {
        RECT client;
        GetClientRect(hwnd_, &client);
        view_.SetClient(client.right - client.left, client.bottom - client.top);
        view_.SetTop(view_.Top());
        if (message == WM_CREATE && (style_ & LBS_OWNERDRAWFIXED)) {
            // One question for all items of a fixed owner-drawn list.
            MEASUREITEMSTRUCT measure {};
            measure.CtlType = combo_ ? ODT_COMBOBOX : ODT_LISTBOX;
            measure.itemHeight = static_cast<UINT>(view_.ItemHeight());
            measure.itemWidth = static_cast<UINT>(std::max<LONG>(0, client.right - client.left));
            SendMeasureItem(Reporter(), measure);
            view_.SetItemHeight(std::clamp(static_cast<int>(measure.itemHeight), 1, 0x7FFF));
        }
        SetHorizontalPos(horizontalPos_);
        Changed();
        FitIntegralHeight();
        return 0;
    }
    case WM_DESTROY:
        for (int i = 0; i < view_.Count(); ++i)
            SendDelete(i);
        return 0;
    case WM_SETFONT: {
        font_ = wParam ? reinterpret_cast<HFONT>(wParam) : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        // Measured on a memory DC: the window may not be shown yet.
        HDC dc = CreateCompatibleDC(nullptr);
        SelectObject(dc, font_);
        TEXTMETRIC tm {};
        GetTextMetrics(dc, &tm);
        DeleteDC(dc);
        averageCharWidth_ = std::max<int>(1, tm.tmAveCharWidth);
        if (!(style_ & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE))) {
            view_.SetItemHeight(tm.tmHeight);
            FitIntegralHeight();
        }
        if (LOWORD(lParam))
            Changed();
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETREDRAW:
        redraw_ = wParam != 0;
        Changed();
        return 0;
    case WM_STYLECHANGED:
        style_ = static_cast<DWORD>(GetWindowLongPtr(hwnd_, GWL_STYLE));
        return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (wParam) {
            Paint(reinterpret_cast<HDC>(wParam));
        } else {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd_, &paint);
            Paint(dc);
            EndPaint(hwnd_, &paint);
        }
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS: {
        if (combo_) {
            // The focus belongs to the combo box.
            SetFocus(combo_);
            return 0;
        }
        {
            Redraw redraw(*this);
            focused_ = true;
            if (caret_ < 0 && view_.Count() > 0)
                caret_ = current_ >= 0 ? current_ : 0;
        }
        Notify(LBN_SETFOCUS);
        return 0;
    }
    case WM_KILLFOCUS: {
        {
            Redraw redraw(*this);
            focused_ = false;
        }
        Notify(LBN_KILLFOCUS);
        return 0;
    }
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_MOUSEACTIVATE:
        if (combo_)
            return MA_NOACTIVATE;
        return DefWindowProc(hwnd_, message, wParam, lParam);
    case LBCB_STARTTRACK:
        if (!combo_)
            return 0;
        comboTracking_ = true;
        if (wParam && GetCapture() != hwnd_) {
            SetCapture(hwnd_);
            comboCapture_ = GetCapture() == hwnd_;
        }
        return 0;
    case LBCB_ENDTRACK:
        EndComboTracking();
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (combo_) {
            ComboButtonDown(message, MAKEPOINT(lParam));
            return 0;
        }
        if (GetFocus() != hwnd_)
            SetFocus(hwnd_);
        bool outside = false;
        int at = view_.ItemFromPoint(MAKEPOINT(lParam), &outside);
        if (message == WM_LBUTTONDBLCLK && !outside && view_.Valid(at)) {
            Notify(LBN_DBLCLK);
            return 0;
        }
        if (outside || !view_.Valid(at))
            return 0;
        tracking_ = true;
        SetCapture(hwnd_);
        if (SelectAt(at, (wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0, true))
            Notify(LBN_SELCHANGE);
        return 0;
    }
    case WM_MOUSEMOVE: {
        if (combo_) {
            ComboMouseMove(MAKEPOINT(lParam));
            return 0;
        }
        // Dragging moves a single selection and stretches an extended one; toggling lists stay put.
        if (!tracking_ || (Multi() && !Extended()))
            return 0;
        bool outside = false;
        int at = view_.ItemFromPoint(MAKEPOINT(lParam), &outside);
        if (at != caret_ && SelectAt(at, Extended(), (wParam & MK_CONTROL) != 0, false))
            Notify(LBN_SELCHANGE);
        return 0;
    }
    case WM_LBUTTONUP:
        if (combo_) {
            ComboButtonUp(MAKEPOINT(lParam));
            return 0;
        }
        if (tracking_) {
            tracking_ = false;
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        tracking_ = false;
        if (comboCapture_ && !releasingCapture_ && reinterpret_cast<HWND>(lParam) != hwnd_) {
            // Another window took the mouse: the list closes.
            comboCapture_ = false;
            SendMessage(combo_, CB_SHOWDROPDOWN, FALSE, 0);
        }
        return 0;
    case WM_MOUSEWHEEL:
        SetTop(view_.Top() - GET_WHEEL_DELTA_WPARAM(wParam) / 120 * 3 * (view_.MultiColumn() ? view_.RowsPerColumn() : 1));
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        OnScroll(message == WM_VSCROLL, LOWORD(wParam), static_cast<int16_t>(HIWORD(wParam)));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && Multi() && (!Extended() || KeyHeld(VK_CONTROL)) && view_.Valid(caret_)) {
            {
                Redraw redraw(*this);
                view_.At(caret_).Selected = !view_.At(caret_).Selected;
                anchor_ = caret_;
            }
            Notify(LBN_SELCHANGE);
        } else {
            MoveCaretBy(static_cast<UINT>(wParam));
        }
        return 0;
    case WM_CHAR:
        if (wParam > ' ' && wParam != 0x7F)
            TypeAhead(static_cast<char32_t>(wParam));
        return 0;

    case LB_ADDSTRING:
        return AddItem(-1, lParam, style_ & LBS_SORT);
    case LB_INSERTSTRING:
        return AddItem(index < 0 ? view_.Count() : index, lParam, false);
    case LB_DELETESTRING:
        return DeleteItem(index);
    case LB_RESETCONTENT:
        Reset();
        return 0;
    case LB_INITSTORAGE:
        view_.Reserve(view_.Count() + std::max(0, index));
        return view_.Count() + std::max(0, index);
    case LB_GETCOUNT:
        return view_.Count();
    case LB_GETTEXT:
        if (!view_.Valid(index))
            return LB_ERR;
        if (!HasStrings()) {
            // The item is its data.
            if (lParam)
                std::memcpy(reinterpret_cast<void*>(lParam), &view_.At(index).Data, sizeof(LPARAM));
            return sizeof(LPARAM);
        }
        if (lParam)
            std::memcpy(reinterpret_cast<char*>(lParam), view_.At(index).Text.c_str(), view_.At(index).Text.size() + 1);
        return static_cast<LRESULT>(view_.At(index).Text.size());
    case LB_GETTEXTLEN:
        if (!view_.Valid(index))
            return LB_ERR;
        return HasStrings() ? static_cast<LRESULT>(view_.At(index).Text.size()) : sizeof(LPARAM);
    case LB_GETITEMDATA:
        return view_.Valid(index) ? view_.At(index).Data : LB_ERR;
    case LB_SETITEMDATA:
        if (!view_.Valid(index))
            return LB_ERR;
        view_.At(index).Data = lParam;
        return LB_OKAY;
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT: {
        int found = Find(lParam, index, message == LB_FINDSTRINGEXACT);
        return found >= 0 ? found : LB_ERR;
    }
    case LB_SELECTSTRING: {
        int found = Find(lParam, index, false);
        if (found < 0)
            return LB_ERR;
        if (Multi())
            SelectAt(found, false, false, false);
        else
            SetCurSel(found);
        return found;
    }
    case LB_SETCURSEL:
        return SetCurSel(index);
    case LB_GETCURSEL:
        return Multi() ? caret_ : current_;
    case LB_SETSEL:
        return SetSel(wParam != 0, static_cast<int>(static_cast<int32_t>(lParam)));
    case LB_GETSEL:
        return view_.Valid(index) ? (Selected(index) ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT:
        return Multi() ? view_.SelectedCount() : LB_ERR;
    case LB_GETSELITEMS: {
        if (!Multi())
            return LB_ERR;
        auto* out = reinterpret_cast<int*>(lParam);
        int n = 0;
        for (int i = 0; i < view_.Count() && n < index; ++i)
            if (view_.At(i).Selected)
                out[n++] = i;
        return n;
    }
    case LB_SELITEMRANGE:
    case LB_SELITEMRANGEEX: {
        if (!Multi())
            return LB_ERR;
        Redraw redraw(*this);
        int first = message == LB_SELITEMRANGE ? LOWORD(lParam) : index;
        int last = message == LB_SELITEMRANGE ? HIWORD(lParam) : static_cast<int>(static_cast<int32_t>(lParam));
        bool select = message == LB_SELITEMRANGE ? wParam != 0 : first <= last;
        view_.SelectRange(first, last, select);
        return LB_OKAY;
    }
    case LB_GETTOPINDEX:
        return view_.Top();
    case LB_SETTOPINDEX:
        if (!view_.Valid(index) && !(index == 0 && view_.Count() == 0))
            return LB_ERR;
        SetTop(index);
        return LB_OKAY;
    case LB_GETANCHORINDEX:
        return anchor_;
    case LB_SETANCHORINDEX:
        if (!view_.Valid(index))
            return LB_ERR;
        anchor_ = index;
        return LB_OKAY;
    case LB_GETCARETINDEX:
        return caret_ >= 0 ? caret_ : current_;
    case LB_SETCARETINDEX: {
        if (!view_.Valid(index))
            return LB_ERR;
        Redraw redraw(*this);
        caret_ = index;
        if (!Multi())
            current_ = index;
        view_.EnsureVisible(index);
        return LB_OKAY;
    }
    case LB_GETITEMRECT: {
        if (!view_.Valid(index) && !(index == 0 && view_.Count() == 0))
            return LB_ERR;
        RECT r {0, 0, 0, view_.ItemHeight()};
        if (view_.Valid(index))
            r = ShiftedRect(index);
        *reinterpret_cast<RECT*>(lParam) = r;
        return 1;
    }
    case LB_ITEMFROMPOINT: {
        bool outside = false;
        int at = view_.ItemFromPoint(MAKEPOINT(lParam), &outside);
        return MAKELRESULT(static_cast<WORD>(at), outside ? 1 : 0);
    }
    case LB_GETITEMHEIGHT:
        if (view_.VariableHeights())
            return view_.Valid(index) ? view_.At(index).Height : LB_ERR;
        return view_.ItemHeight();
    case LB_SETITEMHEIGHT: {
        int height = LOWORD(lParam);
        if (height <= 0 || height > 255)
            return LB_ERR;
        if (view_.VariableHeights()) {
            if (!view_.Valid(index))
                return LB_ERR;
            view_.At(index).Height = height;
        } else {
            view_.SetItemHeight(height);
            FitIntegralHeight();
        }
        Changed();
        return LB_OKAY;
    }
    case LB_SETCOLUMNWIDTH:
        if (view_.MultiColumn() && index > 0) {
            view_.SetColumnWidth(index);
            Changed();
        }
        return 0;
    case LB_SETHORIZONTALEXTENT:
        horizontalExtent_ = std::max(0, index);
        if (!SetHorizontalPosChanged(horizontalPos_))
            Changed();
        return 0;
    case LB_GETHORIZONTALEXTENT:
        return horizontalExtent_;
    default:
        return DefWindowProc(hwnd_, message, wParam, lParam);
    }
}

} // namespace

ATOM RegisterListBoxClass()
{
    return RegisterControlClass<ListBox>(WC_LISTBOX, IDC_ARROW);
}

ATOM RegisterComboListBoxClass()
{
    return RegisterControlClass<ListBox>(WC_COMBOLBOX, IDC_ARROW);
}

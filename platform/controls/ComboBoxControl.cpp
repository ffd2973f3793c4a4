#include "platform/controls/ComboBoxControl.h"

#include "platform/controls/ControlClass.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/Rects.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/WindowProps.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

// The edit of a combo box finds its combo box by this window property.
constexpr const char* kComboProp = "ComboBoxOfEdit";
constexpr int kDefaultMinVisible = 30;

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// One combo box's state, kept in the window's extra bytes from WM_NCCREATE to WM_NCDESTROY.
class ComboBox {
public:
    ComboBox(HWND hwnd, const CREATESTRUCT& create);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    // The subclassed edit's messages, before the edit's own procedure.
    LRESULT EditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam);

private:
    DWORD Kind() const { return style_ & 0x3; }
    bool Simple() const { return Kind() == CBS_SIMPLE; }
    bool DropList() const { return Kind() == CBS_DROPDOWNLIST; }
    bool OwnerDraw() const { return style_ & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE); }
    bool HasStrings() const { return !OwnerDraw() || (style_ & CBS_HASSTRINGS); }

    void Create();
    void Destroy();
    void Notify(WORD code);
    LRESULT ToList(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return list_ ? SendMessage(list_, message, wParam, lParam) : CB_ERR;
    }
    int CurSel() const { return static_cast<int>(ToList(LB_GETCURSEL)); }
    std::string ItemText(int index) const;

    // Places the field, the button, the edit and (simple) the list in the client area.
    void Layout();
    void MeasureField();
    RECT FieldRect() const;
    RECT ButtonRect() const;
    bool InButton(POINT point) const;
    void Paint(HDC dc);
    void PaintField(HDC dc);

    // The edit shows the current item (all of it selected); a drop-down list repaints its face.
    void ShowSelection();
    void SetEditText(const std::string& text);
    // Opens the list; unless the combo box holds the mouse itself (a press on it), the list takes the mouse.
    void DropDown(bool listTakesMouse = true);
    // Closes the list; `accept` says whether the item shown is taken (CBN_SELENDOK) or not (CBN_SELENDCANCEL,
    // and the item current when the list opened comes back).
    void RollUp(bool accept);
    void ReportSelection();
    // A selection change the list reported: by the keys (the list stays open) or by a click (it closes).
    void ListSelChange();
    // A key that moves the selection, or opens or closes the list; false when the key is not the combo's.
    bool Key(UINT key);
    void EditChanged();
    void FocusGained();
    void FocusLost(HWND to);
    bool OwnsWindow(HWND w) const { return w && (w == hwnd_ || w == edit_ || w == list_); }
    LRESULT DialogCode(LPARAM lParam) const;

    HWND hwnd_;
    DWORD style_;
    HWND edit_ = nullptr;
    HWND list_ = nullptr;
    WNDPROC editProc_ = nullptr;
    HFONT font_;
    int fieldHeight_ = 16;
    int droppedWidth_ = 0;
    int minVisible_ = kDefaultMinVisible;
    bool extendedUI_ = false;
    bool dropped_ = false;
    bool focused_ = false;
    bool buttonPressed_ = false;
    bool tracking_ = false;    // the mouse went down on the face and is still held
    bool noRollUp_ = false;    // a selection change from the keys: the list stays open
    bool updatingEdit_ = false; // the combo box itself sets the edit's text: no edit notifications
    int droppedIndex_ = -1;    // the item current when the list opened
    int reportedIndex_ = -1;   // the item the last CBN_SELCHANGE (or the program) made current
};

LRESULT ComboEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* combo = static_cast<ComboBox*>(GetProp(edit, kComboProp));
    if (!combo) {
        WNDCLASS wc {};
        GetClassInfo(nullptr, WC_EDIT, &wc);
        return CallWindowProc(wc.lpfnWndProc, edit, message, wParam, lParam);
    }
    return combo->EditMessage(edit, message, wParam, lParam);
}

ComboBox::ComboBox(HWND hwnd, const CREATESTRUCT& create)
    : hwnd_(hwnd)
    , style_(static_cast<DWORD>(create.style))
    , font_(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)))
{
    if (Kind() == 0)
        style_ |= CBS_SIMPLE;
    // The scroll bars asked for are the list's; the combo box itself has none.
    if (style_ & (WS_VSCROLL | WS_HSCROLL))
        SetWindowLongPtr(hwnd, GWL_STYLE, static_cast<LONG_PTR>(style_ & ~(WS_VSCROLL | WS_HSCROLL)));
    // A list without strings has nothing an edit could show.
    if (OwnerDraw() && !HasStrings() && !DropList())
        style_ = (style_ & ~0x3u) | CBS_DROPDOWNLIST;
}

void ComboBox::Create()
{
    MeasureField();
    HINSTANCE instance = nullptr;
    if (!DropList()) {
        DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_LEFT;
        if (style_ & CBS_AUTOHSCROLL)
            editStyle |= ES_AUTOHSCROLL;
        if (style_ & CBS_UPPERCASE)
            editStyle |= ES_UPPERCASE;
        if (style_ & CBS_LOWERCASE)
            editStyle |= ES_LOWERCASE;
        edit_ = CreateWindowEx(0, WC_EDIT, "", editStyle, 0, 0, 0, 0, hwnd_,
            reinterpret_cast<HMENU>(static_cast<uintptr_t>(kComboEditId)), instance, nullptr);
        if (edit_) {
            SetProp(edit_, kComboProp, this);
            editProc_ = reinterpret_cast<WNDPROC>(
                SetWindowLongPtr(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboEditProc)));
        }
    }
    DWORD listStyle = (style_ & WS_HSCROLL) | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    if (style_ & CBS_OWNERDRAWFIXED)
        listStyle |= LBS_OWNERDRAWFIXED;
    if (style_ & CBS_OWNERDRAWVARIABLE)
        listStyle |= LBS_OWNERDRAWVARIABLE;
    if (style_ & CBS_HASSTRINGS)
        listStyle |= LBS_HASSTRINGS;
    if (style_ & CBS_SORT)
        listStyle |= LBS_SORT;
    if (style_ & CBS_DISABLENOSCROLL)
        listStyle |= LBS_DISABLENOSCROLL;
    if (Simple()) {
        list_ = CreateWindowEx(WS_EX_CLIENTEDGE, WC_COMBOLBOX, "", listStyle | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
            hwnd_, reinterpret_cast<HMENU>(static_cast<uintptr_t>(kComboListId)), instance, hwnd_);
    } else {
        // A top-level window of its own, so it can reach past the combo box's parent; hidden until dropped.
        list_ = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WC_COMBOLBOX, "", listStyle | WS_POPUP | WS_BORDER,
            0, 0, 0, 0, hwnd_, nullptr, instance, hwnd_);
    }
    if (list_)
        SendMessage(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), 0);
    if (edit_)
        SendMessage(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), 0);
    if (OwnerDraw()) {
        // The field's height is asked for apart from the items'.
        MEASUREITEMSTRUCT measure {};
        measure.CtlType = ODT_COMBOBOX;
        measure.itemID = static_cast<UINT>(-1);
        measure.itemHeight = static_cast<UINT>(fieldHeight_);
        SendMeasureItem(hwnd_, measure);
        fieldHeight_ = std::clamp(static_cast<int>(measure.itemHeight), 1, 0x7FFF);
    }
    Layout();
}

void ComboBox::Destroy()
{
    if (edit_) {
        SetWindowLongPtr(edit_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editProc_));
        RemoveProp(edit_, kComboProp);
    }
    // The popup list is not a child: it goes with its combo box.
    if (list_ && !Simple())
        DestroyWindow(list_);
    list_ = edit_ = nullptr;
}

void ComboBox::Notify(WORD code)
{
    HWND parent = GetParent(hwnd_);
    if (!parent)
        return;
    auto id = static_cast<WORD>(GetWindowLongPtr(hwnd_, GWLP_ID));
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd_));
}

std::string ComboBox::ItemText(int index) const
{
    LRESULT length = ToList(LB_GETTEXTLEN, index);
    if (length < 0 || !HasStrings())
        return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(std::max<LRESULT>(0, ToList(LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data())))));
    return text;
}

void ComboBox::MeasureField()
{
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font_);
    TEXTMETRIC tm {};
    GetTextMetrics(dc, &tm);
    DeleteDC(dc);
    fieldHeight_ = std::max<int>(1, tm.tmHeight + 2);
}

RECT ComboBox::FieldRect() const
{
    RECT client;
    GetClientRect(hwnd_, &client);
    RECT field = client;
    if (Simple())
        field.bottom = std::min<LONG>(client.bottom, fieldHeight_ + 6);
    else
        field.right = std::max<LONG>(field.left, ButtonRect().left);
    return field;
}

RECT ComboBox::ButtonRect() const
{
    RECT client;
    GetClientRect(hwnd_, &client);
    if (Simple())
        return RECT {client.right, 0, client.right, 0};
    int width = GetSystemMetrics(SM_CXVSCROLL);
    return RECT {std::max<LONG>(client.left, client.right - width), client.top, client.right, client.bottom};
}

bool ComboBox::InButton(POINT point) const
{
    RECT button = ButtonRect();
    return PtInRect(&button, point);
}

void ComboBox::Layout()
{
    RECT field = FieldRect();
    if (edit_) {
        // The edit sits inside the field, its text centred on the field's height.
        int height = std::min<int>(fieldHeight_, field.bottom - field.top);
        int top = field.top + std::max<int>(0, (field.bottom - field.top - height) / 2);
        MoveWindow(edit_, field.left + 2, top, std::max<LONG>(0, field.right - field.left - 4), height, TRUE);
    }
    if (Simple() && list_) {
        RECT client;
        GetClientRect(hwnd_, &client);
        MoveWindow(list_, 0, field.bottom, client.right, std::max<LONG>(0, client.bottom - field.bottom), TRUE);
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ComboBox::PaintField(HDC dc)
{
    RECT field = FieldRect();
    const bool enabled = IsWindowEnabled(hwnd_);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    HWND parent = GetParent(hwnd_);
    // The face asks for the colours of a list (a disabled one for those of static text).
    auto brush = parent ? reinterpret_cast<HBRUSH>(SendMessage(parent, enabled ? WM_CTLCOLORLISTBOX : WM_CTLCOLORSTATIC,
                              reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd_)))
                        : nullptr;
    FillRect(dc, &field, brush ? brush : GetSysColorBrush(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    if (!DropList())
        return;
    const int index = CurSel();
    const bool highlighted = focused_ && !dropped_;
    RECT item = field;
    InflateRect(&item, -2, -2);
    if (OwnerDraw()) {
        DRAWITEMSTRUCT draw {};
        draw.CtlType = ODT_COMBOBOX;
        draw.itemID = static_cast<UINT>(index);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.itemState = ODS_COMBOBOXEDIT | (highlighted ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
        draw.hDC = dc;
        draw.rcItem = item;
        draw.itemData = index >= 0 ? static_cast<UINT_PTR>(ToList(LB_GETITEMDATA, index)) : 0;
        SelectObject(dc, font_);
        SendDrawItem(hwnd_, draw);
        return;
    }
    if (highlighted) {
        FillRect(dc, &item, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    if (index >= 0) {
        const std::string text = ItemText(index);
        SelectObject(dc, font_);
        SetBkMode(dc, TRANSPARENT);
        TEXTMETRIC tm {};
        GetTextMetrics(dc, &tm);
        int y = item.top + std::max<int>(0, (item.bottom - item.top - tm.tmHeight) / 2);
        ExtTextOut(dc, item.left + 1, y, ETO_CLIPPED, &item, text.data(), static_cast<UINT>(text.size()), nullptr);
    }
    if (highlighted)
        DrawFocusRect(dc, &item);
}

void ComboBox::Paint(HDC dc)
{
    PaintField(dc);
    if (!Simple()) {
        RECT button = ButtonRect();
        UINT state = DFCS_SCROLLCOMBOBOX;
        if (buttonPressed_)
            state |= DFCS_PUSHED;
        if (!IsWindowEnabled(hwnd_))
            state |= DFCS_INACTIVE;
        DrawFrameControl(dc, &button, DFC_SCROLL, state);
    }
}

void ComboBox::SetEditText(const std::string& text)
{
    if (!edit_)
        return;
    updatingEdit_ = true;
    SetWindowText(edit_, text.c_str());
    updatingEdit_ = false;
    if (GetFocus() == edit_ || dropped_)
        SendMessage(edit_, EM_SETSEL, 0, -1);
}

void ComboBox::ShowSelection()
{
    if (edit_) {
        const int index = CurSel();
        SetEditText(index >= 0 ? ItemText(index) : std::string());
    } else {
        RECT field = FieldRect();
        InvalidateRect(hwnd_, &field, TRUE);
    }
}

void ComboBox::DropDown(bool listTakesMouse)
{
    if (Simple() || dropped_ || !list_)
        return;
    // The parent may still fill the list here.
    Notify(CBN_DROPDOWN);
    if (!IsWindow(hwnd_) || !list_)
        return;
    // Taking the list's item (when the edit's text only named it) is a change; cancelling goes back to this.
    const int before = CurSel();
    if (edit_) {
        // The list opens on the item the edit's text names.
        std::string text(static_cast<size_t>(GetWindowTextLength(edit_)) + 1, '\0');
        text.resize(static_cast<size_t>(GetWindowText(edit_, text.data(), static_cast<int>(text.size()))));
        auto found = text.empty() ? LB_ERR : ToList(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
        if (found == LB_ERR && !text.empty())
            found = ToList(LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
        ToList(LB_SETCURSEL, static_cast<WPARAM>(found));
    }
    droppedIndex_ = before;
    reportedIndex_ = before;

    // Rows: at most the visible minimum, at least one; the list is as wide as the combo box or wider.
    RECT window;
    GetWindowRect(hwnd_, &window);
    const int count = static_cast<int>(ToList(LB_GETCOUNT));
    const int rows = std::clamp(count, 1, std::max(1, minVisible_));
    int height = 0;
    for (int i = 0; i < rows; ++i) {
        LRESULT h = ToList(LB_GETITEMHEIGHT, static_cast<WPARAM>(std::min(i, std::max(0, count - 1))));
        height += h > 0 ? static_cast<int>(h) : fieldHeight_;
    }
    height += 2; // the border
    const int width = std::max<int>(droppedWidth_, window.right - window.left);
    int x = window.left, y = window.bottom;
    // Below the combo box, or above it when the work area ends first.
    RECT work {};
    MONITORINFO info {};
    info.cbSize = sizeof info;
    if (GetMonitorInfo(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &info))
        work = info.rcWork;
    else
        SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    if (y + height > work.bottom && window.top - height >= work.top)
        y = window.top - height;

    dropped_ = true;
    SetWindowPos(list_, HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (droppedIndex_ >= 0)
        ToList(LB_SETTOPINDEX, static_cast<WPARAM>(droppedIndex_));
    ToList(LBCB_STARTTRACK, listTakesMouse ? TRUE : FALSE);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void ComboBox::RollUp(bool accept)
{
    Notify(accept ? CBN_SELENDOK : CBN_SELENDCANCEL);
    if (!IsWindow(hwnd_) || !dropped_ || Simple())
        return;
    dropped_ = false;
    tracking_ = false;
    buttonPressed_ = false;
    ToList(LBCB_ENDTRACK);
    SetWindowPos(list_, nullptr, 0, 0, 0, 0,
        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    if (!accept && CurSel() != droppedIndex_) {
        // What the pointer only showed goes back to what was chosen.
        ToList(LB_SETCURSEL, static_cast<WPARAM>(droppedIndex_));
        if (droppedIndex_ >= 0)
            ToList(LB_SETTOPINDEX, static_cast<WPARAM>(droppedIndex_));
    }
    InvalidateRect(hwnd_, nullptr, TRUE);
    Notify(CBN_CLOSEUP);
    if (!IsWindow(hwnd_))
        return;
    ReportSelection();
}

void ComboBox::ReportSelection()
{
    const int index = CurSel();
    if (index == reportedIndex_)
        return;
    reportedIndex_ = index;
    // The parent hears of the change before the edit shows it (its handler reads the list).
    Notify(CBN_SELCHANGE);
    if (IsWindow(hwnd_))
        ShowSelection();
}

void ComboBox::ListSelChange()
{
    if (noRollUp_ || !dropped_) {
        // The keys moved the selection: it is taken at once; an open list stays open.
        if (!dropped_ && !Simple())
            Notify(CBN_SELENDOK);
        ReportSelection();
        return;
    }
    if (Simple()) {
        ReportSelection();
        return;
    }
    RollUp(true);
}

bool ComboBox::Key(UINT key)
{
    const bool alt = KeyHeld(VK_MENU);
    const bool toggle = (key == VK_F4 && !alt && !extendedUI_) || (alt && (key == VK_DOWN || key == VK_UP))
        || (extendedUI_ && key == VK_DOWN && !dropped_ && !alt);
    if (toggle && !Simple()) {
        if (dropped_)
            RollUp(true);
        else
            DropDown();
        return true;
    }
    if (dropped_ && (key == VK_RETURN || key == VK_ESCAPE)) {
        RollUp(key == VK_RETURN);
        return true;
    }
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
        break;
    case VK_HOME:
    case VK_END:
    case VK_LEFT:
    case VK_RIGHT:
        // In an edit these move the caret; the face of a drop-down list moves through the items with them.
        if (edit_)
            return false;
        break;
    default:
        return false;
    }
    if (alt)
        return false;
    // A list that had no current item starts from the first.
    UINT listKey = key == VK_LEFT ? VK_UP : key == VK_RIGHT ? VK_DOWN : key;
    noRollUp_ = true;
    if (CurSel() < 0 && ToList(LB_GETCOUNT) > 0 && (listKey == VK_DOWN || listKey == VK_UP)) {
        ToList(LB_SETCURSEL, 0);
        ListSelChange();
    } else {
        ToList(WM_KEYDOWN, listKey, 0);
    }
    noRollUp_ = false;
    return true;
}

void ComboBox::EditChanged()
{
    // Typing makes the list follow the text while it is open, and leaves no current item while it is closed.
    std::string text(static_cast<size_t>(GetWindowTextLength(edit_)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowText(edit_, text.data(), static_cast<int>(text.size()))));
    LRESULT found = text.empty() ? LB_ERR : ToList(LB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
    if (dropped_ && found >= 0) {
        ToList(LB_SETCURSEL, static_cast<WPARAM>(found));
        ToList(LB_SETTOPINDEX, static_cast<WPARAM>(found));
    } else {
        ToList(LB_SETCURSEL, static_cast<WPARAM>(-1));
        if (found >= 0)
            ToList(LB_SETTOPINDEX, static_cast<WPARAM>(found));
    }
    reportedIndex_ = CurSel();
}

void ComboBox::FocusGained()
{
    if (focused_)
        return;
    focused_ = true;
    if (edit_)
        SendMessage(edit_, EM_SETSEL, 0, -1);
    InvalidateRect(hwnd_, nullptr, TRUE);
    Notify(CBN_SETFOCUS);
}

void ComboBox::FocusLost(HWND to)
{
    if (OwnsWindow(to) || !focused_)
        return;
    focused_ = false;
    if (dropped_)
        RollUp(false);
    if (!IsWindow(hwnd_))
        return;
    if (edit_)
        SendMessage(edit_, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    Notify(CBN_KILLFOCUS);
}

LRESULT ComboBox::DialogCode(LPARAM lParam) const
{
    LRESULT code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    // An open list takes Enter and Esc, before the dialog's default and cancel buttons do.
    if (const auto* msg = reinterpret_cast<const MSG*>(lParam);
        msg && dropped_ && msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
        code |= DLGC_WANTALLKEYS;
    return code;
}

LRESULT ComboBox::EditMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC proc = editProc_;
    switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (Key(static_cast<UINT>(wParam)))
            return 0;
        break;
    case WM_GETDLGCODE:
        return CallWindowProc(proc, edit, message, wParam, lParam) | DialogCode(lParam);
    case WM_SETFOCUS: {
        LRESULT result = CallWindowProc(proc, edit, message, wParam, lParam);
        FocusGained();
        return result;
    }
    case WM_KILLFOCUS: {
        LRESULT result = CallWindowProc(proc, edit, message, wParam, lParam);
        FocusLost(reinterpret_cast<HWND>(wParam));
        return result;
    }
    case WM_LBUTTONDOWN:
        if (dropped_)
            RollUp(false);
        break;
    case WM_MOUSEWHEEL:
        if (dropped_) {
            ToList(message, wParam, lParam);
            return 0;
        }
        Key(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? VK_UP : VK_DOWN);
        return 0;
    case WM_NCDESTROY: {
        RemoveProp(edit, kComboProp);
        SetWindowLongPtr(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
        edit_ = nullptr;
        break;
    }
    default:
        break;
    }
    return CallWindowProc(proc, edit, message, wParam, lParam);
}

LRESULT ComboBox::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int index = static_cast<int>(static_cast<int32_t>(wParam));
    switch (message) {
    case WM_CREATE:
        Create();
        return 0;
    case WM_DESTROY:
        Destroy();
        return 0;
    case WM_SIZE:
        Layout();
        return 0;
    case WM_SETFONT:
        font_ = wParam ? reinterpret_cast<HFONT>(wParam) : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        if (!OwnerDraw())
            MeasureField();
        if (edit_)
            SendMessage(edit_, WM_SETFONT, wParam, lParam);
        if (list_)
            SendMessage(list_, WM_SETFONT, wParam, lParam);
        Layout();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_ENABLE:
        if (edit_)
            EnableWindow(edit_, wParam != 0);
        if (list_ && Simple())
            EnableWindow(list_, wParam != 0);
        if (!wParam && dropped_)
            RollUp(false);
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    case WM_STYLECHANGED:
        return 0;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (wParam) {
            Paint(reinterpret_cast<HDC>(wParam));
        } else {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(hwnd_, &paint);
            if (dc)
                Paint(dc);
            EndPaint(hwnd_, &paint);
        }
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
        if (edit_) {
            SetFocus(edit_);
            return 0;
        }
        FocusGained();
        return 0;
    case WM_KILLFOCUS:
        FocusLost(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_GETDLGCODE:
        return DialogCode(lParam);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (Key(static_cast<UINT>(wParam)))
            return 0;
        return DefWindowProc(hwnd_, message, wParam, lParam);
    case WM_CHAR:
        // A drop-down list finds items by their first letters.
        if (DropList() && wParam >= ' ' && wParam != 0x7F) {
            noRollUp_ = true;
            ToList(WM_CHAR, wParam, lParam);
            noRollUp_ = false;
        } else if (edit_) {
            SendMessage(edit_, WM_CHAR, wParam, lParam);
        }
        return 0;
    case WM_MOUSEWHEEL:
        if (dropped_)
            return ToList(message, wParam, lParam);
        Key(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? VK_UP : VK_DOWN);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const POINT point = MAKEPOINT(lParam);
        if (GetFocus() != hwnd_ && GetFocus() != edit_)
            SetFocus(hwnd_);
        if (Simple() || (!DropList() && !InButton(point)))
            return 0;
        if (dropped_) {
            RollUp(true);
            return 0;
        }
        DropDown(false);
        if (!dropped_)
            return 0;
        // Held down, the pointer may go into the list and let go over an item.
        tracking_ = true;
        buttonPressed_ = true;
        SetCapture(hwnd_);
        InvalidateRect(hwnd_, nullptr, TRUE);
        return 0;
    }
    case WM_MOUSEMOVE: {
        if (!tracking_ || !list_)
            return 0;
        POINT point = MAKEPOINT(lParam);
        const bool pressed = InButton(point);
        if (pressed != buttonPressed_) {
            buttonPressed_ = pressed;
            InvalidateRect(hwnd_, nullptr, TRUE);
        }
        ClientToScreen(hwnd_, &point);
        ScreenToClient(list_, &point);
        ToList(WM_MOUSEMOVE, wParam, MAKELPARAM(point.x, point.y));
        return 0;
    }
    case WM_LBUTTONUP: {
        if (!tracking_)
            return 0;
        tracking_ = false;
        buttonPressed_ = false;
        InvalidateRect(hwnd_, nullptr, TRUE);
        POINT point = MAKEPOINT(lParam);
        ClientToScreen(hwnd_, &point);
        ReleaseCapture();
        RECT listRect {};
        GetClientRect(list_, &listRect);
        POINT inList = point;
        ScreenToClient(list_, &inList);
        if (dropped_ && PtInRect(&listRect, inList)) {
            // Let go over an item: it is taken.
            ToList(WM_LBUTTONUP, 0, MAKELPARAM(inList.x, inList.y));
        } else if (dropped_) {
            // Let go elsewhere: the list stays open and has the mouse, for a click in it or outside.
            ToList(LBCB_STARTTRACK, TRUE);
        }
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (tracking_ && reinterpret_cast<HWND>(lParam) != hwnd_) {
            tracking_ = false;
            buttonPressed_ = false;
            InvalidateRect(hwnd_, nullptr, TRUE);
        }
        return 0;
    case WM_COMMAND: {
        const HWND from = reinterpret_cast<HWND>(lParam);
        const WORD code = HIWORD(wParam);
        if (from == list_ && list_) {
            if (code == LBN_SELCHANGE)
                ListSelChange();
            else if (code == LBN_DBLCLK)
                Notify(CBN_DBLCLK);
            else if (code == LBN_ERRSPACE)
                Notify(CBN_ERRSPACE);
        } else if (from == edit_ && edit_ && !updatingEdit_) {
            if (code == EN_CHANGE) {
                EditChanged();
                Notify(CBN_EDITCHANGE);
            } else if (code == EN_UPDATE) {
                Notify(CBN_EDITUPDATE);
            } else if (code == EN_ERRSPACE) {
                Notify(CBN_ERRSPACE);
            }
        }
        return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM: {
        // The parts' questions are the parent's to answer.
        HWND parent = GetParent(hwnd_);
        return parent ? SendMessage(parent, message, wParam, lParam) : 0;
    }
    case WM_SETTEXT: {
        const char* text = reinterpret_cast<const char*>(lParam);
        if (edit_) {
            updatingEdit_ = true;
            SetWindowText(edit_, text ? text : "");
            updatingEdit_ = false;
            return TRUE;
        }
        // A drop-down list shows only its items: the text selects the item it names.
        auto found = ToList(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text ? text : ""));
        if (found < 0)
            return CB_ERR;
        ToList(LB_SETCURSEL, static_cast<WPARAM>(found));
        reportedIndex_ = CurSel();
        ShowSelection();
        return TRUE;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: {
        if (edit_)
            return SendMessage(edit_, message, wParam, lParam);
        const int current = CurSel();
        const std::string text = current >= 0 ? ItemText(current) : std::string();
        if (message == WM_GETTEXTLENGTH)
            return static_cast<LRESULT>(text.size());
        if (wParam == 0 || !lParam)
            return 0;
        size_t n = std::min(text.size(), static_cast<size_t>(wParam) - 1);
        std::memcpy(reinterpret_cast<char*>(lParam), text.data(), n);
        reinterpret_cast<char*>(lParam)[n] = '\0';
        return static_cast<LRESULT>(n);
    }

    case CB_ADDSTRING:
        return ToList(LB_ADDSTRING, 0, lParam);
    case CB_INSERTSTRING:
        return ToList(LB_INSERTSTRING, wParam, lParam);
    case CB_DELETESTRING: {
        LRESULT result = ToList(LB_DELETESTRING, wParam);
        reportedIndex_ = CurSel();
        if (!edit_)
            ShowSelection();
        return result;
    }
    case CB_RESETCONTENT:
        ToList(LB_RESETCONTENT);
        reportedIndex_ = droppedIndex_ = -1;
        if (edit_)
            SetEditText({});
        ShowSelection();
        return CB_OKAY;
    case CB_INITSTORAGE:
        return ToList(LB_INITSTORAGE, wParam, lParam);
    case CB_GETCOUNT:
        return ToList(LB_GETCOUNT);
    case CB_GETLBTEXT:
        return ToList(LB_GETTEXT, wParam, lParam);
    case CB_GETLBTEXTLEN:
        return ToList(LB_GETTEXTLEN, wParam);
    case CB_GETITEMDATA:
        return ToList(LB_GETITEMDATA, wParam);
    case CB_SETITEMDATA:
        return ToList(LB_SETITEMDATA, wParam, lParam);
    case CB_FINDSTRING:
        return ToList(LB_FINDSTRING, wParam, lParam);
    case CB_FINDSTRINGEXACT:
        return ToList(LB_FINDSTRINGEXACT, wParam, lParam);
    case CB_SELECTSTRING: {
        LRESULT found = ToList(LB_FINDSTRING, wParam, lParam);
        if (found < 0)
            return CB_ERR;
        ToList(LB_SETCURSEL, static_cast<WPARAM>(found));
        reportedIndex_ = CurSel();
        ShowSelection();
        return found;
    }
    case CB_SETCURSEL: {
        // The program's choice: shown, never reported.
        LRESULT result = ToList(LB_SETCURSEL, wParam);
        if (result >= 0)
            ToList(LB_SETTOPINDEX, wParam);
        reportedIndex_ = CurSel();
        if (dropped_)
            droppedIndex_ = reportedIndex_;
        ShowSelection();
        return index >= 0 ? result : CB_ERR;
    }
    case CB_GETCURSEL:
        return CurSel();
    case CB_GETTOPINDEX:
        return ToList(LB_GETTOPINDEX);
    case CB_SETTOPINDEX:
        return ToList(LB_SETTOPINDEX, wParam) < 0 ? CB_ERR : CB_OKAY;
    case CB_GETHORIZONTALEXTENT:
        return ToList(LB_GETHORIZONTALEXTENT);
    case CB_SETHORIZONTALEXTENT:
        ToList(LB_SETHORIZONTALEXTENT, wParam);
        return 0;
    case CB_GETEDITSEL: {
        if (!edit_)
            return CB_ERR;
        DWORD start = 0, end = 0;
        SendMessage(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = start;
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = end;
        return MAKELRESULT(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case CB_SETEDITSEL: {
        if (!edit_)
            return CB_ERR;
        // Words of lParam; -1 as a start removes the selection, as an end reaches the end of the text.
        auto start = static_cast<int16_t>(LOWORD(lParam));
        auto end = static_cast<int16_t>(HIWORD(lParam));
        SendMessage(edit_, EM_SETSEL, static_cast<WPARAM>(static_cast<intptr_t>(start)), end < 0 ? -1 : end);
        return TRUE;
    }
    case CB_LIMITTEXT:
        if (edit_)
            SendMessage(edit_, EM_LIMITTEXT, wParam, 0);
        return TRUE;
    case CB_SHOWDROPDOWN:
        if (wParam)
            DropDown();
        else if (dropped_)
            RollUp(false);
        return TRUE;
    case CB_GETDROPPEDSTATE:
        return dropped_ ? TRUE : FALSE;
    case CB_GETDROPPEDCONTROLRECT: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (!rect)
            return CB_ERR;
        GetWindowRect(hwnd_, rect);
        if (Simple())
            return TRUE;
        RECT listRect {};
        if (dropped_)
            GetWindowRect(list_, &listRect);
        rect->right = std::max<LONG>(rect->right, rect->left + droppedWidth_);
        if (dropped_) {
            rect->top = std::min(rect->top, listRect.top);
            rect->bottom = std::max(rect->bottom, listRect.bottom);
        }
        return TRUE;
    }
    case CB_SETITEMHEIGHT: {
        const int height = static_cast<int>(static_cast<int32_t>(lParam));
        if (height <= 0 || height > 0x7FFF)
            return CB_ERR;
        if (index == -1) {
            fieldHeight_ = height;
            Layout();
            return CB_OKAY;
        }
        return ToList(LB_SETITEMHEIGHT, wParam, MAKELPARAM(height, 0));
    }
    case CB_GETITEMHEIGHT:
        return index == -1 ? fieldHeight_ : ToList(LB_GETITEMHEIGHT, wParam);
    case CB_SETDROPPEDWIDTH:
        droppedWidth_ = std::max(0, index);
        [[fallthrough]];
    case CB_GETDROPPEDWIDTH: {
        RECT window;
        GetWindowRect(hwnd_, &window);
        return std::max<LRESULT>(droppedWidth_, window.right - window.left);
    }
    case CB_SETEXTENDEDUI:
        extendedUI_ = wParam != 0;
        return CB_OKAY;
    case CB_GETEXTENDEDUI:
        return extendedUI_ ? TRUE : FALSE;
    case CB_SETMINVISIBLE:
        if (index <= 0)
            return FALSE;
        minVisible_ = index;
        return TRUE;
    case CB_GETMINVISIBLE:
        return minVisible_;
    case CB_GETCOMBOBOXINFO: {
        auto* info = reinterpret_cast<COMBOBOXINFO*>(lParam);
        if (!info || info->cbSize != sizeof(COMBOBOXINFO))
            return FALSE;
        info->rcItem = FieldRect();
        info->rcButton = ButtonRect();
        info->stateButton = Simple() ? STATE_SYSTEM_INVISIBLE : (buttonPressed_ ? STATE_SYSTEM_PRESSED : 0);
        info->hwndCombo = hwnd_;
        info->hwndItem = edit_ ? edit_ : hwnd_;
        info->hwndList = list_;
        return TRUE;
    }
    default:
        return DefWindowProc(hwnd_, message, wParam, lParam);
    }
}

} // namespace

ATOM RegisterComboBoxClass()
{
    RegisterEditClass();
    RegisterListBoxClass();
    RegisterComboListBoxClass();
    return RegisterControlClass<ComboBox>(WC_COMBOBOX, IDC_ARROW);
}

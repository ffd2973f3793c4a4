#include "platform/controls/ButtonControl.h"

#include "platform/controls/ControlClass.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/OwnerDraw.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"

#include <string>
#include <vector>

namespace {

DWORD KindOf(DWORD style)
{
    return style & BS_TYPEMASK;
}

bool IsPush(DWORD kind)
{
    return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON || kind == BS_PUSHBOX;
}
bool IsCheck(DWORD kind)
{
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE;
}
bool IsRadio(DWORD kind)
{
    return kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

// hwnd's group: its siblings, in the order they were made, from the last WS_GROUP window at or before it up to
// the next WS_GROUP window. A new child goes on top, so the order they were made in is from the bottom up.
std::vector<HWND> RadioGroupOf(HWND hwnd)
{
    std::vector<HWND> group;
    bool found = false;
    for (HWND w = GetWindow(hwnd, GW_HWNDLAST); w; w = GetWindow(w, GW_HWNDPREV)) {
        auto style = static_cast<DWORD>(GetWindowLongPtr(w, GWL_STYLE));
        if (style & WS_GROUP) {
            if (found)
                break;
            group.clear();
        }
        if (w == hwnd)
            found = true;
        group.push_back(w);
    }
    return group;
}

// One button's state, kept in the window's extra bytes from WM_NCCREATE to WM_NCDESTROY.
class Button {
public:
    Button(HWND hwnd, const CREATESTRUCT&)
        : hwnd_(hwnd)
        , font_(static_cast<HFONT>(GetStockObject(SYSTEM_FONT)))
    {
    }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

private:
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongPtr(hwnd_, GWL_STYLE)); }
    DWORD Kind() const { return KindOf(Style()); }
    void Notify(WORD code);
    void Redraw() { InvalidateRect(hwnd_, nullptr, FALSE); }
    void SetPushed(bool pushed);
    void SetCheck(LRESULT check);
    // The press ends over the button: auto kinds change their check, then the parent hears BN_CLICKED.
    void Click();

    HBRUSH ParentBrush(HDC dc);
    void Paint(HDC dc);
    void PaintPush(HDC dc, const RECT& client);
    void PaintCheck(HDC dc, const RECT& client);
    void PaintGroup(HDC dc, const RECT& client);
    void PaintOwnerDraw(HDC dc, const RECT& client);
    void DrawCaption(HDC dc, RECT r, UINT flags);
    std::string Caption() const;

    HWND hwnd_;
    HFONT font_;
    LRESULT check_ = BST_UNCHECKED;
    bool pushed_ = false;
    bool focused_ = false;
    bool tracking_ = false; // the left button went down here and the capture is ours
    bool spaceDown_ = false;
};

void Button::Notify(WORD code)
{
    HWND parent = GetParent(hwnd_);
    if (!parent)
        return;
    auto id = static_cast<WORD>(GetWindowLongPtr(hwnd_, GWLP_ID));
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd_));
}

void Button::SetPushed(bool pushed)
{
    if (pushed == pushed_)
        return;
    pushed_ = pushed;
    if (Style() & BS_NOTIFY)
        Notify(pushed ? BN_HILITE : BN_UNHILITE);
    Redraw();
}

void Button::SetCheck(LRESULT check)
{
    DWORD kind = Kind();
    if (!IsCheck(kind) && !IsRadio(kind))
        return;
    if (check == BST_INDETERMINATE && kind != BS_3STATE && kind != BS_AUTO3STATE)
        check = BST_CHECKED;
    // A checked radio button is the one of its group that Tab reaches.
    if (IsRadio(kind)) {
        DWORD style = Style();
        DWORD tab = check ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP);
        if (tab != style)
            SetWindowLongPtr(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(tab));
    }
    if (check == check_)
        return;
    check_ = check;
    Redraw();
}

void Button::Click()
{
    switch (Kind()) {
    case BS_AUTOCHECKBOX:
        SetCheck(check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
        break;
    case BS_AUTO3STATE:
        SetCheck((check_ + 1) % 3);
        break;
    case BS_AUTORADIOBUTTON:
        for (HWND w : RadioGroupOf(hwnd_))
            if (w != hwnd_ && KindOf(static_cast<DWORD>(GetWindowLongPtr(w, GWL_STYLE))) == BS_AUTORADIOBUTTON)
                SendMessage(w, BM_SETCHECK, BST_UNCHECKED, 0);
        SetCheck(BST_CHECKED);
        break;
    }
    // The parent may destroy this window while it hears the click: nothing of the object is touched after.
    Notify(BN_CLICKED);
}

std::string Button::Caption() const
{
    std::string text(GetWindowTextLength(hwnd_) + 1, '\0');
    text.resize(GetWindowText(hwnd_, text.data(), static_cast<int>(text.size())));
    return text;
}

// Push buttons ask with WM_CTLCOLORBTN, the others with WM_CTLCOLORSTATIC; without an answer the face colour.
HBRUSH Button::ParentBrush(HDC dc)
{
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    HWND parent = GetParent(hwnd_);
    UINT ask = IsPush(Kind()) ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC;
    HBRUSH brush = parent ? reinterpret_cast<HBRUSH>(
                       SendMessage(parent, ask, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd_)))
                          : nullptr;
    return brush ? brush : GetSysColorBrush(COLOR_BTNFACE);
}

void Button::DrawCaption(HDC dc, RECT r, UINT flags)
{
    std::string text = Caption();
    if (text.empty())
        return;
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd_))
        SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    DrawText(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

void Button::PaintPush(HDC dc, const RECT& client)
{
    FillRect(dc, &client, ParentBrush(dc));
    RECT face = client;
    // The default button wears a black ring around its face.
    if (Kind() == BS_DEFPUSHBUTTON) {
        FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&face, -1, -1);
    }
    UINT state = DFCS_BUTTONPUSH | (pushed_ ? DFCS_PUSHED : 0) | (IsWindowEnabled(hwnd_) ? 0 : DFCS_INACTIVE)
        | ((Style() & BS_FLAT) ? DFCS_FLAT : 0);
    DrawFrameControl(dc, &face, DFC_BUTTON, state);
    RECT text = face;
    InflateRect(&text, -2, -2);
    if (pushed_)
        OffsetRect(&text, 1, 1);
    UINT flags = (Style() & BS_MULTILINE) ? DT_CENTER | DT_WORDBREAK : DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    DrawCaption(dc, text, flags);
    if (focused_) {
        RECT focus = face;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

void Button::PaintCheck(HDC dc, const RECT& client)
{
    FillRect(dc, &client, ParentBrush(dc));
    DWORD style = Style();
    bool leftText = style & BS_LEFTTEXT;
    int boxTop = client.top + (client.bottom - client.top - kButtonCheckSize) / 2;
    int boxLeft = leftText ? client.right - kButtonCheckSize : client.left;
    RECT box { boxLeft, boxTop, boxLeft + kButtonCheckSize, boxTop + kButtonCheckSize };
    UINT state = IsRadio(Kind()) ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK;
    if (check_ == BST_INDETERMINATE)
        state = DFCS_BUTTON3STATE | DFCS_CHECKED;
    else if (check_ == BST_CHECKED)
        state |= DFCS_CHECKED;
    if (pushed_)
        state |= DFCS_PUSHED;
    if (!IsWindowEnabled(hwnd_))
        state |= DFCS_INACTIVE;
    DrawFrameControl(dc, &box, DFC_BUTTON, state);

    RECT text = client;
    if (leftText)
        text.right = box.left - kButtonCheckGap;
    else
        text.left = box.right + kButtonCheckGap;
    DrawCaption(dc, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (focused_) {
        // The focus ring goes around the caption only.
        std::string caption = Caption();
        RECT measure = text;
        DrawText(
            dc, caption.c_str(), static_cast<int>(caption.size()), &measure, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
        int height = measure.bottom - measure.top;
        RECT focus { text.left - 1, text.top + (text.bottom - text.top - height) / 2 - 1,
            std::min<LONG>(text.right, text.left + (measure.right - measure.left)) + 1, 0 };
        focus.bottom = focus.top + height + 2;
        DrawFocusRect(dc, &focus);
    }
}

void Button::PaintGroup(HDC dc, const RECT& client)
{
    FillRect(dc, &client, ParentBrush(dc));
    TEXTMETRIC tm {};
    GetTextMetrics(dc, &tm);
    // The etched frame starts half a text line down, and the caption interrupts its top edge.
    RECT frame = client;
    frame.top += tm.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    std::string caption = Caption();
    if (caption.empty())
        return;
    RECT text { client.left + 8, client.top, client.right - 8, client.top + tm.tmHeight };
    RECT measure = text;
    DrawText(dc, caption.c_str(), static_cast<int>(caption.size()), &measure, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
    RECT gap { text.left - 2, text.top, std::min(text.right, measure.right) + 2, text.bottom };
    FillRect(dc, &gap, ParentBrush(dc));
    DrawCaption(dc, text, DT_LEFT | DT_SINGLELINE);
}

void Button::PaintOwnerDraw(HDC dc, const RECT& client)
{
    HWND parent = GetParent(hwnd_);
    if (!parent)
        return;
    DRAWITEMSTRUCT item {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetWindowLongPtr(hwnd_, GWLP_ID));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState
        = (pushed_ ? ODS_SELECTED : 0) | (focused_ ? ODS_FOCUS : 0) | (IsWindowEnabled(hwnd_) ? 0 : ODS_DISABLED);
    item.hwndItem = hwnd_;
    item.hDC = dc;
    item.rcItem = client;
    SendMessage(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void Button::Paint(HDC dc)
{
    RECT client;
    GetClientRect(hwnd_, &client);
    int saved = SaveDC(dc);
    SelectObject(dc, font_);
    DWORD kind = Kind();
    if (kind == BS_OWNERDRAW)
        PaintOwnerDraw(dc, client);
    else if (kind == BS_GROUPBOX)
        PaintGroup(dc, client);
    else if (IsCheck(kind) || IsRadio(kind))
        PaintCheck(dc, client);
    else
        PaintPush(dc, client);
    RestoreDC(dc, saved);
}

LRESULT Button::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFONT:
        font_ = wParam ? reinterpret_cast<HFONT>(wParam) : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
        if (LOWORD(lParam))
            Redraw();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT: {
        LRESULT result = DefWindowProc(hwnd_, message, wParam, lParam);
        Redraw();
        return result;
    }
    case WM_ENABLE:
        Redraw();
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
    case WM_NCHITTEST:
        // A group box lets the pointer through to what lies under it.
        if (Kind() == BS_GROUPBOX)
            return HTTRANSPARENT;
        return DefWindowProc(hwnd_, message, wParam, lParam);
    case WM_GETDLGCODE:
        switch (Kind()) {
        case BS_DEFPUSHBUTTON:
            return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
        case BS_PUSHBUTTON:
        case BS_PUSHBOX:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        case BS_GROUPBOX:
            return DLGC_STATIC;
        default:
            return DLGC_BUTTON;
        }
    case WM_SETFOCUS: {
        focused_ = true;
        Redraw();
        if (Style() & BS_NOTIFY)
            Notify(BN_SETFOCUS);
        // A radio button reached by the keys (not by a press, which holds the capture) is chosen at once.
        DWORD kind = Kind();
        if (IsRadio(kind) && GetCapture() != hwnd_ && check_ != BST_CHECKED) {
            if (kind == BS_AUTORADIOBUTTON)
                Click();
            else
                Notify(BN_CLICKED);
        }
        return 0;
    }
    case WM_KILLFOCUS:
        focused_ = false;
        spaceDown_ = false;
        if (tracking_)
            ReleaseCapture();
        SetPushed(false);
        Redraw();
        if (Style() & BS_NOTIFY)
            Notify(BN_KILLFOCUS);
        return 0;
    case WM_LBUTTONDBLCLK:
        // Radio and owner-drawn buttons tell a double click; the others take it as another press.
        if (IsRadio(Kind()) || Kind() == BS_OWNERDRAW) {
            Notify(BN_DOUBLECLICKED);
            return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        if (Kind() == BS_GROUPBOX)
            return 0;
        // The capture first, so that the focus arriving knows it came by the mouse.
        SetCapture(hwnd_);
        tracking_ = true;
        if (GetFocus() != hwnd_)
            SetFocus(hwnd_);
        SetPushed(true);
        return 0;
    case WM_MOUSEMOVE:
        if (tracking_) {
            RECT client;
            GetClientRect(hwnd_, &client);
            POINT at = MAKEPOINT(lParam);
            SetPushed(PtInRect(&client, at) != FALSE);
        }
        return 0;
    case WM_LBUTTONUP: {
        if (!tracking_)
            return 0;
        tracking_ = false;
        bool click = pushed_;
        SetPushed(false);
        ReleaseCapture();
        if (click)
            Click();
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (tracking_) {
            tracking_ = false;
            SetPushed(false);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && Kind() != BS_GROUPBOX) {
            spaceDown_ = true;
            SetPushed(true);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && spaceDown_) {
            spaceDown_ = false;
            bool click = pushed_;
            SetPushed(false);
            if (click)
                Click();
        }
        return 0;
    case WM_CHAR:
        // Plus and minus set and clear an auto check box.
        if (Kind() == BS_AUTOCHECKBOX || Kind() == BS_AUTO3STATE) {
            if ((wParam == '+' || wParam == '=') && check_ != BST_CHECKED) {
                SetCheck(BST_CHECKED);
                Notify(BN_CLICKED);
            } else if (wParam == '-' && check_ != BST_UNCHECKED) {
                SetCheck(BST_UNCHECKED);
                Notify(BN_CLICKED);
            }
        }
        return 0;

    case BM_GETCHECK:
        return check_;
    case BM_SETCHECK:
        SetCheck(static_cast<LRESULT>(wParam) & 3);
        return 0;
    case BM_GETSTATE:
        return check_ | (pushed_ ? BST_PUSHED : 0) | (focused_ ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetPushed(wParam != 0);
        return 0;
    case BM_SETSTYLE: {
        DWORD style = (Style() & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
        SetWindowLongPtr(hwnd_, GWL_STYLE, static_cast<LONG_PTR>(style));
        if (LOWORD(lParam))
            Redraw();
        return 0;
    }
    case BM_CLICK:
        if (!IsWindowEnabled(hwnd_) || Kind() == BS_GROUPBOX)
            return 0;
        SetPushed(true);
        SetPushed(false);
        Click();
        return 0;
    default:
        return DefWindowProc(hwnd_, message, wParam, lParam);
    }
}

} // namespace

ATOM RegisterButtonClass()
{
    return RegisterControlClass<Button>(WC_BUTTON, IDC_ARROW);
}

// The message box window: layout from the text's measured size, the type's icon drawn with GDI, BUTTON children,
// and a modal loop of its own that reads the dialog keys before the buttons see them.
#include "platform/controls/MessageBox.h"

#include "platform/controls/ButtonControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Platform.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

constexpr const char* kBoxClass = "#MessageBox";
constexpr int kMargin = 12;
constexpr int kIconSide = 32;
constexpr int kButtonHeight = 23;
constexpr int kButtonMinWidth = 75;
constexpr int kButtonGap = 6;
// Lines wrap at this width at most, so that a long message reads as a paragraph rather than one wide line.
constexpr int kMaxTextWidth = 420;
constexpr UINT kTextFormat = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_LEFT;

TMessageBoxHook& Hook()
{
    static TMessageBoxHook hook;
    return hook;
}

struct TButtonSpec {
    int Id;
    const char* Caption;
};

std::vector<TButtonSpec> ButtonsOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return { { IDOK, "OK" }, { IDCANCEL, "Cancel" } };
    case MB_ABORTRETRYIGNORE:
        return { { IDABORT, "&Abort" }, { IDRETRY, "&Retry" }, { IDIGNORE, "&Ignore" } };
    case MB_YESNOCANCEL:
        return { { IDYES, "&Yes" }, { IDNO, "&No" }, { IDCANCEL, "Cancel" } };
    case MB_YESNO:
        return { { IDYES, "&Yes" }, { IDNO, "&No" } };
    case MB_RETRYCANCEL:
        return { { IDRETRY, "&Retry" }, { IDCANCEL, "Cancel" } };
    case MB_CANCELTRYCONTINUE:
        return { { IDCANCEL, "Cancel" }, { IDTRYAGAIN, "&Try Again" }, { IDCONTINUE, "&Continue" } };
    default:
        return { { IDOK, "OK" } };
    }
}

// The lower-case letter after a single '&', or 0.
char Accelerator(const char* caption)
{
    for (const char* p = caption; *p; ++p)
        if (*p == '&') {
            if (p[1] == '&') {
                ++p;
                continue;
            }
            return p[1] ? char(std::tolower(static_cast<unsigned char>(p[1]))) : 0;
        }
    return 0;
}

struct TBoxState {
    UINT Type = 0;
    std::string Text;
    RECT TextRect {};
    bool HasIcon = false;
    std::vector<HWND> Buttons;
    std::vector<char> Accelerators;
    int Answer = 0;
};

TBoxState* StateOf(HWND box)
{
    return reinterpret_cast<TBoxState*>(GetWindowLongPtr(box, GWLP_USERDATA));
}

void FillEllipse(HDC dc, COLORREF color, int left, int top, int side)
{
    HBRUSH brush = CreateSolidBrush(color);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    Ellipse(dc, left, top, left + side + 1, top + side + 1);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

// One bold glyph centred in the icon's square.
void IconGlyph(HDC dc, const char* glyph, COLORREF color, int left, int top, int lift)
{
    HFONT font = CreateFont(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "DejaVu Sans");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    RECT r { left, top - lift, left + kIconSide, top + kIconSide - lift };
    DrawText(dc, glyph, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

// The type's icon in the window layer's own drawing: a red disc with a cross, a blue disc with a question mark
// or an "i", a yellow triangle with an exclamation mark.
void PaintIcon(HDC dc, UINT icon, int x, int y)
{
    switch (icon) {
    case MB_ICONSTOP: {
        FillEllipse(dc, RGB(204, 0, 0), x, y, kIconSide);
        HPEN pen = CreatePen(PS_SOLID, 4, RGB(255, 255, 255));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, x + 10, y + 10, nullptr);
        LineTo(dc, x + 22, y + 22);
        MoveToEx(dc, x + 22, y + 10, nullptr);
        LineTo(dc, x + 10, y + 22);
        SelectObject(dc, old);
        DeleteObject(pen);
        break;
    }
    case MB_ICONQUESTION:
        FillEllipse(dc, RGB(0, 84, 190), x, y, kIconSide);
        IconGlyph(dc, "?", RGB(255, 255, 255), x, y, 0);
        break;
    case MB_ICONEXCLAMATION: {
        const POINT corners[] = { { x + 16, y + 1 }, { x + 31, y + 30 }, { x + 1, y + 30 } };
        HBRUSH brush = CreateSolidBrush(RGB(255, 204, 0));
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        Polygon(dc, corners, 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
        IconGlyph(dc, "!", RGB(0, 0, 0), x, y, -4);
        break;
    }
    case MB_ICONINFORMATION:
        FillEllipse(dc, RGB(0, 84, 190), x, y, kIconSide);
        IconGlyph(dc, "i", RGB(255, 255, 255), x, y, 0);
        break;
    default:
        break;
    }
}

void Paint(HWND box, TBoxState& state)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    if (state.HasIcon)
        PaintIcon(dc, state.Type & MB_ICONMASK, kMargin, kMargin);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT r = state.TextRect;
    DrawText(dc, state.Text.c_str(), int(state.Text.size()), &r, kTextFormat);
    SelectObject(dc, oldFont);
    EndPaint(box, &paint);
}

LRESULT BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    TBoxState* state = StateOf(box);
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(box, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_PAINT:
        if (state) {
            Paint(box, *state);
            return 0;
        }
        break;
    case WM_COMMAND:
        if (state && HIWORD(wParam) == BN_CLICKED)
            state->Answer = LOWORD(wParam);
        return 0;
    case WM_CLOSE:
        if (state)
            state->Answer = MessageBoxCancelAnswer(state->Type);
        return 0;
    default:
        break;
    }
    return DefWindowProc(box, message, wParam, lParam);
}

void RegisterBoxClass()
{
    WNDCLASS c {};
    if (GetClassInfo(nullptr, kBoxClass, &c))
        return;
    c.lpfnWndProc = BoxProc;
    c.hCursor = LoadCursor(nullptr, IDC_ARROW);
    c.lpszClassName = kBoxClass;
    RegisterClass(&c);
}

// Measures the text and places icon, text and buttons; returns the client size.
SIZE Layout(TBoxState& state, int buttonCount, int& buttonWidth)
{
    HDC dc = GetDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT text { 0, 0, kMaxTextWidth, 0 };
    DrawText(dc, state.Text.c_str(), int(state.Text.size()), &text, kTextFormat | DT_CALCRECT);
    buttonWidth = kButtonMinWidth;
    for (const TButtonSpec& spec : ButtonsOf(state.Type)) {
        RECT r {};
        DrawText(dc, spec.Caption, -1, &r, DT_SINGLELINE | DT_CALCRECT);
        buttonWidth = std::max<int>(buttonWidth, RectWidth(r) + 16);
    }
    SelectObject(dc, oldFont);
    ReleaseDC(nullptr, dc);

    const int textLeft = kMargin + (state.HasIcon ? kIconSide + kMargin : 0);
    const int textHeight = RectHeight(text);
    const int bodyHeight = std::max(textHeight, state.HasIcon ? kIconSide : 0);
    // A text shorter than the icon sits level with the icon's middle.
    const int textTop = kMargin + (bodyHeight - textHeight) / 2;
    state.TextRect = RECT { textLeft, textTop, textLeft + RectWidth(text), textTop + textHeight };
    const int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * kButtonGap;
    const int width = std::max<int>(state.TextRect.right + kMargin, buttonsWidth + 2 * kMargin);
    const int height = kMargin + bodyHeight + kMargin + kButtonHeight + kMargin;
    return SIZE { width, height };
}

// Centred on the owner (or the primary monitor), kept inside the work area.
POINT PlaceOf(HWND owner, SIZE size)
{
    RECT anchor {};
    if (owner && IsWindowVisible(GetAncestor(owner, GA_ROOT))) {
        GetWindowRect(GetAncestor(owner, GA_ROOT), &anchor);
    } else {
        MONITORINFO info { sizeof(MONITORINFO), {}, {}, 0 };
        GetMonitorInfo(MonitorFromPoint(POINT { 0, 0 }, MONITOR_DEFAULTTOPRIMARY), &info);
        anchor = info.rcWork;
    }
    MONITORINFO info { sizeof(MONITORINFO), {}, {}, 0 };
    GetMonitorInfo(MonitorFromRect(&anchor, MONITOR_DEFAULTTONEAREST), &info);
    const RECT& work = info.rcWork;
    POINT p { (anchor.left + anchor.right - size.cx) / 2, (anchor.top + anchor.bottom - size.cy) / 2 };
    p.x = std::max<LONG>(work.left, std::min<LONG>(p.x, work.right - size.cx));
    p.y = std::max<LONG>(work.top, std::min<LONG>(p.y, work.bottom - size.cy));
    return p;
}

struct TDisabledWindows {
    HWND Root = nullptr;
    bool Everyone = false;
    std::vector<HWND> Windows;
};

BOOL DisableOne(HWND hwnd, LPARAM param)
{
    auto& d = *reinterpret_cast<TDisabledWindows*>(param);
    if (!IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd))
        return TRUE;
    bool owned = d.Everyone;
    for (HWND h = hwnd; h && !owned; h = GetWindow(h, GW_OWNER))
        owned = h == d.Root;
    if (owned) {
        EnableWindow(hwnd, FALSE);
        d.Windows.push_back(hwnd);
    }
    return TRUE;
}

// The owner's top-level window and those it owns take no input while the box is up; without a visible owner,
// no window of the program does.
TDisabledWindows DisableOwner(HWND owner)
{
    TDisabledWindows d;
    d.Root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    d.Everyone = !d.Root || !IsWindowVisible(d.Root);
    EnumWindows(DisableOne, reinterpret_cast<LPARAM>(&d));
    return d;
}

void EnableAgain(const TDisabledWindows& d)
{
    for (auto it = d.Windows.rbegin(); it != d.Windows.rend(); ++it)
        if (IsWindow(*it))
            EnableWindow(*it, TRUE);
}

int IndexOf(const TBoxState& state, HWND hwnd)
{
    const auto it = std::find(state.Buttons.begin(), state.Buttons.end(), hwnd);
    return it == state.Buttons.end() ? -1 : int(it - state.Buttons.begin());
}

// The focused button wears the default look, as the dialog's default button does while no other one has the focus.
void FocusButton(TBoxState& state, int index)
{
    const int count = int(state.Buttons.size());
    index = ((index % count) + count) % count;
    for (int i = 0; i < count; ++i)
        SendMessage(state.Buttons[i], BM_SETSTYLE, i == index ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    SetFocus(state.Buttons[index]);
}

// The dialog keys, read before the buttons get them. True when the key was used.
bool DialogKey(TBoxState& state, const MSG& msg)
{
    const int focused = std::max(0, IndexOf(state, GetFocus()));
    const bool alt = msg.message == WM_SYSKEYDOWN;
    switch (msg.wParam) {
    case VK_ESCAPE:
        state.Answer = MessageBoxCancelAnswer(state.Type);
        return true;
    case VK_F4:
        if (alt)
            state.Answer = MessageBoxCancelAnswer(state.Type);
        return alt;
    case VK_RETURN:
        state.Answer = int(GetWindowLongPtr(state.Buttons[focused], GWLP_ID));
        return true;
    case VK_TAB:
        FocusButton(state, focused + ((GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1));
        return true;
    case VK_LEFT:
    case VK_UP:
        FocusButton(state, focused - 1);
        return true;
    case VK_RIGHT:
    case VK_DOWN:
        FocusButton(state, focused + 1);
        return true;
    default:
        break;
    }
    if ((msg.wParam >= 'A' && msg.wParam <= 'Z') || (msg.wParam >= '0' && msg.wParam <= '9')) {
        const char letter = char(std::tolower(int(msg.wParam)));
        for (size_t i = 0; i < state.Accelerators.size(); ++i)
            if (state.Accelerators[i] == letter) {
                state.Answer = int(GetWindowLongPtr(state.Buttons[i], GWLP_ID));
                return true;
            }
        // An Alt key that names no button opens nothing either.
        return alt;
    }
    return false;
}

} // namespace

int MessageBoxCancelAnswer(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OK:
        return IDOK;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    case MB_YESNO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

void SetMessageBoxHook(TMessageBoxHook hook)
{
    Hook() = std::move(hook);
}

int MessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    if (!PlatformStarted())
        return 0;
    RegisterBoxClass();
    RegisterButtonClass();
    if (owner && !IsWindow(owner))
        owner = nullptr;

    TBoxState state;
    state.Type = type;
    state.Text = text ? text : "";
    const UINT icon = type & MB_ICONMASK;
    state.HasIcon = icon == MB_ICONSTOP || icon == MB_ICONQUESTION || icon == MB_ICONEXCLAMATION
        || icon == MB_ICONINFORMATION;
    const std::vector<TButtonSpec> specs = ButtonsOf(type);
    int buttonWidth = 0;
    const SIZE client = Layout(state, int(specs.size()), buttonWidth);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT frame { 0, 0, client.cx, client.cy };
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const SIZE size { RectWidth(frame), RectHeight(frame) };
    const POINT place = PlaceOf(owner, size);

    const HWND previousActive = GetActiveWindow();
    TDisabledWindows disabled = DisableOwner(owner);
    HWND box = CreateWindowEx(exStyle, kBoxClass, caption ? caption : "Error", style, place.x, place.y, size.cx,
        size.cy, owner ? GetAncestor(owner, GA_ROOT) : nullptr, nullptr, nullptr, nullptr);
    if (!box) {
        EnableAgain(disabled);
        return 0;
    }
    SetWindowLongPtr(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));

    const int count = int(specs.size());
    int x = (client.cx - (count * buttonWidth + (count - 1) * kButtonGap)) / 2;
    const int y = client.cy - kMargin - kButtonHeight;
    for (const TButtonSpec& spec : specs) {
        HWND button = CreateWindowEx(0, WC_BUTTON, spec.Caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x,
            y, buttonWidth, kButtonHeight, box, reinterpret_cast<HMENU>(intptr_t(spec.Id)), nullptr, nullptr);
        SendMessage(button, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        state.Buttons.push_back(button);
        state.Accelerators.push_back(Accelerator(spec.Caption));
        x += buttonWidth + kButtonGap;
    }
    const int defaultIndex = int((type & MB_DEFMASK) >> 8);
    ShowWindow(box, SW_SHOW);
    SetActiveWindow(box);
    FocusButton(state, defaultIndex < count ? defaultIndex : 0);
    UpdateWindow(box);
    if (const TMessageBoxHook& hook = Hook())
        hook(box);

    MSG msg;
    while (state.Answer == 0 && IsWindow(box)) {
        if (!GetMessage(&msg, nullptr, 0, 0)) {
            // The program is quitting: the box gives the cancelling answer and the loops further out see the
            // quit message too.
            PostQuitMessage(int(msg.wParam));
            state.Answer = MessageBoxCancelAnswer(type);
            break;
        }
        const bool key = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        if (key && (msg.hwnd == box || IsChild(box, msg.hwnd)) && DialogKey(state, msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessage(&msg);
    }
    const int answer = state.Answer ? state.Answer : MessageBoxCancelAnswer(type);
    // The owner is enabled before the box goes, so that the activation returns to it and not to another program.
    EnableAgain(disabled);
    if (IsWindow(box)) {
        SetWindowLongPtr(box, GWLP_USERDATA, 0);
        DestroyWindow(box);
    }
    if (previousActive && IsWindow(previousActive) && IsWindowVisible(previousActive))
        SetActiveWindow(previousActive);
    return answer;
}

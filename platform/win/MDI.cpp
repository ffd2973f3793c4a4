// The MDI client window class and the default procedures of MDI frames and children.
#include "platform/win/MDI.h"

#include "platform/win/Menus.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <strings.h>
#include <vector>

namespace {

constexpr const char* kClientClass = "MDICLIENT";
// A minimized child is a caption bar this wide.
constexpr int kIconWidth = 160;

// What the client keeps about its children. The window owns it (its first extra slot).
struct TMDIClient {
    HWND Client = nullptr;
    HMENU WindowMenu = nullptr;
    HMENU FrameMenu = nullptr;
    UINT FirstChildId = 0;
    // In the order they were made.
    std::vector<HWND> Children;
    HWND Active = nullptr;
    // The children the window menu lists, in its order (item i has the command FirstChildId + i).
    std::vector<HWND> Listed;
    bool SeparatorAdded = false;
    // Moving an icon makes it report its size again, which would arrange the icons again.
    bool Arranging = false;
};

TMDIClient* ClientOf(HWND client)
{
    char name[16] = {};
    if (!client || !GetClassName(client, name, sizeof name) || strcasecmp(name, kClientClass) != 0)
        return nullptr;
    return reinterpret_cast<TMDIClient*>(GetWindowLongPtr(client, 0));
}

TMDIClient* ClientOfChild(HWND child)
{
    return ClientOf(GetParent(child));
}

bool Knows(const TMDIClient& c, HWND child)
{
    return std::find(c.Children.begin(), c.Children.end(), child) != c.Children.end();
}

void Adopt(TMDIClient& c, HWND child)
{
    if (!Knows(c, child))
        c.Children.push_back(child);
}

// The known children from the top of the stacking order down.
std::vector<HWND> StackingOrder(const TMDIClient& c)
{
    std::vector<HWND> order;
    for (HWND h = GetWindow(c.Client, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (Knows(c, h))
            order.push_back(h);
    return order;
}

bool CanActivate(HWND child)
{
    return IsWindowVisible(child) && IsWindowEnabled(child);
}

// --- The window menu ---

void RemoveMenuItems(TMDIClient& c)
{
    if (!c.WindowMenu || !IsMenu(c.WindowMenu)) {
        c.Listed.clear();
        c.SeparatorAdded = false;
        return;
    }
    for (size_t i = 0; i < c.Listed.size(); ++i)
        DeleteMenu(c.WindowMenu, c.FirstChildId + UINT(i), MF_BYCOMMAND);
    c.Listed.clear();
    const int count = GetMenuItemCount(c.WindowMenu);
    if (c.SeparatorAdded && count > 0 && (GetMenuState(c.WindowMenu, UINT(count - 1), MF_BYPOSITION) & MF_SEPARATOR))
        DeleteMenu(c.WindowMenu, UINT(count - 1), MF_BYPOSITION);
    c.SeparatorAdded = false;
}

// `changing` is a child whose visibility is about to become `visible` (WM_SHOWWINDOW comes before the change).
void RefreshMenu(TMDIClient& c, HWND changing = nullptr, bool visible = false)
{
    RemoveMenuItems(c);
    if (!c.WindowMenu || !IsMenu(c.WindowMenu))
        return;
    for (HWND child : c.Children)
        if (child == changing ? visible : IsWindowVisible(child) != FALSE)
            c.Listed.push_back(child);
    if (c.Listed.empty())
        return;
    if (GetMenuItemCount(c.WindowMenu) > 0) {
        AppendMenu(c.WindowMenu, MF_SEPARATOR, 0, nullptr);
        c.SeparatorAdded = true;
    }
    for (size_t i = 0; i < c.Listed.size(); ++i) {
        const int length = GetWindowTextLength(c.Listed[i]);
        std::string caption(size_t(length) + 1, '\0');
        caption.resize(size_t(GetWindowText(c.Listed[i], caption.data(), length + 1)));
        const std::string number = std::to_string(i + 1);
        const std::string text = (i < 9 ? "&" + number : number) + " " + caption;
        AppendMenu(c.WindowMenu, MF_STRING | (c.Listed[i] == c.Active ? MF_CHECKED : MF_UNCHECKED),
            c.FirstChildId + UINT(i), text.c_str());
    }
}

void RefreshMenuOf(HWND client)
{
    if (TMDIClient* c = ClientOf(client))
        RefreshMenu(*c);
}

// --- Geometry ---

RECT ClientArea(HWND client)
{
    RECT r {};
    GetClientRect(client, &r);
    return r;
}

int CascadeStep()
{
    return GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFRAME) - 1;
}

// The place of the n-th window of a cascade: each one step further down and right, starting over when the
// cascade would run off the client, and all as large as the steps leave room for.
RECT CascadeSlot(HWND client, int n, int reservedBottom)
{
    RECT area = ClientArea(client);
    const int step = CascadeStep();
    if (area.bottom - reservedBottom >= step)
        area.bottom -= reservedBottom;
    const int steps = std::max(0, area.bottom / (3 * step));
    const int offset = step * (n % (steps + 1));
    return RECT { offset, offset, offset + area.right - steps * step, offset + area.bottom - steps * step };
}

int IconHeight()
{
    return GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFRAME);
}

// The minimized children in a row along the bottom, more rows upwards when one is full.
void ArrangeIcons(TMDIClient& c)
{
    if (c.Arranging)
        return;
    c.Arranging = true;
    const HWND client = c.Client;
    const std::vector<HWND> children = c.Children;
    const RECT area = ClientArea(client);
    const int perRow = std::max(1, int(area.right / kIconWidth));
    int n = 0;
    for (HWND child : children) {
        if (!IsWindow(child) || !IsIconic(child) || !IsWindowVisible(child))
            continue;
        const int x = (n % perRow) * kIconWidth;
        const int y = area.bottom - (n / perRow + 1) * IconHeight();
        SetWindowPos(child, nullptr, x, y, kIconWidth, IconHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
        ++n;
    }
    if (TMDIClient* again = ClientOf(client))
        again->Arranging = false;
}

bool HasIcons(const TMDIClient& c)
{
    return std::any_of(c.Children.begin(), c.Children.end(),
        [](HWND child) { return IsWindowVisible(child) && IsIconic(child); });
}

// The children a tile or cascade moves, top of the stacking order first.
std::vector<HWND> Arrangeable(const TMDIClient& c, WPARAM flags)
{
    std::vector<HWND> result;
    for (HWND child : StackingOrder(c))
        if (IsWindowVisible(child) && !IsIconic(child) && (!(flags & MDITILE_SKIPDISABLED) || IsWindowEnabled(child)))
            result.push_back(child);
    return result;
}

void Place(HWND child, int x, int y, int width, int height)
{
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    // A child that cannot be sized keeps its size.
    if (!(GetWindowLongPtr(child, GWL_STYLE) & WS_THICKFRAME))
        flags |= SWP_NOSIZE;
    SetWindowPos(child, nullptr, x, y, width, height, flags);
}

// --- Activation and window states ---

void Activate(HWND client, HWND child);

void RestoreMaximized(HWND client)
{
    if (TMDIClient* c = ClientOf(client); c && c->Active && IsZoomed(c->Active))
        ShowWindow(c->Active, SW_RESTORE);
}

void Activate(HWND client, HWND child)
{
    TMDIClient* c = ClientOf(client);
    if (!c || child == c->Active || (child && !Knows(*c, child)))
        return;
    const HWND old = c->Active && IsWindow(c->Active) ? c->Active : nullptr;
    const bool maximized = old && IsZoomed(old);
    const HWND focus = GetFocus();
    const bool focusInOld = old && (focus == old || IsChild(old, focus));
    c->Active = child;
    if (old) {
        SendMessage(old, WM_NCACTIVATE, FALSE, 0);
        SendMessage(old, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
    }
    const HWND frame = GetAncestor(client, GA_ROOT);
    const bool frameActive = frame && GetActiveWindow() == frame;
    if (child && IsWindow(child)) {
        // The maximized state passes to the new child.
        if (maximized && IsWindow(old) && IsZoomed(old))
            ShowWindow(old, SW_RESTORE);
        SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        if (maximized && IsWindow(child) && !IsZoomed(child))
            ShowWindow(child, SW_SHOWMAXIMIZED);
        SendMessage(child, WM_NCACTIVATE, TRUE, 0);
        SendMessage(child, WM_CHILDACTIVATE, 0, 0);
        SendMessage(child, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(old), reinterpret_cast<LPARAM>(child));
        const HWND now = GetFocus();
        if (frameActive && IsWindow(child) && now != child && !IsChild(child, now))
            SetFocus(child);
    } else if (focusInOld && IsWindow(client)) {
        // No child is left to take the keys: the client keeps them.
        SetFocus(client);
    }
    RefreshMenuOf(client);
}

// The next child after `from` in the stacking order that can be activated (wrapping round), or with
// `previous` the last one before it; `skipIconic` passes over minimized ones.
HWND Neighbour(const TMDIClient& c, HWND from, bool previous, bool skipIconic)
{
    std::vector<HWND> order = StackingOrder(c);
    if (previous)
        std::reverse(order.begin(), order.end());
    auto at = std::find(order.begin(), order.end(), from);
    const size_t start = at == order.end() ? 0 : size_t(at - order.begin()) + 1;
    for (size_t i = 0; i < order.size(); ++i) {
        HWND h = order[(start + i) % order.size()];
        if (h != from && CanActivate(h) && !(skipIconic && IsIconic(h)))
            return h;
    }
    return nullptr;
}

void Next(HWND client, HWND from, bool previous)
{
    TMDIClient* c = ClientOf(client);
    if (!c)
        return;
    if (!from)
        from = c->Active;
    if (!from || !Knows(*c, from))
        return;
    HWND to = Neighbour(*c, from, previous, false);
    if (!to)
        return;
    Activate(client, to);
    // Going forwards sends the window left behind to the back, so repeated steps visit every child.
    if (!previous && IsWindow(from))
        SetWindowPos(from, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// `child` leaves the client (destroyed or about to be): the next one is activated (maximized when it was),
// and the menu no longer lists it.
void Forget(HWND client, HWND child)
{
    TMDIClient* c = ClientOf(client);
    if (!c || !Knows(*c, child))
        return;
    if (c->Active == child) {
        const bool maximized = IsZoomed(child) != FALSE;
        HWND next = Neighbour(*c, child, false, false);
        c->Active = nullptr;
        std::erase(c->Children, child);
        if (next) {
            Activate(client, next);
            if (maximized && IsWindow(next) && !IsZoomed(next))
                ShowWindow(next, SW_SHOWMAXIMIZED);
        } else if (IsWindow(client)) {
            const HWND focus = GetFocus();
            if (focus == child || IsChild(child, focus))
                SetFocus(client);
        }
    } else {
        std::erase(c->Children, child);
    }
    RefreshMenuOf(client);
}

// A child was maximized: it is the only one so and becomes the active one.
void Maximized(HWND client, HWND child)
{
    TMDIClient* c = ClientOf(client);
    if (!c || !Knows(*c, child))
        return;
    for (HWND other : std::vector<HWND>(c->Children))
        if (other != child && IsWindow(other) && IsZoomed(other))
            ShowWindow(other, SW_RESTORE);
    Activate(client, child);
}

// A child was minimized: it joins the row of icons and hands the activation to a child that is not.
void Minimized(HWND client, HWND child)
{
    TMDIClient* c = ClientOf(client);
    if (!c || !Knows(*c, child))
        return;
    ArrangeIcons(*c);
    c = ClientOf(client);
    if (c && c->Active == child)
        if (HWND next = Neighbour(*c, child, false, true))
            Activate(client, next);
}

// --- Client messages ---

HWND CreateChild(HWND client, const MDICREATESTRUCT* cs)
{
    TMDIClient* c = ClientOf(client);
    if (!c || !cs) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    DWORD style = cs->style | WS_CHILD | WS_CLIPSIBLINGS;
    if (!(GetWindowLongPtr(client, GWL_STYLE) & MDIS_ALLCHILDSTYLES))
        style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    const bool visible = style & WS_VISIBLE;
    const bool wantMaximized = (style & WS_MAXIMIZE) || (c->Active && IsZoomed(c->Active));
    const bool wantMinimized = style & WS_MINIMIZE;
    style &= ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE | WS_POPUP);
    RECT r = CascadeSlot(client, int(c->Children.size()), HasIcons(*c) ? IconHeight() : 0);
    const int x = cs->x == CW_USEDEFAULT ? r.left : cs->x;
    const int y = cs->x == CW_USEDEFAULT ? r.top : cs->y;
    const int width = cs->cx == CW_USEDEFAULT ? r.right - r.left : cs->cx;
    const int height = cs->cx == CW_USEDEFAULT ? r.bottom - r.top : cs->cy;
    const UINT id = c->FirstChildId + UINT(c->Children.size());
    HWND child = CreateWindowEx(WS_EX_MDICHILD, cs->szClass, cs->szTitle, style, x, y, width, height, client,
        reinterpret_cast<HMENU>(uintptr_t(id)), cs->hOwner, const_cast<MDICREATESTRUCT*>(cs));
    if (!child)
        return nullptr;
    c = ClientOf(client);
    if (!c)
        return child;
    Adopt(*c, child);
    if (wantMinimized) {
        ShowWindow(child, SW_SHOWMINNOACTIVE);
    } else if (visible) {
        if (wantMaximized) {
            ShowWindow(child, SW_SHOWMAXIMIZED);
            Maximized(client, child);
        } else {
            ShowWindow(child, SW_SHOW);
        }
        Activate(client, child);
    }
    RefreshMenuOf(client);
    return child;
}

void DestroyChild(HWND client, HWND child)
{
    TMDIClient* c = ClientOf(client);
    if (!c || !Knows(*c, child))
        return;
    Forget(client, child);
    if (IsWindow(child))
        DestroyWindow(child);
}

BOOL Tile(HWND client, WPARAM flags)
{
    RestoreMaximized(client);
    TMDIClient* c = ClientOf(client);
    if (!c)
        return FALSE;
    const std::vector<HWND> windows = Arrangeable(*c, flags);
    const bool icons = HasIcons(*c);
    if (windows.empty())
        return FALSE;
    RECT area = ClientArea(client);
    if (icons && area.bottom - IconHeight() > 0)
        area.bottom -= IconHeight();
    const int total = int(windows.size());
    int rows = std::max(1, int(std::sqrt(double(total))));
    int columns = total / rows;
    if (flags & MDITILE_HORIZONTAL)
        std::swap(rows, columns);
    const int width = area.right / columns;
    size_t i = 0;
    for (int column = 0, x = 0; column < columns && i < windows.size(); ++column, x += width) {
        // The last column takes the windows that are left.
        const int inColumn = column == columns - 1 ? total - int(i) : rows;
        const int height = area.bottom / inColumn;
        for (int row = 0, y = 0; row < inColumn && i < windows.size(); ++row, y += height)
            Place(windows[i++], x, y, width, height);
    }
    if (icons)
        if (TMDIClient* again = ClientOf(client))
            ArrangeIcons(*again);
    return TRUE;
}

BOOL Cascade(HWND client, WPARAM flags)
{
    RestoreMaximized(client);
    TMDIClient* c = ClientOf(client);
    if (!c)
        return FALSE;
    const std::vector<HWND> windows = Arrangeable(*c, flags);
    const bool icons = HasIcons(*c);
    if (windows.empty())
        return FALSE;
    // The bottom window first, at the top-left corner; the top window ends in front.
    int n = 0;
    for (auto it = windows.rbegin(); it != windows.rend(); ++it, ++n) {
        const RECT r = CascadeSlot(client, n, icons ? IconHeight() : 0);
        Place(*it, r.left, r.top, r.right - r.left, r.bottom - r.top);
    }
    if (icons)
        if (TMDIClient* again = ClientOf(client))
            ArrangeIcons(*again);
    return TRUE;
}

LRESULT SetMenus(HWND client, HMENU frameMenu, HMENU windowMenu)
{
    TMDIClient* c = ClientOf(client);
    if (!c)
        return 0;
    const HMENU oldFrame = c->FrameMenu;
    if (frameMenu)
        c->FrameMenu = frameMenu;
    if (windowMenu && windowMenu != c->WindowMenu) {
        RemoveMenuItems(*c);
        c->WindowMenu = windowMenu;
    }
    RefreshMenu(*c);
    return reinterpret_cast<LRESULT>(oldFrame);
}

// The child under a press the client heard of through WM_PARENTNOTIFY.
void ActivateAt(HWND client, LPARAM lParam)
{
    const POINT p { GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam) };
    HWND child = ChildWindowFromPointEx(client, p, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
    if (child && child != client)
        Activate(client, child);
}

// A maximized child follows the client's size; the icons keep to its bottom.
void ClientSized(HWND client)
{
    TMDIClient* c = ClientOf(client);
    if (!c)
        return;
    if (c->Active && IsZoomed(c->Active)) {
        MINMAXINFO info {};
        SendMessage(c->Active, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
        SetWindowPos(c->Active, nullptr, info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxSize.x,
            info.ptMaxSize.y, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((c = ClientOf(client)))
        ArrangeIcons(*c);
}

LRESULT ClientWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCCREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCT*>(lParam);
        auto* c = new TMDIClient;
        c->Client = hwnd;
        if (const auto* params = create ? static_cast<const CLIENTCREATESTRUCT*>(create->lpCreateParams) : nullptr) {
            c->WindowMenu = params->hWindowMenu;
            c->FirstChildId = params->idFirstChild;
        }
        SetWindowLongPtr(hwnd, 0, reinterpret_cast<LONG_PTR>(c));
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_NCDESTROY: {
        auto* c = reinterpret_cast<TMDIClient*>(GetWindowLongPtr(hwnd, 0));
        SetWindowLongPtr(hwnd, 0, 0);
        if (c)
            RemoveMenuItems(*c);
        delete c;
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    case WM_MDICREATE:
        return reinterpret_cast<LRESULT>(CreateChild(hwnd, reinterpret_cast<const MDICREATESTRUCT*>(lParam)));
    case WM_MDIDESTROY:
        DestroyChild(hwnd, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_MDIACTIVATE:
        Activate(hwnd, reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_MDINEXT:
        Next(hwnd, reinterpret_cast<HWND>(wParam), lParam != 0);
        return 0;
    case WM_MDIMAXIMIZE:
        if (TMDIClient* c = ClientOf(hwnd); c && Knows(*c, reinterpret_cast<HWND>(wParam))) {
            ShowWindow(reinterpret_cast<HWND>(wParam), SW_SHOWMAXIMIZED);
            Maximized(hwnd, reinterpret_cast<HWND>(wParam));
        }
        return 0;
    case WM_MDIRESTORE:
        if (TMDIClient* c = ClientOf(hwnd); c && Knows(*c, reinterpret_cast<HWND>(wParam)))
            ShowWindow(reinterpret_cast<HWND>(wParam), SW_RESTORE);
        return 0;
    case WM_MDITILE:
        return Tile(hwnd, wParam);
    case WM_MDICASCADE:
        return Cascade(hwnd, wParam);
    case WM_MDIICONARRANGE:
        if (TMDIClient* c = ClientOf(hwnd))
            ArrangeIcons(*c);
        return 0;
    case WM_MDIGETACTIVE: {
        TMDIClient* c = ClientOf(hwnd);
        const HWND active = c ? c->Active : nullptr;
        if (auto* maximized = reinterpret_cast<BOOL*>(lParam))
            *maximized = active && IsZoomed(active) ? TRUE : FALSE;
        return reinterpret_cast<LRESULT>(active);
    }
    case WM_MDISETMENU:
        return SetMenus(hwnd, reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam));
    case WM_MDIREFRESHMENU: {
        TMDIClient* c = ClientOf(hwnd);
        if (!c)
            return 0;
        RefreshMenu(*c);
        return reinterpret_cast<LRESULT>(c->FrameMenu);
    }
    case WM_PARENTNOTIFY:
        if (const UINT event = LOWORD(wParam); event == WM_LBUTTONDOWN || event == WM_RBUTTONDOWN || event == WM_MBUTTONDOWN)
            ActivateAt(hwnd, lParam);
        return 0;
    case WM_SETFOCUS:
        if (TMDIClient* c = ClientOf(hwnd); c && c->Active && IsWindow(c->Active))
            SetFocus(c->Active);
        return 0;
    case WM_SIZE:
        ClientSized(hwnd);
        return DefWindowProc(hwnd, message, wParam, lParam);
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

} // namespace

namespace WinCore {

void RegisterMDIClientClass()
{
    WNDCLASS wc {};
    if (GetClassInfo(nullptr, kClientClass, &wc))
        return;
    wc.lpfnWndProc = &ClientWindowProc;
    wc.cbWndExtra = sizeof(TMDIClient*);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    // A system colour index plus one stands for that colour's brush.
    wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_APPWORKSPACE) + 1);
    wc.lpszClassName = kClientClass;
    RegisterClass(&wc);
}

} // namespace WinCore

// --- Frames and children ---

LRESULT DefFrameProc(HWND frame, HWND client, UINT message, WPARAM wParam, LPARAM lParam)
{
    TMDIClient* c = ClientOf(client);
    if (!c)
        return DefWindowProc(frame, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND: {
        const UINT id = LOWORD(wParam);
        if (HIWORD(wParam) == 0 && id >= c->FirstChildId && id < c->FirstChildId + c->Listed.size()) {
            const HWND child = c->Listed[id - c->FirstChildId];
            if (IsIconic(child))
                ShowWindow(child, SW_RESTORE);
            Activate(client, child);
            return 0;
        }
        break;
    }
    case WM_SETFOCUS:
        SetFocus(client);
        return 0;
    case WM_SIZE:
        MoveWindow(client, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    default:
        break;
    }
    return DefWindowProc(frame, message, wParam, lParam);
}

LRESULT DefMDIChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND client = GetParent(hwnd);
    TMDIClient* c = ClientOfChild(hwnd);
    if (!c)
        return DefWindowProc(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        Adopt(*c, hwnd);
        break;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
        RefreshMenuOf(client);
        return result;
    }
    case WM_SHOWWINDOW: {
        const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
        if (!(c = ClientOf(client)))
            return result;
        if (!wParam && c->Active == hwnd)
            Activate(client, Neighbour(*c, hwnd, false, false));
        if ((c = ClientOf(client)))
            RefreshMenu(*c, hwnd, wParam != 0);
        return result;
    }
    case WM_CLOSE:
        SendMessage(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd), 0);
        return 0;
    case WM_CHILDACTIVATE:
        Activate(client, hwnd);
        return 0;
    case WM_SETFOCUS:
        if (c->Active != hwnd)
            Activate(client, hwnd);
        break;
    case WM_GETMINMAXINFO: {
        const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
        // Maximized, the frame lies just outside the client, so the child's client area covers it.
        if (auto* info = reinterpret_cast<MINMAXINFO*>(lParam)) {
            RECT frame = ClientArea(client);
            AdjustWindowRectEx(&frame, DWORD(GetWindowLongPtr(hwnd, GWL_STYLE)), FALSE,
                DWORD(GetWindowLongPtr(hwnd, GWL_EXSTYLE)));
            info->ptMaxPosition = POINT { frame.left, frame.top };
            info->ptMaxSize = POINT { frame.right - frame.left, frame.bottom - frame.top };
            info->ptMaxTrackSize.x = std::max(info->ptMaxTrackSize.x, info->ptMaxSize.x);
            info->ptMaxTrackSize.y = std::max(info->ptMaxTrackSize.y, info->ptMaxSize.y);
        }
        return result;
    }
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_NEXTWINDOW:
            Next(client, hwnd, false);
            return 0;
        case SC_PREVWINDOW:
            Next(client, hwnd, true);
            return 0;
        default:
            break;
        }
        break;
    case WM_SIZE: {
        const LRESULT result = DefWindowProc(hwnd, message, wParam, lParam);
        if (wParam == SIZE_MAXIMIZED)
            Maximized(client, hwnd);
        else if (wParam == SIZE_MINIMIZED)
            Minimized(client, hwnd);
        return result;
    }
    case WM_DESTROY:
        Forget(client, hwnd);
        break;
    default:
        break;
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND CreateMDIWindow(const char* className, const char* windowName, DWORD style, int x, int y, int width,
    int height, HWND client, HINSTANCE instance, LPARAM lParam)
{
    MDICREATESTRUCT cs { className, windowName, instance, x, y, width, height, style, lParam };
    return reinterpret_cast<HWND>(SendMessage(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&cs)));
}

BOOL TranslateMDISysAccel(HWND client, MSG* msg)
{
    TMDIClient* c = ClientOf(client);
    if (!c || !msg || !c->Active || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN))
        return FALSE;
    if (GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0)
        return FALSE;
    switch (msg->wParam) {
    case VK_F6:
    case VK_TAB:
        SendMessage(client, WM_MDINEXT, reinterpret_cast<WPARAM>(c->Active), GetKeyState(VK_SHIFT) < 0 ? 1 : 0);
        return TRUE;
    case VK_F4:
        SendMessage(c->Active, WM_SYSCOMMAND, SC_CLOSE, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

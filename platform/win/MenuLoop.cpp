// TrackPopupMenu: the popup menu windows, their layout and painting, and the modal loop that reads the mouse and
// the keys until an item is chosen or the menu is cancelled.
#include "platform/win/MenuRecords.h"
#include "platform/win/PlatformState.h"
#include "platform/win/WindowSurface.h"

#include <algorithm>
#include <cctype>

using namespace WinCore;

TMenuPainter::~TMenuPainter() = default;

namespace {

constexpr const char* kMenuClass = "#32768";
// The frame around the items, and the columns left of the text (check marks) and right of it (submenu arrows).
constexpr int kBorder = 3;
constexpr int kMarkColumn = 18;
constexpr int kSeparatorHeight = 9;

TMenuPainter* GPainter = nullptr;

// One open menu: its window and where its items are (client coordinates).
struct TLevel {
    HMENU Menu = nullptr;
    HWND Window = nullptr;
    std::vector<RECT> Items;
    int Hot = -1;
    // The item of the level above that opened this one.
    int ParentItem = 0;
};

struct TMenuLoop {
    HWND Owner = nullptr;
    UINT Flags = 0;
    std::vector<TLevel> Levels;
    bool Done = false;
    bool Chose = false;
    UINT Chosen = 0;
};

TMenuLoop* GLoop = nullptr;

TMenuItemView ViewOf(const TMenuItemRecord& item, bool hot)
{
    TMenuItemView view;
    view.Text = item.Text.c_str();
    view.Separator = item.IsSeparator();
    view.Enabled = item.IsEnabled();
    view.Checked = (item.State & MFS_CHECKED) != 0;
    view.RadioCheck = (item.Type & MFT_RADIOCHECK) != 0;
    view.Default = (item.State & MFS_DEFAULT) != 0;
    view.HasSubmenu = item.Submenu != nullptr;
    view.Hot = hot;
    return view;
}

SIZE MeasureItem(const TMenuItemRecord& item)
{
    if (item.IsSeparator())
        return SIZE { 0, kSeparatorHeight };
    if (GPainter)
        return GPainter->MeasureMenuItem(ViewOf(item, false));
    return SIZE { LONG(item.Text.size() * 7), 18 };
}

const TLevel* LevelOfWindow(HWND hwnd)
{
    if (!GLoop)
        return nullptr;
    for (const TLevel& level : GLoop->Levels)
        if (level.Window == hwnd)
            return &level;
    return nullptr;
}

void PaintLevel(HWND hwnd)
{
    PAINTSTRUCT paint {};
    HDC dc = BeginPaint(hwnd, &paint);
    RECT client {};
    GetClientRect(hwnd, &client);
    const TLevel* level = LevelOfWindow(hwnd);
    TMenuRecord* menu = level ? FindMenu(level->Menu) : nullptr;
    if (GPainter && dc) {
        GPainter->PaintMenuFrame(dc, client);
    } else {
        FillWindowRect(hwnd, true, client, GetSysColor(COLOR_MENU));
    }
    if (menu)
        for (size_t i = 0; i < menu->Items.size() && i < level->Items.size(); ++i) {
            const bool hot = int(i) == level->Hot;
            if (GPainter && dc)
                GPainter->PaintMenuItem(dc, level->Items[i], ViewOf(menu->Items[i], hot));
            else if (hot && !menu->Items[i].IsSeparator())
                FillWindowRect(hwnd, true, level->Items[i], GetSysColor(COLOR_HIGHLIGHT));
        }
    EndPaint(hwnd, &paint);
}

LRESULT MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_PAINT:
        PaintLevel(hwnd);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

bool EnsureMenuClass()
{
    WNDCLASS wc {};
    if (GetClassInfo(nullptr, kMenuClass, &wc))
        return true;
    wc.style = CS_SAVEBITS | CS_DROPSHADOW;
    wc.lpfnWndProc = &MenuWindowProc;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kMenuClass;
    return RegisterClass(&wc) != 0;
}

RECT WorkAreaAt(POINT p)
{
    MONITORINFO info {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfo(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &info))
        return RECT { 0, 0, 1024, 768 };
    return info.rcWork;
}

// Lays the items out; returns the window size.
SIZE Layout(TLevel& level, const TMenuRecord& menu)
{
    int width = 0;
    int y = kBorder;
    level.Items.clear();
    for (const TMenuItemRecord& item : menu.Items) {
        const SIZE size = MeasureItem(item);
        width = std::max<int>(width, size.cx);
        level.Items.push_back(RECT { kBorder, y, 0, y + size.cy });
        y += size.cy;
    }
    const int total = width + 2 * kMarkColumn + 2 * kBorder;
    for (RECT& r : level.Items)
        r.right = total - kBorder;
    return SIZE { total, y + kBorder };
}

// Where a window of `size` goes at `anchor` with the alignment flags, kept inside the work area and off `exclude`.
POINT Place(POINT anchor, SIZE size, UINT flags, const RECT* exclude)
{
    POINT p = anchor;
    if (flags & TPM_CENTERALIGN)
        p.x -= size.cx / 2;
    else if (flags & TPM_RIGHTALIGN)
        p.x -= size.cx;
    if (flags & TPM_VCENTERALIGN)
        p.y -= size.cy / 2;
    else if (flags & TPM_BOTTOMALIGN)
        p.y -= size.cy;
    const RECT work = WorkAreaAt(anchor);
    if (p.x + size.cx > work.right)
        p.x = (flags & TPM_RIGHTALIGN) ? work.right - size.cx : std::max<LONG>(anchor.x - size.cx, work.right - size.cx);
    if (p.y + size.cy > work.bottom)
        p.y = std::max<LONG>(anchor.y - size.cy, work.bottom - size.cy);
    p.x = std::max(p.x, work.left);
    p.y = std::max(p.y, work.top);
    if (exclude) {
        RECT mine { p.x, p.y, p.x + size.cx, p.y + size.cy };
        RECT overlap {};
        if (IntersectRect(&overlap, &mine, exclude)) {
            // Below the rectangle, else above it.
            p.y = exclude->bottom + size.cy <= work.bottom ? exclude->bottom : exclude->top - size.cy;
        }
    }
    return p;
}

// Opens `menu` as a new level; `parentItem` is its position in the level above.
bool OpenLevel(TMenuLoop& loop, HMENU menu, POINT anchor, UINT flags, const RECT* exclude, int parentItem)
{
    if (!(loop.Flags & TPM_NONOTIFY) || loop.Levels.empty())
        SendMessage(loop.Owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(parentItem, FALSE));
    TMenuRecord* record = FindMenu(menu);
    if (!record || loop.Done)
        return false;
    TLevel level;
    level.Menu = menu;
    level.ParentItem = parentItem;
    const SIZE size = Layout(level, *record);
    const POINT at = Place(anchor, size, flags, exclude);
    level.Window = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kMenuClass, "", WS_POPUP, at.x, at.y, size.cx,
        size.cy, loop.Owner, nullptr, nullptr, nullptr);
    if (!level.Window)
        return false;
    loop.Levels.push_back(std::move(level));
    SetWindowPos(loop.Levels.back().Window, HWND_TOPMOST, 0, 0, 0, 0,
        SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return true;
}

void CloseLevelsFrom(TMenuLoop& loop, size_t first)
{
    while (loop.Levels.size() > first) {
        TLevel level = loop.Levels.back();
        loop.Levels.pop_back();
        DestroyWindow(level.Window);
        SendMessage(loop.Owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(level.Menu), 0);
    }
    // The capture stays with the root menu window while it is open.
    if (!loop.Levels.empty() && GetCapture() != loop.Levels.front().Window)
        SetCapture(loop.Levels.front().Window);
}

void Redraw(const TLevel& level)
{
    InvalidateRect(level.Window, nullptr, FALSE);
}

void SetHot(TMenuLoop& loop, size_t depth, int item, bool byMouse)
{
    TLevel& level = loop.Levels[depth];
    if (level.Hot == item)
        return;
    level.Hot = item;
    Redraw(level);
    TMenuRecord* menu = FindMenu(level.Menu);
    if (!menu || item < 0 || size_t(item) >= menu->Items.size())
        return;
    const TMenuItemRecord& it = menu->Items[size_t(item)];
    UINT flags = it.Type | it.State | MF_HILITE | (byMouse ? MF_MOUSESELECT : 0) | (it.Submenu ? MF_POPUP : 0);
    const UINT id = it.Submenu ? UINT(item) : it.Id;
    SendMessage(loop.Owner, WM_MENUSELECT, MAKEWPARAM(id, flags), reinterpret_cast<LPARAM>(level.Menu));
}

const TMenuItemRecord* HotItem(const TMenuLoop& loop, size_t depth)
{
    const TLevel& level = loop.Levels[depth];
    TMenuRecord* menu = FindMenu(level.Menu);
    if (!menu || level.Hot < 0 || size_t(level.Hot) >= menu->Items.size())
        return nullptr;
    return &menu->Items[size_t(level.Hot)];
}

// Opens the submenu of the hot item of level `depth` unless it is open already; `selectFirst` highlights its first
// item (keyboard).
void OpenHotSubmenu(TMenuLoop& loop, size_t depth, bool selectFirst);

void Choose(TMenuLoop& loop, const TMenuItemRecord& item)
{
    loop.Chose = true;
    loop.Chosen = item.Id;
    loop.Done = true;
}

void Cancel(TMenuLoop& loop)
{
    loop.Done = true;
}

// The next item from `from` in `step` direction that is not a separator (round the ends); -1 when there is none.
int NextItem(const TMenuRecord& menu, int from, int step)
{
    const int count = int(menu.Items.size());
    if (count == 0)
        return -1;
    int i = from;
    for (int n = 0; n < count; ++n) {
        i = from < 0 && n == 0 ? (step > 0 ? 0 : count - 1) : (i + step + count) % count;
        if (!menu.Items[size_t(i)].IsSeparator())
            return i;
    }
    return -1;
}

void OpenHotSubmenu(TMenuLoop& loop, size_t depth, bool selectFirst)
{
    const TMenuItemRecord* item = HotItem(loop, depth);
    if (!item || !item->Submenu || !item->IsEnabled())
        return;
    if (loop.Levels.size() > depth + 1 && loop.Levels[depth + 1].Menu == item->Submenu)
        return;
    CloseLevelsFrom(loop, depth + 1);
    const TLevel& level = loop.Levels[depth];
    RECT window {};
    GetWindowRect(level.Window, &window);
    const RECT& r = level.Items[size_t(level.Hot)];
    const POINT anchor { window.left + r.right, window.top + r.top - kBorder };
    const HMENU submenu = item->Submenu;
    const int position = level.Hot;
    if (!OpenLevel(loop, submenu, anchor, TPM_LEFTALIGN | TPM_TOPALIGN, nullptr, position))
        return;
    // A submenu that does not fit right of its parent opens to the left of it.
    RECT opened {};
    GetWindowRect(loop.Levels.back().Window, &opened);
    if (opened.left < anchor.x)
        SetWindowPos(loop.Levels.back().Window, nullptr, window.left + kBorder - (opened.right - opened.left),
            opened.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (selectFirst)
        if (TMenuRecord* menu = FindMenu(submenu))
            SetHot(loop, loop.Levels.size() - 1, NextItem(*menu, -1, 1), false);
}

// The level and item under a screen point, from the top-most level down; false outside every menu.
bool HitTest(const TMenuLoop& loop, POINT screen, size_t& depth, int& item)
{
    for (size_t d = loop.Levels.size(); d-- > 0;) {
        const TLevel& level = loop.Levels[d];
        RECT window {};
        GetWindowRect(level.Window, &window);
        if (!PtInRect(&window, screen))
            continue;
        depth = d;
        item = -1;
        const POINT local { screen.x - window.left, screen.y - window.top };
        for (size_t i = 0; i < level.Items.size(); ++i)
            if (PtInRect(&level.Items[i], local))
                item = int(i);
        return true;
    }
    return false;
}

void HandleMouse(TMenuLoop& loop, const MSG& msg)
{
    size_t depth = 0;
    int item = -1;
    const bool inside = HitTest(loop, msg.pt, depth, item);
    const UINT m = msg.message;
    const bool press = m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_LBUTTONDBLCLK
        || m == WM_RBUTTONDBLCLK;
    const bool release = m == WM_LBUTTONUP || (m == WM_RBUTTONUP && (loop.Flags & TPM_RIGHTBUTTON));
    if (!inside) {
        if (press)
            Cancel(loop);
        else if (m == WM_MOUSEMOVE && loop.Levels.size() > 0) {
            // Leaving the menus drops the highlight of the innermost one, unless it leads to an open submenu.
            const size_t last = loop.Levels.size() - 1;
            SetHot(loop, last, -1, true);
        }
        return;
    }
    TMenuRecord* menu = FindMenu(loop.Levels[depth].Menu);
    const TMenuItemRecord* it = menu && item >= 0 ? &menu->Items[size_t(item)] : nullptr;
    if (it && it->IsSeparator())
        it = nullptr, item = -1;
    if (m == WM_MOUSEMOVE || press) {
        // Moving into a level closes the submenus below it that the new item does not lead to.
        if (loop.Levels.size() > depth + 1 && (!it || it->Submenu != loop.Levels[depth + 1].Menu))
            CloseLevelsFrom(loop, depth + 1);
        if (item >= 0 || loop.Levels.size() == depth + 1)
            SetHot(loop, depth, item, true);
        if (it && it->Submenu)
            OpenHotSubmenu(loop, depth, false);
        return;
    }
    if (release && it && !it->Submenu && it->IsEnabled())
        Choose(loop, *it);
}

void HandleKey(TMenuLoop& loop, UINT vk)
{
    const size_t depth = loop.Levels.size() - 1;
    TLevel& level = loop.Levels[depth];
    TMenuRecord* menu = FindMenu(level.Menu);
    if (!menu) {
        Cancel(loop);
        return;
    }
    switch (vk) {
    case VK_DOWN:
    case VK_UP:
        SetHot(loop, depth, NextItem(*menu, level.Hot, vk == VK_DOWN ? 1 : -1), false);
        break;
    case VK_RIGHT:
        OpenHotSubmenu(loop, depth, true);
        break;
    case VK_LEFT:
        if (depth > 0)
            CloseLevelsFrom(loop, depth);
        break;
    case VK_RETURN:
        if (const TMenuItemRecord* it = HotItem(loop, depth)) {
            if (it->Submenu)
                OpenHotSubmenu(loop, depth, true);
            else if (it->IsEnabled())
                Choose(loop, *it);
        }
        break;
    case VK_ESCAPE:
        if (depth > 0)
            CloseLevelsFrom(loop, depth);
        else
            Cancel(loop);
        break;
    case VK_MENU:
    case VK_F10:
        Cancel(loop);
        break;
    default:
        break;
    }
}

void HandleChar(TMenuLoop& loop, uint32_t ch)
{
    if (ch < 32 || ch > 127)
        return;
    const size_t depth = loop.Levels.size() - 1;
    TLevel& level = loop.Levels[depth];
    TMenuRecord* menu = FindMenu(level.Menu);
    if (!menu)
        return;
    const char key = char(std::toupper(int(ch)));
    std::vector<int> matches;
    for (size_t i = 0; i < menu->Items.size(); ++i)
        if (!menu->Items[i].IsSeparator() && MenuMnemonic(menu->Items[i].Text) == key)
            matches.push_back(int(i));
    if (matches.empty())
        return;
    if (matches.size() > 1) {
        // Several items share the letter: each press moves to the next of them.
        auto next = std::upper_bound(matches.begin(), matches.end(), level.Hot);
        SetHot(loop, depth, next == matches.end() ? matches.front() : *next, false);
        return;
    }
    SetHot(loop, depth, matches.front(), false);
    const TMenuItemRecord& it = menu->Items[size_t(matches.front())];
    if (it.Submenu)
        OpenHotSubmenu(loop, depth, true);
    else if (it.IsEnabled())
        Choose(loop, it);
}

bool IsMouseMessage(UINT m)
{
    return m >= WM_MOUSEFIRST && m <= WM_MOUSELAST;
}

bool IsKeyMessage(UINT m)
{
    return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_CHAR || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP
        || m == WM_SYSCHAR || m == WM_DEADCHAR || m == WM_SYSDEADCHAR;
}

void RunLoop(TMenuLoop& loop)
{
    bool idleSent = false;
    while (!loop.Done) {
        if (!IsWindow(loop.Owner) || loop.Levels.empty() || GetCapture() != loop.Levels.front().Window) {
            Cancel(loop);
            break;
        }
        MSG msg;
        if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // Tell the owner once per idle spell; it may end the menu from there.
            if (!idleSent) {
                idleSent = true;
                SendMessage(loop.Owner, WM_ENTERIDLE, MSGF_MENU, reinterpret_cast<LPARAM>(loop.Levels.front().Window));
                continue;
            }
            WaitMessage();
            continue;
        }
        idleSent = false;
        if (msg.message == WM_QUIT) {
            // The application is ending: leave the menu and let the outer loop see the quit.
            PostQuitMessage(int(msg.wParam));
            Cancel(loop);
            break;
        }
        if (IsMouseMessage(msg.message) && msg.message != WM_MOUSEWHEEL) {
            HandleMouse(loop, msg);
            continue;
        }
        if (IsKeyMessage(msg.message)) {
            if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
                TranslateMessage(&msg);
                HandleKey(loop, UINT(msg.wParam));
            } else if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) {
                HandleChar(loop, uint32_t(msg.wParam));
            }
            continue;
        }
        DispatchMessage(&msg);
    }
}

} // namespace

void SetMenuPainter(TMenuPainter* painter)
{
    GPainter = painter;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*)
{
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params)
{
    if (!Ready())
        return FALSE;
    if (!FindMenu(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (GLoop && !(flags & TPM_RECURSE)) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    if (!EnsureMenuClass())
        return FALSE;
    TMenuLoop loop;
    loop.Owner = owner;
    loop.Flags = flags;
    TMenuLoop* outer = std::exchange(GLoop, &loop);
    // A recursive menu takes the input from the one it opened from.
    SendMessage(owner, WM_ENTERMENULOOP, TRUE, 0);
    if (OpenLevel(loop, menu, POINT { x, y }, flags, params ? &params->rcExclude : nullptr, 0)) {
        SetCapture(loop.Levels.front().Window);
        RunLoop(loop);
    }
    const HWND root = loop.Levels.empty() ? nullptr : loop.Levels.front().Window;
    CloseLevelsFrom(loop, 0);
    if (root && GetCapture() == nullptr && outer && !outer->Levels.empty())
        SetCapture(outer->Levels.front().Window);
    GLoop = outer;
    if (IsWindow(owner)) {
        SendMessage(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        SendMessage(owner, WM_EXITMENULOOP, TRUE, 0);
        if (loop.Chose && !(flags & (TPM_RETURNCMD | TPM_NONOTIFY)))
            PostMessage(owner, WM_COMMAND, MAKEWPARAM(loop.Chosen, 0), 0);
    }
    if (flags & TPM_RETURNCMD)
        return loop.Chose ? BOOL(loop.Chosen) : 0;
    return TRUE;
}

BOOL GetMenuItemRect(HWND, HMENU menu, UINT position, RECT* rect)
{
    if (!GLoop || !rect)
        return FALSE;
    for (const TLevel& level : GLoop->Levels) {
        if (level.Menu != menu || position >= level.Items.size())
            continue;
        RECT window {};
        GetWindowRect(level.Window, &window);
        *rect = level.Items[position];
        OffsetRect(rect, window.left, window.top);
        return TRUE;
    }
    return FALSE;
}

BOOL EndMenu()
{
    if (!GLoop)
        return FALSE;
    GLoop->Done = true;
    // Wakes a loop that waits for input.
    PostMessage(GLoop->Owner, WM_NULL, 0, 0);
    return TRUE;
}

// The handle table, the window tree and the calls that only read them.
#include "platform/win/EntryChecks.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {

// Handle value: generation in the high 32 bits, slot index above the tag bits 2 (GDI handles carry 1).
constexpr uintptr_t kWindowTag = 2;

HWND Encode(uint32_t index, uint32_t generation)
{
    return reinterpret_cast<HWND>((uintptr_t(generation) << 32) | (uintptr_t(index) << 2) | kWindowTag);
}

bool Decode(HWND hwnd, uint32_t& index, uint32_t& generation)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(hwnd);
    if ((value & 3) != kWindowTag)
        return false;
    index = static_cast<uint32_t>((value & 0xFFFFFFFFu) >> 2);
    generation = static_cast<uint32_t>(value >> 32);
    return true;
}

// The slot of a valid handle, or null; the caller holds the table lock.
TPlatformState::TSlot* LockedSlot(TPlatformState& s, HWND hwnd)
{
    uint32_t index;
    uint32_t generation;
    if (!Decode(hwnd, index, generation) || index >= s.Slots.size() || s.Slots[index].Generation != generation)
        return nullptr;
    return &s.Slots[index];
}

} // namespace

namespace WinCore {

HWND AllocateHandle(const std::shared_ptr<TWindowRecord>& record)
{
    TPlatformState& s = *GPlatform;
    std::lock_guard lock(s.TableLock);
    uint32_t index;
    if (!s.FreeSlots.empty()) {
        index = s.FreeSlots.back();
        s.FreeSlots.pop_back();
    } else {
        index = static_cast<uint32_t>(s.Slots.size());
        s.Slots.emplace_back();
    }
    s.Slots[index].Record = record;
    return Encode(index, s.Slots[index].Generation);
}

void ReleaseHandle(HWND hwnd)
{
    TPlatformState& s = *GPlatform;
    std::shared_ptr<TWindowRecord> released;
    {
        std::lock_guard lock(s.TableLock);
        uint32_t index;
        uint32_t generation;
        if (!Decode(hwnd, index, generation) || index >= s.Slots.size() || s.Slots[index].Generation != generation)
            return;
        released = std::move(s.Slots[index].Record);
        ++s.Slots[index].Generation;
        s.FreeSlots.push_back(index);
    }
    // The record itself lives on while a message to it is still being handled (Deliver holds a reference).
}

std::shared_ptr<TWindowRecord> FindShared(HWND hwnd)
{
    TPlatformState* s = GPlatform;
    if (!s || !hwnd)
        return nullptr;
    std::lock_guard lock(s->TableLock);
    TPlatformState::TSlot* slot = LockedSlot(*s, hwnd);
    return slot ? slot->Record : nullptr;
}

TWindowRecord* Find(HWND hwnd)
{
    // The table keeps the record alive as long as the handle is valid, so the record is read in place: windows
    // are looked up on nearly every call, and a shared copy would cost two atomic operations each time.
    TPlatformState* s = GPlatform;
    if (!s || !hwnd)
        return nullptr;
    std::lock_guard lock(s->TableLock);
    TPlatformState::TSlot* slot = LockedSlot(*s, hwnd);
    TWindowRecord* record = slot ? slot->Record.get() : nullptr;
    return record && !record->Destroyed ? record : nullptr;
}

TWindowRecord* Need(HWND hwnd)
{
    return NeedWindow(hwnd);
}

bool IsPseudoWindow(const TWindowRecord* w)
{
    return w->IsDesktop || w->IsMessageRoot;
}

bool IsTopLevel(const TWindowRecord* w)
{
    return w->Parent && w->Parent->IsDesktop;
}

bool IsChildWindow(const TWindowRecord* w)
{
    return w->Parent && !w->Parent->IsDesktop && !w->Parent->IsMessageRoot;
}

bool IsMessageOnly(const TWindowRecord* w)
{
    for (const TWindowRecord* p = w; p; p = p->Parent)
        if (p->IsMessageRoot)
            return true;
    return false;
}

TWindowRecord* RootOf(TWindowRecord* w)
{
    while (w && IsChildWindow(w))
        w = w->Parent;
    return w;
}

bool IsAncestorOf(const TWindowRecord* ancestor, const TWindowRecord* w)
{
    for (const TWindowRecord* p = w ? w->Parent : nullptr; p; p = p->Parent)
        if (p == ancestor)
            return true;
    return false;
}

bool IsVisibleChain(const TWindowRecord* w)
{
    for (const TWindowRecord* p = w; p && !p->IsDesktop; p = p->Parent) {
        if (p->IsMessageRoot || !(p->Style & WS_VISIBLE))
            return false;
    }
    return w != nullptr;
}

POINT WindowOrigin(const TWindowRecord* w)
{
    if (!w || w->IsDesktop || w->IsMessageRoot)
        return POINT { 0, 0 };
    if (IsTopLevel(w) || !w->Parent)
        return POINT { w->Window.left, w->Window.top };
    const POINT parent = ClientOrigin(w->Parent);
    return POINT { parent.x + w->Window.left, parent.y + w->Window.top };
}

POINT ClientOrigin(const TWindowRecord* w)
{
    if (!w || w->IsDesktop || w->IsMessageRoot)
        return POINT { 0, 0 };
    const POINT origin = WindowOrigin(w);
    return POINT { origin.x + w->Client.left, origin.y + w->Client.top };
}

RECT WindowScreenRect(const TWindowRecord* w)
{
    const POINT origin = WindowOrigin(w);
    return RECT { origin.x, origin.y, origin.x + RectWidth(w->Window), origin.y + RectHeight(w->Window) };
}

RECT ClientScreenRect(const TWindowRecord* w)
{
    const POINT origin = ClientOrigin(w);
    return RECT { origin.x, origin.y, origin.x + RectWidth(w->Client), origin.y + RectHeight(w->Client) };
}

std::vector<TWindowRecord*>& TopLevels()
{
    return GPlatform->Desktop->Children;
}

void ForEachDescendant(TWindowRecord* w, const std::function<void(TWindowRecord*)>& f)
{
    // Copied first: the callback may change the tree.
    const std::vector<TWindowRecord*> children = w->Children;
    for (TWindowRecord* child : children) {
        f(child);
        ForEachDescendant(child, f);
    }
}

} // namespace WinCore

using namespace WinCore;

BOOL IsWindow(HWND hwnd)
{
    std::shared_ptr<TWindowRecord> record = FindShared(hwnd);
    return record && !record->Destroyed && !record->IsMessageRoot ? TRUE : FALSE;
}

HWND GetDesktopWindow()
{
    return GPlatform ? GPlatform->Desktop->Handle : nullptr;
}

HWND GetParent(HWND hwnd)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return nullptr;
    if (IsChildWindow(w))
        return w->Parent->Handle;
    return w->Owner ? w->Owner->Handle : nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return nullptr;
    switch (flags) {
    case GA_PARENT:
        return w->Parent && !w->Parent->IsMessageRoot ? w->Parent->Handle : nullptr;
    case GA_ROOT:
        return RootOf(w)->Handle;
    case GA_ROOTOWNER: {
        TWindowRecord* root = RootOf(w);
        while (root->Owner)
            root = root->Owner;
        return root->Handle;
    }
    default:
        return nullptr;
    }
}

HWND GetWindow(HWND hwnd, UINT command)
{
    TWindowRecord* w = NeedWindowOrDesktop(hwnd);
    if (!w)
        return nullptr;
    auto siblingsOf
        = [](TWindowRecord* x) -> std::vector<TWindowRecord*>* { return x->Parent ? &x->Parent->Children : nullptr; };
    switch (command) {
    case GW_CHILD:
        return w->Children.empty() ? nullptr : w->Children.front()->Handle;
    case GW_OWNER:
        return w->Owner ? w->Owner->Handle : nullptr;
    case GW_HWNDFIRST:
    case GW_HWNDLAST: {
        auto* siblings = siblingsOf(w);
        if (!siblings || siblings->empty())
            return nullptr;
        return (command == GW_HWNDFIRST ? siblings->front() : siblings->back())->Handle;
    }
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
        auto* siblings = siblingsOf(w);
        if (!siblings)
            return nullptr;
        auto it = std::find(siblings->begin(), siblings->end(), w);
        if (it == siblings->end())
            return nullptr;
        if (command == GW_HWNDNEXT)
            return ++it == siblings->end() ? nullptr : (*it)->Handle;
        return it == siblings->begin() ? nullptr : (*--it)->Handle;
    }
    case GW_ENABLEDPOPUP:
        for (TWindowRecord* top : TopLevels())
            if (top->Owner == w && (top->Style & WS_VISIBLE) && !(top->Style & WS_DISABLED))
                return top->Handle;
        return nullptr;
    default:
        SetLastError(ERROR_INVALID_GW_COMMAND);
        return nullptr;
    }
}

HWND GetTopWindow(HWND hwnd)
{
    if (!Ready())
        return nullptr;
    TWindowRecord* w = hwnd ? Find(hwnd) : GPlatform->Desktop.get();
    if (!w || w->Children.empty())
        return nullptr;
    return w->Children.front()->Handle;
}

BOOL IsChild(HWND parent, HWND hwnd)
{
    if (!Ready())
        return FALSE;
    TWindowRecord* p = Find(parent);
    TWindowRecord* w = Find(hwnd);
    if (!p || !w)
        return FALSE;
    for (TWindowRecord* x = w; IsChildWindow(x); x = x->Parent)
        if (x->Parent == p)
            return TRUE;
    return FALSE;
}

BOOL EnumWindows(WNDENUMPROC callback, LPARAM param)
{
    if (!Ready() || !callback)
        return FALSE;
    std::vector<HWND> handles;
    for (TWindowRecord* w : TopLevels())
        handles.push_back(w->Handle);
    for (HWND hwnd : handles)
        if (IsWindow(hwnd) && !callback(hwnd, param))
            return FALSE;
    return TRUE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM param)
{
    TWindowRecord* p = NeedWindow(parent);
    if (!p || !callback)
        return FALSE;
    std::vector<HWND> handles;
    ForEachDescendant(p, [&](TWindowRecord* w) { handles.push_back(w->Handle); });
    for (HWND hwnd : handles)
        if (IsWindow(hwnd) && !callback(hwnd, param))
            return FALSE;
    return TRUE;
}

HWND FindWindow(const char* className, const char* windowName)
{
    if (!Ready())
        return nullptr;
    for (TWindowRecord* w : TopLevels()) {
        if (className) {
            if (IS_INTRESOURCE(className)) {
                if (w->Class->Atom != ATOM(reinterpret_cast<uintptr_t>(className)))
                    continue;
            } else if (strcasecmp(w->Class->Name.c_str(), className) != 0) {
                continue;
            }
        }
        if (windowName && w->Text != windowName)
            continue;
        return w->Handle;
    }
    return nullptr;
}

BOOL GetWindowRect(HWND hwnd, RECT* rect)
{
    TWindowRecord* w = NeedWindowOrDesktop(hwnd, rect);
    if (!w)
        return FALSE;
    *rect = w->IsDesktop ? w->Window : WindowScreenRect(w);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect)
{
    TWindowRecord* w = NeedWindowOrDesktop(hwnd, rect);
    if (!w)
        return FALSE;
    *rect = RECT { 0, 0, RectWidth(w->Client), RectHeight(w->Client) };
    return TRUE;
}

BOOL ClientToScreen(HWND hwnd, POINT* point)
{
    TWindowRecord* w = NeedWindowOrDesktop(hwnd, point);
    if (!w)
        return FALSE;
    const POINT origin = ClientOrigin(w);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point)
{
    TWindowRecord* w = NeedWindowOrDesktop(hwnd, point);
    if (!w)
        return FALSE;
    const POINT origin = ClientOrigin(w);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count)
{
    if (!Ready())
        return 0;
    POINT a { 0, 0 };
    POINT b { 0, 0 };
    if (from) {
        TWindowRecord* w = NeedWindowOrDesktop(from);
        if (!w)
            return 0;
        a = ClientOrigin(w);
    }
    if (to) {
        TWindowRecord* w = NeedWindowOrDesktop(to);
        if (!w)
            return 0;
        b = ClientOrigin(w);
    }
    const int dx = a.x - b.x;
    const int dy = a.y - b.y;
    for (UINT i = 0; points && i < count; ++i) {
        points[i].x += dx;
        points[i].y += dy;
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<int>(MAKELONG(WORD(int16_t(dx)), WORD(int16_t(dy))));
}

BOOL IsWindowVisible(HWND hwnd)
{
    TWindowRecord* w = NeedWindow(hwnd);
    return w && IsVisibleChain(w) ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd)
{
    TWindowRecord* w = NeedWindowOrDesktop(hwnd);
    return w && !(w->Style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL IsIconic(HWND hwnd)
{
    TWindowRecord* w = NeedWindowOrDesktop(hwnd);
    return w && (w->Style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsZoomed(HWND hwnd)
{
    TWindowRecord* w = NeedWindowOrDesktop(hwnd);
    return w && (w->Style & WS_MAXIMIZE) ? TRUE : FALSE;
}

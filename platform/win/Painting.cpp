// Update regions and painting: invalidation and validation, WM_PAINT selection, BeginPaint/EndPaint,
// UpdateWindow and RedrawWindow, and the DC hooks.
#include "platform/win/EntryChecks.h"

using namespace WinCore;

namespace {

TRegion ClientArea(const TWindowRecord* w)
{
    return TRegion(RECT { 0, 0, RectWidth(w->Client), RectHeight(w->Client) });
}

// A region in the client coordinates of `w` moved into those of its child `c`.
TRegion ToChild(const TRegion& region, const TWindowRecord* c)
{
    TRegion r = region;
    r.Offset(-(c->Window.left + c->Client.left), -(c->Window.top + c->Client.top));
    return r;
}

bool PassesTo(const TWindowRecord* w, TChildren children)
{
    return children == kChildrenAll || (children == kChildrenByStyle && !(w->Style & WS_CLIPCHILDREN));
}

// A parent that clips its children still paints under a transparent child (WS_EX_TRANSPARENT): the child shows
// the parent through it. What the parent paints there covers the child's own drawing, so the child is asked to
// paint again; children are painted after their parents.
void RepaintTransparentChildren(TWindowRecord* w)
{
    if (!(w->Style & WS_CLIPCHILDREN))
        return;
    for (TWindowRecord* c : w->Children) {
        if (!(c->ExStyle & WS_EX_TRANSPARENT) || !(c->Style & WS_VISIBLE))
            continue;
        const TRegion sub = ToChild(w->PaintRegion, c);
        InvalidateTree(c, &sub, false, kChildrenByStyle);
    }
}

// The transparent child of `w` that holds the caret: the parent's paint would cover the inverted caret, so it
// comes off for the paint as it does for the child's own.
HWND TransparentCaretChild(const TWindowRecord* w)
{
    const TWindowRecord* c = Find(GPlatform->Caret.Window);
    if (c && c->Parent == w && (c->ExStyle & WS_EX_TRANSPARENT) && (w->Style & WS_CLIPCHILDREN))
        return c->Handle;
    return nullptr;
}

void ValidateTree(TWindowRecord* w, const TRegion* clientRegion, TChildren children)
{
    if (clientRegion)
        w->Update.Subtract(*clientRegion);
    else
        w->Update.Clear();
    if (w->Update.IsEmpty())
        w->ErasePending = false;
    if (!PassesTo(w, children))
        return;
    for (TWindowRecord* c : w->Children) {
        if (clientRegion) {
            const TRegion sub = ToChild(*clientRegion, c);
            ValidateTree(c, &sub, children);
        } else {
            ValidateTree(c, nullptr, children);
        }
    }
}

// Sends WM_NCPAINT and WM_ERASEBKGND now to the windows that need them, leaving WM_PAINT for later.
void EraseTree(TWindowRecord* w, TChildren children)
{
    const HWND h = w->Handle;
    if (!IsVisibleChain(w))
        return;
    SendPendingNcPaint(w);
    if (!Find(h))
        return;
    if (w->ErasePending && !w->Update.IsEmpty()) {
        w->ErasePending = false;
        TDCProvider* provider = GPlatform->DCProvider;
        w->PaintRegion = w->Update;
        w->PaintRegion.Intersect(ClientArea(w));
        RepaintTransparentChildren(w);
        w->Painting = true;
        ++w->PaintSerial;
        HDC dc = provider ? provider->AcquireDC(h, true, &w->PaintRegion) : nullptr;
        const LRESULT erased = Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        if (provider && GPlatform->DCProvider == provider)
            provider->ReleaseDC(h, dc);
        if (!Find(h))
            return;
        w->Painting = false;
        ++w->PaintSerial;
        // A window that did not erase gets the erase again from BeginPaint.
        if (!erased)
            w->ErasePending = true;
    }
    if (!PassesTo(w, children))
        return;
    std::vector<HWND> kids;
    for (TWindowRecord* c : w->Children)
        kids.push_back(c->Handle);
    for (HWND k : kids)
        if (TWindowRecord* c = Find(k))
            EraseTree(c, children);
}

void UpdateTree(TWindowRecord* w, TChildren children)
{
    const HWND h = w->Handle;
    if (!IsVisibleChain(w))
        return;
    SendPendingNcPaint(w);
    if (!Find(h))
        return;
    if (NeedsPaint(w)) {
        Send(w, WM_PAINT, 0, 0);
        if (!Find(h))
            return;
    }
    if (!PassesTo(w, children))
        return;
    std::vector<HWND> kids;
    for (TWindowRecord* c : w->Children)
        kids.push_back(c->Handle);
    for (HWND k : kids)
        if (TWindowRecord* c = Find(k))
            UpdateTree(c, children);
}

TWindowRecord* FirstToPaint(TWindowRecord* w, bool& frameOnly)
{
    if (!(w->Style & WS_VISIBLE) || (IsTopLevel(w) && (w->Style & WS_MINIMIZE)))
        return nullptr;
    if (w->FramePending) {
        frameOnly = true;
        return w;
    }
    if (NeedsPaint(w))
        return w;
    for (TWindowRecord* c : w->Children)
        if (TWindowRecord* found = FirstToPaint(c, frameOnly))
            return found;
    return nullptr;
}

TRegion RegionArg(TWindowRecord* w, const RECT* rect, HRGN region)
{
    if (region) {
        if (const TRegion* r = RegionOf(region))
            return *r;
        return TRegion();
    }
    if (rect)
        return TRegion(*rect);
    return ClientArea(w);
}

} // namespace

TDCProvider::~TDCProvider() = default;

bool TDCProvider::FillDCRect(HDC, const RECT&, COLORREF)
{
    return false;
}

bool TDCProvider::InvertCaret(HWND, const RECT&, HBITMAP)
{
    return false;
}

void TDCProvider::DrawCaptionText(HWND, const RECT&, bool)
{
}

namespace {

// The provider outlives a stop and start of the layer, so it is installed once per process.
TDCProvider* InstalledProvider = nullptr;

} // namespace

void SetDCProvider(TDCProvider* provider)
{
    InstalledProvider = provider;
    if (GPlatform)
        GPlatform->DCProvider = provider;
}

TDCProvider* InstalledDCProvider()
{
    return InstalledProvider;
}

namespace WinCore {

void InvalidateTree(TWindowRecord* w, const TRegion* clientRegion, bool erase, TChildren children)
{
    if (!IsVisibleChain(w) || IsMessageOnly(w))
        return;
    TRegion area = ClientArea(w);
    if (clientRegion)
        area.Intersect(*clientRegion);
    if (area.IsEmpty())
        return;
    w->Update.Union(area);
    if (erase)
        w->ErasePending = true;
    if (!PassesTo(w, children))
        return;
    for (TWindowRecord* c : w->Children) {
        if (!(c->Style & WS_VISIBLE))
            continue;
        const TRegion sub = ToChild(area, c);
        InvalidateTree(c, &sub, erase, children);
    }
}

void InvalidateClient(TWindowRecord* w, const TRegion* clientRegion, bool erase, bool children)
{
    InvalidateTree(w, clientRegion, erase, children ? kChildrenByStyle : kChildrenNone);
}

void InvalidateFrame(TWindowRecord* w)
{
    if (IsVisibleChain(w) && !IsMessageOnly(w))
        w->FramePending = true;
}

void InvalidateParentArea(TWindowRecord* w, const RECT& windowRectInParent)
{
    TWindowRecord* parent = w->Parent;
    if (!parent || !IsChildWindow(w))
        return;
    const TRegion area(windowRectInParent);
    InvalidateTree(parent, &area, true, kChildrenNone);
    // Siblings that lay under the window show again too.
    for (TWindowRecord* sibling : parent->Children) {
        if (sibling == w || !(sibling->Style & WS_VISIBLE))
            continue;
        const RECT overlap = RectIntersection(sibling->Window, windowRectInParent);
        if (IsRectEmpty(&overlap))
            continue;
        const TRegion sub = ToChild(area, sibling);
        InvalidateTree(sibling, &sub, true, kChildrenByStyle);
        InvalidateFrame(sibling);
    }
}

bool NeedsPaint(const TWindowRecord* w)
{
    return !w->Update.IsEmpty() || w->InternalPaint;
}

bool AnyPaintPending()
{
    bool frameOnly = false;
    for (TWindowRecord* top : TopLevels())
        if (FirstToPaint(top, frameOnly))
            return true;
    return false;
}

void SendPendingNcPaint(TWindowRecord* w)
{
    if (!w->FramePending)
        return;
    w->FramePending = false;
    Send(w, WM_NCPAINT, 1, 0);
}

TWindowRecord* FindWindowToPaint(TWindowRecord* filter)
{
    // Frames are painted first, each at once (the queue holds no WM_NCPAINT); then the first window with
    // an update region, parents before their children, top-level windows in stacking order.
    for (int guard = 0; guard < 10000 && GPlatform; ++guard) {
        bool frameOnly = false;
        TWindowRecord* found = nullptr;
        if (filter) {
            found = FirstToPaint(filter, frameOnly);
        } else {
            for (TWindowRecord* top : TopLevels())
                if ((found = FirstToPaint(top, frameOnly)))
                    break;
        }
        if (!found)
            return nullptr;
        if (!frameOnly)
            return found;
        SendPendingNcPaint(found);
        if (filter && !Find(filter->Handle))
            return nullptr;
    }
    return nullptr;
}

} // namespace WinCore

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
    if (!hwnd) {
        if (!Ready())
            return FALSE;
        for (TWindowRecord* top : TopLevels()) {
            InvalidateFrame(top);
            InvalidateTree(top, nullptr, erase, kChildrenAll);
        }
        return TRUE;
    }
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    const TRegion area = RegionArg(w, rect, nullptr);
    InvalidateTree(w, &area, erase != FALSE, kChildrenByStyle);
    return TRUE;
}

BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    const TRegion area = RegionArg(w, nullptr, region);
    InvalidateTree(w, &area, erase != FALSE, kChildrenByStyle);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    if (!rect) {
        ValidateTree(w, nullptr, kChildrenByStyle);
        w->InternalPaint = false;
        return TRUE;
    }
    const TRegion area(*rect);
    ValidateTree(w, &area, kChildrenByStyle);
    return TRUE;
}

BOOL ValidateRgn(HWND hwnd, HRGN region)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    if (!region)
        return ValidateRect(hwnd, nullptr);
    const TRegion area = RegionArg(w, nullptr, region);
    ValidateTree(w, &area, kChildrenByStyle);
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    if (rect)
        *rect = w->Update.Bounds();
    const bool pending = !w->Update.IsEmpty();
    if (erase && pending)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASENOW | RDW_NOCHILDREN);
    return pending ? TRUE : FALSE;
}

int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase)
{
    TWindowRecord* w = NeedWindow(hwnd);
    TRegion* target = RegionOf(region);
    if (!w || !target)
        return ERROR;
    *target = w->Update;
    if (erase && !w->Update.IsEmpty())
        RedrawWindow(hwnd, nullptr, nullptr, RDW_ERASENOW | RDW_NOCHILDREN);
    if (target->IsEmpty())
        return NULLREGION;
    return target->IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

BOOL UpdateWindow(HWND hwnd)
{
    return RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags)
{
    if (!Ready())
        return FALSE;
    if (!hwnd) {
        std::vector<HWND> tops;
        for (TWindowRecord* top : TopLevels())
            tops.push_back(top->Handle);
        for (HWND top : tops)
            RedrawWindow(top, rect, region, flags | RDW_ALLCHILDREN);
        return TRUE;
    }
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    const TChildren children
        = (flags & RDW_ALLCHILDREN) ? kChildrenAll : ((flags & RDW_NOCHILDREN) ? kChildrenNone : kChildrenByStyle);
    const TRegion area = RegionArg(w, rect, region);
    if (flags & RDW_INVALIDATE) {
        InvalidateTree(w, &area, (flags & RDW_ERASE) != 0, children);
        if (flags & RDW_FRAME) {
            InvalidateFrame(w);
            if (children == kChildrenAll)
                ForEachDescendant(w, [](TWindowRecord* c) { InvalidateFrame(c); });
        }
        if (flags & RDW_INTERNALPAINT)
            w->InternalPaint = true;
    }
    if (flags & RDW_VALIDATE) {
        ValidateTree(w, &area, children);
        if (flags & RDW_NOFRAME)
            w->FramePending = false;
        if (flags & RDW_NOERASE)
            w->ErasePending = false;
        if (flags & RDW_NOINTERNALPAINT)
            w->InternalPaint = false;
    }
    if (flags & RDW_UPDATENOW) {
        UpdateTree(w, children);
        PresentDirty();
    } else if (flags & RDW_ERASENOW) {
        EraseTree(w, children);
        PresentDirty();
    }
    return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint)
{
    TWindowRecord* w = NeedWindow(hwnd, paint);
    if (!w)
        return nullptr;
    *paint = PAINTSTRUCT {};
    SendPendingNcPaint(w);
    if (!Find(hwnd))
        return nullptr;
    // Before the paint region clips the window: the whole caret comes off.
    HideCaretForPaint(hwnd);
    if (const HWND child = TransparentCaretChild(w))
        HideCaretForPaint(child);
    w->PaintRegion = w->Update;
    w->PaintRegion.Intersect(ClientArea(w));
    RepaintTransparentChildren(w);
    w->Update.Clear();
    w->InternalPaint = false;
    const bool erase = w->ErasePending;
    w->ErasePending = false;
    w->Painting = true;
    ++w->PaintSerial;
    TDCProvider* provider = GPlatform->DCProvider;
    paint->hdc = provider ? provider->AcquireDC(hwnd, true, &w->PaintRegion) : nullptr;
    paint->rcPaint = w->PaintRegion.Bounds();
    if (erase) {
        const LRESULT erased = Send(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(paint->hdc), 0);
        paint->fErase = erased ? FALSE : TRUE;
    }
    return paint->hdc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint)
{
    if (!GPlatform)
        return FALSE;
    if (paint && paint->hdc && GPlatform->DCProvider)
        GPlatform->DCProvider->ReleaseDC(hwnd, paint->hdc);
    TWindowRecord* w = Find(hwnd);
    if (!w)
        return FALSE;
    w->Painting = false;
    w->PaintRegion.Clear();
    ++w->PaintSerial;
    ShowCaretAfterPaint(hwnd);
    if (const HWND child = TransparentCaretChild(w))
        ShowCaretAfterPaint(child);
    MarkSurfaceDirty(hwnd, nullptr);
    return TRUE;
}

HDC GetDC(HWND hwnd)
{
    if (!Ready() || !GPlatform->DCProvider)
        return nullptr;
    if (hwnd == GetDesktopWindow())
        hwnd = nullptr;
    if (hwnd && !NeedWindow(hwnd))
        return nullptr;
    return GPlatform->DCProvider->AcquireDC(hwnd, true, nullptr);
}

HDC GetWindowDC(HWND hwnd)
{
    if (!Ready() || !GPlatform->DCProvider)
        return nullptr;
    if (hwnd == GetDesktopWindow())
        hwnd = nullptr;
    if (hwnd && !NeedWindow(hwnd))
        return nullptr;
    return GPlatform->DCProvider->AcquireDC(hwnd, false, nullptr);
}

HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags)
{
    if (!Ready() || !GPlatform->DCProvider)
        return nullptr;
    if (hwnd == GetDesktopWindow())
        hwnd = nullptr;
    if (hwnd && !NeedWindow(hwnd))
        return nullptr;
    const bool client = !(flags & DCX_WINDOW);
    if (!(flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)) || !hwnd)
        return GPlatform->DCProvider->AcquireDC(hwnd, client, nullptr);
    const TRegion* region = RegionOf(clip);
    if (!region) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    TRegion area = *region;
    if (flags & DCX_EXCLUDERGN) {
        RECT bounds {};
        if (client)
            GetClientRect(hwnd, &bounds);
        else if (GetWindowRect(hwnd, &bounds))
            bounds = RECT { 0, 0, RectWidth(bounds), RectHeight(bounds) };
        area = TRegion(bounds);
        area.Subtract(*region);
    }
    return GPlatform->DCProvider->AcquireDC(hwnd, client, &area);
}

int ReleaseDC(HWND hwnd, HDC dc)
{
    if (!Ready() || !GPlatform->DCProvider || !dc)
        return 0;
    // Every drawing call marks what it changed, so a window DC that drew one small object presents just that
    // object, not its whole window.
    return GPlatform->DCProvider->ReleaseDC(hwnd, dc);
}

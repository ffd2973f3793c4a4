// Back buffers and what is shown of them: window surfaces and visible regions, window regions, layered
// opacity, presenting dirty parts to the backend, and composing the screen.
#include "platform/win/EntryChecks.h"

#include <algorithm>
#include <cstring>
#include <cwchar>

using namespace WinCore;

namespace {

// The part of window `x` that covers others: its rectangle cut by its region, in the buffer coordinates of
// a top-level window whose screen origin is `topOrigin`.
TRegion Shape(const TWindowRecord* x, POINT topOrigin)
{
    const RECT screen = WindowScreenRect(x);
    TRegion shape(RectOffset(screen, -topOrigin.x, -topOrigin.y));
    if (x->Region)
        if (const TRegion* region = RegionOf(x->Region)) {
            TRegion r = *region;
            r.Offset(screen.left - topOrigin.x, screen.top - topOrigin.y);
            shape.Intersect(r);
        }
    return shape;
}

uint32_t ToPixel(COLORREF color)
{
    return 0xFF000000u | (uint32_t(GetRValue(color)) << 16) | (uint32_t(GetGValue(color)) << 8) | GetBValue(color);
}

uint32_t Blend(uint32_t src, uint32_t dst, uint32_t alpha)
{
    auto channel = [&](int shift) {
        const uint32_t s = (src >> shift) & 0xFF;
        const uint32_t d = (dst >> shift) & 0xFF;
        return ((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

// The window's shape on the display while a colour key is set: its region less the pixels of the key.
TRegion ColorKeyShape(const TWindowRecord* top)
{
    SettleBuffer(*top->Buffer);
    const TBackBuffer& buffer = *top->Buffer;
    const uint32_t key = ToPixel(top->ColorKey) & 0xFFFFFF;
    std::vector<RECT> runs;
    for (int y = 0; y < buffer.Height; ++y) {
        const uint32_t* row = &buffer.Pixels[size_t(y) * size_t(buffer.Width)];
        for (int x = 0; x < buffer.Width;) {
            if ((row[x] & 0xFFFFFF) == key) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < buffer.Width && (row[x] & 0xFFFFFF) != key)
                ++x;
            runs.push_back(RECT { start, y, x, y + 1 });
        }
    }
    TRegion shape = TRegion::FromRects(runs);
    if (top->Region)
        if (const TRegion* region = RegionOf(top->Region))
            shape.Intersect(*region);
    return shape;
}

bool ColorKeyed(const TWindowRecord* top)
{
    return (top->ExStyle & WS_EX_LAYERED) && (top->LayeredFlags & LWA_COLORKEY);
}

// Hands the display the shape of a colour-keyed window when its pixels changed, and its plain region
// again once the key is gone.
void UpdateColorKeyShape(TWindowRecord* top)
{
    TPlatformState& s = *GPlatform;
    if (ColorKeyed(top)) {
        TRegion shape = ColorKeyShape(top);
        if (!top->KeyShape || !(*top->KeyShape == shape)) {
            s.Backend->SetNativeWindowShape(top->Native, &shape);
            top->KeyShape = std::move(shape);
        }
    } else if (top->KeyShape) {
        top->KeyShape.reset();
        s.Backend->SetNativeWindowShape(top->Native, top->Region ? RegionOf(top->Region) : nullptr);
    }
}

// Cuts `visible` (top-level buffer coordinates) to the paint region of the paint under way on `w`.
void CutToPaintRegion(TRegion& visible, TWindowRecord* w, TWindowRecord* top)
{
    const POINT topOrigin = WindowOrigin(top);
    TRegion paint = w->PaintRegion;
    const POINT origin = ClientOrigin(w);
    paint.Offset(origin.x - topOrigin.x, origin.y - topOrigin.y);
    visible.Intersect(paint);
}

// The part of the top-level buffer where `w` may draw. `shapedOut` tells whether a window region was read: its
// handle's contents may change without the window knowing, so such an answer is not kept.
TRegion ComputeVisibleRegion(TWindowRecord* w, bool client, TWindowRecord* top, bool& shapedOut)
{
    const POINT topOrigin = WindowOrigin(top);
    auto toBuffer = [&](const RECT& screen) { return RectOffset(screen, -topOrigin.x, -topOrigin.y); };
    TRegion visible(toBuffer(client ? ClientScreenRect(w) : WindowScreenRect(w)));
    visible.Intersect(RECT { 0, 0, top->Buffer->Width, top->Buffer->Height });
    // The windows that cover this one are gathered and taken away in one sweep: a panel of many child
    // controls is drawn on call after call, and one subtraction per child would rebuild the region each time.
    std::vector<RECT> covering;
    std::vector<const TWindowRecord*> shaped;
    auto cover = [&](const TWindowRecord* x) {
        if (!(x->Style & WS_VISIBLE))
            return;
        const RECT r = toBuffer(WindowScreenRect(x));
        if (!visible.Intersects(r))
            return;
        if (x->Region)
            shaped.push_back(x);
        else
            covering.push_back(r);
    };
    for (TWindowRecord* x = w; x; x = IsChildWindow(x) ? x->Parent : nullptr) {
        if (x->Region) {
            shapedOut = true;
            visible.Intersect(Shape(x, topOrigin));
        }
        if (x != w)
            visible.Intersect(toBuffer(ClientScreenRect(x)));
        if (!IsChildWindow(x))
            break;
        if (x->Style & WS_CLIPSIBLINGS) {
            for (TWindowRecord* sibling : x->Parent->Children) {
                if (sibling == x)
                    break;
                cover(sibling);
            }
        }
    }
    // A transparent child (WS_EX_TRANSPARENT) shows its parent through it, so the parent paints under it too;
    // the child draws over that afterwards (see the paint calls).
    if (w->Style & WS_CLIPCHILDREN)
        for (TWindowRecord* c : w->Children)
            if (!(c->ExStyle & WS_EX_TRANSPARENT))
                cover(c);
    if (!covering.empty())
        visible.Subtract(TRegion::FromRects(covering));
    if (!shaped.empty())
        shapedOut = true;
    for (const TWindowRecord* x : shaped)
        visible.Subtract(Shape(x, topOrigin));
    return visible;
}

} // namespace

namespace WinCore {

const TRegion& KeptVisibleRegion(TWindowRecord* w, bool client, TWindowRecord** topOut, TRegion& scratch)
{
    if (topOut)
        *topOut = nullptr;
    scratch.Clear();
    if (!w || IsPseudoWindow(w) || IsMessageOnly(w) || !IsVisibleChain(w))
        return scratch;
    TWindowRecord* top = RootOf(w);
    if (!top || !top->Buffer)
        return scratch;
    if (topOut)
        *topOut = top;
    // Every drawing call on a window DC asks for this region; it is kept per window until the window table's
    // generation moves on, so a hit costs nothing however many siblings the window has. A paint cuts the kept
    // client region to its paint region, so a repaint does not work the siblings out again.
    const uint64_t generation = GPlatform->VisibleGeneration.load(std::memory_order_relaxed);
    const bool inPaint = client && w->Painting;
    if (inPaint && w->VisibleKeptGeneration[2] == generation && w->VisibleKeptPaintSerial == w->PaintSerial)
        return w->VisibleKept[2];
    const size_t slot = client ? 1 : 0;
    if (w->VisibleKeptGeneration[slot] != generation) {
        bool shaped = false;
        scratch = ComputeVisibleRegion(w, client, top, shaped);
        if (shaped) {
            if (inPaint)
                CutToPaintRegion(scratch, w, top);
            return scratch;
        }
        w->VisibleKept[slot] = std::move(scratch);
        w->VisibleKeptGeneration[slot] = generation;
    }
    if (!inPaint)
        return w->VisibleKept[slot];
    w->VisibleKept[2] = w->VisibleKept[1];
    CutToPaintRegion(w->VisibleKept[2], w, top);
    w->VisibleKeptGeneration[2] = generation;
    w->VisibleKeptPaintSerial = w->PaintSerial;
    return w->VisibleKept[2];
}

TRegion VisibleRegion(TWindowRecord* w, bool client, TWindowRecord** topOut)
{
    TRegion scratch;
    const TRegion& visible = KeptVisibleRegion(w, client, topOut, scratch);
    if (&visible == &scratch)
        return scratch;
    return visible;
}

void VisibleLayoutChanged()
{
    if (GPlatform)
        GPlatform->VisibleGeneration.fetch_add(1, std::memory_order_relaxed);
}

void FillBuffer(TWindowRecord* w, bool client, const TRegion* clip, const RECT& rect, COLORREF color)
{
    TWindowRecord* top = nullptr;
    TRegion area = VisibleRegion(w, client, &top);
    if (area.IsEmpty() || !top)
        return;
    const POINT topOrigin = WindowOrigin(top);
    const POINT origin = client ? ClientOrigin(w) : WindowOrigin(w);
    const int dx = origin.x - topOrigin.x;
    const int dy = origin.y - topOrigin.y;
    area.Intersect(RectOffset(rect, dx, dy));
    if (clip) {
        TRegion c = *clip;
        c.Offset(dx, dy);
        area.Intersect(c);
    }
    const uint32_t pixel = ToPixel(color);
    TBackBuffer& buffer = *top->Buffer;
    SettleBuffer(buffer);
    area.ForEachRect([&](const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y)
            FillPixels(&buffer.Pixels[size_t(y) * size_t(buffer.Width) + size_t(r.left)], size_t(r.right - r.left), pixel);
    });
    MarkDirty(top, area.Bounds());
}

void SettleBuffer(TBackBuffer& buffer)
{
    if (!buffer.Unfilled)
        return;
    FillPixels(buffer.Pixels.data(), buffer.Pixels.size(), kUnpaintedPixel);
    buffer.Unfilled = false;
}

void MarkDirty(TWindowRecord* top, const RECT& bufferRect)
{
    if (!top || !top->Buffer)
        return;
    const RECT clipped = RectIntersection(bufferRect, RECT { 0, 0, top->Buffer->Width, top->Buffer->Height });
    UnionRect(&top->Dirty, &top->Dirty, &clipped);
}

void PresentDirty()
{
    TPlatformState& s = *GPlatform;
    for (TWindowRecord* top : TopLevels()) {
        if (!top->Native || !top->Buffer || IsRectEmpty(&top->Dirty))
            continue;
        SettleBuffer(*top->Buffer);
        if ((ColorKeyed(top) || top->KeyShape) && s.Backend->Capabilities().Shaping)
            UpdateColorKeyShape(top);
        // A hidden window's pixels reach no screen (an unmapped X window keeps nothing): its dirty area waits for
        // the first present after it shows, which a window being built before its show paints many times over.
        if (!(top->Style & WS_VISIBLE))
            continue;
        const RECT dirty = top->Dirty;
        top->Dirty = RECT {};
        s.Backend->PresentNativeWindow(top->Native, *top->Buffer, dirty);
    }
}

} // namespace WinCore

void FillPixels(uint32_t* pixels, size_t count, uint32_t value)
{
    // The C library's wide-character fill stores 32-bit values with the widest stores the processor has; a
    // plain loop stores one pixel at a time, and a new window's buffer is hundreds of thousands of pixels.
    static_assert(sizeof(wchar_t) == sizeof(uint32_t));
    std::wmemset(reinterpret_cast<wchar_t*>(pixels), static_cast<wchar_t>(value), count);
}

bool GetWindowSurface(HWND hwnd, bool client, TWindowSurface& surface, const RECT* limit)
{
    surface.Pixels = nullptr;
    surface.Width = 0;
    surface.Height = 0;
    surface.Stride = 0;
    surface.Origin = POINT {};
    surface.Visible.Clear();
    TWindowRecord* w = NeedDrawable(hwnd);
    if (!w)
        return false;
    TWindowRecord* top = RootOf(w);
    if (!top || !top->Buffer)
        return false;
    const POINT topOrigin = WindowOrigin(top);
    const POINT origin = client ? ClientOrigin(w) : WindowOrigin(w);
    SettleBuffer(*top->Buffer);
    surface.Pixels = top->Buffer->Pixels.data();
    surface.Width = top->Buffer->Width;
    surface.Height = top->Buffer->Height;
    surface.Stride = top->Buffer->Stride();
    surface.Origin = POINT { origin.x - topOrigin.x, origin.y - topOrigin.y };
    TRegion scratch;
    const TRegion& visible = KeptVisibleRegion(w, client, nullptr, scratch);
    if (limit)
        surface.Visible.AssignIntersection(visible, RectOffset(*limit, surface.Origin.x, surface.Origin.y));
    else if (&visible == &scratch)
        surface.Visible = std::move(scratch);
    else
        surface.Visible = visible;
    return true;
}

void MarkSurfaceDirty(HWND hwnd, const RECT* bufferRect)
{
    if (!Ready())
        return;
    TWindowRecord* w = Find(hwnd);
    if (!w)
        return;
    TWindowRecord* top = RootOf(w);
    if (!top || !top->Buffer)
        return;
    if (bufferRect) {
        MarkDirty(top, *bufferRect);
    } else {
        const POINT topOrigin = WindowOrigin(top);
        MarkDirty(top, RectOffset(WindowScreenRect(w), -topOrigin.x, -topOrigin.y));
    }
}

void FillWindowRect(HWND hwnd, bool client, const RECT& rect, COLORREF color)
{
    if (!Ready())
        return;
    if (TWindowRecord* w = Find(hwnd))
        FillBuffer(w, client, nullptr, rect, color);
}

bool CopyToWindow(HWND hwnd, bool client, const RECT& rect, const uint32_t* pixels, ptrdiff_t stride)
{
    if (!Ready())
        return false;
    TWindowRecord* w = Find(hwnd);
    TWindowRecord* top = nullptr;
    TRegion scratch;
    const TRegion& visible = KeptVisibleRegion(w, client, &top, scratch);
    if (!top)
        return false;
    const POINT topOrigin = WindowOrigin(top);
    const POINT origin = client ? ClientOrigin(w) : WindowOrigin(w);
    const RECT target = RectOffset(rect, origin.x - topOrigin.x, origin.y - topOrigin.y);
    TRegion area;
    area.AssignIntersection(visible, target);
    TBackBuffer& buffer = *top->Buffer;
    // Only what the copy does not reach owes the unpainted colour.
    if (buffer.Unfilled) {
        TRegion rest(RECT { 0, 0, buffer.Width, buffer.Height });
        rest.Subtract(area);
        rest.ForEachRect([&](const RECT& r) {
            for (int y = r.top; y < r.bottom; ++y)
                FillPixels(&buffer.Pixels[size_t(y) * size_t(buffer.Width) + size_t(r.left)], size_t(r.right - r.left),
                    kUnpaintedPixel);
        });
        buffer.Unfilled = false;
    }
    const auto* first = reinterpret_cast<const char*>(pixels);
    area.ForEachRect([&](const RECT& r) {
        for (int y = r.top; y < r.bottom; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(first + ptrdiff_t(y - target.top) * stride);
            std::memcpy(&buffer.Pixels[size_t(y) * size_t(buffer.Width) + size_t(r.left)], row + (r.left - target.left),
                size_t(r.right - r.left) * 4);
        }
    });
    MarkDirty(top, area.Bounds());
    return true;
}

int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return 0;
    if (region && !RegionOf(region)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    TPlatformState& s = *GPlatform;
    if (w->Region == region)
        return 1;
    const bool visible = IsVisibleChain(w);
    if (visible && redraw && IsChildWindow(w))
        InvalidateParentArea(w, w->Window);
    // The window owns the region from now on; the one it replaces is freed.
    const HRGN old = w->Region;
    w->Region = region;
    VisibleLayoutChanged();
    if (old)
        DeleteObject(old);
    if (w->Native && s.Backend->Capabilities().Shaping) {
        w->KeyShape.reset();
        if (ColorKeyed(w))
            MarkDirty(w, RECT { 0, 0, kMaxBufferSide, kMaxBufferSide });
        else
            s.Backend->SetNativeWindowShape(w->Native, region ? RegionOf(region) : nullptr);
    }
    SetWindowPosInternal(
        w, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW));
    if (redraw && Find(hwnd) && visible) {
        InvalidateFrame(w);
        InvalidateTree(w, nullptr, true, kChildrenAll);
    }
    return 1;
}

int GetWindowRgn(HWND hwnd, HRGN region)
{
    TWindowRecord* w = NeedWindow(hwnd);
    TRegion* target = RegionOf(region);
    if (!w || !target || !w->Region)
        return ERROR;
    const TRegion* own = RegionOf(w->Region);
    if (!own)
        return ERROR;
    *target = *own;
    if (target->IsEmpty())
        return NULLREGION;
    return target->IsRectangle() ? SIMPLEREGION : COMPLEXREGION;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF colorKey, BYTE alpha, DWORD flags)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w)
        return FALSE;
    TPlatformState& s = *GPlatform;
    if (!s.Backend->Capabilities().LayeredWindows) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    if (!(w->ExStyle & WS_EX_LAYERED) || !IsTopLevel(w)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A colour key is shown as a shape of the native window; a display that cannot shape cannot key.
    if ((flags & LWA_COLORKEY) && !s.Backend->Capabilities().Shaping) {
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }
    const bool keyChanged = (flags & LWA_COLORKEY) != (w->LayeredFlags & LWA_COLORKEY)
        || ((flags & LWA_COLORKEY) && colorKey != w->ColorKey);
    w->ColorKey = colorKey;
    w->Alpha = alpha;
    w->LayeredFlags = flags & (LWA_ALPHA | LWA_COLORKEY);
    // Fades are busy loops that pump no messages: the display gets the new opacity now.
    if (w->Native)
        s.Backend->SetNativeWindowOpacity(w->Native, (flags & LWA_ALPHA) ? alpha : 255);
    // The shape follows at the next present.
    if (keyChanged && w->Buffer) {
        MarkDirty(w, RECT { 0, 0, w->Buffer->Width, w->Buffer->Height });
        PresentDirty();
    }
    return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* colorKey, BYTE* alpha, DWORD* flags)
{
    TWindowRecord* w = NeedWindow(hwnd);
    if (!w || !(w->ExStyle & WS_EX_LAYERED))
        return FALSE;
    if (colorKey)
        *colorKey = w->ColorKey;
    if (alpha)
        *alpha = w->Alpha;
    if (flags)
        *flags = w->LayeredFlags;
    return TRUE;
}

std::vector<uint32_t> ComposeScreen(const RECT& area, COLORREF desktop, HWND exclude)
{
    const int width = std::max(0, RectWidth(area));
    const int height = std::max(0, RectHeight(area));
    std::vector<uint32_t> pixels(size_t(width) * size_t(height), ToPixel(desktop));
    if (!Ready() || pixels.empty())
        return pixels;
    const TBackendCapabilities caps = GPlatform->Backend->Capabilities();
    const std::vector<TWindowRecord*>& tops = TopLevels();
    for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
        TWindowRecord* top = *it;
        if (top->Handle == exclude || !(top->Style & WS_VISIBLE) || (top->Style & WS_MINIMIZE) || !top->Buffer)
            continue;
        SettleBuffer(*top->Buffer);
        const TBackBuffer& buffer = *top->Buffer;
        TRegion shape(RECT { 0, 0, buffer.Width, buffer.Height });
        if (caps.Shaping && top->Region)
            if (const TRegion* region = RegionOf(top->Region))
                shape.Intersect(*region);
        const int dx = top->Window.left - area.left;
        const int dy = top->Window.top - area.top;
        shape.Offset(dx, dy);
        shape.Intersect(RECT { 0, 0, width, height });
        const bool layered = caps.LayeredWindows && (top->ExStyle & WS_EX_LAYERED);
        const uint32_t alpha = layered && (top->LayeredFlags & LWA_ALPHA) ? top->Alpha : 255;
        const bool keyed = layered && (top->LayeredFlags & LWA_COLORKEY);
        const uint32_t key = ToPixel(top->ColorKey) & 0xFFFFFF;
        shape.ForEachRect([&](const RECT& r) {
            for (int y = r.top; y < r.bottom; ++y) {
                const uint32_t* src = &buffer.Pixels[size_t(y - dy) * size_t(buffer.Width)];
                uint32_t* dst = &pixels[size_t(y) * size_t(width)];
                for (int x = r.left; x < r.right; ++x) {
                    const uint32_t p = src[x - dx];
                    if (keyed && (p & 0xFFFFFF) == key)
                        continue;
                    dst[x] = alpha == 255 ? (p | 0xFF000000u) : Blend(p, dst[x], alpha);
                }
            }
        });
    }
    const TPlatformState& s = *GPlatform;
    RECT shared {};
    if (!exclude && !s.Overlay.empty() && IntersectRect(&shared, &area, &s.OverlayArea)) {
        const int overlayWidth = RectWidth(s.OverlayArea);
        for (int y = shared.top; y < shared.bottom; ++y) {
            const uint32_t* src = &s.Overlay[size_t(y - s.OverlayArea.top) * size_t(overlayWidth)];
            uint32_t* dst = &pixels[size_t(y - area.top) * size_t(width)];
            for (int x = shared.left; x < shared.right; ++x)
                dst[x - area.left] ^= src[x - s.OverlayArea.left] & 0xFFFFFFu;
        }
    }
    return pixels;
}

void XorScreenOverlay(const RECT& area, const uint32_t* xorPixels)
{
    if (!Ready() || !xorPixels)
        return;
    TPlatformState& s = *GPlatform;
    if (s.Overlay.empty()) {
        const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
        const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
        s.OverlayArea = RECT { x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN) };
        s.Overlay.assign(size_t(RectWidth(s.OverlayArea)) * size_t(RectHeight(s.OverlayArea)), 0);
    }
    RECT shared {};
    if (!IntersectRect(&shared, &area, &s.OverlayArea))
        return;
    const int overlayWidth = RectWidth(s.OverlayArea);
    const int areaWidth = RectWidth(area);
    for (int y = shared.top; y < shared.bottom; ++y) {
        uint32_t* dst = &s.Overlay[size_t(y - s.OverlayArea.top) * size_t(overlayWidth)];
        const uint32_t* src = &xorPixels[size_t(y - area.top) * size_t(areaWidth)];
        for (int x = shared.left; x < shared.right; ++x) {
            dst[x - s.OverlayArea.left] ^= src[x - area.left] & 0xFFFFFFu;
        }
    }
    s.Backend->ScreenOverlayChanged(shared);
}

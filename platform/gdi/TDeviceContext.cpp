#include "platform/gdi/TDeviceContext.h"

#include "platform/win/Rects.h"
#include "platform/win/WindowSurface.h"
#include "platform/win/Windows.h"

#include <algorithm>

int ClampCoord(int64_t value)
{
    return int(std::clamp<int64_t>(value, -kCoordLimit, kCoordLimit));
}

void TDrawTarget::AddDirty(const RECT& surfaceRect)
{
    if (Window || Screen)
        UnionRect(&Dirty, &Dirty, &surfaceRect);
}

TDeviceContext::TDeviceContext(TDCKind kind, HWND window, bool client, const TRegion* paintClip)
    : TGdiObject(kind == TDCKind::Memory ? OBJ_MEMDC : OBJ_DC)
    , FKind(kind)
    , FWindow(window)
    , FClient(client)
{
    if (paintClip)
        FPaintClip = *paintClip;
    State.Pen = TSelected<TPenObject>(PenOf(GetStockObject(BLACK_PEN)), this);
    State.Brush = TSelected<TBrushObject>(BrushOf(GetStockObject(WHITE_BRUSH)), this);
    State.Font = TSelected<TFontObject>(FontOf(GetStockObject(SYSTEM_FONT)), this);
    State.Palette
        = TSelected<TPaletteObject>(GdiLookup<TPaletteObject>(GetStockObject(DEFAULT_PALETTE), OBJ_PAL), this);
    if (kind == TDCKind::Memory)
        State.Bitmap = TSelected<TBitmapObject>(BitmapOf(GetStockObject(DEFAULT_BITMAP)), this);
}

TDeviceContext::~TDeviceContext() = default;

POINT TDeviceContext::ToDevice(int x, int y) const
{
    return POINT { ClampCoord(int64_t(x) - State.WindowOrg.x + State.ViewportOrg.x),
        ClampCoord(int64_t(y) - State.WindowOrg.y + State.ViewportOrg.y) };
}

RECT TDeviceContext::ToDevice(const RECT& logical) const
{
    const POINT a = ToDevice(logical.left, logical.top);
    const POINT b = ToDevice(logical.right, logical.bottom);
    return RECT { a.x, a.y, b.x, b.y };
}

POINT TDeviceContext::ToLogical(int x, int y) const
{
    return POINT { ClampCoord(int64_t(x) + State.WindowOrg.x - State.ViewportOrg.x),
        ClampCoord(int64_t(y) + State.WindowOrg.y - State.ViewportOrg.y) };
}

RECT TDeviceContext::DeviceArea() const
{
    switch (FKind) {
    case TDCKind::Memory: {
        const TBitmapObject* bitmap = State.Bitmap.Get();
        return bitmap ? bitmap->Surface.Bounds() : RECT {};
    }
    case TDCKind::Window: {
        RECT r {};
        if (FClient) {
            if (!GetClientRect(FWindow, &r))
                return RECT {};
        } else {
            if (!GetWindowRect(FWindow, &r))
                return RECT {};
            r = RECT { 0, 0, r.right - r.left, r.bottom - r.top };
        }
        return r;
    }
    case TDCKind::Screen: {
        // Screen coordinates: (0, 0) is the primary monitor's top-left, other monitors may lie left or above.
        const int x = GetSystemMetrics(SM_XVIRTUALSCREEN);
        const int y = GetSystemMetrics(SM_YVIRTUALSCREEN);
        return RECT { x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN) };
    }
    }
    return RECT {};
}

bool TDeviceContext::BeginDraw(TDrawTarget& target, const RECT* deviceLimit)
{
    target.Surface = &target.Local;
    target.Local = TSurface();
    target.Offset = POINT {};
    target.Clip.Clear();
    target.Window = nullptr;
    target.Dirty = RECT {};
    target.Screen = false;
    switch (FKind) {
    case TDCKind::Memory: {
        TBitmapObject* bitmap = State.Bitmap.Get();
        if (!bitmap)
            return false;
        target.Surface = &bitmap->Surface;
        target.Clip.SetRect(deviceLimit ? RectIntersection(*deviceLimit, bitmap->Surface.Bounds())
                                        : bitmap->Surface.Bounds());
        if (State.Clip)
            target.Clip.Intersect(*State.Clip);
        return true;
    }
    case TDCKind::Window: {
        // The clips that are rectangles (nearly always) are cut together first, so the window's visible area is
        // cut once, straight from the window layer's kept region, and nothing is copied.
        std::optional<RECT> limit;
        if (deviceLimit)
            limit = *deviceLimit;
        const TRegion* complex[2] = {};
        size_t complexCount = 0;
        for (const std::optional<TRegion>* extra : { &State.Clip, &FPaintClip }) {
            if (!*extra)
                continue;
            if (!(*extra)->IsRectangle())
                complex[complexCount++] = &**extra;
            else
                limit = limit ? RectIntersection(*limit, (*extra)->Bounds()) : (*extra)->Bounds();
        }
        TWindowSurface surface;
        if (!GetWindowSurface(FWindow, FClient, surface, limit ? &*limit : nullptr))
            return false;
        target.Local = TSurface::Bgra(surface.Pixels, surface.Width, surface.Height, surface.Stride);
        target.Offset = surface.Origin;
        target.Clip = std::move(surface.Visible);
        target.Window = FWindow;
        for (size_t i = 0; i < complexCount && !target.Clip.IsEmpty(); ++i) {
            TRegion clip = *complex[i];
            clip.Offset(target.Offset.x, target.Offset.y);
            target.Clip.Intersect(clip);
        }
        return true;
    }
    case TDCKind::Screen: {
        // The call draws on the composed screen; EndDraw keeps what it changed over the windows.
        const RECT area = DeviceArea();
        const int width = RectWidth(area);
        const int height = RectHeight(area);
        target.Storage = ComposeScreen(area, GetSysColor(COLOR_DESKTOP));
        if (width <= 0 || height <= 0 || target.Storage.size() != size_t(width) * size_t(height))
            return false;
        target.Original = target.Storage;
        target.Screen = true;
        target.Local = TSurface::Bgra(target.Storage.data(), width, height, width * 4);
        target.Offset = POINT { -area.left, -area.top };
        target.Clip.SetRect(RECT { 0, 0, width, height });
        if (State.Clip) {
            TRegion clip = *State.Clip;
            clip.Offset(target.Offset.x, target.Offset.y);
            target.Clip.Intersect(clip);
        }
        return true;
    }
    }
    return false;
}

void TDeviceContext::EndDraw(TDrawTarget& target)
{
    if (target.Window && !IsRectEmpty(&target.Dirty))
        MarkSurfaceDirty(target.Window, &target.Dirty);
    if (target.Screen && !IsRectEmpty(&target.Dirty)) {
        const RECT dirty = RectIntersection(target.Dirty, target.Local.Bounds());
        const int width = RectWidth(dirty);
        const int stride = target.Local.Width();
        std::vector<uint32_t> changes(size_t(std::max(0, width)) * size_t(std::max(0, RectHeight(dirty))));
        for (int y = dirty.top; y < dirty.bottom; ++y)
            for (int x = dirty.left; x < dirty.right; ++x) {
                const size_t i = size_t(y) * size_t(stride) + size_t(x);
                changes[size_t(y - dirty.top) * size_t(width) + size_t(x - dirty.left)]
                    = target.Storage[i] ^ target.Original[i];
            }
        if (!changes.empty())
            XorScreenOverlay(RectOffset(dirty, -target.Offset.x, -target.Offset.y), changes.data());
    }
}

bool TDeviceContext::BeginRead(TDrawTarget& target, const RECT& deviceArea)
{
    target.Surface = &target.Local;
    target.Local = TSurface();
    target.Offset = POINT {};
    target.Clip.Clear();
    target.Window = nullptr;
    switch (FKind) {
    case TDCKind::Memory: {
        TBitmapObject* bitmap = State.Bitmap.Get();
        if (!bitmap)
            return false;
        target.Surface = &bitmap->Surface;
        target.Clip.SetRect(bitmap->Surface.Bounds());
        return true;
    }
    case TDCKind::Window: {
        TWindowSurface surface;
        if (!GetWindowSurface(FWindow, FClient, surface))
            return false;
        target.Local = TSurface::Bgra(surface.Pixels, surface.Width, surface.Height, surface.Stride);
        target.Offset = surface.Origin;
        const RECT area = DeviceArea();
        target.Clip.SetRect(RectIntersection(
            RectOffset(area, surface.Origin.x, surface.Origin.y), RECT { 0, 0, surface.Width, surface.Height }));
        return true;
    }
    case TDCKind::Screen: {
        const RECT area = RectIntersection(deviceArea, DeviceArea());
        if (IsRectEmpty(&area))
            return true;
        target.Storage = ComposeScreen(area, GetSysColor(COLOR_DESKTOP));
        const int width = RectWidth(area);
        const int height = RectHeight(area);
        if (target.Storage.size() != size_t(width) * size_t(height))
            return false;
        target.Local = TSurface::Bgra(target.Storage.data(), width, height, width * 4);
        target.Offset = POINT { -area.left, -area.top };
        target.Clip.SetRect(RECT { 0, 0, width, height });
        return true;
    }
    }
    return false;
}

TDeviceContext* DCOf(HDC dc)
{
    TGdiObject* object = GdiLookupObject(dc);
    if (!object || (object->ObjectType() != OBJ_DC && object->ObjectType() != OBJ_MEMDC))
        return nullptr;
    return static_cast<TDeviceContext*>(object);
}

HDC AddDeviceContext(std::unique_ptr<TDeviceContext> dc)
{
    TDeviceContext* raw = dc.get();
    HDC handle = static_cast<HDC>(GdiAddObject(std::move(dc)));
    raw->FHandle = handle;
    return handle;
}

BOOL DestroyDeviceContext(HDC dc)
{
    TDeviceContext* context = DCOf(dc);
    if (!context)
        return FALSE;
    context->Deleting = true;
    return DeleteObject(dc);
}

#include "platform/backend/sdl/TSdlBackend.h"

#include "platform/backend/sdl/SdlKeys.h"
#include "platform/backend/sdl/TSdlTrayHost.h"
#include "platform/backend/sdl/X11Calls.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Cursors.h"
#include "platform/win/Platform.h"
#include "platform/win/TRegion.h"
#include "platform/win/Windows.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdio>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

// Standard cursors (LoadCursor's IDC_ numbers) and SDL's shapes for them.
struct TCursorPair {
    int Id;
    SDL_SystemCursor Shape;
};

constexpr TCursorPair kCursors[] = {
    { 32512, SDL_SYSTEM_CURSOR_ARROW },
    { 32513, SDL_SYSTEM_CURSOR_IBEAM },
    { 32514, SDL_SYSTEM_CURSOR_WAIT },
    { 32515, SDL_SYSTEM_CURSOR_CROSSHAIR },
    { 32516, SDL_SYSTEM_CURSOR_ARROW },
    { 32642, SDL_SYSTEM_CURSOR_SIZENWSE },
    { 32643, SDL_SYSTEM_CURSOR_SIZENESW },
    { 32644, SDL_SYSTEM_CURSOR_SIZEWE },
    { 32645, SDL_SYSTEM_CURSOR_SIZENS },
    { 32646, SDL_SYSTEM_CURSOR_SIZEALL },
    { 32648, SDL_SYSTEM_CURSOR_NO },
    { 32649, SDL_SYSTEM_CURSOR_HAND },
    { 32650, SDL_SYSTEM_CURSOR_WAITARROW },
    { 32651, SDL_SYSTEM_CURSOR_ARROW },
};

// UTF-8 text to code points; malformed bytes become U+FFFD.
std::u32string DecodeUtf8(const char* text)
{
    std::u32string out;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p) {
        const unsigned char b = *p;
        const int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0) {
            out.push_back(0xFFFD);
            ++p;
            continue;
        }
        uint32_t c = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 0x07);
        int k = 1;
        for (; k <= extra; ++k) {
            if ((p[k] & 0xC0) != 0x80)
                break;
            c = (c << 6) | (p[k] & 0x3F);
        }
        if (k <= extra) {
            out.push_back(0xFFFD);
            ++p;
            continue;
        }
        out.push_back(char32_t(c));
        p += extra + 1;
    }
    return out;
}

bool IsPopupStyle(DWORD style, DWORD exStyle)
{
    // Menus, hints and drop-down lists: windows that never take the focus from their form.
    return (exStyle & (WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE)) != 0 && (style & WS_POPUP);
}

} // namespace

TSdlBackend::TSdlBackend() = default;

TSdlBackend::~TSdlBackend()
{
    Uninstall();
    for (auto& [id, cursor] : FCursors)
        SDL_FreeCursor(cursor);
    if (FCustomCursor)
        SDL_FreeCursor(FCustomCursor);
    for (auto& [id, native] : FNatives)
        SDL_DestroyWindow(native.Window);
    if (FVideoOpen)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool TSdlBackend::Install(const char* display, std::string* error)
{
    auto fail = [&](const std::string& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (FInstalled || PlatformStarted())
        return fail("the window layer is already running");
    if (display)
        setenv("DISPLAY", display, 1);
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return fail("no X display is set (DISPLAY is empty)");
    // Popups need global positions, which only the X11 driver gives.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11");
    // The window surface over shared memory is the fastest way to show a back buffer.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Activation is the window layer's (WM_MOUSEACTIVATE): the activating click must arrive.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // SDL would turn SIGINT and SIGTERM into a quit event nobody reads, so Ctrl+C in the terminal and `kill` would
    // not end the program: they keep their usual effect.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (!FVideoOpen) {
        // SDL keeps the error handlers it finds here and gives them back when the video closes, then closes its
        // displays: an error still on its way (a wake-up sent to a window destroyed meanwhile) must meet ours then,
        // not Xlib's default, which ends the process. After the start SDL's own handler is replaced by ours too.
        X11Calls::InstallErrorHandlers();
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            return fail(std::string("cannot open the X display ") + name + ": " + SDL_GetError());
        FVideoOpen = true;
        X11Calls::InstallErrorHandlers();
        FWakeEvent = SDL_RegisterEvents(1);
        SDL_StartTextInput();
        // The Xlib display: from a probe window, as SDL offers it only through a window.
        if (SDL_Window* probe = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS)) {
            FDisplay = X11Calls::DisplayOf(probe);
            SDL_DestroyWindow(probe);
        }
        FShaping = X11Calls::HasShapeExtension(FDisplay);
    }
    if (!PlatformStart(this))
        return fail("the window layer could not start");
    FInstalled = true;
    // Tray icons go to the desktop's tray; on a display without one they are added once a tray appears.
    FTray = std::make_unique<TSdlTrayHost>(name, [this] { Wake(); });
    SetTrayHost(FTray.get());
    FAppFocused = false;
    return true;
}

void TSdlBackend::Uninstall()
{
    if (!FInstalled)
        return;
    FInstalled = false;
    if (PlatformBackend() == this)
        PlatformStop();
    if (FTray && GetTrayHost() == FTray.get())
        SetTrayHost(nullptr);
    FTray.reset();
}

TSdlBackend::TNative* TSdlBackend::Find(TNativeWindow window)
{
    auto it = FNatives.find(window);
    return it == FNatives.end() ? nullptr : &it->second;
}

TSdlBackend::TNative* TSdlBackend::FindSdl(uint32_t sdlWindowId)
{
    for (auto& [id, native] : FNatives)
        if (SDL_GetWindowID(native.Window) == sdlWindowId)
            return &native;
    return nullptr;
}

unsigned long TSdlBackend::XWindowOf(const TNative& native) const
{
    return X11Calls::XWindowOf(native.Window);
}

// --- Windows -----------------------------------------------------------------------------------------------

TNativeWindow TSdlBackend::CreateNativeWindow(HWND hwnd, const RECT& bounds, DWORD style, DWORD exStyle)
{
    TNative native;
    native.Handle = hwnd;
    native.Bounds = bounds;
    native.Popup = IsPopupStyle(style, exStyle);
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
    if (native.Popup)
        flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
    else if (exStyle & WS_EX_TOOLWINDOW)
        flags |= SDL_WINDOW_SKIP_TASKBAR;
    const int width = std::max(1, int(bounds.right - bounds.left));
    const int height = std::max(1, int(bounds.bottom - bounds.top));
    native.Window = SDL_CreateWindow("", bounds.left, bounds.top, width, height, flags);
    if (!native.Window)
        return 0;
    // Before the window is first mapped, as the desktop reads the class only then.
    if (!FClassName.empty())
        X11Calls::SetClassHint(FDisplay, X11Calls::XWindowOf(native.Window), FInstanceName, FClassName);
    const TNativeWindow id = FNextNative++;
    FNatives[id] = native;
    FStacking.insert(FStacking.begin(), id);
    return id;
}

void TSdlBackend::SetWindowClass(std::string instanceName, std::string className)
{
    FInstanceName = std::move(instanceName);
    FClassName = std::move(className);
}

void TSdlBackend::SetNativeWindowTitle(TNativeWindow window, const std::string& title)
{
    if (TNative* native = Find(window)) {
        native->Title = title;
        SetTitle(*native);
    }
}

void TSdlBackend::SetTitle(const TNative& native) const
{
    if (FDisplay)
        X11Calls::SetTitle(FDisplay, XWindowOf(native), native.Title);
    else
        SDL_SetWindowTitle(native.Window, native.Title.c_str());
}

void TSdlBackend::SetNativeWindowIcon(TNativeWindow window, const TCursorImage* icon)
{
    TNative* native = Find(window);
    if (!native)
        return;
    if (!icon || !icon->IsValid()) {
        X11Calls::RemoveIcon(FDisplay, XWindowOf(*native));
        return;
    }
    std::vector<uint32_t> pixels = icon->StraightPixels();
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        pixels.data(), icon->Width, icon->Height, 32, icon->Width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!surface)
        return;
    SDL_SetWindowIcon(native->Window, surface);
    SDL_FreeSurface(surface);
}

std::string TSdlBackend::NativeWindowExportHandle(TNativeWindow window)
{
    TNative* native = Find(window);
    const unsigned long id = native ? XWindowOf(*native) : 0;
    if (!id)
        return {};
    char name[32];
    std::snprintf(name, sizeof name, "x11:%lx", id);
    return name;
}

void TSdlBackend::Bell()
{
    X11Calls::Bell(FDisplay);
}

void TSdlBackend::DestroyNativeWindow(TNativeWindow window)
{
    TNative* native = Find(window);
    if (!native)
        return;
    const bool wasPopup = native->Popup && native->Visible;
    SDL_DestroyWindow(native->Window);
    FNatives.erase(window);
    std::erase(FStacking, window);
    if (FActive == window)
        FActive = 0;
    // Without a window manager the focus falls to nobody when a popup goes.
    if (wasPopup)
        KeepFocusOnActive();
}

void TSdlBackend::SetNativeWindowOwner(TNativeWindow window, TNativeWindow owner)
{
    TNative* native = Find(window);
    TNative* ownerNative = Find(owner);
    if (native)
        X11Calls::SetTransientFor(FDisplay, XWindowOf(*native), ownerNative ? XWindowOf(*ownerNative) : 0);
}

void TSdlBackend::ShowNativeWindow(TNativeWindow window, bool visible)
{
    TNative* native = Find(window);
    if (!native || native->Visible == visible)
        return;
    native->Visible = visible;
    const bool empty = native->Bounds.right <= native->Bounds.left || native->Bounds.bottom <= native->Bounds.top;
    if (visible && !empty) {
        // The title is given again as the window maps: the one set while it was never shown did not always reach
        // the desktop.
        SetTitle(*native);
        SDL_ShowWindow(native->Window);
        // Where the window manager placed it is not ours to keep: the layer's position holds.
        SDL_SetWindowPosition(native->Window, native->Bounds.left, native->Bounds.top);
        // Without a window manager every window shown takes the focus; the active one keeps it.
        KeepFocusOnActive();
    } else if (!visible) {
        SDL_HideWindow(native->Window);
        KeepFocusOnActive();
    }
}

void TSdlBackend::MinimizeNativeWindow(TNativeWindow window, bool minimized)
{
    TNative* native = Find(window);
    if (!native || native->Minimized == minimized)
        return;
    native->Minimized = minimized;
    if (minimized)
        SDL_MinimizeWindow(native->Window);
    else
        SDL_RestoreWindow(native->Window);
}

void TSdlBackend::MaximizeNativeWindow(TNativeWindow window, bool maximized)
{
    TNative* native = Find(window);
    if (!native || native->Maximized == maximized)
        return;
    native->Maximized = maximized;
    // A window manager maximises only a window it may size; the layer sizes it in every other state.
    if (maximized) {
        SDL_SetWindowResizable(native->Window, SDL_TRUE);
        SDL_MaximizeWindow(native->Window);
    } else {
        // A window manager puts the window back where it had it before; the layer's place (already set) holds.
        SDL_RestoreWindow(native->Window);
        SDL_SetWindowResizable(native->Window, SDL_FALSE);
        native->RestoringUntil = SDL_GetTicks() + kRestoreSettleMs;
        ApplyBounds(*native);
    }
}

void TSdlBackend::ApplyBounds(TNative& native)
{
    const RECT& r = native.Bounds;
    SDL_SetWindowPosition(native.Window, r.left, r.top);
    SDL_SetWindowSize(native.Window, r.right - r.left, r.bottom - r.top);
}

void TSdlBackend::SetNativeWindowBounds(TNativeWindow window, const RECT& bounds)
{
    TNative* native = Find(window);
    if (!native)
        return;
    const RECT old = native->Bounds;
    native->Bounds = bounds;
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    if (width <= 0 || height <= 0) {
        // X has no empty windows: an empty one is not shown.
        SDL_HideWindow(native->Window);
        return;
    }
    if (bounds.left != old.left || bounds.top != old.top)
        SDL_SetWindowPosition(native->Window, bounds.left, bounds.top);
    if (width != old.right - old.left || height != old.bottom - old.top) {
        SDL_SetWindowSize(native->Window, width, height);
        native->Presented = false;
    }
    if (native->Visible && !(SDL_GetWindowFlags(native->Window) & SDL_WINDOW_SHOWN)) {
        SDL_ShowWindow(native->Window);
        KeepFocusOnActive();
    }
}

void TSdlBackend::RestackNativeWindows(const std::vector<TNativeWindow>& topFirst)
{
    if (topFirst == FStacking)
        return;
    FStacking = topFirst;
    // Raised from the bottom up, each lands above the ones before.
    for (auto it = topFirst.rbegin(); it != topFirst.rend(); ++it)
        if (TNative* native = Find(*it); native && native->Visible)
            X11Calls::Raise(FDisplay, XWindowOf(*native));
    X11Calls::Flush(FDisplay);
}

void TSdlBackend::ActivateNativeWindow(TNativeWindow window)
{
    FActive = window;
    KeepFocusOnActive();
}

void TSdlBackend::KeepFocusOnActive()
{
    // Only while the program has the focus: the window layer's activation never takes it from another
    // program.
    TNative* active = Find(FActive);
    if (!active || !active->Visible || !FAppFocused)
        return;
    SDL_Window* focus = SDL_GetKeyboardFocus();
    if (focus != active->Window)
        SDL_SetWindowInputFocus(active->Window);
}

void TSdlBackend::PresentNativeWindow(TNativeWindow window, const TBackBuffer& buffer, const RECT& dirty)
{
    TNative* native = Find(window);
    if (!native)
        return;
    SDL_Surface* surface = SDL_GetWindowSurface(native->Window);
    if (!surface)
        return;
    const int width = std::min(buffer.Width, surface->w);
    const int height = std::min(buffer.Height, surface->h);
    // A new surface (after a resize) holds nothing yet: it gets the whole buffer.
    RECT area = native->Presented ? dirty : RECT { 0, 0, width, height };
    area.left = std::max<LONG>(area.left, 0);
    area.top = std::max<LONG>(area.top, 0);
    area.right = std::min<LONG>(area.right, width);
    area.bottom = std::min<LONG>(area.bottom, height);
    if (area.right <= area.left || area.bottom <= area.top)
        return;
    const int columns = area.right - area.left;
    const uint32_t* source = buffer.Pixels.data() + size_t(area.top) * size_t(buffer.Width) + size_t(area.left);
    auto* target = static_cast<uint8_t*>(surface->pixels) + size_t(area.top) * size_t(surface->pitch)
        + size_t(area.left) * 4;
    if (SDL_MUSTLOCK(surface))
        SDL_LockSurface(surface);
    const Uint32 format = surface->format->format;
    if (format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_ARGB8888) {
        for (int y = area.top; y < area.bottom; ++y) {
            std::memcpy(target, source, size_t(columns) * 4);
            source += buffer.Width;
            target += surface->pitch;
        }
    } else {
        SDL_ConvertPixels(columns, area.bottom - area.top, SDL_PIXELFORMAT_ARGB8888, source, buffer.Stride(), format,
            target, surface->pitch);
    }
    if (SDL_MUSTLOCK(surface))
        SDL_UnlockSurface(surface);
    const SDL_Rect rect { int(area.left), int(area.top), columns, int(area.bottom - area.top) };
    SDL_UpdateWindowSurfaceRects(native->Window, &rect, 1);
    native->Presented = true;
    // SDL waits for the server to take the pixels, so they are on the display now.
    if (FPresentObserver)
        FPresentObserver(native->Handle);
}

void TSdlBackend::SetNativeWindowShape(TNativeWindow window, const TRegion* shape)
{
    TNative* native = Find(window);
    if (!native || !FShaping)
        return;
    std::vector<X11Calls::TRect> rects;
    if (shape)
        shape->ForEachRect([&](const RECT& r) {
            rects.push_back(X11Calls::TRect { int(r.left), int(r.top), int(r.right - r.left), int(r.bottom - r.top) });
        });
    X11Calls::SetShape(FDisplay, XWindowOf(*native), rects, shape == nullptr);
}

void TSdlBackend::SetNativeWindowOpacity(TNativeWindow window, BYTE alpha)
{
    TNative* native = Find(window);
    if (!native)
        return;
    SDL_SetWindowOpacity(native->Window, float(alpha) / 255.0f);
    // Fades are busy loops: the property must reach the server now.
    X11Calls::Flush(FDisplay);
}

// --- Pointer -----------------------------------------------------------------------------------------------

void TSdlBackend::SetMouseCapture(bool captured)
{
    FCaptured = captured;
    SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE);
}

SDL_Cursor* TSdlBackend::SystemCursor(int id)
{
    if (auto it = FCursors.find(id); it != FCursors.end())
        return it->second;
    SDL_SystemCursor shape = SDL_SYSTEM_CURSOR_ARROW;
    for (const TCursorPair& p : kCursors)
        if (p.Id == id)
            shape = p.Shape;
    SDL_Cursor* cursor = SDL_CreateSystemCursor(shape);
    FCursors[id] = cursor;
    return cursor;
}

void TSdlBackend::SetCursorShape(HCURSOR cursor)
{
    FCursor = cursor;
    if (!cursor) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_ShowCursor(SDL_ENABLE);
    // A cursor made from pixels (skin cursors, icons as cursors) becomes an SDL colour cursor; the one it
    // replaces goes once it is no longer shown.
    SDL_Cursor* previousCustom = FCustomCursor;
    FCustomCursor = nullptr;
    TCursorImage image;
    if (GetCursorImage(cursor, image) && image.IsValid()) {
        std::vector<uint32_t> pixels = image.StraightPixels();
        SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
            pixels.data(), image.Width, image.Height, 32, image.Width * 4, SDL_PIXELFORMAT_ARGB8888);
        if (surface) {
            FCustomCursor = SDL_CreateColorCursor(surface, image.HotSpot.x, image.HotSpot.y);
            SDL_FreeSurface(surface);
        }
        if (FCustomCursor) {
            SDL_SetCursor(FCustomCursor);
            if (previousCustom)
                SDL_FreeCursor(previousCustom);
            return;
        }
    }
    // Standard cursors are pseudo handles (id << 4 | 3); others show as the arrow.
    const auto value = reinterpret_cast<uintptr_t>(cursor);
    const int id = (value & 0xF) == 3 ? int(value >> 4) : 32512;
    if (SDL_Cursor* shape = SystemCursor(id))
        SDL_SetCursor(shape);
    if (previousCustom)
        SDL_FreeCursor(previousCustom);
}

POINT TSdlBackend::PointerPosition()
{
    int x = 0, y = 0;
    if (X11Calls::QueryPointer(FDisplay, x, y))
        return POINT { x, y };
    SDL_GetGlobalMouseState(&x, &y);
    return POINT { x, y };
}

void TSdlBackend::WarpPointer(POINT screen)
{
    SDL_WarpMouseGlobal(screen.x, screen.y);
    X11Calls::Flush(FDisplay);
    // The display reports no motion for a warp by the program itself.
    QueueMove(screen);
}

POINT TSdlBackend::ToScreen(uint32_t sdlWindowId, int x, int y)
{
    if (TNative* native = FindSdl(sdlWindowId)) {
        int wx = 0, wy = 0;
        SDL_GetWindowPosition(native->Window, &wx, &wy);
        return POINT { wx + x, wy + y };
    }
    return PointerPosition();
}

void TSdlBackend::QueueMove(POINT screen)
{
    if (screen.x == FLastPoint.x && screen.y == FLastPoint.y)
        return;
    FLastPoint = screen;
    TRawInput input;
    input.Kind = TRawInputKind::MouseMove;
    input.Point = screen;
    QueueRawInput(input);
}

// --- Clipboard ---------------------------------------------------------------------------------------------

void TSdlBackend::SetClipboard(const TClipboardData& data)
{
    FClipboard = data;
    FClipboard.erase(CF_TEXT);
    auto text = data.find(CF_TEXT);
    FClipboardText = text == data.end() ? std::string() : std::string(text->second.begin(), text->second.end());
    // Other programs see the text; a clipboard of only private formats offers them an empty text.
    SDL_SetClipboardText(FClipboardText.c_str());
    // SDL owns the selection through a window of its own: that window as owner means the clipboard is ours.
    FClipboardOwner = X11Calls::ClipboardOwner(FDisplay);
    FOwnsClipboard = FClipboardOwner != 0;
}

TClipboardData TSdlBackend::Clipboard()
{
    // SDL's own read is not used: when the owner is slow it waits a second, then takes the clipboard itself
    // with an empty text, and the other program's contents are lost.
    TClipboardData data;
    const unsigned long owner = X11Calls::ClipboardOwner(FDisplay);
    if (FOwnsClipboard && owner == FClipboardOwner) {
        data = FClipboard;
        if (!FClipboardText.empty())
            data[CF_TEXT] = std::vector<uint8_t>(FClipboardText.begin(), FClipboardText.end());
        return data;
    }
    // Another program took the clipboard: our private formats went with it.
    FOwnsClipboard = false;
    FClipboard.clear();
    std::string text;
    std::string error;
    if (X11Calls::ReadClipboardText(FDisplay, text, error, kClipboardTimeoutMs) == X11Calls::TClipboardRead::Failed)
        std::fprintf(stderr, "Tarnwick Pro: %s.\n", error.c_str());
    if (!text.empty())
        data[CF_TEXT] = std::vector<uint8_t>(text.begin(), text.end());
    return data;
}

// --- Events ------------------------------------------------------------------------------------------------

void TSdlBackend::PumpEvents()
{
    if (FTray)
        FTray->Pump();
    SDL_PumpEvents();
    std::vector<SDL_Event> events;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        events.push_back(event);
    FWakePending.store(false);
    for (size_t i = 0; i < events.size(); ++i) {
        bool usedNext = false;
        Translate(events[i], i + 1 < events.size() ? &events[i + 1] : nullptr, usedNext);
        if (usedNext)
            ++i;
    }
    if (!events.empty())
        SettleFocusAndPointer();
}

void TSdlBackend::Translate(const SDL_Event& event, const SDL_Event* next, bool& usedNext)
{
    TRawInput input;
    switch (event.type) {
    case SDL_MOUSEMOTION:
        QueueMove(ToScreen(event.motion.windowID, event.motion.x, event.motion.y));
        FCrossedOut = false;
        return;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const Uint8 b = event.button.button;
        if (b != SDL_BUTTON_LEFT && b != SDL_BUTTON_RIGHT && b != SDL_BUTTON_MIDDLE)
            return;
        // The press happens where the pointer is; SDL's own click counting is the layer's business.
        QueueMove(ToScreen(event.button.windowID, event.button.x, event.button.y));
        input.Kind = event.type == SDL_MOUSEBUTTONDOWN ? TRawInputKind::ButtonDown : TRawInputKind::ButtonUp;
        input.Button = b == SDL_BUTTON_LEFT ? TRawButton::Left : b == SDL_BUTTON_RIGHT ? TRawButton::Right
                                                                                      : TRawButton::Middle;
        QueueRawInput(input);
        return;
    }
    case SDL_MOUSEWHEEL: {
        int y = event.wheel.y;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            y = -y;
        if (y == 0)
            return;
        input.Kind = TRawInputKind::Wheel;
        input.WheelDelta = y * 120;
        QueueRawInput(input);
        return;
    }
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const UINT vk = VirtualKeyOf(event.key.keysym);
        // The text the display made of this key follows as its own event: it rides with the key, so that a
        // key the program consumes loses its text too.
        const bool textFollows = event.type == SDL_KEYDOWN && next && next->type == SDL_TEXTINPUT;
        if (vk == 0) {
            return;
        }
        input.Kind = event.type == SDL_KEYDOWN ? TRawInputKind::KeyDown : TRawInputKind::KeyUp;
        input.VirtualKey = vk;
        if (textFollows) {
            input.Text = DecodeUtf8(next->text.text);
            usedNext = true;
        }
        QueueRawInput(input);
        return;
    }
    case SDL_TEXTINPUT:
        // Text without a key: an input method or a character the keyboard has no key for.
        for (char32_t c : DecodeUtf8(event.text.text)) {
            TRawInput ch;
            ch.Kind = TRawInputKind::Char;
            ch.Char = uint32_t(c);
            QueueRawInput(ch);
        }
        return;
    case SDL_DROPBEGIN:
        FDropPaths.clear();
        FDropPoint = PointerPosition();
        return;
    case SDL_DROPFILE:
        if (event.drop.file) {
            if (FDropPaths.empty())
                FDropPoint = PointerPosition();
            FDropPaths.emplace_back(event.drop.file);
            SDL_free(event.drop.file);
        }
        return;
    case SDL_DROPCOMPLETE:
        // SDL's drops carry no position: the pointer is where the files were let go.
        if (!FDropPaths.empty()) {
            input.Kind = TRawInputKind::Drop;
            input.Point = FDropPoint;
            input.Paths = std::move(FDropPaths);
            QueueRawInput(input);
        }
        FDropPaths.clear();
        return;
    case SDL_DROPTEXT:
        if (event.drop.file)
            SDL_free(event.drop.file);
        return;
    case SDL_WINDOWEVENT:
        TranslateWindowEvent(event);
        return;
    default:
        return;
    }
}

void TSdlBackend::TranslateWindowEvent(const SDL_Event& event)
{
    TNative* native = FindSdl(event.window.windowID);
    if (!native)
        return;
    TRawInput input;
    input.Window = native->Handle;
    switch (event.window.event) {
    case SDL_WINDOWEVENT_EXPOSED:
        // X keeps nothing of a covered window: show the last presented image again.
        if (native->Presented)
            SDL_UpdateWindowSurface(native->Window);
        return;
    case SDL_WINDOWEVENT_MOVED:
    case SDL_WINDOWEVENT_SIZE_CHANGED: {
        int x = 0, y = 0, w = 0, h = 0;
        SDL_GetWindowPosition(native->Window, &x, &y);
        SDL_GetWindowSize(native->Window, &w, &h);
        const RECT now { x, y, x + w, y + h };
        if (EqualRect(&now, &native->Bounds) || native->Minimized)
            return;
        // A configure from before the window manager ended the maximised state (late under load) is no news.
        if (native->RestoringUntil && SDL_TICKS_PASSED(SDL_GetTicks(), native->RestoringUntil))
            native->RestoringUntil = 0;
        if (native->RestoringUntil)
            return;
        // Only what the window manager did is news to the layer.
        native->Bounds = now;
        native->Presented = false;
        input.Kind = TRawInputKind::WindowMoved;
        input.Bounds = now;
        QueueRawInput(input);
        return;
    }
    case SDL_WINDOWEVENT_MAXIMIZED:
        if (native->Maximized)
            return;
        native->Maximized = true;
        input.Kind = TRawInputKind::WindowMaximized;
        input.Flag = true;
        QueueRawInput(input);
        return;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_RESTORED: {
        const bool minimized = event.window.event == SDL_WINDOWEVENT_MINIMIZED;
        // A restore of a window that is not minimised ends its maximised state.
        if (!minimized && !native->Minimized) {
            // The window manager has ended the maximised state the layer ended: its own place gives way to the
            // layer's, and whatever SDL took from the configures before is set right.
            if (native->RestoringUntil) {
                native->RestoringUntil = 0;
                ApplyBounds(*native);
                return;
            }
            if (!native->Maximized)
                return;
            native->Maximized = false;
            input.Kind = TRawInputKind::WindowMaximized;
            input.Flag = false;
            QueueRawInput(input);
            return;
        }
        if (native->Minimized == minimized)
            return;
        native->Minimized = minimized;
        input.Kind = TRawInputKind::WindowMinimized;
        input.Flag = minimized;
        QueueRawInput(input);
        return;
    }
    case SDL_WINDOWEVENT_CLOSE:
        input.Kind = TRawInputKind::CloseRequest;
        QueueRawInput(input);
        return;
    case SDL_WINDOWEVENT_LEAVE:
        FCrossedOut = true;
        return;
    case SDL_WINDOWEVENT_ENTER:
        FCrossedOut = false;
        return;
    default:
        return;
    }
}

bool TSdlBackend::HoldsFocusWrongly(SDL_Window* window) const
{
    for (const auto& [id, native] : FNatives)
        if (native.Window == window)
            return native.Popup && id != FActive;
    return false;
}

void TSdlBackend::SettleFocusAndPointer()
{
    // SDL's focus moves between our own windows (popups shown, activation) too; the program's focus
    // changes only when none of ours has it, or one has it again.
    const bool focused = SDL_GetKeyboardFocus() != nullptr;
    if (focused != FAppFocused) {
        FAppFocused = focused;
        TRawInput input;
        input.Kind = focused ? TRawInputKind::AppActivate : TRawInputKind::AppDeactivate;
        QueueRawInput(input);
        if (focused)
            KeepFocusOnActive();
    } else if (focused && HoldsFocusWrongly(SDL_GetKeyboardFocus())) {
        // Without a window manager SDL focuses every window it shows, popups included, and reports it only
        // when the event comes back: the popup hands the focus back to the active window then.
        KeepFocusOnActive();
    }
    // The pointer went over another program (or the bare screen) and no capture follows it.
    if (FCrossedOut && !FCaptured && SDL_GetMouseFocus() == nullptr) {
        FCrossedOut = false;
        TRawInput input;
        input.Kind = TRawInputKind::PointerLeave;
        input.Point = PointerPosition();
        FLastPoint = input.Point;
        QueueRawInput(input);
    }
}

void TSdlBackend::WaitForEvents(std::optional<uint64_t> deadline)
{
    if (FWakePending.exchange(false))
        return;
    int timeout = -1;
    if (deadline) {
        const uint64_t now = GetTickCount64();
        if (*deadline <= now)
            return;
        timeout = int(std::min<uint64_t>(*deadline - now, INT_MAX));
    }
    // Waits without taking the event; PumpEvents hands it over.
    if (timeout < 0)
        SDL_WaitEvent(nullptr);
    else
        SDL_WaitEventTimeout(nullptr, timeout);
}

void TSdlBackend::Wake()
{
    // Any thread. One wake event in the queue is enough.
    if (FWakePending.exchange(true))
        return;
    SDL_Event event {};
    event.type = FWakeEvent;
    SDL_PushEvent(&event);
}

// --- Screen ------------------------------------------------------------------------------------------------

std::vector<TMonitorLayout> TSdlBackend::Monitors()
{
    std::vector<TMonitorLayout> out;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds {}, usable {};
        if (SDL_GetDisplayBounds(i, &bounds) != 0)
            continue;
        if (SDL_GetDisplayUsableBounds(i, &usable) != 0)
            usable = bounds;
        out.push_back(TMonitorLayout { RECT { bounds.x, bounds.y, bounds.x + bounds.w, bounds.y + bounds.h },
            RECT { usable.x, usable.y, usable.x + usable.w, usable.y + usable.h }, i == 0 });
    }
    if (out.empty())
        out.push_back(TMonitorLayout { RECT { 0, 0, 1024, 768 }, RECT { 0, 0, 1024, 768 }, true });
    return out;
}

TBackendCapabilities TSdlBackend::Capabilities()
{
    TBackendCapabilities caps;
    // Opacity shows only where a compositor blends windows; without one the program takes its snapshot path.
    const uint64_t now = SDL_GetTicks64();
    if (!FCompositorKnown || now - FCompositorChecked >= 1000) {
        FCompositor = X11Calls::CompositorRunning(FDisplay);
        FCompositorChecked = now;
        FCompositorKnown = true;
    }
    caps.LayeredWindows = FCompositor;
    caps.Shaping = FShaping;
    return caps;
}

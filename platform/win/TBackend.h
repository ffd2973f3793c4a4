// TBackend, the seam between the window layer and a display (headless or real): native top-level windows,
// presenting back buffers, shape, opacity, capture, waiting for events, screen geometry and capabilities.
#pragma once
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

class TRegion;
struct TCursorImage;

// The backend's name for one top-level window; 0 is none.
using TNativeWindow = uintptr_t;

// The retained image of a top-level window, the size of the window: 32-bit pixels, B,G,R,A in memory
// (0xAARRGGBB as uint32_t), rows top-down, no padding. Child windows draw into their top-level's buffer.
struct TBackBuffer {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    // The pixels still hold what an earlier window drew and owe the unpainted colour everywhere: a buffer passed
    // on to a new window is filled when its pixels are first used, so a first paint that covers the window
    // spares the fill (the window layer's own code settles it before any use; a backend never sees it set).
    bool Unfilled = false;

    int Stride() const { return Width * 4; }
};

// One monitor in screen coordinates: its bounds and its work area (the bounds less task bars and docks).
struct TMonitorLayout {
    RECT Monitor;
    RECT Work;
    bool Primary = false;
};

// What the display can do. Layered windows: constant opacity of a whole window. Shaping: the window region
// cuts the native window (without it the region still clips drawing and hit tests); a colour key is shown
// as a shape too, so without shaping a colour key is not available.
struct TBackendCapabilities {
    bool LayeredWindows = true;
    bool Shaping = true;
    UINT DoubleClickTime = 500;
    int DoubleClickWidth = 4;
    int DoubleClickHeight = 4;
    // The colour shown where no window is; GetSysColor(COLOR_DESKTOP) reports it.
    COLORREF DesktopColor = RGB(58, 110, 165);
    // The system version GetVersion reports.
    uint8_t VersionMajor = 6;
    uint8_t VersionMinor = 1;
};

enum class TRawButton : uint8_t { Left, Right, Middle };

enum class TRawInputKind : uint8_t {
    MouseMove, // Point
    ButtonDown, // Button (at the last Point)
    ButtonUp, // Button
    Wheel, // WheelDelta, positive away from the user
    KeyDown, // VirtualKey, Text: the characters the display's layout made of the key (may be empty)
    KeyUp, // VirtualKey
    Char, // Char: text typed without a key (an input method, a composed character)
    CloseRequest, // Window: the user asked the window manager to close it
    AppActivate, // one of our windows got the display's keyboard focus while none had it
    AppDeactivate, // the keyboard focus went to another program
    PointerLeave, // Point: the pointer went over no window of ours (another program's or the desktop)
    WindowMoved, // Window, Bounds: the window manager moved or sized a top-level window
    WindowMinimized, // Window, Flag: the window manager minimised (true) or restored (false) it
    WindowMaximized, // Window, Flag: the window manager maximised (true) or restored (false) it
    Drop, // Point, Paths: files dropped at the point
};

// One event as the display reports it, before the window layer turns it into messages.
struct TRawInput {
    TRawInputKind Kind = TRawInputKind::MouseMove;
    POINT Point {};
    TRawButton Button = TRawButton::Left;
    int WheelDelta = 0;
    UINT VirtualKey = 0;
    uint32_t Char = 0;
    std::u32string Text;
    HWND Window = nullptr;
    RECT Bounds {};
    bool Flag = false;
    std::vector<std::string> Paths;
};

// The clipboard's contents: data by format (CF_TEXT holds UTF-8 without the terminating zero; registered
// formats hold their bytes as they were set).
using TClipboardData = std::map<UINT, std::vector<uint8_t>>;

// Implemented by each display. The window layer calls every method on the UI thread, except Wake, which any
// thread may call. The backend hands input to the layer with QueueRawInput (Platform.h).
class TBackend {
public:
    virtual ~TBackend();

    // Top-level windows. `bounds` are screen coordinates; windows start hidden.
    virtual TNativeWindow CreateNativeWindow(HWND hwnd, const RECT& bounds, DWORD style, DWORD exStyle) = 0;
    virtual void DestroyNativeWindow(TNativeWindow window) = 0;
    // The window's owner (0 for none), so that the display keeps dialogs and popups above it.
    virtual void SetNativeWindowOwner(TNativeWindow window, TNativeWindow owner) = 0;
    virtual void ShowNativeWindow(TNativeWindow window, bool visible) = 0;
    virtual void MinimizeNativeWindow(TNativeWindow window, bool minimized) = 0;
    // Tells the display (its window manager) that the window is maximised or no longer is; the layer keeps
    // placing the window itself, and a window manager that places it otherwise reports that as a move.
    virtual void MaximizeNativeWindow(TNativeWindow window, bool maximized) = 0;
    virtual void SetNativeWindowBounds(TNativeWindow window, const RECT& bounds) = 0;
    // The stacking of all native windows, top first.
    virtual void RestackNativeWindows(const std::vector<TNativeWindow>& topFirst) = 0;
    // The window that now holds the activation (0 for none), so the display's keyboard focus can follow.
    virtual void ActivateNativeWindow(TNativeWindow window) = 0;
    // Shows the `dirty` part (buffer coordinates) of the window's back buffer.
    virtual void PresentNativeWindow(TNativeWindow window, const TBackBuffer& buffer, const RECT& dirty) = 0;
    // The window-relative shape, or null for the whole rectangle. Only called when Shaping is available.
    virtual void SetNativeWindowShape(TNativeWindow window, const TRegion* shape) = 0;
    // Constant opacity, 255 opaque. Takes effect at once: fades are busy loops that pump no messages.
    virtual void SetNativeWindowOpacity(TNativeWindow window, BYTE alpha) = 0;

    // The window's title and icon as the desktop (task bar, window list) shows them; null removes the icon. Nothing
    // by default, for a display without a desktop.
    virtual void SetNativeWindowTitle(TNativeWindow window, const std::string& title) { (void)window, (void)title; }
    virtual void SetNativeWindowIcon(TNativeWindow window, const TCursorImage* icon) { (void)window, (void)icon; }
    // How other programs on the display name the window, for dialogs they show on its behalf ("x11:<hex id>");
    // empty where the display has no such name.
    virtual std::string NativeWindowExportHandle(TNativeWindow window) { (void)window; return {}; }
    // Rings the display's bell.
    virtual void Bell() {}

    // The screen DC drew over the windows in `area` (screen coordinates); a display that shows the screen's
    // composition (ComposeScreen, WindowSurface.h) shows that area again. Nothing by default.
    virtual void ScreenOverlayChanged(const RECT& area) { (void)area; }

    // Pointer events keep coming while captured, wherever the pointer goes.
    virtual void SetMouseCapture(bool captured) = 0;
    // Standard cursors (StandardCursorId in Cursors.h) map to the display's own shapes; any other cursor's pixels
    // and hot spot come from GetCursorImage. The window layer keeps the handle alive while it is the cursor.
    virtual void SetCursorShape(HCURSOR cursor) = 0;
    // Where the pointer is on the display now (GetCursorPos), and moving it there (SetCursorPos); the
    // move comes back as a MouseMove.
    virtual POINT PointerPosition() = 0;
    virtual void WarpPointer(POINT screen) = 0;

    // The clipboard, as a whole: set replaces everything, read returns what is there now (a display
    // shares text with other programs; other formats stay within this program).
    virtual void SetClipboard(const TClipboardData& data) = 0;
    virtual TClipboardData Clipboard() = 0;

    // Hands every pending display event to QueueRawInput.
    virtual void PumpEvents() = 0;
    // Blocks until Wake is called, a display event arrives or the tick count (GetTickCount64) reaches
    // `deadline`. A Wake that came before the call makes it return at once.
    virtual void WaitForEvents(std::optional<uint64_t> deadline) = 0;
    virtual void Wake() = 0;

    virtual std::vector<TMonitorLayout> Monitors() = 0;
    virtual TBackendCapabilities Capabilities() = 0;
};

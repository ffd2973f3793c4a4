// THeadlessBackend, the tests' display without a display: virtual screen and clock, raw input, readable buffers.
#pragma once
#include "framework/core/Clock.h"
#include "platform/backend/headless/TMessageLog.h"
#include "platform/win/Cursors.h"
#include "platform/win/TBackend.h"
#include "platform/win/TRegion.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// The composed screen and back buffers are readable, capabilities switchable, and every message is logged.
class THeadlessBackend final : public TBackend {
    using inherited = TBackend;

public:
    // What the display knows of one top-level window.
    struct TNativeState {
        HWND Window = nullptr;
        RECT Bounds {};
        bool Visible = false;
        bool Minimized = false;
        bool Maximized = false;
        BYTE Opacity = 255;
        bool Shaped = false;
        TRegion Shape;
        HWND Owner = nullptr;
        int Presents = 0;
        RECT LastPresent {};
        // What the desktop would show in its task bar: the title, and the icon as straight-alpha pixels.
        std::string Title;
        SIZE IconSize {};
        std::vector<uint32_t> IconPixels;
    };

    THeadlessBackend();
    // Stops the window layer if this backend still runs it, and removes its clock.
    ~THeadlessBackend() override;

    // Starts the window layer over this backend and records every message in Log(). UI thread.
    bool Install();
    void Uninstall();
    TMessageLog& Log() { return FLog; }

    // --- The virtual clock --------------------------------------------------------------------------------
    // Installs a manual clock as the framework's tick source (removed again by the destructor). Timers fall
    // due and GetTickCount moves only when a test advances it.
    void UseManualClock(uint64_t startMs = 1000);
    TManualClock& Clock();
    // Advances the manual clock and wakes a waiting message loop.
    void AdvanceClock(uint64_t ms);
    // Every tick-count read advances the manual clock by `ms` (0: off, the default), so a loop that waits for
    // the clock without pumping messages ends; an idle wait for a timer then runs to its deadline at once.
    void SetClockStepPerRead(uint32_t ms);

    // --- The screen and capabilities -----------------------------------------------------------------------
    // Default: one 1024x768 primary monitor whose work area is the whole monitor.
    void SetMonitors(std::vector<TMonitorLayout> monitors);
    void SetLayeredWindows(bool available);
    // The version GetVersion reports (default 6.1).
    void SetSystemVersion(uint8_t major, uint8_t minor);
    void SetShaping(bool available);
    void SetDoubleClickTime(UINT ms);
    void SetDoubleClickSize(int width, int height);
    void SetDesktopColor(COLORREF color);

    // --- Raw input (any thread) ---------------------------------------------------------------------------
    void MouseMove(int x, int y);
    void MouseDown(TRawButton button = TRawButton::Left);
    void MouseUp(TRawButton button = TRawButton::Left);
    // Move, press and release.
    void Click(int x, int y, TRawButton button = TRawButton::Left);
    void Wheel(int delta);
    // A key-down carries the text the virtual keyboard makes of it: a US layout with the Shift, Ctrl, Alt
    // and Caps Lock state of the keys injected so far (no text with Ctrl). The second form gives the text.
    void KeyDown(UINT virtualKey);
    void KeyDown(UINT virtualKey, std::u32string text);
    void KeyUp(UINT virtualKey);
    // Press and release.
    void Key(UINT virtualKey);
    void Key(UINT virtualKey, std::u32string text);
    // Text without a key (an input method).
    void Char(uint32_t codePoint);
    // The window manager's close button.
    void CloseRequest(HWND hwnd);
    // The program gets or loses the display's keyboard focus.
    void AppActivate();
    void AppDeactivate();
    // The pointer goes to (x, y) over no window of ours.
    void PointerLeave(int x, int y);
    // The pointer moves with no event for us (over another program's window): only GetCursorPos sees it.
    void MovePointerSilently(int x, int y);
    // The window manager moved or sized a top-level window, or minimised or restored it.
    void WindowManagerMove(HWND topLevel, const RECT& bounds);
    void WindowManagerMinimize(HWND topLevel, bool minimized);
    void WindowManagerMaximize(HWND topLevel, bool maximized);
    // Files dropped at a screen point.
    void DropFiles(int x, int y, std::vector<std::string> paths);

    // --- Reading back -------------------------------------------------------------------------------------
    // The composed screen (all monitors' bounding box), 0xAARRGGBB, rows top-down.
    std::vector<uint32_t> Screen() const;
    // One pixel of the composed screen, 0x00RRGGBB.
    uint32_t ScreenPixel(int x, int y) const;
    // One pixel of a top-level window's back buffer in window coordinates, 0x00RRGGBB; 0 outside.
    uint32_t WindowPixel(HWND topLevel, int x, int y) const;
    HCURSOR Cursor() const { return FCursor; }
    // How often the display's bell rang.
    int Bells() const;
    // The image of the cursor last set, as the window layer's pixel query gave it (empty for standard cursors).
    const TCursorImage& CursorImage() const { return FCursorImage; }
    POINT Pointer() const;
    bool MouseCaptured() const { return FCaptured; }
    // Null for a window without a native window.
    const TNativeState* Native(HWND topLevel) const;
    // The natives' stacking, top first.
    std::vector<HWND> Stacking() const;
    HWND ActiveNative() const;

    // TBackend.
    TNativeWindow CreateNativeWindow(HWND hwnd, const RECT& bounds, DWORD style, DWORD exStyle) override;
    void DestroyNativeWindow(TNativeWindow window) override;
    void SetNativeWindowOwner(TNativeWindow window, TNativeWindow owner) override;
    void ShowNativeWindow(TNativeWindow window, bool visible) override;
    void MinimizeNativeWindow(TNativeWindow window, bool minimized) override;
    void MaximizeNativeWindow(TNativeWindow window, bool maximized) override;
    void SetNativeWindowBounds(TNativeWindow window, const RECT& bounds) override;
    void RestackNativeWindows(const std::vector<TNativeWindow>& topFirst) override;
    void ActivateNativeWindow(TNativeWindow window) override;
    void PresentNativeWindow(TNativeWindow window, const TBackBuffer& buffer, const RECT& dirty) override;
    void SetNativeWindowShape(TNativeWindow window, const TRegion* shape) override;
    void SetNativeWindowOpacity(TNativeWindow window, BYTE alpha) override;
    void SetNativeWindowTitle(TNativeWindow window, const std::string& title) override;
    void SetNativeWindowIcon(TNativeWindow window, const TCursorImage* icon) override;
    void Bell() override;
    void SetMouseCapture(bool captured) override;
    void SetCursorShape(HCURSOR cursor) override;
    POINT PointerPosition() override;
    void WarpPointer(POINT screen) override;
    void SetClipboard(const TClipboardData& data) override;
    TClipboardData Clipboard() override;
    void PumpEvents() override;
    void WaitForEvents(std::optional<uint64_t> deadline) override;
    void Wake() override;
    std::vector<TMonitorLayout> Monitors() override;
    TBackendCapabilities Capabilities() override;

private:
    class TStepClock;

    void Queue(const TRawInput& input);
    // The virtual keyboard's text of a key with the current modifiers.
    std::u32string LayoutText(UINT virtualKey) const;
    void TrackModifiers(UINT virtualKey, bool down);
    TNativeState* State(TNativeWindow window);

    TMessageLog FLog;
    bool FInstalled = false;
    std::unique_ptr<TStepClock> FClock;

    mutable std::mutex FLock; // guards the capabilities, monitors, pointer, keyboard and the wake flag
    std::condition_variable FWakeCondition;
    bool FWakePending = false;
    std::vector<TMonitorLayout> FMonitors;
    TBackendCapabilities FCapabilities;

    std::map<TNativeWindow, TNativeState> FNatives;
    std::vector<TNativeWindow> FStacking;
    TNativeWindow FNextNative = 1;
    int FBells = 0;
    TNativeWindow FActive = 0;
    HCURSOR FCursor = nullptr;
    TCursorImage FCursorImage;
    bool FCaptured = false;
    POINT FPointer {};
    bool FShift = false;
    bool FCtrl = false;
    bool FAlt = false;
    bool FCapsLock = false;
    TClipboardData FClipboard;
};

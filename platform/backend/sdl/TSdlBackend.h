// TSdlBackend, the real display: top-level windows as borderless SDL2 windows on X11 showing their back
// buffers, and SDL's input turned into the window layer's raw events.
//
// The program runs over it; a test that wants real windows makes one instead of the headless backend, with
// the X display its harness started:
//     TSdlBackend display;
//     std::string error;
//     ASSERT_TRUE(display.Install(":99", &error)) << error;
#pragma once
#include "platform/win/TBackend.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;
class TSdlTrayHost;

class TSdlBackend final : public TBackend {
    using inherited = TBackend;

public:
    TSdlBackend();
    // Stops the window layer if this backend still runs it, and closes the display.
    ~TSdlBackend() override;

    // Opens the X display (`display` names it; null takes $DISPLAY) and starts the window layer over it. UI
    // thread. False with a one-line reason when there is no display or the layer is already running.
    bool Install(const char* display, std::string* error);
    // The class every window of the program carries (WM_CLASS: instance name and class name), so that the desktop
    // groups them as one program. Before Install; by default the executable's name.
    void SetWindowClass(std::string instanceName, std::string className);
    void Uninstall();
    // Called with the window after each present of its back buffer has reached the display; null: nothing.
    void SetPresentObserver(std::function<void(HWND window)> observer) { FPresentObserver = std::move(observer); }

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
    std::string NativeWindowExportHandle(TNativeWindow window) override;
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
    // What the backend keeps of one native window.
    struct TNative {
        SDL_Window* Window = nullptr;
        HWND Handle = nullptr;
        RECT Bounds {}; // as last set by the window layer or reported to it
        bool Popup = false; // never takes the focus
        bool Visible = false;
        bool Minimized = false;
        bool Maximized = false;
        // Until the window manager has ended the maximised state (or a while at most), its configures may
        // still carry the maximised place: the layer's normal place holds and is set again at the end.
        uint32_t RestoringUntil = 0;
        bool Presented = false;
        std::string Title;
    };

    TNative* Find(TNativeWindow window);
    TNative* FindSdl(uint32_t sdlWindowId);
    unsigned long XWindowOf(const TNative& native) const;
    // Gives the window its title, in UTF-8 whatever the process locale.
    void SetTitle(const TNative& native) const;
    void Translate(const SDL_Event& event, const SDL_Event* next, bool& usedNext);
    void TranslateWindowEvent(const SDL_Event& event);
    // Screen coordinates of a point relative to an SDL window.
    POINT ToScreen(uint32_t sdlWindowId, int x, int y);
    void QueueMove(POINT screen);
    // A popup (which never takes the focus) that holds the display's keyboard focus.
    bool HoldsFocusWrongly(SDL_Window* window) const;
    // The program's focus and the pointer leaving our windows, decided after a whole batch of events.
    void SettleFocusAndPointer();
    void KeepFocusOnActive();
    // Sets the window's place and size to the layer's.
    static void ApplyBounds(TNative& native);
    SDL_Cursor* SystemCursor(int id);

    std::string FInstanceName;
    std::string FClassName;
    bool FInstalled = false;
    bool FVideoOpen = false;
    void* FDisplay = nullptr; // the Xlib Display
    uint32_t FWakeEvent = 0;
    std::function<void(HWND)> FPresentObserver;
    std::atomic<bool> FWakePending { false };
    std::map<TNativeWindow, TNative> FNatives;
    TNativeWindow FNextNative = 1;
    TNativeWindow FActive = 0;
    std::vector<TNativeWindow> FStacking;
    POINT FLastPoint { -100000, -100000 };
    bool FCaptured = false;
    bool FAppFocused = false;
    bool FCrossedOut = false;
    bool FShaping = false;
    // The compositor check is a round trip; it is repeated at most once a second.
    bool FCompositor = false;
    uint64_t FCompositorChecked = 0;
    bool FCompositorKnown = false;
    // A drop in progress: SDL hands over one path per event.
    std::vector<std::string> FDropPaths;
    POINT FDropPoint {};
    std::map<int, SDL_Cursor*> FCursors;
    SDL_Cursor* FCustomCursor = nullptr;
    HCURSOR FCursor = nullptr;
    // Formats other than text stay in this program, valid while the text on the clipboard is ours.
    TClipboardData FClipboard;
    std::string FClipboardText;
    bool FOwnsClipboard = false;
    unsigned long FClipboardOwner = 0; // the X window through which SDL owns the clipboard for us
    // How long another program may take to hand over the clipboard's text.
    static constexpr int kClipboardTimeoutMs = 1000;
    // The desktop's system tray, on a connection of its own; the tray host while the layer runs.
    std::unique_ptr<TSdlTrayHost> FTray;
    // How long after un-maximising the window manager's configures may still be stale.
    static constexpr uint32_t kRestoreSettleMs = 2000;
};

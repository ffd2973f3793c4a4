// TXSession, a private X server for the display tests: Xvfb on a free display number, optionally openbox and
// xcompmgr, with input through xdotool, file drops through our XDND source, the clipboard through xclip and
// screen pixels through XGetImage. Everything it starts is stopped when it goes, also after a failed test.
#pragma once
#include "tests/display/support/TChildProcess.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

struct _XDisplay;

// Bare: no window manager (not "None", which Xlib defines as a macro).
enum class TWindowManager { Bare, Openbox };

struct TXSessionOptions {
    int Width = 1024;
    int Height = 768;
    TWindowManager WindowManager = TWindowManager::Bare;
    bool Compositor = false; // xcompmgr
};

// The root is black (-br) where no window is.
// Pixels of a screen rectangle as 0x00RRGGBB, rows top-down; At takes screen coordinates.
struct TScreenImage {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;

    uint32_t At(int x, int y) const { return Pixels[size_t(y - Top) * size_t(Width) + size_t(x - Left)]; }
};

// X numbers the wheel as buttons: a click of 4 is a notch up (away from the user), of 5 a notch down.
enum class TMouseButton { Left = 1, Middle = 2, Right = 3, WheelUp = 4, WheelDown = 5 };

class TXSession final {
public:
    explicit TXSession(const TXSessionOptions& options = {});
    ~TXSession();
    TXSession(const TXSession&) = delete;
    TXSession& operator=(const TXSession&) = delete;

    // ":N", for DISPLAY.
    const std::string& DisplayName() const { return FDisplayName; }
    const TXSessionOptions& Options() const { return FOptions; }
    // The session's own connection, for queries (the program under test opens its own).
    _XDisplay* Connection() const { return FConnection; }
    // Sets DISPLAY of this process, for a program under test that runs inside the test executable.
    void Export() const;
    // The options for a tool that must talk to this server.
    TChildOptions ToolOptions() const;

    // Input, through xdotool (each call returns once the server has taken the event).
    void MoveTo(int x, int y);
    void Click(TMouseButton button = TMouseButton::Left);
    void ButtonDown(TMouseButton button = TMouseButton::Left);
    void ButtonUp(TMouseButton button = TMouseButton::Left);
    void Drag(int fromX, int fromY, int toX, int toY, TMouseButton button = TMouseButton::Left);
    // Characters beyond ASCII are bound to spare keys first, so they arrive even at a program that reads the
    // events late.
    void Type(const std::string& utf8);
    // The same, returning the running xdotool at once, so that the program under test runs its loop meanwhile.
    std::unique_ptr<TChildProcess> StartType(const std::string& utf8);
    // Key names as xdotool takes them: "Return", "ctrl+c", "Escape".
    void Key(const std::string& keys);
    // Where the server has the pointer.
    void PointerPosition(int& x, int& y) const;

    // Starts a drag of `paths` from our XDND source onto the window at (x, y); the pointer moves there. The
    // program under test must run its loop until the source has finished: ExitCode 0 when the target took
    // the drop, its errors otherwise.
    std::unique_ptr<TChildProcess> StartDrop(const std::vector<std::string>& paths, int x, int y) const;

    // The clipboard through xclip. SetClipboardText leaves an xclip serving the text until another client
    // takes the clipboard. StartReadClipboard returns the running xclip -o (Output() once Finished()), so a
    // program under test that owns the clipboard can serve it meanwhile; ClipboardText waits for it.
    void SetClipboardText(const std::string& utf8);
    // The same with a file's contents, for texts larger than a pipe holds.
    void SetClipboardFromFile(const std::string& path);
    std::unique_ptr<TChildProcess> StartReadClipboard() const;
    std::string ClipboardText() const;

    // The screen as it shows: XGetImage of the root window.
    TScreenImage Grab(int left, int top, int width, int height) const;

    // The top-level X window (a child of the root: a client, or its frame under a window manager) that shows
    // at a screen point, and the one that holds the keyboard focus; 0 for none.
    unsigned long TopLevelAt(int x, int y) const;
    unsigned long FocusedTopLevel() const;

    // Waits until a top-level window other than the session's own is mapped (a program under test has shown
    // its window); false when none is within `timeout` or `program` ends first.
    bool WaitForMappedWindow(TChildProcess& program, std::chrono::milliseconds timeout = std::chrono::seconds(20));

    // Does a client own the selection (window manager: "WM_S0", compositor: "_NET_WM_CM_S0")?
    bool SelectionOwned(const std::string& selection) const;
    // The X window that owns the selection ("CLIPBOARD"), 0 for none.
    unsigned long SelectionOwner(const std::string& selection) const;
    // The X server process, and the process ids of everything the session keeps running.
    TChildProcess& Server() { return *FServer; }
    std::vector<pid_t> Processes() const;

    // Stops the X server (a test of how a program takes losing its display).
    void KillServer();

private:
    void StartServer();
    void StartWindowManager();
    void KeepRootBlackWhenComposited();
    void StartHelper(
        std::unique_ptr<TChildProcess>& process, const std::vector<std::string>& argv, const std::string& selection);
    // Waits until a client other than `previous` owns the selection.
    void WaitForSelectionOwner(const std::string& selection, TChildProcess& owner, unsigned long previous = 0);
    void XdoTool(const std::vector<std::string>& arguments);
    // Starts the xclip that serves the clipboard from `path`, or from `input` when `path` is empty.
    void ServeClipboard(const std::string& path, const std::optional<std::string>& input);
    void BindCharacters(const std::string& utf8);

    TXSessionOptions FOptions;
    std::string FDisplayName;
    _XDisplay* FConnection = nullptr;
    std::unique_ptr<TChildProcess> FServer;
    std::unique_ptr<TChildProcess> FWindowManager;
    std::unique_ptr<TChildProcess> FCompositor;
    std::vector<std::unique_ptr<TChildProcess>> FClipboardServers;
    // The top-level windows mapped once the session was ready (the window manager's own).
    std::vector<unsigned long> FOwnWindows;
};

// One session per kind for the whole test executable, started on first use and stopped at exit (display
// tests run one executable as one ctest test, so its cases share the server).
TXSession& SharedXSession(const TXSessionOptions& options = {});
// Stops the shared sessions now (a test that killed one server gets a fresh one on next use).
void ResetSharedXSession(const TXSessionOptions& options);

// Runs `step` (which pumps the program under test, blocking at most about `slice`) until `done` holds or
// `timeout` has passed; true when done. Waits end by deadline, never by a fixed sleep.
bool WaitUntil(const std::function<bool()>& done, const std::function<void(std::chrono::milliseconds slice)>& step,
    std::chrono::milliseconds timeout = std::chrono::milliseconds(15000));

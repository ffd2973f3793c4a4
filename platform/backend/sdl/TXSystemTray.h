// TXSystemTray, the freedesktop system tray of an X display on a connection of its own: icon windows docked
// into the tray's manager over XEmbed, drawn from their pixels, and the pointer input on them.
#pragma once
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct _XDisplay;

// Straight-alpha 0xAARRGGBB pixels, rows top-down.
struct TTrayImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
};

// The image at another size, each pixel taken from the nearest source pixel; an empty image gives transparent
// pixels.
TTrayImage ScaleTrayImage(const TTrayImage& image, int width, int height);

class TXSystemTray final {
public:
    enum class TEventKind {
        ManagerAppeared, // a tray started (or replaced the old one): icons may be docked
        ManagerGone, // the tray went: every icon window went with it
        ButtonDown, // Window, Button (0 left, 1 right, 2 middle)
        ButtonUp,
        PointerMoved, // Window
    };
    struct TEvent {
        TEventKind Kind;
        unsigned long Window = 0;
        int Button = -1;
    };

    // Connects to `displayName` (an X display name as DISPLAY holds it) and looks for the tray. `wake` is called
    // from a thread of its own when the display has sent something, so that the UI thread's wait ends and it
    // calls Pump.
    TXSystemTray(const std::string& displayName, std::function<void()> wake);
    ~TXSystemTray();
    TXSystemTray(const TXSystemTray&) = delete;
    TXSystemTray& operator=(const TXSystemTray&) = delete;

    bool Connected() const { return FDisplay != nullptr; }
    // A tray manager owns the screen's tray selection.
    bool HasManager() const { return FManager != 0; }
    unsigned long Manager() const { return FManager; }

    // A new icon window, handed to the manager to embed; 0 without a manager. The tray gives it its size.
    unsigned long Dock(const TTrayImage& image, const std::string& tip);
    void SetImage(unsigned long window, const TTrayImage& image);
    // The window's name, which trays show as the icon's tooltip.
    void SetTip(unsigned long window, const std::string& tip);
    // Unmaps and destroys the window (the tray drops it).
    void Remove(unsigned long window);
    // Where the window shows on the screen; false when it does not show (not embedded yet, or gone).
    bool ScreenRect(unsigned long window, int& x, int& y, int& width, int& height);

    // Handles everything the display has sent, reporting what concerns the icons. UI thread.
    void Pump(const std::function<void(const TEvent&)>& report);

private:
    struct TIconWindow {
        TTrayImage Image;
        int Width = 0;
        int Height = 0;
        bool Alpha = false; // in the tray's 32-bit visual: drawn with its alpha, over nothing
    };

    void Handle(const union _XEvent& event, const std::function<void(const TEvent&)>& report);
    // Takes the selection's owner as the manager (watching it for its end); true when that is a new one.
    bool FindManager();
    // The 32-bit visual the manager asks icons to use (_NET_SYSTEM_TRAY_VISUAL), with a colormap for it.
    void TakeManagerVisual();
    void FreeManagerVisual();
    void DropIcons();
    void Draw(unsigned long window, const TIconWindow& icon);
    void DrawWithAlpha(unsigned long window, const TIconWindow& icon, const TTrayImage& scaled);
    // Events read while requests waited for their answers are in Xlib's queue, where the watcher cannot see them.
    void WakeForQueued();
    void Watch();

    _XDisplay* FDisplay = nullptr;
    unsigned long FRoot = 0;
    unsigned long FManager = 0;
    // The Xlib Visual; null: the screen's own visual, with the tray's background behind the icon.
    void* FAlphaVisual = nullptr;
    unsigned long FAlphaColormap = 0;
    unsigned long FSelection = 0; // atoms
    unsigned long FOpcode = 0;
    unsigned long FManagerMessage = 0;
    unsigned long FXEmbedInfo = 0;
    unsigned long FNetWmName = 0;
    unsigned long FUtf8String = 0;
    unsigned long FTrayVisual = 0;
    std::map<unsigned long, TIconWindow> FIcons;

    // The watcher: it wakes the UI thread when the connection has data, then waits until a Pump has read it.
    std::function<void()> FWake;
    std::thread FWatcher;
    int FStopFd = -1;
    std::mutex FLock;
    std::condition_variable FPumped;
    uint64_t FPumps = 0;
    bool FStopping = false;
};

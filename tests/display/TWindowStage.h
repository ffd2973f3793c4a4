// TWindowStage, where the display tests play one scenario twice: on the headless backend, and on a real display
// under Xvfb. Both give the same message log and screen pixels, so a test compares them.
#pragma once
#include "platform/backend/headless/TMessageLog.h"
#include "platform/win/Windows.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

class THeadlessBackend;

// Answers a message for the stage's windows; nullopt passes it to DefWindowProc.
using TStageHandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

// A rectangle of the screen, 0x00RRGGBB, rows top-down.
struct TStagePixels {
    RECT Area {};
    std::vector<uint32_t> Pixels;

    uint32_t At(int x, int y) const
    {
        return Pixels[size_t(y - Area.top) * size_t(Area.right - Area.left) + size_t(x - Area.left)];
    }
};

// How many pixels two grabs of the same area differ in; SIZE_MAX when their sizes differ.
size_t DifferingPixels(const TStagePixels& a, const TStagePixels& b);

class TWindowStage {
public:
    static constexpr const char* kClass = "StageWindow";
    // Where the pointer waits between scenarios: over no window.
    static constexpr POINT kRestingPoint { 1000, 740 };
    // The desktop where no window is: Xvfb's black root, and the headless backend's desktop colour to match.
    static constexpr COLORREF kDesktop = RGB(0, 0, 0);

    virtual ~TWindowStage();
    virtual std::string Name() const = 0;

    // Starts the window layer over the stage's backend with the GDI's DCs and registers kClass, whose
    // procedure runs Handler. The pointer rests at kRestingPoint.
    void Start();
    // Stops the layer (every window goes).
    void Stop();

    TStageHandler Handler;
    // Handles every message waiting; null dispatches them as they come. A scenario on the framework sets the
    // application's loop, whose hooks (a menu's keys, say) a plain dispatch would pass by.
    std::function<void()> MessageLoop;
    TMessageLog& Log() { return FLog; }

    HWND CreateTop(const RECT& r, DWORD style = WS_POPUP | WS_VISIBLE, DWORD exStyle = 0, HWND owner = nullptr);
    HWND CreateChild(HWND parent, const RECT& r, DWORD style = WS_CHILD | WS_VISIBLE);

    // Input as the user gives it. Each returns once the window layer has delivered what it caused, which
    // must include one of `awaited` (any message of these numbers, to any window).
    virtual void MoveTo(int x, int y, std::initializer_list<UINT> awaited = { WM_MOUSEMOVE, WM_NCMOUSEMOVE }) = 0;
    virtual void ButtonDown(std::initializer_list<UINT> awaited = { WM_LBUTTONDOWN, WM_NCLBUTTONDOWN }) = 0;
    virtual void ButtonUp(std::initializer_list<UINT> awaited = { WM_LBUTTONUP, WM_NCLBUTTONUP }) = 0;
    // Presses and releases the right button where the pointer is (which opens a control's popup menu).
    virtual void RightClick(std::initializer_list<UINT> awaited = { WM_RBUTTONUP, WM_NCRBUTTONUP }) = 0;
    // Presses at (x, y), moves by (dx, dy) and releases, all given before the window layer looks at any of it, as
    // a quick hand does: a press that starts a modal loop (sizing, moving) finds the rest of the drag waiting.
    // Returns once one of `awaited` was delivered.
    virtual void DragBy(int x, int y, int dx, int dy,
        std::initializer_list<UINT> awaited = { WM_LBUTTONUP, WM_NCLBUTTONUP, WM_EXITSIZEMOVE })
        = 0;
    // Turns the wheel by `notches` where the pointer is (positive: up, away from the user); returns once one of
    // `awaited` was delivered for every notch.
    virtual void Wheel(int notches, std::initializer_list<UINT> awaited = { WM_MOUSEWHEEL }) = 0;
    // Files dropped at a screen point; returns once WM_DROPFILES was delivered.
    virtual void DropFiles(const std::vector<std::string>& paths, int x, int y) = 0;
    // Types text; returns once `characters` WM_CHAR messages more have been delivered.
    virtual void Type(const std::string& utf8, size_t characters) = 0;
    // Presses the keys in order and releases them the other way round (VK_CONTROL, 'C'); returns once every
    // release was delivered.
    virtual void Keys(std::initializer_list<UINT> chord) = 0;

    // Runs the message loop until the queue is empty and every window is painted; blocks at most about `slice`
    // waiting for the display.
    virtual void Pump(std::chrono::milliseconds slice = std::chrono::milliseconds(0)) = 0;
    // Lets time pass, running the loop, until `done` holds (a timer's window has shown, say); false after
    // `timeout`. Headless the virtual clock moves on in small steps; on a display the wait is real time.
    virtual bool PumpUntil(
        const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(15))
        = 0;
    // The screen as it shows now (the desktop black).
    virtual TStagePixels Grab(const RECT& area) = 0;
    // Returns once the display shows in `area` what the window layer composed there (windows mapped, painted
    // and presented), after pumping.
    virtual void Settle(const RECT& area) = 0;
    // Grabs until the screen shows `expected` (the display may take a moment to show what was presented), or
    // a few seconds have passed; the last grab.
    TStagePixels GrabWhenShowing(const TStagePixels& expected);

protected:
    virtual bool StartBackend() = 0;
    virtual void StopBackend() = 0;
    // Pumps until one more message of `awaited` than `before` has been delivered; false after the deadline.
    bool AwaitMessages(std::initializer_list<UINT> awaited, size_t before);
    size_t CountOf(std::initializer_list<UINT> messages) const;
    // What Pump does once the backend has what the display sent: MessageLoop, or a plain dispatch.
    void HandleWaiting();

private:
    static LRESULT StageProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    TMessageLog FLog;
    bool FStarted = false;
};

// The tests' own display without a display: raw input straight into the layer, the composed screen.
class THeadlessStage final : public TWindowStage {
public:
    THeadlessStage();
    ~THeadlessStage() override;
    std::string Name() const override { return "headless"; }
    THeadlessBackend& Backend() { return *FBackend; }

    void MoveTo(int x, int y, std::initializer_list<UINT> awaited = { WM_MOUSEMOVE, WM_NCMOUSEMOVE }) override;
    void ButtonDown(std::initializer_list<UINT> awaited = { WM_LBUTTONDOWN, WM_NCLBUTTONDOWN }) override;
    void ButtonUp(std::initializer_list<UINT> awaited = { WM_LBUTTONUP, WM_NCLBUTTONUP }) override;
    void RightClick(std::initializer_list<UINT> awaited = { WM_RBUTTONUP, WM_NCRBUTTONUP }) override;
    void DragBy(int x, int y, int dx, int dy,
        std::initializer_list<UINT> awaited = { WM_LBUTTONUP, WM_NCLBUTTONUP, WM_EXITSIZEMOVE }) override;
    void Wheel(int notches, std::initializer_list<UINT> awaited = { WM_MOUSEWHEEL }) override;
    void DropFiles(const std::vector<std::string>& paths, int x, int y) override;
    void Type(const std::string& utf8, size_t characters) override;
    void Keys(std::initializer_list<UINT> chord) override;
    void Pump(std::chrono::milliseconds slice = std::chrono::milliseconds(0)) override;
    bool PumpUntil(
        const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(15)) override;
    TStagePixels Grab(const RECT& area) override;
    void Settle(const RECT&) override { Pump(); }

protected:
    bool StartBackend() override;
    void StopBackend() override;

private:
    std::unique_ptr<THeadlessBackend> FBackend;
};

// The (window, message) steps of `log` with one of `messages`, windows named by `names` (others "?"), with
// the coordinates of mouse messages: "child WM_LBUTTONDOWN 5,5". For comparing two stages' logs.
std::vector<std::string> NamedSteps(const TMessageLog& log, std::initializer_list<UINT> messages,
    const std::vector<std::pair<HWND, std::string>>& names);

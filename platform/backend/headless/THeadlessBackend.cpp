#include "platform/backend/headless/THeadlessBackend.h"

#include "platform/win/Platform.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <atomic>
#include <chrono>

// The manual clock behind the tick source, optionally stepping on every read.
class THeadlessBackend::TStepClock final : public TTickSource {
public:
    explicit TStepClock(uint64_t start)
        : Clock(start)
    {
    }

    uint64_t Milliseconds() override
    {
        if (const uint32_t step = Step.load())
            Clock.Advance(step);
        return Clock.Milliseconds();
    }
    void SleepFor(uint32_t ms) override { Clock.SleepFor(ms); }

    TManualClock Clock;
    std::atomic<uint32_t> Step { 0 };
};

THeadlessBackend::THeadlessBackend()
{
    FMonitors.push_back(TMonitorLayout { RECT { 0, 0, 1024, 768 }, RECT { 0, 0, 1024, 768 }, true });
}

THeadlessBackend::~THeadlessBackend()
{
    Uninstall();
    if (FClock && CurrentTickSource() == FClock.get())
        SetTickSource(nullptr);
}

bool THeadlessBackend::Install()
{
    if (FInstalled || !PlatformStart(this))
        return false;
    FInstalled = true;
    SetMessageObserver(&FLog);
    return true;
}

void THeadlessBackend::Uninstall()
{
    if (!FInstalled)
        return;
    FInstalled = false;
    if (PlatformBackend() == this) {
        SetMessageObserver(nullptr);
        PlatformStop();
    }
}

void THeadlessBackend::UseManualClock(uint64_t startMs)
{
    if (!FClock)
        FClock = std::make_unique<TStepClock>(startMs);
    else
        FClock->Clock.Set(startMs);
    SetTickSource(FClock.get());
}

TManualClock& THeadlessBackend::Clock()
{
    if (!FClock)
        UseManualClock();
    return FClock->Clock;
}

void THeadlessBackend::AdvanceClock(uint64_t ms)
{
    Clock().Advance(ms);
    Wake();
}

void THeadlessBackend::SetClockStepPerRead(uint32_t ms)
{
    if (!FClock)
        UseManualClock();
    FClock->Step.store(ms);
}

void THeadlessBackend::SetMonitors(std::vector<TMonitorLayout> monitors)
{
    std::lock_guard lock(FLock);
    if (!monitors.empty())
        FMonitors = std::move(monitors);
}

void THeadlessBackend::SetLayeredWindows(bool available)
{
    std::lock_guard lock(FLock);
    FCapabilities.LayeredWindows = available;
}

void THeadlessBackend::SetDesktopColor(COLORREF color)
{
    std::lock_guard lock(FLock);
    FCapabilities.DesktopColor = color;
}

void THeadlessBackend::SetSystemVersion(uint8_t major, uint8_t minor)
{
    std::lock_guard lock(FLock);
    FCapabilities.VersionMajor = major;
    FCapabilities.VersionMinor = minor;
}

void THeadlessBackend::SetShaping(bool available)
{
    std::lock_guard lock(FLock);
    FCapabilities.Shaping = available;
}

void THeadlessBackend::SetDoubleClickTime(UINT ms)
{
    std::lock_guard lock(FLock);
    FCapabilities.DoubleClickTime = ms;
}

void THeadlessBackend::SetDoubleClickSize(int width, int height)
{
    std::lock_guard lock(FLock);
    FCapabilities.DoubleClickWidth = width;
    FCapabilities.DoubleClickHeight = height;
}

void THeadlessBackend::Queue(const TRawInput& input)
{
    QueueRawInput(input);
}

void THeadlessBackend::MouseMove(int x, int y)
{
    {
        std::lock_guard lock(FLock);
        FPointer = POINT { x, y };
    }
    TRawInput input;
    input.Kind = TRawInputKind::MouseMove;
    input.Point = POINT { x, y };
    Queue(input);
}

void THeadlessBackend::MouseDown(TRawButton button)
{
    TRawInput input;
    input.Kind = TRawInputKind::ButtonDown;
    input.Button = button;
    Queue(input);
}

void THeadlessBackend::MouseUp(TRawButton button)
{
    TRawInput input;
    input.Kind = TRawInputKind::ButtonUp;
    input.Button = button;
    Queue(input);
}

void THeadlessBackend::Click(int x, int y, TRawButton button)
{
    MouseMove(x, y);
    MouseDown(button);
    MouseUp(button);
}

void THeadlessBackend::Wheel(int delta)
{
    TRawInput input;
    input.Kind = TRawInputKind::Wheel;
    input.WheelDelta = delta;
    Queue(input);
}

void THeadlessBackend::KeyDown(UINT virtualKey)
{
    KeyDown(virtualKey, LayoutText(virtualKey));
}

void THeadlessBackend::KeyDown(UINT virtualKey, std::u32string text)
{
    TrackModifiers(virtualKey, true);
    TRawInput input;
    input.Kind = TRawInputKind::KeyDown;
    input.VirtualKey = virtualKey;
    input.Text = std::move(text);
    Queue(input);
}

void THeadlessBackend::KeyUp(UINT virtualKey)
{
    TrackModifiers(virtualKey, false);
    TRawInput input;
    input.Kind = TRawInputKind::KeyUp;
    input.VirtualKey = virtualKey;
    Queue(input);
}

void THeadlessBackend::Key(UINT virtualKey)
{
    KeyDown(virtualKey);
    KeyUp(virtualKey);
}

void THeadlessBackend::Key(UINT virtualKey, std::u32string text)
{
    KeyDown(virtualKey, std::move(text));
    KeyUp(virtualKey);
}

void THeadlessBackend::Char(uint32_t codePoint)
{
    TRawInput input;
    input.Kind = TRawInputKind::Char;
    input.Char = codePoint;
    Queue(input);
}

void THeadlessBackend::CloseRequest(HWND hwnd)
{
    TRawInput input;
    input.Kind = TRawInputKind::CloseRequest;
    input.Window = hwnd;
    Queue(input);
}

void THeadlessBackend::AppActivate()
{
    TRawInput input;
    input.Kind = TRawInputKind::AppActivate;
    Queue(input);
}

void THeadlessBackend::AppDeactivate()
{
    TRawInput input;
    input.Kind = TRawInputKind::AppDeactivate;
    Queue(input);
}

void THeadlessBackend::PointerLeave(int x, int y)
{
    {
        std::lock_guard lock(FLock);
        FPointer = POINT { x, y };
    }
    TRawInput input;
    input.Kind = TRawInputKind::PointerLeave;
    input.Point = POINT { x, y };
    Queue(input);
}

void THeadlessBackend::MovePointerSilently(int x, int y)
{
    std::lock_guard lock(FLock);
    FPointer = POINT { x, y };
}

void THeadlessBackend::WindowManagerMove(HWND topLevel, const RECT& bounds)
{
    for (auto& [id, state] : FNatives)
        if (state.Window == topLevel)
            state.Bounds = bounds;
    TRawInput input;
    input.Kind = TRawInputKind::WindowMoved;
    input.Window = topLevel;
    input.Bounds = bounds;
    Queue(input);
}

void THeadlessBackend::WindowManagerMinimize(HWND topLevel, bool minimized)
{
    for (auto& [id, state] : FNatives)
        if (state.Window == topLevel)
            state.Minimized = minimized;
    TRawInput input;
    input.Kind = TRawInputKind::WindowMinimized;
    input.Window = topLevel;
    input.Flag = minimized;
    Queue(input);
}

void THeadlessBackend::WindowManagerMaximize(HWND topLevel, bool maximized)
{
    for (auto& [id, state] : FNatives)
        if (state.Window == topLevel)
            state.Maximized = maximized;
    TRawInput input;
    input.Kind = TRawInputKind::WindowMaximized;
    input.Window = topLevel;
    input.Flag = maximized;
    Queue(input);
}

void THeadlessBackend::DropFiles(int x, int y, std::vector<std::string> paths)
{
    TRawInput input;
    input.Kind = TRawInputKind::Drop;
    input.Point = POINT { x, y };
    input.Paths = std::move(paths);
    Queue(input);
}

void THeadlessBackend::TrackModifiers(UINT virtualKey, bool down)
{
    std::lock_guard lock(FLock);
    switch (virtualKey) {
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
        FShift = down;
        break;
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
        FCtrl = down;
        break;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
        FAlt = down;
        break;
    case VK_CAPITAL:
        if (down)
            FCapsLock = !FCapsLock;
        break;
    default:
        break;
    }
}

std::u32string THeadlessBackend::LayoutText(UINT vk) const
{
    bool shift, caps;
    {
        std::lock_guard lock(FLock);
        // Like a real display, Ctrl combinations make no text (their control characters are the window
        // layer's business).
        if (FCtrl)
            return {};
        shift = FShift;
        caps = FCapsLock;
    }
    auto one = [](uint32_t c) { return std::u32string(1, char32_t(c)); };
    if (vk >= 'A' && vk <= 'Z')
        return one((shift != caps) ? vk : vk + ('a' - 'A'));
    if (vk >= '0' && vk <= '9')
        return one(shift ? uint32_t(")!@#$%^&*("[vk - '0']) : vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return one('0' + (vk - VK_NUMPAD0));
    struct TOemKey {
        UINT Key;
        char Plain;
        char Shifted;
    };
    static constexpr TOemKey kKeys[] = {
        { VK_OEM_1, ';', ':' },
        { VK_OEM_PLUS, '=', '+' },
        { VK_OEM_COMMA, ',', '<' },
        { VK_OEM_MINUS, '-', '_' },
        { VK_OEM_PERIOD, '.', '>' },
        { VK_OEM_2, '/', '?' },
        { VK_OEM_3, '`', '~' },
        { VK_OEM_4, '[', '{' },
        { VK_OEM_5, '\\', '|' },
        { VK_OEM_6, ']', '}' },
        { VK_OEM_7, '\'', '"' },
        { VK_SPACE, ' ', ' ' },
        { VK_MULTIPLY, '*', '*' },
        { VK_ADD, '+', '+' },
        { VK_SUBTRACT, '-', '-' },
        { VK_DECIMAL, '.', '.' },
        { VK_DIVIDE, '/', '/' },
    };
    for (const TOemKey& k : kKeys)
        if (k.Key == vk)
            return one(uint32_t(shift ? k.Shifted : k.Plain));
    return {};
}

std::vector<uint32_t> THeadlessBackend::Screen() const
{
    RECT area;
    {
        std::lock_guard lock(FLock);
        area = FMonitors.front().Monitor;
        for (const TMonitorLayout& m : FMonitors)
            UnionRect(&area, &area, &m.Monitor);
    }
    return ComposeScreen(area, FCapabilities.DesktopColor);
}

uint32_t THeadlessBackend::ScreenPixel(int x, int y) const
{
    const std::vector<uint32_t> pixel = ComposeScreen(RECT { x, y, x + 1, y + 1 }, FCapabilities.DesktopColor);
    return pixel.empty() ? 0 : pixel[0] & 0xFFFFFF;
}

uint32_t THeadlessBackend::WindowPixel(HWND topLevel, int x, int y) const
{
    TWindowSurface surface;
    if (!GetWindowSurface(topLevel, false, surface))
        return 0;
    const int bx = surface.Origin.x + x;
    const int by = surface.Origin.y + y;
    if (bx < 0 || by < 0 || bx >= surface.Width || by >= surface.Height)
        return 0;
    return surface.Pixels[size_t(by) * size_t(surface.Width) + size_t(bx)] & 0xFFFFFF;
}

const THeadlessBackend::TNativeState* THeadlessBackend::Native(HWND topLevel) const
{
    for (const auto& [id, state] : FNatives)
        if (state.Window == topLevel)
            return &state;
    return nullptr;
}

std::vector<HWND> THeadlessBackend::Stacking() const
{
    std::vector<HWND> out;
    for (TNativeWindow id : FStacking)
        if (auto it = FNatives.find(id); it != FNatives.end())
            out.push_back(it->second.Window);
    return out;
}

HWND THeadlessBackend::ActiveNative() const
{
    auto it = FNatives.find(FActive);
    return it == FNatives.end() ? nullptr : it->second.Window;
}

THeadlessBackend::TNativeState* THeadlessBackend::State(TNativeWindow window)
{
    auto it = FNatives.find(window);
    return it == FNatives.end() ? nullptr : &it->second;
}

TNativeWindow THeadlessBackend::CreateNativeWindow(HWND hwnd, const RECT& bounds, DWORD, DWORD)
{
    const TNativeWindow id = FNextNative++;
    TNativeState state;
    state.Window = hwnd;
    state.Bounds = bounds;
    FNatives[id] = state;
    FStacking.insert(FStacking.begin(), id);
    return id;
}

void THeadlessBackend::DestroyNativeWindow(TNativeWindow window)
{
    if (auto it = FNatives.find(window); it != FNatives.end())
        for (auto& [id, state] : FNatives)
            if (state.Owner == it->second.Window)
                state.Owner = nullptr;
    FNatives.erase(window);
    std::erase(FStacking, window);
    if (FActive == window)
        FActive = 0;
}

void THeadlessBackend::SetNativeWindowOwner(TNativeWindow window, TNativeWindow owner)
{
    if (TNativeState* state = State(window)) {
        const TNativeState* ownerState = State(owner);
        state->Owner = ownerState ? ownerState->Window : nullptr;
    }
}

void THeadlessBackend::ShowNativeWindow(TNativeWindow window, bool visible)
{
    if (TNativeState* state = State(window))
        state->Visible = visible;
}

void THeadlessBackend::MinimizeNativeWindow(TNativeWindow window, bool minimized)
{
    if (TNativeState* state = State(window))
        state->Minimized = minimized;
}

void THeadlessBackend::MaximizeNativeWindow(TNativeWindow window, bool maximized)
{
    if (TNativeState* state = State(window))
        state->Maximized = maximized;
}

void THeadlessBackend::SetNativeWindowBounds(TNativeWindow window, const RECT& bounds)
{
    if (TNativeState* state = State(window))
        state->Bounds = bounds;
}

void THeadlessBackend::RestackNativeWindows(const std::vector<TNativeWindow>& topFirst)
{
    FStacking = topFirst;
}

void THeadlessBackend::ActivateNativeWindow(TNativeWindow window)
{
    FActive = window;
}

void THeadlessBackend::PresentNativeWindow(TNativeWindow window, const TBackBuffer&, const RECT& dirty)
{
    // The composed screen reads the back buffers directly; presenting is only counted.
    if (TNativeState* state = State(window)) {
        ++state->Presents;
        state->LastPresent = dirty;
    }
}

void THeadlessBackend::SetNativeWindowShape(TNativeWindow window, const TRegion* shape)
{
    if (TNativeState* state = State(window)) {
        state->Shaped = shape != nullptr;
        state->Shape = shape ? *shape : TRegion();
    }
}

void THeadlessBackend::SetNativeWindowOpacity(TNativeWindow window, BYTE alpha)
{
    if (TNativeState* state = State(window))
        state->Opacity = alpha;
}

void THeadlessBackend::SetNativeWindowTitle(TNativeWindow window, const std::string& title)
{
    if (TNativeState* state = State(window))
        state->Title = title;
}

void THeadlessBackend::SetNativeWindowIcon(TNativeWindow window, const TCursorImage* icon)
{
    TNativeState* state = State(window);
    if (!state)
        return;
    state->IconSize = icon ? SIZE { icon->Width, icon->Height } : SIZE {};
    state->IconPixels = icon ? icon->StraightPixels() : std::vector<uint32_t>();
}

void THeadlessBackend::Bell()
{
    std::lock_guard<std::mutex> lock(FLock);
    ++FBells;
}

int THeadlessBackend::Bells() const
{
    std::lock_guard<std::mutex> lock(FLock);
    return FBells;
}

void THeadlessBackend::SetMouseCapture(bool captured)
{
    FCaptured = captured;
}

void THeadlessBackend::SetCursorShape(HCURSOR cursor)
{
    FCursor = cursor;
    // A real display turns the pixels into its own cursor here; the record lets tests see what it would get.
    FCursorImage = TCursorImage();
    GetCursorImage(cursor, FCursorImage);
}

POINT THeadlessBackend::Pointer() const
{
    std::lock_guard lock(FLock);
    return FPointer;
}

POINT THeadlessBackend::PointerPosition()
{
    return Pointer();
}

void THeadlessBackend::WarpPointer(POINT screen)
{
    // Like a display, the warp comes back as a move.
    MouseMove(screen.x, screen.y);
}

void THeadlessBackend::SetClipboard(const TClipboardData& data)
{
    std::lock_guard lock(FLock);
    FClipboard = data;
}

TClipboardData THeadlessBackend::Clipboard()
{
    std::lock_guard lock(FLock);
    return FClipboard;
}

void THeadlessBackend::PumpEvents()
{
    // Injected input goes straight into the window layer's queue.
}

void THeadlessBackend::WaitForEvents(std::optional<uint64_t> deadline)
{
    std::unique_lock lock(FLock);
    for (;;) {
        if (FWakePending) {
            FWakePending = false;
            return;
        }
        if (deadline && GetTickCount64() >= *deadline)
            return;
        if (FClock && CurrentTickSource() == FClock.get()) {
            // A stepping clock runs to the deadline on its own reads; a still one waits for AdvanceClock.
            if (deadline && FClock->Step.load() > 0)
                continue;
            FWakeCondition.wait(lock);
        } else if (deadline) {
            const uint64_t now = GetTickCount64();
            FWakeCondition.wait_for(lock, std::chrono::milliseconds(*deadline - now));
        } else {
            FWakeCondition.wait(lock);
        }
    }
}

void THeadlessBackend::Wake()
{
    {
        std::lock_guard lock(FLock);
        FWakePending = true;
    }
    FWakeCondition.notify_all();
}

std::vector<TMonitorLayout> THeadlessBackend::Monitors()
{
    std::lock_guard lock(FLock);
    return FMonitors;
}

TBackendCapabilities THeadlessBackend::Capabilities()
{
    std::lock_guard lock(FLock);
    return FCapabilities;
}

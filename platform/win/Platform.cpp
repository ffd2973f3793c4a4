#include "framework/core/TThread.h"
#include "platform/win/Clipboard.h"
#include "platform/win/MDI.h"
#include "platform/win/PlatformState.h"

#include <atomic>

TPlatformState* GPlatform = nullptr;

TBackend::~TBackend() = default;
TMessageObserver::~TMessageObserver() = default;

namespace {

// Read by WakeMainThread on worker threads, so kept apart from the UI thread's state.
std::atomic<TBackend*> WakeTarget { nullptr };

thread_local DWORD LastError = ERROR_SUCCESS;

std::shared_ptr<TWindowRecord> MakeRootRecord(bool desktop)
{
    auto record = std::make_shared<TWindowRecord>();
    record->IsDesktop = desktop;
    record->IsMessageRoot = !desktop;
    record->Style = desktop ? (WS_VISIBLE | WS_CLIPCHILDREN) : 0;
    record->Created = true;
    record->Handle = WinCore::AllocateHandle(record);
    return record;
}

} // namespace

DWORD GetLastError()
{
    return LastError;
}

void SetLastError(DWORD error)
{
    LastError = error;
}

bool PlatformStart(TBackend* backend)
{
    if (GPlatform || !backend || !WinCore::IsUiThread())
        return false;
    GPlatform = new TPlatformState;
    GPlatform->Backend = backend;
    GPlatform->Desktop = MakeRootRecord(true);
    GPlatform->MessageRoot = MakeRootRecord(false);
    RECT screen { GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0 };
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    GPlatform->Desktop->Window = screen;
    GPlatform->Desktop->Client = RECT { 0, 0, screen.right - screen.left, screen.bottom - screen.top };
    WinCore::VisibleLayoutChanged();
    GPlatform->Cursor = LoadCursor(nullptr, IDC_ARROW);
    GPlatform->DCProvider = InstalledDCProvider();
    WinCore::RegisterMDIClientClass();
    WakeTarget.store(backend);
    GPlatform->PreviousWake = WakeMainThread;
    WakeMainThread = [] {
        if (TBackend* target = WakeTarget.load())
            target->Wake();
    };
    return true;
}

bool PlatformStop()
{
    if (!GPlatform || !WinCore::IsUiThread() || GPlatform->SendDepth > 0 || GPlatform->SizeMoveWindow)
        return false;
    TPlatformState& s = *GPlatform;
    // Windows go first, with their messages, while everything they may call still works.
    for (int pass = 0; pass < 8; ++pass) {
        std::vector<HWND> windows;
        for (TWindowRecord* w : s.Desktop->Children)
            windows.push_back(w->Handle);
        for (TWindowRecord* w : s.MessageRoot->Children)
            windows.push_back(w->Handle);
        if (windows.empty())
            break;
        for (HWND hwnd : windows)
            DestroyWindow(hwnd);
    }
    if (s.ClipboardOpen)
        CloseClipboard();
    WakeMainThread = s.PreviousWake;
    WakeTarget.store(nullptr);
    WinCore::ReleaseHandle(s.Desktop->Handle);
    WinCore::ReleaseHandle(s.MessageRoot->Handle);
    delete GPlatform;
    GPlatform = nullptr;
    return true;
}

bool PlatformStarted()
{
    return GPlatform != nullptr;
}

TBackend* PlatformBackend()
{
    return GPlatform ? GPlatform->Backend : nullptr;
}

void QueueRawInput(const TRawInput& input)
{
    TPlatformState* s = GPlatform;
    if (!s)
        return;
    {
        std::lock_guard lock(s->QueueLock);
        switch (input.Kind) {
        case TRawInputKind::MouseMove:
            s->CursorPos = input.Point;
            s->PointerOutside = false;
            break;
        case TRawInputKind::PointerLeave:
            s->CursorPos = input.Point;
            s->PointerOutside = true;
            break;
        case TRawInputKind::ButtonDown:
        case TRawInputKind::ButtonUp: {
            static constexpr UINT kKeys[] = { VK_LBUTTON, VK_RBUTTON, VK_MBUTTON };
            const UINT vk = kKeys[static_cast<int>(input.Button)];
            s->AsyncKeyState[vk] = input.Kind == TRawInputKind::ButtonDown ? 0x80 : 0;
            break;
        }
        case TRawInputKind::KeyDown:
        case TRawInputKind::KeyUp:
            if (input.VirtualKey < 256) {
                BYTE& state = s->AsyncKeyState[input.VirtualKey];
                if (input.Kind == TRawInputKind::KeyDown)
                    state = BYTE((state & 0x80) ? state : ((state ^ 1) | 0x80));
                else
                    state = BYTE(state & 1);
            }
            break;
        default:
            break;
        }
        TRawInput queued = input;
        // Button events happen where the pointer is; a drop carries its own point.
        if (input.Kind != TRawInputKind::MouseMove && input.Kind != TRawInputKind::Drop)
            queued.Point = s->CursorPos;
        s->Raw.push_back(queued);
    }
    s->Backend->Wake();
}

void SetMessageObserver(TMessageObserver* observer)
{
    if (GPlatform)
        GPlatform->Observer = observer;
}

namespace WinCore {

POINT CursorNow()
{
    std::lock_guard lock(GPlatform->QueueLock);
    return GPlatform->CursorPos;
}

bool IsUiThread()
{
    return GetCurrentThreadId() == MainThreadID();
}

bool Ready()
{
    if (!GPlatform) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (!IsUiThread()) {
        SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
        return false;
    }
    return true;
}

} // namespace WinCore

#include "framework/controls/TApplication.h"

#include "framework/controls/ActnList.h"
#include "framework/controls/AllocateHWnd.h"
#include "framework/controls/TControlCanvas.h"
#include "framework/controls/TCustomForm.h"
#include "framework/controls/THintWindow.h"
#include "framework/controls/TScreen.h"
#include "framework/core/FileSystem.h"
#include "framework/core/TThread.h"
#include "framework/graphics/TIcon.h"
#include "platform/win/Platform.h"
#include "platform/win/Windows.h"

#include <cstdio>
#include <unistd.h>

TApplication* Application = nullptr;

THintWindowClass HintWindowClass = [](TComponent* owner) { return new THintWindow(owner); };

namespace {

constexpr UINT_PTR kHintTimer = 1;
enum THintTimerMode { tmNone, tmShow, tmHide };

TMessageBoxProc& MessageBoxProc()
{
    static TMessageBoxProc proc;
    return proc;
}

// The hint of a control, or of the nearest parent that has one.
std::string HintOf(const TControl* control)
{
    for (; control; control = control->Parent())
        if (!control->Hint().empty())
            return control->Hint();
    return "";
}

// The control (or parent) whose hint shows for `control`.
TControl* HintControlOf(TControl* control)
{
    while (control && !control->ShowHint())
        control = control->Parent();
    return control;
}

} // namespace

std::string GetShortHint(std::string_view hint)
{
    const size_t bar = hint.find('|');
    return std::string(bar == std::string_view::npos ? hint : hint.substr(0, bar));
}

std::string GetLongHint(std::string_view hint)
{
    const size_t bar = hint.find('|');
    return std::string(bar == std::string_view::npos ? hint : hint.substr(bar + 1));
}

TApplication::TApplication(TComponent* owner)
    : TComponent(owner)
{
    FHandle = AllocateHWnd([this](TMessage& message) { WndProc(message); });
    const std::string exe = ExeName();
    FTitle = ExtractFileName(exe);
    if (const size_t dot = FTitle.rfind('.'); dot != std::string::npos && dot > 0)
        FTitle.erase(dot);
    if (FHandle)
        SetWindowText(FHandle, FTitle.c_str());
}

TApplication::~TApplication()
{
    StopHintTimer();
    // The forms go while the application (and its window, their owner) is still whole.
    DestroyComponents();
    FHintWindow = nullptr;
    FMainForm = nullptr;
    DeallocateHWnd(FHandle);
    FHandle = nullptr;
}

void TApplication::Initialize()
{
}

void TApplication::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FMainForm)
        FMainForm = nullptr;
    if (component == FHintWindow)
        FHintWindow = nullptr;
}

void TApplication::ControlDestroyed(TControl* control)
{
    if (control == FMouseControl)
        FMouseControl = nullptr;
    if (control == FHintControl) {
        FHintControl = nullptr;
        StopHintTimer();
        HideHint();
    }
    if (static_cast<TComponent*>(control) == FHintWindow)
        FHintWindow = nullptr;
}

void TApplication::FormDestroyed(TCustomForm* form)
{
    if (form == FMainForm)
        FMainForm = nullptr;
}

void TApplication::SetTitle(std::string_view value)
{
    FTitle = value;
    if (FHandle)
        SetWindowText(FHandle, FTitle.c_str());
}

TIcon* TApplication::Icon()
{
    if (!FIcon) {
        FIcon = std::make_unique<TIcon>();
        // The forms without an icon of their own show the application's.
        FIcon->OnChange = [](TObject*) {
            for (int i = 0; Screen && i < Screen->CustomFormCount(); ++i)
                Screen->CustomForms(i)->UpdateWindowIcon();
        };
    }
    return FIcon.get();
}

std::string TApplication::ExeName() const
{
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0)
        return "";
    return std::string(path, size_t(n));
}

void TApplication::Minimize()
{
    if (FMainForm && FMainForm->HandleAllocated())
        ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
    if (OnMinimize)
        OnMinimize(this);
}

void TApplication::Restore()
{
    if (FMainForm && FMainForm->HandleAllocated())
        ShowWindow(FMainForm->Handle(), SW_RESTORE);
    if (OnRestore)
        OnRestore(this);
}

// --- The message loop ----------------------------------------------------------------------------------

void TApplication::Run()
{
    FRunning = true;
    if (FMainForm) {
        if (FShowMainForm)
            FMainForm->SetVisible(true);
        do {
            try {
                HandleMessage();
            } catch (...) {
                HandleException(this);
            }
        } while (!FTerminate);
    }
    FRunning = false;
}

void TApplication::Terminate()
{
    PostQuitMessage(0);
}

void TApplication::ProcessMessages()
{
    MSG message;
    while (ProcessMessage(message)) { }
    // The pointer may have left the windows without a message saying so.
    UpdateMouseControl();
}

void TApplication::HandleMessage()
{
    MSG message;
    if (!ProcessMessage(message))
        Idle();
}

bool TApplication::ProcessMessage(MSG& message)
{
    // Synchronised calls count as handled messages. PeekMessage runs them too, but then reports no message,
    // and a modal loop would go to sleep without looking at what the call changed (its ModalResult, say).
    // Any call that arrives after this one still has its wake-up pending, so the sleep ends at once.
    if (CheckSynchronize()) {
        message = MSG {};
        return true;
    }
    if (!PeekMessage(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (message.message == WM_QUIT) {
        FTerminate = true;
        return true;
    }
    bool handled = false;
    if (OnMessage)
        OnMessage(message, handled);
    if (!IsHintMsg(message) && !handled && !IsKeyMsg(message)) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
    if (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST)
        UpdateMouseControl();
    return true;
}

bool TApplication::IsKeyMsg(MSG& message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST)
        return false;
    HWND hwnd = GetCapture();
    if (!hwnd) {
        // The nearest control: only the framework's windows know the CN_ messages.
        hwnd = message.hwnd;
        while (hwnd && !TWinControl::FindControl(hwnd))
            hwnd = GetParent(hwnd);
        if (!hwnd)
            return false;
    } else if (!TWinControl::FindControl(hwnd)) {
        return false;
    }
    return SendMessage(hwnd, CN_BASE + message.message, message.wParam, message.lParam) != 0;
}

bool TApplication::IsHintMsg(MSG& message)
{
    if (!FHintActive)
        return false;
    switch (message.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_ACTIVATEAPP:
    case CM_ACTIVATE:
    case CM_DEACTIVATE:
        CancelHint();
        break;
    default:
        if (FHintWindow && FHintWindow->IsHintMsg(message))
            CancelHint();
        break;
    }
    return false;
}

void TApplication::UpdateMouseControl()
{
    TControl* control = DoMouseIdle();
    if (FShowHint && !FMouseControl)
        CancelHint();
    SetHint(GetLongHint(HintOf(control)));
}

void TApplication::Idle()
{
    UpdateMouseControl();
    bool done = true;
    try {
        if (OnIdle)
            OnIdle(this, done);
        if (done)
            DoActionIdle();
    } catch (...) {
        HandleException(this);
    }
    TControlCanvas::FreeDeviceContexts();
    if (CheckSynchronize())
        done = false;
    if (done)
        WaitMessage();
}

TControl* TApplication::DoMouseIdle()
{
    POINT p {};
    GetCursorPos(&p);
    TControl* result = FindDragTarget(TPoint { p.x, p.y }, true);
    TControl* capture = GetCaptureControl();
    if (FMouseControl != result) {
        // Under a capture only the capturing control hears of the pointer coming and going.
        if ((FMouseControl && !capture) || (capture && FMouseControl == capture))
            FMouseControl->Perform(CM_MOUSELEAVE, 0, 0);
        FMouseControl = result;
        if ((FMouseControl && !capture) || (capture && FMouseControl == capture))
            FMouseControl->Perform(CM_MOUSEENTER, 0, 0);
    }
    return FMouseControl;
}

void TApplication::DoActionIdle()
{
    if (!Screen)
        return;
    for (int i = 0; i < Screen->CustomFormCount(); ++i) {
        TCustomForm* form = Screen->CustomForms(i);
        if (!form->HandleAllocated() || !form->Visible())
            continue;
        for (int j = 0; j < form->ComponentCount(); ++j)
            if (auto* list = dynamic_cast<TCustomActionList*>(form->Components(j)))
                for (int k = 0; k < list->ActionCount(); ++k)
                    list->Actions(k)->Update();
    }
}

void TApplication::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_TIMER:
        if (message.WParam == kHintTimer)
            HintTimerExpired();
        break;
    case WM_ACTIVATEAPP:
        FActive = message.WParam != 0;
        if (FActive && OnActivate)
            OnActivate(this);
        else if (!FActive && OnDeactivate)
            OnDeactivate(this);
        break;
    default:
        message.Result = DefWindowProc(FHandle, message.Msg, message.WParam, message.LParam);
        break;
    }
}

// --- Exceptions and message boxes ----------------------------------------------------------------------

void TApplication::HandleException(TObject* sender)
{
    std::exception_ptr error = std::current_exception();
    if (!error)
        return;
    if (HWND capture = GetCapture())
        SendMessage(capture, WM_CANCELMODE, 0, 0);
    auto report = [&](const Exception& e) {
        if (OnException)
            OnException(sender, e);
        else
            ShowException(e);
    };
    try {
        std::rethrow_exception(error);
    } catch (const Exception& e) {
        report(e);
    } catch (const std::exception& e) {
        report(Exception(e.what()));
    } catch (...) {
        report(Exception("Unknown exception"));
    }
}

void TApplication::ShowException(const Exception& e)
{
    std::string text = e.Message();
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.')
        text += '.';
    MessageBox(text, FTitle, MB_OK | MB_ICONSTOP);
}

void TApplication::SetMessageBoxProc(TMessageBoxProc proc)
{
    MessageBoxProc() = std::move(proc);
}

int TApplication::MessageBox(std::string_view text, std::string_view caption, int flags)
{
    const std::string t(text);
    const std::string c(caption);
    HWND owner = Screen && Screen->ActiveCustomForm() && Screen->ActiveCustomForm()->HandleAllocated()
        ? Screen->ActiveCustomForm()->Handle()
        : FHandle;
    if (const TMessageBoxProc& proc = MessageBoxProc())
        return proc(owner, t, c, flags);
    if (PlatformStarted())
        return ::MessageBox(owner, t.c_str(), c.c_str(), UINT(flags));
    std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
    return MessageBoxCancelAnswer(UINT(flags));
}

bool TApplication::IsShortCut(TWMKey& message)
{
    bool handled = false;
    if (OnShortCut)
        OnShortCut(message, handled);
    return handled;
}

// --- Hints ---------------------------------------------------------------------------------------------

void TApplication::SetHint(std::string_view value)
{
    if (value == FHint)
        return;
    FHint = value;
    if (OnHint)
        OnHint(this);
}

void TApplication::SetShowHint(bool value)
{
    if (value == FShowHint)
        return;
    FShowHint = value;
    if (value)
        return;
    // The hint window goes: the next one is made through HintWindowClass as it is then, which is how a new
    // hint window class takes over.
    CancelHint();
    delete FHintWindow;
    FHintWindow = nullptr;
}

void TApplication::HintMouseMessage(TControl* control, TMessage& message)
{
    if (!FShowHint)
        return;
    const TPoint screen
        = control->ClientToScreen(TPoint { GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam) });
    TControl* hintControl = HintControlOf(FindDragTarget(screen, true));
    if (!hintControl || HintOf(hintControl).empty()) {
        CancelHint();
        return;
    }
    const bool insideRect = screen.X >= FHintCursorRect.Left && screen.X < FHintCursorRect.Right
        && screen.Y >= FHintCursorRect.Top && screen.Y < FHintCursorRect.Bottom;
    if (hintControl == FHintControl && insideRect)
        return;
    const bool wasActive = FHintActive;
    CancelHint();
    FHintControl = hintControl;
    const TPoint origin = hintControl->ClientToScreen(TPoint {});
    FHintCursorRect = Bounds(origin.X, origin.Y, hintControl->Width(), hintControl->Height());
    StartHintTimer(wasActive ? FHintShortPause : FHintPause, tmShow);
}

void TApplication::StartHintTimer(int ms, int mode)
{
    StopHintTimer();
    FHintTimerMode = mode;
    if (!FHandle || !SetTimer(FHandle, kHintTimer, UINT(std::max(ms, 0)), nullptr))
        CancelHint();
}

void TApplication::StopHintTimer()
{
    if (FHintTimerMode != tmNone && FHandle)
        KillTimer(FHandle, kHintTimer);
    FHintTimerMode = tmNone;
}

void TApplication::HintTimerExpired()
{
    const int mode = FHintTimerMode;
    StopHintTimer();
    if (mode == tmShow) {
        POINT p {};
        GetCursorPos(&p);
        ActivateHint(TPoint { p.x, p.y });
    } else if (mode == tmHide) {
        HideHint();
    }
}

void TApplication::ActivateHint(const TPoint& cursorPos)
{
    TControl* control = FHintControl ? FHintControl : HintControlOf(FindDragTarget(cursorPos, true));
    if (!control)
        return;
    FHintControl = control;
    THintInfo info;
    info.HintControl = control;
    info.HintPos = TPoint { cursorPos.X, cursorPos.Y + GetSystemMetrics(SM_CYCURSOR) / 2 + 4 };
    info.HintMaxWidth = Screen ? Screen->Width() : 1024;
    info.HintColor = FHintColor;
    info.CursorRect = control->ClientRect();
    info.CursorPos = control->ScreenToClient(cursorPos);
    info.HideTimeout = FHintHidePause;
    info.HintStr = GetShortHint(HintOf(control));
    bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<intptr_t>(&info)) == 0;
    if (canShow && OnShowHint)
        OnShowHint(info.HintStr, canShow, info);
    if (!canShow || info.HintStr.empty()) {
        HideHint();
        return;
    }
    if (!FHintWindow) {
        FHintWindow = HintWindowClass ? HintWindowClass(this) : new THintWindow(this);
        FHintWindow->FreeNotification(this);
    }
    FHintWindow->SetColor(info.HintColor);
    TRect rect = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr, nullptr);
    const int width = rect.Right - rect.Left;
    const int height = rect.Bottom - rect.Top;
    rect = Bounds(info.HintPos.X, info.HintPos.Y, width, height);
    FHintWindow->ActivateHint(rect, info.HintStr);
    FHintActive = true;
    const TPoint origin = control->ClientToScreen(TPoint { info.CursorRect.Left, info.CursorRect.Top });
    FHintCursorRect = Bounds(
        origin.X, origin.Y, info.CursorRect.Right - info.CursorRect.Left, info.CursorRect.Bottom - info.CursorRect.Top);
    if (info.HideTimeout > 0)
        StartHintTimer(info.HideTimeout, tmHide);
}

void TApplication::HideHint()
{
    if (FHintWindow && FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle()))
        FHintWindow->ReleaseHandle();
}

void TApplication::CancelHint()
{
    if (FHintControl) {
        HideHint();
        FHintControl = nullptr;
        FHintActive = false;
        FHintCursorRect = TRect {};
    }
    StopHintTimer();
}

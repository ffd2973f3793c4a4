// TApplication, the message loop and the application's services (forms, hints, exceptions, message
// boxes), with the global Application object.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/Forward.h"
#include "framework/core/TComponent.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Forward.h"
#include "platform/controls/MessageBox.h"
#include "platform/win/WinTypes.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

// Shows a message box owned by `owner` and returns the button chosen (IDOK ...).
using TMessageBoxProc = std::function<int(HWND owner, const std::string& text, const std::string& caption, int flags)>;

class THintWindow;
// How the application makes its hint window. To change the hints' look, replace it, then turn
// Application->ShowHint off and on again.
using THintWindowClass = std::function<THintWindow*(TComponent* owner)>;
extern THintWindowClass HintWindowClass;

// The short part of a hint ("short|long"): before the '|', or all of it.
std::string GetShortHint(std::string_view hint);
// The long part: after the '|', or all of it.
std::string GetLongHint(std::string_view hint);

// The application. Its message loop (Run, HandleMessage, ProcessMessages, and the modal loops on top of
// them) retrieves each message, gives it to OnMessage, then for a key offers it to the focused control's
// shortcut and dialog-key stage (CN_KEYDOWN ...), and translates and dispatches what nobody took. Loops
// nest freely, and every one of them serves TThread::Synchronize calls, since the window layer's
// PeekMessage and GetMessage run them first. After each mouse message, at the end of ProcessMessages and
// whenever it goes idle, the loop sends CM_MOUSELEAVE and CM_MOUSEENTER when the control under the pointer
// changed (including the pointer leaving the application's windows) and updates Hint.
class TApplication : public TComponent {
    using inherited = TComponent;

public:
    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    void Initialize();
    // Makes a form owned by the application and runs its AfterConstruction (OnCreate); the first form made
    // becomes the MainForm.
    template <class T> void CreateForm(T*& reference);
    // Shows the main form and runs the message loop until the application terminates.
    void Run();
    // Handles every message waiting, then returns.
    void ProcessMessages();
    // Handles one message, or goes idle (OnIdle, action updates) and waits for one.
    void HandleMessage();
    // Ends Run (and every modal loop) once the loop sees the quit message.
    void Terminate();
    bool Terminated() const { return FTerminate; }

    // For a handler's catch block: OnException, or ShowException when it is unassigned.
    void HandleException(TObject* sender);
    void ShowException(const Exception& e);
    // The system's message box over the active form (else over all the application's windows), which take
    // no input meanwhile. Without a running window layer the text goes to standard error and the answer is the
    // cancelling button's.
    int MessageBox(std::string_view text, std::string_view caption, int flags = MB_OK);
    // Tests answer the boxes themselves: while a procedure is set, it is asked instead. Null removes it.
    static void SetMessageBoxProc(TMessageBoxProc proc);

    TCustomForm* MainForm() const { return FMainForm; }
    // The hidden window of the application, the owner of its forms.
    HWND Handle() const { return FHandle; }
    const std::string& Title() const { return FTitle; }
    void SetTitle(std::string_view value);
    TIcon* Icon();
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool value) { FShowMainForm = value; }
    bool Active() const { return FActive; }
    // The full path of the executable.
    std::string ExeName() const;
    void Minimize();
    void Restore();

    // --- Hints ---------------------------------------------------------------------------------------
    // The long hint of the control under the pointer; setting it fires OnHint.
    const std::string& Hint() const { return FHint; }
    void SetHint(std::string_view value);
    bool ShowHint() const { return FShowHint; }
    // Off also deletes the hint window, so that the next hint uses the HintWindowClass of that time.
    void SetShowHint(bool value);
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor value) { FHintColor = value; }
    // Milliseconds before a hint shows, before it hides, and before the next one shows while one is up.
    int HintPause() const { return FHintPause; }
    void SetHintPause(int value) { FHintPause = value; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int value) { FHintHidePause = value; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int value) { FHintShortPause = value; }
    // Shows the hint of the control under `cursorPos` (screen coordinates) now.
    void ActivateHint(const TPoint& cursorPos);
    void CancelHint();
    void HideHint();
    // Called by controls for their mouse moves: starts or stops the hint timer.
    void HintMouseMessage(TControl* control, TMessage& message);
    // The hint window, while one is made.
    THintWindow* HintWindow() const { return FHintWindow; }

    // OnShortCut; true when it used the key.
    bool IsShortCut(TWMKey& message);

    TMessageEvent OnMessage;
    TIdleEvent OnIdle;
    TNotifyEvent OnHint;
    TShowHintEvent OnShowHint;
    TExceptionEvent OnException;
    TShortCutEvent OnShortCut;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;

    // Bookkeeping for the controls and forms as they go.
    void ControlDestroyed(TControl* control);
    void FormDestroyed(TCustomForm* form);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    // Retrieves and handles one message; false when none was waiting.
    bool ProcessMessage(MSG& message);
    bool IsKeyMsg(MSG& message);
    bool IsHintMsg(MSG& message);
    void Idle();
    // Sends the enter and leave messages when the control under the pointer changed; returns it.
    TControl* DoMouseIdle();
    // DoMouseIdle, the hint's cancelling when the pointer left, and the long hint of the control under it.
    // The loop does it after every mouse message and when it has handled what was waiting, not only when
    // idle, so that a loop that never goes idle (ProcessMessages) keeps them current.
    void UpdateMouseControl();
    void DoActionIdle();
    void WndProc(TMessage& message);
    void StartHintTimer(int ms, int mode);
    void StopHintTimer();
    void HintTimerExpired();

    HWND FHandle = nullptr;
    TCustomForm* FMainForm = nullptr;
    std::string FTitle;
    std::unique_ptr<TIcon> FIcon;
    bool FShowMainForm = true;
    bool FTerminate = false;
    bool FActive = true;
    bool FRunning = false;
    TControl* FMouseControl = nullptr;

    std::string FHint;
    bool FShowHint = true;
    TColor FHintColor = clInfoBk;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    int FHintShortPause = 50;
    TControl* FHintControl = nullptr;
    TRect FHintCursorRect;
    bool FHintActive = false;
    int FHintTimerMode = 0;
    THintWindow* FHintWindow = nullptr;
};

// Made by InitializeForms, deleted by FinalizeForms (Forms.h).
extern TApplication* Application;

template <class T> void TApplication::CreateForm(T*& reference)
{
    T* form = new T(this);
    reference = form;
    try {
        form->AfterConstruction();
    } catch (...) {
        reference = nullptr;
        delete form;
        throw;
    }
    if (!FMainForm)
        FMainForm = form;
}

// The providers of the file dialogs, and the modal wait while one of them runs.
#include "framework/dialogs/FileDialogProviders.h"

#include "framework/controls/Forms.h"
#include "platform/win/Platform.h"
#include "platform/win/Windows.h"

#include <atomic>
#include <thread>

TFileDialogProvider::~TFileDialogProvider() = default;

namespace {

class TPortalProvider final : public TFileDialogProvider {
public:
    explicit TPortalProvider(std::string busAddress)
        : FBusAddress(std::move(busAddress))
    {
    }
    std::string Name() const override { return "the desktop portal"; }
    bool OutOfProcess() const override { return true; }
    TFileChooserResult Run(const TFileChooserRequest& request) override { return PortalChooseFiles(request, FBusAddress); }

private:
    std::string FBusAddress;
};

class TZenityProvider final : public TFileDialogProvider {
public:
    explicit TZenityProvider(std::string program)
        : FProgram(std::move(program))
    {
    }
    std::string Name() const override { return "zenity"; }
    bool OutOfProcess() const override { return true; }
    TFileChooserResult Run(const TFileChooserRequest& request) override { return ZenityChooseFiles(request, FProgram); }

private:
    std::string FProgram;
};

struct TProviders {
    std::vector<std::unique_ptr<TFileDialogProvider>> Desktop;
    std::unique_ptr<TFileDialogProvider> Installed;
    bool Made = false;
};

TProviders& Providers()
{
    static TProviders providers;
    if (!providers.Made) {
        providers.Made = true;
        providers.Desktop.push_back(NewPortalFileDialogProvider());
        providers.Desktop.push_back(NewZenityFileDialogProvider());
    }
    return providers;
}

// The application's visible windows take no input while a dialog is up; they are enabled again afterwards.
std::vector<HWND> DisableForms()
{
    std::vector<HWND> disabled;
    if (!Screen)
        return disabled;
    for (int i = 0; i < Screen->CustomFormCount(); ++i) {
        TCustomForm* form = Screen->CustomForms(i);
        if (form->HandleAllocated() && IsWindowVisible(form->Handle()) && IsWindowEnabled(form->Handle())) {
            EnableWindow(form->Handle(), FALSE);
            disabled.push_back(form->Handle());
        }
    }
    return disabled;
}

// Runs an out-of-process provider on a thread of its own while this thread keeps handling messages, so that
// every window keeps painting; the thread's end wakes the loop.
TFileChooserResult RunWhilePumping(TFileDialogProvider& provider, const TFileChooserRequest& request)
{
    if (!Application || !PlatformStarted())
        return provider.Run(request);
    std::atomic<bool> done { false };
    TFileChooserResult result;
    const HWND wake = Application->Handle();
    std::thread worker([&] {
        result = provider.Run(request);
        done = true;
        PostMessage(wake, WM_NULL, 0, 0);
    });
    while (!done)
        Application->HandleMessage();
    worker.join();
    return result;
}

} // namespace

std::unique_ptr<TFileDialogProvider> NewPortalFileDialogProvider(std::string busAddress)
{
    return std::make_unique<TPortalProvider>(std::move(busAddress));
}

std::unique_ptr<TFileDialogProvider> NewZenityFileDialogProvider(std::string program)
{
    return std::make_unique<TZenityProvider>(std::move(program));
}

void InstallFileDialogProvider(std::unique_ptr<TFileDialogProvider> provider)
{
    Providers().Installed = std::move(provider);
}

void SetFileDialogProviders(std::vector<std::unique_ptr<TFileDialogProvider>> providers)
{
    TProviders& p = Providers();
    p.Desktop = std::move(providers);
    p.Installed.reset();
}

void ResetFileDialogProviders()
{
    TProviders& p = Providers();
    p.Desktop.clear();
    p.Installed.reset();
    p.Made = false;
}

TFileChooserResult RunFileDialog(TFileChooserRequest request, HWND owner)
{
    if (request.ParentWindow.empty() && owner)
        request.ParentWindow = NativeWindowExportHandle(owner);
    TProviders& p = Providers();
    std::vector<TFileDialogProvider*> order;
    for (auto& provider : p.Desktop)
        order.push_back(provider.get());
    if (p.Installed)
        order.push_back(p.Installed.get());

    // Disabling the forms takes the focus from them; the window that had it gets it back afterwards, as it would
    // from a dialog of its own, so that the keyboard goes on where it was.
    const HWND active = GetActiveWindow();
    const HWND focus = GetFocus();
    const std::vector<HWND> disabled = DisableForms();
    TFileChooserResult result;
    std::string reasons;
    for (TFileDialogProvider* provider : order) {
        result = provider->OutOfProcess() ? RunWhilePumping(*provider, request) : provider->Run(request);
        if (result.Status != TFileChooserStatus::Unavailable)
            break;
        reasons += (reasons.empty() ? "" : "\n") + provider->Name() + ": " + result.Error;
    }
    for (auto it = disabled.rbegin(); it != disabled.rend(); ++it)
        if (IsWindow(*it))
            EnableWindow(*it, TRUE);
    if (active && IsWindow(active) && IsWindowEnabled(active)) {
        SetActiveWindow(active);
        if (focus && IsWindow(focus) && IsWindowEnabled(focus))
            SetFocus(focus);
    }
    if (order.empty())
        reasons = "no file dialog is known to this program";
    if (result.Status == TFileChooserStatus::Unavailable || order.empty()) {
        result = TFileChooserResult {};
        result.Error = reasons;
    }
    return result;
}

// Who shows the file dialogs: providers tried in order until one shows a dialog. By default the desktop portal's
// file chooser, then zenity; the program may install one more of its own after them, and tests replace them.
#pragma once
#include "platform/shell/ShellFileChooser.h"
#include "platform/win/WinTypes.h"

#include <memory>
#include <string>
#include <vector>

class TFileDialogProvider {
public:
    virtual ~TFileDialogProvider();
    virtual std::string Name() const = 0;
    // True for a provider that waits for another program: it runs on a thread of its own while the program's
    // windows keep painting. Others run on the UI thread and keep the windows going themselves (a modal form).
    virtual bool OutOfProcess() const = 0;
    // Chosen, Cancelled, or Unavailable to hand over to the next provider.
    virtual TFileChooserResult Run(const TFileChooserRequest& request) = 0;
};

// The desktop portal on the session bus (or the bus at `busAddress`), and zenity as found in PATH.
std::unique_ptr<TFileDialogProvider> NewPortalFileDialogProvider(std::string busAddress = {});
std::unique_ptr<TFileDialogProvider> NewZenityFileDialogProvider(std::string program = "zenity");

// Adds the program's own provider after the desktop's (replacing one installed before); null removes it.
void InstallFileDialogProvider(std::unique_ptr<TFileDialogProvider> provider);
// Replaces the whole list (tests); ResetFileDialogProviders brings back the portal and zenity, nothing installed.
void SetFileDialogProviders(std::vector<std::unique_ptr<TFileDialogProvider>> providers);
void ResetFileDialogProviders();

// Asks each provider in turn, with the application's windows disabled meanwhile (`owner`'s window is the dialog's
// parent), until one answers Chosen or Cancelled. Unavailable when none could show a dialog, with every
// provider's reason in Error, one a line.
TFileChooserResult RunFileDialog(TFileChooserRequest request, HWND owner);

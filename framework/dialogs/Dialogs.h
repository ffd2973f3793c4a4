// The standard file dialogs: TOpenDialog, TSaveDialog and the folder browser (SelectDirectory), served by the
// desktop's own choosers through providers tried in order (FileDialogProviders.h).
#pragma once
#include "framework/core/TComponent.h"
#include "framework/core/TSet.h"

#include <memory>
#include <string>
#include <string_view>

class TStrings;
class TStringList;
enum class TFileChooserKind;
struct TFileChooserRequest;
struct TFileChooserResult;

enum TOpenOption : uint8_t {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing,
    ofDontAddToRecent,
    ofForceShowHidden
};
using TOpenOptions = TSet<TOpenOption, ofForceShowHidden>;

// The open dialog. Filter is "Description|*.a;*.b|Description|*.*" pairs; FilterIndex counts them from 1.
// Execute shows the dialog over the active form (the application's windows take no input meanwhile, and keep
// painting) and returns true with the chosen files in Files (and the first in FileName); false when the user
// cancelled, or when no chooser could be shown, which a message box then says.
class TOpenDialog : public TComponent {
    using inherited = TComponent;

public:
    explicit TOpenDialog(TComponent* owner);
    ~TOpenDialog() override;

    const std::string& Title() const { return FTitle; }
    void SetTitle(std::string_view value) { FTitle = value; }
    const std::string& Filter() const { return FFilter; }
    void SetFilter(std::string_view value) { FFilter = value; }
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int value) { FFilterIndex = value; }
    const std::string& InitialDir() const { return FInitialDir; }
    void SetInitialDir(std::string_view value) { FInitialDir = value; }
    // Added to a chosen name that has no extension of its own (when saving).
    const std::string& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(std::string_view value) { FDefaultExt = value; }
    const std::string& FileName() const { return FFileName; }
    void SetFileName(std::string_view value) { FFileName = value; }
    TOpenOptions Options() const { return FOptions; }
    void SetOptions(TOpenOptions value) { FOptions = value; }
    TStrings* Files() const;

    virtual bool Execute();

    // The request Execute hands to the providers, from the properties.
    TFileChooserRequest Request() const;

protected:
    virtual TFileChooserKind Kind() const;

private:
    std::string FTitle;
    std::string FFilter;
    int FFilterIndex = 1;
    std::string FInitialDir;
    std::string FDefaultExt;
    std::string FFileName;
    TOpenOptions FOptions { ofHideReadOnly, ofEnableSizing };
    std::unique_ptr<TStringList> FFiles;
};

// The save dialog: one file, whose name gets DefaultExt when it has no extension; ofOverwritePrompt asks
// before an existing file is chosen.
class TSaveDialog : public TOpenDialog {
    using inherited = TOpenDialog;

public:
    using TOpenDialog::TOpenDialog;

protected:
    TFileChooserKind Kind() const override;
};

// The folder browser: `caption` is its title, `root` the folder it starts in (empty: the desktop's choice). True
// with the chosen folder in `directory`; false (and `directory` unchanged) when cancelled or unavailable.
bool SelectDirectory(std::string_view caption, std::string_view root, std::string& directory);

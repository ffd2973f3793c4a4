// TspSkinSelectDirectoryDialog: a skinned folder chooser built in code (TspSelDirDlgForm): the shell folder
// tree, an optional tool bar with a path edit and a new-folder button, and OK and Cancel. TspSkinDirectoryEdit
// is a button edit that opens one and takes the chosen folder.
#pragma once
#include "framework/controls/Forms.h"
#include "skin/controls/SkinEdits.h"
#include "skin/dialogs/SkinDialogSkins.h"

#include <memory>
#include <string>

class TFont;
class TspSkinButton;
class TspSkinData;
class TspSkinDirTreeView;
class TspSkinForm;
class TspSkinPanel;
class TspSkinScrollBar;
class TspSkinSpeedButton;
class TTreeNode;

class TspSelDirDlgForm : public TForm {
    using inherited = TForm;

public:
    TspSelDirDlgForm(TComponent* owner, TspSkinData* ctrlSkin, bool showToolBar, bool flatButtons);
    ~TspSelDirDlgForm() override;

    TspSkinForm* SkinForm = nullptr;
    TspSkinPanel* TreePanel = nullptr;
    TspSkinPanel* BottomPanel = nullptr;
    TspSkinDirTreeView* DirTree = nullptr;
    TspSkinScrollBar* VScrollBar = nullptr;
    TspSkinScrollBar* HScrollBar = nullptr;
    TspSkinButton* OKButton = nullptr;
    TspSkinButton* CancelButton = nullptr;
    // These three only with the tool bar.
    TspSkinPanel* ToolPanel = nullptr;
    TspSkinSpeedButton* NewFolderButton = nullptr;
    TspSkinEdit* PathEdit = nullptr;

    void EditKeyPress(TObject* sender, char32_t& key);
    // Makes "New Folder" (or the string table's name) in the selected file-system folder and selects it;
    // EInOutError when it cannot be made.
    void NewFolderToolButtonClick(TObject* sender);

private:
    void DirTreeChange(TObject* sender, TTreeNode* node);

    TspSkinData* FCtrlSkin;
};

class TspSkinSelectDirectoryDialog : public TComponent {
    using inherited = TComponent;

public:
    explicit TspSkinSelectDirectoryDialog(TComponent* owner);
    ~TspSkinSelectDirectoryDialog() override;

    bool ToolButtonsTransparent = false;
    int DialogWidth = 0;
    int DialogHeight = 0;
    int DialogMinWidth = 0;
    int DialogMinHeight = 0;
    TspSkinData* SkinData() const { return FSkins.Skin(); }
    void SetSkinData(TspSkinData* value) { FSkins.SetSkin(value); }
    TspSkinData* CtrlSkinData() const { return FSkins.CtrlSkin(); }
    void SetCtrlSkinData(TspSkinData* value) { FSkins.SetCtrlSkin(value); }
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { FTitle = value; }
    TNotifyEvent OnChange;
    std::string Directory;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
    bool ShowToolBar = false;

    // Shows the dialog; true when the user confirmed a folder (then in Directory).
    bool Execute();
    // The form while Execute runs, else none.
    TspSelDirDlgForm* Form() const { return FForm; }
    void Change();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TspDialogSkins FSkins { this };
    std::unique_ptr<TFont> FDefaultFont;
    std::string FTitle = "Select folder";
    TspSelDirDlgForm* FForm = nullptr;
};

class TspSkinDirectoryEdit : public TspSkinEdit {
    using inherited = TspSkinEdit;

public:
    explicit TspSkinDirectoryEdit(TComponent* owner);
    ~TspSkinDirectoryEdit() override;

    TspSkinData* DlgSkinData() const { return FDlgSkins.Skin(); }
    void SetDlgSkinData(TspSkinData* value) { FDlgSkins.SetSkin(value); }
    TspSkinData* DlgCtrlSkinData() const { return FDlgSkins.CtrlSkin(); }
    void SetDlgCtrlSkinData(TspSkinData* value) { FDlgSkins.SetCtrlSkin(value); }
    TspSkinSelectDirectoryDialog* Dialog() const { return FDialog; }

    void ButtonClick(TObject* sender);

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TspSkinSelectDirectoryDialog* FDialog = nullptr;
    TspDialogSkins FDlgSkins { this };
};

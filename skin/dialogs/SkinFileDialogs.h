// TspSkinOpenDialog and TspSkinSaveDialog: skinned file dialogs built in code (TspOpenDlgForm): a tool bar
// with the path box and the back, up, new-folder and view buttons, the shell file list, a file-name edit, a
// filter box and Open (Save) and Cancel. Execute shows the form modally and copies the choice back; the dialog
// remembers its size, filter and view between calls. TspSkinFileEdit and TspSkinSaveFileEdit are button edits
// that open such a dialog.
#pragma once
#include "framework/controls/Forms.h"
#include "framework/controls/TCustomListView.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/dialogs/SkinDialogSkins.h"
#include "skin/dialogs/spShellCtrls.h"

#include <memory>
#include <string>
#include <vector>

class TFont;
class TMenuItem;
class TStringList;
class TspSkinButton;
class TImage;
class TspSkinScrollBox;
class TspSkinData;
class TspSkinFileListView;
class TspSkinButton;
class TspSkinFilterComboBox;
class TspSkinForm;
class TspSkinMenuSpeedButton;
class TspSkinPanel;
class TspSkinToolBar;
class TspSkinPopupMenu;
class TspSkinScrollBar;
class TspSkinShellComboBox;
class TspSkinSpeedButton;
class TspSkinStdLabel;

// A user-interface text of the dialogs: the control skin's string for `key` when it has a string table, else
// the built-in English text.
std::string DialogText(TspSkinData* ctrlSkin, const char* key, const char* english);

// The form of one open or save dialog; made, shown and freed by Execute.
class TspOpenDlgForm : public TForm {
    using inherited = TForm;

public:
    TspOpenDlgForm(TComponent* owner, bool saveMode, TspSkinData* ctrlSkin, bool flatButtons);
    ~TspOpenDlgForm() override;

    bool SaveMode() const { return FSaveMode; }
    std::string DefaultExt;
    bool OverwritePrompt = false;
    bool CheckFileExists = true;
    // Open mode: the name typed (in the folder shown) is the one confirmed, once it exists; the selection
    // only fills the edit.
    bool ConfirmTypedName = false;
    // After the edit has followed a change of the selection, before OnFolderChange.
    TNotifyEvent OnSelectionChange;
    // The full name chosen, set as the form closes with mrOk.
    std::string ResultFileName;
    TNotifyEvent OnFolderChange;
    // The folders visited, oldest first (Back walks back through them).
    const std::vector<spShellCtrls::TItemIdListPtr>& History() const { return FHistory; }

    TspSkinForm* SkinForm = nullptr;
    TspSkinToolBar* ToolBar = nullptr;
    TspSkinStdLabel* LookInLabel = nullptr;
    TspSkinShellComboBox* FolderBox = nullptr;
    TspSkinSpeedButton* BackButton = nullptr;
    TspSkinSpeedButton* UpButton = nullptr;
    TspSkinSpeedButton* NewFolderButton = nullptr;
    TspSkinMenuSpeedButton* ViewMenuButton = nullptr;
    TspSkinPopupMenu* ViewMenu = nullptr;
    // Large icons, small icons, list, details.
    TMenuItem* ViewItems[4] = {};
    TspSkinPanel* BottomPanel = nullptr;
    TspSkinStdLabel* FileNameLabel = nullptr;
    TspSkinStdLabel* FileTypeLabel = nullptr;
    TspSkinEdit* Edit = nullptr;
    TspSkinFilterComboBox* FilterBox = nullptr;
    TspSkinButton* OpenButton = nullptr;
    TspSkinButton* CancelButton = nullptr;
    TspSkinPanel* ListPanel = nullptr;
    TspSkinScrollBar* HScrollBar = nullptr;
    TspSkinScrollBar* VScrollBar = nullptr;
    TspSkinFileListView* FileList = nullptr;

    // Handlers, public so that a caller can drive the form as the user would.
    void OpenButtonClick(TObject* sender);
    void BackToolButtonClick(TObject* sender);
    void UpToolButtonClick(TObject* sender);
    // EInOutError when the folder cannot be made; the dialog stays open.
    void NewFolderToolButtonClick(TObject* sender);
    void SetViewStyle(TViewStyle style);
    void EditKeyPress(TObject* sender, char32_t& key);
    void FLVKeyPress(TObject* sender, char32_t& key);
    void FLVDBLClick(TObject* sender);
    // Adds the list's folder to the history (Execute: the first folder shown).
    void NoteFolder();
    // The list's current folder with a '/' at its end.
    std::string CurrentFolder() const;

private:
    void BuildToolBar(bool flatButtons);
    void BuildBottomPanel();
    void BuildListPanel();
    TspSkinSpeedButton* ToolButton(const char* glyph, const char* hintKey, const char* hintEnglish, bool flat);
    std::string Text(const char* key, const char* english) const;
    void FLVPathChange(TObject* sender);
    void FLVChange(TObject* sender, TListItem* item, TItemChange change);
    void FCBChange(TObject* sender);
    void FireFolderChange();
    // In save mode with the prompt on: asks before `name` is overwritten; true to go on.
    bool MayOverwrite(const std::string& name);
    void CloseWith(const std::string& name);

    bool FSaveMode;
    TspSkinData* FCtrlSkin;
    std::vector<spShellCtrls::TItemIdListPtr> FHistory;
    bool FNavigatingBack = false;
};

class TspSkinOpenDialog : public TComponent {
    using inherited = TComponent;

public:
    explicit TspSkinOpenDialog(TComponent* owner);
    ~TspSkinOpenDialog() override;

    bool ToolButtonsTransparent = false;
    bool OverwritePromt = false;
    std::string DefaultExt;
    int DialogWidth = 0;
    int DialogHeight = 0;
    int DialogMinWidth = 0;
    int DialogMinHeight = 0;
    TNotifyEvent OnFolderChange;
    bool CheckFileExists = true;
    bool MultiSelection = false;
    TspSkinData* SkinData() const { return FSkins.Skin(); }
    void SetSkinData(TspSkinData* value) { FSkins.SetSkin(value); }
    TspSkinData* CtrlSkinData() const { return FSkins.CtrlSkin(); }
    void SetCtrlSkinData(TspSkinData* value) { FSkins.SetCtrlSkin(value); }
    std::string LVHeaderSkinDataName = "resizebutton";
    TFont* DefaultFont() const { return FDefaultFont.get(); }
    void SetDefaultFont(TFont* value);
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& value) { FTitle = value; }
    TNotifyEvent OnChange;
    std::string InitialDir;
    std::string Filter = "All files|*.*";
    const std::string& FileName() const { return FFileName; }
    // Also shown in the edit while the dialog is up.
    void SetFileName(const std::string& value);
    int FilterIndex = 1;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 225;
    bool AlphaBlendAnimation = false;
    bool CtrlAlphaBlend = false;
    uint8_t CtrlAlphaBlendValue = 225;
    bool CtrlAlphaBlendAnimation = false;
    // The full path of every file selected when the dialog closed with OK.
    TStringList* Files() const { return FFiles.get(); }
    bool SaveMode() const { return FSaveMode; }
    TViewStyle ViewStyle() const { return FViewStyle; }

    // Shows the dialog; true when the user confirmed a file.
    bool Execute();
    // While Execute runs: the selected file's full path; "" otherwise.
    std::string GetSelectedFile() const;
    // The form while Execute runs, else none.
    TspOpenDlgForm* Form() const { return FForm; }
    void Change();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // What the variants add: controls of their own on the new form, its default client height, and a last word
    // as soon as the form has closed (whatever the result).
    virtual void PrepareForm(TspOpenDlgForm* form) { (void)form; }
    virtual int DefaultClientWidth() const { return 450; }
    virtual int DefaultClientHeight() const { return 290; }
    virtual void FormClosed(TspOpenDlgForm* form) { (void)form; }
    // Once the form is set up, just before it is shown.
    virtual void BeforeShow(TspOpenDlgForm* form) { (void)form; }
    bool FSaveMode = false;

private:
    std::string StartFolder() const;

    TspDialogSkins FSkins { this };
    std::unique_ptr<TFont> FDefaultFont;
    std::string FTitle = "Open file";
    std::string FFileName;
    std::unique_ptr<TStringList> FFiles;
    TViewStyle FViewStyle = vsList;
    TspOpenDlgForm* FForm = nullptr;
};

class TspSkinSaveDialog : public TspSkinOpenDialog {
public:
    explicit TspSkinSaveDialog(TComponent* owner);
};

// An open dialog with a strip under the file list that the program paints (OnPreviewPanelPaint), typically a
// preview of the file selected; OnFolderChange tells it when the selection or the folder moved.
class TspSkinOpenPreviewDialog : public TspSkinOpenDialog {
public:
    explicit TspSkinOpenPreviewDialog(TComponent* owner);

    TspPaintPanelEvent OnPreviewPanelPaint;
    // The strip's height; the dialog's default height grows with it.
    int PaintPanelSize = 40;
    // While Execute runs: paints the strip again (through OnPreviewPanelPaint); nothing otherwise.
    void PreviewPanelRePaint();
    // The strip while Execute runs, else none.
    TspSkinPaintPanel* PreviewPanel() const { return Form() ? FPanel : nullptr; }

protected:
    void PrepareForm(TspOpenDlgForm* form) override;
    int DefaultClientHeight() const override { return PaintPanelSize + 290; }
    void FormClosed(TspOpenDlgForm* form) override;

private:
    TspSkinPaintPanel* FPanel = nullptr;
};

class TspSkinSavePreviewDialog : public TspSkinOpenPreviewDialog {
public:
    explicit TspSkinSavePreviewDialog(TComponent* owner);
};

// An open dialog with Play and Stop buttons whose clicks go to the program, which plays the selected file
// (GetSelectedFile) itself. As the form closes, OnStopButtonClick is called once more with the dialog as the
// sender, so that a sound still playing stops.
class TspSkinOpenSoundDialog : public TspSkinOpenDialog {
public:
    explicit TspSkinOpenSoundDialog(TComponent* owner);

    TNotifyEvent OnPlayButtonClick;
    TNotifyEvent OnStopButtonClick;
    int PaintPanelSize = 40;
    // The buttons while Execute runs, else none.
    TspSkinSpeedButton* PlayButton() const { return Form() ? FPlay : nullptr; }
    TspSkinSpeedButton* StopButton() const { return Form() ? FStop : nullptr; }

protected:
    void PrepareForm(TspOpenDlgForm* form) override;
    int DefaultClientHeight() const override { return PaintPanelSize + 290; }
    void FormClosed(TspOpenDlgForm* form) override;

private:
    TspSkinSpeedButton* FPlay = nullptr;
    TspSkinSpeedButton* FStop = nullptr;
};

class TspSkinSaveSoundDialog : public TspSkinOpenSoundDialog {
public:
    explicit TspSkinSaveSoundDialog(TComponent* owner);
};

// Open and save dialogs for pictures, with a pane beside the list showing the selected file at its natural size
// (scrolling) or stretched to the pane, as a toggle on the tool bar says. The pane's width and the toggle are
// remembered from one Execute to the next; StretchPicture starts every one stretched.
class TspSkinOpenPictureDialog : public TspSkinOpenDialog {
public:
    explicit TspSkinOpenPictureDialog(TComponent* owner);

    bool StretchPicture = false;
    // While Execute runs: the picture shown, the box it scrolls in, the toggle; none otherwise.
    TImage* Image() const { return Form() ? FImage : nullptr; }
    TspSkinScrollBox* ScrollBox() const { return Form() ? FScrollBox : nullptr; }
    TspSkinSpeedButton* StretchButton() const { return Form() ? FStretchButton : nullptr; }
    TspSkinPanel* PreviewPanel() const { return Form() ? FPreviewPanel : nullptr; }

protected:
    void PrepareForm(TspOpenDlgForm* form) override;
    int DefaultClientWidth() const override { return 550; }
    void BeforeShow(TspOpenDlgForm* form) override;
    void FormClosed(TspOpenDlgForm* form) override;

private:
    void StretchButtonClick();
    // Shows `file` (nothing for ""); a file no picture format reads raises the picture's error, the image
    // keeping its size.
    void ShowPicture(const std::string& file);
    void SelectionChange(TspOpenDlgForm* form);

    int FPreviewWidth = 190;
    bool FStretched = false;
    TspSkinPanel* FPreviewPanel = nullptr;
    TspSkinScrollBox* FScrollBox = nullptr;
    TImage* FImage = nullptr;
    TspSkinSpeedButton* FStretchButton = nullptr;
};

class TspSkinSavePictureDialog : public TspSkinOpenPictureDialog {
public:
    explicit TspSkinSavePictureDialog(TComponent* owner);
};

// An open dialog for skins that shows each selected skin on a small sample window beside the list: a packed
// skin or a skin folder's INI file, as the filter chosen says (CompressedFilterIndex, UnCompressedFilterIndex).
// The typed name is the one returned, once it exists.
class TspOpenSkinDialog : public TspSkinOpenDialog {
public:
    explicit TspOpenSkinDialog(TComponent* owner);
    ~TspOpenSkinDialog() override;

    int CompressedFilterIndex = 1;
    int UnCompressedFilterIndex = 2;
    // While Execute runs: the sample window, its button and the skin they wear; none otherwise.
    TForm* SampleForm() const { return Form() ? FSample : nullptr; }
    TspSkinButton* SampleButton() const { return Form() ? FSampleButton : nullptr; }
    TspSkinData* SampleSkin() const { return Form() ? FSampleSkin : nullptr; }

protected:
    void PrepareForm(TspOpenDlgForm* form) override;
    int DefaultClientWidth() const override { return 580; }
    void FormClosed(TspOpenDlgForm* form) override;
    void BeforeShow(TspOpenDlgForm* form) override;

private:
    // Loads `file` into the sample skin as the filter chosen says (nothing for another filter).
    void LoadSample(TspOpenDlgForm* form, const std::string& file);
    void SelectionChange(TspOpenDlgForm* form);

    TForm* FSample = nullptr;
    TspSkinButton* FSampleButton = nullptr;
    TspSkinData* FSampleSkin = nullptr;
};

// An edit whose button opens an open dialog (TspSkinSaveFileEdit: a save dialog) and takes the chosen name.
class TspSkinFileEdit : public TspSkinEdit {
    using inherited = TspSkinEdit;

public:
    explicit TspSkinFileEdit(TComponent* owner);
    ~TspSkinFileEdit() override;

    const std::string& Filter() const;
    void SetFilter(const std::string& value);
    TspSkinData* DlgSkinData() const { return FDlgSkins.Skin(); }
    void SetDlgSkinData(TspSkinData* value) { FDlgSkins.SetSkin(value); }
    TspSkinData* DlgCtrlSkinData() const { return FDlgSkins.CtrlSkin(); }
    void SetDlgCtrlSkinData(TspSkinData* value) { FDlgSkins.SetCtrlSkin(value); }
    std::string LVHeaderSkinDataName = "resizebutton";
    TspSkinOpenDialog* Dialog() const { return FDialog; }

    void ButtonClick(TObject* sender);

protected:
    TspSkinFileEdit(TComponent* owner, bool saveDialog);
    void Notification(TComponent* component, TOperation operation) override;

private:
    TspSkinOpenDialog* FDialog = nullptr;
    TspDialogSkins FDlgSkins { this };
};

class TspSkinSaveFileEdit : public TspSkinFileEdit {
public:
    explicit TspSkinSaveFileEdit(TComponent* owner);
};

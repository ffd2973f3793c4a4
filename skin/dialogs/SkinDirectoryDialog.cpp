#include "skin/dialogs/SkinDirectoryDialog.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TApplication.h"
#include "framework/core/Exception.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "platform/shell/ShellFolders.h"
#include "platform/shell/ShellNamespace.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinEffectLabels.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/controls/SkinSpeedButtons.h"
#include "skin/core/TspSkinData.h"
#include "skin/dialogs/SkinDialogGlyphs.h"
#include "skin/dialogs/SkinFileDialogs.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellTreeView.h"
#include "skin/dialogs/spfilectrl.h"
#include "skin/forms/TspSkinForm.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

// ---- TspSelDirDlgForm -----------------------------------------------------------------------------------------

TspSelDirDlgForm::TspSelDirDlgForm(TComponent* owner, TspSkinData* ctrlSkin, bool showToolBar, bool flatButtons)
    : TForm(owner)
    , FCtrlSkin(ctrlSkin)
{
    SetKeyPreview(true);
    SetPosition(poScreenCenter);
    SkinForm = new TspSkinForm(this);
    if (showToolBar) {
        ToolPanel = new TspSkinPanel(this);
        ToolPanel->SetAlign(alTop);
        ToolPanel->SetBorderStyle(TspSkinBorderStyle::bvNone);
        ToolPanel->SetDefaultHeight(25);
        ToolPanel->SetSkinDataName("toolpanel");
        ToolPanel->SetParent(this);
        NewFolderButton = new TspSkinSpeedButton(this);
        NewFolderButton->SetDefaultWidth(27);
        NewFolderButton->SetDefaultHeight(25);
        NewFolderButton->SetSkinDataName("toolbutton");
        NewFolderButton->SetNumGlyphs(1);
        TBitmap picture;
        if (LoadDialogGlyph(&picture, "SP_NEWFOLDER"))
            NewFolderButton->SetGlyph(&picture);
        NewFolderButton->SetHint(DialogText(ctrlSkin, "MSG_BTN_NEWFOLDER_HINT", "Create New Folder"));
        NewFolderButton->SetShowHint(true);
        NewFolderButton->SetFlat(flatButtons);
        NewFolderButton->OnClick = [this](TObject* sender) { NewFolderToolButtonClick(sender); };
        NewFolderButton->SetAlign(alRight);
        NewFolderButton->SetParent(ToolPanel);
        auto* spacer = new TspSkinBevel(this);
        spacer->SetShape(bsSpacer);
        spacer->SetWidth(5);
        spacer->SetAlign(alRight);
        spacer->SetParent(ToolPanel);
        PathEdit = new TspSkinEdit(this);
        PathEdit->SetDefaultHeight(25);
        PathEdit->SetSkinDataName("tooledit");
        PathEdit->SetAlign(alClient);
        PathEdit->OnKeyPress = [this](TObject* sender, char32_t& key) { EditKeyPress(sender, key); };
        PathEdit->SetParent(ToolPanel);
    }

    BottomPanel = new TspSkinPanel(this);
    BottomPanel->SetAlign(alBottom);
    BottomPanel->SetBorderStyle(TspSkinBorderStyle::bvNone);
    BottomPanel->SetHeight(50);
    BottomPanel->SetParent(this);
    OKButton = new TspSkinButton(this);
    OKButton->SetName("OKButton");
    OKButton->SetCaption(DialogText(ctrlSkin, "MSG_BTN_OK", "OK"));
    OKButton->SetModalResult(mrOk);
    OKButton->SetDefault(true);
    CancelButton = new TspSkinButton(this);
    CancelButton->SetName("CancelButton");
    CancelButton->SetCaption(DialogText(ctrlSkin, "MSG_BTN_CANCEL", "Cancel"));
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
    int left = 20;
    for (TspSkinButton* button : { OKButton, CancelButton }) {
        button->SetCanFocused(true);
        button->SetDefaultHeight(25);
        button->SetBounds(left, 15, 70, 25);
        button->SetParent(BottomPanel);
        left += 80;
    }

    TreePanel = new TspSkinPanel(this);
    TreePanel->SetAlign(alClient);
    TreePanel->SetBorderStyle(TspSkinBorderStyle::bvFrame);
    TreePanel->SetParent(this);
    VScrollBar = new TspSkinScrollBar(this);
    VScrollBar->SetKind(sbVertical);
    VScrollBar->SetDefaultWidth(19);
    VScrollBar->SetSkinDataName("vscrollbar");
    VScrollBar->SetEnabled(false);
    VScrollBar->SetAlign(alRight);
    VScrollBar->SetParent(TreePanel);
    HScrollBar = new TspSkinScrollBar(this);
    HScrollBar->SetDefaultHeight(19);
    HScrollBar->SetBothMarkerWidth(19);
    HScrollBar->SetSkinDataName("hscrollbar");
    HScrollBar->SetEnabled(false);
    HScrollBar->SetAlign(alBottom);
    HScrollBar->SetParent(TreePanel);
    DirTree = new TspSkinDirTreeView(this);
    DirTree->SetHScrollBar(HScrollBar);
    DirTree->SetVScrollBar(VScrollBar);
    DirTree->SetObjectTypes({ otFolders, otHidden });
    DirTree->SetHideSelection(false);
    DirTree->OnChange = [this](TObject* sender, TTreeNode* node) { DirTreeChange(sender, node); };
    DirTree->SetAlign(alClient);
    DirTree->SetParent(TreePanel);
    SetActiveControl(DirTree);
}

TspSelDirDlgForm::~TspSelDirDlgForm() = default;

void TspSelDirDlgForm::DirTreeChange(TObject*, TTreeNode*)
{
    if (PathEdit)
        PathEdit->SetText(DirTree->GetPath());
}

void TspSelDirDlgForm::EditKeyPress(TObject*, char32_t& key)
{
    if (key != U'\r' || !PathEdit)
        return;
    const std::string text = PathEdit->Text();
    if (!text.empty() && spfilectrl::DirectoryExists(text))
        DirTree->SetPath(text.size() > 1 ? ExcludeTrailingPathDelimiter(text) : text);
}

void TspSelDirDlgForm::NewFolderToolButtonClick(TObject*)
{
    TTreeNode* selected = DirTree->Selected();
    const std::string folder = DirTree->GetPath();
    // Only inside a file-system folder: the desktop's list and the computer hold no new folders.
    if (!selected || folder.empty() || folder[0] != '/')
        return;
    const std::string path = IncludeTrailingPathDelimiter(folder) + DialogText(FCtrlSkin, "MSG_NEWFOLDER", "New Folder");
    if (DirectoryExists(path))
        return;
    if (!CreateDir(path))
        throw EInOutError(Format("Cannot create the folder \"%s\": %s", path, std::strerror(errno)));
    DirTree->Refresh(selected);
}

// ---- TspSkinSelectDirectoryDialog -------------------------------------------------------------------------------

TspSkinSelectDirectoryDialog::TspSkinSelectDirectoryDialog(TComponent* owner)
    : TComponent(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetStyle({});
}

TspSkinSelectDirectoryDialog::~TspSkinSelectDirectoryDialog() = default;

void TspSkinSelectDirectoryDialog::SetDefaultFont(TFont* value)
{
    FDefaultFont->Assign(value);
}

void TspSkinSelectDirectoryDialog::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove)
        FSkins.Removed(component);
}

void TspSkinSelectDirectoryDialog::Change()
{
    if (OnChange)
        OnChange(this);
}

bool TspSkinSelectDirectoryDialog::Execute()
{
    auto form = std::unique_ptr<TspSelDirDlgForm>(new TspSelDirDlgForm(Application, CtrlSkinData(), ShowToolBar, ToolButtonsTransparent));
    struct TFormReference {
        TspSelDirDlgForm*& Form;
        ~TFormReference() { Form = nullptr; }
    } reference { FForm };
    FForm = form.get();
    form->SetCaption(FTitle);
    TspSkinForm* skin = form->SkinForm;
    skin->SetBorderIcons({});
    skin->SetSkinData(SkinData());
    skin->SetMenusSkinData(CtrlSkinData());
    skin->AlphaBlend = AlphaBlend;
    skin->AlphaBlendAnimation = AlphaBlendAnimation;
    skin->AlphaBlendValue = AlphaBlendValue;
    skin->MinWidth = DialogMinWidth;
    skin->MinHeight = DialogMinHeight;

    SkinDialogControls(form.get(), CtrlSkinData());
    form->DirTree->SetDefaultFont(FDefaultFont.get());
    form->OKButton->SetDefaultFont(FDefaultFont.get());
    form->CancelButton->SetDefaultFont(FDefaultFont.get());
    // The windows first: a tree made later would start again from its root, and the client size set below
    // counts the real frame.
    form->HandleNeeded();
    form->DirTree->HandleNeeded();
    if (!Directory.empty() && spfilectrl::DirectoryExists(Directory)) {
        form->DirTree->SetPath(Directory.size() > 1 ? ExcludeTrailingPathDelimiter(Directory) : Directory);
    } else {
        // The computer, opened.
        LPITEMIDLIST computer = nullptr;
        if (SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer))) {
            form->DirTree->SetPathFromID(computer);
            ILFree(computer);
            if (TTreeNode* node = form->DirTree->Selected())
                node->Expand(false);
        }
    }

    SetDialogClientSize(form.get(), skin, SkinData(), DialogWidth, DialogHeight, 280, 280);

    const TModalResult result = form->ShowModal();
    DialogWidth = form->ClientWidth();
    DialogHeight = form->ClientHeight();
    if (result != mrOk)
        return false;
    Directory = form->DirTree->GetPath();
    Change();
    return true;
}

// ---- TspSkinDirectoryEdit ---------------------------------------------------------------------------------------

TspSkinDirectoryEdit::TspSkinDirectoryEdit(TComponent* owner)
    : inherited(owner)
{
    FDialog = new TspSkinSelectDirectoryDialog(this);
    SetButtonMode(true);
    OnButtonClick = [this](TObject* sender) { ButtonClick(sender); };
    SetSkinDataName("buttonedit");
}

TspSkinDirectoryEdit::~TspSkinDirectoryEdit() = default;

void TspSkinDirectoryEdit::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove)
        FDlgSkins.Removed(component);
}

void TspSkinDirectoryEdit::ButtonClick(TObject*)
{
    FDialog->Directory = Text();
    FDialog->SetSkinData(DlgSkinData());
    FDialog->SetCtrlSkinData(DlgCtrlSkinData());
    if (FDialog->Execute())
        SetText(FDialog->Directory);
}

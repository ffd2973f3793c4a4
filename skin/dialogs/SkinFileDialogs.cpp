#include "skin/dialogs/SkinFileDialogs.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/core/Exception.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TPicture.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinEffectLabels.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinMenuButtons.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/controls/SkinSpeedButtons.h"
#include "skin/controls/SkinSplitters.h"
#include "skin/controls/SkinToolBar.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/dialogs/SkinDialogGlyphs.h"
#include "skin/dialogs/SkinFileCtrls.h"
#include "skin/dialogs/TspShellComboBox.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellListView.h"
#include "skin/dialogs/TspSkinMessage.h"
#include "skin/dialogs/spfilectrl.h"
#include "skin/lists/TspSkinScrollBox.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/TspSkinPopupMenu.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

void SetArial14(TFont* font)
{
    font->SetName("Arial");
    font->SetHeight(14);
    font->SetStyle({});
}

// A 10-pixel gap on the tool bar.
void AddSpacer(TWinControl* parent, TAlign align, int width)
{
    auto* spacer = new TspSkinBevel(parent);
    spacer->SetShape(bsSpacer);
    spacer->SetWidth(width);
    spacer->SetAlign(align);
    spacer->SetParent(parent);
}

} // namespace

std::string DialogText(TspSkinData* ctrlSkin, const char* key, const char* english)
{
    if (ctrlSkin && ctrlSkin->ResourceStrData())
        return ctrlSkin->ResourceStrData()->GetResStr(key);
    return english;
}

// ---- TspOpenDlgForm ---------------------------------------------------------------------------------------------

TspOpenDlgForm::TspOpenDlgForm(TComponent* owner, bool saveMode, TspSkinData* ctrlSkin, bool flatButtons)
    : TForm(owner)
    , FSaveMode(saveMode)
    , FCtrlSkin(ctrlSkin)
{
    SetKeyPreview(true);
    SetPosition(poScreenCenter);
    SkinForm = new TspSkinForm(this);
    // The bottom panel first, so that the list fills what the tool bar and it leave.
    BuildToolBar(flatButtons);
    BuildBottomPanel();
    BuildListPanel();
    SetActiveControl(Edit);
}

TspOpenDlgForm::~TspOpenDlgForm() = default;

std::string TspOpenDlgForm::Text(const char* key, const char* english) const
{
    return DialogText(FCtrlSkin, key, english);
}

TspSkinSpeedButton* TspOpenDlgForm::ToolButton(const char* glyph, const char* hintKey, const char* hintEnglish, bool flat)
{
    auto* button = new TspSkinSpeedButton(this);
    button->SetDefaultWidth(27);
    button->SetDefaultHeight(25);
    button->SetSkinDataName("toolbutton");
    button->SetNumGlyphs(1);
    TBitmap picture;
    if (LoadDialogGlyph(&picture, glyph))
        button->SetGlyph(&picture);
    button->SetHint(Text(hintKey, hintEnglish));
    button->SetShowHint(true);
    button->SetFlat(flat);
    return button;
}

void TspOpenDlgForm::BuildToolBar(bool flatButtons)
{
    ToolBar = new TspSkinToolBar(this);
    ToolBar->SetBorderStyle(TspSkinBorderStyle::bvNone);
    ToolBar->SetAlign(alTop);
    ToolBar->SetDefaultHeight(25);
    ToolBar->SetSkinDataName("toolpanel");
    ToolBar->SetParent(this);

    // Right to left: the view button, a gap, new folder, up, back; then from the left the label, a gap and the
    // path box filling the rest.
    ViewMenu = new TspSkinPopupMenu(this);
    const char* keys[4] = { "MSG_LV_ICON", "MSG_LV_SMALLICON", "MSG_LV_LIST", "MSG_LV_DETAILS" };
    const char* english[4] = { "Large icons", "Small icons", "List", "Details" };
    const TViewStyle styles[4] = { vsIcon, vsSmallIcon, vsList, vsReport };
    for (int i = 0; i < 4; ++i) {
        auto* item = new TMenuItem(this);
        item->SetCaption(Text(keys[i], english[i]));
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
        const TViewStyle style = styles[i];
        item->OnClick = [this, style](TObject*) { SetViewStyle(style); };
        ViewMenu->Items()->Add(item);
        ViewItems[i] = item;
    }
    ViewMenuButton = new TspSkinMenuSpeedButton(this);
    ViewMenuButton->SetDefaultWidth(37);
    ViewMenuButton->SetDefaultHeight(25);
    ViewMenuButton->SetSkinDataName("toolmenubutton");
    ViewMenuButton->SetNumGlyphs(1);
    TBitmap picture;
    if (LoadDialogGlyph(&picture, "SP_LVSTYLE"))
        ViewMenuButton->SetGlyph(&picture);
    ViewMenuButton->SetSkinPopupMenu(ViewMenu);
    ViewMenuButton->SetHint(Text("MSG_BTN_VIEWMENU_HINT", "View Menu"));
    ViewMenuButton->SetShowHint(true);
    ViewMenuButton->SetFlat(flatButtons);
    ViewMenuButton->SetAlign(alRight);
    ViewMenuButton->SetParent(ToolBar);
    AddSpacer(ToolBar, alRight, 10);
    NewFolderButton = ToolButton("SP_NEWFOLDER", "MSG_BTN_NEWFOLDER_HINT", "Create New Folder", flatButtons);
    NewFolderButton->OnClick = [this](TObject* sender) { NewFolderToolButtonClick(sender); };
    UpButton = ToolButton("SP_UP", "MSG_BTN_UP_HINT", "Up One Level", flatButtons);
    UpButton->OnClick = [this](TObject* sender) { UpToolButtonClick(sender); };
    BackButton = ToolButton("SP_BACK", "MSG_BTN_BACK_HINT", "Go To Last Folder Visited", flatButtons);
    BackButton->OnClick = [this](TObject* sender) { BackToolButtonClick(sender); };
    for (TspSkinSpeedButton* button : { NewFolderButton, UpButton, BackButton }) {
        button->SetAlign(alRight);
        button->SetParent(ToolBar);
    }

    LookInLabel = new TspSkinStdLabel(this);
    LookInLabel->SetAutoSize(true);
    LookInLabel->SetLayout(tlCenter);
    LookInLabel->SetCaption(Text("FLV_LOOKIN", "Look in: "));
    LookInLabel->SetAlign(alLeft);
    LookInLabel->SetParent(ToolBar);
    AddSpacer(ToolBar, alLeft, 10);
    FolderBox = new TspSkinShellComboBox(this);
    FolderBox->SetWidth(190);
    FolderBox->SetAlign(alClient);
    FolderBox->SetDropDownCount(10);
    FolderBox->SetParent(ToolBar);
}

void TspOpenDlgForm::BuildBottomPanel()
{
    BottomPanel = new TspSkinPanel(this);
    BottomPanel->SetBorderStyle(TspSkinBorderStyle::bvNone);
    BottomPanel->SetAlign(alBottom);
    BottomPanel->SetHeight(80);
    BottomPanel->SetParent(this);
    const int width = BottomPanel->ClientWidth();

    FileNameLabel = new TspSkinStdLabel(this);
    FileNameLabel->SetAutoSize(true);
    FileNameLabel->SetCaption(Text("MSG_FILENAME", "File name:"));
    FileNameLabel->SetLeft(10);
    FileNameLabel->SetTop(10);
    FileNameLabel->SetParent(BottomPanel);
    FileTypeLabel = new TspSkinStdLabel(this);
    FileTypeLabel->SetAutoSize(true);
    FileTypeLabel->SetCaption(Text("MSG_FILETYPE", "File type:"));
    FileTypeLabel->SetLeft(10);
    FileTypeLabel->SetTop(45);
    FileTypeLabel->SetParent(BottomPanel);

    Edit = new TspSkinEdit(this);
    Edit->SetDefaultHeight(21);
    Edit->SetBounds(70, 10, std::max(0, width - 90 - 70), 21);
    Edit->SetAnchors({ akLeft, akTop, akRight });
    Edit->OnKeyPress = [this](TObject* sender, char32_t& key) { EditKeyPress(sender, key); };
    Edit->SetParent(BottomPanel);
    FilterBox = new TspSkinFilterComboBox(this);
    FilterBox->SetDefaultHeight(21);
    FilterBox->SetBounds(70, 45, std::max(0, width - 90 - 70), 21);
    FilterBox->SetAnchors({ akLeft, akTop, akRight });
    FilterBox->OnChange = [this](TObject* sender) { FCBChange(sender); };
    FilterBox->SetParent(BottomPanel);

    OpenButton = new TspSkinButton(this);
    OpenButton->SetName("OpenButton");
    OpenButton->SetCanFocused(true);
    OpenButton->SetCaption(FSaveMode ? Text("MSG_BTN_SAVE", "&Save") : Text("MSG_BTN_OPEN", "&Open"));
    OpenButton->SetDefaultHeight(25);
    OpenButton->SetBounds(width - 80, 10, 70, 25);
    OpenButton->SetAnchors({ akTop, akRight });
    OpenButton->OnClick = [this](TObject* sender) { OpenButtonClick(sender); };
    OpenButton->SetParent(BottomPanel);
    CancelButton = new TspSkinButton(this);
    CancelButton->SetName("CancelButton");
    CancelButton->SetCanFocused(true);
    CancelButton->SetCaption(Text("MSG_BTN_CANCEL", "Cancel"));
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetBounds(width - 80, 45, 70, 25);
    CancelButton->SetAnchors({ akTop, akRight });
    CancelButton->SetParent(BottomPanel);
}

void TspOpenDlgForm::BuildListPanel()
{
    ListPanel = new TspSkinPanel(this);
    ListPanel->SetBorderStyle(TspSkinBorderStyle::bvFrame);
    ListPanel->SetAlign(alClient);
    ListPanel->SetParent(this);
    HScrollBar = new TspSkinScrollBar(this);
    HScrollBar->SetDefaultHeight(19);
    HScrollBar->SetBothMarkerWidth(19);
    HScrollBar->SetSkinDataName("hscrollbar");
    HScrollBar->SetEnabled(false);
    HScrollBar->SetAlign(alBottom);
    HScrollBar->SetParent(ListPanel);
    VScrollBar = new TspSkinScrollBar(this);
    VScrollBar->SetKind(sbVertical);
    VScrollBar->SetDefaultWidth(19);
    VScrollBar->SetSkinDataName("vscrollbar");
    VScrollBar->SetEnabled(false);
    VScrollBar->SetAlign(alRight);
    VScrollBar->SetParent(ListPanel);

    FileList = new TspSkinFileListView(this);
    FileList->SetViewStyle(vsList);
    FileList->SetShowColumnHeaders(true);
    FileList->SetHideSelection(false);
    FileList->SetHScrollBar(HScrollBar);
    FileList->SetVScrollBar(VScrollBar);
    FileList->SetAlign(alClient);
    FileList->SetParent(ListPanel);
    FileList->SetComboBox(FolderBox);
    FileList->OnChange = [this](TObject* sender, TListItem* item, TItemChange change) { FLVChange(sender, item, change); };
    FileList->OnPathChange = [this](TObject* sender) { FLVPathChange(sender); };
    FileList->OnDblClick = [this](TObject* sender) { FLVDBLClick(sender); };
    FileList->OnKeyPress = [this](TObject* sender, char32_t& key) { FLVKeyPress(sender, key); };
}

std::string TspOpenDlgForm::CurrentFolder() const
{
    return IncludeTrailingPathDelimiter(FileList->GetPath());
}

void TspOpenDlgForm::FireFolderChange()
{
    if (OnFolderChange)
        OnFolderChange(this);
}

// ---- Navigation ---------------------------------------------------------------------------------------------------

void TspOpenDlgForm::NoteFolder()
{
    if (FileList->RootFolder())
        FHistory.emplace_back(spShellCtrls::CopyItemIdList(FileList->RootFolder()->AbsoluteID()));
}

void TspOpenDlgForm::FLVPathChange(TObject*)
{
    if (!FNavigatingBack)
        NoteFolder();
    if (FileList->Items()->Count() > 0)
        FileList->SetItemFocused(FileList->Items()->Item(0));
    FireFolderChange();
}

void TspOpenDlgForm::BackToolButtonClick(TObject*)
{
    if (FHistory.size() < 2)
        return;
    FNavigatingBack = true;
    const size_t previous = FHistory.size() - 2;
    try {
        FileList->TreeUpdate(FHistory[previous].get());
    } catch (...) {
        FNavigatingBack = false;
        throw;
    }
    // The entry gone back to leaves the history; the last one stays, so each Back steps one further.
    FHistory.erase(FHistory.begin() + static_cast<std::ptrdiff_t>(previous));
    FNavigatingBack = false;
}

void TspOpenDlgForm::UpToolButtonClick(TObject*)
{
    FileList->Back();
}

void TspOpenDlgForm::NewFolderToolButtonClick(TObject*)
{
    // Only inside a file-system folder: virtual folders (the desktop's list, the computer) hold no new ones.
    const std::string folder = FileList->GetPath();
    if (folder.empty() || folder[0] != '/')
        return;
    const std::string path = CurrentFolder() + Text("MSG_NEWFOLDER", "New Folder");
    if (DirectoryExists(path))
        return;
    if (!CreateDir(path))
        throw EInOutError(Format("Cannot create the folder \"%s\": %s", path, std::strerror(errno)));
    FileList->RootChanged();
}

void TspOpenDlgForm::SetViewStyle(TViewStyle style)
{
    FileList->SetViewStyle(style);
    const TViewStyle styles[4] = { vsIcon, vsSmallIcon, vsList, vsReport };
    for (int i = 0; i < 4; ++i)
        ViewItems[i]->SetChecked(styles[i] == style);
    if (style == vsReport && FileList->MultiSelect())
        FileList->EnumColumns();
}

void TspOpenDlgForm::FCBChange(TObject*)
{
    FileList->SetMask(FilterBox->GetMask());
}

// ---- Selection and keys -------------------------------------------------------------------------------------------

void TspOpenDlgForm::FLVChange(TObject*, TListItem*, TItemChange)
{
    const std::string file = FileList->GetSelectedFile();
    if (!file.empty())
        Edit->SetText(ExtractFileName(file));
    if (OnSelectionChange)
        OnSelectionChange(this);
    FireFolderChange();
}

void TspOpenDlgForm::FLVKeyPress(TObject*, char32_t& key)
{
    if (key == U'\r' && !FileList->GetSelectedFile().empty())
        OpenButtonClick(this);
}

void TspOpenDlgForm::EditKeyPress(TObject*, char32_t& key)
{
    if (key != U'\r')
        return;
    const std::string text = Edit->Text();
    if (text.find('*') != std::string::npos) {
        FileList->SetMask(text);
    } else if (text.find('/') != std::string::npos) {
        // A folder: absolute, or under the one shown.
        const std::string folder = text[0] == '/' ? text : CurrentFolder() + text;
        if (spfilectrl::DirectoryExists(folder))
            FileList->SetPath(ExcludeTrailingPathDelimiter(folder).empty() ? "/" : ExcludeTrailingPathDelimiter(folder));
    } else {
        OpenButtonClick(this);
    }
}

// ---- Confirming ---------------------------------------------------------------------------------------------------

bool TspOpenDlgForm::MayOverwrite(const std::string& name)
{
    if (!OverwritePrompt || !FileExists(name))
        return true;
    TspSkinMessage message(nullptr);
    message.SetSkinData(SkinForm->SkinData());
    message.SetCtrlSkinData(FCtrlSkin);
    return message.MessageDlg(Text("MSG_OVERWRITE", "Are you want to overwrite old file?"), mtWarning, { mbOK, mbCancel }, 0) == mrOk;
}

void TspOpenDlgForm::CloseWith(const std::string& name)
{
    ResultFileName = name;
    SetModalResult(mrOk);
}

void TspOpenDlgForm::OpenButtonClick(TObject*)
{
    const std::string selected = FileList->GetSelectedFile();
    if (CheckFileExists && selected.empty() && !FSaveMode && !ConfirmTypedName)
        return;
    const std::string text = Edit->Text();
    if (text.empty())
        return;
    const std::string typed = text[0] == '/' ? text : CurrentFolder() + text;
    if (ConfirmTypedName && !FSaveMode) {
        if (FileExists(typed))
            CloseWith(typed);
        else
            ResultFileName.clear();
        return;
    }
    if (FSaveMode) {
        if (typed.find('*') != std::string::npos)
            return;
        // The name is completed before the question, so that the file asked about is the file returned.
        const std::string name = spfilectrl::CompleteSaveFileName(typed, FilterBox->GetMask(), DefaultExt);
        if (MayOverwrite(name))
            CloseWith(name);
        return;
    }
    if (CheckFileExists) {
        // A file gone since it was listed keeps the dialog open.
        if (FileExists(selected))
            CloseWith(selected);
        else
            ResultFileName.clear();
        return;
    }
    CloseWith(selected.empty() ? typed : selected);
}

void TspOpenDlgForm::FLVDBLClick(TObject*)
{
    const std::string selected = FileList->GetSelectedFile();
    if (selected.empty())
        return;
    if (FSaveMode && !MayOverwrite(selected))
        return;
    CloseWith(selected);
}

// ---- TspSkinOpenDialog --------------------------------------------------------------------------------------------

TspSkinOpenDialog::TspSkinOpenDialog(TComponent* owner)
    : TComponent(owner)
    , FDefaultFont(std::make_unique<TFont>())
    , FFiles(std::make_unique<TStringList>())
{
    SetArial14(FDefaultFont.get());
}

TspSkinOpenDialog::~TspSkinOpenDialog() = default;

void TspSkinOpenDialog::SetDefaultFont(TFont* value)
{
    FDefaultFont->Assign(value);
}

void TspSkinOpenDialog::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove)
        FSkins.Removed(component);
}

void TspSkinOpenDialog::SetFileName(const std::string& value)
{
    FFileName = value;
    if (FForm)
        FForm->Edit->SetText(value);
}

std::string TspSkinOpenDialog::GetSelectedFile() const
{
    return FForm ? FForm->FileList->GetSelectedFile() : std::string();
}

void TspSkinOpenDialog::Change()
{
    if (OnChange)
        OnChange(this);
}

std::string TspSkinOpenDialog::StartFolder() const
{
    const std::string folder = ExcludeTrailingPathDelimiter(ExtractFilePath(FFileName));
    if (!folder.empty() && spfilectrl::DirectoryExists(folder))
        return folder;
    if (!FFileName.empty() && FFileName.rfind('/', 0) == 0 && folder.empty())
        return "/";
    if (!InitialDir.empty() && spfilectrl::DirectoryExists(InitialDir))
        return InitialDir;
    return ExcludeTrailingPathDelimiter(ExeFolder());
}

bool TspSkinOpenDialog::Execute()
{
    auto form = std::unique_ptr<TspOpenDlgForm>(
        new TspOpenDlgForm(Application, FSaveMode, CtrlSkinData(), ToolButtonsTransparent));
    // The reference goes however Execute ends.
    struct TFormReference {
        TspOpenDlgForm*& Form;
        ~TFormReference() { Form = nullptr; }
    } reference { FForm };
    FForm = form.get();
    form->OnFolderChange = OnFolderChange;
    form->CheckFileExists = CheckFileExists;
    form->OverwritePrompt = OverwritePromt;
    form->DefaultExt = DefaultExt;
    PrepareForm(form.get());

    form->SetCaption(FTitle);
    TspSkinForm* skin = form->SkinForm;
    skin->SetBorderIcons({});
    skin->SetSkinData(SkinData());
    skin->SetMenusSkinData(CtrlSkinData());
    skin->MinWidth = DialogMinWidth;
    skin->MinHeight = DialogMinHeight;
    skin->AlphaBlend = AlphaBlend;
    skin->AlphaBlendAnimation = AlphaBlendAnimation;
    skin->AlphaBlendValue = AlphaBlendValue;
    skin->SetMenusAlphaBlend(CtrlAlphaBlend);
    skin->SetMenusAlphaBlendValue(CtrlAlphaBlendValue);
    skin->SetMenusAlphaBlendAnimation(CtrlAlphaBlendAnimation);
    for (TspSkinCustomComboBox* box : { static_cast<TspSkinCustomComboBox*>(form->FolderBox), static_cast<TspSkinCustomComboBox*>(form->FilterBox) }) {
        box->SetListBoxAlphaBlend(CtrlAlphaBlend);
        box->SetListBoxAlphaBlendValue(CtrlAlphaBlendValue);
        box->SetListBoxAlphaBlendAnimation(CtrlAlphaBlendAnimation);
    }
    form->OpenButton->SetDefaultFont(FDefaultFont.get());
    form->CancelButton->SetDefaultFont(FDefaultFont.get());
    form->FolderBox->SetDefaultFont(FDefaultFont.get());
    form->FileList->SetDefaultFont(FDefaultFont.get());
    form->SetViewStyle(FViewStyle);

    // The windows first: a list made later would start again from its root, and the client size set below
    // counts the real frame.
    form->HandleNeeded();
    form->FileList->HandleNeeded();
    form->FilterBox->HandleNeeded();
    form->FileList->SetRoot(StartFolder());
    form->NoteFolder();
    form->FileList->SetHeaderSkinDataName(LVHeaderSkinDataName);
    form->FileList->SetMultiSelect(MultiSelection);
    // The filter box listed its entries as its window was made: the entry FilterIndex names is shown, and its
    // mask is the list's from the start.
    form->FilterBox->SetFilter(Filter);
    form->FilterBox->SetItemIndex(FilterIndex - 1);
    form->FileList->SetMask(form->FilterBox->GetMask());

    SkinDialogControls(form.get(), CtrlSkinData());
    form->FolderBox->SetSkinDataName("combobox");

    SetDialogClientSize(form.get(), skin, SkinData(), DialogWidth, DialogHeight, DefaultClientWidth(), DefaultClientHeight());

    if (form->FileList->Items()->Count() > 0)
        form->FileList->SetItemFocused(form->FileList->Items()->Item(0));
    form->Edit->SetText(ExtractFileName(FFileName));
    BeforeShow(form.get());

    const TModalResult result = form->ShowModal();
    FormClosed(form.get());
    FilterIndex = form->FilterBox->ItemIndex() + 1;
    DialogWidth = form->ClientWidth();
    DialogHeight = form->ClientHeight();
    FViewStyle = form->FileList->ViewStyle();
    if (result != mrOk)
        return false;
    FFileName = form->ResultFileName;
    form->FileList->GetSelectedFiles(FFiles.get());
    if (FSaveMode)
        FFileName = spfilectrl::CompleteSaveFileName(FFileName, form->FilterBox->GetMask(), DefaultExt);
    Change();
    return true;
}

TspSkinSaveDialog::TspSkinSaveDialog(TComponent* owner)
    : TspSkinOpenDialog(owner)
{
    SetTitle("Save file");
    FSaveMode = true;
}

// ---- Preview and sound dialogs ------------------------------------------------------------------------------------

TspSkinOpenPreviewDialog::TspSkinOpenPreviewDialog(TComponent* owner)
    : TspSkinOpenDialog(owner)
{
}

void TspSkinOpenPreviewDialog::PrepareForm(TspOpenDlgForm* form)
{
    FPanel = new TspSkinPaintPanel(form);
    FPanel->SetBorderStyle(TspSkinBorderStyle::bvNone);
    FPanel->SetAlign(alBottom);
    FPanel->SetHeight(PaintPanelSize);
    FPanel->OnPanelPaint = OnPreviewPanelPaint;
    FPanel->SetParent(form);
}

void TspSkinOpenPreviewDialog::FormClosed(TspOpenDlgForm*)
{
    FPanel = nullptr;
}

void TspSkinOpenPreviewDialog::PreviewPanelRePaint()
{
    if (TspSkinPaintPanel* panel = PreviewPanel())
        panel->Repaint();
}

TspSkinSavePreviewDialog::TspSkinSavePreviewDialog(TComponent* owner)
    : TspSkinOpenPreviewDialog(owner)
{
    SetTitle("Save file");
    FSaveMode = true;
}

TspSkinOpenSoundDialog::TspSkinOpenSoundDialog(TComponent* owner)
    : TspSkinOpenDialog(owner)
{
    SetTitle("Open sound");
}

void TspSkinOpenSoundDialog::PrepareForm(TspOpenDlgForm* form)
{
    auto* strip = new TspSkinToolBar(form);
    strip->SetBorderStyle(TspSkinBorderStyle::bvNone);
    strip->SetAlign(alBottom);
    strip->SetHeight(25);
    strip->SetSkinDataName("toolpanel");
    strip->SetParent(form);
    auto button = [&](const char* glyph, const TNotifyEvent& click) {
        auto* b = new TspSkinSpeedButton(form);
        b->SetDefaultWidth(25);
        b->SetSkinDataName("toolbutton");
        b->SetNumGlyphs(1);
        TBitmap picture;
        if (LoadDialogGlyph(&picture, glyph))
            b->SetGlyph(&picture);
        b->SetFlat(ToolButtonsTransparent);
        b->OnClick = click;
        b->SetAlign(alLeft);
        b->SetParent(strip);
        return b;
    };
    // Left to right: Stop, then Play.
    FStop = button("SP_STOP", OnStopButtonClick);
    FPlay = button("SP_PLAY", OnPlayButtonClick);
    FPlay->SetLeft(FStop->Left() + FStop->Width());
}

void TspSkinOpenSoundDialog::FormClosed(TspOpenDlgForm*)
{
    FPlay = nullptr;
    FStop = nullptr;
    if (OnStopButtonClick)
        OnStopButtonClick(this);
}

TspSkinSaveSoundDialog::TspSkinSaveSoundDialog(TComponent* owner)
    : TspSkinOpenSoundDialog(owner)
{
    SetTitle("Save file");
    FSaveMode = true;
}

// ---- Picture dialogs ----------------------------------------------------------------------------------------------

TspSkinOpenPictureDialog::TspSkinOpenPictureDialog(TComponent* owner)
    : TspSkinOpenDialog(owner)
{
    SetTitle("Open picture");
    Filter = "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
             "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
}

void TspSkinOpenPictureDialog::PrepareForm(TspOpenDlgForm* form)
{
    FPreviewPanel = new TspSkinPanel(form);
    FPreviewPanel->SetBorderStyle(TspSkinBorderStyle::bvFrame);
    FPreviewPanel->SetWidth(FPreviewWidth);
    FPreviewPanel->SetAlign(alRight);
    FPreviewPanel->SetParent(form);
    auto* vertical = new TspSkinScrollBar(form);
    vertical->SetKind(sbVertical);
    vertical->SetDefaultWidth(19);
    vertical->SetSkinDataName("vscrollbar");
    vertical->SetEnabled(false);
    vertical->SetAlign(alRight);
    vertical->SetParent(FPreviewPanel);
    auto* horizontal = new TspSkinScrollBar(form);
    horizontal->SetDefaultHeight(19);
    horizontal->SetBothMarkerWidth(19);
    horizontal->SetSkinDataName("hscrollbar");
    horizontal->SetEnabled(false);
    horizontal->SetAlign(alBottom);
    horizontal->SetParent(FPreviewPanel);
    FScrollBox = new TspSkinScrollBox(form);
    FScrollBox->SetBorderStyle(TspSkinBorderStyle::bvNone);
    FScrollBox->SetHScrollBar(horizontal);
    FScrollBox->SetVScrollBar(vertical);
    FScrollBox->SetAlign(alClient);
    FScrollBox->SetParent(FPreviewPanel);
    FImage = new TImage(form);
    FImage->SetBounds(0, 0, 0, 0);
    FImage->SetParent(FScrollBox);
    auto* splitter = new TspSkinSplitter(form);
    splitter->SetAlign(alRight);
    splitter->SetWidth(10);
    splitter->SetDefaultSize(10);
    splitter->SetBeveled(false);
    splitter->SetParent(form);

    FStretchButton = new TspSkinSpeedButton(form);
    FStretchButton->SetDefaultWidth(27);
    FStretchButton->SetDefaultHeight(25);
    FStretchButton->SetGroupIndex(2);
    FStretchButton->SetAllowAllUp(true);
    FStretchButton->SetSkinDataName("toolbutton");
    FStretchButton->SetNumGlyphs(1);
    TBitmap picture;
    if (LoadDialogGlyph(&picture, "SP_STRETCH"))
        FStretchButton->SetGlyph(&picture);
    FStretchButton->SetHint(DialogText(CtrlSkinData(), "MSG_BTN_STRETCH_HINT", "Stretch Picture"));
    FStretchButton->SetShowHint(true);
    FStretchButton->SetFlat(ToolButtonsTransparent);
    FStretchButton->OnClick = [this](TObject*) { StretchButtonClick(); };
    FStretchButton->SetAlign(alRight);
    FStretchButton->SetParent(form->ToolBar);
    form->OnSelectionChange = [this, form](TObject*) { SelectionChange(form); };
}

void TspSkinOpenPictureDialog::StretchButtonClick()
{
    FImage->SetVisible(false);
    if (FStretchButton->Down()) {
        FImage->SetStretch(true);
        FImage->SetAlign(alClient);
    } else {
        FImage->SetAlign(alNone);
        FImage->SetBounds(0, 0, FImage->Picture()->Width(), FImage->Picture()->Height());
        FImage->SetStretch(false);
    }
    FImage->SetVisible(true);
    FScrollBox->UpdateScrollRange();
}

void TspSkinOpenPictureDialog::ShowPicture(const std::string& file)
{
    if (file.empty()) {
        FImage->Picture()->Assign(nullptr);
        if (!FImage->Stretch())
            FImage->SetBounds(0, 0, 0, 0);
        FScrollBox->UpdateScrollRange();
        return;
    }
    try {
        FImage->Picture()->LoadFromFile(file);
    } catch (...) {
        if (!FImage->Stretch())
            FScrollBox->UpdateScrollRange();
        throw;
    }
    if (!FImage->Stretch()) {
        FImage->SetBounds(0, 0, FImage->Picture()->Width(), FImage->Picture()->Height());
        FScrollBox->UpdateScrollRange();
    }
}

void TspSkinOpenPictureDialog::SelectionChange(TspOpenDlgForm* form)
{
    const std::string file = form->FileList->GetSelectedFile();
    form->Edit->SetText(ExtractFileName(file));
    ShowPicture(file);
}

void TspSkinOpenPictureDialog::BeforeShow(TspOpenDlgForm*)
{
    if (StretchPicture || FStretched) {
        FStretchButton->SetDown(true);
        StretchButtonClick();
    }
    if (!FileName().empty() && FileExists(FileName())) {
        try {
            ShowPicture(FileName());
        } catch (const Exception&) {
            // A name given in advance that is no picture shows nothing.
        }
    }
}

void TspSkinOpenPictureDialog::FormClosed(TspOpenDlgForm*)
{
    FStretched = FStretchButton->Down();
    FPreviewWidth = FPreviewPanel->Width();
    FPreviewPanel = nullptr;
    FScrollBox = nullptr;
    FImage = nullptr;
    FStretchButton = nullptr;
}

TspSkinSavePictureDialog::TspSkinSavePictureDialog(TComponent* owner)
    : TspSkinOpenPictureDialog(owner)
{
    SetTitle("Save file");
    FSaveMode = true;
}

// ---- Open-skin dialog ---------------------------------------------------------------------------------------------

namespace {

// The sample never has the focus: its caption is drawn as an active window's.
class TSampleSkinForm final : public TspSkinForm {
public:
    using TspSkinForm::TspSkinForm;
    bool GetFormActive() override { return true; }
};

// A form that lives inside another control, as the sample does.
class TSampleWindow final : public TForm {
public:
    using TForm::TForm;
    using TForm::SetParent;
};

} // namespace

TspOpenSkinDialog::TspOpenSkinDialog(TComponent* owner)
    : TspSkinOpenDialog(owner)
{
    SetTitle("Open skin");
    Filter = "Compressed skin (*.skn)|*.skn|UnCompressed skin (*.ini)|*.ini";
    AlphaBlendValue = 200;
    CheckFileExists = false;
}

TspOpenSkinDialog::~TspOpenSkinDialog() = default;

void TspOpenSkinDialog::PrepareForm(TspOpenDlgForm* form)
{
    form->ConfirmTypedName = true;
    auto* pane = new TspSkinPanel(form);
    pane->SetBorderStyle(TspSkinBorderStyle::bvNone);
    pane->SetWidth(230);
    pane->SetAlign(alRight);
    pane->SetParent(form);

    FSampleSkin = new TspSkinData(form);
    if (CtrlSkinData() && CtrlSkinData()->ResourceStrData())
        FSampleSkin->SetResourceStrData(CtrlSkinData()->ResourceStrData());
    auto* sample = TCustomForm::Create<TSampleWindow>(form);
    FSample = sample;
    FSample->SetCaption(DialogText(CtrlSkinData(), "MSG_PREVIEWSKIN", "Preview"));
    FSample->SetEnabled(false);
    FSample->SetBounds(5, 5, pane->Width() - 10, 170);
    FSample->SetVisible(false);
    sample->SetParent(pane);
    auto* sampleSkin = new TSampleSkinForm(FSample);
    sampleSkin->SetSkinData(FSampleSkin);
    FSampleButton = new TspSkinButton(FSample);
    FSampleButton->SetBounds(20, 20, 100, 25);
    FSampleButton->SetCaption(DialogText(CtrlSkinData(), "MSG_PREVIEWBUTTON", "Button"));
    FSampleButton->SetParent(FSample);
    // The button wears the sample's skin, not the dialog's: it is owned by the sample form, which the dialog's
    // skinning loop does not reach.
    FSampleButton->SetSkinData(FSampleSkin);
    form->OnSelectionChange = [this, form](TObject*) { SelectionChange(form); };
}

void TspOpenSkinDialog::BeforeShow(TspOpenDlgForm* form)
{
    FSampleButton->SetSkinData(FSampleSkin);
    if (!FileName().empty() && FileExists(FileName()))
        LoadSample(form, FileName());
}

void TspOpenSkinDialog::FormClosed(TspOpenDlgForm*)
{
    FSample = nullptr;
    FSampleButton = nullptr;
    FSampleSkin = nullptr;
}

void TspOpenSkinDialog::LoadSample(TspOpenDlgForm* form, const std::string& file)
{
    const int kind = form->FilterBox->ItemIndex() + 1;
    if (kind == CompressedFilterIndex)
        FSampleSkin->LoadFromCompressedFile(file);
    else if (kind == UnCompressedFilterIndex)
        FSampleSkin->LoadFromFile(file);
    else
        return;
    FSample->SetVisible(!FSampleSkin->Empty);
}

void TspOpenSkinDialog::SelectionChange(TspOpenDlgForm* form)
{
    const std::string file = form->FileList->GetSelectedFile();
    form->Edit->SetText(ExtractFileName(file));
    if (file.empty()) {
        FSample->SetVisible(false);
        return;
    }
    LoadSample(form, file);
}

// ---- TspSkinFileEdit ----------------------------------------------------------------------------------------------

TspSkinFileEdit::TspSkinFileEdit(TComponent* owner)
    : TspSkinFileEdit(owner, false)
{
}

TspSkinFileEdit::TspSkinFileEdit(TComponent* owner, bool saveDialog)
    : inherited(owner)
{
    FDialog = saveDialog ? new TspSkinSaveDialog(this) : new TspSkinOpenDialog(this);
    SetButtonMode(true);
    OnButtonClick = [this](TObject* sender) { ButtonClick(sender); };
    SetSkinDataName("buttonedit");
}

TspSkinFileEdit::~TspSkinFileEdit() = default;

const std::string& TspSkinFileEdit::Filter() const
{
    return FDialog->Filter;
}

void TspSkinFileEdit::SetFilter(const std::string& value)
{
    FDialog->Filter = value;
}

void TspSkinFileEdit::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove)
        FDlgSkins.Removed(component);
}

void TspSkinFileEdit::ButtonClick(TObject*)
{
    FDialog->SetFileName(Text());
    FDialog->SetSkinData(DlgSkinData());
    FDialog->SetCtrlSkinData(DlgCtrlSkinData());
    FDialog->LVHeaderSkinDataName = LVHeaderSkinDataName;
    if (FDialog->Execute())
        SetText(FDialog->FileName());
}

TspSkinSaveFileEdit::TspSkinSaveFileEdit(TComponent* owner)
    : TspSkinFileEdit(owner, true)
{
}

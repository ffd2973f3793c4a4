#include "app/TAddFolderForm.h"

#include "app/AppDialog.h"
#include "app/LastSettings.h"
#include "framework/core/FileSystem.h"
#include "framework/core/TStrings.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellTreeView.h"
#include "skin/lists/TspSkinComboBox.h"

void SearchCallBackImp::OnFileFound(const std::string& path)
{
    Form->AddFoundFile(path);
    Form->lblFoundFilesCount->SetCaption(std::to_string(Form->GetFoundFileCount()));
}

void SearchCallBackImp::OnFolder(const std::string& folder)
{
    Form->lblCurrentFolder->SetCaption(folder);
}

TAddFolderForm::TAddFolderForm(TComponent* owner)
    : TForm(owner)
{
    SetCaption("Add Folder");
    SkinAppDialog(this);
    SetWidth(420);
    SetHeight(ChoosingHeight);
    const int width = ClientWidth();

    spSkinStdLabel8 = PlaceLabel(this, 0, 0, "  Select Folder");
    spSkinStdLabel8->SetAutoSize(false);
    spSkinStdLabel8->SetAlign(alTop);
    spSkinStdLabel8->SetHeight(29);
    spSkinStdLabel8->SetLayout(tlCenter);
    chkIncludedSubdir = PlaceSkinned<TspSkinCheckRadioBox>(this, width - 190, 4, 186, 21);
    chkIncludedSubdir->SetCaption("Include &subdirectories");
    chkIncludedSubdir->SetChecked(TLastSettings().IncludedSubdir());

    SkinPanelFileList = PlacePanel(this, 0, 29, width, 268, alTop);
    spSkinScrollBarV = PlaceSkinned<TspSkinScrollBar>(SkinPanelFileList, width - 19, 0, 19, 249);
    spSkinScrollBarV->SetKind(sbVertical);
    spSkinScrollBarV->SetSkinDataName("vscrollbar");
    spSkinScrollBarV->SetAlign(alRight);
    spSkinScrollBarH = PlaceSkinned<TspSkinScrollBar>(SkinPanelFileList, 0, 249, width, 19);
    spSkinScrollBarH->SetSkinDataName("hscrollbar");
    spSkinScrollBarH->SetAlign(alBottom);
    DirTreeView = PlaceSkinned<TspSkinDirTreeView>(SkinPanelFileList, 0, 0, width - 19, 249);
    DirTreeView->SetAlign(alClient);
    DirTreeView->SetObjectTypes({ otFolders });
    DirTreeView->SetUseShellImages(true);
    DirTreeView->SetAutoRefresh(false);
    DirTreeView->SetRightClickSelect(true);
    DirTreeView->SetShowRoot(false);
    DirTreeView->SetIndent(19);
    DirTreeView->SetVScrollBar(spSkinScrollBarV);
    DirTreeView->SetHScrollBar(spSkinScrollBarH);

    PlaceLabel(this, 12, 312, "File Type");
    cbFileType = PlaceSkinned<TspSkinComboBox>(this, 76, 308, width - 196, 21);
    cbFileType->SetDropDownCount(15);
    for (const TFileTypeItem& item : FileTypeItems)
        cbFileType->Items()->Add(std::string(item.Caption));
    cbFileType->SetItemIndex(0);
    btnAddFolder = PlaceSkinned<TspSkinButton>(this, width - 108, 306, 96, 25);
    btnAddFolder->SetCaption("&Add Folder");
    btnAddFolder->OnClick = [this](TObject* sender) { btnAddFolderClick(sender); };

    InfoPanel = PlacePanel(this, 0, 0, width, 58, alBottom);
    PlaceLabel(InfoPanel, 12, 8, "Found Files:");
    lblFoundFilesCount = PlaceLabel(InfoPanel, 130, 8, "0", width - 142);
    PlaceLabel(InfoPanel, 12, 32, "Searching Folder:");
    lblCurrentFolder = PlaceLabel(InfoPanel, 130, 32, "", width - 142);
    lblCurrentFolder->SetEllipsType(spetPathEllips);
    InfoPanel->SetVisible(false);

    OnKeyPress = [this](TObject* sender, char32_t& key) { FormKeyPress(sender, key); };
    OnClose = [this](TObject*, TCloseAction&) { EndSearch(); };
    // Only now is there a button to follow the selection.
    DirTreeView->OnChange = [this](TObject* sender, TTreeNode*) { DirTreeViewChange(sender); };
    // The desktop opens on its folders, as the user expects of a folder picker.
    DirTreeView->HandleNeeded();
    if (TTreeNode* desktop = DirTreeView->Items()->GetFirstNode())
        desktop->Expand(false);
    DirTreeViewChange(DirTreeView);
}

TAddFolderForm::~TAddFolderForm()
{
    // The search must end before anything it could reach goes.
    Search.reset();
    const bool includeSubfolders = chkIncludedSubdir->Checked();
    WriteLastSettingsInTeardown(
        [includeSubfolders](TLastSettings& settings) { settings.SetIncludedSubdir(includeSubfolders); });
}

void TAddFolderForm::AddFoundFile(const std::string& path)
{
    FoundFiles.push_back(path);
}

void TAddFolderForm::DirTreeViewChange(TObject*)
{
    const TspShellFolder* folder = DirTreeView->SelectedFolder();
    const std::string path = folder ? folder->PathName() : std::string();
    btnAddFolder->SetEnabled(!path.empty() && DirectoryExists(path));
}

void TAddFolderForm::btnAddFolderClick(TObject*)
{
    if (btnAddFolder->Tag() != 0) {
        if (Search)
            Search->Stop();
        Close();
        return;
    }
    SetHeight(SearchingHeight);
    InfoPanel->SetVisible(true);
    btnAddFolder->SetTag(1);
    btnAddFolder->SetCaption("Stop");
    if (Search)
        return;

    const std::string masks(FileTypeMasks(cbFileType->ItemIndex()));
    const TspShellFolder* selected = DirTreeView->SelectedFolder();
    // The folder is handed over as a list of one: its blanks stay, only ';' would split it.
    const std::string folder = IncludeTrailingPathDelimiter(selected ? selected->PathName() : std::string());
    Search = std::make_unique<SearchFile_Multithread>(&Callback, masks, folder, &Limits, chkIncludedSubdir->Checked());
    Search->OnSearchEnd = [this] {
        SearchEnded = true;
        Close();
    };
    Search->Start();
    SearchStarted = true;
}

void TAddFolderForm::FormKeyPress(TObject*, char32_t& key)
{
    if (key == 27)
        Close();
}

void TAddFolderForm::EndSearch()
{
    // A search that ended hands nothing more over (and its end handler is what runs this).
    if (!Search || SearchEnded)
        return;
    Search->Detach();
    Search->Stop();
}

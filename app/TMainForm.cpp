// TMainForm: construction and teardown, the job list's rows, the add road (open dialog, drops, folder search) and
// the output folder.
#include "app/TMainForm.h"

#include "app/AddJobs.h"
#include "app/DravelVCCommon.h"
#include "app/JobListView.h"
#include "app/LastSettings.h"
#include "app/TAddFolderForm.h"
#include "app/TAnalysisVideoInfoForm.h"
#include "framed/FrLabel.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "framework/core/FileSystem.h"
#include "framework/core/TStrings.h"
#include "framework/dialogs/Dialogs.h"
#include "platform/controls/ListView.h"
#include "platform/win/FileDrops.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/lists/SkinListViews.h"
#include "skin/lists/TspSkinComboBoxEx.h"

#include <cstdio>

TMainForm* MainForm = nullptr;

TMainForm::TMainForm(TComponent* owner)
    : TForm(owner)
{
    MainForm = this;
    CreateComponents();
    BindEvents();

    // The professional edition's pictures show in the standard one's place.
    ListIconStdImage->SetLeft(ListIconProImage->Left());
    ListIconStdImage->SetTop(ListIconProImage->Top());
    ProfessionalImage->SetVisible(true);
    ListIconProImage->SetVisible(true);
    ListIconStdImage->SetVisible(false);

    // Drops on the list come through its own window procedure.
    SavedListWindowProc = lvFileList->WindowProc;
    lvFileList->WindowProc = [this](TMessage& message) { FileListWindowProc(message); };
    DragAcceptFiles(lvFileList->Handle(), TRUE);

    // Not converting, no running job; the trim markers sit under the preview track bar, at its two ends.
    CreatePreviewAndBatch();

    const TLastSettings settings;
    edtOutputFolder->SetText(settings.OutputFolder());
    chkPreviewMovie->SetChecked(settings.PreviewMovie());
    // The program folder's Logs folder is made too, though nothing is written into it.
    for (const std::string& folder : { edtOutputFolder->Text(), ProgramFolder() + "Logs" })
        if (!folder.empty() && !ForceDirectories(folder))
            std::fprintf(stderr, "Tarnwick Pro: the folder %s cannot be created.\n", folder.c_str());
    CurrentOutputFolder = edtOutputFolder->Text();
    lblHintMessage->SetCaption("");

    Application->OnHint = [this](TObject* sender) { ApplicationHint(sender); };
    FillProfileCombo();
    UpdateControlStates();
    cbOutputProfile->OnCloseUp = [this](TObject* sender) { ApplyProfileToSelection(sender); };
}

TMainForm::~TMainForm()
{
    ReleasePreview();
    ClearJobs();
    ClearProfileCombo();
    const std::string folder = CurrentOutputFolder;
    const bool previewMovie = chkPreviewMovie->Checked();
    WriteLastSettingsInTeardown([&](TLastSettings& settings) {
        settings.SetOutputFolder(folder);
        settings.SetPreviewMovie(previewMovie);
    });
    Application->OnHint = nullptr;
    lvFileList->WindowProc = SavedListWindowProc;
    if (MainForm == this)
        MainForm = nullptr;
}

void TMainForm::FormCreate(TObject*)
{
    // The background panel covers the list's rows, under its header.
    RECT header {};
    if (HWND headerWindow = reinterpret_cast<HWND>(lvFileList->Perform(LVM_GETHEADER, 0, 0)))
        GetWindowRect(headerWindow, &header);
    FileListBackgroundPanel->SetParent(lvFileList);
    FileListBackgroundPanel->SetLeft(0);
    FileListBackgroundPanel->SetTop(header.bottom - header.top);
}

// ---- The list --------------------------------------------------------------------------------------------------

void TMainForm::RefreshJobList()
{
    lvFileList->Items()->SetCount(static_cast<int>(Jobs.size()));
    lvFileList->Repaint();
}

void TMainForm::ClearJobs()
{
    Jobs.clear();
}

void TMainForm::lvFileListData(TObject*, TListItem* item)
{
    FillJobRow(Jobs, item);
}

void TMainForm::spSkinScrollBarHMouseMove(TObject*, TShiftState shift, int, int)
{
    if (FileListBackgroundPanel->Visible() && shift.Contains(ssLeft))
        FileListBackgroundPanel->Repaint();
}

void TMainForm::lvFileListDrawItem(TCustomListView* sender, TListItem* item, TRect rect, TListDrawState state)
{
    DrawJobRow(Jobs, sender, item, rect, state);
}

std::vector<int> TMainForm::SelectedRows() const
{
    std::vector<int> rows;
    const int count = static_cast<int>(Jobs.size());
    // Asks the view's selection state only: an owner-data row costs no filling for that.
    for (int i = 0; i < count; ++i)
        if (lvFileList->IsSelected(i))
            rows.push_back(i);
    return rows;
}

TConvertJob* TMainForm::SelectedJob() const
{
    if (lvFileList->SelCount() != 1)
        return nullptr;
    const int row = lvFileList->ItemIndex();
    if (row >= 0 && row < static_cast<int>(Jobs.size()) && lvFileList->IsSelected(row))
        return Jobs[size_t(row)].get();
    const std::vector<int> rows = SelectedRows();
    return rows.size() == 1 ? Jobs[size_t(rows.front())].get() : nullptr;
}

void TMainForm::SelectOnly(int row)
{
    lvFileList->ClearSelection();
    if (row < 0 || row >= static_cast<int>(Jobs.size()))
        return;
    // An owner-data list hands out one item refilled for every row asked for, and selecting may repaint other rows
    // into it: the item is asked for again for the focus.
    lvFileList->Items()->Item(row)->SetSelected(true);
    lvFileList->Items()->Item(row)->SetFocused(true);
}

void TMainForm::DetachSelectItem()
{
    lvFileList->OnSelectItem = nullptr;
}

void TMainForm::AttachSelectItem()
{
    lvFileList->OnSelectItem = FSelectItemHandler;
}

// ---- The add road ----------------------------------------------------------------------------------------------

void TMainForm::AddAnalysedJobs(TJobList newJobs)
{
    TAddRoad road;
    road.Analyse = [this](TJobList& jobs) {
        std::unique_ptr<TAnalysisVideoInfoForm> analysis(TCustomForm::Create<TAnalysisVideoInfoForm>(this, &jobs));
        RunningAnalysis = analysis.get();
        analysis->ShowModal();
        RunningAnalysis = nullptr;
    };
    road.ChooseSettings = [this]() -> std::optional<TNewJobSettings> {
        // The program is closing: nothing more is asked, and the new jobs go.
        if (CloseRequested)
            return std::nullopt;
        return ChooseNewJobSettings(this);
    };
    const int first = ::AddAnalysedJobs(Jobs, std::move(newJobs), CurrentOutputFolder, road);
    if (first < 0)
        return;
    MyCursor hourglass(-11);
    if (lvFileList->CanFocus())
        lvFileList->SetFocus();
    RefreshJobList();
    SelectOnly(first);
}

void TMainForm::AddFiles(const std::vector<std::string>& paths)
{
    // The program is closing: the road is not begun.
    if (CloseRequested)
        return;
    TJobList newJobs;
    for (const std::string& path : paths)
        newJobs.push_back(std::make_unique<TConvertJob>(path));
    AddAnalysedJobs(std::move(newJobs));
    UpdateControlStates();
}

TMainForm::TAddScope::TAddScope(TMainForm& form)
    : Form(form)
{
    ++Form.AddDepth;
}

TMainForm::TAddScope::~TAddScope()
{
    // A close asked for while the add ran happens now that nothing of it is running.
    if (--Form.AddDepth == 0 && Form.CloseRequested) {
        Form.CloseRequested = false;
        Form.Close();
    }
}

std::vector<std::string> TMainForm::ChooseVideoFiles()
{
    OpenDialog->SetFilterIndex(1);
    if (!OpenDialog->Execute())
        return {};
    std::vector<std::string> paths;
    TStrings* files = OpenDialog->Files();
    for (int i = 0; i < files->Count(); ++i)
        paths.push_back(files->Strings(i));
    return paths;
}

void TMainForm::actAddFilesExecute(TObject*)
{
    const TAddScope adding(*this);
    StopPreview();
    const std::vector<std::string> paths = ChooseVideoFiles();
    if (paths.empty())
        return;
    AddFiles(paths);
    if (lvFileList->CanFocus())
        lvFileList->SetFocus();
}

void TMainForm::actAddFolderExecute(TObject*)
{
    const TAddScope adding(*this);
    StopPreview();
    std::vector<std::string> found;
    {
        std::unique_ptr<TAddFolderForm> dialog(TCustomForm::Create<TAddFolderForm>(this));
        dialog->ShowModal();
        if (!dialog->IsSearchStarted())
            return;
        found = dialog->GetFoundFiles();
    }
    if (found.empty() && !CloseRequested) {
        ShowMessageBox("Has not found Video Files!", std::string(ApplicationTitle), 64);
        return;
    }
    AddFiles(found);
}

void TMainForm::FileListWindowProc(TMessage& message)
{
    if (message.Msg == kDropFilesMessage)
        AddDroppedFiles(message);
    else
        SavedListWindowProc(message);
}

void TMainForm::AddDroppedFiles(TMessage& message)
{
    auto* drop = reinterpret_cast<HDROP>(message.WParam);
    // While a batch runs the list must not change under it.
    if (Converting) {
        DragFinish(drop);
        return;
    }
    const TAddScope adding(*this);
    TCustomForm* main = Application->MainForm();
    try {
        if (main)
            main->SetEnabled(false);
        Screen->SetCursor(crHourGlass);
        std::vector<std::string> paths;
        const UINT count = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            const UINT length = DragQueryFile(drop, i, nullptr, 0);
            std::string path(length + 2, '\0');
            path.resize(DragQueryFile(drop, i, path.data(), length + 1));
            paths.push_back(path);
        }
        DragFinish(drop);
        drop = nullptr;
        message.Result = 0;
        if (main)
            main->SetEnabled(true);
        AddFiles(paths);
    } catch (const std::exception& e) {
        // The drop is lost, but the window is usable again.
        std::fprintf(stderr, "Tarnwick Pro: the dropped files are not added: %s\n", e.what());
    }
    if (drop)
        DragFinish(drop);
    if (main)
        main->SetEnabled(true);
    Screen->SetCursor(crDefault);
    if (lvFileList->CanFocus())
        lvFileList->SetFocus();
}

void TMainForm::FormCloseQuery(TObject*, bool& canClose)
{
    // A batch ends first (its job stopped and queued again); the window closes once "Go" has returned, never
    // inside it, where the running job is still on the stack.
    if (Batch && !Batch->RequestClose()) {
        canClose = false;
        return;
    }
    // An add under way finishes first: its open dialog ends (its analysis after the file it probes), nothing more
    // is asked, and the window closes once the add has returned.
    if (AddDepth > 0) {
        canClose = false;
        CloseRequested = true;
        if (RunningAnalysis)
            RunningAnalysis->SetModalResult(mrCancel);
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (TCustomForm* form = Screen->Forms(i); form != this && form->FormState().Contains(fsModal))
                form->SetModalResult(mrCancel);
    }
}

// ---- The output folder -----------------------------------------------------------------------------------------

void TMainForm::edtOutputFolderChange(TObject*)
{
    // Typing re-targets every job but creates nothing: half-typed folders must not appear on the disk.
    CurrentOutputFolder = edtOutputFolder->Text();
    RetargetJobs(Jobs, CurrentOutputFolder);
    lvFileList->Repaint();
}

void TMainForm::actBrowseExecute(TObject*)
{
    StopPreview();
    std::string folder;
    if (!SelectDirectory("Select Directory", "", folder))
        return;
    folder = IncludeTrailingPathDelimiter(folder);
    edtOutputFolder->SetText(folder);
    CurrentOutputFolder = edtOutputFolder->Text();
    if (!ForceDirectories(CurrentOutputFolder))
        ShowMessageBox("The folder " + CurrentOutputFolder + " cannot be created.", std::string(ApplicationTitle), 64);
    MoveOutputFiles(Jobs, CurrentOutputFolder);
    lvFileList->Repaint();
}

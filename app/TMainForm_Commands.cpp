// TMainForm: which commands and controls are available, the face buttons and menus that reach the commands, and the
// commands on the job list (selection, settings, removing, clearing, moving, tags, profiles, decoder choice, help).
#include "app/TMainForm.h"

#include "app/AddJobs.h"
#include "app/DravelVCCommon.h"
#include "app/JobListView.h"
#include "app/TAboutForm.h"
#include "app/TAdvanceForm.h"
#include "app/TEditProfileForm.h"
#include "app/TOptionForm.h"
#include "app/TResourceSkinData.h"
#include "app/TTagEditForm.h"
#include "engine/TProfileManager.h"
#include "engine/TResourceForm.h"
#include "framed/FrLabel.h"
#include "framework/controls/ActnList.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"
#include "framework/dialogs/Dialogs.h"
#include "framed/FrPanel.h"
#include "platform/shell/ShellExecute.h"
#include "platform/win/WinStyles.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/SkinListViews.h"
#include "skin/lists/TspSkinComboBoxEx.h"
#include "skin/menus/TspSkinPopupMenu.h"

#include <map>

namespace {

// The face buttons a batch disables and an idle window enables before its own rules.
const std::initializer_list<const char*> kBatchButtons = { "Go", "DeleteFiles", "Up", "Down", "StartPoint",
    "EndPoint", "Jump", "Preview", "Add Files", "Add Folder", "Clear Jobs", "Browse", "EditProfile", "StopPreview",
    "PausePreview" };

std::string Title()
{
    return std::string(ApplicationTitle);
}

} // namespace

// ---- Control states ---------------------------------------------------------------------------------------------

void TMainForm::SetFaceButtons(std::initializer_list<const char*> names, bool enabled)
{
    for (const char* name : names)
        FormSkinner->SetEnabled(name, enabled);
}

void TMainForm::UpdateControlStates()
{
    const bool empty = Jobs.empty();
    FileListBackgroundPanel->SetVisible(empty);
    SetJobListColumnWidths(lvFileList, empty);
    if (Converting)
        SetBatchStates();
    else
        SetIdleStates();
    Repaint();
}

void TMainForm::SetBatchStates()
{
    for (int i = 0; i < ActionList->ActionCount(); ++i)
        if (auto* action = dynamic_cast<TAction*>(ActionList->Actions(i)))
            action->SetEnabled(action == actStop);
    SetFaceButtons(kBatchButtons, false);
    FormSkinner->SetEnabled("Stop", true);
    cbOutputProfile->SetEnabled(false);
    PreviewPanel->SetVisible(false);
    tbPreview->SetEnabled(false);
    imgStartTime->SetVisible(false);
    imgEndTime->SetVisible(false);
    UpdateTrimShape();
    lvFileList->OnDblClick = nullptr;
    DetachSelectItem();
    lvFileList->SetPopupMenu(nullptr);
}

void TMainForm::SetIdleStates()
{
    SetFaceButtons(kBatchButtons, true);
    for (int i = 0; i < ActionList->ActionCount(); ++i)
        if (auto* action = dynamic_cast<TAction*>(ActionList->Actions(i)))
            action->SetEnabled(true);
    const int selected = lvFileList->SelCount();
    const bool one = selected == 1;
    FormSkinner->SetEnabled("DeleteFiles", selected > 0);
    cbOutputProfile->SetEnabled(selected > 0);
    SetFaceButtons({ "Up", "Down", "Preview", "Jump" }, one);
    for (TAction* action : { actEditTitleInfo, actAdvance, actPreview, actDirectShowMode, actBuiltInDecoderMode })
        action->SetEnabled(one);
    mnuDecoderMode->SetEnabled(one);
    // The check mark is on the decoder that opened the selected job's source.
    const TConvertJob* job = one ? SelectedJob() : nullptr;
    actDirectShowMode->SetChecked(job && job->VideoInfo.GetDecoderKind() == 0);
    actBuiltInDecoderMode->SetChecked(job && job->VideoInfo.GetDecoderKind() != 0);
    FormSkinner->SetEnabled("Go", !Jobs.empty());
    actGo->SetEnabled(!Jobs.empty());
    FormSkinner->SetEnabled("Stop", false);
    actStop->SetEnabled(false);

    const bool decoder = HasPreviewDecoder();
    PreviewPanel->SetVisible(decoder);
    FormSkinner->SetEnabled("SaveBmp", decoder);
    tbPreview->SetEnabled(decoder);
    for (TAction* action : { actSetStartTime, actSetEndTime, actStopPreview, actPausePreview })
        action->SetEnabled(decoder);
    SetFaceButtons({ "StopPreview", "PausePreview" }, decoder);
    if (!decoder || PreviewDecoderState() == kDecoderStopped) {
        imgStartTime->SetVisible(false);
        imgEndTime->SetVisible(false);
        UpdateTrimShape();
    }
    lvFileList->OnDblClick = [this](TObject* sender) { lvFileListDblClick(sender); };
    AttachSelectItem();
    lvFileList->SetPopupMenu(FileListPopupMenu);
}

void TMainForm::ApplicationHint(TObject*)
{
    lblHintMessage->SetCaption(GetLongHint(Application->Hint()));
}

// ---- Face buttons, areas and the list's events ---------------------------------------------------------------

void TMainForm::FormSkinnerMouseUpEvent(const std::string& idName, int x, int y, const TRect&, TMouseButton button)
{
    if (button != mbLeft)
        return;
    if (idName == "Menu" || idName == "iPodMenu") {
        const TPoint at = ClientToScreen({ x, y });
        (idName == "Menu" ? HelpPopupMenu : iPodMenuPopupMenu)->Popup(at.X, at.Y);
        return;
    }
    static const std::map<std::string, TAction* TMainForm::*> commands = { { "Add Files", &TMainForm::actAddFiles },
        { "Add Folder", &TMainForm::actAddFolder }, { "Clear Jobs", &TMainForm::actClearTasks },
        { "Browse", &TMainForm::actBrowse }, { "Setting", &TMainForm::actSetting },
        { "EditProfile", &TMainForm::actEditProfile }, { "Preview", &TMainForm::actPreview },
        { "StopPreview", &TMainForm::actStopPreview }, { "PausePreview", &TMainForm::actPausePreview },
        { "StartPoint", &TMainForm::actSetStartTime }, { "EndPoint", &TMainForm::actSetEndTime },
        { "DeleteFiles", &TMainForm::actDelete }, { "Up", &TMainForm::actUp }, { "Down", &TMainForm::actDown },
        { "Jump", &TMainForm::actAdvance }, { "Go", &TMainForm::actGo }, { "Stop", &TMainForm::actStop },
        { "Option", &TMainForm::actOption } };
    // Through the action's own execution, so that a disabled command does nothing.
    if (auto found = commands.find(idName); found != commands.end())
        (this->*found->second)->Execute();
}

void TMainForm::FormSkinnerChangeSkinData(TObject*)
{
    FormSkinner->LinkControlToArea("OutputFolder", edtOutputFolder);
    FormSkinner->LinkControlToArea("PreviewArea", PreviewPanel);
    FormSkinner->LinkControlToArea("HintMessageArea", lblHintMessage);
    FormSkinner->LinkControlToArea("ConvertInfoArea", ConvertInfoPanel);
    // The two boxes sit over the progress panel's lower edge and stay reachable during a batch.
    chkPreviewMovie->BringToFront();
    chkAutoShutdown->BringToFront();
}

void TMainForm::lvFileListSelectItem(TObject*, TListItem*, bool selected)
{
    UpdateControlStates();
    imgStartTime->SetVisible(false);
    imgEndTime->SetVisible(false);
    UpdateTrimShape();
    const int count = lvFileList->SelCount();
    if (count == 0)
        return;
    cbOutputProfile->OnCloseUp = nullptr;
    if (count > 1) {
        cbOutputProfile->SetItemIndex(-1);
    } else if (TConvertJob* job = SelectedJob(); job && selected) {
        for (int i = 0; i < cbOutputProfile->ItemsEx()->Count(); ++i) {
            auto* profile = static_cast<TVideoProfile*>(cbOutputProfile->ItemsEx()->Items(i)->Data());
            if (profile && job->GetProfile() && profile->Equals(*job->GetProfile())) {
                cbOutputProfile->SetItemIndex(i);
                break;
            }
        }
        ShowTrimMarkers(job);
    }
    cbOutputProfile->OnCloseUp = [this](TObject* sender) { ApplyProfileToSelection(sender); };
    lvFileList->Repaint();
}

void TMainForm::lvFileListDblClick(TObject*)
{
    if (lvFileList->SelCount() == 1)
        actSetting->Execute();
}

// ---- Commands on the jobs --------------------------------------------------------------------------------------

void TMainForm::actSelectAllExecute(TObject*)
{
    lvFileList->SelectAll();
}

void TMainForm::actSettingExecute(TObject*)
{
    StopPreview();
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) {
        ShowMessageBox("Please select some tasks!", Title(), 64);
        return;
    }
    if (rows.size() == 1) {
        actAdvance->Execute();
    } else if (std::optional<TNewJobSettings> settings = ChooseNewJobSettings(this); settings && settings->Profile) {
        ApplyProfile(Jobs, rows, *settings->Profile);
        for (int row : rows) {
            Jobs[size_t(row)]->DisableAudio = settings->DisableAudio;
            Jobs[size_t(row)]->FixAspectRatio = settings->FixAspectRatio;
        }
    }
    RefreshJobList();
}

void TMainForm::actDeleteExecute(TObject*)
{
    const std::vector<int> rows = SelectedRows();
    if (rows.empty())
        return;
    // The previewed job must not go while its decoder still plays it.
    std::vector<bool> selected(Jobs.size(), false);
    for (int row : rows) {
        selected[size_t(row)] = true;
        if (Jobs[size_t(row)].get() == PreviewJob)
            StopPreview();
    }
    DetachSelectItem();
    const int next = RemoveSelectedJobs(Jobs, selected);
    RefreshJobList();
    SelectOnly(next);
    AttachSelectItem();
    UpdateControlStates();
}

void TMainForm::actClearTasksExecute(TObject*)
{
    if (ShowMessageBox("All tasks will clear, Are you sure?", "Clear Tasks", 68) != 6)
        return;
    StopPreview();
    ClearJobs();
    DetachSelectItem();
    RefreshJobList();
    AttachSelectItem();
    UpdateControlStates();
}

void TMainForm::MoveSelectedJob(int step)
{
    const std::vector<int> rows = SelectedRows();
    if (rows.size() != 1)
        return;
    DetachSelectItem();
    const int moved = MoveJob(Jobs, rows.front(), step);
    if (moved >= 0) {
        RefreshJobList();
        SelectOnly(moved);
    }
    AttachSelectItem();
}

void TMainForm::actUpExecute(TObject*)
{
    MoveSelectedJob(-1);
}

void TMainForm::actDownExecute(TObject*)
{
    MoveSelectedJob(+1);
}

void TMainForm::actEditTitleInfoExecute(TObject*)
{
    StopPreview();
    if (TConvertJob* job = SelectedJob()) {
        std::unique_ptr<TTagEditForm> editor(TCustomForm::Create<TTagEditForm>(this, job));
        editor->ShowModal();
    }
}

void TMainForm::actEditProfileExecute(TObject*)
{
    StopPreview();
    {
        std::unique_ptr<TEditProfileForm> editor(TCustomForm::Create<TEditProfileForm>(this));
        editor->ShowModal();
    }
    // The combo keeps the copies it made when it was filled.
    RefreshJobList();
}

void TMainForm::ReprobeSelectedJob(int kind)
{
    {
        MyCursor hourglass(-11);
        if (TConvertJob* job = SelectedJob(); job && !job->AnalyseWithMode(kind))
            ShowMessageBox("Set Decoding Mode Faild!", Title(), 64);
    }
    UpdateControlStates();
    lvFileList->Repaint();
}

void TMainForm::actDirectShowModeExecute(TObject*)
{
    ReprobeSelectedJob(0);
}

void TMainForm::actBuiltInDecoderModeExecute(TObject*)
{
    ReprobeSelectedJob(1);
}

void TMainForm::actAllProfileExecute(TObject*)
{
    const std::vector<std::string> paths = ChooseVideoFiles();
    if (paths.empty() || !ResourceForm || !ResourceForm->ProfileManager)
        return;
    TProfileManager& manager = *ResourceForm->ProfileManager;
    TJobList made;
    for (int32_t i = 0; i < manager.Count(); ++i) {
        auto job = std::make_unique<TConvertJob>(paths.front());
        job->Status = jsQueue;
        job->SetProfile(manager.Get(i)->Clone());
        job->DisableAudio = false;
        job->FixAspectRatio = true;
        made.push_back(std::move(job));
    }
    if (made.empty())
        return;
    // The file is probed once; every job takes that probe.
    made.front()->Analyse();
    const TVideoInfoReader probe = made.front()->VideoInfo;
    for (auto& job : made) {
        job->VideoInfo = probe;
        job->Analysed = true;
        job->OutputFile = BuildOutputPath(CurrentOutputFolder, *job);
        Jobs.push_back(std::move(job));
    }
    if (lvFileList->CanFocus())
        lvFileList->SetFocus();
    RefreshJobList();
    UpdateControlStates();
}

// ---- Other windows and the shell ---------------------------------------------------------------------------------

void TMainForm::actOptionExecute(TObject*)
{
    std::unique_ptr<TOptionForm> options(TCustomForm::Create<TOptionForm>(this));
    options->ShowModal();
}

void TMainForm::actAboutExecute(TObject*)
{
    std::unique_ptr<TAboutForm> about(TCustomForm::Create<TAboutForm>(this));
    about->ShowModal();
}

void TMainForm::actHelpExecute(TObject*)
{
    // The desktop's opener reports a missing file nowhere the user sees, so a missing help file is said here.
    const std::string path = GetHelpFilePath();
    if (!FileExists(path)) {
        ShowMessageBox("The help file " + path + " cannot be found.", Title(), 48);
        return;
    }
    ShellExecute(Application->Handle(), "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TMainForm::actWebExecute(TObject*)
{
    ShellExecute(Application->Handle(), "open", std::string(ProductWebSite).c_str(), nullptr, nullptr,
        SW_SHOWMAXIMIZED);
}

void TMainForm::actSupportExecute(TObject*)
{
    ShellExecute(Application->Handle(), "open", std::string(ProductSupportMail).c_str(), nullptr, nullptr,
        SW_SHOWMAXIMIZED);
}

void TMainForm::actAdvanceExecute(TObject*)
{
    TConvertJob* job = SelectedJob();
    if (!job)
        return;
    // The window works on the preview of the job it edits.
    if (!HasPreviewDecoder() || PreviewJob != job) {
        StopPreview();
        actPreviewExecute(nullptr);
    }
    // A source that cannot be previewed still gets its settings, without a decoder.
    TConvertJob* edited = PreviewJob ? PreviewJob : job;
    PreviewPanel->SetVisible(false);
    ShowAdvanceSettings(this, Player ? Player->Decoder() : nullptr, edited, &OpenAdvanceForm);
    OpenAdvanceForm = nullptr;
    PreviewPanel->SetVisible(true);
    ShowTrimMarkers(edited);
    actStopPreview->Execute();
    RefreshJobList();
    UpdateControlStates();
}

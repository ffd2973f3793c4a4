// The main window on the headless display: its face and areas, the control states, the commands on the job list,
// the face buttons and shortcuts, the profile combo, the add road (open dialog, drops, folder search) with the real
// analysis and output settings windows over clips the tests make, the output folder, and closing during an add.
#include "tests/app/MainWindowTestSupport.h"

#include "app/DravelVCCommon.h"
#include "framework/core/FileSystem.h"
#include "app/JobList.h"
#include "app/LastSettings.h"
#include "app/TAboutForm.h"
#include "app/TAdvanceForm.h"
#include "app/TAddFolderForm.h"
#include "app/TAnalysisVideoInfoForm.h"
#include "app/TOptionForm.h"
#include "app/TTagEditForm.h"
#include "app/TOutputSettingsForm.h"
#include "framed/FrLabel.h"
#include "framed/FrPanel.h"
#include "framework/controls/ActnList.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/dialogs/FileDialogProviders.h"
#include "framework/graphics/Colors.h"
#include "platform/controls/ListView.h"
#include "platform/shell/ShellExecute.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/dialogs/TspPNGImageList.h"
#include "skin/dialogs/TspShellTreeView.h"
#include "skin/forms/SkinObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/SkinListViews.h"
#include "skin/lists/TspSkinComboBox.h"
#include "skin/lists/TspSkinComboBoxEx.h"
#include "skin/menus/TspSkinPopupMenu.h"

#include <deque>

namespace {

namespace fs = std::filesystem;

// Answers the file dialogs with the next scripted answer: paths chosen, or a cancel when the answer is empty.
class TScriptedFileDialogs final : public TFileDialogProvider {
public:
    explicit TScriptedFileDialogs(std::deque<std::vector<std::string>>* answers)
        : FAnswers(answers)
    {
    }
    std::string Name() const override { return "scripted"; }
    bool OutOfProcess() const override { return false; }
    TFileChooserResult Run(const TFileChooserRequest& request) override
    {
        Requests.push_back(request);
        TFileChooserResult result;
        result.Status = TFileChooserStatus::Cancelled;
        if (!FAnswers->empty()) {
            result.Paths = FAnswers->front();
            FAnswers->pop_front();
            if (!result.Paths.empty())
                result.Status = TFileChooserStatus::Chosen;
        }
        return result;
    }
    static inline std::vector<TFileChooserRequest> Requests;

private:
    std::deque<std::vector<std::string>>* FAnswers;
};

class MainWindowCommandsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        TScriptedFileDialogs::Requests.clear();
        std::vector<std::unique_ptr<TFileDialogProvider>> providers;
        providers.push_back(std::make_unique<TScriptedFileDialogs>(&DialogAnswers));
        SetFileDialogProviders(std::move(providers));
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        ResetFileDialogProviders();
    }

    // Jobs on sources that need not exist, each with its own AVI profile and an output file in the videos folder.
    void PutJobs(int count)
    {
        for (int i = 0; i < count; ++i) {
            auto job = std::make_unique<TConvertJob>("/videos/clip" + std::to_string(i) + ".avi");
            job->SetProfile(std::make_unique<TAVIProfile>("AVI Small", ""));
            job->OutputFile = Videos() + "clip" + std::to_string(i) + ".avi";
            Window->Jobs.push_back(std::move(job));
        }
        Window->RefreshJobList();
        Window->UpdateControlStates();
        Pump();
    }

    void Select(std::initializer_list<int> rows)
    {
        Window->lvFileList->ClearSelection();
        for (int row : rows)
            Window->lvFileList->Items()->Item(row)->SetSelected(true);
        Pump();
    }

    std::vector<std::string> Sources() const
    {
        std::vector<std::string> sources;
        for (const auto& job : Window->Jobs)
            sources.push_back(job->VideoInfo.GetFileName());
        return sources;
    }

    // The row with the focus, which is painted as marked as the selected ones are.
    int FocusedRow() const
    {
        return int(Window->lvFileList->Perform(LVM_GETNEXTITEM, uintptr_t(-1), LVNI_FOCUSED));
    }

    bool FaceButtonEnabled(const char* name) const
    {
        return Window->FormSkinner->ObjectAt(Window->FormSkinner->GetIndex(name))->Enabled;
    }

    // A press of a key with modifiers on the job list.
    void PressOnList(uint16_t key, std::initializer_list<uint16_t> modifiers = {})
    {
        Window->lvFileList->SetFocus();
        for (uint16_t modifier : modifiers)
            Backend.KeyDown(modifier);
        Backend.Key(key);
        for (uint16_t modifier : modifiers)
            Backend.KeyUp(modifier);
        Pump();
    }

    // The windows of the add road answered: the analysis runs (and is closed when it stays open over an unreadable
    // file), the output settings window gets `settings` (a cancel when empty).
    struct TRoadAnswers {
        std::function<void(TOutputSettingsForm&)> Settings;
        std::function<void(TAnalysisVideoInfoForm&)> DuringAnalysis;
        int Analyses = 0;
        int SettingsShown = 0;
    };
    void RunRoad(TRoadAnswers& answers, const std::function<void()>& run)
    {
        TAnalysisVideoInfoForm* started = nullptr;
        Application->OnIdle = [&](TObject*, bool& done) {
            for (int i = 0; i < Screen->FormCount(); ++i) {
                TCustomForm* form = Screen->Forms(i);
                if (!form->Visible() || form->ModalResult() != mrNone)
                    continue;
                if (auto* analysis = dynamic_cast<TAnalysisVideoInfoForm*>(form)) {
                    done = false;
                    if (analysis != started) {
                        started = analysis;
                        ++answers.Analyses;
                        if (answers.DuringAnalysis)
                            answers.DuringAnalysis(*analysis);
                        Backend.AdvanceClock(10);
                        Pump();
                    } else {
                        analysis->btnCancel->ButtonClick();
                    }
                    return;
                }
                if (auto* settings = dynamic_cast<TOutputSettingsForm*>(form)) {
                    done = false;
                    ++answers.SettingsShown;
                    if (answers.Settings)
                        answers.Settings(*settings);
                    else
                        settings->SetModalResult(mrCancel);
                    return;
                }
            }
        };
        run();
        Application->OnIdle = nullptr;
    }

    static void ChooseMP4(TOutputSettingsForm& settings)
    {
        settings.rbMP4->SetChecked(true);
        settings.btnOkClick(nullptr);
    }

    std::deque<std::vector<std::string>> DialogAnswers;
};

// ---- The face ----------------------------------------------------------------------------------------------------

TEST_F(MainWindowTest, TheFaceHoldsItsControlsInTheSkinsAreas)
{
    Open();
    EXPECT_EQ(Window->Caption(), "Tarnwick Pro");
    EXPECT_EQ(Window->ClientWidth(), 785);
    EXPECT_EQ(Window->ClientHeight(), 521);
    struct Case {
        const char* Name;
        TControl* Control;
        TRect Place;
    };
    const Case cases[] = {
        { "list panel", Window->SkinPanelFileList, { 12, 96, 529, 404 } },
        { "output folder", Window->edtOutputFolder, { 110, 451, 436, 475 } },
        { "preview", Window->PreviewPanel, { 541, 96, 773, 270 } },
        { "track bar", Window->tbPreview, { 541, 276, 720, 298 } },
        { "progress panel", Window->ConvertInfoPanel, { 541, 342, 773, 446 } },
        { "profile combo", Window->cbOutputProfile, { 110, 417, 336, 441 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Control->BoundsRect(), c.Place);
    }
    // The markers sit under the track bar's two ends, below its window.
    EXPECT_EQ(Window->imgStartTime->Left(), 541);
    EXPECT_EQ(Window->imgEndTime->Left(), 541 + 179 - 9);
    EXPECT_EQ(Window->imgStartTime->Top(), 298 + 2);
    // The background panel covers the rows, under the list's header.
    EXPECT_EQ(Window->FileListBackgroundPanel->Parent(), Window->lvFileList);
    RECT header {};
    GetWindowRect(HWND(Window->lvFileList->Perform(LVM_GETHEADER, 0, 0)), &header);
    EXPECT_GT(header.bottom - header.top, 0);
    EXPECT_EQ(Window->FileListBackgroundPanel->Top(), header.bottom - header.top);
}

// A first start: the desktop's videos folder and the program's Logs folder are made, "Preview Movie" is ticked; at
// the end the folder and the box are remembered.
TEST_F(MainWindowTest, StartsInTheVideosFolderAndRemembersFolderAndPreviewBoxAtTheEnd)
{
    Open();
    EXPECT_EQ(Window->edtOutputFolder->Text(), Videos());
    EXPECT_EQ(CurrentOutputFolder, Videos());
    EXPECT_TRUE(fs::is_directory(Videos()));
    EXPECT_TRUE(fs::is_directory(Folder->File("Logs")));
    EXPECT_TRUE(Window->chkPreviewMovie->Checked());
    EXPECT_EQ(Window->lblHintMessage->Caption(), "");

    Window->edtOutputFolder->SetText(Videos() + "elsewhere/");
    Window->chkPreviewMovie->SetChecked(false);
    delete Window;
    Window = nullptr;
    const TLastSettings settings;
    EXPECT_EQ(settings.OutputFolder(), Videos() + "elsewhere/");
    EXPECT_FALSE(settings.PreviewMovie());
    Open();
    EXPECT_EQ(Window->edtOutputFolder->Text(), Videos() + "elsewhere/");
    EXPECT_TRUE(fs::is_directory(Videos() + "elsewhere/")) << "the remembered folder is made again";
    EXPECT_FALSE(Window->chkPreviewMovie->Checked());
}

// ---- Control states ----------------------------------------------------------------------------------------------

TEST_F(MainWindowCommandsTest, ControlStatesFollowTheJobsTheSelectionAndTheBatch)
{
    Open();
    struct Case {
        const char* Name;
        int Jobs;
        std::vector<int> Selected;
        bool Converting;
        bool Background;
        int OutputColumn;
        bool DeleteButton, OneRowButtons, Go, Stop, Combo, Popup;
    };
    const Case cases[] = {
        { "empty", 0, {}, false, true, 0, false, false, false, false, false, true },
        { "one selected", 3, { 1 }, false, false, 200, true, true, true, false, true, true },
        { "two selected", 3, { 0, 2 }, false, false, 200, true, false, true, false, true, true },
        { "none selected", 3, {}, false, false, 200, false, false, true, false, false, true },
        { "converting", 3, { 1 }, true, false, 200, false, false, false, true, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Window->Converting = false;
        Window->Jobs.clear();
        PutJobs(c.Jobs);
        Select({});
        for (int row : c.Selected)
            Window->lvFileList->Items()->Item(row)->SetSelected(true);
        Window->Converting = c.Converting;
        Window->UpdateControlStates();
        EXPECT_EQ(Window->FileListBackgroundPanel->Visible(), c.Background);
        EXPECT_EQ(Window->lvFileList->Columns()->Items(6)->Width(), c.OutputColumn);
        EXPECT_EQ(FaceButtonEnabled("DeleteFiles"), c.DeleteButton);
        for (const char* name : { "Up", "Down", "Preview", "Jump" })
            EXPECT_EQ(FaceButtonEnabled(name), c.OneRowButtons) << name;
        for (TAction* action : { Window->actEditTitleInfo, Window->actAdvance, Window->actPreview })
            EXPECT_EQ(action->Enabled(), c.OneRowButtons) << action->Caption();
        if (!c.Converting) {
            EXPECT_EQ(Window->mnuDecoderMode->Enabled(), c.OneRowButtons);
        }
        EXPECT_EQ(FaceButtonEnabled("Go"), c.Go);
        EXPECT_EQ(Window->actGo->Enabled(), c.Go);
        EXPECT_EQ(FaceButtonEnabled("Stop"), c.Stop);
        EXPECT_EQ(Window->actStop->Enabled(), c.Stop);
        EXPECT_EQ(Window->cbOutputProfile->Enabled(), c.Combo);
        EXPECT_EQ(Window->lvFileList->PopupMenu() != nullptr, c.Popup);
        EXPECT_EQ(bool(Window->lvFileList->OnSelectItem), c.Popup);
        EXPECT_EQ(bool(Window->lvFileList->OnDblClick), c.Popup);
        // Without a preview its commands and buttons are off, and so is the track bar.
        EXPECT_FALSE(Window->tbPreview->Enabled());
        EXPECT_FALSE(Window->PreviewPanel->Visible());
        EXPECT_FALSE(FaceButtonEnabled("StopPreview"));
        EXPECT_FALSE(Window->actSetStartTime->Enabled());
        if (c.Converting) {
            // Only Stop is left.
            for (int i = 0; i < Window->ActionList->ActionCount(); ++i) {
                auto* action = static_cast<TAction*>(Window->ActionList->Actions(i));
                EXPECT_EQ(action->Enabled(), action == Window->actStop) << action->Caption();
            }
            for (const char* name : { "Add Files", "Add Folder", "Clear Jobs", "Browse", "EditProfile" })
                EXPECT_FALSE(FaceButtonEnabled(name)) << name;
            EXPECT_TRUE(FaceButtonEnabled("Option")) << "the options button keeps its state; its action is off";
        }
    }
    Window->Converting = false;
}

// During a batch the keys and buttons of every command but Stop do nothing.
TEST_F(MainWindowCommandsTest, DuringABatchKeysAndButtonsLeaveTheJobsAlone)
{
    Open();
    PutJobs(3);
    Select({ 1 });
    Window->Converting = true;
    Window->UpdateControlStates();
    PressOnList(VK_DELETE);
    PressOnList('A', { VK_MENU });
    PressOnList(VK_DELETE, { VK_CONTROL });
    Click(400, 68); // "Clear Jobs"
    Click(300, 68); // "DeleteFiles"
    EXPECT_EQ(Window->Jobs.size(), 3u);
    EXPECT_TRUE(Questions.empty());
    EXPECT_TRUE(TScriptedFileDialogs::Requests.empty());
    Window->Converting = false;
}

// ---- Commands on the list ----------------------------------------------------------------------------------------

TEST_F(MainWindowCommandsTest, RemovingMovingAndClearing)
{
    Open();
    PutJobs(5);
    // Removing the last two of five selects the new last row.
    Select({ 3, 4 });
    PressOnList(VK_DELETE);
    EXPECT_EQ(Sources(), (std::vector<std::string> { "/videos/clip0.avi", "/videos/clip1.avi", "/videos/clip2.avi" }));
    EXPECT_EQ(Window->SelectedRows(), std::vector<int> { 2 });
    EXPECT_EQ(FocusedRow(), 2);
    EXPECT_EQ(Window->lvFileList->Items()->Count(), 3);

    // Up at the top does nothing; Ctrl+Down moves the job and its selection.
    Select({ 0 });
    PressOnList(VK_UP, { VK_CONTROL });
    EXPECT_EQ(Sources().front(), "/videos/clip0.avi");
    PressOnList(VK_DOWN, { VK_CONTROL });
    EXPECT_EQ(Sources()[1], "/videos/clip0.avi");
    EXPECT_EQ(Window->SelectedRows(), std::vector<int> { 1 });
    EXPECT_EQ(FocusedRow(), 1);
    // Moving needs exactly one row.
    Select({ 0, 1 });
    Click(480, 68); // "Up"
    EXPECT_EQ(Sources()[1], "/videos/clip0.avi");

    // "Clear Tasks" asks; No keeps every job, Yes clears the list.
    Answers = { IDNO };
    PressOnList(VK_DELETE, { VK_CONTROL });
    ASSERT_EQ(Questions.size(), 1u);
    EXPECT_EQ(Questions.back(), "All tasks will clear, Are you sure?");
    EXPECT_EQ(QuestionFlags.back(), 68);
    EXPECT_EQ(Window->Jobs.size(), 3u);
    Answers = { IDYES };
    Click(400, 68); // the "Clear Jobs" button
    EXPECT_TRUE(Window->Jobs.empty());
    EXPECT_EQ(Window->lvFileList->Items()->Count(), 0);
    EXPECT_TRUE(Window->FileListBackgroundPanel->Visible());
    EXPECT_FALSE(FaceButtonEnabled("Go"));
}

TEST_F(MainWindowCommandsTest, SelectAllAndSettingsWithoutASelection)
{
    Open();
    PutJobs(4);
    PressOnList('A', { VK_CONTROL });
    EXPECT_EQ(Window->SelectedRows(), (std::vector<int> { 0, 1, 2, 3 }));
    Select({});
    PressOnList('S', { VK_CONTROL });
    EXPECT_EQ(Questions, std::vector<std::string> { "Please select some tasks!" });
    EXPECT_EQ(QuestionFlags.back(), 64);
}

// Settings of several jobs: the output settings window's profile and boxes go to each selected job, which is queued
// again with the new extension; a cancel changes nothing.
TEST_F(MainWindowCommandsTest, SettingsOfSeveralJobsRequeueThemWithTheChosenProfile)
{
    Open();
    PutJobs(3);
    Window->Jobs[0]->Status = jsCompleted;
    Window->Jobs[2]->Status = jsFailed;
    Select({ 0, 2 });
    TRoadAnswers cancel;
    RunRoad(cancel, [&] { PressOnList('S', { VK_CONTROL }); });

    EXPECT_EQ(cancel.SettingsShown, 1);
    EXPECT_EQ(Window->Jobs[0]->Status, jsCompleted);

    TRoadAnswers answers;
    answers.Settings = [](TOutputSettingsForm& settings) {
        settings.rbFLV->SetChecked(true);
        settings.chkDisableAudio->SetChecked(true);
        settings.btnOkClick(nullptr);
    };
    RunRoad(answers, [&] { Click(390, 429); }); // the "Setting" button
    EXPECT_EQ(answers.SettingsShown, 1);
    for (int row : { 0, 2 }) {
        SCOPED_TRACE(row);
        const TConvertJob& job = *Window->Jobs[size_t(row)];
        EXPECT_EQ(job.Status, jsQueue);
        EXPECT_EQ(job.GetProfile()->FormatType, vfFLV);
        EXPECT_TRUE(job.DisableAudio);
        EXPECT_EQ(job.OutputFile, Videos() + "clip" + std::to_string(row) + ".flv");
    }
    EXPECT_EQ(Window->Jobs[1]->GetProfile()->FormatType, vfAVI);
    EXPECT_FALSE(Window->Jobs[1]->DisableAudio);
}

// "Accurate Settings" previews the selected job under the advanced settings window, which takes the preview's
// frames while it is open; the preview stops when it closes.
TEST_F(MainWindowCommandsTest, AccurateSettingsOpensTheAdvancedWindowOverThePreviewOfTheJob)
{
    Open();
    DialogAnswers = { { Clip("one.avi", 2, 5) } };
    TRoadAnswers answers;
    answers.Settings = ChooseMP4;
    RunRoad(answers, [&] { PressOnList('A', { VK_MENU }); });
    ASSERT_EQ(Window->Jobs.size(), 1u);
    Select({ 0 });
    TConvertJob* job = Window->Jobs[0].get();
    int shown = Answering<TAdvanceForm>(
        [&](TAdvanceForm& advanced) {
            EXPECT_EQ(Window->OpenAdvanceForm, &advanced);
            EXPECT_EQ(Window->PreviewJob, job);
            EXPECT_TRUE(Window->HasPreviewDecoder());
            EXPECT_EQ(job->Status, jsPreviewing);
            EXPECT_FALSE(Window->PreviewPanel->Visible());
            advanced.SetModalResult(mrCancel);
        },
        [&] { Click(600, 68); }); // "Jump"
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(Window->OpenAdvanceForm, nullptr);
    EXPECT_FALSE(Window->HasPreviewDecoder());
    EXPECT_EQ(Window->PreviewJob, nullptr);
    EXPECT_EQ(job->Status, jsQueue);
    EXPECT_FALSE(Window->PreviewPanel->Visible());
    // Double clicking the one selected row opens it the same way (through the settings command).
    shown = Answering<TAdvanceForm>([&](TAdvanceForm& advanced) { advanced.SetModalResult(mrCancel); },
        [&] { Window->lvFileList->OnDblClick(Window->lvFileList); });
    EXPECT_EQ(shown, 1);
}

TEST_F(MainWindowCommandsTest, RemovingThePausedPreviewedJobStopsThePreviewFirst)
{
    Open();
    DialogAnswers = { { Clip("one.avi", 2, 5), Clip("two.avi", 2, 5) } };
    TRoadAnswers answers;
    answers.Settings = ChooseMP4;
    RunRoad(answers, [&] { PressOnList('A', { VK_MENU }); });
    ASSERT_EQ(Window->Jobs.size(), 2u);
    Select({ 1 });
    PressOnList(VK_F5);
    ASSERT_TRUE(Window->HasPreviewDecoder());
    ASSERT_EQ(Window->PreviewJob, Window->Jobs[1].get());
    Window->PausePreview();
    Select({ 0, 1 });
    PressOnList(VK_DELETE);
    EXPECT_TRUE(Window->Jobs.empty());
    EXPECT_FALSE(Window->HasPreviewDecoder());
    EXPECT_EQ(Window->PreviewJob, nullptr);
    EXPECT_FALSE(Window->PreviewPanel->Visible());
}

// The hidden command: one job per loaded profile on one file, probed once, with no analysis or settings window.
TEST_F(MainWindowCommandsTest, TheAllProfilesCommandMakesAJobPerProfile)
{
    Open();
    const std::string clip = Clip("one.avi", 3);
    DialogAnswers = { { clip } };
    TRoadAnswers answers;
    // Its Ctrl+Alt+A comes as Ctrl+A ("Select All") while Ctrl is held: the key message then carries no Alt.
    RunRoad(answers, [&] { Window->actAllProfile->Execute(); });
    EXPECT_EQ(answers.Analyses, 0);
    EXPECT_EQ(answers.SettingsShown, 0);
    ASSERT_EQ(Window->Jobs.size(), size_t(Manager().Count()));
    for (int i = 0; i < Manager().Count(); ++i) {
        const TConvertJob& job = *Window->Jobs[size_t(i)];
        SCOPED_TRACE(job.GetProfile()->ProfileName);
        EXPECT_EQ(job.GetProfile()->ProfileName, Manager().Get(i)->ProfileName);
        EXPECT_TRUE(job.Analysed);
        EXPECT_EQ(WholeSeconds(job.VideoInfo.GetDuration()), 3u);
        EXPECT_TRUE(job.FixAspectRatio);
        EXPECT_EQ(job.OutputFile, Videos() + "one" + job.GetProfile()->Extension);
    }
}

// ---- The profile combo -------------------------------------------------------------------------------------------

TEST_F(MainWindowCommandsTest, TheProfileComboListsTheFormatsInItsOrderAndGivesAProfileToTheSelection)
{
    Open();
    struct Item {
        const char* Caption;
        int Image;
    };
    const Item expected[] = { { "AVI Large", 1 }, { "AVI Small", 1 }, { "MPEG Disc", 5 }, { "WMV Web", 7 },
        { "Real Stream", 6 }, { "MP4 Phone", 4 }, { "MOV Edit", 3 }, { "3GP Mobile", 0 }, { "FLV Web", 2 } };
    ASSERT_EQ(Window->cbOutputProfile->ItemsEx()->Count(), int(std::size(expected)));
    for (int i = 0; i < int(std::size(expected)); ++i) {
        TspComboExItem* item = Window->cbOutputProfile->ItemsEx()->Items(i);
        EXPECT_EQ(item->Caption(), expected[i].Caption);
        EXPECT_EQ(item->ImageIndex(), expected[i].Image) << expected[i].Caption;
        ASSERT_NE(item->Data(), nullptr);
        EXPECT_EQ(static_cast<TVideoProfile*>(item->Data())->ProfileName, expected[i].Caption);
    }
    EXPECT_EQ(Window->cbOutputProfile->ItemIndex(), 0);
    EXPECT_EQ(Window->IconImageList->Count(), 8);

    PutJobs(3);
    // One row shows its profile; two rows show none.
    Select({ 1 });
    EXPECT_EQ(Window->cbOutputProfile->ItemIndex(), 1);
    Select({ 0, 2 });
    EXPECT_EQ(Window->cbOutputProfile->ItemIndex(), -1);
    // Choosing "MP4 Phone" re-queues both with their own copy.
    Window->Jobs[0]->Status = jsCompleted;
    Window->cbOutputProfile->SetItemIndex(5);
    Window->cbOutputProfile->OnCloseUp(Window->cbOutputProfile);
    for (int row : { 0, 2 }) {
        const TConvertJob& job = *Window->Jobs[size_t(row)];
        EXPECT_EQ(job.Status, jsQueue);
        EXPECT_EQ(job.GetProfile()->ProfileName, "MP4 Phone");
        EXPECT_NE(job.GetProfile(), Window->cbOutputProfile->ItemsEx()->Items(5)->Data());
        EXPECT_EQ(fs::path(job.OutputFile).extension(), ".mp4");
    }
    EXPECT_EQ(Window->Jobs[1]->GetProfile()->ProfileName, "AVI Small");
}

// ---- The add road ------------------------------------------------------------------------------------------------

TEST_F(MainWindowCommandsTest, AddVideoFilesDropsUnreadableFilesAndQueuesTheRestWithTheChosenProfile)
{
    Open();
    const std::string first = Clip("first.avi", 3);
    const std::string second = Clip("clip.part1.mp4", 2);
    const std::string bad = Folder->File("bad.avi");
    std::ofstream(bad) << "no video in here";
    DialogAnswers = { { first, bad, second } };
    TRoadAnswers answers;
    answers.Settings = ChooseMP4;
    RunRoad(answers, [&] { PressOnList('A', { VK_MENU }); });

    ASSERT_EQ(TScriptedFileDialogs::Requests.size(), 1u);
    const TFileChooserRequest& request = TScriptedFileDialogs::Requests.front();
    EXPECT_EQ(request.Title, "Add Video Files");
    EXPECT_TRUE(request.Multiple);
    ASSERT_EQ(request.Filters.size(), 13u);
    EXPECT_EQ(request.Filters.front().Name, "All Supported Video Files");
    EXPECT_EQ(request.FilterIndex, 0);
    EXPECT_EQ(answers.Analyses, 1);
    EXPECT_EQ(answers.SettingsShown, 1);
    ASSERT_EQ(Sources(), (std::vector<std::string> { first, second }));
    for (const auto& job : Window->Jobs) {
        EXPECT_EQ(job->Status, jsQueue);
        EXPECT_TRUE(job->Analysed);
        EXPECT_EQ(job->GetProfile()->FormatType, vfMP4);
    }
    EXPECT_EQ(Window->Jobs[0]->OutputFile, Videos() + "first.mp4");
    EXPECT_EQ(Window->Jobs[1]->OutputFile, Videos() + "clip.part1.mp4");
    EXPECT_EQ(Window->SelectedRows(), std::vector<int> { 0 });
    EXPECT_EQ(FocusedRow(), 0) << "the focus goes with the selection";
    EXPECT_FALSE(Window->FileListBackgroundPanel->Visible());
    EXPECT_TRUE(FaceButtonEnabled("Go"));
    EXPECT_EQ(Window->lvFileList->Items()->Item(0)->SubItems()->Strings(1), "00:00:03 ");

    // A second add keeps the first jobs and selects the first new one.
    DialogAnswers = { { second } };
    RunRoad(answers, [&] { Click(70, 68); }); // the "Add Files" button
    EXPECT_EQ(Window->Jobs.size(), 3u);
    EXPECT_EQ(Window->SelectedRows(), std::vector<int> { 2 });
}

TEST_F(MainWindowCommandsTest, AnAddEndsWithoutChangeWhenCancelledOrWhenNothingIsReadable)
{
    Open();
    PutJobs(1);
    const std::string clip = Clip("one.avi");
    const std::string bad = Folder->File("bad.avi");
    std::ofstream(bad) << "no video in here";
    struct Case {
        const char* Name;
        std::vector<std::string> Chosen;
        bool Settings;
        std::vector<std::string> Said;
    };
    const Case cases[] = {
        { "open dialog cancelled", {}, false, {} },
        { "settings cancelled", { clip }, true, {} },
        { "nothing readable", { bad }, false,
            { "These file formats are not supported. There is no video file to be added." } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Questions.clear();
        DialogAnswers = { c.Chosen };
        TRoadAnswers answers; // Settings cancelled.
        // F2 is the list menu's own key for "Add Video Files".
        RunRoad(answers, [&] { PressOnList(VK_F2); });
        EXPECT_EQ(answers.SettingsShown, c.Settings ? 1 : 0);
        EXPECT_EQ(Questions, c.Said);
        EXPECT_EQ(Sources(), std::vector<std::string> { "/videos/clip0.avi" });
    }
}

TEST_F(MainWindowCommandsTest, FilesDroppedOnTheListJoinItButNotDuringABatch)
{
    Open();
    const std::string one = Clip("one.avi");
    const std::string two = Clip("two.mp4");
    const TPoint onList = Window->lvFileList->ClientToScreen({ 100, 100 });
    TRoadAnswers answers;
    answers.Settings = ChooseMP4;
    RunRoad(answers, [&] {
        Backend.DropFiles(onList.X, onList.Y, { one, two });
        Pump();
    });
    EXPECT_EQ(answers.Analyses, 1);
    EXPECT_EQ(Sources(), (std::vector<std::string> { one, two }));
    EXPECT_TRUE(Window->Enabled());
    EXPECT_EQ(Screen->Cursor(), crDefault);

    Window->Converting = true;
    Window->UpdateControlStates();
    RunRoad(answers, [&] {
        Backend.DropFiles(onList.X, onList.Y, { one });
        Pump();
    });
    EXPECT_EQ(answers.Analyses, 1) << "a drop during a batch is ignored";
    EXPECT_EQ(Window->Jobs.size(), 2u);
    Window->Converting = false;
}

TEST_F(MainWindowCommandsTest, AddFolderAddsWhatTheSearchFoundOrSaysItFoundNothing)
{
    Open();
    const std::string folder = Home.Home() + "/clips";
    fs::create_directories(folder + "/empty");
    Clip("x.avi");
    fs::rename(Folder->File("x.avi"), folder + "/x.avi");
    struct Case {
        const char* Name;
        std::string Folder;
        size_t Jobs;
        std::vector<std::string> Said;
    };
    const Case cases[] = {
        { "a clip", folder, 1, {} },
        { "nothing found", folder + "/empty", 1, { "Has not found Video Files!" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Questions.clear();
        TRoadAnswers answers;
        answers.Settings = ChooseMP4;
        bool searched = false;
        Application->OnIdle = nullptr;
        auto search = [&] {
            for (int i = 0; i < Screen->FormCount(); ++i)
                if (auto* dialog = dynamic_cast<TAddFolderForm*>(Screen->Forms(i));
                    dialog && dialog->Visible() && !searched) {
                    searched = true;
                    dialog->DirTreeView->SetPath(c.Folder);
                    Pump();
                    dialog->btnAddFolder->ButtonClick();
                    while (dialog->ModalResult() == mrNone)
                        CheckSynchronize(1000);
                }
        };
        RunRoad(answers, [&] {
            // The add-folder dialog first, answered from the idle loop too.
            auto road = Application->OnIdle;
            Application->OnIdle = [&, road](TObject* sender, bool& done) {
                search();
                road(sender, done);
            };
            PressOnList('F', { VK_CONTROL });
        });
        EXPECT_TRUE(searched);
        EXPECT_EQ(Questions, c.Said);
        EXPECT_EQ(Window->Jobs.size(), c.Jobs);
    }
    EXPECT_EQ(Window->Jobs.front()->OutputFile, Videos() + "x.mp4");
}

// Closing the window while an add analyses its files ends the analysis, asks nothing more, adds nothing and
// closes the window once the add has returned.
TEST_F(MainWindowCommandsTest, ClosingDuringAnAnalysisEndsItFirst)
{
    Open();
    std::vector<std::string> clips;
    for (const char* name : { "a.avi", "b.avi", "c.avi" })
        clips.push_back(Clip(name));
    DialogAnswers = { clips };
    TRoadAnswers answers;
    answers.Settings = ChooseMP4;
    answers.DuringAnalysis = [&](TAnalysisVideoInfoForm&) { PostMessage(Window->Handle(), WM_CLOSE, 0, 0); };
    RunRoad(answers, [&] { PressOnList('A', { VK_MENU }); });
    Pump();
    EXPECT_EQ(answers.Analyses, 1);
    EXPECT_EQ(answers.SettingsShown, 0);
    EXPECT_TRUE(Window->Jobs.empty());
    EXPECT_FALSE(Window->Visible()) << "the close asked for meanwhile happens after the add";

    // The same while the add-folder dialog waits for a folder: the dialog ends and nothing is said or added.
    Window->Show();
    Pump();
    int dialogs = Answering<TAddFolderForm>(
        [&](TAddFolderForm&) {
            PostMessage(Window->Handle(), WM_CLOSE, 0, 0);
            Pump();
        },
        [&] { PressOnList('F', { VK_CONTROL }); });
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(Questions.empty());
    EXPECT_TRUE(Window->Jobs.empty());
    EXPECT_FALSE(Window->Visible());
}

// ---- The output folder ---------------------------------------------------------------------------------------

TEST_F(MainWindowCommandsTest, TypingTheOutputFolderRetargetsEveryJobAndBrowsingMakesTheFolder)
{
    Open();
    PutJobs(2);
    // A path set for one job alone is replaced by typing as by browsing.
    Window->Jobs[1]->OutputFile = "/elsewhere/own name.avi";
    Window->edtOutputFolder->SetText("");
    const std::string typed = Home.Root() + "/typed/";
    for (char c : typed)
        Window->edtOutputFolder->SetText(Window->edtOutputFolder->Text() + c);
    EXPECT_EQ(CurrentOutputFolder, typed);
    EXPECT_EQ(Window->Jobs[0]->OutputFile, typed + "clip0.avi");
    EXPECT_EQ(Window->Jobs[1]->OutputFile, typed + "clip1.avi");
    EXPECT_FALSE(fs::exists(Home.Root() + "/typed")) << "typing makes no folder";

    Window->Jobs[1]->OutputFile = "/elsewhere/own name.avi";
    const std::string browsed = Home.Root() + "/browsed/deeper";
    DialogAnswers = { { browsed } };
    PressOnList('B', { VK_CONTROL });
    ASSERT_EQ(TScriptedFileDialogs::Requests.size(), 1u);
    EXPECT_EQ(TScriptedFileDialogs::Requests.front().Title, "Select Directory");
    EXPECT_EQ(Window->edtOutputFolder->Text(), browsed + "/");
    EXPECT_EQ(CurrentOutputFolder, browsed + "/");
    EXPECT_TRUE(fs::is_directory(browsed));
    // Browsing re-targets every job too, a job's own path included.
    EXPECT_EQ(Window->Jobs[1]->OutputFile, browsed + "/clip1.avi");

    // A cancelled browser changes nothing.
    DialogAnswers = { {} };
    Click(484, 462); // the "Browse" button
    EXPECT_EQ(CurrentOutputFolder, browsed + "/");
}

// ---- Decoder choice, hint line, and a long list --------------------------------------------------------------

TEST_F(MainWindowCommandsTest, TheDecoderChoiceReprobesTheJobAndMovesTheCheckMark)
{
    Open();
    const std::string clip = Clip("one.avi");
    DialogAnswers = { { clip } };
    TRoadAnswers answers;
    answers.Settings = ChooseMP4;
    RunRoad(answers, [&] { PressOnList('A', { VK_MENU }); });
    ASSERT_EQ(Window->Jobs.size(), 1u);
    Select({ 0 });
    struct Case {
        TAction* Action;
        int Kind;
    };
    for (const Case& c : { Case { Window->actDirectShowMode, 0 }, Case { Window->actBuiltInDecoderMode, 1 } }) {
        SCOPED_TRACE(c.Kind);
        c.Action->Execute();
        EXPECT_EQ(Window->Jobs[0]->VideoInfo.GetDecoderKind(), c.Kind);
        EXPECT_EQ(Window->actDirectShowMode->Checked(), c.Kind == 0);
        EXPECT_EQ(Window->actBuiltInDecoderMode->Checked(), c.Kind == 1);
    }
    EXPECT_TRUE(Questions.empty());

    // A source gone meanwhile cannot be probed again.
    fs::remove(clip);
    Window->actDirectShowMode->Execute();
    EXPECT_EQ(Questions, std::vector<std::string> { "Set Decoding Mode Faild!" });
}

// The two menu buttons open their menus at the pointer; the help menu's web and support commands go to the shell.
TEST_F(MainWindowCommandsTest, TheMenuButtonsOpenTheirMenusAndTheWebCommandsGoToTheShell)
{
    Open();
    std::vector<std::string> opened;
    Window->HelpPopupMenu->OnPopup = [&](TObject*) { opened.push_back("help"); };
    Window->iPodMenuPopupMenu->OnPopup = [&](TObject*) { opened.push_back("clip"); };
    Window->FileListPopupMenu->OnPopup = [&](TObject*) { opened.push_back("list"); };
    Click(669, 20); // "Menu"
    Backend.Key(VK_ESCAPE);
    Pump();
    Click(720, 68); // "iPodMenu"
    Backend.Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(opened, (std::vector<std::string> { "help", "clip" }));
    EXPECT_EQ(Window->HelpPopupMenu->Items()->Items(2)->Caption(), "Tarnwick Pro On The Web");
    EXPECT_EQ(Window->HelpPopupMenu->Items()->Items(5)->Caption(), "About Tarnwick Pro");

    TShellCommandRecorder shell;
    Window->actWeb->Execute();
    Window->actSupport->Execute();
    const std::vector<TShellCommand> commands = shell.Commands();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].Argv.back(), std::string(ProductWebSite));
    EXPECT_EQ(commands[1].Argv.back(), std::string(ProductSupportMail));

    // No help file is installed beside the program here: F1 says so instead of opening nothing.
    ASSERT_FALSE(FileExists(GetHelpFilePath()));
    Window->actHelp->Execute();
    EXPECT_EQ(shell.Commands().size(), 2u);
    ASSERT_FALSE(Questions.empty());
    EXPECT_EQ(Questions.back(), "The help file " + GetHelpFilePath() + " cannot be found.");
    EXPECT_EQ(QuestionFlags.back(), 48);
}

// The tag editor, the profile editor, the options window and the about box open modally from their command and are
// gone once closed.
TEST_F(MainWindowCommandsTest, EachWindowCommandShowsItsWindowOnceAndDeletesIt)
{
    Open();
    PutJobs(2);
    Select({ 1 });
    auto count = [](auto* type) {
        int n = 0;
        for (int i = 0; i < Screen->FormCount(); ++i)
            n += dynamic_cast<decltype(type)>(Screen->Forms(i)) != nullptr;
        return n;
    };
    auto cancel = [](TForm& window) { window.SetModalResult(mrCancel); };
    EXPECT_EQ(Answering<TTagEditForm>(cancel, [&] { PressOnList('T', { VK_CONTROL }); }), 1);
    EXPECT_EQ(count(static_cast<TTagEditForm*>(nullptr)), 0);
    EXPECT_EQ(Answering<TEditProfileForm>(cancel, [&] { Click(484, 429); }), 1); // "EditProfile"
    EXPECT_EQ(count(static_cast<TEditProfileForm*>(nullptr)), 0);
    EXPECT_EQ(Answering<TOptionForm>(cancel, [&] { Click(625, 20); }), 1); // "Option"
    EXPECT_EQ(count(static_cast<TOptionForm*>(nullptr)), 0);
    EXPECT_EQ(Answering<TAboutForm>(cancel, [&] { Window->actAbout->Execute(); }), 1);
    EXPECT_EQ(count(static_cast<TAboutForm*>(nullptr)), 0);
    // The tag editor needs exactly one row.
    Select({ 0, 1 });
    EXPECT_EQ(Answering<TTagEditForm>(cancel, [&] { PressOnList('T', { VK_CONTROL }); }), 0);
}

TEST_F(MainWindowCommandsTest, TheHintLineShowsTheLongHint)
{
    Open();
    Application->SetHint("Short|The long part of the hint");
    EXPECT_EQ(Window->lblHintMessage->Caption(), "The long part of the hint");
}

TEST_F(MainWindowCommandsTest, TenThousandJobsAskOnlyForTheRowsShown)
{
    Open();
    int filled = 0;
    Window->lvFileList->OnData = [&](TObject* sender, TListItem* item) {
        ++filled;
        Window->lvFileListData(sender, item);
    };
    PutJobs(10000);
    Window->RefreshJobList();
    Pump();
    // A few paints of the rows shown, never a pass over the jobs.
    const int bound = 10 * (Window->lvFileList->VisibleRowCount() + 1);
    EXPECT_GT(filled, 0);
    EXPECT_LE(filled, bound);
    // Selecting every row costs no row filling either.
    filled = 0;
    PressOnList('A', { VK_CONTROL });
    EXPECT_EQ(Window->SelectedRows().size(), 10000u);
    EXPECT_LE(filled, bound);
}

} // namespace

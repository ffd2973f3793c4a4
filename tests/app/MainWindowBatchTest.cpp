// The main window's preview and batch through its commands: a batch of real conversions with its progress panel,
// hint line and frame preview, "Go" ending a preview first, the stop prompt answered both ways, and a close asked
// for during the batch.
#include "tests/app/MainWindowTestSupport.h"

#include "app/TStopPromptForm.h"
#include "engine/FormatProfiles.h"
#include "framed/FrLabel.h"
#include "framed/FrPanel.h"
#include "framework/controls/ActnList.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"
#include "platform/shell/ShellExecute.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/lists/SkinListViews.h"

namespace {

class MainWindowBatchTest : public MainWindowTest {
protected:
    // Queued, probed jobs on clips of `seconds` at 5 frames a second, converted to AVI in the videos folder.
    void QueueJobs(int count, double seconds = 1.0)
    {
        for (int i = 0; i < count; ++i) {
            auto job = std::make_unique<TConvertJob>(Clip("clip" + std::to_string(i) + ".avi", seconds, 5));
            job->Analysed = job->Analyse();
            job->SetProfile(std::make_unique<TAVIProfile>("AVI Small", ""));
            job->OutputFile = BuildOutputPath(Videos(), *job);
            Window->Jobs.push_back(std::move(job));
        }
        Window->RefreshJobList();
        Window->UpdateControlStates();
    }
    void SelectRow(int row)
    {
        Window->lvFileList->Items()->Item(row)->SetSelected(true);
        Pump();
    }
};

TEST_F(MainWindowBatchTest, GoConvertsTheQueueShowsProgressAndAFrameAndOpensTheFolder)
{
    Open();
    QueueJobs(2);
    Window->chkPreviewMovie->SetChecked(true);
    TShellCommandRecorder shell;
    Window->actGo->Execute();
    for (const auto& job : Window->Jobs) {
        EXPECT_EQ(job->Status, jsCompleted) << job->GetNote();
        EXPECT_TRUE(std::filesystem::exists(job->OutputFile)) << job->OutputFile;
    }
    EXPECT_FALSE(Window->Converting);
    EXPECT_FALSE(Window->ConvertInfoPanel->Visible());
    EXPECT_TRUE(Window->actGo->Enabled());
    EXPECT_EQ(Window->lblHintMessage->Caption().rfind("Current Time: ", 0), 0u) << Window->lblHintMessage->Caption();
    EXPECT_EQ(Window->TickCount, 4) << "two direct steps per job";
    Pump();
    EXPECT_EQ(Window->PreviewImage->Bitmap()->Width(), 64) << "a frame of the conversion was shown";
    const auto commands = shell.Commands();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].Argv.back(), Window->edtOutputFolder->Text());
}

// A job whose output folder has gone fails; the row says only "Failed", so the hint line names the file and why,
// while the other job converts.
TEST_F(MainWindowBatchTest, AFailedJobIsNamedWithItsCauseOnTheHintLine)
{
    Open();
    QueueJobs(2);
    Window->Jobs[0]->OutputFile = Videos() + "gone/clip0.avi";
    const int lineWidth = Window->lblHintMessage->Width();
    TShellCommandRecorder shell;
    Window->actGo->Execute();
    EXPECT_EQ(Window->Jobs[0]->Status, jsFailed);
    EXPECT_EQ(Window->Jobs[1]->Status, jsCompleted) << Window->Jobs[1]->GetNote();
    const std::string hint = Window->lblHintMessage->Caption();
    EXPECT_EQ(hint, "Not converted: clip0.avi: " + Window->Jobs[0]->GetNote());
    EXPECT_NE(hint.find("gone"), std::string::npos) << hint;
    EXPECT_EQ(Window->lblHintMessage->Width(), lineWidth) << "the long line is cut at its area, not drawn beyond";
    EXPECT_EQ(shell.Commands().size(), 1u);
}

TEST_F(MainWindowBatchTest, PreviewThenGoEndsThePreviewFirst)
{
    Open();
    QueueJobs(1, 3.0);
    SelectRow(0);
    Window->actPreview->Execute();
    ASSERT_TRUE(Window->HasPreviewDecoder());
    TConvertJob* job = Window->Jobs[0].get();
    EXPECT_EQ(Window->PreviewJob, job);
    EXPECT_EQ(job->Status, jsPreviewing);
    EXPECT_TRUE(Window->PreviewPanel->Visible());
    EXPECT_TRUE(Window->tbPreview->Enabled());
    EXPECT_EQ(Window->tbPreview->MaxValue(), 300);
    EXPECT_TRUE(Window->actStopPreview->Enabled());

    TShellCommandRecorder shell;
    Window->actGo->Execute();
    EXPECT_FALSE(Window->HasPreviewDecoder());
    EXPECT_EQ(Window->PreviewJob, nullptr);
    EXPECT_EQ(job->Status, jsCompleted) << job->GetNote();
}

// The trim markers and the lime bar between them show under the track bar, not behind it.
TEST_F(MainWindowBatchTest, TheTrimMarkersAndTheirBarShowBelowTheTrackBar)
{
    Open();
    QueueJobs(1, 3.0);
    Window->Jobs[0]->StartTime = 0.5;
    Window->Jobs[0]->EndTime = 2.5;
    SelectRow(0);
    Window->actPreview->Execute();
    Pump();
    const TRect bar = Window->tbPreview->BoundsRect();
    for (TControl* control : std::initializer_list<TControl*> { Window->imgStartTime, Window->imgEndTime,
             Window->StartEndTimeShape }) {
        EXPECT_TRUE(control->Visible());
        EXPECT_GE(control->Top(), bar.Bottom) << "hidden by the track bar's window";
    }
    const TRect shape = Window->StartEndTimeShape->BoundsRect();
    ASSERT_GT(shape.Right - shape.Left, 2);
    const uint32_t middle = Backend.WindowPixel(Window->Handle(), (shape.Left + shape.Right) / 2,
        (shape.Top + shape.Bottom) / 2);
    EXPECT_EQ(middle, 0x00FF00u) << std::hex << middle;
}

TEST_F(MainWindowBatchTest, TheStopPromptAnsweredNoResumesAndYesRequeues)
{
    Open();
    QueueJobs(2);
    std::vector<bool> convertingAfter;
    Window->Batch->RunJob = [&](TConvertJob&) {
        EXPECT_TRUE(Window->actStop->Enabled());
        EXPECT_FALSE(Window->actGo->Enabled());
        for (int answer : { 1, 2 }) { // "NO", then "YES".
            const int shown = Answering<TStopPromptForm>(
                [answer](TStopPromptForm& prompt) { prompt.SetModalResult(answer); },
                [&] { Window->actStop->Execute(); });
            EXPECT_EQ(shown, 1);
            convertingAfter.push_back(Window->Converting);
        }
    };
    TShellCommandRecorder shell;
    Window->actGo->Execute();
    EXPECT_EQ(convertingAfter, (std::vector<bool> { true, false }));
    EXPECT_EQ(Window->Jobs[0]->Status, jsQueue);
    EXPECT_EQ(Window->Jobs[1]->Status, jsQueue) << "the batch ended at the stopped job";
    EXPECT_TRUE(Window->actGo->Enabled());
    EXPECT_EQ(shell.Commands().size(), 1u);
}

TEST_F(MainWindowBatchTest, ClosingDuringTheBatchWaitsForGoToReturn)
{
    Open();
    QueueJobs(2);
    bool stillShown = false;
    Window->Batch->RunJob = [&](TConvertJob&) {
        Window->Close();
        Pump();
        stillShown = Window->Visible();
    };
    TShellCommandRecorder shell;
    Window->actGo->Execute();
    EXPECT_TRUE(stillShown) << "the window closed inside the batch";
    EXPECT_FALSE(Window->Visible()) << "the window closed after it";
    EXPECT_EQ(Window->Jobs[0]->Status, jsQueue);
    EXPECT_EQ(Window->Jobs[1]->Status, jsQueue);
    EXPECT_TRUE(shell.Commands().empty());
}

} // namespace

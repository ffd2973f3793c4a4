// TMainForm: "Go", "Stop" and the progress step, handed to the batch the window holds, which shows its progress
// in the window's progress panel, hint line, job row and preview track bar.
#include "app/TMainForm.h"

#include "framed/FrLabel.h"
#include "framework/controls/ExtCtrls.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinGauges.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinTrackBars.h"
#include "skin/controls/SkinEdits.h"
#include "skin/lists/SkinListViews.h"

void TMainForm::BindBatch()
{
    Batch->StopPreview = [this] { StopPreview(); };
    Batch->UpdateControlStates = [this] {
        SyncBatchState();
        UpdateControlStates();
    };
    Batch->RefreshJobList = [this] {
        SyncBatchState();
        RefreshJobList();
    };
    Batch->RedrawRow = [this](int row) { lvFileList->UpdateItems(row, row); };
    Batch->ShowStep = [this](const TBatchStep& step) {
        SyncBatchState();
        ShowBatchStep(step);
    };
    Batch->ShowConvertInfo = [this](bool visible) {
        SyncBatchState();
        ConvertInfoPanel->SetVisible(visible);
    };
    Batch->ConvertingChanged = [this](bool converting) {
        Converting = converting;
        // The batch moves the track bar itself: no seek may follow.
        Player->BindTrackBar(!converting);
        lvFileList->SetHideSelection(converting);
        if (!converting)
            ConversionView->Disarm();
    };
    Batch->JobStarting = [this](TConvertJob&) {
        SyncBatchState();
        ConversionView->ReleaseConverter();
        if (chkPreviewMovie->Checked())
            chkPreviewMovieClick(chkPreviewMovie);
    };
    Batch->PreviewMovie = [this] { return chkPreviewMovie->Checked(); };
    Batch->ArmPreview = [this](TConvertJob& job) { ConversionView->Arm(job); };
    Batch->AutoShutdown = [this] { return chkAutoShutdown->Checked(); };
    Batch->OutputFolder = [this] { return edtOutputFolder->Text(); };
    Batch->CloseAfterBatch = [this] { Close(); };
    // On the hint line, where the batch's progress was.
    Batch->ReportFailures = [this](const std::string& text) { lblHintMessage->SetCaption(text); };
}

void TMainForm::SyncBatchState()
{
    Converting = Batch->Converting;
    RunningIndex = Batch->RunningIndex;
    FramesAtLastTick = Batch->FramesAtLastTick;
    TickCount = int(Batch->TickCount);
}

void TMainForm::ShowBatchStep(const TBatchStep& step)
{
    Gauge->SetValue(step.Gauge);
    lblTotalTime->SetCaption(step.TotalTime);
    lblFPS->SetCaption(step.FPS);
    lblHintMessage->SetCaption(step.Hint);
    lblRemainTime->SetCaption(step.RemainTime);
    tbPreview->SetMaxValue(step.TrackMax);
    tbPreview->SetMinValue(0);
    tbPreview->SetValue(step.TrackValue);
    lblTargetFile->SetCaption(step.TargetFile);
    lblTargetFile->SetHint(step.TargetFile);
}

void TMainForm::actGoExecute(TObject*)
{
    Batch->Go();
    SyncBatchState();
}

void TMainForm::actStopExecute(TObject*)
{
    Batch->Stop();
    SyncBatchState();
}

void TMainForm::ConvertInfoTimerTimer(TObject*)
{
    Batch->ProgressStep();
}

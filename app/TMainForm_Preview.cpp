// TMainForm: the preview player's commands and timers, and the frame display during a conversion, handed to the
// player and the conversion preview the window holds.
#include "app/TMainForm.h"

#include "app/TAdvanceForm.h"
#include "framework/controls/TTimer.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"
#include "framed/FrPanel.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/SkinListViews.h"

void TMainForm::CreatePreviewAndBatch()
{
    Frames = std::make_unique<TPreviewFrames>();
    TMainPreviewControls controls;
    controls.tbPreview = tbPreview;
    controls.PreviewImage = PreviewImage;
    controls.imgStartTime = imgStartTime;
    controls.imgEndTime = imgEndTime;
    controls.StartEndTimeShape = StartEndTimeShape;
    controls.PreviewTimer = PreviewTimer;
    controls.DisplayTimer = DisplayTimer;
    Player = std::make_unique<TMainPreview>(*Frames, controls);
    ConversionView = std::make_unique<TConversionPreview>(*Frames, PreviewImage);
    Batch = std::make_unique<TMainBatch>(Jobs, ConvertInfoTimer);
    BindPreview();
    BindBatch();
    SyncBatchState();
}

void TMainForm::BindPreview()
{
    Player->PlayWindow = Handle();
    Player->UpdateControlStates = [this] {
        PreviewJob = Player->PreviewJob();
        UpdateControlStates();
    };
    Player->RefreshJobList = [this] {
        PreviewJob = Player->PreviewJob();
        RefreshJobList();
    };
    Player->PreviewPaused = [this] {
        FormSkinner->SetEnabled("Preview", true);
        Refresh();
    };
    Player->DrawAdvanceFrame = [this](TBitmap32* frame) {
        if (!OpenAdvanceForm)
            return false;
        OpenAdvanceForm->DrawPreviewFrame(frame);
        return true;
    };
    ConversionView->ShowPanel = [this](bool visible) { PreviewPanel->SetVisible(visible); };
    // Unticking runs the click handler, which releases the converter.
    ConversionView->PreviewFailed = [this] { chkPreviewMovie->SetChecked(false); };
}

void TMainForm::ReleasePreview()
{
    // The frame display goes first (it disarms the job it armed), then the player (which stops its decoder
    // before anything it draws into goes), and the frames last.
    ConversionView.reset();
    Player.reset();
    Batch.reset();
    Frames.reset();
    PreviewJob = nullptr;
}

bool TMainForm::HasPreviewDecoder() const
{
    return Player && Player->HasDecoder();
}

int TMainForm::PreviewDecoderState() const
{
    return Player ? Player->DecoderState() : 0;
}

void TMainForm::StartPreview()
{
    if (Player)
        Player->StartPreview(SelectedJob());
}

void TMainForm::StopPreview()
{
    if (Player)
        Player->StopPreview();
}

void TMainForm::PausePreview()
{
    if (Player)
        Player->PausePreview();
}

void TMainForm::ShowTrimMarkers(TConvertJob* job)
{
    if (Player)
        Player->ShowTrimMarkers(job);
}

void TMainForm::UpdateTrimShape()
{
    if (Player)
        Player->UpdateTrimShape();
}

void TMainForm::UpdateTrimHint()
{
    if (Player)
        Player->UpdateTrimHint();
}

void TMainForm::actPreviewExecute(TObject*)
{
    if (Player && lvFileList->SelCount() == 1)
        Player->Preview(SelectedJob());
}

void TMainForm::actPausePreviewExecute(TObject*)
{
    if (Player)
        Player->PauseCommand();
}

void TMainForm::actStopPreviewExecute(TObject*)
{
    if (Player)
        Player->StopCommand();
}

void TMainForm::actSetStartTimeExecute(TObject*)
{
    if (Player)
        Player->SetStartTime();
}

void TMainForm::actSetEndTimeExecute(TObject*)
{
    if (Player)
        Player->SetEndTime();
}

void TMainForm::PreviewTimerTimer(TObject*)
{
    if (Player)
        Player->PreviewTimerTimer();
}

void TMainForm::DisplayTimerTimer(TObject*)
{
    if (Player)
        Player->DisplayTimerTimer();
}

void TMainForm::tbPreviewChange(TObject*)
{
    if (Player)
        Player->TrackBarChange();
}

void TMainForm::PreviewImageResize(TObject*)
{
    PreviewImage->Bitmap()->SetSize(PreviewImage->Width(), PreviewImage->Height());
}

void TMainForm::chkPreviewMovieClick(TObject*)
{
    if (!ConversionView)
        return;
    // Only a running job is armed: a hook left on an idle job could outlive the job, which the list may delete.
    TConvertJob* running = Batch && Batch->Converting && size_t(RunningIndex) < Jobs.size()
        ? Jobs[size_t(RunningIndex)].get()
        : nullptr;
    ConversionView->PreviewMovieClick(chkPreviewMovie->Checked(), running);
}

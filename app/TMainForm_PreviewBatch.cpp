// TMainForm: the preview player's and the batch's handlers. Until the preview player and the batch loop are built,
// there is no preview decoder and no batch: these handlers do nothing.
#include "app/TMainForm.h"

void TMainForm::StartPreview() { }
void TMainForm::StopPreview() { }
void TMainForm::PausePreview() { }
void TMainForm::ShowTrimMarkers(TConvertJob*) { }
void TMainForm::UpdateTrimShape() { }
void TMainForm::UpdateTrimHint() { }
bool TMainForm::HasPreviewDecoder() const { return false; }
int TMainForm::PreviewDecoderState() const { return 0; }
void TMainForm::actPreviewExecute(TObject*) { }
void TMainForm::actPausePreviewExecute(TObject*) { }
void TMainForm::actStopPreviewExecute(TObject*) { }
void TMainForm::actSetStartTimeExecute(TObject*) { }
void TMainForm::actSetEndTimeExecute(TObject*) { }
void TMainForm::PreviewTimerTimer(TObject*) { }
void TMainForm::DisplayTimerTimer(TObject*) { }
void TMainForm::tbPreviewChange(TObject*) { }
void TMainForm::PreviewImageResize(TObject*) { }
void TMainForm::chkPreviewMovieClick(TObject*) { }
void TMainForm::ReleasePreview() { }
void TMainForm::actGoExecute(TObject*) { }
void TMainForm::actStopExecute(TObject*) { }
void TMainForm::ConvertInfoTimerTimer(TObject*) { }

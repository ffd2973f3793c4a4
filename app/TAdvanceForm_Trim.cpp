// TAdvanceForm: the trim markers under the position bar, their drag, and the time labels and hints they update.
#include "app/AdvanceFormRules.h"
#include "app/JobList.h"
#include "app/TAdvanceForm.h"
#include "engine/DecoderBase.h"
#include "framed/FrPanel.h"
#include "framework/controls/ExtCtrls.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinTrackBars.h"

#include <algorithm>
#include <utility>

namespace {

TTrimTrack TrackOf(int32_t left, int32_t right, double duration)
{
    return TTrimTrack { left, right, duration };
}

} // namespace

void TAdvanceForm::PlaceTrimMarkers()
{
    const TTrimTrack track = TrackOf(TrackLeft, TrackRight, Duration());
    imgStartTime->SetLeft(track.Usable() ? track.PixelOf(TrimStart) : TrackLeft);
    imgEndTime->SetLeft(track.Usable() ? track.PixelOf(TrimEnd) : TrackRight);
    StartEndTimeShape->SetTop(imgStartTime->Top() + 2);
    StartEndTimeShape->SetLeft(imgStartTime->Left() + imgStartTime->Width() + 1);
    // Markers drawn close together leave no bar between them rather than one of negative width.
    StartEndTimeShape->SetWidth(std::max(0, imgEndTime->Left() - StartEndTimeShape->Left() - 1));
}

void TAdvanceForm::TrackBarPanelResize(TObject*)
{
    tbPreview->SetWidth(TrackBarPanel->Width() - 75);
    TrackLeft = 64;
    TrackRight = TrackBarPanel->Width() - 20;
    PlaceTrimMarkers();
}

void TAdvanceForm::UpdateTimeLabels()
{
    lblStartTime->SetCaption(FormatTime(WholeSeconds(TrimStart)));
    lblEndTime->SetCaption(FormatTime(WholeSeconds(TrimEnd)));
    lblClipLenght->SetCaption(FormatTime(WholeSeconds(TrimEnd - TrimStart)));
}

void TAdvanceForm::UpdateTrimHints()
{
    const std::string hint = "Start Time:  " + FormatTime(WholeSeconds(TrimStart)) + "\n" + "End Time:    "
        + FormatTime(WholeSeconds(TrimEnd)) + "\n" + "Clip Lenght: " + FormatTime(WholeSeconds(TrimEnd - TrimStart));
    imgStartTime->SetHint(hint);
    imgEndTime->SetHint(hint);
    StartEndTimeShape->SetHint(hint);
}

// The tag of a marker holds where in it the pointer took it, plus one, so that taking it by its very first column
// still starts a drag (a tag of 0 means no drag).
void TAdvanceForm::imgStartTimeMouseDown(TObject* sender, TMouseButton button, TShiftState, int x, int)
{
    if (button == mbLeft)
        static_cast<TImage*>(sender)->SetTag(x + 1);
}

void TAdvanceForm::imgStartTimeMouseUp(TObject* sender, TMouseButton button, TShiftState, int, int)
{
    if (button == mbLeft)
        static_cast<TImage*>(sender)->SetTag(0);
}

void TAdvanceForm::imgStartTimeMouseMove(TObject*, TShiftState, int x, int)
{
    if (imgStartTime->Tag() == 0)
        return;
    // The pointer in the markers' panel, where the track's pixel range is measured.
    const int32_t panelX = imgStartTime->Left() + x - int32_t(imgStartTime->Tag() - 1);
    const TTrimTrack track = TrackOf(TrackLeft, TrackRight, Duration());
    if (!track.Usable())
        return;
    const int32_t left = track.DragStart(panelX, TrimEnd);
    TrimStart = track.TimeOf(left);
    MarkerMoved(TrimStart);
}

void TAdvanceForm::imgEndTimeMouseMove(TObject*, TShiftState, int x, int)
{
    if (imgEndTime->Tag() == 0)
        return;
    const int32_t panelX = imgEndTime->Left() + x - int32_t(imgEndTime->Tag() - 1);
    const TTrimTrack track = TrackOf(TrackLeft, TrackRight, Duration());
    if (!track.Usable())
        return;
    const int32_t left = track.DragEnd(panelX, TrimStart);
    TrimEnd = track.TimeOf(left);
    MarkerMoved(TrimEnd);
}

void TAdvanceForm::MarkerMoved(double time)
{
    // The bar shows the new time and the preview seeks there once (the bar's own seek stays quiet).
    TNotifyEvent change = std::exchange(tbPreview->OnChange, nullptr);
    tbPreview->SetValue(int(WholeSeconds(time * 100)));
    tbPreview->OnChange = std::move(change);
    if (SharedDecoder)
        SharedDecoder->Seek(time);
    PlaceTrimMarkers();
    UpdateTimeLabels();
    UpdateTrimHints();
}

// The main window's preview player and the frame it draws into the preview image.
#include "app/MainPreview.h"

#include "app/AdvanceCrop.h"
#include "app/AdvanceFormRules.h"
#include "app/JobList.h"
#include "app/PreviewFrames.h"
#include "engine/AppServices.h"
#include "engine/TConvertJob.h"
#include "framework/controls/AllocateHWnd.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TTimer.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinTrackBars.h"

#include <algorithm>
#include <atomic>

namespace {

// Posted by the decoder's thread when a frame is ready to draw.
constexpr UINT WM_PREVIEWFRAME = WM_APP + 0x105;
constexpr TColor32 kBarColor = 0xFF000000;
constexpr uint32_t kPositionInterval = 200;
constexpr uint32_t kDisplayInterval = 10;
constexpr int32_t kHourglass = -11;

// The player whose decoder is running; the decoder's callbacks are plain functions and reach it only here.
std::atomic<TMainPreview*> ActivePreview { nullptr };

int32_t Hundredths(double seconds) { return int32_t(seconds * 100); }

} // namespace

TPreviewGeometry PreviewGeometryOf(const TConvertJob& job)
{
    const VideoStreamInfo& stream = job.VideoInfo.GetVideoStream(job.VideoStreamIndex);
    return { stream.Width, stream.Height, job.CropLeft, job.CropRight, job.CropTop, job.CropBottom,
        job.FixAspectRatio };
}

void RenderPreviewFrame(const TPreviewGeometry& geometry, TBitmap32& frame, TBitmap32& display)
{
    const int32_t streamWidth = geometry.StreamWidth > 0 ? geometry.StreamWidth : frame.Width();
    const int32_t streamHeight = geometry.StreamHeight > 0 ? geometry.StreamHeight : frame.Height();
    // The probe's frame size can differ from the decoded frame's, and a crop can leave nothing: the cut is kept
    // inside the frame, and one with no pixels left takes the whole frame.
    TRect source { geometry.CropLeft, geometry.CropTop, streamWidth - geometry.CropRight,
        streamHeight - geometry.CropBottom };
    source.Left = std::clamp(source.Left, 0, frame.Width());
    source.Top = std::clamp(source.Top, 0, frame.Height());
    source.Right = std::clamp(source.Right, 0, frame.Width());
    source.Bottom = std::clamp(source.Bottom, 0, frame.Height());
    if (source.Right <= source.Left || source.Bottom <= source.Top)
        source = { 0, 0, frame.Width(), frame.Height() };

    TBitmap32 cut;
    cut.SetSize(source.Right - source.Left, source.Bottom - source.Top);
    cut.Draw(TRect { 0, 0, cut.Width(), cut.Height() }, source, &frame);
    cut.SetStretchFilter(sfLinear);

    if (display.Width() != streamWidth || display.Height() != streamHeight)
        display.SetSize(streamWidth, streamHeight);
    const TLetterbox box = LetterboxOf(streamWidth, streamHeight, cut.Width(), cut.Height(), geometry.FixAspectRatio);
    display.Draw(TRect { box.Left, box.Top, box.Right, box.Bottom }, TRect { 0, 0, cut.Width(), cut.Height() }, &cut);
    if (!geometry.FixAspectRatio)
        return;
    display.FillRectS(0, 0, box.Left, streamHeight, kBarColor);
    display.FillRectS(0, 0, streamWidth, box.Top, kBarColor);
    display.FillRectS(box.Right, 0, streamWidth, streamHeight, kBarColor);
    display.FillRectS(0, box.Bottom, streamWidth, streamHeight, kBarColor);
}

void RenderPreviewFrame(const TConvertJob& job, TBitmap32& frame, TBitmap32& display)
{
    RenderPreviewFrame(PreviewGeometryOf(job), frame, display);
}

TMainPreview::TMainPreview(TPreviewFrames& frames, const TMainPreviewControls& controls)
    : FFrames(frames)
    , FControls(controls)
    , FOwnPreviewTimer(controls.PreviewTimer ? nullptr : std::make_unique<TTimer>(nullptr))
    , FOwnDisplayTimer(controls.DisplayTimer ? nullptr : std::make_unique<TTimer>(nullptr))
    , FPreviewTimer(controls.PreviewTimer ? controls.PreviewTimer : FOwnPreviewTimer.get())
    , FDisplayTimer(controls.DisplayTimer ? controls.DisplayTimer : FOwnDisplayTimer.get())
{
    FPreviewTimer->SetEnabled(false);
    FPreviewTimer->SetInterval(kPositionInterval);
    FPreviewTimer->SetOnTimer([this](TObject*) { PreviewTimerTimer(); });
    FDisplayTimer->SetEnabled(false);
    FDisplayTimer->SetInterval(kDisplayInterval);
    FDisplayTimer->SetOnTimer([this](TObject*) { DisplayTimerTimer(); });
    FNotifyWindow = AllocateHWnd([this](TMessage& message) { NotifyWndProc(message); });
    PlayWindow = FNotifyWindow;
    BindTrackBar(true);
    // The markers rest under the track bar until a job with a trim shows them; below its whole height, as the bar
    // is a window of its own and would hide them and the trim bar between them.
    if (TImage* start = FControls.imgStartTime; start && FControls.tbPreview) {
        const TControl* bar = FControls.tbPreview;
        start->SetTop(std::max(bar->Top() + start->Height() + 6, bar->Top() + bar->Height() + 2));
        start->SetLeft(FControls.tbPreview->Left());
        if (TImage* end = FControls.imgEndTime) {
            end->SetTop(start->Top());
            end->SetLeft(FControls.tbPreview->Left() + FControls.tbPreview->Width() - end->Width());
        }
    }
}

TMainPreview::~TMainPreview()
{
    UpdateControlStates = nullptr;
    RefreshJobList = nullptr;
    StopPreview();
    BindTrackBar(false);
    FPreviewTimer->SetOnTimer(nullptr);
    FDisplayTimer->SetOnTimer(nullptr);
    // A notice still queued for this player goes nowhere once its window is gone.
    if (FNotifyWindow)
        DeallocateHWnd(FNotifyWindow);
}

int TMainPreview::DecoderState() const
{
    return FDecoder ? int(FDecoder->GetState()) : 0;
}

double TMainPreview::Position() const
{
    double position = 0.0;
    if (FDecoder)
        FDecoder->GetPosition(&position);
    return position;
}

void TMainPreview::Preview(TConvertJob* selected)
{
    MyCursor cursor(kHourglass);
    if (!FDecoder || FDecoder->GetState() != dsRunning)
        StartPreview(selected);
}

void TMainPreview::StartPreview(TConvertJob* selected)
{
    if (FDecoder) {
        // At its end the preview starts again from the beginning; a paused one resumes where it is.
        if (FJob && WholeSeconds(FJob->VideoInfo.GetDuration()) == WholeSeconds(Position()))
            FDecoder->Seek(0.0);
        FDecoder->Play(reinterpret_cast<uintptr_t>(PlayWindow));
        return;
    }
    if (!selected)
        return;
    FJob = selected;
    if (!FJob->Analysed) {
        FJob->Analysed = FJob->Analyse();
        if (RefreshJobList)
            RefreshJobList();
    }
    FDecoder = CreateDecoder ? CreateDecoder(*FJob) : FJob->CreateDecoder();
    if (!FDecoder) {
        FJob = nullptr;
        return;
    }
    FDecoder->SetCallbacks(&PreviewBeginCallback, &PreviewVideoCallback, nullptr, &PreviewEndCallback);
    if (FControls.tbPreview)
        FControls.tbPreview->SetMaxValue(Hundredths(FJob->VideoInfo.GetDuration()));
    ShowTrimMarkers(FJob);
    ActivePreview = this;
    FDecoder->Play(reinterpret_cast<uintptr_t>(PlayWindow));
    FPreviewTimer->SetEnabled(true);
    if (UpdateControlStates)
        UpdateControlStates();
    FJob->Status = jsPreviewing;
    if (RefreshJobList)
        RefreshJobList();
}

void TMainPreview::StopPreview()
{
    if (FDecoder) {
        FPreviewTimer->SetEnabled(false);
        if (FControls.tbPreview)
            MoveTrackBar(0);
        // Stopped and deleted without the frame lock: a callback may be waiting for it.
        FDecoder->Stop();
        FDecoder.reset();
        ActivePreview = nullptr;
        FDisplayTimer->SetEnabled(false);
    }
    {
        std::lock_guard lock(FFrames.Lock);
        FFrames.FreePreviewConverter();
    }
    if (FJob) {
        FJob->Status = jsQueue;
        FJob = nullptr;
        if (RefreshJobList)
            RefreshJobList();
    }
    if (UpdateControlStates)
        UpdateControlStates();
}

void TMainPreview::PausePreview()
{
    bool between = false;
    {
        std::lock_guard lock(FFrames.Lock);
        between = FFrames.PreviewConverter != 0;
    }
    if (FDecoder && between)
        FDecoder->Pause();
}

void TMainPreview::PauseCommand()
{
    if (FDecoder && FDecoder->GetState() == dsPlaying)
        PausePreview();
}

void TMainPreview::StopCommand()
{
    if (FDecoder && FDecoder->GetState() != dsRunning)
        StopPreview();
}

// --- Decoder callbacks, on the decoder's thread ---------------------------------------------------------------

bool TMainPreview::PreviewBeginCallback(StreamFormat* format)
{
    if (TMainPreview* preview = ActivePreview; preview && format)
        preview->BeginFrames(*format);
    return true;
}

bool TMainPreview::PreviewVideoCallback(double, double, void* frame)
{
    if (TMainPreview* preview = ActivePreview; preview && frame)
        preview->TakeFrame(frame);
    return true;
}

bool TMainPreview::PreviewEndCallback()
{
    if (TMainPreview* preview = ActivePreview)
        preview->EndFrames();
    return true;
}

void TMainPreview::BeginFrames(const StreamFormat& format)
{
    if (!format.HasVideo || format.Width <= 0 || format.Height <= 0)
        return;
    std::lock_guard lock(FFrames.Lock);
    FFrames.FreePreviewConverter();
    FFrames.PreviewColorFormat = format.ColorFormat;
    if (format.ColorFormat == kColorFormat16)
        FFrames.PreviewConverter = Pelliqua_Create(format.Width, format.Height);
    FFrames.FrameBitmap = std::make_unique<TBitmap32>();
    FFrames.FrameBitmap->SetSize(format.Width, format.Height);
    FFrames.PreviewWorkBuffer.resize(size_t(format.Width) * format.Height * 5);
}

void TMainPreview::TakeFrame(void* frame)
{
    {
        std::lock_guard lock(FFrames.Lock);
        if (!FFrames.FrameBitmap)
            return;
        const void* source = nullptr;
        // Only a 32-bit frame is copied as it is. A frame of any other format needs the converter; without one
        // (or when it fails) the frame is dropped rather than read as 32-bit pixels past its end.
        if (FFrames.PreviewColorFormat == kColorFormat32)
            source = frame;
        else if (FFrames.PreviewConverter != 0
            && Pelliqua_Convert(FFrames.PreviewConverter, frame, FFrames.PreviewWorkBuffer.data(), 0) != 0)
            source = FFrames.PreviewWorkBuffer.data();
        if (!source)
            return;
        CopyUpright(*FFrames.FrameBitmap, source);
    }
    PostMessage(FNotifyWindow, WM_PREVIEWFRAME, 0, 0);
}

void TMainPreview::EndFrames()
{
    std::lock_guard lock(FFrames.Lock);
    FFrames.FreePreviewConverter();
}

// --- User-interface thread ------------------------------------------------------------------------------------

void TMainPreview::NotifyWndProc(TMessage& message)
{
    if (message.Msg == WM_PREVIEWFRAME) {
        FrameArrived();
        return;
    }
    message.Result = DefWindowProc(FNotifyWindow, message.Msg, message.WParam, message.LParam);
}

void TMainPreview::FrameArrived()
{
    // The notice may come after the preview stopped: then there is nothing to draw.
    if (FDecoder)
        FDisplayTimer->SetEnabled(true);
}

void TMainPreview::DisplayTimerTimer()
{
    FDisplayTimer->SetEnabled(false);
    std::lock_guard lock(FFrames.Lock);
    if (!FFrames.FrameBitmap)
        return;
    if (DrawAdvanceFrame && DrawAdvanceFrame(FFrames.FrameBitmap.get()))
        return;
    if (!FJob || !FControls.PreviewImage)
        return;
    if (!FDisplayBitmap) {
        FDisplayBitmap = std::make_unique<TBitmap32>();
        FDisplayBitmap->SetStretchFilter(sfLinear);
    }
    RenderPreviewFrame(*FJob, *FFrames.FrameBitmap, *FDisplayBitmap);
    FControls.PreviewImage->Bitmap()->Assign(FDisplayBitmap.get());
}

void TMainPreview::PreviewTimerTimer()
{
    if (!FDecoder)
        return;
    if (FControls.tbPreview)
        MoveTrackBar(Hundredths(Position()));
    // Painting the new position may run any command, a stop of this preview too.
    ProcessMessages();
    if (FDecoder && FDecoder->GetState() == dsPaused && PreviewPaused)
        PreviewPaused();
}

void TMainPreview::TrackBarChange()
{
    if (!FDecoder || !FControls.tbPreview)
        return;
    const bool running = FPreviewTimer->Enabled();
    FPreviewTimer->SetEnabled(false);
    FDecoder->Seek(FControls.tbPreview->Value() * 0.01);
    FPreviewTimer->SetEnabled(running);
}

void TMainPreview::MoveTrackBar(int value)
{
    // Moved from here, the bar must not seek; its event is put back as it was (a batch keeps it detached).
    TNotifyEvent onChange = std::move(FControls.tbPreview->OnChange);
    FControls.tbPreview->OnChange = nullptr;
    FControls.tbPreview->SetValue(value);
    FControls.tbPreview->OnChange = std::move(onChange);
}

void TMainPreview::BindTrackBar(bool bound)
{
    if (!FControls.tbPreview)
        return;
    if (bound)
        FControls.tbPreview->OnChange = [this](TObject*) { TrackBarChange(); };
    else
        FControls.tbPreview->OnChange = nullptr;
}

// --- Trim markers ---------------------------------------------------------------------------------------------

void TMainPreview::HideTrimMarkers()
{
    if (FControls.imgStartTime)
        FControls.imgStartTime->SetVisible(false);
    if (FControls.imgEndTime)
        FControls.imgEndTime->SetVisible(false);
    UpdateTrimShape();
}

void TMainPreview::ShowTrimMarkers(TConvertJob* job)
{
    if (!job || !FControls.imgStartTime || !FControls.imgEndTime)
        return;
    if (job->StartTime == -1.0 && job->EndTime == -1.0) {
        HideTrimMarkers();
        return;
    }
    if (!job->Analysed) {
        MyCursor cursor(kHourglass);
        job->Analyse();
        job->Analysed = true;
    }
    // A source of unknown length leaves the markers at the track's ends instead of dividing by nothing.
    const TTrimTrack track { kTrimTrackLeft, kTrimTrackRight, job->VideoInfo.GetDuration() };
    const bool usable = track.Usable();
    FControls.imgStartTime->SetLeft(job->StartTime == -1.0 || !usable ? kTrimTrackLeft : track.PixelOf(job->StartTime));
    FControls.imgEndTime->SetLeft(job->EndTime == -1.0 || !usable ? kTrimTrackRight : track.PixelOf(job->EndTime));
    FControls.imgStartTime->SetVisible(true);
    FControls.imgEndTime->SetVisible(true);
    UpdateTrimShape();
}

void TMainPreview::UpdateTrimShape()
{
    TShape* shape = FControls.StartEndTimeShape;
    TImage* start = FControls.imgStartTime;
    TImage* end = FControls.imgEndTime;
    if (!shape || !start || !end)
        return;
    shape->SetVisible(start->Visible());
    if (!start->Visible())
        return;
    const int left = start->Left() + start->Width() + 1;
    shape->SetBounds(left, start->Top() + 2, end->Left() - left - 1, shape->Height());
}

void TMainPreview::UpdateTrimHint()
{
    if (!FJob)
        return;
    const double start = FJob->StartTime == -1.0 ? 0.0 : FJob->StartTime;
    const double end = FJob->EndTime == -1.0 ? FJob->VideoInfo.GetDuration() : FJob->EndTime;
    const std::string hint = "Start Time:  " + FormatDuration(WholeSeconds(start)) + "\nEnd Time:    "
        + FormatDuration(WholeSeconds(end)) + "\nClip Lenght: " + FormatDuration(WholeSeconds(end - start));
    for (TControl* control : std::initializer_list<TControl*> { FControls.imgStartTime, FControls.imgEndTime,
             FControls.StartEndTimeShape }) {
        if (control)
            control->SetHint(hint);
    }
}

void TMainPreview::PlaceMarkerAt(TImage* marker, double position, int32_t unset)
{
    const int32_t maxValue = FControls.tbPreview ? FControls.tbPreview->MaxValue() : 0;
    marker->SetLeft(maxValue == 0 ? unset
                                  : int32_t(position * 100 / maxValue * (kTrimTrackRight - kTrimTrackLeft)
                                      + kTrimTrackLeft));
}

void TMainPreview::SetStartTime()
{
    if (!FDecoder || !FJob || !FControls.imgStartTime || !FControls.imgEndTime)
        return;
    FControls.imgStartTime->SetVisible(true);
    FControls.imgEndTime->SetVisible(true);
    double position = Position();
    if (position == 0.0) {
        FJob->StartTime = -1.0;
    } else {
        const double limit = FJob->EndTime == -1.0 ? FJob->VideoInfo.GetDuration() : FJob->EndTime;
        // One second before an end within the first second would be a start before the source's beginning.
        if (position > limit)
            position = std::max(limit - 1.0, 0.0);
        FJob->StartTime = position;
    }
    PlaceMarkerAt(FControls.imgStartTime, position, kTrimTrackLeft);
    UpdateTrimShape();
    UpdateTrimHint();
}

void TMainPreview::SetEndTime()
{
    if (!FDecoder || !FJob || !FControls.imgStartTime || !FControls.imgEndTime)
        return;
    FControls.imgStartTime->SetVisible(true);
    FControls.imgEndTime->SetVisible(true);
    double position = Position();
    if (position == 0.0) {
        FJob->EndTime = -1.0;
    } else {
        const double floor = FJob->StartTime == -1.0 ? 0.0 : FJob->StartTime;
        if (!(position >= floor))
            position = floor + 1.0;
        FJob->EndTime = position;
    }
    PlaceMarkerAt(FControls.imgEndTime, position, kTrimTrackRight);
    UpdateTrimShape();
    UpdateTrimHint();
}

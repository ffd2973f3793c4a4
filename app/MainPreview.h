// TMainPreview, the main window's preview player: one job played by a decoder into the preview image, the track
// bar that follows and seeks it, and the trim markers under the bar; and RenderPreviewFrame, which cuts and fits
// a frame for the preview image.
#pragma once
#include "engine/DecoderBase.h"
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <functional>
#include <memory>

class TBitmap32;
class TConvertJob;
class TImage;
class TImage32;
class TShape;
class TTimer;
class TspSkinTrackBar;
struct TMessage;
struct TPreviewFrames;

// What a frame is cut to and fitted into: the stream's frame size (0 takes the frame's own), the crop taken off
// each edge, and whether the picture keeps its shape inside black bars.
struct TPreviewGeometry {
    int32_t StreamWidth = 0;
    int32_t StreamHeight = 0;
    int32_t CropLeft = 0;
    int32_t CropRight = 0;
    int32_t CropTop = 0;
    int32_t CropBottom = 0;
    bool FixAspectRatio = false;
};
// The geometry of a job: its chosen video stream's size, its crop and its Fix Aspect Ratio.
TPreviewGeometry PreviewGeometryOf(const TConvertJob& job);

// Draws `frame` into `display` sized to the stream's frame: the crop cut out, then stretched over the whole, or
// with FixAspectRatio fitted between opaque black bars (the left or top bar is half the bars' width made even).
// A crop that leaves no pixels, or reaches past the frame, is limited to the frame so something is always drawn.
void RenderPreviewFrame(const TPreviewGeometry& geometry, TBitmap32& frame, TBitmap32& display);
void RenderPreviewFrame(const TConvertJob& job, TBitmap32& frame, TBitmap32& display);

// The trim markers' track in window coordinates: a time t of a source lasting D sits at 541 + 170 t / D.
constexpr int32_t kTrimTrackLeft = 541;
constexpr int32_t kTrimTrackRight = 711;

// The main window's controls the player drives; the window owns them.
struct TMainPreviewControls {
    TspSkinTrackBar* tbPreview = nullptr;
    TImage32* PreviewImage = nullptr;
    TImage* imgStartTime = nullptr;
    TImage* imgEndTime = nullptr;
    TShape* StartEndTimeShape = nullptr;
    // The window's position (200 ms) and one-shot display (10 ms) timers; the player makes its own without them.
    TTimer* PreviewTimer = nullptr;
    TTimer* DisplayTimer = nullptr;
};

// Plays one job at a time. Decoders are created, played, stopped and deleted only here, on the user-interface
// thread, and always stopped before they are deleted. Their callbacks run on the decoder's thread: they only
// fill the frames under the frame lock and post a notice, which the user-interface thread answers by drawing.
class TMainPreview final {
public:
    TMainPreview(TPreviewFrames& frames, const TMainPreviewControls& controls);
    // Stops a preview under way.
    ~TMainPreview();
    TMainPreview(const TMainPreview&) = delete;
    TMainPreview& operator=(const TMainPreview&) = delete;

    // The window's parts the player tells; each may stay empty.
    std::function<void()> UpdateControlStates;
    std::function<void()> RefreshJobList;
    // The decoder was found paused by the position timer: the window enables its "Preview" button.
    std::function<void()> PreviewPaused;
    // While the advanced settings window is open it draws the frames instead of the preview image: true when it
    // took the frame.
    std::function<bool(TBitmap32* frame)> DrawAdvanceFrame;
    // Makes the decoder of a job; the job's own CreateDecoder unless replaced.
    std::function<std::unique_ptr<DecoderBase>(TConvertJob& job)> CreateDecoder;
    // The window the decoder plays into.
    HWND PlayWindow = nullptr;

    bool HasDecoder() const { return FDecoder != nullptr; }
    // The decoder's state (DecoderState), 0 without a decoder.
    int DecoderState() const;
    DecoderBase* Decoder() const { return FDecoder.get(); }
    TConvertJob* PreviewJob() const { return FJob; }

    // "Preview" with one job selected, under the hourglass: StartPreview, unless the decoder is running.
    void Preview(TConvertJob* selected);
    // Plays the current preview on (from the start when it has reached its end), or starts one of `selected`.
    void StartPreview(TConvertJob* selected);
    // Stops and deletes the decoder, returns the job to the queue and sets the control states.
    void StopPreview();
    // Pauses the decoder while it is between its begin and end callbacks.
    void PausePreview();
    // "Pause Preview": pauses a playing preview.
    void PauseCommand();
    // "Stop Preview": stops a preview whose decoder is not running a conversion start.
    void StopCommand();
    // "Set Start Time" and "Set End Time": the trim of the previewed job from the preview position.
    void SetStartTime();
    void SetEndTime();

    // Shows the job's trim markers when it has a trim, analysing it first if needed; hides them otherwise.
    void ShowTrimMarkers(TConvertJob* job);
    void HideTrimMarkers();
    // Lays the bar between the markers out, shown exactly when the start marker is.
    void UpdateTrimShape();
    // The markers' and bar's hint: the previewed job's start, end and length.
    void UpdateTrimHint();

    // The user moved the track bar: seeks there.
    void TrackBarChange();
    // Binds or detaches the track bar's change event (a batch detaches it).
    void BindTrackBar(bool bound);

    TTimer* PreviewTimer() const { return FPreviewTimer; }
    TTimer* DisplayTimer() const { return FDisplayTimer; }
    // The position timer's tick: the track bar follows the decoder.
    void PreviewTimerTimer();
    // The display timer's one tick: the last frame drawn into the preview image or the advanced window.
    void DisplayTimerTimer();

private:
    // The decoder's callbacks; they find the player that plays through ActivePreview.
    static bool PreviewBeginCallback(StreamFormat* format);
    static bool PreviewVideoCallback(double startTime, double endTime, void* frame);
    static bool PreviewEndCallback();
    void BeginFrames(const StreamFormat& format);
    void TakeFrame(void* frame);
    void EndFrames();

    void NotifyWndProc(TMessage& message);
    void FrameArrived();
    double Position() const;
    // Sets the track bar's value without the seek its change event would make.
    void MoveTrackBar(int value);
    // Puts a marker at a time of the previewed job's track bar scale; `unset` when the bar has no range.
    void PlaceMarkerAt(TImage* marker, double position, int32_t unset);

    TPreviewFrames& FFrames;
    TMainPreviewControls FControls;
    std::unique_ptr<DecoderBase> FDecoder;
    TConvertJob* FJob = nullptr;
    std::unique_ptr<TBitmap32> FDisplayBitmap;
    // Timers the player made itself, when the window gave none.
    std::unique_ptr<TTimer> FOwnPreviewTimer;
    std::unique_ptr<TTimer> FOwnDisplayTimer;
    TTimer* FPreviewTimer = nullptr;
    TTimer* FDisplayTimer = nullptr;
    HWND FNotifyWindow = nullptr;
};

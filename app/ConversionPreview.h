// TConversionPreview, the frame display during a conversion: the running job's preview hook, armed once per
// progress step, turns one frame into an upright 32-bit picture on the decoder's thread, and the user-interface
// thread shows it in the preview image.
#pragma once
#include "platform/win/WinTypes.h"

#include <atomic>
#include <cstdint>
#include <functional>

class ColorConverter;
class TConvertJob;
class TImage32;
struct TMessage;
struct TPreviewFrames;

// The job's preview hook: shows the frame through the TConversionPreview given as `user`.
bool ConversionPreviewHook(void* user, void* frame, int32_t width, int32_t height, int32_t colorFormat);

class TConversionPreview final {
public:
    TConversionPreview(TPreviewFrames& frames, TImage32* previewImage);
    // Disarms the hook of the job it armed last and releases the converter.
    ~TConversionPreview();
    TConversionPreview(const TConversionPreview&) = delete;
    TConversionPreview& operator=(const TConversionPreview&) = delete;

    // The window's parts; each may stay empty. ShowPanel shows or hides the preview panel; PreviewFailed unticks
    // "Preview Movie" (which comes back here through PreviewMovieClick).
    std::function<void(bool visible)> ShowPanel;
    std::function<void()> PreviewFailed;
    // Makes and releases the converters to 32-bit; the codec library's unless replaced.
    std::function<ColorConverter*()> CreateConverter;

    // "Preview Movie" clicked: ticked, arms `running` (when there is one) and shows the panel; unticked, disarms
    // it, releases the converter and the frame and hides the panel.
    void PreviewMovieClick(bool checked, TConvertJob* running);
    // Arms the job's hook for its next frame.
    void Arm(TConvertJob& job);
    // Disarms the hook this preview armed last.
    void Disarm();
    // Releases the converter and its buffer under the frame lock (a new job starts, with its own frame size).
    void ReleaseConverter();

    // On the decoder's thread, under the frame lock: the hook's work. Disarms the hook, converts the frame
    // (copies a 32-bit one) upright into the frame bitmap and posts a notice for the user-interface thread.
    void ShowConversionFrame(void* frame, int32_t width, int32_t height, int32_t colorFormat);

private:
    // Converts the frame into FrameBitmap; false when nothing is to be shown. The caller holds the frame lock.
    bool ConvertFrame(void* frame, int32_t width, int32_t height, int32_t colorFormat);
    void NotifyWndProc(TMessage& message);
    void FrameArrived();

    TPreviewFrames& FFrames;
    TImage32* FPreviewImage = nullptr;
    // The job whose hook points here; read by the decoder's thread to disarm it.
    std::atomic<TConvertJob*> FArmedJob { nullptr };
    // "Preview Movie" is ticked: frames are shown.
    bool FShowing = false;
    HWND FNotifyWindow = nullptr;
};

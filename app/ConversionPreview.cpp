// The frame display during a conversion.
#include "app/ConversionPreview.h"

#include "app/PreviewFrames.h"
#include "codecs/braskel/Braskel.h"
#include "engine/TConvertJob.h"
#include "framework/controls/AllocateHWnd.h"
#include "framework/core/Exception.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"
#include "platform/win/Windows.h"

namespace {

// Posted by the decoder's thread: a frame is ready, or showing it failed.
constexpr UINT WM_CONVERSIONFRAME = WM_APP + 0x106;
constexpr UINT WM_CONVERSIONFRAMEFAILED = WM_APP + 0x107;

} // namespace

bool ConversionPreviewHook(void* user, void* frame, int32_t width, int32_t height, int32_t colorFormat)
{
    static_cast<TConversionPreview*>(user)->ShowConversionFrame(frame, width, height, colorFormat);
    return true;
}

TConversionPreview::TConversionPreview(TPreviewFrames& frames, TImage32* previewImage)
    : FFrames(frames)
    , FPreviewImage(previewImage)
{
    FNotifyWindow = AllocateHWnd([this](TMessage& message) { NotifyWndProc(message); });
}

TConversionPreview::~TConversionPreview()
{
    Disarm();
    ReleaseConverter();
    // A notice still queued goes nowhere once the window is gone.
    if (FNotifyWindow)
        DeallocateHWnd(FNotifyWindow);
}

void TConversionPreview::Arm(TConvertJob& job)
{
    FArmedJob = &job;
    job.SetPreviewHook(&ConversionPreviewHook, this);
}

void TConversionPreview::Disarm()
{
    if (TConvertJob* job = FArmedJob.exchange(nullptr))
        job->SetPreviewHook(nullptr, nullptr);
}

void TConversionPreview::ReleaseConverter()
{
    std::lock_guard lock(FFrames.Lock);
    FFrames.ReleaseConversionConverter();
}

void TConversionPreview::PreviewMovieClick(bool checked, TConvertJob* running)
{
    FShowing = checked;
    if (!checked) {
        // The hook could still be armed from the last step; disarmed, no further frame is converted.
        Disarm();
        {
            std::lock_guard lock(FFrames.Lock);
            FFrames.ReleaseConversionConverter();
            FFrames.FrameBitmap.reset();
        }
        if (ShowPanel)
            ShowPanel(false);
        return;
    }
    if (running)
        Arm(*running);
    if (ShowPanel)
        ShowPanel(true);
}

// --- On the decoder's thread ----------------------------------------------------------------------------------

void TConversionPreview::ShowConversionFrame(void* frame, int32_t width, int32_t height, int32_t colorFormat)
{
    bool shown = false;
    try {
        std::lock_guard lock(FFrames.Lock);
        shown = ConvertFrame(frame, width, height, colorFormat);
    } catch (const Exception&) {
        PostMessage(FNotifyWindow, WM_CONVERSIONFRAMEFAILED, 0, 0);
        return;
    }
    if (shown)
        PostMessage(FNotifyWindow, WM_CONVERSIONFRAME, 0, 0);
}

bool TConversionPreview::ConvertFrame(void* frame, int32_t width, int32_t height, int32_t colorFormat)
{
    if (!frame || width <= 0 || height <= 0)
        return false;
    const bool direct = colorFormat == kColorFormat32;
    // A converter reads frames of the size and format it was made for; a frame of another one needs a new one.
    if (FFrames.ConversionConverter
        && (FFrames.ConversionWidth != width || FFrames.ConversionHeight != height
            || FFrames.ConversionColorFormat != colorFormat))
        FFrames.ReleaseConversionConverter();
    if (!direct && !FFrames.ConversionConverter) {
        ColorConverter* converter = CreateConverter ? CreateConverter() : Braskel_CreateColorConverter();
        FFrames.ConversionConverter.reset(converter);
        // A converter that does not start leaves the hook armed: the next frame tries again.
        if (!converter || !converter->Init(width, height, colorFormat, kColorFormat32)) {
            FFrames.ConversionConverter.reset();
            return false;
        }
        FFrames.ConversionBuffer.assign(size_t(converter->GetOutputSize()), 0);
        FFrames.ConversionWidth = width;
        FFrames.ConversionHeight = height;
        FFrames.ConversionColorFormat = colorFormat;
        FFrames.FrameBitmap.reset();
    }
    Disarm();
    const void* source = frame;
    if (!direct) {
        // The buffer must hold a whole frame of this size, or the upright copy would read past it.
        const size_t needed = size_t(width) * height * 4;
        if (FFrames.ConversionBuffer.size() < needed
            || !FFrames.ConversionConverter->Convert(frame, FFrames.ConversionBuffer.data())) {
            FFrames.ReleaseConversionConverter();
            FFrames.FrameBitmap.reset();
            return false;
        }
        source = FFrames.ConversionBuffer.data();
    }
    if (!FFrames.FrameBitmap || FFrames.FrameBitmap->Width() != width || FFrames.FrameBitmap->Height() != height) {
        FFrames.FrameBitmap = std::make_unique<TBitmap32>();
        FFrames.FrameBitmap->SetSize(width, height);
    }
    CopyUpright(*FFrames.FrameBitmap, source);
    FFrames.FrameBitmap->SetStretchFilter(sfLinear);
    return true;
}

// --- On the user-interface thread -----------------------------------------------------------------------------

void TConversionPreview::NotifyWndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_CONVERSIONFRAME:
        FrameArrived();
        return;
    case WM_CONVERSIONFRAMEFAILED:
        // Only while frames are still wanted: the box may have been unticked meanwhile.
        if (FShowing && PreviewFailed)
            PreviewFailed();
        return;
    default:
        message.Result = DefWindowProc(FNotifyWindow, message.Msg, message.WParam, message.LParam);
    }
}

void TConversionPreview::FrameArrived()
{
    // The notice may arrive after "Preview Movie" was unticked, which dropped the frame.
    if (!FShowing || !FPreviewImage)
        return;
    std::lock_guard lock(FFrames.Lock);
    if (FFrames.FrameBitmap)
        FPreviewImage->Bitmap()->Assign(FFrames.FrameBitmap.get());
}

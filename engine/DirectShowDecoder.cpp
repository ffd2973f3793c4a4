#include "engine/DirectShowDecoder.h"

#include "engine/AppServices.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SyncObjs.h"
#include "framework/core/TThread.h"

#include <string>

std::atomic<DirectShowDecoder*> CurrentDirectShowDecoder { nullptr };

namespace {

// The three ways the engine opens the library, as its open block records them.
enum class TOpenKind { Conversion, Preview, Probe };

QuentimOpenParams OpenParams(TOpenKind kind, const std::string& fileName)
{
    const bool conversion = kind == TOpenKind::Conversion;
    const bool preview = kind == TOpenKind::Preview;
    QuentimOpenParams params;
    params.WithCallbacks = kind == TOpenKind::Probe ? 0 : 1;
    params.Marker2 = 1;
    params.FileName = fileName.c_str();
    params.Marker8 = 1;
    params.Marker9 = 1;
    params.WithAudio = conversion ? 1 : 0;
    params.RealTime = preview ? 1 : 0;
    params.ColorFormat = preview ? 1 : 5;
    params.Marker20 = preview ? 3 : 4;
    params.Marker24 = preview ? 0 : 1;
    params.Marker28 = preview ? 0 : 3;
    params.Marker32 = preview ? 2 : 4;
    return params;
}

} // namespace

bool DirectShowBeginAdapter(QuentimInfo* info) noexcept
{
    DirectShowDecoder* decoder = CurrentDirectShowDecoder;
    if (!decoder || !info)
        return false;
    const DecoderBeginCallback onBegin = decoder->BeginCallback;
    if (!onBegin)
        return true;
    StreamFormat format;
    format.Duration = info->Duration;
    format.HasVideo = info->HasVideo != 0;
    format.Width = info->Width;
    format.Height = info->Height;
    format.FrameRate = info->FrameRate;
    format.ColorFormat = info->ColorFormat;
    format.HasAudio = info->HasAudio != 0;
    format.BitsPerSample = info->BitsPerSample;
    format.SampleRate = info->SampleRate;
    format.Channels = info->Channels;
    try {
        return onBegin(&format);
    } catch (...) {
        return false;
    }
}

DirectShowDecoder::DirectShowDecoder(std::string fileName)
    : inherited(std::move(fileName))
{
}

DirectShowDecoder::~DirectShowDecoder()
{
    DestroyHandle();
    DirectShowDecoder* self = this;
    CurrentDirectShowDecoder.compare_exchange_strong(self, nullptr);
}

void DirectShowDecoder::DestroyHandle()
{
    if (!Handle)
        return;
    const QuentimHandle handle = Handle;
    Handle = 0;
    // An exception thrown by a call served meanwhile is dropped: the decoding is being torn down.
    WaitServingMainThread([handle] { Quentim_Destroy(handle); });
}

bool DirectShowDecoder::OpenHandle(QuentimOpenParams& params)
{
    if (!Handle)
        return false;
    if (params.WithCallbacks) {
        params.Begin = BeginCallback ? &DirectShowBeginAdapter : nullptr;
        params.Video = VideoCallback;
        params.Audio = params.WithAudio ? AudioCallback.load() : nullptr;
        params.End = EndCallback;
    }
    CurrentDirectShowDecoder = this;
    if (Quentim_Open(Handle, &params))
        return true;
    DestroyHandle();
    return false;
}

bool DirectShowDecoder::SetVideoStream(int32_t)
{
    return true;
}

bool DirectShowDecoder::SetAudioStream(int32_t)
{
    return true;
}

bool DirectShowDecoder::Start()
{
    if (!FileExists(FileName))
        return false;
    if (Handle) {
        const int32_t state = Quentim_GetState(Handle);
        if (state == kQuentimRunning)
            return true;
        if (state == kQuentimPaused) {
            Quentim_Run(Handle);
            return true;
        }
        DestroyHandle();
    }
    Handle = Quentim_Create();
    // The library makes no handle only when memory runs out; nothing can decode then.
    if (!Handle)
        return false;
    Quentim_SetConversionFlags(Handle, 0);
    Quentim_SetRange(Handle, StartTime, EndTime);
    QuentimOpenParams params = OpenParams(TOpenKind::Conversion, FileName);
    if (!OpenHandle(params))
        return false;
    StartedByPlay = false;
    return Quentim_Run(Handle) != 0;
}

bool DirectShowDecoder::Play(uintptr_t)
{
    // Frames go to the video callback; the window is the caller's business.
    if (!FileExists(FileName))
        return false;
    if (!Handle) {
        Handle = Quentim_Create();
        QuentimOpenParams params = OpenParams(TOpenKind::Preview, FileName);
        if (!OpenHandle(params)) {
            ShowMessageBox("Can not preview this video!", std::string(ApplicationTitle), 64);
            return false;
        }
    }
    const bool running = Quentim_Run(Handle) != 0;
    if (running)
        StartedByPlay = true;
    return running;
}

bool DirectShowDecoder::Pause()
{
    return Handle && Quentim_GetState(Handle) == kQuentimRunning ? Quentim_Pause(Handle) != 0 : false;
}

bool DirectShowDecoder::Stop()
{
    if (!Handle)
        return false;
    const int32_t state = Quentim_GetState(Handle);
    if (state != kQuentimRunning && state != kQuentimPaused)
        return false;
    DestroyHandle();
    return true;
}

int32_t DirectShowDecoder::GetPosition(double* position)
{
    return Handle ? Quentim_GetPosition(Handle, position) : 0;
}

int32_t DirectShowDecoder::Seek(double position)
{
    return Handle ? Quentim_Seek(Handle, position) : 0;
}

DecoderState DirectShowDecoder::GetState()
{
    if (!Handle)
        return dsStopped;
    const int32_t state = Quentim_GetState(Handle);
    if (state == kQuentimRunning)
        return StartedByPlay ? dsPlaying : dsRunning;
    return DecoderState(state);
}

bool DirectShowDecoder::Unnamed11(int32_t, int32_t)
{
    return true;
}

bool ProbeWithQuentim(const std::string& fileName, TDirectShowProbeInfo& info)
{
    const QuentimHandle handle = Quentim_Create();
    if (!handle)
        return false;
    // The handle goes however the probe ends.
    struct THandleGuard {
        QuentimHandle Handle;
        ~THandleGuard() { Quentim_Destroy(Handle); }
    } guard { handle };
    Quentim_SetRange(handle, -1.0, -1.0);
    QuentimOpenParams params = OpenParams(TOpenKind::Probe, fileName);
    if (!Quentim_Open(handle, &params))
        return false;
    QuentimInfo block {};
    Quentim_GetInfo(handle, &block);
    info.Opened = block.Opened != 0;
    info.Duration = block.Duration;
    info.HasVideo = block.HasVideo != 0;
    info.Width = block.Width;
    info.Height = block.Height;
    info.FrameRate = block.FrameRate;
    info.ColorFormat = block.ColorFormat;
    info.HasAudio = block.HasAudio != 0;
    info.SampleRate = block.SampleRate;
    info.Channels = block.Channels;
    return info.Opened;
}

void InstallDirectShowProbe()
{
    SetDirectShowProbeHook(&ProbeWithQuentim);
}

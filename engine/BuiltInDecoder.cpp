#include "engine/BuiltInDecoder.h"

#include "framework/core/FileSystem.h"

#include <algorithm>
#include <cstring>
#include <exception>

std::atomic<BuiltInDecoder*> CurrentBuiltInDecoder { nullptr };

namespace {

constexpr int32_t kConversionColorFormat = 5;
constexpr int32_t kPreviewColorFormat = 1;

// The record to describe: the chosen one, or the first when the choice is not among the file's streams,
// since the reader then keeps decoding its first stream.
int32_t RecordIndex(int32_t chosen, int32_t count)
{
    count = std::clamp(count, 0, 16);
    return chosen >= 0 && chosen < count ? chosen : 0;
}

} // namespace

BuiltInDecoderThread::BuiltInDecoderThread(bool createSuspended, MediaReader* reader)
    : inherited(createSuspended)
    , Reader(reader)
{
}

void BuiltInDecoderThread::Execute()
{
    // A stop waits for this event, so it is set however Run ends.
    struct TSetOnExit {
        TSimpleEvent& Event;
        ~TSetOnExit() { Event.SetEvent(); }
    } setOnExit { RunReturned };
    if (Reader)
        Reader->Run();
}

bool BuiltInBeginAdapter(MediaReaderInfo* info) noexcept
{
    BuiltInDecoder* decoder = CurrentBuiltInDecoder;
    if (!decoder || !info)
        return false;
    const DecoderBeginCallback onBegin = decoder->BeginCallback;
    if (!onBegin)
        return true;
    StreamFormat format;
    format.Duration = info->Duration;
    format.HasVideo = info->HasVideo != 0;
    if (info->VideoStreamCount > 0) {
        const MediaReaderVideoStream& video
            = info->VideoStreams[RecordIndex(decoder->VideoStreamIndex, info->VideoStreamCount)];
        format.Width = video.Width;
        format.Height = video.Height;
        format.FrameRate = video.FrameRate;
    }
    format.ColorFormat = info->ColorFormat;
    format.HasAudio = info->HasAudio != 0;
    format.BitsPerSample = 16;
    if (info->AudioStreamCount > 0) {
        const MediaReaderAudioStream& audio
            = info->AudioStreams[RecordIndex(decoder->AudioStreamIndex, info->AudioStreamCount)];
        format.SampleRate = audio.SampleRate;
        // The reader mixes more channels down to stereo, so the blocks never carry more than 2.
        format.Channels = std::min(audio.Channels, 2);
    }
    try {
        return onBegin(&format);
    } catch (...) {
        return false;
    }
}

BuiltInDecoder::BuiltInDecoder(std::string fileName)
    : inherited(std::move(fileName))
{
}

BuiltInDecoder::~BuiltInDecoder()
{
    // A destructor cannot pass on an exception of a call served while it waited.
    ReleaseReader(false);
    BuiltInDecoder* self = this;
    CurrentBuiltInDecoder.compare_exchange_strong(self, nullptr);
}

bool BuiltInDecoder::SetVideoStream(int32_t index)
{
    VideoStreamIndex = index;
    return Reader ? Reader->SetVideoStream(index) == 0 : true;
}

bool BuiltInDecoder::SetAudioStream(int32_t index)
{
    AudioStreamIndex = index;
    return Reader ? Reader->SetAudioStream(index) == 0 : true;
}

bool BuiltInDecoder::OpenReader(int32_t colorFormat)
{
    ReleaseReader();
    Reader = Braskel_CreateMediaReader(FileName.c_str());
    if (!Reader)
        return false;

    MediaReaderOpenParams params;
    params.Marker0 = 1;
    params.Marker1 = 1;
    params.ColorFormat = colorFormat;
    params.Begin = BeginCallback ? &BuiltInBeginAdapter : nullptr;
    params.Video = VideoCallback;
    params.Audio = AudioCallback;
    params.End = EndCallback;
    CurrentBuiltInDecoder = this;
    const uint8_t opened = Reader->Open(&params);
    std::memset(&Info, 0, sizeof(Info));
    Reader->GetInfo(&Info);
    if (Info.Opened == 0) {
        ReleaseReader();
        return false;
    }
    uint8_t prepared = 1;
    if (opened == 0) {
        Reader->SetVideoStream(VideoStreamIndex);
        Reader->SetAudioStream(AudioStreamIndex);
        Reader->SetRange(StartTime, EndTime);
        prepared = Reader->Prepare();
    }
    if (opened != 0 || prepared != 0) {
        ReleaseReader();
        return false;
    }
    return true;
}

bool BuiltInDecoder::StopReader(bool passOnErrors)
{
    BuiltInDecoderThread* thread = Thread.get();
    // From inside a callback the stop takes effect once the callback returns; the thread cannot wait for
    // itself, and its object stays until the next start or the destructor.
    const bool insideCallback = thread && thread->ThreadID() == GetCurrentThreadId();
    MediaReader* reader = Reader;
    bool stopped = false;
    const std::exception_ptr error = WaitServingMainThread([&] {
        stopped = reader->Stop() == 0;
        if (!thread || insideCallback)
            return;
        // The reader remembers a stop that comes before its Run begins, so Run returns soon either way.
        thread->RunReturned.WaitFor(INFINITE);
    });
    // Run has returned, so the thread is at its very end: deleting it joins it at once.
    if (!insideCallback)
        Thread.reset();
    if (error && passOnErrors)
        std::rethrow_exception(error);
    return stopped;
}

void BuiltInDecoder::ReleaseReader(bool passOnErrors)
{
    if (!Reader)
        return;
    // The reader is released only after its Run has returned: the thread still uses it until then.
    StopReader(passOnErrors);
    Braskel_ReleaseMediaReader(Reader);
    Reader = nullptr;
}

bool BuiltInDecoder::Start()
{
    if (!FileExists(FileName))
        return false;
    if (Reader) {
        const int32_t state = Reader->GetState();
        if (state == kMediaReaderRunning)
            return true;
        if (state == kMediaReaderPaused) {
            Reader->Resume();
            return true;
        }
    }
    if (!OpenReader(kConversionColorFormat))
        return false;
    Thread = std::make_unique<BuiltInDecoderThread>(true, Reader);
    try {
        Thread->Start();
    } catch (const EThread&) {
        // The system refused a thread: nothing decodes, so the start failed.
        Thread.reset();
        ReleaseReader();
        return false;
    }
    return true;
}

bool BuiltInDecoder::Play(uintptr_t window)
{
    if (!FileExists(FileName))
        return false;
    if (!Reader && !OpenReader(kPreviewColorFormat))
        return false;
    if (Reader->GetState() == kMediaReaderPlaying)
        return true;
    return Reader->Play(window) == 0;
}

bool BuiltInDecoder::Pause()
{
    return Reader ? Reader->Pause() == 0 : false;
}

bool BuiltInDecoder::Stop()
{
    return Reader ? StopReader(true) : false;
}

int32_t BuiltInDecoder::GetPosition(double* position)
{
    return Reader ? Reader->GetPosition(position) : 0;
}

int32_t BuiltInDecoder::Seek(double position)
{
    return Reader ? Reader->Seek(position) : 0;
}

DecoderState BuiltInDecoder::GetState()
{
    return Reader ? DecoderState(Reader->GetState()) : dsStopped;
}

bool BuiltInDecoder::Unnamed11(int32_t first, int32_t second)
{
    return Reader ? Reader->Unnamed4(first, second) == 0 : true;
}

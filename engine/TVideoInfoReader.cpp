#include "engine/TVideoInfoReader.h"

#include "engine/DirectShowDecoder.h"

#include "codecs/braskel/Braskel.h"
#include "engine/TDecoderModeMap.h"
#include "framework/core/FileSystem.h"
#include "framework/core/SysUtils.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {

constexpr int32_t kDirectShowKind = 0;
constexpr int32_t kBuiltInKind = 1;
constexpr int32_t kProbeColorFormat = 5;

// The DirectShow kind is probed through the second decoding library unless a test puts another probe in.
std::atomic<TDirectShowProbeHook> DirectShowProbeHook { &ProbeWithQuentim };

// The library's names fill their 32 bytes when they are long; ours always end in a zero.
void CopyName(char (&target)[32], const char (&source)[32])
{
    const size_t length = strnlen(source, sizeof(source) - 1);
    std::memcpy(target, source, length);
    target[length] = 0;
}

const VideoStreamInfo kNoVideoStream {};
const AudioStreamInfo kNoAudioStream {};

} // namespace

void SetDirectShowProbeHook(TDirectShowProbeHook hook)
{
    DirectShowProbeHook = hook;
}

TDirectShowProbeHook GetDirectShowProbeHook()
{
    return DirectShowProbeHook;
}

TVideoInfoReader::TVideoInfoReader(std::string fileName)
    : FileName(std::move(fileName))
{
}

const VideoStreamInfo& TVideoInfoReader::GetVideoStream(int32_t index) const
{
    return index >= 0 && index < kMaxStreams ? VideoStreams[index] : kNoVideoStream;
}

const AudioStreamInfo& TVideoInfoReader::GetAudioStream(int32_t index) const
{
    return index >= 0 && index < kMaxStreams ? AudioStreams[index] : kNoAudioStream;
}

void TVideoInfoReader::Clear()
{
    Opened = false;
    Duration = 0.0;
    VideoStreamCount = 0;
    AudioStreamCount = 0;
    std::fill(std::begin(VideoStreams), std::end(VideoStreams), VideoStreamInfo {});
    std::fill(std::begin(AudioStreams), std::end(AudioStreams), AudioStreamInfo {});
}

bool TVideoInfoReader::ProbeWithDirectShow()
{
    Clear();
    const TDirectShowProbeHook hook = DirectShowProbeHook;
    TDirectShowProbeInfo info;
    try {
        if (!hook || !hook(FileName, info))
            return false;
    } catch (...) {
        return false;
    }
    Opened = info.Opened;
    ColorFormat = info.ColorFormat;
    // The duration counts for audio-only files too: without it their progress could not be shown.
    Duration = info.Duration;
    if (info.HasVideo) {
        VideoStreamCount = 1;
        VideoStreams[0].Width = info.Width;
        VideoStreams[0].Height = info.Height;
        VideoStreams[0].FrameRate = info.FrameRate;
        VideoStreams[0].AspectX = 0;
        VideoStreams[0].AspectY = 1;
    }
    if (info.HasAudio) {
        AudioStreamCount = 1;
        AudioStreams[0].SampleRate = info.SampleRate;
        AudioStreams[0].Channels = info.Channels;
    }
    return Opened;
}

bool TVideoInfoReader::ProbeWithBuiltIn()
{
    Clear();
    MediaReader* reader = Braskel_CreateMediaReader(FileName.c_str());
    if (!reader)
        return false;
    MediaReaderOpenParams params;
    params.Marker0 = 1;
    params.Marker1 = 1;
    params.ColorFormat = kProbeColorFormat;
    MediaReaderInfo info;
    std::memset(&info, 0, sizeof(info));
    const uint8_t opened = reader->Open(&params);
    const uint8_t described = opened == 0 ? reader->GetInfo(&info) : 1;
    Braskel_ReleaseMediaReader(reader);
    if (opened != 0 || described != 0)
        return false;

    Opened = info.Opened != 0;
    Duration = info.Duration;
    ColorFormat = info.ColorFormat;
    if (info.HasVideo) {
        VideoStreamCount = std::clamp(info.VideoStreamCount, 0, kMaxStreams);
        for (int32_t i = 0; i < VideoStreamCount; ++i) {
            const MediaReaderVideoStream& source = info.VideoStreams[i];
            VideoStreamInfo& target = VideoStreams[i];
            CopyName(target.CodecName, source.CodecName);
            target.Width = source.Width;
            target.Height = source.Height;
            target.AspectX = source.AspectX;
            target.AspectY = source.AspectY;
            target.FrameRate = source.FrameRate;
        }
    }
    if (info.HasAudio) {
        AudioStreamCount = std::clamp(info.AudioStreamCount, 0, kMaxStreams);
        for (int32_t i = 0; i < AudioStreamCount; ++i) {
            const MediaReaderAudioStream& source = info.AudioStreams[i];
            AudioStreamInfo& target = AudioStreams[i];
            CopyName(target.CodecName, source.CodecName);
            target.SampleRate = source.SampleRate;
            target.Channels = source.Channels;
        }
    }
    return Opened;
}

bool TVideoInfoReader::Probe()
{
    const std::string key = LowerCase(ExtractFileExt(FileName));
    const DecoderMode mode = GlobalDecoderModeMap ? GlobalDecoderModeMap->GetDecoderMode(key) : dmBuiltInThenDirectShow;

    // Each attempt sets the kind of the decoder that opened the file; the second runs only when the first fails.
    auto builtIn = [this] {
        if (!ProbeWithBuiltIn())
            return false;
        DecoderKind = kBuiltInKind;
        return true;
    };
    auto directShow = [this] {
        if (!ProbeWithDirectShow())
            return false;
        DecoderKind = kDirectShowKind;
        return true;
    };
    switch (mode) {
    case dmBuiltInThenDirectShow:
        if (!builtIn())
            directShow();
        break;
    case dmDirectShowThenBuiltIn:
        if (!directShow())
            builtIn();
        break;
    case dmBuiltInOnly:
        builtIn();
        break;
    case dmDirectShowOnly:
        directShow();
        break;
    default:
        // No decoder may try this file: an earlier probe's result must not pass for this one's.
        Clear();
        break;
    }
    return Opened;
}

bool TVideoInfoReader::ProbeWithMode(int32_t kind)
{
    const int32_t wanted = kind == kDirectShowKind ? kDirectShowKind : kBuiltInKind;
    if (wanted == DecoderKind && Opened)
        return true;
    const bool opened = wanted == kDirectShowKind ? ProbeWithDirectShow() : ProbeWithBuiltIn();
    if (!opened)
        return Probe();
    DecoderKind = wanted;
    return true;
}

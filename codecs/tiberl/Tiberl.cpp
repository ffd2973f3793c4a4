// The library's entry points: each takes the lock, finds the handle's encoder and works on it.
#include "codecs/tiberl/Tiberl.h"

#include "codecs/tiberl/TTiberlEncoder.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <string>

namespace {

// The encoders by handle. Handles count up and are never given out twice, so a stale handle finds nothing
// rather than another caller's encoder.
struct TRegistry {
    std::mutex Lock;
    std::map<RealEncoderHandle, std::unique_ptr<TTiberlEncoder>> Encoders;
    RealEncoderHandle LastHandle = 0;
};

TRegistry& Registry()
{
    static TRegistry registry;
    return registry;
}

// Runs `work` on the handle's encoder under the lock; `otherwise` for an unknown handle.
template <class TResult, class TWork> TResult WithEncoder(RealEncoderHandle handle, TResult otherwise, TWork work)
{
    TRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    const auto found = registry.Encoders.find(handle);
    if (found == registry.Encoders.end())
        return otherwise;
    // Nothing is thrown across the library's edge: running out of memory is one more refusal.
    try {
        return work(*found->second);
    } catch (...) {
        return otherwise;
    }
}

// Copies a name into a caller's buffer of kTiberlNameBufferSize bytes; null gives the empty name.
void CopyName(const char* name, char* buffer)
{
    if (!buffer)
        return;
    const size_t length = name ? std::min(std::strlen(name), size_t(kTiberlNameBufferSize - 1)) : 0;
    if (length)
        std::memcpy(buffer, name, length);
    buffer[length] = 0;
}

std::string Text(const char* text)
{
    return text ? text : "";
}

} // namespace

RealEncoderHandle Real_CreateEncoderHandle()
{
    auto encoder = std::unique_ptr<TTiberlEncoder>(new (std::nothrow) TTiberlEncoder());
    if (!encoder)
        return 0;
    TRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    // 0 means no encoder; after four billion handles the count wraps past it.
    RealEncoderHandle handle = registry.LastHandle;
    do
        ++handle;
    while (handle == 0 || registry.Encoders.count(handle));
    try {
        registry.Encoders.emplace(handle, std::move(encoder));
    } catch (...) {
        return 0;
    }
    registry.LastHandle = handle;
    return handle;
}

void Real_FreeEncoderHandle(RealEncoderHandle handle)
{
    TRegistry& registry = Registry();
    std::lock_guard<std::mutex> guard(registry.Lock);
    const auto found = registry.Encoders.find(handle);
    if (found == registry.Encoders.end())
        return;
    // Destroying the encoder finishes a run still open.
    registry.Encoders.erase(found);
}

int32_t Real_SetInputParms(RealEncoderHandle handle, uint8_t hasVideo, uint8_t hasAudio, int32_t width, int32_t height,
    double framesPerSecond, int32_t colorFormat, int32_t sampleRate, int32_t channels)
{
    return WithEncoder(handle, 0, [&](TTiberlEncoder& e) {
        TTiberlSettings& s = e.Settings;
        s.HasVideo = hasVideo != 0;
        s.HasAudio = hasAudio != 0;
        s.InputWidth = width;
        s.InputHeight = height;
        s.InputFPS = framesPerSecond;
        s.InputColorFormat = colorFormat;
        s.InputSampleRate = sampleRate;
        s.InputChannels = channels;
        return 1;
    });
}

int32_t Real_SetupDestinationFile(RealEncoderHandle handle, const char* path)
{
    return WithEncoder(handle, 0, [&](TTiberlEncoder& e) {
        e.Settings.DestinationPath = Text(path);
        return e.Settings.DestinationPath.empty() ? 0 : 1;
    });
}

int32_t Real_SetupMediaProfile(RealEncoderHandle handle, uint8_t audioContent, uint8_t videoContent)
{
    return WithEncoder(handle, 0, [&](TTiberlEncoder& e) {
        e.Settings.AudioContent = audioContent;
        e.Settings.VideoContent = videoContent;
        return 1;
    });
}

int32_t Real_SetUse2Pass(RealEncoderHandle handle, uint8_t use)
{
    return WithEncoder(handle, 0, [&](TTiberlEncoder&) { return use ? 0 : 1; });
}

int32_t Real_GetAvailableAudiencesCount(RealEncoderHandle handle)
{
    return WithEncoder(handle, 0, [](TTiberlEncoder&) { return TTiberlEncoder::AudienceCount(); });
}

void Real_GetAvailableAudiencesName(RealEncoderHandle handle, int32_t index, char* buffer)
{
    CopyName(WithEncoder<const char*>(handle, nullptr,
                 [&](TTiberlEncoder&) {
                     const TTiberlAudience* audience = TTiberlEncoder::Audience(index);
                     return audience ? audience->Name : nullptr;
                 }),
        buffer);
}

int32_t Real_SetupAudiences(RealEncoderHandle handle, int32_t index)
{
    return WithEncoder(handle, 0, [&](TTiberlEncoder& e) {
        if (!TTiberlEncoder::Audience(index))
            return 0;
        e.Settings.Audience = index;
        return 1;
    });
}

int32_t Real_SetupTag(RealEncoderHandle handle, const char* title, const char* author, const char* copyright,
    const char* comment, const char* /*keywords*/)
{
    return WithEncoder(handle, 0, [&](TTiberlEncoder& e) {
        e.Settings.Title = Text(title);
        e.Settings.Author = Text(author);
        e.Settings.Copyright = Text(copyright);
        e.Settings.Comment = Text(comment);
        return 1;
    });
}

int32_t Real_BeginEncoding(RealEncoderHandle handle)
{
    return WithEncoder(handle, 0, [](TTiberlEncoder& e) { return e.Begin() ? 1 : 0; });
}

int32_t Real_EndEncoding(RealEncoderHandle handle)
{
    return WithEncoder(handle, 0, [](TTiberlEncoder& e) { return e.End() ? 1 : 0; });
}

int32_t Real_EncodeSample(
    RealEncoderHandle handle, uint8_t isAudio, const void* data, int32_t byteCount, double start, double end)
{
    return isAudio ? Real_EncodeAudioSample(handle, data, byteCount, start, end)
                   : Real_EncodeVideoSample(handle, data, start, end);
}

int32_t Real_EncodeVideoSample(RealEncoderHandle handle, const void* frame, double start, double /*end*/)
{
    // The writer places frames on the output rate's grid by their start alone.
    return WithEncoder(handle, 0, [&](TTiberlEncoder& e) { return e.EncodeVideo(frame, start) ? 1 : 0; });
}

int32_t Real_EncodeAudioSample(
    RealEncoderHandle handle, const void* samples, int32_t byteCount, double start, double /*end*/)
{
    return WithEncoder(handle, 0, [&](TTiberlEncoder& e) { return e.EncodeAudio(samples, byteCount, start) ? 1 : 0; });
}

int32_t Real_StartDo2Pass(RealEncoderHandle /*handle*/)
{
    return 0;
}

uint32_t Real_GetOutputSize(RealEncoderHandle handle)
{
    return WithEncoder(
        handle, uint32_t(0), [](TTiberlEncoder& e) { return uint32_t(std::min<int64_t>(e.OutputSize(), UINT32_MAX)); });
}

int32_t Real_SetManualSettingsParams(RealEncoderHandle handle, const RealManualSettings* settings)
{
    if (!settings)
        return 0;
    return WithEncoder(handle, 0, [&](TTiberlEncoder& e) { return e.SetManual(*settings) ? 1 : 0; });
}

void Real_GetLastError(RealEncoderHandle handle, char* buffer)
{
    std::string text;
    WithEncoder(handle, 0, [&](TTiberlEncoder& e) {
        text = e.ErrorText();
        return 0;
    });
    CopyName(text.c_str(), buffer);
}

int32_t Real_GetAudioCodecCount(RealEncoderHandle handle)
{
    return WithEncoder(handle, 0, [](TTiberlEncoder&) { return TTiberlEncoder::AudioCodecCount(); });
}

void Real_GetAudioCodecName(RealEncoderHandle handle, int32_t index, char* buffer)
{
    CopyName(WithEncoder<const char*>(handle, nullptr,
                 [&](TTiberlEncoder&) {
                     const TTiberlAudioCodec* codec = TTiberlEncoder::AudioCodec(index);
                     return codec ? codec->Name : nullptr;
                 }),
        buffer);
}

int32_t Real_SetParamsMode(RealEncoderHandle handle, uint8_t mode)
{
    return WithEncoder(handle, 0, [&](TTiberlEncoder& e) {
        if (mode > 1)
            return 0;
        e.Settings.ParamsMode = mode;
        return 1;
    });
}

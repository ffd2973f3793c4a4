// The library's entry points: each takes the lock and works on the one encoder that WMV_Init creates.
#include "codecs/sorvane/Sorvane.h"

#include "codecs/sorvane/TSorvaneEncoder.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>

namespace {

std::mutex& Lock()
{
    static std::mutex lock;
    return lock;
}

// Created by WMV_Init, destroyed by WMV_Uninit; only touched under the lock.
std::unique_ptr<TSorvaneEncoder>& Encoder()
{
    static std::unique_ptr<TSorvaneEncoder> encoder;
    return encoder;
}

// Runs `work` on the encoder under the lock; `otherwise` before WMV_Init.
template <class TResult, class TWork> TResult WithEncoder(TResult otherwise, TWork work)
{
    std::lock_guard<std::mutex> guard(Lock());
    TSorvaneEncoder* encoder = Encoder().get();
    if (!encoder)
        return otherwise;
    // Nothing is thrown across the library's edge: running out of memory is one more refusal.
    try {
        return work(*encoder);
    } catch (...) {
        return otherwise;
    }
}

template <class TWork> void WithEncoder(TWork work)
{
    WithEncoder(0, [&](TSorvaneEncoder& encoder) {
        work(encoder);
        return 0;
    });
}

// Copies a name into a caller's buffer of kSorvaneNameBufferSize bytes; null gives the empty name.
void CopyName(const char* name, char* buffer)
{
    if (!buffer)
        return;
    const size_t length = name ? std::min(std::strlen(name), size_t(kSorvaneNameBufferSize - 1)) : 0;
    if (length)
        std::memcpy(buffer, name, length);
    buffer[length] = 0;
}

std::string Text(const char* text)
{
    return text ? text : "";
}

} // namespace

int32_t WMV_Init()
{
#ifdef SORVANE_INIT_FAILS
    // A test build of the library that cannot start.
    return 0;
#else
    std::lock_guard<std::mutex> guard(Lock());
    if (!Encoder())
        Encoder().reset(new (std::nothrow) TSorvaneEncoder());
    return Encoder() ? 1 : 0;
#endif
}

int32_t WMV_Uninit()
{
    std::lock_guard<std::mutex> guard(Lock());
    // Destroying the encoder finishes a run still open.
    const bool started = Encoder() != nullptr;
    Encoder().reset();
    return started ? 1 : 0;
}

int32_t WMV_GetLanguageCount()
{
    return WithEncoder(0, [](TSorvaneEncoder&) { return 1; });
}

void WMV_GetLanguageName(int32_t index, char* buffer)
{
    CopyName(
        WithEncoder<const char*>(nullptr, [&](TSorvaneEncoder&) { return index == 0 ? "English" : nullptr; }), buffer);
}

void WMV_SetLanguage(int32_t index)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.Language = index; });
}

void WMV_SetUseSMPTEStream(uint8_t use)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.UseSMPTEStream = use != 0; });
}

int32_t WMV_GetAudioCodecCount()
{
    return WithEncoder(0, [](TSorvaneEncoder&) { return TSorvaneEncoder::AudioCodecCount(); });
}

void WMV_GetAudioCodecName(int32_t index, char* buffer)
{
    CopyName(
        WithEncoder<const char*>(nullptr, [&](TSorvaneEncoder&) { return TSorvaneEncoder::AudioCodecName(index); }),
        buffer);
}

int32_t WMV_GetAudioFormatCount(int32_t codec)
{
    return WithEncoder(0, [&](TSorvaneEncoder&) { return TSorvaneEncoder::AudioFormatCount(codec); });
}

void WMV_GetAudioFormat(int32_t codec, int32_t format, char* buffer)
{
    CopyName(WithEncoder<const char*>(nullptr,
                 [&](TSorvaneEncoder&) {
                     const TSorvaneAudioFormat* found = TSorvaneEncoder::AudioFormat(codec, format);
                     return found ? found->Name : nullptr;
                 }),
        buffer);
}

void WMV_SetAudioCodecAndFormat(int32_t codec, int32_t format)
{
    WithEncoder([&](TSorvaneEncoder& e) {
        e.Settings.AudioCodec = codec;
        e.Settings.AudioFormat = format;
    });
}

void WMV_SetAudioUseUncompressed(uint8_t use)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.AudioUncompressed = use != 0; });
}

void WMV_SetAudioBufferWindow(int32_t milliseconds)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.AudioBufferWindow = milliseconds; });
}

int32_t WMV_GetVideoCodecCount()
{
    return WithEncoder(0, [](TSorvaneEncoder&) { return TSorvaneEncoder::VideoCodecCount(); });
}

void WMV_GetVideoCodecName(int32_t index, char* buffer)
{
    CopyName(
        WithEncoder<const char*>(nullptr, [&](TSorvaneEncoder&) { return TSorvaneEncoder::VideoCodecName(index); }),
        buffer);
}

void WMV_SetVideoCodec(int32_t index)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VideoCodec = index; });
}

int32_t WMV_GetVideoIsVBR()
{
    return WithEncoder(0, [](TSorvaneEncoder& e) { return e.Settings.UseVBR ? 1 : 0; });
}

void WMV_SetVideoUseUncompressed(uint8_t use)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VideoUncompressed = use != 0; });
}

int32_t WMV_GetVideoUncompressedFormatCount()
{
    return 0;
}

void WMV_GetVideoUncompressedFormatName(int32_t /*index*/, char* buffer)
{
    CopyName(nullptr, buffer);
}

void WMV_SetVideoUncompressedFormat(int32_t index)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VideoUncompressedFormat = index; });
}

void WMV_SetVideoUseVBR(uint8_t use)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.UseVBR = use != 0; });
}

void WMV_SetVideoVBRMode(int32_t mode)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VBRMode = mode; });
}

void WMV_SetVideoBufferWindow(int32_t milliseconds)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VideoBufferWindow = milliseconds; });
}

void WMV_SetVideoBitrate(int32_t bitsPerSecond)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VideoBitrate = bitsPerSecond; });
}

void WMV_SetVideoQuality(int32_t quality)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VideoQuality = quality; });
}

void WMV_SetVideoVBRMaxBitrate(int32_t bitsPerSecond)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VBRMaxBitrate = bitsPerSecond; });
}

void WMV_SetVideoVBRMaxBuffer(int32_t milliseconds)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VBRMaxBuffer = milliseconds; });
}

void WMV_SetVideoVBRQuality(int32_t quality)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VBRQuality = quality; });
}

void WMV_SetVideoWidth(int32_t pixels)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VideoWidth = pixels; });
}

void WMV_SetVideoHeight(int32_t pixels)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VideoHeight = pixels; });
}

void WMV_SetVideoFPS(double framesPerSecond)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.VideoFPS = framesPerSecond; });
}

void WMV_SetVideoSecsKeyframe(int32_t seconds)
{
    WithEncoder([&](TSorvaneEncoder& e) { e.Settings.SecsKeyframe = seconds; });
}

int32_t WMV_SaveProfile(const char* /*path*/)
{
    return 0;
}

void WMV_SetInputParms(uint8_t hasVideo, uint8_t hasAudio, int32_t width, int32_t height, double framesPerSecond,
    int32_t colorFormat, int32_t sampleRate, int32_t channels)
{
    WithEncoder([&](TSorvaneEncoder& e) {
        TSorvaneSettings& s = e.Settings;
        s.HasVideo = hasVideo != 0;
        s.HasAudio = hasAudio != 0;
        s.InputWidth = width;
        s.InputHeight = height;
        s.InputFPS = framesPerSecond;
        s.InputColorFormat = colorFormat;
        s.InputSampleRate = sampleRate;
        s.InputChannels = channels;
    });
}

int32_t WMV_BeginEncoding()
{
    return WithEncoder(0, [](TSorvaneEncoder& e) { return e.Begin() ? 1 : 0; });
}

int32_t WMV_EndEncoding()
{
    return WithEncoder(0, [](TSorvaneEncoder& e) { return e.End() ? 1 : 0; });
}

int32_t WMV_EncodeSample(uint8_t isAudio, const void* data, int32_t byteCount, double time)
{
    return isAudio ? WMV_EncodeAudioSample(data, byteCount, time) : WMV_EncodeVideoSample(data, time);
}

int32_t WMV_EncodeVideoSample(const void* frame, double time)
{
    return WithEncoder(0, [&](TSorvaneEncoder& e) { return e.EncodeVideo(frame, time) ? 1 : 0; });
}

int32_t WMV_EncodeAudioSample(const void* samples, int32_t byteCount, double time)
{
    return WithEncoder(0, [&](TSorvaneEncoder& e) { return e.EncodeAudio(samples, byteCount, time) ? 1 : 0; });
}

void WMV_GetLastError(char* buffer)
{
    std::string text;
    WithEncoder([&](TSorvaneEncoder& e) { text = e.ErrorText(); });
    CopyName(text.c_str(), buffer);
}

int32_t WMV_GetOutputSize()
{
    return WithEncoder(0, [](TSorvaneEncoder& e) {
        // The count is unsigned 32-bit on the interface; a larger file reports the largest count.
        const uint32_t size = uint32_t(std::min<int64_t>(e.OutputSize(), UINT32_MAX));
        return int32_t(size);
    });
}

int32_t WMV_SetupDestinationFile(const char* path)
{
    return WithEncoder(0, [&](TSorvaneEncoder& e) {
        e.Settings.DestinationPath = Text(path);
        return e.Settings.DestinationPath.empty() ? 0 : 1;
    });
}

int32_t WMV_GetUseSystemProfileCount()
{
    return WithEncoder(0, [](TSorvaneEncoder&) { return TSorvaneEncoder::SystemProfileCount(); });
}

void WMV_GetUseSystemProfileName(int32_t index, char* buffer)
{
    CopyName(WithEncoder<const char*>(nullptr,
                 [&](TSorvaneEncoder&) {
                     const TSorvaneSystemProfile* profile = TSorvaneEncoder::SystemProfile(index);
                     return profile ? profile->Name : nullptr;
                 }),
        buffer);
}

void WMV_SetUseSystemProfile(uint8_t use, int32_t index)
{
    WithEncoder([&](TSorvaneEncoder& e) {
        e.Settings.UseSystemProfile = use != 0;
        e.Settings.SystemProfile = index;
    });
}

void WMV_SetId3Tag(
    const char* /*title*/, const char* /*artist*/, const char* /*album*/, const char* /*year*/, const char* /*comment*/)
{
}

void WMV_SetVideoTag(
    const char* title, const char* author, const char* copyright, const char* description, const char* /*rating*/)
{
    WithEncoder([&](TSorvaneEncoder& e) {
        e.Settings.Title = Text(title);
        e.Settings.Author = Text(author);
        e.Settings.Copyright = Text(copyright);
        e.Settings.Description = Text(description);
    });
}

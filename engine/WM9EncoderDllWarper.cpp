#include "engine/WM9EncoderDllWarper.h"

#include "engine/AppServices.h"
#include "engine/LibraryBinding.h"

using namespace LibraryBinding;

WM9EncoderDllWarper::WM9EncoderDllWarper()
{
    Module = LoadLibraryFile(ProgramFolder() + LibraryName);
    if (!Module)
        return;
    TSorvaneEntryPoints& e = EntryPoints;
    // Every name is looked up, in the library's order, even after one is missing.
    bool all = true;
    all &= Resolve(Module, "WMV_Init", e.WMV_Init);
    all &= Resolve(Module, "WMV_Uninit", e.WMV_Uninit);
    all &= Resolve(Module, "WMV_GetLanguageCount", e.WMV_GetLanguageCount);
    all &= Resolve(Module, "WMV_GetLanguageName", e.WMV_GetLanguageName);
    all &= Resolve(Module, "WMV_SetLanguage", e.WMV_SetLanguage);
    all &= Resolve(Module, "WMV_SetUseSMPTEStream", e.WMV_SetUseSMPTEStream);
    all &= Resolve(Module, "WMV_GetAudioCodecCount", e.WMV_GetAudioCodecCount);
    all &= Resolve(Module, "WMV_GetAudioCodecName", e.WMV_GetAudioCodecName);
    all &= Resolve(Module, "WMV_GetAudioFormatCount", e.WMV_GetAudioFormatCount);
    all &= Resolve(Module, "WMV_GetAudioFormat", e.WMV_GetAudioFormat);
    all &= Resolve(Module, "WMV_SetAudioCodecAndFormat", e.WMV_SetAudioCodecAndFormat);
    all &= Resolve(Module, "WMV_SetAudioUseUncompressed", e.WMV_SetAudioUseUncompressed);
    all &= Resolve(Module, "WMV_SetAudioBufferWindow", e.WMV_SetAudioBufferWindow);
    all &= Resolve(Module, "WMV_GetVideoCodecCount", e.WMV_GetVideoCodecCount);
    all &= Resolve(Module, "WMV_GetVideoCodecName", e.WMV_GetVideoCodecName);
    all &= Resolve(Module, "WMV_SetVideoCodec", e.WMV_SetVideoCodec);
    all &= Resolve(Module, "WMV_GetVideoIsVBR", e.WMV_GetVideoIsVBR);
    all &= Resolve(Module, "WMV_SetVideoUseUncompressed", e.WMV_SetVideoUseUncompressed);
    all &= Resolve(Module, "WMV_GetVideoUncompressedFormatCount", e.WMV_GetVideoUncompressedFormatCount);
    all &= Resolve(Module, "WMV_GetVideoUncompressedFormatName", e.WMV_GetVideoUncompressedFormatName);
    all &= Resolve(Module, "WMV_SetVideoUncompressedFormat", e.WMV_SetVideoUncompressedFormat);
    all &= Resolve(Module, "WMV_SetVideoUseVBR", e.WMV_SetVideoUseVBR);
    all &= Resolve(Module, "WMV_SetVideoVBRMode", e.WMV_SetVideoVBRMode);
    all &= Resolve(Module, "WMV_SetVideoBufferWindow", e.WMV_SetVideoBufferWindow);
    all &= Resolve(Module, "WMV_SetVideoBitrate", e.WMV_SetVideoBitrate);
    all &= Resolve(Module, "WMV_SetVideoQuality", e.WMV_SetVideoQuality);
    all &= Resolve(Module, "WMV_SetVideoVBRMaxBitrate", e.WMV_SetVideoVBRMaxBitrate);
    all &= Resolve(Module, "WMV_SetVideoVBRMaxBuffer", e.WMV_SetVideoVBRMaxBuffer);
    all &= Resolve(Module, "WMV_SetVideoVBRQuality", e.WMV_SetVideoVBRQuality);
    all &= Resolve(Module, "WMV_SetVideoWidth", e.WMV_SetVideoWidth);
    all &= Resolve(Module, "WMV_SetVideoHeight", e.WMV_SetVideoHeight);
    all &= Resolve(Module, "WMV_SetVideoFPS", e.WMV_SetVideoFPS);
    all &= Resolve(Module, "WMV_SetVideoSecsKeyframe", e.WMV_SetVideoSecsKeyframe);
    all &= Resolve(Module, "WMV_SaveProfile", e.WMV_SaveProfile);
    all &= Resolve(Module, "WMV_SetInputParms", e.WMV_SetInputParms);
    all &= Resolve(Module, "WMV_BeginEncoding", e.WMV_BeginEncoding);
    all &= Resolve(Module, "WMV_EndEncoding", e.WMV_EndEncoding);
    all &= Resolve(Module, "WMV_EncodeSample", e.WMV_EncodeSample);
    all &= Resolve(Module, "WMV_EncodeVideoSample", e.WMV_EncodeVideoSample);
    all &= Resolve(Module, "WMV_EncodeAudioSample", e.WMV_EncodeAudioSample);
    all &= Resolve(Module, "WMV_GetOutputSize", e.WMV_GetOutputSize);
    all &= Resolve(Module, "WMV_SetupDestinationFile", e.WMV_SetupDestinationFile);
    all &= Resolve(Module, "WMV_GetUseSystemProfileCount", e.WMV_GetUseSystemProfileCount);
    all &= Resolve(Module, "WMV_GetUseSystemProfileName", e.WMV_GetUseSystemProfileName);
    all &= Resolve(Module, "WMV_SetUseSystemProfile", e.WMV_SetUseSystemProfile);
    all &= Resolve(Module, "WMV_SetId3Tag", e.WMV_SetId3Tag);
    all &= Resolve(Module, "WMV_SetVideoTag", e.WMV_SetVideoTag);
    Usable = all;
    Resolve(Module, "WMV_GetLastError", e.WMV_GetLastError);
}

WM9EncoderDllWarper::~WM9EncoderDllWarper()
{
    FreeLibraryModule(Module);
}

int32_t WM9EncoderDllWarper::WMV_Init()
{
    return Forward(Usable, EntryPoints.WMV_Init);
}

int32_t WM9EncoderDllWarper::WMV_Uninit()
{
    return Forward(Usable, EntryPoints.WMV_Uninit);
}

void WM9EncoderDllWarper::WMV_SetLanguage(int32_t index)
{
    Forward(Usable, EntryPoints.WMV_SetLanguage, index);
}

void WM9EncoderDllWarper::WMV_SetUseSMPTEStream(uint8_t use)
{
    Forward(Usable, EntryPoints.WMV_SetUseSMPTEStream, use);
}

int32_t WM9EncoderDllWarper::WMV_GetAudioCodecCount()
{
    return Forward(Usable, EntryPoints.WMV_GetAudioCodecCount);
}

void WM9EncoderDllWarper::WMV_GetAudioCodecName(int32_t index, char* buffer)
{
    Forward(Usable, EntryPoints.WMV_GetAudioCodecName, index, buffer);
}

int32_t WM9EncoderDllWarper::WMV_GetAudioFormatCount(int32_t codec)
{
    return Forward(Usable, EntryPoints.WMV_GetAudioFormatCount, codec);
}

void WM9EncoderDllWarper::WMV_GetAudioFormat(int32_t codec, int32_t format, char* buffer)
{
    Forward(Usable, EntryPoints.WMV_GetAudioFormat, codec, format, buffer);
}

void WM9EncoderDllWarper::WMV_SetAudioCodecAndFormat(int32_t codec, int32_t format)
{
    Forward(Usable, EntryPoints.WMV_SetAudioCodecAndFormat, codec, format);
}

void WM9EncoderDllWarper::WMV_SetAudioUseUncompressed(uint8_t use)
{
    Forward(Usable, EntryPoints.WMV_SetAudioUseUncompressed, use);
}

void WM9EncoderDllWarper::WMV_SetAudioBufferWindow(int32_t milliseconds)
{
    Forward(Usable, EntryPoints.WMV_SetAudioBufferWindow, milliseconds);
}

int32_t WM9EncoderDllWarper::WMV_GetVideoCodecCount()
{
    return Forward(Usable, EntryPoints.WMV_GetVideoCodecCount);
}

void WM9EncoderDllWarper::WMV_GetVideoCodecName(int32_t index, char* buffer)
{
    Forward(Usable, EntryPoints.WMV_GetVideoCodecName, index, buffer);
}

void WM9EncoderDllWarper::WMV_SetVideoCodec(int32_t index)
{
    Forward(Usable, EntryPoints.WMV_SetVideoCodec, index);
}

void WM9EncoderDllWarper::WMV_SetVideoUseUncompressed(uint8_t use)
{
    Forward(Usable, EntryPoints.WMV_SetVideoUseUncompressed, use);
}

void WM9EncoderDllWarper::WMV_SetVideoUseVBR(uint8_t use)
{
    Forward(Usable, EntryPoints.WMV_SetVideoUseVBR, use);
}

void WM9EncoderDllWarper::WMV_SetVideoVBRMode(int32_t mode)
{
    Forward(Usable, EntryPoints.WMV_SetVideoVBRMode, mode);
}

void WM9EncoderDllWarper::WMV_SetVideoBufferWindow(int32_t milliseconds)
{
    Forward(Usable, EntryPoints.WMV_SetVideoBufferWindow, milliseconds);
}

void WM9EncoderDllWarper::WMV_SetVideoBitrate(int32_t bitsPerSecond)
{
    Forward(Usable, EntryPoints.WMV_SetVideoBitrate, bitsPerSecond);
}

void WM9EncoderDllWarper::WMV_SetVideoQuality(int32_t quality)
{
    Forward(Usable, EntryPoints.WMV_SetVideoQuality, quality);
}

void WM9EncoderDllWarper::WMV_SetVideoVBRMaxBitrate(int32_t bitsPerSecond)
{
    Forward(Usable, EntryPoints.WMV_SetVideoVBRMaxBitrate, bitsPerSecond);
}

void WM9EncoderDllWarper::WMV_SetVideoVBRMaxBuffer(int32_t milliseconds)
{
    Forward(Usable, EntryPoints.WMV_SetVideoVBRMaxBuffer, milliseconds);
}

void WM9EncoderDllWarper::WMV_SetVideoVBRQuality(int32_t quality)
{
    Forward(Usable, EntryPoints.WMV_SetVideoVBRQuality, quality);
}

void WM9EncoderDllWarper::WMV_SetVideoWidth(int32_t pixels)
{
    Forward(Usable, EntryPoints.WMV_SetVideoWidth, pixels);
}

void WM9EncoderDllWarper::WMV_SetVideoHeight(int32_t pixels)
{
    Forward(Usable, EntryPoints.WMV_SetVideoHeight, pixels);
}

void WM9EncoderDllWarper::WMV_SetVideoFPS(double framesPerSecond)
{
    Forward(Usable, EntryPoints.WMV_SetVideoFPS, framesPerSecond);
}

void WM9EncoderDllWarper::WMV_SetVideoSecsKeyframe(int32_t seconds)
{
    Forward(Usable, EntryPoints.WMV_SetVideoSecsKeyframe, seconds);
}

void WM9EncoderDllWarper::WMV_SetInputParms(uint8_t hasVideo, uint8_t hasAudio, int32_t width, int32_t height,
    double framesPerSecond, int32_t colorFormat, int32_t sampleRate, int32_t channels)
{
    Forward(Usable, EntryPoints.WMV_SetInputParms, hasVideo, hasAudio, width, height, framesPerSecond, colorFormat,
        sampleRate, channels);
}

int32_t WM9EncoderDllWarper::WMV_BeginEncoding()
{
    return Forward(Usable, EntryPoints.WMV_BeginEncoding);
}

int32_t WM9EncoderDllWarper::WMV_EndEncoding()
{
    return Forward(Usable, EntryPoints.WMV_EndEncoding);
}

int32_t WM9EncoderDllWarper::WMV_EncodeVideoSample(const void* frame, double time)
{
    return Forward(Usable, EntryPoints.WMV_EncodeVideoSample, frame, time);
}

int32_t WM9EncoderDllWarper::WMV_EncodeAudioSample(const void* samples, int32_t byteCount, double time)
{
    return Forward(Usable, EntryPoints.WMV_EncodeAudioSample, samples, byteCount, time);
}

int32_t WM9EncoderDllWarper::WMV_GetOutputSize()
{
    return Forward(Usable, EntryPoints.WMV_GetOutputSize);
}

int32_t WM9EncoderDllWarper::WMV_SetupDestinationFile(const char* path)
{
    return Forward(Usable, EntryPoints.WMV_SetupDestinationFile, path);
}

int32_t WM9EncoderDllWarper::WMV_GetUseSystemProfileCount()
{
    return Forward(Usable, EntryPoints.WMV_GetUseSystemProfileCount);
}

void WM9EncoderDllWarper::WMV_GetUseSystemProfileName(int32_t index, char* buffer)
{
    Forward(Usable, EntryPoints.WMV_GetUseSystemProfileName, index, buffer);
}

void WM9EncoderDllWarper::WMV_SetUseSystemProfile(uint8_t use, int32_t index)
{
    Forward(Usable, EntryPoints.WMV_SetUseSystemProfile, use, index);
}

void WM9EncoderDllWarper::WMV_SetVideoTag(
    const char* title, const char* author, const char* copyright, const char* comment, const char* fifth)
{
    Forward(Usable, EntryPoints.WMV_SetVideoTag, title, author, copyright, comment, fifth);
}

std::string WM9EncoderDllWarper::WMV_GetLastError()
{
    return ReadName([&](char* buffer) { Forward(Usable, EntryPoints.WMV_GetLastError, buffer); });
}

// WM9EncoderDllWarper, the binding of the Windows Media encoder library that the program loads at run time.
#pragma once
#include "codecs/sorvane/Sorvane.h"

#include <cstdint>
#include <string>

// The library's entry points, one address per name, null until resolved. The types come from the library's own
// declarations, so the binding and the library cannot disagree on an argument list.
struct TSorvaneEntryPoints {
    decltype(&::WMV_Init) WMV_Init = nullptr;
    decltype(&::WMV_Uninit) WMV_Uninit = nullptr;
    decltype(&::WMV_GetLanguageCount) WMV_GetLanguageCount = nullptr;
    decltype(&::WMV_GetLanguageName) WMV_GetLanguageName = nullptr;
    decltype(&::WMV_SetLanguage) WMV_SetLanguage = nullptr;
    decltype(&::WMV_SetUseSMPTEStream) WMV_SetUseSMPTEStream = nullptr;
    decltype(&::WMV_GetAudioCodecCount) WMV_GetAudioCodecCount = nullptr;
    decltype(&::WMV_GetAudioCodecName) WMV_GetAudioCodecName = nullptr;
    decltype(&::WMV_GetAudioFormatCount) WMV_GetAudioFormatCount = nullptr;
    decltype(&::WMV_GetAudioFormat) WMV_GetAudioFormat = nullptr;
    decltype(&::WMV_SetAudioCodecAndFormat) WMV_SetAudioCodecAndFormat = nullptr;
    decltype(&::WMV_SetAudioUseUncompressed) WMV_SetAudioUseUncompressed = nullptr;
    decltype(&::WMV_SetAudioBufferWindow) WMV_SetAudioBufferWindow = nullptr;
    decltype(&::WMV_GetVideoCodecCount) WMV_GetVideoCodecCount = nullptr;
    decltype(&::WMV_GetVideoCodecName) WMV_GetVideoCodecName = nullptr;
    decltype(&::WMV_SetVideoCodec) WMV_SetVideoCodec = nullptr;
    decltype(&::WMV_GetVideoIsVBR) WMV_GetVideoIsVBR = nullptr;
    decltype(&::WMV_SetVideoUseUncompressed) WMV_SetVideoUseUncompressed = nullptr;
    decltype(&::WMV_GetVideoUncompressedFormatCount) WMV_GetVideoUncompressedFormatCount = nullptr;
    decltype(&::WMV_GetVideoUncompressedFormatName) WMV_GetVideoUncompressedFormatName = nullptr;
    decltype(&::WMV_SetVideoUncompressedFormat) WMV_SetVideoUncompressedFormat = nullptr;
    decltype(&::WMV_SetVideoUseVBR) WMV_SetVideoUseVBR = nullptr;
    decltype(&::WMV_SetVideoVBRMode) WMV_SetVideoVBRMode = nullptr;
    decltype(&::WMV_SetVideoBufferWindow) WMV_SetVideoBufferWindow = nullptr;
    decltype(&::WMV_SetVideoBitrate) WMV_SetVideoBitrate = nullptr;
    decltype(&::WMV_SetVideoQuality) WMV_SetVideoQuality = nullptr;
    decltype(&::WMV_SetVideoVBRMaxBitrate) WMV_SetVideoVBRMaxBitrate = nullptr;
    decltype(&::WMV_SetVideoVBRMaxBuffer) WMV_SetVideoVBRMaxBuffer = nullptr;
    decltype(&::WMV_SetVideoVBRQuality) WMV_SetVideoVBRQuality = nullptr;
    decltype(&::WMV_SetVideoWidth) WMV_SetVideoWidth = nullptr;
    decltype(&::WMV_SetVideoHeight) WMV_SetVideoHeight = nullptr;
    decltype(&::WMV_SetVideoFPS) WMV_SetVideoFPS = nullptr;
    decltype(&::WMV_SetVideoSecsKeyframe) WMV_SetVideoSecsKeyframe = nullptr;
    decltype(&::WMV_SaveProfile) WMV_SaveProfile = nullptr;
    decltype(&::WMV_SetInputParms) WMV_SetInputParms = nullptr;
    decltype(&::WMV_BeginEncoding) WMV_BeginEncoding = nullptr;
    decltype(&::WMV_EndEncoding) WMV_EndEncoding = nullptr;
    decltype(&::WMV_EncodeSample) WMV_EncodeSample = nullptr;
    decltype(&::WMV_EncodeVideoSample) WMV_EncodeVideoSample = nullptr;
    decltype(&::WMV_EncodeAudioSample) WMV_EncodeAudioSample = nullptr;
    decltype(&::WMV_GetOutputSize) WMV_GetOutputSize = nullptr;
    decltype(&::WMV_SetupDestinationFile) WMV_SetupDestinationFile = nullptr;
    decltype(&::WMV_GetUseSystemProfileCount) WMV_GetUseSystemProfileCount = nullptr;
    decltype(&::WMV_GetUseSystemProfileName) WMV_GetUseSystemProfileName = nullptr;
    decltype(&::WMV_SetUseSystemProfile) WMV_SetUseSystemProfile = nullptr;
    decltype(&::WMV_SetId3Tag) WMV_SetId3Tag = nullptr;
    decltype(&::WMV_SetVideoTag) WMV_SetVideoTag = nullptr;
    // Not among the 47: a library without it still binds, and its refusals then come without a reason.
    decltype(&::WMV_GetLastError) WMV_GetLastError = nullptr;
};

// Loads the library from the program's folder and forwards the calls the program makes. The library keeps one
// encoder of its own, so no handle is passed. The resource holder owns the one binding (and initialises the
// library through it); the Windows Media encoder object drives it during a conversion.
class WM9EncoderDllWarper final {
public:
    // The library's file in the program's folder.
    static constexpr const char* LibraryName = "libSorvane.so";

    // Loads ProgramFolder() + LibraryName and resolves the 47 names in the library's order. Usable only when it
    // loaded and every name resolved.
    WM9EncoderDllWarper();
    // Frees the library when it was loaded; the library is not uninitialised here (the resource holder does it).
    ~WM9EncoderDllWarper();
    WM9EncoderDllWarper(const WM9EncoderDllWarper&) = delete;
    WM9EncoderDllWarper& operator=(const WM9EncoderDllWarper&) = delete;

    // The forwarders. Each calls its entry point only on a usable binding; otherwise one with a result gives 0 and
    // one without does nothing. Name buffers are kSorvaneNameBufferSize bytes.
    int32_t WMV_Init();
    int32_t WMV_Uninit();
    void WMV_SetLanguage(int32_t index);
    void WMV_SetUseSMPTEStream(uint8_t use);
    int32_t WMV_GetAudioCodecCount();
    void WMV_GetAudioCodecName(int32_t index, char* buffer);
    int32_t WMV_GetAudioFormatCount(int32_t codec);
    void WMV_GetAudioFormat(int32_t codec, int32_t format, char* buffer);
    void WMV_SetAudioCodecAndFormat(int32_t codec, int32_t format);
    void WMV_SetAudioUseUncompressed(uint8_t use);
    void WMV_SetAudioBufferWindow(int32_t milliseconds);
    int32_t WMV_GetVideoCodecCount();
    void WMV_GetVideoCodecName(int32_t index, char* buffer);
    void WMV_SetVideoCodec(int32_t index);
    void WMV_SetVideoUseUncompressed(uint8_t use);
    void WMV_SetVideoUseVBR(uint8_t use);
    void WMV_SetVideoVBRMode(int32_t mode);
    void WMV_SetVideoBufferWindow(int32_t milliseconds);
    void WMV_SetVideoBitrate(int32_t bitsPerSecond);
    void WMV_SetVideoQuality(int32_t quality);
    void WMV_SetVideoVBRMaxBitrate(int32_t bitsPerSecond);
    void WMV_SetVideoVBRMaxBuffer(int32_t milliseconds);
    void WMV_SetVideoVBRQuality(int32_t quality);
    void WMV_SetVideoWidth(int32_t pixels);
    void WMV_SetVideoHeight(int32_t pixels);
    void WMV_SetVideoFPS(double framesPerSecond);
    void WMV_SetVideoSecsKeyframe(int32_t seconds);
    void WMV_SetInputParms(uint8_t hasVideo, uint8_t hasAudio, int32_t width, int32_t height, double framesPerSecond,
        int32_t colorFormat, int32_t sampleRate, int32_t channels);
    int32_t WMV_BeginEncoding();
    int32_t WMV_EndEncoding();
    int32_t WMV_EncodeVideoSample(const void* frame, double time);
    int32_t WMV_EncodeAudioSample(const void* samples, int32_t byteCount, double time);
    int32_t WMV_GetOutputSize();
    int32_t WMV_SetupDestinationFile(const char* path);
    int32_t WMV_GetUseSystemProfileCount();
    void WMV_GetUseSystemProfileName(int32_t index, char* buffer);
    void WMV_SetUseSystemProfile(uint8_t use, int32_t index);
    void WMV_SetVideoTag(
        const char* title, const char* author, const char* copyright, const char* comment, const char* fifth);
    // The library's reason for its last refusal; empty when it gives none.
    std::string WMV_GetLastError();

    // The library module; null when loading failed.
    void* Module = nullptr;
    // The library loaded and all 47 names resolved.
    bool Usable = false;
    TSorvaneEntryPoints EntryPoints;
};

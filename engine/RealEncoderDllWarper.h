// RealEncoderDllWarper, the binding of the RealMedia encoder library that the program loads at run time.
#pragma once
#include "codecs/tiberl/Tiberl.h"

#include <cstdint>
#include <string>

// The library's entry points, one address per name, null until resolved. The types come from the library's own
// declarations, so the binding and the library cannot disagree on an argument list.
struct TTiberlEntryPoints {
    decltype(&::Real_CreateEncoderHandle) Real_CreateEncoderHandle = nullptr;
    decltype(&::Real_FreeEncoderHandle) Real_FreeEncoderHandle = nullptr;
    decltype(&::Real_SetInputParms) Real_SetInputParms = nullptr;
    decltype(&::Real_SetupDestinationFile) Real_SetupDestinationFile = nullptr;
    decltype(&::Real_SetupMediaProfile) Real_SetupMediaProfile = nullptr;
    decltype(&::Real_SetUse2Pass) Real_SetUse2Pass = nullptr;
    decltype(&::Real_GetAvailableAudiencesCount) Real_GetAvailableAudiencesCount = nullptr;
    decltype(&::Real_GetAvailableAudiencesName) Real_GetAvailableAudiencesName = nullptr;
    decltype(&::Real_SetupAudiences) Real_SetupAudiences = nullptr;
    decltype(&::Real_SetupTag) Real_SetupTag = nullptr;
    decltype(&::Real_BeginEncoding) Real_BeginEncoding = nullptr;
    decltype(&::Real_EndEncoding) Real_EndEncoding = nullptr;
    decltype(&::Real_EncodeSample) Real_EncodeSample = nullptr;
    decltype(&::Real_EncodeVideoSample) Real_EncodeVideoSample = nullptr;
    decltype(&::Real_EncodeAudioSample) Real_EncodeAudioSample = nullptr;
    decltype(&::Real_StartDo2Pass) Real_StartDo2Pass = nullptr;
    decltype(&::Real_GetOutputSize) Real_GetOutputSize = nullptr;
    decltype(&::Real_SetManualSettingsParams) Real_SetManualSettingsParams = nullptr;
    decltype(&::Real_GetAudioCodecCount) Real_GetAudioCodecCount = nullptr;
    decltype(&::Real_GetAudioCodecName) Real_GetAudioCodecName = nullptr;
    decltype(&::Real_SetParamsMode) Real_SetParamsMode = nullptr;
    // Not among the 21: a library without it still binds, and its refusals then come without a reason.
    decltype(&::Real_GetLastError) Real_GetLastError = nullptr;
};

// Loads the library from the program's folder, keeps one encoder handle of it, and forwards the calls the program
// makes with that handle first. The resource holder owns the one binding and keeps it only when it is usable; the
// RealMedia encoder object drives it during a conversion.
class RealEncoderDllWarper final {
public:
    // The library's file in the program's folder.
    static constexpr const char* LibraryName = "libTiberl.so";

    // Loads ProgramFolder() + LibraryName and resolves the 21 names in the library's order. Usable only when it
    // loaded and every name resolved. No handle yet.
    RealEncoderDllWarper();
    // Frees the encoder handle, then the library.
    ~RealEncoderDllWarper();
    RealEncoderDllWarper(const RealEncoderDllWarper&) = delete;
    RealEncoderDllWarper& operator=(const RealEncoderDllWarper&) = delete;

    // Frees the current handle, if any, and on a usable binding creates a fresh one: every run starts on its own.
    void CreateHandle();

    // The forwarders, each passing EncoderHandle first. They are meant for a usable binding; on any other they give
    // 0 and do nothing. The library refuses handle 0 the same way. Name buffers are kTiberlNameBufferSize bytes.
    int32_t Real_SetInputParms(uint8_t hasVideo, uint8_t hasAudio, int32_t width, int32_t height,
        double framesPerSecond, int32_t colorFormat, int32_t sampleRate, int32_t channels);
    int32_t Real_SetupDestinationFile(const char* path);
    int32_t Real_SetupMediaProfile(uint8_t audioContent, uint8_t videoContent);
    int32_t Real_SetUse2Pass(uint8_t use);
    int32_t Real_SetupTag(
        const char* title, const char* author, const char* copyright, const char* comment, const char* fifth);
    int32_t Real_BeginEncoding();
    int32_t Real_EndEncoding();
    int32_t Real_EncodeVideoSample(const void* frame, double startTime, double endTime);
    int32_t Real_EncodeAudioSample(const void* samples, int32_t byteCount, double startTime, double endTime);
    // Megabytes: the library's byte count divided by 1024 twice.
    double Real_GetOutputSize();
    int32_t Real_SetManualSettingsParams(const RealManualSettings* settings);
    int32_t Real_GetAudioCodecCount();
    void Real_GetAudioCodecName(int32_t index, char* buffer);
    int32_t Real_SetParamsMode(uint8_t mode);
    // The library's reason for the handle's last refusal; empty when it gives none.
    std::string Real_GetLastError();

    // The library module; null when loading failed.
    void* Module = nullptr;
    // The library loaded and all 21 names resolved.
    bool Usable = false;
    TTiberlEntryPoints EntryPoints;
    // The library's encoder handle; 0 when none.
    RealEncoderHandle EncoderHandle = 0;
};

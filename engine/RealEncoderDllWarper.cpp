#include "engine/RealEncoderDllWarper.h"

#include "engine/AppServices.h"
#include "engine/LibraryBinding.h"

using namespace LibraryBinding;

RealEncoderDllWarper::RealEncoderDllWarper()
{
    Module = LoadLibraryFile(ProgramFolder() + LibraryName);
    if (!Module)
        return;
    TTiberlEntryPoints& e = EntryPoints;
    // Every name is looked up, in the library's order, even after one is missing.
    bool all = true;
    all &= Resolve(Module, "Real_CreateEncoderHandle", e.Real_CreateEncoderHandle);
    all &= Resolve(Module, "Real_FreeEncoderHandle", e.Real_FreeEncoderHandle);
    all &= Resolve(Module, "Real_SetInputParms", e.Real_SetInputParms);
    all &= Resolve(Module, "Real_SetupDestinationFile", e.Real_SetupDestinationFile);
    all &= Resolve(Module, "Real_SetupMediaProfile", e.Real_SetupMediaProfile);
    all &= Resolve(Module, "Real_SetUse2Pass", e.Real_SetUse2Pass);
    all &= Resolve(Module, "Real_GetAvailableAudiencesCount", e.Real_GetAvailableAudiencesCount);
    all &= Resolve(Module, "Real_GetAvailableAudiencesName", e.Real_GetAvailableAudiencesName);
    all &= Resolve(Module, "Real_SetupAudiences", e.Real_SetupAudiences);
    all &= Resolve(Module, "Real_SetupTag", e.Real_SetupTag);
    all &= Resolve(Module, "Real_BeginEncoding", e.Real_BeginEncoding);
    all &= Resolve(Module, "Real_EndEncoding", e.Real_EndEncoding);
    all &= Resolve(Module, "Real_EncodeSample", e.Real_EncodeSample);
    all &= Resolve(Module, "Real_EncodeVideoSample", e.Real_EncodeVideoSample);
    all &= Resolve(Module, "Real_EncodeAudioSample", e.Real_EncodeAudioSample);
    all &= Resolve(Module, "Real_StartDo2Pass", e.Real_StartDo2Pass);
    all &= Resolve(Module, "Real_GetOutputSize", e.Real_GetOutputSize);
    all &= Resolve(Module, "Real_SetManualSettingsParams", e.Real_SetManualSettingsParams);
    all &= Resolve(Module, "Real_GetAudioCodecCount", e.Real_GetAudioCodecCount);
    all &= Resolve(Module, "Real_GetAudioCodecName", e.Real_GetAudioCodecName);
    all &= Resolve(Module, "Real_SetParamsMode", e.Real_SetParamsMode);
    Usable = all;
    Resolve(Module, "Real_GetLastError", e.Real_GetLastError);
}

RealEncoderDllWarper::~RealEncoderDllWarper()
{
    // The handle goes first: the library that made it must still be there to free it.
    if (EncoderHandle != 0)
        Forward(Usable, EntryPoints.Real_FreeEncoderHandle, EncoderHandle);
    EncoderHandle = 0;
    FreeLibraryModule(Module);
}

void RealEncoderDllWarper::CreateHandle()
{
    if (EncoderHandle != 0) {
        Forward(Usable, EntryPoints.Real_FreeEncoderHandle, EncoderHandle);
        EncoderHandle = 0;
    }
    if (Usable)
        EncoderHandle = Forward(Usable, EntryPoints.Real_CreateEncoderHandle);
}

int32_t RealEncoderDllWarper::Real_SetInputParms(uint8_t hasVideo, uint8_t hasAudio, int32_t width, int32_t height,
    double framesPerSecond, int32_t colorFormat, int32_t sampleRate, int32_t channels)
{
    return Forward(Usable, EntryPoints.Real_SetInputParms, EncoderHandle, hasVideo, hasAudio, width, height,
        framesPerSecond, colorFormat, sampleRate, channels);
}

int32_t RealEncoderDllWarper::Real_SetupDestinationFile(const char* path)
{
    return Forward(Usable, EntryPoints.Real_SetupDestinationFile, EncoderHandle, path);
}

int32_t RealEncoderDllWarper::Real_SetupMediaProfile(uint8_t audioContent, uint8_t videoContent)
{
    return Forward(Usable, EntryPoints.Real_SetupMediaProfile, EncoderHandle, audioContent, videoContent);
}

int32_t RealEncoderDllWarper::Real_SetUse2Pass(uint8_t use)
{
    return Forward(Usable, EntryPoints.Real_SetUse2Pass, EncoderHandle, use);
}

int32_t RealEncoderDllWarper::Real_SetupTag(
    const char* title, const char* author, const char* copyright, const char* comment, const char* fifth)
{
    return Forward(Usable, EntryPoints.Real_SetupTag, EncoderHandle, title, author, copyright, comment, fifth);
}

int32_t RealEncoderDllWarper::Real_BeginEncoding()
{
    return Forward(Usable, EntryPoints.Real_BeginEncoding, EncoderHandle);
}

int32_t RealEncoderDllWarper::Real_EndEncoding()
{
    return Forward(Usable, EntryPoints.Real_EndEncoding, EncoderHandle);
}

int32_t RealEncoderDllWarper::Real_EncodeVideoSample(const void* frame, double startTime, double endTime)
{
    return Forward(Usable, EntryPoints.Real_EncodeVideoSample, EncoderHandle, frame, startTime, endTime);
}

int32_t RealEncoderDllWarper::Real_EncodeAudioSample(
    const void* samples, int32_t byteCount, double startTime, double endTime)
{
    return Forward(Usable, EntryPoints.Real_EncodeAudioSample, EncoderHandle, samples, byteCount, startTime, endTime);
}

double RealEncoderDllWarper::Real_GetOutputSize()
{
    const uint32_t bytes = Forward(Usable, EntryPoints.Real_GetOutputSize, EncoderHandle);
    return double(bytes) / 1024 / 1024;
}

int32_t RealEncoderDllWarper::Real_SetManualSettingsParams(const RealManualSettings* settings)
{
    return Forward(Usable, EntryPoints.Real_SetManualSettingsParams, EncoderHandle, settings);
}

int32_t RealEncoderDllWarper::Real_GetAudioCodecCount()
{
    return Forward(Usable, EntryPoints.Real_GetAudioCodecCount, EncoderHandle);
}

void RealEncoderDllWarper::Real_GetAudioCodecName(int32_t index, char* buffer)
{
    Forward(Usable, EntryPoints.Real_GetAudioCodecName, EncoderHandle, index, buffer);
}

int32_t RealEncoderDllWarper::Real_SetParamsMode(uint8_t mode)
{
    return Forward(Usable, EntryPoints.Real_SetParamsMode, EncoderHandle, mode);
}

std::string RealEncoderDllWarper::Real_GetLastError()
{
    return ReadName([&](char* buffer) { Forward(Usable, EntryPoints.Real_GetLastError, EncoderHandle, buffer); });
}

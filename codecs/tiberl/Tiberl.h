// The RealMedia encoder library's entry points and its manual-settings block: encoders reached through handles.
#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>

// The library is a shared object (libTiberl.so) that the program loads at run time and binds by these names;
// nothing else of it is visible. It writes RealMedia files with RealVideo G2 video and the audio codecs below.
//
// Conventions: a handle names one encoder; 0 is no encoder, and a handle that was freed or never given out is
// refused like 0 (results 0, nothing done). Byte arguments are 0 or 1; name buffers hold 1024 bytes and always
// receive a zero-terminated name (empty for an index outside the list); int32 results are nonzero for success.
// Every entry point may be called from any thread; calls are taken one at a time.
//
// A run: Real_SetInputParms, Real_SetupDestinationFile, the settings calls and Real_SetupTag record settings;
// Real_BeginEncoding creates the file from them; the Encode* calls add frames and samples; Real_EndEncoding
// finishes the file, and so does freeing the handle.

using RealEncoderHandle = uint32_t;

constexpr int32_t kTiberlNameBufferSize = 1024;

// The manual settings of Real_SetManualSettingsParams: 72 bytes, little-endian, every byte defined.
struct RealManualSettings {
    int32_t UseVBR; // 1: variable bit rate between the average and the maximum.
    int32_t VideoCodec; // 2, 1, 0: RealVideo 8, 9, 10, all coded as RealVideo G2 here. Recorded.
    int32_t NoiseFilter; // 0 strong, 1 light, 2 off.
    int32_t Reserved12;
    double FrameRate; // Frames per second to code; 0 takes the input's rate.
    int32_t Reserved24;
    int32_t AverageKbps; // The video bit rate, kbit/s.
    int32_t MaxKbps; // The peak of a variable bit rate, kbit/s.
    int32_t TargetKbps; // Recorded.
    int32_t Quality; // Picture quality 0 to 100. Recorded.
    int32_t AudioCodec; // Index into the audio codec list.
    double MaxStartupLatency; // Seconds of video the player buffers before it starts: the rate control's window.
    double MaxKeyframeInterval; // Seconds.
    int32_t VBRMode; // 0 constant bit rate, 2 bit rate with a peak. Recorded; UseVBR decides.
    uint8_t Flags[2]; // Recorded.
    uint8_t Reserved70[2];
};

static_assert(std::endian::native == std::endian::little, "the block is little-endian, as the machine must be");
static_assert(sizeof(RealManualSettings) == 72);
static_assert(offsetof(RealManualSettings, VideoCodec) == 4);
static_assert(offsetof(RealManualSettings, NoiseFilter) == 8);
static_assert(offsetof(RealManualSettings, FrameRate) == 16);
static_assert(offsetof(RealManualSettings, AverageKbps) == 28);
static_assert(offsetof(RealManualSettings, MaxKbps) == 32);
static_assert(offsetof(RealManualSettings, TargetKbps) == 36);
static_assert(offsetof(RealManualSettings, Quality) == 40);
static_assert(offsetof(RealManualSettings, AudioCodec) == 44);
static_assert(offsetof(RealManualSettings, MaxStartupLatency) == 48);
static_assert(offsetof(RealManualSettings, MaxKeyframeInterval) == 56);
static_assert(offsetof(RealManualSettings, VBRMode) == 64);
static_assert(offsetof(RealManualSettings, Flags) == 68);

extern "C" {
#pragma GCC visibility push(default)

// A new encoder with the default settings; 0 when none can be made.
RealEncoderHandle Real_CreateEncoderHandle();
// Finishes the encoder's run, if any, and frees it.
void Real_FreeEncoderHandle(RealEncoderHandle handle);

// What the encode calls will bring: whether there is video (required) and audio, the frames' size, rate and
// colour code (4 or 5: planar 4:2:0), and the samples' rate and channel count (interleaved signed 16-bit).
// RealVideo codes sizes in multiples of 4; the frames are scaled down to the nearest one below.
int32_t Real_SetInputParms(RealEncoderHandle handle, uint8_t hasVideo, uint8_t hasAudio, int32_t width, int32_t height,
    double framesPerSecond, int32_t colorFormat, int32_t sampleRate, int32_t channels);
// The output path; 0 for a null or empty path.
int32_t Real_SetupDestinationFile(RealEncoderHandle handle, const char* path);
// The kind of audio (0 music, 1 voice) and video content (0 normal); recorded.
int32_t Real_SetupMediaProfile(RealEncoderHandle handle, uint8_t audioContent, uint8_t videoContent);
// Two-pass coding is not supported: 1 is refused (0), 0 accepted.
int32_t Real_SetUse2Pass(RealEncoderHandle handle, uint8_t use);

// Audiences: named bit-rate targets, used while the parameters mode is 0.
int32_t Real_GetAvailableAudiencesCount(RealEncoderHandle handle);
void Real_GetAvailableAudiencesName(RealEncoderHandle handle, int32_t index, char* buffer);
int32_t Real_SetupAudiences(RealEncoderHandle handle, int32_t index);

// The title, author, copyright and comment of the next run; the keywords are not stored.
int32_t Real_SetupTag(RealEncoderHandle handle, const char* title, const char* author, const char* copyright,
    const char* comment, const char* keywords);

// Creates the output file; 0 when the settings are incomplete or refused, or the file cannot be made, and then
// no file is left behind.
int32_t Real_BeginEncoding(RealEncoderHandle handle);
// Finishes the file of the run; 0 when it could not be finished. Without a run it does nothing and returns 1.
int32_t Real_EndEncoding(RealEncoderHandle handle);
// One frame (audio: 1, video: 0) as Real_EncodeAudioSample or Real_EncodeVideoSample would take it.
int32_t Real_EncodeSample(
    RealEncoderHandle handle, uint8_t isAudio, const void* data, int32_t byteCount, double start, double end);
// One frame of the input size and colour code shown from `start` to `end` seconds; 1 when it was taken.
int32_t Real_EncodeVideoSample(RealEncoderHandle handle, const void* frame, double start, double end);
// Whole sample frames from `start` seconds; the first block places the audio, the rest follows by sample count.
// Without audio in the input parameters every block is taken and dropped.
int32_t Real_EncodeAudioSample(
    RealEncoderHandle handle, const void* samples, int32_t byteCount, double start, double end);
// Two-pass coding is not supported: always 0.
int32_t Real_StartDo2Pass(RealEncoderHandle handle);
// Bytes written by the current run, or by the last one after it ended; saturated at the largest count.
uint32_t Real_GetOutputSize(RealEncoderHandle handle);
// Why the handle's last refused call was refused, with the system's words where the system refused ("cannot
// write to the file: No space left on device"); empty when none was.
void Real_GetLastError(RealEncoderHandle handle, char* buffer);
// Takes the 72-byte block (used while the parameters mode is 1); 0, keeping the settings, for a null block or
// values out of range.
int32_t Real_SetManualSettingsParams(RealEncoderHandle handle, const RealManualSettings* settings);

// The audio codecs; a name holds "(music)" or "(voice)" for what it is made for, and "Multichannel" for 5.1.
int32_t Real_GetAudioCodecCount(RealEncoderHandle handle);
void Real_GetAudioCodecName(RealEncoderHandle handle, int32_t index, char* buffer);
// 1: the manual settings decide the bit rates and the audio codec; 0: the audience does.
int32_t Real_SetParamsMode(RealEncoderHandle handle, uint8_t mode);

#pragma GCC visibility pop
}

// The Windows Media encoder library's entry points: one encoder per process, set up call by call, then fed frames.
#pragma once
#include <cstdint>

// The library is a shared object (libSorvane.so) that the program loads at run time and binds by these names;
// nothing else of it is visible. It writes ASF files with Windows Media Video 7 or 8 and Windows Media Audio.
//
// Conventions: byte arguments are 0 or 1; name buffers hold 1024 bytes and always receive a zero-terminated
// name (empty for an index outside the list); int32 results are nonzero for success unless said otherwise.
// Every entry point may be called from any thread; calls are taken one at a time. Before WMV_Init and after
// WMV_Uninit they do nothing and return 0 (the name getters give the empty name).
//
// A run: the Set* calls, WMV_SetInputParms, WMV_SetupDestinationFile and WMV_SetVideoTag record settings;
// WMV_BeginEncoding creates the file from them; the Encode* calls add frames and samples; WMV_EndEncoding
// finishes the file. Settings stay for the next run until changed.

constexpr int32_t kSorvaneNameBufferSize = 1024;

extern "C" {
#pragma GCC visibility push(default)

// Starts the library; 1 when it is ready. Calling it again keeps the state and returns 1.
int32_t WMV_Init();
// Ends a run still open (its file is finished) and forgets every setting.
int32_t WMV_Uninit();

// The languages of the names the library gives: only "English".
int32_t WMV_GetLanguageCount();
void WMV_GetLanguageName(int32_t index, char* buffer);
void WMV_SetLanguage(int32_t index);
// Recorded; ASF files carry no SMPTE time code stream here.
void WMV_SetUseSMPTEStream(uint8_t use);

// The audio codecs and, per codec, its formats ("64 kbps, 44 kHz, stereo CBR"): rate, channels and bit rate.
int32_t WMV_GetAudioCodecCount();
void WMV_GetAudioCodecName(int32_t index, char* buffer);
int32_t WMV_GetAudioFormatCount(int32_t codec);
void WMV_GetAudioFormat(int32_t codec, int32_t format, char* buffer);
void WMV_SetAudioCodecAndFormat(int32_t codec, int32_t format);
// Uncompressed audio cannot be written; a run asked for it does not begin.
void WMV_SetAudioUseUncompressed(uint8_t use);
// Milliseconds; recorded.
void WMV_SetAudioBufferWindow(int32_t milliseconds);

// The video codecs: "Windows Media Video 8" and "Windows Media Video 7".
int32_t WMV_GetVideoCodecCount();
void WMV_GetVideoCodecName(int32_t index, char* buffer);
void WMV_SetVideoCodec(int32_t index);
int32_t WMV_GetVideoIsVBR();
// Uncompressed video cannot be written; a run asked for it does not begin.
void WMV_SetVideoUseUncompressed(uint8_t use);
int32_t WMV_GetVideoUncompressedFormatCount();
void WMV_GetVideoUncompressedFormatName(int32_t index, char* buffer);
void WMV_SetVideoUncompressedFormat(int32_t index);
// Rate control. Without VBR the video keeps to the bit rate within the buffer window (milliseconds). With VBR,
// mode 1 codes at a constant quality from the VBR quality (0 to 100, best at 100); any other mode aims at the
// bit rate, peaking at the VBR maximum when one is given (0: none). The quality (smoothness) is recorded.
void WMV_SetVideoUseVBR(uint8_t use);
void WMV_SetVideoVBRMode(int32_t mode);
void WMV_SetVideoBufferWindow(int32_t milliseconds);
void WMV_SetVideoBitrate(int32_t bitsPerSecond);
void WMV_SetVideoQuality(int32_t quality);
void WMV_SetVideoVBRMaxBitrate(int32_t bitsPerSecond);
void WMV_SetVideoVBRMaxBuffer(int32_t milliseconds);
void WMV_SetVideoVBRQuality(int32_t quality);
// The coded size; 0 keeps the input frames' size. WMV needs even sizes, so odd ones lose their last pixel.
void WMV_SetVideoWidth(int32_t pixels);
void WMV_SetVideoHeight(int32_t pixels);
// The coded frame rate; frames are dropped or repeated by their times to keep it. 0 takes the input's rate.
void WMV_SetVideoFPS(double framesPerSecond);
// The longest distance between two key frames, in seconds.
void WMV_SetVideoSecsKeyframe(int32_t seconds);
// Saving the settings as a profile file is not supported: always 0.
int32_t WMV_SaveProfile(const char* path);

// What the encode calls will bring: whether there is video (required) and audio, the frames' size, rate and
// colour code (4 or 5: planar 4:2:0), and the samples' rate and channel count (interleaved signed 16-bit).
void WMV_SetInputParms(uint8_t hasVideo, uint8_t hasAudio, int32_t width, int32_t height, double framesPerSecond,
    int32_t colorFormat, int32_t sampleRate, int32_t channels);

// Creates the output file; 0 when the settings are incomplete or refused, or the file cannot be made, and then
// no file is left behind.
int32_t WMV_BeginEncoding();
// Finishes the file of the run; 0 when it could not be finished. Without a run (never begun, or already ended)
// it does nothing and returns 1, so it may be called any number of times.
int32_t WMV_EndEncoding();
// One frame (audio: 1, video: 0) as WMV_EncodeAudioSample or WMV_EncodeVideoSample would take it.
int32_t WMV_EncodeSample(uint8_t isAudio, const void* data, int32_t byteCount, double time);
// One frame of the input size and colour code at `time` seconds from the start; 1 when it was taken.
int32_t WMV_EncodeVideoSample(const void* frame, double time);
// Whole sample frames at `time` seconds; the first block places the audio, the rest follows by sample count.
// Without audio in the input parameters every block is taken and dropped.
int32_t WMV_EncodeAudioSample(const void* samples, int32_t byteCount, double time);
// Bytes written by the current run, or by the last one after it ended; an unsigned 32-bit count, saturated.
int32_t WMV_GetOutputSize();
// The output path; 0 for a null or empty path.
int32_t WMV_SetupDestinationFile(const char* path);
// Why the last refused call of the run (or of the run that began last) was refused, with the system's words
// where the system refused ("cannot write to the file: No space left on device"); empty when none was.
void WMV_GetLastError(char* buffer);

// System profiles: named settings (size, frame rate, bit rates, codecs) that replace the custom ones of a run.
int32_t WMV_GetUseSystemProfileCount();
void WMV_GetUseSystemProfileName(int32_t index, char* buffer);
void WMV_SetUseSystemProfile(uint8_t use, int32_t index);
// ID3 tags belong to audio files; ASF files carry the content description of WMV_SetVideoTag instead. Ignored.
void WMV_SetId3Tag(const char* title, const char* artist, const char* album, const char* year, const char* comment);
// The content description of the next run: title, author, copyright, description and rating (not stored).
void WMV_SetVideoTag(
    const char* title, const char* author, const char* copyright, const char* description, const char* rating);

#pragma GCC visibility pop
}

// The second decoding library: handle-based operations, its open parameters and info block, and its callbacks.
#pragma once
#include <cstddef>
#include <cstdint>

// A library object; 0 is none. Handles are never reused, so a stale one is simply unknown.
using QuentimHandle = uintptr_t;

struct QuentimInfo;

// The callbacks a running handle calls, on the library's own threads (never on the caller's), one at a time and
// never while the library holds a lock. A false result ends the decoding as a stop would, and no end callback
// follows. Frame and sample pointers are valid during the call only.
using QuentimBeginCallback = bool (*)(QuentimInfo* info);
using QuentimVideoCallback = bool (*)(double startTime, double endTime, void* frame);
using QuentimAudioCallback = bool (*)(double startTime, double endTime, void* samples, int32_t byteCount);
using QuentimEndCallback = bool (*)();

// What Quentim_Open is given, zeroed before use. The marker fields carry the values the engine always sends and
// are not read; the path field and the callbacks are pointers, so the block is wider than on 32-bit systems,
// but the fields keep their order.
struct QuentimOpenParams {
    uint8_t WithCallbacks = 0; // 1 when decoding with callbacks; 0 for a probe, which only reads the info.
    uint8_t Zero1 = 0;
    uint16_t Marker2 = 0; // 1.
    const char* FileName = nullptr; // Zero-terminated; null counts as empty (the open then fails).
    uint8_t Marker8 = 0; // 1.
    uint8_t Marker9 = 0; // 1.
    uint8_t WithAudio = 0; // 1: audio blocks go to the audio callback (a conversion).
    uint8_t Marker11 = 0;
    uint8_t RealTime = 0; // 1: frames come at the pace of playback, without audio (a preview).
    uint8_t Zero13[3] = {};
    int32_t ColorFormat = 0; // The colour code wanted for the frames: 1, 3, 4 or 5.
    int32_t Marker20 = 0; // 4 for a conversion or a probe, 3 for a preview.
    int32_t Marker24 = 0; // 1, 0.
    int32_t Marker28 = 0; // 3, 0.
    int32_t Marker32 = 0; // 4, 2.
    QuentimBeginCallback Begin = nullptr;
    QuentimVideoCallback Video = nullptr;
    QuentimAudioCallback Audio = nullptr;
    QuentimEndCallback End = nullptr;
};

// The library's description of an open file: filled by Quentim_GetInfo and handed to the begin callback. The
// layout is fixed byte for byte. Only the default video and audio stream of the file are described.
struct QuentimInfo {
    uint8_t Opened; // Nonzero when the file is open.
    uint8_t Reserved1[7];
    double Duration; // Seconds.
    uint8_t Unused16;
    uint8_t HasVideo;
    uint8_t Reserved18[2];
    int32_t Width;
    int32_t Height;
    uint8_t Reserved28[4];
    double FrameRate;
    uint8_t ColorFormat; // The colour code of the frames.
    uint8_t HasAudio;
    uint8_t Reserved42[2];
    int32_t BitsPerSample; // Always 16.
    int32_t SampleRate; // Hz.
    // Quentim_GetInfo reports the stream's own count; the begin callback is told the count of the blocks that
    // follow, at most 2, since more channels are mixed down to stereo.
    int32_t Channels;
};

static_assert(sizeof(QuentimInfo) == 56);
static_assert(offsetof(QuentimInfo, Opened) == 0);
static_assert(offsetof(QuentimInfo, Duration) == 8);
static_assert(offsetof(QuentimInfo, Unused16) == 16);
static_assert(offsetof(QuentimInfo, HasVideo) == 17);
static_assert(offsetof(QuentimInfo, Width) == 20);
static_assert(offsetof(QuentimInfo, Height) == 24);
static_assert(offsetof(QuentimInfo, FrameRate) == 32);
static_assert(offsetof(QuentimInfo, ColorFormat) == 40);
static_assert(offsetof(QuentimInfo, HasAudio) == 41);
static_assert(offsetof(QuentimInfo, BitsPerSample) == 44);
static_assert(offsetof(QuentimInfo, SampleRate) == 48);
static_assert(offsetof(QuentimInfo, Channels) == 52);

// Quentim_GetState's results.
constexpr int32_t kQuentimRunning = 1; // Decoding, or playing a preview.
constexpr int32_t kQuentimStopped = 2; // Never run, run to its end, or unknown handle.
constexpr int32_t kQuentimPaused = 3;

// Every operation takes the handle first (except Create) and does nothing, reporting failure, for an unknown
// handle. Calls on one handle come from one controlling thread at a time; from inside one of the handle's own
// callbacks only Pause, GetPosition, GetState and Destroy may be called.

// A new, unopened handle; 0 when memory runs out.
QuentimHandle Quentim_Create();
// Stops the decoding, waits until no callback runs, and frees the handle. Called from inside one of the handle's
// callbacks, it cannot wait for itself: the handle is gone at once, and the decoding ends when the callback returns.
void Quentim_Destroy(QuentimHandle handle);
// Opens the file and picks its default video and audio streams; nonzero when opened. A handle may be opened again
// (a running one is stopped first).
uint8_t Quentim_Open(QuentimHandle handle, QuentimOpenParams* params);
// Describes the open file, frames in the colour code of the open; an all-zero block when nothing is open.
void Quentim_GetInfo(QuentimHandle handle, QuentimInfo* info);
// Seconds from the start of the file; -1.0 is no limit. Frames starting in [start, end) are delivered. Kept
// across opens; takes effect at the next start from the beginning.
void Quentim_SetRange(QuentimHandle handle, double startTime, double endTime);
// A per-run setting the engine sends once before each conversion (always 0); accepted and ignored.
void Quentim_SetConversionFlags(QuentimHandle handle, int32_t flags);
// Starts decoding on the library's threads and returns at once, or resumes a paused handle; nonzero when running.
// After the end a new run starts again from the range start, with a new begin callback.
uint8_t Quentim_Run(QuentimHandle handle);
// Nonzero when paused.
uint8_t Quentim_Pause(QuentimHandle handle);
// Nonzero when `position` was written: the start of the last frame delivered, in seconds (at the natural end,
// the duration or the range end).
int32_t Quentim_GetPosition(QuentimHandle handle, double* position);
// Nonzero when accepted; works while running, paused or stopped.
int32_t Quentim_Seek(QuentimHandle handle, double position);
int32_t Quentim_GetState(QuentimHandle handle);

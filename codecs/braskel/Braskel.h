// The codec library's interface: the media reader with its two blocks and callbacks, the media writer, the frame
// scaler, the colour converter, and the factory functions that create and release them.
#pragma once
#include <cstddef>
#include <cstdint>

struct MediaReaderInfo;

// The callbacks a reader calls while it decodes. They run on the thread that decodes (Run's caller, or the
// reader's own thread in a preview), never while the reader holds a lock; a false result ends the decoding as
// Stop would, and no end callback follows. Frame and sample pointers are valid during the call only.
using MediaReaderBeginCallback = bool (*)(MediaReaderInfo* info);
using MediaReaderVideoCallback = bool (*)(double startTime, double endTime, void* frame);
using MediaReaderAudioCallback = bool (*)(double startTime, double endTime, void* samples, int32_t byteCount);
using MediaReaderEndCallback = bool (*)();

// What the engine hands to Open. Callbacks may be null; a probe passes none.
struct MediaReaderOpenParams {
    uint8_t Marker0 = 0; // The engine always sends 1 here and in Marker1; the reader does not read them.
    uint8_t Marker1 = 0;
    int32_t ColorFormat = 0; // The colour code wanted for the frames: 5 for a conversion or a probe, 1 for a preview.
    MediaReaderBeginCallback Begin = nullptr;
    MediaReaderVideoCallback Video = nullptr;
    MediaReaderAudioCallback Audio = nullptr;
    MediaReaderEndCallback End = nullptr;
};

// One video stream of the file, in file order.
struct MediaReaderVideoStream {
    char CodecName[32]; // Zero-terminated, at most 31 characters.
    int32_t Width;
    int32_t Height;
    int32_t AspectX; // The display aspect, reduced; 0:1 when the file does not say.
    int32_t AspectY;
    double FrameRate;
};

// One audio stream of the file, in file order. Channels is the stream's own count; decoded blocks carry at most 2.
struct MediaReaderAudioStream {
    char CodecName[32];
    int32_t SampleRate;
    int32_t Channels;
};

// What GetInfo fills, and what the begin callback receives. The layout is fixed byte for byte.
struct MediaReaderInfo {
    uint8_t Opened; // Nonzero when the file is open.
    uint8_t Reserved1[39];
    double Duration; // Seconds.
    uint8_t Reserved48[4];
    uint8_t Unused52;
    uint8_t HasVideo;
    uint8_t ColorFormat; // The colour code of the frames.
    uint8_t Reserved55;
    int32_t VideoStreamCount; // At most 16.
    uint8_t Reserved60[4];
    MediaReaderVideoStream VideoStreams[16];
    uint8_t HasAudio;
    uint8_t Reserved961[3];
    int32_t AudioStreamCount; // At most 16.
    MediaReaderAudioStream AudioStreams[16];
};

static_assert(sizeof(MediaReaderVideoStream) == 56);
static_assert(offsetof(MediaReaderVideoStream, Width) == 32);
static_assert(offsetof(MediaReaderVideoStream, Height) == 36);
static_assert(offsetof(MediaReaderVideoStream, AspectX) == 40);
static_assert(offsetof(MediaReaderVideoStream, AspectY) == 44);
static_assert(offsetof(MediaReaderVideoStream, FrameRate) == 48);
static_assert(sizeof(MediaReaderAudioStream) == 40);
static_assert(offsetof(MediaReaderAudioStream, SampleRate) == 32);
static_assert(offsetof(MediaReaderAudioStream, Channels) == 36);
static_assert(sizeof(MediaReaderInfo) == 1608);
static_assert(offsetof(MediaReaderInfo, Opened) == 0);
static_assert(offsetof(MediaReaderInfo, Duration) == 40);
static_assert(offsetof(MediaReaderInfo, Unused52) == 52);
static_assert(offsetof(MediaReaderInfo, HasVideo) == 53);
static_assert(offsetof(MediaReaderInfo, ColorFormat) == 54);
static_assert(offsetof(MediaReaderInfo, VideoStreamCount) == 56);
static_assert(offsetof(MediaReaderInfo, VideoStreams) == 64);
static_assert(offsetof(MediaReaderInfo, HasAudio) == 960);
static_assert(offsetof(MediaReaderInfo, AudioStreamCount) == 964);
static_assert(offsetof(MediaReaderInfo, AudioStreams) == 968);

// GetState's results.
constexpr int32_t kMediaReaderRunning = 1;
constexpr int32_t kMediaReaderStopped = 2;
constexpr int32_t kMediaReaderPaused = 3;
constexpr int32_t kMediaReaderPlaying = 4;

// The built-in decoding engine for one file. The virtuals are the library's operation slots, in slot order;
// byte results are 0 for success. Control calls (Pause, Stop, Seek, GetPosition, GetState) may come from any
// thread while Run decodes on another.
class MediaReader {
public:
    // Slot 0: opens the file and reads its streams, remembering the callbacks and the colour code.
    virtual uint8_t Open(MediaReaderOpenParams* params) = 0;
    // Slot 1: opens the chosen streams' decoders and moves to the range start.
    virtual uint8_t Prepare() = 0;
    // Slot 2: not used by the engine; fails.
    virtual uint8_t Unused2() = 0;
    // Slot 3: seconds from the start of the file; -1.0 is no limit. Frames starting in [start, end) are delivered.
    virtual uint8_t SetRange(double startTime, double endTime) = 0;
    // Slot 4: accepted and ignored.
    virtual uint8_t Unnamed4(int32_t first, int32_t second) = 0;
    // Slot 5: works after a failed Open too (open flag 0). Video and audio records in file order.
    virtual uint8_t GetInfo(MediaReaderInfo* info) = 0;
    // Slots 6 and 7: the number of the stream among the file's video (audio) streams; used by the next Prepare.
    virtual uint8_t SetVideoStream(int32_t index) = 0;
    virtual uint8_t SetAudioStream(int32_t index) = 0;
    // Slot 8: decodes on the calling thread, calling begin, video, audio and end, until the range ends or Stop.
    virtual uint8_t Run() = 0;
    // Slot 9.
    virtual uint8_t Pause() = 0;
    // Slot 10: returns once every callback has returned and none can start; a blocked Run then returns.
    virtual uint8_t Stop() = 0;
    // Slot 11: plays on the reader's own thread at real-time pace, frames in colour code 1, no audio; returns
    // at once. Resumes a paused preview; after the end it starts again from the range start.
    virtual uint8_t Play(uintptr_t window) = 0;
    // Slot 12.
    virtual uint8_t Resume() = 0;
    // Slot 13: seconds; at the natural end, the duration.
    virtual uint8_t GetPosition(double* position) = 0;
    // Slot 14: works while running, playing, paused or stopped.
    virtual uint8_t Seek(double position) = 0;
    // Slot 15: kMediaReaderRunning, kMediaReaderStopped, kMediaReaderPaused or kMediaReaderPlaying.
    virtual int32_t GetState() = 0;

    virtual ~MediaReader() = default;
};

// Converts whole frames between colour codes at one size. Packed outputs (codes 1 and 3) are bottom-up, like
// every packed frame of the library: the picture's top row is the buffer's last row.
class ColorConverter {
public:
    // Codes 1, 3, 4 and 5 on both sides; false for other codes or a size outside 1..16384.
    virtual bool Init(int32_t width, int32_t height, int32_t sourceFormat, int32_t targetFormat) = 0;
    // Bytes of one converted frame; 0 before a successful Init.
    virtual int32_t GetOutputSize() = 0;
    // Reads one source frame and writes GetOutputSize() bytes; false before Init or with a null buffer.
    virtual bool Convert(const void* source, void* target) = 0;

    virtual ~ColorConverter() = default;
};

// Writes one output file: a container with one video stream and, when an audio codec is set, one audio stream.
// The Set* calls and SetOption only record settings (each checks its own values); Open builds the encoders and
// the file from them. The virtuals are the library's operation slots, in slot order; byte results are 0 for
// success. One thread at a time: Open and the settings on one, the writes and Close possibly on another.
class MediaWriter {
public:
    // Slot 0: "mpeg4", "xvid", "h263", "msmpeg4v1", "msmpeg4v2", "msmpeg4", "mjpeg", "h264", "zlib", "rawvideo",
    // "svq1", "mpeg1video", "mpeg2video", "flv", or any FFmpeg encoder name.
    virtual uint8_t SetVideoCodec(const char* name) = 0;
    // Slot 1: "mp3", "pcm_s16le", "adpcm_ms", "pcm_alaw", "pcm_mulaw", "ac3", "mp2", "vorbis", "aac", "amr_nb",
    // "amr_wb", or any FFmpeg encoder name. Without this call the file has no audio stream.
    virtual uint8_t SetAudioCodec(const char* name) = 0;
    // Slot 2: the container: "avi", "mpeg", "dvd", "3gp", "3g2", "mp4", "mov", "flv" or any FFmpeg muxer name.
    virtual uint8_t SetFormat(const char* name) = 0;
    // Slot 3: the output's rate, channels and bit rate, then the rate and channels of the blocks WriteAudio gets.
    virtual uint8_t SetAudioParams(
        int32_t outputRate, int32_t outputChannels, int32_t bitRate, int32_t sourceRate, int32_t sourceChannels)
        = 0;
    // Slot 4: the output size, bit rate and frame rate, then the frames WriteVideo gets: their size, colour code
    // and the pixels to cut from each edge. The four further values are accepted and not used.
    virtual uint8_t SetVideoParams(int32_t outputWidth, int32_t outputHeight, int32_t bitRate, double frameRate,
        int32_t sourceWidth, int32_t sourceHeight, int32_t colorFormat, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4)
        = 0;
    // Slots 5 to 10: not used by the engine; they fail.
    virtual uint8_t Unused5() = 0;
    virtual uint8_t Unused6() = 0;
    virtual uint8_t Unused7() = 0;
    virtual uint8_t Unused8() = 0;
    virtual uint8_t Unused9() = 0;
    virtual uint8_t Unused10() = 0;
    // Slot 11: creates the file and writes its header. On failure nothing stays open and no file is left.
    virtual uint8_t Open() = 0;
    // Slot 12: flushes the encoders, finishes and closes the file. Safe to call twice and without Open.
    virtual uint8_t Close() = 0;
    // Slot 13: one frame of exactly the source size and colour code set by SetVideoParams; `time` in seconds
    // from the start. Frames are placed on the output frame rate's grid by their times: a frame whose slot is
    // taken is dropped, a gap is filled by repeating the frame before it.
    virtual uint8_t WriteVideo(const void* frame, double time) = 0;
    // Slot 14: interleaved signed 16-bit samples at the source rate and channel count; whole sample frames only.
    // The first block's time places the audio; the rest follows by sample count. Without an audio stream every
    // block is accepted and dropped.
    virtual uint8_t WriteAudio(const void* samples, int32_t byteCount, double time) = 0;
    // Slot 15: a named setting, recorded for Open. Known names are checked here; others are tried on the
    // encoders and the muxer at Open, and ignored with a log line when none of them knows the name.
    virtual uint8_t SetOption(const char* name, const char* value) = 0;
    // Slot 16: bytes written to the file so far.
    virtual int64_t GetOutputSize() = 0;
    // Slot 17: why the last call that failed did ("cannot write to the file: No space left on device"), with the
    // system's own words where the system refused; empty when no call failed. Valid until the next call.
    virtual const char* GetErrorText() { return ""; }

    virtual ~MediaWriter() = default;
};

// Crops, scales and converts whole frames to planar Y,U,V (colour code 5) at one output size.
class FrameScaler {
public:
    // Slot 0: the output size, the source size and colour code, whether to keep the picture's aspect ratio (the
    // picture is then fitted inside the output and the rest is black), and the pixels to cut from each edge of
    // the source. The four further values are accepted and not used. 0 for success.
    virtual uint8_t Init(int32_t outputWidth, int32_t outputHeight, int32_t sourceWidth, int32_t sourceHeight,
        int32_t colorFormat, bool fixAspectRatio, int32_t cropLeft, int32_t cropRight, int32_t cropTop,
        int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4)
        = 0;
    // Slot 1: converts one source frame; non-zero on success, 0 before a successful Init or for a null frame.
    virtual uint8_t Process(const void* frame) = 0;
    // Slot 2: the last processed frame, valid until the next Process or Init; null before the first success.
    virtual const uint8_t* GetOutput() = 0;

    virtual ~FrameScaler() = default;
};

// A writer for the output path (null counts as empty; Open then fails); null only when memory runs out.
MediaWriter* Braskel_CreateMediaWriter(const char* path);
// Closes the writer when it is still open and destroys it; null is ignored.
void Braskel_ReleaseMediaWriter(MediaWriter* writer);

FrameScaler* Braskel_CreateFrameScaler();
// Null is ignored.
void Braskel_ReleaseFrameScaler(FrameScaler* scaler);

// A reader for the file; a null name counts as empty (Open then fails). Never null.
MediaReader* Braskel_CreateMediaReader(const char* fileName);
// Stops the reader, waits for its callbacks, and destroys it; null is ignored. Never call it from inside one
// of the reader's own callbacks.
void Braskel_ReleaseMediaReader(MediaReader* reader);

ColorConverter* Braskel_CreateColorConverter();
void Braskel_ReleaseColorConverter(ColorConverter* converter);

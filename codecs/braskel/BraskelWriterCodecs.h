// The media writer's codec choices: which FFmpeg encoder stands for each name, and the values each one accepts.
#pragma once
#include <cstdint>
#include <string_view>

extern "C" {
struct AVChannelLayout;
struct AVCodec;
struct AVOutputFormat;
struct AVRational;
}

// Every routine here is a pure choice over FFmpeg's own tables: none opens anything. Where FFmpeg refuses a
// value the engine sends, the nearest value it accepts is chosen, so a profile never fails for a detail the
// user could not have known about.
namespace BraskelWriterCodecs {

// The encoder for a video or audio codec name of the engine (or any FFmpeg encoder name). A name whose encoder
// this FFmpeg lacks falls back to the nearest one it has ("msmpeg4v1" to MS-MPEG-4 v2, "xvid" and "h264" to
// the native MPEG-4 encoder when libxvid or libx264 are missing, "amr_nb", "amr_wb" and "vorbis" to AAC
// without their libraries). Null when nothing fits.
const AVCodec* FindVideoEncoder(std::string_view name);
const AVCodec* FindAudioEncoder(std::string_view name);

// The audio encoder to use in the container: the MPEG program stream muxers take PCM only as LPCM.
const AVCodec* AudioEncoderForContainer(const AVCodec* encoder, const AVOutputFormat* format);

// The frame rate to code: the NTSC rates written short (23.97, 29.97, 59.94) become 24000/1001 and the like,
// and encoders with a fixed list of rates (MPEG-1) take the nearest of them.
AVRational VideoFrameRate(const AVCodec* encoder, double frameRate);

// The coded size: H.263 takes only its five picture formats, and libx264, libxvid and the WMV encoders only
// even sizes.
void SnapVideoSize(const AVCodec* encoder, int& width, int& height);

// Whether the encoder can keep to a minimum bit rate. The MPEG-1, MPEG-2 and MPEG-4 encoders pad small frames up
// to it (and x264 ignores it); the others cannot pad and would only report a buffer overflow on every frame, so
// they get no minimum.
bool KeepsMinimumRate(const AVCodec* encoder);

// The first pixel format the encoder lists (YUV 4:2:0 for most), as FFmpeg's AVPixelFormat value.
int VideoPixelFormat(const AVCodec* encoder);

// The nearest sample rate that both the encoder and the container take.
int SnapSampleRate(const AVCodec* encoder, const AVOutputFormat* format, int rate);

// The encoder's layout for the channel count, or for the nearest count it supports.
void ChooseChannelLayout(const AVCodec* encoder, int channels, AVChannelLayout* layout);

// The bit rate the encoder accepts nearest to `bitRate` at that sample rate (MP2 has a fixed table).
int64_t SnapAudioBitRate(const AVCodec* encoder, int rate, int64_t bitRate);

// Whether the container can store the video codec under the four-character tag (AVI and QuickTime can store
// MPEG-4 as "DIVX"; MP4, 3GP and FLV cannot).
bool ContainerTakesTag(const AVOutputFormat* format, int codecId, uint32_t tag);

} // namespace BraskelWriterCodecs

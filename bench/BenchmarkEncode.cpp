// Encoding speed of the media writer against the ffmpeg command line with the same settings and the same input.
// Both sides run as whole processes (ours is this program started with "--ours") and read the same raw picture and
// sample files from disk: ours a frame and a block at a time into the writer, ffmpeg through its raw demuxers.
#include "bench/BenchProcess.h"
#include "codecs/avcore/TAvColorCode.h"
#include "codecs/braskel/Braskel.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"
#include "codecs/testclips/TestPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A 10 s clip of 640x480 frames at the MP4 profile's 23.97 frames per second, written with its default rates:
// MPEG-4 at 768 kbit/s and AAC at 96 kbit/s, 48000 Hz stereo, from 44100 Hz stereo source audio.
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr double kFrameRate = 24000.0 / 1001.0;
constexpr int kFrames = 240;
constexpr int kSourceRate = 44100;
constexpr int kBlockSamples = 4410;
// Distinct pictures cycled through, so the encoder sees motion without the frames taking 100 MB of memory.
constexpr int kPictures = 24;

struct TSource {
    std::vector<std::vector<uint8_t>> Pictures;
    std::vector<int16_t> Samples; // The whole 10 s, interleaved stereo.
};

TSource MakeSource()
{
    TSource source;
    for (int i = 0; i < kPictures; ++i) {
        std::vector<uint8_t> frame(size_t(AvColorFrameSize(TAvColorCode::Yuv420, kWidth, kHeight)));
        const TAvColorPlanes planes = AvColorPlanes(TAvColorCode::Yuv420, kWidth, kHeight, frame.data());
        DrawTestPicture(planes.Data[0], planes.Stride[0], planes.Data[1], planes.Stride[1], planes.Data[2],
            planes.Stride[2], kWidth, kHeight, i, true);
        source.Pictures.push_back(std::move(frame));
    }
    const int total = int(std::lround(kFrames / kFrameRate * kSourceRate));
    source.Samples.resize(size_t(total) * 2);
    for (int i = 0; i < total; ++i)
        source.Samples[size_t(i) * 2] = source.Samples[size_t(i) * 2 + 1]
            = int16_t(std::lround(9000 * std::sin(2.0 * M_PI * 440.0 * i / kSourceRate)));
    return source;
}

bool Check(uint8_t result, const char* what)
{
    if (result != 0)
        std::fprintf(stderr, "writer refused %s\n", what);
    return result == 0;
}

// Our side: the calls the MP4 encoder object makes for its default profile, then the frames and blocks in time
// order as they are read from the raw files.
int EncodeWithWriter(const std::string& video, const std::string& audio, const std::string& path)
{
    FILE* pictures = std::fopen(video.c_str(), "rb");
    FILE* sound = std::fopen(audio.c_str(), "rb");
    std::vector<uint8_t> frame(size_t(AvColorFrameSize(TAvColorCode::Yuv420, kWidth, kHeight)));
    std::vector<int16_t> block(size_t(kBlockSamples) * 2);
    MediaWriter* writer = Braskel_CreateMediaWriter(path.c_str());
    bool ok = pictures && sound && writer && Check(writer->SetFormat("mp4"), "SetFormat")
        && Check(writer->SetOption("bitexact", "1"), "bitexact")
        && Check(writer->SetVideoParams(kWidth, kHeight, 768000, 23.97, kWidth, kHeight, 5, 0, 0, 0, 0, 0, 0, 0, 0),
            "SetVideoParams")
        && Check(writer->SetVideoCodec("mpeg4"), "SetVideoCodec")
        && Check(writer->SetOption("video_rc_max_rate", "768000"), "video_rc_max_rate")
        && Check(writer->SetOption("video_rc_min_rate", "768000"), "video_rc_min_rate")
        && Check(writer->SetOption("video_rc_buffer_size", "768000"), "video_rc_buffer_size")
        && Check(writer->SetAudioCodec("aac"), "SetAudioCodec")
        && Check(writer->SetAudioParams(48000, 2, 96000, kSourceRate, 2), "SetAudioParams")
        && Check(writer->Open(), "Open");
    size_t sample = 0;
    bool soundLeft = true;
    for (int index = 0; ok && index < kFrames; ++index) {
        const double time = index / kFrameRate;
        while (ok && soundLeft && double(sample) / kSourceRate <= time) {
            const size_t count = std::fread(block.data(), 4, kBlockSamples, sound);
            soundLeft = count == size_t(kBlockSamples);
            if (count > 0)
                ok = Check(writer->WriteAudio(block.data(), int32_t(count * 4), double(sample) / kSourceRate),
                    "WriteAudio");
            sample += count;
        }
        ok = ok && std::fread(frame.data(), 1, frame.size(), pictures) == frame.size()
            && Check(writer->WriteVideo(frame.data(), time), "WriteVideo");
    }
    ok = ok && Check(writer->Close(), "Close");
    Braskel_ReleaseMediaWriter(writer);
    if (pictures)
        std::fclose(pictures);
    if (sound)
        std::fclose(sound);
    return ok ? 0 : 1;
}

bool WriteFile(const std::string& path, const void* data, size_t size)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

// The same frames and samples as raw files, for the command line to read.
void WriteRawSource(const TSource& source, const std::string& video, const std::string& audio)
{
    FILE* file = std::fopen(video.c_str(), "wb");
    bool ok = file != nullptr;
    for (int frame = 0; ok && frame < kFrames; ++frame) {
        const std::vector<uint8_t>& picture = source.Pictures[frame % kPictures];
        ok = std::fwrite(picture.data(), 1, picture.size(), file) == picture.size();
    }
    ok = file && std::fclose(file) == 0 && ok;
    if (!ok || !WriteFile(audio, source.Samples.data(), source.Samples.size() * 2)) {
        std::fprintf(stderr, "cannot write the raw source\n");
        std::exit(1);
    }
}

std::vector<std::string> FfmpegCommand(const std::string& video, const std::string& audio, const std::string& path)
{
    return { "ffmpeg", "-nostdin", "-v", "error", "-f", "rawvideo", "-pix_fmt", "yuv420p", "-s", "640x480",
        "-framerate", "24000/1001", "-i", video, "-f", "s16le", "-ar", "44100", "-ac", "2", "-i", audio, "-c:v",
        "mpeg4", "-b:v", "768k", "-maxrate", "768k", "-minrate", "768k", "-bufsize", "768k", "-c:a", "aac", "-b:a",
        "96k", "-ar", "48000", "-ac", "2", "-fflags", "+bitexact", "-flags:v", "+bitexact", "-flags:a", "+bitexact",
        "-y", path };
}

} // namespace

int main(int argc, char** argv)
{
    QuietMediaLogs();
    if (argc == 5 && std::strcmp(argv[1], "--ours") == 0)
        return EncodeWithWriter(argv[2], argv[3], argv[4]);

    TTestFolder folder;
    const std::string video = folder.File("source.yuv");
    const std::string audio = folder.File("source.pcm");
    WriteRawSource(MakeSource(), video, audio);
    const std::string self = BenchProgram();
    double ours = 1e300;
    double peer = 1e300;
    for (int round = 0; round < 3; ++round) {
        ours = std::min(ours, TimeProcess({ self, "--ours", video, audio, folder.File("ours.mp4") }));
        peer = std::min(peer, TimeProcess(FfmpegCommand(video, audio, folder.File("peer.mp4"))));
    }
    std::printf("encode ours=%.1f peer=%.1f ratio=%.3f\n", ours, peer, ours / peer);
    return 0;
}

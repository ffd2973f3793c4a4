// Encoding speed of the media writer against the ffmpeg command line with the same settings and the same frames.
#include "codecs/avcore/TAvColorCode.h"
#include "codecs/braskel/Braskel.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"
#include "codecs/testclips/TestPicture.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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

double Milliseconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

bool Check(uint8_t result, const char* what)
{
    if (result != 0)
        std::fprintf(stderr, "writer refused %s\n", what);
    return result == 0;
}

// The calls the MP4 encoder object makes for its default profile, then the frames and blocks in time order.
double EncodeWithWriter(const TSource& source, const std::string& path)
{
    const auto started = std::chrono::steady_clock::now();
    MediaWriter* writer = Braskel_CreateMediaWriter(path.c_str());
    bool ok = Check(writer->SetFormat("mp4"), "SetFormat") && Check(writer->SetOption("bitexact", "1"), "bitexact")
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
    for (int frame = 0; ok && frame < kFrames; ++frame) {
        const double time = frame / kFrameRate;
        while (ok && sample < source.Samples.size() / 2 && double(sample) / kSourceRate <= time) {
            const size_t count = std::min<size_t>(kBlockSamples, source.Samples.size() / 2 - sample);
            ok = Check(
                writer->WriteAudio(&source.Samples[sample * 2], int32_t(count * 4), double(sample) / kSourceRate),
                "WriteAudio");
            sample += count;
        }
        ok = ok && Check(writer->WriteVideo(source.Pictures[frame % kPictures].data(), time), "WriteVideo");
    }
    ok = ok && Check(writer->Close(), "Close");
    Braskel_ReleaseMediaWriter(writer);
    const double elapsed = Milliseconds(std::chrono::steady_clock::now() - started);
    if (!ok)
        std::exit(1);
    return elapsed;
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

double EncodeWithFfmpeg(const std::string& video, const std::string& audio, const std::string& path)
{
    const std::string command
        = "ffmpeg -nostdin -v error -f rawvideo -pix_fmt yuv420p -s 640x480 -framerate 24000/1001 -i '" + video
        + "' -f s16le -ar 44100 -ac 2 -i '" + audio
        + "' -c:v mpeg4 -b:v 768k -maxrate 768k -minrate 768k -bufsize 768k -c:a aac -b:a 96k -ar 48000 -ac 2"
          " -fflags +bitexact -flags:v +bitexact -flags:a +bitexact -y '"
        + path + "'";
    const auto started = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double elapsed = Milliseconds(std::chrono::steady_clock::now() - started);
    if (status != 0) {
        std::fprintf(stderr, "ffmpeg failed: %s\n", command.c_str());
        std::exit(1);
    }
    return elapsed;
}

} // namespace

int main()
{
    QuietMediaLogs();
    TTestFolder folder;
    const TSource source = MakeSource();
    const std::string video = folder.File("source.yuv");
    const std::string audio = folder.File("source.pcm");
    WriteRawSource(source, video, audio);
    double ours = 1e300;
    double peer = 1e300;
    for (int round = 0; round < 3; ++round) {
        ours = std::min(ours, EncodeWithWriter(source, folder.File("ours.mp4")));
        peer = std::min(peer, EncodeWithFfmpeg(video, audio, folder.File("peer.mp4")));
    }
    std::printf("encode ours=%.1f peer=%.1f ratio=%.3f\n", ours, peer, ours / peer);
    return 0;
}

// Decoding speed of the media reader against the ffmpeg command line on the same clip.
#include "codecs/braskel/Braskel.h"
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int gFrames = 0;

bool CountFrame(double, double, void*)
{
    ++gFrames;
    return true;
}

double Milliseconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Open, Prepare and Run with a video callback that only counts, as a conversion would drive the reader.
double DecodeWithReader(const std::string& path)
{
    const auto started = std::chrono::steady_clock::now();
    MediaReader* reader = Braskel_CreateMediaReader(path.c_str());
    MediaReaderOpenParams params;
    params.Marker0 = params.Marker1 = 1;
    params.ColorFormat = 5;
    params.Video = &CountFrame;
    gFrames = 0;
    const bool decoded = reader->Open(&params) == 0 && reader->Prepare() == 0 && reader->Run() == 0;
    Braskel_ReleaseMediaReader(reader);
    const double elapsed = Milliseconds(std::chrono::steady_clock::now() - started);
    if (!decoded || gFrames != 300) {
        std::fprintf(stderr, "reader decoded %d frames\n", gFrames);
        std::exit(1);
    }
    return elapsed;
}

double DecodeWithFfmpeg(const std::string& path)
{
    const std::string command = "ffmpeg -nostdin -v error -i '" + path + "' -f rawvideo -pix_fmt yuv420p -y /dev/null";
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
    TTestFolder folder;
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    spec.Duration = 10.0;
    spec.Audio.clear();
    spec.Video[0].Width = 640;
    spec.Video[0].Height = 480;
    spec.Video[0].FrameRateNum = 30;
    spec.Video[0].Moving = true;
    const std::string path = folder.File("decode.mp4");
    std::string error;
    if (!MakeTestClip(path, spec, &error)) {
        std::fprintf(stderr, "cannot make the clip: %s\n", error.c_str());
        return 1;
    }
    double ours = 1e300;
    double peer = 1e300;
    for (int round = 0; round < 3; ++round) {
        ours = std::min(ours, DecodeWithReader(path));
        peer = std::min(peer, DecodeWithFfmpeg(path));
    }
    std::printf("decode ours=%.1f peer=%.1f ratio=%.3f\n", ours, peer, ours / peer);
    return 0;
}

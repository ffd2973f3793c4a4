// Decoding speed of the media reader against the ffmpeg command line on the same clip. Both sides run as whole
// processes (ours is this program started with "--ours"), decode every frame to planar Y,U,V and throw it away:
// ours counts the frames in its callback, ffmpeg hands them to its null muxer.
#include "bench/BenchProcess.h"
#include "codecs/braskel/Braskel.h"
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr int kFrames = 300;

int gFrames = 0;

bool CountFrame(double, double, void*)
{
    ++gFrames;
    return true;
}

// Our side: Open, Prepare and Run with a video callback that only counts, as a conversion drives the reader.
int DecodeWithReader(const std::string& path)
{
    MediaReader* reader = Braskel_CreateMediaReader(path.c_str());
    MediaReaderOpenParams params;
    params.Marker0 = params.Marker1 = 1;
    params.ColorFormat = 5;
    params.Video = &CountFrame;
    const bool decoded = reader && reader->Open(&params) == 0 && reader->Prepare() == 0 && reader->Run() == 0;
    Braskel_ReleaseMediaReader(reader);
    if (!decoded || gFrames != kFrames) {
        std::fprintf(stderr, "reader decoded %d frames\n", gFrames);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--ours") == 0)
        return DecodeWithReader(argv[2]);

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
    const std::string self = BenchProgram();
    double ours = 1e300;
    double peer = 1e300;
    for (int round = 0; round < 3; ++round) {
        ours = std::min(ours, TimeProcess({ self, "--ours", path }));
        peer = std::min(peer,
            TimeProcess({ "ffmpeg", "-nostdin", "-v", "error", "-i", path, "-pix_fmt", "yuv420p", "-f", "null", "-" }));
    }
    std::printf("decode ours=%.1f peer=%.1f ratio=%.3f\n", ours, peer, ours / peer);
    return 0;
}

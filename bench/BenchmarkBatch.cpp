// A batch of 20 short clips converted by the main window's batch code with the default MP4 profile, against the
// equivalent ffmpeg commands run one after another. Ours is this benchmark started again with "--ours": one
// process that analyses the clips as adding them does, queues them with the profile and output names and runs the
// batch to its end. The peer runs ffmpeg once per clip with the same settings, each process after the last. Both
// read the same clips and write into folders of their own.
#include "bench/BenchBatchRun.h"
#include "bench/BenchMp4Command.h"
#include "bench/BenchProcess.h"

#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

namespace {

constexpr int kClips = 20;

// Empties `folder`, made if missing, so every round writes the same new files.
void EmptyFolder(const std::string& folder)
{
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
}

} // namespace

int main(int argc, char** argv)
{
    QuietMediaLogs();
    if (argc > 3 && std::strcmp(argv[1], "--ours") == 0)
        return RunMainWindowBatch(argv[2], std::vector<std::string>(argv + 3, argv + argc));

    // One 2 s 640 x 480 H.264 and AAC clip, copied under 20 names.
    TTestFolder folder;
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    spec.Duration = 2.0;
    spec.Video[0].Width = 640;
    spec.Video[0].Height = 480;
    spec.Video[0].FrameRateNum = 30;
    spec.Video[0].Moving = true;
    std::vector<std::string> sources;
    for (int i = 0; i < kClips; ++i)
        sources.push_back(folder.File("clip" + std::to_string(i) + ".mp4"));
    std::string error;
    if (!MakeTestClip(sources[0], spec, &error)) {
        std::fprintf(stderr, "cannot make the clip: %s\n", error.c_str());
        return 1;
    }
    for (int i = 1; i < kClips; ++i)
        std::filesystem::copy_file(sources[0], sources[size_t(i)]);

    const std::string oursFolder = folder.File("ours") + "/";
    const std::string peerFolder = folder.File("peer") + "/";
    std::vector<std::string> oursCommand { BenchProgram(), "--ours", oursFolder };
    oursCommand.insert(oursCommand.end(), sources.begin(), sources.end());
    double ours = 1e300;
    double peer = 1e300;
    for (int round = 0; round < 3; ++round) {
        EmptyFolder(oursFolder);
        ours = std::min(ours, TimeProcess(oursCommand));
        EmptyFolder(peerFolder);
        double sum = 0.0;
        for (int i = 0; i < kClips; ++i)
            sum += TimeProcess(FfmpegMp4Command(sources[size_t(i)], peerFolder + "clip" + std::to_string(i) + ".mp4"));
        peer = std::min(peer, sum);
    }
    std::printf("batch_20_clips ours=%.1f peer=%.1f ratio=%.3f\n", ours, peer, ours / peer);
    return 0;
}

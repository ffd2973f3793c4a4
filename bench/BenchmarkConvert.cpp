// Conversion speed of a job with the default MP4 profile against the ffmpeg command line with the same settings.
// Both sides run as whole processes (ours is this program started with "--ours"), read the same source and write
// the same kind of file.
#include "bench/BenchMp4Command.h"
#include "bench/BenchProcess.h"
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"
#include "engine/FormatProfiles.h"
#include "engine/TConvertJob.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

// Our side: what the windows do for one job of the batch: analyse it, give it the profile and an output name,
// convert.
int ConvertWithJob(const std::string& source, const std::string& output)
{
    TConvertJob job(source);
    if (!job.Analyse()) {
        std::fprintf(stderr, "the job cannot read its source\n");
        return 1;
    }
    job.SetProfile(std::make_unique<TMP4Profile>("MP4", ""));
    job.OutputFile = output;
    job.Status = jsProcessing;
    job.Convert();
    if (job.Status != jsCompleted) {
        std::fprintf(stderr, "the job did not complete: %s\n", job.GetNote().c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QuietMediaLogs();
    if (argc == 4 && std::strcmp(argv[1], "--ours") == 0)
        return ConvertWithJob(argv[2], argv[3]);

    TTestFolder folder;
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    spec.Duration = 10.0;
    spec.Video[0].Width = 640;
    spec.Video[0].Height = 480;
    spec.Video[0].FrameRateNum = 30;
    spec.Video[0].Moving = true;
    const std::string source = folder.File("source.mp4");
    std::string error;
    if (!MakeTestClip(source, spec, &error)) {
        std::fprintf(stderr, "cannot make the clip: %s\n", error.c_str());
        return 1;
    }
    const std::string self = BenchProgram();
    const std::string ours = folder.File("ours.mp4");
    double oursMs = 1e300;
    double peerMs = 1e300;
    for (int round = 0; round < 3; ++round) {
        // The job makes its output name unique; a fresh name every round keeps the work the same.
        std::remove(ours.c_str());
        oursMs = std::min(oursMs, TimeProcess({ self, "--ours", source, ours }));
        peerMs = std::min(peerMs, TimeProcess(FfmpegMp4Command(source, folder.File("peer.mp4"))));
    }
    std::printf("convert ours=%.1f peer=%.1f ratio=%.3f\n", oursMs, peerMs, oursMs / peerMs);
    return 0;
}

// Conversion speed of a job with the default MP4 profile against the ffmpeg command line with the same settings.
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"
#include "engine/FormatProfiles.h"
#include "engine/TConvertJob.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

double Milliseconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "%s\n", what.c_str());
    std::exit(1);
}

// What the windows do for one job of the batch: analyse it, give it the profile and an output name, convert.
double ConvertWithJob(const std::string& source, const std::string& output)
{
    std::remove(output.c_str());
    const auto started = std::chrono::steady_clock::now();
    TConvertJob job(source);
    if (!job.Analyse())
        Fail("the job cannot read its source");
    job.SetProfile(std::make_unique<TMP4Profile>("MP4", ""));
    job.OutputFile = output;
    job.Status = jsProcessing;
    job.Convert();
    const double elapsed = Milliseconds(std::chrono::steady_clock::now() - started);
    if (job.Status != jsCompleted)
        Fail("the job did not complete");
    return elapsed;
}

// The default MP4 profile as the writer applies it: MPEG-4 Part 2 at 320 x 240, 23.97 frames per second and
// 768 kbit/s held constant, AAC at 48 kHz in stereo at 96 kbit/s, bit-exact.
double ConvertWithFfmpeg(const std::string& source, const std::string& output)
{
    const std::string command = "ffmpeg -nostdin -v error -i '" + source
        + "' -c:v mpeg4 -s 320x240 -r 23.97 -b:v 768k -maxrate 768k -minrate 768k -bufsize 768k"
          " -c:a aac -ar 48000 -ac 2 -b:a 96k -fflags +bitexact -flags:v +bitexact -flags:a +bitexact"
          " -f mp4 -y '"
        + output + "'";
    const auto started = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const double elapsed = Milliseconds(std::chrono::steady_clock::now() - started);
    if (status != 0)
        Fail("ffmpeg failed: " + command);
    return elapsed;
}

} // namespace

int main()
{
    QuietMediaLogs();
    TTestFolder folder;
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    spec.Duration = 10.0;
    spec.Video[0].Width = 640;
    spec.Video[0].Height = 480;
    spec.Video[0].FrameRateNum = 30;
    spec.Video[0].Moving = true;
    const std::string source = folder.File("source.mp4");
    std::string error;
    if (!MakeTestClip(source, spec, &error))
        Fail("cannot make the clip: " + error);

    double ours = 1e300;
    double peer = 1e300;
    for (int round = 0; round < 3; ++round) {
        ours = std::min(ours, ConvertWithJob(source, folder.File("ours.mp4")));
        peer = std::min(peer, ConvertWithFfmpeg(source, folder.File("peer.mp4")));
    }
    std::printf("convert ours=%.1f peer=%.1f ratio=%.3f\n", ours, peer, ours / peer);
    return 0;
}

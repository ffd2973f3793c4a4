// Peak resident memory of the main window's batch code converting a 20-minute 1280 x 720 source with the default
// MP4 profile, against the ffmpeg command line doing the same conversion. Both run as whole processes (ours is this
// benchmark started again with "--ours") and the kernel's count of each child's peak resident memory is compared;
// the line gives megabytes where the other benchmarks give milliseconds. The goal is a ratio of 1.5 or less and
// under 300 MB.
//
// The source is made once with ffmpeg (H.264 at the fastest preset and a low quality on two threads, with a tone) and kept under
// the build folder, so later runs only convert. TP_BENCH_MEMORY_SECONDS sets another length for a quick try; the
// figure that counts is the 20-minute one.
#include "bench/BenchBatchRun.h"
#include "bench/BenchMp4Command.h"
#include "bench/BenchProcess.h"

#include "codecs/testclips/TTestFolder.h"
#include "codecs/testclips/TTestProbe.h"

#include <cstring>
#include <filesystem>

namespace {

// The cached source of `seconds`, made when missing (into a temporary name first, so a run cut short leaves no
// half-made source behind).
std::string CachedSource(int seconds)
{
    const std::filesystem::path folder = std::filesystem::path(TP_BENCH_CACHE_DIR);
    std::filesystem::create_directories(folder);
    const std::string name = "memory-source-1280x720-" + std::to_string(seconds) + "s.mp4";
    const std::string path = (folder / name).string();
    if (std::filesystem::exists(path))
        return path;
    std::printf("making the %d s source once (kept as %s)\n", seconds, path.c_str());
    std::fflush(stdout);
    const std::string partial = path + ".part.mp4";
    const std::string length = std::to_string(seconds);
    TimeProcess({ "ffmpeg", "-nostdin", "-v", "error", "-f", "lavfi", "-i", "testsrc2=size=1280x720:rate=25", "-f",
        "lavfi", "-i", "sine=frequency=440:sample_rate=44100", "-t", length, "-c:v", "libx264", "-preset",
        "ultrafast", "-crf", "40", "-threads", "2", "-pix_fmt", "yuv420p", "-c:a", "aac", "-b:a", "64k", "-ac", "2", "-y", partial });
    std::filesystem::rename(partial, path);
    return path;
}

} // namespace

int main(int argc, char** argv)
{
    QuietMediaLogs();
    if (argc == 4 && std::strcmp(argv[1], "--ours") == 0)
        return RunMainWindowBatch(argv[3], { argv[2] });

    const char* asked = std::getenv("TP_BENCH_MEMORY_SECONDS");
    const int seconds = asked && std::atoi(asked) > 0 ? std::atoi(asked) : 20 * 60;
    const std::string source = CachedSource(seconds);
    TTestFolder folder;
    const std::string oursFolder = folder.File("ours") + "/";
    std::filesystem::create_directories(oursFolder);
    const double ours = PeakResidentMegabytes({ BenchProgram(), "--ours", source, oursFolder });
    const double peer = PeakResidentMegabytes(FfmpegMp4Command(source, folder.File("peer.mp4")));
    std::printf("memory_convert_%ds_1280x720_peak_mb ours=%.1f peer=%.1f ratio=%.3f\n", seconds, ours, peer,
        ours / peer);
    return ours < 300.0 ? 0 : 1;
}

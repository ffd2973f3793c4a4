// Settings, paths and writes the writer must refuse cleanly: no crash, no file left by a failed Open, no file
// handle left open, and a full disk reported as a failure.
#include "tests/codecs/WriterTestSupport.h"

#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <functional>
#include <limits>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int OpenFileHandles()
{
    int count = 0;
    if (DIR* folder = opendir("/proc/self/fd")) {
        while (readdir(folder))
            ++count;
        closedir(folder);
    }
    return count;
}

bool Exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

struct BadCase {
    const char* Name;
    // Spoils a good job or its path; the writer must refuse it in a Set* call or in Open.
    std::function<void(TWriterJob& job, std::string& path, const TTestFolder& folder)> Spoil;
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

const BadCase kBadCases[] = {
    { "output folder missing",
        [](TWriterJob&, std::string& path, const TTestFolder& folder) { path = folder.File("missing/out.mp4"); } },
    { "output path is a folder",
        [](TWriterJob&, std::string& path, const TTestFolder& folder) { path = folder.Path(); } },
    { "empty output path", [](TWriterJob&, std::string& path, const TTestFolder&) { path.clear(); } },
    { "zero output width", [](TWriterJob& job, std::string&, const TTestFolder&) { job.OutputWidth = 0; } },
    { "negative output height", [](TWriterJob& job, std::string&, const TTestFolder&) { job.OutputHeight = -120; } },
    { "output wider than any frame",
        [](TWriterJob& job, std::string&, const TTestFolder&) { job.OutputWidth = 100000; } },
    { "zero source width", [](TWriterJob& job, std::string&, const TTestFolder&) { job.SourceWidth = 0; } },
    { "negative source height", [](TWriterJob& job, std::string&, const TTestFolder&) { job.SourceHeight = -1; } },
    { "zero frame rate", [](TWriterJob& job, std::string&, const TTestFolder&) { job.FrameRate = 0.0; } },
    { "negative frame rate", [](TWriterJob& job, std::string&, const TTestFolder&) { job.FrameRate = -25.0; } },
    { "NaN frame rate", [](TWriterJob& job, std::string&, const TTestFolder&) { job.FrameRate = kNaN; } },
    { "negative video bit rate", [](TWriterJob& job, std::string&, const TTestFolder&) { job.VideoBitRate = -1; } },
    { "zero output sample rate", [](TWriterJob& job, std::string&, const TTestFolder&) { job.OutputRate = 0; } },
    { "negative source sample rate",
        [](TWriterJob& job, std::string&, const TTestFolder&) { job.SourceRate = -44100; } },
    { "zero output channels", [](TWriterJob& job, std::string&, const TTestFolder&) { job.OutputChannels = 0; } },
    { "negative source channels", [](TWriterJob& job, std::string&, const TTestFolder&) { job.SourceChannels = -2; } },
    { "negative audio bit rate", [](TWriterJob& job, std::string&, const TTestFolder&) { job.AudioBitRate = -8; } },
    { "crop as wide as the frame",
        [](TWriterJob& job, std::string&, const TTestFolder&) {
            job.CropLeft = 100;
            job.CropRight = 60;
        } },
    { "negative crop", [](TWriterJob& job, std::string&, const TTestFolder&) { job.CropTop = -2; } },
    { "unknown colour format", [](TWriterJob& job, std::string&, const TTestFolder&) { job.ColorFormat = 2; } },
    { "unknown container", [](TWriterJob& job, std::string&, const TTestFolder&) { job.Format = "nosuchformat"; } },
    { "unknown video codec", [](TWriterJob& job, std::string&, const TTestFolder&) { job.VideoCodec = "divx9"; } },
    { "audio codec name of a video codec",
        [](TWriterJob& job, std::string&, const TTestFolder&) { job.AudioCodec = "mpeg4"; } },
    { "bitexact neither 0 nor 1",
        [](TWriterJob& job, std::string&, const TTestFolder&) {
            job.Options = { { "bitexact", "yes" } };
        } },
    { "negative rate-control value",
        [](TWriterJob& job, std::string&, const TTestFolder&) {
            job.Options = { { "video_rc_max_rate", "-5" } };
        } },
    { "rate-control value with trailing text",
        [](TWriterJob& job, std::string&, const TTestFolder&) {
            job.Options = { { "video_rc_buffer_size", "768000k" } };
        } },
    { "codec tag of five letters",
        [](TWriterJob& job, std::string&, const TTestFolder&) {
            job.Options = { { "vcodecTag", "DIVXX" } };
        } },
    { "video switched off without audio",
        [](TWriterJob& job, std::string&, const TTestFolder&) {
            job.AudioCodec.clear();
            job.Options = { { "disable_video", "1" } };
        } },
    { "aspect ratio that is not one",
        [](TWriterJob& job, std::string&, const TTestFolder&) {
            job.Options = { { "frame_aspect_ratio", "wide" } };
        } },
    { "aspect ratio of zero",
        [](TWriterJob& job, std::string&, const TTestFolder&) {
            job.Options = { { "frame_aspect_ratio", "0:1" } };
        } },
    { "free option with a bad value",
        [](TWriterJob& job, std::string&, const TTestFolder&) {
            job.Options = { { "g", "many" } };
        } },
    { "codec option with a bad value",
        [](TWriterJob& job, std::string&, const TTestFolder&) {
            job.VideoCodec = "h264";
            job.Options = { { "preset", "warp-speed" } };
        } },
    // The MPEG-1 system stream cannot carry AAC; the muxer refuses it only when the header is written.
    { "container refusing the codec",
        [](TWriterJob& job, std::string& path, const TTestFolder& folder) {
            job.Format = "mpeg";
            job.VideoCodec = "mpeg1video";
            path = folder.File("refused.mpg");
        } },
};

} // namespace

TEST(MediaWriter, BadSettingsFailWithoutLeavingAFileOrHandle)
{
    QuietMediaLogs();
    TTestFolder folder;
    const int handles = OpenFileHandles();
    for (const BadCase& bad : kBadCases) {
        SCOPED_TRACE(bad.Name);
        TWriterJob job;
        std::string path = folder.File("out.mp4");
        bad.Spoil(job, path, folder);
        {
            TWriterPtr writer(Braskel_CreateMediaWriter(path.c_str()));
            ASSERT_NE(writer, nullptr);
            std::string error;
            const bool configured = ConfigureWriter(*writer, job, error);
            if (configured) {
                EXPECT_NE(writer->Open(), 0);
                error = static_cast<TBraskelMediaWriter&>(*writer).ErrorText();
            }
            EXPECT_FALSE(error.empty());
            // Nothing works on the unopened writer, and closing it is harmless.
            const std::vector<uint8_t> frame = MakeSourceFrame(160, 120, 0);
            EXPECT_NE(writer->WriteVideo(frame.data(), 0.0), 0);
            EXPECT_EQ(writer->Close(), 0);
        }
        if (path != folder.Path()) {
            EXPECT_FALSE(Exists(path));
        }
        EXPECT_EQ(OpenFileHandles(), handles);
    }
    EXPECT_TRUE(Exists(folder.Path()));
}

TEST(MediaWriter, BadWritesFailAndTheFileStaysGood)
{
    QuietMediaLogs();
    TTestFolder folder;
    const std::string path = folder.File("out.mp4");
    TWriterJob job;
    TWriterPtr writer(Braskel_CreateMediaWriter(path.c_str()));
    std::string error;
    ASSERT_TRUE(ConfigureWriter(*writer, job, error)) << error;
    const std::vector<uint8_t> frame = MakeSourceFrame(160, 120, 0);
    EXPECT_NE(writer->WriteVideo(frame.data(), 0.0), 0); // Not open yet.
    ASSERT_EQ(writer->Open(), 0);
    EXPECT_NE(writer->SetFormat("avi"), 0); // Settings are fixed once open.

    const std::vector<int16_t> tone = MakeTone(44100, 2, 0, 441);
    EXPECT_NE(writer->WriteVideo(nullptr, 0.0), 0);
    EXPECT_NE(writer->WriteVideo(frame.data(), kNaN), 0);
    EXPECT_NE(writer->WriteVideo(frame.data(), std::numeric_limits<double>::infinity()), 0);
    EXPECT_NE(writer->WriteVideo(frame.data(), 1e300), 0);
    EXPECT_NE(writer->WriteAudio(tone.data(), 3, 0.0), 0); // Not whole stereo sample frames.
    EXPECT_NE(writer->WriteAudio(tone.data(), -4, 0.0), 0);
    EXPECT_NE(writer->WriteAudio(nullptr, 4, 0.0), 0);
    EXPECT_NE(writer->WriteAudio(tone.data(), 4, kNaN), 0);
    EXPECT_EQ(writer->WriteAudio(tone.data(), 0, 0.0), 0); // An empty block is harmless.

    // The refusals changed nothing: the clip written afterwards is whole.
    ASSERT_TRUE(FeedWriter(*writer, job, error)) << error;
    EXPECT_EQ(writer->Close(), 0);
    EXPECT_EQ(writer->Close(), 0);
    EXPECT_NE(writer->WriteVideo(frame.data(), 3.0), 0);
    EXPECT_GT(writer->GetOutputSize(), 0);
    EXPECT_EQ(writer->GetOutputSize(), FileSizeOf(path));
    TProbedFile file;
    ASSERT_TRUE(ProbeMediaFile(path, file, &error)) << error;
    ASSERT_NE(file.FirstVideo(), nullptr);
    EXPECT_NEAR(file.FirstVideo()->Duration, 2.0, 0.05);
}

TEST(MediaWriter, ClosingWithoutDataOrByReleaseLeavesAReadableFile)
{
    QuietMediaLogs();
    TTestFolder folder;
    TWriterJob job;
    std::string error;
    {
        // A source without audio still gets the audio stream the profile asked for, with nothing in it.
        TWriterPtr writer(Braskel_CreateMediaWriter(folder.File("video.mp4").c_str()));
        ASSERT_TRUE(ConfigureWriter(*writer, job, error)) << error;
        ASSERT_EQ(writer->Open(), 0);
        const std::vector<uint8_t> frame = MakeSourceFrame(160, 120, 0);
        EXPECT_EQ(writer->WriteVideo(frame.data(), 0.0), 0);
        EXPECT_EQ(writer->WriteVideo(frame.data(), 0.5), 0);
        // Released without Close: the release closes the file.
    }
    TProbedFile file;
    EXPECT_TRUE(ProbeMediaFile(folder.File("video.mp4"), file, &error)) << error;
    ASSERT_NE(file.FirstVideo(), nullptr);
    // Two frames half a second apart: the gap is filled, and the last frame lasts as long as the first did.
    EXPECT_NEAR(file.FirstVideo()->Duration, 1.0, 0.05);
    {
        TWriterPtr writer(Braskel_CreateMediaWriter(folder.File("empty.avi").c_str()));
        job.Format = "avi";
        ASSERT_TRUE(ConfigureWriter(*writer, job, error)) << error;
        ASSERT_EQ(writer->Open(), 0);
        EXPECT_EQ(writer->Close(), 0);
    }
    EXPECT_GT(FileSizeOf(folder.File("empty.avi")), 0);
}

// The writer runs in a child process whose files may not grow past `limit` bytes, as on a nearly full disk.
// The child's exit code: 0 when a write, Open or Close reported the failure and every handle was closed, 1 when
// everything claimed success, 2 when a handle stayed open.
int WriteUnderFileSizeLimit(const std::string& path, rlim_t limit)
{
    std::signal(SIGXFSZ, SIG_IGN); // Writes past the limit then fail with EFBIG instead of killing the process.
    const int handles = OpenFileHandles();
    const rlimit size { limit, limit };
    setrlimit(RLIMIT_FSIZE, &size);
    bool failed = false;
    {
        TWriterJob job;
        job.Format = "avi";
        job.VideoCodec = "rawvideo"; // 28 KB a frame: the limit is reached within a few frames.
        TWriterPtr writer(Braskel_CreateMediaWriter(path.c_str()));
        std::string error;
        if (!ConfigureWriter(*writer, job, error))
            return 3;
        failed = writer->Open() != 0 || !FeedWriter(*writer, job, error);
        failed = writer->Close() != 0 || failed;
    }
    if (OpenFileHandles() != handles)
        return 2;
    return failed ? 0 : 1;
}

TEST(MediaWriter, FullDiskIsReportedAsAFailure)
{
    QuietMediaLogs();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TTestFolder folder;
    for (const rlim_t limit : { rlim_t(0), rlim_t(2000), rlim_t(100000) }) {
        SCOPED_TRACE(limit);
        const std::string path = folder.File("full" + std::to_string(limit) + ".avi");
        EXPECT_EXIT(std::_Exit(WriteUnderFileSizeLimit(path, limit)), ::testing::ExitedWithCode(0), "");
        EXPECT_LE(FileSizeOf(path), (long long)limit);
    }
}

TEST(MediaWriter, TheOutputIsAlwaysALocalFile)
{
    QuietMediaLogs();
    TTestFolder folder;
    // A relative name that looks like a URL names a file in the current folder, never a network address.
    char* previous = getcwd(nullptr, 0);
    ASSERT_EQ(chdir(folder.Path().c_str()), 0);
    TWriterJob job;
    job.Seconds = 0.2;
    std::string error;
    const bool written = WriteJob("http:clip.mp4", job, error);
    EXPECT_EQ(chdir(previous), 0);
    std::free(previous);
    EXPECT_TRUE(written) << error;
    EXPECT_GT(FileSizeOf(folder.File("http:clip.mp4")), 0);
}

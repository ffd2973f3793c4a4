// Every container and codec choice the profiles offer, written for real and read back with libavformat.
#include "tests/codecs/WriterTestSupport.h"

#include <fstream>
#include <functional>
#include <iterator>

namespace {

struct FormatCase {
    const char* Format;
    const char* VideoCodec;
    const char* AudioCodec;
    int OutputRate;
    int OutputChannels;
    int AudioBitRate;
    double FrameRate;
    const char* Container; // Part of the demuxer's name.
    const char* VideoName; // FFmpeg's codec name read back.
    const char* AudioName;
    double ExpectedFrameRate;
    int ExpectedWidth;
    int ExpectedHeight;
    int ExpectedRate;
    int ExpectedChannels;
    std::vector<std::pair<std::string, std::string>> Options = {};
    uint32_t ExpectedTag = 0; // When not 0, the video stream's four-character code.
};

constexpr double kFilm = 24000.0 / 1001.0;

constexpr uint32_t Tag(const char (&text)[5])
{
    return uint32_t(uint8_t(text[0])) | uint32_t(uint8_t(text[1])) << 8 | uint32_t(uint8_t(text[2])) << 16
        | uint32_t(uint8_t(text[3])) << 24;
}

// Each row is one choice of a profile; the other stream keeps that format's default. Sizes are what the encoder
// object sends (160x120 here), and what the writer must make of them where FFmpeg refuses them.
const FormatCase kFormatCases[] = {
    // AVI: ten video choices, nine audio choices.
    { "avi", "mpeg4", "mp3", 44100, 2, 96000, 23.97, "avi", "mpeg4", "mp3", kFilm, 160, 120, 44100, 2 },
    { "avi", "xvid", "mp3", 44100, 2, 96000, 23.97, "avi", "mpeg4", "mp3", kFilm, 160, 120, 44100, 2,
        { { "vcodecTag", "DIVX" } }, Tag("DIVX") },
    { "avi", "xvid", "mp3", 44100, 2, 96000, 23.97, "avi", "mpeg4", "mp3", kFilm, 160, 120, 44100, 2 },
    { "avi", "msmpeg4v1", "mp3", 44100, 2, 96000, 23.97, "avi", "msmpeg4v2", "mp3", kFilm, 160, 120, 44100, 2 },
    { "avi", "msmpeg4v2", "mp3", 44100, 2, 96000, 23.97, "avi", "msmpeg4v2", "mp3", kFilm, 160, 120, 44100, 2 },
    { "avi", "msmpeg4", "mp3", 44100, 2, 96000, 23.97, "avi", "msmpeg4v3", "mp3", kFilm, 160, 120, 44100, 2 },
    { "avi", "mjpeg", "mp3", 44100, 2, 96000, 23.97, "avi", "mjpeg", "mp3", kFilm, 160, 120, 44100, 2 },
    { "avi", "h264", "mp3", 44100, 2, 96000, 23.97, "avi", "h264", "mp3", kFilm, 160, 120, 44100, 2 },
    { "avi", "zlib", "mp3", 44100, 2, 96000, 23.97, "avi", "zlib", "mp3", kFilm, 160, 120, 44100, 2 },
    { "avi", "rawvideo", "mp3", 44100, 2, 96000, 23.97, "avi", "rawvideo", "mp3", kFilm, 160, 120, 44100, 2 },
    { "avi", "mpeg4", "pcm_s16le", 44100, 2, 96000, 23.97, "avi", "mpeg4", "pcm_s16le", kFilm, 160, 120, 44100, 2 },
    { "avi", "mpeg4", "adpcm_ms", 22050, 1, 96000, 23.97, "avi", "mpeg4", "adpcm_ms", kFilm, 160, 120, 22050, 1 },
    { "avi", "mpeg4", "pcm_alaw", 8000, 1, 64000, 23.97, "avi", "mpeg4", "pcm_alaw", kFilm, 160, 120, 8000, 1 },
    { "avi", "mpeg4", "pcm_mulaw", 8000, 1, 64000, 23.97, "avi", "mpeg4", "pcm_mulaw", kFilm, 160, 120, 8000, 1 },
    { "avi", "mpeg4", "ac3", 48000, 2, 192000, 23.97, "avi", "mpeg4", "ac3", kFilm, 160, 120, 48000, 2 },
    { "avi", "mpeg4", "mp2", 44100, 2, 192000, 23.97, "avi", "mpeg4", "mp2", kFilm, 160, 120, 44100, 2 },
    { "avi", "mpeg4", "vorbis", 44100, 2, 96000, 23.97, "avi", "mpeg4", "vorbis", kFilm, 160, 120, 44100, 2 },
    { "avi", "mpeg4", "aac", 44100, 2, 96000, 23.97, "avi", "mpeg4", "aac", kFilm, 160, 120, 44100, 2 },
    // MPEG: MPEG-1 in an MPEG-1 system stream, MPEG-2 in a DVD program stream; three audio choices each.
    { "mpeg", "mpeg1video", "mp2", 48000, 2, 224000, 23.97, "mpeg", "mpeg1video", "mp2", kFilm, 160, 120, 48000, 2 },
    { "mpeg", "mpeg1video", "ac3", 48000, 2, 224000, 23.97, "mpeg", "mpeg1video", "ac3", kFilm, 160, 120, 48000, 2 },
    { "mpeg", "mpeg1video", "pcm_s16le", 48000, 2, 224000, 23.97, "mpeg", "mpeg1video", "pcm_dvd", kFilm, 160, 120,
        48000, 2 },
    { "dvd", "mpeg2video", "mp2", 48000, 2, 224000, 23.97, "mpeg", "mpeg2video", "mp2", kFilm, 160, 120, 48000, 2 },
    { "dvd", "mpeg2video", "ac3", 48000, 2, 224000, 23.97, "mpeg", "mpeg2video", "ac3", kFilm, 160, 120, 48000, 2 },
    { "dvd", "mpeg2video", "pcm_s16le", 48000, 2, 224000, 23.97, "mpeg", "mpeg2video", "pcm_dvd", kFilm, 160, 120,
        48000, 2 },
    // 3GP and 3GPP2: H.263 (snapped to its picture format), MPEG-4, Xvid; AMR-NB, AMR-WB, AAC.
    { "3gp", "h263", "amr_nb", 8000, 1, 12200, 15.0, "3gp", "h263", "amr_nb", 15.0, 176, 144, 8000, 1 },
    { "3gp", "mpeg4", "amr_wb", 16000, 1, 23850, 15.0, "3gp", "mpeg4", "amr_wb", 15.0, 160, 120, 16000, 1 },
    { "3gp", "xvid", "aac", 16000, 1, 48000, 15.0, "3gp", "mpeg4", "aac", 15.0, 160, 120, 16000, 1 },
    { "3g2", "mpeg4", "aac", 16000, 1, 48000, 15.0, "3g2", "mpeg4", "aac", 15.0, 160, 120, 16000, 1 },
    // MP4: its four video choices; the DIVX tag is not an MP4 tag and is left out.
    { "mp4", "mpeg4", "aac", 48000, 2, 96000, 23.97, "mp4", "mpeg4", "aac", kFilm, 160, 120, 48000, 2 },
    { "mp4", "xvid", "aac", 48000, 2, 96000, 23.97, "mp4", "mpeg4", "aac", kFilm, 160, 120, 48000, 2,
        { { "vcodecTag", "DIVX" } } },
    { "mp4", "xvid", "aac", 48000, 2, 96000, 23.97, "mp4", "mpeg4", "aac", kFilm, 160, 120, 48000, 2 },
    { "mp4", "h264", "aac", 48000, 2, 96000, 23.97, "mp4", "h264", "aac", kFilm, 160, 120, 48000, 2 },
    // MOV: its six video choices; QuickTime keeps the DIVX tag.
    { "mov", "mpeg4", "aac", 48000, 2, 96000, 23.97, "mov", "mpeg4", "aac", kFilm, 160, 120, 48000, 2 },
    { "mov", "xvid", "aac", 48000, 2, 96000, 23.97, "mov", "mpeg4", "aac", kFilm, 160, 120, 48000, 2,
        { { "vcodecTag", "DIVX" } }, Tag("DIVX") },
    { "mov", "xvid", "aac", 48000, 2, 96000, 23.97, "mov", "mpeg4", "aac", kFilm, 160, 120, 48000, 2 },
    { "mov", "h264", "aac", 48000, 2, 96000, 23.97, "mov", "h264", "aac", kFilm, 160, 120, 48000, 2 },
    { "mov", "mjpeg", "aac", 48000, 2, 96000, 23.97, "mov", "mjpeg", "aac", kFilm, 160, 120, 48000, 2 },
    { "mov", "svq1", "aac", 48000, 2, 96000, 23.97, "mov", "svq1", "aac", kFilm, 160, 120, 48000, 2 },
    // FLV: Sorenson Spark and MP3.
    { "flv", "flv", "mp3", 44100, 2, 96000, 24.0, "flv", "flv1", "mp3", 24.0, 160, 120, 44100, 2 },
};

std::string CaseName(const FormatCase& test)
{
    std::string name = std::string(test.Format) + " " + test.VideoCodec + " " + test.AudioCodec;
    for (const auto& [key, value] : test.Options)
        name += " " + key + "=" + value;
    return name;
}

} // namespace

TEST(MediaWriter, WritesEveryProfileChoiceReadableBack)
{
    QuietMediaLogs();
    TTestFolder folder;
    int index = 0;
    for (const FormatCase& test : kFormatCases) {
        SCOPED_TRACE(CaseName(test));
        TWriterJob job;
        job.Format = test.Format;
        job.VideoCodec = test.VideoCodec;
        job.AudioCodec = test.AudioCodec;
        job.FrameRate = test.FrameRate;
        job.OutputRate = test.OutputRate;
        job.OutputChannels = test.OutputChannels;
        job.AudioBitRate = test.AudioBitRate;
        job.Options = test.Options;
        // The options each format's encoder object sends besides the codec's own.
        const std::string format = test.Format;
        const std::string rate = std::to_string(job.VideoBitRate);
        if (format != "mpeg" && format != "dvd")
            job.Options.emplace_back("bitexact", "1");
        if (format == "avi" || format == "mpeg" || format == "dvd" || format == "mp4") {
            job.Options.emplace_back("video_rc_max_rate", rate);
            job.Options.emplace_back("video_rc_min_rate", rate);
            job.Options.emplace_back("video_rc_buffer_size", rate);
        }
        if (format == "3gp" || format == "3g2")
            job.Options.emplace_back("video_bit_rate_tolerance", std::to_string(job.VideoBitRate / 2));
        const std::string path = folder.File("out" + std::to_string(index++) + "." + test.Format);
        std::string error;
        TProbedFile file;
        if (!WriteJob(path, job, error) || !ProbeMediaFile(path, file, &error)) {
            ADD_FAILURE() << error;
            continue;
        }
        EXPECT_NE(
            file.Container.find(
                test.Container == std::string("3gp") || test.Container == std::string("3g2") ? "mov" : test.Container),
            std::string::npos)
            << file.Container;
        const TProbedStream* video = file.FirstVideo();
        const TProbedStream* audio = file.FirstAudio();
        if (!video || !audio) {
            ADD_FAILURE() << "streams missing";
            continue;
        }
        EXPECT_EQ(video->Codec, test.VideoName);
        EXPECT_EQ(video->Width, test.ExpectedWidth);
        EXPECT_EQ(video->Height, test.ExpectedHeight);
        EXPECT_NEAR(video->FrameRate, test.ExpectedFrameRate, 0.01);
        // Two seconds of source at 10 frames per second become two seconds at the profile's rate.
        EXPECT_NEAR(video->Duration, 2.0, 1.0 / test.ExpectedFrameRate + 1e-6);
        if (test.ExpectedTag) {
            EXPECT_EQ(video->CodecTag, test.ExpectedTag);
        } else {
            EXPECT_NE(video->CodecTag, Tag("DIVX"));
        }
        EXPECT_EQ(audio->Codec, test.AudioName);
        EXPECT_EQ(audio->SampleRate, test.ExpectedRate);
        EXPECT_EQ(audio->Channels, test.ExpectedChannels);
        // Codecs add their own priming and padding; a few of their frames either way is fine.
        EXPECT_NEAR(audio->Duration, 2.0, 0.1);
        if (std::string(test.Format) == "3gp" || std::string(test.Format) == "3g2") {
            EXPECT_EQ(file.Tags["major_brand"].substr(0, 3), test.Format);
        }
    }
}

namespace {

struct SnapCase {
    const char* Name;
    std::function<void(TWriterJob&)> Change;
    const char* VideoName;
    int Width;
    int Height;
    double FrameRate;
    const char* AudioName;
    int SampleRate;
    int Channels;
    int64_t AudioBitRate = 0; // When not 0, the audio bit rate read back.
};

TWriterJob SnapJob(const char* format, const char* video, const char* audio, double frameRate)
{
    TWriterJob job;
    job.Format = format;
    job.VideoCodec = video;
    job.AudioCodec = audio;
    job.FrameRate = frameRate;
    job.Seconds = 1.0;
    return job;
}

// Values FFmpeg refuses become the nearest value it accepts, so these settings still give a file.
const SnapCase kSnapCases[] = {
    { "FLV MP3 at 32000 Hz goes to 22050 Hz",
        [](TWriterJob& job) {
            job = SnapJob("flv", "flv", "mp3", 24.0);
            job.OutputRate = 32000;
        },
        "flv1", 160, 120, 24.0, "mp3", 22050, 2 },
    { "FLV MP3 at 48000 Hz goes to 44100 Hz",
        [](TWriterJob& job) {
            job = SnapJob("flv", "flv", "mp3", 24.0);
            job.OutputRate = 48000;
        },
        "flv1", 160, 120, 24.0, "mp3", 44100, 2 },
    { "AC-3 at 22050 Hz goes to 32000 Hz",
        [](TWriterJob& job) {
            job = SnapJob("avi", "mpeg4", "ac3", 25.0);
            job.OutputRate = 22050;
        },
        "mpeg4", 160, 120, 25.0, "ac3", 32000, 2 },
    { "MP2 at 8000 Hz goes to 16000 Hz",
        [](TWriterJob& job) {
            job = SnapJob("avi", "mpeg4", "mp2", 25.0);
            job.OutputRate = 8000;
            job.AudioBitRate = 64000;
        },
        "mpeg4", 160, 120, 25.0, "mp2", 16000, 2, 64000 },
    { "MP2 at 448 kbit/s goes to 384 kbit/s",
        [](TWriterJob& job) {
            job = SnapJob("dvd", "mpeg2video", "mp2", 25.0);
            job.OutputRate = 48000;
            job.AudioBitRate = 448000;
        },
        "mpeg2video", 160, 120, 25.0, "mp2", 48000, 2, 384000 },
    { "MP2 at 22050 Hz takes the half-rate table",
        [](TWriterJob& job) {
            job = SnapJob("avi", "mpeg4", "mp2", 25.0);
            job.OutputRate = 22050;
            job.AudioBitRate = 224000;
        },
        "mpeg4", 160, 120, 25.0, "mp2", 22050, 2, 160000 },
    { "DVD LPCM at 44100 Hz goes to 48000 Hz",
        [](TWriterJob& job) {
            job = SnapJob("dvd", "mpeg2video", "pcm_s16le", 25.0);
            job.OutputRate = 44100;
        },
        "mpeg2video", 160, 120, 25.0, "pcm_dvd", 48000, 2 },
    { "MPEG-1 at 29.97 frames per second is NTSC",
        [](TWriterJob& job) { job = SnapJob("mpeg", "mpeg1video", "mp2", 29.97); }, "mpeg1video", 160, 120,
        30000.0 / 1001.0, "mp2", 44100, 2 },
    { "MPEG-1 at 15 frames per second takes its nearest rate",
        [](TWriterJob& job) { job = SnapJob("mpeg", "mpeg1video", "mp2", 15.0); }, "mpeg1video", 160, 120,
        24000.0 / 1001.0, "mp2", 44100, 2 },
    { "H.263 at 320x240 goes to 352x288",
        [](TWriterJob& job) {
            job = SnapJob("3gp", "h263", "aac", 15.0);
            job.OutputWidth = 320;
            job.OutputHeight = 240;
        },
        "h263", 352, 288, 15.0, "aac", 44100, 2 },
    { "Xvid at an odd size goes one smaller",
        [](TWriterJob& job) {
            job = SnapJob("avi", "xvid", "mp3", 25.0);
            job.OutputWidth = job.SourceWidth = 175;
            job.OutputHeight = job.SourceHeight = 143;
        },
        "mpeg4", 174, 142, 25.0, "mp3", 44100, 2 },
    { "H.264 at an odd size goes one smaller",
        [](TWriterJob& job) {
            job = SnapJob("mp4", "h264", "aac", 25.0);
            job.OutputWidth = 175;
            job.OutputHeight = 143;
        },
        "h264", 174, 142, 25.0, "aac", 44100, 2 },
    { "native MPEG-4 keeps an odd size",
        [](TWriterJob& job) {
            job = SnapJob("mp4", "mpeg4", "aac", 25.0);
            job.OutputWidth = 175;
            job.OutputHeight = 143;
        },
        "mpeg4", 175, 143, 25.0, "aac", 44100, 2 },
    { "a VBR maximum below the average is raised to it",
        [](TWriterJob& job) {
            job = SnapJob("avi", "mpeg4", "mp3", 25.0);
            job.Options = { { "video_rc_max_rate", "100000" }, { "video_rc_min_rate", "500000" },
                { "video_rc_buffer_size", "100000" } };
        },
        "mpeg4", 160, 120, 25.0, "mp3", 44100, 2 },
    { "Vorbis at a bit rate its tables lack",
        [](TWriterJob& job) {
            job = SnapJob("avi", "mpeg4", "vorbis", 25.0);
            job.OutputRate = 8000;
            job.OutputChannels = 1;
            job.AudioBitRate = 384000;
        },
        "mpeg4", 160, 120, 25.0, "vorbis", 8000, 1 },
    { "MP3 in six channels goes to stereo",
        [](TWriterJob& job) {
            job = SnapJob("avi", "mpeg4", "mp3", 25.0);
            job.OutputChannels = 6;
        },
        "mpeg4", 160, 120, 25.0, "mp3", 44100, 2 },
    { "AMR-NB takes 8000 Hz mono",
        [](TWriterJob& job) {
            job = SnapJob("3gp", "mpeg4", "amr_nb", 15.0);
            job.OutputRate = 44100;
            job.AudioBitRate = 96000;
        },
        "mpeg4", 160, 120, 15.0, "amr_nb", 8000, 1 },
    { "AMR-WB takes 16000 Hz mono",
        [](TWriterJob& job) {
            job = SnapJob("3g2", "mpeg4", "amr_wb", 15.0);
            job.OutputRate = 48000;
        },
        "mpeg4", 160, 120, 15.0, "amr_wb", 16000, 1 },
};

} // namespace

TEST(MediaWriter, SnapsValuesFFmpegRefuses)
{
    QuietMediaLogs();
    TTestFolder folder;
    int index = 0;
    for (const SnapCase& test : kSnapCases) {
        SCOPED_TRACE(test.Name);
        TWriterJob job;
        test.Change(job);
        const std::string path = folder.File("snap" + std::to_string(index++) + "." + job.Format);
        std::string error;
        TProbedFile file;
        if (!WriteJob(path, job, error) || !ProbeMediaFile(path, file, &error)) {
            ADD_FAILURE() << error;
            continue;
        }
        const TProbedStream* video = file.FirstVideo();
        const TProbedStream* audio = file.FirstAudio();
        if (!video || !audio) {
            ADD_FAILURE() << "streams missing";
            continue;
        }
        EXPECT_EQ(video->Codec, test.VideoName);
        EXPECT_EQ(video->Width, test.Width);
        EXPECT_EQ(video->Height, test.Height);
        EXPECT_NEAR(video->FrameRate, test.FrameRate, 0.001);
        EXPECT_EQ(audio->Codec, test.AudioName);
        EXPECT_EQ(audio->SampleRate, test.SampleRate);
        EXPECT_EQ(audio->Channels, test.Channels);
        if (test.AudioBitRate) {
            EXPECT_EQ(audio->BitRate, test.AudioBitRate);
        }
    }
}

TEST(MediaWriter, StoresTheTagsWhereTheContainerHasRoomForThem)
{
    QuietMediaLogs();
    TTestFolder folder;
    const std::vector<std::pair<std::string, std::string>> tags
        = { { "str_title", "The Title" }, { "str_author", "Ann Author" }, { "str_copyright", "(c) Someone" },
              { "str_comment", "Kind words" }, { "rec_timestamp", "2024" } };
    for (const char* format : { "avi", "mp4", "mov", "flv", "3gp", "3g2" }) {
        SCOPED_TRACE(format);
        TWriterJob job = SnapJob(format, format == std::string("flv") ? "flv" : "mpeg4",
            format == std::string("avi") || format == std::string("flv") ? "mp3" : "aac", 15.0);
        job.Options = tags;
        job.Seconds = 0.5;
        const std::string path = folder.File(std::string("tagged.") + format);
        std::string error;
        ASSERT_TRUE(WriteJob(path, job, error)) << error;
        if (format[0] == '3') {
            // FFmpeg 5.1 writes the 3GPP tag boxes but does not read them back, so the boxes are looked for in
            // the bytes: each box name is followed by its flags, language and the text.
            std::ifstream in(path, std::ios::binary);
            const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (const auto& [box, value] : std::vector<std::pair<std::string, std::string>> { { "titl", "The Title" },
                     { "auth", "Ann Author" }, { "cprt", "(c) Someone" }, { "dscp", "Kind words" } }) {
                const size_t at = bytes.find(box);
                ASSERT_NE(at, std::string::npos) << box;
                EXPECT_EQ(bytes.compare(at + box.size() + 6, value.size(), value), 0) << box;
            }
            continue;
        }
        TProbedFile file;
        ASSERT_TRUE(ProbeMediaFile(path, file, &error)) << error;
        EXPECT_EQ(file.Tags["title"], "The Title");
        EXPECT_EQ(file.Tags["artist"], "Ann Author");
        EXPECT_EQ(file.Tags["copyright"], "(c) Someone");
        EXPECT_EQ(file.Tags["comment"], "Kind words");
        EXPECT_EQ(file.Tags["date"], "2024");
    }
}

TEST(MediaWriter, FreeOptionsReachTheEncoderOrTheMuxer)
{
    QuietMediaLogs();
    TTestFolder folder;
    TWriterJob job = SnapJob("mp4", "mpeg4", "aac", 25.0);
    // A key frame every frame (the encoder's "g"), the index up front (the muxer's "movflags"), and a name
    // nobody knows, which is ignored with a log line.
    job.Options = { { "g", "1" }, { "movflags", "+faststart" }, { "no_such_option", "1" } };
    const std::string path = folder.File("options.mp4");
    std::string error;
    ASSERT_TRUE(WriteJob(path, job, error)) << error;
    TProbedFile file;
    ASSERT_TRUE(ProbeMediaFile(path, file, &error)) << error;
    ASSERT_NE(file.FirstVideo(), nullptr);
    EXPECT_GT(file.FirstVideo()->Packets, 20);
    EXPECT_EQ(file.FirstVideo()->KeyPackets, file.FirstVideo()->Packets);
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_LT(bytes.find("moov"), bytes.find("mdat"));
}

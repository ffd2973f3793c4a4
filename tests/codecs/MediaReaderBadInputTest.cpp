// Files the reader cannot open, and damaged files it must read as far as they go.
#include "CodecTestSupport.h"

#include <sys/stat.h>

namespace {

struct BadCase {
    const char* Name;
    // Makes the input in the folder and returns the name to open (nullptr for a null name).
    const char* (*Make)(const TTestFolder& folder, std::string& path);
};

const BadCase kBadCases[] = {
    { "missing file",
        [](const TTestFolder& folder, std::string& path) {
            path = folder.File("missing.mp4");
            return path.c_str();
        } },
    { "empty file",
        [](const TTestFolder& folder, std::string& path) {
            path = folder.File("empty.mp4");
            WriteTextFile(path, "");
            return path.c_str();
        } },
    { "text renamed .avi",
        [](const TTestFolder& folder, std::string& path) {
            path = folder.File("notes.avi");
            WriteTextFile(path, "These are not the frames you are looking for.\nJust a few lines of text.\n");
            return path.c_str();
        } },
    { "folder",
        [](const TTestFolder& folder, std::string& path) {
            path = folder.File("clips.mkv");
            mkdir(path.c_str(), 0700);
            return path.c_str();
        } },
    { "empty name",
        [](const TTestFolder&, std::string& path) {
            path.clear();
            return path.c_str();
        } },
    { "null name", [](const TTestFolder&, std::string&) -> const char* { return nullptr; } },
};

} // namespace

TEST(MediaReader, UnreadableInputFailsOpenCleanly)
{
    TTestFolder folder;
    TReaderRecorder recorder;
    for (const BadCase& bad : kBadCases) {
        SCOPED_TRACE(bad.Name);
        std::string path;
        TReaderPtr reader(Braskel_CreateMediaReader(bad.Make(folder, path)));
        ASSERT_NE(reader, nullptr);
        MediaReaderOpenParams params = TReaderRecorder::Params(5);
        EXPECT_NE(reader->Open(&params), 0);

        MediaReaderInfo info;
        std::memset(&info, 0xAB, sizeof(info));
        EXPECT_EQ(reader->GetInfo(&info), 0);
        EXPECT_EQ(info.Opened, 0);
        EXPECT_EQ(info.ColorFormat, 5);
        EXPECT_EQ(info.VideoStreamCount, 0);
        EXPECT_EQ(info.AudioStreamCount, 0);

        // Nothing else works on an unopened reader, and nothing is called back.
        EXPECT_NE(reader->Prepare(), 0);
        EXPECT_NE(reader->Run(), 0);
        EXPECT_NE(reader->Play(0), 0);
        double position = -7.0;
        EXPECT_NE(reader->GetPosition(&position), 0);
        EXPECT_EQ(position, -7.0);
        EXPECT_EQ(reader->GetState(), kMediaReaderStopped);
        EXPECT_EQ(reader->Stop(), 0);
    }
    EXPECT_TRUE(recorder.Calls().empty());
}

TEST(MediaReader, OpenRefusesBadParameters)
{
    TTestFolder folder;
    const std::string path = MakeClip(folder, TTestClipKind::VideoOnly);
    TReaderPtr reader(Braskel_CreateMediaReader(path.c_str()));
    EXPECT_NE(reader->Open(nullptr), 0);
    MediaReaderOpenParams params = TReaderRecorder::Params(2); // No such colour code.
    EXPECT_NE(reader->Open(&params), 0);
    MediaReaderInfo info;
    EXPECT_EQ(reader->GetInfo(&info), 0);
    EXPECT_EQ(info.Opened, 0);
    EXPECT_NE(reader->GetInfo(nullptr), 0);
}

TEST(MediaReader, DamagedFilesDecodeWhatTheyCan)
{
    struct DamageCase {
        TTestClipKind Kind;
        bool Truncate; // Otherwise the middle is overwritten with noise.
        bool MustOpen;
    };
    // MP4 keeps its index at the end, so a cut MP4 cannot be opened at all; the stream formats can.
    const DamageCase kDamageCases[] = {
        { TTestClipKind::Mp4H264Aac, true, false },
        { TTestClipKind::Mp4H264Aac, false, true },
        { TTestClipKind::AviMpeg4Mp3, true, true },
        { TTestClipKind::AviMpeg4Mp3, false, true },
        { TTestClipKind::MkvTwoVideoTwoAudio, true, true },
        { TTestClipKind::MkvTwoVideoTwoAudio, false, true },
        { TTestClipKind::Wmv, true, true },
        { TTestClipKind::Wmv, false, true },
        { TTestClipKind::Flv, true, true },
        { TTestClipKind::Flv, false, true },
        { TTestClipKind::MpegProgram, true, true },
        { TTestClipKind::MpegProgram, false, true },
    };
    TTestFolder folder;
    for (const DamageCase& damage : kDamageCases) {
        SCOPED_TRACE(TestClipExtension(damage.Kind) + (damage.Truncate ? " truncated" : " corrupted"));
        const std::string path = MakeClip(folder, damage.Kind);
        ASSERT_TRUE(damage.Truncate ? TruncateFile(path, 0.6) : CorruptFileMiddle(path, 0.2));

        TReaderRecorder recorder;
        TReaderPtr reader(Braskel_CreateMediaReader(path.c_str()));
        MediaReaderOpenParams params = TReaderRecorder::Params(5);
        const bool opened = reader->Open(&params) == 0;
        MediaReaderInfo info;
        ASSERT_EQ(reader->GetInfo(&info), 0);
        EXPECT_EQ(info.Opened, opened ? 1 : 0);
        if (damage.MustOpen) {
            ASSERT_TRUE(opened);
        }
        if (!opened)
            continue;
        ASSERT_EQ(reader->Prepare(), 0);
        EXPECT_EQ(reader->Run(), 0);
        // A damaged file still ends naturally, once, after whatever part of it could be decoded.
        EXPECT_EQ(recorder.Count('E'), 1);
        EXPECT_EQ(CallOrder(recorder.Calls()).front(), 'B');
        EXPECT_EQ(CallOrder(recorder.Calls()).back(), 'E');
        EXPECT_GT(recorder.Count('V'), 0);
        EXPECT_EQ(reader->GetState(), kMediaReaderStopped);
    }
}

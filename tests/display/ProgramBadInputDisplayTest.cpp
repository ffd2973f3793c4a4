// Bad input met through the program's windows: sources that cannot be read or go away, and an output folder that
// cannot be written. Each ends in a clear message or a failed row, the program keeps running, and no finished
// output is lost.
#include "codecs/testclips/TTestFolder.h"
#include "tests/display/ProgramFlows.h"
#include "tests/engine/PrivateDiskSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using ProgramBadInput = TProgramFlowsTest;

// A file of random bytes is listed as unreadable by the analysis and never becomes a job; a clip cut off in its
// middle converts what it holds or fails alone; the good clip beside them converts.
TEST_F(ProgramBadInput, BrokenSourcesAreListedAndTheGoodOneConverts)
{
    const std::string good = Program.MakeClip("good.avi");
    const std::string cut = Program.MakeClip("cut.avi", 2.0);
    ASSERT_TRUE(TruncateFile(cut, 0.5));
    const std::string noise = Program.SourceFolder() + "/noise.avi";
    ASSERT_TRUE(WriteTextFile(noise, std::string(20000, '\x5a')));
    ASSERT_TRUE(CorruptFileMiddle(noise, 1.0));
    // The unreadable file last: once it is listed the analysis is through.
    AddByDropWithUnreadable({ good, cut, noise }, TOutputFormat::MP4);
    RunBatch();

    const TOutputProbe goodOutput = ProbeOutput(OutputOf(good));
    EXPECT_TRUE(goodOutput.Readable) << Describe(goodOutput);
    EXPECT_NEAR(goodOutput.Duration, 1.0, 0.3) << Describe(goodOutput);
    EXPECT_EQ(OutputOf(noise), "") << "the unreadable file became a job";
    // What was cut off either converts as far as it goes or leaves nothing behind: never a file that does not play.
    if (const std::string cutOutput = OutputOf(cut); !cutOutput.empty()) {
        const TOutputProbe probe = ProbeOutput(cutOutput);
        EXPECT_TRUE(probe.Readable) << Describe(probe);
    }
}

// Only unreadable files: the program says there is nothing to add, and the list stays empty (a batch converts
// nothing).
TEST_F(ProgramBadInput, OnlyUnreadableFilesAreRefusedWithAMessage)
{
    const std::string noise = Program.SourceFolder() + "/noise.mp4";
    ASSERT_TRUE(WriteTextFile(noise, std::string(4096, 'x')));
    const TFaceRect list = Program.FaceArea("FileList");
    ASSERT_TRUE(Program.DropOnMainWindow({ noise }, (list.Left + list.Right) / 2, (list.Top + list.Bottom) / 2));
    const TShownWindow analysis = Program.WaitForWindow("Video Media Information Analysis");
    ASSERT_TRUE(analysis.Found());
    const TShownWindow client = Program.ClientOf(analysis);
    ASSERT_TRUE(Program.WaitUntil([&] { return Program.ColoursIn(client, { 20, 296, 300, 306 }) >= 3; }));
    Program.ClickIn(client, client.Width - 92 + 40, 456 + 12);
    // The message box has the program's name for its title.
    const TShownWindow message = Program.WaitForWindow("Tarnwick Pro");
    ASSERT_TRUE(message.Found()) << "no message that nothing can be added";
    Program.Activate(message);
    Program.Key("Return");
    ASSERT_TRUE(Program.WaitWindowGone("Tarnwick Pro"));
    EXPECT_FALSE(Program.FindWindow("Output Settings").Found());
    // Nothing joined the list: a good clip added next is the batch's only job.
    const std::string good = Program.MakeClip("good.avi");
    AddByDrop({ good }, TOutputFormat::MP4);
    RunBatch();
    EXPECT_EQ(Outputs(), std::vector<std::string> { OutputOf(good) });
}

// The output folder on a file system of its own, so that it can really be full or read-only (also to root). It is
// mounted before the program starts, which then shares the test's private mount namespace.
class ProgramOutputDisk : public TProgramFlowsTest {
protected:
    void BeforeStart() override { Mounted = Disk.Mount(Program.VideosFolder(), Skipped); }
    TPrivateDisk Disk;
    bool Mounted = false;
    std::string Skipped;
};

// A full disk: the clip converted before it filled up stays whole, the one that found no room fails and leaves
// no half-written file behind.
TEST_F(ProgramOutputDisk, AFullDiskFailsTheJobAndKeepsTheFinishedOutput)
{
    if (!Mounted)
        GTEST_SKIP() << "needs a tmpfs of its own: " << Skipped;
    const std::string first = Program.MakeClip("first.avi", 1.0, 64, 48);
    AddByDrop({ first }, TOutputFormat::MP4);
    RunBatch();
    const std::string firstOutput = OutputOf(first);
    ASSERT_FALSE(firstOutput.empty()) << "the first clip was not converted";
    const auto firstSize = fs::file_size(firstOutput);

    std::string why;
    ASSERT_TRUE(Disk.FillUp(why)) << why;
    const std::string second = Program.MakeClip("second.avi", 1.0, 160, 120);
    AddByDrop({ second }, TOutputFormat::MP4);
    RunBatch();
    Program.KeepScreenshot(Program.MainWindow(), ScreenshotName("after"));
    EXPECT_EQ(OutputOf(second), "") << "a half-written output was left";
    ASSERT_TRUE(fs::exists(firstOutput));
    EXPECT_EQ(fs::file_size(firstOutput), firstSize);
    EXPECT_TRUE(ProbeOutput(firstOutput).Readable);
}

// A read-only output folder: the job fails, nothing is written, the program goes on.
TEST_F(ProgramOutputDisk, AReadOnlyOutputFolderFailsTheJob)
{
    if (!Mounted)
        GTEST_SKIP() << "needs a tmpfs of its own: " << Skipped;
    std::string why;
    ASSERT_TRUE(Disk.MakeReadOnly(why)) << why;
    const std::string clip = Program.MakeClip("clip.avi");
    AddByDrop({ clip }, TOutputFormat::MP4);
    RunBatch();
    Program.KeepScreenshot(Program.MainWindow(), ScreenshotName("after"));
    EXPECT_TRUE(Outputs().empty());
}

// A source deleted before the batch fails alone; one deleted while it converts is still read to its end (the
// program holds it open); the clip after them converts.
TEST_F(ProgramBadInput, SourcesDeletedBeforeAndDuringTheBatch)
{
    const std::string gone = Program.MakeClip("gone.avi");
    const std::string during = Program.MakeClip("during.avi", 20.0, 320, 240);
    const std::string last = Program.MakeClip("last.avi");
    AddByDrop({ gone, during, last }, TOutputFormat::MP4);
    fs::remove(gone);
    StartBatch();
    // Deleted as soon as its output has begun.
    ASSERT_TRUE(Program.WaitUntil([&] { return !OutputOf(during).empty(); }, 60s)) << "the long clip never began";
    fs::remove(during);
    ASSERT_TRUE(WaitBatchEnd());

    EXPECT_EQ(OutputOf(gone), "");
    const std::string duringOutput = OutputOf(during);
    if (!duringOutput.empty()) {
        const TOutputProbe probe = ProbeOutput(duringOutput);
        EXPECT_TRUE(probe.Readable) << Describe(probe);
    }
    const TOutputProbe lastOutput = ProbeOutput(OutputOf(last));
    EXPECT_TRUE(lastOutput.Readable) << Describe(lastOutput);
}

// The skin folder taken away while the program runs: the skins were read at the start, a window opened after says
// on the error output which of its pictures it could not read and works without them, and the conversion goes on.
TEST_F(ProgramBadInput, TheSkinFolderRemovedWhileRunning)
{
    fs::remove_all(Program.ProgramFolder() + "/Skin");
    const std::string clip = Program.MakeClip("clip.avi");
    AddByDrop({ clip }, TOutputFormat::MP4);
    RunBatch();
    ExpectOutput(OutputOf(clip), TOutputFormat::MP4, 1.0);
    EXPECT_NE(Program.Errors().find("OutputSettingsMP4.bmp is not read"), std::string::npos) << Program.Errors();
}

} // namespace

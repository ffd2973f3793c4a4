#include "tests/display/ProgramFlows.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

// The output settings window's format pictures: 71 x 81, 85 apart from x 14, at y 44 of its client area.
constexpr int FormatPictureLeft = 14;
constexpr int FormatPictureStep = 85;
constexpr int FormatPictureTop = 44;
// The analysis window's title, and the first row of its list of files it could not read (client coordinates).
constexpr const char* AnalysisTitle = "Video Media Information Analysis";
constexpr TFaceRect NotSupportedFirstRow { 20, 296, 300, 306 };
// Its OK button, in its client area.
constexpr int OutputSettingsOkX = 510 + 42;
constexpr int OutputSettingsOkY = 560 + 13;

size_t LineCount(const std::string& text)
{
    return size_t(std::count(text.begin(), text.end(), '\n'));
}

std::string Joined(const std::vector<std::string>& texts)
{
    std::ostringstream joined;
    for (const std::string& text : texts)
        joined << "\"" << text << "\" ";
    return joined.str();
}

} // namespace

const TFormatProfile FormatProfiles[8] = {
    { TOutputFormat::AVI, "AVI - XviD Standard Quality (320x240)", ".avi", "avi", 320, 240 },
    { TOutputFormat::MPEG, "MPEG-1 - VCD (352x288 PAL)", ".mpg", "mpeg", 352, 288 },
    { TOutputFormat::WMV, "WMV - Standard Quality (320x240)", ".wmv", "asf", 320, 240 },
    { TOutputFormat::Real, "RM - Standard Quality (320x240)", ".rm", "rm", 320, 240 },
    { TOutputFormat::MOV, "MOV - QuickTime Standard (320x240)", ".mov", "mov,mp4,m4a,3gp,3g2,mj2", 320, 240 },
    { TOutputFormat::MP4, "MP4 - PSP (320x240)", ".mp4", "mov,mp4,m4a,3gp,3g2,mj2", 320, 240 },
    { TOutputFormat::ThreeGP, "3GP - Mobile Phone (176x144)", ".3gp", "mov,mp4,m4a,3gp,3g2,mj2", 176, 144 },
    { TOutputFormat::FLV, "FLV - Web Video (320x240)", ".flv", "flv", 320, 240 },
};

const TFormatProfile& ProfileOf(TOutputFormat format)
{
    return FormatProfiles[int(format)];
}

void TProgramFlowsTest::SetUp()
{
    std::vector<std::string> profiles;
    for (const TFormatProfile& profile : FormatProfiles)
        profiles.push_back(profile.Profile);
    Program.KeepOnlyProfiles(profiles);
    BeforeStart();
    ASSERT_TRUE(Program.Start()) << "the main window did not show: " << Program.Errors();
}

void TProgramFlowsTest::TearDown()
{
    if (!Program.Program().Finished() && HasFailure()) {
        if (const TShownWindow main = Program.Locate(Program.MainWindow().Window); main.Found())
            Program.KeepScreenshot(main, ScreenshotName("failed"));
        std::cerr << "windows shown at the failure: " << Joined(Program.ShownTitles()) << "\n";
    }
    if (!Program.Program().Finished()) {
        EXPECT_TRUE(Program.Quit()) << "the program did not end on its close button: " << Program.Errors();
    }
}

void TProgramFlowsTest::KeyToMainWindow(const std::string& keys)
{
    Program.Activate(Program.MainWindow());
    Program.Key(keys);
}

void TProgramFlowsTest::AnswerOutputSettings(TOutputFormat format)
{
    const TShownWindow dialog = Program.WaitForWindow("Output Settings");
    ASSERT_TRUE(dialog.Found()) << "no output settings window; shown: " << Joined(Program.ShownTitles()) << "\n"
                                << Program.Errors();
    const TShownWindow client = Program.ClientOf(dialog);
    Program.ClickIn(client, FormatPictureLeft + int(format) * FormatPictureStep + 35, FormatPictureTop + 40);
    Program.ClickIn(client, OutputSettingsOkX, OutputSettingsOkY);
    ASSERT_TRUE(Program.WaitWindowGone("Output Settings")) << "the output settings window stayed";
}

void TProgramFlowsTest::AddByDrop(const std::vector<std::string>& paths, TOutputFormat format)
{
    const TFaceRect list = Program.FaceArea("FileList");
    std::string error;
    ASSERT_TRUE(Program.DropOnMainWindow(paths, (list.Left + list.Right) / 2, (list.Top + list.Bottom) / 2, &error))
        << error;
    AnswerOutputSettings(format);
}

void TProgramFlowsTest::AddByDropWithUnreadable(const std::vector<std::string>& paths, TOutputFormat format)
{
    const TFaceRect list = Program.FaceArea("FileList");
    std::string error;
    ASSERT_TRUE(Program.DropOnMainWindow(paths, (list.Left + list.Right) / 2, (list.Top + list.Bottom) / 2, &error))
        << error;
    // The analysis window lists what it could not read and waits for its Close button (right, near the bottom).
    const TShownWindow analysis = Program.WaitForWindow(AnalysisTitle);
    ASSERT_TRUE(analysis.Found()) << "no analysis window; shown: " << Joined(Program.ShownTitles());
    const TShownWindow client = Program.ClientOf(analysis);
    // Its button turns from Cancel into Close once the analysis is through (a click before would cancel it): the
    // unreadable file comes last, and once it is listed the analysis is over.
    ASSERT_TRUE(Program.WaitUntil([&] { return Program.ColoursIn(client, NotSupportedFirstRow) >= 3; }))
        << "the unreadable file was not listed";
    Program.ClickIn(client, client.Width - 92 + 40, 456 + 12);
    AnswerOutputSettings(format);
}

void TProgramFlowsTest::StartBatch()
{
    KeyToMainWindow("F9");
}

bool TProgramFlowsTest::WaitBatchEnd(size_t opened, std::chrono::milliseconds timeout)
{
    return Program.WaitUntil([&] { return LineCount(Program.OpenLog()) >= opened; }, timeout);
}

void TProgramFlowsTest::RunBatch()
{
    const size_t opened = LineCount(Program.OpenLog());
    StartBatch();
    ASSERT_TRUE(WaitBatchEnd(opened + 1)) << "the batch did not end; shown: " << Joined(Program.ShownTitles())
                                          << "\n" << Program.Errors();
}

std::vector<std::string> TProgramFlowsTest::Outputs() const
{
    std::vector<std::string> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(Program.VideosFolder(), error))
        if (entry.is_regular_file())
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::string TProgramFlowsTest::OutputOf(const std::string& source, const std::string& suffix) const
{
    const std::string stem = fs::path(source).stem().string() + suffix;
    for (const std::string& file : Outputs())
        if (fs::path(file).stem() == stem)
            return file;
    return {};
}

void TProgramFlowsTest::ExpectOutput(const std::string& output, TOutputFormat format, double seconds, bool audio)
{
    const TFormatProfile& profile = ProfileOf(format);
    SCOPED_TRACE(profile.Profile);
    ASSERT_FALSE(output.empty()) << "no output";
    EXPECT_EQ(fs::path(output).extension(), profile.Extension);
    const TOutputProbe probe = ProbeOutput(output);
    ASSERT_TRUE(probe.Readable) << Describe(probe);
    EXPECT_EQ(probe.Format, profile.Container) << Describe(probe);
    EXPECT_EQ(probe.VideoStreams, 1) << Describe(probe);
    EXPECT_EQ(probe.Width, profile.Width) << Describe(probe);
    EXPECT_EQ(probe.Height, profile.Height) << Describe(probe);
    EXPECT_EQ(probe.AudioStreams, audio ? 1 : 0) << Describe(probe);
    // Containers round their length up to whole frames or packets.
    EXPECT_NEAR(probe.Duration, seconds, 0.35) << Describe(probe);
}

double TProgramFlowsTest::SourceDuration(const std::string& path)
{
    return ProbeOutput(path).Duration;
}

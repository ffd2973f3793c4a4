// The program as a user meets it, each test one flow through its windows: started with private folders under
// Xvfb and openbox, driven by mouse and keys, its outputs read back with ffprobe.
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestProbe.h"
#include "tests/display/ProgramFlows.h"
#include "tests/display/TMockLogind.h"
#include "tests/display/support/TXSession.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using ProgramFlows = TProgramFlowsTest;

// The main window's check boxes, which the program places itself (they are no objects of the skin): their boxes
// at the left of their captions, in client coordinates.
constexpr int AutoShutdownX = 659 + 8;
constexpr int AutoShutdownY = 423 + 10;
constexpr int PreviewMovieX = 549 + 8;
constexpr int PreviewMovieY = 423 + 10;

// The program starts on its private folders, keeps a screenshot of its main window and ends on its skin's close
// button (the fixture's end).
TEST_F(ProgramFlows, StartsOnItsOwnFoldersAndEndsOnItsCloseButton)
{
    EXPECT_TRUE(fs::exists(std::string(TP_SCREENSHOT_DIR) + "/" + ScreenshotName("Tarnwick Pro") + ".png"));
    EXPECT_EQ(Program.MainWindow().Width, 785);
    EXPECT_EQ(Program.MainWindow().Height, 521);
}

// Three clips dropped from a file manager, all selected and given MP4 in the profile combo, become three MP4
// files that play, and the output folder is opened.
TEST_F(ProgramFlows, ThreeDroppedClipsBecomeThreePlayableMp4Files)
{
    const std::vector<std::string> clips = { Program.MakeClip("first.avi"), Program.MakeClip("second.mp4", 1.5),
        Program.MakeClip("third.mkv", 1.0, 96, 64) };
    AddByDrop(clips, TOutputFormat::AVI);
    KeyToMainWindow("ctrl+a");
    // The combo lists the profiles by format: AVI, MPEG, WMV, RealMedia, then MP4. With several rows selected it
    // shows none; Page Up goes to the first.
    const TFaceRect combo = Program.FaceArea("OutputProfile");
    Program.ClickIn(Program.MainWindow(), (combo.Left + combo.Right) / 2, (combo.Top + combo.Bottom) / 2);
    for (const char* key : { "Prior", "Down", "Down", "Down", "Down", "Return" })
        Program.Key(key);
    RunBatch();
    for (const std::string& clip : clips) {
        SCOPED_TRACE(clip);
        ExpectOutput(OutputOf(clip), TOutputFormat::MP4, SourceDuration(clip));
    }
    EXPECT_NE(Program.OpenLog().find(Program.VideosFolder()), std::string::npos) << Program.OpenLog();
}

// A file already in the output folder under the output's name stays as it was: the output takes a new name.
TEST_F(ProgramFlows, AnExistingFileIsNeverOverwritten)
{
    const std::string clip = Program.MakeClip("taken.avi");
    const std::string existing = Program.VideosFolder() + "/taken.mp4";
    std::ofstream(existing) << "the user's own file";
    AddByDrop({ clip }, TOutputFormat::MP4);
    RunBatch();
    std::ifstream kept(existing);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "the user's own file");
    ExpectOutput(OutputOf(clip, "_1"), TOutputFormat::MP4, 1.0);
}

// The output folder typed in the main window and the unticked "Preview Movie" are remembered when the program ends
// and in force when it starts again.
TEST_F(ProgramFlows, SettingsAreRememberedAcrossARestart)
{
    const std::string elsewhere = Program.Root() + "/elsewhere/";
    fs::create_directories(elsewhere);
    const TFaceRect folder = Program.FaceArea("OutputFolder");
    Program.ClickIn(Program.MainWindow(), (folder.Left + folder.Right) / 2, (folder.Top + folder.Bottom) / 2);
    Program.Key("End");
    Program.Key("shift+Home");
    Program.Type(elsewhere);
    Program.ClickIn(Program.MainWindow(), PreviewMovieX, PreviewMovieY);
    ASSERT_TRUE(Program.Quit()) << Program.Errors();
    std::ifstream file(Program.ProgramFolder() + "/LastSettings.ini");
    const std::string settings((std::istreambuf_iterator<char>(file)), {});
    EXPECT_NE(settings.find("OutputFolder=" + elsewhere), std::string::npos) << settings;
    EXPECT_NE(settings.find("PreviewMovie=0"), std::string::npos) << settings;

    ASSERT_TRUE(Program.Start()) << Program.Errors() << ::testing::PrintToString(Program.ShownTitles());
    const std::string clip = Program.MakeClip("moved.avi");
    AddByDrop({ clip }, TOutputFormat::MP4);
    RunBatch();
    ExpectOutput(elsewhere + "moved.mp4", TOutputFormat::MP4, 1.0);
    EXPECT_TRUE(Outputs().empty()) << "an output went to the videos folder";
}

// One clip to each of the eight formats, in one batch.
TEST_F(ProgramFlows, ConvertsToEachOfTheEightFormats)
{
    for (const TFormatProfile& profile : FormatProfiles) {
        const std::string clip = Program.MakeClip(std::string("to") + (profile.Extension + 1) + ".avi");
        AddByDrop({ clip }, profile.Format);
    }
    RunBatch();
    for (const TFormatProfile& profile : FormatProfiles)
        ExpectOutput(OutputOf(std::string("to") + (profile.Extension + 1) + ".avi"), profile.Format, 1.0);
}

// A file chosen in the open dialog (the desktop's chooser: here zenity, on the test's display) joins the list.
TEST_F(ProgramFlows, AddsAFileThroughTheOpenDialog)
{
    if (!fs::exists("/usr/bin/zenity"))
        GTEST_SKIP() << "zenity is not installed";
    const std::string clip = Program.MakeClip("picked one.avi");
    KeyToMainWindow("alt+a");
    const TShownWindow chooser = Program.WaitForWindow("Add Video Files", 30s);
    ASSERT_TRUE(chooser.Found()) << "no open dialog; shown: " << ::testing::PrintToString(Program.ShownTitles());
    Program.Activate(chooser);
    // The file's path typed into the chooser's location field opens it.
    Program.Key("ctrl+l");
    Program.Type(clip);
    // The chooser ignores Return while it still reads the folder the typed path names: pressed again until
    // it takes it.
    for (int tries = 0; tries < 5 && !Program.WaitWindowGone("Add Video Files", tries == 0 ? 0s : 1s); ++tries)
        Program.Key("Return");
    AnswerOutputSettings(TOutputFormat::AVI);
    RunBatch();
    ExpectOutput(OutputOf(clip), TOutputFormat::AVI, 1.0);
}

// Stop during a batch asks first. NO goes on with the same job to its end; YES leaves the job queued and its
// partial output where it is, and the next batch converts it again under a new name.
TEST_F(ProgramFlows, StopIsAskedAndAnsweredBothWays)
{
    const std::string first = Program.MakeClip("first.avi", 30.0, 320, 240);
    const std::string second = Program.MakeClip("second.avi", 30.0, 320, 240);
    AddByDrop({ first, second }, TOutputFormat::MP4);
    StartBatch();
    auto askToStop = [&](const std::string& running) {
        EXPECT_TRUE(Program.WaitUntil([&] { return !OutputOf(running).empty(); }, 60s)) << "no conversion began";
        KeyToMainWindow("F10");
        const TShownWindow prompt = Program.WaitForWindow("Tarnwick Pro");
        EXPECT_TRUE(prompt.Found()) << "no stop prompt";
        return Program.ClientOf(prompt);
    };
    // NO, then YES: the prompt's buttons side by side at its bottom right.
    Program.ClickIn(askToStop(first), 186 + 37, 88 + 12);
    ASSERT_TRUE(Program.WaitWindowGone("Tarnwick Pro"));
    Program.ClickIn(askToStop(second), 271 + 37, 88 + 12);
    ASSERT_TRUE(WaitBatchEnd(1)) << "the batch did not end after YES";

    ExpectOutput(OutputOf(first), TOutputFormat::MP4, 30.0);
    const std::string partial = OutputOf(second);
    EXPECT_TRUE(fs::exists(partial)) << "the stopped job's output was not left where it was";
    RunBatch();
    ExpectOutput(OutputOf(second, "_1"), TOutputFormat::MP4, 30.0);
}

// The middle rows of the preview track bar, where its thumb runs (the trim markers show below them).
TScreenImage ThumbRows(TProgramDriver& program)
{
    const TFaceRect bar = program.FaceArea("PreviewTrackBar");
    const TShownWindow window = program.Locate(program.MainWindow().Window);
    const int middle = (bar.Top + bar.Bottom) / 2;
    return program.Session().Grab(window.Left + bar.Left, window.Top + middle - 3, bar.Right - bar.Left, 6);
}

// How far the thumb has come, 0 to 1: the rightmost column of those rows that differs from how they showed at the
// start (thumb at the left), over the bar's width.
double ThumbShare(TProgramDriver& program, const TScreenImage& atStart)
{
    const TScreenImage now = ThumbRows(program);
    int rightmost = 0;
    for (int y = 0; y < now.Height; ++y)
        for (int x = 0; x < now.Width; ++x)
            if (now.Pixels[size_t(y * now.Width + x)] != atStart.Pixels[size_t(y * now.Width + x)])
                rightmost = std::max(rightmost, x);
    return double(rightmost) / double(now.Width);
}

// The strip under the preview track bar, where the trim markers show.
std::vector<uint32_t> MarkerStrip(TProgramDriver& program)
{
    const TFaceRect bar = program.FaceArea("PreviewTrackBar");
    const TShownWindow window = program.Locate(program.MainWindow().Window);
    return program.Session()
        .Grab(window.Left + bar.Left, window.Top + bar.Bottom - 4, bar.Right - bar.Left, 14)
        .Pixels;
}

// The preview plays the selected job; the start and end markers set while it plays trim what the batch converts.
TEST_F(ProgramFlows, PreviewAClipAndSetItsTrimMarkers)
{
    const std::string clip = Program.MakeClip("trimmed.avi", 4.0);
    AddByDrop({ clip }, TOutputFormat::MP4);
    const TScreenImage atStart = ThumbRows(Program);
    // The new row is selected: F5 plays it.
    KeyToMainWindow("F5");
    const TFaceRect area = Program.FaceArea("PreviewArea");
    ASSERT_TRUE(Program.WaitUntil([&] { return Program.ColoursIn(Program.MainWindow(), area) > 16; }))
        << "the preview shows no picture";
    Program.KeepScreenshot(Program.MainWindow(), ScreenshotName("previewing"));
    ASSERT_TRUE(Program.WaitUntil([&] { return ThumbShare(Program, atStart) >= 0.25; })) << "the track bar did not move";
    // Each marker shows under the track bar where the preview was when its key came.
    const std::vector<uint32_t> unmarked = MarkerStrip(Program);
    KeyToMainWindow("alt+b");
    EXPECT_TRUE(Program.WaitUntil([&] { return MarkerStrip(Program) != unmarked; })) << "no start marker";
    ASSERT_TRUE(Program.WaitUntil([&] { return ThumbShare(Program, atStart) >= 0.6; }));
    const std::vector<uint32_t> startMarked = MarkerStrip(Program);
    KeyToMainWindow("alt+e");
    EXPECT_TRUE(Program.WaitUntil([&] { return MarkerStrip(Program) != startMarked; })) << "no end marker";
    Program.KeepScreenshot(Program.MainWindow(), ScreenshotName("trimmed"));
    KeyToMainWindow("F7");

    RunBatch();
    const TOutputProbe probe = ProbeOutput(OutputOf(clip));
    ASSERT_TRUE(probe.Readable) << Describe(probe);
    // A part of the four seconds: how much depends on when the keys arrived, which a loaded machine delays, and
    // the thumb's watch may see the bar repainted for the markers early.
    EXPECT_GT(probe.Duration, 0.05) << Describe(probe);
    EXPECT_LT(probe.Duration, 3.0) << Describe(probe);
}

// A folder's clips, subfolders included, found by the add-folder dialog, join the list and convert; what is no
// video stays out.
TEST_F(ProgramFlows, AddsAFolderWithItsSubfolders)
{
    // The only folder in the home folder, so the first under "Home" in the dialog's tree.
    const std::string folder = Program.HomeFolder() + "/clips";
    fs::create_directories(folder + "/inner");
    const std::string top = Program.MakeClip("top.avi");
    const std::string deep = Program.MakeClip("deep.mp4");
    fs::rename(top, folder + "/top.avi");
    fs::rename(deep, folder + "/inner/deep.mp4");
    std::ofstream(folder + "/notes.txt") << "not a video";
    KeyToMainWindow("ctrl+f");
    const TShownWindow dialog = Program.WaitForWindow("Add Folder");
    ASSERT_TRUE(dialog.Found());
    // The tree starts on the desktop, with Home its first folder: down to it, open it, down to its first folder.
    for (const char* key : { "Down", "Right", "Down", "alt+s", "alt+a" })
        Program.Key(key);
    AnswerOutputSettings(TOutputFormat::FLV);
    RunBatch();
    ExpectOutput(OutputOf("top.avi"), TOutputFormat::FLV, 1.0);
    ExpectOutput(OutputOf("deep.mp4"), TOutputFormat::FLV, 1.0);
    EXPECT_EQ(Outputs().size(), 2u);
}

// Places in the advanced settings window (705 x 740 on a first run), in its own coordinates.
constexpr int AdvanceCropTopX = 531;
constexpr int AdvanceCropTopY = 206;
constexpr int AdvanceCropBottomX = 626;
constexpr int AdvanceSetAspectX = 520;
constexpr int AdvanceSetAspectY = 302;
constexpr int AdvanceAspectTextX = 601;
constexpr int AdvanceAspectTextY = 332;
constexpr int AdvanceStreamsPageX = 599;
constexpr int AdvanceStreamsPageY = 552;
constexpr int AdvanceVideoStreamX = 596;
constexpr int AdvanceVideoStreamY = 182;
constexpr int AdvanceTrackLeft = 76;
constexpr int AdvanceTrackRight = 681;
constexpr int AdvanceMarkerY = 604;
constexpr int AdvanceOkX = 553;
// The decoder submenu of the list's menu, from the point the menu was opened at: its check marks' column and its
// rows' middles.
constexpr int DecoderMenuCheckX = 259;
constexpr int DecoderMenuFirstRowY = 314;
constexpr int DecoderMenuRowHeight = 24;
constexpr int AdvanceOkY = 708;

// Replaces the text of the field at (x, y) of `window`.
void TypeInto(TProgramDriver& program, const TShownWindow& window, int x, int y, const std::string& text)
{
    program.ClickIn(window, x, y);
    program.Key("End");
    for (int i = 0; i < 8; ++i)
        program.Key("BackSpace");
    program.Type(text);
}

// Whether the output's first picture has the source's red top band at its top.
bool TopIsRed(const std::string& output)
{
    TProbedPicture picture;
    std::string error;
    if (!DecodeFirstPicture(output, picture, &error)) {
        ADD_FAILURE() << error;
        return false;
    }
    return picture.V(picture.Width / 2, 1) > 200 && picture.Y(picture.Width / 2, 1) < 120;
}

// Opens the advanced settings window on the selected row, lets `set` change it, and closes it with OK.
void SetInAdvanceWindow(TProgramDriver& program, const std::function<void(const TShownWindow&)>& set)
{
    program.ClickFaceButton("Jump");
    const TShownWindow advance = program.WaitForWindow("Advance Settings");
    ASSERT_TRUE(advance.Found()) << "no advanced settings window";
    ASSERT_EQ(advance.Width, 705);
    set(advance);
    program.KeepScreenshot(advance, ScreenshotName("advance-set"));
    program.ClickIn(advance, AdvanceOkX, AdvanceOkY);
    ASSERT_TRUE(program.WaitWindowGone("Advance Settings")) << "the window refused its settings";
}

// The crop and the aspect ratio set in the advanced settings window reach the output: the source's red top band is
// cropped away from one clip, and another shows at 16:9.
TEST_F(ProgramFlows, AdvancedSettingsCropAndAspectReachTheOutput)
{
    const std::string widened = Program.MakeClip("widened.avi");
    const std::string cropped = Program.MakeClip("cropped.avi");
    AddByDrop({ widened }, TOutputFormat::MP4);
    AddByDrop({ cropped }, TOutputFormat::MP4);
    // The row just added is the selected one.
    SetInAdvanceWindow(Program, [&](const TShownWindow& advance) {
        TypeInto(Program, advance, AdvanceCropTopX, AdvanceCropTopY, "20");
        TypeInto(Program, advance, AdvanceCropBottomX, AdvanceCropTopY, "20");
    });
    // The first row, under the list's header.
    const TFaceRect list = Program.FaceArea("FileList");
    Program.ClickIn(Program.MainWindow(), list.Left + 50, list.Top + 30);
    SetInAdvanceWindow(Program, [&](const TShownWindow& advance) {
        Program.ClickIn(advance, AdvanceSetAspectX, AdvanceSetAspectY);
        TypeInto(Program, advance, AdvanceAspectTextX, AdvanceAspectTextY, "16:9");
    });
    RunBatch();

    ExpectOutput(OutputOf(widened), TOutputFormat::MP4, 1.0);
    ExpectOutput(OutputOf(cropped), TOutputFormat::MP4, 1.0);
    EXPECT_TRUE(TopIsRed(OutputOf(widened)));
    EXPECT_FALSE(TopIsRed(OutputOf(cropped))) << "the crop did not reach the output";
    EXPECT_EQ(ProbeOutput(OutputOf(widened)).DisplayAspect, "16:9");
}

// The second video stream of a source with two, chosen on the advanced window's streams page, is the one
// converted: the output shows its 3:1 picture.
TEST_F(ProgramFlows, AStreamChosenInTheAdvancedWindowIsConverted)
{
    TTestClipSpec spec;
    spec.Container = "matroska";
    TTestVideoStream first;
    first.Width = 160;
    first.Height = 120;
    TTestVideoStream second = first;
    second.Width = 192;
    second.Height = 64;
    spec.Video = { first, second };
    spec.Audio = { TTestAudioStream {} };
    const std::string clip = Program.MakeClip("two streams.mkv", spec);
    AddByDrop({ clip }, TOutputFormat::MP4);
    SetInAdvanceWindow(Program, [&](const TShownWindow& advance) {
        Program.ClickIn(advance, AdvanceStreamsPageX, AdvanceStreamsPageY);
        Program.ClickIn(advance, AdvanceVideoStreamX, AdvanceVideoStreamY);
        Program.Key("Down");
        Program.Key("Return");
    });
    RunBatch();
    ExpectOutput(OutputOf(clip), TOutputFormat::MP4, 1.0);
    EXPECT_EQ(ProbeOutput(OutputOf(clip)).DisplayAspect, "3:1");
}

// The start marker dragged to the middle of the advanced window's track bar trims the first half away; the
// other decoder (the "DirectShow" one; the built-in one is the default for AVI) forced through the list's menu
// reads the source, and the menu shows it checked after.
TEST_F(ProgramFlows, TrimMarkerDraggedAndDecoderForced)
{
    const std::string clip = Program.MakeClip("halved.avi", 2.0);
    AddByDrop({ clip }, TOutputFormat::MP4);
    SetInAdvanceWindow(Program, [&](const TShownWindow& advance) {
        const int middle = (AdvanceTrackLeft + AdvanceTrackRight) / 2;
        Program.Session().Drag(advance.Left + AdvanceTrackLeft, advance.Top + AdvanceMarkerY, advance.Left + middle,
            advance.Top + AdvanceMarkerY);
    });
    // The list's menu on the selected row: up from its last item ("Edit Metadata") to "Decoding Mode...", into it,
    // on its first item.
    const TFaceRect list = Program.FaceArea("FileList");
    const TShownWindow main = Program.Locate(Program.MainWindow().Window);
    const int menuX = main.Left + list.Left + 50;
    const int menuY = main.Top + list.Top + 30;
    auto openDecoderMenu = [&] {
        Program.Session().MoveTo(menuX, menuY);
        Program.Session().Click(TMouseButton::Right);
        for (const char* key : { "Up", "Up", "Right" })
            Program.Key(key);
    };
    openDecoderMenu();
    Program.Key("Return");
    openDecoderMenu();
    // The check mark sits left of the submenu's items, which open beside the menu at the pointer.
    const TShownWindow screen { 1, 0, 0, 1024, 768 };
    auto marked = [&](int row) {
        const int top = menuY + DecoderMenuFirstRowY + row * DecoderMenuRowHeight - 6;
        return Program.ColoursIn(screen, { menuX + DecoderMenuCheckX - 6, top, menuX + DecoderMenuCheckX + 6, top + 12 }) > 1;
    };
    Program.KeepScreenshot(screen, ScreenshotName("decoder-menu"));
    EXPECT_TRUE(marked(0)) << "the DirectShow decoder is not checked";
    EXPECT_FALSE(marked(1)) << "the built-in decoder is still checked";
    Program.Key("Escape");
    Program.Key("Escape");
    RunBatch();
    const TOutputProbe probe = ProbeOutput(OutputOf(clip));
    ASSERT_TRUE(probe.Readable) << Describe(probe);
    EXPECT_NEAR(probe.Duration, 1.0, 0.3) << Describe(probe);
}

// The tags typed in the metadata window (Ctrl+T on the selected row) are written into the output.
TEST_F(ProgramFlows, TagsEditedForAJobAreWrittenIntoItsOutput)
{
    const std::string clip = Program.MakeClip("tagged.avi");
    AddByDrop({ clip }, TOutputFormat::MP4);
    KeyToMainWindow("ctrl+t");
    const TShownWindow tags = Program.WaitForWindow("Edit Metadata");
    ASSERT_TRUE(tags.Found()) << "no metadata window";
    const TShownWindow client = Program.ClientOf(tags);
    TypeInto(Program, client, 90 + 128, 12 + 10, "Harbour Walk");
    Program.ClickIn(client, 176 + 40, 184 + 12);
    ASSERT_TRUE(Program.WaitWindowGone("Edit Metadata"));
    RunBatch();
    EXPECT_EQ(ProbeOutput(OutputOf(clip)).Title, "Harbour Walk");
}

// Settings given to several jobs at once (all selected, Ctrl+S): another format with the audio switched off.
TEST_F(ProgramFlows, SettingsGivenToSelectedJobsReachTheirOutputs)
{
    const std::string first = Program.MakeClip("one.avi");
    const std::string second = Program.MakeClip("two.mp4");
    AddByDrop({ first, second }, TOutputFormat::MP4);
    KeyToMainWindow("ctrl+a");
    Program.Key("ctrl+s");
    const TShownWindow settings = Program.WaitForWindow("Output Settings");
    ASSERT_TRUE(settings.Found()) << "no output settings window for the selection";
    // Its "Disable Audio" box, under "Fix Aspect Ratio" at the right of the profile choice.
    Program.ClickIn(Program.ClientOf(settings), 470 + 8, 184 + 10);
    AnswerOutputSettings(TOutputFormat::WMV);
    RunBatch();
    ExpectOutput(OutputOf(first), TOutputFormat::WMV, 1.0, false);
    ExpectOutput(OutputOf(second), TOutputFormat::WMV, 1.0, false);
}

// A profile edited in the profile editor (the frame size of the AVI profile it opens on) and saved is the one the
// next jobs convert with.
TEST_F(ProgramFlows, AnEditedProfileIsUsedByTheNextJobs)
{
    Program.ClickFaceButton("EditProfile");
    const TShownWindow editor = Program.WaitForWindow("Tarnwick Pro - Profile Editor");
    ASSERT_TRUE(editor.Found()) << "no profile editor";
    ASSERT_EQ(editor.Width, 700);
    // Width and height, then Save and Close at the bottom (in the editor window's own coordinates).
    TypeInto(Program, editor, 198, 195, "176");
    TypeInto(Program, editor, 293, 195, "144");
    Program.KeepScreenshot(editor, ScreenshotName("edited"));
    Program.ClickIn(editor, 272, 463);
    // Save asks first, with Yes as the default answer.
    const TShownWindow question = Program.WaitForWindow("Tarnwick Pro");
    ASSERT_TRUE(question.Found()) << "Save did not ask";
    Program.Activate(question);
    Program.Key("Return");
    ASSERT_TRUE(Program.WaitWindowGone("Tarnwick Pro"));
    Program.ClickIn(editor, 512, 463);
    ASSERT_TRUE(Program.WaitWindowGone("Tarnwick Pro - Profile Editor"));
    const std::string stored = Program.ProgramFolder() + "/Profiles/" + ProfileOf(TOutputFormat::AVI).Profile + ".pf";
    std::ifstream file(stored);
    const std::string text((std::istreambuf_iterator<char>(file)), {});
    EXPECT_NE(text.find("Width=176"), std::string::npos) << text;

    const std::string clip = Program.MakeClip("smaller.mp4");
    AddByDrop({ clip }, TOutputFormat::AVI);
    RunBatch();
    const TOutputProbe probe = ProbeOutput(OutputOf(clip));
    EXPECT_EQ(probe.Format, "avi") << Describe(probe);
    EXPECT_EQ(probe.Width, 176) << Describe(probe);
    EXPECT_EQ(probe.Height, 144) << Describe(probe);
}

// The shutdown countdown that follows a batch with "Auto Shutdown" ticked is cancelled with Escape: the machine's
// power-off service (our mock logind here) is never asked.
class ProgramShutdown : public TProgramFlowsTest {
protected:
    void BeforeStart() override
    {
        ASSERT_FALSE(Logind.Address().empty()) << Logind.Error();
        Program.UsePowerOffService(Logind.Address());
    }
    TMockLogind Logind;
};

TEST_F(ProgramShutdown, TheCountdownIsCancelledWithEscape)
{
    const std::string clip = Program.MakeClip("last.avi");
    AddByDrop({ clip }, TOutputFormat::MP4);
    Program.ClickIn(Program.MainWindow(), AutoShutdownX, AutoShutdownY);
    StartBatch();
    const TShownWindow countdown = Program.WaitForWindow("Shutdown");
    ASSERT_TRUE(countdown.Found()) << "no countdown";
    Program.Activate(countdown);
    Program.Key("Escape");
    ASSERT_TRUE(Program.WaitWindowGone("Shutdown"));
    EXPECT_EQ(Program.OpenLog(), "") << "the output folder was opened instead of the countdown";
    ASSERT_TRUE(Program.Quit()) << Program.Errors();
    EXPECT_TRUE(Logind.Requests().empty()) << "the power-off was asked for";
    EXPECT_TRUE(ProbeOutput(OutputOf(clip)).Readable);
}

} // namespace

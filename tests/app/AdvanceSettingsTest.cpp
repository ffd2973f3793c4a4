// The advanced settings window without a window: its aspect text, trim markers, stored trim range and crop
// geometry as tables, and its detail report on jobs over clips the test makes (the whole report of each format
// against its golden file, then the lines that depend on the profile, the manager's namesakes and the source).
#include "app/AdvanceCrop.h"
#include "app/AdvanceDetailReport.h"
#include "app/AdvanceFormRules.h"

#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "engine/FormatProfiles.h"
#include "engine/TConvertJob.h"
#include "engine/TProfileManager.h"
#include "imaging/Img32.h"
#include "imaging/TBitmap32.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

TEST(AdvanceAspectTest, TextsAreAcceptedAndStoredByTheirRatio)
{
    struct Case {
        const char* Text;
        double Ratio; // 0: no ratio.
        bool Valid;
        const char* Stored;
    };
    const Case cases[] = {
        { "Auto", 0, true, "" },
        { "auto ", 0, true, "" },
        { " AUTO", 0, true, "" },
        { "16:9", 16.0 / 9, true, "16:9" },
        { " 4:3", 4.0 / 3, true, " 4:3" },
        { "185:100", 1.85, true, "185:100" },
        { "4: 3", 4.0 / 3, true, "4: 3" },
        { "1.7777", 1.7777, true, "1.7777" },
        { "2", 2, true, "2" },
        { "1.5x", 1.5, true, "1.5x" },
        { "4:0", 0, false, nullptr },
        { "0:3", 0, false, nullptr },
        { "-4:3", 0, false, nullptr },
        { "4 :3", 0, false, nullptr }, // the width must end at the colon
        { ":3", 0, false, nullptr },
        { "99999999999999999999:1", 0, false, nullptr },
        { "abc", 0, false, nullptr },
        { "", 0, false, nullptr },
        { "0", 0, false, nullptr },
        // A negative decimal is refused: the encoder would be handed a negative aspect.
        { "-1.5", 0, false, nullptr },
        { "inf", 0, false, nullptr },
        { "nan", 0, false, nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.Text + "\"");
        EXPECT_NEAR(ParseAspectRatio(c.Text), c.Ratio, 1e-12);
        EXPECT_EQ(ValidateAspectRatio(c.Text), c.Valid);
        if (c.Valid) {
            EXPECT_EQ(StoredAspectRatio(c.Text), c.Stored);
        }
    }
}

// A 100 s source over markers from 64 to 264: two pixels a second.
TEST(AdvanceTrimTest, MarkersStayOneSecondApartWithinTheTrack)
{
    const TTrimTrack track { 64, 264, 100.0 };
    EXPECT_EQ(track.PixelOf(0), 64);
    EXPECT_EQ(track.PixelOf(100), 264);
    EXPECT_EQ(track.PixelOf(30.9), 125);
    EXPECT_DOUBLE_EQ(track.TimeOf(164), 50.0);

    struct Case {
        int32_t X;
        double Other; // The other marker's time; -1.0 unset.
        int32_t StartLeft;
        int32_t EndLeft;
    };
    const Case cases[] = {
        { 100, 80.0, 100, 226 },
        { 10, 80.0, 64, 226 }, // left of the track; the end stops a second after 80 s
        { 300, 80.0, 222, 264 }, // the start stops a second before 80 s; the end at the track's right
        { 250, -1.0, 250, 250 },
        { 270, -1.0, 262, 264 }, // unset end: a second before the duration
        { 64, -1.0, 64, 66 }, // unset start: a second after 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.X);
        EXPECT_EQ(track.DragStart(c.X, c.Other), c.StartLeft);
        EXPECT_EQ(track.DragEnd(c.X, c.Other), c.EndLeft);
    }
}

// No duration, a panel narrower than its margins or a clip under a second leave nothing to divide by or an empty
// range: the markers keep to the track's ends.
TEST(AdvanceTrimTest, UnusableTracksKeepTheMarkersAtTheirEnds)
{
    const TTrimTrack tracks[] = { { 64, 264, 0.0 }, { 64, 64, 100.0 }, { 64, 40, 100.0 }, { 64, 264, -3.0 } };
    for (const TTrimTrack& track : tracks) {
        SCOPED_TRACE(track.TrackRight - track.TrackLeft);
        EXPECT_FALSE(track.Usable());
        EXPECT_EQ(track.PixelOf(5), track.TrackLeft);
        EXPECT_EQ(track.TimeOf(200), 0.0);
        EXPECT_EQ(track.DragStart(200, -1.0), track.TrackLeft);
        EXPECT_EQ(track.DragEnd(10, -1.0), track.TrackRight);
    }
    const TTrimTrack shortClip { 64, 264, 0.5 };
    EXPECT_EQ(shortClip.DragStart(200, -1.0), 64);
    EXPECT_EQ(shortClip.DragEnd(10, -1.0), 264);
}

TEST(AdvanceTrimTest, RangesWithinTheFirstAndLastSecondAreStoredAsUnset)
{
    struct Case {
        double TrimStart, TrimEnd, Duration;
        double StartTime, EndTime;
    };
    const Case cases[] = {
        { 0.0, 12.4, 12.4, -1.0, -1.0 }, // untouched
        { 0.9, 12.0, 12.4, -1.0, -1.0 }, // within the first second; in the last partial second
        { 1.0, 11.9, 12.4, 1.0, 11.9 },
        { 3.25, 8.5, 12.4, 3.25, 8.5 },
    };
    for (const Case& c : cases) {
        const TStoredTrim stored = StoredTrim(c.TrimStart, c.TrimEnd, c.Duration);
        EXPECT_EQ(stored.StartTime, c.StartTime) << c.TrimStart;
        EXPECT_EQ(stored.EndTime, c.EndTime) << c.TrimEnd;
    }
}

// A 320 x 240 black frame with `content` filled in grey.
struct TFrameCase {
    const char* Name;
    TRect Content; // Right and bottom exclusive; empty for a flat frame.
    TColor32 Colour;
    TCropEdges Crop;
};

TEST(AdvanceCropTest, AutoCropRemovesTheUniformBorder)
{
    const TColor32 grey = Img32::Color32(128, 128, 128);
    const TFrameCase cases[] = {
        { "bars of 8 rows at top and bottom", { 0, 8, 320, 232 }, grey, { 0, 1, 8, 9 } },
        { "a box inside", { 10, 20, 310, 220 }, grey, { 10, 11, 20, 21 } },
        { "one content pixel", { 50, 60, 51, 61 }, grey, { 50, 268, 60, 178 } },
        { "within 20 of the corner is border", { 10, 20, 310, 220 }, Img32::Color32(20, 20, 20), {} },
        { "21 away is content", { 10, 20, 310, 220 }, Img32::Color32(0, 21, 0), { 10, 11, 20, 21 } },
        // A flat frame gives no crop rather than one that leaves no pixels.
        { "a flat frame", { 0, 0, 0, 0 }, grey, {} },
    };
    for (const TFrameCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TBitmap32 frame;
        frame.SetSize(320, 240);
        frame.Clear(Img32::Color32(0, 0, 0));
        frame.FillRectS(c.Content.Left, c.Content.Top, c.Content.Right, c.Content.Bottom, c.Colour);
        EXPECT_EQ(AutoCropEdges(frame), c.Crop);
    }
    EXPECT_EQ(AutoCropEdges(TBitmap32()), TCropEdges {}) << "no frame";
}

TEST(AdvanceCropTest, PressAndDragCropTheCentredPicture)
{
    const TCentredPicture picture = TCentredPicture::In(536, 378, 320, 240);
    EXPECT_EQ(picture.X, 108);
    EXPECT_EQ(picture.Y, 69);
    EXPECT_TRUE(picture.Contains(108, 69));
    EXPECT_FALSE(picture.Contains(428, 100));
    const TCentredPicture larger = TCentredPicture::In(536, 378, 640, 480);
    EXPECT_EQ(larger.X, -52) << "cut evenly on both sides";
    EXPECT_EQ(larger.Y, -51);

    // A press left of the crop's right edge moves the left edge; one right of it moves the right edge.
    const TCropEdges pressed = picture.CropAtPress(118, 79, {});
    EXPECT_EQ(pressed, (TCropEdges { 10, 0, 10, 0 }));
    EXPECT_EQ(picture.CropAtPress(420, 300, { 0, 20, 0, 20 }), (TCropEdges { 0, 8, 0, 9 }));

    // Dragging either way gives the same rectangle.
    const TCropEdges dragged { 10, 10, 10, 10 };
    EXPECT_EQ(picture.CropOfDrag(118, 79, 418, 299), dragged);
    EXPECT_EQ(picture.CropOfDrag(418, 299, 118, 79), dragged);
    EXPECT_EQ(picture.CropAtRelease(dragged), dragged);

    // A click (a move at the pressed point) or a sliver one pixel wide or high clears the crop.
    EXPECT_EQ(picture.CropAtRelease(picture.CropOfDrag(200, 150, 200, 150)), TCropEdges {});
    EXPECT_EQ(picture.CropAtRelease(picture.CropOfDrag(200, 150, 201, 250)), TCropEdges {});
    EXPECT_EQ(picture.CropAtRelease(picture.CropOfDrag(200, 150, 300, 151)), TCropEdges {});
    EXPECT_EQ(picture.CropAtRelease(picture.CropOfDrag(200, 150, 202, 152)), picture.CropOfDrag(200, 150, 202, 152));
}

TEST(AdvanceCropTest, FixAspectRatioLetterboxesWithAnEvenLeadingBar)
{
    struct Case {
        int32_t OutWidth, OutHeight, CropWidth, CropHeight;
        bool Fix;
        TLetterbox Box;
    };
    const Case cases[] = {
        { 640, 360, 320, 240, true, { 80, 0, 560, 360 } }, // 4:3 into 16:9: bars left and right
        { 650, 360, 320, 240, true, { 84, 0, 564, 360 } }, // a padding of 170: the left bar brought down to even
        { 320, 240, 640, 360, true, { 0, 30, 320, 210 } }, // 16:9 into 4:3: bars top and bottom
        { 320, 240, 640, 480, true, { 0, 0, 320, 240 } }, // the same shape
        { 640, 360, 320, 240, false, { 0, 0, 640, 360 } },
        // A crop that leaves no pixels fills the frame instead of dividing by zero.
        { 640, 360, 0, 240, true, { 0, 0, 640, 360 } },
        { 640, 360, 320, -4, true, { 0, 0, 640, 360 } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(LetterboxOf(c.OutWidth, c.OutHeight, c.CropWidth, c.CropHeight, c.Fix), c.Box)
            << c.OutWidth << "x" << c.OutHeight << " from " << c.CropWidth << "x" << c.CropHeight;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

std::string ReadGolden(const std::string& name)
{
    std::ifstream file(std::string(TP_GOLDEN_DIR) + "/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

bool HasLine(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool HasLineStarting(const std::vector<std::string>& lines, const std::string& start)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(start); });
}

class AdvanceDetailReportTest : public testing::Test {
protected:
    // A probed job on a 2 s clip of 64x48 at 10 fps with 44100 Hz stereo (or without audio), with tags and the
    // profile `word`.
    std::unique_ptr<TConvertJob> MakeJob(const std::string& word, bool withAudio = true)
    {
        TTestClipSpec spec;
        spec.Container = "avi";
        spec.Duration = 2.0;
        spec.Video.push_back({ .Codec = "mpeg4", .Width = 64, .Height = 48, .AspectNum = 1, .AspectDen = 1 });
        if (withAudio)
            spec.Audio.push_back({ .Codec = "libmp3lame" });
        const std::string path = Folder.File(withAudio ? "source.avi" : "silent.avi");
        std::string error;
        EXPECT_TRUE(MakeTestClip(path, spec, &error)) << error;
        auto job = std::make_unique<TConvertJob>(path);
        EXPECT_TRUE(job->Analyse());
        job->Title = "Harbour";
        job->Author = "A. Writer";
        job->Copyright = "(c) 2026";
        job->Comment = "first cut";
        job->Year = "2026";
        job->FixAspectRatio = true;
        job->SetProfile(CreateVideoProfile(word, "My " + word, ""));
        return job;
    }

    // The report with the source path made stable for the golden files.
    std::string StableReport(const TConvertJob& job, const TProfileManager* manager = nullptr)
    {
        std::string text = Joined(BuildDetailReport(job, manager, Edits));
        const std::string path = job.VideoInfo.GetFileName();
        text.replace(text.find(path), path.size(), "<source>");
        return text;
    }

    TTestFolder Folder;
    TDetailReportEdits Edits { "/videos/out/Harbour.avi", 2, 4, 6, 8 };
};

// Each format's report with settings away from the defaults where a line depends on them (VBR, a second codec).
TEST_F(AdvanceDetailReportTest, EachFormatsReportMatchesItsGoldenFile)
{
    struct Case {
        const char* Word;
        const char* Golden;
        void (*Change)(TVideoProfile&);
    };
    const Case cases[] = {
        { "3GPP", "3GP.txt", [](TVideoProfile& p) { static_cast<T3GPProfile&>(p).Format3GP = 1; } },
        { "AVI", "AVI.txt",
            [](TVideoProfile& p) {
                auto& avi = static_cast<TAVIProfile&>(p);
                avi.UseVBR = true;
                avi.VideoVBRMaxBitrate = 2500000;
                avi.AVIVideoCodec = 7;
                avi.Width = 320;
            } },
        { "MPEG", "MPEG.txt", [](TVideoProfile& p) { static_cast<TMPEGProfile&>(p).MPEGVersion = 1; } },
        { "MP4", "MP4.txt", [](TVideoProfile& p) { static_cast<TMP4Profile&>(p).MP4VideoCodec = 3; } },
        { "WMV", "WMV.txt",
            [](TVideoProfile& p) {
                auto& wmv = static_cast<TWMVProfile&>(p);
                wmv.UseVBR = true;
                wmv.VBRVideoQuality = 85;
                wmv.AudioFormatName = "Windows Media Audio 9, 64 kbps";
            } },
        { "REAL", "Real.txt", [](TVideoProfile& p) { static_cast<TRealProfile&>(p).VideoNoiseReduction = true; } },
        { "MOV", "MOV.txt", [](TVideoProfile& p) { static_cast<TMOVProfile&>(p).MOVVideoCodec = 5; } },
        { "FLV", "FLV.txt", [](TVideoProfile& p) { p.Height = 48; } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Word);
        const auto job = MakeJob(c.Word);
        c.Change(*job->GetProfile());
        const std::string report = StableReport(*job);
        EXPECT_EQ(report, ReadGolden(c.Golden));
        if (const char* update = getenv("TP_UPDATE_GOLDEN"); update && *update)
            std::ofstream(std::string(TP_GOLDEN_DIR) + "/" + c.Golden, std::ios::binary) << report;
    }
}

TEST_F(AdvanceDetailReportTest, ProfileNameIsMarkedChangedOnlyWhenTheLastNamesakeDiffers)
{
    const auto job = MakeJob("AVI");
    auto& profile = static_cast<TAVIProfile&>(*job->GetProfile());
    const std::string plain = " Profile Name          : My AVI";
    const std::string changed = plain + "(Changed)";

    TProfileManager manager(Folder.Path() + "/");
    EXPECT_TRUE(HasLine(BuildDetailReport(*job, &manager, Edits), plain)) << "no namesake";
    manager.Add(profile.Clone());
    EXPECT_TRUE(HasLine(BuildDetailReport(*job, &manager, Edits), plain)) << "equal namesake";

    profile.VideoBitrate += 1000;
    EXPECT_TRUE(HasLine(BuildDetailReport(*job, &manager, Edits), changed)) << "one setting changed";

    // A second namesake, after the first in the manager's order, decides.
    manager.Add(profile.Clone());
    EXPECT_TRUE(HasLine(BuildDetailReport(*job, &manager, Edits), plain)) << "the last namesake is equal";
    EXPECT_TRUE(HasLine(BuildDetailReport(*job, nullptr, Edits), plain)) << "no manager";
}

TEST_F(AdvanceDetailReportTest, OutputSizeIsTheSourcesWhenTheProfileKeepsIt)
{
    struct Case {
        int32_t Width, Height;
        const char* WidthLine;
        const char* HeightLine;
    };
    const Case cases[] = {
        { 0, 0, " Output Width          : 64 pixels(Original Width)",
            " Output Height         : 48 pixels(Original Height)" },
        { 64, 240, " Output Width          : 64 pixels(Original Width)", " Output Height         : 240 pixels" },
        { 320, 48, " Output Width          : 320 pixels", " Output Height         : 48 pixels(Original Height)" },
    };
    const auto job = MakeJob("MP4");
    for (const Case& c : cases) {
        job->GetProfile()->Width = c.Width;
        job->GetProfile()->Height = c.Height;
        const auto lines = BuildDetailReport(*job, nullptr, Edits);
        EXPECT_TRUE(HasLine(lines, c.WidthLine)) << c.Width;
        EXPECT_TRUE(HasLine(lines, c.HeightLine)) << c.Height;
    }
}

TEST_F(AdvanceDetailReportTest, FormatBlocksFollowTheirSwitches)
{
    const auto job = MakeJob("WMV");
    auto& wmv = static_cast<TWMVProfile&>(*job->GetProfile());
    wmv.UseSystemProfile = true;
    wmv.SystemProfileName = "Video for broadband (NTSC, 256 Kbps)";
    auto lines = BuildDetailReport(*job, nullptr, Edits);
    const auto block = std::find(lines.begin(), lines.end(), " Output Format         : WMV(.wmv)");
    ASSERT_NE(block, lines.end());
    EXPECT_EQ(block[1], " Use System Profile    : Video for broadband (NTSC, 256 Kbps)");
    EXPECT_EQ(block[2], " ======================= Additional Information ============================== ");

    const auto real = MakeJob("REAL");
    auto& rm = static_cast<TRealProfile&>(*real->GetProfile());
    rm.UseVBR = true;
    rm.VideoVBRMaxBitrate = 900000;
    lines = BuildDetailReport(*real, nullptr, Edits);
    EXPECT_TRUE(HasLine(lines, " Output Format         : Real Video(.rmvb)"));
    EXPECT_TRUE(HasLine(lines, " Output MaxBitrate     : 900 kbps"));
    rm.UseVBR = false;
    lines = BuildDetailReport(*real, nullptr, Edits);
    EXPECT_TRUE(HasLine(lines, " Output Format         : Real Video(.rm)"));
    EXPECT_FALSE(HasLineStarting(lines, " Output MaxBitrate"));

    // Bit rates are shown truncated to whole kbit/s; a code outside a name list shows no name.
    const auto amr = MakeJob("3GPP");
    auto& gp = static_cast<T3GPProfile&>(*amr->GetProfile());
    gp.AudioCodec = 0;
    gp.AudioBitrate = 12200;
    gp.VideoCodec = 3;
    lines = BuildDetailReport(*amr, nullptr, Edits);
    EXPECT_TRUE(HasLine(lines, " Output AudioCodec     : AMR Narrow-Band "));
    EXPECT_TRUE(HasLine(lines, " Output Audio Bitrate  : 12 kbps"));
    EXPECT_TRUE(HasLine(lines, " Output VideoCodec     : "));
    gp.VideoCodec = -1;
    EXPECT_TRUE(HasLine(BuildDetailReport(*amr, nullptr, Edits), " Output VideoCodec     : "));
}

TEST_F(AdvanceDetailReportTest, SourceWithoutAudioHasNoAudioSection)
{
    const auto job = MakeJob("FLV", false);
    const auto lines = BuildDetailReport(*job, nullptr, Edits);
    EXPECT_TRUE(HasLine(lines, " Video Stream          : Yes"));
    EXPECT_TRUE(HasLine(lines, " Audio Stream          : No"));
    EXPECT_FALSE(HasLineStarting(lines, " =======================   Audio Information"));
    EXPECT_FALSE(HasLineStarting(lines, " Audio Sample"));
    EXPECT_TRUE(HasLineStarting(lines, " =======================   Video Information"));
}

// A source of 2 GB and more shows its real size: the size is not squeezed into 32 bits.
TEST_F(AdvanceDetailReportTest, SourcesOfTwoGigabytesAndMoreShowTheirRealSize)
{
    struct Case {
        long long Bytes;
        const char* Line;
    };
    const Case cases[] = {
        { 1048575, " File Size             : 0 MB" },
        { 5LL * 1048576 + 7, " File Size             : 5 MB" },
        { 2147483648LL, " File Size             : 2048 MB" },
        { 5000000000LL, " File Size             : 4768 MB" },
    };
    for (const Case& c : cases) {
        const std::string path = Folder.File("sparse.bin");
        std::ofstream(path, std::ios::binary).put('x');
        ASSERT_EQ(truncate(path.c_str(), c.Bytes), 0) << "a sparse file takes no disk";
        TConvertJob job(path);
        EXPECT_TRUE(HasLine(BuildDetailReport(job, nullptr, Edits), c.Line)) << c.Bytes;
    }
    TConvertJob missing(Folder.File("gone.avi"));
    const auto lines = BuildDetailReport(missing, nullptr, Edits);
    EXPECT_TRUE(HasLine(lines, " File Size             : 0 MB"));
    EXPECT_TRUE(HasLine(lines, " Video Stream          : No"));
}

TEST(AdvanceTimeTest, WholeSecondsAsHoursMinutesSecondsWithATrailingBlank)
{
    const std::pair<uint32_t, const char*> cases[] = { { 0, "00:00:00 " }, { 59, "00:00:59 " },
        { 3725, "01:02:05 " }, { 86399, "23:59:59 " }, { 360000, "100:00:00 " } };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FormatAdvanceTime(seconds), text) << seconds;
}

} // namespace

#include "engine/FormatProfiles.h"

#include "engine/ProfileLayout.h"
#include "framework/core/SysUtils.h"
#include "tests/engine/EngineTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <limits>

namespace {

// Every format as a user's file shows it: the word, the section with a new profile's keys in file order,
// and the fields that Equals compares.
struct FormatCase {
    const char* Word;
    VideoFormatType Code;
    const char* Extension;
    std::vector<std::string> DefaultSection;
    std::vector<std::string> Compared;
};

const FormatCase kFormats[] = {
    { "3GPP", vf3GP, ".3gp",
        { "[3GPProfile]", "Width=176", "Height=144", "3GPFormat=0", "FrameRate=15", "VideoCodec=1",
            "VideoBitrate=120000", "VideoBitrateTolerance=60000", "AudioCodec=2", "AudioFrequency=16000",
            "AudioChannels=1", "AudioBitrate=48000" },
        { "Width", "Height", "3GPFormat", "FrameRate", "VideoCodec", "VideoBitrate", "VideoBitrateTolerance",
            "AudioCodec", "AudioFrequency", "AudioChannels", "AudioBitrate" } },
    { "AVI", vfAVI, ".avi",
        { "[AVIProfile]", "Width=320", "Height=240", "AVIVideoCodec=0", "FrameRate=23.97", "VideoBitrate=768000",
            "UseVBR=0", "VideoVBRMaxBitrate=768000", "VideoVBRMinBitrate=0", "AVIAudioCodec=0", "AudioFrequency=44100",
            "AudioChannels=2", "AudioBitrate=96000" },
        { "Width", "Height", "AVIVideoCodec", "FrameRate", "VideoBitrate", "UseVBR", "VideoVBRMaxBitrate",
            "VideoVBRMinBitrate", "AVIAudioCodec", "AudioFrequency", "AudioChannels", "AudioBitrate" } },
    { "MPEG", vfMPEG, ".mpg",
        { "[MPEGProfile]", "MPEGVersion=1", "Width=320", "Height=240", "FrameRate=23.97", "VideoBitrate=1150000",
            "UseVBR=0", "VideoVBRMaxBitrate=1150000", "VideoVBRMinBitrate=0", "MPEGAudioType=0", "AudioFrequency=48000",
            "AudioChannels=2", "AudioBitrate=224000" },
        { "MPEGVersion", "Width", "Height", "FrameRate", "VideoBitrate", "UseVBR", "VideoVBRMaxBitrate",
            "VideoVBRMinBitrate", "MPEGAudioType", "AudioFrequency", "AudioChannels", "AudioBitrate" } },
    { "MP4", vfMP4, ".mp4",
        { "[MP4Profile]", "Width=320", "Height=240", "MP4VideoCodec=0", "FrameRate=23.97", "VideoBitrate=768000",
            "UseVBR=0", "VideoVBRMaxBitrate=768000", "VideoVBRMinBitrate=0", "AudioFrequency=48000", "AudioChannels=2",
            "AudioBitrate=96000" },
        { "Width", "Height", "MP4VideoCodec", "FrameRate", "VideoBitrate", "UseVBR", "VideoVBRMaxBitrate",
            "VideoVBRMinBitrate", "AudioFrequency", "AudioChannels", "AudioBitrate" } },
    { "WMV", vfWMV, ".wmv",
        { "[WMVProfile]", "UseSystemProfile=0", "SystemProfileName=", "Width=320", "Height=240", "WMV_Version=1",
            "FrameRate=23.97", "VideoBitrate=768000", "UseVBR=0", "VBRVideoQuality=90",
            "AudioFormatName=64 kbps, 44 kHz, stereo CBR" },
        // Both profiles here leave UseSystemProfile off, so everything but the system profile's name counts.
        { "UseSystemProfile", "Width", "Height", "WMV_Version", "FrameRate", "VideoBitrate", "UseVBR",
            "VBRVideoQuality", "AudioFormatName" } },
    { "REAL", vfReal, ".rm",
        { "[RealProfile]", "Width=176", "Height=144", "RealVersion=0", "FrameRate=15", "VideoBitrate=120000",
            "UseVBR=0", "VideoVBRMaxBitrate=120000", "VideoNoiseReduction=0",
            "AudioFormatName=44 Kbps Music - RealAudio" },
        { "Width", "Height", "RealVersion", "FrameRate", "VideoBitrate", "UseVBR", "VideoVBRMaxBitrate",
            "VideoNoiseReduction", "AudioFormatName" } },
    { "MOV", vfMOV, ".mov",
        { "[MOVProfile]", "Width=320", "Height=240", "MOVVideoCodec=0", "FrameRate=23.97", "VideoBitrate=768000",
            "UseVBR=0", "VideoVBRMaxBitrate=768000", "VideoVBRMinBitrate=0", "AudioFrequency=48000", "AudioChannels=2",
            "AudioBitrate=96000" },
        { "Width", "Height", "MOVVideoCodec", "FrameRate", "VideoBitrate", "AudioFrequency", "AudioChannels",
            "AudioBitrate" } },
    { "FLV", vfFLV, ".flv",
        { "[FLVProfile]", "Width=320", "Height=240", "FrameRate=24", "VideoBitrate=768000", "AudioFrequency=44100",
            "AudioChannels=2", "AudioBitrate=96000" },
        { "Width", "Height", "FrameRate", "VideoBitrate", "AudioFrequency", "AudioChannels", "AudioBitrate" } },
};

std::unique_ptr<TVideoProfile> NewProfile(
    const FormatCase& format, const std::string& name, const std::string& file = "")
{
    std::unique_ptr<TVideoProfile> profile = CreateVideoProfile(format.Word, name, file);
    if (!profile)
        throw std::runtime_error(std::string("no profile class for ") + format.Word);
    return profile;
}

std::vector<std::string> Concat(std::vector<std::string> head, const std::vector<std::string>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// Every field of the profile and of its layout's twin in `other` holds the same value.
void ExpectSameFields(TVideoProfile& profile, TVideoProfile& other)
{
    for (const TProfileField& field : profile.Layout().Fields) {
        SCOPED_TRACE(field.Key);
        EXPECT_TRUE(SameValue(field.Slot(profile), FieldSlot(other, field.Key)));
    }
}

} // namespace

TEST(FormatProfiles, NewProfileHoldsTheDefaultsAndSavesThemInFileOrder)
{
    TTempFolder folder;
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(format.Word);
        std::unique_ptr<TVideoProfile> profile = NewProfile(format, "Mine");
        EXPECT_EQ(profile->FormatType, format.Code);
        EXPECT_EQ(profile->Extension, format.Extension);
        EXPECT_EQ(profile->FileName, "");

        const std::string path = folder.File(std::string(format.Word) + ".pf");
        ASSERT_TRUE(profile->Save(path));
        EXPECT_EQ(profile->FileName, path);
        // No options: no "AdditionalParam" section at all.
        const std::vector<std::string> expected
            = Concat({ "[ProfileCommon]", "ProfileName=Mine", std::string("VideoFormat=") + format.Word },
                format.DefaultSection);
        EXPECT_EQ(NonBlankLines(ReadText(path)), expected);
    }
}

TEST(FormatProfiles, SaveAndLoadKeepEveryFieldAndOption)
{
    TTempFolder folder;
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(format.Word);
        std::unique_ptr<TVideoProfile> profile = NewProfile(format, "Round trip é");
        // Every field unlike its default, codes negative, reals without a short decimal form.
        int step = 1;
        for (const TProfileField& field : profile->Layout().Fields)
            ChangeField(field.Slot(*profile), step++ * -7);
        profile->SetOption("video_qscale", "3");
        profile->SetOption("frame_aspect_ratio", "16:9");
        const std::string path = folder.File(std::string(format.Word) + ".pf");
        ASSERT_TRUE(profile->Save(path));

        std::unique_ptr<TVideoProfile> loaded = NewProfile(format, "", path);
        ASSERT_TRUE(loaded->Load());
        EXPECT_TRUE(loaded->Equals(*profile));
        EXPECT_TRUE(profile->Equals(*loaded));
        EXPECT_EQ(loaded->ProfileName, "Round trip é");
        EXPECT_EQ(loaded->FormatType, format.Code);
        ExpectSameFields(*profile, *loaded);
        ASSERT_EQ(loaded->ParamKeys.Count(), 2);
        EXPECT_EQ(loaded->ParamKeys.Strings(0), "video_qscale");
        EXPECT_EQ(loaded->ParamValues.Strings(0), "3");
        EXPECT_EQ(loaded->ParamKeys.Strings(1), "frame_aspect_ratio");
        EXPECT_EQ(loaded->ParamValues.Strings(1), "16:9");

        // A clone copies everything, the file name and the options included.
        std::unique_ptr<TVideoProfile> clone = loaded->Clone();
        EXPECT_TRUE(clone->Equals(*loaded));
        EXPECT_EQ(clone->FileName, path);
        EXPECT_EQ(clone->Extension, loaded->Extension);
        ExpectSameFields(*loaded, *clone);
        EXPECT_EQ(clone->ParamKeys.Text(), loaded->ParamKeys.Text());
        EXPECT_EQ(clone->ParamValues.Text(), loaded->ParamValues.Text());
    }
}

TEST(FormatProfiles, CloneCopiesEveryMemberAndSharesNothing)
{
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(format.Word);
        std::unique_ptr<TVideoProfile> profile = NewProfile(format, "Copied", "/profiles/copied.pf");
        // Every field and every member off its default, so a member the copy forgot shows.
        int step = 1;
        for (const TProfileField& field : profile->Layout().Fields)
            ChangeField(field.Slot(*profile), step++ * 3);
        profile->Extension = ".own";
        profile->SetOption("video_qscale", "3");
        profile->SetOption("bitexact", "1");

        std::unique_ptr<TVideoProfile> clone = profile->Clone();
        EXPECT_EQ(&clone->Layout(), &profile->Layout());
        EXPECT_EQ(clone->FormatType, format.Code);
        EXPECT_EQ(clone->ProfileName, "Copied");
        EXPECT_EQ(clone->FileName, "/profiles/copied.pf");
        EXPECT_EQ(clone->Extension, ".own");
        ExpectSameFields(*profile, *clone);
        EXPECT_TRUE(clone->Equals(*profile));
        EXPECT_EQ(clone->ParamKeys.Text(), profile->ParamKeys.Text());
        EXPECT_EQ(clone->ParamValues.Text(), profile->ParamValues.Text());

        // The copy is a profile of its own: changing it leaves the original as it was.
        for (const TProfileField& field : clone->Layout().Fields)
            ChangeField(field.Slot(*clone));
        clone->SetOption("video_qscale", "9");
        clone->SetOption("extra", "x");
        for (const TProfileField& field : profile->Layout().Fields) {
            SCOPED_TRACE(field.Key);
            EXPECT_FALSE(SameValue(field.Slot(*profile), field.Slot(*clone)));
        }
        EXPECT_EQ(profile->ParamKeys.Text(), "video_qscale\nbitexact\n");
        EXPECT_EQ(profile->ParamValues.Text(), "3\n1\n");
    }
}

TEST(FormatProfiles, FileWithOnlyTheCommonSectionLoadsTheDefaults)
{
    TTempFolder folder;
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(format.Word);
        const std::string path = folder.File("common.pf");
        // The format word in lower case, as a hand-edited file might hold it.
        WriteText(path, "[ProfileCommon]\nProfileName=Plain\nVideoFormat=" + LowerCase(format.Word) + "\n");
        std::unique_ptr<TVideoProfile> loaded = NewProfile(format, "", path);
        ASSERT_TRUE(loaded->Load());
        std::unique_ptr<TVideoProfile> fresh = NewProfile(format, "Plain");
        EXPECT_TRUE(loaded->Equals(*fresh));
        ExpectSameFields(*fresh, *loaded);
        EXPECT_EQ(loaded->Extension, format.Extension);
        EXPECT_EQ(loaded->ParamKeys.Count(), 0);
        EXPECT_EQ(loaded->ParamValues.Count(), 0);

        // Written back, the word is the upper-case one.
        ASSERT_TRUE(loaded->Save(path));
        EXPECT_EQ(NonBlankLines(ReadText(path))[2], std::string("VideoFormat=") + format.Word);
    }
}

TEST(FormatProfiles, EqualsComparesExactlyTheFormatsSettings)
{
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(format.Word);
        std::unique_ptr<TVideoProfile> profile = NewProfile(format, "Same");
        for (const TProfileField& field : profile->Layout().Fields) {
            SCOPED_TRACE(field.Key);
            std::unique_ptr<TVideoProfile> other = profile->Clone();
            ChangeField(field.Slot(*other));
            const bool compared
                = std::find(format.Compared.begin(), format.Compared.end(), field.Key) != format.Compared.end();
            EXPECT_EQ(profile->Equals(*other), !compared);
            EXPECT_EQ(other->Equals(*profile), !compared);
        }

        // File, extension and options never count; the name always does, case included.
        std::unique_ptr<TVideoProfile> other = profile->Clone();
        other->FileName = "/elsewhere/x.pf";
        other->Extension = ".xyz";
        other->SetOption("bitexact", "1");
        EXPECT_TRUE(profile->Equals(*other));
        other->ProfileName = "same";
        EXPECT_FALSE(profile->Equals(*other));
    }
}

TEST(FormatProfiles, ProfilesOfDifferentFormatsNeverCompareEqual)
{
    // MP4 and MOV hold the same settings under the same name; the format still tells them apart.
    TMP4Profile mp4("Same", "");
    TMOVProfile mov("Same", "");
    EXPECT_FALSE(mp4.Equals(mov));
    EXPECT_FALSE(mov.Equals(mp4));
}

TEST(FormatProfiles, WmvProfilesOnSystemProfilesCompareOnlyItsName)
{
    TWMVProfile a("Web", "");
    TWMVProfile b("Web", "");
    a.UseSystemProfile = b.UseSystemProfile = true;
    a.SystemProfileName = b.SystemProfileName = "Windows Media Video 8 for Broadband (NTSC, 700 Kbps)";
    b.Width = 640;
    b.VideoBitrate = 1;
    b.AudioFormatName = "other";
    EXPECT_TRUE(a.Equals(b));
    EXPECT_TRUE(b.Equals(a));

    b.SystemProfileName = "Windows Media Video 8 for Dial-up Modems";
    EXPECT_FALSE(a.Equals(b));

    // Only one of them on a system profile: they differ, whatever else they hold.
    TWMVProfile c("Web", "");
    TWMVProfile d("Web", "");
    c.UseSystemProfile = true;
    EXPECT_FALSE(c.Equals(d));
    EXPECT_FALSE(d.Equals(c));

    // Both on a system profile, but the names differ.
    d.UseSystemProfile = true;
    d.ProfileName = "Other";
    EXPECT_FALSE(c.Equals(d));
}

TEST(FormatProfiles, The3GPExtensionFollowsTheFormatOnlyAtConstructionAndLoad)
{
    TTempFolder folder;
    T3GPProfile profile("Phone", "");
    profile.Format3GP = 1;
    EXPECT_EQ(profile.Extension, ".3gp");
    EXPECT_EQ(profile.Clone()->Extension, ".3gp");

    const std::string path = folder.File("phone.pf");
    ASSERT_TRUE(profile.Save(path));
    T3GPProfile loaded("", path);
    ASSERT_TRUE(loaded.Load());
    EXPECT_EQ(loaded.Format3GP, 1);
    EXPECT_EQ(loaded.Extension, ".3g2");

    WriteText(path, "[ProfileCommon]\nVideoFormat=3gpp\n[3GPProfile]\n3GPFormat=0\n");
    T3GPProfile plain("", path);
    ASSERT_TRUE(plain.Load());
    EXPECT_EQ(plain.Extension, ".3gp");
}

TEST(FormatProfiles, LoadReadsNumbersTheWayTheFileHoldsThem)
{
    struct Case {
        const char* Line;
        const char* Key;
        double Expected;
    };
    const Case kCases[] = {
        { "Width=0x10", "Width", 16 },
        { "Width=0X1f", "Width", 31 },
        { "Height= 480 ", "Height", 480 },
        { "Height=abc", "Height", 240 },
        { "Height=12abc", "Height", 240 },
        { "Height=", "Height", 240 },
        { "VideoBitrate=99999999999", "VideoBitrate", 768000 },
        { "VideoBitrate=-5", "VideoBitrate", -5 },
        { "UseVBR=2", "UseVBR", 1 },
        { "UseVBR=-1", "UseVBR", 1 },
        { "UseVBR=0x0", "UseVBR", 0 },
        { "UseVBR=yes", "UseVBR", 0 },
        // Codes are signed 8-bit: only the low byte of the number counts.
        { "AVIVideoCodec=7", "AVIVideoCodec", 7 },
        { "AVIVideoCodec=-1", "AVIVideoCodec", -1 },
        { "AVIVideoCodec=200", "AVIVideoCodec", -56 },
        { "AVIVideoCodec=0x105", "AVIVideoCodec", 5 },
        { "FrameRate=15", "FrameRate", 15.0 },
        { "FrameRate=29.97", "FrameRate", 29.97 },
        { "FrameRate=2.5e1", "FrameRate", 25.0 },
        { "FrameRate=29,97", "FrameRate", 23.97 },
        { "FrameRate=fast", "FrameRate", 23.97 },
    };
    TTempFolder folder;
    const std::string path = folder.File("avi.pf");
    for (const Case& test : kCases) {
        SCOPED_TRACE(test.Line);
        // Section and key names match whatever their case.
        WriteText(path,
            std::string("[profilecommon]\nprofilename=Numbers\nvideoformat=Avi\n[aviprofile]\n") + test.Line + "\n");
        TAVIProfile profile("", path);
        ASSERT_TRUE(profile.Load());
        EXPECT_EQ(profile.ProfileName, "Numbers");
        const double actual = std::visit(
            [](auto* value) -> double {
                if constexpr (std::is_same_v<decltype(value), std::string*>)
                    return -1;
                else
                    return static_cast<double>(*value);
            },
            FieldSlot(profile, test.Key));
        EXPECT_EQ(actual, test.Expected);
    }
}

TEST(FormatProfiles, LoadRejectsOtherFormatsAndMissingFiles)
{
    struct Case {
        std::string Text;
        const char* NameAfterLoad;
    };
    const Case kCases[] = {
        { "[ProfileCommon]\nProfileName=Movie\nVideoFormat=MOV\n", "Movie" },
        { "[ProfileCommon]\nProfileName=Empty\nVideoFormat=\n", "Empty" },
        { "[ProfileCommon]\nVideoFormat=MPEG4\n", "Unknow" },
        { "[AVIProfile]\nWidth=640\n", "Unknow" },
        { "", "Unknow" },
        { std::string("\x00\xff\xfe[\x01\n=", 7), "Unknow" },
    };
    TTempFolder folder;
    for (const Case& test : kCases) {
        SCOPED_TRACE(test.Text);
        const std::string path = folder.File("other.pf");
        WriteText(path, test.Text);
        TAVIProfile profile("Before", path);
        EXPECT_FALSE(profile.Load());
        EXPECT_EQ(profile.ProfileName, test.NameAfterLoad);
    }

    TAVIProfile missing("Before", folder.File("missing.pf"));
    EXPECT_FALSE(missing.Load());
    TAVIProfile unnamed("Before", "");
    EXPECT_FALSE(unnamed.Load());
}

TEST(FormatProfiles, EstimateSizeCountsBothBitRatesAndSaturates)
{
    struct Case {
        const char* Word;
        int32_t Video;
        int32_t Audio; // ignored by WMV and Real, which count 48 bits per second of audio
        double Seconds;
        int32_t Expected;
    };
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    const Case kCases[] = {
        { "AVI", 768000, 96000, 10, 1080000 },
        { "AVI", 1000, 1, 2.5, 312 },
        { "3GPP", 1000, 1, 2.5, 312 },
        { "MPEG", 1000, 1, 2.5, 312 },
        { "MP4", 1000, 1, 2.5, 312 },
        { "MOV", 1000, 1, 2.5, 312 },
        { "FLV", 1000, 1, 2.5, 312 },
        { "WMV", 1000, 1, 2.5, 327 },
        { "REAL", 1000, 1, 2.5, 327 },
        { "AVI", 768000, 96000, 0, 0 },
        { "AVI", 768000, 96000, -10, -1080000 },
        // The bit rates' sum does not fit an int32, the size does.
        { "AVI", 2000000000, 2000000000, 1, 500000000 },
        // 57 minutes at 5 Mbit/s still fits; an hour does not, and saturates.
        { "MP4", 4904000, 96000, 57 * 60, 2137500000 },
        { "MP4", 4904000, 96000, 60 * 60, kMax },
        { "WMV", kMax, 0, 1e9, kMax },
        { "AVI", kMax, kMax, -1e9, kMin },
        { "AVI", 1000, 0, std::numeric_limits<double>::infinity(), kMax },
        { "AVI", 1000, 0, std::numeric_limits<double>::quiet_NaN(), 0 },
    };
    for (const Case& test : kCases) {
        SCOPED_TRACE(std::string(test.Word) + " " + std::to_string(test.Video) + "+" + std::to_string(test.Audio)
            + " over " + std::to_string(test.Seconds));
        std::unique_ptr<TVideoProfile> profile = CreateVideoProfile(test.Word, "Size", "");
        *std::get<int32_t*>(FieldSlot(*profile, "VideoBitrate")) = test.Video;
        if (test.Word != std::string_view("WMV") && test.Word != std::string_view("REAL"))
            *std::get<int32_t*>(FieldSlot(*profile, "AudioBitrate")) = test.Audio;
        EXPECT_EQ(profile->EstimateSize(test.Seconds), test.Expected);
    }
}

TEST(FormatProfiles, CreateVideoProfileKnowsTheEightWordsOnly)
{
    for (const FormatCase& format : kFormats) {
        SCOPED_TRACE(format.Word);
        std::unique_ptr<TVideoProfile> profile = CreateVideoProfile(LowerCase(format.Word), "n", "f");
        ASSERT_TRUE(profile);
        EXPECT_EQ(profile->FormatType, format.Code);
        EXPECT_EQ(profile->ProfileName, "n");
        EXPECT_EQ(profile->FileName, "f");
    }
    for (const char* word : { "", "MKV", "3GP", "REALMEDIA", " AVI" })
        EXPECT_FALSE(CreateVideoProfile(word, "n", "f")) << word;
}

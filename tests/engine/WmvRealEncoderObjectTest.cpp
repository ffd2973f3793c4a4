// The Windows Media and RealMedia encoder objects against recording fakes of their libraries and of the frame
// scaler: the calls and their order, the codec choice by name, the sizes, the RealMedia settings block, and what
// Open, Close, the writes and the destructors do, also without a library binding or a scaler.
#include "engine/BraskelLibrary.h"
#include "engine/FormatProfiles.h"
#include "engine/WmvRealEncoderObjects.h"
#include "tests/engine/EncoderLibraryTestSupport.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// ---- A frame scaler that records its calls into the fake libraries' log -------------------------------------

struct TScalerSettings {
    bool Available = true; // Creating a scaler succeeds.
    uint8_t ProcessResult = 1;
};

TScalerSettings& ScalerSettings()
{
    static TScalerSettings settings;
    return settings;
}

class TFakeScaler final : public FrameScaler {
public:
    uint8_t Init(int32_t outputWidth, int32_t outputHeight, int32_t sourceWidth, int32_t sourceHeight,
        int32_t colorFormat, bool fixAspectRatio, int32_t cropLeft, int32_t cropRight, int32_t cropTop,
        int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) override
    {
        RecordCall("FrameScaler::Init", outputWidth, outputHeight, sourceWidth, sourceHeight, colorFormat,
            int(fixAspectRatio), cropLeft, cropRight, cropTop, cropBottom, extra1, extra2, extra3, extra4);
        return 0;
    }
    uint8_t Process(const void* /*frame*/) override
    {
        RecordCall("FrameScaler::Process");
        return ScalerSettings().ProcessResult;
    }
    const uint8_t* GetOutput() override { return Output; }

    uint8_t Output[8] = {};
};

FrameScaler* CreateFakeScaler()
{
    return ScalerSettings().Available ? new TFakeScaler() : nullptr;
}

void ReleaseFakeScaler(FrameScaler* scaler)
{
    RecordCall("ReleaseFrameScaler", scaler ? "scaler" : "null");
    delete scaler;
}

// The source an encoder object is made for.
struct TSource {
    int32_t Width = 640;
    int32_t Height = 480;
    bool DisableAudio = false;
    int32_t Crop[4] = {}; // Left, right, top, bottom, as the job passes them.
};

std::unique_ptr<TEncoderObject> Create(const TVideoProfile& profile, const TSource& source = {})
{
    const std::string path = profile.FormatType == vfWMV ? "/out/clip.wmv" : "/out/clip.rm";
    return profile.CreateEncoderObject(path, source.Width, source.Height, 5, 25.0, 44100, 2, false, source.DisableAudio,
        source.Crop[0], source.Crop[1], source.Crop[2], source.Crop[3], 1, 2, 3, 4);
}

// The recorded calls from the first one whose text starts with `prefix`.
std::vector<std::string> CallsFrom(const std::string& prefix)
{
    const std::vector<std::string>& calls = FakeLibraries().Calls;
    const auto first
        = std::find_if(calls.begin(), calls.end(), [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
    return std::vector<std::string>(first, calls.end());
}

bool Called(const std::string& call)
{
    const std::vector<std::string>& calls = FakeLibraries().Calls;
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

int CountCalls(const std::string& prefix)
{
    const std::vector<std::string>& calls = FakeLibraries().Calls;
    return int(
        std::count_if(calls.begin(), calls.end(), [&](const std::string& call) { return call.rfind(prefix, 0) == 0; }));
}

class WmvRealEncoderObjects : public testing::Test {
protected:
    void SetUp() override
    {
        ScalerSettings() = TScalerSettings();
        BraskelLibrary.CreateFrameScaler = &CreateFakeScaler;
        BraskelLibrary.ReleaseFrameScaler = &ReleaseFakeScaler;
        Form = std::make_unique<TFakeResourceFormScope>();
    }
    void TearDown() override
    {
        Form.reset();
        BraskelLibrary = TBraskelLibrary();
    }
    // Fresh fakes: the RealMedia binding's handle is 7 again, and the next one 8.
    void Restart()
    {
        Form.reset();
        Form = std::make_unique<TFakeResourceFormScope>();
    }

    std::unique_ptr<TFakeResourceFormScope> Form;
};

// ---- Windows Media ---------------------------------------------------------------------------------------------

TEST_F(WmvRealEncoderObjects, WmvConfigureMakesTheLibraryCallsInOrder)
{
    struct Case {
        const char* Name;
        bool UseVBR;
        bool UseSystemProfile;
        bool DisableAudio;
        std::vector<std::string> Calls;
    };
    const std::vector<std::string> start = { "FrameScaler::Init(320, 240, 640, 480, 5, 0, 0, 0, 0, 0, 1, 3, 2, 4)",
        "WMV_SetUseSMPTEStream(0)", "WMV_SetLanguage(0)", "WMV_SetAudioUseUncompressed(0)", "WMV_GetAudioCodecCount()",
        "WMV_GetAudioCodecName(0)", "WMV_GetAudioFormatCount(0)", "WMV_GetAudioFormat(0, 0)",
        "WMV_GetAudioFormat(0, 1)", "WMV_SetAudioCodecAndFormat(0, 1)", "WMV_SetAudioBufferWindow(1000)",
        "WMV_SetVideoUseUncompressed(0)", "WMV_GetVideoCodecCount()", "WMV_GetVideoCodecName(0)",
        "WMV_SetVideoCodec(0)" };
    const auto join = [&](std::vector<std::string> rest) {
        std::vector<std::string> calls = start;
        calls.insert(calls.end(), rest.begin(), rest.end());
        return calls;
    };
    const Case kCases[] = {
        { "CBR", false, false, false,
            join({ "WMV_SetVideoUseVBR(0)", "WMV_SetVideoVBRMode(0)", "WMV_SetVideoQuality(100)",
                "WMV_SetVideoBitrate(768000)", "WMV_SetVideoBufferWindow(10000)", "WMV_SetVideoFPS(23.97)",
                "WMV_SetVideoSecsKeyframe(8)", "WMV_SetUseSystemProfile(0, 0)", "WMV_SetVideoWidth(320)",
                "WMV_SetVideoHeight(240)", "WMV_SetInputParms(1, 1, 320, 240, 25, 5, 44100, 2)",
                "WMV_SetupDestinationFile(\"/out/clip.wmv\")" }) },
        { "VBR with a system profile and no audio", true, true, true,
            join({ "WMV_SetVideoUseVBR(1)", "WMV_SetVideoVBRMode(1)", "WMV_SetVideoQuality(100)",
                "WMV_SetVideoBitrate(768000)", "WMV_SetVideoVBRQuality(75)", "WMV_SetVideoVBRMaxBitrate(0)",
                "WMV_SetVideoVBRMaxBuffer(0)", "WMV_SetVideoBufferWindow(10000)", "WMV_SetVideoFPS(23.97)",
                "WMV_SetVideoSecsKeyframe(8)", "WMV_GetUseSystemProfileCount()", "WMV_GetUseSystemProfileName(0)",
                "WMV_GetUseSystemProfileName(1)", "WMV_SetUseSystemProfile(1, 1)", "WMV_SetVideoWidth(320)",
                "WMV_SetVideoHeight(240)", "WMV_SetInputParms(1, 0, 320, 240, 25, 5, 44100, 2)",
                "WMV_SetupDestinationFile(\"/out/clip.wmv\")" }) },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        FakeLibraries().Calls.clear();
        FakeLibraries().WmvAudioFormats = { "32 kbps, 22 kHz, mono CBR", "64 kbps, 44 kHz, stereo CBR" };
        FakeLibraries().WmvSystemProfiles = { "Dial-up", "  Broadband\t", "Broadband" };
        TWMVProfile profile("p", "");
        profile.UseVBR = c.UseVBR;
        profile.VBRVideoQuality = 75;
        profile.UseSystemProfile = c.UseSystemProfile;
        profile.SystemProfileName = " Broadband ";
        TSource source;
        source.DisableAudio = c.DisableAudio;
        auto object = Create(profile, source);
        EXPECT_EQ(FakeLibraries().Calls, c.Calls);
    }
}

TEST_F(WmvRealEncoderObjects, WmvCodecsAreChosenByName)
{
    struct Case {
        const char* Name;
        std::vector<std::string> AudioCodecs;
        std::vector<std::string> AudioFormats;
        const char* AudioFormatName;
        std::vector<std::string> VideoCodecs;
        int8_t Version;
        const char* AudioChoice;
        const char* VideoChoice;
    };
    const std::vector<std::string> wma = { "Windows Media Audio 9.2" };
    const std::vector<std::string> formats = { "64 kbps, 44 kHz, stereo CBR" };
    const char* standard = "64 kbps, 44 kHz, stereo CBR";
    const char* first = "WMV_SetAudioCodecAndFormat(0, 0)";
    const Case kCases[] = {
        { "version 0 also takes a version 9 name", wma, formats, standard,
            { "Windows Media Video 9", "Windows Media Video 8" }, 0, first, "WMV_SetVideoCodec(0)" },
        { "version 2 without a version 9 name falls back to 0", wma, formats, standard,
            { "Windows Media Video 7", "Windows Media Video 8" }, 2, first, "WMV_SetVideoCodec(0)" },
        { "version 1 passes over version 7", wma, formats, standard,
            { "Windows Media Video 7", "Windows Media Video V8.1" }, 1, first, "WMV_SetVideoCodec(1)" },
        { "video names are trimmed", wma, formats, standard, { "Windows Media Video 8", " Windows Media Video 9.1 \t" },
            2, first, "WMV_SetVideoCodec(1)" },
        { "a V name needs its decimal", wma, formats, standard,
            { "Windows Media Video V9", "Windows Media Video V9.2" }, 2, first, "WMV_SetVideoCodec(1)" },
        { "7.0 names no version", wma, formats, standard, { "Windows Media Video 7.0", "Windows Media Video 7" }, 0,
            first, "WMV_SetVideoCodec(1)" },
        { "an unknown version accepts nothing", wma, formats, standard,
            { "Windows Media Video 8", "Windows Media Video 9" }, 3, first, "WMV_SetVideoCodec(0)" },
        { "an audio codec name with a trailing blank is not accepted",
            { "Windows Media Audio 9.2 ", "Windows Media Audio 10" }, formats, standard, { "Windows Media Video 8" }, 1,
            "WMV_SetAudioCodecAndFormat(1, 0)", "WMV_SetVideoCodec(0)" },
        { "a format name matches without its blanks", wma, { "32 kbps", " 64 kbps, 44 kHz, stereo CBR " }, standard,
            { "Windows Media Video 8" }, 1, "WMV_SetAudioCodecAndFormat(0, 1)", "WMV_SetVideoCodec(0)" },
        { "format names count case", wma, { "32 kbps", "64 KBPS, 44 kHz, stereo CBR" }, standard,
            { "Windows Media Video 8" }, 1, first, "WMV_SetVideoCodec(0)" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        FakeLibraries().Calls.clear();
        FakeLibraries().WmvAudioCodecs = c.AudioCodecs;
        FakeLibraries().WmvAudioFormats = c.AudioFormats;
        FakeLibraries().WmvVideoCodecs = c.VideoCodecs;
        TWMVProfile profile("p", "");
        profile.AudioFormatName = c.AudioFormatName;
        profile.WMV_Version = c.Version;
        auto object = Create(profile);
        EXPECT_TRUE(Called(c.AudioChoice));
        EXPECT_TRUE(Called(c.VideoChoice));
    }
}

TEST_F(WmvRealEncoderObjects, OutputSizesAreEvenForWmvAndMultiplesOf4ForRealMedia)
{
    struct Case {
        const char* Name;
        int32_t ProfileWidth;
        int32_t ProfileHeight;
        TSource Source;
        int32_t WmvWidth, WmvHeight, RealWidth, RealHeight;
    };
    const Case kCases[] = {
        { "the source's size", 0, 0, { 722, 578 }, 722, 578, 720, 576 },
        { "the source's size less the crop", 0, 0, { 722, 578, false, { 3, 4, 5, 6 } }, 714, 566, 712, 564 },
        { "the profile's size", 321, 241, { 722, 578 }, 320, 240, 320, 240 },
        { "an odd profile size", 175, 143, { 722, 578 }, 174, 142, 172, 140 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        const auto scalerInit = [&](int32_t width, int32_t height) {
            const TSource& s = c.Source;
            return "FrameScaler::Init(" + std::to_string(width) + ", " + std::to_string(height) + ", "
                + std::to_string(s.Width) + ", " + std::to_string(s.Height) + ", 5, 0, " + std::to_string(s.Crop[0])
                + ", " + std::to_string(s.Crop[1]) + ", " + std::to_string(s.Crop[2]) + ", " + std::to_string(s.Crop[3])
                + ", 1, 3, 2, 4)";
        };
        Restart();
        TWMVProfile wmv("p", "");
        wmv.Width = c.ProfileWidth;
        wmv.Height = c.ProfileHeight;
        Create(wmv, c.Source);
        EXPECT_TRUE(Called(scalerInit(c.WmvWidth, c.WmvHeight)));
        EXPECT_TRUE(Called("WMV_SetVideoWidth(" + std::to_string(c.WmvWidth) + ")"));
        EXPECT_TRUE(Called("WMV_SetVideoHeight(" + std::to_string(c.WmvHeight) + ")"));

        FakeLibraries().Calls.clear();
        TRealProfile real("p", "");
        real.Width = c.ProfileWidth;
        real.Height = c.ProfileHeight;
        Create(real, c.Source);
        EXPECT_TRUE(Called(scalerInit(c.RealWidth, c.RealHeight)));
        EXPECT_EQ(CallsFrom("Real_SetInputParms").at(0),
            "Real_SetInputParms(8, 1, 1, " + std::to_string(c.RealWidth) + ", " + std::to_string(c.RealHeight)
                + ", 25, 5, 44100, 2)");
    }
}

// ---- RealMedia -------------------------------------------------------------------------------------------------

TEST_F(WmvRealEncoderObjects, RealConfigureStartsOnAFreshHandleAndStopsAtARefusal)
{
    struct Case {
        const char* Name;
        int32_t DestinationResult;
        int32_t MediaProfileResult;
        std::vector<std::string> Calls;
    };
    const std::vector<std::string> start = { "FrameScaler::Init(176, 144, 640, 480, 5, 0, 0, 0, 0, 0, 1, 3, 2, 4)",
        "Real_FreeEncoderHandle(7)", "Real_CreateEncoderHandle()",
        "Real_SetInputParms(8, 1, 1, 176, 144, 25, 5, 44100, 2)", "Real_SetupDestinationFile(8, \"/out/clip.rm\")" };
    const auto join = [&](std::vector<std::string> rest) {
        std::vector<std::string> calls = start;
        calls.insert(calls.end(), rest.begin(), rest.end());
        return calls;
    };
    const Case kCases[] = {
        { "all accepted", 1, 1,
            join({ "Real_SetupMediaProfile(8, 0, 0)", "Real_SetParamsMode(8, 1)", "Real_GetAudioCodecCount(8)",
                "Real_GetAudioCodecName(8, 0)", "Real_GetAudioCodecName(8, 1)", "Real_SetManualSettingsParams(8)",
                "Real_SetUse2Pass(8, 0)" }) },
        { "the destination refused", 0, 1, start },
        { "the media profile refused", 1, 0, join({ "Real_SetupMediaProfile(8, 0, 0)" }) },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        Restart();
        FakeLibraries().RealAudioCodecs = { "Voice (voice)", "44 Kbps Music - RealAudio (music)", "Other" };
        FakeLibraries().DestinationResult = c.DestinationResult;
        FakeLibraries().MediaProfileResult = c.MediaProfileResult;
        auto object = Create(TRealProfile("p", ""));
        EXPECT_EQ(FakeLibraries().Calls, c.Calls);
        EXPECT_EQ(FakeLibraries().Blocks.size(), c.DestinationResult && c.MediaProfileResult ? 1u : 0u);
    }
}

// The block's bytes as the library reads them.
struct TBlockBytes {
    explicit TBlockBytes(const RealManualSettings& block) { std::memcpy(Bytes, &block, sizeof Bytes); }
    int32_t Int(size_t offset) const
    {
        int32_t value;
        std::memcpy(&value, Bytes + offset, sizeof value);
        return value;
    }
    double Double(size_t offset) const
    {
        double value;
        std::memcpy(&value, Bytes + offset, sizeof value);
        return value;
    }
    uint8_t Bytes[72];
};

TEST_F(WmvRealEncoderObjects, TheRealMediaBlockHoldsTheProfileAtItsOffsets)
{
    struct Case {
        const char* Name;
        bool UseVBR;
        int32_t VideoBitrate;
        int32_t MaxBitrate;
        int8_t Version;
        bool NoiseReduction;
        int32_t Vbr0, Version4, Noise8, Kbps28, Max32, Kbps36, Mode64;
    };
    const Case kCases[] = {
        { "CBR, RealVideo 10 code 0", false, 120000, 768000, 0, false, 0, 2, 2, 120, 120, 120, 0 },
        { "VBR with a peak, noise reduction", true, 120000, 768000, 1, true, 1, 1, 0, 120, 768, 120, 2 },
        { "version code 2", false, 120000, 120000, 2, false, 0, 0, 2, 120, 120, 120, 0 },
        { "version code 3 is taken as 2", false, 120000, 120000, 3, false, 0, 0, 2, 120, 120, 120, 0 },
        { "a negative version code", false, 120000, 120000, -1, false, 0, 0, 2, 120, 120, 120, 0 },
        { "bit rates truncate", true, 120999, 768999, 0, false, 1, 2, 2, 120, 768, 120, 2 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        FakeLibraries().Blocks.clear();
        TRealProfile profile("p", "");
        profile.UseVBR = c.UseVBR;
        profile.VideoBitrate = c.VideoBitrate;
        profile.VideoVBRMaxBitrate = c.MaxBitrate;
        profile.RealVersion = c.Version;
        profile.VideoNoiseReduction = c.NoiseReduction;
        profile.FrameRate = 12.5;
        Create(profile);
        ASSERT_EQ(FakeLibraries().Blocks.size(), 1u);
        const TBlockBytes block(FakeLibraries().Blocks[0]);
        EXPECT_EQ(block.Int(0), c.Vbr0);
        EXPECT_EQ(block.Int(4), c.Version4);
        EXPECT_EQ(block.Int(8), c.Noise8);
        EXPECT_EQ(block.Int(12), 0);
        EXPECT_EQ(block.Double(16), 12.5);
        EXPECT_EQ(block.Int(24), 0);
        EXPECT_EQ(block.Int(28), c.Kbps28);
        EXPECT_EQ(block.Int(32), c.Max32);
        EXPECT_EQ(block.Int(36), c.Kbps36);
        EXPECT_EQ(block.Int(40), 90);
        EXPECT_EQ(block.Int(44), 0);
        EXPECT_EQ(block.Double(48), 4.0);
        EXPECT_EQ(block.Double(56), 10.0);
        EXPECT_EQ(block.Int(64), c.Mode64);
        EXPECT_EQ(block.Bytes[68], 1);
        EXPECT_EQ(block.Bytes[69], 1);
        EXPECT_EQ(block.Bytes[70], 0);
        EXPECT_EQ(block.Bytes[71], 0);
    }
}

TEST_F(WmvRealEncoderObjects, TheRealMediaAudioCodecIsChosenByName)
{
    struct Case {
        const char* Name;
        std::vector<std::string> Codecs;
        const char* AudioFormatName;
        int32_t Index;
    };
    const Case kCases[] = {
        { "the default name without \"(music)\" and the blank before it",
            { "Voice (voice)", "44 Kbps Music - RealAudio (music)" }, "44 Kbps Music - RealAudio", 1 },
        { "a voice codec is never chosen", { "Music", "Talk (voice)" }, "Talk (voice)", 0 },
        { "nor a multichannel one", { "Music", "Surround Multichannel" }, "Surround Multichannel", 0 },
        { "\"(music)\" inside the name leaves both blanks", { "zzz", " Mixed (music) Name " }, "Mixed  Name", 1 },
        { "the profile's name is trimmed too", { "a", "b" }, "  b\t", 1 },
        { "case counts", { "a", "B" }, "b", 0 },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        FakeLibraries().Blocks.clear();
        FakeLibraries().RealAudioCodecs = c.Codecs;
        TRealProfile profile("p", "");
        profile.AudioFormatName = c.AudioFormatName;
        Create(profile);
        ASSERT_EQ(FakeLibraries().Blocks.size(), 1u);
        EXPECT_EQ(TBlockBytes(FakeLibraries().Blocks[0]).Int(44), c.Index);
    }
}

// ---- Open, Close, the writes and the destructors ---------------------------------------------------------------

TEST_F(WmvRealEncoderObjects, WmvOpenSendsTheTagsAndTheDestructorAlwaysEndsEncoding)
{
    {
        auto object = Create(TWMVProfile("p", ""));
        object->Title = "T";
        object->Author = "A";
        object->Copyright = "C";
        object->Comment = "N";
        object->Year = "2024";
        FakeLibraries().Calls.clear();
        EXPECT_TRUE(object->Open());
        EXPECT_EQ(FakeLibraries().Calls,
            (std::vector<std::string> { "WMV_SetVideoTag(\"T\", \"A\", \"C\", \"N\", \"\")", "WMV_BeginEncoding()" }));
        EXPECT_TRUE(object->Close());
        FakeLibraries().EndResult = 0;
        EXPECT_FALSE(object->Close());
        FakeLibraries().Calls.clear();
    }
    EXPECT_EQ(
        FakeLibraries().Calls, (std::vector<std::string> { "WMV_EndEncoding()", "ReleaseFrameScaler(\"scaler\")" }));

    // The library's refusal to begin is Open's answer; an object that never began still ends encoding.
    FakeLibraries().BeginResult = 0;
    {
        auto object = Create(TWMVProfile("p", ""));
        EXPECT_FALSE(object->Open());
        FakeLibraries().Calls.clear();
    }
    EXPECT_EQ(CountCalls("WMV_EndEncoding"), 1);
}

TEST_F(WmvRealEncoderObjects, RealEndsItsRunOnceAndOnlyWhenItBegan)
{
    struct Case {
        const char* Name;
        int32_t TagResult;
        int32_t BeginResult;
        bool Opens;
        std::vector<std::string> OpenCalls;
    };
    const Case kCases[] = {
        { "tags and begin accepted", 1, 1, true,
            { "Real_SetupTag(8, \"T\", \"A\", \"C\", \"N\", \"\")", "Real_BeginEncoding(8)" } },
        { "the tags refused", 0, 1, false, { "Real_SetupTag(8, \"T\", \"A\", \"C\", \"N\", \"\")" } },
        { "begin refused", 1, 0, false,
            { "Real_SetupTag(8, \"T\", \"A\", \"C\", \"N\", \"\")", "Real_BeginEncoding(8)" } },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        Restart();
        FakeLibraries().TagResult = c.TagResult;
        FakeLibraries().BeginResult = c.BeginResult;
        auto created = Create(TRealProfile("p", ""));
        auto& object = static_cast<TRealEncoderObject&>(*created);
        object.Title = "T";
        object.Author = "A";
        object.Copyright = "C";
        object.Comment = "N";
        object.Year = "2024";
        FakeLibraries().Calls.clear();
        // Closing what never opened touches nothing.
        EXPECT_TRUE(object.Close());
        EXPECT_TRUE(FakeLibraries().Calls.empty());
        EXPECT_EQ(object.Open(), c.Opens);
        EXPECT_EQ(FakeLibraries().Calls, c.OpenCalls);
        EXPECT_EQ(object.Closed, !c.Opens);
        EXPECT_TRUE(object.Close());
        EXPECT_TRUE(object.Close());
        created.reset();
        EXPECT_EQ(CountCalls("Real_EndEncoding"), c.Opens ? 1 : 0);
    }

    // An object deleted while open ends its run then.
    Restart();
    auto object = Create(TRealProfile("p", ""));
    ASSERT_TRUE(object->Open());
    FakeLibraries().EndResult = 0;
    FakeLibraries().Calls.clear();
    object.reset();
    EXPECT_EQ(
        FakeLibraries().Calls, (std::vector<std::string> { "Real_EndEncoding(8)", "ReleaseFrameScaler(\"scaler\")" }));
}

TEST_F(WmvRealEncoderObjects, WritesGoThroughTheScalerToTheLibrary)
{
    struct Case {
        const char* Name;
        uint8_t ProcessResult;
        int32_t EncodeResult;
        bool Throws;
        bool Accepted;
        bool LibraryCalled;
    };
    const Case kCases[] = {
        { "accepted", 1, 1, false, true, true },
        { "the scaler refuses", 0, 1, false, false, false },
        { "the library refuses", 1, 0, false, false, true },
        { "the library raises", 1, 1, true, false, true },
    };
    const uint8_t frame[16] = {};
    const int16_t samples[8] = {};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        Restart();
        ScalerSettings().ProcessResult = c.ProcessResult;
        FakeLibraries().EncodeResult = c.EncodeResult;
        FakeLibraries().ThrowOnEncode = c.Throws;
        auto wmv = Create(TWMVProfile("p", ""));
        auto real = Create(TRealProfile("p", ""));
        const auto* scaled = static_cast<TWMVEncoderObject&>(*wmv).Scaler->GetOutput();
        FakeLibraries().Calls.clear();
        FakeLibraries().LastFrame = nullptr;
        EXPECT_EQ(wmv->WriteVideo(frame, 1.5, 1.54), c.Accepted);
        EXPECT_EQ(Called("WMV_EncodeVideoSample(1.5)"), c.LibraryCalled);
        EXPECT_EQ(FakeLibraries().LastFrame, c.LibraryCalled ? scaled : nullptr);
        EXPECT_EQ(real->WriteVideo(frame, 1.5, 1.54), c.Accepted);
        EXPECT_EQ(Called("Real_EncodeVideoSample(8, 1.5, 1.54)"), c.LibraryCalled);

        // Audio goes to the library unchanged; only the library's answer counts.
        const bool audioAccepted = c.EncodeResult != 0 && !c.Throws;
        EXPECT_EQ(wmv->WriteAudio(reinterpret_cast<const uint8_t*>(samples), 16, 2.0, 2.1), audioAccepted);
        EXPECT_TRUE(Called("WMV_EncodeAudioSample(16, 2)"));
        EXPECT_EQ(FakeLibraries().LastSamples, samples);
        EXPECT_EQ(real->WriteAudio(reinterpret_cast<const uint8_t*>(samples), 16, 2.0, 2.1), audioAccepted);
        EXPECT_TRUE(Called("Real_EncodeAudioSample(8, 16, 2, 2.1)"));
    }
}

TEST_F(WmvRealEncoderObjects, OutputSizesAreTheLibrariesByteCounts)
{
    auto wmv = Create(TWMVProfile("p", ""));
    auto real = Create(TRealProfile("p", ""));
    FakeLibraries().WmvOutputSize = -1;
    EXPECT_EQ(wmv->GetOutputSize(), 4294967295LL);
    FakeLibraries().WmvOutputSize = 1000;
    EXPECT_EQ(wmv->GetOutputSize(), 1000);
    FakeLibraries().RealOutputSize = 3145728;
    EXPECT_EQ(real->GetOutputSize(), 3145728);
    FakeLibraries().RealOutputSize = 1536;
    EXPECT_EQ(real->GetOutputSize(), 1536);
}

// Without the binding of their library, or without a scaler, the objects refuse to open and write, and leave the
// library alone.
TEST_F(WmvRealEncoderObjects, WithoutABindingOrAScalerNothingOpens)
{
    const uint8_t frame[16] = {};
    const auto refuses = [&](TEncoderObject& object) {
        EXPECT_FALSE(object.Open());
        EXPECT_FALSE(object.WriteVideo(frame, 0.0, 0.04));
        EXPECT_FALSE(object.WriteAudio(frame, 16, 0.0, 0.1));
        EXPECT_TRUE(object.Close());
        EXPECT_EQ(object.GetOutputSize(), 0);
    };
    {
        SCOPED_TRACE("no resource holder");
        Form.reset();
        ASSERT_EQ(ResourceForm, nullptr);
        refuses(*Create(TWMVProfile("p", "")));
        refuses(*Create(TRealProfile("p", "")));
    }
    {
        SCOPED_TRACE("a resource holder without bindings");
        TLibraryFolder folder(nullptr, nullptr);
        TResourceFormScope form;
        ASSERT_EQ(form->WM9EncoderDll, nullptr);
        refuses(*Create(TWMVProfile("p", "")));
        refuses(*Create(TRealProfile("p", "")));
    }
    {
        SCOPED_TRACE("no frame scaler");
        Restart();
        ScalerSettings().Available = false;
        auto wmv = Create(TWMVProfile("p", ""));
        auto real = Create(TRealProfile("p", ""));
        EXPECT_EQ(CountCalls("ReleaseFrameScaler(\"null\")"), 2);
        FakeLibraries().Calls.clear();
        EXPECT_FALSE(wmv->Open());
        EXPECT_FALSE(real->Open());
        EXPECT_FALSE(wmv->WriteVideo(frame, 0.0, 0.04));
        EXPECT_FALSE(real->WriteVideo(frame, 0.0, 0.04));
        EXPECT_TRUE(FakeLibraries().Calls.empty());
    }
}

} // namespace

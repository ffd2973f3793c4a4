// The six codec-library encoder objects against a recording fake writer: what each profile makes them send, in
// which order, and how they handle a writer that refuses.
#include "engine/BraskelLibrary.h"
#include "engine/CodecEncoderObjects.h"
#include "engine/FormatProfiles.h"
#include "framework/core/Exception.h"

#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Every call any fake writer received, as text, in order; "Create" and "Release" name the factory calls.
std::vector<std::string> gCalls;
// A call whose text starts with this is refused (returns 1); empty refuses nothing.
std::string gRefuse;
bool gCreateFails = false;
bool gThrowOnWrite = false;

class TRecordingWriter final : public MediaWriter {
public:
    uint8_t SetVideoCodec(const char* name) override { return Record(std::string("SetVideoCodec(") + name + ")"); }
    uint8_t SetAudioCodec(const char* name) override { return Record(std::string("SetAudioCodec(") + name + ")"); }
    uint8_t SetFormat(const char* name) override { return Record(std::string("SetFormat(") + name + ")"); }
    uint8_t SetAudioParams(int32_t outputRate, int32_t outputChannels, int32_t bitRate, int32_t sourceRate,
        int32_t sourceChannels) override
    {
        char text[160];
        std::snprintf(text, sizeof(text), "SetAudioParams(%d,%d,%d,%d,%d)", outputRate, outputChannels, bitRate,
            sourceRate, sourceChannels);
        return Record(text);
    }
    uint8_t SetVideoParams(int32_t outputWidth, int32_t outputHeight, int32_t bitRate, double frameRate,
        int32_t sourceWidth, int32_t sourceHeight, int32_t colorFormat, int32_t cropLeft, int32_t cropRight,
        int32_t cropTop, int32_t cropBottom, int32_t extra1, int32_t extra2, int32_t extra3, int32_t extra4) override
    {
        char text[256];
        std::snprintf(text, sizeof(text), "SetVideoParams(%d,%d,%d,%g,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d,%d)", outputWidth,
            outputHeight, bitRate, frameRate, sourceWidth, sourceHeight, colorFormat, cropLeft, cropRight, cropTop,
            cropBottom, extra1, extra2, extra3, extra4);
        return Record(text);
    }
    uint8_t Unused5() override { return Record("Unused5"); }
    uint8_t Unused6() override { return Record("Unused6"); }
    uint8_t Unused7() override { return Record("Unused7"); }
    uint8_t Unused8() override { return Record("Unused8"); }
    uint8_t Unused9() override { return Record("Unused9"); }
    uint8_t Unused10() override { return Record("Unused10"); }
    uint8_t Open() override { return Record("Open()"); }
    uint8_t Close() override { return Record("Close()"); }
    uint8_t WriteVideo(const void*, double time) override
    {
        if (gThrowOnWrite)
            throw Exception("the library failed");
        return Record("WriteVideo(" + Number(time) + ")");
    }
    uint8_t WriteAudio(const void*, int32_t byteCount, double time) override
    {
        if (gThrowOnWrite)
            throw Exception("the library failed");
        return Record("WriteAudio(" + std::to_string(byteCount) + "," + Number(time) + ")");
    }
    uint8_t SetOption(const char* name, const char* value) override
    {
        return Record(std::string("SetOption(") + name + "=" + value + ")");
    }
    int64_t GetOutputSize() override { return 1234; }

private:
    static std::string Number(double value)
    {
        char text[32];
        std::snprintf(text, sizeof(text), "%g", value);
        return text;
    }
    uint8_t Record(const std::string& call)
    {
        gCalls.push_back(call);
        return !gRefuse.empty() && call.rfind(gRefuse, 0) == 0 ? 1 : 0;
    }
};

MediaWriter* CreateRecordingWriter(const char* path)
{
    gCalls.push_back(std::string("Create(") + path + ")");
    return gCreateFails ? nullptr : new TRecordingWriter();
}

void ReleaseRecordingWriter(MediaWriter* writer)
{
    gCalls.push_back(writer ? "Release" : "Release(null)");
    delete writer;
}

// Routes the encoder objects to the fake for the test's lifetime.
class EncoderObjectCalls : public ::testing::Test {
protected:
    void SetUp() override
    {
        FSaved = BraskelLibrary;
        BraskelLibrary.CreateMediaWriter = &CreateRecordingWriter;
        BraskelLibrary.ReleaseMediaWriter = &ReleaseRecordingWriter;
        gCalls.clear();
        gRefuse.clear();
        gCreateFails = false;
        gThrowOnWrite = false;
    }
    void TearDown() override { BraskelLibrary = FSaved; }

private:
    TBraskelLibrary FSaved;
};

// The source a case converts and the job's flags.
struct Source {
    int Width = 640;
    int Height = 480;
    int Left = 0;
    int Right = 0;
    int Top = 0;
    int Bottom = 0;
    bool FixAspect = false;
    bool DisableAudio = false;
    int Extra[4] = { 0, 0, 0, 0 };
};

std::unique_ptr<TEncoderObject> Create(const TVideoProfile& profile, const Source& source)
{
    return profile.CreateEncoderObject("out" + profile.Extension, source.Width, source.Height, 5, 29.97, 44100, 2,
        source.FixAspect, source.DisableAudio, source.Left, source.Right, source.Top, source.Bottom, source.Extra[0],
        source.Extra[1], source.Extra[2], source.Extra[3]);
}

struct CallCase {
    const char* Name;
    std::function<std::unique_ptr<TVideoProfile>()> Profile;
    Source From;
    std::vector<std::string> Calls; // Everything up to the end of configuration.
};

template <class TProfile>
std::function<std::unique_ptr<TVideoProfile>()> Make(std::function<void(TProfile&)> change = nullptr)
{
    return [change] {
        auto profile = std::make_unique<TProfile>("p", "");
        if (change)
            change(*profile);
        return profile;
    };
}

const std::string kCbr768 = "SetOption(video_rc_max_rate=768000)";

const CallCase kCallCases[] = {
    { "AVI defaults", Make<TAVIProfile>(), {},
        { "Create(out.avi)", "SetFormat(avi)", "SetOption(bitexact=1)",
            "SetVideoParams(320,240,768000,23.97,640,480,5,0,0,0,0,0,0,0,0)", "SetVideoCodec(mpeg4)", kCbr768,
            "SetOption(video_rc_min_rate=768000)", "SetOption(video_rc_buffer_size=768000)", "SetAudioCodec(mp3)",
            "SetAudioParams(44100,2,96000,44100,2)" } },
    { "AVI H.264 of a cropped 722x578 source, fix aspect", Make<TAVIProfile>([](TAVIProfile& p) {
         p.AVIVideoCodec = 7;
         p.Width = p.Height = 0;
     }),
        { 722, 578, 4, 4, 4, 4, true },
        { "Create(out.avi)", "SetFormat(avi)", "SetOption(bitexact=1)", "SetOption(fix_aspect_ratio=1)",
            "SetVideoParams(704,560,768000,23.97,722,578,5,4,4,4,4,0,0,0,0)", "SetVideoCodec(h264)", kCbr768,
            "SetOption(video_rc_min_rate=768000)", "SetOption(video_rc_buffer_size=768000)", "SetAudioCodec(mp3)",
            "SetAudioParams(44100,2,96000,44100,2)" } },
    { "AVI MPEG-4 of the same source is only made even, crop sent left, right, top, bottom",
        Make<TAVIProfile>([](TAVIProfile& p) { p.Width = p.Height = 0; }), { 722, 578, 4, 4, 2, 6 },
        { "Create(out.avi)", "SetFormat(avi)", "SetOption(bitexact=1)",
            "SetVideoParams(714,570,768000,23.97,722,578,5,4,4,2,6,0,0,0,0)", "SetVideoCodec(mpeg4)", kCbr768,
            "SetOption(video_rc_min_rate=768000)", "SetOption(video_rc_buffer_size=768000)", "SetAudioCodec(mp3)",
            "SetAudioParams(44100,2,96000,44100,2)" } },
    { "AVI DivX, VBR, AC-3, the four further values stored crosswise", Make<TAVIProfile>([](TAVIProfile& p) {
         p.AVIVideoCodec = 1;
         p.UseVBR = true;
         p.VideoVBRMaxBitrate = 1000000;
         p.VideoVBRMinBitrate = 100000;
         p.AVIAudioCodec = 5;
     }),
        { 640, 480, 0, 0, 0, 0, false, false, { 1, 2, 3, 4 } },
        { "Create(out.avi)", "SetFormat(avi)", "SetOption(bitexact=1)",
            "SetVideoParams(320,240,768000,23.97,640,480,5,0,0,0,0,1,3,2,4)", "SetVideoCodec(xvid)",
            "SetOption(vcodecTag=DIVX)", "SetOption(video_rc_max_rate=1000000)", "SetOption(video_rc_min_rate=100000)",
            "SetOption(video_rc_buffer_size=1000000)", "SetAudioCodec(ac3)",
            "SetAudioParams(44100,2,96000,44100,2)" } },
    { "AVI codes past the tables", Make<TAVIProfile>([](TAVIProfile& p) {
         p.AVIVideoCodec = 42;
         p.AVIAudioCodec = -3;
     }),
        {},
        { "Create(out.avi)", "SetFormat(avi)", "SetOption(bitexact=1)",
            "SetVideoParams(320,240,768000,23.97,640,480,5,0,0,0,0,0,0,0,0)", "SetVideoCodec(mpeg4)", kCbr768,
            "SetOption(video_rc_min_rate=768000)", "SetOption(video_rc_buffer_size=768000)", "SetAudioCodec(mp3)",
            "SetAudioParams(44100,2,96000,44100,2)" } },
    { "MPEG-2 sends dvd, then its codec, and never bitexact", Make<TMPEGProfile>(), { 640, 480, 0, 0, 0, 0, true },
        { "Create(out.mpg)", "SetFormat(dvd)", "SetVideoCodec(mpeg2video)", "SetOption(fix_aspect_ratio=1)",
            "SetVideoParams(320,240,1150000,23.97,640,480,5,0,0,0,0,0,0,0,0)", "SetOption(video_rc_max_rate=1150000)",
            "SetOption(video_rc_min_rate=1150000)", "SetOption(video_rc_buffer_size=1150000)", "SetAudioCodec(mp2)",
            "SetAudioParams(48000,2,224000,44100,2)" } },
    { "MPEG-1 with PCM", Make<TMPEGProfile>([](TMPEGProfile& p) {
         p.MPEGVersion = 0;
         p.MPEGAudioType = 2;
         p.Width = 321;
     }),
        {},
        { "Create(out.mpg)", "SetFormat(mpeg)", "SetVideoCodec(mpeg1video)",
            "SetVideoParams(320,240,1150000,23.97,640,480,5,0,0,0,0,0,0,0,0)", "SetOption(video_rc_max_rate=1150000)",
            "SetOption(video_rc_min_rate=1150000)", "SetOption(video_rc_buffer_size=1150000)",
            "SetAudioCodec(pcm_s16le)", "SetAudioParams(48000,2,224000,44100,2)" } },
    { "3GP passes an odd source width unchanged and sends the tolerance", Make<T3GPProfile>([](T3GPProfile& p) {
         p.Width = 0;
         p.Height = 0;
     }),
        { 175, 143 },
        { "Create(out.3gp)", "SetFormat(3gp)", "SetOption(bitexact=1)",
            "SetVideoParams(175,143,120000,15,175,143,5,0,0,0,0,0,0,0,0)", "SetVideoCodec(mpeg4)",
            "SetOption(video_bit_rate_tolerance=60000)", "SetAudioCodec(aac)",
            "SetAudioParams(16000,1,48000,44100,2)" } },
    { "3GPP2 with H.263 and AMR-NB", Make<T3GPProfile>([](T3GPProfile& p) {
         p.Format3GP = 1;
         p.VideoCodec = 0;
         p.AudioCodec = 0;
         p.AudioFrequency = 8000;
     }),
        {},
        { "Create(out.3gp)", "SetFormat(3g2)", "SetOption(bitexact=1)",
            "SetVideoParams(176,144,120000,15,640,480,5,0,0,0,0,0,0,0,0)", "SetVideoCodec(h263)",
            "SetOption(video_bit_rate_tolerance=60000)", "SetAudioCodec(amr_nb)",
            "SetAudioParams(8000,1,48000,44100,2)" } },
    { "MP4 H.264 in sizes of 16, then the free options: f replaces the container",
        [] {
            auto p = std::make_unique<TMP4Profile>("p", "");
            p->MP4VideoCodec = 3;
            p->Width = 330;
            p->Height = 250;
            p->SetOption("f", "mov");
            p->SetOption("frame_aspect_ratio", "16:9");
            return std::unique_ptr<TVideoProfile>(std::move(p));
        },
        {},
        { "Create(out.mp4)", "SetFormat(mp4)", "SetOption(bitexact=1)",
            "SetVideoParams(320,240,768000,23.97,640,480,5,0,0,0,0,0,0,0,0)", "SetVideoCodec(h264)", kCbr768,
            "SetOption(video_rc_min_rate=768000)", "SetOption(video_rc_buffer_size=768000)", "SetAudioCodec(aac)",
            "SetAudioParams(48000,2,96000,44100,2)", "SetFormat(mov)", "SetOption(frame_aspect_ratio=16:9)" } },
    { "MOV Sorenson without rate control", Make<TMOVProfile>([](TMOVProfile& p) {
         p.MOVVideoCodec = 5;
         p.UseVBR = true;
     }),
        {},
        { "Create(out.mov)", "SetFormat(mov)", "SetOption(bitexact=1)",
            "SetVideoParams(320,240,768000,23.97,640,480,5,0,0,0,0,0,0,0,0)", "SetVideoCodec(svq1)",
            "SetAudioCodec(aac)", "SetAudioParams(48000,2,96000,44100,2)" } },
    { "MOV DivX keeps its tag", Make<TMOVProfile>([](TMOVProfile& p) { p.MOVVideoCodec = 1; }), {},
        { "Create(out.mov)", "SetFormat(mov)", "SetOption(bitexact=1)",
            "SetVideoParams(320,240,768000,23.97,640,480,5,0,0,0,0,0,0,0,0)", "SetVideoCodec(xvid)",
            "SetOption(vcodecTag=DIVX)", "SetAudioCodec(aac)", "SetAudioParams(48000,2,96000,44100,2)" } },
    { "FLV", Make<TFLVProfile>(), {},
        { "Create(out.flv)", "SetFormat(flv)", "SetOption(bitexact=1)",
            "SetVideoParams(320,240,768000,24,640,480,5,0,0,0,0,0,0,0,0)", "SetVideoCodec(flv)", "SetAudioCodec(mp3)",
            "SetAudioParams(44100,2,96000,44100,2)" } },
    { "Disable Audio leaves the audio out", Make<TFLVProfile>(), { 640, 480, 0, 0, 0, 0, false, true },
        { "Create(out.flv)", "SetFormat(flv)", "SetOption(bitexact=1)",
            "SetVideoParams(320,240,768000,24,640,480,5,0,0,0,0,0,0,0,0)", "SetVideoCodec(flv)" } },
};

const std::vector<std::string> kTagsAndOpen = { "SetOption(str_title=T)", "SetOption(str_author=)",
    "SetOption(str_copyright=C)", "SetOption(str_comment=)", "SetOption(rec_timestamp=2024)", "Open()" };

std::unique_ptr<TEncoderObject> CreateTagged(const TVideoProfile& profile)
{
    std::unique_ptr<TEncoderObject> object = Create(profile, {});
    object->Title = "T";
    object->Copyright = "C";
    object->Year = "2024";
    return object;
}

std::vector<std::string> Tail(const std::vector<std::string>& calls, size_t from)
{
    return std::vector<std::string>(calls.begin() + std::min(from, calls.size()), calls.end());
}

} // namespace

TEST_F(EncoderObjectCalls, ConfigureSendsEachFormatsCallsInOrder)
{
    for (const CallCase& test : kCallCases) {
        SCOPED_TRACE(test.Name);
        gCalls.clear();
        std::unique_ptr<TVideoProfile> profile = test.Profile();
        std::unique_ptr<TEncoderObject> object = Create(*profile, test.From);
        EXPECT_EQ(gCalls, test.Calls);
        EXPECT_NE(static_cast<TCodecEncoderObject&>(*object).Writer, nullptr);
        object.reset();
        EXPECT_EQ(Tail(gCalls, test.Calls.size()), (std::vector<std::string> { "Close()", "Release" }));
    }
}

TEST_F(EncoderObjectCalls, OpenSendsTheFiveTagsEvenWhenEmpty)
{
    TAVIProfile profile("p", "");
    std::unique_ptr<TEncoderObject> object = CreateTagged(profile);
    const size_t configured = gCalls.size();
    EXPECT_TRUE(object->Open());
    EXPECT_EQ(Tail(gCalls, configured), kTagsAndOpen);
}

TEST_F(EncoderObjectCalls, RefusalsReleaseTheWriterAndFailOpen)
{
    struct RefusalCase {
        const char* Refused;
        std::vector<std::string> AfterConfigure; // From the refused call on: configuration's rest, Open, Close.
    };
    // A refusal while configuring stops the steps and releases the writer at once; Open then has nothing to
    // call. A refused tag releases without a close; a refused open closes, then releases.
    const RefusalCase kRefusals[] = {
        { "SetVideoCodec", { "SetVideoCodec(mpeg4)", "Release" } },
        { "SetOption(video_rc_min_rate", { "SetOption(video_rc_min_rate=768000)", "Release" } },
        { "SetAudioParams", { "SetAudioParams(44100,2,96000,44100,2)", "Release" } },
        { "SetOption(str_copyright",
            { "SetOption(str_title=T)", "SetOption(str_author=)", "SetOption(str_copyright=C)", "Release" } },
        { "Open",
            { "SetOption(str_title=T)", "SetOption(str_author=)", "SetOption(str_copyright=C)",
                "SetOption(str_comment=)", "SetOption(rec_timestamp=2024)", "Open()", "Close()", "Release" } },
    };
    for (const RefusalCase& test : kRefusals) {
        SCOPED_TRACE(test.Refused);
        gCalls.clear();
        gRefuse = test.Refused;
        TAVIProfile profile("p", "");
        std::unique_ptr<TEncoderObject> object = CreateTagged(profile);
        // Where the expected calls start: at the refused step, or after the configuration when Open is refused.
        size_t first = 0;
        while (first < gCalls.size() && gCalls[first].rfind(test.Refused, 0) != 0)
            ++first;
        EXPECT_FALSE(object->Open());
        EXPECT_EQ(static_cast<TCodecEncoderObject&>(*object).Writer, nullptr);
        // Close after a failed Open, twice, and the deletion call nothing more.
        EXPECT_TRUE(object->Close());
        EXPECT_TRUE(object->Close());
        EXPECT_FALSE(object->WriteVideo(nullptr, 0.0, 0.04));
        object.reset();
        EXPECT_EQ(Tail(gCalls, first), test.AfterConfigure);
    }
}

TEST_F(EncoderObjectCalls, NoWriterMeansOpenFails)
{
    gCreateFails = true;
    TFLVProfile profile("p", "");
    std::unique_ptr<TEncoderObject> object = Create(profile, {});
    EXPECT_FALSE(object->Open());
    EXPECT_TRUE(object->Close());
    EXPECT_FALSE(object->WriteAudio(nullptr, 0, 0.0, 0.1));
    object.reset();
    EXPECT_EQ(gCalls, (std::vector<std::string> { "Create(out.flv)", "Release(null)" }));
}

TEST_F(EncoderObjectCalls, WritesPassTheStartTimeAndCloseOnlyOnce)
{
    TMP4Profile profile("p", "");
    std::unique_ptr<TEncoderObject> object = Create(profile, {});
    ASSERT_TRUE(object->Open());
    const size_t opened = gCalls.size();
    const uint8_t data[8] = {};
    EXPECT_TRUE(object->WriteVideo(data, 2.5, 2.54));
    EXPECT_TRUE(object->WriteAudio(data, 8, 2.5, 2.6));
    EXPECT_EQ(object->GetOutputSize(), 1234);
    gRefuse = "WriteVideo";
    EXPECT_FALSE(object->WriteVideo(data, 2.54, 2.58));
    gRefuse.clear();
    gThrowOnWrite = true;
    EXPECT_FALSE(object->WriteVideo(data, 2.58, 2.62));
    EXPECT_FALSE(object->WriteAudio(data, 8, 2.6, 2.7));
    gThrowOnWrite = false;
    // A file the writer could not finish is reported once; the writer is released either way.
    gRefuse = "Close";
    EXPECT_FALSE(object->Close());
    gRefuse.clear();
    EXPECT_TRUE(object->Close());
    EXPECT_EQ(object->GetOutputSize(), 0);
    object.reset();
    EXPECT_EQ(Tail(gCalls, opened),
        (std::vector<std::string> {
            "WriteVideo(2.5)", "WriteAudio(8,2.5)", "WriteVideo(2.54)", "Close()", "Release" }));
}

TEST_F(EncoderObjectCalls, DisabledAudioIsAcceptedAndDropped)
{
    TAVIProfile profile("p", "");
    Source source;
    source.DisableAudio = true;
    std::unique_ptr<TEncoderObject> object = Create(profile, source);
    ASSERT_TRUE(object->Open());
    const size_t opened = gCalls.size();
    const uint8_t data[8] = {};
    EXPECT_TRUE(object->WriteAudio(data, 8, 0.0, 0.1));
    EXPECT_EQ(gCalls.size(), opened);
}

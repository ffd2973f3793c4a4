// The profile editor's format pages on the headless display: the frame-size units, the codec-driven lists and
// enables, and every format's profile shown in the controls and read back.
#include "app/ProfileFormatTables.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/lists/TspSkinComboBox.h"
#include "tests/app/ProfileWindowsTestSupport.h"

namespace {

class ProfileFormatPagesTest : public ProfileWindowsTest {
protected:
    void SetUp() override
    {
        ProfileWindowsTest::SetUp();
        LoadHolder();
        NewEditor();
        Editor->Show();
        Pump();
    }

    // Types `text` into a number edit as the user would, in place of what it held.
    void Type(TspSkinSpinEdit* edit, const std::string& text)
    {
        edit->Edit()->SetFocus();
        edit->Edit()->SelectAll();
        Backend.Key(VK_DELETE);
        for (char c : text)
            Backend.Char(static_cast<char32_t>(c));
        Pump();
    }
    // Shows a default profile of the format, so its page and panel are the visible ones.
    void OpenPage(VideoFormatType type)
    {
        const auto profile = NewProfileOfFormat(type, "Page", "");
        Editor->ShowProfile(profile.get());
        Pump();
    }
    // Moves the focus on to the name edit, leaving the focused control.
    void Leave()
    {
        Editor->edtName->SetFocus();
        Pump();
    }
    static std::string Selected(TspSkinComboBox* combo)
    {
        return combo->ItemIndex() < 0 ? "<none>" : combo->Items()->Strings(combo->ItemIndex());
    }
    static std::vector<std::string> ItemsOf(TspSkinComboBox* combo)
    {
        std::vector<std::string> items;
        for (int i = 0; i < combo->Items()->Count(); ++i)
            items.push_back(combo->Items()->Strings(i));
        return items;
    }
};

TEST_F(ProfileFormatPagesTest, FrameSizeChoiceAndEditsActAsOneUnit)
{
    struct Case {
        const char* Page;
        VideoFormatType Type;
        TspSkinComboBox* Choice;
        TspSkinSpinEdit* Width;
        TspSkinSpinEdit* Height;
        int Items;
    };
    const Case cases[] = { { "AVI", vfAVI, Editor->cbAVIFrameSize, Editor->edtAVIWidth, Editor->edtAVIHeight, 17 },
        { "MPEG", vfMPEG, Editor->cbMPEGFrameSize, Editor->edtMPEGWidth, Editor->edtMPEGHeight, 19 },
        { "MP4", vfMP4, Editor->cbMP4FrameSize, Editor->edtMP4Width, Editor->edtMP4Height, 18 },
        { "FLV", vfFLV, Editor->cbFLVFrameSize, Editor->edtFLVWidth, Editor->edtFLVHeight, 18 },
        { "WMV", vfWMV, Editor->cbWMVFrameSize, Editor->edtWMVWidth, Editor->edtWMVHeight, 17 },
        { "Real", vfReal, Editor->cbRealFrameSize, Editor->edtRealWidth, Editor->edtRealHeight, 17 },
        { "MOV", vfMOV, Editor->cbMOVFrameSize, Editor->edtMOVWidth, Editor->edtMOVHeight, 18 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Page);
        OpenPage(c.Type);
        EXPECT_EQ(c.Choice->Items()->Count(), c.Items);
        c.Choice->SetItemIndex(c.Choice->Items()->Count() - 1);
        EXPECT_EQ(Selected(c.Choice), "Custom");
        EXPECT_EQ(c.Width->Value(), 0);
        EXPECT_EQ(c.Height->Value(), 0);
        Type(c.Width, "352");
        EXPECT_EQ(Selected(c.Choice), "Custom");
        Type(c.Height, "288");
        EXPECT_EQ(Selected(c.Choice), "352 x 288 (CIF)");
        Type(c.Width, "353");
        EXPECT_EQ(Selected(c.Choice), "Custom");
        c.Choice->SetItemIndex(c.Choice->Items()->IndexOf("720 x 576"));
        EXPECT_EQ(c.Width->Value(), 720);
        EXPECT_EQ(c.Height->Value(), 576);
    }
    // The wider lists hold their own sizes after CIF.
    OpenPage(vfMPEG);
    Type(Editor->edtMPEGWidth, "480");
    Type(Editor->edtMPEGHeight, "576");
    EXPECT_EQ(Selected(Editor->cbMPEGFrameSize), "480 x 576");
    OpenPage(vfFLV);
    Type(Editor->edtFLVWidth, "368");
    Type(Editor->edtFLVHeight, "208");
    EXPECT_EQ(Selected(Editor->cbFLVFrameSize), "368 x 208");
    OpenPage(vfAVI);
    Type(Editor->edtAVIWidth, "368");
    Type(Editor->edtAVIHeight, "208");
    EXPECT_EQ(Selected(Editor->cbAVIFrameSize), "Custom");
}

TEST_F(ProfileFormatPagesTest, LeavingASizeEditRoundsDownToTheCodecsIncrement)
{
    struct Case {
        VideoFormatType Type;
        TspSkinComboBox* Codec;
        const char* CodecName;
        TspSkinSpinEdit* Edit;
        int Typed;
        int Left;
    };
    const Case cases[] = { { vfAVI, Editor->cbAVIVideoCodec, "H264", Editor->edtAVIWidth, 330, 320 },
        { vfAVI, Editor->cbAVIVideoCodec, "MPEG4", Editor->edtAVIWidth, 331, 330 },
        { vfAVI, Editor->cbAVIVideoCodec, "H264", Editor->edtAVIHeight, 255, 240 },
        { vfMP4, Editor->cbMP4VideoCodec, "H264(AVC)", Editor->edtMP4Height, 250, 240 },
        { vfMP4, Editor->cbMP4VideoCodec, "XVID", Editor->edtMP4Height, 250, 250 },
        { vfMOV, Editor->cbMOVVideoCodec, "H264(AVC)", Editor->edtMOVWidth, 100, 96 },
        { vfMOV, Editor->cbMOVVideoCodec, "Motion JPEG", Editor->edtMOVWidth, 99, 98 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.CodecName) + " " + std::to_string(c.Typed));
        OpenPage(c.Type);
        c.Codec->SetItemIndex(c.Codec->Items()->IndexOf(c.CodecName));
        Type(c.Edit, std::to_string(c.Typed));
        // A changed increment waits for the user to leave the edit.
        EXPECT_EQ(c.Edit->Value(), c.Typed);
        Leave();
        EXPECT_EQ(c.Edit->Value(), c.Left);
    }
}

TEST_F(ProfileFormatPagesTest, CodecsAndModesEnableTheControlsThatDependOnThem)
{
    // AVI: the bit-rate edits follow the VBR radio; the sample codecs without a bit rate disable its choice.
    Editor->rbAVIUseCBR->SetChecked(true);
    EXPECT_FALSE(Editor->edtAVIVideoVBRMaxBitrate->Enabled());
    EXPECT_FALSE(Editor->edtAVIVideoVBRMinBitrate->Enabled());
    Editor->rbAVIUseVBR->SetChecked(true);
    EXPECT_TRUE(Editor->edtAVIVideoVBRMaxBitrate->Enabled());
    EXPECT_TRUE(Editor->edtAVIVideoVBRMinBitrate->Enabled());
    const std::pair<const char*, bool> audio[] = { { "MP3", true }, { "PCM", false }, { "ADPCM", false },
        { "A-LAW", false }, { "U-LAW", false }, { "AC3", true }, { "AAC", true } };
    for (const auto& [codec, enabled] : audio) {
        Editor->cbAVI_AudioCodec->SetItemIndex(Editor->cbAVI_AudioCodec->Items()->IndexOf(codec));
        EXPECT_EQ(Editor->cbAVIAudioBitrate->Enabled(), enabled) << codec;
    }

    // Real: version 8 forces CBR and disables the mode; 9 with VBR ticked enables the maximum.
    Editor->cbRealVideoCodec->SetItemIndex(1);
    Editor->rbRealUseVBR->SetChecked(true);
    Editor->cbRealVideoCodec->SetItemIndex(0);
    EXPECT_TRUE(Editor->rbRealUseCBR->Checked());
    EXPECT_FALSE(Editor->rbRealUseCBR->Enabled());
    EXPECT_FALSE(Editor->rbRealUseVBR->Enabled());
    EXPECT_FALSE(Editor->edtRealVideoVBRMaxBitrate->Enabled());
    Editor->cbRealVideoCodec->SetItemIndex(1);
    EXPECT_FALSE(Editor->edtRealVideoVBRMaxBitrate->Enabled());
    Editor->rbRealUseVBR->SetChecked(true);
    EXPECT_TRUE(Editor->edtRealVideoVBRMaxBitrate->Enabled());

    // WMV: a system profile disables the settings it stands for, but not the frame rate.
    Editor->chkWMVUseVBR->SetChecked(true);
    EXPECT_TRUE(Editor->edtWMVVBRQuality->Enabled());
    Editor->chkUseSystemProfile->SetChecked(true);
    EXPECT_TRUE(Editor->cbSystemProfile->Enabled());
    EXPECT_FALSE(Editor->cbWMVFrameSize->Enabled());
    EXPECT_FALSE(Editor->edtWMVVideoBitrate->Enabled());
    EXPECT_FALSE(Editor->edtWMVVBRQuality->Enabled());
    EXPECT_FALSE(Editor->cbWMVAudioFormat->Enabled());
    EXPECT_TRUE(Editor->cbWMVFrameRate->Enabled());
    Editor->chkUseSystemProfile->SetChecked(false);
    EXPECT_FALSE(Editor->cbSystemProfile->Enabled());
    EXPECT_TRUE(Editor->edtWMVVBRQuality->Enabled());
}

TEST_F(ProfileFormatPagesTest, The3GPListsFollowTheirCodecs)
{
    Editor->cb3GPVideoCodec->SetItemIndex(0);
    EXPECT_EQ(ItemsOf(Editor->cb3GPFrameSize),
        (std::vector<std::string> { "128 x 96(SQCIF)", "176 x 144 (QCIF)", "352 x 288 (CIF)" }));
    EXPECT_EQ(Selected(Editor->cb3GPFrameSize), "176 x 144 (QCIF)");
    EXPECT_EQ(Editor->cb3GPFrameRate->Items()->Count(), 4);
    EXPECT_EQ(Selected(Editor->cb3GPFrameRate), "15.00 fps");
    Editor->cb3GPVideoCodec->SetItemIndex(1);
    EXPECT_EQ(Editor->cb3GPFrameSize->Items()->Count(), 7);
    EXPECT_EQ(Selected(Editor->cb3GPFrameSize), "176 x 144 (QCIF)");
    EXPECT_EQ(Editor->cb3GPFrameRate->Items()->Count(), 10);

    struct Case {
        const char* Codec;
        std::vector<std::string> Frequencies;
        std::vector<std::string> Channels;
        size_t Bitrates;
        const char* Selected;
    };
    const Case cases[] = { { "AMR-NB", { "8000 Hz" }, { "1 (Mono)" }, 8, "12.2 kbps" },
        { "AMR-WB", { "16000 Hz" }, { "1 (Mono)" }, 9, "23.85 kbps" },
        { "AAC",
            { "48000 Hz", "44100 Hz", "32000 Hz", "24000 Hz", "22050 Hz", "16000 Hz", "12000 Hz", "11025 Hz",
                "8000 Hz" },
            { "1 (Mono)", "2 (Stereo)" }, 8, "48 kbps" } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Codec);
        Editor->cb3GPAudioCodec->SetItemIndex(Editor->cb3GPAudioCodec->Items()->IndexOf(c.Codec));
        EXPECT_EQ(ItemsOf(Editor->cb3GPFrequency), c.Frequencies);
        EXPECT_EQ(ItemsOf(Editor->cb3GPChannels), c.Channels);
        EXPECT_EQ(Editor->cb3GPAudioBitrate->Items()->Count(), static_cast<int>(c.Bitrates));
        EXPECT_EQ(Selected(Editor->cb3GPAudioBitrate), c.Selected);
    }
    EXPECT_EQ(Selected(Editor->cb3GPFrequency), "22050 Hz");
    EXPECT_EQ(Selected(Editor->cb3GPChannels), "2 (Stereo)");
}

TEST_F(ProfileFormatPagesTest, A3GPProfileShowsTheItemsOfItsStoredValues)
{
    struct Case {
        const char* Name;
        int AudioCodec;
        int AudioBitrate;
        const char* ShownBitrate;
        int ReadBitrate;
    };
    const Case cases[] = {
        { "AMR-WB at 8850", 1, 8850, "8.85 kbps", 8850 },
        { "AMR-NB at 12200", 0, 12200, "12.2 kbps", 12200 },
        // A rate the codec's list lacks shows the list's last item, and that is what is read.
        { "AMR-NB at 23850", 0, 23850, "12.2 kbps", 12200 },
        { "AAC at 20000", 2, 20000, "128 kbps", 128000 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        T3GPProfile stored(c.Name, "");
        stored.AudioCodec = static_cast<int8_t>(c.AudioCodec);
        stored.AudioBitrate = c.AudioBitrate;
        stored.AudioFrequency = c.AudioCodec == 1 ? 16000 : 8000;
        stored.AudioChannels = 1;
        Editor->ShowProfile(&stored);
        EXPECT_EQ(Selected(Editor->cb3GPAudioBitrate), c.ShownBitrate);
        T3GPProfile read("", "");
        Editor->ReadProfile3GP(&read);
        EXPECT_EQ(read.AudioBitrate, c.ReadBitrate);
        EXPECT_EQ(read.ProfileName, c.Name);
    }

    // An H.263 profile at 25 fps, a rate of the table that the codec's list lacks: nothing is chosen, and
    // reading keeps the stored rate instead of reading past the list.
    T3GPProfile h263("H263 at 25", "");
    h263.VideoCodec = 0;
    h263.FrameRate = 25.0;
    h263.Width = 320;
    h263.Height = 240;
    Editor->ShowProfile(&h263);
    EXPECT_EQ(Editor->cb3GPFrameRate->ItemIndex(), -1);
    // A size the codec's list lacks shows the last item.
    EXPECT_EQ(Selected(Editor->cb3GPFrameSize), "352 x 288 (CIF)");
    T3GPProfile read("", "");
    Editor->ReadProfile3GP(&read);
    EXPECT_EQ(read.FrameRate, 25.0);
    EXPECT_EQ(read.Width, 352);
}

TEST_F(ProfileFormatPagesTest, WMVQualityIsShownAs90WithoutVBRAndTheStoredQualityIsKept)
{
    TWMVProfile stored("No VBR", "");
    stored.UseVBR = false;
    stored.VBRVideoQuality = 0;
    Editor->ShowProfile(&stored);
    EXPECT_EQ(Editor->edtWMVVBRQuality->Value(), 90);
    EXPECT_FALSE(Editor->edtWMVVBRQuality->Enabled());
    TWMVProfile read("", "");
    Editor->ReadProfileWMV(&read);
    EXPECT_EQ(read.VBRVideoQuality, 0);
    EXPECT_TRUE(read.Equals(stored));
    // With VBR the edit is what is stored.
    Editor->chkWMVUseVBR->SetChecked(true);
    Editor->edtWMVVBRQuality->SetValue(75);
    Editor->ReadProfileWMV(&read);
    EXPECT_TRUE(read.UseVBR);
    EXPECT_EQ(read.VBRVideoQuality, 75);
}

// Every field of `profile` set to a value its page can show and unlike the format's defaults.
std::unique_ptr<TVideoProfile> UnusualProfile(VideoFormatType type)
{
    auto profile = NewProfileOfFormat(type, "Unusual", "");
    profile->ParamKeys.Add("threads");
    profile->ParamValues.Add("3");
    switch (type) {
    case vf3GP: {
        auto& p = static_cast<T3GPProfile&>(*profile);
        p.Format3GP = 1;
        p.VideoCodec = 2;
        p.Width = 240;
        p.Height = 192;
        p.FrameRate = 23.98;
        p.VideoBitrate = 256000;
        p.VideoBitrateTolerance = 120000;
        p.AudioCodec = 2;
        p.AudioFrequency = 12000;
        p.AudioChannels = 2;
        p.AudioBitrate = 112000;
        break;
    }
    case vfAVI: {
        auto& p = static_cast<TAVIProfile&>(*profile);
        p.Width = 352;
        p.Height = 240;
        p.AVIVideoCodec = 8;
        p.FrameRate = 12.0;
        p.VideoBitrate = 900000;
        p.UseVBR = true;
        p.VideoVBRMaxBitrate = 1800000;
        p.VideoVBRMinBitrate = 300000;
        p.AVIAudioCodec = 7;
        p.AudioFrequency = 22050;
        p.AudioChannels = 1;
        p.AudioBitrate = 96000;
        break;
    }
    case vfMPEG: {
        auto& p = static_cast<TMPEGProfile&>(*profile);
        p.MPEGVersion = 0;
        p.Width = 480;
        p.Height = 480;
        p.FrameRate = 29.97;
        p.VideoBitrate = 2500000;
        p.UseVBR = true;
        p.VideoVBRMaxBitrate = 3000000;
        p.VideoVBRMinBitrate = 1000000;
        p.MPEGAudioType = 1;
        p.AudioFrequency = 32000;
        p.AudioChannels = 1;
        p.AudioBitrate = 448000;
        break;
    }
    case vfMP4: {
        auto& p = static_cast<TMP4Profile&>(*profile);
        p.MP4VideoCodec = 3;
        p.Width = 368;
        p.Height = 208;
        p.FrameRate = 14.985;
        p.VideoBitrate = 650000;
        // Without VBR the maximum is the video bit rate.
        p.VideoVBRMaxBitrate = 650000;
        p.AudioFrequency = 24000;
        p.AudioChannels = 1;
        p.AudioBitrate = 56000;
        break;
    }
    case vfWMV: {
        auto& p = static_cast<TWMVProfile&>(*profile);
        p.Width = 640;
        p.Height = 480;
        p.WMV_Version = 2;
        p.FrameRate = 7.0;
        p.VideoBitrate = 1200000;
        p.UseVBR = true;
        p.VBRVideoQuality = 60;
        break;
    }
    case vfReal: {
        auto& p = static_cast<TRealProfile&>(*profile);
        p.Width = 800;
        p.Height = 600;
        p.RealVersion = 2;
        p.FrameRate = 20.0;
        p.VideoBitrate = 500000;
        p.UseVBR = true;
        p.VideoVBRMaxBitrate = 900000;
        p.VideoNoiseReduction = true;
        break;
    }
    case vfMOV: {
        auto& p = static_cast<TMOVProfile&>(*profile);
        p.MOVVideoCodec = 5;
        p.Width = 123;
        p.Height = 77;
        p.FrameRate = 3.0;
        p.VideoBitrate = 350000;
        p.AudioFrequency = 11025;
        p.AudioChannels = 1;
        p.AudioBitrate = 320000;
        break;
    }
    case vfFLV: {
        auto& p = static_cast<TFLVProfile&>(*profile);
        p.Width = 96;
        p.Height = 72;
        p.FrameRate = 14.985;
        p.VideoBitrate = 250000;
        p.AudioFrequency = 44100;
        p.AudioChannels = 1;
        p.AudioBitrate = 224000;
        break;
    }
    }
    return profile;
}

TEST_F(ProfileFormatPagesTest, EveryFormatsPageShowsAProfileAndReadsItBackUnchanged)
{
    for (VideoFormatType type : ProfileFormatTables::EditorPageOrder) {
        SCOPED_TRACE(ProfileFormatTables::FormatInfo(type).PageCaption);
        const auto stored = UnusualProfile(type);
        Editor->ShowProfile(stored.get());
        EXPECT_EQ(Editor->ActiveFormat(), type);
        EXPECT_EQ(Editor->edtName->Text(), "Unusual");
        for (int other = 0; other < 8; ++other)
            EXPECT_EQ(Editor->FormatPanel(VideoFormatType(other))->Visible(), other == type) << other;
        // Read into a copy of the stored profile: nothing changes, the file it would write included.
        auto read = stored->Clone();
        Editor->ReadProfileOfFormat(read.get());
        EXPECT_TRUE(read->Equals(*stored));
        ASSERT_TRUE(stored->Save(Folder->File("stored.pf")));
        read->FileName.clear();
        ASSERT_TRUE(read->Save(Folder->File("read.pf")));
        EXPECT_EQ(ReadText(Folder->File("read.pf")), ReadText(Folder->File("stored.pf")));
    }
}

TEST_F(ProfileFormatPagesTest, ValuesNoItemStandsForAreKeptAndReadBack)
{
    TAVIProfile stored("Odd rates", "");
    stored.FrameRate = 17.5;
    stored.AudioFrequency = 96000;
    stored.AudioBitrate = 99000;
    stored.AVIVideoCodec = 42;
    Editor->ShowProfile(&stored);
    EXPECT_EQ(Editor->cbAVIFrameRate->ItemIndex(), -1);
    EXPECT_EQ(Editor->cbAVIFrequency->ItemIndex(), -1);
    EXPECT_EQ(Editor->cbAVIVideoCodec->ItemIndex(), -1);
    TAVIProfile read("", "");
    Editor->ReadProfileAVI(&read);
    EXPECT_EQ(read.FrameRate, 17.5);
    EXPECT_EQ(read.AudioFrequency, 96000);
    EXPECT_EQ(read.AudioBitrate, 99000);
    EXPECT_EQ(read.AVIVideoCodec, 42);
    // Once the user picks an item, that is read.
    Editor->cbAVIFrameRate->SetItemIndex(0);
    Editor->ReadProfileAVI(&read);
    EXPECT_EQ(read.FrameRate, 1.0);
}

TEST_F(ProfileFormatPagesTest, EveryShippedProfileShownAndReadBackEqualsTheStoredOne)
{
    delete Editor;
    Editor = nullptr;
    Holder.reset();
    CopyShippedProfiles();
    LoadHolder();
    ASSERT_EQ(Manager().Count(), 22);
    NewEditor();
    for (int i = 0; i < Manager().Count(); ++i) {
        const TVideoProfile* stored = Manager().Get(i);
        SCOPED_TRACE(stored->ProfileName);
        Editor->ShowProfile(stored);
        auto read = stored->Clone();
        Editor->ReadProfileOfFormat(read.get());
        EXPECT_TRUE(read->Equals(*stored));
        // A profile saved elsewhere moves its file there: the copy gets none of its own first.
        read->FileName.clear();
        ASSERT_TRUE(read->Save(Folder->File("read.pf")));
        EXPECT_EQ(NonBlankLines(ReadText(Folder->File("read.pf"))), NonBlankLines(ReadText(stored->FileName)))
            << stored->FileName;
    }
}

} // namespace

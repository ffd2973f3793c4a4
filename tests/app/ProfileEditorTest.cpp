// The profile editor on the headless display: its lists per page, the unsaved-change questions with the profile
// files they leave on disk, New, Save, Copy, Delete and rename, a save that fails, and the extra encoder options
// carried from profile to profile.
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestProbe.h"
#include "engine/DirectShowDecoder.h"
#include "engine/TConvertJob.h"
#include "framework/core/Clock.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/dialogs/TspSkinPageControl.h"
#include "skin/lists/TspSkinComboBox.h"
#include "tests/app/ProfileWindowsTestSupport.h"

#include <fstream>
#include <functional>

namespace {

class ProfileEditorTest : public ProfileWindowsTest {
protected:
    // Two MP4 profiles, one AVI profile with an extra encoder option, and one FLV profile.
    void SetUp() override
    {
        ProfileWindowsTest::SetUp();
        StoreProfiles();
        LoadHolder();
        NewEditor();
    }

    void StoreProfiles()
    {
        TMP4Profile phone("Phone", "");
        phone.VideoBitrate = 500000;
        phone.VideoVBRMaxBitrate = 500000;
        WriteProfile(phone);
        TMP4Profile tablet("Tablet", "");
        tablet.VideoBitrate = 1000000;
        tablet.VideoVBRMaxBitrate = 1000000;
        WriteProfile(tablet);
        TAVIProfile archive("Archive", "");
        archive.VideoVBRMaxBitrate = archive.VideoBitrate;
        archive.ParamKeys.Add("g");
        archive.ParamValues.Add("250");
        WriteProfile(archive);
        TFLVProfile web("Web", "");
        WriteProfile(web);
    }

    // The editor again, on the four stored profiles only.
    void Restart()
    {
        delete Editor;
        Editor = nullptr;
        Holder.reset();
        std::filesystem::remove_all(ProfilesFolder());
        std::filesystem::create_directory(ProfilesFolder());
        StoreProfiles();
        LoadHolder();
        NewEditor();
    }

    // Opens the page of `type` as the user does, by its tab.
    void OpenPage(VideoFormatType type)
    {
        Editor->pcFormats->SetActivePageIndex(ProfileFormatTables::EditorPageOf(type));
        Editor->pcFormatsChange(Editor->pcFormats);
    }
    std::vector<std::string> ListItems() const
    {
        std::vector<std::string> items;
        for (int i = 0; i < Editor->cbProfiles->Items()->Count(); ++i)
            items.push_back(Editor->cbProfiles->Items()->Strings(i));
        return items;
    }
    void Choose(const std::string& name)
    {
        Editor->cbProfiles->SetItemIndex(Editor->cbProfiles->Items()->IndexOf(name));
    }
    // The profile stored under `name`, read again from its file.
    std::unique_ptr<TVideoProfile> FromFile(const std::string& fileName)
    {
        std::ifstream in(ProfilesFolder() + fileName);
        if (!in)
            return nullptr;
        TProfileManager reader(ProfilesFolder());
        reader.LoadAll();
        for (int i = 0; i < reader.Count(); ++i) {
            if (reader.Get(i)->FileName == ProfilesFolder() + fileName)
                return reader.Get(i)->Clone();
        }
        return nullptr;
    }
    int32_t StoredMP4Bitrate(const std::string& fileName)
    {
        auto profile = FromFile(fileName);
        return profile ? static_cast<TMP4Profile&>(*profile).VideoBitrate : -1;
    }
};

TEST_F(ProfileEditorTest, EachPageListsItsFormatsProfilesAndAnEmptyPageSaysSo)
{
    EXPECT_EQ(Editor->Caption(), "Tarnwick Pro - Profile Editor");
    EXPECT_EQ(Editor->ActiveFormat(), vfAVI);
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "Archive" }));
    EXPECT_EQ(Editor->edtName->Text(), "Archive");
    EXPECT_TRUE(Editor->AVIPanel->Visible());
    OpenPage(vfMP4);
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "Phone", "Tablet" }));
    EXPECT_EQ(Editor->ShownIndex, 0);
    EXPECT_EQ(Editor->ProfileInfoPanel->Parent(), Editor->tsMP4);
    OpenPage(vfMOV);
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "No Profile in this category" }));
    EXPECT_EQ(Editor->edtName->Text(), "(empty)");
    EXPECT_EQ(Editor->ShownIndex, -1);
    for (int type = 0; type < 8; ++type)
        EXPECT_FALSE(Editor->FormatPanel(VideoFormatType(type))->Visible()) << type;
    // Copy has nothing to copy: no question, no file.
    Editor->btnSaveAsClick(nullptr);
    EXPECT_FALSE(Editor->NewProfilePending);
    EXPECT_TRUE(Questions.empty());
    // Each page comes back on the profile last chosen there.
    OpenPage(vfMP4);
    Choose("Tablet");
    OpenPage(vfAVI);
    OpenPage(vfMP4);
    EXPECT_EQ(Editor->edtName->Text(), "Tablet");
}

TEST_F(ProfileEditorTest, TheUnsavedChangeQuestionsAndTheFilesTheyLeave)
{
    struct Case {
        const char* Name;
        // What the user does before choosing "Tablet" in the MP4 list.
        std::function<void(TEditProfileForm&)> Edit;
        std::vector<int32_t> Answers;
        std::vector<std::string> Questions;
        std::vector<std::string> Files;
        // The video bit rate "Phone.pf" holds afterwards, and the format "Web.pf" holds.
        int32_t PhoneBitrate;
        VideoFormatType WebFormat = vfFLV;
    };
    const std::vector<std::string> kept { "Archive.pf", "Phone.pf", "Tablet.pf", "Web.pf" };
    const Case cases[] = {
        { "unchanged", [](TEditProfileForm&) {}, {}, {}, kept, 500000 },
        { "changed, saved", [](TEditProfileForm& e) { e.edtMP4VideoBitrate->SetValue(700); }, { IDYES },
            { "Profile:Phone\n has been modified ,Do you want to save it?" }, kept, 700000 },
        { "changed, not saved", [](TEditProfileForm& e) { e.edtMP4VideoBitrate->SetValue(700); }, { IDNO },
            { "Profile:Phone\n has been modified ,Do you want to save it?" }, kept, 500000 },
        { "new, saved", [](TEditProfileForm& e) { e.NewProfile(vfMP4); }, { IDYES },
            { "Do You Want To Save Profile:\nNew MP4 Profile?" },
            { "Archive.pf", "New MP4 Profile.pf", "Phone.pf", "Tablet.pf", "Web.pf" }, 500000 },
        { "new, not saved", [](TEditProfileForm& e) { e.NewProfile(vfMP4); }, { IDNO },
            { "Do You Want To Save Profile:\nNew MP4 Profile?" }, kept, 500000 },
        // A new profile named as a stored one of another format: the stored one stays unless the user agrees.
        { "new named as another, kept",
            [](TEditProfileForm& e) {
                e.NewProfile(vfMP4);
                e.edtName->SetText("Web");
            },
            { IDYES, IDNO },
            { "Do You Want To Save Profile:\nWeb?",
                "There is already a Profile having the same name of Web,\nDo you want to overwrite it?" },
            kept, 500000 },
        { "new named as another, overwritten",
            [](TEditProfileForm& e) {
                e.NewProfile(vfMP4);
                e.edtName->SetText("Web");
            },
            { IDYES, IDYES },
            { "Do You Want To Save Profile:\nWeb?",
                "There is already a Profile having the same name of Web,\nDo you want to overwrite it?" },
            kept, 500000, vfMP4 },
        // Renaming a shown profile onto another's name asks before that one's file is written over.
        { "renamed onto another, kept", [](TEditProfileForm& e) { e.edtName->SetText("Tablet"); }, { IDYES, IDNO },
            { "Profile:Tablet\n has been modified ,Do you want to save it?",
                "There is already a Profile having the same name of Tablet,\nDo you want to overwrite it?" },
            kept, 500000 },
        { "renamed", [](TEditProfileForm& e) { e.edtName->SetText("Pocket"); }, { IDYES },
            { "Profile:Pocket\n has been modified ,Do you want to save it?" },
            { "Archive.pf", "Pocket.pf", "Tablet.pf", "Web.pf" }, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        // Every case starts from the four stored profiles.
        Restart();
        Questions.clear();
        OpenPage(vfMP4);
        c.Edit(*Editor);
        Answers.assign(c.Answers.begin(), c.Answers.end());
        Choose("Tablet");
        EXPECT_EQ(Questions, c.Questions);
        EXPECT_TRUE(Answers.empty());
        EXPECT_EQ(ProfileFiles(), c.Files);
        EXPECT_EQ(StoredMP4Bitrate("Phone.pf"), c.PhoneBitrate);
        // The list shows the profile chosen, and the manager holds one profile per file.
        EXPECT_EQ(Editor->edtName->Text(), "Tablet");
        EXPECT_EQ(Manager().Count(), static_cast<int>(c.Files.size()));
        auto web = FromFile("Web.pf");
        ASSERT_TRUE(web);
        EXPECT_EQ(web->FormatType, c.WebFormat);
    }
}

TEST_F(ProfileEditorTest, RenamingAndSavingReplacesTheOldFile)
{
    OpenPage(vfMP4);
    Editor->edtName->SetText("Pocket");
    Editor->edtMP4VideoBitrate->SetValue(600);
    Answers = { IDYES };
    Editor->btnSaveClick(nullptr);
    EXPECT_EQ(ProfileFiles(), (std::vector<std::string> { "Archive.pf", "Pocket.pf", "Tablet.pf", "Web.pf" }));
    EXPECT_EQ(StoredMP4Bitrate("Pocket.pf"), 600000);
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "Pocket", "Tablet" }));
    EXPECT_EQ(Editor->edtName->Text(), "Pocket");
    // Saved and unchanged: leaving it asks nothing.
    Choose("Tablet");
    EXPECT_EQ(Questions.size(), 1u);
}

TEST_F(ProfileEditorTest, AFailedSaveKeepsTheStoredProfileAndSaysSo)
{
    OpenPage(vfMP4);
    const std::string before = ReadText(ProfilesFolder() + "Phone.pf");
    // A name too long for a file name cannot be saved.
    const std::string tooLong(300, 'x');
    Editor->edtName->SetText(tooLong);
    Editor->edtMP4VideoBitrate->SetValue(900);
    Answers = { IDYES };
    Editor->btnSaveClick(nullptr);
    ASSERT_EQ(Questions.size(), 2u);
    EXPECT_EQ(QuestionFlags[1], 16);
    EXPECT_NE(Questions[1].find("could not be saved"), std::string::npos);
    EXPECT_EQ(ReadText(ProfilesFolder() + "Phone.pf"), before);
    EXPECT_EQ(Manager().Count(), 4);
    // The edits stay in the controls, so the user can choose another name.
    EXPECT_EQ(Editor->edtName->Text(), tooLong);
    EXPECT_EQ(Editor->edtMP4VideoBitrate->Value(), 900);
}

TEST_F(ProfileEditorTest, CopyStoresTheShownProfileUnderANewName)
{
    OpenPage(vfMP4);
    Choose("Tablet");
    Editor->btnSaveAsClick(nullptr);
    EXPECT_EQ(Editor->edtName->Text(), "Tablet - Copy");
    Answers = { IDYES };
    Editor->btnSaveClick(nullptr);
    EXPECT_EQ(Questions, (std::vector<std::string> { "Do You Want To Save Profile:\nTablet - Copy?" }));
    EXPECT_EQ(StoredMP4Bitrate("Tablet - Copy.pf"), 1000000);
    EXPECT_EQ(StoredMP4Bitrate("Tablet.pf"), 1000000);
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "Phone", "Tablet", "Tablet - Copy" }));
    EXPECT_EQ(Editor->edtName->Text(), "Tablet - Copy");
}

TEST_F(ProfileEditorTest, CopyOfAChangedProfileSavesTheChangeFirstAndListsIt)
{
    OpenPage(vfMP4);
    Editor->edtName->SetText("Pocket");
    Answers = { IDYES, IDYES };
    Editor->btnSaveAsClick(nullptr);
    // The renamed profile is stored and listed before its copy is made.
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "Pocket", "Tablet" }));
    EXPECT_EQ(Editor->edtName->Text(), "Pocket - Copy");
    Editor->btnSaveClick(nullptr);
    EXPECT_EQ(Questions,
        (std::vector<std::string> { "Profile:Pocket\n has been modified ,Do you want to save it?",
            "Do You Want To Save Profile:\nPocket - Copy?" }));
    EXPECT_EQ(ProfileFiles(),
        (std::vector<std::string> { "Archive.pf", "Pocket - Copy.pf", "Pocket.pf", "Tablet.pf", "Web.pf" }));
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "Pocket", "Pocket - Copy", "Tablet" }));
}

TEST_F(ProfileEditorTest, DeleteAsksAndShowsTheProfileThatTakesItsPlace)
{
    OpenPage(vfMP4);
    Choose("Tablet");
    // No keeps it.
    Answers = { IDNO };
    Editor->btnDeleteProfileClick(nullptr);
    EXPECT_EQ(Questions, (std::vector<std::string> { "Do you want delete profile:\nTablet?" }));
    EXPECT_EQ(ProfileFiles().size(), 4u);
    Answers = { IDYES };
    Editor->btnDeleteProfileClick(nullptr);
    EXPECT_EQ(ProfileFiles(), (std::vector<std::string> { "Archive.pf", "Phone.pf", "Web.pf" }));
    // The profile that took its place in the manager's list shows, here one of another page.
    EXPECT_EQ(Editor->ActiveFormat(), vfFLV);
    EXPECT_EQ(Editor->edtName->Text(), "Web");

    // The last profile of the manager's list goes: the new last one shows, on its own page.
    Answers = { IDYES };
    Editor->btnDeleteProfileClick(nullptr);
    EXPECT_EQ(ProfileFiles(), (std::vector<std::string> { "Archive.pf", "Phone.pf" }));
    EXPECT_EQ(Editor->ActiveFormat(), vfMP4);
    EXPECT_EQ(Editor->edtName->Text(), "Phone");
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "Phone" }));
}

TEST_F(ProfileEditorTest, ExtraEncoderOptionsPassFromTheShownProfileToTheNewOne)
{
    // "Archive" holds g=250; a new MP4 profile made while it shows takes the option over.
    ASSERT_EQ(Editor->edtName->Text(), "Archive");
    Editor->NewProfile(vfMP4);
    EXPECT_EQ(Editor->EditorParamKeys.Count(), 1);
    Answers = { IDYES };
    Editor->btnSaveClick(nullptr);
    auto made = FromFile("New MP4 Profile.pf");
    ASSERT_TRUE(made);
    ASSERT_EQ(made->ParamKeys.Count(), 1);
    EXPECT_EQ(made->ParamKeys.Strings(0), "g");
    EXPECT_EQ(made->ParamValues.Strings(0), "250");

    // Showing a profile of another format, as the output settings window does, leaves only its own options.
    TFLVProfile other("Other", "");
    other.ParamKeys.Add("bf");
    other.ParamValues.Add("0");
    Editor->ShowProfile(&other);
    ASSERT_EQ(Editor->EditorParamKeys.Count(), 1);
    EXPECT_EQ(Editor->EditorParamKeys.Strings(0), "bf");
    EXPECT_EQ(Editor->EditorParamValues.Strings(0), "0");
}

TEST_F(ProfileEditorTest, CloseAndEscapeDropUnsavedChangesWithoutAsking)
{
    OpenPage(vfMP4);
    Editor->edtMP4VideoBitrate->SetValue(900);
    char32_t escape = 27;
    Editor->FormKeyPress(Editor, escape);
    EXPECT_EQ(Editor->ModalResult(), mrCancel);
    Editor->btnCloseClick(nullptr);
    EXPECT_TRUE(Questions.empty());
    EXPECT_EQ(StoredMP4Bitrate("Phone.pf"), 500000);
}

TEST_F(ProfileEditorTest, AProfileSavedByTheEditorConvertsAClipToWhatTheEditorShowed)
{
    auto choose = [](TspSkinComboBox* combo, const char* item) {
        const int index = combo->Items()->IndexOf(item);
        ASSERT_GE(index, 0) << item;
        combo->SetItemIndex(index);
    };
    Editor->NewProfile(vfMP4);
    choose(Editor->cbMP4FrameSize, "160 x 120");
    choose(Editor->cbMP4FrameRate, "15.00 fps");
    choose(Editor->cbMP4VideoCodec, "MPEG4");
    Editor->edtMP4VideoBitrate->SetValue(300);
    choose(Editor->cbMP4Frequency, "22050 Hz");
    choose(Editor->cbMP4Channels, "1 (Mono)");
    choose(Editor->cbMP4AudioBitrate, "64 kbps");
    Editor->edtName->SetText("Small");
    Answers = { IDYES };
    Editor->btnSaveClick(nullptr);

    // The file, read as the program reads its profiles at start, converts a clip the codecs layer makes.
    auto stored = FromFile("Small.pf");
    ASSERT_TRUE(stored);
    QuietMediaLogs();
    InstallDirectShowProbe();
    TManualClock clock;
    SetTickSource(&clock);
    TTestClipSpec spec = TestClipSpec(TTestClipKind::Mp4H264Aac);
    const std::string source = Folder->File("source.mp4");
    std::string error;
    ASSERT_TRUE(MakeTestClip(source, spec, &error)) << error;
    TConvertJob job(source);
    ASSERT_TRUE(job.AnalyseWithMode(1));
    job.OutputFile = Folder->File("converted.mp4");
    job.SetProfile(std::move(stored));
    job.Status = jsProcessing;
    job.Convert();
    SetTickSource(nullptr);
    ASSERT_EQ(job.Status, jsCompleted) << job.GetNote();

    TProbedFile file;
    ASSERT_TRUE(ProbeMediaFile(job.OutputFile, file, &error)) << error;
    const TProbedStream* video = file.FirstVideo();
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->Codec, "mpeg4");
    EXPECT_EQ(video->Width, 160);
    EXPECT_EQ(video->Height, 120);
    EXPECT_NEAR(video->FrameRate, 15.0, 0.01);
    const TProbedStream* audio = file.FirstAudio();
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(audio->Codec, "aac");
    EXPECT_EQ(audio->SampleRate, 22050);
    EXPECT_EQ(audio->Channels, 1);
}

} // namespace

// The output settings window on the headless display, in both variants: the format radio buttons and pictures with
// the profile list that follows them, the remembered choices read and written, the seeded window showing a job's
// own settings, and the profile and flags it hands back.
#include "app/LastSettings.h"
#include "app/TOutputSettingsForm.h"
#include "app/TResourceSkinData.h"
#include "engine/TConvertJob.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/graphics/TPicture.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/SkinTextObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/TspSkinComboBox.h"
#include "tests/app/ProfileWindowsTestSupport.h"

namespace {

class OutputSettingsFormTest : public ProfileWindowsTest {
protected:
    // Two MP4 profiles, two MOV profiles and one AVI profile; no FLV profile.
    void SetUp() override
    {
        ProfileWindowsTest::SetUp();
        for (const char* name : { "Phone", "Tablet" })
            WriteProfile(TMP4Profile(name, ""));
        for (const char* name : { "Clip", "Film" })
            WriteProfile(TMOVProfile(name, ""));
        WriteProfile(TAVIProfile("Archive", ""));
        LoadHolder();
    }
    void TearDown() override
    {
        delete Window;
        Window = nullptr;
        ProfileWindowsTest::TearDown();
    }

    void WriteSettings(std::string_view text) { WriteText(TLastSettings::FileName(), text); }
    TOutputSettingsForm* Open()
    {
        Window = TCustomForm::Create<TOutputSettingsForm>(Application);
        return Window;
    }
    void Close()
    {
        delete Window;
        Window = nullptr;
    }
    std::vector<std::string> ListItems() const
    {
        std::vector<std::string> items;
        for (int i = 0; i < Window->cbProfiles->Items()->Count(); ++i)
            items.push_back(Window->cbProfiles->Items()->Strings(i));
        return items;
    }
    std::string SelectedProfile() const { return Window->cbProfiles->Text(); }
    TEditProfileForm& Editor() const { return *Window->EmbeddedEditor; }

    TOutputSettingsForm* Window = nullptr;
};

TEST_F(OutputSettingsFormTest, TheRememberedFormatAndProfileOpenTheWindow)
{
    struct Case {
        const char* Name;
        const char* Settings;
        VideoFormatType Checked;
        const char* Selected;
        bool FixAspect;
    };
    const Case cases[] = {
        { "no file: AVI", "", vfAVI, "Archive", false },
        { "MOV with its name", "[LastSettings]\nLastVideoFormat=6\nLastMOVProfile=Film\nFixAspectRatio=1\n", vfMOV,
            "Film", true },
        { "a name that is gone", "[LastSettings]\nLastVideoFormat=6\nLastMOVProfile=Gone\n", vfMOV, "Clip", false },
        // Names match exactly: another letter case is no match.
        { "a name in other letters", "[LastSettings]\nLastVideoFormat=3\nLastMP4Profile=tablet\n", vfMP4, "Phone",
            false },
        // A format outside 0..7 leaves the layout's MP4 with its first profile.
        { "an unknown format", "[LastSettings]\nLastVideoFormat=9\nLastMP4Profile=Tablet\n", vfMP4, "Phone", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteSettings(c.Settings);
        Open();
        EXPECT_EQ(Window->CheckedFormat(), c.Checked);
        EXPECT_EQ(SelectedProfile(), c.Selected);
        EXPECT_EQ(Editor().edtName->Text(), c.Selected);
        EXPECT_EQ(Window->chkFixAspectRatio->Checked(), c.FixAspect);
        EXPECT_TRUE(Editor().FormatPanel(c.Checked)->Visible());
        EXPECT_EQ(Editor().FormatPanel(c.Checked)->Parent(), Window->VideoPanel);
        Close();
    }
}

TEST_F(OutputSettingsFormTest, RememberedNamesMatchTheListTextWithoutItsOuterBlanks)
{
    // A profile whose name has blanks at its ends.
    Manager().Add(std::make_unique<TMP4Profile>(" Spaced\t", ""));
    WriteSettings("[LastSettings]\nLastVideoFormat=3\nLastMP4Profile=Spaced\n");
    Open();
    EXPECT_EQ(SelectedProfile(), " Spaced\t");
    EXPECT_EQ(Window->SelectProfileByName(""), 0);
    EXPECT_EQ(Window->SelectProfileByName("Tablet"), 2);
    EXPECT_EQ(Window->SelectProfileByName("TABLET"), 0);
}

TEST_F(OutputSettingsFormTest, RadioButtonsAndPicturesSwitchTheFormatAndTheListFollows)
{
    WriteSettings("[LastSettings]\nLastVideoFormat=3\nLastMOVProfile=Film\n");
    Open();
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "Phone", "Tablet" }));
    EXPECT_EQ(Window->lblSettingsTitle->Caption(), "MP4 Video Settings");
    // The radio button: MOV opens on its remembered profile, not its first.
    Window->rbMOV->SetChecked(true);
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "Clip", "Film" }));
    EXPECT_EQ(SelectedProfile(), "Film");
    EXPECT_EQ(Window->lblSettingsTitle->Caption(), "MOV Video Settings");
    EXPECT_TRUE(Editor().MOVPanel->Visible());
    EXPECT_FALSE(Editor().MP4Panel->Visible());
    // The picture does the same as its radio button.
    Window->ImageAVI->OnClick(Window->ImageAVI);
    EXPECT_TRUE(Window->rbAVI->Checked());
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "Archive" }));
    EXPECT_EQ(Window->lblSettingsTitle->Caption(), "AVI Video Settings");
    EXPECT_TRUE(Editor().AVIPanel->Visible());
    EXPECT_FALSE(Editor().MOVPanel->Visible());
    // A choice in the list shows that profile and is remembered for its format.
    Window->rbMP4->SetChecked(true);
    Window->cbProfiles->SetItemIndex(1);
    EXPECT_EQ(Editor().edtName->Text(), "Tablet");
    EXPECT_EQ(Window->LastProfileNames[vfMP4], "Tablet");
}

TEST_F(OutputSettingsFormTest, AFormatWithoutProfilesStillBuildsAProfileOfItsFormat)
{
    Open();
    Window->rbFLV->SetChecked(true);
    EXPECT_EQ(ListItems(), (std::vector<std::string> { "No Profile in this category" }));
    EXPECT_EQ(Editor().edtName->Text(), "(empty)");
    for (int type = 0; type < 8; ++type)
        EXPECT_FALSE(Editor().FormatPanel(VideoFormatType(type))->Visible()) << type;
    Window->btnOkClick(nullptr);
    EXPECT_EQ(Window->ModalResult(), mrOk);
    const TVideoProfile* made = Window->ResultJob->GetProfile();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->FormatType, vfFLV);
    EXPECT_EQ(made->ProfileName, "(empty)");
}

TEST_F(OutputSettingsFormTest, OkHandsBackTheEditedProfileAndTheFlags)
{
    WriteSettings("[LastSettings]\nLastVideoFormat=3\nLastMP4Profile=Tablet\n");
    Open();
    Editor().edtMP4VideoBitrate->SetValue(444);
    Window->chkDisableAudio->SetChecked(true);
    Window->chkFixAspectRatio->SetChecked(false);
    Window->btnOkClick(nullptr);
    EXPECT_EQ(Window->ModalResult(), mrOk);
    EXPECT_TRUE(Window->ResultJob->DisableAudio);
    EXPECT_FALSE(Window->ResultJob->FixAspectRatio);
    auto* made = dynamic_cast<TMP4Profile*>(Window->ResultJob->GetProfile());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ProfileName, "Tablet");
    EXPECT_EQ(made->VideoBitrate, 444000);
    EXPECT_TRUE(made->FileName.empty());
    // The stored profile is not touched.
    EXPECT_EQ(static_cast<TMP4Profile*>(Manager().Get(2))->VideoBitrate, TMP4Profile("", "").VideoBitrate);
}

TEST_F(OutputSettingsFormTest, ClosingWritesTheRememberedChoicesWhateverTheButton)
{
    struct Case {
        const char* Name;
        std::function<void(TOutputSettingsForm&)> Close;
    };
    const Case cases[] = {
        { "OK", [](TOutputSettingsForm& w) { w.btnOkClick(nullptr); } },
        { "Cancel", [](TOutputSettingsForm& w) { w.SetModalResult(w.btnCancel->ModalResult()); } },
        { "Esc",
            [](TOutputSettingsForm& w) {
                char32_t escape = 27;
                w.FormKeyPress(&w, escape);
                EXPECT_EQ(w.ModalResult(), mrCancel);
            } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        WriteSettings("");
        Open();
        Window->rbMOV->SetChecked(true);
        Window->cbProfiles->SetItemIndex(1);
        Window->chkDisableAudio->SetChecked(true);
        c.Close(*Window);
        Close();
        TLastSettings settings;
        EXPECT_EQ(settings.LastVideoFormat(), vfMOV);
        EXPECT_EQ(settings.LastProfile(vfMOV), "Film");
        EXPECT_TRUE(settings.DisableAudio());
    }
}

TEST_F(OutputSettingsFormTest, TheSeededWindowShowsTheJobsOwnSettingsAndRemembersNothing)
{
    const std::string remembered = "[LastSettings]\nLastVideoFormat=1\nLastMOVProfile=Clip\n";
    WriteSettings(remembered);
    TConvertJob job("");
    auto profile = std::make_unique<TMOVProfile>("Film", "");
    // Changed for this job only: the stored "Film" keeps its own bit rate.
    profile->VideoBitrate = 321000;
    job.SetProfile(std::move(profile));
    job.FixAspectRatio = false;
    job.DisableAudio = true;
    Window = TCustomForm::Create<TOutputSettingsForm>(Application, job);
    EXPECT_EQ(Window->CheckedFormat(), vfMOV);
    EXPECT_EQ(SelectedProfile(), "Film");
    EXPECT_EQ(Editor().edtMOVVideoBitrate->Value(), 321);
    EXPECT_FALSE(Window->chkFixAspectRatio->Checked());
    EXPECT_TRUE(Window->chkDisableAudio->Checked());
    Window->rbMP4->SetChecked(true);
    Close();
    EXPECT_EQ(ReadText(TLastSettings::FileName()), remembered);
}

TEST_F(OutputSettingsFormTest, ThePicturesAreTheSkinMakersOnesInTheirRow)
{
    std::filesystem::create_directory(Folder->File("Skin"));
    std::filesystem::create_directory_symlink(TP_SKIN_DIR, Folder->File("Skin/TarnwickPro"));
    Open();
    TImage* const row[] = { Window->ImageAVI, Window->ImageMPEG, Window->ImageWMV, Window->ImageReal, Window->ImageMov,
        Window->ImageMP4, Window->Image3GP, Window->ImageFLV };
    for (size_t i = 0; i < std::size(row); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(row[i]->Picture()->Width(), 71);
        EXPECT_EQ(row[i]->Picture()->Height(), 81);
        if (i > 0) {
            EXPECT_GT(row[i]->Left(), row[i - 1]->Left());
        }
    }
    EXPECT_EQ(Window->Image1->Picture()->Width(), 700);
    EXPECT_TRUE(Window->Image1->Visible());
    EXPECT_FALSE(Window->Image2->Visible());
    EXPECT_EQ(Window->Image2->Top(), Window->Image1->Top());
}

// The program loads its skins before any window opens: the profile windows are made in them, their combo boxes
// (whose edit part is a window of its own) taking the skin only once they stand in their parents.
TEST_F(OutputSettingsFormTest, TheProfileWindowsOpenInTheProgramsSkins)
{
    std::filesystem::create_directory(Folder->File("Skin"));
    std::filesystem::create_directory_symlink(TP_SKIN_DIR, Folder->File("Skin/TarnwickPro"));
    InstallResourceSkins(*Holder->Form);
    Holder->Form->LoadFormSkin();
    ASSERT_NE(FormSkinData(), nullptr);
    Open();
    EXPECT_EQ(Window->cbProfiles->SkinData(), FormSkinData());
    EXPECT_EQ(Editor().cbAVIFrameSize->SkinData(), FormSkinData());
    Close();
    // Its caption runs from the icon to the first caption button, so the title is not cut short.
    Open();
    TspSkinCaptionObject* caption = nullptr;
    int buttonsLeft = Window->Width();
    for (int i = 0; i < Window->FormSkinner->ObjectCount(); ++i) {
        TspActiveSkinObject* object = Window->FormSkinner->ObjectAt(i);
        if (auto* found = dynamic_cast<TspSkinCaptionObject*>(object))
            caption = found;
        else if (dynamic_cast<TspSkinStdButtonObject*>(object) && object->ObjectRect.Left > Window->Width() / 2)
            buttonsLeft = std::min(buttonsLeft, int(object->ObjectRect.Left));
    }
    ASSERT_NE(caption, nullptr);
    EXPECT_LT(buttonsLeft, Window->Width());
    EXPECT_EQ(caption->ObjectRect.Right, buttonsLeft);
    Close();
    TConvertJob job("");
    job.SetProfile(std::make_unique<TMOVProfile>("Clip", ""));
    std::unique_ptr<TOutputSettingsForm> seeded(TCustomForm::Create<TOutputSettingsForm>(Application, job));
    EXPECT_TRUE(seeded->rbMOV->Checked());
    EXPECT_EQ(NewEditor()->cbProfiles->SkinData(), FormSkinData());
}

} // namespace

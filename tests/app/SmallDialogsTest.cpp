// The tag editor, the stream choice and the about box, each shown modally on the headless display and answered
// from inside its loop; the stream choice on clips made here with several streams, reached through a probe.
#include "app/TAboutForm.h"
#include "app/TSelectStreamForm.h"
#include "app/TTagEditForm.h"
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "engine/TConvertJob.h"
#include "framed/FrLabel.h"
#include "framework/core/TStrings.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinLabels.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/TspSkinComboBox.h"
#include "tests/app/AppDialogsTestSupport.h"

namespace {

class SmallDialogsTest : public AppDialogTest { };

struct TTags {
    std::string Title, Author, Year, Copyright, Comment;
    bool operator==(const TTags&) const = default;
};

TTags TagsOf(const TConvertJob& job)
{
    return { job.Title, job.Author, job.Year, job.Copyright, job.Comment };
}

TEST_F(SmallDialogsTest, TheTagEditorWritesOnlyOnOK)
{
    struct Case {
        const char* Name;
        // Edits the fields (or not) and closes the window.
        std::function<void(TTagEditForm*)> Answer;
        int Result;
        TTags Expected;
    };
    const TTags before { "clip", "Ann", "1999", "(c) Ann", "first cut" };
    const Case cases[] = {
        { "OK unchanged writes the same texts", [](TTagEditForm* f) { f->btnOK->ButtonClick(); }, 1, before },
        { "OK after edits writes all five, the year as typed",
            [](TTagEditForm* f) {
                f->edtTitle->SetText("New title");
                f->edtAuthor->SetText("");
                f->edtYear->SetText("next year");
                f->edtCopyright->SetText("none");
                f->edtComment->SetText("a, b; c");
                f->btnOK->ButtonClick();
            },
            1, { "New title", "", "next year", "none", "a, b; c" } },
        { "Cancel after edits writes nothing",
            [](TTagEditForm* f) {
                f->edtTitle->SetText("lost");
                f->btnCancel->ButtonClick();
            },
            2, before },
        { "Escape writes nothing",
            [this](TTagEditForm* f) {
                f->edtAuthor->SetText("lost");
                Backend.Key(VK_ESCAPE);
            },
            2, before },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TConvertJob job("/videos/clip.avi");
        job.Author = before.Author;
        job.Year = before.Year;
        job.Copyright = before.Copyright;
        job.Comment = before.Comment;
        std::unique_ptr<TTagEditForm> form(TCustomForm::Create<TTagEditForm>(Application, &job));
        EXPECT_EQ(form->Caption(), "Edit Metadata");
        EXPECT_EQ(form->edtTitle->Text(), "clip") << "a new job's title is its file name";
        EXPECT_EQ(RunModal<TTagEditForm>(form.get(), c.Answer), c.Result);
        EXPECT_EQ(TagsOf(job), c.Expected);
    }
}

TEST_F(SmallDialogsTest, TheTagEditorOffersTheYearsAndStartsFromTheJob)
{
    TConvertJob job("/videos/holiday.part1.mp4");
    std::unique_ptr<TTagEditForm> form(TCustomForm::Create<TTagEditForm>(Application, &job));
    TStrings* years = form->edtYear->Items();
    ASSERT_EQ(years->Count(), 31);
    EXPECT_EQ(years->Strings(0), "1980");
    EXPECT_EQ(years->Strings(30), "2010");
    EXPECT_EQ(form->edtYear->Text(), "") << "a new job has no year";
    EXPECT_EQ(form->edtTitle->Text(), "holiday.part1");

    // Without a job the window shows the design texts and OK writes nowhere.
    std::unique_ptr<TTagEditForm> bare(TCustomForm::Create<TTagEditForm>(Application, nullptr));
    EXPECT_EQ(bare->edtYear->Text(), "2005");
    EXPECT_EQ(RunModal<TTagEditForm>(bare.get(), [](TTagEditForm* f) { f->btnOK->ButtonClick(); }), 1);
}

TEST_F(SmallDialogsTest, TheStreamChoiceListsEveryStreamOfAProbe)
{
    TTestFolder clips;
    TTestClipSpec spec;
    spec.Container = "matroska";
    spec.Video = { { "mpeg4", 64, 48, 25, 1 }, { "mpeg4", 96, 64, 15, 1 } };
    spec.Audio = { { "aac", 44100, 2 } };
    const std::string path = clips.File("two videos.mkv");
    std::string error;
    ASSERT_TRUE(MakeTestClip(path, spec, &error)) << error;

    // The engine asks through the window while the job is analysed; Escape leaves the first of each kind.
    InstallStreamChoiceWindow();
    WriteFile("LastSettings.ini", "[LastSettings]\nMultiStreamsMethod=1\n");
    std::vector<std::string> videoItems, audioItems;
    std::string fileName, caption;
    Application->OnIdle = [&](TObject*, bool& idle) {
        TSelectStreamForm* form = nullptr;
        for (int i = 0; i < Screen->FormCount() && !form; ++i)
            form = dynamic_cast<TSelectStreamForm*>(Screen->Forms(i));
        if (!form || !form->Visible() || !fileName.empty())
            return;
        idle = false;
        caption = form->Caption();
        fileName = form->lblFileName->Caption();
        for (int i = 0; i < form->cbVideoStream->Items()->Count(); ++i)
            videoItems.push_back(form->cbVideoStream->Items()->Strings(i));
        for (int i = 0; i < form->cbAudioStream->Items()->Count(); ++i)
            audioItems.push_back(form->cbAudioStream->Items()->Strings(i));
        EXPECT_EQ(form->cbVideoStream->ItemIndex(), 0);
        EXPECT_EQ(form->cbAudioStream->ItemIndex(), 0);
        Backend.Key(VK_ESCAPE);
    };
    TConvertJob job(path);
    job.VideoStreamIndex = 5;
    job.AudioStreamIndex = 5;
    EXPECT_TRUE(job.Analyse());
    Application->OnIdle = nullptr;
    SetChooseStreamsHandler(nullptr);

    EXPECT_EQ(caption, "Select a video & audio stream ");
    EXPECT_EQ(fileName, path);
    ASSERT_EQ(videoItems.size(), 2u);
    EXPECT_EQ(videoItems[0], "Video Stream 1 : 64 x 48 (4 : 3), 25.000 fps, Video Codec: mpeg4");
    EXPECT_EQ(videoItems[1], "Video Stream 2 : 96 x 64 (3 : 2), 15.000 fps, Video Codec: mpeg4");
    ASSERT_EQ(audioItems.size(), 1u);
    EXPECT_EQ(audioItems[0], "Audio Stream 1 : 44100 Hz, 2 channels, Audio Codec: aac");
    EXPECT_EQ(job.VideoStreamIndex, 0);
    EXPECT_EQ(job.AudioStreamIndex, 0);
}

TEST_F(SmallDialogsTest, TheStreamChoiceKeepsWhatTheUserPicked)
{
    TTestFolder clips;
    TTestClipSpec spec;
    spec.Container = "matroska";
    spec.Video = { { "mpeg4", 64, 48, 25, 1 } };
    spec.Audio = { { "aac", 44100, 2 }, { "aac", 22050, 1 } };
    const std::string path = clips.File("two tracks.mkv");
    ASSERT_TRUE(MakeTestClip(path, spec));
    TVideoInfoReader info(path);
    ASSERT_TRUE(info.Probe());
    std::unique_ptr<TSelectStreamForm> form(TCustomForm::Create<TSelectStreamForm>(Application, &info));
    EXPECT_EQ(form->cbAudioStream->Items()->Strings(1), "Audio Stream 2 : 22050 Hz, 1 channels, Audio Codec: aac");
    EXPECT_EQ(RunModal<TSelectStreamForm>(form.get(),
                  [](TSelectStreamForm* f) {
                      f->cbAudioStream->SetItemIndex(1);
                      f->btnOK->ButtonClick();
                  }),
        1);
    EXPECT_EQ(form->cbVideoStream->ItemIndex(), 0);
    EXPECT_EQ(form->cbAudioStream->ItemIndex(), 1);
}

TEST_F(SmallDialogsTest, TheAboutBoxShowsTheVersionAndItsLinks)
{
    std::unique_ptr<TAboutForm> form(TCustomForm::Create<TAboutForm>(Application));
    EXPECT_EQ(form->Caption(), "About Tarnwick Pro");
    EXPECT_EQ(form->lblNameAndCopy->Caption(), "Tarnwick Pro");
    EXPECT_EQ(form->lblVersion->Caption(), "Version: 2.6.0(Build: 20071016)");
    EXPECT_EQ(form->lblSiteURL->URL(), ProductWebSite);
    EXPECT_EQ(form->lblSupportMail->URL().rfind("mailto:", 0), 0u);
    EXPECT_TRUE(form->btnClose->Default());
    // The dialogs wear the program's form skin.
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* s = dynamic_cast<TspSkinForm*>(form->Components(i)))
            EXPECT_EQ(s->SkinData(), FormSkinData());
    EXPECT_EQ(RunModal<TAboutForm>(form.get(), [this](TAboutForm*) { Backend.Key(VK_ESCAPE); }), mrCancel);
    EXPECT_EQ(RunModal<TAboutForm>(form.get(), [](TAboutForm* f) { f->btnClose->ButtonClick(); }), 1);
}

} // namespace

// The analysis dialog over clips made here and files no decoder reads: what it lists and counts, the jobs it
// drops, when it closes by itself, Cancel and Escape between files, and the remembered auto-close box.
#include "app/LastSettings.h"
#include "app/TAnalysisVideoInfoForm.h"
#include "codecs/testclips/TTestClip.h"
#include "codecs/testclips/TTestFolder.h"
#include "engine/TConvertJob.h"
#include "engine/TDecoderModeMap.h"
#include "framed/FrLabel.h"
#include "framework/core/TStrings.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinGauges.h"
#include "skin/controls/SkinLabels.h"
#include "skin/lists/TspSkinListBox.h"
#include "tests/app/AppDialogsTestSupport.h"

namespace {

using TJobList = TAnalysisVideoInfoForm::TJobList;

std::vector<std::string> ListItems(TspSkinListBox* list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list->Items()->Count(); ++i)
        items.push_back(list->Items()->Strings(i));
    return items;
}

std::vector<std::string> Sources(const TJobList& jobs)
{
    std::vector<std::string> paths;
    for (const auto& job : jobs)
        paths.push_back(job->VideoInfo.GetFileName());
    return paths;
}

class AnalysisDialogTest : public AppDialogTest {
protected:
    void SetUp() override
    {
        AppDialogTest::SetUp();
        TTestClipSpec spec = TestClipSpec(TTestClipKind::AviMpeg4Mp3);
        spec.Audio.clear();
        for (const char* name : { "one.avi", "two.avi", "three.avi", "four.avi", "five.avi" })
            ASSERT_TRUE(MakeTestClip(Clips.File(name), spec));
        WriteTextFile(Clips.File("not a video.avi"), "plain text, no decoder reads it");
    }

    TJobList Jobs(std::initializer_list<const char*> names)
    {
        TJobList jobs;
        for (const char* name : names)
            jobs.push_back(std::make_unique<TConvertJob>(Clips.File(name)));
        return jobs;
    }

    // Shows the dialog on `jobs` and lets its timer start the analysis; `then` runs once the analysis is over
    // with the window still up, or never when it closed by itself. Returns whether it closed by itself.
    bool Analyse(TJobList& jobs, const std::function<void(TAnalysisVideoInfoForm*)>& then = {})
    {
        std::unique_ptr<TAnalysisVideoInfoForm> form(TCustomForm::Create<TAnalysisVideoInfoForm>(Application, &jobs));
        Form = form.get();
        bool closedByItself = true;
        RunModal<TAnalysisVideoInfoForm>(form.get(), [&](TAnalysisVideoInfoForm* f) {
            Backend.AdvanceClock(10);
            Pump();
            if (f->ModalResult() != mrNone)
                return;
            closedByItself = false;
            if (then)
                then(f);
            f->btnCancel->ButtonClick();
        });
        Result = Snapshot(form.get());
        Form = nullptr;
        return closedByItself;
    }

    struct TShown {
        std::vector<std::string> Supported, NotSupported;
        std::string SupportedNum, NotSupportedNum, Progress, Button;
        int Gauge = 0;
        bool LinkShown = false;
    };
    static TShown Snapshot(TAnalysisVideoInfoForm* f)
    {
        return { ListItems(f->lbSupported), ListItems(f->lbNotSupported), f->lblSupportedNum->Caption(),
            f->lblNotSupportedNum->Caption(), f->lblProgress->Caption(), f->btnCancel->Caption(), f->Gauge->Value(),
            f->lblDownloadCodecInfo->Visible() };
    }

    TTestFolder Clips;
    TAnalysisVideoInfoForm* Form = nullptr;
    TShown Result;
};

TEST_F(AnalysisDialogTest, ReadableFilesStayAndUnreadableOnesAreDropped)
{
    TJobList jobs = Jobs({ "one.avi", "not a video.avi", "two.avi" });
    TConvertJob* first = jobs[0].get();
    bool finishedLook = false;
    EXPECT_FALSE(Analyse(jobs, [&](TAnalysisVideoInfoForm* f) {
        EXPECT_EQ(f->btnCancel->Tag(), 1);
        EXPECT_TRUE(f->lblDownloadCodecInfo->Blinking());
        finishedLook = true;
    })) << "an unreadable file keeps the window open";
    EXPECT_TRUE(finishedLook);
    EXPECT_EQ(Result.Supported, (std::vector<std::string> { Clips.File("one.avi"), Clips.File("two.avi") }));
    EXPECT_EQ(Result.NotSupported, (std::vector<std::string> { Clips.File("not a video.avi") }));
    EXPECT_EQ(Result.SupportedNum, "2 files");
    EXPECT_EQ(Result.NotSupportedNum, "1 files");
    EXPECT_EQ(Result.Progress, "3 / 3");
    EXPECT_EQ(Result.Gauge, 3);
    EXPECT_EQ(Result.Button, "Close");
    EXPECT_TRUE(Result.LinkShown);
    ASSERT_EQ(Sources(jobs), (std::vector<std::string> { Clips.File("one.avi"), Clips.File("two.avi") }));
    EXPECT_EQ(jobs[0].get(), first);
    EXPECT_TRUE(jobs[0]->Analysed && jobs[1]->Analysed);
    EXPECT_GT(jobs[1]->VideoInfo.GetDuration(), 0.5);
}

TEST_F(AnalysisDialogTest, ClosesByItselfOnlyWhenAllWereReadAndTheBoxIsTicked)
{
    struct Case {
        const char* Name;
        const char* Stored; // AutoCloseAnalysisForm in the file, or null for none.
        bool AllReadable;
        bool ClosesByItself;
        const char* Written;
    } const cases[] = {
        { "no setting: ticked", nullptr, true, true, "1" },
        { "ticked, all readable", "1", true, true, "1" },
        { "any number but 0 ticks it", "7", true, true, "1" },
        { "unticked", "0", true, false, "0" },
        { "ticked, one unreadable", "1", false, false, "1" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        std::filesystem::remove(Folder + "LastSettings.ini");
        if (c.Stored)
            WriteFile("LastSettings.ini", std::string("[LastSettings]\nAutoCloseAnalysisForm=") + c.Stored + "\n");
        TJobList jobs = c.AllReadable ? Jobs({ "one.avi", "two.avi" }) : Jobs({ "one.avi", "not a video.avi" });
        EXPECT_EQ(Analyse(jobs), c.ClosesByItself);
        EXPECT_NE(ReadFile("LastSettings.ini").find(std::string("AutoCloseAnalysisForm=") + c.Written),
            std::string::npos);
    }
}

// The user's press arrives while the first file is being probed: the DirectShow probe, asked first and
// refusing every file, gives the backend the press on its first call.
std::function<void()> PressDuringFirstProbe;
bool RefusingProbe(const std::string&, TDirectShowProbeInfo&)
{
    if (PressDuringFirstProbe) {
        PressDuringFirstProbe();
        PressDuringFirstProbe = nullptr;
    }
    return false;
}

TEST_F(AnalysisDialogTest, CancelOrEscapeStopsAfterTheFileBeingProbed)
{
    CreateGlobalDecoderModeMap();
    GlobalDecoderModeMap->SetDefaultMode(dmDirectShowThenBuiltIn);
    const TDirectShowProbeHook savedHook = GetDirectShowProbeHook();
    SetDirectShowProbeHook(&RefusingProbe);
    for (bool escape : { false, true }) {
        SCOPED_TRACE(escape ? "Escape" : "Cancel");
        TJobList jobs = Jobs({ "one.avi", "two.avi", "three.avi", "four.avi", "five.avi" });
        PressDuringFirstProbe = [&] {
            if (escape) {
                Backend.Key(VK_ESCAPE);
            } else {
                const TPoint p = Form->btnCancel->ClientToScreen(TPoint { 10, 10 });
                Backend.AdvanceClock(1000);
                Backend.Click(p.X, p.Y);
            }
        };
        EXPECT_TRUE(Analyse(jobs)) << "the first file was readable and the box is ticked";
        EXPECT_EQ(Result.Progress, "1 / 5");
        EXPECT_EQ(Result.Supported.size(), 1u);
        ASSERT_EQ(jobs.size(), 5u) << "the jobs not analysed stay";
        EXPECT_TRUE(jobs[0]->Analysed);
        for (size_t i = 1; i < jobs.size(); ++i)
            EXPECT_FALSE(jobs[i]->Analysed);
    }
    SetDirectShowProbeHook(savedHook);
    DestroyGlobalDecoderModeMap();
}

TEST_F(AnalysisDialogTest, EscapeWhenFinishedClosesAndTheBoxIsRemembered)
{
    WriteFile("LastSettings.ini", "[LastSettings]\nAutoCloseAnalysisForm=0\n");
    TJobList jobs = Jobs({ "one.avi" });
    std::unique_ptr<TAnalysisVideoInfoForm> form(TCustomForm::Create<TAnalysisVideoInfoForm>(Application, &jobs));
    EXPECT_FALSE(form->chkAutoClose->Checked());
    RunModal<TAnalysisVideoInfoForm>(form.get(), [&](TAnalysisVideoInfoForm* f) {
        Backend.AdvanceClock(10);
        Pump();
        EXPECT_EQ(f->btnCancel->Caption(), "Close");
        f->chkAutoClose->SetChecked(true);
        Backend.Key(VK_ESCAPE);
    });
    form.reset();
    EXPECT_NE(ReadFile("LastSettings.ini").find("AutoCloseAnalysisForm=1"), std::string::npos);

    // A settings file that cannot be written is reported; the window still goes, and nothing is raised.
    std::filesystem::remove(Folder + "LastSettings.ini");
    std::filesystem::create_directories(Folder + "LastSettings.ini/inside");
    form.reset(TCustomForm::Create<TAnalysisVideoInfoForm>(Application, &jobs));
    EXPECT_NO_THROW(form.reset());
}

} // namespace

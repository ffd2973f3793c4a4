// The start-up with its splash, the stop prompt and the shutdown countdown on the headless display with the
// program's own skins and pictures: the splash's layout and status texts as painted before each stage, a failing
// stage, the prompt's answers, and the countdown on the virtual clock with the power-off recorder.
#include "app/StartUp.h"
#include "app/TCoverForm.h"
#include "app/TResourceSkinData.h"
#include "app/TShutDownForm.h"
#include "app/TStopPromptForm.h"
#include "engine/TResourceForm.h"
#include "framed/FrLabel.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/TScreen.h"
#include "framework/graphics/TPicture.h"
#include "platform/shell/ShellPower.h"
#include "skin/controls/SkinButtons.h"
#include "tests/engine/EngineTestSupport.h"
#include "tests/framework/ControlsTestSupport.h"

#include <functional>
#include <set>
#include <stdexcept>

#ifndef TP_PROGRAM_DIR
#error "TP_PROGRAM_DIR must name the program folder with the skins and pictures"
#endif

namespace {

class StartUpWindowsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        SetProgramFolder(TP_PROGRAM_DIR);
    }
    void TearDown() override
    {
        Application->OnIdle = nullptr;
        ControlsTest::TearDown();
        SetProgramFolder("");
    }

    // The resource holder with the program's form skin, as the start-up leaves it.
    void LoadFormSkin()
    {
        ResourceForm = new TResourceForm(Application);
        InstallResourceSkins(*ResourceForm);
        ResourceForm->LoadFormSkin();
        ASSERT_NE(FormSkinData(), nullptr);
    }

    template <class T> static T* FindForm()
    {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            if (auto* form = dynamic_cast<T*>(Screen->Forms(i)))
                return form;
        }
        return nullptr;
    }

    // Runs `show`; whenever the message loop goes idle with a visible form of type T up, `step` gets it, until
    // the form is gone. `step` must end the modal loop in the end.
    template <class T> void WhileShown(const std::function<void()>& show, const std::function<void(T*)>& step)
    {
        int steps = 0;
        Application->OnIdle = [&](TObject*, bool& done) {
            T* form = FindForm<T>();
            if (!form || !form->Visible())
                return;
            done = false; // the loop looks at the modal result before it sleeps again
            ASSERT_LT(++steps, 100) << "the window never closed";
            step(form);
        };
        show();
        Application->OnIdle = nullptr;
        EXPECT_GT(steps, 0) << "the window never showed";
    }

    // Clicks the middle of a control through the display, as the user does.
    void ClickOn(TControl* control)
    {
        const TPoint middle = control->ClientToScreen(TPoint { control->Width() / 2, control->Height() / 2 });
        Backend.AdvanceClock(1000);
        Backend.Click(middle.X, middle.Y);
    }
};

// What the status line shows on the display: the colours of its pixels in order, and how many are near white
// (the text; the splash behind it is dark).
struct TStatusPixels {
    std::vector<uint32_t> Pixels;
    int Light = 0;
};

TStatusPixels ReadStatusLine(THeadlessBackend& backend, TCoverForm* splash)
{
    TStatusPixels result;
    const TLabel* label = splash->lblInfoText;
    for (int y = label->Top(); y < label->Top() + label->Height(); ++y) {
        for (int x = label->Left(); x < label->Left() + label->Width(); ++x) {
            const uint32_t pixel = backend.WindowPixel(splash->Handle(), x, y);
            result.Pixels.push_back(pixel);
            result.Light += (pixel & 0xFF) > 0xC0 && ((pixel >> 8) & 0xFF) > 0xC0 && ((pixel >> 16) & 0xFF) > 0xC0;
        }
    }
    return result;
}

TEST_F(StartUpWindowsTest, SplashLayout)
{
    std::unique_ptr<TCoverForm> splash(TCustomForm::Create<TCoverForm>(Application));
    EXPECT_EQ(splash->BorderStyle(), bsNone);
    EXPECT_EQ(splash->Position(), poDesktopCenter);
    EXPECT_EQ(splash->ClientWidth(), 553);
    EXPECT_EQ(splash->ClientHeight(), 260);
    EXPECT_EQ(splash->lblVersion->Caption(), "Version: 2.6.0(Build: 20071016)");
    EXPECT_EQ(splash->lblVersion->Alignment(), taRightJustify);
    // Ends at 550 and starts at 386, or further left when the font here needs more room for the whole text.
    EXPECT_EQ(splash->lblVersion->BoundsRect().Right, 550);
    EXPECT_LE(splash->lblVersion->Left(), 386);
    EXPECT_EQ(splash->lblInfoText->Caption(), "");
    struct Case {
        const char* Name;
        TControl* Control;
        TRect Bounds;
        bool Visible;
    };
    const Case cases[] = {
        { "Image1", splash->Image1, { 0, 0, 553, 260 }, true },
        { "ProTextImage", splash->ProTextImage, { 342, 119, 542, 153 }, true },
        { "IconProImage", splash->IconProImage, { 14, 183, 345, 222 }, true },
        // Moved onto the professional edition's place, and hidden.
        { "IconStdImage", splash->IconStdImage, { 14, 183, 345, 222 }, false },
        { "lblInfoText", splash->lblInfoText, { 373, 209, 550, 222 }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(c.Control->BoundsRect(), c.Bounds);
        EXPECT_EQ(c.Control->Visible(), c.Visible);
    }
    // The pictures the skin maker drew are there.
    EXPECT_EQ(splash->Image1->Picture()->Width(), 553);
    EXPECT_EQ(splash->IconProImage->Picture()->Height(), 39);
}

// Each status text is on the display before its stage starts (the loop handles no messages meanwhile, so only the
// splash's own painting can put it there), under the hourglass; the main window then takes over from the splash.
TEST_F(StartUpWindowsTest, StatusTextsArePaintedBeforeEachStage)
{
    std::vector<std::string> texts;
    std::vector<TStatusPixels> painted;
    std::vector<TCursor> cursors;
    auto watch = [&] {
        TCoverForm* splash = FindForm<TCoverForm>();
        ASSERT_NE(splash, nullptr);
        ASSERT_TRUE(splash->Visible());
        texts.push_back(splash->lblInfoText->Caption());
        painted.push_back(ReadStatusLine(Backend, splash));
        cursors.push_back(Screen->Cursor());
    };
    TStartUpStages stages = DefaultStartUpStages();
    for (auto* stage : { &stages.LoadMainSkin, &stages.LoadFormSkin, &stages.LoadProfiles }) {
        stage->operator=([watch, real = *stage](TResourceForm& holder) {
            watch();
            real(holder);
        });
    }
    TForm* main = nullptr;
    stages.CreateMainForm = [&] {
        watch();
        Application->CreateForm(main);
        // The message loop runs until the main window closes.
        PostMessage(main->Handle(), WM_CLOSE, 0, 0);
    };
    const HCURSOR hourglass = Screen->Cursors(crHourGlass);

    EXPECT_EQ(RunStartUp(stages), 0);
    const std::vector<std::string> expected
        = { "Loading Main UI resources...", "Loading Other UI resources...", "Loading Profiles...", "Starting..." };
    EXPECT_EQ(texts, expected);
    std::set<std::vector<uint32_t>> distinct;
    for (size_t i = 0; i < painted.size(); ++i) {
        SCOPED_TRACE(expected[i]);
        EXPECT_GT(painted[i].Light, 20) << "no text on the status line";
        distinct.insert(painted[i].Pixels);
        EXPECT_EQ(cursors[i], crHourGlass);
    }
    EXPECT_EQ(distinct.size(), expected.size()) << "a status text was not painted before its stage";
    EXPECT_NE(hourglass, nullptr);
    EXPECT_EQ(FindForm<TCoverForm>(), nullptr) << "the splash outlived the start-up";
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_EQ(Application->Title(), "Tarnwick Pro");
    EXPECT_EQ(Application->HintPause(), 0);
    EXPECT_EQ(Application->MainForm(), main);
    // The holder belongs to the application and loaded the program's skins and profiles.
    ASSERT_NE(ResourceForm, nullptr);
    EXPECT_EQ(ResourceForm->Owner(), Application);
    EXPECT_NE(MainSkinData(), nullptr);
    EXPECT_FALSE(FormSkinData()->Empty);
    EXPECT_TRUE(Boxes.empty()) << Boxes.front();
}

// Whatever a stage raises ends the start-up before the main window and the message loop, with one error shown.
TEST_F(StartUpWindowsTest, AFailingStageShowsOneErrorAndEndsTheProgram)
{
    struct Case {
        const char* Name;
        std::function<void()> Raise;
        const char* Shown;
    };
    const Case cases[] = {
        { "framework exception", [] { throw EInOutError("The profiles cannot be read"); },
            "The profiles cannot be read." },
        { "standard exception", [] { throw std::runtime_error("out of luck"); }, "out of luck." },
        { "anything else", [] { throw 5; }, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Boxes.clear();
        TStartUpStages stages = DefaultStartUpStages();
        stages.LoadProfiles = [&](TResourceForm&) { c.Raise(); };
        bool mainMade = false;
        stages.CreateMainForm = [&] { mainMade = true; };
        bool looped = false;
        Application->OnIdle = [&](TObject*, bool&) { looped = true; };

        EXPECT_EQ(RunStartUp(stages), 1);
        Application->OnIdle = nullptr;
        EXPECT_EQ(Boxes, std::vector<std::string> { c.Shown });
        EXPECT_FALSE(mainMade);
        EXPECT_FALSE(looped) << "the message loop ran";
        EXPECT_EQ(FindForm<TCoverForm>(), nullptr);
        EXPECT_EQ(Screen->Cursor(), crDefault);
        delete ResourceForm;
    }
}

TEST_F(StartUpWindowsTest, StopPromptAnswers)
{
    LoadFormSkin();
    {
        std::unique_ptr<TStopPromptForm> form(TCustomForm::Create<TStopPromptForm>(Application));
        EXPECT_EQ(form->Caption(), "Tarnwick Pro");
        EXPECT_EQ(form->FrLabel1->Caption(), "Are you sure you want to stop converting?");
        EXPECT_TRUE(form->FrLabel1->WordWrap());
        EXPECT_EQ(form->btnResume->Caption(), "NO");
        EXPECT_EQ(form->btnResume->ModalResult(), 1);
        EXPECT_EQ(form->btnCancel->Caption(), "YES");
        EXPECT_EQ(form->btnCancel->ModalResult(), 2);
        EXPECT_EQ(form->Image1->Picture()->Width(), 64);
        EXPECT_EQ(form->Image1->Width(), 64);
        EXPECT_EQ(form->Image1->Left(), 14);
    }
    enum class TAnswer { No, Yes, Close };
    struct Case {
        const char* Name;
        TAnswer Answer;
        bool Stop;
    };
    const Case cases[] = {
        { "NO resumes", TAnswer::No, false },
        { "YES stops", TAnswer::Yes, true },
        { "the caption's close button stops", TAnswer::Close, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        bool stop = !c.Stop;
        bool answered = false;
        WhileShown<TStopPromptForm>([&] { stop = ConfirmStop(); },
            [&](TStopPromptForm* form) {
                if (answered)
                    return;
                answered = true;
                if (c.Answer == TAnswer::Close)
                    Backend.CloseRequest(form->Handle());
                else
                    ClickOn(c.Answer == TAnswer::No ? form->btnResume : form->btnCancel);
            });
        EXPECT_EQ(stop, c.Stop);
        EXPECT_EQ(FindForm<TStopPromptForm>(), nullptr) << "the prompt outlived its question";
    }
}

// The countdown on the virtual clock: what the label reads after each second, and when the system is asked to
// shut down. The recorder refuses, as a desktop may: the program keeps running and says nothing.
TEST_F(StartUpWindowsTest, ShutdownCountdown)
{
    LoadFormSkin();
    enum class TAction { Wait, EscAfterOneSecond, CancelAfterOneSecond, ShutdownAtOnce };
    struct Case {
        const char* Name;
        TAction Action;
        size_t Seconds; // Ticks seen before the dialog closed.
        size_t Requests;
    };
    const Case cases[] = {
        { "waiting shuts down at the 15th second", TAction::Wait, 15, 1 },
        { "Esc cancels", TAction::EscAfterOneSecond, 1, 0 },
        { "Cancel cancels", TAction::CancelAfterOneSecond, 1, 0 },
        { "Shutdown does it at once", TAction::ShutdownAtOnce, 0, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPowerOffRecorder recorder(false, "refused by the test");
        std::vector<std::string> labels;
        std::vector<size_t> requestsSeen;
        size_t seconds = 0;
        bool acted = false;
        WhileShown<TShutDownForm>(ShowShutdownDialog, [&](TShutDownForm* form) {
            if (labels.empty() || labels.back() != form->lblInfo->Caption())
                labels.push_back(form->lblInfo->Caption());
            requestsSeen.push_back(recorder.Requests().size());
            const bool oneSecondGone = seconds >= 1;
            if (!acted && c.Action == TAction::ShutdownAtOnce) {
                acted = true;
                ClickOn(form->btnOk);
            } else if (!acted && oneSecondGone && c.Action == TAction::EscAfterOneSecond) {
                acted = true;
                Backend.Key(VK_ESCAPE);
            } else if (!acted && oneSecondGone && c.Action == TAction::CancelAfterOneSecond) {
                acted = true;
                ClickOn(form->btnCancel);
            } else {
                ++seconds;
                Backend.AdvanceClock(1000);
            }
        });
        EXPECT_EQ(seconds, c.Seconds);
        EXPECT_EQ(recorder.Requests().size(), c.Requests);
        ASSERT_FALSE(labels.empty());
        EXPECT_EQ(labels.front(), "System will shutdown in 15 seconds");
        if (c.Seconds >= 1) {
            ASSERT_GE(labels.size(), 2u);
            EXPECT_EQ(labels[1], "System will shutdown in 14 seconds");
        }
        if (c.Action == TAction::Wait) {
            EXPECT_EQ(labels.back(), "System will shutdown in 1 seconds");
            EXPECT_EQ(labels.size(), 15u);
            // No request before the 15th tick.
            for (size_t seen : requestsSeen)
                EXPECT_EQ(seen, 0u);
        }
        EXPECT_EQ(FindForm<TShutDownForm>(), nullptr);
    }
}

} // namespace

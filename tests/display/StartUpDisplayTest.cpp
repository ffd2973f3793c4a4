// The start-up on a real window: run on the SDL backend in a private Xvfb, the splash shows each status text on
// the screen before its stage starts (nothing but the splash's own painting can put it there, as no messages are
// handled meanwhile), exactly as the headless backend paints the same splash.
#include "app/StartUp.h"
#include "app/TCoverForm.h"
#include "engine/AppServices.h"
#include "framework/controls/Forms.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/TScreen.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/backend/sdl/TSdlBackend.h"
#include "platform/win/Windows.h"
#include "tests/display/SkinDisplaySession.h"

#include <chrono>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <thread>
#include <vector>

#ifndef TP_PROGRAM_DIR
#error "TP_PROGRAM_DIR must name the program folder with the skins and pictures"
#endif

namespace {

const std::vector<std::string> kTexts
    = { "Loading Main UI resources...", "Loading Other UI resources...", "Loading Profiles...", "Starting..." };

TCoverForm* FindSplash()
{
    for (int i = 0; i < Screen->FormCount(); ++i) {
        if (auto* splash = dynamic_cast<TCoverForm*>(Screen->Forms(i)))
            return splash;
    }
    return nullptr;
}

// The status line's box in the splash's client area.
TRect StatusBox(TCoverForm* splash)
{
    return splash->lblInfoText->BoundsRect();
}

// What the headless backend paints on the status line for each text, 0x00RRGGBB, rows top-down.
std::map<std::string, std::vector<uint32_t>> HeadlessStatusLines()
{
    std::map<std::string, std::vector<uint32_t>> lines;
    THeadlessBackend backend;
    backend.UseManualClock(1000);
    if (!backend.Install()) {
        ADD_FAILURE() << "the headless backend did not start";
        return lines;
    }
    InitializeForms();
    {
        std::unique_ptr<TCoverForm> splash(TCustomForm::Create<TCoverForm>(Application));
        splash->Show();
        const TRect box = StatusBox(splash.get());
        for (const std::string& text : kTexts) {
            splash->ShowInfoText(text);
            std::vector<uint32_t>& pixels = lines[text];
            for (int y = box.Top; y < box.Bottom; ++y)
                for (int x = box.Left; x < box.Right; ++x)
                    pixels.push_back(backend.WindowPixel(splash->Handle(), x, y) & 0xFFFFFF);
        }
    }
    FinalizeForms();
    backend.Uninstall();
    return lines;
}

// Waits, without handling a message, until the screen shows `expected` on the status line; false after five
// seconds. Only the X server may still be catching up with what the program sent it.
bool ScreenShows(TCoverForm* splash, const std::vector<uint32_t>& expected)
{
    const TRect box = StatusBox(splash);
    const TPoint origin = splash->ClientToScreen(TPoint { box.Left, box.Top });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    do {
        if (SkinDisplaySession::Grab(origin.X, origin.Y, box.Right - box.Left, box.Bottom - box.Top) == expected)
            return true;
        std::this_thread::yield();
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

TEST(StartUpDisplay, EachStatusTextShowsBeforeItsStage)
{
    SetProgramFolder(TP_PROGRAM_DIR);
    const std::map<std::string, std::vector<uint32_t>> expected = HeadlessStatusLines();
    ASSERT_EQ(expected.size(), kTexts.size());

    TSdlBackend sdl;
    std::string error;
    ASSERT_TRUE(sdl.Install(SkinDisplaySession::DisplayName().c_str(), &error)) << error;
    InitializeForms();
    std::vector<std::string> shown;
    auto watch = [&] {
        TCoverForm* splash = FindSplash();
        ASSERT_NE(splash, nullptr);
        const std::string text = splash->lblInfoText->Caption();
        ASSERT_EQ(expected.count(text), 1u) << text;
        EXPECT_TRUE(ScreenShows(splash, expected.at(text))) << "\"" << text << "\" is not on the screen";
        shown.push_back(text);
    };
    TStartUpStages stages = DefaultStartUpStages();
    for (auto* stage : { &stages.LoadMainSkin, &stages.LoadFormSkin, &stages.LoadProfiles }) {
        stage->operator=([watch, real = *stage](TResourceForm& holder) {
            watch();
            real(holder);
        });
    }
    stages.CreateMainForm = [&] {
        watch();
        TForm* main = nullptr;
        Application->CreateForm(main);
        PostMessage(main->Handle(), WM_CLOSE, 0, 0);
    };
    EXPECT_EQ(RunStartUp(stages), 0);
    EXPECT_EQ(shown, kTexts);
    FinalizeForms();
    sdl.Uninstall();
    SetProgramFolder("");
}

} // namespace

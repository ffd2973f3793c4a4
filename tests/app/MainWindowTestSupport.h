// The fixture of the main window's tests: the headless display, a program folder with the encoder libraries, the
// program's skins and a profile of each format, the resource holder loaded from it, a videos folder of the test's
// own, and the main window shown on the main skin. Clips are made on demand.
#pragma once
#include "app/TMainForm.h"
#include "app/TResourceSkinData.h"
#include "codecs/testclips/TTestClip.h"
#include "framework/controls/TScreen.h"
#include "tests/app/ProfileWindowsTestSupport.h"
#include "tests/platform/ShellTestSupport.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class MainWindowTest : public ProfileWindowsTest {
protected:
    void SetUp() override
    {
        ProfileWindowsTest::SetUp();
        std::filesystem::create_directories(Folder->File("Skin"));
        std::filesystem::create_directory_symlink(TP_SKIN_DIR, Folder->File("Skin/TarnwickPro"));
        Home.Set("XDG_VIDEOS_DIR", Home.Home() + "/Videos");
        // Two AVI profiles, so that the combo's order shows within a format too.
        WriteProfile(TAVIProfile("AVI Small", ""));
        WriteProfile(TAVIProfile("AVI Large", ""));
        WriteProfile(TMPEGProfile("MPEG Disc", ""));
        WriteProfile(TWMVProfile("WMV Web", ""));
        WriteProfile(TRealProfile("Real Stream", ""));
        WriteProfile(TMP4Profile("MP4 Phone", ""));
        WriteProfile(TMOVProfile("MOV Edit", ""));
        WriteProfile(T3GPProfile("3GP Mobile", ""));
        WriteProfile(TFLVProfile("FLV Web", ""));
        LoadHolder();
        InstallResourceSkins(*Holder->Form);
        Holder->Form->LoadMainSkin();
        Holder->Form->LoadFormSkin();
        ASSERT_TRUE(Questions.empty()) << Questions.front();
    }

    void TearDown() override
    {
        Application->OnIdle = nullptr;
        delete Window;
        Window = nullptr;
        ProfileWindowsTest::TearDown();
    }

    // The main window, made and shown at the desktop's top left.
    TMainForm* Open()
    {
        Window = TCustomForm::Create<TMainForm>(Application);
        Window->Show();
        Window->SetBounds(0, 0, Window->Width(), Window->Height());
        Pump();
        return Window;
    }

    // A clip of `seconds` in the test's folder (64 x 48, one frame a second unless `rate` says otherwise).
    std::string Clip(const std::string& name, double seconds = 2.0, int rate = 1)
    {
        TTestClipSpec spec;
        spec.Container = name.ends_with(".avi") ? "avi" : "mp4";
        spec.Duration = seconds;
        spec.Video.push_back(TTestVideoStream {});
        spec.Video.back().FrameRateNum = rate;
        const std::string path = Folder->File(name);
        std::string error;
        EXPECT_TRUE(MakeTestClip(path, spec, &error)) << error;
        return path;
    }

    // Answers the first window of class T that shows while `run` runs, once it is up and idle; `answer` must close
    // it. Returns how many such windows showed.
    template <class T> int Answering(const std::function<void(T&)>& answer, const std::function<void()>& run)
    {
        int shown = 0;
        Application->OnIdle = [&](TObject*, bool& done) {
            T* window = nullptr;
            for (int i = 0; i < Screen->FormCount() && !window; ++i)
                window = dynamic_cast<T*>(Screen->Forms(i));
            if (!window || !window->Visible() || window->ModalResult() != mrNone)
                return;
            done = false;
            ++shown;
            answer(*window);
        };
        run();
        Application->OnIdle = nullptr;
        return shown;
    }

    std::string Videos() const { return Home.Home() + "/Videos/"; }

    TMainForm* Window = nullptr;
    // A home of the test's own, with its own videos folder.
    TShellTestHome Home;
};

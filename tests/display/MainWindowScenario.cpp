// The scenario of the main window's display test.
#include "tests/display/MainWindowScenario.h"

#include "app/TAnalysisVideoInfoForm.h"
#include "app/TMainForm.h"
#include "app/TOutputSettingsForm.h"
#include "codecs/testclips/TTestClip.h"
#include "engine/FormatProfiles.h"
#include "engine/TConvertJob.h"
#include "framework/controls/ActnList.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "framework/controls/TTimer.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinPanels.h"
#include "skin/forms/SkinObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/lists/SkinListViews.h"
#include "tests/display/ProgramOnStage.h"

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

using namespace std::chrono_literals;

std::string YesNo(bool value) { return value ? "yes" : "no"; }

RECT ScreenRect(TControl* control)
{
    const TPoint p = control->ClientToScreen(TPoint { 0, 0 });
    return RECT { p.X, p.Y, p.X + control->Width(), p.Y + control->Height() };
}

void ClickAt(TWindowStage& stage, int x, int y)
{
    stage.MoveTo(x, y);
    stage.ButtonDown();
    stage.ButtonUp();
}

// An environment variable set for the scenario and put back after it.
class TEnvironmentScope {
public:
    TEnvironmentScope(const char* name, const std::string& value)
        : FName(name)
    {
        if (const char* old = std::getenv(name))
            FOld = old;
        setenv(name, value.c_str(), 1);
    }
    ~TEnvironmentScope()
    {
        if (FOld)
            setenv(FName, FOld->c_str(), 1);
        else
            unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FOld;
};

std::string Rows(const TMainForm& window)
{
    std::string rows;
    for (const auto& job : window.Jobs)
        rows += (rows.empty() ? "" : ", ") + std::filesystem::path(job->VideoInfo.GetFileName()).filename().string();
    return rows + " (selected " + std::to_string(window.lvFileList->ItemIndex()) + ")";
}

bool FaceButtonEnabled(TMainForm& window, const char* name)
{
    return window.FormSkinner->ObjectAt(window.FormSkinner->GetIndex(name))->Enabled;
}

} // namespace

TSkinFormScreens PlayMainWindow(TWindowStage& stage)
{
    TSkinFormScreens result;
    TProgramOnStage program(stage);
    // The window's output folder is the scenario's own videos folder.
    const TEnvironmentScope config("XDG_CONFIG_HOME", program.Folder + "config");
    const TEnvironmentScope videos("XDG_VIDEOS_DIR", program.Folder + "Videos");
    std::filesystem::create_directory(program.Folder + "Profiles");
    TAVIProfile("AVI Small", "").Clone()->Save("");
    TMP4Profile("MP4 Phone", "").Clone()->Save("");
    program.Holder().LoadProfiles();
    std::vector<std::string> clips;
    for (const char* name : { "a.avi", "b.avi" }) {
        TTestClipSpec spec;
        spec.Container = "avi";
        spec.Duration = 2.0;
        spec.Video.push_back({ .Codec = "mpeg4", .Width = 64, .Height = 48, .FrameRateNum = 1 });
        std::string error;
        if (!MakeTestClip(program.Folder + name, spec, &error)) {
            result.Facts.push_back("no clip: " + error);
            return result;
        }
        clips.push_back(program.Folder + name);
    }

    TMainForm* window = TCustomForm::Create<TMainForm>(Application);
    window->SetPosition(poDesigned);
    window->SetBounds(20, 10, window->Width(), window->Height());
    window->Show();
    const RECT whole { 20, 10, 20 + window->Width(), 10 + window->Height() };
    stage.Settle(whole);
    const RECT toolBar { 20, 10 + 40, 20 + window->Width(), 10 + 92 };
    result.Facts.push_back("empty: background " + YesNo(window->FileListBackgroundPanel->Visible()) + ", Go "
        + YesNo(FaceButtonEnabled(*window, "Go")));
    result.Screens.push_back(stage.Grab(toolBar));

    // The analysis starts at once (the headless clock stands still), and the output settings window that follows
    // it takes MP4.
    Application->OnIdle = [](TObject*, bool&) {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* form = Screen->Forms(i);
            if (!form->Visible() || form->ModalResult() != mrNone)
                continue;
            if (auto* analysis = dynamic_cast<TAnalysisVideoInfoForm*>(form); analysis && analysis->Timer->Enabled())
                analysis->TimerTimer(nullptr);
            if (auto* settings = dynamic_cast<TOutputSettingsForm*>(form)) {
                settings->rbMP4->SetChecked(true);
                settings->btnOkClick(nullptr);
            }
        }
    };
    const TPoint onList = window->lvFileList->ClientToScreen(TPoint { 200, 150 });
    stage.DropFiles(clips, onList.X, onList.Y);
    stage.PumpUntil([&] { return window->Jobs.size() == 2 && !window->lvFileList->IsSelected(1); }, 20s);
    Application->OnIdle = nullptr;
    result.Facts.push_back("dropped: " + Rows(*window));

    // The second row chosen with the pointer, moved up with Ctrl+Up.
    const TRect second = window->lvFileList->Items()->Item(1)->DisplayRect(drBounds);
    const TPoint row = window->lvFileList->ClientToScreen(TPoint { 40, (second.Top + second.Bottom) / 2 });
    ClickAt(stage, row.X, row.Y);
    result.Facts.push_back("clicked: " + Rows(*window) + ", Up " + YesNo(FaceButtonEnabled(*window, "Up")));
    stage.Keys({ VK_CONTROL, VK_UP });
    result.Facts.push_back("moved up: " + Rows(*window));
    stage.Settle(whole);
    result.Screens.push_back(stage.Grab(ScreenRect(window->SkinPanelFileList)));
    result.Screens.push_back(stage.Grab(toolBar));

    // The "Remove" face button.
    ClickAt(stage, 20 + 308, 10 + 68);
    stage.Settle(whole);
    result.Facts.push_back("removed: " + Rows(*window));
    result.Screens.push_back(stage.Grab(ScreenRect(window->SkinPanelFileList)));
    delete window;
    stage.Pump();
    return result;
}

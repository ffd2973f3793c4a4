// The scenarios of the program's dialogs on a stage.
#include "tests/display/AppDialogsScenario.h"
#include "tests/display/ProgramOnStage.h"

#include "app/TAddFolderForm.h"
#include "app/TOptionForm.h"
#include "app/TResourceSkinData.h"
#include "engine/AppServices.h"
#include "engine/TDecoderModeMap.h"
#include "engine/TResourceForm.h"
#include "framework/controls/Forms.h"
#include "framework/core/TStrings.h"
#include "framework/core/TThread.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinLabels.h"
#include "skin/dialogs/TspShellTreeView.h"
#include "skin/lists/SkinListViews.h"
#include "skin/lists/TspSkinComboBox.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string YesNo(bool value) { return value ? "yes" : "no"; }

RECT ScreenRect(TControl* control)
{
    const TPoint p = control->ClientToScreen(TPoint { 0, 0 });
    return RECT { p.X, p.Y, p.X + control->Width(), p.Y + control->Height() };
}

void ClickOn(TWindowStage& stage, TControl* control, int x, int y)
{
    const TPoint p = control->ClientToScreen(TPoint { x, y });
    stage.MoveTo(p.X, p.Y);
    stage.ButtonDown();
    stage.ButtonUp();
}

void ClickCentre(TWindowStage& stage, TControl* control)
{
    ClickOn(stage, control, control->Width() / 2, control->Height() / 2);
}

// Runs the loop in real time (the search thread's pace, on either stage) until the dialog has `count` files.
void WaitForFinds(TWindowStage& stage, TAddFolderForm& form, int count)
{
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (form.GetFoundFileCount() < count && form.Visible() && std::chrono::steady_clock::now() < deadline) {
        CheckSynchronize(20);
        stage.Pump();
    }
}

} // namespace

TAppDialogScreens PlayAddFolderSearch(
    TWindowStage& stage, const std::string& folder, const std::function<void()>& pressEscape)
{
    TAppDialogScreens result;
    TProgramOnStage program(stage);
    std::unique_ptr<TAddFolderForm> form(TCustomForm::Create<TAddFolderForm>(Application));
    form->SetPosition(poDesigned);
    form->SetLeft(200);
    form->SetTop(100);
    form->DirTreeView->SetPath(folder);
    form->chkIncludedSubdir->SetChecked(true);
    form->Show();
    stage.Settle(ScreenRect(form.get()));
    result.Facts.push_back("height: " + std::to_string(form->Height()));
    result.Facts.push_back("button enabled: " + YesNo(form->btnAddFolder->Enabled()));

    ClickCentre(stage, form->btnAddFolder);
    result.Facts.push_back("searching: " + form->btnAddFolder->Caption() + ", height " + std::to_string(form->Height()));
    // The window keeps painting while the search runs: the count on the screen moves on.
    const RECT count = ScreenRect(form->lblFoundFilesCount);
    WaitForFinds(stage, *form, 100);
    stage.Settle(count);
    const TStagePixels early = stage.Grab(count);
    WaitForFinds(stage, *form, 300);
    stage.Settle(count);
    const TStagePixels later = stage.Grab(count);
    result.Facts.push_back("count repainted while searching: " + YesNo(early.Pixels != later.Pixels));
    result.Facts.push_back("still searching: " + YesNo(form->Visible()));

    // Escape reaches the window while the search waits for its next hand-over.
    pressEscape();
    const bool closed = stage.PumpUntil([&] { return !form->Visible(); }, 10s);
    result.Facts.push_back("closed by Escape: " + YesNo(closed));
    const int shown = std::stoi(form->lblFoundFilesCount->Caption());
    const std::vector<std::string> kept = form->GetFoundFiles();
    result.Facts.push_back("kept as counted: " + YesNo(static_cast<int>(kept.size()) == shown));
    result.Facts.push_back("stopped before the end: " + YesNo(shown >= 300 && shown < 2000));
    stage.Pump(100ms);
    result.Facts.push_back("nothing after closing: " + YesNo(form->GetFoundFiles() == kept));
    form.reset();
    return result;
}

TAppDialogScreens PlayOptionsEdit(TWindowStage& stage)
{
    TAppDialogScreens result;
    TProgramOnStage program(stage);
    std::ofstream(program.Folder + "DecoderMode.cfg")
        << "[Default]\nDefaultDecoderMode=0\n\n[Ext]\n.avi=\n.mkv=\n\n[.avi]\nNote=old films\nDecoderMode=1\n\n"
           "[.mkv]\nNote=\nDecoderMode=2\n";
    CreateGlobalDecoderModeMap();
    GlobalDecoderModeMap->LoadFromFile(program.Folder + "DecoderMode.cfg");
    {
        std::unique_ptr<TOptionForm> form(TCustomForm::Create<TOptionForm>(Application));
        form->SetPosition(poDesigned);
        form->SetLeft(150);
        form->SetTop(60);
        form->Show();
        stage.Settle(ScreenRect(form.get()));

        // The .mkv row, then its mode chosen in the drop-down list with the keys.
        const TRect row = form->lvMapList->Items()->Item(1)->DisplayRect(drBounds);
        ClickOn(stage, form->lvMapList, 40, (row.Top + row.Bottom) / 2);
        result.Facts.push_back("edits show: " + form->edtExt->Text());
        ClickCentre(stage, form->cbDecoderMode);
        stage.PumpUntil([&] { return form->cbDecoderMode->IsPopupVisible(); }, 5s);
        stage.Keys({ VK_DOWN });
        stage.Keys({ VK_RETURN });
        stage.PumpUntil([&] { return !form->cbDecoderMode->IsPopupVisible(); }, 5s);
        result.Facts.push_back("mode chosen: " + form->cbDecoderMode->Text());
        ClickCentre(stage, form->btnSave);
        stage.Settle(ScreenRect(form->lvMapList));
        result.Screens.push_back(stage.Grab(ScreenRect(form->lvMapList)));
        ClickCentre(stage, form->btnOK);

        TDecoderModeMap onDisk;
        onDisk.LoadFromFile(program.Folder + "DecoderMode.cfg");
        result.Facts.push_back(".mkv on disk: " + std::to_string(onDisk.GetDecoderMode(".mkv")) + ", .avi on disk: "
            + std::to_string(onDisk.GetDecoderMode(".avi")));
        result.Facts.push_back(".mkv for later probes: " + std::to_string(GlobalDecoderModeMap->GetDecoderMode(".mkv")));
    }
    DestroyGlobalDecoderModeMap();
    return result;
}

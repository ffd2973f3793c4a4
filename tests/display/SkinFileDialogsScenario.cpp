// The skinned open and folder dialogs played on a stage: see the header.
#include "tests/display/SkinFileDialogsScenario.h"

#include "framework/controls/Forms.h"
#include "framework/controls/TCustomListView.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinSpeedButtons.h"
#include "skin/dialogs/SkinDirectoryDialog.h"
#include "skin/dialogs/SkinFileCtrls.h"
#include "skin/dialogs/SkinFileDialogs.h"
#include "skin/dialogs/TspShellFolder.h"
#include "skin/dialogs/TspShellListView.h"
#include "skin/dialogs/TspShellTreeView.h"
#include "tests/display/TApplicationLoop.h"
#include "tests/platform/ShellTestSupport.h"

#include <filesystem>

namespace {

using namespace std::chrono_literals;

RECT ScreenRect(TControl* control)
{
    const TPoint origin = control->ClientToScreen(TPoint { 0, 0 });
    return RECT { origin.X, origin.Y, origin.X + control->ClientWidth(), origin.Y + control->ClientHeight() };
}

void ClickAt(TWindowStage& stage, TPoint point)
{
    stage.MoveTo(point.X, point.Y);
    stage.ButtonDown();
    stage.ButtonUp();
}

TPoint Middle(TControl* control)
{
    return control->ClientToScreen(TPoint { control->Width() / 2, control->Height() / 2 });
}

// The screen point of the list's item named `name` (its middle); none when it is not listed.
bool ItemPoint(TspSkinFileListView* list, const std::string& name, TPoint& point)
{
    for (int i = 0; i < list->FolderCount(); ++i) {
        if (list->GetFolder(i)->DisplayName() != name)
            continue;
        const TRect r = list->Items()->Item(i)->DisplayRect(drLabel);
        point = list->ClientToScreen(TPoint { (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 });
        return true;
    }
    return false;
}

std::string Names(TspSkinFileListView* list)
{
    std::string names;
    for (int i = 0; i < list->FolderCount(); ++i)
        names += (names.empty() ? "" : ", ") + list->GetFolder(i)->DisplayName();
    return names;
}

// Runs `drive` once the form `shown` answers is up in the modal loop; a form left open is cancelled.
template <class F>
void DriveWhenShown(const std::function<F*()>& shown, const std::function<void(F*)>& drive)
{
    auto driven = std::make_shared<bool>(false);
    Application->OnIdle = [=](TObject*, bool& idle) {
        F* form = shown();
        if (*driven || !form || !form->Visible())
            return;
        *driven = true;
        idle = false;
        drive(form);
        if (form->ModalResult() == mrNone)
            form->SetModalResult(mrCancel);
    };
}

void PlayOpen(TWindowStage& stage, const std::string& films, TSkinFormScreens& result)
{
    TspSkinOpenDialog dialog(nullptr);
    dialog.Filter = "Videos|*.avi|All files|*.*";
    dialog.FilterIndex = 2;
    dialog.InitialDir = films;
    DriveWhenShown<TspOpenDlgForm>([&] { return dialog.Form(); }, [&](TspOpenDlgForm* form) {
        stage.Settle(ScreenRect(form));
        TspSkinFileListView* list = form->FileList;
        result.Facts.push_back("shown: " + Names(list));
        TPoint point;
        if (ItemPoint(list, "sub dir", point)) {
            stage.MoveTo(point.X, point.Y);
            stage.ButtonDown();
            stage.ButtonUp();
            stage.ButtonDown({ WM_LBUTTONDBLCLK });
            stage.ButtonUp();
            stage.PumpUntil([&] { return list->GetPath() == films + "/sub dir"; }, 5s);
        }
        result.Facts.push_back("after a double click: " + Names(list));

        // The filter box opened by a click; Up and Return choose the videos.
        ClickAt(stage, Middle(form->FilterBox));
        stage.PumpUntil([&] { return form->FilterBox->IsPopupVisible(); }, 5s);
        stage.Keys({ VK_UP });
        stage.Keys({ VK_RETURN });
        stage.PumpUntil([&] { return !form->FilterBox->IsPopupVisible() && form->FilterBox->ItemIndex() == 0; }, 5s);
        result.Facts.push_back("filtered: " + Names(list));
        stage.Settle(ScreenRect(list));
        result.Screens.push_back(stage.Grab(ScreenRect(list)));

        // The file chosen by a click, then Return in the list.
        const std::string file = "Été à la plage.avi";
        if (ItemPoint(list, file, point)) {
            ClickAt(stage, point);
            stage.PumpUntil([&] { return form->Edit->Text() == file; }, 5s);
        }
        result.Facts.push_back("edit: " + form->Edit->Text());
        stage.Keys({ VK_RETURN });
        stage.PumpUntil([&] { return form->ModalResult() != mrNone; }, 5s);
    });
    const bool chosen = dialog.Execute();
    Application->OnIdle = nullptr;
    result.Facts.push_back("open: " + (chosen ? dialog.FileName().substr(films.size()) : std::string("cancelled")));
}

void PlayFolder(TWindowStage& stage, const std::string& films, TSkinFormScreens& result)
{
    TspSkinSelectDirectoryDialog dialog(nullptr);
    dialog.ShowToolBar = true;
    dialog.Directory = films;
    DriveWhenShown<TspSelDirDlgForm>([&] { return dialog.Form(); }, [&](TspSelDirDlgForm* form) {
        stage.Settle(ScreenRect(form));
        result.Facts.push_back("folder shown: " + form->PathEdit->Text().substr(films.size() - 6));
        ClickAt(stage, Middle(form->NewFolderButton));
        stage.PumpUntil([&] { return std::filesystem::is_directory(films + "/New Folder"); }, 5s);
        // The new folder is the first under the selected one: Down selects it.
        form->DirTree->SetFocus();
        stage.Keys({ VK_DOWN });
        stage.PumpUntil([&] { return form->DirTree->GetPath() == films + "/New Folder"; }, 5s);
        result.Facts.push_back("path edit: " + form->PathEdit->Text().substr(films.size() - 6));
        ClickAt(stage, Middle(form->OKButton));
        stage.PumpUntil([&] { return form->ModalResult() != mrNone; }, 5s);
    });
    const bool chosen = dialog.Execute();
    Application->OnIdle = nullptr;
    result.Facts.push_back("folder: " + (chosen ? dialog.Directory.substr(films.size()) : std::string("cancelled")));
}

} // namespace

TSkinFormScreens PlayFileDialogs(TWindowStage& stage)
{
    TSkinFormScreens result;
    TShellTestHome home;
    const std::string films = home.Home() + "/films";
    std::filesystem::create_directories(films + "/sub dir");
    home.Write(films + "/top.avi", "x");
    home.Write(films + "/sub dir/Été à la plage.avi", "x");
    home.Write(films + "/sub dir/notes.txt", "x");
    {
        const TApplicationLoop loop(stage);
        PlayOpen(stage, films, result);
        PlayFolder(stage, films, result);
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
        stage.Pump();
    }
    return result;
}

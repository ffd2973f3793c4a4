// The scenario of the profile windows' display test.
#include "tests/display/ProfileWindowsScenario.h"

#include "app/TEditProfileForm.h"
#include "app/TOutputSettingsForm.h"
#include "engine/AppServices.h"
#include "engine/FormatProfiles.h"
#include "engine/TProfileManager.h"
#include "engine/TResourceForm.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "platform/controls/MessageBox.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinCheckRadio.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinLabels.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/lists/TspSkinComboBox.h"
#include "tests/display/TApplicationLoop.h"
#include "tests/engine/EngineTestSupport.h"

#include <memory>

namespace {

// A click in the middle of a control, as the user gives it.
void ClickOn(TWindowStage& stage, TControl* control)
{
    const TPoint at = control->ClientToScreen(TPoint { control->Width() / 2, control->Height() / 2 });
    stage.MoveTo(at.X, at.Y);
    stage.ButtonDown();
    stage.ButtonUp();
}

// Replaces the text of a skinned edit by typing.
void Retype(TWindowStage& stage, TControl* clicked, TCustomEdit* edit, const std::string& text)
{
    ClickOn(stage, clicked);
    edit->SelectAll();
    stage.Type(text, text.size());
}

RECT ScreenRect(TControl* control)
{
    const TPoint topLeft = control->ClientToScreen(TPoint { 0, 0 });
    return RECT { topLeft.X, topLeft.Y, topLeft.X + control->Width(), topLeft.Y + control->Height() };
}

std::string Items(TspSkinComboBox* combo)
{
    std::string items;
    for (int i = 0; i < combo->Items()->Count(); ++i)
        items += (i ? ", " : "") + combo->Items()->Strings(i);
    return items;
}

} // namespace

TSkinFormScreens PlayProfileWindows(TWindowStage& stage)
{
    TSkinFormScreens result;
    TTempFolder folder;
    TProgramFolderScope programFolder(folder.Path());
    std::filesystem::create_directory(folder.File("Profiles"));
    TMP4Profile("Phone", "").Clone()->Save("");
    TMOVProfile("Clip", "").Clone()->Save("");
    TMOVProfile("Film", "").Clone()->Save("");
    TAVIProfile("Archive", "").Clone()->Save("");
    // The questions are answered Yes, and recorded.
    SetMessageBoxHandler([&result](const std::string& text, const std::string&, int32_t) {
        result.Facts.push_back("asked: " + text);
        return int32_t(IDYES);
    });
    {
        const TApplicationLoop loop(stage);
        auto holder = std::make_unique<TResourceForm>(nullptr);
        ResourceForm = holder.get();
        holder->LoadProfiles();

        auto* editor = TCustomForm::Create<TEditProfileForm>(Application);
        editor->SetPosition(poDesigned);
        editor->SetBounds(60, 40, editor->Width(), editor->Height());
        editor->Show();
        stage.Settle(ScreenRect(editor));
        // "New MP4 Profile" from the New menu.
        editor->NewMenuItems[vfMP4]->Click();
        stage.Pump();
        result.Facts.push_back("new: " + editor->edtName->Text());
        Retype(stage, editor->edtMP4Width, editor->edtMP4Width->Edit(), "176");
        Retype(stage, editor->edtMP4Height, editor->edtMP4Height->Edit(), "144");
        Retype(stage, editor->edtMP4VideoBitrate, editor->edtMP4VideoBitrate->Edit(), "640");
        Retype(stage, editor->edtName, editor->edtName, "Handheld");
        result.Facts.push_back("size: " + editor->cbMP4FrameSize->Text());
        ClickOn(stage, editor->btnSave);
        stage.Pump();
        TProfileManager stored(folder.File("Profiles/"));
        stored.LoadAll();
        for (int i = 0; i < stored.Count(); ++i) {
            const auto* mp4 = dynamic_cast<const TMP4Profile*>(stored.Get(i));
            if (mp4 && mp4->ProfileName == "Handheld")
                result.Facts.push_back("stored: " + std::to_string(mp4->Width) + " x " + std::to_string(mp4->Height)
                    + " at " + std::to_string(mp4->VideoBitrate));
        }
        stage.Settle(ScreenRect(editor));
        result.Screens.push_back(stage.Grab(ScreenRect(editor->cbMP4FrameSize)));
        delete editor;
        stage.Pump();

        auto* window = TCustomForm::Create<TOutputSettingsForm>(Application);
        window->SetPosition(poDesigned);
        window->SetBounds(60, 20, window->Width(), window->Height());
        window->Show();
        stage.Settle(ScreenRect(window));
        result.Facts.push_back("opens on: " + Items(window->cbProfiles));
        for (TspSkinCheckRadioBox* radio : { window->rbMOV, window->rbMP4 }) {
            ClickOn(stage, radio);
            stage.Pump();
            result.Facts.push_back(window->lblSettingsTitle->Caption() + ": " + Items(window->cbProfiles));
        }
        stage.Settle(ScreenRect(window));
        result.Screens.push_back(stage.Grab(ScreenRect(window->cbProfiles)));
        delete window;
        stage.Pump();
        ResourceForm = nullptr;
    }
    SetMessageBoxHandler(nullptr);
    return result;
}

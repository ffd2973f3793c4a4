// The skinned main form whose window states the display test plays on both backends.
#include "tests/display/SkinFormStatesScenario.h"

#include "framework/controls/Forms.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/testing/TFixtureSkin.h"

namespace {

constexpr RECT kArea { 150, 150, 450, 350 };

std::string StateText(TspSkinForm* skinner)
{
    const HWND window = skinner->Form()->Handle();
    const TWindowState state = skinner->WindowState();
    std::string text = state == wsMaximized ? "maximized" : (state == wsMinimized ? "minimized" : "normal");
    if (IsIconic(window))
        text += ", iconic";
    else if (IsZoomed(window))
        text += ", zoomed";
    return text;
}

// Whether the form covers the work area: exactly, or with the pixel the skin leaves free on a screen-sized one.
std::string CoverText(TCustomForm* form)
{
    RECT work {};
    SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0);
    const TRect r = form->BoundsRect();
    const bool covers = std::abs(r.Left - work.left) <= 1 && std::abs(r.Top - work.top) <= 1
        && std::abs(r.Right - work.right) <= 1 && std::abs(r.Bottom - work.bottom) <= 1;
    return covers ? "covers the work area" : "at " + std::to_string(r.Left) + "," + std::to_string(r.Top);
}

std::string BoundsText(TCustomForm* form)
{
    return "at " + std::to_string(form->Left()) + "," + std::to_string(form->Top()) + " "
        + std::to_string(form->Width()) + "x" + std::to_string(form->Height());
}

// The screen centre of the skin object `idName` in the form's frame.
POINT ObjectCentre(TspSkinForm* skinner, const char* idName)
{
    const int index = skinner->GetIndex(idName);
    const TRect r = index == -1 ? TRect {} : skinner->ObjectAt(index)->ObjectRect;
    RECT window {};
    GetWindowRect(skinner->Form()->Handle(), &window);
    return POINT { window.left + (r.Left + r.Right) / 2, window.top + (r.Top + r.Bottom) / 2 };
}

void ClickAt(TWindowStage& stage, POINT p)
{
    stage.MoveTo(p.x, p.y);
    stage.ButtonDown();
    stage.ButtonUp();
    stage.Pump();
}

} // namespace

TSkinFormScreens PlaySkinnedFormStates(TWindowStage& stage, const TWindowManagerProbe& probe)
{
    TSkinFormScreens result;
    InitializeForms();
    {
        TFixtureSkin frameSkin;
        WriteFrameSkin(frameSkin);
        auto* frame = new TspSkinData(Application);
        frame->LoadFromFile(frameSkin.Write());

        TForm* main = nullptr;
        Application->CreateForm(main);
        main->SetBorderStyle(bsSizeable);
        main->SetCaption("Main");
        main->SetBounds(kArea.left, kArea.top, kArea.right - kArea.left, kArea.bottom - kArea.top);
        auto* skinner = new TspSkinForm(main);
        skinner->SetSkinData(frame);
        main->Show();
        stage.Settle(kArea);
        for (int i = 0; i < 50 && !main->Active(); ++i)
            stage.Pump(std::chrono::milliseconds(20));
        stage.Settle(kArea);
        result.Screens.push_back(stage.Grab(kArea));
        const HWND window = main->Handle();

        auto note = [&](const std::string& what) {
            stage.Pump(std::chrono::milliseconds(20));
            result.Facts.push_back(what + ": " + StateText(skinner) + "; the window manager: " + probe.State(window));
        };
        // The maximize button maximizes through the window layer and the window manager; pressed again it restores.
        ClickAt(stage, ObjectCentre(skinner, "maxbutton"));
        note("maximize");
        result.Facts.push_back(CoverText(main));
        ClickAt(stage, ObjectCentre(skinner, "maxbutton"));
        // A window manager may show the window at its own place first before the form's place holds.
        for (int i = 0; i < 50 && main->Left() != kArea.left; ++i)
            stage.Pump(std::chrono::milliseconds(20));
        note("restore");
        result.Facts.push_back(BoundsText(main));
        // The main form's minimize button minimizes the application: the window manager iconifies it.
        ClickAt(stage, ObjectCentre(skinner, "minbutton"));
        note("minimize");
        probe.Restore(window);
        stage.Pump(std::chrono::milliseconds(20));
        for (int i = 0; i < 50 && IsIconic(window); ++i)
            stage.Pump(std::chrono::milliseconds(20));
        note("given back");
        result.Facts.push_back(BoundsText(main));
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
        // The pointer has left the buttons: none stays hot until the form's mouse timer looks (which the
        // two displays' clocks reach at different moments).
        skinner->TestActive(-1, -1, false);
        stage.Settle(kArea);
        result.Screens.push_back(stage.Grab(kArea));
    }
    FinalizeForms();
    return result;
}

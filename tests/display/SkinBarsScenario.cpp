// The scenario of the skinned bars' display test.
#include "tests/display/SkinBarsScenario.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinExPanel.h"
#include "skin/controls/SkinGroups.h"
#include "skin/controls/SkinPanels.h"
#include "skin/controls/SkinSpeedButtons.h"
#include "skin/controls/SkinSplitters.h"
#include "skin/controls/SkinToolBar.h"
#include "framework/core/TStrings.h"

#include <string>

namespace {

using namespace std::chrono_literals;

constexpr RECT kFormArea { 150, 120, 570, 420 };

std::string YesNo(bool value) { return value ? "yes" : "no"; }

template <class T> T* Add(TWinControl* parent, TComponent* owner, int x, int y, int w, int h)
{
    auto* control = new T(owner);
    control->SetParent(parent);
    control->SetBounds(x, y, w, h);
    return control;
}

void ClickAt(TWindowStage& stage, TControl* control, int x, int y)
{
    // From a point of the form where nothing is, so that the pointer always moves to the click.
    stage.MoveTo(kFormArea.right - 10, kFormArea.bottom - 10);
    const TPoint p = control->ClientToScreen(TPoint { x, y });
    stage.MoveTo(p.X, p.Y);
    // A click soon after one at the same place is a double click.
    stage.ButtonDown({ WM_LBUTTONDOWN, WM_NCLBUTTONDOWN, WM_LBUTTONDBLCLK, WM_NCLBUTTONDBLCLK });
    stage.ButtonUp();
}

} // namespace

TSkinFormScreens PlaySkinBars(TWindowStage& stage)
{
    TSkinFormScreens result;
    InitializeForms();
    stage.MessageLoop = [] { Application->ProcessMessages(); };
    {
        TForm* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsNone);
        form->SetColor(clWhite);
        form->SetBounds(kFormArea.left, kFormArea.top, kFormArea.right - kFormArea.left,
            kFormArea.bottom - kFormArea.top);

        // A tool bar too narrow for its five buttons, with its arrows.
        auto* tools = Add<TspSkinToolBar>(form, form, 10, 10, 200, 30);
        tools->SetAlign(alNone);
        for (int i = 0; i < 5; ++i) {
            auto* button = Add<TspSkinSpeedButton>(tools, form, i * 60, 0, 60, 22);
            button->SetCaption("B" + std::to_string(i));
        }
        tools->SetCanScroll(true);

        // Two panels with a splitter between them.
        auto* box = Add<TPanel>(form, form, 10, 60, 260, 100);
        auto* left = Add<TspSkinPanel>(box, form, 0, 0, 80, 100);
        left->SetAlign(alLeft);
        auto* splitter = Add<TspSkinSplitter>(box, form, 80, 0, 4, 100);
        splitter->SetAlign(alLeft);
        auto* right = Add<TspSkinPanel>(box, form, 84, 0, 100, 100);
        right->SetAlign(alClient);

        auto* ex = Add<TspSkinExPanel>(form, form, 290, 60, 110, 120);
        ex->SetCaption("Panel");

        auto* group = Add<TspSkinRadioGroup>(form, form, 10, 180, 200, 100);
        for (const char* item : { "One", "Two", "Three" })
            group->Items()->Add(item);
        group->SetItemIndex(0);

        form->Show();
        stage.Settle(kFormArea);
        result.Facts.push_back("tool bar arrows: " + YesNo(tools->Arrows().Shown()) + ", client "
            + std::to_string(tools->ClientWidth()));

        // The forward arrow, in the bar's non-client area, moves the buttons by the client width.
        ClickAt(stage, tools, tools->ClientWidth() + 6, 10);
        stage.Pump();
        result.Facts.push_back("tool bar position: " + std::to_string(tools->Position()));
        stage.Settle(kFormArea);
        result.Screens.push_back(stage.Grab(kFormArea));

        // The splitter dragged 30 pixels to the right widens the left panel.
        const TPoint grip = splitter->ClientToScreen(TPoint { 2, 50 });
        stage.DragBy(grip.X, grip.Y, 30, 0, { WM_LBUTTONUP });
        stage.Pump();
        result.Facts.push_back("left panel: " + std::to_string(left->Width()));

        // The roll button rolls the panel up to its caption, and down again.
        const TRect roll = ex->ButtonRect(1);
        ClickAt(stage, ex, (roll.Left + roll.Right) / 2, (roll.Top + roll.Bottom) / 2);
        stage.Pump();
        result.Facts.push_back("rolled: " + YesNo(ex->RollState()) + " " + std::to_string(ex->Height()));
        stage.Settle(kFormArea);
        result.Screens.push_back(stage.Grab(kFormArea));
        const TRect restore = ex->ButtonRect(1);
        ClickAt(stage, ex, (restore.Left + restore.Right) / 2, (restore.Top + restore.Bottom) / 2);
        stage.Pump();
        result.Facts.push_back("rolled: " + YesNo(ex->RollState()) + " " + std::to_string(ex->Height()));

        // The first radio button clicked takes the focus; Down moves it to the second, Space checks that one.
        ClickAt(stage, group->Buttons(0), 5, group->Buttons(0)->Height() / 2);
        stage.Keys({ VK_DOWN });
        stage.Keys({ VK_SPACE });
        stage.Pump();
        result.Facts.push_back("radio: " + std::to_string(group->ItemIndex()));
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
        stage.Settle(kFormArea);
        result.Screens.push_back(stage.Grab(kFormArea));
    }
    stage.MessageLoop = nullptr;
    FinalizeForms();
    return result;
}

// The skinned MDI forms the display test plays on both backends.
#include "tests/display/SkinMDIScenario.h"

#include "framework/controls/Forms.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/forms/TspSkinMDITabsBar.h"
#include "skin/forms/TspSkinMainMenuBar.h"
#include "skin/testing/TFixtureSkin.h"

namespace {

constexpr RECT kArea { 100, 100, 560, 440 };

std::string BoundsText(TControl* control)
{
    return control->Name() + " at " + std::to_string(control->Left()) + "," + std::to_string(control->Top()) + " "
        + std::to_string(control->Width()) + "x" + std::to_string(control->Height());
}

std::string TabsText(TspSkinMDITabsBar* bar)
{
    std::string text = "tabs:";
    for (int i = 0; i < bar->TabCount(); ++i)
        text += " " + bar->TabAt(i)->TabForm->Name() + (bar->TabAt(i)->TabActive ? "*" : "");
    return text;
}

// Presses and releases at a screen point.
void ClickAt(TWindowStage& stage, POINT p)
{
    stage.MoveTo(p.x, p.y);
    stage.ButtonDown();
    stage.ButtonUp();
    stage.Pump();
}

// The screen centre of the skin object `idName` in the frame of `form`.
POINT ObjectCentre(TspSkinForm* skinner, const char* idName)
{
    const int index = skinner->GetIndex(idName);
    const TRect r = index == -1 ? TRect {} : skinner->ObjectAt(index)->ObjectRect;
    RECT window {};
    GetWindowRect(skinner->Form()->Handle(), &window);
    return POINT { window.left + (r.Left + r.Right) / 2, window.top + (r.Top + r.Bottom) / 2 };
}

void Snap(TWindowStage& stage, TSkinFormScreens& result)
{
    stage.Settle(kArea);
    result.Screens.push_back(stage.Grab(kArea));
}

} // namespace

TSkinFormScreens PlaySkinnedMDIForms(TWindowStage& stage)
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
        main->SetName("Main");
        main->SetFormStyle(fsMDIForm);
        main->SetCaption("Main");
        main->SetBounds(kArea.left, kArea.top, kArea.right - kArea.left, kArea.bottom - kArea.top);
        auto* mainSkinner = new TspSkinForm(main);
        mainSkinner->SetSkinData(frame);
        // The main-menu bar above the tab bar.
        auto* menu = new TMainMenu(main);
        for (const char* caption : { "File", "Window" }) {
            auto* item = new TMenuItem(menu);
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        auto* menuBar = new TspSkinMainMenuBar(main);
        menuBar->SetParent(main);
        menuBar->SetBounds(0, 0, 100, 22);
        menuBar->SetSkinForm(mainSkinner);
        menuBar->SetMainMenu(menu);
        mainSkinner->SetMainMenuBar(menuBar);
        auto* bar = new TspSkinMDITabsBar(main);
        bar->SetParent(main);
        bar->SetTop(30);
        bar->SetAlign(alTop);
        bar->SetSkinForm(mainSkinner);
        mainSkinner->SetMDITabsBar(bar);
        main->Show();
        stage.Pump();

        std::vector<TForm*> children;
        for (const char* name : { "One", "Two", "Three" }) {
            auto* child = TCustomForm::Create<TForm>(Application);
            child->SetName(name);
            child->SetFormStyle(fsMDIChild);
            child->SetCaption(name);
            child->SetBounds(20 * int(children.size()), 10 * int(children.size()), 200, 120);
            (new TspSkinForm(child))->SetSkinData(frame);
            child->Show();
            stage.Pump();
            children.push_back(child);
        }
        Snap(stage, result);
        result.Facts.push_back(TabsText(bar));

        mainSkinner->Tile();
        stage.Pump();
        Snap(stage, result);
        for (TForm* child : children)
            result.Facts.push_back(BoundsText(child));

        // Two's maximize button, clicked where the child shows in the main form.
        TspSkinForm* two = GetSkinFormComponent(children[1]);
        ClickAt(stage, ObjectCentre(two, "maxbutton"));
        Snap(stage, result);
        result.Facts.push_back(std::string("Two ") + (two->WindowState() == wsMaximized ? "maximized" : "not maximized"));
        result.Facts.push_back(BoundsText(children[1]));
        result.Facts.push_back(mainSkinner->CaptionText());
        result.Facts.push_back("menu bar buttons: " + std::to_string(menuBar->ButtonCount));

        // One chosen on the tab bar comes to the front.
        bar->CalcObjectRects();
        const TRect tab = bar->TabAt(0)->TabRectangle;
        const TPoint tabCentre = bar->ClientToScreen(TPoint { (tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2 });
        ClickAt(stage, POINT { tabCentre.X, tabCentre.Y });
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
        Snap(stage, result);
        result.Facts.push_back(TabsText(bar));
        result.Facts.push_back("active " + main->ActiveMDIChild()->Name());
        stage.Pump();
    }
    FinalizeForms();
    return result;
}

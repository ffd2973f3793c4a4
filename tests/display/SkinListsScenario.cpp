// The skinned combo boxes' drop-down lists on a stage: a combo's list opened by a click and an item chosen with
// the keys, another list closed by a click outside it, and a check combo toggled from its open list. The facts of
// each step and the pixels of the open lists.
#include "tests/display/SkinListsScenario.h"
#include "tests/display/TApplicationLoop.h"

#include "framework/controls/Forms.h"
#include "platform/win/VirtualKeys.h"
#include "skin/lists/TspSkinCheckComboBox.h"
#include "skin/lists/TspSkinComboBox.h"

namespace {

using namespace std::chrono_literals;

RECT ScreenRect(TControl* window)
{
    return RECT { window->Left(), window->Top(), window->Left() + window->Width(), window->Top() + window->Height() };
}

std::string YesNo(bool value) { return value ? "yes" : "no"; }

} // namespace

TSkinFormScreens PlayDropDowns(TWindowStage& stage)
{
    TSkinFormScreens result;
    {
        const TApplicationLoop loop(stage);
        TForm* form = nullptr;
        Application->CreateForm(form);
        form->SetBorderStyle(bsSingle);
        form->SetCaption("Lists");
        form->SetBounds(150, 120, 420, 300);
        auto combo = [&](int x) {
            auto* c = new TspSkinComboBox(form);
            c->SetParent(form);
            c->SetBounds(x, 20, 120, 20);
            for (const char* s : { "alpha", "beta", "gamma", "delta", "epsilon" })
                c->Items()->Add(s);
            c->SetItemIndex(0);
            return c;
        };
        TspSkinComboBox* first = combo(20);
        TspSkinComboBox* second = combo(160);
        auto* checks = new TspSkinCheckComboBox(form);
        checks->SetParent(form);
        checks->SetBounds(20, 200, 120, 20);
        for (const char* s : { "red", "green", "blue" })
            checks->Items()->Add(s);
        form->Show();
        stage.Settle(RECT { 100, 100, 600, 450 });

        // A click on the face opens the list below; Down, Down and Return choose the third item.
        const TPoint face = first->ClientToScreen(TPoint { 50, 10 });
        stage.MoveTo(face.X, face.Y);
        stage.ButtonDown();
        stage.ButtonUp();
        const bool opened = stage.PumpUntil([first] { return first->IsPopupVisible(); }, 5s);
        result.Facts.push_back("first open: " + YesNo(opened));
        if (opened) {
            TspPopupListBox* list = first->ListBox();
            result.Facts.push_back("below: " + YesNo(list->Top() == first->ClientToScreen(TPoint { 0, 20 }).Y));
            result.Facts.push_back("form still active: " + YesNo(GetActiveWindow() == form->Handle()));
            stage.Keys({ VK_DOWN });
            stage.Keys({ VK_DOWN });
            stage.Pump();
            const RECT area = ScreenRect(list);
            stage.Settle(area);
            result.Screens.push_back(stage.Grab(area));
            stage.Keys({ VK_RETURN });
            stage.PumpUntil([first] { return !first->IsPopupVisible(); }, 5s);
        }
        result.Facts.push_back("first: " + first->Text() + " open " + YesNo(first->IsPopupVisible()));

        // The second list closes on a click on the form beside it.
        const TPoint secondFace = second->ClientToScreen(TPoint { 50, 10 });
        stage.MoveTo(secondFace.X, secondFace.Y);
        stage.ButtonDown();
        stage.ButtonUp();
        stage.PumpUntil([second] { return second->IsPopupVisible(); }, 5s);
        result.Facts.push_back("second open: " + YesNo(second->IsPopupVisible()));
        const TPoint outside = form->ClientToScreen(TPoint { 350, 250 });
        stage.MoveTo(outside.X, outside.Y);
        stage.ButtonDown();
        stage.ButtonUp();
        stage.PumpUntil([second] { return !second->IsPopupVisible(); }, 5s);
        result.Facts.push_back("second after outside click: open " + YesNo(second->IsPopupVisible()) + ", "
            + second->Text());

        // The check combo: opened by a click, its second item toggled by a click in the list, which stays open.
        const TPoint checksFace = checks->ClientToScreen(TPoint { 50, 10 });
        stage.MoveTo(checksFace.X, checksFace.Y);
        stage.ButtonDown();
        stage.ButtonUp();
        stage.PumpUntil([checks] { return checks->IsPopupVisible(); }, 5s);
        TspPopupCheckListBox* checkList = checks->ListBox();
        const bool checkOpen = checks->IsPopupVisible();
        result.Facts.push_back("checks open: " + YesNo(checkOpen) + " above: "
            + YesNo(checkOpen && checkList->Top() < checks->ClientToScreen(TPoint { 0, 0 }).Y));
        if (checkOpen) {
            const TPoint item = checkList->ClientToScreen(TPoint { 40, 2 + 20 + 10 });
            stage.MoveTo(item.X, item.Y);
            stage.ButtonDown();
            stage.ButtonUp();
            stage.PumpUntil([checks] { return checks->Checked(1); }, 5s);
            const RECT area = ScreenRect(checkList);
            stage.Settle(area);
            result.Screens.push_back(stage.Grab(area));
        }
        result.Facts.push_back("checks: \"" + checks->Text() + "\" open " + YesNo(checks->IsPopupVisible()));
        result.Facts.push_back("focus kept: " + YesNo(GetFocus() == checks->Handle()));
        // Esc closes the open list and changes nothing.
        stage.Keys({ VK_ESCAPE });
        stage.PumpUntil([checks] { return !checks->IsPopupVisible(); }, 5s);
        result.Facts.push_back("checks after Esc: open " + YesNo(checks->IsPopupVisible()) + ", \""
            + checks->Text() + "\"");
        // A press on the face opens the list again, and one on its button (far enough not to make a double
        // click) closes it.
        stage.MoveTo(checksFace.X, checksFace.Y);
        stage.ButtonDown();
        stage.ButtonUp();
        stage.PumpUntil([checks] { return checks->IsPopupVisible(); }, 5s);
        result.Facts.push_back("checks reopened by its face: " + YesNo(checks->IsPopupVisible()));
        const TPoint checksButton = checks->ClientToScreen(TPoint { 110, 10 });
        stage.MoveTo(checksButton.X, checksButton.Y);
        stage.ButtonDown();
        stage.ButtonUp();
        stage.PumpUntil([checks] { return !checks->IsPopupVisible(); }, 5s);
        result.Facts.push_back("checks after a press on its button: open " + YesNo(checks->IsPopupVisible()) + ", \""
            + checks->Text() + "\"");
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
        stage.Pump();
    }
    return result;
}

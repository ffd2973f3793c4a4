// The skinned popup menu and hint the display test plays on both backends.
#include "tests/display/SkinMenuScenario.h"
#include "tests/display/TApplicationLoop.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/controls/THintWindow.h"
#include "platform/win/VirtualKeys.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/TspSkinHint.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinMenuItem.h"
#include "skin/menus/TspSkinPopupMenu.h"
#include "skin/menus/TspSkinPopupWindow.h"
#include "skin/testing/TFixtureSkin.h"

#include <cstdio>

namespace {

using namespace std::chrono_literals;

std::string Hex(uint32_t pixel)
{
    char text[8];
    std::snprintf(text, sizeof text, "%06x", pixel & 0xFFFFFFu);
    return text;
}

std::string Offset(const char* what, TPoint p, TPoint cursor)
{
    return std::string(what) + " at cursor " + std::to_string(p.X - cursor.X) + "," + std::to_string(p.Y - cursor.Y);
}

TPoint CursorPos()
{
    POINT p {};
    GetCursorPos(&p);
    return TPoint { p.x, p.y };
}

TRect ScreenRect(TControl* window)
{
    return TRect(window->Left(), window->Top(), window->Left() + window->Width(), window->Top() + window->Height());
}

// The level's window shown, and the pixels at two points of each item: its top-left corner (the highlight's
// frame when active) and a point of its face left of the text.
void NoteLevelPixels(TWindowStage& stage, TspSkinPopupWindow* level, const std::string& when, TSkinFormScreens& result)
{
    const TRect r = ScreenRect(level);
    stage.Settle(RECT { r.Left, r.Top, r.Right, r.Bottom });
    const TStagePixels shown = stage.Grab(RECT { r.Left, r.Top, r.Right, r.Bottom });
    result.Screens.push_back(shown);
    std::string pixels = when + ":";
    for (size_t i = 0; i < level->ItemList.size(); ++i) {
        const TRect item = level->ItemScreenRect(level->ItemList[i].get());
        pixels += " " + Hex(shown.At(item.Left, item.Top)) + "/" + Hex(shown.At(item.Left + 30, item.Top + 1));
    }
    result.Facts.push_back(pixels);
}

} // namespace

TSkinFormScreens PlaySkinnedPopupMenu(TWindowStage& stage)
{
    TSkinFormScreens result;
    {
        const TApplicationLoop loop(stage);
        TFixtureSkin frameSkin;
        WriteFrameSkin(frameSkin);
        auto* frame = new TspSkinData(Application);
        frame->LoadFromFile(frameSkin.Write());

        TForm* form = nullptr;
        Application->CreateForm(form);
        form->SetBorderStyle(bsSizeable);
        form->SetCaption("Files");
        form->SetBounds(150, 120, 300, 200);
        auto* skinner = new TspSkinForm(form);
        skinner->SetSkinData(frame);
        auto* panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(20, 20, 160, 100);

        auto* menu = new TspSkinPopupMenu(form);
        auto add = [&](TMenuItem* parent, const std::string& caption) {
            auto* item = new TMenuItem(menu);
            item->SetCaption(caption);
            item->OnClick = [&result, caption](TObject*) { result.Facts.push_back("ran " + caption); };
            parent->Add(item);
            return item;
        };
        add(menu->Items(), "Open");
        TMenuItem* recent = add(menu->Items(), "Recent");
        add(recent, "First");
        add(recent, "Second");
        add(menu->Items(), "Save");
        add(menu->Items(), "Close");
        panel->SetPopupMenu(menu);
        form->Show();
        stage.Settle(RECT { 100, 100, 500, 400 });

        const TPoint at = panel->ClientToScreen(TPoint { 40, 30 });
        stage.MoveTo(at.X, at.Y);
        stage.RightClick();
        TspSkinMenu* chain = skinner->SkinMenu();
        if (!stage.PumpUntil([chain] { return chain->Visible() && chain->LevelCount() == 1; }, 5s)) {
            result.Facts.push_back("no menu opened");
        } else {
            TspSkinPopupWindow* level = chain->Level(0);
            result.Facts.push_back(Offset("menu", TPoint { level->Left(), level->Top() }, CursorPos()));
            NoteLevelPixels(stage, level, "opened", result);
            stage.Keys({ VK_DOWN });
            stage.Keys({ VK_DOWN });
            NoteLevelPixels(stage, level, "two down", result);
            stage.Keys({ VK_RETURN });
            stage.Pump();
            result.Facts.push_back(std::string("menu closed: ") + (chain->Visible() ? "no" : "yes"));
        }
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
        stage.Pump();
    }
    return result;
}

TSkinFormScreens PlaySkinnedHint(TWindowStage& stage)
{
    TSkinFormScreens result;
    // The skinned hint makes itself the application's hint window class for good; the next test gets the plain one
    // back.
    const THintWindowClass savedClass = HintWindowClass;
    {
        const TApplicationLoop loop(stage);
        TForm* form = nullptr;
        Application->CreateForm(form);
        form->SetBorderStyle(bsNone);
        form->SetBounds(150, 120, 300, 200);
        form->SetColor(clGreen);
        new TspSkinHint(form);
        auto* panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(20, 20, 160, 100);
        panel->SetHint("Convert the checked files");
        panel->SetShowHint(true);
        Application->SetHintPause(300);
        // It must still show when the display is slow to give it to us.
        Application->SetHintHidePause(30000);
        form->Show();
        stage.Settle(RECT { 100, 100, 500, 400 });

        const TPoint at = panel->ClientToScreen(TPoint { 40, 30 });
        stage.MoveTo(at.X, at.Y);
        auto showing = [] {
            THintWindow* window = Application->HintWindow();
            return window && window->HandleAllocated() && IsWindowVisible(window->Handle());
        };
        // Not at once: the hint waits for its pause.
        result.Facts.push_back(std::string("shown at once: ") + (showing() ? "yes" : "no"));
        if (!stage.PumpUntil(showing, 5s)) {
            result.Facts.push_back("no hint shown");
        } else {
            auto* window = dynamic_cast<TspSkinHintWindow*>(Application->HintWindow());
            result.Facts.push_back(std::string("skinned: ") + (window ? "yes" : "no"));
            THintWindow* hint = Application->HintWindow();
            const TRect r = ScreenRect(hint);
            result.Facts.push_back(Offset("hint", TPoint { r.Left, r.Top }, CursorPos()) + " "
                + std::to_string(r.Right - r.Left) + "x" + std::to_string(r.Bottom - r.Top) + " \"" + hint->Caption()
                + "\"");
            stage.Settle(RECT { r.Left, r.Top, r.Right, r.Bottom });
            const TStagePixels shown = stage.Grab(RECT { r.Left, r.Top, r.Right, r.Bottom });
            result.Screens.push_back(shown);
            // The frame, the face inside it, and the far corner.
            result.Facts.push_back("pixels: " + Hex(shown.At(r.Left, r.Top)) + " " + Hex(shown.At(r.Left + 1, r.Top + 1))
                + " " + Hex(shown.At(r.Right - 1, r.Bottom - 1)) + " " + Hex(shown.At(r.Right - 2, r.Bottom - 2)));
        }
        stage.MoveTo(TWindowStage::kRestingPoint.x, TWindowStage::kRestingPoint.y, {});
        stage.Pump();
    }
    HintWindowClass = savedClass;
    return result;
}

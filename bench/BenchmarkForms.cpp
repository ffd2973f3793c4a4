// A skinned frame-mode form of 800x600 with 20 skin objects on its frame: a full repaint (frame and client
// background), and one hover morph frame of one object; a popup menu of 30 items in the plain look: its opening
// with its first full paint, without the closing (the same menu again, new menus of the same captions, and new
// menus of captions never shown before), opening and closing together, a repaint of the open menu, and the
// highlight moving by one item (two items redrawn). Each against a BitBlt of the same area.
#include "bench/BenchDisplay.h"
#include "bench/BenchTiming.h"
#include "framework/controls/Forms.h"
#include "framework/controls/Menus.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/gdi/Raster.h"
#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinMenuItem.h"
#include "skin/menus/TspSkinPopupWindow.h"
#include "skin/testing/TFixtureSkin.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

double PerCall(int count, const std::function<void()>& run)
{
    return BestOf([&] {
        for (int i = 0; i < count; ++i)
            run();
    }) / count;
}

// A 200x100 frame picture with a 30-pixel caption band holding 20 morphing buttons of 8x20.
void WriteSkin(TFixtureSkin& fixture)
{
    fixture.SetPicture("picture", "frame.bmp", 200, 100, 3);
    fixture.AddActivePicture("active.bmp", 200, 100, 5);
    fixture.Set("FORMINFO",
        { { "lefttoppoint", "10,30" }, { "righttoppoint", "190,30" }, { "leftbottompoint", "10,95" },
            { "rightbottompoint", "190,95" }, { "clientrect", "5,30,195,95" }, { "stretcheffect", "1" },
            { "stretchtype", "stfull" }, { "leftstretch", "1" }, { "rightstretch", "1" }, { "topstretch", "1" },
            { "bottomstretch", "1" }, { "captionrect", "5,2,195,28" } });
    for (int i = 0; i < 20; ++i) {
        const std::string rect = std::to_string(i * 9) + ",4," + std::to_string(i * 9 + 8) + ",24";
        fixture.AddObject("button" + std::to_string(i), "button",
            { { "activepictureindex", "0" }, { "skinrect", rect }, { "activeskinrect", rect }, { "morphing", "1" } });
    }
}

// The 30 items of the menu benchmarks, every fifth with a shortcut; `suffix` ends every caption.
void AddMenuItems(TPopupMenu* menu, const std::string& suffix = "")
{
    for (int i = 0; i < 30; ++i) {
        auto* item = new TMenuItem(menu);
        item->SetCaption("Menu item number " + std::to_string(i + 1) + suffix);
        if (i % 5 == 0)
            item->SetShortCut(ShortCut('A' + i / 5, TShiftState { ssCtrl }));
        menu->Items()->Add(item);
    }
}

} // namespace

int main()
{
    THeadlessBackend backend;
    if (!InstallBenchDisplay(backend))
        return 1;
    {
        TFixtureSkin fixture;
        WriteSkin(fixture);
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(fixture.Write());
        auto* form = TCustomForm::Create<TForm>(Application);
        form->SetBorderStyle(bsSizeable);
        form->SetBounds(0, 0, 800, 600);
        auto* skinner = new TspSkinForm(form);
        skinner->SetSkinData(skin);
        form->Show();
        Application->ProcessMessages();
        const HWND window = form->Handle();

        TBitmap area, copy;
        area.SetSize(800, 600);
        copy.SetSize(800, 600);
        const double blit = PerCall(
            20, [&] { BitBlt(copy.Canvas()->Handle(), 0, 0, 800, 600, area.Canvas()->Handle(), 0, 0, SRCCOPY); });
        const double full = PerCall(20,
            [&] { RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); });
        Report("frame_form_800x600_20_objects_full_repaint", full, blit);

        // One morph step draws only its object: the peer copies just that object's area.
        TspActiveSkinObject* object = skinner->ObjectAt(0);
        object->Active = true;
        const TRect r = object->ObjectRect;
        const int w = r.Right - r.Left;
        const int h = r.Bottom - r.Top;
        const double morph = PerCall(200, [&] {
            object->SetMorphKf(0.4);
            object->DoMorphing();
        });
        const double objectBlit = PerCall(
            200, [&] { BitBlt(copy.Canvas()->Handle(), r.Left, r.Top, w, h, area.Canvas()->Handle(), 0, 0, SRCCOPY); });
        Report("frame_form_one_object_morph_frame", morph, objectBlit);

        // A popup menu of 30 items, opened through the form's menu chain.
        auto* menu = new TPopupMenu(form);
        AddMenuItems(menu);
        TspSkinMenu* chain = skinner->SkinMenu();
        chain->Popup(nullptr, nullptr, 0, TRect(10, 10, 10, 10), menu->Items(), false);
        Application->ProcessMessages();
        TspSkinPopupWindow* level = chain->Level(0);
        const HWND popup = level->Handle();
        const int pw = level->Width();
        const int ph = level->Height();
        HDC dc = GetDC(popup);
        const double menuBlit = PerCall(20, [&] { BitBlt(dc, 0, 0, pw, ph, area.Canvas()->Handle(), 0, 0, SRCCOPY); });
        // Opening: the level is built, placed, shown and painted for the first time (showing it erases it, and the
        // erase paints every item and the highlighted one), and the messages the opening posts are handled.
        auto open = [&](TPopupMenu* shown) {
            chain->Popup(nullptr, nullptr, 0, TRect(10, 10, 10, 10), shown->Items(), false);
            Application->ProcessMessages();
        };
        // Closing the level again, and handling what the closing posts (the levels' release).
        auto close = [&] {
            chain->CloseMenu(0);
            Application->ProcessMessages();
        };
        // The opening alone: each opening is timed on its own and the closing between two openings is not.
        auto openingsOnly = [&](const std::function<TPopupMenu*(int)>& menuAt) {
            double total = 0;
            for (int i = 0; i < 20; ++i) {
                TPopupMenu* shown = menuAt(i);
                const auto started = std::chrono::steady_clock::now();
                open(shown);
                total += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
                close();
            }
            return total / 20;
        };
        double menuOpen = 1e300;
        for (int round = 0; round < 7; ++round)
            menuOpen = std::min(menuOpen, openingsOnly([&](int) { return menu; }));
        Report("popup_menu_30_items_open_first_paint", menuOpen, menuBlit);
        const double menuOpenClose = PerCall(20, [&] {
            open(menu);
            close();
        });
        Report("popup_menu_30_items_open_close", menuOpenClose, menuBlit);
        // Menus whose items were never shown, each opened alone. Each round makes its menus before the clock
        // starts and frees them after it stopped. With the same 30 captions the items find the looks that the
        // first menu's items left; with captions never shown before every item is measured and drawn.
        int made = 0;
        auto openNew = [&](bool newCaptions) {
            double best = 1e300;
            for (int round = 0; round < 7; ++round) {
                std::vector<TPopupMenu*> menus;
                for (int i = 0; i < 20; ++i) {
                    menus.push_back(new TPopupMenu(form));
                    AddMenuItems(menus.back(), newCaptions ? " (" + std::to_string(100 + made++) + ")" : "");
                }
                best = std::min(best, openingsOnly([&](int i) { return menus[i]; }));
                for (TPopupMenu* shown : menus)
                    delete shown;
            }
            return best;
        };
        Report("popup_menu_30_new_items_open_first_paint", openNew(false), menuBlit);
        // Those captions make a wider menu: the peer copies an area of its size.
        auto* wider = new TPopupMenu(form);
        AddMenuItems(wider, " (100)");
        chain->Popup(nullptr, nullptr, 0, TRect(10, 10, 10, 10), wider->Items(), false);
        Application->ProcessMessages();
        const HWND widerWindow = chain->Level(0)->Handle();
        const int ww = chain->Level(0)->Width();
        const int wh = chain->Level(0)->Height();
        HDC widerDc = GetDC(widerWindow);
        const double widerBlit
            = PerCall(20, [&] { BitBlt(widerDc, 0, 0, ww, wh, area.Canvas()->Handle(), 0, 0, SRCCOPY); });
        ReleaseDC(widerWindow, widerDc);
        chain->CloseMenu(0);
        Application->ProcessMessages();
        Report("popup_menu_30_new_captions_open_first_paint", openNew(true), widerBlit);
        chain->Popup(nullptr, nullptr, 0, TRect(10, 10, 10, 10), menu->Items(), false);
        Application->ProcessMessages();
        level = chain->Level(0);
        ReleaseDC(popup, dc);
        dc = GetDC(level->Handle());
        const double menuPaint = PerCall(20, [&] { level->PaintMenu(dc); });
        Report("popup_menu_30_items_repaint", menuPaint, menuBlit);

        // Down and up again: each key redraws the item left and the item entered.
        bool down = true;
        const double highlight = PerCall(200, [&] {
            level->PopupKeyDown(down ? VK_DOWN : VK_UP);
            down = !down;
        });
        const TRect item = level->ItemList[0]->ObjectRect;
        const int iw = item.Right - item.Left;
        const int ih = item.Bottom - item.Top;
        const double itemsBlit = PerCall(200, [&] {
            BitBlt(dc, item.Left, item.Top, iw, ih, area.Canvas()->Handle(), 0, 0, SRCCOPY);
            BitBlt(dc, item.Left, item.Bottom, iw, ih, area.Canvas()->Handle(), 0, 0, SRCCOPY);
        });
        Report("popup_menu_highlight_move", highlight, itemsBlit);
        ReleaseDC(level->Handle(), dc);
        chain->Hide();
    }
    FinalizeForms();
    backend.Uninstall();
    return 0;
}

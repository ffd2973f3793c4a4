// The skinned form's own window states on the headless display: minimized dialogs in their slots, maximizing
// over the window layer (and the window manager's maximizing), the size limits, the first placement, snapping
// while the caption is dragged, and rolling up.
#include "framework/controls/Menus.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/graphics/TBitmap.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinObjects.h"
#include "skin/forms/TspSkinForm.h"
#include "platform/shell/THeadlessTray.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinPopupMenu.h"
#include "skin/menus/TspTrayIcon.h"
#include "skin/menus/TspSkinPopupWindow.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

namespace {

using TEvents = std::vector<std::string>;

bool Same(const TRect& r, int left, int top, int right, int bottom)
{
    return r.Left == left && r.Top == top && r.Right == right && r.Bottom == bottom;
}

std::string Text(const TRect& r)
{
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + ","
        + std::to_string(r.Bottom);
}

class TspSkinFormStatesTest : public ControlsTest {
protected:
    void Monitor(RECT work, RECT monitor = RECT { 0, 0, 1024, 768 })
    {
        Backend.SetMonitors({ TMonitorLayout { monitor, work, true } });
    }

    // A 100 x 60 frame picture with a 20 px caption band and 5 px borders.
    TspSkinData* FrameSkin(TFixtureSkin& fixture, const char* clientRect = "5,20,95,55", int formMinWidth = 0)
    {
        fixture.SetPicture("picture", "frame.bmp", 100, 60, 3);
        fixture.Set("FORMINFO",
            { { "lefttoppoint", "10,20" }, { "righttoppoint", "90,20" }, { "leftbottompoint", "10,55" },
                { "rightbottompoint", "90,55" }, { "clientrect", clientRect }, { "borderwidth", "3" },
                { "formminwidth", std::to_string(formMinWidth) } });
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(fixture.Write());
        EXPECT_FALSE(skin->Empty);
        return skin;
    }

    // A shown frame-mode dialog at (x, y), 200 x 160, that notes its state events.
    TspSkinForm* Dialog(TspSkinData* skin, int x = 100, int y = 100)
    {
        TForm* form = NewForm(x, y, 200, 160, bsSizeable);
        auto* skinner = new TspSkinForm(form);
        skinner->SetSkinData(skin);
        skinner->OnMinimize = [this](TObject*) { Events.push_back("minimize"); };
        skinner->OnMaximize = [this](TObject*) { Events.push_back("maximize"); };
        skinner->OnRestore = [this](TObject*) { Events.push_back("restore"); };
        skinner->OnChangeRollUpState = [this](TObject*) { Events.push_back("rollup"); };
        form->Show();
        Pump();
        return skinner;
    }

    TEvents Events;
};

// ---- Minimizing -------------------------------------------------------------------------------------------------

TEST_F(TspSkinFormStatesTest, MinimizedDialogsLineUpFromTheWorkAreasBottomLeftAndRowsGoUpwards)
{
    // 300 x 50 of work area: two slots of 130 x 25 in a row, two rows.
    Monitor(RECT { 20, 0, 320, 50 });
    const TPoint slots[] = { { 20, 25 }, { 150, 25 }, { 20, 0 }, { 150, 0 }, { 20, 25 } };
    std::vector<TspSkinForm*> dialogs;
    for (const TPoint& slot : slots) {
        TspSkinForm* dialog = Dialog(nullptr);
        dialog->SetWindowState(wsMinimized);
        const TRect r = dialog->Form()->BoundsRect();
        EXPECT_TRUE(Same(r, slot.X, slot.Y, slot.X + 130, slot.Y + 25)) << Text(r);
        EXPECT_EQ(dialog->WindowState(), wsMinimized);
        dialogs.push_back(dialog);
    }
    EXPECT_EQ(Events, TEvents(5, "minimize"));
    // Restoring brings back the bounds from before.
    dialogs[0]->SetWindowState(wsNormal);
    EXPECT_TRUE(Same(dialogs[0]->Form()->BoundsRect(), 100, 100, 300, 260));
    EXPECT_TRUE(SPUtils::IsNullRect(dialogs[0]->RestoreBounds()));
}

TEST_F(TspSkinFormStatesTest, AFrameWithoutHeightStillFindsASlot)
{
    Monitor(RECT { 0, 0, 1024, 768 });
    TFixtureSkin fixture;
    // The client rectangle is the whole picture: the frame has no height, the minimized form none either.
    TspSkinData* skin = FrameSkin(fixture, "0,0,100,60");
    TspSkinForm* dialog = Dialog(skin);
    ASSERT_EQ(dialog->GetMinHeight(), 0);
    dialog->SetWindowState(wsMinimized);
    EXPECT_EQ(dialog->Form()->Left(), 0);
    EXPECT_EQ(dialog->WindowState(), wsMinimized);
}

TEST_F(TspSkinFormStatesTest, TheMainFormMinimizesTheApplicationAndKeepsItsOwnState)
{
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBounds(100, 100, 200, 160);
    auto* skinner = new TspSkinForm(main);
    skinner->OnMinimize = [this](TObject*) { Events.push_back("minimize"); };
    main->Show();
    Pump();
    skinner->SetWindowState(wsMinimized);
    EXPECT_TRUE(IsIconic(main->Handle()));
    EXPECT_TRUE(Backend.Native(main->Handle())->Minimized) << "the display iconifies it";
    EXPECT_EQ(skinner->WindowState(), wsNormal);
    EXPECT_EQ(Events, TEvents { "minimize" });
    // The window manager gives it back: the window layer restores it as it was.
    Backend.WindowManagerMinimize(main->Handle(), false);
    Pump();
    EXPECT_FALSE(IsIconic(main->Handle()));
    EXPECT_EQ(main->Left(), 100);
}

// ---- Maximizing -------------------------------------------------------------------------------------------------

TEST_F(TspSkinFormStatesTest, MaximizingTakesTheWorkAreaThroughTheWindowLayerAndRestoringGivesTheBoundsBack)
{
    struct TCase {
        RECT Work;
        bool FullScreen;
        RECT Expected;
        const char* What;
    };
    const TCase cases[] = {
        { { 0, 0, 1024, 768 }, false, { 1, 1, 1023, 767 }, "a work area as large as the screen leaves 1 px" },
        { { 0, 0, 1024, 768 }, true, { 0, 0, 1024, 768 }, "full screen covers it" },
        { { 0, 28, 1024, 768 }, false, { 0, 28, 1024, 768 }, "a panel's work area is taken as it is" },
        { { 0, 28, 1024, 768 }, true, { 0, 0, 1024, 768 }, "full screen ignores the panel" },
    };
    for (const TCase& c : cases) {
        Monitor(c.Work);
        Events.clear();
        TspSkinForm* dialog = Dialog(nullptr);
        dialog->MaximizeOnFullScreen = c.FullScreen;
        const HWND window = dialog->Form()->Handle();
        dialog->SetWindowState(wsMaximized);
        EXPECT_TRUE(Same(dialog->Form()->BoundsRect(), c.Expected.left, c.Expected.top, c.Expected.right,
            c.Expected.bottom))
            << c.What << ": " << Text(dialog->Form()->BoundsRect());
        EXPECT_TRUE(IsZoomed(window)) << c.What;
        EXPECT_TRUE(Backend.Native(window)->Maximized) << c.What;
        dialog->SetWindowState(wsNormal);
        EXPECT_TRUE(Same(dialog->Form()->BoundsRect(), 100, 100, 300, 260)) << c.What;
        EXPECT_FALSE(IsZoomed(window));
        EXPECT_FALSE(Backend.Native(window)->Maximized);
        EXPECT_EQ(Events, (TEvents { "maximize", "restore" })) << c.What;
        delete dialog->Form();
    }
}

TEST_F(TspSkinFormStatesTest, SwitchingTheSkinningOfAMaximizedFormKeepsItMaximizedInTheNewState)
{
    // Skinned, the component maximizes the form; not skinned, the framework does. Either way the form comes out
    // of the switch maximized, shown, and restores to its old bounds.
    Monitor(RECT { 0, 28, 1024, 768 });
    TFixtureSkin fixture;
    TspSkinData* skin = FrameSkin(fixture);
    TspSkinForm* dialog = Dialog(skin);
    TCustomForm* form = dialog->Form();
    dialog->SetWindowState(wsMaximized);
    ASSERT_TRUE(Same(form->BoundsRect(), 0, 28, 1024, 768));

    skin->SetSkinnableForm(false);
    Pump();
    EXPECT_FALSE(dialog->GetSkinnableForm());
    EXPECT_EQ(dialog->WindowState(), wsNormal);
    EXPECT_EQ(form->WindowState(), wsMaximized);
    EXPECT_TRUE(form->Visible());

    skin->SetSkinnableForm(true);
    Pump();
    EXPECT_TRUE(dialog->GetSkinnableForm());
    EXPECT_EQ(dialog->WindowState(), wsMaximized);
    EXPECT_TRUE(Same(form->BoundsRect(), 0, 28, 1024, 768)) << Text(form->BoundsRect());
    EXPECT_TRUE(form->Visible());
    dialog->SetWindowState(wsNormal);
    EXPECT_TRUE(Same(form->BoundsRect(), 100, 100, 300, 260)) << Text(form->BoundsRect());
}

TEST_F(TspSkinFormStatesTest, TheWindowManagersMaximizeAndRestoreBecomeTheFormsOwn)
{
    Monitor(RECT { 0, 28, 1024, 768 });
    TspSkinForm* dialog = Dialog(nullptr);
    const HWND window = dialog->Form()->Handle();
    Backend.WindowManagerMaximize(window, true);
    Pump();
    EXPECT_EQ(dialog->WindowState(), wsMaximized);
    EXPECT_TRUE(Same(dialog->Form()->BoundsRect(), 0, 28, 1024, 768));
    Backend.WindowManagerMaximize(window, false);
    Pump();
    EXPECT_EQ(dialog->WindowState(), wsNormal);
    EXPECT_TRUE(Same(dialog->Form()->BoundsRect(), 100, 100, 300, 260));
    EXPECT_EQ(Events, (TEvents { "maximize", "restore" }));
}

TEST_F(TspSkinFormStatesTest, ACaptionDoubleClickMaximizesAndRestores)
{
    Monitor(RECT { 0, 28, 1024, 768 });
    TspSkinForm* dialog = Dialog(nullptr);
    auto doubleClick = [this](int x, int y) {
        Backend.AdvanceClock(1000);
        Backend.Click(x, y);
        Backend.AdvanceClock(50);
        Backend.Click(x, y);
        Pump();
    };
    doubleClick(160, 110);
    EXPECT_EQ(dialog->WindowState(), wsMaximized);
    doubleClick(100, 38);
    EXPECT_EQ(dialog->WindowState(), wsNormal);
    EXPECT_EQ(dialog->Form()->Left(), 100);
}

// ---- Size limits and placement ----------------------------------------------------------------------------------

TEST_F(TspSkinFormStatesTest, TheMinimumWidthComesFromTheSkinOrTheDefaultFrame)
{
    struct TCase {
        bool Skinned;
        int FormMinWidth, MinWidth, Expected;
    };
    const TCase cases[] = {
        { false, 0, 0, 130 },
        { false, 0, 150, 150 },
        { true, 0, 0, 100 }, // the picture's width
        { true, 120, 0, 120 },
        { true, 120, 160, 160 }, // a picture narrower than MinWidth gives way
    };
    for (const TCase& c : cases) {
        TFixtureSkin fixture;
        TspSkinData* skin = c.Skinned ? FrameSkin(fixture, "5,20,95,55", c.FormMinWidth) : nullptr;
        TspSkinForm* dialog = Dialog(skin);
        dialog->MinWidth = c.MinWidth;
        EXPECT_EQ(dialog->GetMinWidth(), c.Expected) << c.Skinned << " " << c.FormMinWidth << " " << c.MinWidth;
        EXPECT_EQ(dialog->GetMinHeight(), c.Skinned ? 60 - 35 : 19 + 6);
        delete dialog->Form();
    }
}

TEST_F(TspSkinFormStatesTest, TheFirstShowingPlacesTheFormOnItsMonitor)
{
    Monitor(RECT { 0, 0, 1024, 740 });
    struct TCase {
        TspPositionInMonitor Position;
        int Left, Top;
    };
    for (const TCase& c : { TCase { sppDefault, 30, 40 }, TCase { sppScreenCenter, 412, 304 },
             TCase { sppDesktopCenter, 412, 290 } }) {
        TForm* form = NewForm(30, 40, 200, 160, bsSizeable);
        auto* skinner = new TspSkinForm(form);
        skinner->PositionInMonitor = c.Position;
        form->Show();
        Pump();
        EXPECT_EQ(form->Left(), c.Left) << int(c.Position);
        EXPECT_EQ(form->Top(), c.Top) << int(c.Position);
        // Only the first showing.
        form->Hide();
        form->SetBounds(30, 40, 200, 160);
        form->Show();
        Pump();
        EXPECT_EQ(form->Left(), 30);
        delete form;
    }
}

// ---- Snapping ---------------------------------------------------------------------------------------------------

TEST_F(TspSkinFormStatesTest, DraggingNearTheWorkAreasEdgeSnapsUntilTheCursorMovesOnByMoreThanTheDistance)
{
    Monitor(RECT { 0, 0, 1024, 768 });
    TspSkinForm* dialog = Dialog(nullptr);
    dialog->Magnetic = true;
    TCustomForm* form = dialog->Form();
    // A drag of the caption to 8 px from the left edge ends on the edge.
    Backend.AdvanceClock(1000);
    Backend.MouseMove(160, 110);
    Backend.MouseDown();
    Backend.MouseMove(68, 110);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(form->Left(), 0);
    EXPECT_EQ(form->Top(), 100);
    // Step by step, as the move loop proposes places while the cursor goes on.
    struct TStep {
        int CursorX, Proposed, Left;
        const char* What;
    };
    const TStep steps[] = {
        { 68, 8, 0, "8 px from the edge: on the edge" },
        { 66, 6, 0, "the cursor moved on by 2: held" },
        { 90, 30, 22, "moved on by 22: released, following the cursor from the edge" },
        { 95, 35, 35, "free again" },
    };
    dialog->SnappedLeft = false;
    for (const TStep& step : steps) {
        Backend.MouseMove(step.CursorX, 110);
        Pump();
        int left = step.Proposed;
        int top = 100;
        dialog->DoMagnetic(left, top, 200, 160);
        EXPECT_EQ(left, step.Left) << step.What;
        EXPECT_EQ(top, 100) << step.What;
    }
    // The right edge, with the left one already moved.
    int left = 1024 - 200 - 4;
    int top = 300;
    dialog->DoMagnetic(left, top, 200, 160);
    EXPECT_EQ(left, 1024 - 200);
}

// ---- Roll-up ----------------------------------------------------------------------------------------------------

TEST_F(TspSkinFormStatesTest, AFrameFormRollsUpToItsFrameAndBackToItsHeight)
{
    Monitor(RECT { 0, 0, 1024, 768 });
    TspSkinForm* dialog = Dialog(nullptr);
    TCustomForm* form = dialog->Form();
    dialog->SetRollUpState(true);
    EXPECT_EQ(form->Height(), 25);
    EXPECT_TRUE(dialog->RolledUp());
    // Rolling up again keeps the height to come back to.
    dialog->SetRollUpState(true);
    EXPECT_EQ(dialog->RollUpRestoreHeight, 160);
    dialog->SetRollUpState(false);
    EXPECT_EQ(form->Height(), 160);
    EXPECT_EQ(Events, (TEvents { "rollup", "rollup", "rollup" }));
    // With a client height of its own, unrolling gives that.
    dialog->ClientHeight = 50;
    dialog->SetRollUpState(true);
    dialog->SetRollUpState(false);
    EXPECT_EQ(form->ClientHeight(), 50);
    // Without biRollUp nothing happens.
    dialog->SetBorderIcons(TspBorderIcons { TspBorderIcon::biSystemMenu });
    dialog->SetRollUpState(true);
    EXPECT_FALSE(dialog->RolledUp());
}

TEST_F(TspSkinFormStatesTest, RestoringAfterARollUpWhileMaximizedUnrollsButARollUpBeforeMaximizingStays)
{
    Monitor(RECT { 0, 28, 1024, 768 });
    struct TCase {
        bool RollUpFirst;
        bool RolledUpAfter;
        int Height;
    };
    for (const TCase& c : { TCase { false, false, 160 }, TCase { true, true, 25 } }) {
        TspSkinForm* dialog = Dialog(nullptr);
        if (c.RollUpFirst) {
            dialog->SetRollUpState(true);
            dialog->SetWindowState(wsMaximized);
        } else {
            dialog->SetWindowState(wsMaximized);
            dialog->SetRollUpState(true);
            EXPECT_TRUE(dialog->RolledUpWhileMaximized);
        }
        dialog->SetWindowState(wsNormal);
        EXPECT_EQ(dialog->RolledUp(), c.RolledUpAfter) << c.RollUpFirst;
        EXPECT_EQ(dialog->Form()->Height(), c.Height) << c.RollUpFirst;
        EXPECT_EQ(dialog->Form()->Left(), 100);
        delete dialog->Form();
    }
}

TEST_F(TspSkinFormStatesTest, APictureFormWithoutARollUpPictureStaysButTellsOfTheRollUp)
{
    TFixtureSkin fixture;
    fixture.SetPicture("picture", "face.bmp", 100, 80, 3);
    fixture.Set("FORMINFO", { { "clientrect", "10,10,90,70" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    TForm* form = NewForm(100, 100, 100, 80);
    auto* skinner = new TspSkinForm(form);
    skinner->SetSupportNCArea(false);
    skinner->SetSkinData(skin);
    skinner->OnChangeRollUpState = [this](TObject*) { Events.push_back("rollup"); };
    form->Show();
    Pump();
    const TRect before = form->BoundsRect();
    skinner->SetRollUpState(true);
    EXPECT_FALSE(skinner->RolledUp());
    EXPECT_TRUE(Same(form->BoundsRect(), before.Left, before.Top, before.Right, before.Bottom));
    EXPECT_EQ(Events, TEvents { "rollup" });
}

TEST_F(TspSkinFormStatesTest, ARolledUpPictureFormStaysConsistentWhenItsSkinChanges)
{
    // A picture form rolled up with one skin, then given a skin without a roll-up picture, or with one of another
    // height: without, the form comes back at the new picture's size with its controls; with, it stays rolled
    // up at the new height and unrolling brings everything back.
    struct TCase {
        int NewRollUpHeight; // 0: the new skin has no roll-up picture
        bool RolledUp;
        int Height;
    };
    for (const TCase& c : { TCase { 0, false, 90 }, TCase { 30, true, 30 } }) {
        TFixtureSkin first;
        first.SetPicture("picture", "face.bmp", 100, 80, 3);
        first.SetPicture("rolluppicture", "rollup.bmp", 100, 20, 4);
        first.Set("FORMINFO", { { "clientrect", "10,10,90,70" } });
        TFixtureSkin second;
        second.SetPicture("picture", "face.bmp", 120, 90, 5);
        if (c.NewRollUpHeight)
            second.SetPicture("rolluppicture", "rollup.bmp", 120, c.NewRollUpHeight, 6);
        second.Set("FORMINFO", { { "clientrect", "10,10,110,80" } });
        auto* firstSkin = new TspSkinData(Application);
        firstSkin->LoadFromFile(first.Write());
        auto* secondSkin = new TspSkinData(Application);
        secondSkin->LoadFromFile(second.Write());
        TForm* form = NewForm(100, 100, 100, 80);
        auto* panel = new TPanel(form);
        panel->SetParent(form);
        auto* skinner = new TspSkinForm(form);
        skinner->SetSupportNCArea(false);
        skinner->SetSkinData(firstSkin);
        form->Show();
        Pump();
        skinner->SetRollUpState(true);
        ASSERT_TRUE(skinner->RolledUp());
        EXPECT_EQ(form->Height(), 20);
        EXPECT_FALSE(panel->Visible());

        skinner->SetSkinData(secondSkin);
        EXPECT_EQ(skinner->RolledUp(), c.RolledUp) << c.NewRollUpHeight;
        EXPECT_EQ(form->Height(), c.Height) << c.NewRollUpHeight;
        EXPECT_EQ(panel->Visible(), !c.RolledUp) << c.NewRollUpHeight;
        skinner->SetRollUpState(false);
        EXPECT_FALSE(skinner->RolledUp());
        EXPECT_TRUE(panel->Visible()) << c.NewRollUpHeight;
        EXPECT_EQ(form->ClientWidth(), 120);
        EXPECT_EQ(form->ClientHeight(), 90);
        // Unrolling what is not rolled up keeps the size.
        skinner->SetRollUpState(false);
        EXPECT_EQ(form->ClientHeight(), 90);
        delete form;
        delete firstSkin;
        delete secondSkin;
    }
}

// ---- The system menu --------------------------------------------------------------------------------------------

std::vector<std::string> Captions(TMenuItem* items)
{
    std::vector<std::string> captions;
    for (int i = 0; i < items->Count(); ++i)
        captions.push_back(items->Items(i)->Caption());
    return captions;
}

TEST_F(TspSkinFormStatesTest, TheSystemMenuFollowsTheWindowStateRollUpAndBorderIcons)
{
    Monitor(RECT { 0, 0, 1024, 768 });
    using TCaptions = std::vector<std::string>;
    struct TCase {
        TWindowState State;
        bool RolledUp;
        bool OnlySystemMenu;
        TCaptions Expected;
    };
    const TCase cases[] = {
        { wsNormal, false, false, { "Mi&nimize", "Ma&ximize", "Ro&llUp", "-", "&Close" } },
        { wsMaximized, false, false, { "Mi&nimize", "&Restore", "Ro&llUp", "-", "&Close" } },
        { wsMinimized, false, false, { "Ma&ximize", "&Restore", "-", "&Close" } },
        { wsNormal, true, false, { "Mi&nimize", "Ma&ximize", "&Restore", "-", "&Close" } },
        { wsNormal, false, true, { "&Close" } },
    };
    for (const TCase& c : cases) {
        TspSkinForm* dialog = Dialog(nullptr);
        if (c.OnlySystemMenu)
            dialog->SetBorderIcons(TspBorderIcons { TspBorderIcon::biSystemMenu });
        dialog->SetWindowState(c.State);
        if (c.RolledUp)
            dialog->SetRollUpState(true);
        TMenuItem* items = dialog->GetSystemMenu();
        EXPECT_EQ(Captions(items), c.Expected) << int(c.State) << c.RolledUp << c.OnlySystemMenu;
        EXPECT_EQ(ShortCutToText(items->Items(items->Count() - 1)->ShortCut()), "Alt+F4");
        delete dialog->Form();
    }
    // The commands run the window states.
    TspSkinForm* dialog = Dialog(nullptr);
    dialog->GetSystemMenu()->Items(1)->Click();
    EXPECT_EQ(dialog->WindowState(), wsMaximized);
    dialog->GetSystemMenu()->Items(1)->Click();
    EXPECT_EQ(dialog->WindowState(), wsNormal);
    dialog->GetSystemMenu()->Items(2)->Click();
    EXPECT_TRUE(dialog->RolledUp());
}

TEST_F(TspSkinFormStatesTest, TheApplicationsSystemMenuGetsTheStandardCommandsOnceAroundItsOwn)
{
    TspSkinForm* dialog = Dialog(nullptr);
    auto* menu = new TPopupMenu(dialog->Form());
    auto* own = new TMenuItem(nullptr);
    own->SetCaption("About");
    menu->Items()->Add(own);
    dialog->SetSystemMenu(menu);
    const std::vector<std::string> expected { "Mi&nimize", "Ma&ximize", "Ro&llUp", "About", "&Close" };
    EXPECT_EQ(Captions(dialog->GetSystemMenu()), expected);
    EXPECT_EQ(Captions(dialog->GetSystemMenu()), expected) << "shown again: nothing twice";
    dialog->UseDefaultSysMenu = false;
    delete menu;
    EXPECT_EQ(dialog->SystemMenu(), nullptr);
    EXPECT_EQ(Captions(dialog->GetSystemMenu()).back(), "&Close");
}

// The application's own message handler, told apart from the form's hook by its type.
struct TMarkerHandler {
    void operator()(MSG&, bool&) const { }
};

TEST_F(TspSkinFormStatesTest, AltSpaceOpensTheSystemMenuUnderItsButtonAlsoOverAnOpenMenuAndTheHandlerComesBack)
{
    Monitor(RECT { 0, 0, 1024, 768 });
    TspSkinForm* dialog = Dialog(nullptr);
    auto altSpace = [this] {
        Backend.KeyDown(VK_MENU);
        Backend.Key(VK_SPACE);
        Backend.KeyUp(VK_MENU);
        Pump();
    };
    Application->OnMessage = TMarkerHandler {};
    // Another menu of the form is open first.
    auto* other = new TPopupMenu(dialog->Form());
    auto* item = new TMenuItem(nullptr);
    item->SetCaption("Other");
    other->Items()->Add(item);
    dialog->PopupSkinMenu(other->Items(), TPoint { 400, 300 });
    Pump();
    ASSERT_TRUE(dialog->SkinMenu()->Visible());
    altSpace();
    ASSERT_TRUE(dialog->SkinMenu()->Visible());
    TspSkinPopupWindow* level = dialog->SkinMenu()->LastLevel();
    ASSERT_NE(level, nullptr);
    const TRect button = dialog->ObjectAt(dialog->GetIndex("sysmenubutton"))->ObjectRect;
    EXPECT_EQ(level->Left(), 100 + button.Left) << "under the system-menu button";
    EXPECT_EQ(level->Top(), 100 + button.Bottom);
    Backend.Key(VK_ESCAPE);
    Pump();
    EXPECT_FALSE(dialog->SkinMenu()->Visible());
    EXPECT_FALSE(dialog->SkinMenuOpened);
    EXPECT_NE(Application->OnMessage.target<TMarkerHandler>(), nullptr) << "the application's handler is back";
    // A right press on the caption opens it at the cursor.
    Backend.AdvanceClock(1000);
    Backend.Click(200, 110, TRawButton::Right);
    Pump();
    ASSERT_TRUE(dialog->SkinMenu()->Visible());
    EXPECT_EQ(dialog->SkinMenu()->LastLevel()->Left(), 200);
    Backend.Key(VK_ESCAPE);
    Pump();
    // Without an enabled system-menu button Alt+Space opens nothing.
    dialog->HideCaptionButtons = true;
    dialog->CheckObjects();
    altSpace();
    EXPECT_FALSE(dialog->SkinMenu()->Visible());
    EXPECT_NE(Application->OnMessage.target<TMarkerHandler>(), nullptr);
    Application->OnMessage = nullptr;
}

// ---- The tray and the status bar --------------------------------------------------------------------------------

TEST_F(TspSkinFormStatesTest, TheMainFormMinimizesIntoItsTrayIconAndComesBackOnADoubleClick)
{
    THeadlessTray tray;
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetBounds(100, 100, 200, 160);
    auto* skinner = new TspSkinForm(main);
    skinner->OnMinimizeToTray = [this](TObject*) { Events.push_back("totray"); };
    skinner->OnRestoreFromTray = [this](TObject*) { Events.push_back("fromtray"); };
    main->Show();
    Pump();
    skinner->MinimizeToTray();
    EXPECT_TRUE(Events.empty()) << "without a tray icon nothing happens";
    EXPECT_FALSE(IsIconic(main->Handle()));
    auto* icon = new TspTrayIcon(main);
    icon->SetIconVisible(true);
    skinner->SetTrayIcon(icon);
    EXPECT_FALSE(icon->IconVisible()) << "hidden while the form shows";
    ASSERT_NE(icon->PopupMenu(), nullptr);
    EXPECT_EQ(Captions(icon->PopupMenu()->Items()), (std::vector<std::string> { "&Restore", "-", "&Close" }));
    // The system menu's minimize goes to the tray when the form always minimizes there.
    skinner->SetAlwaysMinimizeToTray(true);
    skinner->GetSystemMenu()->Items(0)->Click();
    Pump();
    EXPECT_TRUE(IsIconic(main->Handle()));
    EXPECT_TRUE(icon->MinimizeToTray);
    icon->OnDblClick(icon);
    Pump();
    EXPECT_FALSE(IsIconic(main->Handle()));
    EXPECT_FALSE(icon->MinimizeToTray);
    EXPECT_FALSE(icon->IconVisible());
    EXPECT_EQ(Events, (TEvents { "totray", "fromtray" }));
    // With AlwaysShowInTray the icon stays.
    skinner->AlwaysShowInTray = true;
    skinner->MinimizeToTray();
    icon->PopupMenu()->Items()->Items(0)->Click();
    Pump();
    EXPECT_FALSE(IsIconic(main->Handle()));
}

TEST_F(TspSkinFormStatesTest, TheStatusBarsGripHidesWhileTheFormIsMaximized)
{
    Monitor(RECT { 0, 0, 1024, 768 });
    TspSkinForm* dialog = Dialog(nullptr);
    auto* bar = new TspSkinStatusBar(dialog->Form());
    bar->SetParent(dialog->Form());
    bar->SetSizeGrip(true);
    dialog->SetStatusBar(bar);
    dialog->SetWindowState(wsMaximized);
    EXPECT_FALSE(bar->ShowGrip());
    dialog->SetWindowState(wsNormal);
    EXPECT_TRUE(bar->ShowGrip());
    delete bar;
    EXPECT_EQ(dialog->StatusBar(), nullptr);
    dialog->SetWindowState(wsMaximized);
}

} // namespace

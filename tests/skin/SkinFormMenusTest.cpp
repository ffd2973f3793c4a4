// The main menu of a skinned frame form drawn as item objects, on the headless display: the keyboard mode (F10,
// a lone Alt, the arrows, Return, Down, Escape), accelerators and shortcuts, the items made again from the menu,
// menus linked to buttons and popups opened through the form, each checked with the order of the form's menu
// events and the items' clicks.
#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "platform/win/VirtualKeys.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/SkinMainMenuItemObject.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/forms/TspSkinMainMenuBar.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinMenuItem.h"
#include "skin/menus/TspSkinPopupMenu.h"
#include "skin/menus/TspSkinPopupWindow.h"
#include "skin/testing/TFixtureSkin.h"
#include "tests/framework/ControlsTestSupport.h"

namespace {

using TEvents = std::vector<std::string>;

// The application's own message handler, recognisable by its type.
struct TAppHandler {
    void operator()(MSG&, bool&) const { }
};

class SkinFormMenusTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        // A 200 x 100 frame: the caption band, the main-menu band below it from y 20 to 40, then the client.
        Fixture.SetPicture("picture", "frame.bmp", 200, 100, 3);
        Fixture.AddActivePicture("active.bmp", 200, 60, 5);
        Fixture.Set("FORMINFO",
            { { "lefttoppoint", "10,40" }, { "righttoppoint", "190,40" }, { "leftbottompoint", "10,95" },
                { "rightbottompoint", "190,95" }, { "clientrect", "5,40,195,95" }, { "borderwidth", "0" },
                { "captionrect", "5,2,195,18" }, { "mainmenurect", "5,20,195,40" }, { "formminwidth", "50" } });
        Fixture.AddObject("MAINMENUITEM", "mainmenuitem",
            { { "activepictureindex", "0" }, { "skinrect", "0,0,40,20" }, { "activeskinrect", "40,0,80,20" },
                { "downrect", "80,0,120,20" }, { "textrect", "10,2,30,18" }, { "fontcolor", "255" } });
        Fixture.AddObject("menubutton", "button",
            { { "activepictureindex", "0" }, { "skinrect", "150,2,170,18" }, { "activeskinrect", "150,2,170,18" },
                { "downrect", "170,2,190,18" } });
        Fixture.AddObject("label", "label", { { "skinrect", "5,2,60,18" }, { "textvalue", "Menus" } });
        Skin = new TspSkinData(Application);
        Skin->LoadFromFile(Fixture.Write());
        ASSERT_FALSE(Skin->Empty);

        Menu = new TMainMenu(Application);
        TMenuItem* file = Add(Menu->Items(), "File", "&File");
        Add(file, "Open", "&Open")->SetShortCut(TextToShortCut("Ctrl+O"));
        Add(file, "Save", "&Save");
        Add(Add(file, "Recent", "&Recent"), "One", "&One");
        TMenuItem* edit = Add(Menu->Items(), "Edit", "&Edit");
        Add(edit, "Cut", "Cu&t");
        edit->SetEnabled(false);
        TMenuItem* view = Add(Menu->Items(), "View", "&View");
        Add(view, "Zoom", "&Zoom");
        TMenuItem* hidden = Add(Menu->Items(), "Hidden", "H&idden");
        Add(hidden, "Inside", "Inside");
        hidden->SetVisible(false);
        Add(Add(Menu->Items(), "Setup", "&Setup"), "Options", "&Options");
        Add(Menu->Items(), "Help", "He&lp");

        Form = NewForm(100, 100, 400, 300, bsSizeable);
        Skinner = new TspSkinForm(Form);
        Skinner->OnMainMenuEnter = [this](TObject*) { Events.push_back("enter"); };
        Skinner->OnMainMenuExit = [this](TObject*) { Events.push_back("exit"); };
        Skinner->OnSkinMenuOpen = [this](TObject*) { Events.push_back("open"); };
        Skinner->OnSkinMenuClose = [this](TObject*) { Events.push_back("close"); };
        Skinner->SetSkinData(Skin);
        Skinner->SetMainMenu(Menu);
        Application->OnMessage = TAppHandler {};
        Form->Show();
        Pump();
        Events.clear();
    }

    void TearDown() override
    {
        Application->OnMessage = nullptr;
        ControlsTest::TearDown();
    }

    TMenuItem* Add(TMenuItem* parent, const std::string& name, const std::string& caption)
    {
        auto* item = new TMenuItem(Menu);
        item->SetName(name);
        item->SetCaption(caption);
        item->OnClick = [this, name](TObject*) { Events.push_back("click:" + name); };
        parent->Add(item);
        return item;
    }

    std::vector<TspSkinMainMenuItem*> Items() const
    {
        std::vector<TspSkinMainMenuItem*> items;
        for (auto& object : Skinner->SkinObjects)
            if (auto* item = dynamic_cast<TspSkinMainMenuItem*>(object.get()))
                items.push_back(item);
        return items;
    }

    TspSkinMainMenuItem* Item(const std::string& name) const
    {
        for (TspSkinMainMenuItem* item : Items())
            if (item->IDName == name)
                return item;
        return nullptr;
    }

    // The highlighted and the pressed main-menu item ("" for none).
    std::string Highlighted() const
    {
        for (TspSkinMainMenuItem* item : Items())
            if (item->Active)
                return item->IDName;
        return "";
    }
    std::string Pressed() const
    {
        for (TspSkinMainMenuItem* item : Items())
            if (item->Down)
                return item->IDName;
        return "";
    }

    TspSkinMenu* Chain() const { return Skinner->SkinMenu(); }
    int Levels() const { return Chain()->LevelCount(); }
    // The name of the menu item shown first on a level, or of the level's highlighted item.
    std::string FirstOf(int level) const { return Chain()->Level(level)->ItemList[0]->MenuItem->Name(); }
    std::string ActiveOf(int level) const
    {
        const TspSkinPopupWindow* window = Chain()->Level(level);
        return window->ActiveItem < 0 ? "" : window->ItemList[size_t(window->ActiveItem)]->MenuItem->Name();
    }

    void Key(UINT key)
    {
        Backend.Key(key);
        Pump();
    }

    void AltKey(UINT key)
    {
        Backend.KeyDown(VK_MENU);
        Backend.Key(key);
        Backend.KeyUp(VK_MENU);
        Pump();
    }

    // The form's shortcut test for a key pressed with Alt (as WM_SYSKEYDOWN) and/or Ctrl held down; true when
    // it was handled.
    bool ShortCut(UINT code, TShiftState shift)
    {
        TWMKey key { WM_SYSKEYDOWN, uint16_t(code), shift.Contains(ssAlt) ? 1u << 29 : 0u, 0 };
        if (shift.Contains(ssCtrl))
            Backend.KeyDown(VK_CONTROL);
        Pump();
        bool handled = false;
        Skinner->FormShortCut(key, handled);
        if (shift.Contains(ssCtrl))
            Backend.KeyUp(VK_CONTROL);
        Pump();
        return handled;
    }

    void Tick(int ms)
    {
        for (int step = 0; step < ms; step += 10) {
            Backend.AdvanceClock(10);
            Pump();
        }
    }

    // The pointer rests over a frame point until the form's mouse poll has seen it.
    void Hover(TPoint framePoint)
    {
        Backend.MouseMove(Form->Left() + framePoint.X, Form->Top() + framePoint.Y);
        Pump();
        Tick(60);
    }

    static TPoint Center(const TRect& r) { return TPoint { (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 }; }

    bool AppHandlerBack() const { return Application->OnMessage.target<TAppHandler>() != nullptr; }

    TFixtureSkin Fixture;
    TspSkinData* Skin = nullptr;
    TMainMenu* Menu = nullptr;
    TForm* Form = nullptr;
    TspSkinForm* Skinner = nullptr;
    TEvents Events;
};

// ---- The item objects -------------------------------------------------------------------------------------------

TEST_F(SkinFormMenusTest, ItemsFollowTheMenusVisibleItemsAndAreMadeAgainByUpdateMainMenu)
{
    auto names = [this] {
        std::vector<std::string> result;
        for (TspSkinMainMenuItem* item : Items())
            result.push_back(item->IDName + (item->Enabled ? "" : "(off)"));
        return result;
    };
    using TNames = std::vector<std::string>;
    EXPECT_EQ(names(), (TNames { "File", "Edit(off)", "View", "Setup", "Help" }));
    // The frame laid them out one after another along the main-menu band.
    const std::vector<TspSkinMainMenuItem*> items = Items();
    EXPECT_EQ(items[0]->ObjectRect.Left, 5);
    EXPECT_EQ(items[0]->ObjectRect.Top, 20);
    for (size_t i = 1; i < items.size(); ++i)
        EXPECT_EQ(items[i]->ObjectRect.Left, items[i - 1]->ObjectRect.Right) << i;

    // Changes to the menu show only once the items are made again.
    Menu->Items()->Items(1)->SetEnabled(true);
    Menu->Items()->Items(2)->SetVisible(false);
    Add(Menu->Items(), "Tools", "&Tools");
    EXPECT_EQ(names(), (TNames { "File", "Edit(off)", "View", "Setup", "Help" }));
    Skinner->UpdateMainMenu(true);
    EXPECT_EQ(names(), (TNames { "File", "Edit", "Setup", "Help", "Tools" }));
    Pump();
    EXPECT_EQ(Item("Setup")->ObjectRect.Left, Item("Edit")->ObjectRect.Right);

    // An item the application deletes takes its object with it; a deleted menu takes them all.
    delete Menu->Items()->Items(0);
    EXPECT_EQ(names(), (TNames { "Edit", "Setup", "Help", "Tools" }));
    delete Menu;
    EXPECT_EQ(Skinner->MainMenu(), nullptr);
    EXPECT_TRUE(Items().empty());
    Pump();
}

TEST_F(SkinFormMenusTest, ASkinWithoutAMainMenuItemObjectMakesNoItems)
{
    TFixtureSkin other;
    auto* plain = new TspSkinData(Application);
    plain->LoadFromFile(other.Write());
    Skinner->SetSkinData(plain);
    EXPECT_TRUE(Items().empty());
    // F10 then only tells the application.
    Key(VK_F10);
    EXPECT_FALSE(Skinner->MainMenuActive);
    EXPECT_EQ(Events, (TEvents { "enter" }));
}

// ---- The keyboard mode ------------------------------------------------------------------------------------------

TEST_F(SkinFormMenusTest, F10AndALoneAltEnterTheKeyboardModeOnTheHighlightedOrTheFirstItem)
{
    struct TCase {
        const char* What;
        UINT Key;
        const char* Hovered;
        const char* Expected;
    };
    const TCase cases[] = {
        { "F10", VK_F10, nullptr, "File" },
        { "a lone Alt", VK_MENU, nullptr, "File" },
        { "F10 over a hovered item", VK_F10, "View", "View" },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Events.clear();
        if (c.Hovered) {
            Hover(Center(Item(c.Hovered)->ObjectRect));
            ASSERT_EQ(Highlighted(), c.Hovered);
        }
        Key(c.Key);
        EXPECT_TRUE(Skinner->MainMenuActive);
        EXPECT_EQ(Highlighted(), c.Expected);
        EXPECT_EQ(Levels(), 0);
        EXPECT_FALSE(AppHandlerBack()) << "the keys go to the menu";
        // The same key leaves the keyboard mode.
        Key(c.Key);
        EXPECT_FALSE(Skinner->MainMenuActive);
        EXPECT_EQ(Highlighted(), "");
        EXPECT_TRUE(AppHandlerBack());
        EXPECT_EQ(Events, (TEvents { "enter", "exit" }));
        Backend.MouseMove(1000, 760);
        Tick(60);
    }
}

TEST_F(SkinFormMenusTest, LeftAndRightWrapPastDisabledAndHiddenItems)
{
    // Help does not fit a narrower form: it is left out and disabled while it does not fit.
    Form->SetWidth(Item("Help")->ObjectRect.Left + 10);
    Pump();
    ASSERT_FALSE(Item("Help")->Shown);
    Key(VK_F10);
    struct TStep {
        UINT Key;
        const char* Highlighted;
    };
    const TStep steps[] = {
        { VK_RIGHT, "View" }, // past the disabled Edit (and the invisible Hidden, which has no object)
        { VK_RIGHT, "Setup" },
        { VK_RIGHT, "File" }, // past Help, which does not fit, back to the first
        { VK_LEFT, "Setup" },
        { VK_LEFT, "View" },
        { VK_LEFT, "File" },
        { VK_LEFT, "Setup" },
    };
    for (const TStep& step : steps) {
        Key(step.Key);
        EXPECT_EQ(Highlighted(), step.Highlighted) << step.Key;
        EXPECT_EQ(Levels(), 0);
    }
    EXPECT_EQ(Events, (TEvents { "enter" }));
}

TEST_F(SkinFormMenusTest, ArrowsMoveAnOpenSubmenuAlongTheItemsUnlessThePopupTakesThem)
{
    Key(VK_F10);
    Key(VK_DOWN);
    ASSERT_EQ(Levels(), 1);
    struct TStep {
        UINT Key;
        const char* Pressed;
        int Levels;
        const char* Root; // the first item of the root level
        const char* Active; // the highlighted item of the deepest level
    };
    const TStep steps[] = {
        { VK_RIGHT, "View", 1, "Zoom", "Zoom" }, // Zoom has no submenu: Right moves on
        { VK_LEFT, "File", 1, "Open", "Open" }, // one level open: Left moves back
        { VK_UP, "File", 1, "Open", "Recent" },
        { VK_RIGHT, "File", 2, "Open", "One" }, // Recent has a submenu: Right opens it (Recent clicks first)
        { VK_LEFT, "File", 1, "Open", "Recent" }, // two levels: Left closes the deepest
        { VK_RIGHT, "File", 2, "Open", "One" },
        { VK_RIGHT, "View", 1, "Zoom", "Zoom" }, // One has no submenu: the submenu moves on
        { VK_RIGHT, "Setup", 1, "Options", "Options" },
    };
    for (const TStep& step : steps) {
        Key(step.Key);
        SCOPED_TRACE(step.Key);
        EXPECT_EQ(Pressed(), step.Pressed);
        ASSERT_EQ(Levels(), step.Levels);
        EXPECT_EQ(FirstOf(0), step.Root);
        EXPECT_EQ(ActiveOf(Levels() - 1), step.Active);
    }
    // Moving the submenu keeps the menu mode: it was entered and opened once.
    EXPECT_EQ(Events, (TEvents { "enter", "open", "click:Recent", "click:Recent" }));
    EXPECT_TRUE(Skinner->SkinMenuOpened);
}

TEST_F(SkinFormMenusTest, ReturnAndDownOpenASubmenuOrClickALeaf)
{
    struct TCase {
        const char* What;
        std::vector<UINT> Keys;
        TEvents Events;
        bool KeyboardMode;
    };
    const TCase cases[] = {
        { "Return opens the highlighted item", { VK_F10, VK_RETURN }, { "enter", "open" }, true },
        { "Down opens it too", { VK_F10, VK_DOWN }, { "enter", "open" }, true },
        { "Return on a popup item clicks it after the menu closed", { VK_F10, VK_RETURN, VK_DOWN, VK_RETURN },
            { "enter", "open", "close", "exit", "click:Save" }, false },
        { "Return on a leaf of the main menu clicks it after the keyboard mode ended", { VK_F10, VK_LEFT, VK_RETURN },
            { "enter", "exit", "click:Help" }, false },
        { "Return on a leaf the open submenu moved to clicks it", { VK_F10, VK_RETURN, VK_RIGHT, VK_RIGHT, VK_RIGHT },
            { "enter", "open" }, true },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Events.clear();
        for (UINT key : c.Keys)
            Key(key);
        EXPECT_EQ(Events, c.Events);
        EXPECT_EQ(Skinner->MainMenuActive, c.KeyboardMode);
        EXPECT_EQ(AppHandlerBack(), !c.KeyboardMode);
        if (!c.KeyboardMode)
            EXPECT_EQ(Levels(), 0);
        // Clicking the frame's client area ends whatever is left.
        Click(Form->Left() + 200, Form->Top() + 200);
        EXPECT_FALSE(Skinner->MainMenuActive);
        EXPECT_FALSE(Skinner->SkinMenuOpened);
        EXPECT_TRUE(AppHandlerBack());
    }
    // The last case left Help pressed with no popup: Return clicks it.
    Events.clear();
    for (UINT key : { VK_F10, VK_RETURN, VK_RIGHT, VK_RIGHT, VK_RIGHT })
        Key(key);
    ASSERT_EQ(Pressed(), "Help");
    EXPECT_EQ(Levels(), 0);
    Key(VK_RETURN);
    EXPECT_EQ(Events, (TEvents { "enter", "open", "close", "exit", "click:Help" }));
    EXPECT_EQ(Pressed(), "");
    EXPECT_TRUE(AppHandlerBack());
}

TEST_F(SkinFormMenusTest, EscapeClosesTheDeepestPopupThenEndsTheMenuThenTheKeyboardMode)
{
    for (UINT key : { VK_F10, VK_RETURN, VK_UP, VK_RIGHT })
        Key(key);
    ASSERT_EQ(Levels(), 2);
    struct TStep {
        int Levels;
        bool MenuOpen, KeyboardMode;
        const char* Highlighted;
        const char* Pressed;
    };
    const TStep steps[] = {
        { 1, true, true, "", "File" },
        { 0, false, true, "File", "" }, // no popup left: the item is highlighted again, the keyboard mode stays
        { 0, false, false, "", "" },
    };
    for (const TStep& step : steps) {
        Key(VK_ESCAPE);
        EXPECT_EQ(Levels(), step.Levels);
        EXPECT_EQ(Skinner->SkinMenuOpened, step.MenuOpen);
        EXPECT_EQ(Skinner->MainMenuActive, step.KeyboardMode);
        EXPECT_EQ(Highlighted(), step.Highlighted);
        EXPECT_EQ(Pressed(), step.Pressed);
    }
    EXPECT_EQ(Events, (TEvents { "enter", "open", "click:Recent", "close", "exit" }));
    EXPECT_TRUE(AppHandlerBack());
}

// ---- Accelerators and shortcuts ---------------------------------------------------------------------------------

TEST_F(SkinFormMenusTest, AltWithALetterFindsAnAcceleratorButAltF4IsNeverOne)
{
    struct TCase {
        const char* What;
        UINT Key;
        TShiftState Shift;
        bool Handled;
        const char* Pressed;
        TEvents Events;
    };
    const TCase cases[] = {
        { "Alt+V opens View", 'V', { ssAlt }, true, "View", { "open", "enter" } },
        { "Alt+L clicks the leaf Help", 'L', { ssAlt }, true, "", { "click:Help" } },
        { "Alt+E: Edit is disabled", 'E', { ssAlt }, false, "", {} },
        { "Alt+I: Hidden is not shown", 'I', { ssAlt }, false, "", {} },
        // F4's key code is the letter "s" of the Setup accelerator.
        { "Alt+F4 is not Setup's accelerator", VK_F4, { ssAlt }, false, "", {} },
        { "Alt+S is", 'S', { ssAlt }, true, "Setup", { "open", "enter" } },
        { "Ctrl+O runs the menu's shortcut", 'O', { ssCtrl }, true, "", { "click:Open" } },
        { "V alone is no accelerator outside the menu", 'V', {}, false, "", {} },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Events.clear();
        EXPECT_EQ(ShortCut(c.Key, c.Shift), c.Handled);
        EXPECT_EQ(Skinner->MenuShortCutHandled, c.Shift.Contains(ssCtrl));
        EXPECT_EQ(Pressed(), c.Pressed);
        EXPECT_EQ(Levels(), *c.Pressed ? 1 : 0);
        EXPECT_EQ(Events, c.Events);
        if (Skinner->MainMenuActive)
            Skinner->SkinMainMenuClose();
        EXPECT_TRUE(AppHandlerBack());
    }
}

TEST_F(SkinFormMenusTest, AcceleratorsFromTheKeyboardMoveTheOpenMenu)
{
    // Typed on the form, Alt+F opens File's submenu and enters the keyboard mode.
    AltKey('F');
    EXPECT_EQ(Pressed(), "File");
    ASSERT_EQ(Levels(), 1);
    EXPECT_TRUE(Skinner->MainMenuActive);
    // In the keyboard mode the letter alone finds the accelerator; over the open menu it moves the submenu.
    Key('V');
    EXPECT_EQ(Pressed(), "View");
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(FirstOf(0), "Zoom");
    // A letter that is no main-menu accelerator goes to the popup.
    Key('Z');
    EXPECT_EQ(Events, (TEvents { "open", "enter", "close", "exit", "click:Zoom" }));
    EXPECT_TRUE(AppHandlerBack());
}

TEST_F(SkinFormMenusTest, ACommandMayMakeTheItemsAgainWhileItsItemIsPressed)
{
    Menu->Items()->Items(5)->OnClick = [this](TObject*) {
        Events.push_back("click:Help");
        Skinner->UpdateMainMenu(true);
    };
    for (UINT key : { VK_F10, VK_LEFT, VK_RETURN })
        Key(key);
    AltKey('L');
    EXPECT_EQ(Events, (TEvents { "enter", "exit", "click:Help", "click:Help" }));
    EXPECT_EQ(Items().size(), 5u);
    EXPECT_EQ(Highlighted() + Pressed(), "");
    EXPECT_FALSE(Skinner->MainMenuActive);
    EXPECT_TRUE(AppHandlerBack());
}

// ---- Menus opened by objects and by the application -------------------------------------------------------------

TEST_F(SkinFormMenusTest, ALinkedMenuOpensUnderItsButtonAndGoesWithTheMenu)
{
    auto* popup = new TPopupMenu(Application);
    auto* item = new TMenuItem(popup);
    item->SetName("Linked");
    item->SetCaption("Linked");
    popup->Items()->Add(item);
    // Names that are no button, or no object at all, are left alone.
    Skinner->LinkMenu("label", popup, false);
    Skinner->LinkMenu("nothing", popup, false);
    Skinner->LinkMenu("menubutton", popup, false);
    auto* button
        = static_cast<TspSkinButtonObject*>(Skinner->SkinObjects[size_t(Skinner->GetIndex("menubutton"))].get());
    EXPECT_EQ(button->MenuItem, popup->Items());
    const TPoint at = Center(button->ObjectRect);
    Hover(at);
    Backend.MouseDown();
    Pump();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(FirstOf(0), "Linked");
    EXPECT_EQ(Chain()->Level(0)->Left(), Form->Left() + button->ObjectRect.Left);
    EXPECT_EQ(Chain()->Level(0)->Top(), Form->Top() + button->ObjectRect.Bottom);
    EXPECT_TRUE(button->Down);
    Backend.MouseUp();
    Key(VK_ESCAPE);
    EXPECT_FALSE(button->Down);
    EXPECT_EQ(Events, (TEvents { "open", "close" }));
    // A deleted menu is taken off the button: a press then opens nothing.
    delete popup;
    EXPECT_EQ(button->MenuItem, nullptr);
    Events.clear();
    Backend.MouseDown();
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Levels(), 0);
    EXPECT_TRUE(Events.empty());
}

TEST_F(SkinFormMenusTest, ALinkedSkinnedPopupMenuOpensItselfWithItsEventsAndItsOwnSkin)
{
    TFixtureSkin otherFixture;
    otherFixture.AddEverything();
    auto* otherSkin = new TspSkinData(Application);
    otherSkin->LoadFromFile(otherFixture.Write());
    auto* popup = new TspSkinPopupMenu(Form);
    popup->SetSkinData(otherSkin);
    auto* item = new TMenuItem(popup);
    item->SetName("Linked");
    item->SetCaption("Linked");
    popup->Items()->Add(item);
    popup->OnPopup = [this](TObject*) { Events.push_back("onpopup"); };
    popup->OnMenuClose = [this](TObject*) { Events.push_back("onmenuclose"); };
    Skinner->LinkMenu("menubutton", popup, false);
    auto* button
        = static_cast<TspSkinButtonObject*>(Skinner->SkinObjects[size_t(Skinner->GetIndex("menubutton"))].get());
    Hover(Center(button->ObjectRect));
    Backend.MouseDown();
    Pump();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(FirstOf(0), "Linked");
    EXPECT_EQ(Chain()->SkinData(), otherSkin);
    EXPECT_EQ(Chain()->Level(0)->Left(), Form->Left() + button->ObjectRect.Left);
    EXPECT_EQ(Chain()->Level(0)->Top(), Form->Top() + button->ObjectRect.Bottom);
    EXPECT_TRUE(button->Down);
    Backend.MouseUp();
    Key(VK_ESCAPE);
    EXPECT_FALSE(button->Down);
    EXPECT_EQ(Events, (TEvents { "onpopup", "open", "onmenuclose", "close" }));

    // A skinned popup menu with no skinned form to show it opens nothing, and the button does not stay down.
    auto* homeless = new TspSkinPopupMenu(nullptr);
    auto* lone = new TMenuItem(homeless);
    lone->SetCaption("Lone");
    homeless->Items()->Add(lone);
    Skinner->LinkMenu("menubutton", homeless, false);
    Events.clear();
    Backend.MouseDown();
    Pump();
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(button->Down);
    Backend.MouseUp();
    Pump();
    delete homeless;
}

TEST_F(SkinFormMenusTest, AClickOnAnItemOpensItsSubmenuAndAClickElsewhereEndsTheMenu)
{
    Hover(Center(Item("View")->ObjectRect));
    Backend.MouseDown();
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Pressed(), "View");
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(FirstOf(0), "Zoom");
    Click(Form->Left() + 200, Form->Top() + 200);
    EXPECT_EQ(Levels(), 0);
    EXPECT_EQ(Pressed(), "");
    EXPECT_EQ(Events, (TEvents { "open", "enter", "close", "exit" }));
    EXPECT_TRUE(AppHandlerBack());
}

TEST_F(SkinFormMenusTest, DoPopupMenuShowsTheMenuOverAnOpenOne)
{
    auto* popup = new TPopupMenu(Form);
    auto* item = new TMenuItem(popup);
    item->SetName("Popped");
    item->SetCaption("Popped");
    popup->Items()->Add(item);
    popup->OnPopup = [this](TObject*) { Events.push_back("onpopup"); };
    Key(VK_F10);
    Key(VK_RETURN);
    Events.clear();
    Skinner->DoPopupMenu(popup, 300, 200);
    Pump();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(FirstOf(0), "Popped");
    EXPECT_EQ(Chain()->Level(0)->Left(), 300);
    EXPECT_EQ(Chain()->Level(0)->Top(), 200);
    // The menu of the main menu closed (and its keyboard mode with it) before the new one opened.
    EXPECT_EQ(Events, (TEvents { "onpopup", "close", "exit", "open" }));
    Key(VK_RETURN);
    EXPECT_EQ(Events.back(), "close");
    EXPECT_TRUE(AppHandlerBack());
}

} // namespace

// ---- A main-menu bar takes the keyboard work --------------------------------------------------------------------

TEST_F(SkinFormMenusTest, WithAMainMenuBarTheKeysWorkTheBarsItems)
{
    Skinner->SetMainMenu(nullptr);
    ASSERT_TRUE(Items().empty());
    auto* bar = new TspSkinMainMenuBar(Form);
    bar->SetParent(Form);
    bar->SetAlign(alNone);
    bar->SetBounds(0, 0, 380, 22);
    bar->SetSkinForm(Skinner);
    Skinner->SetMainMenuBar(bar);
    bar->SetMainMenu(Menu);
    Pump();
    auto marked = [bar] {
        std::string result;
        for (int i = bar->ButtonCount; i < bar->ObjectCount(); ++i)
            if (bar->ObjectAt(i)->Active || bar->ObjectAt(i)->Down)
                result += bar->ObjectAt(i)->IDName + (bar->ObjectAt(i)->Down ? "(down)" : "");
        return result;
    };
    Events.clear();
    struct TStep {
        UINT Key;
        const char* Marked;
        int Levels;
        bool KeyboardMode;
    };
    const TStep steps[] = {
        { VK_F10, "File", 0, true },
        { VK_RIGHT, "View", 0, true }, // past the disabled Edit
        { VK_LEFT, "File", 0, true },
        { VK_LEFT, "Help", 0, true }, // wrapping
        { VK_RIGHT, "File", 0, true },
        { VK_RETURN, "File(down)", 1, true },
        { VK_RIGHT, "View(down)", 1, true }, // the open submenu moves along
        { VK_ESCAPE, "View", 0, true }, // the submenu closes, the keyboard mode stays
        { VK_ESCAPE, "", 0, false },
    };
    for (const TStep& step : steps) {
        Key(step.Key);
        SCOPED_TRACE(step.Key);
        EXPECT_EQ(marked(), step.Marked);
        EXPECT_EQ(Levels(), step.Levels);
        EXPECT_EQ(Skinner->MainMenuActive, step.KeyboardMode);
    }
    EXPECT_EQ(Events, (TEvents { "enter", "open", "close", "exit" }));
    EXPECT_TRUE(AppHandlerBack());
    // Alt with a letter finds the bar's accelerator.
    Events.clear();
    AltKey('S');
    EXPECT_EQ(marked(), "Setup(down)");
    EXPECT_EQ(FirstOf(0), "Options");
    Skinner->SkinMainMenuClose();
    EXPECT_EQ(marked(), "");
    EXPECT_TRUE(AppHandlerBack());
}

TEST_F(SkinFormMenusTest, AMenuMergedIntoTheBarTakesTheKeysItsOwnMenuLeavesAndRunsEachCommandOnce)
{
    Skinner->SetMainMenu(nullptr);
    auto* bar = new TspSkinMainMenuBar(Form);
    bar->SetParent(Form);
    bar->SetAlign(alNone);
    bar->SetBounds(0, 0, 600, 22);
    bar->SetSkinForm(Skinner);
    Skinner->SetMainMenuBar(bar);
    bar->SetMainMenu(Menu);
    // A child's menu merged after the bar's own items.
    auto* merged = new TMainMenu(Form);
    auto add = [this, merged](TMenuItem* parent, const std::string& name, const std::string& caption) {
        auto* item = new TMenuItem(merged);
        item->SetName(name);
        item->SetCaption(caption);
        item->SetGroupIndex(20);
        item->OnClick = [this, name](TObject*) { Events.push_back("click:" + name); };
        parent->Add(item);
        return item;
    };
    add(merged->Items(), "Kit", "&Kit");
    add(add(merged->Items(), "Tool", "T&ool"), "Knife", "Knife")->SetShortCut(TextToShortCut("Ctrl+K"));
    bar->Merge(merged);
    Pump();
    ASSERT_EQ(bar->GetChildMainMenu(), merged);
    struct TCase {
        const char* What;
        UINT Key;
        TShiftState Shift;
        bool Handled, MenuShortCut;
        TEvents Events;
    };
    const TCase cases[] = {
        { "the merged leaf's accelerator clicks it once", 'K', { ssAlt }, true, false, { "click:Kit" } },
        { "the merged menu's shortcut", 'K', { ssCtrl }, true, true, { "click:Knife" } },
        { "the bar's own shortcut comes first", 'O', { ssCtrl }, true, true, { "click:Open" } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Events.clear();
        EXPECT_EQ(ShortCut(c.Key, c.Shift), c.Handled);
        EXPECT_EQ(Skinner->MenuShortCutHandled, c.MenuShortCut);
        EXPECT_EQ(Events, c.Events);
        if (Skinner->MainMenuActive)
            Skinner->SkinMainMenuClose();
    }
}

// ---- MDI --------------------------------------------------------------------------------------------------------

TEST_F(SkinFormMenusTest, AnMDIChildsKeysWorkTheMainFormsMenuAndItsMenuModeEndsWithIt)
{
    // An MDI main form (the application's main form) with the main menu, and a plain skinned child.
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetFormStyle(fsMDIForm);
    main->SetBounds(0, 0, 640, 480);
    auto* mainSkin = new TspSkinForm(main);
    mainSkin->SetSkinData(Skin);
    main->Show();
    Pump();
    ASSERT_EQ(Application->MainForm(), main);
    auto* child = TCustomForm::Create<TForm>(Application);
    child->SetFormStyle(fsMDIChild);
    child->SetBorderStyle(bsSizeable);
    child->SetBounds(10, 10, 200, 150);
    auto* childSkin = new TspSkinForm(child);
    childSkin->ChangeSkinData();
    child->Show();
    Pump();
    TspSkinMenu* chain = mainSkin->SkinMenu();

    // The child's system menu opens through the main form's chain; the child's keys move in it.
    childSkin->TrackSystemMenu(300, 200);
    Pump();
    ASSERT_EQ(chain->LevelCount(), 1);
    ASSERT_TRUE(childSkin->SkinMenuOpened);
    const TspSkinPopupWindow* level = chain->Level(0);
    const int first = level->ActiveItem;
    Key(VK_DOWN);
    EXPECT_NE(level->ActiveItem, first);
    // Escape closes the main form's chain, and the child leaves its menu mode with it.
    Key(VK_ESCAPE);
    EXPECT_EQ(chain->LevelCount(), 0);
    EXPECT_FALSE(childSkin->SkinMenuOpened);
    EXPECT_TRUE(AppHandlerBack());

    // A command chosen from that menu ends the child's menu mode as well.
    childSkin->TrackSystemMenu(300, 200);
    Pump();
    ASSERT_EQ(chain->LevelCount(), 1);
    Key(VK_RETURN);
    EXPECT_EQ(chain->LevelCount(), 0);
    EXPECT_FALSE(childSkin->SkinMenuOpened);
    EXPECT_TRUE(AppHandlerBack());
}

// ---- Picture mode -----------------------------------------------------------------------------------------------

TEST_F(SkinFormMenusTest, APictureFormDrawsItsItemsInThePictureAndRedrawsThemWhenMadeAgain)
{
    TFixtureSkin fixture;
    fixture.SetPicture("picture", "face.bmp", 300, 120, 3);
    fixture.AddActivePicture("active.bmp", 200, 60, 5);
    fixture.Set("FORMINFO",
        { { "lefttoppoint", "10,10" }, { "righttoppoint", "290,10" }, { "leftbottompoint", "10,110" },
            { "rightbottompoint", "290,110" }, { "clientrect", "10,10,290,110" }, { "borderwidth", "0" },
            { "mainmenurect", "10,10,290,30" } });
    fixture.AddObject("MAINMENUITEM", "mainmenuitem",
        { { "activepictureindex", "0" }, { "skinrect", "0,0,40,20" }, { "activeskinrect", "40,0,80,20" },
            { "downrect", "80,0,120,20" }, { "textrect", "10,2,30,18" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    TForm* form = NewForm(100, 100, 300, 120);
    auto* skinner = new TspSkinForm(form);
    skinner->SetSupportNCArea(false);
    skinner->SetSkinData(skin);
    skinner->SetMainMenu(Menu);
    form->Show();
    Pump();
    auto item = [skinner](const std::string& name) -> TspSkinMainMenuItem* {
        for (auto& object : skinner->SkinObjects)
            if (object->IDName == name)
                return dynamic_cast<TspSkinMainMenuItem*>(object.get());
        return nullptr;
    };
    ASSERT_NE(item("File"), nullptr);
    EXPECT_EQ(item("File")->ObjectRect.Left, 10);
    EXPECT_EQ(item("File")->ObjectRect.Top, 10);
    const int width = item("File")->ObjectRect.Right - item("File")->ObjectRect.Left;
    // Made again after a longer caption, the items are drawn (and so laid out) anew.
    Menu->Items()->Items(0)->SetCaption("&File and more");
    skinner->UpdateMainMenu(true);
    Pump();
    EXPECT_GT(item("File")->ObjectRect.Right - item("File")->ObjectRect.Left, width);
    EXPECT_EQ(item("Edit")->ObjectRect.Left, item("File")->ObjectRect.Right);
}

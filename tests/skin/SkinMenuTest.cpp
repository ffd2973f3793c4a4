// The skinned menu chain on the headless display: levels built and placed against the work area, the mouse
// polled on the virtual clock (submenu wait, hover), the keyboard routed through the form's menu mode, the order
// of the close messages and events of a chosen command, the application hook around open menus, and the default
// look of items.
#include "framework/controls/Menus.h"
#include "framework/controls/TTimer.h"
#include "platform/win/VirtualKeys.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/TspSkinForm.h"
#include "skin/menus/SkinMenuMessages.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspSkinMenuItem.h"
#include "skin/menus/TspSkinPopupMenu.h"
#include "skin/menus/TspSkinPopupWindow.h"
#include "tests/framework/ControlsTestSupport.h"

namespace {

using TEvents = std::vector<std::string>;

// A control that opens menus and logs what the chain tells it.
class TOpener : public TCustomControl {
    using inherited = TCustomControl;

public:
    TOpener(TComponent* owner, TEvents* events, TspSkinMenu* const* chain)
        : TCustomControl(owner)
        , FEvents(events)
        , FChain(chain)
    {
        SetTabStop(true);
    }

    void WndProc(TMessage& message) override
    {
        if (message.Msg == WM_CLOSESKINMENU)
            FEvents->push_back("opener:close levels=" + std::to_string((*FChain)->LevelCount()));
        else if (message.Msg == WM_AFTERDISPATCH)
            FEvents->push_back("opener:afterdispatch");
        else if (message.Msg == WM_MOUSEWHEEL)
            FEvents->push_back("opener:wheel");
        inherited::WndProc(message);
    }

private:
    TEvents* FEvents;
    TspSkinMenu* const* FChain;
};

// The application's own message handler, recognisable by its type.
struct TMarkerHook {
    TEvents* Events;
    void operator()(MSG& message, bool&) const
    {
        if (message.message == WM_KEYDOWN)
            Events->push_back("app:key");
    }
};

class SkinMenuTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 300, 200);
        Skinner = new TspSkinForm(Form);
        Chain = Skinner->SkinMenu();
        Opener = new TOpener(Form, &Events, &Chain);
        Opener->SetParent(Form);
        Opener->SetBounds(10, 10, 100, 50);
        Menu = new TspSkinPopupMenu(Form);
        Form->Show();
        Pump();
        Opener->SetFocus();
        Pump();
    }

    TMenuItem* Add(TMenuItem* parent, const std::string& caption)
    {
        auto* item = new TMenuItem(Menu);
        item->SetCaption(caption);
        item->OnClick = [this, caption](TObject*) {
            Events.push_back("click:" + caption + " levels=" + std::to_string(Chain->LevelCount()));
        };
        parent->Add(item);
        return item;
    }

    // Items "A" ... of the menu's top level.
    void AddItems(int count)
    {
        for (int i = 0; i < count; ++i)
            Add(Menu->Items(), std::string(1, char('A' + i)));
    }

    TspSkinPopupWindow* Level(int index) const { return Chain->Level(index); }
    TspSkinMenuItem* Item(int level, int index) const { return Level(level)->ItemList[size_t(index)].get(); }

    TPoint ItemCenter(int level, int index) const
    {
        const TRect r = Level(level)->ItemScreenRect(Item(level, index));
        return TPoint { (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 };
    }

    // Time passes on the virtual clock and the timers that fall due run.
    void Tick(int ms)
    {
        for (int step = 0; step < ms; step += 10) {
            Backend.AdvanceClock(10);
            Pump();
        }
    }

    // The pointer rests over an item until the level's mouse poll has seen it.
    void Hover(int level, int index)
    {
        const TPoint p = ItemCenter(level, index);
        Backend.MouseMove(p.X, p.Y);
        Pump();
        Tick(50);
    }

    void ClickItem(int level, int index)
    {
        const TPoint p = ItemCenter(level, index);
        Backend.MouseMove(p.X, p.Y);
        Backend.MouseDown();
        Backend.MouseUp();
        Pump();
    }

    void Key(UINT key)
    {
        Backend.Key(key);
        Pump();
    }

    TForm* Form = nullptr;
    TspSkinForm* Skinner = nullptr;
    TspSkinMenu* Chain = nullptr;
    TOpener* Opener = nullptr;
    TspSkinPopupMenu* Menu = nullptr;
    TEvents Events;
};

// ---- Building and placing levels --------------------------------------------------------------------------------

TEST_F(SkinMenuTest, ALimitedLevelScrollsAndIsPlacedLikeAnUnscrolledOne)
{
    AddItems(10);
    Skinner->SetMaxMenuItemsInWindow(3);
    Menu->Popup(200, 150);
    Pump();
    ASSERT_EQ(Chain->LevelCount(), 1);
    TspSkinPopupWindow* level = Level(0);
    EXPECT_EQ(level->Height(), 3 * 20 + 6 + 20);
    EXPECT_TRUE(level->Scroll);
    EXPECT_TRUE(level->Limited);
    EXPECT_EQ(level->VisibleCount, 3);
    EXPECT_EQ(level->Left(), 200);
    EXPECT_EQ(level->Top(), 150);
    // The items sit below the 10-pixel marker band, and the scrolled-out ones are not visible.
    EXPECT_EQ(Item(0, 0)->ObjectRect.Top, 3 + 10);
    EXPECT_FALSE(Item(0, 3)->Visible);
    EXPECT_EQ(Menu->PopupPoint().X, 200);
    EXPECT_EQ(Menu->PopupPoint().Y, 150);
}

TEST_F(SkinMenuTest, ALimitedLevelScrollsWithTheKeysAndItsMarkers)
{
    AddItems(10);
    Skinner->SetMaxMenuItemsInWindow(3);
    Menu->Popup(200, 150);
    Pump();
    TspSkinPopupWindow* level = Level(0);
    struct TStep {
        UINT Key;
        int Active, First;
    };
    const TStep steps[] = {
        { VK_DOWN, 1, 0 }, { VK_DOWN, 2, 0 }, { VK_DOWN, 3, 1 }, // past the last visible item the level scrolls
        { VK_UP, 2, 1 }, { VK_UP, 1, 1 }, { VK_UP, 0, 0 },
        { VK_UP, 9, 7 }, // from the first item up: the last items come into view
        { VK_DOWN, 0, 0 }, // and down from the last wraps to the top
    };
    for (const TStep& step : steps) {
        Key(step.Key);
        EXPECT_EQ(level->ActiveItem, step.Active) << step.Key;
        EXPECT_EQ(level->FirstVisibleIndex, step.First) << step.Key;
        EXPECT_TRUE(Item(0, level->ActiveItem)->Visible);
    }
    // Resting on the lower marker scrolls every 100 ms until the mouse leaves the band.
    const TPoint marker = level->ClientToScreen(TPoint { level->Width() / 2, level->Height() - 6 });
    Backend.MouseMove(marker.X, marker.Y);
    Pump();
    Tick(50);
    EXPECT_EQ(level->ScrollCode, 2);
    Tick(200);
    const int scrolled = level->FirstVisibleIndex;
    EXPECT_GE(scrolled, 2);
    Hover(0, level->FirstVisibleIndex + 1);
    EXPECT_EQ(level->ScrollCode, 0);
    Tick(300);
    EXPECT_EQ(level->FirstVisibleIndex, scrolled);
}

TEST_F(SkinMenuTest, LevelsArePlacedAgainstTheWorkArea)
{
    AddItems(3);
    TMenuItem* sub = Add(Menu->Items(), "Sub");
    for (int i = 0; i < 30; ++i)
        Add(sub, "Long item " + std::to_string(i));
    struct TCase {
        TPoint At;
        const char* What;
    };
    const TCase cases[] = {
        { TPoint { 200, 150 }, "room everywhere: the submenu opens right of its item, level with it" },
        { TPoint { 900, 150 }, "near the right edge: the submenu opens left of its item" },
        { TPoint { 200, 700 }, "near the bottom: the root opens above the point" },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Menu->Popup(c.At.X, c.At.Y);
        Pump();
        ASSERT_EQ(Chain->LevelCount(), 1);
        TspSkinPopupWindow* root = Level(0);
        const int w = root->Width();
        const int h = root->Height();
        if (c.At.X + w <= 1024)
            EXPECT_EQ(root->Left(), c.At.X);
        else
            EXPECT_EQ(root->Left(), 1024 - w);
        if (c.At.Y + h <= 768)
            EXPECT_EQ(root->Top(), c.At.Y);
        else
            EXPECT_EQ(root->Top(), c.At.Y - h);
        Key(VK_UP); // from the first item up wraps to the submenu item
        Key(VK_RIGHT);
        ASSERT_EQ(Chain->LevelCount(), 2);
        TspSkinPopupWindow* subLevel = Level(1);
        const TRect parent = root->ItemScreenRect(Item(0, 3));
        if (parent.Right + 1 + subLevel->Width() <= 1024)
            EXPECT_EQ(subLevel->Left(), parent.Right + 1);
        else
            EXPECT_EQ(subLevel->Left(), parent.Left - subLevel->Width() - 1);
        // 30 items do not fit below the item; a parent in the upper half pushes the level up to end at the
        // work area's bottom.
        if (parent.Top < 384)
            EXPECT_EQ(subLevel->Top(), 768 - subLevel->Height());
        else
            EXPECT_LE(subLevel->Top() + subLevel->Height(), 768);
        Chain->Hide();
        Pump();
    }
}

TEST_F(SkinMenuTest, AMenuWithNothingToShowOpensNoLevel)
{
    Menu->Popup(200, 150);
    Pump();
    EXPECT_FALSE(Chain->Visible());
    EXPECT_EQ(Chain->LevelCount(), 0);
    EXPECT_FALSE(Skinner->SkinMenuOpened);
}

// ---- Keyboard ---------------------------------------------------------------------------------------------------

TEST_F(SkinMenuTest, ArrowKeysSkipDisabledItemsAndSeparatorsAndWrap)
{
    AddItems(2);
    Menu->Items()->Items(1)->SetEnabled(false);
    Add(Menu->Items(), "-");
    Add(Menu->Items(), "C");
    Add(Menu->Items(), "D");
    Menu->Popup(200, 150);
    Pump();
    struct TStep {
        UINT Key;
        int Active;
    };
    // The first enabled item is active when the level opens.
    const TStep steps[] = {
        { VK_DOWN, 3 }, { VK_DOWN, 4 }, { VK_DOWN, 0 }, // past the disabled item and the separator; wrapping
        { VK_UP, 4 }, { VK_UP, 3 }, { VK_UP, 0 }, // from the first item up to the last
        { VK_LEFT, 0 }, // the root level has nothing to go back to
    };
    ASSERT_EQ(Level(0)->ActiveItem, 0);
    for (const TStep& step : steps) {
        Key(step.Key);
        ASSERT_EQ(Chain->LevelCount(), 1);
        EXPECT_EQ(Level(0)->ActiveItem, step.Active) << "after key " << step.Key;
    }
    // The highlight moved with the keys: only the active item is highlighted.
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Item(0, i)->Active, i == 0) << i;
}

TEST_F(SkinMenuTest, DownStaysOnAMiddleItemWhenEveryLaterItemIsDisabled)
{
    AddItems(3);
    Menu->Items()->Items(2)->SetEnabled(false);
    Menu->Popup(200, 150);
    Pump();
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(Level(0)->ActiveItem, 1);
}

TEST_F(SkinMenuTest, AMenuOfOnlyDisabledItemsAndSeparatorsHasNoActiveItem)
{
    AddItems(2);
    Add(Menu->Items(), "-");
    Menu->Items()->Items(0)->SetEnabled(false);
    Menu->Items()->Items(1)->SetEnabled(false);
    Menu->Popup(200, 150);
    Pump();
    for (UINT key : { 0u, UINT(VK_DOWN), UINT(VK_UP) }) {
        if (key)
            Key(key);
        EXPECT_EQ(Level(0)->ActiveItem, -1) << key;
    }
}

TEST_F(SkinMenuTest, EscapeOnASubmenuClosesOnlyItAndLeavesItsItemHighlighted)
{
    TMenuItem* sub = Add(Menu->Items(), "Sub");
    Add(sub, "Inner");
    AddItems(1);
    Menu->Popup(200, 150);
    Pump();
    Key(VK_RIGHT);
    ASSERT_EQ(Chain->LevelCount(), 2);
    EXPECT_TRUE(Item(0, 0)->Down);
    Key(VK_ESCAPE);
    ASSERT_EQ(Chain->LevelCount(), 1);
    EXPECT_TRUE(Item(0, 0)->Active);
    EXPECT_FALSE(Item(0, 0)->Down);
    EXPECT_TRUE(Skinner->SkinMenuOpened);
    // Escape on the root ends the menu and the form's menu mode.
    Key(VK_ESCAPE);
    EXPECT_EQ(Chain->LevelCount(), 0);
    EXPECT_FALSE(Chain->Visible());
    EXPECT_FALSE(Skinner->SkinMenuOpened);
}

TEST_F(SkinMenuTest, ReturnAndAcceleratorsRunTheirItems)
{
    Add(Menu->Items(), "&Open");
    Add(Menu->Items(), "&Save");
    Menu->Popup(200, 150);
    Pump();
    Key('S');
    Menu->Popup(200, 150);
    Pump();
    Key(VK_RETURN);
    EXPECT_EQ(Events, (TEvents { "click:&Save levels=0", "click:&Open levels=0" }));
}

// ---- Mouse ------------------------------------------------------------------------------------------------------

TEST_F(SkinMenuTest, ASubmenuOpensAfterHalfASecondOfHoverAndItsItemClicksFirst)
{
    AddItems(1);
    TMenuItem* sub = Add(Menu->Items(), "Sub");
    Add(sub, "Inner");
    Menu->Popup(200, 150);
    Pump();
    Hover(0, 1);
    Tick(400);
    Hover(0, 0); // moved on before the wait ran out
    Tick(600);
    EXPECT_EQ(Chain->LevelCount(), 1);
    EXPECT_TRUE(Events.empty());
    Hover(0, 1);
    Tick(440);
    EXPECT_EQ(Chain->LevelCount(), 1);
    Tick(60);
    ASSERT_EQ(Chain->LevelCount(), 2);
    // The item's own handler ran before its submenu was built.
    EXPECT_EQ(Events, (TEvents { "click:Sub levels=1" }));
    EXPECT_TRUE(Item(0, 1)->Down);
    // Entering another item of the root closes the submenu and lifts the down state.
    Hover(0, 0);
    EXPECT_EQ(Chain->LevelCount(), 1);
    EXPECT_FALSE(Item(0, 1)->Down);
}

TEST_F(SkinMenuTest, ChoosingACommandClosesEverythingBeforeItRunsInAFixedOrder)
{
    TMenuItem* sub = Add(Menu->Items(), "Sub");
    Add(sub, "Leaf");
    Menu->OnMenuClose
        = [this](TObject*) { Events.push_back("menuclose levels=" + std::to_string(Chain->LevelCount())); };
    Skinner->OnSkinMenuClose = [this](TObject*) {
        const bool restored = Application->OnMessage.target<TMarkerHook>() != nullptr;
        Events.push_back(std::string("form:close hook=") + (restored ? "restored" : "ours"));
    };
    Application->OnMessage = TMarkerHook { &Events };
    Menu->PopupFromRect2(Opener, TRect(200, 150, 260, 170), false);
    Pump();
    EXPECT_EQ(Application->OnMessage.target<TMarkerHook>(), nullptr);
    Key(VK_RIGHT);
    Events.clear();
    ASSERT_EQ(Chain->LevelCount(), 2);
    ClickItem(1, 0);
    EXPECT_EQ(Events,
        (TEvents { "opener:close levels=0", "menuclose levels=0", "form:close hook=restored", "click:Leaf levels=0",
            "opener:afterdispatch" }));
    // The one-shot close event is gone: the next close does not fire it.
    Events.clear();
    Menu->OnMenuClose = nullptr;
    Menu->Popup(200, 150);
    Pump();
    Key(VK_ESCAPE);
    EXPECT_EQ(Events, (TEvents { "form:close hook=restored" }));
}

TEST_F(SkinMenuTest, APressOnTheFormClosesTheMenu)
{
    AddItems(2);
    Menu->Popup(300, 250);
    Pump();
    ASSERT_TRUE(Chain->Visible());
    Backend.MouseMove(Form->Left() + 250, Form->Top() + 20);
    Backend.MouseDown();
    Backend.MouseUp();
    Pump();
    EXPECT_FALSE(Chain->Visible());
    EXPECT_FALSE(Skinner->SkinMenuOpened);
    EXPECT_TRUE(Events.empty());
}

TEST_F(SkinMenuTest, ARightClickOpensTheControlsMenuAtTheCursor)
{
    AddItems(2);
    Opener->SetPopupMenu(Menu);
    const TPoint p = Opener->ClientToScreen(TPoint { 20, 20 });
    Backend.Click(p.X, p.Y, TRawButton::Right);
    Pump();
    ASSERT_TRUE(Chain->Visible());
    EXPECT_EQ(Level(0)->Left(), p.X);
    EXPECT_EQ(Level(0)->Top(), p.Y);
    EXPECT_EQ(Menu->PopupPoint().X, p.X);
    EXPECT_EQ(Menu->PopupComponent(), Opener);
}

// ---- The application hook ---------------------------------------------------------------------------------------

TEST_F(SkinMenuTest, TheApplicationHandlerComesBackAfterAMenuOpenedOverAnOpenMenu)
{
    AddItems(2);
    auto* other = new TPopupMenu(Form);
    auto* item = new TMenuItem(other);
    item->SetCaption("X");
    other->Items()->Add(item);
    Application->OnMessage = TMarkerHook { &Events };
    Menu->Popup(200, 150);
    Pump();
    // A second menu of the form opens over the first without the first being left (as the system menu does on
    // Alt+Space over a popup).
    Skinner->PopupSkinMenu(other->Items(), TPoint { 400, 300 });
    Pump();
    ASSERT_TRUE(Chain->Visible());
    Backend.Wheel(120);
    Pump();
    Key(VK_ESCAPE);
    ASSERT_FALSE(Chain->Visible());
    EXPECT_FALSE(Skinner->SkinMenuOpened);
    ASSERT_NE(Application->OnMessage.target<TMarkerHook>(), nullptr);
    // Keys and the wheel reach the application again.
    Events.clear();
    Key('K');
    Backend.Wheel(120);
    Pump();
    EXPECT_EQ(Events, (TEvents { "app:key", "opener:wheel" }));
}

// ---- The default look -------------------------------------------------------------------------------------------

TEST_F(SkinMenuTest, TheDefaultLookHighlightsWithANavyFrameAndMarksCheckedItems)
{
    Add(Menu->Items(), "Plain");
    TMenuItem* radio = Add(Menu->Items(), "Radio");
    radio->SetRadioItem(true);
    radio->SetChecked(true);
    Add(Menu->Items(), "Check")->SetChecked(true);
    Menu->Popup(200, 150);
    Pump();
    HWND window = Level(0)->Handle();
    auto pixel = [&](int index, int x, int y) {
        const TRect r = Item(0, index)->ObjectRect;
        return Backend.WindowPixel(window, r.Left + x, r.Top + y);
    };
    // The first item is highlighted at opening.
    EXPECT_EQ(pixel(0, 0, 0), 0x000080u);
    EXPECT_EQ(pixel(0, 30, 1), 0xB6BDD2u);
    // A checked radio item shows a dot where a check mark leaves the window colour.
    EXPECT_EQ(pixel(1, 8, 9), 0x000000u);
    EXPECT_EQ(pixel(2, 8, 9), pixel(2, 1, 9));
    EXPECT_EQ(pixel(2, 6, 11), 0x000000u);
    Key(VK_DOWN);
    EXPECT_EQ(pixel(1, 0, 0), 0x000080u);
    EXPECT_NE(pixel(0, 0, 0), 0x000080u);
    EXPECT_EQ(pixel(0, 30, 1), pixel(2, 30, 1));
}

// ---- The skin look ----------------------------------------------------------------------------------------------

TEST_F(SkinMenuTest, TheProgramSkinSizesTheLevelFromItsPopupWindowAndItemPictures)
{
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(std::string(TP_SKIN_DIR) + "/Skin.ini");
    ASSERT_FALSE(skin->Empty);
    Skinner->SetMenusSkinData(skin);
    AddItems(2);
    Add(Menu->Items(), "-");
    Add(Menu->Items(), "C");
    Menu->Popup(200, 150);
    Pump();
    TspSkinPopupWindow* level = Level(0);
    ASSERT_NE(level->SkinRecord, nullptr);
    const TRect itemsRect = skin->PopupWindow->ItemsRect;
    const int frame = level->WindowPicture->Height() - (itemsRect.Bottom - itemsRect.Top);
    const int itemHeight = level->ItemData->SkinRect.Bottom - level->ItemData->SkinRect.Top;
    const int lineHeight = level->ItemData->DividerRect.Bottom - level->ItemData->DividerRect.Top;
    EXPECT_EQ(level->Height(), 3 * itemHeight + lineHeight + frame);
    EXPECT_EQ(Item(0, 0)->ObjectRect.Top, itemsRect.Top);
    EXPECT_EQ(Item(0, 3)->ObjectRect.Top, itemsRect.Top + 2 * itemHeight + lineHeight);
    // The item's right margin follows the level's width.
    EXPECT_EQ(Item(0, 0)->ObjectRect.Right, level->Width() - (level->WindowPicture->Width() - itemsRect.Right));
    // The highlighted first item and the idle second one are drawn from different pictures, and the looks move
    // with the highlight.
    HWND window = level->Handle();
    const TRect a = Item(0, 0)->ObjectRect;
    const TRect b = Item(0, 1)->ObjectRect;
    const int x = a.Right - 12;
    auto pixel = [&](const TRect& r) { return Backend.WindowPixel(window, x, (r.Top + r.Bottom) / 2); };
    const uint32_t hot = pixel(a);
    const uint32_t idle = pixel(b);
    EXPECT_NE(hot, idle);
    Key(VK_DOWN);
    EXPECT_EQ(pixel(a), idle);
    EXPECT_EQ(pixel(b), hot);
}

} // namespace

#include "framework/controls/Menus.h"

#include "ControlsTestSupport.h"

TEST(Menus, ShortCutTextRoundTrips)
{
    struct Case {
        TShortCut ShortCut;
        const char* Text;
    };
    const Case kCases[] = {
        { ShortCut('S', { ssCtrl }), "Ctrl+S" },
        { ShortCut(VK_DELETE, { ssShift }), "Shift+Del" },
        { ShortCut(VK_F2, {}), "F2" },
        { ShortCut('A', { ssCtrl, ssAlt }), "Ctrl+Alt+A" },
        { ShortCut(VK_DELETE, { ssCtrl }), "Ctrl+Del" },
        { ShortCut(VK_UP, { ssCtrl }), "Ctrl+Up" },
        { ShortCut(VK_RETURN, { ssShift, ssCtrl, ssAlt }), "Shift+Ctrl+Alt+Enter" },
        { ShortCut(VK_NUMPAD0 + 5, {}), "Num 5" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(ShortCutToText(c.ShortCut), c.Text);
        EXPECT_EQ(TextToShortCut(c.Text), c.ShortCut);
    }
    EXPECT_EQ(TextToShortCut("ctrl+s"), ShortCut('S', { ssCtrl }));
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut("Hyper+Q"), scNone);
    EXPECT_EQ(ShortCutToText(scNone), "");
}

TEST(Menus, HotkeysAreTheLetterAfterASingleAmpersand)
{
    struct Case {
        const char* Caption;
        char32_t Hotkey;
        const char* Stripped;
    };
    const Case kCases[] = {
        { "&File", 'F', "File" },
        { "Save &as...", 'A', "Save as..." },
        { "Fish && Chips", 0, "Fish & Chips" },
        { "A&&B &c", 'C', "A&B c" },
        { "Trailing&", 0, "Trailing" },
        { "", 0, "" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Caption);
        EXPECT_EQ(GetHotkey(c.Caption), c.Hotkey);
        EXPECT_EQ(StripHotkey(c.Caption), c.Stripped);
    }
    EXPECT_TRUE(IsAccel('a', "Save &as"));
    EXPECT_TRUE(IsAccel('A', "Save &as"));
    EXPECT_FALSE(IsAccel('S', "Save &as"));
    EXPECT_FALSE(IsAccel('B', "A&&B"));
}

namespace {

class MenuModel : public ControlsTest {
protected:
    TMenuItem* Item(TMenuItem* parent, const char* caption, TShortCut shortCut = scNone)
    {
        auto* item = new TMenuItem(Application);
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        parent->Add(item);
        return item;
    }

    bool Press(TMenu* menu, TShortCut shortCut)
    {
        uint16_t key;
        TShiftState shift;
        ShortCutToKey(shortCut, key, shift);
        TWMKey message { WM_KEYDOWN, key, shift.Contains(ssAlt) ? (1u << 29) : 0u, 0 };
        if (shift.Contains(ssCtrl))
            Backend.KeyDown(VK_CONTROL);
        Pump();
        const bool used = menu->IsShortCut(message);
        if (shift.Contains(ssCtrl))
            Backend.KeyUp(VK_CONTROL);
        Pump();
        return used;
    }
};

} // namespace

TEST_F(MenuModel, ShortCutsClickEnabledItemsWhoseParentsAreEnabled)
{
    auto* menu = new TMainMenu(Application);
    TMenuItem* file = Item(menu->Items(), "&File");
    TMenuItem* save = Item(file, "&Save", ShortCut('S', { ssCtrl }));
    TMenuItem* recent = Item(file, "Recent");
    TMenuItem* first = Item(recent, "first", ShortCut(VK_F2, {}));
    std::vector<std::string> clicks;
    save->OnClick = [&](TObject*) { clicks.push_back("save"); };
    first->OnClick = [&](TObject*) { clicks.push_back("first"); };
    EXPECT_TRUE(Press(menu, ShortCut('S', { ssCtrl })));
    EXPECT_TRUE(Press(menu, ShortCut(VK_F2, {})));
    recent->SetEnabled(false);
    EXPECT_FALSE(Press(menu, ShortCut(VK_F2, {})));
    save->SetEnabled(false);
    EXPECT_FALSE(Press(menu, ShortCut('S', { ssCtrl })));
    EXPECT_FALSE(Press(menu, ShortCut('Q', { ssCtrl })));
    EXPECT_EQ(clicks, (std::vector<std::string> { "save", "first" }));
    // Commands reach an item directly, as a native menu's WM_COMMAND would.
    EXPECT_TRUE(menu->DispatchCommand(first->Command()));
    EXPECT_FALSE(menu->DispatchCommand(0));
    EXPECT_EQ(clicks.back(), "first");
    EXPECT_EQ(menu->FindItem(first->Command(), fkCommand), first);
    EXPECT_EQ(first->GetParentMenu(), menu);
}

TEST_F(MenuModel, ItemTreeKeepsOrderParentsAndUniqueCommands)
{
    auto* menu = new TPopupMenu(Application);
    TMenuItem* a = Item(menu->Items(), "a");
    TMenuItem* b = Item(menu->Items(), "b");
    TMenuItem* c = Item(menu->Items(), "c");
    EXPECT_NE(a->Command(), b->Command());
    b->SetMenuIndex(0);
    EXPECT_EQ(menu->Items()->IndexOf(b), 0);
    EXPECT_EQ(a->MenuIndex(), 1);
    EXPECT_THROW(c->Add(menu->Items()), EMenuError); // an item cannot hold its own ancestor
    a->Add(c);
    EXPECT_EQ(c->Parent(), a);
    EXPECT_EQ(menu->Items()->Count(), 2);
    EXPECT_EQ(menu->Items()->Find("A"), a);
    delete a; // deletes its sub-item too, and leaves its parent
    EXPECT_EQ(menu->Items()->Count(), 1);
    EXPECT_EQ(Application->ComponentCount(), 2); // the menu and b
}

TEST_F(MenuModel, RadioItemsOfAGroupCheckOneAtATime)
{
    auto* menu = new TPopupMenu(Application);
    std::vector<TMenuItem*> items;
    for (const char* caption : { "one", "two", "three" }) {
        TMenuItem* item = Item(menu->Items(), caption);
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
        items.push_back(item);
    }
    TMenuItem* other = Item(menu->Items(), "other");
    other->SetRadioItem(true);
    other->SetGroupIndex(2);
    other->SetChecked(true);
    items[0]->SetChecked(true);
    items[2]->SetChecked(true);
    EXPECT_FALSE(items[0]->Checked());
    EXPECT_TRUE(items[2]->Checked());
    EXPECT_TRUE(other->Checked());
    items[1]->SetAutoCheck(true);
    items[1]->Click();
    EXPECT_TRUE(items[1]->Checked());
    EXPECT_FALSE(items[2]->Checked());
}

TEST_F(MenuModel, RethinkLinesHidesLeadingTrailingAndDoubledSeparators)
{
    auto* menu = new TPopupMenu(Application);
    std::vector<TMenuItem*> items;
    for (const char* caption : { "-", "a", "-", "-", "b", "-" })
        items.push_back(Item(menu->Items(), caption));
    EXPECT_TRUE(menu->Items()->RethinkLines());
    std::vector<bool> visible;
    for (TMenuItem* item : items)
        visible.push_back(item->Visible());
    EXPECT_EQ(visible, (std::vector<bool> { false, true, true, false, true, false }));
    menu->Items()->SetAutoLineReduction(maManual);
    items[0]->SetVisible(true);
    EXPECT_FALSE(menu->Items()->RethinkLines());
    EXPECT_TRUE(items[0]->Visible());
}

TEST_F(MenuModel, PopupRecordsWhereAndForWhomAndFiresOnPopup)
{
    auto* menu = new TPopupMenu(Application);
    TForm* form = NewForm(100, 100, 200, 200);
    auto* box = new TBox(form);
    box->SetBounds(10, 10, 50, 50);
    box->SetParent(form);
    box->SetPopupMenu(menu);
    form->Show();
    Pump();
    int popups = 0;
    menu->OnPopup = [&](TObject*) { ++popups; };
    Backend.AdvanceClock(1000);
    Backend.Click(120, 130, TRawButton::Right);
    Backend.Key(VK_ESCAPE); // closes the menu that opens
    Pump();
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(menu->PopupPoint(), (TPoint { 120, 130 }));
    EXPECT_EQ(menu->PopupComponent(), box);
    delete box; // the menu forgets it
    EXPECT_EQ(menu->PopupComponent(), nullptr);
}

// Popup shows the visible items in the system's popup menu and clicks the one chosen, also from a submenu; a
// cancelled menu clicks nothing.
TEST_F(MenuModel, PopupRunsTheChosenItem)
{
    auto* menu = new TPopupMenu(Application);
    TForm* form = NewForm(100, 100, 200, 200);
    form->Show();
    Pump();
    std::vector<std::string> clicked;
    auto item = [&](TMenuItem* parent, const char* caption) {
        auto* it = new TMenuItem(menu);
        it->SetCaption(caption);
        it->OnClick = [&clicked, caption](TObject*) { clicked.push_back(caption); };
        parent->Add(it);
        return it;
    };
    item(menu->Items(), "&First");
    item(menu->Items(), "&Hidden")->SetVisible(false);
    TMenuItem* second = item(menu->Items(), "&Second");
    item(second, "&Inner");
    item(menu->Items(), "&Off")->SetEnabled(false);
    struct Case {
        const char* Name;
        std::vector<UINT> Keys;
        std::vector<std::string> Clicked;
    };
    const Case cases[] = {
        { "first", { VK_DOWN, VK_RETURN }, { "&First" } },
        { "hidden items are left out", { VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN }, { "&Inner" } },
        { "mnemonics into the submenu", { 'S', 'I' }, { "&Inner" } },
        { "a disabled item does nothing", { 'O', VK_RETURN, VK_ESCAPE }, {} },
        { "cancelled", { VK_ESCAPE }, {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        clicked.clear();
        for (UINT key : c.Keys)
            Backend.Key(key);
        menu->Popup(150, 150);
        EXPECT_EQ(clicked, c.Clicked);
        EXPECT_EQ(FindWindow("#32768", nullptr), nullptr);
    }
}

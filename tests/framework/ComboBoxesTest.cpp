// TComboBox over the platform combo box: its events in order for mouse and keys, the text following the
// selection, completion while typing, owner drawing, and items kept across a re-creation of the window.
#include "ControlsTestSupport.h"

#include "framework/controls/StdCtrls.h"
#include "framework/graphics/TCanvas.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/win/VirtualKeys.h"

namespace {

class ComboBoxesTest : public ControlsTest {
protected:
    static constexpr int kFormX = 100, kFormY = 100;
    static constexpr int kLeft = 10, kTop = 10, kWidth = 150;

    TComboBox* MakeCombo(TForm* form, TComboBoxStyle style)
    {
        auto* combo = new TComboBox(form);
        combo->SetStyle(style);
        combo->SetBounds(kLeft, kTop, kWidth, 24);
        combo->SetParent(form);
        for (const char* item : {"apple", "banana", "cherry", "date"})
            combo->Items()->Add(item);
        combo->OnDropDown = [this](TObject*) { Log.push_back("DropDown"); };
        combo->OnCloseUp = [this](TObject*) { Log.push_back("CloseUp"); };
        combo->OnClick = [this](TObject*) { Log.push_back("Click"); };
        combo->OnSelect = [this, combo](TObject*) { Log.push_back("Select:" + combo->Text()); };
        combo->OnChange = [this, combo](TObject*) { Log.push_back("Change:" + combo->Text()); };
        return combo;
    }
    static TObject* Marker(int n) { return reinterpret_cast<TObject*>(static_cast<uintptr_t>(0x2000 + n)); }
    HWND List(TComboBox* combo)
    {
        COMBOBOXINFO info {};
        info.cbSize = sizeof info;
        SendMessage(combo->Handle(), CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info));
        return info.hwndList;
    }
    void ClickListItem(TComboBox* combo, int index)
    {
        HWND list = List(combo);
        RECT r {};
        SendMessage(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        POINT p {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(list, &p);
        Click(p.x, p.y);
    }
    void Press(UINT key)
    {
        Backend.Key(key);
        Pump();
    }
    std::vector<std::string> Log;
};

TEST_F(ComboBoxesTest, ChoosingWithTheMouseFiresTheEventsInOrder)
{
    TForm* form = NewForm(kFormX, kFormY, 300, 200);
    auto* combo = MakeCombo(form, csDropDownList);
    form->Show();
    Pump();
    Click(kFormX + kLeft + 40, kFormY + kTop + 10);
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_TRUE(combo->Focused());
    ClickListItem(combo, 2);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(Log, (std::vector<std::string> {"DropDown", "CloseUp", "Click", "Select:cherry"}));
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "cherry");

    // Without OnSelect, a choice is a change.
    combo->OnSelect = nullptr;
    Log.clear();
    Press(VK_DOWN);
    EXPECT_EQ(Log, (std::vector<std::string> {"Click", "Change:date"}));
    // The program's choice fires nothing.
    Log.clear();
    combo->SetItemIndex(0);
    EXPECT_EQ(combo->Text(), "apple");
    EXPECT_TRUE(Log.empty());
}

TEST_F(ComboBoxesTest, TypingChangesTheTextAndCompletesItFromTheItems)
{
    TForm* form = NewForm(kFormX, kFormY, 300, 200);
    auto* combo = MakeCombo(form, csDropDown);
    form->Show();
    Pump();
    combo->SetFocus();
    Pump();
    Backend.Char('c');
    Pump();
    EXPECT_EQ(combo->Text(), "cherry") << "completed from the first item it starts";
    EXPECT_EQ(combo->SelText(), "herry") << "the completion is selected, to be typed over";
    EXPECT_EQ(combo->ItemIndex(), 2);
    Backend.Char('x');
    Pump();
    EXPECT_EQ(combo->Text(), "cx");
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(Log, (std::vector<std::string> {"Change:cherry", "Change:cx"}));

    combo->SetAutoComplete(false);
    combo->SetText("");
    Log.clear();
    Backend.Char('b');
    Pump();
    EXPECT_EQ(combo->Text(), "b");
    EXPECT_EQ(Log, (std::vector<std::string> {"Change:b"}));
}

TEST_F(ComboBoxesTest, ItemsTextAndSelectionSurviveARecreation)
{
    TForm* form = NewForm(kFormX, kFormY, 300, 200);
    auto* combo = new TComboBox(form);
    for (int i = 0; i < 5; ++i)
        combo->Items()->AddObject("item " + std::to_string(4 - i), Marker(i));
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->Text(), "item 3");
    combo->SetBounds(kLeft, kTop, kWidth, 24);
    combo->SetParent(form);
    form->Show();
    Pump();
    ASSERT_TRUE(combo->HandleAllocated());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "item 3");
    EXPECT_EQ(combo->Items()->Objects(1), Marker(1));

    // Sorting makes the window again; the current item and the objects follow their strings.
    combo->SetSorted(true);
    EXPECT_EQ(combo->Items()->Strings(0), "item 0");
    EXPECT_EQ(combo->Items()->Objects(0), Marker(4));
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(combo->Text(), "item 3");
    combo->SetStyle(csDropDownList);
    EXPECT_EQ(combo->Items()->Count(), 5);
    EXPECT_EQ(combo->Text(), "item 3");
    // A typed text that names no item is kept too.
    combo->SetStyle(csDropDown);
    combo->SetText("free text");
    combo->SetStyle(csSimple);
    EXPECT_EQ(combo->Text(), "free text");
    combo->SetDropDownCount(0);
    EXPECT_EQ(combo->DropDownCount(), 8) << "no rows is refused";
}

TEST_F(ComboBoxesTest, OwnerDrawnComboDrawsItsFieldAndItemsThroughTheEvent)
{
    TForm* form = NewForm(kFormX, kFormY, 300, 200);
    auto* combo = MakeCombo(form, csOwnerDrawFixed);
    combo->SetItemHeight(18);
    struct Drawn {
        int index;
        bool field, selected;
        int height;
    };
    std::vector<Drawn> drawn;
    combo->OnDrawItem = [&](TWinControl* control, int index, TRect rect, TOwnerDrawState state) {
        drawn.push_back({index, state.Contains(odComboBoxEdit), state.Contains(odSelected), rect.Bottom - rect.Top});
        static_cast<TComboBox*>(control)->Canvas()->FillRect(rect);
    };
    combo->SetItemIndex(1);
    form->Show();
    Pump();
    combo->Repaint();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back().index, 1);
    EXPECT_TRUE(drawn.back().field);
    drawn.clear();
    combo->SetDroppedDown(true);
    UpdateWindow(List(combo));
    std::vector<int> items;
    for (const Drawn& d : drawn)
        if (!d.field) {
            items.push_back(d.index);
            EXPECT_EQ(d.height, 18);
        }
    EXPECT_EQ(items, (std::vector<int> {0, 1, 2, 3}));
    combo->SetDroppedDown(false);
    EXPECT_EQ(Log, (std::vector<std::string> {"DropDown", "CloseUp"}));
}

} // namespace

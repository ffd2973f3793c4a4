// The skinned check list box and check combo box on the headless display: toggling by mouse and Space, states
// kept through re-creation, the bar and the caption buttons, the check column's painting, and the check combo's
// text and its open list.
#include "framework/core/TList.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/lists/TspSkinCheckListBox.h"
#include "tests/skin/SkinListsTestSupport.h"

namespace {

class SkinCheckListBoxTest : public SkinListsTest {
protected:
    TspSkinCheckListBox* CheckList(int count, bool skinned = false, int height = 100)
    {
        auto* list = Place<TspSkinCheckListBox>(10, 10, 120, height, skinned);
        for (int i = 0; i < count; ++i)
            list->Items()->Add("item " + std::to_string(i));
        list->OnClickCheck = [this](TObject*) { Trace.push_back("OnClickCheck"); };
        Pump();
        return list;
    }
};

TEST_F(SkinCheckListBoxTest, AClickInTheCheckColumnTogglesAndGrayedStaysGrayed)
{
    TspSkinCheckListBox* list = CheckList(3);
    int innerChecks = 0;
    list->CheckListBox()->OnClickCheck = [&](TObject* sender) {
        ++innerChecks;
        list->ListBoxOnClickCheck(sender);
    };
    // The list starts at (2, 2) of the frame; item 0's row is y 12..32 on the form.
    struct Case {
        int x;
        bool toggles;
    };
    for (const Case& c : { Case { 19, true }, Case { 20, false } }) {
        SCOPED_TRACE(c.x);
        const bool before = list->Checked(0);
        Click(12 + c.x, 12 + 10);
        EXPECT_EQ(list->Checked(0), c.toggles ? !before : before);
    }
    list->SetState(1, cbGrayed);
    Click(12 + 5, 12 + 30);
    EXPECT_EQ(list->State(1), cbGrayed);
    list->SetItemIndex(1);
    Key(VK_SPACE);
    EXPECT_EQ(list->State(1), cbGrayed);
    EXPECT_EQ(innerChecks, 3);
    EXPECT_EQ(Trace.size(), 3u);
    // Space on the current item toggles it.
    list->SetItemIndex(2);
    Key(VK_SPACE);
    EXPECT_TRUE(list->Checked(2));
}

TEST_F(SkinCheckListBoxTest, SettingTheSameStateRaisesNothingAndBadIndexesRaiseListErrors)
{
    TspSkinCheckListBox* list = CheckList(2);
    list->SetChecked(0, false);
    EXPECT_TRUE(Trace.empty());
    EXPECT_THROW(list->Checked(5), EListError);
    EXPECT_THROW(list->SetChecked(-1, true), EListError);
    // Toggling an index out of range does nothing.
    list->CheckListBox()->ToggleClickCheck(7);
    EXPECT_TRUE(Trace.empty());
}

TEST_F(SkinCheckListBoxTest, StatesAndDataSurviveReCreationAndSorting)
{
    TspSkinCheckListBox* list = CheckList(0);
    for (const char* s : { "c", "a", "b" })
        list->Items()->Add(s);
    list->SetChecked(0, true); // c
    list->SetState(2, cbGrayed); // b
    list->CheckListBox()->SetItemData(1, 42); // a
    list->SetSorted(true);
    Pump();
    ASSERT_EQ(list->Items()->Strings(0), "a");
    EXPECT_EQ(list->CheckListBox()->ItemData(0), 42);
    EXPECT_EQ(list->State(1), cbGrayed);
    EXPECT_TRUE(list->Checked(2));
    list->SetColumns(2);
    Pump();
    EXPECT_EQ(list->CheckListBox()->ItemData(0), 42);
    EXPECT_EQ(list->State(1), cbGrayed);
    EXPECT_TRUE(list->Checked(2));
    // A replaced text keeps its state; a deleted item takes its state with it.
    list->SetSorted(false);
    list->Items()->SetStrings(2, "c2");
    list->Items()->Delete(0);
    EXPECT_EQ(list->State(0), cbGrayed);
    EXPECT_TRUE(list->Checked(1));
    list->Items()->Clear();
    list->Items()->Add("new");
    EXPECT_FALSE(list->Checked(0));
}

TEST_F(SkinCheckListBoxTest, TheBarShowsAPageOfFiveAndRowCountMakesRoomForAll)
{
    TspSkinCheckListBox* list = CheckList(10, false, 104);
    ASSERT_NE(list->VScrollBar(), nullptr);
    EXPECT_EQ(list->VScrollBar()->PageSize(), 5);
    list->SetRowCount(10);
    Pump();
    EXPECT_EQ(list->Height(), 204);
    EXPECT_EQ(list->VScrollBar(), nullptr);
}

TEST_F(SkinCheckListBoxTest, CaptionButtonsStepStopAtTheEndsAndTheCheckButtonCanBeReplaced)
{
    TspSkinCheckListBox* list = CheckList(3, false, 120);
    list->SetCaptionMode(true);
    list->SetDefaultCaptionHeight(20);
    list->SetItemIndex(1);
    Pump();
    // Buttons 17 wide from the right: up, down, check.
    const int up = 10 + 120 - 2 - 8, down = up - 17, check = down - 17, y = 10 + 8;
    Click(down, y);
    Click(down, y);
    EXPECT_EQ(list->ItemIndex(), 2); // stops at the last item
    Click(check, y);
    EXPECT_TRUE(list->Checked(2));
    EXPECT_EQ(Trace, (std::vector<std::string> { "OnClickCheck" }));
    int replaced = 0;
    list->OnCheckButtonClick = [&](TObject*) { ++replaced; };
    Click(check, y);
    EXPECT_EQ(replaced, 1);
    EXPECT_TRUE(list->Checked(2));
    EXPECT_EQ(Trace.size(), 1u);
    Click(up, y);
    EXPECT_EQ(list->ItemIndex(), 1);
}

TEST_F(SkinCheckListBoxTest, DefaultItemsDrawTheCheckColumnAndFillBelowTheLast)
{
    TspSkinCheckListBox* list = CheckList(3);
    list->SetChecked(0, true);
    Pump();
    // Item 0 at form (12, 12): the check box frame at x 3..16, y 4..17 (height 20), the column white.
    EXPECT_EQ(At(12 + 3, 12 + 10), Rgb(clBtnShadow));
    EXPECT_EQ(At(12 + 1, 12 + 10), Rgb(clWhite));
    EXPECT_EQ(At(12 + 60, 12 + 30), Rgb(clWindow)); // item 1's text area
    EXPECT_EQ(At(12 + 60, 12 + 80), Rgb(clWindow)); // below the items
    // The tick is dark pixels inside the box of the checked item only.
    auto darkIn = [&](int top) {
        int dark = 0;
        for (int y = top + 4; y < top + 17; ++y)
            for (int x = 12 + 4; x < 12 + 16; ++x)
                dark += At(x, y) == Rgb(clWindowText);
        return dark;
    };
    EXPECT_GT(darkIn(12), 0);
    EXPECT_EQ(darkIn(32), 0);
}

TEST_F(SkinCheckListBoxTest, SkinnedItemsCentreTheirCheckPicture)
{
    TspSkinCheckListBox* list = CheckList(2, true);
    list->SetChecked(0, true);
    Pump();
    // The list at the client part (4, 4); item check rect (0, 0, 16, 18) with a 13 x 13 picture centred at (2, 3).
    EXPECT_EQ(list->ListBox()->ItemHeight(), 18);
    EXPECT_EQ(At(10 + 4 + 2 + 6, 10 + 4 + 3 + 6), Sheet(100 + 6, 0 + 6));
    EXPECT_EQ(At(10 + 4 + 2 + 6, 10 + 4 + 18 + 3 + 6), Sheet(113 + 6, 0 + 6));
}

} // namespace

// ---- The check combo box ---------------------------------------------------------------------------------------

#include "skin/lists/TspSkinCheckComboBox.h"

namespace {

class SkinCheckComboBoxTest : public SkinListsTest {
protected:
    TspSkinCheckComboBox* CheckCombo()
    {
        auto* combo = Place<TspSkinCheckComboBox>(10, 10, 120, 20, false);
        for (const char* s : { "a", "b", "c" })
            combo->Items()->Add(s);
        combo->OnChange = [this](TObject*) { Trace.push_back("OnChange"); };
        combo->OnClick = [this](TObject*) { Trace.push_back("OnClick"); };
        combo->OnCloseUp = [this](TObject*) { Trace.push_back("OnCloseUp"); };
        Pump();
        return combo;
    }
};

TEST_F(SkinCheckComboBoxTest, TheTextJoinsTheCheckedItems)
{
    TspSkinCheckComboBox* combo = CheckCombo();
    combo->SetChecked(0, true);
    combo->SetChecked(2, true);
    EXPECT_EQ(combo->Text(), "a,c");
    combo->SetChecked(0, false);
    combo->SetChecked(2, false);
    EXPECT_EQ(combo->Text(), "");
    EXPECT_TRUE(Trace.empty());
}

TEST_F(SkinCheckComboBoxTest, AClickInTheOpenListTogglesAndEnterClosesWithItsEvents)
{
    TspSkinCheckComboBox* combo = CheckCombo();
    Click(10 + 60, 10 + 10);
    ASSERT_TRUE(combo->IsPopupVisible());
    TspPopupCheckListBox* list = combo->ListBox();
    Click(list->Left() + 40, list->Top() + 2 + 20 + 5);
    EXPECT_TRUE(combo->IsPopupVisible());
    EXPECT_TRUE(combo->Checked(1));
    EXPECT_EQ(combo->Text(), "b");
    EXPECT_EQ(Trace, (std::vector<std::string> { "OnChange", "OnClick" }));
    Trace.clear();
    Key(VK_RETURN);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(Trace, (std::vector<std::string> { "OnCloseUp", "OnClick" }));
    // Esc closes without any event and keeps the toggles.
    combo->DropDown();
    Pump();
    Trace.clear();
    Key(VK_ESCAPE);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_TRUE(Trace.empty());
    EXPECT_TRUE(combo->Checked(1));
}

TEST_F(SkinCheckComboBoxTest, SpaceWithoutACurrentItemTogglesNothing)
{
    TspSkinCheckComboBox* combo = CheckCombo();
    combo->SetFocus();
    Pump();
    ASSERT_EQ(combo->ListBox()->ItemIndex(), -1);
    EXPECT_NO_THROW(Key(VK_SPACE));
    EXPECT_TRUE(Trace.empty());
    Key(VK_DOWN);
    Key(VK_SPACE);
    EXPECT_TRUE(combo->Checked(0));
}

} // namespace

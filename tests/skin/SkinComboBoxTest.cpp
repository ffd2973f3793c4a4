// The skinned combo box on the headless display: the face's layout, opening and closing the drop-down list with
// the events in order, keys, incremental search and the auto-scroll on the virtual clock, the fade, and a combo box
// freed from its own event.
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/lists/TspSkinComboBox.h"
#include "tests/skin/SkinListsTestSupport.h"

namespace {

// Records the events of a combo box, Change included, into a trace.
class TTracedCombo : public TspSkinComboBox {
public:
    TTracedCombo(TComponent* owner, std::vector<std::string>* trace)
        : TspSkinComboBox(owner)
        , FTrace(trace)
    {
        OnChange = [this](TObject*) { FTrace->push_back("OnChange"); };
        OnClick = [this](TObject*) { FTrace->push_back("OnClick"); };
        OnCloseUp = [this](TObject*) { FTrace->push_back("OnCloseUp"); };
        OnDropDown = [this](TObject*) { FTrace->push_back("OnDropDown"); };
    }
    void Change() override { FTrace->push_back("Change"); }

private:
    std::vector<std::string>* FTrace;
};

class SkinComboBoxTest : public SkinListsTest {
protected:
    TTracedCombo* Combo(int count, int x = 10, int y = 10)
    {
        auto* combo = new TTracedCombo(Form, &Trace);
        combo->SetParent(Form);
        combo->SetBounds(x, y, 120, 20);
        for (int i = 0; i < count; ++i)
            combo->Items()->Add(Word(i));
        Pump();
        return combo;
    }
    static std::string Word(int i)
    {
        static const char* words[] = { "apple", "abacus", "banana", "absent", "cherry", "avocado" };
        return i < 6 ? words[i] : "item " + std::to_string(i);
    }
    void Focus(TWinControl* control)
    {
        control->SetFocus();
        Pump();
    }
};

TEST_F(SkinComboBoxTest, DefaultFaceLaysOutButtonAndItemArea)
{
    TTracedCombo* combo = Combo(3);
    EXPECT_EQ(combo->ButtonAreaRect(), Rect(101, 2, 118, 18));
    EXPECT_EQ(combo->ItemAreaRect(), Rect(2, 2, 100, 18));
    // The arrow is black, and clBtnShadow once the combo box is disabled.
    const int arrowX = 10 + 109, arrowY = 10 + 10;
    auto darkest = [&](int x0, int y0) {
        uint32_t found = 0xFFFFFF;
        for (int y = y0 - 3; y <= y0 + 3; ++y)
            for (int x = x0 - 4; x <= x0 + 4; ++x)
                found = std::min(found, At(x, y));
        return found;
    };
    EXPECT_EQ(darkest(arrowX, arrowY), 0u);
    combo->SetEnabled(false);
    Pump();
    EXPECT_EQ(darkest(arrowX, arrowY), Rgb(clBtnShadow));
}

TEST_F(SkinComboBoxTest, DropDownShowsAtMostDropDownCountRowsBelowOrAboveTheCombo)
{
    struct Case {
        int count;
        int y;
        int expectedRows;
        bool above;
    };
    const Case cases[] = { { 20, 10, 8, false }, { 3, 10, 3, false }, { 20, 700, 8, true } };
    Form->SetBounds(0, 0, 1024, 768);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count * 1000 + c.y);
        TTracedCombo* combo = Combo(c.count, 950, c.y);
        combo->DropDown();
        Pump();
        TspPopupListBox* list = combo->ListBox();
        ASSERT_TRUE(combo->IsPopupVisible());
        EXPECT_EQ(list->Height(), c.expectedRows * 20 + 4);
        // The list keeps the combo's left edge, even past the screen's right edge.
        EXPECT_EQ(list->Left(), 950);
        EXPECT_EQ(list->Width(), 120);
        EXPECT_EQ(list->Top(), c.above ? c.y - list->Height() : c.y + 20);
        combo->CloseUp(false);
        delete combo;
    }
}

TEST_F(SkinComboBoxTest, SelectionAndClosingFireTheirEventsInOrder)
{
    TTracedCombo* combo = Combo(4);
    combo->SetItemIndex(1);
    EXPECT_EQ(Trace, (std::vector<std::string> { "OnChange", "OnClick", "Change" }));
    EXPECT_EQ(combo->Text(), "abacus");
    Trace.clear();
    // -1 keeps the text.
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->Text(), "abacus");
    Trace.clear();
    combo->SetItemIndex(1);
    Trace.clear();
    combo->DropDown();
    combo->ListBox()->SetItemIndex(2);
    combo->CloseUp(true);
    EXPECT_EQ(Trace, (std::vector<std::string> { "OnDropDown", "OnChange", "OnClick", "Change", "OnCloseUp" }));
    EXPECT_EQ(combo->Text(), "banana");
    // Closing without acceptance puts back the item current at opening and fires nothing.
    Trace.clear();
    combo->DropDown();
    combo->ListBox()->SetItemIndex(0);
    combo->CloseUp(false);
    EXPECT_EQ(Trace, (std::vector<std::string> { "OnDropDown" }));
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->Text(), "banana");
}

TEST_F(SkinComboBoxTest, KeysMoveTheSelectionAndEscapeKeepsWhatUpChose)
{
    TTracedCombo* combo = Combo(20);
    Focus(combo);
    combo->SetItemIndex(10);
    Key(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 11);
    // Page up moves DropDownCount + 1 items, page down DropDownCount - 1.
    Key(VK_PRIOR);
    EXPECT_EQ(combo->ItemIndex(), 2);
    Key(VK_NEXT);
    EXPECT_EQ(combo->ItemIndex(), 9);
    Key(VK_PRIOR);
    EXPECT_EQ(combo->ItemIndex(), 0);
    Key(VK_UP);
    EXPECT_EQ(combo->ItemIndex(), 0);
    // Alt+Down opens; Up moves at once with its events; Esc then keeps that item.
    combo->SetItemIndex(5);
    Backend.KeyDown(VK_MENU);
    Key(VK_DOWN);
    Backend.KeyUp(VK_MENU);
    Pump();
    ASSERT_TRUE(combo->IsPopupVisible());
    Trace.clear();
    Key(VK_UP);
    EXPECT_EQ(Trace, (std::vector<std::string> { "OnChange", "OnClick", "Change" }));
    Key(VK_ESCAPE);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 4);
    // Enter closes with acceptance.
    combo->DropDown();
    combo->ListBox()->SetItemIndex(7);
    Trace.clear();
    Key(VK_RETURN);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 7);
    EXPECT_EQ(Trace.back(), "OnCloseUp");
}

TEST_F(SkinComboBoxTest, TypedCharactersSearchWithinHalfASecond)
{
    TTracedCombo* combo = Combo(6); // apple abacus banana absent cherry avocado
    Focus(combo);
    combo->SetItemIndex(-1);
    Backend.AdvanceClock(1000);
    Backend.Char(U'a');
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 0); // apple
    Backend.AdvanceClock(100);
    Backend.Char(U'b');
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 1); // "ab": abacus, the first from the start
    Backend.AdvanceClock(500);
    Backend.Char(U'a');
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 3); // a new prefix: the next "a..." after abacus
    Backend.AdvanceClock(600);
    Backend.Char(U'a');
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 5); // avocado
    Backend.AdvanceClock(600);
    Backend.Char(U'a');
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 0); // wraps to apple
}

TEST_F(SkinComboBoxTest, PointerHeldBelowTheListScrollsItAndClosingStopsTheScroll)
{
    TTracedCombo* combo = Combo(20);
    combo->SetItemIndex(0);
    // Press on the face: the list opens below and the combo box tracks the pointer.
    MoveTo(10 + 60, 10 + 10);
    Press();
    TspPopupListBox* list = combo->ListBox();
    ASSERT_TRUE(combo->IsPopupVisible());
    ASSERT_NE(list->VScrollBar(), nullptr);
    // Into the list (row 3), then below it.
    MoveTo(10 + 20, list->Top() + 2 + 3 * 20 + 5);
    EXPECT_EQ(list->ItemIndex(), 3);
    MoveTo(10 + 20, list->Top() + list->Height() + 10);
    Tick(25);
    EXPECT_EQ(list->ItemIndex(), 4);
    Tick(25);
    Tick(25);
    EXPECT_EQ(list->ItemIndex(), 6);
    for (int i = 0; i < 20; ++i)
        Tick(25);
    EXPECT_EQ(list->ItemIndex(), 19);
    // A release outside the list closes it without acceptance, and no tick moves the hidden list any more.
    list->SetItemIndex(10);
    Release();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 0);
    Tick(25);
    Tick(25);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), "apple");
}

TEST_F(SkinComboBoxTest, ClickingAnItemOfTheOpenListChoosesIt)
{
    TTracedCombo* combo = Combo(5);
    combo->SetItemIndex(0);
    Click(10 + 60, 10 + 10);
    ASSERT_TRUE(combo->IsPopupVisible());
    TspPopupListBox* list = combo->ListBox();
    EXPECT_EQ(Backend.ActiveNative(), Form->Handle()); // the list never takes the activation
    Trace.clear();
    Click(list->Left() + 30, list->Top() + 2 + 2 * 20 + 5);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(Trace, (std::vector<std::string> { "OnChange", "OnClick", "Change", "OnCloseUp" }));
}

TEST_F(SkinComboBoxTest, AClickOnAnotherControlClosesTheList)
{
    TTracedCombo* combo = Combo(5);
    auto* other = Combo(5, 200, 10);
    Focus(combo);
    combo->DropDown();
    Pump();
    ASSERT_TRUE(combo->IsPopupVisible());
    Click(200 + 40, 10 + 10);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_TRUE(other->IsPopupVisible());
}

TEST_F(SkinComboBoxTest, AnimatedListFadesInTwentyStepsOnTheClock)
{
    TTracedCombo* combo = Combo(5);
    combo->SetListBoxAlphaBlend(true);
    combo->SetListBoxAlphaBlendAnimation(true);
    combo->SetListBoxAlphaBlendValue(200);
    for (int opening = 0; opening < 2; ++opening) {
        combo->DropDown();
        Pump();
        const HWND window = combo->ListBox()->Handle();
        ASSERT_NE(Backend.Native(window), nullptr);
        std::vector<int> steps;
        for (int i = 0; i < 25; ++i) {
            Tick(10);
            const int opacity = Backend.Native(window)->Opacity;
            if (steps.empty() || steps.back() != opacity)
                steps.push_back(opacity);
        }
        std::string seen;
        for (int v : steps)
            seen += std::to_string(v) + " ";
        ASSERT_EQ(steps.size(), 20u) << seen;
        EXPECT_EQ(steps.front(), 10);
        EXPECT_EQ(steps.back(), 200);
        combo->CloseUp(false);
    }
}

TEST_F(SkinComboBoxTest, AComboFreedByItsOwnEventLeavesNothingBehind)
{
    struct Case {
        const char* event;
        UINT key;
    };
    for (const Case& c : { Case { "OnClick", VK_RETURN }, Case { "OnCloseUp", VK_RETURN }, Case { "OnChange", VK_DOWN } }) {
        SCOPED_TRACE(c.event);
        TTracedCombo* combo = Combo(5);
        Focus(combo);
        combo->SetItemIndex(0);
        TNotifyEvent free = [combo](TObject*) { delete combo; };
        if (std::string(c.event) == "OnClick")
            combo->OnClick = free;
        else if (std::string(c.event) == "OnCloseUp")
            combo->OnCloseUp = free;
        else
            combo->OnChange = free;
        if (c.key == VK_RETURN) {
            combo->DropDown();
            combo->ListBox()->SetItemIndex(3);
        }
        Key(c.key);
        Pump();
        for (int i = 0; i < Form->ControlCount(); ++i)
            EXPECT_NE(Form->Controls(i), static_cast<TControl*>(combo));
    }
}

} // namespace

// ---- The combo box with images ---------------------------------------------------------------------------------

#include "framework/controls/ImgList.h"
#include "skin/lists/TspSkinComboBoxEx.h"

namespace {

class SkinComboBoxExTest : public SkinListsTest {
protected:
    TspSkinComboBoxEx* ComboEx(const std::vector<std::string>& captions)
    {
        auto* combo = new TspSkinComboBoxEx(Form);
        combo->SetParent(Form);
        combo->SetBounds(10, 10, 150, 20);
        for (const std::string& caption : captions)
            combo->ItemsEx()->Add()->SetCaption(caption);
        Pump();
        return combo;
    }
    static std::vector<std::string> Lines(TspSkinComboBoxEx* combo)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < combo->Items()->Count(); ++i)
            lines.push_back(combo->Items()->Strings(i));
        return lines;
    }
    // The first column of the open list's row `row` with a dark (text) pixel.
    int TextStart(TspSkinComboBoxEx* combo, int row)
    {
        TspPopupListBox* list = combo->ListBox();
        const HWND window = list->Handle();
        Pump();
        for (int x = 0; x < list->Width(); ++x)
            for (int y = 2 + row * 20 + 4; y < 2 + row * 20 + 16; ++y)
                if (Backend.WindowPixel(window, x, y) < 0x404040)
                    return x;
        return -1;
    }
};

TEST_F(SkinComboBoxExTest, LinesFollowTheItemsThroughAddInsertDeleteAndMoves)
{
    TspSkinComboBoxEx* combo = ComboEx({ "a", "b", "c", "d" });
    EXPECT_EQ(Lines(combo), (std::vector<std::string> { "a", "b", "c", "d" }));
    combo->ItemsEx()->Insert(4)->SetCaption("e");
    combo->ItemsEx()->Insert(0)->SetCaption("z");
    combo->ItemsEx()->Delete(2);
    EXPECT_EQ(Lines(combo), (std::vector<std::string> { "z", "a", "c", "d", "e" }));
    // A move from 0 to 3 shifts every item in between: each line still shows its own item.
    combo->ItemsEx()->Items(0)->SetIndex(3);
    EXPECT_EQ(Lines(combo), (std::vector<std::string> { "a", "c", "d", "z", "e" }));
    combo->ItemsEx()->Items(4)->SetIndex(1);
    EXPECT_EQ(Lines(combo), (std::vector<std::string> { "a", "e", "c", "d", "z" }));
    // Loading refills the lines from the captions.
    combo->Items()->Clear();
    combo->LoadItems();
    EXPECT_EQ(Lines(combo), (std::vector<std::string> { "a", "e", "c", "d", "z" }));
    combo->ClearItemsEx();
    EXPECT_TRUE(Lines(combo).empty());
}

TEST_F(SkinComboBoxExTest, IndentShiftsByHalfImagesOrTenPixels)
{
    struct Case {
        bool images;
        int expectedShift;
    };
    for (const Case& c : { Case { false, 20 }, Case { true, 16 } }) {
        SCOPED_TRACE(c.images);
        TspSkinComboBoxEx* combo = ComboEx({ "Wide", "Wide" });
        TCustomImageList images(nullptr, 16, 16);
        if (c.images)
            combo->SetImages(&images);
        combo->ItemsEx()->Items(1)->SetIndent(2);
        combo->DropDown();
        const int shift = TextStart(combo, 1) - TextStart(combo, 0);
        combo->CloseUp(false);
        combo->SetImages(nullptr);
        EXPECT_EQ(shift, c.expectedShift);
        delete combo;
    }
}

} // namespace

// The skinned combo box on the headless display: the face's layout, opening and closing the drop-down list with
// the events in order, keys, incremental search and the auto-scroll on the virtual clock, the fade, and a combo box
// freed from its own event; the edit style's editor with its completion, keys, closing and colours, and its text
// over the face.
#include "framework/controls/StdButtons.h"
#include "platform/backend/headless/THeadlessBackend.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/lists/TspSkinComboBox.h"
#include "tests/skin/SkinListsTestSupport.h"

#include <cctype>

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

// ---- The edit style -------------------------------------------------------------------------------------------

class SkinComboEditStyleTest : public SkinComboBoxTest {
protected:
    TTracedCombo* EditCombo(int count)
    {
        TTracedCombo* combo = Combo(count);
        combo->SetStyle(spcbEditStyle);
        Pump();
        return combo;
    }
    // A letter typed as the keyboard sends it: key down, character, key up; then past the completion's pause.
    void TypeKey(char letter)
    {
        Backend.Key(static_cast<UINT>(std::toupper(letter)), std::u32string(1, char32_t(letter)));
        Tick(250);
    }
    // A skin whose combo box is a fixed 120 x 20 face with its editor in the client part (4, 4, 100, 16).
    TspSkinData* FaceSkin()
    {
        WriteRecords(FaceFixture);
        FaceFixture.AddControl("combobox", "combobox",
            { { "pictureindex", "0" }, { "skinrect", "0,0,120,20" }, { "activeskinrect", "0,20,120,40" },
                { "lefttoppoint", "4,4" }, { "righttoppoint", "100,4" }, { "leftbottompoint", "4,16" },
                { "rightbottompoint", "100,16" }, { "clientrect", "4,4,100,16" }, { "buttonrect", "100,2,118,18" },
                { "fontname", "DejaVu Sans" }, { "fontheight", "11" }, { "fontcolor", "255" },
                { "activefontcolor", "65280" } });
        auto* skin = new TspSkinData(Application);
        skin->LoadFromFile(FaceFixture.Write());
        return skin;
    }

    TFixtureSkin FaceFixture;
};

TEST_F(SkinComboEditStyleTest, TheEditorFillsTheItemAreaAndHoldsTheFocusAndTabStop)
{
    TTracedCombo* combo = EditCombo(3);
    TspCustomEdit* editor = combo->Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->Left(), 2);
    EXPECT_EQ(editor->Width(), 98);
    EXPECT_NEAR(editor->Top() + editor->Height() / 2, 10, 1) << "centred in the item area";
    EXPECT_TRUE(editor->TabStop());
    EXPECT_FALSE(combo->TabStop());
    Focus(combo);
    EXPECT_TRUE(editor->Focused());
    combo->SetItemIndex(2);
    EXPECT_EQ(editor->Text(), "banana");
    // Back to the fixed style the editor goes and the combo box takes the tab stop and the focus again.
    combo->SetStyle(spcbFixedStyle);
    Pump();
    EXPECT_EQ(combo->Editor(), nullptr);
    EXPECT_TRUE(combo->TabStop());
    EXPECT_TRUE(combo->Focused());
}

TEST_F(SkinComboEditStyleTest, TypingCompletesWithTheFirstItemItBegins)
{
    TTracedCombo* combo = EditCombo(6);
    Focus(combo);
    struct Step {
        char letter;
        const char* text;
        int selStart, selLength;
        int index;
    };
    // "a" completes to the first item beginning with it, even though the list's search would step past it.
    const Step kSteps[] = { { 'a', "apple", 1, 4, 0 }, { 'b', "abacus", 2, 4, 1 }, { 's', "absent", 3, 3, 3 } };
    for (const Step& step : kSteps) {
        SCOPED_TRACE(step.text);
        TypeKey(step.letter);
        EXPECT_EQ(combo->Text(), step.text);
        EXPECT_EQ(combo->SelStart(), step.selStart);
        EXPECT_EQ(combo->SelLength(), step.selLength);
        EXPECT_EQ(combo->ItemIndex(), step.index);
    }
    // Typed text that begins no item stays as typed.
    combo->Editor()->SelectAll();
    TypeKey('x');
    EXPECT_EQ(combo->Text(), "x");
    EXPECT_EQ(combo->ItemIndex(), 3);
    // Without completion the text stays as typed and the current item stays.
    combo->SetAutoComplete(false);
    combo->Editor()->SelectAll();
    Trace.clear();
    TypeKey('c');
    EXPECT_EQ(combo->Text(), "c");
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(Trace, (std::vector<std::string> { "OnChange", "Change" })) << "a typed change is the editor's";
}

TEST_F(SkinComboEditStyleTest, ArrowsAndWheelStepThroughItemsThatBeginOneAnother)
{
    auto* combo = new TTracedCombo(Form, &Trace);
    combo->SetParent(Form);
    combo->SetBounds(10, 10, 120, 20);
    for (const char* item : { "apple", "app", "ap" })
        combo->Items()->Add(item);
    combo->SetStyle(spcbEditStyle);
    Focus(combo);
    for (int expected : { 0, 1, 2, 2 }) {
        SCOPED_TRACE(expected);
        Trace.clear();
        Key(VK_DOWN);
        EXPECT_EQ(combo->ItemIndex(), expected);
        EXPECT_EQ(combo->Text(), combo->Items()->Strings(expected));
        EXPECT_EQ(combo->SelLength(), static_cast<int>(combo->Text().size()));
        if (expected != 2) {
            EXPECT_EQ(Trace, (std::vector<std::string> { "OnChange", "OnClick" })) << "no Change from the keys";
        }
    }
    Key(VK_UP);
    EXPECT_EQ(combo->ItemIndex(), 1);
    // The wheel: towards the user one down; with the list open only the list's selection moves.
    Backend.MouseMove(10 + 40, 10 + 10);
    Backend.Wheel(-120);
    Pump();
    EXPECT_EQ(combo->ItemIndex(), 2);
    combo->DropDown();
    Pump();
    Backend.Wheel(120);
    Pump();
    EXPECT_EQ(combo->ListBox()->ItemIndex(), 1);
    EXPECT_EQ(combo->Text(), "ap");
}

TEST_F(SkinComboEditStyleTest, EnterAndEscCloseTheListWithoutReachingTheFormsButtons)
{
    TTracedCombo* combo = EditCombo(5);
    auto* ok = new TButton(Form);
    ok->SetParent(Form);
    ok->SetBounds(10, 200, 75, 25);
    ok->SetDefault(true);
    int clicked = 0;
    ok->OnClick = [&](TObject*) { ++clicked; };
    Focus(combo);
    combo->DropDown();
    Pump();
    combo->ListBox()->SetItemIndex(2);
    Trace.clear();
    Key(VK_RETURN);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->Text(), "banana");
    EXPECT_EQ(combo->SelLength(), 6) << "the accepted item is all selected";
    EXPECT_EQ(Trace, (std::vector<std::string> { "OnChange", "OnClick", "Change", "OnCloseUp" }));
    EXPECT_EQ(clicked, 0);
    combo->DropDown();
    Pump();
    combo->ListBox()->SetItemIndex(4);
    Key(VK_ESCAPE);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->Text(), "banana");
    EXPECT_EQ(combo->ItemIndex(), 2);
    // With the list closed Enter is the form's again.
    Key(VK_RETURN);
    EXPECT_EQ(clicked, 1);
}

TEST_F(SkinComboEditStyleTest, APressInTheEditorOrAnotherControlClosesTheList)
{
    TTracedCombo* combo = EditCombo(5);
    TTracedCombo* other = Combo(5, 200, 10);
    Focus(combo);
    combo->DropDown();
    Pump();
    ASSERT_TRUE(combo->IsPopupVisible());
    EXPECT_TRUE(combo->Editor()->Focused()) << "opening leaves the focus in the editor";
    Click(10 + 30, 10 + 10);
    EXPECT_FALSE(combo->IsPopupVisible());
    // The button opens it again, and a press on another control closes it.
    Click(10 + 110, 10 + 10);
    ASSERT_TRUE(combo->IsPopupVisible());
    Click(200 + 110, 10 + 10);
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_TRUE(other->IsPopupVisible());
}

TEST_F(SkinComboEditStyleTest, TheSkinnedEditorShowsTheFaceAndTakesTheRecordsColoursByState)
{
    TspSkinData* skin = FaceSkin();
    TTracedCombo* combo = EditCombo(3);
    TTracedCombo* other = Combo(3, 200, 10);
    combo->SetSkinData(skin);
    Pump();
    TspCustomEdit* editor = combo->Editor();
    EXPECT_TRUE(editor->EditTransparent());
    EXPECT_EQ(editor->Left(), 4);
    EXPECT_EQ(editor->Width(), 96);
    EXPECT_EQ(editor->Font()->Name(), "DejaVu Sans");
    EXPECT_EQ(editor->Font()->Color(), TColor(255));
    Focus(combo);
    EXPECT_EQ(editor->Font()->Color(), TColor(65280)) << "the active colour while the editor has the focus";
    Focus(other);
    EXPECT_EQ(editor->Font()->Color(), TColor(255));
    combo->SetEnabled(false);
    Pump();
    EXPECT_EQ(editor->Font()->Color(), clGrayText) << "no \"edit\" record: the system's disabled colour";
}

TEST_F(SkinComboEditStyleTest, AFarEastCharacterSetCompletesOnEveryKeyButTheDeletingOnes)
{
    // A key below "0" (here Shift, let go) completes nothing in other character sets; with a composing input
    // method's character set it drops the selection and completes the whole text again.
    struct Case {
        TFontCharset charset;
        int selStart, selLength;
    };
    for (const Case& c : { Case { DEFAULT_CHARSET, 1, 4 }, Case { SHIFTJIS_CHARSET, 5, 0 } }) {
        SCOPED_TRACE(int(c.charset));
        TTracedCombo* combo = EditCombo(6);
        combo->DefaultFont()->SetCharset(c.charset);
        Focus(combo);
        TypeKey('a');
        ASSERT_EQ(combo->Text(), "apple");
        Backend.Key(VK_SHIFT);
        Tick(250);
        EXPECT_EQ(combo->Text(), "apple");
        EXPECT_EQ(combo->SelStart(), c.selStart);
        EXPECT_EQ(combo->SelLength(), c.selLength);
        delete combo;
    }
}

// The editor draws its text over the face the combo box paints under it, though the combo box clips its children.
TEST_F(SkinComboEditStyleTest, TheSkinnedEditorsTextStandsOnTheFaceNotOnOldText)
{
    TspSkinData* skin = FaceSkin();
    TTracedCombo* combo = EditCombo(0);
    combo->SetSkinData(skin);
    Pump();
    TspCustomEdit* editor = combo->Editor();
    ASSERT_TRUE(editor->EditTransparent());
    const TRect area = editor->BoundsRect();
    const int y = (area.Top + area.Bottom) / 2;
    // The pixels of the editor's middle row, right of where a first letter stands, that are not the face.
    const auto marks = [&] {
        int count = 0;
        for (int x = area.Left + 12; x < area.Right; ++x)
            count += At(10 + x, 10 + y) != TFixtureSkin::PixelOf(x, y, kSeed);
        return count;
    };
    EXPECT_EQ(marks(), 0) << "first show";
    combo->SetText("WWWWWWWWWWWWWWWWWW");
    Pump();
    EXPECT_GT(marks(), 0) << "the long text reaches past its first letter";
    combo->SetText("i");
    Pump();
    EXPECT_EQ(marks(), 0) << "the old text is gone";
}

} // namespace

// The password edit on the headless display: marks instead of characters, the length limit for typing and
// pasting, selection by Shift and the mouse, word jumps and double clicks, the keys that must not copy, the
// letter case of pasted text, and scrolling that keeps the caret in the field.
#include "SkinControlsTestSupport.h"

#include "framework/graphics/TClipboard.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinPasswordEdit.h"

namespace {

class SkinPasswordEditTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(0, 0, 400, 300);
        Form->SetColor(clWhite);
        Form->Show();
        Pump();
        Edit = new TspSkinPasswordEdit(Form);
        Edit->SetParent(Form);
        Edit->SetBounds(10, 10, 121, 21);
        Edit->DefaultFont()->SetColor(clBlack);
        Edit->SetFocus();
        Pump();
    }
    void Type(std::u32string_view text)
    {
        for (char32_t c : text)
            Backend.Char(c);
        Pump();
    }
    void Key(UINT key, std::initializer_list<UINT> modifiers = {})
    {
        for (UINT m : modifiers)
            Backend.KeyDown(m);
        Backend.Key(key);
        for (UINT m : modifiers)
            Backend.KeyUp(m);
        Pump();
    }
    uint32_t At(int x, int y)
    {
        Pump();
        return Backend.WindowPixel(Form->Handle(), x, y);
    }

    TForm* Form = nullptr;
    TspSkinPasswordEdit* Edit = nullptr;
};

// Without a skin the field is (2, 2, 119, 19) inside the control and every mark 17 / 2 + 3 = 11 pixels wide.
constexpr int kFieldLeft = 10 + 2;
constexpr int kMark = 11;
constexpr int kMiddleY = 10 + 10;

TEST_F(SkinPasswordEditTest, TypedCharactersShowAsMarksAndStayInTheText)
{
    Type(U"abé");
    EXPECT_EQ(Edit->Text(), "abé");
    EXPECT_EQ(Edit->CaretPosition(), 3);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const uint32_t centre = At(kFieldLeft + i * kMark + kMark / 2, kMiddleY);
        EXPECT_EQ(centre, i < 3 ? 0x000000u : 0xFFFFFFu) << "a mark for each character, nothing after them";
        EXPECT_EQ(At(kFieldLeft + i * kMark + 1, kMiddleY), 0xFFFFFFu) << "marks stand apart";
    }
    // Backspace and Delete remove whole characters.
    Key(VK_BACK);
    EXPECT_EQ(Edit->Text(), "ab");
    Key(VK_HOME);
    Key(VK_DELETE);
    EXPECT_EQ(Edit->Text(), "b");
}

TEST_F(SkinPasswordEditTest, MaxLengthLimitsTypingAndRefusesAPasteThatWouldPassIt)
{
    Edit->SetMaxLength(4);
    Type(U"abcde");
    EXPECT_EQ(Edit->Text(), "abcd");
    struct Case {
        const char* pasted;
        int selStart, selLength;
        const char* text;
    };
    const Case kCases[] = {
        { "xyz", 1, 2, "abcd" }, // 5 characters: nothing inserted
        { "xy", 1, 2, "axyd" },
        { "\xc3\xa9\xc3\xa9", 0, 2, "\xc3\xa9\xc3\xa9yd" }, // two characters, four bytes
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.pasted);
        Clipboard()->SetAsText(c.pasted);
        Edit->SetSelStart(c.selStart);
        Edit->SetSelLength(c.selLength);
        Key('V', { VK_CONTROL });
        EXPECT_EQ(Edit->Text(), c.text);
        EXPECT_EQ(Edit->SelLength(), 0) << "the selection is dropped either way";
    }
}

TEST_F(SkinPasswordEditTest, ShiftHomeSelectsBackToTheStartAndTypingReplacesIt)
{
    Type(U"secret");
    Key(VK_HOME, { VK_SHIFT });
    EXPECT_EQ(Edit->SelStart(), 0);
    EXPECT_EQ(Edit->SelLength(), 6);
    // Shift+Right shrinks it from the caret's side; the anchor stays.
    Key(VK_RIGHT, { VK_SHIFT });
    EXPECT_EQ(Edit->SelStart(), 1);
    EXPECT_EQ(Edit->SelLength(), 5);
    Key(VK_HOME, { VK_SHIFT });
    Type(U"x");
    EXPECT_EQ(Edit->Text(), "x");
    EXPECT_EQ(Edit->CaretPosition(), 1);
    // The selection paints in the highlight colour, its marks in the highlight text colour.
    Key(VK_HOME, { VK_SHIFT });
    EXPECT_EQ(At(kFieldLeft + 1, kMiddleY), Rgb(clHighlight));
    EXPECT_EQ(At(kFieldLeft + kMark / 2, kMiddleY), Rgb(clHighlightText));
}

TEST_F(SkinPasswordEditTest, WordJumpsAndDoubleClicksFollowTheSpaces)
{
    Type(U"ab cd ef");
    Key(VK_HOME);
    Key(VK_RIGHT, { VK_CONTROL });
    EXPECT_EQ(Edit->CaretPosition(), 3);
    Key(VK_END);
    Key(VK_LEFT, { VK_CONTROL });
    EXPECT_EQ(Edit->CaretPosition(), 6);
    // A double click on either letter of the second word selects it with the space after it.
    for (int letter : { 3, 4 }) {
        SCOPED_TRACE(letter);
        Backend.AdvanceClock(1000);
        const int x = kFieldLeft + letter * kMark + 3;
        Backend.Click(x, kMiddleY);
        Backend.Click(x, kMiddleY);
        Pump();
        EXPECT_EQ(Edit->SelText(), "cd ");
    }
    // Dragging selects from the press to the pointer.
    Backend.AdvanceClock(1000);
    Backend.MouseMove(kFieldLeft + 1, kMiddleY);
    Backend.MouseDown();
    Backend.MouseMove(kFieldLeft + 5 * kMark + 1, kMiddleY);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Edit->SelText(), "ab cd");
}

TEST_F(SkinPasswordEditTest, NothingCopiesOrCutsAndOnlyPasteKeysPaste)
{
    Type(U"hidden");
    Edit->SelectAll();
    Clipboard()->SetAsText("kept");
    for (UINT key : { 'C', 'X', 'A', 'Z' }) {
        SCOPED_TRACE(key);
        Key(key, { VK_CONTROL });
        EXPECT_EQ(Clipboard()->AsText(), "kept");
        EXPECT_EQ(Edit->Text(), "hidden");
    }
    Edit->SetCharCase(ecUpperCase);
    EXPECT_EQ(Edit->Text(), "HIDDEN") << "a text already there is converted";
    Edit->SetSelStart(6);
    Key(VK_INSERT, { VK_SHIFT });
    EXPECT_EQ(Edit->Text(), "HIDDENKEPT");
    Clipboard()->SetAsText("é!");
    Key('V', { VK_CONTROL });
    EXPECT_EQ(Edit->Text(), "HIDDENKEPTÉ!");
    // Read-only refuses typing, deleting and pasting.
    Edit->SetReadOnly(true);
    Type(U"z");
    Key(VK_BACK);
    Key('V', { VK_CONTROL });
    EXPECT_EQ(Edit->Text(), "HIDDENKEPTÉ!");
}

TEST_F(SkinPasswordEditTest, TheFieldScrollsToKeepTheCaretVisible)
{
    // Ten marks fit the 117 pixels of the field.
    Type(U"0123456789abcde");
    EXPECT_EQ(Edit->FirstVisibleChar(), 6);
    EXPECT_LE(Edit->GetCharX(15), 2 + 117);
    POINT caret;
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, Edit->GetCharX(15));
    Key(VK_HOME);
    EXPECT_EQ(Edit->FirstVisibleChar(), 1);
    EXPECT_EQ(Edit->GetCharX(0), 2);
    // Marks that fit are placed by the alignment.
    Edit->SetText("ab");
    Edit->SetTextAlignment(taRightJustify);
    EXPECT_EQ(Edit->GetCharX(0), 2 + 117 - 2 * kMark);
    Edit->SetTextAlignment(taCenter);
    EXPECT_EQ(Edit->GetCharX(0), 2 + (117 - 2 * kMark) / 2);
}

TEST_F(SkinPasswordEditTest, TheSkinnedFieldTakesTheEditRecordsFaceAndColoursByState)
{
    // A 100 x 24 edit face with 4-pixel ends and its field (4, 4, 96, 20), the active face at y 30.
    constexpr uint32_t kSeed = 5;
    TFixtureSkin fixture;
    fixture.AddActivePicture("sheet.bmp", 200, 80, kSeed);
    fixture.AddControl("edit", "edit",
        { { "pictureindex", "0" }, { "skinrect", "0,0,100,24" }, { "activeskinrect", "0,30,100,54" },
            { "lefttoppoint", "4,4" }, { "righttoppoint", "96,4" }, { "leftbottompoint", "4,20" },
            { "rightbottompoint", "96,20" }, { "clientrect", "4,4,96,20" }, { "fontcolor", "255" },
            { "activefontcolor", "65280" }, { "disabledfontcolor", "8421504" } });
    auto* skin = new TspSkinData(Application);
    skin->LoadFromFile(fixture.Write());
    auto* skinned = new TspSkinPasswordEdit(Form);
    skinned->SetParent(Form);
    skinned->SetBounds(10, 100, 150, 24);
    skinned->SetSkinData(skin);
    skinned->SetText("ab");
    Pump();
    EXPECT_EQ(skinned->GetEditRect(), TRect(4, 4, 146, 20)) << "the field widened with the control";
    // Marks 16 / 2 + 3 = 11 wide from the field's left edge; the first mark's centre.
    const int markX = 10 + 4 + 5, markY = 100 + 12;
    struct State {
        const char* name;
        bool focused, enabled;
        uint32_t leftEnd;
        TColor mark;
    };
    const State kStates[] = {
        { "idle", false, true, TFixtureSkin::PixelOf(0, 0, kSeed), TColor(255) },
        { "focused", true, true, TFixtureSkin::PixelOf(0, 30, kSeed), TColor(65280) },
        { "disabled", false, false, TFixtureSkin::PixelOf(0, 0, kSeed), TColor(8421504) },
    };
    for (const State& state : kStates) {
        SCOPED_TRACE(state.name);
        skinned->SetEnabled(state.enabled);
        (state.focused ? static_cast<TWinControl*>(skinned) : Edit)->SetFocus();
        skinned->SetSelLength(0);
        Pump();
        EXPECT_EQ(At(10, 100), state.leftEnd);
        EXPECT_EQ(At(markX, markY), Rgb(state.mark));
    }
}

} // namespace

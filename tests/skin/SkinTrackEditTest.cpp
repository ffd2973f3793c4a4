// The track edit on the headless display: typing with the range's rewriting, numbers too long to convert, the
// length limit on focus, stepping by keys and wheel, and its drop-down track bar: where it opens, the focus it
// leaves in the edit, the keys that move it, what closes it, and its fade on the virtual clock.
#include "SkinControlsTestSupport.h"

#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinTrackEdit.h"

namespace {

class SkinTrackEditTest : public SkinControlsTest {
protected:
    TspSkinTrackEdit* Place(int x, int y, int width = 120)
    {
        auto* edit = new TspSkinTrackEdit(Form);
        edit->SetParent(Form);
        edit->SetBounds(x, y, width, 20);
        Pump();
        return edit;
    }
    void Type(std::u32string_view text)
    {
        for (char32_t c : text)
            Backend.Char(c);
        Pump();
    }
    void Retype(TspSkinTrackEdit* edit, std::u32string_view text)
    {
        edit->SelectAll();
        Backend.Key(VK_DELETE);
        Type(text);
    }
    void Focus(TWinControl* control)
    {
        control->SetFocus();
        Pump();
    }
    // The popup's place on the screen, as the display has it.
    RECT PopupBounds(TspSkinTrackEdit* edit)
    {
        const THeadlessBackend::TNativeState* state = Backend.Native(edit->PopupTrackBar()->Handle());
        return state ? state->Bounds : RECT {};
    }
};

TEST_F(SkinTrackEditTest, TypingFollowsTheRangeAndANumberTooLongNeverFails)
{
    TspSkinTrackEdit* edit = Place(10, 10);
    struct Case {
        int min, max;
        std::u32string typed;
        int value;
        const char* text;
        const char* afterExit;
    };
    const Case kCases[] = {
        { -100, 100, U"50", 50, "50", "50" },
        { 0, 100, U"150", 100, "100", "100" }, // beyond the range: rewritten at once
        { 10, 100, U"5", 10, "5", "10" }, // on the way to 50: kept as typed
        { -100, -10, U"5", -10, "-10", "-10" }, // a sign the range cannot hold
        { 0, 100, U"-", 30, "-", "30" }, // not a number yet
        // Too long for an integer: a range limits it to the nearer bound; without one the value stays at the
        // last typed number that converted.
        { 0, 100, U"99999999999", 100, "100", "100" },
        { -100, 100, U"-99999999999", -100, "-100", "-100" },
        { 0, 0, U"99999999999", 999999999, "99999999999", "999999999" },
    };
    auto* other = Place(10, 60);
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        edit->SetMinValue(c.min);
        edit->SetMaxValue(c.max);
        edit->SetMaxLength(0);
        edit->SetValue(30);
        Focus(edit);
        Retype(edit, c.typed);
        EXPECT_EQ(edit->Value(), c.value);
        EXPECT_EQ(edit->Text(), c.text);
        Focus(other);
        EXPECT_EQ(edit->Text(), c.afterExit);
    }
}

TEST_F(SkinTrackEditTest, FocusLimitsTheLengthToTheLongerBoundAndRefusedKeysBeep)
{
    TspSkinTrackEdit* edit = Place(10, 10);
    edit->SetMinValue(-100);
    edit->SetMaxValue(50);
    Focus(edit);
    EXPECT_EQ(edit->MaxLength(), 4);
    edit->SelectAll();
    const unsigned long long beeps = MessageBeepCount();
    Type(U"-4a.-");
    EXPECT_EQ(edit->Text(), "-4");
    EXPECT_EQ(MessageBeepCount() - beeps, 3u) << "a letter, a separator and a second sign";
    // Equal bounds leave the limit alone.
    auto* free = Place(10, 60);
    free->SetMinValue(7);
    free->SetMaxValue(7);
    Focus(free);
    EXPECT_EQ(free->MaxLength(), 0);
}

TEST_F(SkinTrackEditTest, ArrowsAndWheelStepTheValueOrTheOpenPopup)
{
    TspSkinTrackEdit* edit = Place(10, 10);
    edit->SetIncrement(5);
    edit->SetValue(50);
    Focus(edit);
    Backend.Key(VK_UP);
    Pump();
    EXPECT_EQ(edit->Value(), 55);
    Backend.MouseMove(40, 20);
    Backend.Wheel(120); // away from the user: down
    Pump();
    EXPECT_EQ(edit->Value(), 50);
    Backend.Wheel(-240); // towards the user: up, one step a message
    Pump();
    EXPECT_EQ(edit->Value(), 55);
    Backend.Key(VK_UP);
    Backend.Key(VK_UP);
    Backend.Key(VK_UP);
    Pump();
    EXPECT_EQ(edit->Value(), 70);

    edit->DropDown();
    Pump();
    ASSERT_TRUE(edit->IsPopupVisible());
    Backend.Key(VK_UP);
    Pump();
    EXPECT_EQ(edit->PopupTrackBar()->Value(), 75);
    EXPECT_EQ(edit->Value(), 75);
    EXPECT_EQ(edit->Text(), "75");
    // Clamped by the popup's range as by the edit's.
    edit->SetValue(98);
    edit->CloseUp();
    edit->DropDown();
    Backend.Key(VK_UP);
    Pump();
    EXPECT_EQ(edit->Value(), 100);

    edit->SetSupportUpDownKeys(false);
    Backend.Key(VK_DOWN);
    Pump();
    EXPECT_EQ(edit->Value(), 100);
}

TEST_F(SkinTrackEditTest, TheButtonOpensThePopupBelowWithoutTakingTheFocusAndEscCloses)
{
    TspSkinTrackEdit* edit = Place(10, 10);
    edit->SetValue(40);
    bool cancelled = false;
    edit->OnKeyPress = [&](TObject*, char32_t& key) { cancelled |= key == 27; };
    // The edit's button is its right 20 pixels.
    Click(10 + 110, 10 + 10);
    ASSERT_TRUE(edit->IsPopupVisible());
    EXPECT_TRUE(edit->Focused());
    const RECT bounds = PopupBounds(edit);
    EXPECT_EQ(bounds.left, 10);
    EXPECT_EQ(bounds.top, 30);
    EXPECT_EQ(bounds.right - bounds.left, 120);
    EXPECT_EQ(bounds.bottom - bounds.top, 20) << "without a skin the popup is as high as the edit";
    EXPECT_EQ(edit->PopupTrackBar()->Value(), 40);

    // A click on the track jumps the value there and leaves the focus in the edit.
    edit->SetJumpWhenClick(true);
    Click(10 + 100, 30 + 10);
    EXPECT_TRUE(edit->IsPopupVisible());
    EXPECT_TRUE(edit->Focused());
    EXPECT_GT(edit->Value(), 80);
    EXPECT_EQ(edit->Text(), std::to_string(edit->Value()));

    Backend.Key(VK_ESCAPE, U"\x1b");
    Pump();
    EXPECT_FALSE(edit->IsPopupVisible());
    EXPECT_FALSE(cancelled) << "the Esc that closes the popup is not the form's";
    // The button toggles.
    Click(10 + 110, 10 + 10);
    EXPECT_TRUE(edit->IsPopupVisible());
    Click(10 + 110, 10 + 10);
    EXPECT_FALSE(edit->IsPopupVisible());
}

TEST_F(SkinTrackEditTest, APressElsewhereOrLeavingTheEditClosesThePopup)
{
    TspSkinTrackEdit* edit = Place(10, 10);
    TspSkinTrackEdit* other = Place(200, 10);
    Focus(edit);
    edit->DropDown();
    Pump();
    ASSERT_TRUE(edit->IsPopupVisible());
    Click(200 + 20, 10 + 10);
    EXPECT_FALSE(edit->IsPopupVisible());
    EXPECT_TRUE(other->Focused());
    // Leaving by the keyboard closes it too.
    Focus(edit);
    edit->DropDown();
    Pump();
    Focus(other);
    EXPECT_FALSE(edit->IsPopupVisible());
}

TEST_F(SkinTrackEditTest, ThePopupStaysInsideTheWorkArea)
{
    Form->SetBounds(0, 0, 1024, 768);
    struct Case {
        int x, y;
        int width;
        TspTrackBarPopupKind kind;
        int popupWidth;
        int left, top;
    };
    const Case kCases[] = {
        { 100, 100, 120, tbpRight, 0, 100, 120 },
        { 100, 100, 120, tbpRight, 200, 100, 120 }, // starts at the edit's left edge
        { 300, 100, 120, tbpLeft, 200, 220, 120 }, // ends at the edit's right edge
        { 40, 100, 120, tbpLeft, 200, 0, 120 }, // would start left of the screen
        { 950, 100, 60, tbpRight, 200, 824, 120 }, // moved left into the work area
        { 100, 740, 120, tbpRight, 0, 100, 720 }, // no room below: above
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.x * 1000 + c.y);
        TspSkinTrackEdit* edit = Place(c.x, c.y, c.width);
        edit->SetPopupKind(c.kind);
        edit->SetTrackBarWidth(c.popupWidth);
        edit->DropDown();
        Pump();
        const RECT bounds = PopupBounds(edit);
        EXPECT_EQ(bounds.left, c.left);
        EXPECT_EQ(bounds.top, c.top);
        EXPECT_EQ(bounds.right - bounds.left, c.popupWidth ? c.popupWidth : c.width);
        delete edit;
    }
}

TEST_F(SkinTrackEditTest, OpeningKeepsAValueThePopupsRangeCannotHold)
{
    // Without a range the popup runs from 0 to 0; opening it must not pull the edit's value there.
    TspSkinTrackEdit* edit = Place(10, 10);
    edit->SetMaxValue(0);
    edit->SetValue(500);
    int changes = 0;
    edit->OnChange = [&](TObject*) { ++changes; };
    edit->DropDown();
    Pump();
    ASSERT_TRUE(edit->IsPopupVisible());
    EXPECT_EQ(edit->Value(), 500);
    EXPECT_EQ(edit->Text(), "500");
    EXPECT_EQ(changes, 0);
    edit->OnChange = nullptr;
}

TEST_F(SkinTrackEditTest, TheSkinnedPopupTakesItsRecordAndFadesInOnTheClock)
{
    TspSkinTrackEdit* edit = Place(10, 10);
    edit->SetSkinData(Skin);
    edit->SetTrackBarAlphaBlend(true);
    edit->SetTrackBarAlphaBlendAnimation(true);
    edit->SetTrackBarAlphaBlendValue(45);
    for (int opening = 0; opening < 2; ++opening) {
        edit->DropDown();
        Pump();
        const HWND window = edit->PopupTrackBar()->Handle();
        // The fixture's "htrackbar" is a fixed 100 x 20 face.
        const RECT bounds = PopupBounds(edit);
        EXPECT_EQ(bounds.right - bounds.left, 100);
        EXPECT_EQ(bounds.bottom - bounds.top, 20);
        std::vector<int> seen { Backend.Native(window)->Opacity };
        for (int i = 0; i < 8; ++i) {
            Backend.AdvanceClock(10);
            Pump();
            if (Backend.Native(window)->Opacity != seen.back())
                seen.push_back(Backend.Native(window)->Opacity);
        }
        EXPECT_EQ(seen, (std::vector<int> { 0, 10, 20, 30, 40, 45 }));
        edit->CloseUp();
        Pump();
        EXPECT_FALSE(edit->PopupTrackBar()->Layered());
    }
    // Without the animation it shows at once at its opacity.
    edit->SetTrackBarAlphaBlendAnimation(false);
    edit->DropDown();
    Pump();
    EXPECT_EQ(Backend.Native(edit->PopupTrackBar()->Handle())->Opacity, 45);
}

} // namespace

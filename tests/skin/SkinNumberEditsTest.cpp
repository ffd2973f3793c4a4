// The spin and numeric edits on the headless display: limiting, typing and rewriting, the number keys with the
// decimal separator of the settings, stepping by keys, wheel and buttons, and the buttons' repeat on the virtual
// clock.
#include "SkinControlsTestSupport.h"

#include "framework/core/FormatSettings.h"
#include "framework/graphics/TClipboard.h"
#include "platform/controls/MaskEngine.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinNumericEdit.h"
#include "skin/controls/SkinSpinEdit.h"
#include "skin/controls/SkinUpDown.h"

namespace {

class SkinNumberEditsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Saved = FormatSettings();
        FormatSettings().DecimalSeparator = U'.';
        Form = NewForm(0, 0, 400, 300);
        Form->Show();
        Pump();
    }
    void TearDown() override
    {
        FormatSettings() = Saved;
        ControlsTest::TearDown();
    }

    template <class T> T* Place(int x, int y)
    {
        auto* control = new T(Form);
        control->SetParent(Form);
        control->SetBounds(x, y, 120, 20);
        Pump();
        return control;
    }
    void Type(std::u32string_view text)
    {
        for (char32_t c : text)
            Backend.Char(c);
        Pump();
    }
    // Replaces the focused edit's text by typing.
    void Retype(TCustomEdit* edit, std::u32string_view text)
    {
        edit->SelectAll();
        Backend.Key(VK_DELETE);
        Type(text);
    }
    void Advance(uint64_t ms)
    {
        Backend.AdvanceClock(ms);
        Pump();
    }

    TFormatSettings Saved;
    TForm* Form = nullptr;
};

TEST_F(SkinNumberEditsTest, SpinValueIsLimitedFormattedAndReported)
{
    auto* spin = Place<TspSkinSpinEdit>(10, 10);
    int changes = 0;
    spin->OnChange = [&](TObject*) { ++changes; };
    spin->SetValue(12345);
    EXPECT_EQ(spin->Text(), "12345") << "both bounds 0: no range";
    spin->SetMaxValue(100);
    EXPECT_EQ(spin->Value(), 100) << "a bound the value passes pulls it along";
    changes = 0;
    spin->SetValue(150);
    EXPECT_EQ(spin->Text(), "100");
    EXPECT_EQ(changes, 1);
    spin->SetValue(100);
    EXPECT_EQ(changes, 2) << "setting the value shown still reports";
    // A handler that sets the value again only rewrites the text.
    spin->OnChange = [&](TObject*) {
        ++changes;
        spin->SetValue(7);
    };
    spin->SetValue(20);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(spin->Value(), 7);
    EXPECT_EQ(spin->Text(), "7");
    spin->OnChange = nullptr;
    spin->SetMinValue(0);
    spin->SetMaxValue(0);
    struct Case {
        TspValueType type;
        int decimals;
        char32_t separator;
        double value;
        const char* shown;
    };
    const Case kCases[] = {
        { vtInteger, 2, U'.', 2.5, "2" },
        { vtInteger, 2, U'.', 3.5, "4" },
        { vtInteger, 2, U'.', -2.5, "-2" },
        { vtFloat, 2, U'.', 1, "1.00" },
        { vtFloat, 2, U',', 1, "1,00" },
        { vtFloat, 3, U',', -0.5, "-0,500" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.shown);
        FormatSettings().DecimalSeparator = c.separator;
        spin->SetValueType(c.type);
        spin->SetDecimal(static_cast<uint8_t>(c.decimals));
        spin->SetValue(c.value);
        EXPECT_EQ(spin->Text(), c.shown);
    }
}

TEST_F(SkinNumberEditsTest, SpinTypingLimitsAtOnceAndRewritesOnlyBeyondTheRange)
{
    auto* spin = Place<TspSkinSpinEdit>(10, 10);
    auto* other = Place<TspSkinSpinEdit>(10, 50);
    struct Case {
        double min, max;
        std::u32string entered;
        bool pasted;
        double value;
        const char* text;
        const char* afterExit;
    };
    const Case kCases[] = {
        { 10, 100, U"5", false, 10, "5", "10" }, // on the way to 15: kept as typed
        { 10, 100, U"150", false, 100, "100", "100" },
        { -100, -10, U"-150", false, -100, "-100", "-100" },
        { -100, -10, U"5", false, -10, "-10", "-10" },
        { 10, 100, U"-", false, 50, "-", "50" }, // not a number yet
        // Too long to convert: limited to the nearer bound instead of failing.
        { 0, 100, U"99999999999", true, 100, "100", "100" },
        { -100, 100, U"-99999999999", true, -100, "-100", "-100" },
        { 0, 0, U"99999999999", true, 50, "99999999999", "50" }, // no range: the value stays
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.text));
        spin->SetMinValue(c.min);
        spin->SetMaxValue(c.max);
        spin->SetMinValue(c.min);
        spin->SimpleSetValue(50);
        const double before = spin->Value();
        int changes = 0;
        spin->OnChange = [&](TObject*) { ++changes; };
        spin->Edit()->SetFocus();
        Pump();
        if (c.pasted) {
            Clipboard()->SetAsText(ToUtf8(c.entered));
            spin->Edit()->SelectAll();
            EXPECT_NO_THROW(spin->Edit()->PasteFromClipboard());
            Pump();
        } else {
            Retype(spin->Edit(), c.entered);
        }
        EXPECT_EQ(spin->Value(), c.value);
        EXPECT_EQ(spin->Text(), c.text);
        EXPECT_EQ(changes > 0, c.value != before);
        other->Edit()->SetFocus();
        Pump();
        EXPECT_EQ(spin->Text(), c.afterExit);
        spin->OnChange = nullptr;
    }
}

TEST_F(SkinNumberEditsTest, SpinKeysFollowTheDecimalSeparatorAndBeepWhenRefused)
{
    auto* spin = Place<TspSkinSpinEdit>(10, 10);
    spin->SetValueType(vtFloat);
    struct Case {
        char32_t separator;
        std::u32string typed;
        const char* text;
        double value;
        unsigned long long beeps;
    };
    const Case kCases[] = {
        { U'.', U"1.5", "1.5", 1.5, 0 },
        { U',', U"1,5", "1,5", 1.5, 0 },
        { U',', U"1.5", "15", 15, 1 }, // the other locale's separator is no number key
        { U'.', U"1.5.2", "1.52", 1.52, 1 }, // a second separator
        { U'.', U"-1-2", "-12", -12, 1 }, // a second minus
        { U'.', U"1a2", "12", 12, 1 },
    };
    spin->Edit()->SetFocus();
    Pump();
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.text));
        FormatSettings().DecimalSeparator = c.separator;
        const unsigned long long before = MessageBeepCount();
        Retype(spin->Edit(), c.typed);
        EXPECT_EQ(spin->Text(), c.text);
        EXPECT_DOUBLE_EQ(spin->Value(), c.value);
        EXPECT_EQ(MessageBeepCount() - before, c.beeps);
    }
}

TEST_F(SkinNumberEditsTest, SpinStepsWithArrowsWheelAndButtonsEvenWhenTheEditorIsOff)
{
    auto* spin = Place<TspSkinSpinEdit>(10, 10);
    spin->SetMaxValue(10);
    spin->SetValue(5);
    std::vector<uint16_t> keysSeen;
    spin->OnEditKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keysSeen.push_back(key); };
    spin->SetEditorEnabled(false);
    spin->Edit()->SetFocus();
    Pump();
    Type(U"7\b");
    EXPECT_EQ(spin->Text(), "5") << "typing and Backspace are refused";
    Backend.Key(VK_UP);
    Backend.Key(VK_UP);
    Pump();
    EXPECT_EQ(spin->Value(), 7);
    EXPECT_TRUE(keysSeen.empty()) << "the arrows step; the key handler never sees them";
    Backend.MouseMove(50, 20);
    Backend.Wheel(120);
    Pump();
    EXPECT_EQ(spin->Value(), 6) << "a turn away from the user steps down";
    Backend.Wheel(-240);
    Pump();
    EXPECT_EQ(spin->Value(), 7) << "one step a message, whatever the delta";
    // Up button (113..128, 12..20) and down button (113..128, 20..28) in form coordinates.
    Click(120, 15);
    EXPECT_EQ(spin->Value(), 8);
    Click(120, 25);
    EXPECT_EQ(spin->Value(), 7);
    EXPECT_EQ(spin->UpButtonRect(), TRect(103, 2, 118, 10));
    EXPECT_EQ(spin->DownButtonRect(), TRect(103, 10, 118, 18));
}

TEST_F(SkinNumberEditsTest, SpinButtonRepeatsOnTheClockPausesOffTheButtonAndNeverStepsOnAReleaseOutside)
{
    auto* spin = Place<TspSkinSpinEdit>(10, 10);
    Backend.AdvanceClock(1000);
    Backend.MouseMove(120, 15);
    Pump();
    Backend.MouseDown();
    Pump();
    Advance(499);
    EXPECT_EQ(spin->Value(), 0);
    Advance(1); // 500: the first tick only starts the repeat
    EXPECT_EQ(spin->Value(), 0);
    Advance(100); // 600
    EXPECT_EQ(spin->Value(), 1);
    Advance(100);
    Advance(100);
    EXPECT_EQ(spin->Value(), 3);
    Backend.MouseMove(300, 200); // off the button: paused
    Pump();
    Advance(500);
    EXPECT_EQ(spin->Value(), 3);
    Backend.MouseMove(120, 15); // back: resumes every 50 ms
    Pump();
    Advance(50);
    EXPECT_EQ(spin->Value(), 4);
    Advance(50);
    EXPECT_EQ(spin->Value(), 5);
    Backend.MouseMove(300, 200);
    Pump();
    Backend.MouseUp();
    Pump();
    Advance(1000);
    EXPECT_EQ(spin->Value(), 5) << "a release outside neither steps nor leaves the repeat running";
}

TEST_F(SkinNumberEditsTest, NumericEditLimitsOnlyWithARangeAndRoundsFloatsOnExit)
{
    auto* numeric = Place<TspSkinNumericEdit>(10, 10);
    auto* other = Place<TspSkinNumericEdit>(10, 50);
    numeric->SetMinValue(5);
    numeric->SetMaxValue(5);
    numeric->SetValue(20);
    EXPECT_EQ(numeric->Text(), "20") << "equal bounds: no range";
    numeric->SetMinValue(0);
    numeric->SetMaxValue(10);
    numeric->SetValue(20);
    EXPECT_EQ(numeric->Text(), "10");
    int changes = 0;
    numeric->OnChange = [&](TObject*) { ++changes; };
    numeric->SetFocus();
    Pump();
    Retype(numeric, U"-");
    EXPECT_GT(changes, 0) << "an incomplete text is reported too";
    Retype(numeric, U"99999999999");
    EXPECT_EQ(numeric->Text(), "10");
    EXPECT_EQ(numeric->Value(), 10);
    numeric->SetMinValue(10);
    numeric->SetMaxValue(100);
    Retype(numeric, U"5");
    EXPECT_EQ(numeric->Text(), "5");
    EXPECT_EQ(numeric->Value(), 10);
    other->SetFocus();
    Pump();
    EXPECT_EQ(numeric->Text(), "10");
    // A float keeps its digits while typed and is shown (and taken) with Decimal digits on exit.
    numeric->SetMinValue(0);
    numeric->SetMaxValue(0);
    numeric->SetValueType(vtFloat);
    numeric->SetFocus();
    Pump();
    Retype(numeric, U"1.234");
    EXPECT_DOUBLE_EQ(numeric->Value(), 1.234);
    changes = 0;
    other->SetFocus();
    Pump();
    EXPECT_EQ(numeric->Text(), "1.23");
    EXPECT_DOUBLE_EQ(numeric->Value(), 1.23);
    EXPECT_EQ(changes, 1);
    // Up and Down step only when asked to, and the key handler sees them first.
    numeric->SetSupportUpDownKeys(true);
    numeric->SetFocus();
    Pump();
    Backend.Key(VK_UP);
    Pump();
    EXPECT_DOUBLE_EQ(numeric->Value(), 2.23);
    const unsigned long long beeps = MessageBeepCount();
    numeric->SetReadOnly(true);
    Type(U"5");
    EXPECT_EQ(MessageBeepCount(), beeps + 1) << "a read-only numeric edit refuses digits with a beep";
    EXPECT_EQ(numeric->Text(), "2.23");
}

TEST_F(SkinNumberEditsTest, UpDownPositionIgnoresOutOfRangeAndBoundsPullItSilently)
{
    auto* upDown = new TspSkinUpDown(Form);
    upDown->SetParent(Form);
    TTrace trace;
    upDown->OnChange = [&](TObject*) { trace.push_back("Change " + std::to_string(upDown->Position())); };
    upDown->SetPosition(150);
    EXPECT_EQ(upDown->Position(), 0);
    EXPECT_TRUE(trace.empty());
    upDown->SetPosition(80);
    upDown->SetPosition(80);
    EXPECT_EQ(trace, TTrace({ "Change 80", "Change 80" }));
    upDown->SetMax(50);
    EXPECT_EQ(upDown->Position(), 50);
    upDown->SetMin(60);
    EXPECT_EQ(upDown->Position(), 60);
    EXPECT_EQ(trace.size(), 2u) << "bounds move the position without reporting";
}

TEST_F(SkinNumberEditsTest, UpDownButtonsStepOnReleaseAnywhereAndRepeatWhileHeld)
{
    auto* upDown = new TspSkinUpDown(Form);
    upDown->SetParent(Form);
    upDown->SetBounds(10, 10, 50, 20);
    upDown->SetMax(10);
    upDown->SetPosition(5);
    Pump();
    // Horizontal: button 1 (left, left arrow) and button 0 (right, right arrow).
    EXPECT_EQ(upDown->ButtonRect(1), TRect(0, 0, 25, 20));
    EXPECT_EQ(upDown->ButtonRect(0), TRect(25, 0, 50, 20));
    TTrace trace;
    upDown->OnChange = [&](TObject*) { trace.push_back("Change"); };
    upDown->OnUpButtonClick = [&](TObject*) { trace.push_back("Up"); };
    upDown->OnDownButtonClick = [&](TObject*) { trace.push_back("Down"); };
    Click(50, 20);
    EXPECT_EQ(upDown->Position(), 6);
    EXPECT_EQ(trace, TTrace({ "Change", "Up" }));
    trace.clear();
    // A press released outside the button still steps and reports.
    Backend.AdvanceClock(1000);
    Backend.MouseMove(50, 20);
    Backend.MouseDown();
    Backend.MouseMove(300, 200);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(upDown->Position(), 7);
    EXPECT_EQ(trace, TTrace({ "Change", "Up" }));
    // Holding the left button: a step at 600 ms, then every 100 ms, reporting changes only; stops at Min.
    upDown->SetMin(4);
    trace.clear();
    Backend.AdvanceClock(1000);
    Backend.MouseMove(20, 20);
    Backend.MouseDown();
    Pump();
    Advance(500);
    EXPECT_EQ(upDown->Position(), 7);
    Advance(100);
    EXPECT_EQ(upDown->Position(), 6);
    for (int tick = 0; tick < 10; ++tick)
        Advance(100);
    EXPECT_EQ(upDown->Position(), 4);
    EXPECT_EQ(trace, TTrace({ "Change", "Change", "Change" }));
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(trace.back(), "Down");
    // With no increment a click only reports its button, and holding never repeats.
    upDown->SetIncrement(0);
    trace.clear();
    Backend.AdvanceClock(1000);
    Backend.MouseMove(50, 20);
    Backend.MouseDown();
    Pump();
    Advance(2000);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(trace, TTrace({ "Up" }));
    EXPECT_EQ(upDown->Position(), 4);
}

} // namespace

// The colour combo and list boxes on the headless display: which colours a style lists and how they are named,
// the selection kept before and after the window, the custom line filled through the colour dialog, and the
// swatches drawn.
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "framework/core/TStrings.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinTrackEdit.h"
#include "skin/dialogs/TspSkinColorBoxes.h"
#include "skin/dialogs/TspSkinColorDialog.h"
#include "tests/skin/SkinControlsTestSupport.h"
#include "tests/skin/dialogs/ColorDialogTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(ColorList, StylesAndNames)
{
    EXPECT_EQ(PrettyColorName("clWhite"), "White");
    EXPECT_EQ(PrettyColorName("clMoneyGreen"), "Money Green");
    EXPECT_EQ(PrettyColorName("clBtnFace"), "Btn Face");

    TStringList items;
    struct Case {
        TspColorBoxStyle Style;
        const char* First;
        const char* Last;
        bool HasNone, HasDefault;
        int Count; // -1: more than 20 (the system colours)
    } const cases[] = {
        { { spcbStandardColors }, "clBlack", "clWhite", false, false, 16 },
        { { spcbExtendedColors, spcbPrettyNames }, "Money Green", "Med Gray", false, false, 4 },
        { { spcbStandardColors, spcbExtendedColors }, "clBlack", "clMedGray", false, false, 20 },
        // None without the system colours: it goes with them.
        { { spcbStandardColors, spcbIncludeNone }, "clBlack", "clWhite", false, false, 16 },
        { { spcbStandardColors, spcbSystemColors, spcbIncludeNone }, "clBlack", nullptr, true, false, -1 },
        { { spcbSystemColors, spcbIncludeDefault }, nullptr, nullptr, false, true, -1 },
        { { spcbStandardColors, spcbCustomColor }, "Mine", "clWhite", false, false, 17 },
        { { spcbIncludeNone }, nullptr, nullptr, false, false, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Count << " " << (c.First ? c.First : "-"));
        FillColorList(&items, c.Style, clRed, "Mine");
        if (c.Count >= 0)
            EXPECT_EQ(items.Count(), c.Count);
        else
            EXPECT_GT(items.Count(), 20);
        if (c.First)
            EXPECT_EQ(items.Strings(0), c.First);
        if (c.Last)
            EXPECT_EQ(items.Strings(items.Count() - 1), c.Last);
        bool none = false, dflt = false;
        for (int i = 0; i < items.Count(); ++i) {
            none = none || LineColor(&items, i) == clNone;
            dflt = dflt || LineColor(&items, i) == clDefault;
        }
        EXPECT_EQ(none, c.HasNone);
        EXPECT_EQ(dflt, c.HasDefault);
    }
    FillColorList(&items, { spcbStandardColors, spcbCustomColor }, clRed, "Mine");
    EXPECT_EQ(LineColor(&items, 0), clRed);
    EXPECT_EQ(LineColor(&items, 16), clWhite);
}

class ColorBoxesTest : public SkinInputTest {
protected:
    void SetUp() override
    {
        SkinInputTest::SetUp();
        Form = NewForm(0, 0, 400, 300);
        Form->SetColor(clWhite);
        Form->Show();
        Pump();
    }
    void TearDown() override
    {
        Application->OnIdle = nullptr;
        SkinInputTest::TearDown();
    }

    TColorDialogAnswers Answers;
};

TEST_F(ColorBoxesTest, ComboSelectionBeforeAndAfterItsWindow)
{
    auto* box = new TspSkinColorComboBox(Form);
    box->SetBounds(10, 10, 150, 20);
    // Before the window: remembered and answered as it is.
    box->SetSelected(clTeal);
    EXPECT_EQ(box->Selected(), clTeal);
    EXPECT_EQ(box->Items()->Count(), 0);
    box->SetParent(Form);
    box->HandleNeeded();
    Pump();
    EXPECT_EQ(box->GetColorName(box->ItemIndex()), "clTeal");
    EXPECT_EQ(box->Selected(), clTeal);
    // A colour that is not listed: no current line, and the "none" answer.
    box->SetSelected(0x123456);
    EXPECT_EQ(box->ItemIndex(), -1);
    EXPECT_EQ(box->Selected(), kNoColorSelected);
    // With the custom line it goes there; the style change keeps the choice.
    box->SetExStyle({ spcbStandardColors, spcbCustomColor, spcbPrettyNames });
    box->SetSelected(0x123456);
    EXPECT_EQ(box->ItemIndex(), 0);
    EXPECT_EQ(box->GetColorName(0), "Custom...");
    EXPECT_EQ(box->Selected(), static_cast<TColor>(0x123456));
    box->SetSelected(clWhite);
    EXPECT_EQ(box->GetColorName(box->ItemIndex()), "White");
    // Only "none" asked for: nothing to list, the box is disabled.
    box->SetExStyle({ spcbIncludeNone });
    EXPECT_FALSE(box->Enabled());
    EXPECT_EQ(box->Items()->Count(), 0);
}

TEST_F(ColorBoxesTest, ComboFaceShowsTheSwatchAndName)
{
    auto* box = new TspSkinColorComboBox(Form);
    box->SetBounds(10, 10, 150, 22);
    box->SetParent(Form);
    box->HandleNeeded();
    box->SetSelected(clRed);
    const TRect item = box->ItemAreaRect();
    const int h = item.Bottom - item.Top;
    // A square swatch 1 pixel in from the item's edges, then the text.
    EXPECT_EQ(At(10 + item.Left + 2, 10 + item.Top + h / 2), Rgb(clRed));
    EXPECT_EQ(At(10 + item.Left + h - 3, 10 + item.Top + h / 2), Rgb(clRed));
    EXPECT_NE(At(10 + item.Left + h + 2, 10 + item.Top + h / 2), Rgb(clRed));
    // Without names the swatch fills the item.
    box->SetShowNames(false);
    EXPECT_EQ(At(10 + item.Left + h + 10, 10 + item.Top + h / 2), Rgb(clRed));
}

TEST_F(ColorBoxesTest, CustomColourThroughTheDialog)
{
    auto* box = new TspSkinColorComboBox(Form);
    box->SetBounds(10, 10, 150, 20);
    box->SetParent(Form);
    box->SetExStyle({ spcbStandardColors, spcbCustomColor });
    box->SetSelected(0x102030);
    box->SetFocus();
    std::vector<std::string> events;
    box->OnClick = [&](TObject*) { events.push_back("Click"); };
    box->OnChange = [&](TObject*) { events.push_back("Change"); };
    // Enter on the custom line opens the dialog on its colour; Cancel changes nothing and fires nothing.
    Answers.Answer(clLime, false);
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Answers.Dialogs, 1);
    EXPECT_EQ(Answers.StartColor, static_cast<TColor>(0x102030));
    EXPECT_EQ(box->Selected(), static_cast<TColor>(0x102030));
    EXPECT_TRUE(events.empty());
    // OK: the line takes the colour, then OnClick and OnChange.
    Answers.Answer(0x405060, true);
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Answers.Dialogs, 2);
    EXPECT_EQ(box->Selected(), static_cast<TColor>(0x405060));
    EXPECT_EQ(events, (std::vector<std::string> { "Click", "Change" }));
    // On another line Enter is the combo box's own.
    box->SetItemIndex(3);
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Answers.Dialogs, 2);
}

TEST_F(ColorBoxesTest, ListBoxDoubleClickAndEnterOnTheCustomLine)
{
    auto* box = new TspSkinColorListBox(Form);
    box->SetBounds(10, 10, 180, 200);
    box->SetParent(Form);
    box->HandleNeeded();
    Pump();
    EXPECT_GT(box->Items()->Count(), 20); // standard, extended and system colours by default
    int dblClicks = 0, clicks = 0;
    box->OnListBoxDblClick = [&](TObject*) { ++dblClicks; };
    box->OnListBoxClick = [&](TObject*) { ++clicks; };
    Answers.Answer(clAqua, true);
    const TRect first = box->ItemRect(0);
    const TPoint at = box->ListBox()->ClientToScreen({ first.Left + 30, first.Top + 5 });
    // Without the custom line a double click is only reported.
    box->SetItemIndex(0);
    Backend.AdvanceClock(1000);
    Backend.Click(at.X, at.Y);
    Backend.Click(at.X, at.Y);
    Pump();
    EXPECT_EQ(dblClicks, 1);
    EXPECT_EQ(Answers.Dialogs, 0);
    // With it, the double click opens the dialog and the accepted colour fills the line.
    box->SetExStyle({ spcbStandardColors, spcbCustomColor });
    box->SetItemIndex(0);
    Backend.AdvanceClock(1000);
    Backend.Click(at.X, at.Y);
    Backend.Click(at.X, at.Y);
    Pump();
    EXPECT_EQ(dblClicks, 2);
    EXPECT_EQ(Answers.Dialogs, 1);
    EXPECT_EQ(box->GetColor(0), clAqua);
    EXPECT_EQ(box->Selected(), clAqua);
    // Enter in the list does the same, and the key goes no further.
    int keys = 0;
    box->OnListBoxKeyDown = [&](TObject*, uint16_t&, TShiftState) { ++keys; };
    Answers.Answer(clYellow, true);
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(Answers.Dialogs, 2);
    EXPECT_EQ(keys, 0);
    EXPECT_EQ(box->GetColor(0), clYellow);
    // The swatch, 2 pixels in.
    const TPoint swatch = box->ListBox()->ClientToScreen({ first.Left + 3, first.Top + 3 });
    box->SetItemIndex(-1);
    EXPECT_EQ(At(swatch.X, swatch.Y), Rgb(clYellow));
}

} // namespace

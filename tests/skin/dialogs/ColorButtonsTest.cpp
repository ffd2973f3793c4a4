// The colour buttons on the headless display: the menu of swatches with "Automatic" and "More colors...", the
// preselection when it opens, choosing a colour from it by mouse, and "More colors..." through the dialog.
#include "framework/controls/ImgList.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "skin/controls/SkinTrackEdit.h"
#include "skin/dialogs/TspSkinColorButtons.h"
#include "skin/dialogs/TspSkinColorDialog.h"
#include "skin/menus/TspSkinImagesMenu.h"
#include "tests/skin/SkinControlsTestSupport.h"
#include "tests/skin/dialogs/ColorDialogTestSupport.h"

#include <gtest/gtest.h>

namespace {

class ColorButtonsTest : public SkinInputTest {
protected:
    void SetUp() override
    {
        SkinInputTest::SetUp();
        Form = NewForm(0, 0, 400, 400);
        Form->SetColor(clWhite);
        Form->Show();
        Pump();
    }
    void TearDown() override
    {
        Application->OnIdle = nullptr;
        SkinInputTest::TearDown();
    }
    template <class T> T* Place(int x, int y)
    {
        auto* button = new T(Form);
        button->SetParent(Form);
        button->SetBounds(x, y, 40, 25);
        Pump();
        return button;
    }
    // Opens the menu as a press would and reads its preselection.
    static int Preselected(TspColorMenuButton* button)
    {
        button->OnImagesMenuPopup(button->ColorMenu());
        return button->ColorMenu()->ItemIndex;
    }
    static void Choose(TspColorMenuButton* button, int index)
    {
        button->ColorMenu()->ItemIndex = index;
        button->OnImagesMenuClick(button->ColorMenu());
    }
    TColorDialogAnswers Answers;
};

TEST_F(ColorButtonsTest, MenuEntriesAndTheirPictures)
{
    struct Case {
        bool Text, Auto, More;
        int Items, Images;
        int LastColorIndex;
    } const cases[] = {
        { false, true, true, 42, 41, 40 },
        { false, false, true, 41, 41, 39 },
        { false, true, false, 41, 41, 40 },
        { true, true, true, 18, 17, 16 },
        { true, false, false, 16, 17, 15 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Text << c.Auto << c.More);
        std::unique_ptr<TspColorMenuButton> button;
        if (c.Text)
            button = std::make_unique<TspSkinTextColorButton>(Form);
        else
            button = std::make_unique<TspSkinColorButton>(Form);
        button->SetShowAutoColor(c.Auto);
        button->SetShowMoreColor(c.More);
        button->Loaded();
        TspImagesMenuItems* items = button->ColorMenu()->ImagesItems();
        ASSERT_EQ(items->Count(), c.Items);
        EXPECT_EQ(button->ColorImages()->Count(), c.Images);
        EXPECT_EQ(button->ColorMenu()->ColumnsCount(), 8);
        if (c.Auto) {
            EXPECT_EQ(items->Items(0)->Caption(), "Automatic");
            EXPECT_TRUE(items->Items(0)->Button);
        }
        if (c.More) {
            EXPECT_EQ(items->Items(c.Items - 1)->Caption(), "More colors...");
            EXPECT_EQ(items->Items(c.Items - 1)->ImageIndex(), -1);
        }
        // Entry n shows picture n whether or not "Automatic" is there; the last colour is white.
        const int first = c.Auto ? 1 : 0;
        EXPECT_EQ(items->Items(first)->ImageIndex(), 1);
        EXPECT_EQ(items->Items(c.LastColorIndex)->ImageIndex(), c.Text ? 16 : 40);
        EXPECT_EQ(button->ItemColor(c.LastColorIndex), c.Text ? clFuchsia : clWhite);
    }
    // The text button fills its menu only once it is loaded.
    TspSkinTextColorButton text(Form);
    EXPECT_EQ(text.ColorMenu()->ImagesItems()->Count(), 0);
}

TEST_F(ColorButtonsTest, PreselectionWhenTheMenuOpens)
{
    auto* button = Place<TspSkinColorButton>(20, 30);
    button->SetShowAutoColor(false);
    // A system colour is matched by its value: the window text is black, the first entry.
    button->SetColorValue(clWindowText);
    EXPECT_EQ(Preselected(button), 0);
    // Nothing matches: "More colors..." is marked, or nothing without it.
    button->SetColorValue(0x123456);
    EXPECT_EQ(Preselected(button), 40);
    button->SetShowMoreColor(false);
    EXPECT_EQ(Preselected(button), -1);
    // The last colour can be preselected also when it is the menu's last entry.
    button->SetColorValue(clWhite);
    EXPECT_EQ(Preselected(button), 39);
}

TEST_F(ColorButtonsTest, ChoosingFromTheMenuAndMoreColours)
{
    auto* button = Place<TspSkinColorButton>(20, 30);
    int changes = 0;
    button->OnChangeColor = [&](TObject*) { ++changes; };
    // A press opens the swatches; a click on one makes it the colour, shown on the face.
    Click(40, 40);
    TspSkinImagesMenuPopupWindow* window = button->ColorMenu()->PopupWindow();
    ASSERT_NE(window, nullptr);
    const TRect cell = window->GetItemRect(17); // entry 17: pure red
    const TPoint p = window->ClientToScreen({ (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2 });
    MoveTo(p.X, p.Y);
    Press();
    Release();
    EXPECT_EQ(button->ColorMenu()->PopupWindow(), nullptr);
    EXPECT_EQ(button->ColorValue(), clRed);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(At(20 + 20, 30 + 12), Rgb(clRed));
    // "Automatic" gives the automatic colour; the same colour again is still reported.
    button->AutoColor = clNavy;
    Choose(button, 0);
    EXPECT_EQ(button->ColorValue(), clNavy);
    Choose(button, 0);
    EXPECT_EQ(changes, 3);
    // More colors, cancelled: nothing changes, nothing is reported.
    Answers.Answer(clLime, false);
    Choose(button, 41);
    EXPECT_EQ(Answers.Dialogs, 1);
    EXPECT_EQ(button->ColorValue(), clNavy);
    EXPECT_EQ(changes, 3);
    // Accepted through a dialog of the caller's: its colour starts at the button's and comes back.
    auto* dialog = new TspSkinColorDialog(Form);
    button->SetColorDialog(dialog);
    Answers.Answer(0x336699, true);
    Choose(button, 41);
    EXPECT_EQ(Answers.Dialogs, 2);
    EXPECT_EQ(button->ColorValue(), static_cast<TColor>(0x336699));
    EXPECT_EQ(changes, 4);
    // A freed dialog is forgotten.
    delete dialog;
    EXPECT_EQ(button->ColorDialog(), nullptr);
}

} // namespace

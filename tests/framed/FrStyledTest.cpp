// The styled paths of the framed controls, with a styles library injected through the visual-styles service's
// seam (this platform has none of its own).
#include "framed/FrButton.h"
#include "framed/FrEdit.h"

#include "FramedTestSupport.h"

namespace {

constexpr uint32_t StyledFace = 0x0A141E; // what the fake library paints, as the back buffer gives it

class FrStyled : public FramedTest {
protected:
    void SetUp() override
    {
        FramedTest::SetUp();
        SetStyleLibraryLoader([this] { return std::make_unique<TFakeStyleLibrary>(&State); });
        FreeThemeServices();
        ASSERT_TRUE(ThemeServices()->StylesEnabled());
    }
    void TearDown() override
    {
        FreeThemeServices();
        SetStyleLibraryLoader(nullptr);
        FramedTest::TearDown();
    }
    std::pair<int, int> LastDrawn() const
    {
        return State.Drawn.empty() ? std::pair { -1, -1 } : State.Drawn.back();
    }
    TFakeStyleLibrary::TState State;
};

} // namespace

TEST_F(FrStyled, TheButtonPaintsTheStylesPushButtonInEachState)
{
    auto* button = Add<TFrButton>(10, 10, 75, 25);
    auto* other = Add<TFrButton>(100, 10, 75, 25);
    ShowAndPaint();
    other->SetFocus();
    Pump();
    button->Repaint();
    Pump();
    EXPECT_EQ(LastDrawn(), std::make_pair(1, 1)); // normal
    EXPECT_EQ(Pixel(12, 12), StyledFace);
    Backend.MouseMove(40, 20);
    Pump();
    EXPECT_EQ(LastDrawn(), std::make_pair(1, 2)); // hot
    Backend.MouseDown();
    Pump();
    EXPECT_EQ(LastDrawn(), std::make_pair(1, 3)); // pressed
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(LastDrawn(), std::make_pair(1, 2));
    Backend.MouseMove(300, 200);
    Pump();
    EXPECT_EQ(LastDrawn(), std::make_pair(1, 5)); // focused now: defaulted
    button->SetEnabled(false);
    Pump();
    EXPECT_EQ(LastDrawn(), std::make_pair(1, 4)); // disabled
    EXPECT_EQ(State.Classes, (std::vector<std::string> { "button" }));
}

TEST_F(FrStyled, EditsLeaveTheirFrameToTheStylesUnlessTheyPreferTheirOwn)
{
    auto* styled = Add<TFrEdit>(10, 10, 150, 24);
    styled->SetFrameVisible(true);
    styled->SetFrameColor(clRed);
    auto* own = Add<TFrEdit>(10, 50, 150, 24);
    own->SetFrameVisible(true);
    own->SetFrameColor(clRed);
    own->SetFramingPreference(fpCustomFraming);
    ShowAndPaint();
    EXPECT_TRUE(styled->FrameLeftToStyles());
    EXPECT_FALSE(own->FrameLeftToStyles());
    EXPECT_NE(Pixel(10, 20), Rgb(clRed));
    EXPECT_EQ(Pixel(10, 60), Rgb(clRed));
}

TEST_F(FrStyled, TheStyledDropArrowTakesTheStylesArrowColour)
{
    TMarkedBitmap b(17, 20);
    PaintDropArrow(b.Canvas(), Rect(0, 0, 17, 20), true, true, false);
    // A chevron pointing down, in the colour read from the styled button at (8, 10); the notch stays open.
    EXPECT_EQ(b.At(7, 10), StyledFace);
    EXPECT_EQ(b.At(4, 7), StyledFace);
    EXPECT_EQ(b.At(8, 7), Rgb(TMarkedBitmap::Marker));
    EXPECT_EQ(State.Drawn.back(), std::make_pair(1, 1));
}

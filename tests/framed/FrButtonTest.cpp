#include "framed/FrButton.h"

#include "FramedTestSupport.h"
#include "framework/controls/StdButtons.h"
#include "platform/win/VirtualKeys.h"

namespace {

class FrButtons : public FramedTest { };

} // namespace

TEST_F(FrButtons, APressDraggedOutAndReleasedDoesNotClick)
{
    auto* button = Add<TFrButton>(10, 10, 75, 25);
    button->SetCaption("Go");
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ShowAndPaint();
    Backend.AdvanceClock(1000);
    Backend.MouseMove(40, 20);
    Backend.MouseDown();
    Pump();
    EXPECT_TRUE(button->PressedLook());
    Backend.MouseMove(200, 200);
    Pump();
    EXPECT_FALSE(button->PressedLook());
    Backend.MouseMove(41, 21);
    Pump();
    EXPECT_TRUE(button->PressedLook());
    Backend.MouseMove(200, 200);
    Pump();
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(clicks, 0);
    Click(40, 20);
    EXPECT_EQ(clicks, 1);
}

TEST_F(FrButtons, GroupButtonsAreExclusiveAndADownOneStaysDownWithoutAllowAllUp)
{
    auto* first = Add<TFrButton>(10, 10, 75, 25);
    auto* second = Add<TFrButton>(100, 10, 75, 25);
    auto* elsewhere = Add<TFrButton>(200, 10, 75, 25);
    first->SetGroupIndex(1);
    second->SetGroupIndex(1);
    elsewhere->SetGroupIndex(2);
    elsewhere->SetDown(true);
    first->SetDown(true);
    second->SetDown(true);
    EXPECT_FALSE(first->Down());
    EXPECT_TRUE(second->Down());
    EXPECT_TRUE(elsewhere->Down());
    second->SetDown(false);
    EXPECT_TRUE(second->Down());
    ShowAndPaint();
    Click(130, 20);
    EXPECT_TRUE(second->Down());
    // AllowAllUp spreads through the group: then a click releases.
    first->SetAllowAllUp(true);
    EXPECT_TRUE(second->AllowAllUp());
    Click(130, 20);
    EXPECT_FALSE(second->Down());
    // Without a group a button is never down.
    auto* single = Add<TFrButton>(10, 60, 75, 25);
    single->SetDown(true);
    EXPECT_FALSE(single->Down());
}

TEST_F(FrButtons, EnterClicksTheFocusedButtonRatherThanTheDefaultOneAndEscTheCancelOne)
{
    auto* ok = Add<TFrButton>(10, 10, 75, 25);
    auto* other = Add<TFrButton>(100, 10, 75, 25);
    auto* cancel = Add<TFrButton>(200, 10, 75, 25);
    auto* edit = Add<TBox>(10, 60, 75, 25);
    ok->SetDefault(true);
    ok->SetModalResult(1);
    cancel->SetCancel(true);
    cancel->SetModalResult(2);
    std::vector<std::string> clicks;
    ok->OnClick = [&](TObject*) { clicks.push_back("ok"); };
    other->OnClick = [&](TObject*) { clicks.push_back("other"); };
    cancel->OnClick = [&](TObject*) { clicks.push_back("cancel"); };
    ShowAndPaint();
    edit->SetFocus();
    Pump();
    EXPECT_TRUE(ok->ActiveDefault());
    Backend.Key(VK_RETURN);
    Pump();
    other->SetFocus();
    Pump();
    EXPECT_FALSE(ok->ActiveDefault());
    EXPECT_TRUE(other->ActiveDefault());
    Backend.Key(VK_RETURN);
    Pump();
    Backend.Key(VK_ESCAPE);
    Pump();
    EXPECT_EQ(clicks, (std::vector<std::string> { "ok", "other", "cancel" }));
    EXPECT_EQ(Form->ModalResult(), 2);
}

TEST_F(FrButtons, AFocusedFrameworkButtonTakesEnterFromTheDefaultOne)
{
    auto* ok = Add<TFrButton>(10, 10, 75, 25);
    auto* plain = Add<TButton>(100, 10, 75, 25);
    auto* edit = Add<TBox>(10, 60, 75, 25);
    ok->SetDefault(true);
    std::vector<std::string> clicks;
    ok->OnClick = [&](TObject*) { clicks.push_back("ok"); };
    plain->OnClick = [&](TObject*) { clicks.push_back("plain"); };
    ShowAndPaint();
    plain->SetFocus();
    Pump();
    EXPECT_FALSE(ok->ActiveDefault());
    Backend.Key(VK_RETURN);
    Pump();
    // Back on a control that is no button, Enter belongs to the default button again.
    edit->SetFocus();
    Pump();
    EXPECT_TRUE(ok->ActiveDefault());
    Backend.Key(VK_RETURN);
    Pump();
    EXPECT_EQ(clicks, (std::vector<std::string> { "plain", "ok" }));
}

TEST_F(FrButtons, SpaceClicksOnItsReleaseOnlyAfterItsOwnPress)
{
    auto* button = Add<TFrButton>(10, 10, 75, 25);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    ShowAndPaint();
    button->SetFocus();
    Pump();
    Backend.KeyDown(VK_SPACE);
    Pump();
    EXPECT_TRUE(button->PressedLook());
    Backend.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(button->PressedLook());
    // A lone key-up (its press went elsewhere) does not click again.
    Backend.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(clicks, 1);
}

TEST_F(FrButtons, TheClassicLookShowsDefaultRingEdgesDownPatternAndFocus)
{
    auto* button = Add<TFrButton>(10, 10, 75, 25);
    button->SetDefault(true);
    auto* group = Add<TFrButton>(100, 10, 75, 25);
    group->SetGroupIndex(1);
    group->SetDown(true);
    ShowAndPaint();
    // The active default: a window-frame ring, then the raised button edge.
    EXPECT_EQ(Pixel(10, 20), Rgb(clWindowFrame));
    EXPECT_EQ(Pixel(11, 20), Rgb(clBtnHighlight));
    EXPECT_EQ(Pixel(83, 20), Rgb(cl3DDkShadow));
    // The down group button: lowered, with the checkered face.
    EXPECT_EQ(Pixel(100, 20), Rgb(clBtnShadow));
    const uint32_t a = Pixel(110, 20);
    const uint32_t b = Pixel(111, 20);
    EXPECT_NE(a, b);
    EXPECT_TRUE(a == Rgb(clSilver) || b == Rgb(clSilver));
    button->SetFocus();
    Pump();
    // The dotted focus rectangle, four pixels in.
    EXPECT_EQ(Pixel(14, 15), 0u);
    EXPECT_EQ(Pixel(14, 16), Rgb(clBtnFace));
}

TEST_F(FrButtons, HotTrackingMakesTheButtonFlatAndTransparent)
{
    auto* button = Add<TFrButton>(10, 10, 75, 25);
    button->SetHotTrack(true);
    EXPECT_TRUE(button->Transparent());
    int enters = 0;
    button->OnMouseEnter = [&](TObject*) { ++enters; };
    ShowAndPaint();
    // The outer ring has cut corners: the corner pixel shows the form.
    EXPECT_EQ(Pixel(10, 10), Rgb(clWhite));
    EXPECT_EQ(Pixel(10, 20), Rgb(DarkenColor(clBtnFace, 20)));
    EXPECT_EQ(Pixel(11, 20), Rgb(cl3DDkShadow));
    Backend.MouseMove(40, 20);
    Pump();
    EXPECT_EQ(enters, 1);
    EXPECT_TRUE(button->PointerOver());
    const int hue = HueOfColor(clHighlight);
    const TColor ring = JoinColorHsl(uint8_t(hue < 120 ? hue + 120 : hue - 120), 220, 180);
    EXPECT_EQ(Pixel(12, 20), Rgb(ring));
}

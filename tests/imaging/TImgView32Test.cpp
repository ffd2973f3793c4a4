// The image view on the headless display: centring a small bitmap, scrolling a large one, the bars' ranges and
// positions, the user's scrolling, the size grip's visibility and the scroll-bar size.
#include "framework/controls/ExtCtrls.h"
#include "imaging/TImgView32.h"
#include "imaging/TRangeBar.h"
#include "tests/imaging/ImagingControlsTestSupport.h"

namespace {

class ImgViewTest : public ImagingControlsTest {
protected:
    // A view whose viewport is 300 x 200 beside 17-pixel bars.
    TImgView32* NewView()
    {
        auto* view = Place<TImgView32>(0, 0, 317, 217);
        view->ScrollBars()->SetSize(17);
        return view;
    }
};

} // namespace

TEST_F(ImgViewTest, ASmallBitmapIsCentredAndTheBarsHaveNothingToScroll)
{
    auto* view = NewView();
    view->Bitmap()->SetSize(100, 100);
    EXPECT_FLOAT_EQ(view->OffsetHorz(), 100);
    EXPECT_FLOAT_EQ(view->OffsetVert(), 50);
    EXPECT_EQ(view->HScroll()->Range(), 100);
    EXPECT_EQ(view->VScroll()->Range(), 100);
    EXPECT_EQ(view->HScroll()->EffectiveWindow(), 300);
    EXPECT_EQ(view->VScroll()->EffectiveWindow(), 200);
    EXPECT_FALSE(view->HScroll()->DrawEnabled());
    EXPECT_EQ(view->GetBitmapRect().Left, 100);

    // Not centred: the top-left corner.
    view->SetCentered(false);
    EXPECT_FLOAT_EQ(view->OffsetHorz(), 0);
    EXPECT_FLOAT_EQ(view->OffsetVert(), 0);
}

TEST_F(ImgViewTest, ALargeBitmapScrollsToItsCentreAndWithTheBars)
{
    auto* view = NewView();
    view->SetScale(4);
    view->Bitmap()->SetSize(100, 100);
    EXPECT_EQ(view->HScroll()->Range(), 400);
    EXPECT_FLOAT_EQ(view->HScroll()->Position(), 50);
    EXPECT_FLOAT_EQ(view->VScroll()->Position(), 100);
    EXPECT_FLOAT_EQ(view->OffsetHorz(), -50);
    EXPECT_FLOAT_EQ(view->OffsetVert(), -100);

    // The view's own scrolling is clamped by the bars and raises no OnScroll.
    int scrolls = 0;
    view->OnScroll = [&](TObject*) { ++scrolls; };
    view->Scroll(500, -30);
    EXPECT_FLOAT_EQ(view->HScroll()->Position(), 100);
    EXPECT_FLOAT_EQ(view->OffsetHorz(), -100);
    EXPECT_FLOAT_EQ(view->OffsetVert(), -70);
    EXPECT_EQ(scrolls, 0);

    // A press on the horizontal bar's prev arrow is the user's: the picture moves and OnScroll fires.
    Press(5, 208);
    Release();
    EXPECT_FLOAT_EQ(view->HScroll()->Position(), 92);
    EXPECT_FLOAT_EQ(view->OffsetHorz(), -92);
    EXPECT_EQ(scrolls, 1);

    // The zoom changes the ranges; the positions stay (clamped by the new ranges).
    view->SetScale(2);
    EXPECT_EQ(view->HScroll()->Range(), 200);
    EXPECT_FLOAT_EQ(view->OffsetHorz(), 50) << "now smaller than the viewport: centred";
}

TEST_F(ImgViewTest, TheGripShowsOnlyAlongAnAllClientChainToTheForm)
{
    auto* panel = new TPanel(Form);
    panel->SetParent(Form);
    panel->SetAlign(alClient);
    auto* view = new TImgView32(Form);
    view->SetParent(panel);
    view->SetAlign(alClient);
    Pump();
    EXPECT_TRUE(view->IsSizeGripVisible());
    panel->SetAlign(alTop);
    EXPECT_FALSE(view->IsSizeGripVisible());
    view->SetSizeGrip(sgAlways);
    EXPECT_TRUE(view->IsSizeGripVisible());
    view->SetSizeGrip(sgNone);
    panel->SetAlign(alClient);
    EXPECT_FALSE(view->IsSizeGripVisible());
}

TEST_F(ImgViewTest, TheScrollBarSizeMovesTheBarsAtOnce)
{
    auto* view = NewView();
    view->ScrollBars()->SetSize(30);
    EXPECT_EQ(view->HScroll()->Top(), 217 - 30);
    EXPECT_EQ(view->HScroll()->Height(), 30);
    EXPECT_EQ(view->VScroll()->Left(), 317 - 30);
    view->ScrollBars()->SetIncrement(20);
    EXPECT_EQ(view->VScroll()->Increment(), 20);
    view->ScrollBars()->SetStyle(rbsMac);
    EXPECT_EQ(view->VScroll()->Style(), rbsMac);
    TIVScrollProperties other;
    EXPECT_THROW(view->SetScrollBars(&other), EConvertError);
    view->ScrollBars()->SetSize(0);
    EXPECT_EQ(view->GetScrollBarSize(), GetSystemMetrics(SM_CYHSCROLL));
}

TEST_F(ImgViewTest, TheViewportShowsTheZoomedPixels)
{
    auto* view = NewView();
    view->SetColor(clBlack);
    view->Bitmap()->SetSize(2, 2);
    view->Bitmap()->Clear(0xFF00FF00);
    view->Bitmap()->SetPixel(1, 1, 0xFF0000FF);
    view->SetScale(50);
    view->Repaint();
    // 100 x 100 centred in 300 x 200: at (100, 50).
    EXPECT_EQ(At(100, 50), 0xFF00FF00u);
    EXPECT_EQ(At(199, 149), 0xFF0000FFu);
    EXPECT_EQ(At(99, 50), 0xFF000000u);
}

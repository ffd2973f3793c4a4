#include "framed/FrPanel.h"
#include "framed/FrSplit.h"

#include "FramedTestSupport.h"
#include "framework/core/Exception.h"
#include "platform/win/Cursors.h"
#include "platform/win/Windows.h"

namespace {

class FrPanels : public FramedTest {
protected:
    // Drags with the left button from one form point to another through the points between, pumping each step.
    void Drag(int x1, int y1, int x2, int y2)
    {
        Backend.AdvanceClock(1000);
        Backend.MouseMove(x1, y1);
        Pump();
        Backend.MouseDown();
        Pump();
        Backend.MouseMove(x2, y2);
        Pump();
        Backend.MouseUp();
        Pump();
    }
};

} // namespace

TEST_F(FrPanels, ABlackPanelWithoutRingsIsCoveredByItsClientChild)
{
    auto* panel = Add<TFrPanel>(10, 10, 100, 60);
    panel->SetBorderOuter(fsNone);
    panel->SetColor(clBlack);
    auto* child = Add<TFrPanel>(0, 0, 10, 10, panel);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(0, 0, 100, 60));
    child->SetVisible(false);
    ShowAndPaint();
    for (auto [x, y] : { std::pair { 10, 10 }, { 109, 69 }, { 60, 40 } })
        EXPECT_EQ(Pixel(x, y), 0u) << x << "," << y;
}

TEST_F(FrPanels, RingsOnChosenSidesPaintAndKeepTheChildrenInside)
{
    auto* groove = Add<TFrPanel>(10, 10, 100, 40);
    groove->SetBorderOuter(fsGroove);
    groove->SetBorderSides({ sdBottom });
    groove->SetColor(clWhite);
    auto* child = Add<TFrPanel>(0, 0, 10, 10, groove);
    child->SetAlign(alClient);
    EXPECT_EQ(child->BoundsRect(), Rect(0, 0, 100, 38));

    // A lowered ring paints in system colours whatever the panel's colour; a band and an inner ring follow.
    auto* lowered = Add<TFrPanel>(10, 100, 100, 40);
    lowered->SetColor(clRed);
    lowered->SetBorderOuter(fsLowered);
    lowered->SetBorderWidth(2);
    lowered->SetBorderColor(clLime);
    lowered->SetBorderInner(fsFlat);
    lowered->SetFlatColor(clBlue);
    lowered->SetFlatColorAdjustment(0);
    auto* inner = Add<TFrPanel>(0, 0, 10, 10, lowered);
    inner->SetAlign(alClient);
    EXPECT_EQ(inner->BoundsRect(), Rect(5, 5, 95, 35));
    child->SetVisible(false);
    inner->SetVisible(false);
    ShowAndPaint();
    for (int x : { 10, 50, 109 }) {
        EXPECT_EQ(Pixel(x, 48), Rgb(clBtnShadow)) << x;
        EXPECT_EQ(Pixel(x, 49), Rgb(clBtnHighlight)) << x;
        EXPECT_EQ(Pixel(x, 47), Rgb(clWhite)) << x;
    }
    EXPECT_EQ(Pixel(10, 120), Rgb(clBtnShadow));
    EXPECT_EQ(Pixel(11, 120), Rgb(cl3DDkShadow));
    EXPECT_EQ(Pixel(12, 120), Rgb(clLime));
    EXPECT_EQ(Pixel(14, 120), Rgb(clBlue));
    EXPECT_EQ(Pixel(15, 120), Rgb(clRed));
    EXPECT_EQ(Pixel(109, 120), Rgb(clBtnHighlight));

    // Status rings take the panel's own highlight and shadow, flat ones the shifted flat colour.
    auto* status = Add<TFrPanel>(200, 10, 50, 30);
    status->SetBorderOuter(fsStatus);
    status->SetBorderHighlight(clYellow);
    status->SetBorderShadow(clNavy);
    auto* flat = Add<TFrPanel>(200, 60, 50, 30);
    flat->SetBorderOuter(fsFlatBold);
    flat->SetFlatColor(clGray);
    ShowAndPaint();
    EXPECT_EQ(Pixel(200, 20), Rgb(clNavy));
    EXPECT_EQ(Pixel(249, 20), Rgb(clYellow));
    EXPECT_EQ(Pixel(200, 70), Rgb(LightenColor(clGray, 30)));
    EXPECT_EQ(Pixel(201, 70), Rgb(LightenColor(clGray, 30)));
}

TEST_F(FrPanels, DisablingAndEnablingRestoresEachChildsOwnState)
{
    auto* panel = Add<TFrPanel>(10, 10, 200, 100);
    auto* a = Add<TFrPanel>(0, 0, 20, 20, panel);
    auto* b = Add<TFrPanel>(30, 0, 20, 20, panel);
    auto* c = Add<TFrPanel>(60, 0, 20, 20, panel);
    b->SetEnabled(false);
    panel->SetEnabled(false);
    EXPECT_FALSE(a->Enabled());
    EXPECT_FALSE(c->Enabled());
    panel->SetEnabled(true);
    EXPECT_TRUE(a->Enabled());
    EXPECT_FALSE(b->Enabled());
    EXPECT_TRUE(c->Enabled());

    // Disabled while empty: the children added later are all enabled with the panel.
    auto* empty = Add<TFrPanel>(10, 150, 200, 100);
    empty->SetEnabled(false);
    auto* d = Add<TFrPanel>(0, 0, 20, 20, empty);
    d->SetEnabled(false);
    empty->SetEnabled(true);
    EXPECT_TRUE(d->Enabled());
}

TEST_F(FrPanels, BottomAndRightAlignedPanelsKeepTheirFarEdge)
{
    auto* bottom = Add<TFrPanel>(0, 0, 100, 50);
    bottom->SetAlign(alBottom);
    EXPECT_EQ(bottom->Top(), 250);
    Form->DisableAlign();
    bottom->SetHeight(80);
    EXPECT_EQ(bottom->Top(), 220);
    auto* right = Add<TFrPanel>(0, 0, 100, 50);
    Form->EnableAlign();
    right->SetAlign(alRight);
    Form->DisableAlign();
    const int rightEdge = right->Left() + right->Width();
    right->SetWidth(150);
    EXPECT_EQ(right->Left() + right->Width(), rightEdge);
    Form->EnableAlign();
}

TEST_F(FrPanels, TheGridPaintsDotsOnlyWhereCellsFit)
{
    auto* dots = Add<TFrPanel>(10, 10, 40, 30);
    dots->SetBorderOuter(fsNone);
    dots->SetColor(clWhite);
    dots->SetShowGrid(true);
    dots->SetGridColor(clRed);
    auto* none = Add<TFrPanel>(100, 10, 40, 30);
    none->SetBorderOuter(fsNone);
    none->SetColor(clWhite);
    none->SetShowGrid(true);
    none->SetGridXSize(0);
    none->SetGridColor(clRed);
    auto* lines = Add<TFrPanel>(200, 10, 40, 30);
    lines->SetBorderOuter(fsNone);
    lines->SetColor(clWhite);
    lines->SetShowGrid(true);
    lines->SetGridStyle(gsSolidLines);
    lines->SetGridColor(clRed);
    ShowAndPaint();
    EXPECT_EQ(Pixel(17, 17), Rgb(clRed));
    EXPECT_EQ(Pixel(18, 17), Rgb(clWhite));
    EXPECT_EQ(Pixel(17, 25), Rgb(clRed));
    for (int y = 10; y < 40; ++y)
        for (int x = 100; x < 140; ++x)
            ASSERT_EQ(Pixel(x, y), Rgb(clWhite)) << x << "," << y;
    EXPECT_EQ(Pixel(207, 12), Rgb(clRed));
    EXPECT_EQ(Pixel(203, 17), Rgb(clRed));
    EXPECT_EQ(Pixel(203, 18), Rgb(clWhite));
}

// The window layer repaints a resized window's whole client area anyway; what the panel itself asks for is seen by
// handing it the change of size with nothing else invalid.
TEST_F(FrPanels, WithoutFullRepaintWideningInvalidatesOnlyTheOldBorderStrip)
{
    auto* panel = Add<TFrPanel>(10, 10, 100, 50);
    panel->SetFullRepaint(false);
    panel->SetBorderWidth(1);
    ShowAndPaint();
    auto resizeTo = [&](int width, int height) {
        ValidateRect(panel->Handle(), nullptr);
        WINDOWPOS pos { panel->Handle(), nullptr, 10, 10, width, height, SWP_NOZORDER | SWP_NOMOVE };
        panel->Perform(WM_WINDOWPOSCHANGED, 0, reinterpret_cast<intptr_t>(&pos));
        RECT update {};
        GetUpdateRect(panel->Handle(), &update, FALSE);
        return FromRECT(update);
    };
    // Raised ring 2 + band 1: the inner rectangle ends at 97; the strip from 96 to the old width.
    EXPECT_EQ(resizeTo(120, 50), Rect(96, 0, 100, 50));
    EXPECT_EQ(resizeTo(100, 60), Rect(0, 46, 100, 50));
    panel->SetCaption("Text");
    EXPECT_EQ(resizeTo(120, 50), Rect(0, 0, 100, 50));
    panel->SetCaption("");
    panel->SetFullRepaint(true);
    EXPECT_EQ(resizeTo(120, 50), Rect(0, 0, 100, 50));
}

TEST_F(FrPanels, ALinkedPanelTakesTheControllersLookOnlyWhileItsFrameIsVisible)
{
    TFrFrameController controller(nullptr);
    controller.SetFrameStyle(fsFlatBold);
    controller.SetColor(clYellow);
    auto* panel = Add<TFrPanel>(10, 10, 100, 50);
    panel->SetFrameController(&controller);
    EXPECT_EQ(panel->BorderOuter(), fsRaised);
    controller.SetFrameVisible(true);
    EXPECT_EQ(panel->BorderOuter(), fsFlatBold);
    EXPECT_EQ(panel->Color(), clYellow);
    EXPECT_EQ(panel->FlatColorAdjustment(), 0);
    EXPECT_EQ(panel->BorderHighlight(), LightenColor(clYellow, 100));
    EXPECT_EQ(panel->BorderShadow(), DarkenColor(clYellow, 50));
    panel->SetFrameController(nullptr);
    EXPECT_EQ(controller.ControlCount(), 0);
}

TEST_F(FrPanels, ALockedRightPanelCollapsesAndRestoresByItsHotSpotOnly)
{
    auto* panel = Add<TFrSizePanel>(0, 0, 120, 10);
    panel->SetAlign(alRight);
    panel->SetLockBar(true);
    panel->SetHotSpotVisible(true);
    EXPECT_EQ(panel->SizeBarWidth(), 7);
    int hotClicks = 0;
    panel->OnHotSpotClick = [&](TObject*) { ++hotClicks; };
    ShowAndPaint();
    ASSERT_EQ(panel->BoundsRect(), Rect(280, 0, 400, 300));
    EXPECT_EQ(panel->HotSpotRect(), Rect(0, 90, 7, 210));
    // The bar outside the hot spot does nothing.
    Drag(283, 20, 250, 20);
    EXPECT_EQ(panel->Width(), 120);
    EXPECT_TRUE(panel->StoredProperties().empty());
    Click(283, 150);
    EXPECT_EQ(panel->Width(), 8);
    EXPECT_EQ(panel->Left(), 392);
    EXPECT_EQ(hotClicks, 1);
    EXPECT_EQ(panel->StoredProperties(),
        (std::vector<TFrStoredValue> { { "HotSpotClosed", "True" }, { "HotSpotPosition", "120" } }));
    Click(395, 150);
    EXPECT_EQ(panel->Width(), 120);
    EXPECT_TRUE(panel->StoredProperties().empty());
    EXPECT_EQ(hotClicks, 2);

    // A loaded collapsed panel restores to the stored extent.
    auto* loaded = Add<TFrSizePanel>(0, 0, 30, 10);
    loaded->SetAlign(alLeft);
    loaded->SetHotSpotVisible(true);
    EXPECT_TRUE(loaded->ReadStoredProperty("HotSpotClosed", "True"));
    EXPECT_TRUE(loaded->ReadStoredProperty("HotSpotPosition", "90"));
    Pump();
    Click(26, 150);
    EXPECT_EQ(loaded->Width(), 90);
}

TEST_F(FrPanels, DraggingTheBarResizesWithinTheMargins)
{
    auto* left = Add<TFrSizePanel>(0, 0, 100, 10);
    left->SetAlign(alLeft);
    ShowAndPaint();
    // The bar is the last four pixels; a drag by d changes the width by d.
    Drag(98, 50, 130, 50);
    EXPECT_EQ(left->Width(), 132);
    Drag(130, 50, 110, 50);
    EXPECT_EQ(left->Width(), 112);
    left->SetMarginMin(50);
    Drag(110, 50, 2, 50);
    EXPECT_EQ(left->Width(), 50 + 4 + 1);
    left->SetMarginMax(100);
    Drag(53, 50, 390, 50);
    EXPECT_EQ(left->Width(), 300);

    // Live: every move sets the width to the line position plus one.
    left->SetRealTimeDrag(true);
    Backend.AdvanceClock(1000);
    Backend.MouseMove(298, 50);
    Pump();
    Backend.MouseDown();
    Pump();
    Backend.MouseMove(250, 50);
    Pump();
    EXPECT_EQ(left->Width(), 300 - 48 + 1);
    Backend.MouseMove(240, 50);
    Pump();
    EXPECT_EQ(left->Width(), 300 - 58 + 1);
    Backend.MouseUp();
    Pump();
}

TEST_F(FrPanels, TheDragLineIsInvertedAndGoesAgainWithoutATrace)
{
    auto* left = Add<TFrSizePanel>(0, 0, 100, 10);
    left->SetAlign(alLeft);
    left->SetColor(clWhite);
    ShowAndPaint();
    // The pattern leaves every second pixel as it was: two neighbours show it.
    const uint32_t before = Backend.ScreenPixel(97, 50);
    const uint32_t beforeNext = Backend.ScreenPixel(97, 51);
    Backend.AdvanceClock(1000);
    Backend.MouseMove(98, 50);
    Pump();
    Backend.MouseDown();
    Pump();
    EXPECT_TRUE(Backend.ScreenPixel(97, 50) != before || Backend.ScreenPixel(97, 51) != beforeNext);
    Backend.MouseUp();
    Pump();
    EXPECT_EQ(Backend.ScreenPixel(97, 50), before);
    EXPECT_EQ(Backend.ScreenPixel(97, 51), beforeNext);
    EXPECT_EQ(left->Width(), 100);
}

TEST_F(FrPanels, BarWidthsGrowForStylesAndHotSpotsAndAPanelWithoutParentHasNoMargins)
{
    TFrSizePanel panel(nullptr);
    EXPECT_EQ(panel.SizeBarWidth(), 4);
    EXPECT_EQ(panel.Align(), alLeft);
    EXPECT_EQ(panel.BorderOuter(), fsNone);
    panel.SetSizeBarStyle(ssBump);
    EXPECT_EQ(panel.SizeBarWidth(), 6);
    panel.SetHotSpotVisible(true);
    EXPECT_EQ(panel.SizeBarWidth(), 7);
    try {
        panel.SetMarginMin(10);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "No parent specified");
    }
}

TEST_F(FrPanels, TheBarShowsSplitCursorsUnlessLockedAndLightsTheHotSpot)
{
    auto* left = Add<TFrSizePanel>(0, 0, 100, 10);
    left->SetAlign(alLeft);
    left->SetHotSpotVisible(true);
    left->SetHotSpotHighlight(clLime);
    ShowAndPaint();
    Backend.MouseMove(50, 50);
    Pump();
    Backend.MouseMove(96, 20);
    Pump();
    const HCURSOR bar = Backend.Cursor();
    EXPECT_EQ(StandardCursorId(bar), 0u);
    Backend.MouseMove(96, 150);
    Pump();
    EXPECT_EQ(StandardCursorId(Backend.Cursor()), 0u);
    EXPECT_NE(Backend.Cursor(), bar);
    EXPECT_EQ(Pixel(96, 130), Rgb(clLime)); // the lit hot spot
    Backend.MouseMove(50, 50);
    Pump();
    EXPECT_EQ(Pixel(96, 130), Rgb(clBtnFace));
    left->SetLockBar(true);
    Backend.MouseMove(96, 20);
    Pump();
    EXPECT_NE(StandardCursorId(Backend.Cursor()), 0u); // the framework's own arrow
}

TEST_F(FrPanels, ATransparentPanelShowsItsParentThrough)
{
    Form->SetColor(clTeal);
    auto* panel = Add<TFrPanel>(10, 10, 100, 50);
    panel->SetBorderOuter(fsFlat);
    panel->SetFlatColor(clBlack);
    panel->SetFlatColorAdjustment(0);
    panel->SetColor(clRed);
    panel->SetTransparent(true);
    EXPECT_FALSE(panel->ControlStyle().Contains(csOpaque));
    ShowAndPaint();
    EXPECT_EQ(Pixel(60, 35), Rgb(clTeal));
    EXPECT_EQ(Pixel(10, 35), 0u);
    panel->SetTransparent(false);
    panel->Repaint();
    Pump();
    EXPECT_EQ(Pixel(60, 35), Rgb(clRed));
}

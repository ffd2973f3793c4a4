// The control bar and the cool bar on a shown form: band layout in rows with wrapping, AutoSize, the band
// captions, the bevel, and the paint hooks their skinned descendants take over.
#include "ControlsTestSupport.h"

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/TCoolBar.h"
#include "framework/controls/TCustomControlBar.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"

namespace {

// A control bar that records the band frames it is asked to paint.
class TRecordingControlBar : public TControlBar {
public:
    using TControlBar::TControlBar;
    std::vector<std::pair<std::string, TRect>> Frames;

protected:
    void PaintControlFrame(TCanvas* canvas, TControl* control, const TRect& rect) override
    {
        Frames.emplace_back(control->Name(), rect);
        TControlBar::PaintControlFrame(canvas, control, rect);
    }
};

class BarsTest : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(100, 100, 400, 300);
        Form->Show();
    }
    TPanel* Child(TWinControl* parent, const char* name, int x, int y, int w, int h)
    {
        auto* panel = new TPanel(Form);
        panel->SetName(name);
        panel->SetBounds(x, y, w, h);
        panel->SetParent(parent);
        return panel;
    }
    static TRect Bounds(const TControl* c) { return c->BoundsRect(); }

    TForm* Form = nullptr;
};

TEST_F(BarsTest, ControlBarPlacesBandsInRowsAndWrapsWhatDoesNotFit)
{
    auto* bar = new TRecordingControlBar(Form);
    bar->SetBevelKind(bkNone);
    bar->SetBounds(0, 0, 300, 100);
    bar->SetParent(Form);
    bar->SetAutoSize(true);
    // B asks for a place inside A's band and is pushed past it; C no longer fits in the row and wraps.
    TPanel* a = Child(bar, "A", 11, 2, 100, 22);
    TPanel* b = Child(bar, "B", 60, 2, 100, 22);
    TPanel* c = Child(bar, "C", 240, 2, 100, 22);
    Pump();
    EXPECT_EQ(Bounds(a), (TRect { 11, 2, 111, 24 }));
    EXPECT_EQ(Bounds(b), (TRect { 124, 2, 224, 24 }));
    EXPECT_EQ(Bounds(c), (TRect { 11, 28, 111, 50 }));
    EXPECT_EQ(bar->Height(), 52);
    // The band of a 100 x 22 child is 113 x 26, from 11 left of and 2 above it.
    EXPECT_EQ(TCustomControlBar::BandRect(a), (TRect { 0, 0, 113, 26 }));

    // A band that asks for room further right in its row gets it; one asking beyond the edge slides back.
    c->SetBounds(150, 28, 100, 22);
    Pump();
    EXPECT_EQ(Bounds(c), (TRect { 150, 28, 250, 50 }));
    c->SetBounds(280, 28, 100, 22);
    Pump();
    EXPECT_EQ(Bounds(c), (TRect { 198, 28, 298, 50 }));

    // A tall band takes whole rows with RowSnap, just its height without.
    c->SetBounds(11, 28, 100, 40);
    Pump();
    EXPECT_EQ(bar->Height(), 26 + 52);
    bar->SetRowSnap(false);
    Pump();
    EXPECT_EQ(bar->Height(), 26 + 44);

    // Painting frames every visible child's band, in child order.
    b->SetVisible(false);
    bar->Frames.clear();
    bar->Repaint();
    ASSERT_EQ(bar->Frames.size(), 2u);
    EXPECT_EQ(bar->Frames[0], std::make_pair(std::string("A"), TRect { 0, 0, 113, 26 }));
    EXPECT_EQ(bar->Frames[1], std::make_pair(std::string("C"), TRect { 0, 26, 113, 70 }));
}

TEST_F(BarsTest, ControlBarBevelTakesTheNonClientArea)
{
    struct TCase {
        TBevelKind Kind;
        int Frame;
    };
    for (const TCase& test : { TCase { bkNone, 0 }, TCase { bkFlat, 1 }, TCase { bkTile, 2 }, TCase { bkSoft, 2 } }) {
        auto* bar = new TControlBar(Form);
        bar->SetBounds(0, 0, 200, 60);
        bar->SetParent(Form);
        bar->SetBevelKind(test.Kind);
        Pump();
        EXPECT_EQ(bar->ClientWidth(), 200 - 2 * test.Frame) << int(test.Kind);
        EXPECT_EQ(bar->ClientHeight(), 60 - 2 * test.Frame) << int(test.Kind);
        const std::string name = "Child" + std::to_string(int(test.Kind));
        TPanel* child = Child(bar, name.c_str(), 11, 2, 50, 22);
        Pump();
        EXPECT_EQ(Bounds(child), (TRect { 11, 2, 61, 24 })) << "client coordinates, inside the bevel";
        delete bar;
    }
}

TEST_F(BarsTest, CoolBarGivesEveryWindowedChildABandAndStretchesItsControl)
{
    auto* bar = new TCoolBar(Form);
    bar->SetParent(Form);
    bar->SetAutoSize(true);
    Pump();
    ASSERT_EQ(bar->Align(), alTop);
    ASSERT_EQ(bar->ClientWidth(), 400);
    TPanel* a = Child(bar, "A", 0, 0, 80, 22);
    TPanel* b = Child(bar, "B", 0, 0, 100, 22);
    Pump();
    ASSERT_EQ(bar->Bands()->Count(), 2);
    EXPECT_EQ(bar->Bands()->Items(0)->Control(), a);
    EXPECT_EQ(bar->Bands()->Items(1)->Control(), b);
    EXPECT_EQ(bar->Bands()->Items(1)->DisplayName(), "B");
    // Each band starts a row (Break); a row is the control or MinHeight (25) high, with 2 above and below.
    EXPECT_EQ(bar->Height(), 2 * 29);
    EXPECT_EQ(Bounds(a), (TRect { 9, 3, 400 - 2, 25 }));
    EXPECT_EQ(Bounds(b), (TRect { 9, 32, 400 - 2, 54 }));

    // Without Break B joins A's row; the last band of a row takes the rest of it.
    bar->Bands()->Items(1)->SetBreak(false);
    Pump();
    EXPECT_EQ(bar->Height(), 29);
    EXPECT_EQ(bar->Bands()->Items(0)->BandRect(), (TRect { 0, 0, 91, 29 }));
    EXPECT_EQ(Bounds(a), (TRect { 9, 3, 89, 25 }));
    EXPECT_EQ(Bounds(b), (TRect { 100, 3, 398, 25 }));
    // A band that does not fit in what is left of the row wraps.
    bar->Bands()->Items(1)->SetWidth(350);
    Pump();
    EXPECT_EQ(Bounds(b), (TRect { 9, 32, 398, 54 }));
    bar->Bands()->Items(1)->SetWidth(0);

    // FixedOrder takes the first band's grip away.
    bar->SetFixedOrder(true);
    Pump();
    EXPECT_EQ(Bounds(a), (TRect { 0, 3, 80, 25 }));
    EXPECT_EQ(Bounds(b), (TRect { 91, 3, 398, 25 }));

    // A hidden band leaves the row; a control that leaves the bar takes its band with it.
    bar->Bands()->Items(0)->SetVisible(false);
    Pump();
    EXPECT_FALSE(a->Visible());
    EXPECT_EQ(Bounds(b), (TRect { 9, 3, 398, 25 }));
    delete a;
    EXPECT_EQ(bar->Bands()->Count(), 1);

    // Vertical: the bands run downwards, their captions above their controls.
    bar->SetAlign(alLeft);
    bar->SetVertical(true);
    Pump();
    EXPECT_EQ(bar->Width(), 4 + 100);
    EXPECT_EQ(Bounds(b), (TRect { 2, 9, 102, 300 - 2 }));
}

TEST_F(BarsTest, CoolBandCaptionSizeCountsGripImageAndText)
{
    auto* bar = new TCoolBar(Form);
    bar->SetParent(Form);
    TImageList images(nullptr, 16, 16);
    TBitmap red;
    red.SetSize(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect { 0, 0, 16, 16 });
    images.Add(&red, nullptr);
    TBitmap measure;
    measure.SetSize(1, 1);
    measure.Canvas()->Font()->Assign(bar->Font());
    const int textWidth = measure.Canvas()->TextWidth("Files");

    struct TCase {
        const char* Text;
        int ImageIndex;
        bool WithImages;
        bool FixedSize;
        int Expected;
    };
    const TCase cases[] = {
        { "", -1, false, false, 4 + 5 }, // the grip alone
        { "", 0, false, false, 4 + 9 }, // an image index without images
        { "", 0, true, false, 16 + 4 + 9 },
        { "Files", -1, false, false, textWidth + 4 + 9 },
        { "Files", 0, true, false, textWidth + 2 + 16 + 4 + 9 },
        { "Files", -1, false, true, textWidth + 4 }, // a fixed band has no grip
    };
    TCoolBand* band = bar->Bands()->Add();
    for (const TCase& test : cases) {
        band->SetText(test.Text);
        band->SetImageIndex(test.ImageIndex);
        band->SetFixedSize(test.FixedSize);
        bar->SetImages(test.WithImages ? &images : nullptr);
        EXPECT_EQ(bar->BandCaptionSize(band), test.Expected) << test.Text << " " << test.ImageIndex;
    }
    bar->SetShowText(false);
    EXPECT_EQ(bar->BandCaptionSize(band), 0) << "a fixed band without text shown or an image has no caption";
    band->SetVisible(false);
    EXPECT_EQ(bar->BandCaptionSize(band), 0);

    // The image is drawn after the grip, centred across the band. The list going away leaves the bar.
    bar->SetShowText(true);
    band->SetVisible(true);
    band->SetText("");
    band->SetFixedSize(false);
    band->SetImageIndex(0);
    bar->SetImages(&images);
    bar->Repaint();
    // Row depth 29: the caption runs from y 2 to 27, so the 16-pixel image starts at 14 - 8 = 6; x 0 + 5 + 2.
    EXPECT_EQ(Backend.ScreenPixel(100 + 7, 100 + 6) & 0xFFFFFF, 0xFF0000u);
    EXPECT_NE(Backend.ScreenPixel(100 + 6, 100 + 6) & 0xFFFFFF, 0xFF0000u);
    auto* owned = new TImageList(nullptr, 16, 16);
    bar->SetImages(owned);
    delete owned;
    EXPECT_EQ(bar->Images(), nullptr);
}

} // namespace

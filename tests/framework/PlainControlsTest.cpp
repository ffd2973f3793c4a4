#include "ControlsTestSupport.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/StdCtrls.h"
#include "framework/controls/TControlCanvas.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TPicture.h"

namespace {

// 0x00RRGGBB, as the back buffers give pixels back.
uint32_t Rgb(TColor color)
{
    const uint32_t c = static_cast<uint32_t>(ColorToRGB(color));
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}

// A white form at (0, 0), 300 x 200 without a frame: window and client coordinates are the same.
class PlainControls : public ControlsTest {
protected:
    void SetUp() override
    {
        ControlsTest::SetUp();
        Form = NewForm(0, 0, 300, 200);
        Form->SetColor(clWhite);
    }

    template <class T> T* Add(int x, int y, int w, int h)
    {
        auto* c = new T(Form);
        c->SetBounds(x, y, w, h);
        c->SetParent(Form);
        return c;
    }

    void ShowAndPaint()
    {
        Form->Show();
        Form->Repaint();
        Pump();
    }

    uint32_t Pixel(int x, int y) { return Backend.WindowPixel(Form->Handle(), x, y); }

    TForm* Form = nullptr;
};

} // namespace

TEST_F(PlainControls, PanelPaintsItsBevelsFaceAndKeepsChildrenInsideThem)
{
    auto* panel = Add<TPanel>(10, 10, 100, 60);
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(2);
    auto* child = new TPanel(Form);
    child->SetAlign(alClient);
    child->SetParent(panel);
    // Outer bevel 1 + border 2 + inner bevel 1 on each side.
    EXPECT_EQ(child->BoundsRect(), Bounds(4, 4, 92, 52));
    child->SetAlign(alNone);
    child->SetBounds(60, 40, 10, 10);
    ShowAndPaint();
    struct Case {
        int X, Y;
        TColor Expected;
        const char* Where;
    };
    const Case kCases[] = {
        { 10, 10, clBtnHighlight, "outer bevel, top-left" },
        { 109, 69, clBtnShadow, "outer bevel, bottom-right" },
        { 12, 12, clBtnFace, "border" },
        { 13, 13, clBtnShadow, "inner bevel, lowered: shadow at the top-left" },
        { 106, 66, clBtnHighlight, "inner bevel, bottom-right" },
        { 30, 50, clBtnFace, "face" },
        { 5, 5, clWhite, "the form around it" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Where);
        EXPECT_EQ(Pixel(c.X, c.Y), Rgb(c.Expected));
    }
}

// A panel that erases before its paint, as every window does by default.
class TErasingPanel : public TPanel {
public:
    using TPanel::TPanel;

protected:
    bool PaintCoversClient() const override { return false; }
};

// A panel paints without the erase before it: whatever the window held must not show through anywhere, with
// every bevel, a border, a caption and children of both kinds on it.
TEST_F(PlainControls, APanelThatPaintsWithoutEraseLeavesNoPixelOfWhatWasThere)
{
    auto dress = [&](TPanel* panel) {
        panel->SetBevelInner(bvLowered);
        panel->SetBorderWidth(3);
        panel->SetBevelWidth(2);
        panel->SetColor(clYellow);
        panel->SetCaption("Caption");
        auto* label = new TLabel(Form);
        label->SetParent(panel);
        label->SetCaption("Label");
        label->SetBounds(12, 12, 40, 16);
        auto* inner = new TPanel(Form);
        inner->SetParent(panel);
        inner->SetBounds(70, 40, 20, 15);
    };
    auto* bare = Add<TPanel>(10, 10, 120, 70);
    auto* erased = Add<TErasingPanel>(150, 10, 120, 70);
    dress(bare);
    dress(erased);
    ShowAndPaint();
    // Garbage over both, then the repaint a program asks for after a change.
    for (TPanel* panel : { static_cast<TPanel*>(bare), static_cast<TPanel*>(erased) }) {
        TControlCanvas canvas;
        canvas.SetControl(panel);
        canvas.Brush()->SetColor(clFuchsia);
        canvas.FillRect(Rect(0, 0, panel->Width(), panel->Height()));
        canvas.SetControl(nullptr);
        RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    int differing = 0;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 120; ++x) {
            const uint32_t pixel = Pixel(10 + x, 10 + y);
            differing += pixel != Pixel(150 + x, 10 + y) || pixel == Rgb(clFuchsia);
        }
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(Pixel(40, 60), Rgb(clYellow));
}

TEST_F(PlainControls, ShapesFillWithTheBrushAndOutlineWithThePen)
{
    auto* box = Add<TShape>(10, 10, 40, 20);
    box->Brush()->SetColor(clLime);
    box->Pen()->SetColor(clGray);
    auto* circle = Add<TShape>(100, 10, 60, 30);
    circle->SetShape(stCircle);
    circle->Brush()->SetColor(clRed);
    circle->Pen()->SetStyle(psClear);
    ShowAndPaint();
    EXPECT_EQ(Pixel(10, 10), Rgb(clGray));
    EXPECT_EQ(Pixel(49, 29), Rgb(clGray));
    EXPECT_EQ(Pixel(30, 20), Rgb(clLime));
    // The circle is the 30-pixel square's, centred: nothing left of x = 115.
    EXPECT_EQ(Pixel(130, 25), Rgb(clRed));
    EXPECT_EQ(Pixel(112, 25), Rgb(clWhite));
}

TEST_F(PlainControls, PaintBoxBevelAndImagePaintOnTheirParent)
{
    auto* paintBox = Add<TPaintBox>(10, 10, 30, 30);
    paintBox->OnPaint = [paintBox](TObject*) {
        paintBox->Canvas()->Brush()->SetColor(clBlue);
        paintBox->Canvas()->FillRect(Bounds(0, 0, 30, 30));
    };
    auto* bevel = Add<TBevel>(60, 10, 30, 30);
    auto* image = Add<TImage>(120, 10, 40, 40);
    image->SetStretch(true);
    image->Canvas()->Brush()->SetColor(clRed);
    image->Canvas()->FillRect(Bounds(0, 0, 40, 40));
    TBitmap small;
    small.SetSize(10, 10);
    small.Canvas()->Brush()->SetColor(clNavy);
    small.Canvas()->FillRect(Bounds(0, 0, 10, 10));
    image->Picture()->SetGraphic(&small);
    ShowAndPaint();
    EXPECT_EQ(Pixel(25, 25), Rgb(clBlue));
    EXPECT_EQ(Pixel(60, 10), Rgb(clBtnShadow)); // lowered box: shadow at the top and left
    EXPECT_EQ(Pixel(89, 39), Rgb(clBtnHighlight));
    EXPECT_EQ(Pixel(75, 25), Rgb(clWhite));
    EXPECT_EQ(Pixel(155, 45), Rgb(clNavy)); // 10 x 10 stretched over 40 x 40
    EXPECT_EQ(bevel->Parent(), Form);
}

TEST_F(PlainControls, LabelsSizeThemselvesToTheirTextAndKeepTheirAnchoredSide)
{
    auto* label = Add<TLabel>(100, 10, 10, 10);
    label->SetCaption("Hi");
    const int shortWidth = label->Width();
    EXPECT_GT(shortWidth, 0);
    EXPECT_GT(label->Height(), 0);
    label->SetCaption("A much longer caption");
    EXPECT_GT(label->Width(), shortWidth);
    EXPECT_EQ(label->Left(), 100);
    auto* right = Add<TLabel>(100, 40, 10, 10);
    right->SetAlignment(taRightJustify);
    right->SetCaption("Right");
    const int rightEdge = right->Left() + right->Width();
    right->SetCaption("Right aligned text");
    EXPECT_EQ(right->Left() + right->Width(), rightEdge);
    // Text is drawn in the font colour somewhere on the label, on the label's colour.
    label->SetColor(clYellow);
    label->Font()->SetColor(clBlack);
    ShowAndPaint();
    bool sawText = false;
    for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
        for (int x = label->Left(); x < label->Left() + label->Width(); ++x)
            sawText = sawText || Pixel(x, y) != Rgb(clYellow);
    EXPECT_TRUE(sawText);
    EXPECT_EQ(Pixel(label->Left(), label->Top()), Rgb(clYellow));
}

TEST_F(PlainControls, ALabelsAcceleratorFocusesItsFocusControl)
{
    auto* first = Add<TBox>(10, 100, 50, 20);
    auto* second = Add<TBox>(100, 100, 50, 20);
    auto* label = Add<TLabel>(100, 80, 10, 10);
    label->SetCaption("&Name");
    label->SetFocusControl(second);
    ShowAndPaint();
    first->SetFocus();
    Pump();
    Backend.Key('N');
    Pump();
    EXPECT_TRUE(second->Focused());
    delete second; // the label forgets it
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(PlainControls, ImageListsDrawTransparentlyAndGreyedWhenDisabled)
{
    TImageList images(nullptr, 4, 4);
    TBitmap strip;
    strip.SetSize(8, 4); // two images
    strip.Canvas()->Brush()->SetColor(clFuchsia);
    strip.Canvas()->FillRect(Bounds(0, 0, 8, 4));
    strip.Canvas()->Brush()->SetColor(clRed);
    strip.Canvas()->FillRect(Bounds(1, 1, 2, 2));
    strip.Canvas()->Brush()->SetColor(clBlue);
    strip.Canvas()->FillRect(Bounds(4, 0, 4, 4));
    EXPECT_EQ(images.AddMasked(&strip, clFuchsia), 0);
    ASSERT_EQ(images.Count(), 2);
    TBitmap target;
    target.SetSize(12, 4);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Bounds(0, 0, 12, 4));
    images.Draw(target.Canvas(), 0, 0, 0);
    images.Draw(target.Canvas(), 4, 0, 1);
    images.Draw(target.Canvas(), 8, 0, 1, false);
    EXPECT_EQ(target.Canvas()->Pixels(0, 0), clWhite); // masked: the background shows
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(5, 1), clBlue);
    const TColor greyed = target.Canvas()->Pixels(9, 1);
    EXPECT_EQ(GetRValue(greyed), GetGValue(greyed));
    EXPECT_EQ(GetGValue(greyed), GetBValue(greyed));
    EXPECT_THROW(images.Delete(5), EInvalidImageList);
    images.SetWidth(8); // a new size empties the list
    EXPECT_EQ(images.Count(), 0);
}

// A 16x16 icon of distinct colours over a background of distinct colours, so a pixel drawn from the wrong place, a
// blend where a copy belongs or a pixel written outside the icon shows. Every fifth diagonal is the mask colour.
TColor IconPixel(int x, int y)
{
    return (x + y) % 5 == 0 ? clFuchsia : TColor(RGB(x * 16, y * 16, 128 + x));
}

TColor BackgroundPixel(int x, int y)
{
    return TColor(RGB(x * 6, 200 - y * 4, 90));
}

// What a disabled image shows: the pixel's brightness lifted halfway to white.
TColor Greyed(TColor color)
{
    const uint32_t lum = (GetRValue(color) * 77u + GetGValue(color) * 151u + GetBValue(color) * 28u) >> 8;
    const auto v = BYTE(128 + lum / 2);
    return TColor(RGB(v, v, v));
}

TEST_F(PlainControls, ImageListsDrawEachIconPixelOverTheCanvasAndNothingElse)
{
    TBitmap icon;
    icon.SetPixelFormat(pf24bit);
    icon.SetSize(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            icon.Canvas()->SetPixels(x, y, IconPixel(x, y));
    TImageList opaque(nullptr, 16, 16);
    opaque.Add(&icon, nullptr);
    TImageList masked(nullptr, 16, 16);
    masked.AddMasked(&icon, clFuchsia);

    struct Case {
        const char* Name;
        TImageList* Images;
        int X;
        int Y;
        bool Enabled;
    };
    const Case kCases[] = {
        { "opaque 24-bit icon", &opaque, 5, 7, true },
        { "masked icon", &masked, 5, 7, true },
        { "greyed opaque icon", &opaque, 9, 3, false },
        { "greyed masked icon", &masked, 9, 3, false },
        { "clipped at the top left", &masked, -6, -9, true },
        { "clipped at the bottom right", &opaque, 30, 33, true },
        { "greyed and clipped", &masked, 31, -4, false },
    };
    constexpr int kSize = 40;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.Name);
        TBitmap target;
        target.SetPixelFormat(pf32bit);
        target.SetSize(kSize, kSize);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                target.Canvas()->SetPixels(x, y, BackgroundPixel(x, y));
        // Twice: a second draw of the same icon must find everything as the first left it.
        for (int pass = 0; pass < 2; ++pass)
            c.Images->Draw(target.Canvas(), c.X, c.Y, 0, c.Enabled);
        int wrong = 0;
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                const int ix = x - c.X;
                const int iy = y - c.Y;
                const bool onIcon = ix >= 0 && ix < 16 && iy >= 0 && iy < 16;
                const bool clear = onIcon && c.Images == &masked && IconPixel(ix, iy) == clFuchsia;
                TColor expected = BackgroundPixel(x, y);
                if (onIcon && !clear)
                    expected = c.Enabled ? IconPixel(ix, iy) : Greyed(IconPixel(ix, iy));
                if (target.Canvas()->Pixels(x, y) != expected && ++wrong <= 3)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                                  << target.Canvas()->Pixels(x, y) << ", expected " << expected;
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(PlainControls, AWindowlessControlsCanvasDrawsOnItsPartOfTheParentOutsidePainting)
{
    auto* box = Add<TPaintBox>(50, 40, 20, 10);
    ShowAndPaint();
    box->Canvas()->Brush()->SetColor(clGreen);
    box->Canvas()->FillRect(Bounds(-5, -5, 100, 100)); // clipped to the control
    TControlCanvas::FreeDeviceContexts();
    EXPECT_EQ(Pixel(50, 40), Rgb(clGreen));
    EXPECT_EQ(Pixel(69, 49), Rgb(clGreen));
    EXPECT_EQ(Pixel(70, 45), Rgb(clWhite));
    EXPECT_EQ(Pixel(49, 45), Rgb(clWhite));
}

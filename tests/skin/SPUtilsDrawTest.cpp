// Text fitting, default glyphs, glyph cells and the background capture, drawn into bitmaps.
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/TspParentBackground.h"
#include "tests/framework/ControlsTestSupport.h"

#include <gtest/gtest.h>

using namespace SPUtils;

namespace {

std::unique_ptr<TBitmap> Blank(int w, int h, TColor color = clWhite)
{
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(w, h);
    bmp->Canvas()->Brush()->SetColor(color);
    bmp->Canvas()->FillRect(Rect(0, 0, w, h));
    return bmp;
}

// The pixels of row y from x1 to x2 (excluded) as '#' for `color` and '.' for anything else.
std::string Row(TBitmap* bmp, int y, int x1, int x2, TColor color)
{
    std::string row;
    for (int x = x1; x < x2; ++x)
        row += bmp->Canvas()->Pixels(x, y) == color ? '#' : '.';
    return row;
}

} // namespace

TEST(SPUtilsText, CorrectTextbyWidthKeepsFittingTextAndEndsCutTextWithDots)
{
    auto bmp = Blank(10, 10);
    TCanvas* canvas = bmp->Canvas();
    canvas->Font()->SetName("DejaVu Sans");
    canvas->Font()->SetHeight(14);
    const std::string text = "Conversion queue";
    const int full = canvas->TextWidth(text);
    const int dots = canvas->TextWidth("...");
    ASSERT_GT(full, dots);
    struct Case {
        const char* name;
        int width;
    };
    const Case kCases[] = { { "fits exactly", full }, { "roomy", full + 50 }, { "half", full / 2 },
        { "just the dots", dots }, { "narrower than the dots", dots - 1 }, { "zero", 0 } };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        for (auto correct : { &CorrectTextbyWidth, &CorrectTextbyWidthW }) {
            std::string fitted = text;
            correct(canvas, fitted, c.width);
            if (c.width >= full) {
                EXPECT_EQ(fitted, text);
                continue;
            }
            ASSERT_GE(fitted.size(), 3u);
            EXPECT_EQ(fitted.substr(fitted.size() - 3), "...");
            const std::string prefix = fitted.substr(0, fitted.size() - 3);
            EXPECT_EQ(text.compare(0, prefix.size(), prefix), 0);
            if (c.width < dots)
                EXPECT_EQ(fitted, "...");
            else {
                EXPECT_LE(canvas->TextWidth(fitted), c.width);
                // One more character would not have fitted.
                EXPECT_GT(canvas->TextWidth(text.substr(0, prefix.size() + 1) + "..."), c.width);
            }
        }
    }
}

TEST(SPUtilsText, ShorteningNeverSplitsACharacter)
{
    auto bmp = Blank(10, 10);
    TCanvas* canvas = bmp->Canvas();
    canvas->Font()->SetName("DejaVu Sans");
    canvas->Font()->SetHeight(14);
    const std::string text = "Überschrift äöü";
    for (int width = canvas->TextWidth("..."); width < canvas->TextWidth(text); width += 3) {
        std::string fitted = text;
        CorrectTextbyWidth(canvas, fitted, width);
        for (size_t i = 0; i + 3 < fitted.size(); ++i)
            ASSERT_EQ(fitted[i], text[i]) << width;
        // The byte before "..." never starts a two-byte sequence.
        if (fitted.size() > 3) {
            EXPECT_NE(static_cast<unsigned char>(fitted[fitted.size() - 4]) & 0xE0, 0xC0) << width;
        }
    }
}

TEST(SPUtilsText, EmptyTextDrawsNothing)
{
    auto bmp = Blank(40, 20);
    bmp->Canvas()->Brush()->SetColor(clBlack); // would fill the rectangle if anything were drawn
    SPDrawText(bmp->Canvas(), "", Rect(0, 0, 40, 20));
    SPDrawText2(bmp->Canvas(), "", Rect(0, 0, 40, 20));
    EXPECT_EQ(Row(bmp.get(), 10, 0, 40, clWhite), std::string(40, '#'));
    SPDrawText2(bmp->Canvas(), "Wg", Rect(0, 0, 40, 20));
    EXPECT_NE(Row(bmp.get(), 10, 0, 40, clWhite), std::string(40, '#'));
    EXPECT_GT(CalcTextWidthW(bmp->Canvas(), "Wg"), 0);
    EXPECT_GT(CalcTextHeightW(bmp->Canvas(), "Wg"), 0);
}

TEST(SPUtilsGlyphs, ShapesAroundTheCentre)
{
    struct Case {
        const char* name;
        void (*draw)(TCanvas*);
        int y;
        std::string row;
    };
    const Case kCases[] = {
        // Centre (5, 5); kind 4 points down: rows 7 - i covering 5 - i to 5 + i.
        { "down tip", [](TCanvas* c) { DrawArrowImage(c, Rect(0, 0, 11, 11), clBlack, 4); }, 7, ".....#....." },
        { "down base", [](TCanvas* c) { DrawArrowImage(c, Rect(0, 0, 11, 11), clBlack, 4); }, 4, "..#######.." },
        { "up tip", [](TCanvas* c) { DrawArrowImage(c, Rect(0, 0, 11, 11), clBlack, 3); }, 3, ".....#....." },
        { "left column", [](TCanvas* c) { DrawArrowImage(c, Rect(0, 0, 11, 11), clBlack, 1); }, 5, "...####...." },
        { "unknown kind", [](TCanvas* c) { DrawArrowImage(c, Rect(0, 0, 11, 11), clBlack, 5); }, 5, "..........." },
        { "track arrow", [](TCanvas* c) { DrawTrackArrowImage(c, Rect(0, 0, 11, 11), clBlack); }, 5, "...#####..." },
        { "minimize", [](TCanvas* c) { DrawMinimizeImage(c, 0, 0, clBlack); }, 9, ".########.." },
        { "roll-up base", [](TCanvas* c) { DrawRollUpImage(c, 0, 0, clBlack); }, 6, ".#########." },
        { "restore roll-up tip", [](TCanvas* c) { DrawRestoreRollUpImage(c, 0, 0, clBlack); }, 6, ".....#....." },
        { "radio", [](TCanvas* c) { DrawRadioImage(c, 2, 2, clBlack); }, 4, "..######..." },
        { "maximize bar", [](TCanvas* c) { DrawMaximizeImage(c, 0, 0, clBlack); }, 1, "###########" },
        { "maximize body", [](TCanvas* c) { DrawMaximizeImage(c, 0, 0, clBlack); }, 5, "#.........#" },
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        auto bmp = Blank(11, 11);
        c.draw(bmp->Canvas());
        EXPECT_EQ(Row(bmp.get(), c.y, 0, 11, clBlack), c.row);
    }
}

TEST(SPUtilsGlyphs, Frame3DCorners)
{
    auto bmp = Blank(10, 10);
    Frm3D(bmp->Canvas(), Rect(0, 0, 10, 10), clRed, clBlue);
    EXPECT_EQ(bmp->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(bmp->Canvas()->Pixels(8, 0), clRed);
    EXPECT_EQ(bmp->Canvas()->Pixels(9, 0), clBlue);
    EXPECT_EQ(bmp->Canvas()->Pixels(9, 9), clBlue);
    EXPECT_EQ(bmp->Canvas()->Pixels(0, 9), clBlue);
    EXPECT_EQ(bmp->Canvas()->Pixels(5, 5), clWhite);
}

TEST(SPUtilsGlyphs, DrawGlyphCopiesOneCellWithItsBottomLeftColourLeftOut)
{
    // Every strip pixel is distinct: red = column, green = row + 1.
    TBitmap strip;
    strip.SetSize(40, 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 40; ++x)
            strip.Canvas()->SetPixels(x, y, static_cast<TColor>(x | ((y + 1) << 8)));
    auto target = Blank(30, 20);
    DrawGlyph(target->Canvas(), 5, 7, &strip, 4, 2);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) {
            const TColor expected = x == 0 && y == 5 ? clWhite : static_cast<TColor>((10 + x) | ((y + 1) << 8));
            ASSERT_EQ(target->Canvas()->Pixels(5 + x, 7 + y), expected) << x << "," << y;
        }
    EXPECT_EQ(target->Canvas()->Pixels(15, 7), clWhite);

    for (int index : { 0, 5, -1 }) {
        auto untouched = Blank(30, 20);
        DrawGlyph(untouched->Canvas(), 0, 0, &strip, 4, index);
        EXPECT_EQ(Row(untouched.get(), 0, 0, 30, clWhite), std::string(30, '#')) << index;
    }
    TBitmap empty;
    DrawGlyph(target->Canvas(), 0, 0, &empty, 4, 1);
    DrawGlyph(target->Canvas(), 0, 0, &strip, 0, 1);
}

namespace {

// A windowless control that fills itself with one colour and counts its paints.
class TPaintedBlock : public TGraphicControl {
    using inherited = TGraphicControl;

public:
    TPaintedBlock(TComponent* owner, TColor color)
        : inherited(owner)
        , FFill(color)
    {
    }
    int Paints = 0;
    bool SawPaintCopy = false;

protected:
    void Paint() override
    {
        ++Paints;
        SawPaintCopy = ControlState().Contains(csPaintCopy);
        Canvas()->Brush()->SetColor(FFill);
        Canvas()->FillRect(Rect(0, 0, Width(), Height()));
    }

private:
    TColor FFill;
};

// A parent whose face is a green square at (50, 50)-(60, 60) over its red background.
class TMarkedPanel : public TCustomControl {
    using inherited = TCustomControl;

public:
    explicit TMarkedPanel(TComponent* owner)
        : inherited(owner)
    {
        SetColor(clRed);
    }
    bool SawPaintCopy = false;

protected:
    void Paint() override
    {
        SawPaintCopy = ControlState().Contains(csPaintCopy);
        Canvas()->Brush()->SetColor(clLime);
        Canvas()->FillRect(Rect(50, 50, 60, 60));
    }
};

class GetParentImageTest : public ControlsTest { };

} // namespace

TEST_F(GetParentImageTest, PaintsTheBackgroundAndOnlyTheEarlierOverlappingSiblings)
{
    TForm* form = NewForm(0, 0, 300, 300);
    auto* panel = new TMarkedPanel(form);
    panel->SetParent(form);
    panel->SetBounds(0, 0, 200, 200);
    auto* far = new TPaintedBlock(form, clYellow);
    far->SetBounds(150, 150, 10, 10);
    far->SetParent(panel);
    auto* before = new TPaintedBlock(form, clBlue);
    before->SetBounds(30, 30, 20, 20);
    before->SetParent(panel);
    auto* control = new TPaintedBlock(form, clGray);
    control->SetBounds(40, 40, 40, 40);
    control->SetParent(panel);
    auto* after = new TPaintedBlock(form, clFuchsia);
    after->SetBounds(70, 70, 20, 20);
    after->SetParent(panel);

    auto image = Blank(40, 40, clWhite);
    GetParentImage(control, image->Canvas());
    struct Case {
        int x, y;
        TColor color;
    };
    const Case kCases[] = {
        { 0, 0, clBlue }, // the earlier label
        { 9, 9, clBlue }, { 10, 10, clLime }, // the parent's own face at (50, 50)
        { 25, 5, clRed }, // background
        { 35, 35, clRed }, // under the later label: not painted
    };
    for (const Case& c : kCases)
        EXPECT_EQ(image->Canvas()->Pixels(c.x, c.y), c.color) << c.x << "," << c.y;
    EXPECT_EQ(before->Paints, 1);
    EXPECT_TRUE(before->SawPaintCopy);
    EXPECT_EQ(after->Paints, 0);
    EXPECT_EQ(far->Paints, 0);
    EXPECT_EQ(control->Paints, 0);
    EXPECT_TRUE(panel->SawPaintCopy);
    EXPECT_FALSE(panel->ControlState().Contains(csPaintCopy));
    EXPECT_FALSE(before->ControlState().Contains(csPaintCopy));

    auto part = Blank(10, 10, clWhite);
    GetParentImageRect(control, Rect(10, 10, 20, 20), part->Canvas());
    EXPECT_EQ(part->Canvas()->Pixels(0, 0), clLime);

    auto orphanImage = Blank(5, 5, clWhite);
    TPaintedBlock orphan(nullptr, clBlue);
    GetParentImage(&orphan, orphanImage->Canvas());
    GetParentImage(nullptr, orphanImage->Canvas());
    EXPECT_EQ(orphanImage->Canvas()->Pixels(2, 2), clWhite);
}

namespace {

// A parent that paints the background under its children itself (as the skinned tab control does); its own
// erase and face would show as red and lime.
class TSelfBackgroundPanel : public TCustomControl, public TspParentBackground {
    using inherited = TCustomControl;

public:
    explicit TSelfBackgroundPanel(TComponent* owner)
        : inherited(owner)
    {
        SetColor(clRed);
    }
    int BackgroundPaints = 0;

    void PaintBG(HDC dc) override
    {
        ++BackgroundPaints;
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Brush()->SetColor(clTeal);
        canvas.FillRect(Rect(0, 0, Width(), Height()));
        canvas.SetHandle(nullptr);
    }

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clLime);
        Canvas()->FillRect(ClientRect());
    }
};

} // namespace

TEST_F(GetParentImageTest, TakesTheBackgroundFromAParentThatPaintsItItself)
{
    TForm* form = NewForm(0, 0, 300, 300);
    auto* tabs = new TSelfBackgroundPanel(form);
    tabs->SetParent(form);
    tabs->SetBounds(10, 10, 200, 200);
    auto* control = new TPaintedBlock(form, clGray);
    control->SetBounds(20, 20, 30, 30);
    control->SetParent(tabs);

    auto image = Blank(30, 30, clWhite);
    GetParentImage(control, image->Canvas());
    EXPECT_EQ(tabs->BackgroundPaints, 1);
    EXPECT_EQ(Row(image.get(), 15, 0, 30, clTeal), std::string(30, '#'));
    EXPECT_EQ(control->Paints, 0);
}

TEST_F(GetParentImageTest, OnAnMDIParentTheClientWindowGivesTheBackground)
{
    TForm* form = NewForm(0, 0, 300, 200);
    form->SetColor(clRed);
    form->SetFormStyle(fsMDIForm);
    form->Show();
    HWND client = form->ClientHandle();
    ASSERT_NE(client, nullptr);
    RECT r {};
    GetClientRect(client, &r);
    EXPECT_EQ(r.right, form->ClientWidth());
    EXPECT_EQ(r.bottom, form->ClientHeight());

    auto* control = new TPaintedBlock(form, clGray);
    control->SetBounds(50, 50, 20, 20);
    control->SetParent(form);
    auto image = Blank(20, 20, clWhite);
    GetParentImage(control, image->Canvas());
    const TColor workspace = static_cast<TColor>(GetSysColor(COLOR_APPWORKSPACE));
    EXPECT_EQ(Row(image.get(), 10, 0, 20, workspace), std::string(20, '#'));

    // The client follows the form's size, and leaves with the MDI style.
    form->SetBounds(0, 0, 400, 250);
    GetClientRect(client, &r);
    EXPECT_EQ(r.right, form->ClientWidth());
    EXPECT_EQ(r.bottom, form->ClientHeight());
    form->SetFormStyle(fsNormal);
    EXPECT_EQ(form->ClientHandle(), nullptr);
    EXPECT_FALSE(IsWindow(client));
    GetParentImage(control, image->Canvas());
    EXPECT_EQ(Row(image.get(), 10, 0, 20, clRed), std::string(20, '#'));
}

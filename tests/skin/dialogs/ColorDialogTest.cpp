// The colour dialog on the headless display: the palette's geometry, the window's layout, the edits, grids and
// palette keeping one colour, the mouse on the ring and the square, and what OK and Cancel keep.
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TPicture.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinButtons.h"
#include "skin/controls/SkinTrackEdit.h"
#include "skin/dialogs/SkinColorGrids.h"
#include "skin/dialogs/TspSkinColorDialog.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

TEST(ColorDialogGeometry, AnglesAndRotations)
{
    struct Case {
        double PX, PY, Angle;
    } const directions[] = { { 10, 0, 0 }, { 0, 10, 90 }, { -10, 0, 180 }, { 0, -10, 270 }, { 10, 10, 45 },
        { -10, -10, 225 }, { 0, 0, 0 } };
    for (const Case& c : directions) {
        SCOPED_TRACE(testing::Message() << c.PX << "," << c.PY);
        EXPECT_NEAR(CalcAnglePoints(50, 50, 50 + c.PX, 50 + c.PY), c.Angle, 1e-9);
    }
    // Clockwise from straight up: a point to the right is a quarter turn, one to the left three quarters.
    EXPECT_NEAR(CalcAngle3Points(97, 0, 97, 97, 190, 97), 90, 1e-9);
    EXPECT_NEAR(CalcAngle3Points(97, 0, 97, 97, 4, 97), 270, 1e-9);
    double a = -400;
    CalcAngle360(a);
    EXPECT_DOUBLE_EQ(a, 320);
    a = 720;
    CalcAngle360(a);
    EXPECT_DOUBLE_EQ(a, 0);
    // The ring cursor's top point turned a quarter counter-clockwise lands at the left, and on ellipses
    // the straight directions hit the radii.
    double x = 0, y = 0;
    CalcRotationPoint(97, 97, -90, 97, 10, x, y);
    EXPECT_NEAR(x, 10, 1e-6);
    EXPECT_NEAR(y, 97, 1e-6);
    CalcPointSurEllipse(0, 0, 20, 10, 90, x, y);
    EXPECT_NEAR(x, 0, 1e-6);
    EXPECT_NEAR(y, 10, 1e-6);
    CalcPointSurEllipse(0, 0, 20, 10, 180, x, y);
    EXPECT_NEAR(x, -20, 1e-6);
    EXPECT_NEAR(y, 0, 1e-6);
    EXPECT_NEAR(CalcArcSinRadians(1), std::acos(-1) / 2, 1e-12);
    EXPECT_NEAR(CalcArcCosRadians(0.5), std::acos(0.5), 1e-9);
    // The ring: not the middle, not the corner, but the band between the two circles.
    EXPECT_TRUE(InPaletteRing(97, 5, PalettePSPCoord, { 20, 20, 175, 175 }));
    EXPECT_FALSE(InPaletteRing(97, 97, PalettePSPCoord, { 20, 20, 175, 175 }));
    EXPECT_FALSE(InPaletteRing(2, 2, PalettePSPCoord, { 20, 20, 175, 175 }));
}

class ColorDialogTest : public SkinInputTest {
protected:
    void SetUp() override
    {
        SkinInputTest::SetUp();
        Dialog = new TspSkinColorDialog(Application);
    }
    void TearDown() override
    {
        Application->OnIdle = nullptr;
        SkinInputTest::TearDown();
    }

    // Runs Execute; `answer` gets the shown window and must end it.
    bool Run(const std::function<void(TspColorDialogForm*)>& answer)
    {
        bool done = false;
        Application->OnIdle = [&](TObject*, bool& idle) {
            TspColorDialogForm* form = Dialog->Form();
            if (!form || done || !form->Visible())
                return;
            done = true;
            idle = false;
            Form = form;
            answer(form);
            if (form->ModalResult() == mrNone)
                form->SetModalResult(mrCancel); // never hang the suite
        };
        const bool result = Dialog->Execute();
        Application->OnIdle = nullptr;
        Form = nullptr;
        EXPECT_TRUE(done);
        return result;
    }

    static int Value(TspColorDialogEdit* edit) { return static_cast<int>(std::lround(edit->Value())); }
    static std::array<int, 6> Edits(TspColorDialogForm* f)
    {
        return { Value(f->REdit), Value(f->GEdit), Value(f->BEdit), Value(f->HEdit), Value(f->SEdit),
            Value(f->LEdit) };
    }
    // Screen point of a palette pixel.
    static TPoint OnPalette(TspColorDialogForm* f, int x, int y) { return f->Palette->ClientToScreen({ x, y }); }
    void ClickPalette(TspColorDialogForm* f, int x, int y)
    {
        const TPoint p = OnPalette(f, x, y);
        Click(p.X, p.Y);
    }
    uint32_t PalettePixel(TspColorDialogForm* f, int x, int y)
    {
        const TColor c = f->Palette->Picture()->Bitmap()->Canvas()->Pixels(x, y);
        return Rgb(c);
    }

    TspSkinColorDialog* Dialog = nullptr;
};

TEST_F(ColorDialogTest, LayoutWithoutASkin)
{
    Run([&](TspColorDialogForm* f) {
        EXPECT_EQ(f->Caption(), "Set color");
        EXPECT_EQ(f->ClientWidth(), 378);
        EXPECT_EQ(f->ColorGrid->BoundsRect(), TRect(5, 5, 172, 200));
        EXPECT_EQ(f->CustomColorGrid->BoundsRect(), TRect(5, 210, 172, 278));
        EXPECT_EQ(f->PaletteHost->BoundsRect(), TRect(177, 5, 372, 200));
        // The edits two columns of three under the palette, 10 apart; the preview fills to the palette's right.
        EXPECT_EQ(f->REdit->Top(), 210);
        EXPECT_EQ(f->GEdit->Top(), 241);
        EXPECT_EQ(f->LEdit->Top(), 272);
        EXPECT_EQ(f->HEdit->Left(), f->Labels[3]->Left() + f->Labels[3]->Width() + 5);
        EXPECT_EQ(f->Labels[3]->Left(), f->REdit->Left() + 50 + 5);
        EXPECT_EQ(f->Viewer->Left() + f->Viewer->Width(), 372);
        EXPECT_EQ(f->Viewer->Width(), f->Viewer->Height());
        EXPECT_EQ(f->Viewer->Top(), 210);
        // Each edit drops its track bar to the left, as wide as its range needs.
        EXPECT_EQ(f->REdit->TrackBarWidth(), 200);
        EXPECT_EQ(f->HEdit->TrackBarWidth(), 250);
        EXPECT_EQ(f->LEdit->TrackBarWidth(), 120);
        EXPECT_EQ(f->HEdit->MaxValue(), 359);
        EXPECT_EQ(f->SEdit->PopupKind(), tbpLeft);
        EXPECT_TRUE(f->GEdit->JumpWhenClick());
        // Buttons under the last edit, texts built in.
        EXPECT_EQ(f->OKButton->BoundsRect(), TRect(5, 308, 75, 333));
        EXPECT_EQ(f->CancelButton->Left(), 90);
        EXPECT_EQ(f->AddCustomColorButton->BoundsRect(), TRect(177, 308, 372, 333));
        EXPECT_EQ(f->AddCustomColorButton->Caption(), "Add to Custom Colors");
        EXPECT_EQ(f->ColorGrid->Caption(), "Basic colors");
        EXPECT_EQ(f->ClientHeight(), 343);
        // Without a skin the palette stands on the button face; the ring starts with red at the top.
        EXPECT_EQ(PalettePixel(f, 2, 2), Rgb(clBtnFace));
        const uint32_t top = PalettePixel(f, 98, 8);
        EXPECT_GT(top >> 16 & 0xFF, 200u);
        EXPECT_LT(top >> 8 & 0xFF, 30u);
    });
}

TEST_F(ColorDialogTest, StartingColourReachesEveryPart)
{
    struct Case {
        TColor Color;
        std::array<int, 6> Edits; // R, G, B, H, S, L
        bool OnBasicGrid;
    } const cases[] = {
        { clRed, { 255, 0, 0, 0, 100, 100 }, true },
        // Not on the grid: the grid keeps no cursor, the edits still show it.
        { 0x3366CC, { 0xCC, 0x66, 0x33, 20, 75, 80 }, false },
        // A system colour is split as stored: its lowest bytes, which the preview then shows.
        { clBtnFace, { 0x0F, 0, 0, 0, 100, 6 }, false },
        // A grey has S 0, L = R * 100 / 255 and a hue of 0, not a leftover.
        { 0x7F7F7F, { 127, 127, 127, 0, 0, 50 }, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.Color);
        Dialog->Color = c.Color;
        Run([&](TspColorDialogForm* f) {
            EXPECT_EQ(Edits(f), c.Edits);
            EXPECT_EQ(f->Viewer->ColorValue(), c.Color & 0xFFFFFF);
            EXPECT_EQ(TspSkinColorGrid::CheckColor(f->ColorGrid->ColorValue()), c.OnBasicGrid);
        });
    }
}

TEST_F(ColorDialogTest, EditsGridsAndPaletteAgree)
{
    Run([&](TspColorDialogForm* f) {
        // Typing a value into H moves the preview, R, G, B and the palette's hue.
        f->SEdit->SetValue(100);
        f->LEdit->SetValue(100);
        f->HEdit->SetValue(120);
        EXPECT_EQ(f->Viewer->ColorValue(), clLime);
        EXPECT_EQ(Value(f->GEdit), 255);
        EXPECT_EQ(Dialog->PaletteColor().HSLPSP().H, 85);
        // R, G, B back into H, S, L.
        f->REdit->SetValue(0);
        f->GEdit->SetValue(0);
        f->BEdit->SetValue(255);
        EXPECT_EQ(Value(f->HEdit), 239); // two thirds of 359
        EXPECT_EQ(f->Viewer->ColorValue(), clBlue);
        // A click on the basic grid sets everything.
        const TRect cell = f->ColorGrid->CellRect(5);
        const TPoint p = f->ColorGrid->ClientToScreen({ (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2 });
        Click(p.X, p.Y);
        EXPECT_EQ(f->ColorGrid->ColorValue(), clRed);
        EXPECT_EQ(Edits(f), (std::array<int, 6> { 255, 0, 0, 0, 100, 100 }));
        EXPECT_EQ(f->Viewer->ColorValue(), clRed);
    });
}

TEST_F(ColorDialogTest, MouseOnRingAndSquare)
{
    Dialog->Color = clRed;
    Run([&](TspColorDialogForm* f) {
        int changes = 0;
        const auto count = [&](TObject* sender) {
            ++changes;
            if (sender == f->REdit || sender == f->GEdit || sender == f->BEdit)
                Dialog->RGBEditChange(sender);
            else
                Dialog->HSLEditChange(sender);
        };
        for (auto* edit : { f->REdit, f->GEdit, f->BEdit, f->HEdit, f->SEdit, f->LEdit })
            edit->OnChange = count;
        // A quarter turn to the left of the top is a hue of about a quarter; the square is redrawn in it.
        ClickPalette(f, 5, 97);
        EXPECT_GT(changes, 0);
        EXPECT_EQ(Dialog->ClickZone(), czpspPnone);
        const uint8_t hue = Dialog->PaletteColor().HSLPSP().H;
        EXPECT_EQ(hue, 63); // (359 - 270) / 359 * 255
        const auto square = [&](int x, int y) {
            const TRGB c = HSLToRGB({ Dialog->PaletteColor().HSL().H, (x - 44) / 106.0, (y - 44) / 106.0 });
            return static_cast<uint32_t>(c.R << 16 | c.G << 8 | c.B);
        };
        EXPECT_EQ(PalettePixel(f, 149, 100), square(149, 100));
        // The same hue once more changes nothing: no edit hears of it.
        const int before = changes;
        ClickPalette(f, 5, 97);
        EXPECT_EQ(changes, before);
        // A drag from inside the square out past its corner keeps to the square's edge and keeps the hue.
        const TPoint from = OnPalette(f, 60, 60), to = OnPalette(f, 190, 190);
        MoveTo(from.X, from.Y);
        Press();
        EXPECT_EQ(Dialog->ClickZone(), czpspPCar);
        MoveTo(to.X, to.Y);
        EXPECT_EQ(Dialog->PaletteColor().HSLPSP().S, 255);
        EXPECT_EQ(Dialog->PaletteColor().HSLPSP().L, 255);
        EXPECT_EQ(Dialog->PaletteColor().HSLPSP().H, hue);
        Release();
        EXPECT_EQ(Dialog->ClickZone(), czpspPnone);
        EXPECT_EQ(f->Viewer->ColorValue(), clWhite);
        // The square's cursor is drawn at the corner with the XOR pen.
        EXPECT_EQ(PalettePixel(f, 150, 145), ~square(150, 145) & 0xFFFFFF);
        EXPECT_EQ(PalettePixel(f, 140, 140), square(140, 140));
    });
}

TEST_F(ColorDialogTest, OkKeepsAndCancelDropsTheColourAndCustomColours)
{
    Dialog->Color = clNavy;
    // Cancel: an added custom colour and the changed colour are forgotten.
    EXPECT_FALSE(Run([&](TspColorDialogForm* f) {
        f->REdit->SetValue(200);
        f->AddCustomColorButton->Click();
        EXPECT_EQ(f->CustomColorGrid->CustomColorValues[0], static_cast<TColor>(0x8000C8));
        Backend.Key(VK_ESCAPE);
        Pump();
    }));
    EXPECT_EQ(Dialog->Color, clNavy);
    EXPECT_EQ(Dialog->CustomColors[0], clWhite);
    EXPECT_EQ(Dialog->CustomColorsCounter, 0);
    // OK: the preview's colour and the custom colours with their counter stay for the next window.
    EXPECT_TRUE(Run([&](TspColorDialogForm* f) {
        f->GEdit->SetValue(128);
        f->AddCustomColorButton->Click();
        Backend.Key(VK_RETURN);
        Pump();
    }));
    EXPECT_EQ(Dialog->Color, static_cast<TColor>(0x808000));
    EXPECT_EQ(Dialog->CustomColors[0], static_cast<TColor>(0x808000));
    EXPECT_EQ(Dialog->CustomColorsCounter, 1);
    Run([&](TspColorDialogForm* f) {
        EXPECT_EQ(f->CustomColorGrid->Counter, 1);
        f->AddCustomColorButton->Click();
        EXPECT_EQ(f->CustomColorGrid->CustomColorValues[1], static_cast<TColor>(0x808000));
        f->SetModalResult(mrCancel);
    });
}

} // namespace

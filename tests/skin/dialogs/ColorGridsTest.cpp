// The colour grids and the colour preview on the headless display: cells where the geometry puts them, the
// cursor inverting the chosen cell, clicks, the silent store of a colour outside the table, and the custom ring.
#include "skin/dialogs/SkinColorGrids.h"
#include "tests/skin/SkinControlsTestSupport.h"

#include <gtest/gtest.h>

namespace {

class ColorGridsTest : public SkinInputTest {
protected:
    void SetUp() override
    {
        SkinInputTest::SetUp();
        Form = NewForm(0, 0, 400, 300);
        Form->SetColor(clWhite);
        Form->Show();
        Pump();
    }
    template <class T> T* Place(int x, int y, int w, int h)
    {
        auto* grid = new T(Form);
        grid->SetBounds(x, y, w, h);
        grid->SetParent(Form);
        Pump();
        return grid;
    }
    static uint32_t Inverted(TColor color) { return ~Rgb(color) & 0xFFFFFF; }
};

TEST_F(ColorGridsTest, BasicGridCellsCursorAndClicks)
{
    auto* grid = Place<TspSkinColorGrid>(5, 5, 167, 195);
    grid->SetRowCount(8);
    grid->SetColCount(6);
    int changes = 0;
    grid->OnChange = [&](TObject*) { ++changes; };
    // w = (167 - 2 - 2 * 6) div 6 inside the default frame and caption; every cell shows its table colour.
    for (int n : { 1, 6, 7, 27, 48 }) {
        SCOPED_TRACE(n);
        const TRect r = grid->CellRect(n);
        EXPECT_EQ(At(5 + r.Left + 1, 5 + r.Top + 1), Rgb(BasicColorValues[n - 1]));
    }
    const TRect first = grid->CellRect(1), second = grid->CellRect(2), below = grid->CellRect(7);
    EXPECT_EQ(second.Left - first.Left, first.Right - first.Left + 2);
    EXPECT_EQ(below.Top - first.Top, first.Bottom - first.Top + 2);

    // A colour outside the table: stored, no event, no cursor anywhere.
    grid->SetColorValue(0x123456);
    EXPECT_EQ(grid->ColorValue(), static_cast<TColor>(0x123456));
    EXPECT_EQ(changes, 0);

    // A click picks the cell's colour, fires OnChange and puts the inverting cross on it.
    const TRect red = grid->CellRect(5);
    const int cx = red.Left + (red.Right - red.Left) / 2, cy = red.Top + (red.Bottom - red.Top) / 2;
    Click(5 + cx, 5 + cy);
    EXPECT_EQ(grid->ColorValue(), clRed);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(At(5 + cx - 3, 5 + cy), Inverted(clRed));
    EXPECT_EQ(At(5 + cx, 5 + cy), Rgb(clRed)); // the centre stays open
    // On the middle grey the cross is black.
    grid->SetColorValue(0x808080);
    const TRect grey = grid->CellRect(19);
    EXPECT_EQ(At(5 + grey.Left + (grey.Right - grey.Left) / 2 - 3, 5 + grey.Top + (grey.Bottom - grey.Top) / 2),
        0u);
    // Between cells: nothing.
    Click(5 + first.Right, 5 + first.Top + 2);
    EXPECT_EQ(changes, 2);
}

TEST_F(ColorGridsTest, CustomGridIsARingOfTwelve)
{
    auto* grid = Place<TspSkinCustomColorGrid>(5, 5, 167, 68);
    TColor seen = clBlack;
    grid->OnChange = [&](TObject*) { seen = grid->ColorValue(); };
    // A click on a cell that still holds the first white.
    const TRect cell = grid->CellRect(3);
    Click(5 + cell.Left + 2, 5 + cell.Top + 2);
    EXPECT_EQ(seen, clWhite);
    EXPECT_EQ(grid->SelectedCell(), 3);
    for (int i = 1; i <= 14; ++i)
        grid->AddColor(static_cast<TColor>(i));
    EXPECT_EQ(grid->Counter, 2);
    EXPECT_EQ(grid->CustomColorValues[0], static_cast<TColor>(13));
    EXPECT_EQ(grid->CustomColorValues[1], static_cast<TColor>(14));
    EXPECT_EQ(grid->CustomColorValues[2], static_cast<TColor>(3));
    // Adding changes neither the selection nor the colour.
    EXPECT_EQ(grid->SelectedCell(), 3);
    EXPECT_EQ(grid->ColorValue(), clWhite);
}

TEST_F(ColorGridsTest, ViewerFramesItsColour)
{
    auto* viewer = Place<TspColorViewer>(20, 20, 30, 30);
    viewer->SetColorValue(clLime);
    EXPECT_EQ(At(20, 20), 0u);
    EXPECT_EQ(At(49, 49), 0u);
    EXPECT_EQ(At(35, 35), Rgb(clLime));
}

} // namespace

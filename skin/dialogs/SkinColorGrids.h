// The small controls of the colour dialog, each usable on its own: the grid of 48 basic colours, the grid of 12
// custom colours filled one after another, a framed colour preview and a windowed host that paints nothing.
#pragma once
#include "framework/controls/TCustomControl.h"
#include "framework/controls/TGraphicControl.h"
#include "skin/controls/SkinPanels.h"

#include <array>

// The basic colours, numbered 1 .. 48 row by row ($BBGGRR).
extern const std::array<TColor, 48> BasicColorValues;

// What both grids share: the cell geometry inside the panel's frame and caption, painting and the cursor.
class TspColorGridBase : public TspSkinPanel {
    using inherited = TspSkinPanel;

public:
    explicit TspColorGridBase(TComponent* owner);

    int ColCount() const { return FColCount; }
    // Values of 0 or below are ignored.
    void SetColCount(int value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);
    TColor ColorValue() const { return FColorValue; }
    TNotifyEvent OnChange;

    // The rectangle of cell n (1-based, row by row), w x h without the 1-pixel gap.
    TRect CellRect(int n);
    // The cell under (x, y), 0 for none (between cells, or a cell with no colour).
    int CellAt(int x, int y);

protected:
    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void PaintTransparent(TCanvas* canvas) override;
    void PaintGrid(TCanvas* canvas);
    // How many cells have a colour, the colour of cell n, and the cell carrying the cursor (0: none).
    virtual int ColorCount() const = 0;
    virtual TColor CellColor(int n) const = 0;
    virtual int CursorCell() const = 0;

    TColor FColorValue = 0;

private:
    void Geometry(int& left, int& top, int& w, int& h);
    void DrawCursor(TCanvas* canvas, const TRect& cell, bool invert);

    int FColCount = 12;
    int FRowCount = 4;
};

class TspSkinColorGrid : public TspColorGridBase {
    using inherited = TspColorGridBase;

public:
    explicit TspSkinColorGrid(TComponent* owner);
    // Stores the colour; only a colour of the table fires OnChange and repaints.
    void SetColorValue(TColor value);
    static bool CheckColor(TColor value);

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    int ColorCount() const override { return 48; }
    TColor CellColor(int n) const override { return BasicColorValues[static_cast<size_t>(n - 1)]; }
    int CursorCell() const override;
};

class TspSkinCustomColorGrid : public TspColorGridBase {
    using inherited = TspColorGridBase;

public:
    explicit TspSkinCustomColorGrid(TComponent* owner);
    // The 13th colour added overwrites the first: the counter runs round 12 slots.
    void AddColor(TColor value);
    // The colours and the counter, copied in and out as a whole by the colour dialog.
    std::array<TColor, 12> CustomColorValues;
    int Counter = 0;
    int SelectedCell() const { return FSelected; }

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    int ColorCount() const override { return 12; }
    TColor CellColor(int n) const override { return CustomColorValues[static_cast<size_t>(n - 1)]; }
    int CursorCell() const override { return FSelected; }

private:
    int FSelected = 0;
};

// A colour in a one-pixel black frame.
class TspColorViewer : public TGraphicControl {
    using inherited = TGraphicControl;

public:
    explicit TspColorViewer(TComponent* owner);
    TColor ColorValue() const { return FColorValue; }
    void SetColorValue(TColor value);

protected:
    void Paint() override;

private:
    TColor FColorValue = 0;
};

// A windowed control that paints nothing and leaves the background alone.
class TspEmptyControl : public TCustomControl {
    using inherited = TCustomControl;

public:
    using TCustomControl::TCustomControl;
    void WndProc(TMessage& message) override;

protected:
    void Paint() override { }
};

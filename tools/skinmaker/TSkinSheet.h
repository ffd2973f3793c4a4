// TSkinSheet, a picture that collects many small skin images side by side in rows.
#pragma once
#include "imaging/TBitmap32.h"
#include "tools/skinmaker/TSkinPainter.h"

// Hands out rectangles of a fixed-width picture row by row (a new row starts when an image does not fit the
// current one), with a gap between images so no image bleeds into its neighbour when it is stretched.
class TSkinSheet {
public:
    TSkinSheet(int width, const TPaint& background);

    // A rectangle of width x height of its own; the sheet grows downwards as needed.
    TRect Take(int width, int height);
    // Ends the current row, so the next image starts at the left.
    void NewRow();
    TSkinPainter& Painter() { return FPainter; }
    // The picture, cut to the rows used.
    const TBitmap32& Finish();

private:
    void Grow(int height);

    static constexpr int kGap = 2;
    TBitmap32 FBitmap;
    TSkinPainter FPainter;
    TPaint FBackground;
    int FX = kGap;
    int FY = kGap;
    int FRowHeight = 0;
};

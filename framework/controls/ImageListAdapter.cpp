#include "framework/controls/ImageListAdapter.h"

#include "platform/gdi/DeviceContext.h"

void TImageListAdapter::DrawImage(HDC dc, int x, int y, int index, bool selected)
{
    // A canvas let go of its handle leaves the stock pen, brush and font in it; the view goes on drawing its lines
    // and labels with the objects it had selected, so they come back.
    const int saved = SaveDC(dc);
    TCanvas canvas;
    canvas.SetHandle(dc);
    FList->Draw(&canvas, x, y, index, selected ? dsSelected : dsNormal, itImage, true);
    canvas.SetHandle(nullptr);
    RestoreDC(dc, saved);
}

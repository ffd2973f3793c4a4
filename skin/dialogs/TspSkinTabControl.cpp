#include "skin/dialogs/TspSkinTabControl.h"

#include "framework/controls/ImgList.h"
#include "framework/core/TStrings.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/WinMessages.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

TspSkinTabControl::TspSkinTabControl(TComponent* owner)
    : TspSkinTabsCore<TTabControl>(owner)
{
}

int TspSkinTabControl::TabCount() const { return Tabs()->Count(); }

std::string TspSkinTabControl::TabCaption(int page) const { return Tabs()->Strings(page); }

bool TspSkinTabControl::TabImageOf(int page, int& imageIndex, bool& enabled) const
{
    if (!Images() || page >= Images()->Count())
        return false;
    imageIndex = page;
    enabled = true;
    return true;
}

TRect TspSkinTabControl::FrameMargins() const
{
    // With a background picture the picture is the whole look: no frame.
    if (RecordPicture(Values.BGPictureIndex))
        return {};
    return inherited::FrameMargins();
}

void TspSkinTabControl::PaintSkinWindow(TCanvas* canvas)
{
    if (TBitmap* picture = RecordPicture(Values.BGPictureIndex)) {
        DrawStretched(canvas, picture, { 0, 0, picture->Width(), picture->Height() }, Width(), Height(),
            Values.StretchEffect);
        return;
    }
    const TRect display = DisplayRect();
    const int saved = SaveDC(canvas->Handle());
    IntersectClipRect(canvas->Handle(), display.Left, display.Top, display.Right, display.Bottom);
    DrawClientPiece(canvas, Width(), Height());
    RestoreDC(canvas->Handle(), saved);
    DrawSkinFrame(canvas, FrameRect());
}

void TspSkinTabControl::PaintBG(HDC dc)
{
    if (Width() <= 0 || Height() <= 0)
        return;
    GetSkinData();
    TCanvas canvas;
    canvas.SetHandle(dc);
    if (FIndex == -1) {
        canvas.Brush()->SetColor(clBtnFace);
        canvas.Brush()->SetStyle(bsSolid);
        canvas.FillRect(ClientRect());
    } else if (TBitmap* picture = RecordPicture(Values.BGPictureIndex)) {
        DrawStretched(&canvas, picture, { 0, 0, picture->Width(), picture->Height() }, Width(), Height(),
            Values.StretchEffect);
    } else {
        DrawClientPiece(&canvas, Width(), Height());
    }
    canvas.SetHandle(nullptr);
}

void TspSkinTabControl::CheckControlsBackground()
{ CheckChildrenBackground(this); }

void TspSkinTabControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        if (!FPainting)
            PaintBG(reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        return;
    case WM_PAINT:
        FPainting = true;
        inherited::WndProc(message);
        FPainting = false;
        return;
    case WM_SIZE:
        inherited::WndProc(message);
        GetSkinData();
        if (FIndex != -1 && Values.StretchEffect)
            CheckControlsBackground();
        if (!MultiLine())
            CheckScroll();
        return;
    default:
        inherited::WndProc(message);
    }
}

#include "skin/dialogs/TspSkinPageControl.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/WinMessages.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

// --- TspSkinCustomTabSheet ----------------------------------------------------------------------------------------

TspSkinCustomTabSheet::TspSkinCustomTabSheet(TComponent* owner)
    : TTabSheet(owner)
    , FWallPaper(std::make_unique<TBitmap>())
{
    FControlStyle.Include(csNoDesignVisible);
}

TspSkinCustomTabSheet::~TspSkinCustomTabSheet()
{
    SetPageControl(nullptr);
    FWallPaper.reset();
}

void TspSkinCustomTabSheet::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    // A resize repaints only what it uncovers; the background follows through WM_SIZE.
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TspSkinCustomTabSheet::SetWallPaper(TBitmap* value)
{
    FWallPaper->Assign(value);
    if (ComponentState().Contains(csDesigning))
        Invalidate();
}

TspSkinPageControl* TspSkinCustomTabSheet::SkinPageControl() const
{
    return dynamic_cast<TspSkinPageControl*>(PageControl());
}

void TspSkinCustomTabSheet::PaintBG(HDC dc)
{
    if (Width() <= 0 || Height() <= 0 || !Parent())
        return;
    TspSkinPageControl* pages = SkinPageControl();
    if (pages)
        pages->GetSkinData();
    TCanvas canvas;
    canvas.SetHandle(dc);
    if (!FWallPaper->Empty()) {
        for (int y = 0; y < Height(); y += FWallPaper->Height())
            for (int x = 0; x < Width(); x += FWallPaper->Width())
                canvas.Draw(x, y, FWallPaper.get());
    } else if (!pages || !pages->PaintPageBackground(&canvas, Width(), Height(), pages->Width(), pages->Height())) {
        canvas.Brush()->SetColor(clBtnFace);
        canvas.Brush()->SetStyle(bsSolid);
        canvas.FillRect(ClientRect());
    }
    canvas.SetHandle(nullptr);
}

void TspSkinCustomTabSheet::CheckControlsBackground()
{ CheckChildrenBackground(this); }

void TspSkinCustomTabSheet::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        PaintBG(reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        return;
    case WM_SIZE: {
        inherited::WndProc(message);
        Invalidate();
        TspSkinPageControl* pages = SkinPageControl();
        if (pages && pages->SkinData() && !pages->SkinData()->Empty && pages->StretchesBackground())
            CheckControlsBackground();
        return;
    }
    default:
        inherited::WndProc(message);
    }
}

// --- TspSkinPageControl -------------------------------------------------------------------------------------------

TspSkinPageControl::TspSkinPageControl(TComponent* owner)
    : TspSkinTabsCore<TPageControl>(owner)
{
}

int TspSkinPageControl::TabCount() const
{
    int count = 0;
    for (int i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible())
            ++count;
    return count;
}

int TspSkinPageControl::TabPage(int tab) const
{
    for (int i = 0; i < PageCount(); ++i)
        if (Pages(i)->TabVisible() && tab-- == 0)
            return i;
    return -1;
}

std::string TspSkinPageControl::TabCaption(int page) const { return Pages(page)->Caption(); }

bool TspSkinPageControl::TabImageOf(int page, int& imageIndex, bool& enabled) const
{
    if (!Images() || page >= Images()->Count())
        return false;
    imageIndex = Pages(page)->ImageIndex();
    enabled = Pages(page)->Enabled();
    return true;
}

void TspSkinPageControl::PaintWindow(HDC dc)
{
    if (Width() <= 0 || Height() <= 0)
        return;
    inherited::PaintWindow(dc);
}

void TspSkinPageControl::Change()
{
    inherited::Change();
    if (ActivePage())
        ActivePage()->Invalidate();
}

bool TspSkinPageControl::PaintPageBackground(TCanvas* canvas, int w, int h, int controlWidth, int controlHeight)
{
    if (FIndex == -1)
        return false;
    if (TBitmap* picture = RecordPicture(Values.BGPictureIndex)) {
        DrawStretched(canvas, picture, { 0, 0, picture->Width(), picture->Height() }, w, h, Values.StretchEffect);
        return true;
    }
    // The client piece stretches over the page control's size, so that neighbouring sheets match.
    if (Values.StretchEffect)
        DrawClientPiece(canvas, controlWidth, controlHeight);
    else
        DrawClientPiece(canvas, w, h);
    return true;
}

void TspSkinPageControl::DrawEmptyBackGround(HDC dc)
{
    TCanvas canvas;
    canvas.SetHandle(dc);
    if (TBitmap* picture = RecordPicture(Values.BGPictureIndex))
        DrawStretched(&canvas, picture, { 0, 0, picture->Width(), picture->Height() }, Width(), Height(),
            Values.StretchEffect);
    else
        DrawClientPiece(&canvas, Width(), Height());
    canvas.SetHandle(nullptr);
}

void TspSkinPageControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        if (PageCount() > 0) {
            message.Result = 1;
            return;
        }
        GetSkinData();
        if (FIndex == -1) {
            inherited::WndProc(message);
            return;
        }
        DrawEmptyBackGround(reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        return;
    case WM_SIZE:
        inherited::WndProc(message);
        if (!MultiLine() && !ComponentState().Contains(csDesigning))
            CheckScroll();
        return;
    default:
        inherited::WndProc(message);
    }
}

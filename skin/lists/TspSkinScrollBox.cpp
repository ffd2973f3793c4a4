#include "skin/lists/TspSkinScrollBox.h"

#include "framework/controls/Messages.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/WinStyles.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/core/SkinEditRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"

#include <algorithm>

using namespace SPUtils;

TspSkinScrollBox::TspSkinScrollBox(TComponent* owner)
    : inherited(owner)
{
    FControlStyle.Include(csAcceptsControls);
    SetSkinDataName("scrollbox");
    SetBounds(Left(), Top(), 150, 150);
}

TspSkinScrollBox::~TspSkinScrollBox() = default;

void TspSkinScrollBox::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TspSkinScrollBox::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == static_cast<TComponent*>(FVScrollBar))
        FVScrollBar = nullptr;
    if (component == static_cast<TComponent*>(FHScrollBar))
        FHScrollBar = nullptr;
}

void TspSkinScrollBox::SetVScrollBar(TspSkinScrollBar* value)
{
    FVScrollBar = value;
    AttachBar(value, true);
}

void TspSkinScrollBox::SetHScrollBar(TspSkinScrollBar* value)
{
    FHScrollBar = value;
    AttachBar(value, false);
}

void TspSkinScrollBox::AttachBar(TspSkinScrollBar* bar, bool vertical)
{
    if (!bar)
        return;
    bar->FreeNotification(this);
    bar->SetCanFocused(false);
    bar->SetEnabled(true);
    bar->SetVisible(false);
    bar->OnChange = [this, vertical](TObject* sender) {
        vertical ? OnVScrollBarChange(sender) : OnHScrollBarChange(sender);
    };
    bar->OnLastChange = [this](TObject*) { Invalidate(); };
    GetRange(vertical);
}

void TspSkinScrollBox::SetBorderStyle(TspSkinBorderStyle value)
{
    FBorderStyle = value;
    if (HandleAllocated())
        RecreateWnd();
}

void TspSkinScrollBox::UpdateScrollRange()
{
    GetHRange();
    GetVRange();
}

void TspSkinScrollBox::OnVScrollBarChange(TObject*)
{
    VScrollControls(FVScrollBar->Position() - FOldVSPos);
    FOldVSPos = FVScrollBar->Position();
}

void TspSkinScrollBox::OnHScrollBarChange(TObject*)
{
    HScrollControls(FHScrollBar->Position() - FOldHSPos);
    FOldHSPos = FHScrollBar->Position();
}

// A stretched background cannot be scrolled with the children: it is drawn again.
void TspSkinScrollBox::VScrollControls(int delta)
{
    ScrollBy(0, -delta);
    if (SkinIndex != -1 && ClientStretchEffect)
        Repaint();
}

void TspSkinScrollBox::HScrollControls(int delta)
{
    ScrollBy(-delta, 0);
    if (SkinIndex != -1 && ClientStretchEffect)
        Repaint();
}

void TspSkinScrollBox::VScroll(int position)
{
    if (!FVScrollBar || FVScrollBar->PageSize() == 0)
        return;
    FVScrollBar->SetPosition(std::min(position, FVScrollBar->Max() - FVScrollBar->PageSize()));
}

void TspSkinScrollBox::HScroll(int position)
{
    if (!FHScrollBar || FHScrollBar->PageSize() == 0)
        return;
    FHScrollBar->SetPosition(position);
}

void TspSkinScrollBox::GetVRange() { GetRange(true); }
void TspSkinScrollBox::GetHRange() { GetRange(false); }

void TspSkinScrollBox::GetRange(bool vertical)
{
    TspSkinScrollBar* bar = vertical ? FVScrollBar : FHScrollBar;
    if (!bar || FInUpdate || !Parent())
        return;
    const TRect client = ClientRect();
    const int size = vertical ? client.Bottom : client.Right;
    int extent = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (child->Visible())
            extent = std::max(extent, vertical ? child->Top() + child->Height() : child->Left() + child->Width());
    }
    int& growth = vertical ? FHeightGrowth : FWidthGrowth;
    int& last = vertical ? FOldVSPos : FOldHSPos;
    auto scroll = [&](int delta) { vertical ? VScrollControls(delta) : HScrollControls(delta); };
    const int position = bar->Position();
    const int content = position + extent;
    bool show = bar->Visible();
    if (content > size) {
        show = true;
        int target = position;
        if (position > 0 && extent < size && growth > 0) {
            const int g = std::min(growth, position);
            target = position - g;
            scroll(-g);
        } else if (growth == 0 && content - 1 < bar->Max() && position > 0 && extent < size) {
            // The content shrank while scrolled and a gap shows at the end: the children come back into it.
            const int d = std::min(size - extent, position);
            target = position - d;
            scroll(-d);
        }
        bar->SetRange(TspScrollMin(0), TspScrollMax(content - 1), TspScrollPage(size), TspScrollPosition(target));
        // A bigger page can pull the bar's position back: the children follow, so they stand where the bar says.
        if (bar->Position() != target)
            scroll(bar->Position() - target);
        growth = 0;
        last = bar->Position();
    } else {
        if (position > 0)
            scroll(-position);
        growth = 0;
        last = 0;
        bar->SetRange(TspScrollMin(0), TspScrollMax(0), TspScrollPage(0), TspScrollPosition(0));
        show = false;
    }
    if (FVScrollBar && FHScrollBar && FHScrollBar->Both() != FVScrollBar->Visible())
        FHScrollBar->SetBoth(FVScrollBar->Visible());
    if (show != bar->Visible())
        ShowOrHide(bar, show);
}

void TspSkinScrollBox::ShowOrHide(TspSkinScrollBar* bar, bool visible)
{
    FInUpdate = true;
    bar->SetVisible(visible);
    if (FVScrollBar && FHScrollBar && FHScrollBar->Both() != FVScrollBar->Visible())
        FHScrollBar->SetBoth(FVScrollBar->Visible());
    if (Align() != alNone) {
        if (TWinControl* parent = Parent())
            parent->Realign();
        Realign();
    }
    FInUpdate = false;
}

void TspSkinScrollBox::AdjustClientRect(TRect& rect)
{
    const TRect client = ClientRect();
    if (FHScrollBar && FHScrollBar->Visible()) {
        rect.Left = -FHScrollBar->Position();
        rect.Right = rect.Left + std::max(FHScrollBar->Max(), static_cast<int>(client.Right));
    } else {
        rect.Left = 0;
        rect.Right = client.Right;
    }
    if (FVScrollBar && FVScrollBar->Visible()) {
        rect.Top = -FVScrollBar->Position();
        rect.Bottom = rect.Top + std::max(FVScrollBar->Max(), static_cast<int>(client.Bottom));
    } else {
        rect.Top = 0;
        rect.Bottom = client.Bottom;
    }
    inherited::AdjustClientRect(rect);
}

void TspSkinScrollBox::SetBounds(int left, int top, int width, int height)
{
    const int oldWidth = Width();
    const int oldHeight = Height();
    // The parent's realignment inside may come back here; the growth is applied once, below.
    const bool inUpdate = FInUpdate;
    FInUpdate = true;
    inherited::SetBounds(left, top, width, height);
    FInUpdate = inUpdate;
    FWidthGrowth = oldWidth != 0 && Width() > oldWidth ? Width() - oldWidth : 0;
    if (Align() != alNone)
        GetHRange();
    FHeightGrowth = oldHeight != 0 && Height() > oldHeight ? Height() - oldHeight : 0;
    if (Align() != alNone)
        GetVRange();
}

// ---- Skin, frame and background -------------------------------------------------------------------------------

void TspSkinScrollBox::GetSkinData()
{
    inherited::GetSkinData();
    auto* record = SkinRecordAt<TspDataSkinScrollBoxControl>(SkinData(), SkinIndex);
    BGPictureIndex = record ? record->BGPictureIndex : -1;
}

void TspSkinScrollBox::ChangeSkinData()
{
    inherited::ChangeSkinData();
    if (HandleAllocated())
        RecreateWnd();
    if (FVScrollBar)
        FVScrollBar->SetAlign(FVScrollBar->Align());
    if (FHScrollBar)
        FHScrollBar->SetAlign(FHScrollBar->Align());
}

bool TspSkinScrollBox::HasFrame() const
{
    if (FBorderStyle == TspSkinBorderStyle::bvNone)
        return false;
    return SkinIndex == -1 || BGPictureIndex == -1;
}

void TspSkinScrollBox::NCCalcSize(TMessage& message)
{
    GetSkinData();
    if (!message.LParam || !HasFrame())
        return;
    RECT* r = message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                             : reinterpret_cast<RECT*>(message.LParam);
    if (SkinIndex == -1) {
        InflateRect(r, -1, -1);
        return;
    }
    r->left += SkinClientRect.Left;
    r->top += SkinClientRect.Top;
    r->right -= RectWidth(SkinRectangle) - SkinClientRect.Right;
    r->bottom -= RectHeight(SkinRectangle) - SkinClientRect.Bottom;
}

void TspSkinScrollBox::PaintFrame(HDC dc)
{
    if (!HasFrame())
        return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    const int width = Width();
    const int height = Height();
    if (SkinIndex == -1 || !SkinPicture) {
        TColor topLeft = clBtnShadow, bottomRight = clBtnShadow;
        if (FBorderStyle == TspSkinBorderStyle::bvRaised)
            bottomRight = clBtnHighlight;
        else if (FBorderStyle == TspSkinBorderStyle::bvLowered)
            topLeft = clBtnHighlight;
        Frm3D(&canvas, Rect(0, 0, width, height), topLeft, bottomRight);
    } else {
        TBitmap leftImage, topImage, rightImage, bottomImage;
        CreateSkinBorderImages(LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint, SkinClientRect,
            SizedLeftTopPoint, SizedRightTopPoint, SizedLeftBottomPoint, SizedRightBottomPoint, SizedClientRect,
            &leftImage, &topImage, &rightImage, &bottomImage, SkinPicture, SkinRectangle, width, height, LeftStretch,
            TopStretch, RightStretch, BottomStretch);
        canvas.Draw(0, 0, &topImage);
        canvas.Draw(0, topImage.Height(), &leftImage);
        canvas.Draw(width - rightImage.Width(), topImage.Height(), &rightImage);
        canvas.Draw(0, height - bottomImage.Height(), &bottomImage);
    }
    canvas.SetHandle(nullptr);
}

void TspSkinScrollBox::CreateControlDefaultImage(TBitmap* bitmap)
{
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect(0, 0, bitmap->Width(), bitmap->Height()));
}

void TspSkinScrollBox::Paint()
{
    GetSkinData();
    const TRect client = ClientRect();
    if (SkinIndex == -1 || !SkinPicture) {
        TCanvas* canvas = Canvas();
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(client);
        return;
    }
    const int width = client.Right;
    const int height = client.Bottom;
    if (width < 1 || height < 1)
        return;
    TBitmap* source = SkinPicture;
    TRect piece = Rect(SkinRectangle.Left + SkinClientRect.Left, SkinRectangle.Top + SkinClientRect.Top,
        SkinRectangle.Left + SkinClientRect.Right, SkinRectangle.Top + SkinClientRect.Bottom);
    if (TBitmap* bg = LoadedSkinPictureAt(SkinData(), BGPictureIndex)) {
        source = bg;
        piece = Rect(0, 0, bg->Width(), bg->Height());
    }
    const int pw = RectWidth(piece);
    const int ph = RectHeight(piece);
    if (pw <= 0 || ph <= 0)
        return;
    TCanvas* canvas = Canvas();
    TCanvas* from = source->Canvas();
    if (!ClientStretchEffect) {
        for (int y = 0; y < height; y += ph)
            for (int x = 0; x < width; x += pw)
                canvas->CopyRect(Rect(x, y, x + pw, y + ph), from, piece);
    } else if (ClientStretchType == spstFull) {
        canvas->CopyRect(Rect(0, 0, width, height), from, piece);
    } else if (ClientStretchType == spstHorz) {
        for (int x = 0; x < width; x += pw)
            canvas->CopyRect(Rect(x, 0, x + pw, height), from, piece);
    } else {
        for (int y = 0; y < height; y += ph)
            canvas->CopyRect(Rect(0, y, width, y + ph), from, piece);
    }
}

void TspSkinScrollBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        inherited::WndProc(message);
        NCCalcSize(message);
        return;
    case WM_NCPAINT: {
        inherited::WndProc(message);
        const HDC dc = GetWindowDC(Handle());
        PaintFrame(dc);
        ReleaseDC(Handle(), dc);
        return;
    }
    case CM_BENCPAINT:
        if (message.LParam != CM_BENCPAINTParam) {
            inherited::WndProc(message);
            return;
        }
        if (message.WParam)
            PaintFrame(reinterpret_cast<HDC>(message.WParam));
        message.Result = CM_BENCPAINTParam;
        return;
    case WM_SIZE:
        inherited::WndProc(message);
        if (HandleAllocated())
            SendMessage(Handle(), WM_NCPAINT, 1, 0);
        return;
    case WM_WINDOWPOSCHANGING:
        inherited::WndProc(message);
        if (HandleAllocated() && Align() == alNone) {
            GetVRange();
            GetHRange();
        }
        return;
    case CM_VISIBLECHANGED:
        inherited::WndProc(message);
        if (FVScrollBar)
            FVScrollBar->SetVisible(Visible());
        if (FHScrollBar)
            FHScrollBar->SetVisible(Visible());
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FCanFocused && !Designing() && !Focused()) {
            FFocusing = true;
            SetFocus();
            FFocusing = false;
            if (!Focused())
                return;
        }
        inherited::WndProc(message);
        return;
    case CN_COMMAND:
        if (FFocusing)
            return;
        inherited::WndProc(message);
        return;
    default:
        inherited::WndProc(message);
    }
}

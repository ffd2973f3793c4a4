#include "skin/controls/SkinScrollPanel.h"

#include "framework/controls/Messages.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/VirtualKeys.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinMessages.h"

#include <algorithm>

using namespace SPUtils;

TspSkinScrollPanel::TspSkinScrollPanel(TComponent* owner)
    : inherited(owner)
    , FArrows(this, this)
{
    TControlStyle style = ControlStyle();
    style.Include(csAcceptsControls);
    SetControlStyle(style);
    SetBounds(Left(), Top(), 150, 30);
    SetSkinDataName("panel");
}

TspSkinScrollPanel::~TspSkinScrollPanel()
{
    FArrows.StopTimer();
}

// ---- Properties --------------------------------------------------------------------------------------------------

void TspSkinScrollPanel::SetScrollType(TspScrollType value)
{
    if (FScrollType == value)
        return;
    FScrollType = value;
    FArrows.Vertical = value == stVertical;
    FArrows.Position = FArrows.Range = FArrows.Page = FArrows.OldPosition = 0;
    FArrows.SetShown(false);
    RecreateWnd();
}

void TspSkinScrollPanel::SetPosition(int value)
{
    if (FArrows.Position == value)
        return;
    FArrows.Position = value;
    UpdateRange();
}

void TspSkinScrollPanel::ChangeSkinData()
{
    inherited::ChangeSkinData();
    FArrows.RepaintButtons();
}

void TspSkinScrollPanel::GetSkinData()
{
    inherited::GetSkinData();
    FArrows.Skin = SkinReady() ? SkinData() : nullptr;
    FArrows.ButtonSkinIndex = FArrows.Skin ? FArrows.Skin->GetControlIndex("resizebutton") : -1;
}

// ---- Range and bounds --------------------------------------------------------------------------------------------

void TspSkinScrollPanel::ScrollChildren(int delta)
{
    if (FScrollType == stHorizontal)
        ScrollBy(delta, 0);
    else
        ScrollBy(0, delta);
    GetSkinData();
    if (auto* record = SkinRecordAt<TspDataSkinPanelControl>(SkinData(), SkinIndex); record && record->StretchEffect)
        Invalidate();
}

void TspSkinScrollPanel::UpdateRange()
{
    // Showing the buttons re-creates the window, which aligns the children again and comes back here.
    if (FInRange || !HandleAllocated())
        return;
    FInRange = true;
    FArrows.UpdateRange();
    FInRange = false;
}

int TspSkinScrollPanel::ChildrenCrossExtent() const
{
    int extent = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        const TControl* child = Controls(i);
        if (child->Visible())
            extent = std::max(extent,
                FScrollType == stVertical ? child->Left() + child->Width() : child->Top() + child->Height());
    }
    return extent;
}

void TspSkinScrollPanel::SetBounds(int left, int top, int width, int height)
{
    if (AutoSize()) {
        const int extent = ChildrenCrossExtent();
        if (extent != 0) {
            if (FScrollType == stVertical)
                width = extent;
            else
                height = extent;
        }
    }
    const int oldWidth = Width();
    const int oldHeight = Height();
    inherited::SetBounds(left, top, width, height);
    FArrows.RecordGrowth(oldWidth, oldHeight);
    UpdateRange();
}

void TspSkinScrollPanel::AlignControls(TControl* control, TRect& rect)
{
    inherited::AlignControls(control, rect);
    // Children came, went or moved: measure them again.
    UpdateRange();
}

void TspSkinScrollPanel::Loaded()
{
    inherited::Loaded();
    if (AutoSize())
        SetBounds(Left(), Top(), Width(), Height());
}

void TspSkinScrollPanel::AdjustClientRect(TRect& rect)
{
    const int p = FArrows.Position;
    const int w = ClientWidth();
    const int h = ClientHeight();
    if (FScrollType == stHorizontal)
        rect = Rect(-p, 0, -p + std::max(FArrows.Range, w), h);
    else
        rect = Rect(0, -p, w, -p + std::max(FArrows.Range, h));
    inherited::AdjustClientRect(rect);
}

// ---- Painting ----------------------------------------------------------------------------------------------------

void TspSkinScrollPanel::CreateControlDefaultImage(TBitmap* bitmap)
{
    bitmap->Canvas()->Brush()->SetColor(clBtnFace);
    bitmap->Canvas()->FillRect(ClientRect());
}

void TspSkinScrollPanel::CreateControlSkinImage(TBitmap* bitmap)
{
    CreateControlDefaultImage(bitmap);
}

void TspSkinScrollPanel::Paint()
{
    GetSkinData();
    auto* record = SkinRecordAt<TspDataSkinPanelControl>(SkinData(), SkinIndex);
    TBitmap* picture = record ? LoadedSkinPictureAt(SkinData(), record->PictureIndex) : nullptr;
    const int w = ClientWidth();
    const int h = ClientHeight();
    if (!picture) {
        inherited::Paint();
        return;
    }
    if (w < 1 || h < 1)
        return;
    const TRect& s = record->SkinRect;
    const TRect& c = record->ClientRect;
    const TRect piece = Rect(s.Left + c.Left, s.Top + c.Top, s.Left + c.Right, s.Top + c.Bottom);
    const int pw = RectWidth(piece);
    const int ph = RectHeight(piece);
    if (pw <= 0 || ph <= 0) {
        inherited::Paint();
        return;
    }
    TCanvas* canvas = Canvas();
    TCanvas* source = picture->Canvas();
    if (!record->StretchEffect) {
        for (int row = 0; row <= h / ph; ++row)
            for (int col = 0; col <= w / pw; ++col)
                canvas->CopyRect(Bounds(col * pw, row * ph, pw, ph), source, piece);
        return;
    }
    switch (record->StretchType) {
    case spstFull:
        canvas->CopyRect(Rect(0, 0, w, h), source, piece);
        break;
    case spstHorz:
        for (int col = 0; col <= w / pw; ++col)
            canvas->CopyRect(Bounds(col * pw, 0, pw, h), source, piece);
        break;
    default:
        for (int row = 0; row <= h / ph; ++row)
            canvas->CopyRect(Bounds(0, row * ph, w, ph), source, piece);
        break;
    }
}

// ---- Keys and messages -------------------------------------------------------------------------------------------

void TspSkinScrollPanel::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    if (!FCanFocused)
        return;
    if (key == VK_LEFT || key == VK_UP)
        FArrows.ButtonClick(0);
    else if (key == VK_RIGHT || key == VK_DOWN)
        FArrows.ButtonClick(1);
}

void TspSkinScrollPanel::WndProc(TMessage& message)
{
    const bool designing = Designing();
    if (FArrows.FrameMessage(message, designing))
        return;
    switch (message.Msg) {
    case WM_NCPAINT:
        FArrows.RepaintButtons();
        break;
    case CM_BENCPAINT:
        if (message.LParam != CM_BENCPAINTParam)
            break;
        if (message.WParam)
            FArrows.PaintButtons(reinterpret_cast<HDC>(message.WParam));
        message.Result = CM_BENCPAINTParam;
        return;
    case WM_SIZE:
        inherited::WndProc(message);
        FArrows.UpdateButtonRects();
        FArrows.RepaintButtons();
        return;
    case CM_WANTSPECIALKEY:
        if (FCanFocused && (message.WParam == VK_LEFT || message.WParam == VK_RIGHT || message.WParam == VK_UP
                               || message.WParam == VK_DOWN)) {
            message.Result = 1;
            return;
        }
        break;
    case WM_MOUSEWHEEL:
        if (FCanFocused && Focused()) {
            FArrows.ButtonClick(GET_WHEEL_DELTA_WPARAM(message.WParam) > 0 ? 0 : 1);
            return;
        }
        break;
    case WM_TIMER:
        inherited::WndProc(message);
        FArrows.MouseMessage(message);
        return;
    default:
        break;
    }
    if (!designing) {
        const UINT msg = message.Msg;
        const bool arrowsTook = msg != WM_TIMER && FArrows.MouseMessage(message);
        // With CanFocused a press gives the panel the focus; a press the focus was refused to goes no further.
        const bool press = msg == WM_NCLBUTTONDOWN || msg == WM_NCLBUTTONDBLCLK || msg == WM_LBUTTONDOWN
            || msg == WM_LBUTTONDBLCLK;
        if (FCanFocused && press) {
            if (!Focused() && CanFocus())
                SetFocus();
            if (!Focused())
                return;
        }
        if (arrowsTook)
            return;
    }
    inherited::WndProc(message);
}

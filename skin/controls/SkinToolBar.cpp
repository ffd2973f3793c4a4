#include "skin/controls/SkinToolBar.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "framework/graphics/TBitmap.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinEffectLabels.h"
#include "skin/controls/SkinMenuButtons.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"

#include <algorithm>

using namespace SPUtils;

namespace {

// The record names of the buttons on a tool bar of a given record name: plain and track-mode menu speed
// buttons, and the rest.
struct TToolButtonNames {
    const char* Button;
    const char* TrackMenuButton;
    const char* MenuButton;
};

TToolButtonNames ToolButtonNames(std::string_view barName)
{
    if (barName == "resizetoolpanel")
        return { "resizetoolbutton", "resizetoolbutton", "resizetoolbutton" };
    if (barName == "panel")
        return { "resizebutton", "resizebutton", "resizebutton" };
    if (barName == "bigtoolpanel")
        return { "bigtoolbutton", "bigtoolmenutrackbutton", "bigtoolmenubutton" };
    return { "toolbutton", "toolmenutrackbutton", "toolmenubutton" };
}

} // namespace

TspSkinToolBar::TspSkinToolBar(TComponent* owner)
    : inherited(owner)
    , FArrows(this, this)
{
    SetSkinDataName("toolpanel");
    SetBounds(Left(), Top(), Width(), 25);
    SetDefaultHeight(0);
    SetBorderStyle(TspSkinBorderStyle::bvNone);
    PaintBorderStrips = false;
}

TspSkinToolBar::~TspSkinToolBar()
{
    FArrows.StopTimer();
}

// ---- Properties --------------------------------------------------------------------------------------------------

void TspSkinToolBar::SetCanScroll(bool value)
{
    if (FCanScroll == value)
        return;
    FCanScroll = value;
    if (!value) {
        if (FArrows.Position > 0)
            ScrollChildren(FArrows.Position);
        FArrows.StopTimer();
        FArrows.Reset();
    }
    UpdateRange();
}

void TspSkinToolBar::SetShowCaptions(bool value)
{
    if (FShowCaptions == value)
        return;
    FShowCaptions = value;
    if (FAutoShowHideCaptions)
        for (int i = 0; i < ControlCount(); ++i)
            if (auto* button = dynamic_cast<TspSkinSpeedButton*>(Controls(i)))
                button->SetShowCaption(value);
    if (FWidthWithCaptions != 0 && FWidthWithoutCaptions != 0)
        SetWidth(value ? FWidthWithCaptions : FWidthWithoutCaptions);
}

void TspSkinToolBar::SetFlat(bool value)
{
    FFlat = value;
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* button = dynamic_cast<TspSkinSpeedButton*>(Controls(i)))
            button->SetFlat(value);
}

void TspSkinToolBar::WatchImages(TCustomImageList*& field, TCustomImageList* value)
{
    if (field)
        field->RemoveFreeNotification(this);
    field = value;
    if (field)
        field->FreeNotification(this);
}

void TspSkinToolBar::SetImages(TCustomImageList* value)
{
    WatchImages(FImages, value);
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* button = dynamic_cast<TspSkinSpeedButton*>(Controls(i)))
            button->Repaint();
}

void TspSkinToolBar::SetHotImages(TCustomImageList* value)
{
    WatchImages(FHotImages, value);
}

void TspSkinToolBar::SetDisabledImages(TCustomImageList* value)
{
    WatchImages(FDisabledImages, value);
}

void TspSkinToolBar::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FImages)
        SetImages(nullptr);
    if (component == FHotImages)
        FHotImages = nullptr;
    if (component == FDisabledImages)
        FDisabledImages = nullptr;
}

void TspSkinToolBar::SetSkinData(TspSkinData* value)
{
    inherited::SetSkinData(value);
    for (int i = 0; i < ControlCount(); ++i) {
        if (auto* button = dynamic_cast<TspSkinSpeedButton*>(Controls(i)))
            button->SetSkinData(value);
        else if (auto* bevel = dynamic_cast<TspSkinBevel*>(Controls(i)))
            bevel->SetSkinData(value);
    }
}

void TspSkinToolBar::SetSkinDataName(std::string_view value)
{
    inherited::SetSkinDataName(value);
    if (!Designing() || ComponentState().Contains(csLoading))
        return;
    const TToolButtonNames names = ToolButtonNames(value);
    for (int i = 0; i < ControlCount(); ++i) {
        if (auto* menuButton = dynamic_cast<TspSkinMenuSpeedButton*>(Controls(i)))
            menuButton->SetSkinDataName(menuButton->TrackButtonMode() ? names.TrackMenuButton : names.MenuButton);
        else if (auto* button = dynamic_cast<TspSkinSpeedButton*>(Controls(i)))
            button->SetSkinDataName(names.Button);
    }
}

void TspSkinToolBar::ChangeSkinData()
{
    inherited::ChangeSkinData();
    FArrows.RepaintButtons();
}

void TspSkinToolBar::GetSkinData()
{
    inherited::GetSkinData();
    // The arrows take the skin's button record only while the bar has a record of its own.
    FArrows.Skin = SkinIndex != -1 ? SkinData() : nullptr;
    FArrows.ButtonSkinIndex = FArrows.Skin ? FArrows.Skin->GetControlIndex("resizebutton") : -1;
}

TRect TspSkinToolBar::GetSkinClientRect() const
{
    return const_cast<TspSkinToolBar*>(this)->TspSkinPanel::GetSkinClientRect();
}

// ---- Layout ------------------------------------------------------------------------------------------------------

void TspSkinToolBar::CentreUnskinnedChildren()
{
    if (!FAdjustControls || !HandleAllocated())
        return;
    const TRect r = GetSkinClientRect();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (dynamic_cast<TspSkinControl*>(child) || dynamic_cast<TspGraphicSkinControl*>(child)
            || child->Align() != alNone)
            continue;
        const int top = r.Top + RectHeight(r) / 2 - child->Height() / 2;
        if (child->Top() != top)
            child->SetTop(top);
    }
}

void TspSkinToolBar::SetBounds(int left, int top, int width, int height)
{
    const int oldWidth = Width();
    const int oldHeight = Height();
    inherited::SetBounds(left, top, width, height);
    if (FCanScroll)
        FArrows.RecordGrowth(oldWidth, oldHeight);
    // Every child takes its bounds again, so that the skinned ones centre themselves on the new height.
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        child->SetBounds(child->Left(), child->Top(), child->Width(), child->Height());
    }
    CentreUnskinnedChildren();
    UpdateRange();
}

void TspSkinToolBar::AlignControls(TControl* control, TRect& rect)
{
    inherited::AlignControls(control, rect);
    CentreUnskinnedChildren();
    UpdateRange();
}

void TspSkinToolBar::UpdateRange()
{
    if (!FCanScroll || FInRange || !HandleAllocated())
        return;
    FInRange = true;
    FArrows.UpdateRange();
    FInRange = false;
}

void TspSkinToolBar::ScrollChildren(int delta)
{
    ScrollBy(delta, 0);
    Invalidate();
}

void TspSkinToolBar::AdjustClientRect(TRect& rect)
{
    inherited::AdjustClientRect(rect);
    if (!FCanScroll || !FArrows.Shown())
        return;
    rect = Rect(-FArrows.Position, rect.Top, -FArrows.Position + std::max(FArrows.Range, ClientWidth()), rect.Bottom);
    if (SkinIndex == -1 || Designing()) {
        rect.Top = 1;
        rect.Bottom = ClientHeight() - 1;
    } else if (BorderStyle() != TspSkinBorderStyle::bvNone || SkinResizeMode != 1) {
        rect.Top = SizedClientRect.Top;
        rect.Bottom = SizedClientRect.Bottom;
    }
}

void TspSkinToolBar::CreateControlSkinImage(TBitmap* bitmap)
{
    // Scrolled, a bar that stretches sideways shows only its middle band: its ends would stand still over
    // moving buttons.
    if (FArrows.Shown() && SkinResizeMode == 2 && SkinPicture) {
        CreateHSkinImage3(LeftTopPoint.X, RectWidth(SkinRectangle) - RightTopPoint.X, bitmap, SkinPicture,
            SkinRectangle, Width(), Height(), ClientStretchEffect);
        return;
    }
    inherited::CreateControlSkinImage(bitmap);
}

// ---- Messages ----------------------------------------------------------------------------------------------------

void TspSkinToolBar::WndProc(TMessage& message)
{
    if (!FCanScroll) {
        inherited::WndProc(message);
        return;
    }
    if (FArrows.FrameMessage(message, Designing()))
        return;
    switch (message.Msg) {
    case WM_NCPAINT:
        FArrows.RepaintButtons();
        return;
    case WM_SIZE:
        inherited::WndProc(message);
        FArrows.UpdateButtonRects();
        FArrows.RepaintButtons();
        return;
    case WM_TIMER:
        inherited::WndProc(message);
        FArrows.MouseMessage(message);
        return;
    default:
        if (!Designing() && FArrows.MouseMessage(message))
            return;
        break;
    }
    inherited::WndProc(message);
}

// TspSkinForm: construction, the skin binding and the layout after a skin change, size limits, window states,
// and the host side of the skin objects (their events and requests).
#include "skin/forms/TspSkinForm.h"

#include "framework/controls/Menus.h"
#include "framework/controls/TApplication.h"
#include "framework/controls/TScreen.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TIcon.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/SkinMainMenuItemObject.h"
#include "skin/forms/SkinTextObjects.h"
#include "skin/forms/SkinValueObjects.h"
#include "skin/forms/TspSkinMDITabsBar.h"
#include "skin/forms/TspSkinMainMenuBar.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/menus/TspSkinHint.h"
#include "skin/menus/TspSkinMenu.h"
#include "skin/menus/TspTrayIcon.h"

using namespace SPUtils;

TspSkinForm* GetSkinFormComponent(TCustomForm* form)
{
    if (!form)
        return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* skinForm = dynamic_cast<TspSkinForm*>(form->Components(i)))
            return skinForm;
    return nullptr;
}

namespace {

std::unique_ptr<TFont> CaptionFont(TColor color)
{
    auto font = std::make_unique<TFont>();
    font->SetName("Arial");
    font->SetHeight(14);
    font->SetStyle(TFontStyles { fsBold });
    font->SetColor(color);
    return font;
}

TTimer* NewTimer(TComponent* owner, uint32_t interval, std::function<void()> handler)
{
    auto* timer = new TTimer(owner);
    timer->SetEnabled(false);
    timer->SetInterval(interval);
    timer->SetOnTimer([handler = std::move(handler)](TObject*) { handler(); });
    return timer;
}

} // namespace

TspSkinForm::TspSkinForm(TComponent* owner)
    : inherited(owner)
{
    FForm = dynamic_cast<TCustomForm*>(owner);
    if (!FForm)
        throw EInvalidCast("Invalid class typecast");
    FDefCaptionFont = CaptionFont(clBtnText);
    FDefInActiveCaptionFont = CaptionFont(clBtnShadow);
    for (auto& strip : MaskStrips)
        strip = std::make_unique<TBitmap>();
    for (auto& image : FBorderCache)
        image = std::make_unique<TBitmap>();
    FLogoBitMap = std::make_unique<TBitmap>();
    FBGImage = std::make_unique<TBitmap>();
    FMorphTimer = NewTimer(this, 25, [this] { TestMorph(); });
    FMouseTimer = NewTimer(this, 50, [this] { TestMouse(); });
    FAnimateTimer = NewTimer(this, 25, [this] { TestAnimate(); });
    // The skin draws the caption buttons; the form keeps no scrolling of its own.
    FForm->SetBorderIcons(TBorderIcons {});
    FForm->SetAutoScroll(false);
    FSkinMenu = new TspSkinMenu(this, FForm);
    FForm->OnShortCut = [this](TWMKey& message, bool& handled) { FormShortCut(message, handled); };
    OldWindowProc = FForm->WindowProc;
    FForm->WindowProc = [this](TMessage& message) { NewWndProc(message); };
    // The new procedure must see the window's creation (its frame size above all).
    if (FForm->HandleAllocated())
        FForm->RecreateWnd();
    HookMDIClient();
}

TspSkinForm::~TspSkinForm()
{
    // The tray icon may outlive the component: it must not call back into it.
    if (FTrayIcon && FTrayDblClickOurs)
        FTrayIcon->OnDblClick = nullptr;
    // An open menu closes while the form still hears about it; the application gets its handler back.
    delete FSkinMenu;
    FSkinMenu = nullptr;
    SkinMenuOpened = false;
    UnHookApp();
    UnhookMDIClient();
    if (FForm)
        FForm->WindowProc = OldWindowProc;
    ClearObjects();
    if (FSkinData)
        FSkinData->RemoveFreeNotification(this);
}

void TspSkinForm::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FSkinData) {
        FSkinData = nullptr;
        // Nothing may paint from the deleted skin.
        FFormSkinned = false;
        InvalidateImages();
        ClearObjects();
    }
    if (operation == opRemove && component == static_cast<TComponent*>(FMDITabsBar))
        FMDITabsBar = nullptr;
    if (operation == opRemove && component == static_cast<TComponent*>(FMainMenuBar))
        FMainMenuBar = nullptr;
    if (operation == opRemove && component == static_cast<TComponent*>(FSkinHint))
        FSkinHint = nullptr;
    if (operation == opRemove && component == FMenusSkinData)
        FMenusSkinData = nullptr;
    if (operation == opRemove && component == FSystemMenu)
        FSystemMenu = nullptr;
    if (operation == opRemove)
        ForgetMenu(component);
    if (operation == opRemove && component == static_cast<TComponent*>(FStatusBar))
        FStatusBar = nullptr;
    if (operation == opRemove && component == static_cast<TComponent*>(FTrayIcon))
        FTrayIcon = nullptr;
}

void TspSkinForm::SetSkinData(TspSkinData* value)
{
    if (FSkinData && FSkinData != value)
        FSkinData->RemoveFreeNotification(this);
    FSkinData = value;
    if (value) {
        value->FreeNotification(this);
        // An MDI child keeps its own setting.
        if (FForm->FormStyle() != fsMDIChild)
            FSkinnableForm = value->SkinnableForm();
    }
    ChangeSkinData();
}

void TspSkinForm::SetSkinnableForm(bool value)
{
    FFormActive = GetFormActive();
    const bool mdiParent = FForm->FormStyle() == fsMDIForm;
    if (value == FSkinnableForm || (mdiParent && FForm->MDIChildCount() > 0) || ComponentState().Contains(csDesigning))
        return;
    // A maximized form changes its state in the normal size and is maximized again in the new one, by the skin
    // or by the framework.
    bool wasMaximized = false;
    if (FWindowState == wsMaximized && FSkinnableForm) {
        if (!mdiParent)
            FForm->Hide();
        SetWindowState(wsNormal);
        wasMaximized = true;
    } else if (FForm->WindowState() == wsMaximized && !FSkinnableForm) {
        FForm->SetWindowState(wsNormal);
        if (!mdiParent)
            FForm->Hide();
        wasMaximized = true;
    }
    FSkinnableForm = value;
    ChangeSkinData();
    UpDateSkinControls(nullptr, FForm);
    if (mdiParent) {
        // The client window keeps the hook (installed again when it was lost) and its frame is calculated anew.
        HookMDIClient();
        UpDateForm();
    } else {
        FForm->Refresh();
    }
    if (wasMaximized) {
        // Shown first: the framework maximizes a form only while it shows.
        if (!mdiParent)
            FForm->Show();
        if (value)
            SetWindowState(wsMaximized);
        else
            FForm->SetWindowState(wsMaximized);
    }
}

bool TspSkinForm::CanNCSupport() const
{
    return FSupportNCArea && FSkinData && !FSkinData->Empty && !IsNullRect(FSkinData->ClientRect);
}

bool TspSkinForm::CanScale() const
{
    if (!FSkinData)
        return false;
    return FSkinData->LeftTopPoint.X != FSkinData->RightBottomPoint.X
        && FSkinData->LeftTopPoint.Y != FSkinData->RightBottomPoint.Y;
}

namespace {

bool SkinLoaded(const TspSkinData* skin)
{
    return skin && !skin->Empty;
}

TSize PictureSize(const TspSkinData* skin)
{
    if (!skin || !skin->Picture)
        return TSize { 0, 0 };
    return TSize { skin->Picture->Width(), skin->Picture->Height() };
}

} // namespace

void TspSkinForm::CheckSize()
{
    const TSize picture = PictureSize(FSkinData);
    if (CanScale()) {
        if (MinWidth != 0 && MinHeight != 0)
            return;
        // Grows to the picture, never shrinks.
        if (FForm->ClientWidth() < picture.cx)
            FForm->SetClientWidth(picture.cx);
        if (FForm->ClientHeight() < picture.cy)
            FForm->SetClientHeight(picture.cy);
        return;
    }
    if (FForm->ClientWidth() != picture.cx)
        FForm->SetClientWidth(picture.cx);
    if (FForm->ClientHeight() != picture.cy)
        FForm->SetClientHeight(picture.cy);
    Sizeable = false;
}

void TspSkinForm::UpDateForm()
{
    const int width = FForm->Width();
    if (width - 1 < GetMinWidth()) {
        FForm->SetWidth(width + 1);
    } else {
        FForm->SetWidth(width - 1);
    }
    FForm->SetWidth(width);
}

void TspSkinForm::ChangeSkinData()
{
    InvalidateImages();
    OldActiveObjectIndex = ActiveObjectIndex = PressedObjectIndex = -1;
    FFormSkinned = SkinLoaded(FSkinData);
    if (FSupportNCArea)
        ChangeSkinDataFrame();
    else
        ChangeSkinDataPicture();
}

void TspSkinForm::ChangeSkinDataFrame()
{
    if (FFormSkinned && FSkinnableForm) {
        LoadObjects();
        CheckObjects();
    } else {
        ClearObjects();
        // The default frame has its own caption buttons.
        if (FSkinnableForm)
            LoadDefObjects();
        LayoutWidth = FForm->Width();
        LayoutHeight = FForm->Height();
        CreateNewRegion(true);
    }
    if (FSkinnableForm)
        FForm->SetBorderIcons(TBorderIcons {});
    else
        LoadBorderIcons();
    SkinChanging = true;
    const bool tooNarrow = GetMinWidth() > FForm->Width();
    const bool tooLow = GetMinHeight() > FForm->Height();
    if (tooNarrow && tooLow)
        FForm->SetBounds(FForm->Left(), FForm->Top(), GetMinWidth(), GetMinHeight());
    else if (tooLow)
        FForm->SetHeight(GetMinHeight());
    else if (tooNarrow)
        FForm->SetWidth(GetMinWidth());
    else if (FForm->HandleAllocated())
        UpDateForm();
    // A rolled-up or minimized form keeps only its frame.
    if ((FRolledUp || FWindowState == wsMinimized) && FForm->Height() != GetMinHeight())
        FForm->SetHeight(GetMinHeight());
    if (FWindowState == wsMinimized && FForm->Width() != GetMinWidth())
        FForm->SetWidth(GetMinWidth());
    LayoutWidth = FForm->Width();
    LayoutHeight = FForm->Height();
    if (FFormSkinned)
        CreateNewForm(true);
    else
        CalcAllRealObjectRect();
    FForm->Repaint();
    FormChangeActive(true);
    FMouseTimer->SetEnabled(true);
    if (OnChangeSkinData)
        OnChangeSkinData(this);
    SkinChanging = false;
    if (FRolledUp)
        return;
    if (ClientWidth > 0)
        FForm->SetClientWidth(ClientWidth);
    if (ClientHeight > 0)
        FForm->SetClientHeight(ClientHeight);
}

void TspSkinForm::ChangeSkinDataPicture()
{
    // A picture form keeps what it had until a skin arrives.
    if (!FFormSkinned)
        return;
    const bool scalable = CanScale();
    // A rolled-up form keeps its roll-up only when the new skin has a picture for it; otherwise it comes back.
    const bool keepRollUp = !FRolledUp || HasRollUpPicture();
    if (!keepRollUp) {
        FRolledUp = false;
        RestoreRollUpForm();
    }
    if (!FRolledUp)
        CheckSize();
    LoadObjects();
    CheckObjects();
    // The roll-up picture of the new skin: its size, the objects on it and its region.
    if (keepRollUp && FRolledUp)
        CreateRollUpForm();
    SkinChanging = true;
    if (OnChangeSkinData)
        OnChangeSkinData(this);
    const TSize picture = PictureSize(FSkinData);
    LayoutWidth = FForm->Width();
    LayoutHeight = FForm->Height();
    if (!FRolledUp && (scalable || (picture.cx == FForm->ClientWidth() && picture.cy == FForm->ClientHeight())))
        CreateNewForm(scalable);
    CalcAllRealObjectRect();
    LinkControlsToAreas();
    ControlsToAreas();
    FormChangeActive(true);
    SkinChanging = false;
    FMouseTimer->SetEnabled(true);
}

// ---- Size limits ------------------------------------------------------------------------------------------------

int TspSkinForm::GetDefCaptionHeight() const
{
    const TFormBorderStyle border = FForm->BorderStyle();
    return border == bsToolWindow || border == bsSizeToolWin ? 15 : 19;
}

TRect TspSkinForm::GetDefCaptionRect() const
{
    const int width = LayoutWidth ? LayoutWidth : FForm->Width();
    TRect rect = Rect(3, 3, width - 3, GetDefCaptionHeight());
    // The caption ends at the default caption buttons laid out along it.
    int x = rect.Right;
    for (auto& object : SkinObjects)
        if (auto* button = dynamic_cast<TspSkinStdButtonObject*>(object.get());
            button && button->Visible && button->Command != cmSysMenu && button->Command != cmDefault)
            x = std::min(x, button->ObjectRect.Left);
    rect.Right = x;
    return rect;
}

int TspSkinForm::GetMinWidth() const
{
    const int picture = PictureSize(FSkinData).cx;
    if (FSupportNCArea) {
        if (FFormSkinned) {
            if (picture < MinWidth && FWindowState != wsMinimized)
                return MinWidth;
            return FSkinData->FormMinWidth > 0 ? FSkinData->FormMinWidth : picture;
        }
        return MinWidth > 0 ? MinWidth : 130;
    }
    if (!SkinLoaded(FSkinData))
        return 0;
    return MinWidth == 0 ? picture : std::min(MinWidth, picture);
}

int TspSkinForm::GetMinHeight() const
{
    const int picture = PictureSize(FSkinData).cy;
    if (FSupportNCArea) {
        const int frame = FFormSkinned ? picture - RectHeight(FSkinData->ClientRect) : GetDefCaptionHeight() + 6;
        if (frame < MinHeight && !FRolledUp && FWindowState != wsMinimized)
            return MinHeight;
        return frame;
    }
    if (!SkinLoaded(FSkinData))
        return 0;
    return MinHeight == 0 ? picture : std::min(MinHeight, picture);
}

int TspSkinForm::GetMaxWidth() const
{
    TRect area {};
    GetMonitorWorkArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, !MaximizeOnFullScreen, area);
    const int width = RectWidth(area);
    return MaxWidth != 0 && MaxWidth < width ? MaxWidth : width;
}

int TspSkinForm::GetMaxHeight() const
{
    TRect area {};
    GetMonitorWorkArea(FForm->HandleAllocated() ? FForm->Handle() : nullptr, !MaximizeOnFullScreen, area);
    const int height = RectHeight(area);
    return MaxHeight != 0 && MaxHeight < height ? MaxHeight : height;
}

void TspSkinForm::CloseForm()
{
    // Closing may free the form, and with it this component and the object that asked: the close waits for
    // the messages already queued, so the object's handler returns first.
    if (FForm->HandleAllocated())
        PostMessage(FForm->Handle(), WM_CLOSE, 0, 0);
    else
        FForm->Close();
}

std::string TspSkinForm::CaptionText() const
{
    // An MDI main form names its maximized child, whose own caption is gone with its frame.
    if (FForm->FormStyle() == fsMDIForm && FMDIChildMaximized)
        if (TCustomForm* child = GetMaximizeMDIChild())
            return FForm->Caption() + " - [" + child->Caption() + "]";
    return FForm->Caption();
}

bool TspSkinForm::CaptionPaint(TCanvas* canvas, const TRect& rect, bool active)
{
    if (!OnCaptionPaint)
        return false;
    OnCaptionPaint(canvas, rect, active);
    return true;
}

void TspSkinForm::StartMorphTimer()
{
    FMorphTimer->SetEnabled(true);
}

void TspSkinForm::StartAnimationTimer()
{
    FAnimateTimer->SetEnabled(true);
}

// ---- Events by IDName -------------------------------------------------------------------------------------------

void TspSkinForm::MouseDownEvent(const std::string& idName, int x, int y, const TRect& r, TMouseButton button)
{
    if (OnMouseDownEvent)
        OnMouseDownEvent(idName, x, y, r, button);
}

void TspSkinForm::MouseUpEvent(const std::string& idName, int x, int y, const TRect& r, TMouseButton button)
{
    if (OnMouseUpEvent)
        OnMouseUpEvent(idName, x, y, r, button);
}

void TspSkinForm::MouseMoveEvent(const std::string& idName, int x, int y, const TRect& r)
{
    if (OnMouseMoveEvent)
        OnMouseMoveEvent(idName, x, y, r);
}

void TspSkinForm::MouseEnterEvent(const std::string& idName)
{
    if (OnMouseEnterEvent)
        OnMouseEnterEvent(idName);
}

void TspSkinForm::MouseLeaveEvent(const std::string& idName)
{
    if (OnMouseLeaveEvent)
        OnMouseLeaveEvent(idName);
}

void TspSkinForm::PaintEvent(const std::string& idName, TCanvas* canvas, const TRect& r)
{
    if (OnPaintEvent)
        OnPaintEvent(idName, canvas, r);
}

void TspSkinForm::SwitchChangeStateEvent(const std::string& idName, TSwitchState state)
{
    if (OnSwitchChangeStateEvent)
        OnSwitchChangeStateEvent(idName, state);
}

void TspSkinForm::TrackBarChangeValueEvent(const std::string& idName, int value)
{
    if (OnTrackBarChangeValueEvent)
        OnTrackBarChangeValueEvent(idName, value);
}

void TspSkinForm::FrameRegulatorChangeValueEvent(const std::string& idName, int value)
{
    if (OnFrameRegulatorChangeValueEvent)
        OnFrameRegulatorChangeValueEvent(idName, value);
}

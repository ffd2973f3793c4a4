#include "skin/controls/SkinMenuButtons.h"

#include "framework/controls/Menus.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

namespace {

constexpr TColor kHotFill = 0xD2BDB6; // RGB(182, 189, 210)
constexpr TColor kPressedFill = 0xB59385; // RGB(133, 147, 181)

} // namespace

// ---- TspSkinMenuButton --------------------------------------------------------------------------------------------

TspSkinMenuButton::TspSkinMenuButton(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("toolmenubutton");
    SpacePresses = false;
}

TspSkinMenuButton::~TspSkinMenuButton()
{
    ForgetImagesMenu();
}

void TspSkinMenuButton::Notification(TComponent* component, TOperation operation)
{
    TspImagesMenuLink* imagesMenu = SkinImagesMenu();
    inherited::Notification(component, operation);
    // A menu that goes while open never sends its close.
    if (imagesMenu && !SkinImagesMenu())
        FMenuOpen = false;
}

void TspSkinMenuButton::OpenMenu()
{
    FMenuOpen = true;
    if (!FDown)
        SetDown(true);
    TrackMenu();
}

void TspSkinMenuButton::OnImagesMenuClose()
{
    FMenuOpen = false;
    SetDown(false);
    FHot = false;
    ReDrawControl();
    if (OnHideTrackMenu)
        OnHideTrackMenu(this);
}

void TspSkinMenuButton::CloseSkinMenu()
{
    FMenuOpen = false;
    SetDown(false);
    if (OnHideTrackMenu)
        OnHideTrackMenu(this);
}

void TspSkinMenuButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FMenuOpen = CanMenuTrack(x, y);
        if (FMenuOpen) {
            // Only the menu: no OnMouseDown, no click, no repeat.
            FMousePressed = false;
            OpenMenu();
            return;
        }
    }
    inherited::MouseDown(button, shift, x, y);
}

void TspSkinMenuButton::WndProc(TMessage& message)
{
    if (CanFocused() && FPopupMenu) {
        if (message.Msg == WM_KEYDOWN && message.WParam == VK_SPACE && !FTrackButtonMode && HasMenu()) {
            OpenMenu();
            return;
        }
        if (message.Msg == WM_KEYUP && message.WParam == VK_SPACE && !FMenuOpen) {
            // The direct OnClick sets no modal result and runs no action.
            SetDown(false);
            if (OnClick)
                OnClick(this);
            return;
        }
        if (message.Msg == WM_KEYUP && message.WParam == VK_RETURN && !FMenuOpen && OnClick)
            OnClick(this);
    }
    switch (message.Msg) {
    case WM_CLOSESKINMENU:
        CloseSkinMenu();
        return;
    case CM_DIALOGCHAR:
        if (!FTrackButtonMode && HasMenu() && IsAccel(static_cast<uint32_t>(message.WParam), Caption()) && CanFocus()
            && CanFocused()) {
            SetFocus();
            OpenMenu();
            message.Result = 1;
            return;
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (Designing())
            return;
        if (FMenuOpen) {
            // Only the hot flag follows the pointer while the menu shows.
            FHot = message.Msg == CM_MOUSEENTER;
            return;
        }
        break;
    default:
        break;
    }
    inherited::WndProc(message);
}

// ---- Looks --------------------------------------------------------------------------------------------------------

void TspSkinMenuButton::DrawMenuMarker(TCanvas* canvas, const TRect& r, bool active, bool down)
{
    DrawMarkerPicture(canvas, r, down ? MenuMarkerDownRect : active ? MenuMarkerActiveRect : MenuMarkerRect);
}

TRect TspSkinMenuButton::MarkerRect() const
{
    TRect r = Rect(Width() - kStrip, 0, Width(), Height());
    if ((FDown && FHot) || FMenuOpen) {
        r.Top += 2;
        r.Left = Width() - 13;
    }
    return r;
}

void TspSkinMenuButton::DrawSkinContent(TCanvas* canvas, const TRect& r, bool down, bool mouseIn)
{
    // The caption and picture keep out of the marker strip.
    TRect content = r;
    content.Right = std::min(content.Right, Width() - kStrip);
    inherited::DrawSkinContent(canvas, content, down, mouseIn);
}

void TspSkinMenuButton::CreateButtonImage(TBitmap* bitmap, const TRect& r, bool down, bool mouseIn)
{
    const std::string& name = SkinDataName();
    if (name == "toolbutton" || name == "bigtoolbutton") {
        CreateToolButtonImage(bitmap, true);
        return;
    }
    if (name == "resizebutton" || name == "resizetoolbutton") {
        CreateToolButtonImage(bitmap, false);
        return;
    }
    if (!CreateOpenTrackImage(bitmap))
        inherited::CreateButtonImage(bitmap, r, down, mouseIn);
}

void TspSkinMenuButton::CreateToolButtonImage(TBitmap* bitmap, bool stretched)
{
    const TRect& normal = SkinRectangle;
    const TRect& hot = ActiveSkinRect;
    const TRect& pressed = DownSkinRect;
    bool pressedFlag = false;
    const TRect whole = Rect(0, 0, Width(), Height());
    if (FTrackButtonMode) {
        const TRect main = Rect(0, 0, Width() - kStrip, Height());
        const TRect track = Rect(Width() - kStrip, 0, Width(), Height());
        TRect mainPicture = normal;
        TRect trackPicture = normal;
        if (FMenuOpen) {
            mainPicture = hot;
            trackPicture = pressed;
        } else if (FDown && FHot) {
            mainPicture = trackPicture = pressed;
            pressedFlag = true;
        } else if (FHot) {
            mainPicture = trackPicture = hot;
        }
        DrawSkinPart(bitmap, main, mainPicture, stretched);
        DrawSkinPart(bitmap, track, trackPicture, stretched);
    } else {
        pressedFlag = FDown && FHot;
        DrawSkinPart(bitmap, whole, pressedFlag ? pressed : FHot ? hot : normal, stretched);
    }
    TCanvas* canvas = bitmap->Canvas();
    SetSkinFont(canvas, pressedFlag, pressedFlag || FHot);
    if (ShowFocus && IsFocused()) {
        const TRect focus = SkinResizeMode == 0 ? SkinClientRect : SizedClientRect;
        DrawSkinFocus(canvas, focus);
    }
    canvas->Brush()->SetStyle(bsClear);
    const TColor captionColor = canvas->Font()->Color();
    DrawContentInCell(canvas, Rect(0, 0, Width() - kStrip, Height()), pressedFlag, GetGlyphNum(FDown, FHot));
    const TRect marker = MarkerRect();
    if (IsNullRect(MenuMarkerRect))
        DrawTrackArrowImage(canvas, marker, FMenuOpen ? DownFontColor : captionColor);
    else
        DrawMenuMarker(canvas, marker, FHot, FMenuOpen || (FDown && FHot));
}

void TspSkinMenuButton::CreateControlDefaultImage(TBitmap* bitmap)
{
    TspSkinCustomControl::CreateControlDefaultImage(bitmap);
    TCanvas* canvas = bitmap->Canvas();
    bool pressedFlag = false;
    if (FTrackButtonMode) {
        const TRect main = Rect(0, 0, Width() - kStrip, Height());
        const TRect track = Rect(Width() - kStrip, 0, Width(), Height());
        if (FMenuOpen) {
            FillDefaultFrame(canvas, main, clNavy, kHotFill);
            FillDefaultFrame(canvas, track, clNavy, kPressedFill);
        } else if (FDown && FHot) {
            FillDefaultFrame(canvas, main, clNavy, kPressedFill);
            FillDefaultFrame(canvas, track, clNavy, kPressedFill);
            pressedFlag = true;
        } else if (FHot || IsFocused()) {
            FillDefaultFrame(canvas, main, clNavy, kHotFill);
            FillDefaultFrame(canvas, track, clNavy, kHotFill);
        } else {
            FillDefaultFrame(canvas, main, clBtnShadow, clBtnFace);
            FillDefaultFrame(canvas, track, clBtnShadow, clBtnFace);
        }
    } else {
        // The pressed flag stays clear: the caption does not move, only the arrow.
        const TRect whole = ClientRect();
        if (FDown && FHot)
            FillDefaultFrame(canvas, whole, clNavy, kPressedFill);
        else if (FHot || IsFocused())
            FillDefaultFrame(canvas, whole, clNavy, kHotFill);
        else
            FillDefaultFrame(canvas, whole, clBtnShadow, clBtnFace);
    }
    SetDefaultLookFont(canvas);
    canvas->Brush()->SetStyle(bsClear);
    DrawContentInCell(canvas, Rect(0, 0, Width() - kStrip, Height()), pressedFlag, GetGlyphNum(FDown, FHot));
    DrawTrackArrowImage(canvas, MarkerRect(), clBtnText);
}

// ---- TspSkinXFormButton -------------------------------------------------------------------------------------------

TspSkinXFormButton::TspSkinXFormButton(TComponent* owner)
    : inherited(owner)
    , FDefImage(std::make_unique<TBitmap>())
    , FDefActiveImage(std::make_unique<TBitmap>())
    , FDefDownImage(std::make_unique<TBitmap>())
    , FDefMask(std::make_unique<TBitmap>())
{
    SetCanFocused(false);
}

bool TspSkinXFormButton::OwnLook() const
{
    return SkinIndex == -1 && !FDefImage->Empty();
}

void TspSkinXFormButton::SetDefImage(TBitmap* value)
{
    FDefImage->Assign(value);
    if (!FDefImage->Empty()) {
        SetDefaultHeight(FDefImage->Height());
        SetDefaultWidth(FDefImage->Width());
    }
}

void TspSkinXFormButton::SetDefActiveImage(TBitmap* value)
{
    FDefActiveImage->Assign(value);
}

void TspSkinXFormButton::SetDefDownImage(TBitmap* value)
{
    FDefDownImage->Assign(value);
}

void TspSkinXFormButton::SetDefMask(TBitmap* value)
{
    FDefMask->Assign(value);
    if (!FDefImage->Empty())
        SetControlRegion();
}

void TspSkinXFormButton::SetBounds(int left, int top, int width, int height)
{
    inherited::SetBounds(left, top, width, height);
    if (OwnLook() && (Width() != FDefImage->Width() || Height() != FDefImage->Height()))
        inherited::SetBounds(Left(), Top(), FDefImage->Width(), FDefImage->Height());
}

void TspSkinXFormButton::ChangeSkinData()
{
    GetSkinData();
    if (!OwnLook()) {
        inherited::ChangeSkinData();
        return;
    }
    SetBounds(Left(), Top(), FDefImage->Width(), FDefImage->Height());
    SetControlRegion();
    Repaint();
}

void TspSkinXFormButton::SetControlRegion()
{
    if (!OwnLook()) {
        inherited::SetControlRegion();
        return;
    }
    // The window owns a region once given it: the button never deletes one it has handed over.
    HRGN region = nullptr;
    if (!FDefMask->Empty())
        CreateSkinSimplyRegion(region, FDefMask.get());
    if (region || ControlRegion)
        GiveRegion(region);
}

void TspSkinXFormButton::CreateWnd()
{
    inherited::CreateWnd();
    if (OwnLook() && !FDefMask->Empty())
        SetControlRegion();
}

void TspSkinXFormButton::Loaded()
{
    inherited::Loaded();
    if (OwnLook() && !FDefMask->Empty())
        SetControlRegion();
}

void TspSkinXFormButton::CreateControlDefaultImage(TBitmap* bitmap)
{
    if (OwnLook())
        DrawDefaultButton(bitmap->Canvas());
    else
        inherited::CreateControlDefaultImage(bitmap);
}

void TspSkinXFormButton::DrawDefaultButton(TCanvas* canvas)
{
    canvas->Font()->Assign(DefaultFont());
    const bool pressed = PressedLook();
    const bool hot = FHot || IsFocused();
    TBitmap* picture = FDefImage.get();
    if (pressed && !FDefDownImage->Empty())
        picture = FDefDownImage.get();
    else if (hot && !FDefActiveImage->Empty())
        picture = FDefActiveImage.get();
    canvas->Draw(0, 0, picture);
    if (pressed)
        canvas->Font()->SetColor(FDefDownFontColor);
    else if (hot)
        canvas->Font()->SetColor(FDefActiveFontColor);
    canvas->Brush()->SetStyle(bsClear);
    SkinCtrls::DrawGlyphAndText(canvas, ClientRect(), Margin(), Spacing(), Layout(), Caption(), Glyph(), NumGlyphs(),
        GetGlyphNum(FDown, FHot), pressed, false, 0);
}

// TspSkinMenuSpeedButton (declared with the menu buttons).
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/controls/SkinMenuButtons.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

namespace {

constexpr TColor kHotFill = 0xD2BDB6; // RGB(182, 189, 210)
constexpr TColor kPressedFill = 0xB59385; // RGB(133, 147, 181)

} // namespace

TspSkinMenuSpeedButton::TspSkinMenuSpeedButton(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("toolmenubutton");
}

TspSkinMenuSpeedButton::~TspSkinMenuSpeedButton()
{
    ForgetImagesMenu();
}

void TspSkinMenuSpeedButton::SetNewStyle(bool value)
{
    FNewStyle = value;
    if (value)
        SetSkinDataName("resizetoolbutton");
}

void TspSkinMenuSpeedButton::SetTrackPosition(TspTrackPosition value)
{
    FTrackPosition = value;
    Repaint();
}

const TspDataSkinButtonControl* TspSkinMenuSpeedButton::ButtonRecord(std::string_view name) const
{
    TspSkinData* skin = SkinData();
    if (!skin || skin->Empty)
        return nullptr;
    const int index = skin->GetControlIndex(name);
    if (index < 0)
        return nullptr;
    return dynamic_cast<const TspDataSkinButtonControl*>(skin->ControlRecords[size_t(index)].get());
}

// ---- Geometry -----------------------------------------------------------------------------------------------------

TRect TspSkinMenuSpeedButton::Strip() const
{
    if (FNewStyle && FTrackPosition == sptpBottom)
        return Rect(0, Height() - kStrip, Width(), Height());
    return Rect(Width() - kStrip, 0, Width(), Height());
}

TRect TspSkinMenuSpeedButton::ClientLessStrip() const
{
    TRect r = ClientRect();
    if (FNewStyle && FTrackPosition == sptpBottom)
        r.Bottom -= kStrip;
    else
        r.Right -= kStrip;
    return r;
}

// ---- Menus --------------------------------------------------------------------------------------------------------

void TspSkinMenuSpeedButton::OpenMenu()
{
    if (!FDown)
        SetDown(true);
    TrackMenu();
}

void TspSkinMenuSpeedButton::OnImagesMenuClose()
{
    FMenuOpen = false;
    SetDown(false);
    if (OnHideTrackMenu)
        OnHideTrackMenu(this);
    FHot = false;
    Repaint();
}

void TspSkinMenuSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FMenuOpen = CanMenuTrack(x, y);
        if (FMenuOpen) {
            OpenMenu();
            return;
        }
    }
    inherited::MouseDown(button, shift, x, y);
}

void TspSkinMenuSpeedButton::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_CLOSESKINMENU:
        FMenuOpen = false;
        SetDown(false);
        if (OnHideTrackMenu)
            OnHideTrackMenu(this);
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        if (Designing())
            return;
        if (FMenuOpen) {
            FHot = message.Msg == CM_MOUSEENTER;
            return;
        }
        break;
    default:
        break;
    }
    inherited::WndProc(message);
}

// ---- Painting -----------------------------------------------------------------------------------------------------

void TspSkinMenuSpeedButton::DrawMarkerOrArrow(
    TCanvas* canvas, const TRect& r, bool active, bool down, TColor arrowColor)
{
    if (SkinIndex != -1 && !IsNullRect(MenuMarkerRect))
        DrawMenuMarker(canvas, r, active, down, false);
    else
        DrawTrackArrowImage(canvas, r, arrowColor);
}

void TspSkinMenuSpeedButton::Paint()
{
    if (Width() <= 0 || Height() <= 0)
        return;
    GetSkinData();
    if (FHot || FDown || FMenuOpen || !Flat()) {
        // The root's pipeline with this class's looks: an open menu shows a background on a flat button too.
        TspSkinButtonCore<TspGraphicSkinCustomControl>::Paint();
        return;
    }
    TCanvas* canvas = Canvas();
    TFont* font = canvas->Font();
    TRect captionRect = ClientLessStrip();
    if (SkinIndex != -1 && !ToolLookName())
        captionRect = SkinResizeMode == 0 ? SkinClientRect : SizedClientRect;
    if (SkinIndex != -1 && UseSkinFont()) {
        font->SetName(FontName);
        font->SetStyle(FontStyle);
        font->SetHeight(FontHeight);
    } else {
        font->Assign(DefaultFont());
    }
    if (SkinIndex != -1) {
        const TspSkinColors* colors = SkinData()->Colors.get();
        font->SetColor(!Enabled()    ? colors->cBtnShadow
                : UseSkinFontColor() ? colors->cBtnText
                                     : DefaultFont()->Color());
    }
    if (!Enabled())
        font->SetColor(clBtnShadow);
    canvas->Brush()->SetStyle(bsClear);
    // The idle flat face draws the tool bar's disabled pictures ungreyed.
    FGreyDisabled = false;
    DrawContent(canvas, captionRect, false, false, false, GetGlyphNum(false, false));
    FGreyDisabled = true;
    TRect marker = Strip();
    if (SkinIndex != -1 && !ToolLookName())
        marker = Rect(captionRect.Right, 0, Width(), Height());
    if (SkinIndex != -1 && !IsNullRect(MenuMarkerFlatRect))
        DrawMenuMarker(canvas, marker, false, false, true);
    else
        DrawTrackArrowImage(canvas, marker, SkinIndex == -1 ? clBtnText : SkinData()->Colors->cBtnText);
}

void TspSkinMenuSpeedButton::CreateButtonImage(TBitmap* bitmap, const TRect& r, bool down, bool mouseIn)
{
    const std::string& name = SkinDataName();
    if (FNewStyle && name == "resizetoolbutton") {
        CreateNewStyleImage(bitmap, down, mouseIn);
        return;
    }
    if (name == "toolbutton" || name == "bigtoolbutton") {
        CreateToolButtonImage(bitmap, true, down, mouseIn);
        return;
    }
    if (name == "resizebutton" || name == "resizetoolbutton") {
        CreateToolButtonImage(bitmap, false, down, mouseIn);
        return;
    }
    if (!CreateOpenTrackImage(bitmap))
        inherited::CreateButtonImage(bitmap, r, down, mouseIn);
}

void TspSkinMenuSpeedButton::CreateToolButtonImage(TBitmap* bitmap, bool stretched, bool down, bool mouseIn)
{
    const bool pressed = down && mouseIn;
    const bool hot = mouseIn;
    const TRect normalPicture = SkinRectangle;
    if (FTrackButtonMode) {
        const TRect main = Rect(0, 0, Width() - kStrip, Height());
        const TRect track = Rect(Width() - kStrip, 0, Width(), Height());
        if (FMenuOpen) {
            DrawSkinPart(bitmap, main, ActiveSkinRect, stretched);
            DrawSkinPart(bitmap, track, DownSkinRect, stretched);
        } else if (pressed || hot || !Flat()) {
            const TRect picture = pressed ? DownSkinRect : hot ? ActiveSkinRect : normalPicture;
            DrawSkinPart(bitmap, main, picture, stretched);
            DrawSkinPart(bitmap, track, picture, stretched);
        }
    } else if (pressed || hot || !Flat()) {
        DrawSkinPart(bitmap, ClientRect(), pressed ? DownSkinRect : hot ? ActiveSkinRect : normalPicture, stretched);
    }
    TCanvas* canvas = bitmap->Canvas();
    SetSkinFont(canvas, pressed, hot);
    const TColor captionColor = canvas->Font()->Color();
    canvas->Brush()->SetStyle(bsClear);
    DrawContent(
        canvas, Rect(0, 0, Width() - kStrip, Height()), pressed, pressed, down || mouseIn, GetGlyphNum(down, mouseIn));
    TRect marker = Rect(Width() - kStrip, 0, Width(), Height());
    if (pressed || FMenuOpen) {
        marker.Top += 2;
        marker.Left = Width() - 13;
    }
    DrawMarkerOrArrow(canvas, marker, hot, pressed || FMenuOpen, FMenuOpen ? DownFontColor : captionColor);
}

void TspSkinMenuSpeedButton::DrawResizeButton(
    const TspDataSkinButtonControl* record, TCanvas* canvas, const TRect& r, bool active, bool down)
{
    TBitmap* picture = SkinPictureAt(SkinData(), record->PictureIndex);
    const int width = RectWidth(r);
    const int height = RectHeight(r);
    if (!picture || width <= 0 || height <= 0 || IsNullRect(record->SkinRect))
        return;
    TRect source = record->SkinRect;
    const TRect activeRect = IsNullRect(record->ActiveSkinRect) ? record->SkinRect : record->ActiveSkinRect;
    if (active && down)
        source = IsNullRect(record->DownSkinRect) ? activeRect : record->DownSkinRect;
    else if (active)
        source = activeRect;
    const int xo = width - RectWidth(record->SkinRect);
    const int yo = height - RectHeight(record->SkinRect);
    auto moved = [](TPoint p, int dx, int dy) { return TPoint { p.X + dx, p.Y + dy }; };
    TRect client = record->ClientRect;
    client.Right += xo;
    client.Bottom += yo;
    TBitmap image;
    image.SetSize(width, height);
    CreateSkinImage(record->LeftTopPoint, record->RightTopPoint, record->LeftBottomPoint, record->RightBottomPoint,
        record->ClientRect, record->LeftTopPoint, moved(record->RightTopPoint, xo, 0),
        moved(record->LeftBottomPoint, 0, yo), moved(record->RightBottomPoint, xo, yo), client, &image, picture, source,
        width, height, true, record->LeftStretch, record->TopStretch, record->RightStretch, record->BottomStretch,
        record->StretchEffect, record->StretchType);
    canvas->Draw(r.Left, r.Top, &image);
}

void TspSkinMenuSpeedButton::CreateNewStyleImage(TBitmap* bitmap, bool down, bool mouseIn)
{
    const TspDataSkinButtonControl* mainRecord = ButtonRecord("resizetoolbutton");
    if (!mainRecord)
        mainRecord = ButtonRecord("resizebutton");
    // Without either record nothing at all is drawn.
    if (!mainRecord)
        return;
    TCanvas* canvas = bitmap->Canvas();
    const bool split = FTrackButtonMode && mouseIn;
    TRect main = ClientRect();
    const TspDataSkinButtonControl* trackRecord = mainRecord;
    if (split) {
        main = ClientLessStrip();
        if (auto* own = ButtonRecord(FTrackPosition == sptpBottom ? "htracktoolbutton" : "vtracktoolbutton")) {
            trackRecord = own;
            main = ClientRect();
        }
    }
    const bool pressed = down && mouseIn && !(FTrackButtonMode && FMenuOpen);
    DrawResizeButton(mainRecord, canvas, main, mouseIn, pressed);
    if (split)
        DrawResizeButton(trackRecord, canvas, Strip(), mouseIn, FMenuOpen);

    SetSkinFont(canvas, pressed, mouseIn);
    const TColor captionColor = canvas->Font()->Color();
    canvas->Brush()->SetStyle(bsClear);
    DrawContent(canvas, ClientLessStrip(), pressed, pressed, down || mouseIn, GetGlyphNum(down, mouseIn));
    TRect marker = Strip();
    if (down && mouseIn && !(FTrackButtonMode && !FMenuOpen)) {
        marker.Left += 1;
        marker.Right += 1;
        marker.Top += 1;
        marker.Bottom += 1;
    }
    DrawMarkerOrArrow(
        canvas, marker, mouseIn, (down && mouseIn) || FMenuOpen, FMenuOpen ? DownFontColor : captionColor);
}

void TspSkinMenuSpeedButton::CreateControlDefaultImage(TBitmap* bitmap)
{
    if (FNewStyle) {
        CreateNewStyleDefaultImage(bitmap);
        return;
    }
    TspGraphicSkinCustomControl::CreateControlDefaultImage(bitmap);
    TCanvas* canvas = bitmap->Canvas();
    bool pressed = false;
    const TRect main = FTrackButtonMode ? Rect(0, 0, Width() - kStrip, Height()) : ClientRect();
    const TRect track = Rect(Width() - kStrip, 0, Width(), Height());
    auto fillBoth = [&](TColor frame, TColor fill) {
        FillDefaultFrame(canvas, main, frame, fill);
        if (FTrackButtonMode)
            FillDefaultFrame(canvas, track, frame, fill);
    };
    if (FTrackButtonMode && FMenuOpen) {
        FillDefaultFrame(canvas, main, clNavy, kHotFill);
        FillDefaultFrame(canvas, track, clNavy, kPressedFill);
    } else if (FDown && FHot) {
        fillBoth(clNavy, kPressedFill);
        pressed = true;
    } else if (FHot) {
        fillBoth(clNavy, kHotFill);
    } else {
        fillBoth(clBtnShadow, clBtnFace);
    }
    SetDefaultLookFont(canvas);
    canvas->Brush()->SetStyle(bsClear);
    DrawContent(
        canvas, Rect(0, 0, Width() - kStrip, Height()), pressed, pressed, FHot || FDown, GetGlyphNum(FDown, FHot));
    TRect arrow = track;
    if ((FDown && FHot) || FMenuOpen) {
        arrow.Left += 2;
        arrow.Right += 2;
        arrow.Top += 2;
        arrow.Bottom += 2;
    }
    DrawTrackArrowImage(canvas, arrow, clBtnText);
}

void TspSkinMenuSpeedButton::CreateNewStyleDefaultImage(TBitmap* bitmap)
{
    TspGraphicSkinCustomControl::CreateControlDefaultImage(bitmap);
    TCanvas* canvas = bitmap->Canvas();
    bool pressed = false;
    if (FTrackButtonMode && FHot) {
        const TRect main = ClientLessStrip();
        const TRect track = Strip();
        if (FMenuOpen) {
            FillDefaultFrame(canvas, main, clNavy, kHotFill);
            FillDefaultFrame(canvas, track, clNavy, kPressedFill);
        } else if (FDown) {
            FillDefaultFrame(canvas, main, clNavy, kPressedFill);
            FillDefaultFrame(canvas, track, clNavy, kHotFill);
            pressed = true;
        } else {
            FillDefaultFrame(canvas, main, clNavy, kHotFill);
            FillDefaultFrame(canvas, track, clNavy, kHotFill);
        }
    } else if (FDown && FHot) {
        FillDefaultFrame(canvas, ClientRect(), clNavy, kPressedFill);
        pressed = true;
    } else if (FHot) {
        FillDefaultFrame(canvas, ClientRect(), clNavy, kHotFill);
    } else if (!Flat()) {
        FillDefaultFrame(canvas, ClientRect(), clBtnShadow, clBtnFace);
    }
    SetDefaultLookFont(canvas);
    canvas->Brush()->SetStyle(bsClear);
    DrawContent(canvas, ClientLessStrip(), pressed, pressed, FHot || FDown, GetGlyphNum(FDown, FHot));
    TRect arrow = Strip();
    const bool moved = FTrackButtonMode ? FMenuOpen : (FHot && FDown);
    if (moved) {
        arrow.Left += 2;
        arrow.Right += 2;
        arrow.Top += 2;
        arrow.Bottom += 2;
    }
    DrawTrackArrowImage(canvas, arrow, clBtnText);
}

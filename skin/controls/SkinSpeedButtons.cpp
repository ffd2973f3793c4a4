#include "skin/controls/SkinSpeedButtons.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Menus.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

TspSkinSpeedButton::TspSkinSpeedButton(TComponent* owner)
    : inherited(owner)
{
    // No click of the framework's own: clicks come from ButtonClick.
    SetControlStyle(TControlStyle { csCaptureMouse, csOpaque, csDoubleClicks });
    SetBounds(Left(), Top(), 25, 25);
    SetSkinDataName("toolbutton");
    inherited::SetImageIndex(0);
}

void TspSkinSpeedButton::SetFlat(bool value)
{
    FFlat = value;
    TControlStyle style = ControlStyle();
    if (FFlat)
        style.Exclude(csOpaque);
    else
        style.Include(csOpaque);
    SetControlStyle(style);
    Repaint();
}

void TspSkinSpeedButton::SetShowCaption(bool value)
{
    if (value == FShowCaption)
        return;
    FShowCaption = value;
    if (FWidthWithCaption > 0 && FWidthWithoutCaption > 0)
        SetWidth(FShowCaption ? FWidthWithCaption : FWidthWithoutCaption);
    else
        Repaint();
}

void TspSkinSpeedButton::SetImageIndex(int value)
{
    // Stored without comparing, so that setting the same index repaints a tool bar's button.
    inherited::SetImageIndex(value);
    if (ToolBar() || ImageList())
        Repaint();
}

TspToolBarImages* TspSkinSpeedButton::ToolBar() const
{
    return dynamic_cast<TspToolBarImages*>(Parent());
}

bool TspSkinSpeedButton::EnableMorphing() const
{
    return !FFlat && inherited::EnableMorphing();
}

void TspSkinSpeedButton::ButtonClick()
{
    if (OnClick)
        OnClick(this);
}

bool TspSkinSpeedButton::IsGroupPeer(TControl* control) const
{
    return dynamic_cast<TspSkinSpeedButton*>(control) != nullptr;
}

bool TspSkinSpeedButton::HoverRedraws() const
{
    return Enabled() && (GroupIndex() == 0 || !FDown);
}

void TspSkinSpeedButton::GetSkinData()
{
    inherited::GetSkinData();
    if (SkinIndex == -1) {
        ActiveSkinRect = NullRect();
        return;
    }
    if (IsNullRect(MenuMarkerFlatRect))
        MenuMarkerFlatRect = MenuMarkerRect;
}

// ---- Painting -----------------------------------------------------------------------------------------------------

void TspSkinSpeedButton::Paint()
{
    if (Width() <= 0 || Height() <= 0)
        return;
    GetSkinData();
    const bool background = SkinIndex == -1 ? (PressedLook() || FHot || !FFlat)
                                            : (!FFlat || FHot || (FDown && GroupIndex() != 0));
    if (background)
        inherited::Paint();
    else
        PaintFlatContent();
}

void TspSkinSpeedButton::PaintFlatContent()
{
    TCanvas* canvas = Canvas();
    TFont* font = canvas->Font();
    TRect r = ClientRect();
    if (SkinIndex == -1) {
        SetDefaultLookFont(canvas);
    } else {
        if (UseSkinFont()) {
            font->SetName(FontName);
            font->SetHeight(FontHeight);
            font->SetStyle(FontStyle);
        } else {
            font->Assign(DefaultFont());
        }
        const TspSkinColors* colors = SkinData()->Colors.get();
        if (!Enabled())
            font->SetColor(colors->cBtnShadow);
        else if (UseSkinFontColor())
            font->SetColor(colors->cBtnText);
        else
            font->SetColor(DefaultFont()->Color());
        r = SkinResizeMode == 0 ? SkinClientRect : SizedClientRect;
    }
    canvas->Brush()->SetStyle(bsClear);
    DrawContent(canvas, r, false, false, false, GetGlyphNum(false, false));
}

void TspSkinSpeedButton::DrawContent(
    TCanvas* canvas, const TRect& r, bool imageOffset, bool glyphOffset, bool hotImages, int glyphNumber)
{
    int imageIndex = -1;
    std::string caption;
    if (ImagesMenuContent(imageIndex, caption)) {
        SkinCtrls::DrawImageAndText(canvas, r, Margin(), Spacing(), Layout(), caption, imageIndex,
            SkinImagesMenu()->Images(), imageOffset, Enabled(), ColorMarker, ColorMarkerValue);
        return;
    }
    if (Glyph()->Empty()) {
        if (TspToolBarImages* bar = ToolBar()) {
            TCustomImageList* list = bar->Images();
            bool enabled = Enabled();
            if (!Enabled() && bar->DisabledImages()) {
                list = bar->DisabledImages();
                enabled = !GreyDisabledImages();
            } else if (hotImages && bar->HotImages()) {
                list = bar->HotImages();
            }
            SkinCtrls::DrawImageAndText(canvas, r, Margin(), Spacing(), Layout(), ShownCaption(), ImageIndex(), list,
                imageOffset, enabled, ColorMarker, ColorMarkerValue);
            return;
        }
        if (ImageList()) {
            // No range check: an index outside the list lays out the caption alone.
            SkinCtrls::DrawImageAndText(canvas, r, Margin(), Spacing(), Layout(), ShownCaption(), ImageIndex(),
                ImageList(), imageOffset, Enabled(), ColorMarker, ColorMarkerValue);
            return;
        }
    }
    SkinCtrls::DrawGlyphAndText(canvas, r, Margin(), Spacing(), Layout(), ShownCaption(), Glyph(), NumGlyphs(),
        glyphNumber, glyphOffset, ColorMarker, ColorMarkerValue);
}

void TspSkinSpeedButton::DrawSkinContent(TCanvas* canvas, const TRect& r, bool down, bool mouseIn)
{
    const bool pressed = down && mouseIn;
    DrawContent(canvas, r, pressed, pressed, down || mouseIn, GetGlyphNum(down, mouseIn));
}

void TspSkinSpeedButton::CreateControlDefaultImage(TBitmap* bitmap)
{
    // The root's fill and the frame of the state; the content differs from the push button's.
    TspGraphicSkinCustomControl::CreateControlDefaultImage(bitmap);
    TCanvas* canvas = bitmap->Canvas();
    const TRect r = ClientRect();
    const bool pressed = PressedLook();
    if (pressed)
        FillDefaultFrame(canvas, r, clNavy, TColor(0xB59385));
    else if (FHot)
        FillDefaultFrame(canvas, r, clNavy, TColor(0xD2BDB6));
    else
        FillDefaultFrame(canvas, r, clBtnShadow, clBtnFace);
    int imageIndex = -1;
    std::string caption;
    // The images menu's picture keeps the font's colour even when disabled.
    SetDefaultLookFont(canvas, ImagesMenuContent(imageIndex, caption));
    canvas->Brush()->SetStyle(bsClear);
    DrawContent(canvas, r, FDown && FHot, pressed, FHot || FDown, GetGlyphNum(FDown, FHot));
}

void TspSkinSpeedButton::DrawMenuMarker(TCanvas* canvas, const TRect& r, bool active, bool down, bool flat)
{
    const TRect source = down ? MenuMarkerDownRect
        : active              ? MenuMarkerActiveRect
        : flat                ? MenuMarkerFlatRect
                              : MenuMarkerRect;
    DrawMarkerPicture(canvas, r, source);
}

void TspSkinSpeedButton::WndProc(TMessage& message)
{
    if (message.Msg == CM_DIALOGCHAR) {
        TWinControl* parent = Parent();
        if (IsAccel(static_cast<uint32_t>(message.WParam), Caption()) && Enabled() && Visible() && parent
            && parent->Showing()) {
            ButtonClick();
            message.Result = 1;
            return;
        }
    }
    inherited::WndProc(message);
}

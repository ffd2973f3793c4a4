#include "skin/controls/SkinButtonCore.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/TWinControl.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImageCache.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"

#include <type_traits>

using namespace SPUtils;

namespace {

// The default look's fills: hot, and pressed.
constexpr TColor kHotFill = 0xD2BDB6;     // RGB(182, 189, 210)
constexpr TColor kPressedFill = 0xB59385; // RGB(133, 147, 181)

} // namespace

template <class Root>
TspSkinButtonCore<Root>::TspSkinButtonCore(TComponent* owner)
    : Root(owner)
    , FGlyph(std::make_unique<TBitmap>())
{
}

template <class Root> TspSkinButtonCore<Root>::~TspSkinButtonCore()
{
    if (FImagesMenu)
        FImagesMenu->SetChangeReceiver(nullptr);
    StopMorph();
    StopRepeat();
    StopAnimate();
}

// ---- Properties ---------------------------------------------------------------------------------------------------

template <class Root> void TspSkinButtonCore<Root>::SetGlyph(TBitmap* value)
{
    FGlyph->Assign(value);
    this->Repaint();
}

template <class Root> void TspSkinButtonCore<Root>::SetNumGlyphs(int value)
{
    FNumGlyphs = value < 1 ? 1 : value > 4 ? 4 : value;
    this->Repaint();
}

template <class Root> void TspSkinButtonCore<Root>::SetMargin(int value)
{
    if (value == FMargin || value < -1)
        return;
    FMargin = value;
    this->Repaint();
}

template <class Root> void TspSkinButtonCore<Root>::SetSpacing(int value)
{
    if (value == FSpacing)
        return;
    FSpacing = value;
    this->Repaint();
}

template <class Root> void TspSkinButtonCore<Root>::SetLayout(TspButtonLayout value)
{
    if (value == FLayout)
        return;
    FLayout = value;
    this->Repaint();
}

template <class Root> void TspSkinButtonCore<Root>::SetImageList(TCustomImageList* value)
{
    if (FImageList == value)
        return;
    if (FImageList)
        FImageList->RemoveFreeNotification(this);
    FImageList = value;
    if (FImageList)
        FImageList->FreeNotification(this);
    this->Repaint();
}

template <class Root> void TspSkinButtonCore<Root>::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    this->Repaint();
}

template <class Root> void TspSkinButtonCore<Root>::SetSkinImagesMenu(TspImagesMenuLink* value)
{
    if (FImagesMenu && FImagesMenu != value) {
        FImagesMenu->SetChangeReceiver(nullptr);
        if (FImagesMenuComponent)
            FImagesMenuComponent->RemoveFreeNotification(this);
    }
    FImagesMenu = value;
    // Kept apart: while the menu is destroyed its link part is gone before its deletion is heard.
    FImagesMenuComponent = dynamic_cast<TComponent*>(value);
    if (FImagesMenu) {
        if (FImagesMenuComponent)
            FImagesMenuComponent->FreeNotification(this);
        FImagesMenu->SetChangeReceiver([this] { ImagesMenuChanged(); });
    }
    this->Repaint();
}

template <class Root> void TspSkinButtonCore<Root>::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    if (component == FImageList)
        FImageList = nullptr;
    if (FImagesMenuComponent && FImagesMenuComponent == component) {
        FImagesMenu = nullptr;
        FImagesMenuComponent = nullptr;
    }
}

// ---- The record ---------------------------------------------------------------------------------------------------

template <class Root> void TspSkinButtonCore<Root>::CopyRecord(const TspDataSkinButtonControl* record)
{
    FontName = record->FontName;
    FontHeight = record->FontHeight;
    FontStyle = record->FontStyle;
    FontColor = record->FontColor;
    ActiveFontColor = record->ActiveFontColor;
    DownFontColor = record->DownFontColor;
    DisabledFontColor = record->DisabledFontColor;
    ActiveSkinRect = IsNullRect(record->ActiveSkinRect) ? this->SkinRectangle : record->ActiveSkinRect;
    DownSkinRect = IsNullRect(record->DownSkinRect) ? ActiveSkinRect : record->DownSkinRect;
    DisabledSkinRect = record->DisabledSkinRect;
    Morphing = record->Morphing;
    MorphKind = record->MorphKind;
    AnimateSkinRect = record->AnimateSkinRect;
    FrameCount = record->FrameCount;
    AnimateInterval = record->AnimateInterval;
    ShowFocus = record->ShowFocus;
    MenuMarkerRect = record->MenuMarkerRect;
    MenuMarkerActiveRect = IsNullRect(record->MenuMarkerActiveRect) ? MenuMarkerRect : record->MenuMarkerActiveRect;
    MenuMarkerDownRect = IsNullRect(record->MenuMarkerDownRect) ? MenuMarkerActiveRect : record->MenuMarkerDownRect;
    MenuMarkerFlatRect = record->MenuMarkerFlatRect;
    MenuMarkerTransparentColor = record->MenuMarkerTransparentColor;
    // A freely sized button gets no shaped window.
    if (!FUseSkinSize && record->MaskPictureIndex != -1)
        this->SkinMask = nullptr;
}

template <class Root> void TspSkinButtonCore<Root>::GetSkinData()
{
    inherited::GetSkinData();
    if (this->SkinIndex == -1) {
        Morphing = false;
        AnimateSkinRect = NullRect();
        return;
    }
    TspSkinData* skin = this->SkinData();
    // A record of another class keeps the values read before (none at first).
    if (auto* record = dynamic_cast<TspDataSkinButtonControl*>(skin->ControlRecords[size_t(this->SkinIndex)].get()))
        CopyRecord(record);
    // While an animation plays, its frame stands in for the hot picture (entering) or the normal one (leaving).
    if (FAnimateTimer && FAnimateFrame > 0 && FAnimateFrame <= FrameCount) {
        if (FAnimateForward)
            ActiveSkinRect = GetAnimationFrameRect(FAnimateFrame);
        else
            this->SkinRectangle = GetAnimationFrameRect(FAnimateFrame);
    }
}

template <class Root> void TspSkinButtonCore<Root>::ChangeSkinData()
{
    StopAnimate();
    StopMorph();
    inherited::ChangeSkinData();
    if (EnableMorphing() && this->SkinIndex != -1 && MorphTarget())
        FMorphKf = 1;
}

template <class Root> void TspSkinButtonCore<Root>::CalcSize(int& width, int& height)
{
    if (FUseSkinSize || this->SkinResizeMode == 1)
        inherited::CalcSize(width, height);
}

template <class Root> bool TspSkinButtonCore<Root>::EnableMorphing() const
{
    TspSkinData* skin = this->SkinData();
    return Morphing && skin && !skin->Empty && skin->EnableSkinEffects();
}

template <class Root> bool TspSkinButtonCore<Root>::EnableAnimation() const
{
    TspSkinData* skin = this->SkinData();
    return skin && !skin->Empty && skin->EnableSkinEffects();
}

// ---- Choosing the picture -------------------------------------------------------------------------------------

template <class Root> bool TspSkinButtonCore<Root>::PressedLook() const
{
    return FDown && (FHot || (FocusedLook() && !FMousePressed) || FGroupIndex != 0);
}

template <class Root> void TspSkinButtonCore<Root>::ChooseStatePicture(TRect& r, bool& down, bool& mouseIn) const
{
    down = false;
    mouseIn = true;
    if (!this->Enabled() && !IsNullRect(DisabledSkinRect)) {
        r = DisabledSkinRect;
        mouseIn = false;
    } else if (PressedLook()) {
        r = DownSkinRect;
        down = true;
    } else if (FocusedLook() || FHot || (EnableMorphing() && FMorphKf == 1)) {
        r = ActiveSkinRect;
    } else {
        r = this->SkinRectangle;
        mouseIn = false;
    }
}

template <class Root> bool TspSkinButtonCore<Root>::MorphInProgress() const
{
    return EnableMorphing() && FMorphKf != 0 && FMorphKf != 1 && this->Enabled();
}

template <class Root> void TspSkinButtonCore<Root>::CreateControlSkinImage(TBitmap* bitmap)
{
    if (!MorphInProgress()) {
        TRect r;
        bool down = false;
        bool mouseIn = false;
        ChooseStatePicture(r, down, mouseIn);
        CreateButtonImage(bitmap, r, down, mouseIn);
        return;
    }
    TBitmap normal;
    TBitmap hot;
    normal.SetSize(bitmap->Width(), bitmap->Height());
    hot.SetSize(bitmap->Width(), bitmap->Height());
    CreateButtonImage(&normal, this->SkinRectangle, false, false);
    CreateButtonImage(&hot, ActiveSkinRect, false, true);
    TspEffectBmp blend(normal.Handle());
    const TspEffectBmp target(hot.Handle());
    MorphByKind(blend, target, MorphKind, FMorphKf);
    bitmap->SetSize(blend.PixelWidth, blend.PixelHeight);
    blend.Draw(bitmap->Canvas()->Handle(), 0, 0);
}

// ---- One state image ------------------------------------------------------------------------------------------

template <class Root> TRect TspSkinButtonCore<Root>::CreateStrechButtonImage(TBitmap* bitmap, const TRect& r)
{
    TBitmap* picture = this->SkinPicture;
    if (picture && !IsNullRect(this->SkinRectangle) && !IsNullRect(r)) {
        if (this->SkinResizeMode == 0)
            bitmap->Canvas()->CopyRect(Rect(0, 0, bitmap->Width(), bitmap->Height()), picture->Canvas(), r);
        else
            CreateStretchImage(bitmap, picture, r, this->SkinClientRect, true);
    }
    TRect content = this->SkinClientRect;
    content.Right += bitmap->Width() - RectWidth(r);
    content.Bottom += bitmap->Height() - RectHeight(r);
    return content;
}

template <class Root> void TspSkinButtonCore<Root>::SetSkinFont(TCanvas* canvas, bool down, bool mouseIn) const
{
    TFont* font = canvas->Font();
    if (this->UseSkinFont()) {
        font->SetName(FontName);
        font->SetHeight(FontHeight);
        font->SetStyle(FontStyle);
    } else {
        font->Assign(this->DefaultFont());
    }
    if (this->Enabled() && !FUseSkinFontColor)
        font->SetColor(this->DefaultFont()->Color());
    else if (!this->Enabled())
        font->SetColor(DisabledFontColor);
    else if (down && mouseIn)
        font->SetColor(DownFontColor);
    else if (mouseIn)
        font->SetColor(ActiveFontColor);
    else
        font->SetColor(FontColor);
}

template <class Root> void TspSkinButtonCore<Root>::SetDefaultLookFont(TCanvas* canvas, bool keepColor) const
{
    canvas->Font()->Assign(this->DefaultFont());
    if (!this->Enabled() && !keepColor)
        canvas->Font()->SetColor(clBtnShadow);
}

template <class Root>
void TspSkinButtonCore<Root>::CreateButtonImage(TBitmap* bitmap, const TRect& r, bool down, bool mouseIn)
{
    TRect content;
    if (!FUseSkinSize && this->SkinResizeMode != 1) {
        content = CreateStrechButtonImage(bitmap, r);
    } else {
        this->CreateSkinControlImage(bitmap, this->SkinPicture, r);
        content = this->SkinResizeMode == 0 ? this->SkinClientRect : this->SizedClientRect;
    }
    DrawButtonContent(bitmap->Canvas(), content, down, mouseIn);
}

template <class Root>
void TspSkinButtonCore<Root>::DrawButtonContent(TCanvas* canvas, const TRect& content, bool down, bool mouseIn)
{
    SetSkinFont(canvas, down, mouseIn);
    DrawSkinFocus(canvas, content);
    canvas->Brush()->SetStyle(bsClear);
    DrawSkinContent(canvas, content, down, mouseIn);
}

template <class Root> bool TspSkinButtonCore<Root>::PaintSkinStraight(TCanvas* canvas)
{
    if (!PaintsFaceStraight() || MorphInProgress() || (!FUseSkinSize && this->SkinResizeMode != 1))
        return false;
    TRect r;
    bool down = false;
    bool mouseIn = false;
    ChooseStatePicture(r, down, mouseIn);
    TBitmap* face = this->KeptSkinControlImage(this->SkinPicture, r);
    // A face of another size than the control's (a fixed skin size) leaves the rest of the control to the
    // image's rules.
    if (!face || face->Width() != this->Width() || face->Height() != this->Height())
        return false;
    const TRect content = this->SkinResizeMode == 0 ? this->SkinClientRect : this->SizedClientRect;
    if (CaptionOnly()) {
        // The whole image of the state is kept: one copy.
        canvas->Draw(0, 0, CaptionStateImage(face, r, content, down, mouseIn));
        return true;
    }
    // One copy of the face and the content over it, with the tools of a new canvas as the image would have.
    canvas->Draw(0, 0, face);
    ResetCanvasTools(canvas);
    DrawButtonContent(canvas, content, down, mouseIn);
    return true;
}

template <class Root> bool TspSkinButtonCore<Root>::CaptionOnly() const
{
    int imageIndex = -1;
    std::string caption;
    return !ImagesMenuContent(imageIndex, caption) && !(FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count())
        && FGlyph->Empty();
}

template <class Root>
TBitmap* TspSkinButtonCore<Root>::CaptionStateImage(
    TBitmap* face, const TRect& r, const TRect& content, bool down, bool mouseIn)
{
    // Everything DrawButtonContent reads for a caption alone: the font SetSkinFont gives a new canvas, the focus
    // rectangle, the layout and the caption.
    TCanvas fontProbe;
    SetSkinFont(&fontProbe, down, mouseIn);
    const TFont* font = fontProbe.Font();
    TspSkinImageKey key
        = this->SkinControlImageKey(this->SkinPicture, r, this->Width(), this->Height(), TspSkinImageKind::ButtonState);
    key.Add(content).Add(down).Add(mouseIn).Add(this->Enabled()).Add(SkinFocusShown());
    key.Add(int(this->SkinData()->Colors->cBtnFace)).Add(FMargin).Add(FSpacing).Add(int(FLayout));
    key.AddText(font->Name()).Add(font->Height()).Add(int(font->Color())).Add(int(font->Charset()));
    key.Add(int(font->Pitch())).Add(font->Orientation());
    for (TFontStyle style : { fsBold, fsItalic, fsUnderline, fsStrikeOut })
        key.Add(font->Style().Contains(style));
    key.AddText(ShownCaption());
    return this->SkinData()->ImageCache()->Image(key, [&](TBitmap* image) {
        CopyCachedImage(image, face);
        DrawButtonContent(image->Canvas(), content, down, mouseIn);
    });
}

template <class Root> bool TspSkinButtonCore<Root>::ImagesMenuContent(int& imageIndex, std::string& caption) const
{
    if (!FImagesMenu || !FUseImagesMenuImage)
        return false;
    std::string itemCaption;
    if (!FImagesMenu->GetSelectedItem(imageIndex, itemCaption))
        return false;
    caption = FUseImagesMenuCaption ? itemCaption : ShownCaption();
    return true;
}

template <class Root>
void TspSkinButtonCore<Root>::DrawSkinContent(TCanvas* canvas, const TRect& r, bool down, bool mouseIn)
{
    DrawContentInCell(canvas, r, down && mouseIn, GetGlyphNum(down, mouseIn));
}

template <class Root>
void TspSkinButtonCore<Root>::DrawContentInCell(TCanvas* canvas, const TRect& r, bool pressed, int glyphNum)
{
    int imageIndex = -1;
    std::string caption;
    if (ImagesMenuContent(imageIndex, caption))
        SkinCtrls::DrawImageAndText(canvas, r, FMargin, FSpacing, FLayout, caption, imageIndex,
            FImagesMenu->Images(), pressed, this->Enabled(), false, 0);
    else if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count())
        SkinCtrls::DrawImageAndText(canvas, r, FMargin, FSpacing, FLayout, ShownCaption(), FImageIndex, FImageList,
            pressed, this->Enabled(), false, 0);
    else
        SkinCtrls::DrawGlyphAndText(canvas, r, FMargin, FSpacing, FLayout, ShownCaption(), FGlyph.get(), FNumGlyphs,
            glyphNum, pressed, false, 0);
}

template <class Root> int TspSkinButtonCore<Root>::GetGlyphNum(bool down, bool mouseIn) const
{
    if (down && mouseIn && FNumGlyphs >= 3)
        return 3;
    if (mouseIn && FNumGlyphs == 4)
        return 4;
    if (this->Enabled() || FNumGlyphs == 1)
        return 1;
    return 2;
}

// ---- The default look -----------------------------------------------------------------------------------------

template <class Root>
void TspSkinButtonCore<Root>::FillDefaultFrame(TCanvas* canvas, const TRect& r, TColor frame, TColor fill)
{
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(frame);
    canvas->FrameRect(r);
    canvas->Brush()->SetColor(fill);
    canvas->FillRect(Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1));
}

template <class Root> void TspSkinButtonCore<Root>::CreateControlDefaultImage(TBitmap* bitmap)
{
    inherited::CreateControlDefaultImage(bitmap);
    TCanvas* canvas = bitmap->Canvas();
    const TRect r = this->ClientRect();
    const bool pressed = PressedLook();
    if (pressed)
        FillDefaultFrame(canvas, r, clNavy, kPressedFill);
    else if (FHot || FocusedLook())
        FillDefaultFrame(canvas, r, clNavy, kHotFill);
    else
        FillDefaultFrame(canvas, r, clBtnShadow, clBtnFace);
    SetDefaultLookFont(canvas);
    canvas->Brush()->SetStyle(bsClear);
    int imageIndex = -1;
    std::string caption;
    if (ImagesMenuContent(imageIndex, caption))
        SkinCtrls::DrawImageAndText(canvas, r, FMargin, FSpacing, FLayout, caption, imageIndex,
            FImagesMenu->Images(), pressed, this->Enabled(), false, 0);
    else if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count())
        SkinCtrls::DrawImageAndText(canvas, r, FMargin, FSpacing, FLayout, ShownCaption(), FImageIndex, FImageList,
            FDown && FHot, this->Enabled(), false, 0);
    else
        SkinCtrls::DrawGlyphAndText(canvas, r, FMargin, FSpacing, FLayout, ShownCaption(), FGlyph.get(), FNumGlyphs,
            GetGlyphNum(FDown, FHot), pressed, false, 0);
}

template <class Root>
void TspSkinButtonCore<Root>::DrawMarkerPicture(TCanvas* canvas, const TRect& r, const TRect& source) const
{
    if (!this->SkinPicture || IsNullRect(source))
        return;
    TBitmap marker;
    marker.SetSize(RectWidth(source), RectHeight(source));
    marker.Canvas()->CopyRect(Rect(0, 0, marker.Width(), marker.Height()), this->SkinPicture->Canvas(), source);
    marker.SetTransparentMode(tmFixed);
    marker.SetTransparentColor(MenuMarkerTransparentColor);
    marker.SetTransparent(true);
    canvas->Draw(r.Left + RectWidth(r) / 2 - marker.Width() / 2, r.Top + RectHeight(r) / 2 - marker.Height() / 2,
        &marker);
}

template <class Root>
void TspSkinButtonCore<Root>::DrawSkinPart(TBitmap* bitmap, const TRect& part, const TRect& picture, bool stretched) const
{
    const int width = RectWidth(part);
    const int height = RectHeight(part);
    if (!this->SkinPicture || width <= 0 || height <= 0 || IsNullRect(picture))
        return;
    TBitmap image;
    image.SetSize(width, height);
    if (stretched) {
        CreateStretchImage(&image, this->SkinPicture, picture, this->SkinClientRect, true);
    } else {
        const int xo = width - RectWidth(this->SkinRectangle);
        const int yo = height - RectHeight(this->SkinRectangle);
        auto moved = [](TPoint p, int dx, int dy) { return TPoint { p.X + dx, p.Y + dy }; };
        TRect client = this->SkinClientRect;
        client.Right += xo;
        client.Bottom += yo;
        CreateSkinImage(this->LeftTopPoint, this->RightTopPoint, this->LeftBottomPoint, this->RightBottomPoint,
            this->SkinClientRect, this->LeftTopPoint, moved(this->RightTopPoint, xo, 0),
            moved(this->LeftBottomPoint, 0, yo), moved(this->RightBottomPoint, xo, yo), client, &image,
            this->SkinPicture, picture, width, height, true, this->LeftStretch, this->TopStretch, this->RightStretch,
            this->BottomStretch, this->ClientStretchEffect, this->ClientStretchType);
    }
    bitmap->Canvas()->Draw(part.Left, part.Top, &image);
}

// ---- Down and groups ------------------------------------------------------------------------------------------

template <class Root> void TspSkinButtonCore<Root>::SetDown(bool value)
{
    FDown = value;
    if (EnableMorphing()) {
        if (FDown) {
            // The pressed picture shows at once.
            FMorphKf = 1;
            StopMorph();
        } else {
            StartMorph();
        }
    }
    this->Repaint();
    if (FGroupIndex != 0 && FDown && !FAllowAllUp)
        DoAllUp();
}

template <class Root> void TspSkinButtonCore<Root>::DoAllUp()
{
    TWinControl* parent = this->Parent();
    if (!parent)
        return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* control = parent->Controls(i);
        if (control == this || !IsGroupPeer(control))
            continue;
        auto* peer = static_cast<TspSkinButtonCore*>(control);
        if (peer->FGroupIndex == FGroupIndex && peer->FDown)
            peer->SetDown(false);
    }
}

template <class Root> void TspSkinButtonCore<Root>::RefreshButton()
{
    FHot = false;
    FDown = false;
    if (EnableMorphing())
        FMorphKf = 0;
    StopAnimate();
    this->Repaint();
}

// ---- Morph ----------------------------------------------------------------------------------------------------

template <class Root> void TspSkinButtonCore<Root>::ReDrawControl()
{
    if (EnableMorphing() && this->SkinIndex != -1)
        StartMorph();
    else
        this->Repaint();
}

template <class Root> void TspSkinButtonCore<Root>::StartMorph()
{
    if (FMorphTimer)
        return;
    FMorphTimer = std::make_unique<TTimer>(nullptr);
    FMorphTimer->SetInterval(20);
    FMorphTimer->SetOnTimer([this](TObject*) { DoMorph(); });
}

template <class Root> void TspSkinButtonCore<Root>::StopMorph()
{
    FMorphTimer.reset();
}

template <class Root> void TspSkinButtonCore<Root>::DoMorph()
{
    const bool target = MorphTarget();
    if (this->SkinIndex == -1 || !EnableMorphing()) {
        FMorphKf = target ? 1 : 0;
        StopMorph();
        return;
    }
    if (target && FMorphKf < 1) {
        FMorphKf = NextMorphFactor(FMorphKf, true);
    } else if (!target && FMorphKf > 0) {
        FMorphKf = NextMorphFactor(FMorphKf, false);
    } else {
        FMorphKf = target ? 1 : 0;
        StopMorph();
    }
    this->Repaint();
}

// ---- Animation ------------------------------------------------------------------------------------------------

template <class Root> void TspSkinButtonCore<Root>::StartAnimate(bool forward)
{
    if (!EnableAnimation() || this->SkinIndex == -1 || IsNullRect(AnimateSkinRect))
        return;
    StopAnimate();
    FAnimateForward = forward;
    FAnimateFrame = forward ? 1 : FrameCount;
    FAnimateTimer = std::make_unique<TTimer>(nullptr);
    // A record without a usable interval plays at the record's default pace rather than never ending.
    FAnimateTimer->SetInterval(static_cast<uint32_t>(AnimateInterval > 0 ? AnimateInterval : 25));
    FAnimateTimer->SetOnTimer([this](TObject*) { DoAnimate(); });
}

template <class Root> void TspSkinButtonCore<Root>::StopAnimate()
{
    FAnimateFrame = 0;
    FAnimateTimer.reset();
}

template <class Root> void TspSkinButtonCore<Root>::DoAnimate()
{
    if (FAnimateForward) {
        if (FAnimateFrame <= FrameCount) {
            ++FAnimateFrame;
            this->Repaint();
        }
        if (FAnimateFrame > FrameCount)
            StopAnimate();
    } else {
        if (FAnimateFrame >= 0) {
            --FAnimateFrame;
            this->Repaint();
        }
        if (FAnimateFrame <= 0)
            StopAnimate();
    }
}

template <class Root> TRect TspSkinButtonCore<Root>::GetAnimationFrameRect(int n) const
{
    const TRect& strip = AnimateSkinRect;
    // No frames: no frame rectangle (and no division by the count).
    if (FrameCount <= 0)
        return NullRect();
    if (RectWidth(strip) > RectWidth(this->SkinRectangle)) {
        const int w = RectWidth(strip) / FrameCount;
        return Rect(strip.Left + w * (n - 1), strip.Top, strip.Left + w * n, strip.Bottom);
    }
    const int h = RectHeight(strip) / FrameCount;
    return Rect(strip.Left, strip.Top + h * (n - 1), strip.Right, strip.Top + h * n);
}

// ---- Repeat ---------------------------------------------------------------------------------------------------

template <class Root> void TspSkinButtonCore<Root>::StartRepeat()
{
    FRepeatTimer = std::make_unique<TTimer>(nullptr);
    // An interval of 0 (or below) never ticks.
    FRepeatTimer->SetInterval(static_cast<uint32_t>(FRepeatInterval > 0 ? FRepeatInterval : 0));
    FRepeatTimer->SetOnTimer([this](TObject*) { ButtonClick(); });
}

template <class Root> void TspSkinButtonCore<Root>::StopRepeat()
{
    FRepeatTimer.reset();
}

// ---- Mouse ----------------------------------------------------------------------------------------------------

template <class Root>
void TspSkinButtonCore<Root>::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseDown(button, shift, x, y);
    if (button != mbLeft)
        return;
    StopAnimate();
    FMousePressed = true;
    if (!FDown) {
        FHot = true;
        SetDown(true);
        if (FRepeatMode && FGroupIndex == 0)
            StartRepeat();
        else if (FGroupIndex != 0)
            ButtonClick();
        FGroupRelease = false;
    } else if (FGroupIndex != 0) {
        FGroupRelease = true;
    }
}

template <class Root> void TspSkinButtonCore<Root>::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        FMousePressed = false;
        if (FGroupIndex == 0) {
            if (FHot) {
                const bool wasDown = FDown;
                SetDown(false);
                StopRepeat();
                if (wasDown)
                    ButtonClick();
            } else {
                FDown = false;
                StopRepeat();
            }
        } else if (FDown && FAllowAllUp && FGroupRelease && FHot) {
            SetDown(false);
            ButtonClick();
        }
    }
    // A push button that its click hid or whose window went tells nobody of the release; a speed button always
    // does.
    if constexpr (std::is_base_of_v<TWinControl, Root>) {
        if (!this->HandleAllocated() || !this->Visible())
            return;
    }
    inherited::MouseUp(button, shift, x, y);
}

template <class Root> bool TspSkinButtonCore<Root>::HoverRedraws() const
{
    if (FGroupIndex != 0)
        return !FDown;
    return !(FocusedLook() && !FDown);
}

template <class Root> void TspSkinButtonCore<Root>::CMMouseEnter(TMessage& message)
{
    inherited::CMMouseEnter(message);
    if (this->Designing())
        return;
    FHot = true;
    if (HoverRedraws()) {
        if (FDown) {
            if (EnableMorphing())
                FMorphKf = 1;
            this->Repaint();
        } else {
            StartAnimate(true);
            ReDrawControl();
        }
    }
    if (FDown && FRepeatMode && FGroupIndex == 0)
        StartRepeat();
}

template <class Root> void TspSkinButtonCore<Root>::CMMouseLeave(TMessage& message)
{
    inherited::CMMouseLeave(message);
    if (this->Designing())
        return;
    FHot = KeepsHotOnLeave();
    if (HoverRedraws()) {
        StartAnimate(false);
        ReDrawControl();
    }
    if (FDown && FRepeatMode && FGroupIndex == 0)
        StopRepeat();
}

template <class Root> void TspSkinButtonCore<Root>::CMEnabledChanged(TMessage& message)
{
    inherited::WndProc(message);
    if (EnableMorphing()) {
        StopMorph();
        FMorphKf = 0;
    }
    FHot = false;
    this->Repaint();
}

template <class Root> void TspSkinButtonCore<Root>::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_MOUSEENTER:
        CMMouseEnter(message);
        break;
    case CM_MOUSELEAVE:
        CMMouseLeave(message);
        break;
    case CM_ENABLEDCHANGED:
        CMEnabledChanged(message);
        break;
    case CM_TEXTCHANGED:
        inherited::WndProc(message);
        if (this->SkinIndex != -1 || this->Designing() || this->DrawDefault())
            this->Repaint();
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}

template class TspSkinButtonCore<TspSkinCustomControl>;
template class TspSkinButtonCore<TspGraphicSkinCustomControl>;

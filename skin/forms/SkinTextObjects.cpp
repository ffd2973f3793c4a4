#include "skin/forms/SkinTextObjects.h"

#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinObjectRecords.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

namespace {

void SetFont(TCanvas* canvas, const std::string& name, int height, TFontStyles style, TColor color)
{
    TFont* font = canvas->Font();
    font->SetName(name.empty() ? "Arial" : name);
    font->SetHeight(height);
    font->SetStyle(style);
    font->SetColor(color);
}

int AlignedX(TAlignment alignment, int left, int width, int textWidth)
{
    switch (alignment) {
    case taLeftJustify:
        return left;
    case taRightJustify:
        return left + width - textWidth;
    case taCenter:
        break;
    }
    return left + width / 2 - textWidth / 2;
}

void CutInto(TBitmap& image, TBitmap* picture, const TRect& source, int width, int height)
{
    image.SetPixelFormat(pf24bit);
    image.SetSize(width, height);
    if (picture && !IsNullRect(source))
        image.Canvas()->CopyRect(Rect(0, 0, width, height), picture->Canvas(), source);
}

} // namespace

// ---- TspSkinCaptionObject ---------------------------------------------------------------------------------------

TspSkinCaptionObject::TspSkinCaptionObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
    auto* record = dynamic_cast<TspDataSkinCaption*>(data);
    if (!record)
        return;
    FontName = record->FontName;
    FontHeight = record->FontHeight;
    FontStyle = record->FontStyle;
    FontColor = record->FontColor;
    ActiveFontColor = record->ActiveFontColor;
    Alignment = record->Alignment;
    TextRect = record->TextRect;
    DefaultCaption = record->DefaultCaption;
    Light = record->Light;
    LightColor = record->LightColor;
    ActiveLightColor = record->ActiveLightColor;
    Shadow = record->Shadow;
    ShadowColor = record->ShadowColor;
    ActiveShadowColor = record->ActiveShadowColor;
    FrameRect = record->FrameRect;
    ActiveFrameRect = record->ActiveFrameRect;
    FrameTextRect = record->FrameTextRect;
    FrameLeftOffset = record->FrameLeftOffset;
    FrameRightOffset = record->FrameRightOffset;
    FullFrame = record->FullFrame;
    StretchEffect = record->StretchEffect;
    AnimateSkinRect = record->AnimateSkinRect;
    FrameCount = record->FrameCount;
    AnimateInterval = record->AnimateInterval;
    InActiveAnimation = record->InActiveAnimation;
}

bool TspSkinCaptionObject::EnableAnimation() const
{
    const TspSkinData* skin = SkinData();
    return skin && !skin->Empty && skin->EnableSkinEffects() && !IsNullRect(AnimateSkinRect) && FrameCount > 0;
}

void TspSkinCaptionObject::StartAnimation(bool active)
{
    Elapsed = 25;
    if (active)
        FrameIndex = 1;
    else
        FrameIndex = InActiveAnimation ? FrameCount : 0;
}

bool TspSkinCaptionObject::AnimationStep()
{
    if (!EnableAnimation())
        return false;
    // The run ends one frame past the strip when active (the plain active look), at frame 0 when not.
    if ((Active && FrameIndex > FrameCount) || (!Active && FrameIndex <= 0))
        return false;
    if (Elapsed < AnimateInterval) {
        Elapsed += 25;
        return true;
    }
    FrameIndex += Active ? 1 : -1;
    FParent->DrawSkinObject(this);
    Elapsed = 25;
    return true;
}

void TspSkinCaptionObject::SetTextValue(std::string_view text)
{
    TextValue = text;
    FParent->DrawSkinObject(this);
}

void TspSkinCaptionObject::WriteText(TCanvas* canvas, int dx, int dy, bool active, TColor color)
{
    if (FParent->CaptionPaint(canvas, ObjectRect, active))
        return;
    std::string text = FParent->CaptionText();
    if (text.empty() || IsNullRect(TextRect))
        return;
    TRect area = TextRect;
    area.Right += RectWidth(ObjectRect) - RectWidth(SkinRect);
    if (!IsNullRect(FrameRect)) {
        area.Left += FrameTextRect.Left;
        area.Top += FrameTextRect.Top;
        area.Right += FrameTextRect.Right - RectWidth(FrameRect);
    }
    SetFont(canvas, FontName, FontHeight, FontStyle, color);
    const TspSkinData* skin = SkinData();
    if (skin && skin->ResourceStrData())
        canvas->Font()->SetCharset(skin->ResourceStrData()->CharSet());
    else if (FParent->DefCaptionFont())
        canvas->Font()->SetCharset(FParent->DefCaptionFont()->Charset());
    CorrectTextbyWidthW(canvas, text, RectWidth(area));
    const int textWidth = CalcTextWidthW(canvas, text);
    const int textHeight = CalcTextHeightW(canvas, text);
    const int y = area.Top + RectHeight(area) / 2 - textHeight / 2 + dy;
    const int x = AlignedX(Alignment, area.Left, RectWidth(area), textWidth) + dx;
    if (!IsNullRect(FrameRect) && ActivePicture) {
        const TRect& source = active && !IsNullRect(ActiveFrameRect) ? ActiveFrameRect : FrameRect;
        const int buttonsOffset = skin ? skin->ButtonsOffset : 0;
        int width;
        TPoint at;
        if (FullFrame) {
            width = RectWidth(ObjectRect) - 2 * buttonsOffset;
            at = TPoint { dx + buttonsOffset, y - FrameTextRect.Top };
        } else {
            width = RectWidth(source) + textWidth - RectWidth(FrameTextRect);
            at = TPoint { x - FrameTextRect.Left, y - FrameTextRect.Top };
        }
        if (width > 0) {
            TBitmap frame;
            CreateHSkinImage(FrameLeftOffset, FrameRightOffset, &frame, ActivePicture, source, width,
                RectHeight(source), StretchEffect);
            canvas->Draw(at.X, at.Y, &frame);
        }
    }
    canvas->Brush()->SetStyle(bsClear);
    if (Light) {
        canvas->Font()->SetColor(active ? ActiveLightColor : LightColor);
        canvas->TextOut(x - 1, y - 1, text);
    }
    if (Shadow) {
        canvas->Font()->SetColor(active ? ActiveShadowColor : ShadowColor);
        canvas->TextOut(x + 1, y + 1, text);
    }
    canvas->Font()->SetColor(color);
    canvas->TextOut(x, y, text);
}

void TspSkinCaptionObject::MakeLook(TBitmap& image, TBitmap* picture, const TRect& source) const
{
    const int width = RectWidth(ObjectRect);
    const int height = RectHeight(ObjectRect);
    image.SetPixelFormat(pf24bit);
    image.SetSize(width, height);
    if (!picture || IsNullRect(source) || width <= 0 || height <= 0)
        return;
    const TspSkinData* skin = SkinData();
    const bool sameSize = width == RectWidth(SkinRect) && height == RectHeight(SkinRect);
    if (sameSize || !skin || !FParent->CanScale()) {
        image.Canvas()->CopyRect(Rect(0, 0, width, height), picture->Canvas(), source);
        return;
    }
    // Which band of the picture the caption lies in decides which way it grows.
    const TPoint lt = skin->LeftTopPoint;
    const TPoint rt = skin->RightTopPoint;
    const TPoint lb = skin->LeftBottomPoint;
    const TPoint rb = skin->RightBottomPoint;
    int kind;
    if (SkinRect.Top <= lt.Y && SkinRect.Bottom < rt.Y)
        kind = 1;
    else if (SkinRect.Top >= lb.Y && SkinRect.Bottom > rb.Y)
        kind = 2;
    else if (SkinRect.Top <= lt.Y && SkinRect.Bottom > lb.Y)
        kind = 3;
    else
        kind = 4;
    int first;
    int second;
    if (kind <= 2) {
        const TPoint left = kind == 1 ? lt : lb;
        const TPoint right = kind == 1 ? rt : rb;
        first = std::max(0, left.X - SkinRect.Left);
        second = std::max(0, SkinRect.Right - right.X);
    } else {
        const TPoint top = kind == 3 ? lt : rt;
        const TPoint bottom = kind == 3 ? lb : rb;
        first = std::max(0, top.Y - SkinRect.Top);
        second = std::max(0, SkinRect.Bottom - bottom.Y);
    }
    if (first == 0 && second == 0) {
        image.Canvas()->CopyRect(Rect(0, 0, width, height), picture->Canvas(), source);
        return;
    }
    if (kind <= 2)
        CreateHSkinImage(first, second, &image, picture, source, width, height, StretchEffect);
    else
        CreateVSkinImage(first, second, &image, picture, source, width, height, StretchEffect);
}

void TspSkinCaptionObject::ApplyInActiveEffect(TBitmap& image) const
{
    const TspSkinData* skin = SkinData();
    if (!skin || !skin->AutoRenderingInActiveImage || Active || image.Empty())
        return;
    TspEffectBmp effect(image.Handle());
    switch (skin->InActiveEffect) {
    case ieBrightness:
        effect.ChangeBrightness(0.5);
        break;
    case ieDarkness:
        effect.ChangeDarkness(0.3);
        break;
    case ieGrayScale:
        effect.GrayScale();
        break;
    case ieNoise:
        effect.AddMonoNoise(50);
        break;
    case ieSplitBlur:
        effect.SplitBlur(1);
        break;
    case ieInvert:
        effect.Invert();
        break;
    }
    effect.Draw(image.Canvas()->Handle(), 0, 0);
}

void TspSkinCaptionObject::Draw(TCanvas* canvas, bool standalone)
{
    Active = FParent->GetFormActive();
    if (EnableAnimation() && FrameIndex >= 1 && FrameIndex <= FrameCount) {
        const bool vertical = RectHeight(AnimateSkinRect) > RectHeight(SkinRect);
        const TRect& a = AnimateSkinRect;
        TRect frame;
        if (vertical) {
            const int h = RectHeight(a) / FrameCount;
            frame = Rect(a.Left, a.Top + (FrameIndex - 1) * h, a.Right, a.Top + FrameIndex * h);
        } else {
            const int w = RectWidth(a) / FrameCount;
            frame = Rect(a.Left + (FrameIndex - 1) * w, a.Top, a.Left + FrameIndex * w, a.Bottom);
        }
        TBitmap image;
        MakeLook(image, ActivePicture, frame);
        // The frames show the state being left.
        WriteText(image.Canvas(), 0, 0, !Active, Active ? FontColor : ActiveFontColor);
        canvas->Draw(ObjectRect.Left, ObjectRect.Top, &image);
        return;
    }
    const bool hasActiveLook = !IsNullRect(ActiveSkinRect);
    if (!FParent->SupportNCArea() || hasActiveLook) {
        if (hasActiveLook && (Active || (EnableMorphing() && FMorphKf != 0))) {
            TBitmap activeImage;
            MakeLook(activeImage, ActivePicture, ActiveSkinRect);
            WriteText(activeImage.Canvas(), 0, 0, true, ActiveFontColor);
            if (Active && (!EnableMorphing() || FMorphKf >= 1)) {
                canvas->Draw(ObjectRect.Left, ObjectRect.Top, &activeImage);
                return;
            }
            TBitmap normalImage;
            MakeLook(normalImage, Picture, SkinRect);
            WriteText(normalImage.Canvas(), 0, 0, false, FontColor);
            TspEffectBmp blend(normalImage.Handle());
            const TspEffectBmp target(activeImage.Handle());
            MorphByKind(blend, target, MorphKind, FMorphKf);
            blend.Draw(normalImage.Canvas()->Handle(), 0, 0);
            ApplyInActiveEffect(normalImage);
            canvas->Draw(ObjectRect.Left, ObjectRect.Top, &normalImage);
            return;
        }
        if (standalone) {
            TBitmap image;
            MakeLook(image, Picture, SkinRect);
            WriteText(image.Canvas(), 0, 0, Active, Active ? ActiveFontColor : FontColor);
            ApplyInActiveEffect(image);
            canvas->Draw(ObjectRect.Left, ObjectRect.Top, &image);
            return;
        }
    }
    WriteText(canvas, ObjectRect.Left, ObjectRect.Top, Active, Active ? ActiveFontColor : FontColor);
}

void TspSkinCaptionObject::MouseDown(int x, int y, TMouseButton button)
{
    if (!FParent->SupportNCArea() && FParent->WindowState() != wsMaximized)
        FParent->StartDragg(x, y);
    inherited::MouseDown(x, y, button);
}

void TspSkinCaptionObject::MouseUp(int x, int y, TMouseButton button)
{
    if (!FParent->SupportNCArea())
        FParent->EndDragg();
    // The caption reports every release, over it or not.
    FParent->MouseUpEvent(IDName, x, y, ObjectRect, button);
}

// The caption's look follows the form's activation, not the mouse.
void TspSkinCaptionObject::MouseEnter()
{
    MouseOver = true;
    FParent->MouseEnterEvent(IDName);
}

void TspSkinCaptionObject::MouseLeave()
{
    MouseOver = false;
    FParent->MouseLeaveEvent(IDName);
}

// ---- TspSkinLabelObject -----------------------------------------------------------------------------------------

TspSkinLabelObject::TspSkinLabelObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
    auto* record = dynamic_cast<TspDataSkinLabel*>(data);
    if (!record)
        return;
    FontName = record->FontName;
    FontHeight = record->FontHeight;
    FontStyle = record->FontStyle;
    FontColor = record->FontColor;
    ActiveFontColor = record->ActiveFontColor;
    Alignment = record->Alignment;
    TextValue = record->TextValue;
}

void TspSkinLabelObject::CutImage(TBitmap& image, TBitmap* picture, const TRect& source) const
{
    CutInto(image, picture, source, RectWidth(ObjectRect), RectHeight(ObjectRect));
}

void TspSkinLabelObject::WriteText(TBitmap& image, bool active) const
{
    TCanvas* canvas = image.Canvas();
    canvas->Brush()->SetStyle(bsClear);
    SetFont(canvas, FontName, FontHeight, FontStyle, active ? ActiveFontColor : FontColor);
    const int textWidth = canvas->TextWidth(TextValue);
    const int textHeight = canvas->TextHeight(TextValue);
    const int x = AlignedX(Alignment, 0, image.Width(), textWidth);
    const int y = image.Height() / 2 - textHeight / 2;
    canvas->TextRect(Rect(0, 0, image.Width(), image.Height()), x, y, TextValue);
}

void TspSkinLabelObject::Draw(TCanvas* canvas, bool standalone)
{
    (void)standalone;
    if (RectWidth(ObjectRect) <= 0 || RectHeight(ObjectRect) <= 0)
        return;
    const bool hasActiveLook = !IsNullRect(ActiveSkinRect);
    TBitmap image;
    if (!MorphRunning()) {
        if (Active && hasActiveLook) {
            CutImage(image, ActivePicture, ActiveSkinRect);
            WriteText(image, true);
        } else if (Active) {
            // Nothing shows the hover then.
            if (FontColor == ActiveFontColor)
                return;
            CutImage(image, Picture, SkinRect);
            WriteText(image, true);
        } else {
            CutImage(image, Picture, SkinRect);
            WriteText(image, false);
        }
    } else {
        CutImage(image, Picture, SkinRect);
        WriteText(image, false);
        TBitmap activeImage;
        if (hasActiveLook)
            CutImage(activeImage, ActivePicture, ActiveSkinRect);
        else
            CutImage(activeImage, Picture, SkinRect);
        WriteText(activeImage, true);
        TspEffectBmp blend(image.Handle());
        const TspEffectBmp target(activeImage.Handle());
        MorphByKind(blend, target, MorphKind, FMorphKf);
        blend.Draw(image.Canvas()->Handle(), 0, 0);
    }
    canvas->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

void TspSkinLabelObject::MouseEnter()
{
    MouseOver = true;
    Active = true;
    if (!IsNullRect(ActiveSkinRect) || FontColor != ActiveFontColor)
        Redraw();
    FParent->MouseEnterEvent(IDName);
}

void TspSkinLabelObject::MouseLeave()
{
    MouseOver = false;
    Active = false;
    if (!IsNullRect(ActiveSkinRect) || FontColor != ActiveFontColor)
        Redraw();
    FParent->MouseLeaveEvent(IDName);
}

void TspSkinLabelObject::SetTextValue(std::string_view text, bool update)
{
    TextValue = text;
    if (update)
        FParent->DrawSkinObject(this);
}

// ---- TspSkinBitLabelObject --------------------------------------------------------------------------------------

TspSkinBitLabelObject::TspSkinBitLabelObject(TspSkinObjectHost* form, TspDataSkinObject* data)
    : inherited(form, data)
{
    auto* record = dynamic_cast<TspDataSkinBitLabel*>(data);
    if (!record)
        return;
    TextValue = record->TextValue;
    SymbolWidth = record->SymbolWidth;
    SymbolHeight = record->SymbolHeight;
    for (int i = 0; i < record->Symbols.Count(); ++i)
        Symbols.push_back(record->Symbols.Strings(i));
    Transparent = record->Transparent;
    TransparentColor = record->TransparentColor;
}

TPoint TspSkinBitLabelObject::GlyphOf(char symbol) const
{
    for (size_t row = 0; row < Symbols.size(); ++row) {
        const size_t column = Symbols[row].find(symbol);
        if (column != std::string::npos)
            return TPoint { static_cast<int>(column), static_cast<int>(row) };
    }
    return TPoint { -1, -1 };
}

void TspSkinBitLabelObject::Draw(TCanvas* canvas, bool standalone)
{
    (void)standalone;
    const int width = RectWidth(SkinRect);
    const int height = RectHeight(SkinRect);
    if (width <= 0 || height <= 0)
        return;
    TBitmap image;
    CutInto(image, Picture, SkinRect, width, height);
    if (SymbolWidth > 0 && ActivePicture) {
        for (size_t k = 0; k < TextValue.size(); ++k) {
            const int i = static_cast<int>(k) + 1;
            const int overflow = std::max(0, i * SymbolWidth - width);
            const TPoint glyph = GlyphOf(TextValue[k]);
            if (glyph.X >= 0) {
                const int left = ActiveSkinRect.Left + glyph.X * SymbolWidth;
                const int top = ActiveSkinRect.Top + glyph.Y * SymbolHeight;
                image.Canvas()->CopyRect(Rect((i - 1) * SymbolWidth, 0, i * SymbolWidth - overflow, SymbolHeight),
                    ActivePicture->Canvas(), Rect(left, top, left + SymbolWidth - overflow, top + SymbolHeight));
            }
            // The text ends at the label's right edge.
            if (overflow > 0)
                break;
        }
    }
    if (Transparent) {
        // Drawn over the main picture itself (never the roll-up picture).
        TBitmap back;
        const TspSkinData* skin = SkinData();
        CutInto(back, skin ? skin->Picture.get() : nullptr, SkinRect, width, height);
        image.SetTransparentMode(tmFixed);
        image.SetTransparentColor(TransparentColor);
        image.SetTransparent(true);
        back.Canvas()->Draw(0, 0, &image);
        canvas->Draw(ObjectRect.Left, ObjectRect.Top, &back);
        return;
    }
    canvas->Draw(ObjectRect.Left, ObjectRect.Top, &image);
}

void TspSkinBitLabelObject::SetTextValue(std::string_view text, bool update)
{
    TextValue = text;
    if (update)
        FParent->DrawSkinObject(this);
}

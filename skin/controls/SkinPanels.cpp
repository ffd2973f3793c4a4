#include "skin/controls/SkinPanels.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlBar.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"

using namespace SPUtils;
using namespace SkinControlSupport;

namespace {

constexpr int kArrowUp = 3;
constexpr int kArrowDown = 4;

void Border(TCanvas* canvas, const TRect& r, TspSkinBorderStyle style)
{
    switch (style) {
    case TspSkinBorderStyle::bvFrame:
        Frm3D(canvas, r, clBtnShadow, clBtnShadow);
        break;
    case TspSkinBorderStyle::bvRaised:
        Frm3D(canvas, r, clBtnHighlight, clBtnShadow);
        break;
    case TspSkinBorderStyle::bvLowered:
        Frm3D(canvas, r, clBtnShadow, clBtnHighlight);
        break;
    case TspSkinBorderStyle::bvNone:
        break;
    }
}

} // namespace

TspSkinPanel::TspSkinPanel(TComponent* owner)
    : inherited(owner)
    , FGlyph(std::make_unique<TBitmap>())
{
    SetControlStyle(TControlStyle { csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
        csDoubleClicks, csReplicatable });
    SetSkinDataName("panel");
    PaintBorderStrips = true;
    SetBounds(Left(), Top(), 150, 150);
}

TspSkinPanel::~TspSkinPanel() = default;

// ---- Properties --------------------------------------------------------------------------------------------------

void TspSkinPanel::SetTransparentMode(bool value)
{
    if (FTransparentMode == value)
        return;
    FTransparentMode = value;
    Repaint();
    if (!Designing() && !ComponentState().Contains(csLoading))
        CheckControlsBackground();
}

void TspSkinPanel::SetGlyph(TBitmap* value)
{
    FGlyph->Assign(value);
    Repaint();
}

void TspSkinPanel::SetNumGlyphs(TspSkinPanelNumGlyphs value)
{
    FNumGlyphs = std::max(1, std::min(value, 2));
    Repaint();
}

void TspSkinPanel::SetSpacing(int value)
{
    FSpacing = value;
    Repaint();
}

void TspSkinPanel::SetDefaultCaptionHeight(int value)
{
    FDefaultCaptionHeight = value;
    if (SkinIndex == -1 && FCaptionMode) {
        Repaint();
        Realign();
    }
}

void TspSkinPanel::SetDefaultAlignment(TAlignment value)
{
    FDefaultAlignment = value;
    if (SkinIndex == -1 && FCaptionMode)
        Repaint();
}

void TspSkinPanel::SetBorderStyle(TspSkinBorderStyle value)
{
    FBorderStyle = value;
    if (SkinIndex == -1) {
        Repaint();
        Realign();
    }
}

void TspSkinPanel::SetCaptionMode(bool value)
{
    FCaptionMode = value;
    Repaint();
    Realign();
}

void TspSkinPanel::SetRollUpMode(bool value)
{
    FRollUpMode = value;
    if (SkinIndex == -1 && FCaptionMode)
        Repaint();
}

void TspSkinPanel::SetCheckedMode(bool value)
{
    FCheckedMode = value;
    Repaint();
}

void TspSkinPanel::SetChecked(bool value)
{
    FChecked = value;
    if (FCheckedMode)
        Repaint();
    if (FAutoEnabledControls && FCheckedMode)
        for (int i = 0; i < ControlCount(); ++i)
            Controls(i)->SetEnabled(FChecked);
    if (OnChecked)
        OnChecked(this);
}

void TspSkinPanel::SetCaptionImageList(TCustomImageList* value)
{
    if (FCaptionImageList)
        FCaptionImageList->RemoveFreeNotification(this);
    FCaptionImageList = value;
    if (FCaptionImageList)
        FCaptionImageList->FreeNotification(this);
    Repaint();
}

void TspSkinPanel::SetCaptionImageIndex(int value)
{
    if (FCaptionImageIndex == value)
        return;
    FCaptionImageIndex = value;
    Repaint();
}

void TspSkinPanel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FCaptionImageList)
        FCaptionImageList = nullptr;
}

void TspSkinPanel::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TspSkinPanel::SetBounds(int left, int top, int width, int height)
{
    inherited::SetBounds(left, top, width, height);
    if (SkinIndex == -1)
        Repaint();
}

// ---- Rolling up --------------------------------------------------------------------------------------------------

void TspSkinPanel::SetRollUpState(bool value)
{
    if (FRollUpState == value)
        return;
    TSizeConstraints* c = Constraints();
    if (!FRollUpMode) {
        c->SetMaxWidth(SavedConstraints[0]);
        c->SetMinWidth(SavedConstraints[1]);
        c->SetMaxHeight(SavedConstraints[2]);
        c->SetMinHeight(SavedConstraints[3]);
        return;
    }
    SavedConstraints[0] = c->MaxWidth();
    SavedConstraints[1] = c->MinWidth();
    SavedConstraints[2] = c->MaxHeight();
    SavedConstraints[3] = c->MinHeight();
    c->SetMaxWidth(0);
    c->SetMinWidth(0);
    c->SetMaxHeight(0);
    c->SetMinHeight(0);
    FRollUpState = value;
    DoRollUp(value);
    if (OnChangeRollUpState)
        OnChangeRollUpState(this);
}

void TspSkinPanel::DoRollUp(bool value)
{
    if (value && FRealHeight == -1) {
        FRealHeight = Height();
        HideControls();
        if (SkinIndex == -1) {
            SetHeight(FDefaultCaptionHeight + 1);
        } else {
            int width = Width();
            int height = Height();
            CalcSize(width, height);
            SetHeight(Height() - RectHeight(SizedClientRect));
        }
    } else if (!value && FRealHeight != -1) {
        const int height = FRealHeight;
        // Known as not rolled up before the size changes, so that the new size is taken as it is.
        FRealHeight = -1;
        SetHeight(height);
        ShowControls();
    }
}

void TspSkinPanel::HideControls()
{
    DisableAlign();
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->SetVisible(false);
}

void TspSkinPanel::ShowControls()
{
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->SetVisible(true);
    EnableAlign();
}

// ---- The record --------------------------------------------------------------------------------------------------

void TspSkinPanel::GetSkinData()
{
    inherited::GetSkinData();
    BGPictureIndex = -1;
    // A record that names no picture cannot be painted from: the panel wears its default look.
    if (SkinIndex != -1 && !SkinPicture) {
        SkinIndex = -1;
        return;
    }
    auto* record = SkinRecordAt<TspDataSkinPanelControl>(SkinData(), SkinIndex);
    if (!record)
        return;
    BGPictureIndex = SkinPictureAt(SkinData(), record->BGPictureIndex) ? record->BGPictureIndex : -1;
    CaptionRect = record->CaptionRect;
    Alignment = record->Alignment;
    CaptionFont = RecordFont(record);
    CheckImageRect = record->CheckImageRect;
    UnCheckImageRect = record->UnCheckImageRect;
    MarkFrameRect = record->MarkFrameRect;
    FrameRect = record->FrameRect;
    FrameTextRect = record->FrameTextRect;
    FrameLeftOffset = record->FrameLeftOffset;
    FrameRightOffset = record->FrameRightOffset;
    GripperRect = record->GripperRect;
    GripperTransparent = record->GripperTransparent;
    GripperTransparentColor = record->GripperTransparentColor;
}

void TspSkinPanel::ChangeSkinData()
{
    inherited::ChangeSkinData();
    if (FRealHeight != -1) {
        // Rolled up again at the new skin's collapsed height, keeping the height to restore.
        const int realHeight = FRealHeight;
        FRealHeight = -1;
        DoRollUp(true);
        FRealHeight = realHeight;
    } else {
        Realign();
    }
}

// ---- Client rectangle --------------------------------------------------------------------------------------------

TRect TspSkinPanel::GetSkinClientRect()
{
    TRect r = Rect(0, 0, Width(), Height());
    AdjustClientRect(r);
    return r;
}

TRect TspSkinPanel::GetTranparentClientRect()
{
    if (!FCaptionMode)
        return Rect(2, 2, Width() - 2, Height() - 2);
    TBitmap measure;
    TFont* font = measure.Canvas()->Font();
    font->Assign(DefaultFont());
    if (SkinIndex != -1)
        ApplyCaptionFont(font, CaptionFont, UseSkinFont(), DefaultFont(), SkinData());
    return Rect(2, measure.Canvas()->TextHeight("Wq"), Width() - 2, Height() - 2);
}

bool TspSkinPanel::ClientPieceFillsAll() const
{
    return FBorderStyle == TspSkinBorderStyle::bvNone && SkinResizeMode == 1 && !FCaptionMode;
}

void TspSkinPanel::AdjustClientRect(TRect& rect)
{
    inherited::AdjustClientRect(rect);
    GetSkinData();
    if (SkinIndex != -1 && FTransparentMode) {
        rect = GetTranparentClientRect();
        return;
    }
    if (SkinIndex == -1 || Designing()) {
        if (FBorderStyle != TspSkinBorderStyle::bvNone)
            rect = Rect(rect.Left + 1, rect.Top + 1, rect.Right - 1, rect.Bottom - 1);
        if (FCaptionMode)
            rect.Top += FDefaultCaptionHeight;
        return;
    }
    if (BGPictureIndex != -1 || ClientPieceFillsAll())
        return;
    int width = Width();
    int height = Height();
    CalcSize(width, height);
    rect = SizedClientRect;
}

// ---- Mouse and messages ------------------------------------------------------------------------------------------

void TspSkinPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if ((FRollUpMode || FCheckedMode) && FCaptionMode && button == mbLeft) {
        const TRect caption = SkinIndex != -1 ? NewCaptionRect : Rect(1, 1, Width() - 1, FDefaultCaptionHeight);
        if (PointInRect(caption, TPoint { x, y })) {
            if (FCheckedMode)
                SetChecked(!FChecked);
            if (FRollUpMode)
                SetRollUpState(!FRollUpState);
        }
    }
    inherited::MouseUp(button, shift, x, y);
}

void TspSkinPanel::CheckParentBackground()
{
    if (!FTransparentMode && !AlphaBlend())
        return;
    Repaint();
    CheckControlsBackground();
}

void TspSkinPanel::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOVE:
        inherited::WndProc(message);
        if (FTransparentMode) {
            // A skinned control bar draws the band frame around the panel: it follows the panel first.
            if (auto* bar = dynamic_cast<TspSkinControlBar*>(Parent()))
                bar->Repaint();
            Repaint();
            CheckControlsBackground();
        }
        return;
    case CM_TEXTCHANGED:
        inherited::WndProc(message);
        if (FCaptionMode)
            Repaint();
        return;
    default:
        inherited::WndProc(message);
        return;
    }
}

// ---- Painting ----------------------------------------------------------------------------------------------------

void TspSkinPanel::SkinDrawCheckImage(int x, int y, TCanvas* canvas, const TRect& source, TCanvas* sourceCanvas)
{
    if (RectWidth(source) <= 0 || RectHeight(source) <= 0)
        return;
    TBitmap piece;
    piece.SetSize(RectWidth(source), RectHeight(source));
    piece.Canvas()->CopyRect(Rect(0, 0, piece.Width(), piece.Height()), sourceCanvas, source);
    piece.SetTransparentMode(tmAuto);
    piece.SetTransparent(true);
    canvas->Draw(x, y, &piece);
}

void TspSkinPanel::FillWithPiece(TCanvas* canvas, TBitmap* picture, const TRect& piece)
{
    const int pw = RectWidth(piece);
    const int ph = RectHeight(piece);
    if (!picture || pw <= 0 || ph <= 0)
        return;
    TCanvas* source = picture->Canvas();
    const int w = Width();
    const int h = Height();
    if (!ClientStretchEffect) {
        for (int row = 0; row <= h / ph; ++row)
            for (int col = 0; col <= w / pw; ++col)
                canvas->CopyRect(Bounds(col * pw, row * ph, pw, ph), source, piece);
        return;
    }
    switch (ClientStretchType) {
    case spstFull: {
        int width = w;
        int height = h;
        CalcSize(width, height);
        canvas->CopyRect(SizedClientRect, source, piece);
        break;
    }
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

TColor TspSkinPanel::TransparentFrameColor()
{
    return SkinPicture->Canvas()->Pixels(
        SkinRectangle.Left + RectWidth(SkinRectangle) / 2, SkinRectangle.Bottom - 1);
}

void TspSkinPanel::Paint()
{
    if (Width() < 1 || Height() < 1)
        return;
    GetSkinData();
    if (SkinIndex != -1 && FTransparentMode) {
        PaintTransparentLook();
        return;
    }
    if (SkinIndex == -1 || (!PaintBorderStrips && ClientStretchEffect)) {
        inherited::Paint();
        return;
    }
    const TRect clientPiece = Rect(SkinRectangle.Left + SkinClientRect.Left, SkinRectangle.Top + SkinClientRect.Top,
        SkinRectangle.Left + SkinClientRect.Right, SkinRectangle.Top + SkinClientRect.Bottom);
    if (ClientPieceFillsAll() && PaintBorderStrips && !AlphaBlend()) {
        FillWithPiece(Canvas(), SkinPicture, clientPiece);
        return;
    }
    if (BGPictureIndex == -1) {
        inherited::Paint();
        return;
    }
    // A background picture is all the panel shows: no frame, no caption.
    TBitmap* background = SkinPictureAt(SkinData(), BGPictureIndex);
    FillWithPiece(Canvas(), background, Rect(0, 0, background->Width(), background->Height()));
}

void TspSkinPanel::PaintTransparentLook()
{
    TBitmap image;
    image.SetSize(Width(), Height());
    TCanvas* canvas = image.Canvas();
    GetParentImage(this, canvas);
    if (FCaptionMode) {
        PaintTransparentGroup(canvas);
    } else if (FBorderStyle != TspSkinBorderStyle::bvNone) {
        canvas->Pen()->SetColor(TransparentFrameColor());
        canvas->Pen()->SetWidth(1);
        canvas->Brush()->SetStyle(bsClear);
        canvas->Rectangle(0, 0, Width(), Height());
    }
    PaintTransparent(canvas);
    Canvas()->Draw(0, 0, &image);
}

SkinControlSupport::TCaptionImage TspSkinPanel::CaptionImage() const
{
    return { FGlyph.get(), FNumGlyphs, FCaptionImageList, FCaptionImageIndex, Enabled() };
}

int TspSkinPanel::CaptionImageWidth() const
{
    return CaptionImage().Width();
}

int TspSkinPanel::CaptionImageHeight() const
{
    return CaptionImage().Height();
}

void TspSkinPanel::DrawCaptionImage(TCanvas* canvas, int x, int y)
{
    CaptionImage().Draw(canvas, x, y);
}

void TspSkinPanel::PaintTransparentGroup(TCanvas* canvas)
{
    canvas->Pen()->SetColor(TransparentFrameColor());
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsClear);
    TFont* font = canvas->Font();
    font->Assign(DefaultFont());
    ApplyCaptionFont(font, CaptionFont, UseSkinFont(), DefaultFont(), SkinData());
    const int textHeight = canvas->TextHeight("Wq");
    const int stripHeight = textHeight + 5;
    NewCaptionRect = Rect(5, 0, Width(), stripHeight);
    int x = 5;
    if (FCheckedMode) {
        const TRect& mark = FChecked ? CheckImageRect : UnCheckImageRect;
        SkinDrawCheckImage(x, stripHeight / 2 - RectHeight(mark) / 2, canvas, mark, SkinPicture->Canvas());
        x += RectWidth(mark) + 5;
    }
    const int imageWidth = CaptionImageWidth();
    const int imageX = x;
    if (imageWidth > 0)
        x += imageWidth + 2;
    const TRect strip = Rect(x, 0, Width(), stripHeight);
    SkinLabels::ApplyCharset(font, SkinData(), DefaultFont());
    const int label = SkinData()->GetControlIndex("stdlabel");
    auto* labelRecord = SkinRecordAt<TspDataSkinStdLabelControl>(SkinData(), label);
    const TColor textColor = labelRecord ? labelRecord->FontColor : SkinData()->Colors->cBtnText;
    font->SetColor(textColor);
    SPDrawText(canvas, Caption(), strip);
    const int textWidth = canvas->TextWidth(Caption());
    if (imageWidth > 0)
        DrawCaptionImage(canvas, imageX, stripHeight / 2 - CaptionImageHeight() / 2);
    const int h = stripHeight / 2;
    int lineStart = x + textWidth + 3;
    if (FRollUpMode) {
        DrawArrowImage(canvas, Rect(x + textWidth + 3, 0, x + textWidth + 10, stripHeight), textColor,
            FRollUpState ? kArrowDown : kArrowUp);
        lineStart = x + textWidth + 12;
    }
    canvas->Pen()->SetColor(TransparentFrameColor());
    canvas->MoveTo(lineStart, h);
    canvas->LineTo(Width(), h);
    canvas->MoveTo(0, h);
    canvas->LineTo(4, h);
    canvas->MoveTo(Width() - 1, h);
    canvas->LineTo(Width() - 1, Height() - 1);
    canvas->LineTo(0, Height() - 1);
    canvas->LineTo(0, h);
}

void TspSkinPanel::CreateControlSkinImage(TBitmap* bitmap)
{
    if (ClientPieceFillsAll() && !ClientStretchEffect) {
        const TRect piece = Rect(SkinRectangle.Left + SkinClientRect.Left, SkinRectangle.Top + SkinClientRect.Top,
            SkinRectangle.Left + SkinClientRect.Right, SkinRectangle.Top + SkinClientRect.Bottom);
        FillWithPiece(bitmap->Canvas(), SkinPicture, piece);
        return;
    }
    inherited::CreateControlSkinImage(bitmap);
    NewCaptionRect = SkinResizeMode >= 1 && SkinResizeMode <= 3 ? GetNewRect(CaptionRect) : CaptionRect;
    if (!Caption().empty() && !IsNullRect(CaptionRect))
        DrawSkinCaption(bitmap->Canvas());
}

void TspSkinPanel::DrawSkinCaption(TCanvas* canvas)
{
    TRect r = NewCaptionRect;
    if (FRollUpMode)
        r.Right -= 12;
    if (FCheckedMode) {
        const TRect& mark = FChecked ? CheckImageRect : UnCheckImageRect;
        SkinDrawCheckImage(r.Left, r.Top + RectHeight(r) / 2 - RectHeight(mark) / 2, canvas, mark, SkinPicture->Canvas());
        r.Left += RectWidth(mark) + 2;
    }
    TFont* font = canvas->Font();
    font->Assign(DefaultFont());
    ApplyCaptionFont(font, CaptionFont, UseSkinFont(), DefaultFont(), SkinData());
    font->SetColor(CaptionFont.Color);
    const std::string& text = Caption();
    const int textWidth = canvas->TextWidth(text);
    const int imageWidth = CaptionImageWidth();
    const int contentWidth = textWidth + (imageWidth > 0 ? imageWidth + FSpacing : 0);
    int x = r.Left;
    if (Alignment == taRightJustify)
        x = r.Right - contentWidth;
    else if (Alignment == taCenter)
        x = r.Left + RectWidth(r) / 2 - contentWidth / 2;
    int textX = x + (imageWidth > 0 ? imageWidth + FSpacing : 0);
    int imageX = x;
    if (FRollUpMode) {
        const TRect arrow = Rect(r.Right, r.Top, r.Right + 10, r.Bottom);
        if (!IsNullRect(MarkFrameRect))
            canvas->CopyRect(Bounds(arrow.Left, NewCaptionRect.Top, RectWidth(MarkFrameRect), RectHeight(MarkFrameRect)),
                SkinPicture->Canvas(), MarkFrameRect);
        DrawArrowImage(canvas, arrow, CaptionFont.Color, FRollUpState ? kArrowDown : kArrowUp);
    }
    if (!IsNullRect(FrameRect)) {
        // A frame behind the caption, stretched between its fixed ends to the caption's width.
        const int d = RectWidth(FrameRect) - RectWidth(FrameTextRect);
        TBitmap frame;
        CreateHSkinImage(FrameLeftOffset, FrameRightOffset, &frame, SkinPicture, FrameRect, textWidth + d,
            RectHeight(FrameRect), false);
        int frameX = textX;
        if (Alignment == taRightJustify) {
            frameX = textX - d;
            imageX -= d;
            textX += FrameTextRect.Left - d;
        } else if (Alignment == taCenter) {
            frameX = textX - FrameTextRect.Left - 2;
            imageX -= FrameTextRect.Left;
            textX -= 2;
        } else {
            textX += FrameTextRect.Left;
        }
        canvas->Draw(frameX, NewCaptionRect.Top, &frame);
    }
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(r, textX, r.Top + RectHeight(r) / 2 - canvas->TextHeight(text) / 2, text);
    if (imageWidth > 0)
        DrawCaptionImage(canvas, imageX, r.Top + RectHeight(r) / 2 - CaptionImageHeight() / 2);
}

void TspSkinPanel::CreateControlDefaultImage(TBitmap* bitmap)
{
    inherited::CreateControlDefaultImage(bitmap);
    TCanvas* canvas = bitmap->Canvas();
    Border(canvas, Rect(0, 0, Width(), Height()), FBorderStyle);
    if (FCaptionMode)
        DrawDefaultCaption(canvas);
}

void TspSkinPanel::DrawDefaultCaption(TCanvas* canvas)
{
    TRect outer;
    TRect inner;
    if (FBorderStyle == TspSkinBorderStyle::bvFrame) {
        outer = Rect(0, 0, Width(), FDefaultCaptionHeight);
        Frm3D(canvas, outer, clBtnShadow, clBtnShadow);
        inner = Rect(1, 1, Width() - 1, FDefaultCaptionHeight - 1);
        Frm3D(canvas, inner, clBtnHighlight, clBtnFace);
    } else {
        outer = Rect(1, 1, Width() - 1, FDefaultCaptionHeight);
        Frm3D(canvas, outer, clBtnShadow, clBtnHighlight);
        inner = Rect(2, 2, Width() - 2, FDefaultCaptionHeight - 1);
        Frm3D(canvas, inner, clBtnHighlight, clBtnShadow);
    }
    TRect r = Rect(inner.Left + 1, inner.Top + 1, inner.Right - 1, inner.Bottom - 1);
    if (FCheckedMode)
        r.Left += 20;
    if (FRollUpMode)
        r.Right -= 10;
    TFont* font = canvas->Font();
    font->Assign(DefaultFont());
    SkinLabels::ApplyCharset(font, SkinData(), DefaultFont());
    const std::string& text = Caption();
    const int textWidth = canvas->TextWidth(text);
    const int imageWidth = CaptionImageWidth();
    const int contentWidth = textWidth + (imageWidth > 0 ? imageWidth + FSpacing : 0);
    int x = r.Left + 2;
    if (FDefaultAlignment == taRightJustify)
        x = r.Right - contentWidth;
    else if (FDefaultAlignment == taCenter)
        x = r.Left + 2 + RectWidth(r) / 2 - contentWidth / 2;
    if (FCheckedMode) {
        const int top = r.Top + RectHeight(r) / 2 - 7;
        const TRect box = Rect(5, top, 19, top + 14);
        Frm3D(canvas, box, clBtnShadow, clBtnShadow);
        if (FChecked)
            DrawCheckImage(canvas, box.Left + 4, box.Top + 3, clBtnText);
    }
    const int textX = x + (imageWidth > 0 ? imageWidth + FSpacing : 0);
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextRect(r, textX, r.Top + RectHeight(r) / 2 - canvas->TextHeight(text) / 2, text);
    if (imageWidth > 0)
        DrawCaptionImage(canvas, x, r.Top + RectHeight(r) / 2 - CaptionImageHeight() / 2);
    if (FRollUpMode)
        DrawArrowImage(canvas, Rect(r.Right, r.Top, r.Right + 10, r.Bottom), clBtnText,
            FRollUpState ? kArrowDown : kArrowUp);
}

// ---- TspSkinGroupBox ---------------------------------------------------------------------------------------------

TspSkinGroupBox::TspSkinGroupBox(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("groupbox");
    SetCaptionMode(true);
}

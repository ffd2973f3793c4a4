#include "skin/controls/SkinLabels.h"

#include "framework/controls/ImgList.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

namespace {

constexpr uint32_t kAlignments[] = { DT_LEFT, DT_RIGHT, DT_CENTER };

template <class Record> Record* RecordAt(TspSkinData* skin, int index)
{
    if (!skin || index < 0 || index >= static_cast<int>(skin->ControlRecords.size()))
        return nullptr;
    return dynamic_cast<Record*>(skin->ControlRecords[size_t(index)].get());
}

template <class Record> void CopyFont(TspSkinFontValues& values, const Record* record)
{
    values.SkinFontName = record->FontName;
    values.SkinFontStyle = record->FontStyle;
    values.SkinFontHeight = record->FontHeight;
    values.SkinFontColor = record->FontColor;
}

} // namespace

namespace SkinLabels {

void ApplyCharset(TFont* font, const TspSkinData* skin, const TFont* defaultFont)
{
    if (skin && skin->ResourceStrData())
        font->SetCharset(skin->ResourceStrData()->CharSet());
    else
        font->SetCharset(defaultFont->Charset());
}

void ApplySkinFont(TFont* font, const TspSkinFontValues& values)
{
    font->SetName(values.SkinFontName);
    font->SetStyle(values.SkinFontStyle);
    font->SetHeight(values.SkinFontHeight);
}

void DrawLabelText(TCanvas* canvas, std::string_view text, TRect& rect, uint32_t flags, bool ellipsis)
{
    RECT r = ToRECT(rect);
    // The count bounds the text, so it needs no terminating copy; an empty view still draws (and measures) "".
    const char* chars = text.empty() ? "" : text.data();
    if (ellipsis)
        DrawTextEx(canvas->Handle(), chars, int(text.size()), &r, flags, nullptr);
    else
        DrawText(canvas->Handle(), chars, int(text.size()), &r, flags);
    rect = FromRECT(r);
}

void DrawDisabledText(TCanvas* canvas, std::string_view text, TRect& rect, uint32_t flags, const TspSkinData* skin,
    bool skinned, bool ellipsis)
{
    const bool skinColors = skinned && skin && skin->Colors;
    TRect shifted = Rect(rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1);
    canvas->Font()->SetColor(skinColors ? skin->Colors->cBtnHighLight : clBtnHighlight);
    DrawLabelText(canvas, text, shifted, flags, ellipsis);
    canvas->Font()->SetColor(skinColors ? skin->Colors->cBtnShadow : clBtnShadow);
    DrawLabelText(canvas, text, rect, flags, ellipsis);
}

} // namespace SkinLabels

using namespace SkinLabels;

// ---- TspSkinStdLabel --------------------------------------------------------------------------------------------

TspSkinStdLabel::TspSkinStdLabel(TComponent* owner)
    : inherited(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    SetTransparent(true);
}

void TspSkinStdLabel::SetEllipsType(TspEllipsType value)
{
    if (value == FEllipsType)
        return;
    FEllipsType = value;
    Invalidate();
}

void TspSkinStdLabel::SetSkinData(TspSkinData* value)
{
    FSkinLink.SetSkin(value);
    if (FSkinLink.Skin())
        ChangeSkinData();
}

void TspSkinStdLabel::GetSkinData()
{
    SkinIndex = FSkinLink.ControlIndex();
    if (auto* record = RecordAt<TspDataSkinStdLabelControl>(FSkinLink.Skin(), SkinIndex))
        CopyFont(SkinFont, record);
}

void TspSkinStdLabel::ChangeSkinData()
{
    GetSkinData();
    if (AutoSize())
        AdjustBounds();
    Repaint();
}

void TspSkinStdLabel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    FSkinLink.Forget(component, operation);
}

void TspSkinStdLabel::DoDrawText(TRect& rect, uint32_t flags)
{
    GetSkinData();
    std::string text = GetLabelText();
    if ((flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == "&")))
        text += ' ';
    if (!ShowAccelChar())
        flags |= DT_NOPREFIX;
    if (FEllipsType == spetEndEllips)
        flags |= DT_END_ELLIPSIS;
    else if (FEllipsType == spetPathEllips)
        flags |= DT_PATH_ELLIPSIS;
    flags = DrawTextBiDiModeFlags(flags);
    TFont* font = Canvas()->Font();
    if (SkinIndex == -1) {
        font->Assign(FUseSkinFont ? FDefaultFont.get() : Font());
    } else {
        if (FUseSkinFont)
            ApplySkinFont(font, SkinFont);
        else
            font->Assign(Font());
        font->SetColor(FUseSkinColor ? SkinFont.SkinFontColor : Font()->Color());
    }
    ApplyCharset(font, FSkinLink.Skin(), FDefaultFont.get());
    const bool ellipsis = FEllipsType != spetNone;
    if (!Enabled() && !(flags & DT_CALCRECT))
        DrawDisabledText(Canvas(), text, rect, flags, FSkinLink.Skin(), SkinIndex != -1, ellipsis);
    else
        DrawLabelText(Canvas(), text, rect, flags, ellipsis);
}

// ---- TspSkinTextLabel -------------------------------------------------------------------------------------------

TspSkinTextLabel::TspSkinTextLabel(TComponent* owner)
    : inherited(owner)
    , FLines(std::make_unique<TStringList>())
    , FDefaultFont(std::make_unique<TFont>())
{
    FLines->OnChange = [this](TObject* sender) { OnTextChange(sender); };
    TControl::SetAutoSize(true);
    SetBounds(Left(), Top(), 65, 65);
}

TspSkinTextLabel::~TspSkinTextLabel()
{
    FLines->OnChange = nullptr;
}

void TspSkinTextLabel::SetSkinData(TspSkinData* value)
{
    FSkinLink.SetSkin(value);
    if (FSkinLink.Skin())
        ChangeSkinData();
}

void TspSkinTextLabel::GetSkinData()
{
    SkinIndex = FSkinLink.ControlIndex();
    if (auto* record = RecordAt<TspDataSkinStdLabelControl>(FSkinLink.Skin(), SkinIndex))
        CopyFont(SkinFont, record);
}

void TspSkinTextLabel::ChangeSkinData()
{
    GetSkinData();
    if (AutoSize())
        AdjustBounds();
    Repaint();
}

void TspSkinTextLabel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    FSkinLink.Forget(component, operation);
}

void TspSkinTextLabel::SetLines(TStrings* value)
{
    FLines->Assign(value);
    Repaint();
}

void TspSkinTextLabel::OnTextChange(TObject*)
{
    if (AutoSize())
        AdjustBounds();
    Repaint();
}

void TspSkinTextLabel::SetAlignment(TAlignment value)
{
    if (value == FAlignment)
        return;
    FAlignment = value;
    Invalidate();
}

void TspSkinTextLabel::SetLayout(TTextLayout value)
{
    if (value == FLayout)
        return;
    FLayout = value;
    Invalidate();
}

void TspSkinTextLabel::SetWordWrap(bool value)
{
    if (value == FWordWrap)
        return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TspSkinTextLabel::SetAutoSize(bool value)
{
    if (value == AutoSize())
        return;
    inherited::SetAutoSize(value);
    AdjustBounds();
}

void TspSkinTextLabel::DoDrawText(TRect& rect, uint32_t flags)
{
    GetSkinData();
    const std::string text = GetLabelText();
    flags = DrawTextBiDiModeFlags(flags);
    TFont* font = Canvas()->Font();
    if (SkinIndex == -1) {
        font->Assign(FUseSkinFont ? FDefaultFont.get() : Font());
    } else {
        if (FUseSkinFont)
            ApplySkinFont(font, SkinFont);
        else
            font->Assign(Font());
        font->SetColor(FUseSkinColor ? SkinFont.SkinFontColor : Font()->Color());
    }
    ApplyCharset(font, FSkinLink.Skin(), FDefaultFont.get());
    if (!Enabled() && !(flags & DT_CALCRECT))
        DrawDisabledText(Canvas(), text, rect, flags, FSkinLink.Skin(), SkinIndex != -1, false);
    else
        DrawLabelText(Canvas(), text, rect, flags, false);
}

void TspSkinTextLabel::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsClear);
    TRect rect = ClientRect();
    const uint32_t flags = (FWordWrap ? DT_WORDBREAK : 0) | DT_EXPANDTABS | kAlignments[FAlignment];
    if (FLayout != tlTop) {
        TRect calc = rect;
        DoDrawText(calc, flags | DT_CALCRECT);
        const int textHeight = calc.Bottom - canvas->TextHeight("A");
        const int dy = FLayout == tlBottom ? Height() - textHeight : (Height() - textHeight) / 2;
        rect.Top += dy;
        rect.Bottom += dy;
    }
    DoDrawText(rect, flags);
}

void TspSkinTextLabel::AdjustBounds()
{
    if (ComponentState().Contains(csLoading) || !AutoSize())
        return;
    TRect rect = ClientRect();
    HDC dc = GetDC(nullptr);
    if (!dc)
        return;
    Canvas()->SetHandle(dc);
    DoDrawText(rect, DT_EXPANDTABS | DT_CALCRECT | (FWordWrap ? DT_WORDBREAK : 0));
    // The lines' text ends with a line break, which measures one more line of the height of "A".
    const int height = rect.Bottom - Canvas()->TextHeight("A");
    Canvas()->SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    int x = Left();
    const int width = rect.Right - rect.Left;
    if (FAlignment == taRightJustify)
        x = Left() + Width() - width;
    SetBounds(x, Top(), width, height);
}

void TspSkinTextLabel::Loaded()
{
    inherited::Loaded();
    AdjustBounds();
}

void TspSkinTextLabel::WndProc(TMessage& message)
{
    if (message.Msg == CM_FONTCHANGED) {
        inherited::WndProc(message);
        AdjustBounds();
        Invalidate();
        return;
    }
    inherited::WndProc(message);
}

// ---- TspSkinLabel -----------------------------------------------------------------------------------------------

TspSkinLabel::TspSkinLabel(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("label");
    SetBounds(Left(), Top(), 75, 21);
}

TCanvas* TspSkinLabel::MeasureCanvas()
{
    if (!FMeasure) {
        FMeasure = std::make_unique<TBitmap>();
        FMeasure->SetSize(1, 1);
    }
    return FMeasure->Canvas();
}

void TspSkinLabel::SetEllipsType(TspEllipsType2 value)
{
    if (value == FEllipsType)
        return;
    FEllipsType = value;
    Invalidate();
}

void TspSkinLabel::SetBorderStyle(TspSkinBorderStyle value)
{
    FBorderStyle = value;
    if (SkinIndex == -1) {
        Repaint();
        Realign();
    }
}

void TspSkinLabel::SetAlignment(TAlignment value)
{
    if (value == FAlignment)
        return;
    FAlignment = value;
    Repaint();
}

void TspSkinLabel::SetAutoSizeX(bool value)
{
    FAutoSizeX = value;
    if (value)
        AdjustBounds();
}

void TspSkinLabel::GetSkinData()
{
    inherited::GetSkinData();
    if (auto* record = RecordAt<TspDataSkinLabelControl>(SkinData(), SkinIndex))
        CopyFont(SkinFont, record);
    // A fixed-size skin leaves the label nothing to grow.
    if (SkinIndex != -1 && SkinResizeMode == 0)
        FAutoSizeX = false;
}

void TspSkinLabel::DrawLabelText(TCanvas* canvas, TRect rect)
{
    TFont* font = canvas->Font();
    if (SkinIndex != -1 && UseSkinFont()) {
        ApplySkinFont(font, SkinFont);
        font->SetColor(SkinFont.SkinFontColor);
    } else {
        font->Assign(DefaultFont());
        if (SkinIndex != -1)
            font->SetColor(SkinFont.SkinFontColor);
    }
    ApplyCharset(font, SkinData(), DefaultFont());
    std::string text = Caption();
    if (FEllipsType == spetEllips)
        CorrectTextbyWidth(canvas, text, RectWidth(rect));
    const int textWidth = canvas->TextWidth(text);
    const int y = rect.Top + RectHeight(rect) / 2 - canvas->TextHeight(text) / 2;
    int x = rect.Left;
    if (FAlignment == taRightJustify)
        x = rect.Right - textWidth;
    else if (FAlignment == taCenter)
        x = rect.Left + RectWidth(rect) / 2 - textWidth / 2;
    canvas->Brush()->SetStyle(bsClear);
    if (!FUseSkinFontColor)
        font->SetColor(DefaultFont()->Color());
    canvas->TextRect(rect, x, y, text);
}

void TspSkinLabel::DrawDefaultFace(TBitmap* bitmap)
{
    inherited::CreateControlDefaultImage(bitmap);
    TCanvas* canvas = bitmap->Canvas();
    const TRect r = Rect(0, 0, Width(), Height());
    switch (FBorderStyle) {
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

void TspSkinLabel::CreateControlDefaultImage(TBitmap* bitmap)
{
    DrawDefaultFace(bitmap);
    DrawLabelText(bitmap->Canvas(), Rect(2, 2, Width() - 2, Height() - 2));
}

void TspSkinLabel::CreateControlSkinImage(TBitmap* bitmap)
{
    if (FUseSkinSize || SkinResizeMode == 1) {
        inherited::CreateControlSkinImage(bitmap);
        DrawLabelText(bitmap->Canvas(), SizedClientRect);
        return;
    }
    if (SkinPicture)
        CreateStretchImage(bitmap, SkinPicture, SkinRectangle, SkinClientRect, true);
    TRect r = SizedClientRect;
    r.Bottom += Height() - RectHeight(SkinRectangle);
    DrawLabelText(bitmap->Canvas(), r);
}

void TspSkinLabel::CalcSize(int& width, int& height)
{
    if (FUseSkinSize || SkinResizeMode == 1) {
        inherited::CalcSize(width, height);
    } else if (SkinIndex != -1) {
        const int skinWidth = RectWidth(SkinRectangle);
        SizedLeftTopPoint = LeftTopPoint;
        SizedRightTopPoint = TPoint { width + RightTopPoint.X - skinWidth, RightTopPoint.Y };
        SizedClientRect = SkinClientRect;
        SizedClientRect.Right = width + SkinClientRect.Right - skinWidth;
    }
    const int offset = CalcWidthOffset();
    if (FAutoSizeX && offset > 0)
        width += offset;
}

void TspSkinLabel::SetMeasureFont(TCanvas* canvas)
{
    if (SkinIndex != -1 && UseSkinFont())
        ApplySkinFont(canvas->Font(), SkinFont);
    else
        canvas->Font()->Assign(DefaultFont());
}

int TspSkinLabel::CalcWidthOffset()
{
    TCanvas* canvas = MeasureCanvas();
    SetMeasureFont(canvas);
    if (SkinIndex == -1)
        return canvas->TextWidth(Caption()) + 4 - Width();
    if (SkinResizeMode == 0)
        return 0;
    return canvas->TextWidth(Caption()) - RectWidth(SizedClientRect);
}

void TspSkinLabel::AdjustBounds()
{
    if (Align() == alTop || Align() == alBottom || Align() == alClient)
        return;
    const int offset = CalcWidthOffset();
    if (offset != 0)
        SetWidth(Width() + offset);
}

void TspSkinLabel::SetControlRegion()
{
    if (FUseSkinSize)
        inherited::SetControlRegion();
}

void TspSkinLabel::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_TEXTCHANGED:
        if (FAutoSizeX)
            AdjustBounds();
        Repaint();
        break;
    case WM_ERASEBKGND:
        PaintOnErase(message);
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}

// ---- TspSkinStatusPanel -----------------------------------------------------------------------------------------

TspSkinStatusPanel::TspSkinStatusPanel(TComponent* owner)
    : inherited(owner)
    , FGlyph(std::make_unique<TBitmap>())
{
    SetSkinDataName("statuspanel");
    SetWidth(120);
}

void TspSkinStatusPanel::SetImageList(TCustomImageList* value)
{
    if (FImageList)
        FImageList->RemoveFreeNotification(this);
    FImageList = value;
    if (FImageList)
        FImageList->FreeNotification(this);
    Repaint();
}

void TspSkinStatusPanel::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    Repaint();
}

void TspSkinStatusPanel::SetGlyph(TBitmap* value)
{
    FGlyph->Assign(value);
    Repaint();
    if (AutoSize())
        AdjustBounds();
}

void TspSkinStatusPanel::SetNumGlyphs(int value)
{
    FNumGlyphs = value < 1 ? 1 : value;
    Repaint();
    if (AutoSize())
        AdjustBounds();
}

void TspSkinStatusPanel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FImageList)
        FImageList = nullptr;
}

bool TspSkinStatusPanel::HasImage() const
{
    return FGlyph->Empty() && FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count();
}

int TspSkinStatusPanel::PictureWidth() const
{
    if (HasImage())
        return FImageList->Width();
    if (!FGlyph->Empty())
        return FGlyph->Width() / FNumGlyphs;
    return 0;
}

int TspSkinStatusPanel::CalcWidthOffset()
{
    const int picture = PictureWidth();
    const int p = picture > 0 ? picture + 3 : 0;
    TCanvas* canvas = MeasureCanvas();
    SetMeasureFont(canvas);
    if (SkinIndex == -1)
        return p + canvas->TextWidth(Caption()) - Width() + 4;
    if (SkinResizeMode == 0)
        return 0;
    return p + canvas->TextWidth(Caption()) - RectWidth(SizedClientRect);
}

void TspSkinStatusPanel::DrawPicture(TCanvas* canvas, TRect& r, bool centredInBitmap, int bitmapHeight)
{
    if (HasImage()) {
        FImageList->Draw(canvas, r.Left, r.Top + RectHeight(r) / 2 - FImageList->Height() / 2, FImageIndex, Enabled());
        r.Left += FImageList->Width() + 2;
    } else if (!FGlyph->Empty()) {
        const int cell = FGlyph->Width() / FNumGlyphs;
        const int top = centredInBitmap ? bitmapHeight / 2 - FGlyph->Height() / 2
                                        : r.Top + RectHeight(r) / 2 - FGlyph->Height() / 2;
        DrawGlyph(canvas, centredInBitmap ? 3 : r.Left, top, FGlyph.get(), FNumGlyphs,
            Enabled() || FNumGlyphs < 2 ? 1 : 2);
        r.Left += cell + 2;
    }
}

void TspSkinStatusPanel::CreateControlDefaultImage(TBitmap* bitmap)
{
    DrawDefaultFace(bitmap);
    TRect r = Rect(3, 3, Width() - 3, Height() - 3);
    DrawPicture(bitmap->Canvas(), r, true, bitmap->Height());
    DrawLabelText(bitmap->Canvas(), r);
}

void TspSkinStatusPanel::CreateControlSkinImage(TBitmap* bitmap)
{
    CreateSkinControlImage(bitmap, SkinPicture, SkinRectangle);
    TRect r = SizedClientRect;
    DrawPicture(bitmap->Canvas(), r, false, bitmap->Height());
    DrawLabelText(bitmap->Canvas(), r);
}

void TspSkinStatusPanel::WndProc(TMessage& message)
{
    inherited::WndProc(message);
    if (message.Msg == CM_ENABLEDCHANGED)
        Repaint();
}

// ---- TspSkinBitLabel --------------------------------------------------------------------------------------------

TspSkinBitLabel::TspSkinBitLabel(TComponent* owner)
    : inherited(owner)
{
    SetSkinDataName("bitlabel");
    SetBounds(Left(), Top(), 100, 20);
}

void TspSkinBitLabel::GetSkinData()
{
    inherited::GetSkinData();
    auto* record = RecordAt<TspDataSkinBitLabelControl>(SkinData(), SkinIndex);
    if (!record)
        return;
    SkinTextRect = record->SkinTextRect;
    SymbolWidth = record->SymbolWidth;
    SymbolHeight = record->SymbolHeight;
    Symbols.clear();
    for (int i = 0; i < record->Symbols.Count(); ++i)
        Symbols.push_back(record->Symbols.Strings(i));
}

int TspSkinBitLabel::GetFixWidth() const
{
    return RectWidth(SkinRectangle) + SkinClientRect.Left + SymbolWidth * FFixLength - SkinClientRect.Right;
}

void TspSkinBitLabel::SetFixLength(int value)
{
    FFixLength = value;
    if (value <= 0)
        return;
    FAutoSizeX = false;
    if (SkinIndex != -1)
        SetWidth(GetFixWidth());
}

int TspSkinBitLabel::CaptionOffset() const
{
    if (SkinIndex == -1)
        return 0;
    return static_cast<int>(Caption().size()) * SymbolWidth - RectWidth(SizedClientRect);
}

void TspSkinBitLabel::CalcSize(int& width, int& height)
{
    inherited::CalcSize(width, height);
    if (FFixLength < 1) {
        const int offset = CaptionOffset();
        if (offset > 0 || FAutoSizeX)
            width += offset;
    } else if (SkinIndex != -1) {
        width = GetFixWidth();
    }
}

void TspSkinBitLabel::AdjustBounds()
{
    if (Align() != alNone)
        return;
    const int offset = CaptionOffset();
    if (offset != 0)
        SetWidth(Width() + offset);
}

void TspSkinBitLabel::SetAutoSizeX(bool value)
{
    FAutoSizeX = value;
    AdjustBounds();
    Repaint();
}

void TspSkinBitLabel::WndProc(TMessage& message)
{
    if (message.Msg == CM_TEXTCHANGED) {
        if (FAutoSizeX)
            AdjustBounds();
        Repaint();
        return;
    }
    inherited::WndProc(message);
}

void TspSkinBitLabel::CreateControlDefaultImage(TBitmap* bitmap)
{
    inherited::CreateControlDefaultImage(bitmap);
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetStyle(bsClear);
    const std::string& text = Caption();
    canvas->TextRect(Rect(1, 1, Width() - 1, Height() - 1), 2, Height() / 2 - canvas->TextHeight(text) / 2, text);
}

void TspSkinBitLabel::CreateControlSkinImage(TBitmap* bitmap)
{
    inherited::CreateControlSkinImage(bitmap);
    if (!SkinPicture || SymbolWidth <= 0 || SymbolHeight <= 0)
        return;
    const int left = SkinClientRect.Left;
    const int rightBorder = RectWidth(SkinRectangle) - SkinClientRect.Right;
    const int width = bitmap->Width();
    const int top = SizedClientRect.Top;
    const std::string& caption = Caption();
    for (size_t i = 0; i < caption.size(); ++i) {
        const int cellLeft = left + SymbolWidth * int(i);
        // The part of the cell that would cover the right border is cut off; a cell with nothing left ends
        // the text.
        int cut = cellLeft + SymbolWidth - (width - rightBorder);
        if (cut < 0)
            cut = 0;
        if (cut >= SymbolWidth)
            break;
        int row = -1;
        size_t col = std::string::npos;
        for (size_t line = 0; line < Symbols.size(); ++line) {
            col = Symbols[line].find(caption[i]);
            if (col != std::string::npos) {
                row = int(line);
                break;
            }
        }
        if (row >= 0) {
            const int c = int(col);
            const TRect source = Rect(SkinTextRect.Left + SymbolWidth * c, SkinTextRect.Top + SymbolHeight * row,
                SkinTextRect.Left + SymbolWidth * (c + 1) - cut, SkinTextRect.Top + SymbolHeight * (row + 1));
            bitmap->Canvas()->CopyRect(
                Rect(cellLeft, top, cellLeft + SymbolWidth - cut, top + SymbolHeight), SkinPicture->Canvas(), source);
        }
        if (cut > 0)
            break;
    }
}

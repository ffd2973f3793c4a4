#include "skin/controls/SkinLinkLabels.h"

#include "framework/controls/ImgList.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "platform/shell/ShellExecute.h"
#include "platform/win/WinStyles.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/TspSkinData.h"

using namespace SkinLabels;

namespace {

// Opens an address with the desktop's default program. Nothing here is passed through a shell.
void OpenAddress(const std::string& url)
{
    ShellExecute(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The record index and the font values of a standard-label record of that name.
int LookUpLinkFont(const TspSkinDataLink& link, TspSkinLinkFontValues& values)
{
    const int index = link.ControlIndex();
    if (index < 0)
        return index;
    if (auto* record = dynamic_cast<TspDataSkinStdLabelControl*>(link.Skin()->ControlRecords[size_t(index)].get())) {
        values.SkinFontName = record->FontName;
        values.SkinFontStyle = record->FontStyle;
        values.SkinFontHeight = record->FontHeight;
        values.SkinFontColor = record->FontColor;
        values.SkinActiveFontColor = record->ActiveFontColor;
    }
    return index;
}

} // namespace

// ---- TspSkinLinkImage -------------------------------------------------------------------------------------------

TspSkinLinkImage::TspSkinLinkImage(TComponent* owner)
    : inherited(owner)
{
    SetAutoSize(true);
    SetCursor(crHandPoint);
}

void TspSkinLinkImage::Click()
{
    inherited::Click();
    // An empty address is handed over too; the shell finds nothing to open.
    OpenAddress(FURL);
}

// ---- TspSkinLinkLabel -------------------------------------------------------------------------------------------

TspSkinLinkLabel::TspSkinLinkLabel(TComponent* owner)
    : inherited(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetStyle({ fsUnderline });
    Font()->Assign(FDefaultFont.get());
    SetTransparent(true);
    SetCursor(crHandPoint);
}

void TspSkinLinkLabel::SetUseUnderLine(bool value)
{
    if (value == FUseUnderLine)
        return;
    FUseUnderLine = value;
    Repaint();
}

void TspSkinLinkLabel::SetSkinData(TspSkinData* value)
{
    FSkinLink.SetSkin(value);
    if (FSkinLink.Skin())
        ChangeSkinData();
}

void TspSkinLinkLabel::GetSkinData()
{
    SkinIndex = LookUpLinkFont(FSkinLink, SkinFont);
}

void TspSkinLinkLabel::ChangeSkinData()
{
    GetSkinData();
    Repaint();
}

void TspSkinLinkLabel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    FSkinLink.Forget(component, operation);
}

void TspSkinLinkLabel::Click()
{
    inherited::Click();
    if (!FURL.empty())
        OpenAddress(FURL);
}

void TspSkinLinkLabel::WndProc(TMessage& message)
{
    inherited::WndProc(message);
    if (ComponentState().Contains(csDesigning))
        return;
    if (message.Msg == CM_MOUSEENTER || message.Msg == CM_MOUSELEAVE) {
        FMouseInside = message.Msg == CM_MOUSEENTER;
        Repaint();
    }
}

void TspSkinLinkLabel::DoDrawText(TRect& rect, uint32_t flags)
{
    GetSkinData();
    std::string text = GetLabelText();
    if ((flags & DT_CALCRECT) && (text.empty() || (ShowAccelChar() && text == "&")))
        text += ' ';
    if (!ShowAccelChar())
        flags |= DT_NOPREFIX;
    flags = DrawTextBiDiModeFlags(flags);
    TFont* font = Canvas()->Font();
    if (SkinIndex == -1) {
        font->Assign(FUseSkinFont ? FDefaultFont.get() : Font());
        if (FMouseInside)
            font->SetColor(FDefaultActiveFontColor);
    } else {
        if (FUseSkinFont)
            ApplySkinFont(font, SkinFont);
        else
            font->Assign(Font());
        font->SetColor(FMouseInside ? SkinFont.SkinActiveFontColor : SkinFont.SkinFontColor);
    }
    ApplyCharset(font, FSkinLink.Skin(), FDefaultFont.get());
    // The underline follows UseUnderLine.
    TFontStyles style = font->Style();
    if (FUseUnderLine)
        style.Include(fsUnderline);
    else
        style.Exclude(fsUnderline);
    font->SetStyle(style);
    if (!Enabled() && !(flags & DT_CALCRECT))
        DrawDisabledText(Canvas(), text, rect, flags, FSkinLink.Skin(), SkinIndex != -1, false);
    else
        SkinLabels::DrawLabelText(Canvas(), text, rect, flags, false);
}

// ---- TspSkinButtonLabel -----------------------------------------------------------------------------------------

TspSkinButtonLabel::TspSkinButtonLabel(TComponent* owner)
    : inherited(owner)
    , FGlyph(std::make_unique<TBitmap>())
    , FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetHeight(14);
    FDefaultFont->SetStyle({});
    SetBounds(Left(), Top(), 100, 50);
}

void TspSkinButtonLabel::SetSkinData(TspSkinData* value)
{
    FSkinLink.SetSkin(value);
    if (FSkinLink.Skin())
        ChangeSkinData();
}

void TspSkinButtonLabel::ChangeSkinData()
{
    SkinIndex = LookUpLinkFont(FSkinLink, SkinFont);
    Repaint();
}

void TspSkinButtonLabel::SetImageList(TCustomImageList* value)
{
    if (FImageList)
        FImageList->RemoveFreeNotification(this);
    FImageList = value;
    if (FImageList)
        FImageList->FreeNotification(this);
    Repaint();
}

void TspSkinButtonLabel::SetImageIndex(int value)
{
    if (value == FImageIndex)
        return;
    FImageIndex = value;
    Repaint();
}

void TspSkinButtonLabel::SetWebStyle(bool value)
{
    FWebStyle = value;
    if (ComponentState().Contains(csDesigning))
        SetCursor(value ? crHandPoint : crDefault);
}

void TspSkinButtonLabel::SetGlyph(TBitmap* value)
{
    FGlyph->Assign(value);
    Repaint();
}

void TspSkinButtonLabel::SetNumGlyphs(int value)
{
    FNumGlyphs = value < 1 ? 1 : value;
    Repaint();
}

void TspSkinButtonLabel::SetMargin(int value)
{
    if (value < -1 || value == FMargin)
        return;
    FMargin = value;
    Repaint();
}

void TspSkinButtonLabel::SetSpacing(int value)
{
    if (value == FSpacing)
        return;
    FSpacing = value;
    Repaint();
}

void TspSkinButtonLabel::SetLayout(TspButtonLayout value)
{
    if (value == FLayout)
        return;
    FLayout = value;
    Repaint();
}

void TspSkinButtonLabel::SetDefaultFont(TFont* value)
{
    FDefaultFont->Assign(value);
    Repaint();
}

void TspSkinButtonLabel::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation != opRemove)
        return;
    FSkinLink.Forget(component, operation);
    if (component == FImageList)
        FImageList = nullptr;
}

void TspSkinButtonLabel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    Pressed = true;
    Repaint();
    inherited::MouseDown(button, shift, x, y);
}

void TspSkinButtonLabel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    Pressed = false;
    Repaint();
    inherited::MouseUp(button, shift, x, y);
}

void TspSkinButtonLabel::WndProc(TMessage& message)
{
    inherited::WndProc(message);
    if (ComponentState().Contains(csDesigning))
        return;
    if (message.Msg == CM_MOUSEENTER || message.Msg == CM_MOUSELEAVE) {
        MouseInside = message.Msg == CM_MOUSEENTER;
        Repaint();
    }
}

int TspSkinButtonLabel::GlyphCell() const
{
    if (Pressed && MouseInside && FNumGlyphs > 2)
        return 3;
    if (MouseInside && FNumGlyphs > 3)
        return 4;
    if (Enabled() || FNumGlyphs < 2)
        return 1;
    return 2;
}

void TspSkinButtonLabel::Paint()
{
    TCanvas* canvas = Canvas();
    TFont* font = canvas->Font();
    if (SkinIndex == -1) {
        font->Assign(FDefaultFont.get());
        if (MouseInside)
            font->SetColor(FDefaultActiveFontColor);
    } else {
        if (FUseSkinFont)
            ApplySkinFont(font, SkinFont);
        else
            font->Assign(FDefaultFont.get());
        font->SetColor(MouseInside ? SkinFont.SkinActiveFontColor : SkinFont.SkinFontColor);
    }
    ApplyCharset(font, FSkinLink.Skin(), FDefaultFont.get());
    if (FWebStyle) {
        TFontStyles style = font->Style();
        if (MouseInside)
            style.Include(fsUnderline);
        else
            style.Exclude(fsUnderline);
        font->SetStyle(style);
    }
    const bool down = Pressed && !FWebStyle;
    if (FImageList && FImageIndex >= 0 && FImageIndex < FImageList->Count())
        SkinCtrls::DrawImageAndText(canvas, ClientRect(), FMargin, FSpacing, FLayout, Caption(), FImageIndex,
            FImageList, down, Enabled(), false, clBlack);
    else
        SkinCtrls::DrawGlyphAndText(canvas, ClientRect(), FMargin, FSpacing, FLayout, Caption(), FGlyph.get(),
            FNumGlyphs, GlyphCell(), down, false, clBlack);
}

// TspSkinForm: the frame it draws around a frame-mode form: the skin's frame cut to the form's size with the
// objects on it (and dimmed by the skin's effect while the form is inactive), or the default frame of three
// rings and a striped caption without a skin; the default client background with its logo, the form icon, the
// default caption layout and the form's own border icons.
#include "framework/controls/TApplication.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TIcon.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/gdi/Icons.h"
#include "platform/gdi/Raster.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"
#include "skin/forms/SkinButtonObjects.h"
#include "skin/forms/SkinMainMenuItemObject.h"
#include "skin/forms/SkinTextObjects.h"
#include "skin/forms/TspSkinForm.h"

using namespace SPUtils;

namespace {

bool Designing(const TComponent* component)
{
    return component->ComponentState().Contains(csDesigning) || component->ComponentState().Contains(csLoading);
}

// A window DC taken for one painting call, or the caller's DC.
class TFrameDC {
public:
    TFrameDC(HWND window, HDC dc, bool useDC)
        : FWindow(useDC ? nullptr : window)
        , FDC(useDC ? dc : GetWindowDC(window))
    {
    }
    ~TFrameDC()
    {
        if (FWindow)
            ReleaseDC(FWindow, FDC);
    }
    TFrameDC(const TFrameDC&) = delete;
    TFrameDC& operator=(const TFrameDC&) = delete;
    HDC Handle() const { return FDC; }

private:
    HWND FWindow;
    HDC FDC;
};

void Blit(HDC dc, int x, int y, TBitmap* image)
{
    if (image->Empty())
        return;
    BitBlt(dc, x, y, image->Width(), image->Height(), image->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// The skin's effect for an inactive frame, on one border image; a value outside the table changes nothing.
void ApplyInActiveEffect(TBitmap* image, TspInActiveEffect effect)
{
    if (image->Empty())
        return;
    TspEffectBmp bitmap(image->Handle());
    switch (effect) {
    case ieBrightness:
        bitmap.ChangeBrightness(0.5);
        break;
    case ieDarkness:
        bitmap.ChangeDarkness(0.3);
        break;
    case ieGrayScale:
        bitmap.GrayScale();
        break;
    case ieNoise:
        bitmap.AddMonoNoise(50);
        break;
    case ieSplitBlur:
        bitmap.SplitBlur(1);
        break;
    case ieInvert:
        bitmap.Invert();
        break;
    default:
        return;
    }
    bitmap.Draw(image->Canvas()->Handle(), 0, 0);
}

} // namespace

// ---- The skinned frame ------------------------------------------------------------------------------------------

void TspSkinForm::PaintNCSkin(HDC dc, bool useDC)
{
    if (!CanNCSupport() || !FForm->HandleAllocated())
        return;
    if (LayoutWidth == 0)
        LayoutWidth = FForm->Width();
    if (LayoutHeight == 0)
        LayoutHeight = FForm->Height();
    if (LayoutWidth < GetMinWidth() || LayoutHeight < GetMinHeight())
        return;
    CalcRects();
    CalcAllRealObjectRect();
    const TspSkinData& s = *FSkinData;
    const bool active = GetFormActive();
    TBitmap* source = active || !s.InActivePicture || s.InActivePicture->Empty() ? s.Picture.get()
                                                                                 : s.InActivePicture.get();
    // Top, left, right and bottom: the frame's pictures change only with the size, the skin and the activation;
    // they are cut once and copied for each painting, since the objects draw on the copies.
    if (!FFrameImageValid || FFrameActive != active || FBorderCache[0]->Width() != LayoutWidth
        || FBorderCache[3]->Width() != LayoutWidth) {
        CreateSkinBorderImages(s.LeftTopPoint, s.RightTopPoint, s.LeftBottomPoint, s.RightBottomPoint, s.ClientRect,
            CurFramePoints[0], CurFramePoints[1], CurFramePoints[2], CurFramePoints[3], CurClientRect,
            FBorderCache[1].get(), FBorderCache[0].get(), FBorderCache[2].get(), FBorderCache[3].get(), source,
            Rect(0, 0, source->Width(), source->Height()), LayoutWidth, LayoutHeight, s.LeftStretch, s.TopStretch,
            s.RightStretch, s.BottomStretch);
        FFrameImageValid = true;
        FFrameActive = active;
    }
    TBitmap strips[4];
    for (int i = 0; i < 4; ++i)
        strips[i].Assign(FBorderCache[i].get());
    TBitmap& top = strips[0];
    TBitmap& left = strips[1];
    TBitmap& right = strips[2];
    TBitmap& bottom = strips[3];
    // Objects above the client top draw on the top image; all others on the bottom image, moved up to it, so
    // that objects in the side borders are not seen.
    const bool menuOnTop = MainMenuRect().Bottom <= CurClientRect.Top;
    for (auto& object : SkinObjects) {
        if (!object->Visible || !CanObjectTest(object->RollUp))
            continue;
        // A main-menu item lays itself out and moves itself onto the bottom image when it lies below the client.
        if (dynamic_cast<TspSkinMainMenuItem*>(object.get())) {
            object->Draw(menuOnTop ? top.Canvas() : bottom.Canvas(), false);
            continue;
        }
        if (object->ObjectRect.Bottom <= CurClientRect.Top) {
            object->Draw(top.Canvas(), false);
            continue;
        }
        const TRect saved = object->ObjectRect;
        object->ObjectRect.Top -= CurClientRect.Bottom;
        object->ObjectRect.Bottom -= CurClientRect.Bottom;
        object->Draw(bottom.Canvas(), false);
        object->ObjectRect = saved;
    }
    if (!active && s.AutoRenderingInActiveImage)
        for (TBitmap& strip : strips)
            ApplyInActiveEffect(&strip, s.InActiveEffect);
    TFrameDC target(FForm->Handle(), dc, useDC);
    const HDC out = target.Handle();
    const int saved = SaveDC(out);
    if (!IsNullRect(CurClientRect))
        ExcludeClipRect(out, CurClientRect.Left, CurClientRect.Top, CurClientRect.Right, CurClientRect.Bottom);
    Blit(out, 0, 0, &top);
    Blit(out, 0, top.Height(), &left);
    Blit(out, LayoutWidth - right.Width(), top.Height(), &right);
    Blit(out, 0, LayoutHeight - bottom.Height(), &bottom);
    RestoreDC(out, saved);
}

// ---- The default frame ------------------------------------------------------------------------------------------

int TspSkinForm::GetDefButtonSize() const
{
    const TFormBorderStyle border = FForm->BorderStyle();
    return border == bsToolWindow || border == bsSizeToolWin ? 13 : 17;
}

void TspSkinForm::CalcDefRects()
{
    if (SkinObjects.empty())
        return;
    const int width = LayoutWidth ? LayoutWidth : FForm->Width();
    DefCaptionRect = Rect(3, 3, width - 3, GetDefCaptionHeight());
    const int size = GetDefButtonSize();
    auto find = [this](TStdCommand command) -> TspSkinStdButtonObject* {
        for (auto& object : SkinObjects)
            if (auto* button = dynamic_cast<TspSkinStdButtonObject*>(object.get());
                button && button->Command == command && button->Visible && button->SkinRectInAPicture)
                return button;
        return nullptr;
    };
    int x = width - 3;
    for (TStdCommand command : { cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray })
        if (TspSkinStdButtonObject* button = find(command)) {
            button->ObjectRect = Rect(x - size, 4, x, 4 + size);
            x -= size;
        }
    DefCaptionRect.Right = x;
    if (TspSkinStdButtonObject* button = find(cmSysMenu)) {
        const TSize icon = FShowIcon ? GetIconSize() : TSize { size, size };
        button->ObjectRect = Bounds(DefCaptionRect.Left, 4, icon.cx, icon.cy);
        DefCaptionRect.Left = button->ObjectRect.Right;
    }
}

void TspSkinForm::CorrectCaptionText(TCanvas* canvas, std::string& text, int width)
{
    CorrectTextbyWidthW(canvas, text, width);
}

void TspSkinForm::PaintNCDefault(HDC dc, bool useDC)
{
    if (SkinDataChanging || !FForm->HandleAllocated())
        return;
    if (LayoutWidth == 0)
        LayoutWidth = FForm->Width();
    if (LayoutHeight == 0)
        LayoutHeight = FForm->Height();
    if (SkinObjects.empty() && !FFormSkinned)
        LoadDefObjects();
    CalcDefRects();
    const int captionHeight = GetDefCaptionHeight();
    const int stripWidth = LayoutWidth - 6;
    if (stripWidth <= 0 || LayoutHeight <= 0)
        return;
    TFrameDC target(FForm->Handle(), dc, useDC);
    const HDC out = target.Handle();
    TBitmap strip;
    strip.SetSize(stripWidth, captionHeight);
    TCanvas* canvas = strip.Canvas();
    const int l = DefCaptionRect.Left - 3;
    const int m = stripWidth - DefCaptionRect.Right;
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(0, 0, stripWidth, captionHeight));
    for (int y = 2; y <= captionHeight - 4; ++y) {
        canvas->Pen()->SetColor((y - 2) % 2 == 0 ? clBtnHighlight : clBtnShadow);
        canvas->MoveTo(l + 2, y);
        canvas->LineTo(stripWidth - m - 6, y);
    }
    const bool active = GetFormActive();
    canvas->Font()->Assign(active ? FDefCaptionFont.get() : FDefInActiveCaptionFont.get());
    const std::string caption = CaptionText();
    if (OnCaptionPaint) {
        OnCaptionPaint(canvas, Rect(l, 0, stripWidth - m - 3, captionHeight), active);
    } else if (!caption.empty()) {
        std::string text = caption;
        const int room = stripWidth - l - m;
        CorrectCaptionText(canvas, text, room);
        const int x = l + room / 2 - (CalcTextWidthW(canvas, text) + 5) / 2;
        const int y = captionHeight / 2 - CalcTextHeightW(canvas, text) / 2;
        TRect r = Rect(x, y, x, y);
        SPDrawSkinText(canvas, text, r, DT_CALCRECT);
        r = Rect(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2);
        canvas->FillRect(r);
        canvas->Brush()->SetStyle(bsClear);
        SPDrawSkinText(canvas, text, r, DT_VCENTER | FForm->DrawTextBiDiModeFlags(0));
    }
    for (auto& object : SkinObjects) {
        if (!object->Visible)
            continue;
        const TRect saved = object->ObjectRect;
        object->ObjectRect = Rect(saved.Left - 3, saved.Top - 3, saved.Right - 3, saved.Bottom - 3);
        object->Draw(canvas, true);
        object->ObjectRect = saved;
    }
    const int savedDC = SaveDC(out);
    ExcludeClipRect(out, 3, captionHeight + 3, LayoutWidth - 3, LayoutHeight - 3);
    BitBlt(out, 3, 3, stripWidth, captionHeight, canvas->Handle(), 0, 0, SRCCOPY);
    TCanvas frame;
    frame.SetHandle(out);
    const TColor rings[3][2]
        = { { cl3DLight, cl3DDkShadow }, { clBtnHighlight, clBtnShadow }, { clBtnFace, clBtnFace } };
    for (int i = 0; i < 3; ++i)
        Frm3D(&frame, Rect(i, i, LayoutWidth - i, LayoutHeight - i), rings[i][0], rings[i][1]);
    frame.SetHandle(nullptr);
    RestoreDC(out, savedDC);
}

// ---- The default client background and the logo -----------------------------------------------------------------

void TspSkinForm::PaintBGDefault(HDC dc)
{
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(FForm->ClientRect());
    if (!FLogoBitMap->Empty())
        DrawLogoBitMap(&canvas);
    canvas.SetHandle(nullptr);
}

void TspSkinForm::DrawLogoBitMap(TCanvas* canvas)
{
    const int x = std::max(0, FForm->ClientWidth() / 2 - FLogoBitMap->Width() / 2);
    const int y = std::max(0, FForm->ClientHeight() / 2 - FLogoBitMap->Height() / 2);
    if (FLogoBitMap->Transparent() != LogoBitMapTransparent)
        FLogoBitMap->SetTransparent(LogoBitMapTransparent);
    canvas->Draw(x, y, FLogoBitMap.get());
}

void TspSkinForm::SetLogoBitMap(const TBitmap* value)
{
    FLogoBitMap->Assign(const_cast<TBitmap*>(value));
}

// ---- The form icon ----------------------------------------------------------------------------------------------

TSize TspSkinForm::GetIconSize() const
{
    int width = GetSystemMetrics(SM_CXSMICON);
    int height = GetSystemMetrics(SM_CYSMICON);
    if (width == 0)
        width = GetSystemMetrics(SM_CXSIZE);
    if (height == 0)
        height = GetSystemMetrics(SM_CYSIZE);
    return TSize { width, height };
}

void TspSkinForm::GetIcon()
{
    // Made once: a later change of the form's icon is not followed.
    if (FFormIcon)
        return;
    FFormIcon = std::make_unique<TIcon>();
    TIcon* from = nullptr;
    if (!FForm->Icon()->Empty())
        from = FForm->Icon();
    else if (Application && !Application->Icon()->Empty())
        from = Application->Icon();
    if (from)
        FFormIcon->Assign(from);
}

void TspSkinForm::DrawFormIcon(TCanvas* canvas, int x, int y)
{
    GetIcon();
    if (FFormIcon->Empty())
        return;
    const TSize size = GetIconSize();
    DrawIconEx(canvas->Handle(), x, y, FFormIcon->Handle(), size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

// ---- Captions, border icons and the setters ---------------------------------------------------------------------

void TspSkinForm::SetDefaultCaptionText(const std::string& text)
{
    if (!FSkinData || FSkinData->Empty)
        return;
    for (auto& object : SkinObjects)
        if (auto* caption = dynamic_cast<TspSkinCaptionObject*>(object.get()); caption && caption->DefaultCaption)
            caption->SetTextValue(text);
}

void TspSkinForm::LoadBorderIcons()
{
    TBorderIcons icons;
    if (!HideCaptionButtons && !FSkinnableForm)
        icons.Include(biSystemMenu);
    if (FBorderIcons.Contains(TspBorderIcon::biMinimize))
        icons.Include(biMinimize);
    if (FBorderIcons.Contains(TspBorderIcon::biMaximize))
        icons.Include(biMaximize);
    FForm->SetBorderIcons(icons);
}

void TspSkinForm::SetBorderIcons(TspBorderIcons value)
{
    FBorderIcons = value;
    if ((FSupportNCArea || FFormSkinned) && !Designing(this)) {
        CheckObjects();
        FramePaint();
    }
}

void TspSkinForm::SetShowIcon(bool value)
{
    FShowIcon = value;
    if (!Designing(this))
        FramePaint();
}

void TspSkinForm::SetDefCaptionFont(const TFont* value)
{
    FDefCaptionFont->Assign(const_cast<TFont*>(value));
    if (!Designing(this) && !FFormSkinned)
        FramePaint();
}

void TspSkinForm::SetDefInActiveCaptionFont(const TFont* value)
{
    FDefInActiveCaptionFont->Assign(const_cast<TFont*>(value));
    if (!Designing(this) && !FFormSkinned)
        FramePaint();
}

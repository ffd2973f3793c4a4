#include "skin/controls/SkinCheckRadio.h"

#include "framework/controls/ActnList.h"
#include "framework/controls/ImgList.h"
#include "framework/controls/Menus.h"
#include "framework/controls/Messages.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinImageCache.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;
using namespace SkinControlSupport;

namespace {

constexpr int kMorphInterval = 20;

TRect Inflated(TRect r, int dx, int dy)
{
    return Rect(r.Left - dx, r.Top - dy, r.Right + dx, r.Bottom + dy);
}

} // namespace

TspSkinCheckRadioBox::TspSkinCheckRadioBox(TComponent* owner)
    : inherited(owner)
{
    // Clicks are the box's own: the framework's click on release would come on top of SetCheckState's.
    TControlStyle style = ControlStyle();
    style.Exclude(csClickEvents);
    SetControlStyle(style);
    SetSkinDataName("checkbox");
    SetBounds(Left(), Top(), 150, 25);
}

TspSkinCheckRadioBox::~TspSkinCheckRadioBox()
{
    StopMorph();
}

// ---- State -------------------------------------------------------------------------------------------------------

void TspSkinCheckRadioBox::SetChecked(bool value)
{
    FChecked = value;
    if (value)
        FState = cbChecked;
    else if (FState == cbChecked)
        FState = cbUnchecked;
    Repaint();
    if (value && FGroupIndex != 0)
        UnCheckAll();
    if (value || !FRadio)
        Click();
}

void TspSkinCheckRadioBox::SetState(TCheckBoxState value)
{
    FState = value;
    FChecked = value == cbChecked;
    Repaint();
    Click();
}

void TspSkinCheckRadioBox::UnCheckAll()
{
    TWinControl* parent = Parent();
    if (!parent)
        return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* box = dynamic_cast<TspSkinCheckRadioBox*>(parent->Controls(i));
        if (box && box != this && box->FGroupIndex == FGroupIndex && box->FChecked)
            box->SetChecked(false);
    }
}

void TspSkinCheckRadioBox::SetCheckState()
{
    if (!FRadio)
        SetChecked(!FChecked);
    else if (!FChecked)
        SetChecked(true);
}

void TspSkinCheckRadioBox::SetAllowGrayed(bool value)
{
    FAllowGrayed = value;
    Repaint();
}

void TspSkinCheckRadioBox::SetRadio(bool value)
{
    FRadio = value;
    if ((SkinIndex == -1 && DrawDefault()) || Designing())
        Repaint();
    if (Designing() && !ComponentState().Contains(csLoading)) {
        SetSkinDataName(value ? "radiobox" : "checkbox");
        FGroupIndex = value ? 1 : 0;
    }
}

void TspSkinCheckRadioBox::SetFlat(bool value)
{
    FFlat = value;
    Repaint();
}

void TspSkinCheckRadioBox::SetWordWrap(bool value)
{
    if (FWordWrap == value)
        return;
    FWordWrap = value;
    if (FFlat)
        Repaint();
}

void TspSkinCheckRadioBox::SetCanFocused(bool value)
{
    FCanFocused = value;
    SetTabStop(value);
}

void TspSkinCheckRadioBox::SetImages(TCustomImageList* value)
{
    if (FImages)
        FImages->RemoveFreeNotification(this);
    FImages = value;
    if (FImages)
        FImages->FreeNotification(this);
    Repaint();
}

void TspSkinCheckRadioBox::SetImageIndex(int value)
{
    FImageIndex = value;
    Repaint();
}

void TspSkinCheckRadioBox::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FImages)
        FImages = nullptr;
}

void TspSkinCheckRadioBox::ActionChange(TObject* sender, bool checkDefaults)
{
    inherited::ActionChange(sender, checkDefaults);
    if (auto* action = dynamic_cast<TCustomAction*>(sender); action && (!checkDefaults || !FChecked))
        SetChecked(action->Checked());
}

bool TspSkinCheckRadioBox::ImageShown() const
{
    return FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
}

// ---- The record --------------------------------------------------------------------------------------------------

void TspSkinCheckRadioBox::GetSkinData()
{
    inherited::GetSkinData();
    auto* record = SkinRecordAt<TspDataSkinCheckRadioControl>(SkinData(), SkinIndex);
    if (!record) {
        // A record of another class counts as none.
        SkinIndex = -1;
        return;
    }
    CaptionFont = RecordFont(record);
    ActiveFontColor = record->ActiveFontColor;
    UnEnabledFontColor = record->UnEnabledFontColor;
    FrameFontColor = record->FrameFontColor;
    Morphing = record->Morphing && !FFlat;
    MorphKind = record->MorphKind;
    ActiveSkinRect = IsNullRect(record->ActiveSkinRect) ? record->SkinRect : record->ActiveSkinRect;
    CheckImageArea = record->CheckImageArea;
    TextArea = record->TextArea;
    CheckImageRect = record->CheckImageRect;
    UnCheckImageRect = record->UnCheckImageRect;
    auto orElse = [](const TRect& r, const TRect& fallback) { return IsNullRect(r) ? fallback : r; };
    ActiveCheckImageRect = orElse(record->ActiveCheckImageRect, CheckImageRect);
    ActiveUnCheckImageRect = orElse(record->ActiveUnCheckImageRect, UnCheckImageRect);
    UnEnabledCheckImageRect = orElse(record->UnEnabledCheckImageRect, CheckImageRect);
    UnEnabledUnCheckImageRect = orElse(record->UnEnabledUnCheckImageRect, UnCheckImageRect);
    // The flat look has no window shape.
    if (FFlat)
        SkinMask = nullptr;
}

void TspSkinCheckRadioBox::CalcSize(int& width, int& height)
{
    inherited::CalcSize(width, height);
    if (SkinIndex == -1 || FFlat)
        return;
    const int dx = width - RectWidth(SkinRectangle);
    TextRect = TextArea;
    TextRect.Right += dx;
    TRect area = CheckImageArea;
    if (TextArea.Right < CheckImageArea.Right) {
        area.Left += dx;
        area.Right += dx;
    }
    const int w = RectWidth(CheckImageRect);
    const int h = RectHeight(CheckImageRect);
    const int left = area.Left + RectWidth(area) / 2 - w / 2;
    const int top = area.Top + RectHeight(area) / 2 - h / 2;
    CIRect = Rect(left, top, left + w, top + h);
}

void TspSkinCheckRadioBox::ChangeSkinData()
{
    if (FFlat) {
        // The skin never sizes a flat box.
        GetSkinData();
        Repaint();
        return;
    }
    StopMorph();
    inherited::ChangeSkinData();
    if (EnableMorphing() && SkinIndex != -1 && Active())
        FMorphKf = 1;
}

void TspSkinCheckRadioBox::CheckParentBackground()
{
    if (FFlat)
        Repaint();
}

// ---- Morph -------------------------------------------------------------------------------------------------------

bool TspSkinCheckRadioBox::EnableMorphing() const
{
    const TspSkinData* skin = SkinData();
    return Morphing && !FFlat && skin && !skin->Empty && skin->EnableSkinEffects();
}

bool TspSkinCheckRadioBox::MorphTimerRunning() const
{
    return FMorphTimer && FMorphTimer->Enabled();
}

void TspSkinCheckRadioBox::StartMorph()
{
    if (MorphTimerRunning())
        return;
    if (!FMorphTimer) {
        FMorphTimer = std::make_unique<TTimer>(nullptr);
        FMorphTimer->SetInterval(kMorphInterval);
        FMorphTimer->SetOnTimer([this](TObject* sender) { MorphTick(sender); });
    }
    FMorphTimer->SetEnabled(true);
}

void TspSkinCheckRadioBox::StopMorph()
{
    // The timer stays allocated: it may be the caller (a tick ends the morph).
    if (FMorphTimer)
        FMorphTimer->SetEnabled(false);
}

void TspSkinCheckRadioBox::MorphTick(TObject*)
{
    const bool active = Active();
    if (SkinIndex == -1 || !EnableMorphing()) {
        FMorphKf = active ? 1 : 0;
        StopMorph();
        return;
    }
    if (active && FMorphKf < 1) {
        // Added in extended precision and stored as a double: five steps stop just below 1, so the sixth tick
        // still steps (limited to 1) before the closing one.
        FMorphKf = std::min(1.0, static_cast<double>(static_cast<long double>(FMorphKf) + 0.2L));
    } else if (active || FMorphKf <= 0) {
        FMorphKf = active ? 1 : 0;
        StopMorph();
    } else {
        FMorphKf = std::max(0.0, static_cast<double>(static_cast<long double>(FMorphKf) - 0.2L));
    }
    Repaint();
}

void TspSkinCheckRadioBox::ReDrawControl()
{
    if (EnableMorphing() && SkinIndex != -1)
        StartMorph();
    else
        Invalidate();
}

// ---- Mouse and keys ----------------------------------------------------------------------------------------------

void TspSkinCheckRadioBox::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!FMouseIn) {
        FMouseIn = true;
        ReDrawControl();
    }
    inherited::MouseDown(button, shift, x, y);
}

void TspSkinCheckRadioBox::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    if (button != mbLeft || !FMouseIn)
        return;
    if (FAllowGrayed && !FRadio && FState == cbUnchecked) {
        FState = cbGrayed;
        Repaint();
        Click();
        return;
    }
    SetCheckState();
}

void TspSkinCheckRadioBox::CMDialogChar(TMessage& message)
{
    if (IsAccel(uint32_t(message.WParam), Caption()) && CanFocus() && FCanFocused) {
        SetFocus();
        SetCheckState();
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}

void TspSkinCheckRadioBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        // A flat box shows what lies behind it: only painting draws it.
        if (!InWMPaint && !FFlat)
            PaintWindow(reinterpret_cast<HDC>(message.WParam));
        message.Result = 1;
        return;
    case WM_MOVE:
        inherited::WndProc(message);
        Invalidate();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        inherited::WndProc(message);
        if (FCanFocused)
            ReDrawControl();
        return;
    case CM_DIALOGCHAR:
        CMDialogChar(message);
        return;
    case CM_TEXTCHANGED:
        inherited::WndProc(message);
        if (SkinIndex != -1 || Designing() || DrawDefault())
            Repaint();
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        if (!Designing()) {
            FMouseIn = message.Msg == CM_MOUSEENTER;
            ReDrawControl();
        }
        return;
    case CM_ENABLEDCHANGED:
        inherited::WndProc(message);
        if (EnableMorphing()) {
            StopMorph();
            FMorphKf = 0;
        }
        FMouseIn = false;
        Repaint();
        return;
    default:
        break;
    }
    if (FCanFocused) {
        if (message.Msg == WM_KEYUP && message.WParam == VK_SPACE && IsFocused())
            SetCheckState();
        if (DropClickWithoutFocus(this, message, FocusingByClick))
            return;
    }
    inherited::WndProc(message);
}

// ---- Painting ----------------------------------------------------------------------------------------------------

void TspSkinCheckRadioBox::Paint()
{
    if (Width() < 1 || Height() < 1)
        return;
    GetSkinData();
    if (!FFlat) {
        inherited::Paint();
        return;
    }
    TBitmap* image = FreshPaintImage(Width(), Height());
    GetParentImage(this, image->Canvas());
    PaintFlat(image->Canvas(), SkinIndex != -1 && SkinPicture);
    Canvas()->Draw(0, 0, image);
}

void TspSkinCheckRadioBox::DrawDefaultMark(TCanvas* canvas, int height)
{
    const int h2 = height / 2;
    Frm3D(canvas, Rect(3, h2 - 7, 17, h2 + 7), FMouseIn ? clNavy : clBtnShadow, FMouseIn ? clNavy : clBtnShadow);
    if (FState == cbGrayed && !FRadio) {
        DrawCheckImage(canvas, 7, h2 - 4, clGrayText);
        return;
    }
    if (!FChecked)
        return;
    const TColor color = Enabled() ? clBlack : clBtnShadow;
    if (FRadio)
        DrawRadioImage(canvas, 7, h2 - 3, color);
    else
        DrawCheckImage(canvas, 7, h2 - 4, color);
}

void TspSkinCheckRadioBox::DrawSkinMark(TCanvas* canvas, int x, int y, bool active)
{
    const bool marked = FChecked || FState == cbGrayed;
    TRect source;
    if (!Enabled())
        source = marked ? UnEnabledCheckImageRect : UnEnabledUnCheckImageRect;
    else if (active)
        source = marked ? ActiveCheckImageRect : ActiveUnCheckImageRect;
    else
        source = marked ? CheckImageRect : UnCheckImageRect;
    if (!SkinPicture || RectWidth(source) <= 0 || RectHeight(source) <= 0)
        return;
    const bool grayed = FState == cbGrayed;
    TspSkinImageKey key(TspSkinImageKind::CheckMark, SkinPicture);
    key.Add(source).Add(grayed);
    TBitmap scratch;
    TBitmap* mark = CachedSkinImage(SkinData() ? SkinData()->ImageCache() : nullptr, key, scratch, [&](TBitmap* image) {
        image->SetSize(RectWidth(source), RectHeight(source));
        image->Canvas()->CopyRect(Rect(0, 0, image->Width(), image->Height()), SkinPicture->Canvas(), source);
        if (grayed) {
            TspEffectBmp lighter(image->Handle());
            lighter.ChangeBrightness(0.5);
            lighter.Draw(image->Canvas()->Handle(), 0, 0);
        }
        // The mark images leave out the colour of their bottom-left pixel.
        image->SetTransparentMode(tmAuto);
        image->SetTransparent(true);
    });
    canvas->Draw(x, y, mark);
}

void TspSkinCheckRadioBox::DrawFlatCaption(TCanvas* canvas, int left, int imageGap, TColor focusBrush)
{
    const std::string& text = Caption();
    const int h = Height();
    const bool image = ImageShown();
    const int imageWidth = image ? FImages->Width() : 0;
    TRect r;
    if (!FWordWrap) {
        r = Rect(0, 0, 0, 0);
        SkinLabels::DrawLabelText(canvas, text, r, DT_CALCRECT | DT_SINGLELINE, false);
        const int textWidth = RectWidth(r);
        const int textHeight = RectHeight(r);
        r.Left = left;
        r.Right = std::min(left + textWidth, Width() - 2);
        r.Top = h / 2 - textHeight / 2;
        r.Bottom = r.Top + textHeight;
    } else {
        r = Rect(left + (image ? imageWidth : 0), 0, Width(), h);
        SkinLabels::DrawLabelText(canvas, text, r, DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK, false);
        const int textHeight = RectHeight(r);
        r.Top = std::max(0, h / 2 - textHeight / 2);
        r.Bottom = r.Top + textHeight;
    }
    TRect imageRect;
    if (image) {
        const int y = h / 2 - FImages->Height() / 2;
        imageRect = Rect(r.Left, y, r.Left + imageWidth, y + FImages->Height());
        FImages->Draw(canvas, r.Left, y, FImageIndex, Enabled());
        r.Left += imageWidth + imageGap;
        r.Right += imageWidth + imageGap;
    }
    canvas->Brush()->SetStyle(bsClear);
    if (!FWordWrap) {
        SPDrawText(canvas, text, r);
    } else {
        TRect wrapped = r;
        SkinLabels::DrawLabelText(canvas, text, wrapped, DT_EXPANDTABS | DT_WORDBREAK, false);
    }
    if (!IsFocused())
        return;
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(focusBrush);
    if (!text.empty()) {
        TRect focus = Inflated(r, 2, 1);
        if (!FWordWrap)
            ++focus.Right;
        canvas->DrawFocusRect(focus);
    } else if (image) {
        canvas->DrawFocusRect(Inflated(imageRect, 1, 1));
    }
}

void TspSkinCheckRadioBox::PaintFlat(TCanvas* canvas, bool skinned)
{
    TFont* font = canvas->Font();
    canvas->Brush()->SetStyle(bsClear);
    if (!skinned) {
        font->Assign(DefaultFont());
        SkinLabels::ApplyCharset(font, SkinData(), DefaultFont());
        if (!Enabled())
            font->SetColor(clBtnShadow);
        DrawFlatCaption(canvas, 22, 5, clBtnFace);
        DrawDefaultMark(canvas, Height());
        return;
    }
    const int markWidth = RectWidth(CheckImageRect);
    DrawSkinMark(canvas, 3, Height() / 2 - RectHeight(CheckImageRect) / 2, FMouseIn);
    ApplyCaptionFont(font, CaptionFont, UseSkinFont(), DefaultFont(), SkinData());
    font->SetColor(Enabled() ? FrameFontColor : UnEnabledFontColor);
    DrawFlatCaption(canvas, markWidth + 7, 8, SkinData()->Colors->cBtnFace);
}

void TspSkinCheckRadioBox::DrawFace(TBitmap* bitmap, bool active)
{
    int width = Width();
    int height = Height();
    CalcSize(width, height);
    CreateSkinControlImage(bitmap, SkinPicture, active ? ActiveSkinRect : SkinRectangle);
    TCanvas* canvas = bitmap->Canvas();
    // The face is active while hovered or focused; the mark is hot only under the mouse.
    DrawSkinMark(canvas, CIRect.Left, CIRect.Top, FMouseIn);
    TFont* font = canvas->Font();
    ApplyCaptionFont(font, CaptionFont, UseSkinFont(), DefaultFont(), SkinData());
    if (!Enabled())
        font->SetColor(UnEnabledFontColor);
    else
        font->SetColor(active ? ActiveFontColor : CaptionFont.Color);
    canvas->Brush()->SetStyle(bsClear);
    SPDrawText(canvas, Caption(), TextRect);
}

void TspSkinCheckRadioBox::CreateControlSkinImage(TBitmap* bitmap)
{
    if (EnableMorphing() && FMorphKf > 0 && FMorphKf < 1) {
        TBitmap active;
        active.SetSize(bitmap->Width(), bitmap->Height());
        DrawFace(bitmap, false);
        DrawFace(&active, true);
        TspEffectBmp blend(bitmap->Handle());
        const TspEffectBmp target(active.Handle());
        MorphByKind(blend, target, MorphKind, FMorphKf);
        blend.Draw(bitmap->Canvas()->Handle(), 0, 0);
        return;
    }
    DrawFace(bitmap, Active());
}

void TspSkinCheckRadioBox::CreateControlDefaultImage(TBitmap* bitmap)
{
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(ClientRect());
    if (Active())
        Frm3D(canvas, ClientRect(), clBtnShadow, clBtnShadow);
    TFont* font = canvas->Font();
    font->Assign(DefaultFont());
    if (!Enabled())
        font->SetColor(clBtnShadow);
    canvas->Brush()->SetStyle(bsClear);
    SPDrawText(canvas, Caption(), Rect(19, 0, Width(), Height()));
    DrawDefaultMark(canvas, Height());
}

#include "skin/menus/TspSkinHint.h"

#include "framework/controls/Forms.h"
#include "framework/controls/TTimer.h"
#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/Raster.h"
#include "platform/gdi/Text.h"
#include "platform/win/Cursors.h"
#include "platform/win/WinSystem.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspResourceStrData.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

namespace {

// The HINTWINDOW picture of a loaded skin, or null (the default look).
TBitmap* HintPicture(TspSkinData* skin)
{
    if (!skin || skin->Empty || !skin->HintWindow)
        return nullptr;
    return LoadedSkinPictureAt(skin, skin->HintWindow->WindowPictureIndex);
}

TBitmap* HintMask(TspSkinData* skin)
{
    return LoadedSkinPictureAt(skin, skin->HintWindow->MaskPictureIndex);
}

// The application's OnShowHint while a TspSkinHint forwards it; a type of its own so that the component can
// tell whether the handler installed is its own.
struct THintForwarder {
    TspSkinHint* Hint;
    void operator()(std::string& hintStr, bool& canShow, THintInfo& hintInfo) const
    {
        if (Hint->OnShowHint)
            Hint->OnShowHint(hintStr, canShow, hintInfo);
    }
};

} // namespace

// ---- TspSkinHintWindow ------------------------------------------------------------------------------------------

TspSkinHintWindow::TspSkinHintWindow(TComponent* owner)
    : THintWindow(owner)
{
}

TspSkinHintWindow::~TspSkinHintWindow() = default;

void TspSkinHintWindow::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style &= ~WS_BORDER;
    if (CheckWXP())
        params.WindowClass.style |= CS_DROPSHADOW;
}

TspSkinHint* TspSkinHintWindow::FindHintComponent()
{
    TCustomForm* form = Application ? Application->MainForm() : nullptr;
    if (!form)
        return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* hint = dynamic_cast<TspSkinHint*>(form->Components(i)); hint && hint->Active())
            return hint;
    return nullptr;
}

void TspSkinHintWindow::SetupFont(TCanvas* canvas) const
{
    TFont* font = canvas->Font();
    TFont* defaultFont = HintComponent->DefaultFont();
    if (HintSkin && HintComponent->UseSkinFont) {
        const TspDataSkinHintWindow* record = HintSkin->HintWindow.get();
        font->SetHeight(record->FontHeight);
        font->SetName(record->FontName);
        font->SetStyle(record->FontStyle);
    } else {
        font->Assign(defaultFont);
    }
    TspSkinData* skin = HintComponent->SkinData();
    font->SetCharset(skin && skin->ResourceStrData() ? skin->ResourceStrData()->CharSet() : defaultFont->Charset());
}

void TspSkinHintWindow::CalcHintSize(TCanvas* canvas, const std::string& text, int& height, int& width)
{
    TRect r(0, 0, 0, 0);
    SPDrawSkinText(canvas, text, r, DT_CALCRECT);
    if (!HintSkin) {
        width = RectWidth(r) + 4;
        height = RectHeight(r) + 4;
        return;
    }
    const TspDataSkinHintWindow* record = HintSkin->HintWindow.get();
    TBitmap* picture = HintPicture(HintSkin);
    const int pw = picture->Width();
    const int ph = picture->Height();
    const TRect& client = record->ClientRect;
    width = std::max(RectWidth(r) + client.Left + pw - client.Right, pw);
    height = std::max(RectHeight(r) + client.Top + ph - client.Bottom, ph);
    NewClRect = TRect(client.Left, client.Top, client.Right + width - pw, client.Bottom + height - ph);
    NewLTPoint = record->LeftTopPoint;
    NewRTPoint = TPoint { record->RightTopPoint.X + width - pw, record->RightTopPoint.Y };
    NewLBPoint = TPoint { record->LeftBottomPoint.X, record->LeftBottomPoint.Y + height - ph };
    NewRBPoint = TPoint { record->RightBottomPoint.X + width - pw, record->RightBottomPoint.Y + height - ph };
}

void TspSkinHintWindow::ActivateHint(const TRect& rect, const std::string& hint)
{
    HintComponent = FindHintComponent();
    if (!HintComponent || !HintComponent->Active())
        return;
    HintSkin = HintPicture(HintComponent->SkinData()) ? HintComponent->SkinData() : nullptr;
    SetupFont(Canvas());
    SetCaption(hint);
    int width = 0;
    int height = 0;
    CalcHintSize(Canvas(), hint, height, width);
    TRect r(rect.Left, rect.Top, rect.Left + width, rect.Top + height);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (r.Right > screenWidth) {
        r.Left -= width + 2;
        r.Right -= width + 2;
    }
    if (r.Bottom > screenHeight) {
        r.Top -= height + 2;
        r.Bottom -= height + 2;
    }
    SetBoundsRect(r);
    if (HintComponent->AlphaBlendSupport()) {
        if (HintComponent->AlphaBlend != FAlphaApplied) {
            const LONG exStyle = GetWindowLong(Handle(), GWL_EXSTYLE);
            if (FAlphaApplied) {
                SetWindowLong(Handle(), GWL_EXSTYLE, exStyle & ~LONG(WS_EX_LAYERED));
            } else {
                SetWindowLong(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
                SetAlphaBlendTransparent(Handle(), HintComponent->AlphaBlendValue);
                FAlphaValueApplied = HintComponent->AlphaBlendValue;
            }
            FAlphaApplied = HintComponent->AlphaBlend;
        }
        if (HintComponent->AlphaBlend && HintComponent->AlphaBlendValue != FAlphaValueApplied) {
            SetAlphaBlendTransparent(Handle(), HintComponent->AlphaBlendValue);
            FAlphaValueApplied = HintComponent->AlphaBlendValue;
        }
    } else if (HintComponent->AlphaBlend) {
        FSnapshot = std::make_unique<TBitmap>();
        FSnapshot->SetPixelFormat(pf24bit);
        FSnapshot->SetSize(width, height);
        GetScreenImage(r.Left, r.Top, FSnapshot.get());
    }
    SetHintWindowRegion();
    SetWindowPos(Handle(), HWND_TOPMOST, r.Left, r.Top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    FVisible = true;
    Invalidate();
}

void TspSkinHintWindow::SetHintWindowRegion()
{
    TBitmap* mask = HintSkin ? HintMask(HintSkin) : nullptr;
    if (!mask) {
        if (FRegionSet)
            SetWindowRgn(Handle(), nullptr, FALSE);
        FRegionSet = false;
        return;
    }
    const TspDataSkinHintWindow* record = HintSkin->HintWindow.get();
    HRGN region = nullptr;
    CreateSkinRegion(region, record->LeftTopPoint, record->RightTopPoint, record->LeftBottomPoint,
        record->RightBottomPoint, record->ClientRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, mask,
        Width(), Height());
    SetWindowRgn(Handle(), region, FALSE); // the window owns the region from here on
    FRegionSet = region != nullptr;
}

void TspSkinHintWindow::Paint()
{
    if (!HintComponent)
        return;
    const int w = Width();
    const int h = Height();
    TBitmap buffer;
    buffer.SetSize(w, h);
    TCanvas* c = buffer.Canvas();
    SetupFont(c);
    const std::string text = Caption();
    if (TBitmap* picture = HintSkin ? HintPicture(HintSkin) : nullptr) {
        const TspDataSkinHintWindow* record = HintSkin->HintWindow.get();
        CreateSkinImageBS(record->LeftTopPoint, record->RightTopPoint, record->LeftBottomPoint,
            record->RightBottomPoint, record->ClientRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
            &buffer, picture, TRect(0, 0, picture->Width(), picture->Height()), w, h, true, record->LeftStretch,
            record->TopStretch, record->RightStretch, record->BottomStretch, record->StretchEffect,
            record->StretchType);
        TRect measured(0, 0, 0, 0);
        SPDrawSkinText(c, text, measured, DT_CALCRECT);
        const int left = NewClRect.Left + RectWidth(NewClRect) / 2 - RectWidth(measured) / 2;
        const int top = NewClRect.Top + RectHeight(NewClRect) / 2 - RectHeight(measured) / 2;
        TRect r(left, top, left + RectWidth(measured), top + RectHeight(measured));
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(record->FontColor);
        SPDrawSkinText(c, text, r, 0);
    } else {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clInfoBk);
        c->FillRect(TRect(0, 0, w, h));
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(TRect(0, 0, w, h));
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(clInfoText);
        TRect r(2, 2, w - 2, h - 2);
        SPDrawSkinText(c, text, r, 0);
    }
    if (HintComponent->AlphaBlend && !HintComponent->AlphaBlendSupport() && FSnapshot) {
        TspEffectBmp image(buffer.Handle());
        const TspEffectBmp under(FSnapshot->Handle());
        image.Morph(&under, 1.0 - HintComponent->AlphaBlendValue / 255.0);
        image.Draw(c->Handle(), 0, 0);
    }
    BitBlt(Canvas()->Handle(), 0, 0, w, h, c->Handle(), 0, 0, SRCCOPY);
}

void TspSkinHintWindow::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        break;
    case WM_NCPAINT:
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}

// ---- TspSkinHint ------------------------------------------------------------------------------------------------

TspSkinHint::TspSkinHint(TComponent* owner)
    : TComponent(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    FHintWindow = new TspSkinHintWindow(this);
    FHintTimer = new TTimer(this);
    FHintTimer->SetEnabled(false);
    FHintTimer->SetOnTimer([this](TObject*) { TimerShow(); });
    HintWindowClass = [](TComponent* windowOwner) -> THintWindow* { return new TspSkinHintWindow(windowOwner); };
    if (Application) {
        // Turning hints off and on makes the application's hint window anew, of the new class.
        Application->SetShowHint(!Application->ShowHint());
        Application->SetShowHint(!Application->ShowHint());
        Application->SetHintShortPause(100);
    }
    InstallForwarder();
    if (!CheckW2KWXP())
        FAlphaBlendSupport = false;
}

TspSkinHint::~TspSkinHint()
{
    FHintTimer->SetEnabled(false);
    // The forwarder would call into a deleted component.
    if (Application)
        if (const auto* forwarder = Application->OnShowHint.target<THintForwarder>();
            forwarder && forwarder->Hint == this)
            Application->OnShowHint = nullptr;
}

void TspSkinHint::InstallForwarder()
{
    if (!Application)
        return;
    Application->OnShowHint = THintForwarder { this };
}

void TspSkinHint::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FSkinData)
        FSkinData = nullptr;
}

void TspSkinHint::SetActive(bool value)
{
    FActive = value;
    if (!value)
        return;
    if (TCustomForm* form = Application ? Application->MainForm() : nullptr)
        for (int i = 0; i < form->ComponentCount(); ++i)
            if (auto* other = dynamic_cast<TspSkinHint*>(form->Components(i)); other && other != this)
                other->FActive = false;
    InstallForwarder();
}

void TspSkinHint::SetSkinData(TspSkinData* value)
{
    FSkinData = value;
    if (value)
        value->FreeNotification(this);
}

void TspSkinHint::SetDefaultFont(TFont* value)
{
    FDefaultFont->Assign(value);
}

void TspSkinHint::SetAlphaBlendSupport(bool value)
{
    FAlphaBlendSupport = value && CheckW2KWXP();
}

void TspSkinHint::StopTimer()
{
    FHintTimer->SetEnabled(false);
    FHintShown = false;
}

void TspSkinHint::ActivateHint(TPoint p, const std::string& text)
{
    FHintWindow->ActivateHint(TRect(p.X, p.Y, p.X, p.Y), text);
}

void TspSkinHint::ActivateHint2(const std::string& text)
{
    StopTimer();
    FHintText = text;
    FHintTimer->SetInterval(uint32_t(Application ? Application->HintPause() : 500));
    FHintTimer->SetEnabled(true);
}

void TspSkinHint::TimerShow()
{
    if (FHintShown) {
        HideHint();
        return;
    }
    FHintTimer->SetEnabled(false);
    POINT cursor {};
    GetCursorPos(&cursor);
    const TPoint p { cursor.x, cursor.y + GetCursorHeightMargin() };
    FHintWindow->ActivateHint(TRect(p.X, p.Y, p.X, p.Y), FHintText);
    FHintShown = true;
    FHintTimer->SetInterval(uint32_t(Application ? Application->HintHidePause() : 2500));
    FHintTimer->SetEnabled(true);
}

void TspSkinHint::HideHint()
{
    StopTimer();
    if (!IsVisible())
        return;
    FHintWindow->SetVisible(false);
    SetWindowPos(
        FHintWindow->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOMOVE);
}

bool TspSkinHint::IsVisible() const
{
    return FHintWindow->HandleAllocated() && IsWindowVisible(FHintWindow->Handle());
}

int TspSkinHint::GetCursorHeightMargin() const
{
    // The rows below the hot spot down to the last row the cursor shows; a cursor whose image cannot be read
    // counts with the system's whole cursor height.
    TCursorImage image;
    if (!GetCursorImage(GetCursor(), image) || !image.IsValid())
        return GetSystemMetrics(SM_CYCURSOR);
    int last = -1;
    for (int y = image.Height - 1; y >= 0 && last < 0; --y)
        for (int x = 0; x < image.Width; ++x) {
            const size_t i = size_t(y) * size_t(image.Width) + size_t(x);
            if (image.Mask[i] == 0 || (image.HasAlpha && (image.Pixels[i] >> 24) != 0)) {
                last = y;
                break;
            }
        }
    return last + 1 - image.HotSpot.y;
}

#include "skin/core/SkinCtrls.h"

#include "framework/controls/TWinControl.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/win/Windows.h"
#include "skin/core/SPUtils.h"
#include "skin/core/SkinMessages.h"
#include "skin/core/TspEffectBmp.h"
#include "skin/core/TspSkinData.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

// Puts a kept bitmap back into the state of a new one of its size and format: every row `whiteRow` (the pixels
// of a new bitmap), the canvas's tools and copy mode as a new canvas has them, and no device context, so that
// the next drawing starts on a new one.
void ResetToFresh(TBitmap* image, const std::vector<uint32_t>& whiteRow)
{
    const size_t rowBytes = whiteRow.size() * sizeof(uint32_t);
    for (int y = 0; y < image->Height(); ++y)
        std::memcpy(image->ScanLine(y), whiteRow.data(), rowBytes);
    TCanvas* canvas = image->Canvas();
    ResetCanvasTools(canvas);
    canvas->MoveTo(0, 0);
    // Handing out the bitmap's handle lets the canvas go of its DC, with whatever state drawing left in it.
    image->Handle();
}

} // namespace

void ResetCanvasTools(TCanvas* canvas)
{
    static const TFont newFont;
    static const TPen newPen;
    static const TBrush newBrush;
    canvas->SetFont(const_cast<TFont*>(&newFont));
    canvas->SetPen(const_cast<TPen*>(&newPen));
    canvas->SetBrush(const_cast<TBrush*>(&newBrush));
    canvas->SetCopyMode(cmSrcCopy);
}

int CenteredTopInToolBar(TControl* parent, int top, int height, bool always)
{
    const auto* toolBar = dynamic_cast<const TspSkinToolBarLayout*>(parent);
    if (!toolBar || !(always || toolBar->AdjustControls()))
        return top;
    const TRect r = toolBar->GetSkinClientRect();
    return r.Top + SPUtils::RectHeight(r) / 2 - height / 2;
}

template <class Base>
TspSkinControlRoot<Base>::TspSkinControlRoot(TComponent* owner)
    : Base(owner)
{
}

template <class Base> bool TspSkinControlRoot<Base>::SkinReady() const
{
    return FSkinData && !FSkinData->Empty;
}

template <class Base> void TspSkinControlRoot<Base>::SetSkinData(TspSkinData* value)
{
    // The skins belong to another owner than the controls, so the link is watched: deleting the skin first
    // must not leave a dangling pointer behind.
    if (FSkinData != value) {
        if (FSkinData)
            FSkinData->RemoveFreeNotification(this);
        FSkinData = value;
        if (FSkinData)
            FSkinData->FreeNotification(this);
    }
    if (SkinReady() && !Designing())
        ChangeSkinData();
}

template <class Base> void TspSkinControlRoot<Base>::SetAlphaBlend(bool value)
{
    FAlphaBlend = value;
    this->Repaint();
}

template <class Base> void TspSkinControlRoot<Base>::SetAlphaBlendValue(uint8_t value)
{
    FAlphaBlendValue = value;
    this->Repaint();
}

template <class Base> void TspSkinControlRoot<Base>::GetSkinData()
{
    SkinIndex = SkinReady() ? FSkinData->GetControlIndex(FSkinDataName) : -1;
}

template <class Base> void TspSkinControlRoot<Base>::ApplySkinCursor()
{
    if (!FUseSkinCursor)
        return;
    if (SkinCursorIndex == -1 || !FSkinData)
        this->SetCursor(crDefault);
    else
        this->SetCursor(static_cast<TCursor>(FSkinData->StartCursorIndex + SkinCursorIndex));
}

template <class Base> void TspSkinControlRoot<Base>::ChangeSkinData()
{
    GetSkinData();
    ApplySkinCursor();
    this->Repaint();
}

template <class Base> TspSkinControlRoot<Base>::~TspSkinControlRoot() = default;

template <class Base> TBitmap* TspSkinControlRoot<Base>::FreshPaintImage(int width, int height)
{
    // A new size, or a descendant that changed more of the image than its pixels and tools, takes a new bitmap
    // (a resized one would keep its old pixels in a corner). A look may have resized the image to its skin's
    // size, so the white row is checked too.
    if (!FPaintImage || FPaintImage->Width() != width || FPaintImage->Height() != height
        || FWhiteRow.size() != static_cast<size_t>(width) || FPaintImage->PixelFormat() != pfDevice
        || FPaintImage->Transparent()
        || FPaintImage->TransparentMode() != tmAuto) {
        FPaintImage = std::make_unique<TBitmap>();
        FPaintImage->SetSize(width, height);
        // White, as every new bitmap is: its rows are the pattern of later resets.
        const auto* row = static_cast<const uint32_t*>(FPaintImage->ScanLine(0));
        FWhiteRow.assign(row, row + width);
        return FPaintImage.get();
    }
    ResetToFresh(FPaintImage.get(), FWhiteRow);
    return FPaintImage.get();
}

template <class Base> bool TspSkinControlRoot<Base>::PaintSkinStraight(TCanvas*)
{
    return false;
}

template <class Base> void TspSkinControlRoot<Base>::Paint()
{
    const int width = this->Width();
    const int height = this->Height();
    if (width <= 0 || height <= 0)
        return;
    GetSkinData();
    if (SkinIndex != -1 && !FAlphaBlend && PaintSkinStraight(this->Canvas()))
        return;
    // The image is kept from paint to paint and made as new again: the looks draw on it as on a new bitmap.
    TBitmap* image = FreshPaintImage(width, height);
    if (SkinIndex != -1)
        CreateControlSkinImage(image);
    else if (FDrawDefault)
        CreateControlDefaultImage(image);
    TCanvas* canvas = this->Canvas();
    if (!FAlphaBlend) {
        canvas->Draw(0, 0, image);
        return;
    }
    auto background = std::make_unique<TBitmap>();
    background->SetSize(width, height);
    SPUtils::GetParentImage(this, background->Canvas());
    TspEffectBmp controlImage(image->Handle());
    const TspEffectBmp backgroundImage(background->Handle());
    // The control keeps the weight AlphaBlendValue / 255.
    controlImage.Morph(&backgroundImage, 1.0 - FAlphaBlendValue / 255.0);
    controlImage.Draw(canvas->Handle(), 0, 0);
}

template <class Base> void TspSkinControlRoot<Base>::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FSkinData)
        FSkinData = nullptr;
}

template <class Base> void TspSkinControlRoot<Base>::WMEraseBkgnd(TMessage& message)
{
    // The control image covers the whole control: nothing is erased under it.
    message.Result = 1;
}

template <class Base> void TspSkinControlRoot<Base>::WMMOVE(TMessage&)
{
    // What lies behind a blended control changed with the move.
    if (FAlphaBlend)
        this->Repaint();
}

template <class Base> void TspSkinControlRoot<Base>::CMMouseEnter(TMessage& message)
{
    inherited::WndProc(message);
    if (OnMouseEnter && !Designing())
        OnMouseEnter(this);
}

template <class Base> void TspSkinControlRoot<Base>::CMMouseLeave(TMessage& message)
{
    inherited::WndProc(message);
    if (OnMouseLeave && !Designing())
        OnMouseLeave(this);
}

template <class Base> void TspSkinControlRoot<Base>::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        WMEraseBkgnd(message);
        break;
    case CM_MOUSEENTER:
        CMMouseEnter(message);
        break;
    case CM_MOUSELEAVE:
        CMMouseLeave(message);
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}

template class TspSkinControlRoot<TCustomControl>;
template class TspSkinControlRoot<TGraphicControl>;

// ---- TspSkinControl ---------------------------------------------------------------------------------------------

TspSkinControl::TspSkinControl(TComponent* owner)
    : inherited(owner)
{
}

// The window deletes the region it was given; nothing else is held.
TspSkinControl::~TspSkinControl() = default;

void TspSkinControl::CheckParentBackground()
{
    if (!AlphaBlend())
        return;
    Repaint();
    CheckControlsBackground();
}

void TspSkinControl::CheckControlsBackground()
{
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            SendMessage(windowed->Handle(), WM_CHECKPARENTBG, 0, 0);
        else
            child->Perform(WM_CHECKPARENTBG, 0, 0);
    }
}

void TspSkinControl::PaintOnErase(TMessage& message)
{
    if (!InWMPaint)
        PaintWindow(reinterpret_cast<HDC>(message.WParam));
    message.Result = 1;
}

void TspSkinControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        InWMPaint = true;
        try {
            inherited::WndProc(message);
        } catch (...) {
            InWMPaint = false;
            throw;
        }
        InWMPaint = false;
        break;
    case WM_MOVE:
        inherited::WndProc(message);
        WMMOVE(message);
        break;
    case WM_CHECKPARENTBG:
        CheckParentBackground();
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}

// ---- TspGraphicSkinControl --------------------------------------------------------------------------------------

TspGraphicSkinControl::TspGraphicSkinControl(TComponent* owner)
    : inherited(owner)
{
}

void TspGraphicSkinControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    // A windowless control hears of its move as WM_WINDOWPOSCHANGED.
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED:
        inherited::WndProc(message);
        WMMOVE(message);
        break;
    case WM_CHECKPARENTBG:
        if (AlphaBlend())
            Repaint();
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}

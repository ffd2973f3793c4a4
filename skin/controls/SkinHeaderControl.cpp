#include "skin/controls/SkinHeaderControl.h"

#include "framework/controls/ImgList.h"
#include "framework/controls/Messages.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/controls/HeaderControl.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinLabels.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;
using namespace SkinHeaderFaces;

namespace {

// The gap between a section's image and its caption.
constexpr int kImageGap = 10;

} // namespace

TspSkinHeaderControl::TspSkinHeaderControl(TComponent* owner)
    : inherited(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(14);
}

TspSkinHeaderControl::~TspSkinHeaderControl() = default;

void TspSkinHeaderControl::SetSkinData(TspSkinData* value)
{
    FSkinLink.SetSkin(value);
    if (value && !value->Empty && !Designing())
        ChangeSkinData();
}

void TspSkinHeaderControl::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    FSkinLink.Forget(component, operation);
}

void TspSkinHeaderControl::GetSkinData()
{
    SkinIndex = FSkinLink.ControlIndex();
    // A record of another kind leaves the header without a picture: the default look.
    if (SkinIndex != -1 && !ReadHeaderFace(SkinData(), SkinIndex, FFace))
        SkinIndex = -1;
}

void TspSkinHeaderControl::ChangeSkinData()
{
    GetSkinData();
    if (Skinned() && !FFace.NinePart())
        SetHeight(RectHeight(FFace.SkinRect));
    else if (!Skinned() && FDefaultHeight != 0)
        SetHeight(FDefaultHeight);
    Invalidate();
}

void TspSkinHeaderControl::SetDefaultHeight(int value)
{
    FDefaultHeight = value;
    GetSkinData();
    if (!Skinned() && value > 0)
        SetHeight(value);
}

void TspSkinHeaderControl::SetDefaultFont(TFont* value)
{
    FDefaultFont->Assign(value);
    GetSkinData();
    if (!Skinned())
        Font()->Assign(value);
}

void TspSkinHeaderControl::SetBounds(int left, int top, int width, int height)
{
    GetSkinData();
    if (height != Height()) {
        if (Skinned() && !FFace.NinePart())
            height = RectHeight(FFace.SkinRect);
        else if (!Skinned() && FDefaultHeight != 0)
            height = FDefaultHeight;
    }
    inherited::SetBounds(left, top, width, height);
}

void TspSkinHeaderControl::CreateWnd()
{
    inherited::CreateWnd();
    for (int i = 0; i < Sections()->Count(); ++i)
        Sections()->Items(i)->SetStyle(hsOwnerDraw);
}

int TspSkinHeaderControl::SectionAt(int position) const
{
    if (!DragReorder())
        return position;
    const std::vector<int> order = SectionOrder();
    return position >= 0 && position < int(order.size()) ? order[size_t(position)] : position;
}

TRect TspSkinHeaderControl::GetSkinItemRect(int index)
{
    RECT r {};
    if (HandleAllocated())
        SendToWindow(HDM_GETITEMRECT, WPARAM(SectionAt(index)), reinterpret_cast<LPARAM>(&r));
    return Rect(r.left, r.top, r.right, r.bottom);
}

TRect TspSkinHeaderControl::DrawSkinSection(TCanvas* canvas, int index, bool active, bool pressed)
{
    const TRect rect = GetSkinItemRect(index);
    const int section = SectionAt(index);
    if (section >= 0 && section < Sections()->Count())
        DrawSkinSectionR(canvas, Sections()->Items(section), active, pressed, rect);
    return rect;
}

void TspSkinHeaderControl::DrawSkinSectionR(
    TCanvas* canvas, THeaderSection* section, bool active, bool pressed, const TRect& rect)
{
    GetSkinData();
    if (IsNullRect(rect))
        return;
    const int w = RectWidth(rect);
    const bool threePart = Skinned() && !FFace.NinePart();
    const int h = threePart ? RectHeight(FFace.SkinRect) : RectHeight(rect);
    TBitmap image;
    image.SetSize(w, h);
    TCanvas* c = image.Canvas();
    TRect area;
    if (!Skinned()) {
        DefaultSectionFace(c, Rect(0, 0, w, h), pressed, active);
        c->Font()->Assign(FDefaultFont.get());
        area = Rect(2, 2, w - 2, h - 2);
    } else {
        if (FUseSkinFont) {
            c->Font()->SetName(FFace.FontName);
            c->Font()->SetHeight(FFace.FontHeight);
            c->Font()->SetStyle(FFace.FontStyle);
        } else {
            c->Font()->Assign(FDefaultFont.get());
        }
        const TRect& source = pressed ? FFace.DownSkinRect : (active ? FFace.ActiveSkinRect : FFace.SkinRect);
        c->Font()->SetColor(pressed ? FFace.DownFontColor : (active ? FFace.ActiveFontColor : FFace.FontColor));
        if (threePart)
            ThreePartFace(&image, FFace, source, w, false);
        else
            NinePartFace(&image, FFace, source, w, h, spstFull, false);
        const int skinW = RectWidth(FFace.SkinRect);
        const int skinH = RectHeight(FFace.SkinRect);
        area = Rect(FFace.ClientRect.Left, FFace.ClientRect.Top, w - (skinW - FFace.ClientRect.Right),
            h - (skinH - FFace.ClientRect.Bottom));
    }
    SkinLabels::ApplyCharset(c->Font(), SkinData(), FDefaultFont.get());
    if (OnDrawSkinSection)
        OnDrawSkinSection(this, section, area, active, pressed, c);
    else
        DrawSectionCaption(c, section, area);
    canvas->Draw(rect.Left, rect.Top, &image);
}

void TspSkinHeaderControl::DrawSectionCaption(TCanvas* canvas, THeaderSection* section, const TRect& area)
{
    canvas->Brush()->SetStyle(bsClear);
    std::string text = section->Text();
    const std::string full = text;
    const int areaWidth = RectWidth(area);
    TCustomImageList* images = Images();
    const int imageIndex = section->ImageIndex();
    const bool withImage = images && imageIndex >= 0 && imageIndex < images->Count();
    const int imageWidth = withImage ? images->Width() : 0;
    const int gap = withImage ? kImageGap : 0;
    CorrectTextbyWidth(canvas, text, areaWidth - imageWidth - gap);
    const bool shortened = text != full;
    const int textWidth = canvas->TextWidth(text);
    int x = area.Left;
    // A shortened caption always starts at the left, whatever the section's alignment.
    if (!shortened) {
        if (section->Alignment() == taRightJustify)
            x = withImage ? area.Right - textWidth - imageWidth - kImageGap : area.Right - textWidth - kImageGap;
        else if (section->Alignment() == taCenter)
            x = withImage ? area.Left + areaWidth / 2 - (textWidth + imageWidth + kImageGap) / 2
                          : area.Left + areaWidth / 2 - textWidth / 2;
    }
    if (withImage) {
        images->Draw(canvas, x, area.Top + RectHeight(area) / 2 - images->Height() / 2, imageIndex, Enabled());
        x += imageWidth + kImageGap;
    }
    const int y = area.Top + RectHeight(area) / 2 - canvas->TextHeight(text) / 2;
    canvas->TextRect(area, x, y, text);
}

void TspSkinHeaderControl::PaintRest(TCanvas* canvas, int left)
{
    const TRect rest = Rect(left, 0, Width() + 1, Height());
    if (IsNullRect(rest))
        return;
    if (!Skinned()) {
        canvas->Brush()->SetStyle(bsSolid);
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(rest);
        Frm3D(canvas, rest, clBtnShadow, clBtnShadow);
        return;
    }
    TBitmap image;
    if (FFace.NinePart())
        NinePartFace(&image, FFace, FFace.SkinRect, RectWidth(rest), RectHeight(rest), spstFull, true);
    else
        ThreePartFace(&image, FFace, FFace.SkinRect, RectWidth(rest), true);
    canvas->Draw(rest.Left, rest.Top, &image);
}

void TspSkinHeaderControl::PaintWindow(HDC dc)
{
    if (!HandleAllocated() || Width() <= 0 || Height() <= 0)
        return;
    TCanvas canvas;
    canvas.SetHandle(dc);
    GetSkinData();
    int right = 0;
    for (int i = 0; i < Sections()->Count(); ++i) {
        const bool here = i == FActiveSection;
        const TRect r = DrawSkinSection(&canvas, i, here && !FPressed, here && FPressed);
        right = std::max(right, int(r.Right));
    }
    PaintRest(&canvas, right);
    canvas.SetHandle(nullptr);
}

void TspSkinHeaderControl::DrawSection(THeaderSection* section, const TRect& rect, bool pressed)
{
    inherited::DrawSection(section, rect, pressed);
    int position = section->Index();
    if (DragReorder()) {
        const std::vector<int> order = SectionOrder();
        for (size_t i = 0; i < order.size(); ++i)
            if (order[i] == section->Index())
                position = int(i);
    }
    DrawSkinSectionR(Canvas(), section, false, pressed, GetSkinItemRect(position));
}

void TspSkinHeaderControl::TestActive(int x, int y)
{
    int hit = -1;
    for (int i = 0; i < Sections()->Count(); ++i)
        if (PointInRect(GetSkinItemRect(i), TPoint { x, y })) {
            hit = i;
            break;
        }
    if (hit == FActiveSection)
        return;
    FOldActiveSection = FActiveSection;
    FActiveSection = hit;
    if (FDragging || !HandleAllocated())
        return;
    if (FOldActiveSection != -1)
        DrawSkinSection(Canvas(), FOldActiveSection, false, false);
    if (hit != -1)
        DrawSkinSection(Canvas(), hit, true, false);
}

void TspSkinHeaderControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    // The header's own hit test says whether the press is on a divider (see WndProc).
    HDHITTESTINFO hit {};
    hit.pt = POINT { x, y };
    Perform(HDM_HITTEST, 0, reinterpret_cast<intptr_t>(&hit));
    FPressOnDivider = FOnDivider;
    if (button == mbLeft && !FOnDivider && Style() == hsButtons) {
        FPressed = true;
        Invalidate();
    }
    FResizing = button == mbLeft && FOnDivider;
    inherited::MouseDown(button, shift, x, y);
}

void TspSkinHeaderControl::MouseMove(TShiftState shift, int x, int y)
{
    inherited::MouseMove(shift, x, y);
    FDragging = FPressed && DragReorder();
    if (!Designing() && !FDragging)
        TestActive(x, y);
    if (FResizing)
        Invalidate();
}

void TspSkinHeaderControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    inherited::MouseUp(button, shift, x, y);
    const bool dragged = FDragging;
    FDragging = false;
    FResizing = false;
    FActiveSection = -1;
    FOldActiveSection = -1;
    if (button != mbLeft || Designing() || Style() != hsButtons)
        return;
    TestActive(x, y);
    Invalidate();
    FPressed = false;
    if (FActiveSection != -1 && !FPressOnDivider && !dragged && OnSkinSectionClick) {
        const int section = SectionAt(FActiveSection);
        if (section >= 0 && section < Sections()->Count())
            OnSkinSectionClick(this, Sections()->Items(section));
    }
}

void TspSkinHeaderControl::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case CM_MOUSEENTER:
        inherited::WndProc(message);
        if (!Designing() && !FPressed)
            Invalidate();
        return;
    case CM_MOUSELEAVE:
        inherited::WndProc(message);
        if (!Designing() && !FPressed) {
            FActiveSection = -1;
            FOldActiveSection = -1;
            Invalidate();
        }
        return;
    default:
        break;
    }
    inherited::WndProc(message);
    if (message.Msg == HDM_HITTEST && message.LParam) {
        const auto* info = reinterpret_cast<const HDHITTESTINFO*>(message.LParam);
        FOnDivider = info->flags == HHT_ONDIVIDER;
    }
}

#include "framework/controls/ExtCtrls.h"

#include "framework/graphics/Graphics.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "framework/graphics/TIcon.h"
#include "framework/graphics/TPicture.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"

#include <algorithm>

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width)
{
    canvas->Pen()->SetWidth(1);
    --rect.Bottom;
    --rect.Right;
    for (; width > 0; --width) {
        canvas->Pen()->SetColor(topColor);
        const TPoint topLeft[] = { { rect.Left, rect.Bottom }, { rect.Left, rect.Top }, { rect.Right, rect.Top } };
        canvas->Polyline(topLeft);
        canvas->Pen()->SetColor(bottomColor);
        const TPoint bottomRight[]
            = { { rect.Right, rect.Top }, { rect.Right, rect.Bottom }, { rect.Left - 1, rect.Bottom } };
        canvas->Polyline(bottomRight);
        rect.Left += 1;
        rect.Top += 1;
        rect.Right -= 1;
        rect.Bottom -= 1;
    }
    ++rect.Bottom;
    ++rect.Right;
}

// --- TCustomPanel --------------------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* owner)
    : TCustomControl(owner)
{
    FControlStyle = TControlStyle { csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
        csDoubleClicks, csReplicatable };
    FWidth = 185;
    FHeight = 41;
    SetColor(clBtnFace);
}

void TCustomPanel::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    if (FBorderStyle == bsSingle) {
        if (Ctl3D())
            params.ExStyle |= WS_EX_CLIENTEDGE;
        else
            params.Style |= WS_BORDER;
    }
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomPanel::SetAlignment(TAlignment value)
{
    if (value == FAlignment)
        return;
    FAlignment = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value)
{
    if (value == FBevelInner)
        return;
    FBevelInner = value;
    BorderChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value)
{
    if (value == FBevelOuter)
        return;
    FBevelOuter = value;
    BorderChanged();
}

void TCustomPanel::SetBevelWidth(TBevelWidth value)
{
    value = std::max(value, 1);
    if (value == FBevelWidth)
        return;
    FBevelWidth = value;
    BorderChanged();
}

void TCustomPanel::SetBorderWidth(TBorderWidth value)
{
    value = std::max(value, 0);
    if (value == FBorderWidth)
        return;
    FBorderWidth = value;
    BorderChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    RecreateWnd();
    Realign();
}

void TCustomPanel::BorderChanged()
{
    Realign();
    Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& rect)
{
    inherited::AdjustClientRect(rect);
    int inset = FBorderWidth;
    if (FBevelOuter != bvNone)
        inset += FBevelWidth;
    if (FBevelInner != bvNone)
        inset += FBevelWidth;
    rect.Left += inset;
    rect.Top += inset;
    rect.Right -= inset;
    rect.Bottom -= inset;
}

void TCustomPanel::Paint()
{
    TCanvas* canvas = Canvas();
    TRect rect = ClientRect();
    auto colors = [](TPanelBevel bevel, TColor& top, TColor& bottom) {
        top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
        bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
    };
    TColor top;
    TColor bottom;
    if (FBevelOuter != bvNone) {
        colors(FBevelOuter, top, bottom);
        Frame3D(canvas, rect, top, bottom, FBevelWidth);
    }
    Frame3D(canvas, rect, Color(), Color(), FBorderWidth);
    if (FBevelInner != bvNone) {
        colors(FBevelInner, top, bottom);
        Frame3D(canvas, rect, top, bottom, FBevelWidth);
    }
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(rect);
    if (Caption().empty())
        return;
    canvas->Brush()->SetStyle(bsClear);
    canvas->SetFont(Font());
    const int fontHeight = canvas->TextHeight("W");
    rect.Top = (rect.Bottom + rect.Top - fontHeight) / 2;
    rect.Bottom = rect.Top + fontHeight;
    static const UINT alignments[] = { DT_LEFT, DT_RIGHT, DT_CENTER };
    RECT r = ToRECT(rect);
    DrawText(canvas->Handle(), Caption().c_str(), -1, &r,
        DrawTextBiDiModeFlags(DT_EXPANDTABS | DT_VCENTER | alignments[FAlignment]));
}

void TCustomPanel::CMTextChanged(TMessage&)
{
    Invalidate();
}

void TCustomPanel::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CM_TEXTCHANGED:
        CMTextChanged(message);
        break;
    case WM_ERASEBKGND:
        // Paint covers every pixel of the client area, so an erase before it would only be painted over.
        if (PaintCoversClient())
            message.Result = 1;
        else
            inherited::WndProc(message);
        break;
    default:
        inherited::WndProc(message);
        break;
    }
}

// --- TShape --------------------------------------------------------------------------------------------

TShape::TShape(TComponent* owner)
    : TGraphicControl(owner)
    , FPen(std::make_unique<TPen>())
    , FBrush(std::make_unique<TBrush>())
{
    FControlStyle.Include(csReplicatable);
    FWidth = 65;
    FHeight = 65;
    FPen->OnChange = [this](TObject*) { Invalidate(); };
    FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

TShape::~TShape() = default;

void TShape::SetShape(TShapeType value)
{
    if (value == FShape)
        return;
    FShape = value;
    Invalidate();
}

void TShape::SetPen(TPen* value)
{
    FPen->Assign(value);
}

void TShape::SetBrush(TBrush* value)
{
    FBrush->Assign(value);
}

void TShape::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->SetPen(FPen.get());
    canvas->SetBrush(FBrush.get());
    const int penWidth = FPen->Width();
    int x = penWidth / 2;
    int y = x;
    int w = FWidth - penWidth + 1;
    int h = FHeight - penWidth + 1;
    if (penWidth == 0) {
        --w;
        --h;
    }
    const int s = std::min(w, h);
    if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
        x += (w - s) / 2;
        y += (h - s) / 2;
        w = s;
        h = s;
    }
    switch (FShape) {
    case stRectangle:
    case stSquare:
        canvas->Rectangle(x, y, x + w, y + h);
        break;
    case stRoundRect:
    case stRoundSquare:
        canvas->RoundRect(x, y, x + w, y + h, s / 4, s / 4);
        break;
    case stEllipse:
    case stCircle:
        canvas->Ellipse(x, y, x + w, y + h);
        break;
    }
}

// --- TImage --------------------------------------------------------------------------------------------

TImage::TImage(TComponent* owner)
    : TGraphicControl(owner)
    , FPicture(std::make_unique<TPicture>())
{
    FControlStyle.Include(csReplicatable);
    FWidth = 105;
    FHeight = 105;
    FPicture->OnChange = [this](TObject* sender) { PictureChanged(sender); };
}

TImage::~TImage()
{
    FPicture->OnChange = nullptr;
}

void TImage::SetPicture(TPicture* value)
{
    FPicture->Assign(value);
}

TCanvas* TImage::Canvas()
{
    if (!FPicture->Graphic()) {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetSize(FWidth, FHeight);
        FPicture->SetGraphic(bitmap.get());
    }
    auto* bitmap = dynamic_cast<TBitmap*>(FPicture->Graphic());
    if (!bitmap)
        throw EInvalidOperation("Can only modify an image if it contains a bitmap");
    return bitmap->Canvas();
}

void TImage::SetCenter(bool value)
{
    if (value == FCenter)
        return;
    FCenter = value;
    PictureChanged(this);
}

void TImage::SetStretch(bool value)
{
    if (value == FStretch)
        return;
    FStretch = value;
    PictureChanged(this);
}

void TImage::SetProportional(bool value)
{
    if (value == FProportional)
        return;
    FProportional = value;
    PictureChanged(this);
}

void TImage::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    PictureChanged(this);
}

TRect TImage::DestRect() const
{
    const TGraphic* graphic = FPicture->Graphic();
    int w = graphic ? graphic->Width() : 0;
    int h = graphic ? graphic->Height() : 0;
    const TRect client = ClientRect();
    const int cw = client.Right;
    const int ch = client.Bottom;
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            // The largest size of the picture's shape that fits.
            if (int64_t(cw) * h > int64_t(ch) * w) {
                w = int(int64_t(w) * ch / h);
                h = ch;
            } else {
                h = int(int64_t(h) * cw / w);
                w = cw;
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect result { 0, 0, w, h };
    if (FCenter) {
        result.Left = (cw - w) / 2;
        result.Top = (ch - h) / 2;
        result.Right = result.Left + w;
        result.Bottom = result.Top + h;
    }
    return result;
}

void TImage::Paint()
{
    TGraphic* graphic = FPicture->Graphic();
    if (!graphic || graphic->Empty())
        return;
    FDrawing = true;
    try {
        inherited::Canvas()->StretchDraw(DestRect(), graphic);
    } catch (...) {
        FDrawing = false;
        throw;
    }
    FDrawing = false;
}

bool TImage::CanAutoSize(int& newWidth, int& newHeight)
{
    const TGraphic* graphic = FPicture->Graphic();
    if (!graphic || graphic->Empty())
        return true;
    newWidth = graphic->Width();
    newHeight = graphic->Height();
    return true;
}

void TImage::PictureChanged(TObject*)
{
    TGraphic* graphic = FPicture->Graphic();
    if (AutoSize() && graphic && !graphic->Empty() && graphic->Width() > 0 && graphic->Height() > 0)
        SetBounds(FLeft, FTop, graphic->Width(), graphic->Height());
    if (graphic && !dynamic_cast<TIcon*>(graphic) && graphic->Transparent() != FTransparent)
        graphic->SetTransparent(FTransparent);
    // Opaque when the picture covers the whole control without holes, so the parent need not erase.
    const TRect dest = DestRect();
    if (graphic && !FTransparent && dest.Left <= 0 && dest.Top <= 0 && dest.Right >= FWidth && dest.Bottom >= FHeight)
        FControlStyle.Include(csOpaque);
    else
        FControlStyle.Exclude(csOpaque);
    if (!FDrawing)
        Invalidate();
}

// --- TPaintBox -----------------------------------------------------------------------------------------

TPaintBox::TPaintBox(TComponent* owner)
    : TGraphicControl(owner)
{
    FControlStyle.Include(csReplicatable);
    FWidth = 105;
    FHeight = 105;
}

void TPaintBox::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(Color());
    if (OnPaint)
        OnPaint(this);
}

// --- TBevel --------------------------------------------------------------------------------------------

TBevel::TBevel(TComponent* owner)
    : TGraphicControl(owner)
{
    FControlStyle.Include(csReplicatable);
    FWidth = 50;
    FHeight = 50;
}

void TBevel::SetShape(TBevelShape value)
{
    if (value == FShape)
        return;
    FShape = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value)
{
    if (value == FStyle)
        return;
    FStyle = value;
    Invalidate();
}

void TBevel::Paint()
{
    TCanvas* canvas = Canvas();
    TColor color1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
    TColor color2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
    canvas->Pen()->SetWidth(1);
    auto bevelRect = [&](const TRect& r) {
        canvas->Pen()->SetColor(color1);
        const TPoint first[] = { { r.Left, r.Bottom }, { r.Left, r.Top }, { r.Right, r.Top } };
        canvas->Polyline(first);
        canvas->Pen()->SetColor(color2);
        const TPoint second[] = { { r.Right, r.Top }, { r.Right, r.Bottom }, { r.Left, r.Bottom } };
        canvas->Polyline(second);
    };
    auto bevelLine = [&](TColor color, int x1, int y1, int x2, int y2) {
        canvas->Pen()->SetColor(color);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    switch (FShape) {
    case bsBox:
        bevelRect(TRect { 0, 0, FWidth - 1, FHeight - 1 });
        break;
    case bsFrame: {
        const TColor temp = color1;
        color1 = color2;
        bevelRect(TRect { 1, 1, FWidth - 1, FHeight - 1 });
        color2 = temp;
        color1 = temp;
        bevelRect(TRect { 0, 0, FWidth - 2, FHeight - 2 });
        break;
    }
    case bsTopLine:
        bevelLine(color1, 0, 0, FWidth, 0);
        bevelLine(color2, 0, 1, FWidth, 1);
        break;
    case bsBottomLine:
        bevelLine(color1, 0, FHeight - 2, FWidth, FHeight - 2);
        bevelLine(color2, 0, FHeight - 1, FWidth, FHeight - 1);
        break;
    case bsLeftLine:
        bevelLine(color1, 0, 0, 0, FHeight);
        bevelLine(color2, 1, 0, 1, FHeight);
        break;
    case bsRightLine:
        bevelLine(color1, FWidth - 2, 0, FWidth - 2, FHeight);
        bevelLine(color2, FWidth - 1, 0, FWidth - 1, FHeight);
        break;
    case bsSpacer:
        break;
    }
}

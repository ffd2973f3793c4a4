#include "skin/controls/SkinControlBar.h"

#include "framework/controls/ImgList.h"
#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Text.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"

#include <algorithm>
#include <functional>

using namespace SPUtils;

namespace {

int RectW(const TRect& r)
{
    return r.Right - r.Left;
}

int RectH(const TRect& r)
{
    return r.Bottom - r.Top;
}

// The "controlbar" record named `name` in a loaded skin, with a picture to paint from; null otherwise (and
// `index` -1).
TspDataSkinControlBar* BarRecord(TspSkinData* skin, const std::string& name, int& index)
{
    index = skin && !skin->Empty ? skin->GetControlIndex(name) : -1;
    auto* record = SkinRecordAt<TspDataSkinControlBar>(skin, index);
    // A record that names no picture cannot be painted from: the framework's look.
    if (!record || !SkinPictureAt(skin, record->PictureIndex)) {
        index = -1;
        return nullptr;
    }
    return record;
}

// WM_NCCALCSIZE with a record and the skin's frame: the window rectangle less the record's client margins.
void CalcSkinFrame(TMessage& message, const TspDataSkinControlBar& record)
{
    if (!message.LParam)
        return;
    RECT* r = message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                             : reinterpret_cast<RECT*>(message.LParam);
    const TRect& c = record.ClientRect;
    const TRect& s = record.SkinRect;
    r->left += c.Left;
    r->top += c.Top;
    r->right = std::max(r->left, LONG(r->right + c.Right - RectW(s)));
    r->bottom = std::max(r->top, LONG(r->bottom + c.Bottom - RectH(s)));
}

// The record's frame at `width` x `height` into `dc` (window coordinates), the client area left out.
void PaintSkinFrame(HDC dc, const TspDataSkinControlBar& record, TBitmap* picture, int width, int height)
{
    const TRect& r = record.SkinRect;
    const int dw = width - RectW(r);
    const int dh = height - RectH(r);
    const TPoint lt = record.LeftTopPoint;
    const TPoint rt { record.RightTopPoint.X + dw, record.RightTopPoint.Y };
    const TPoint lb { record.LeftBottomPoint.X, record.LeftBottomPoint.Y + dh };
    const TPoint rb { record.RightBottomPoint.X + dw, record.RightBottomPoint.Y + dh };
    TRect client = record.ClientRect;
    client.Right += dw;
    client.Bottom += dh;
    TBitmap left, top, right, bottom;
    CreateSkinBorderImages(record.LeftTopPoint, record.RightTopPoint, record.LeftBottomPoint, record.RightBottomPoint,
        record.ClientRect, lt, rt, lb, rb, client, &left, &top, &right, &bottom, picture, r, width, height,
        record.LeftStretch, record.TopStretch, record.RightStretch, record.BottomStretch);
    const int saved = SaveDC(dc);
    if (RectH(client) > 0)
        ExcludeClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Draw(0, 0, &top);
    canvas.Draw(0, top.Height(), &left);
    canvas.Draw(width - right.Width(), top.Height(), &right);
    canvas.Draw(0, height - bottom.Height(), &bottom);
    canvas.SetHandle(nullptr);
    RestoreDC(dc, saved);
}

// The background of a bar from the record: its own background picture or the client piece of its picture,
// stretched over the bar's `width` x `height` by the record's stretch type or tiled over the client area
// (composed off-screen and copied once). `decorate` draws over the background before it reaches `canvas` (band
// frames).
void PaintSkinBackground(TCanvas* canvas, const TspDataSkinControlBar& record, TspSkinData* skin, TBitmap* picture,
    int clientWidth, int clientHeight, int width, int height, const std::function<void(TCanvas*)>& decorate)
{
    if (clientWidth < 1 || clientHeight < 1)
        return;
    TBitmap piece;
    TBitmap* source = SkinPictureAt(skin, record.BGPictureIndex);
    if (record.BGPictureIndex == -1 || !source) {
        const TRect& s = record.SkinRect;
        const TRect& c = record.ClientRect;
        const TRect r = Rect(s.Left + c.Left, s.Top + c.Top, s.Left + c.Right, s.Top + c.Bottom);
        if (RectW(r) <= 0 || RectH(r) <= 0) {
            canvas->Brush()->SetColor(clBtnFace);
            canvas->FillRect(Rect(0, 0, clientWidth, clientHeight));
            return;
        }
        piece.SetSize(RectW(r), RectH(r));
        piece.Canvas()->CopyRect(Rect(0, 0, RectW(r), RectH(r)), picture->Canvas(), r);
        source = &piece;
    }
    const int sw = source->Width();
    const int sh = source->Height();
    if (record.StretchEffect) {
        if (record.StretchType == spstFull) {
            canvas->StretchDraw(Rect(0, 0, width, height), source);
        } else if (record.StretchType == spstVert) {
            TBitmap strip;
            strip.SetSize(width, sh);
            strip.Canvas()->StretchDraw(Rect(0, 0, width, sh), source);
            for (int i = 0; i <= height / sh; ++i)
                canvas->Draw(0, i * sh, &strip);
        } else {
            TBitmap strip;
            strip.SetSize(sw, height);
            strip.Canvas()->StretchDraw(Rect(0, 0, sw, height), source);
            for (int i = 0; i <= width / sw; ++i)
                canvas->Draw(i * sw, 0, &strip);
        }
        if (decorate)
            decorate(canvas);
        return;
    }
    TBitmap image;
    image.SetSize(clientWidth, clientHeight);
    for (int y = 0; y < clientHeight; y += sh)
        for (int x = 0; x < clientWidth; x += sw)
            image.Canvas()->Draw(x, y, source);
    if (decorate)
        decorate(image.Canvas());
    canvas->Draw(0, 0, &image);
}

} // namespace

// ---- What both bars share ----------------------------------------------------------------------------------------

template <class Base>
TspSkinBandBar<Base>::TspSkinBandBar(TComponent* owner)
    : Base(owner)
{
}

template <class Base> void TspSkinBandBar<Base>::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style &= ~DWORD(WS_BORDER);
    params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
}

template <class Base> void TspSkinBandBar<Base>::SetSkinData(TspSkinData* value)
{
    SkinControlSupport::BindSkinData(this, FSkinData, value);
    this->ChangeSkinData();
}

template <class Base> void TspSkinBandBar<Base>::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == static_cast<TComponent*>(FSkinData))
        FSkinData = nullptr;
}

template <class Base> void TspSkinBandBar<Base>::SetSkinBevel(bool value)
{
    FSkinBevel = value;
    if (GetSkinData() && this->HandleAllocated())
        this->RecreateWnd();
}

template <class Base> TspDataSkinControlBar* TspSkinBandBar<Base>::GetSkinData()
{
    return BarRecord(FSkinData, FSkinDataName, SkinIndex);
}

template <class Base> TBitmap* TspSkinBandBar<Base>::Picture() const
{
    auto* record = SkinRecordAt<TspDataSkinControlBar>(FSkinData, SkinIndex);
    return record ? SkinPictureAt(FSkinData, record->PictureIndex) : nullptr;
}

template <class Base> void TspSkinBandBar<Base>::CheckControlsBackground()
{
    for (int i = 0; i < this->ControlCount(); ++i) {
        TControl* child = this->Controls(i);
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
            windowed->HandleNeeded();
            SendMessage(windowed->Handle(), WM_CHECKPARENTBG, 0, 0);
        } else {
            child->Perform(WM_CHECKPARENTBG, 0, 0);
        }
    }
}

template <class Base> void TspSkinBandBar<Base>::PaintNCSkin(HDC dc, bool useDC)
{
    TspDataSkinControlBar* record = GetSkinData();
    if (!record || !this->HandleAllocated())
        return;
    const HDC target = useDC ? dc : GetWindowDC(this->Handle());
    PaintSkinFrame(target, *record, Picture(), this->Width(), this->Height());
    if (!useDC)
        ReleaseDC(this->Handle(), target);
}

template <class Base> void TspSkinBandBar<Base>::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE: {
        TspDataSkinControlBar* record = GetSkinData();
        if (!record)
            break;
        // With a record the frame is the skin's, or none at all.
        if (FSkinBevel)
            CalcSkinFrame(message, *record);
        return;
    }
    case WM_NCPAINT:
        if (!GetSkinData())
            break;
        if (FSkinBevel)
            PaintNCSkin(nullptr, false);
        return;
    case CM_BENCPAINT:
        if (message.LParam != CM_BENCPAINTParam)
            break;
        if (message.WParam && FSkinBevel)
            PaintNCSkin(reinterpret_cast<HDC>(message.WParam), true);
        message.Result = CM_BENCPAINTParam;
        return;
    case WM_SIZE: {
        inherited::WndProc(message);
        TspDataSkinControlBar* record = GetSkinData();
        if (!record)
            return;
        if (FSkinBevel)
            PaintNCSkin(nullptr, false);
        if (record->StretchEffect)
            CheckControlsBackground();
        return;
    }
    default:
        break;
    }
    inherited::WndProc(message);
}

template class TspSkinBandBar<TCustomControlBar>;
template class TspSkinBandBar<TCoolBar>;

// ---- TspSkinControlBar -------------------------------------------------------------------------------------------

TspSkinControlBar::TspSkinControlBar(TComponent* owner)
    : inherited(owner)
{
    SetBevelKind(bkNone);
    if (ComponentState().Contains(csDesigning)) {
        SetAutoSize(true);
        SetAutoDrag(false);
        SetRowSnap(false);
    }
}

void TspSkinControlBar::ChangeSkinData()
{
    GetSkinData();
    if (FSkinBevel && HandleAllocated())
        RecreateWnd();
    Invalidate();
}

void TspSkinControlBar::WndProc(TMessage& message)
{
    // With a record the background is painted whole in Paint.
    if (message.Msg == WM_ERASEBKGND && GetSkinData()) {
        message.Result = 1;
        return;
    }
    inherited::WndProc(message);
}

// ---- The client area ---------------------------------------------------------------------------------------------

void TspSkinControlBar::Paint()
{
    TspDataSkinControlBar* record = GetSkinData();
    if (!record) {
        inherited::Paint();
        return;
    }
    PaintBackground(Canvas(), *record);
}

void TspSkinControlBar::PaintBackground(TCanvas* canvas, TspDataSkinControlBar& record)
{
    PaintSkinBackground(canvas, record, FSkinData, Picture(), ClientWidth(), ClientHeight(), Width(), Height(),
        [this](TCanvas* target) {
        for (int i = 0; i < ControlCount(); ++i)
            if (TControl* child = Controls(i); child->Visible())
                PaintControlFrame(target, child, BandRect(child));
    });
}

void TspSkinControlBar::PaintControlFrame(TCanvas* canvas, TControl* control, const TRect& rect)
{
    TspDataSkinControlBar* record = GetSkinData();
    if (!record || IsNullRect(record->ItemRect)) {
        inherited::PaintControlFrame(canvas, control, rect);
        return;
    }
    const TRect& item = record->ItemRect;
    const int iw = RectW(item);
    const int ih = RectH(item);
    const int w = RectW(rect);
    const int h = RectH(rect);
    const int o1 = record->ItemOffset1;
    const int o2 = record->ItemOffset2;
    TBitmap left, top, right, bottom;
    CreateSkinBorderImages(TPoint { 12, o1 }, TPoint { iw - 3, 3 }, TPoint { 12, ih - o2 }, TPoint { iw - 3, ih - 3 },
        Rect(11, 2, iw - 2, ih - 2), TPoint { 12, o1 }, TPoint { w - 3, 3 }, TPoint { 12, h - o2 },
        TPoint { w - 3, h - 3 }, Rect(11, 2, w - 2, h - 2), &left, &top, &right, &bottom, Picture(), item, w, h,
        record->ItemStretchEffect, record->ItemStretchEffect, record->ItemStretchEffect, record->ItemStretchEffect);
    for (TBitmap* strip : { &left, &top, &right, &bottom })
        if (record->ItemTransparent) {
            strip->SetTransparentColor(record->ItemTransparentColor);
            strip->SetTransparent(true);
        }
    canvas->Draw(rect.Left, rect.Top, &top);
    canvas->Draw(rect.Left, rect.Top + top.Height(), &left);
    canvas->Draw(rect.Right - right.Width(), rect.Top + top.Height(), &right);
    canvas->Draw(rect.Left, rect.Bottom - bottom.Height(), &bottom);
}

// ---- TspSkinCoolBar ----------------------------------------------------------------------------------------------

TspSkinCoolBar::TspSkinCoolBar(TComponent* owner)
    : inherited(owner)
{
    FSkinBevel = true;
}

void TspSkinCoolBar::ChangeSkinData()
{
    GetSkinData();
    if (HandleAllocated())
        RecreateWnd();
    Invalidate();
}

void TspSkinCoolBar::AlignControls(TControl* control, TRect& rect)
{
    inherited::AlignControls(control, rect);
    for (int i = 0; i < ControlCount(); ++i)
        Controls(i)->Invalidate();
}

void TspSkinCoolBar::DrawGrip(TCanvas* canvas, const TRect& rect)
{
    TspDataSkinControlBar* record = GetSkinData();
    if (!record) {
        inherited::DrawGrip(canvas, rect);
        return;
    }
    if (!IsNullRect(record->HGripRect) && !IsNullRect(record->VGripRect)) {
        TBitmap image;
        if (Vertical())
            CreateHSkinImage(record->GripOffset1, record->GripOffset2, &image, Picture(), record->HGripRect,
                RectW(rect), RectH(record->HGripRect), record->ItemStretchEffect);
        else
            CreateVSkinImage(record->GripOffset1, record->GripOffset2, &image, Picture(), record->VGripRect,
                RectW(record->VGripRect), RectH(rect), record->ItemStretchEffect);
        if (record->GripTransparent) {
            image.SetTransparentColor(record->GripTransparentColor);
            image.SetTransparent(true);
        }
        canvas->Draw(rect.Left, rect.Top, &image);
        return;
    }
    // Without both grip pictures: two raised lines in the skin's colours.
    const TColor light = FSkinData->Colors->cBtnHighLight;
    const TColor dark = FSkinData->Colors->cBtnShadow;
    if (Vertical()) {
        Frm3D(canvas, Rect(rect.Left, rect.Top + 1, rect.Right, rect.Top + 3), light, dark);
        Frm3D(canvas, Rect(rect.Left, rect.Top + 3, rect.Right, rect.Top + 5), light, dark);
    } else {
        Frm3D(canvas, Rect(rect.Left + 1, rect.Top, rect.Left + 3, rect.Bottom), light, dark);
        Frm3D(canvas, Rect(rect.Left + 3, rect.Top, rect.Left + 5, rect.Bottom), light, dark);
    }
}

void TspSkinCoolBar::PaintSkinBand(TCanvas* canvas, TCoolBand* band)
{
    // A band is placed by its control; one without a control has nothing to stand before.
    TWinControl* control = band->Control();
    if (!control || !band->Visible())
        return;
    const TRect c = control->BoundsRect();
    TCustomImageList* images = Images();
    const bool image = images && band->ImageIndex() >= 0 && band->ImageIndex() < images->Count();
    const bool text = !band->Text().empty() && ShowText();
    canvas->Font()->Assign(Font());
    canvas->Font()->SetColor(FSkinData->Colors->cBtnText);
    canvas->Brush()->SetStyle(bsClear);
    if (!Vertical()) {
        const int x0 = c.Left - GetCaptionSize(band);
        const TRect grip = Rect(x0 + 1, c.Top, x0 + 5, c.Bottom);
        DrawGrip(canvas, grip);
        int x = grip.Right + 2;
        if (image) {
            images->Draw(canvas, x, grip.Top + RectH(grip) / 2 - images->Height() / 2, band->ImageIndex(), true);
            x += images->Width() + 1;
        }
        if (text) {
            RECT r { x, c.Top, c.Left, c.Bottom };
            DrawText(canvas->Handle(), band->Text().c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        }
        return;
    }
    const int y0 = c.Top - GetCaptionSize(band);
    const TRect grip = Rect(c.Left, y0 + 1, c.Right, y0 + 5);
    DrawGrip(canvas, grip);
    int y = grip.Bottom + 2;
    if (image) {
        images->Draw(canvas, grip.Left + RectW(grip) / 2 - images->Width() / 2, y, band->ImageIndex(), true);
        y += images->Height() + 1;
    }
    if (text) {
        RECT r { c.Left, y, c.Right, c.Top };
        DrawText(canvas->Handle(), band->Text().c_str(), -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
    }
}

void TspSkinCoolBar::PaintBands(HDC dc)
{
    TCanvas canvas;
    canvas.SetHandle(dc);
    for (int i = 0; i < Bands()->Count(); ++i)
        PaintSkinBand(&canvas, Bands()->Items(i));
    canvas.SetHandle(nullptr);
}

void TspSkinCoolBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND: {
        TspDataSkinControlBar* record = GetSkinData();
        if (!record)
            break;
        TCanvas canvas;
        canvas.SetHandle(reinterpret_cast<HDC>(message.WParam));
        PaintSkinBackground(&canvas, *record, FSkinData, Picture(), ClientWidth(), ClientHeight(), Width(), Height(),
            nullptr);
        canvas.SetHandle(nullptr);
        message.Result = 1;
        return;
    }
    case WM_PAINT: {
        if (!GetSkinData())
            break;
        // The bands' grips, pictures and texts over the background; the framework's band painting does not run.
        if (message.WParam) {
            PaintBands(reinterpret_cast<HDC>(message.WParam));
        } else {
            PAINTSTRUCT ps {};
            const HDC dc = BeginPaint(Handle(), &ps);
            if (ps.fErase) {
                TMessage erase { WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0, 0 };
                WndProc(erase);
            }
            PaintBands(dc);
            EndPaint(Handle(), &ps);
        }
        message.Result = 0;
        return;
    }
    default:
        break;
    }
    inherited::WndProc(message);
}

#include "skin/controls/SkinControlBar.h"

#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/win/Windows.h"
#include "skin/controls/SkinControlSupport.h"
#include "skin/core/SkinControlRecords.h"
#include "skin/core/SkinCustomCtrls.h"
#include "skin/core/SkinImages.h"
#include "skin/core/SkinMessages.h"

#include <algorithm>

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

} // namespace

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

void TspSkinControlBar::CreateParams(TCreateParams& params)
{
    inherited::CreateParams(params);
    params.Style &= ~DWORD(WS_BORDER);
    params.ExStyle &= ~DWORD(WS_EX_CLIENTEDGE);
}

void TspSkinControlBar::SetSkinData(TspSkinData* value)
{
    SkinControlSupport::BindSkinData(this, FSkinData, value);
    ChangeSkinData();
}

void TspSkinControlBar::Notification(TComponent* component, TOperation operation)
{
    inherited::Notification(component, operation);
    if (operation == opRemove && component == static_cast<TComponent*>(FSkinData))
        FSkinData = nullptr;
}

void TspSkinControlBar::SetSkinBevel(bool value)
{
    FSkinBevel = value;
    if (GetSkinData() && HandleAllocated())
        RecreateWnd();
}

TspDataSkinControlBar* TspSkinControlBar::GetSkinData()
{
    SkinIndex = FSkinData && !FSkinData->Empty ? FSkinData->GetControlIndex(FSkinDataName) : -1;
    auto* record = SkinRecordAt<TspDataSkinControlBar>(FSkinData, SkinIndex);
    // A record that names no picture cannot be painted from: the framework's look.
    if (!record || !SkinPictureAt(FSkinData, record->PictureIndex)) {
        SkinIndex = -1;
        return nullptr;
    }
    return record;
}

TBitmap* TspSkinControlBar::Picture() const
{
    auto* record = SkinRecordAt<TspDataSkinControlBar>(FSkinData, SkinIndex);
    return record ? SkinPictureAt(FSkinData, record->PictureIndex) : nullptr;
}

void TspSkinControlBar::ChangeSkinData()
{
    GetSkinData();
    if (FSkinBevel && HandleAllocated())
        RecreateWnd();
    Invalidate();
}

void TspSkinControlBar::CheckControlsBackground()
{
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) {
            windowed->HandleNeeded();
            SendMessage(windowed->Handle(), WM_CHECKPARENTBG, 0, 0);
        } else {
            child->Perform(WM_CHECKPARENTBG, 0, 0);
        }
    }
}

// ---- The frame ---------------------------------------------------------------------------------------------------

void TspSkinControlBar::PaintNCSkin(HDC dc, bool useDC)
{
    TspDataSkinControlBar* record = GetSkinData();
    if (!record || !HandleAllocated())
        return;
    const TRect& r = record->SkinRect;
    const int dw = Width() - RectW(r);
    const int dh = Height() - RectH(r);
    const TPoint lt = record->LeftTopPoint;
    const TPoint rt { record->RightTopPoint.X + dw, record->RightTopPoint.Y };
    const TPoint lb { record->LeftBottomPoint.X, record->LeftBottomPoint.Y + dh };
    const TPoint rb { record->RightBottomPoint.X + dw, record->RightBottomPoint.Y + dh };
    TRect client = record->ClientRect;
    client.Right += dw;
    client.Bottom += dh;
    TBitmap left, top, right, bottom;
    CreateSkinBorderImages(record->LeftTopPoint, record->RightTopPoint, record->LeftBottomPoint,
        record->RightBottomPoint, record->ClientRect, lt, rt, lb, rb, client, &left, &top, &right, &bottom, Picture(), r,
        Width(), Height(), record->LeftStretch, record->TopStretch, record->RightStretch, record->BottomStretch);
    const HDC target = useDC ? dc : GetWindowDC(Handle());
    const int saved = SaveDC(target);
    if (RectH(client) > 0)
        ExcludeClipRect(target, client.Left, client.Top, client.Right, client.Bottom);
    TCanvas canvas;
    canvas.SetHandle(target);
    canvas.Draw(0, 0, &top);
    canvas.Draw(0, top.Height(), &left);
    canvas.Draw(Width() - right.Width(), top.Height(), &right);
    canvas.Draw(0, Height() - bottom.Height(), &bottom);
    canvas.SetHandle(nullptr);
    RestoreDC(target, saved);
    if (!useDC)
        ReleaseDC(Handle(), target);
}

void TspSkinControlBar::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE: {
        TspDataSkinControlBar* record = GetSkinData();
        if (!record) {
            inherited::WndProc(message);
            return;
        }
        // With a record the frame is the skin's, or none at all.
        if (!FSkinBevel || !message.LParam)
            return;
        RECT* r = message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                                 : reinterpret_cast<RECT*>(message.LParam);
        const TRect& c = record->ClientRect;
        const TRect& s = record->SkinRect;
        r->left += c.Left;
        r->top += c.Top;
        r->right = std::max(r->left, LONG(r->right + c.Right - RectW(s)));
        r->bottom = std::max(r->top, LONG(r->bottom + c.Bottom - RectH(s)));
        return;
    }
    case WM_NCPAINT:
        if (!GetSkinData()) {
            inherited::WndProc(message);
            return;
        }
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
    case WM_ERASEBKGND:
        if (GetSkinData()) {
            message.Result = 1;
            return;
        }
        break;
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
    const int width = ClientWidth();
    const int height = ClientHeight();
    if (width < 1 || height < 1)
        return;
    TBitmap* picture = Picture();
    TBitmap piece;
    TBitmap* source = SkinPictureAt(FSkinData, record.BGPictureIndex);
    if (record.BGPictureIndex == -1 || !source) {
        const TRect& s = record.SkinRect;
        const TRect& c = record.ClientRect;
        const TRect r = Rect(s.Left + c.Left, s.Top + c.Top, s.Left + c.Right, s.Top + c.Bottom);
        if (RectW(r) <= 0 || RectH(r) <= 0) {
            canvas->Brush()->SetColor(clBtnFace);
            canvas->FillRect(Rect(0, 0, width, height));
            return;
        }
        piece.SetSize(RectW(r), RectH(r));
        piece.Canvas()->CopyRect(Rect(0, 0, RectW(r), RectH(r)), picture->Canvas(), r);
        source = &piece;
    }
    const int sw = source->Width();
    const int sh = source->Height();
    auto frameBands = [this](TCanvas* target) {
        for (int i = 0; i < ControlCount(); ++i)
            if (TControl* child = Controls(i); child->Visible())
                PaintControlFrame(target, child, BandRect(child));
    };
    if (record.StretchEffect) {
        if (record.StretchType == spstFull) {
            canvas->StretchDraw(Rect(0, 0, Width(), Height()), source);
        } else if (record.StretchType == spstVert) {
            TBitmap strip;
            strip.SetSize(Width(), sh);
            strip.Canvas()->StretchDraw(Rect(0, 0, Width(), sh), source);
            for (int i = 0; i <= Height() / sh; ++i)
                canvas->Draw(0, i * sh, &strip);
        } else {
            TBitmap strip;
            strip.SetSize(sw, Height());
            strip.Canvas()->StretchDraw(Rect(0, 0, sw, Height()), source);
            for (int i = 0; i <= Width() / sw; ++i)
                canvas->Draw(i * sw, 0, &strip);
        }
        frameBands(canvas);
        return;
    }
    // Tiled: composed once off-screen, the last column and row cut by the image's edge.
    TBitmap image;
    image.SetSize(width, height);
    for (int y = 0; y < height; y += sh)
        for (int x = 0; x < width; x += sw)
            image.Canvas()->Draw(x, y, source);
    frameBands(image.Canvas());
    canvas->Draw(0, 0, &image);
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

#include "skin/core/SkinCustomCtrls.h"

#include "framework/graphics/TBitmap.h"
#include "framework/graphics/TCanvas.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Raster.h"
#include "platform/win/Windows.h"
#include "skin/core/SkinImageCache.h"
#include "skin/core/SkinImages.h"
#include "skin/core/TspSkinData.h"

using namespace SPUtils;

TBitmap* SkinPictureAt(const TspSkinData* skin, int index)
{
    if (!skin || index < 0 || index >= static_cast<int>(skin->ActivePictures.size()))
        return nullptr;
    return skin->ActivePictures[static_cast<size_t>(index)].get();
}

TBitmap* LoadedSkinPictureAt(const TspSkinData* skin, int index)
{
    TBitmap* picture = SkinPictureAt(skin, index);
    return picture && !picture->Empty() ? picture : nullptr;
}

namespace {

TPoint Moved(TPoint p, int dx, int dy)
{
    return TPoint { p.X + dx, p.Y + dy };
}

} // namespace

template <class Root>
TspSkinCustomRoot<Root>::TspSkinCustomRoot(TComponent* owner)
    : Root(owner)
    , FDefaultFont(std::make_unique<TFont>())
{
    FDefaultFont->SetName("Arial");
    FDefaultFont->SetStyle({});
    FDefaultFont->SetHeight(14);
    FDefaultFont->OnChange = [this](TObject* sender) { OnDefaultFontChange(sender); };
}

template <class Root> TspSkinCustomRoot<Root>::~TspSkinCustomRoot()
{
    FDefaultFont->OnChange = nullptr;
}

template <class Root> void TspSkinCustomRoot<Root>::SetDefaultFont(TFont* value)
{
    FDefaultFont->Assign(value);
    DefaultFontChange();
}

template <class Root> void TspSkinCustomRoot<Root>::OnDefaultFontChange(TObject*)
{
    DefaultFontChange();
    if (this->SkinIndex == -1)
        this->Repaint();
}

template <class Root> void TspSkinCustomRoot<Root>::SetDefaultWidth(int value)
{
    FDefaultWidth = value;
    if (this->SkinIndex == -1 && value > 0)
        this->SetWidth(value);
}

template <class Root> void TspSkinCustomRoot<Root>::SetDefaultHeight(int value)
{
    FDefaultHeight = value;
    if (this->SkinIndex == -1 && value > 0)
        this->SetHeight(value);
}

template <class Root> void TspSkinCustomRoot<Root>::GetSkinData()
{
    inherited::GetSkinData();
    if (this->SkinIndex == -1)
        return;
    TspSkinData* skin = this->SkinData();
    auto* record = dynamic_cast<TspDataSkinCustomControl*>(skin->ControlRecords[size_t(this->SkinIndex)].get());
    if (!record) {
        SkinResizeMode = 0;
        SkinPicture = nullptr;
        SkinMask = nullptr;
        return;
    }
    SkinPicture = SkinPictureAt(skin, record->PictureIndex);
    SkinMask = SkinPictureAt(skin, record->MaskPictureIndex);
    SkinRectangle = record->SkinRect;
    LeftTopPoint = record->LeftTopPoint;
    RightTopPoint = record->RightTopPoint;
    LeftBottomPoint = record->LeftBottomPoint;
    RightBottomPoint = record->RightBottomPoint;
    SkinClientRect = record->ClientRect;
    ClientStretchEffect = record->StretchEffect;
    LeftStretch = record->LeftStretch;
    TopStretch = record->TopStretch;
    RightStretch = record->RightStretch;
    BottomStretch = record->BottomStretch;
    ClientStretchType = record->StretchType;
    this->SkinCursorIndex = record->CursorIndex;
    SkinResizeMode = GetResizeMode();
}

template <class Root> int TspSkinCustomRoot<Root>::GetResizeMode() const
{
    if (IsNullRect(SkinRectangle))
        return -1;
    if (RightBottomPoint.X != 0 && RightBottomPoint.Y != 0)
        return 1;
    if (RightTopPoint.X != 0 || RightTopPoint.Y != 0)
        return 2;
    if (LeftBottomPoint.X != 0 || LeftBottomPoint.Y != 0)
        return 3;
    return 0;
}

template <class Root> void TspSkinCustomRoot<Root>::CalcSize(int& width, int& height)
{
    if (this->SkinIndex == -1)
        return;
    const int xo = width - RectWidth(SkinRectangle);
    const int yo = height - RectHeight(SkinRectangle);
    switch (SkinResizeMode) {
    case 0:
        width = RectWidth(SkinRectangle);
        height = RectHeight(SkinRectangle);
        SizedClientRect = SkinClientRect;
        break;
    case 1:
        SizedLeftTopPoint = LeftTopPoint;
        SizedRightTopPoint = Moved(RightTopPoint, xo, 0);
        SizedLeftBottomPoint = Moved(LeftBottomPoint, 0, yo);
        SizedRightBottomPoint = Moved(RightBottomPoint, xo, yo);
        SizedClientRect = SkinClientRect;
        SizedClientRect.Right += xo;
        SizedClientRect.Bottom += yo;
        break;
    case 2:
        height = RectHeight(SkinRectangle);
        SizedLeftTopPoint = LeftTopPoint;
        SizedRightTopPoint = Moved(RightTopPoint, xo, 0);
        SizedClientRect = SkinClientRect;
        SizedClientRect.Right += xo;
        break;
    case 3:
        width = RectWidth(SkinRectangle);
        SizedLeftTopPoint = LeftTopPoint;
        SizedLeftBottomPoint = Moved(LeftBottomPoint, 0, yo);
        SizedClientRect = SkinClientRect;
        SizedClientRect.Bottom += yo;
        break;
    default:
        break;
    }
}

template <class Root> void TspSkinCustomRoot<Root>::SetBounds(int left, int top, int width, int height)
{
    GetSkinData();
    const bool sizeChanged = (width != this->Width() || height != this->Height()) && this->SkinIndex != -1;
    if (sizeChanged) {
        CalcSize(width, height);
        if (SkinResizeMode == 0)
            SizedClientRect = SkinClientRect;
    }
    top = CenteredTopInToolBar(this->Parent(), top, height, false);
    inherited::SetBounds(left, top, width, height);
    if (sizeChanged) {
        UpdateControlRegion();
        this->Repaint();
    }
}

template <class Root> void TspSkinCustomRoot<Root>::ChangeSkinData()
{
    GetSkinData();
    this->ApplySkinCursor();
    bool sizeChanged = false;
    if (this->SkinIndex == -1) {
        if (FDefaultWidth > 0)
            this->SetWidth(FDefaultWidth);
        if (FDefaultHeight > 0)
            this->SetHeight(FDefaultHeight);
    } else {
        int width = this->Width();
        int height = this->Height();
        CalcSize(width, height);
        sizeChanged = width != this->Width() || height != this->Height();
        this->SetWidth(width);
        this->SetHeight(height);
    }
    if (this->SkinIndex == -1 || !sizeChanged) {
        UpdateControlRegion();
        this->Repaint();
    }
}

template <class Root> void TspSkinCustomRoot<Root>::CreateControlDefaultImage(TBitmap* bitmap)
{
    TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(this->ClientRect());
}

template <class Root> void TspSkinCustomRoot<Root>::CreateControlSkinImage(TBitmap* bitmap)
{
    CreateSkinControlImage(bitmap, SkinPicture, SkinRectangle);
}

template <class Root>
void TspSkinCustomRoot<Root>::CreateSkinControlImage(TBitmap* dest, TBitmap* picture, const TRect& rect)
{
    if (!picture)
        return;
    if (!FaceCached()) {
        ComposeSkinControlImage(dest, picture, rect);
        return;
    }
    // The pieces are cut and stretched once per skin, size and state; a repaint copies the finished image.
    CopyCachedImage(dest, CachedFace(picture, rect, dest->Width(), dest->Height()));
}

template <class Root>
TBitmap* TspSkinCustomRoot<Root>::SkinControlImage(
    TBitmap* picture, const TRect& rect, int width, int height, TBitmap& scratch)
{
    if (picture && FaceCached())
        return CachedFace(picture, rect, width, height);
    scratch.SetSize(width, height);
    if (picture)
        ComposeSkinControlImage(&scratch, picture, rect);
    return &scratch;
}

template <class Root> TBitmap* TspSkinCustomRoot<Root>::KeptSkinControlImage(TBitmap* picture, const TRect& rect)
{
    if (!picture || !FaceCached())
        return nullptr;
    return CachedFace(picture, rect, this->Width(), this->Height());
}

template <class Root> bool TspSkinCustomRoot<Root>::FaceCached() const
{
    // Without a resize mode nothing is composed, nor when the border strips are painted on their own.
    const bool composes = SkinResizeMode == 0 || SkinResizeMode == 2 || SkinResizeMode == 3
        || (SkinResizeMode == 1 && !StripsPainted());
    return composes && this->SkinData();
}

template <class Root>
TBitmap* TspSkinCustomRoot<Root>::CachedFace(TBitmap* picture, const TRect& rect, int width, int height)
{
    return this->SkinData()->ImageCache()->Image(SkinControlImageKey(picture, rect, width, height), [&](TBitmap* fresh) {
        fresh->SetSize(width, height);
        ComposeSkinControlImage(fresh, picture, rect);
    });
}

template <class Root>
TspSkinImageKey TspSkinCustomRoot<Root>::SkinControlImageKey(
    TBitmap* picture, const TRect& rect, int destWidth, int destHeight, TspSkinImageKind kind) const
{
    // Every value ComposeSkinControlImage reads, whatever the mode uses of them.
    TspSkinImageKey key(kind, picture);
    key.Add(SkinResizeMode).Add(rect).Add(destWidth).Add(destHeight).Add(this->Width()).Add(this->Height()).Add(SkinRectangle);
    key.Add(LeftTopPoint).Add(RightTopPoint).Add(LeftBottomPoint).Add(RightBottomPoint).Add(SkinClientRect);
    key.Add(SizedLeftTopPoint).Add(SizedRightTopPoint).Add(SizedLeftBottomPoint).Add(SizedRightBottomPoint);
    key.Add(SizedClientRect).Add(LeftStretch).Add(TopStretch).Add(RightStretch).Add(BottomStretch);
    key.Add(ClientStretchEffect).Add(static_cast<int>(ClientStretchType));
    return key;
}

template <class Root>
void TspSkinCustomRoot<Root>::ComposeSkinControlImage(TBitmap* dest, TBitmap* picture, const TRect& rect)
{
    const int width = this->Width();
    const int height = this->Height();
    switch (SkinResizeMode) {
    case 0:
        dest->SetSize(RectWidth(rect), RectHeight(rect));
        dest->Canvas()->CopyRect(Rect(0, 0, dest->Width(), dest->Height()), picture->Canvas(), rect);
        break;
    case 1:
        if (!StripsPainted())
            CreateSkinImage(LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint, SkinClientRect,
                SizedLeftTopPoint, SizedRightTopPoint, SizedLeftBottomPoint, SizedRightBottomPoint, SizedClientRect,
                dest, picture, rect, width, height, true, LeftStretch, TopStretch, RightStretch, BottomStretch,
                ClientStretchEffect, ClientStretchType);
        break;
    case 2:
        CreateHSkinImage(LeftTopPoint.X, RectWidth(SkinRectangle) - RightTopPoint.X, dest, picture, rect, width, height,
            ClientStretchEffect);
        break;
    case 3:
        CreateVSkinImage(LeftTopPoint.Y, RectHeight(SkinRectangle) - LeftBottomPoint.Y, dest, picture, rect, width,
            height, ClientStretchEffect);
        break;
    default:
        break;
    }
}

template <class Root> TRect TspSkinCustomRoot<Root>::GetNewRect(const TRect& r) const
{
    const int xo = this->Width() - RectWidth(SkinRectangle);
    const int yo = this->Height() - RectHeight(SkinRectangle);
    const int sw = RectWidth(SkinRectangle);
    const int sh = RectHeight(SkinRectangle);
    TRect result = r;
    const TPoint topLeft { r.Left, r.Top };
    const TPoint bottomRight { r.Right, r.Bottom };
    switch (SkinResizeMode) {
    case 1: {
        const TRect lt = Rect(0, 0, LeftTopPoint.X, LeftTopPoint.Y);
        const TRect rt = Rect(RightTopPoint.X, 0, sw, RightTopPoint.Y);
        const TRect lb = Rect(0, LeftBottomPoint.Y, LeftBottomPoint.X, sh);
        const TRect rb = Rect(RightBottomPoint.X, RightBottomPoint.Y, sw, sh);
        auto offset = [&result](int dx, int dy) {
            result.Left += dx;
            result.Right += dx;
            result.Top += dy;
            result.Bottom += dy;
        };
        if (RectInRect(r, lt))
            break;
        if (RectInRect(r, rt)) {
            offset(xo, 0);
            break;
        }
        if (RectInRect(r, lb)) {
            offset(0, yo);
            break;
        }
        if (RectInRect(r, rb)) {
            offset(xo, yo);
            break;
        }
        if (PointInRect(lt, topLeft) && PointInRect(rb, bottomRight)) {
            result.Right += xo;
            result.Bottom += yo;
        } else if (PointInRect(lt, topLeft) && PointInRect(rt, bottomRight)) {
            result.Right += xo;
        } else if (PointInRect(lb, topLeft) && PointInRect(rb, bottomRight)) {
            result.Right += xo;
            offset(0, yo);
        } else if (PointInRect(lt, topLeft) && PointInRect(lb, bottomRight)) {
            result.Bottom += yo;
        } else if (PointInRect(rt, topLeft) && PointInRect(rb, bottomRight)) {
            offset(xo, 0);
            result.Bottom += yo;
        }
        break;
    }
    case 2:
        if (r.Left <= LeftTopPoint.X && r.Right >= RightTopPoint.X)
            result.Right += xo;
        else if (r.Left >= RightTopPoint.X && r.Right > RightTopPoint.X) {
            result.Left += xo;
            result.Right += xo;
        }
        break;
    case 3:
        if (r.Top <= LeftTopPoint.Y && r.Bottom >= LeftBottomPoint.Y)
            result.Bottom += yo;
        else if (r.Top >= LeftBottomPoint.Y && r.Bottom > LeftBottomPoint.Y) {
            result.Top += yo;
            result.Bottom += yo;
        }
        break;
    default:
        break;
    }
    return result;
}

template class TspSkinCustomRoot<TspSkinControl>;
template class TspSkinCustomRoot<TspGraphicSkinControl>;

// ---- TspSkinCustomControl ---------------------------------------------------------------------------------------

TspSkinCustomControl::TspSkinCustomControl(TComponent* owner)
    : inherited(owner)
{
}

void TspSkinCustomControl::SetBounds(int left, int top, int width, int height)
{
    inherited::SetBounds(left, top, width, height);
    // Blended children show a client part that was stretched anew.
    if (SkinIndex != -1 && ClientStretchEffect)
        CheckControlsBackground();
}

void TspSkinCustomControl::CreateWnd()
{
    inherited::CreateWnd();
    // A region made before the window existed could not be given to it.
    if (SkinMask && SkinIndex != -1)
        CreateControlRegion();
}

void TspSkinCustomControl::GiveRegion(HRGN region)
{
    // The window takes the region and deletes the one it held before.
    if (HandleAllocated())
        SetWindowRgn(Handle(), region, TRUE);
    else if (region)
        DeleteObject(region);
    ControlRegion = HandleAllocated() ? region : nullptr;
}

void TspSkinCustomControl::SetControlRegion()
{
    if (SkinMask && SkinIndex != -1)
        CreateControlRegion();
    else if (ControlRegion)
        GiveRegion(nullptr);
}

void TspSkinCustomControl::CreateControlRegion()
{
    int width = Width();
    int height = Height();
    CalcSize(width, height);
    HRGN region = nullptr;
    const int sw = RectWidth(SkinRectangle);
    const int sh = RectHeight(SkinRectangle);
    switch (SkinResizeMode) {
    case 0:
        CreateSkinSimplyRegion(region, SkinMask);
        break;
    case 1:
        CreateSkinRegion(region, LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint, SkinClientRect,
            SizedLeftTopPoint, SizedRightTopPoint, SizedLeftBottomPoint, SizedRightBottomPoint, SizedClientRect,
            SkinMask, Width(), Height());
        break;
    case 2: {
        const TPoint right { Width() + RightTopPoint.X - sw, RightTopPoint.Y };
        CreateSkinRegion(region, LeftTopPoint, RightTopPoint, LeftTopPoint, RightTopPoint, SkinClientRect, LeftTopPoint,
            right, LeftTopPoint, right, SizedClientRect, SkinMask, Width(), Height());
        break;
    }
    case 3: {
        const TPoint bottom { LeftBottomPoint.X, Height() + LeftBottomPoint.Y - sh };
        CreateSkinRegion(region, LeftTopPoint, LeftTopPoint, LeftBottomPoint, LeftBottomPoint, SkinClientRect,
            LeftTopPoint, LeftTopPoint, bottom, bottom, SizedClientRect, SkinMask, Width(), Height());
        break;
    }
    default:
        break;
    }
    GiveRegion(region);
}

void TspSkinCustomControl::Paint()
{
    if (Width() < 1 || Height() < 1)
        return;
    GetSkinData();
    int width = Width();
    int height = Height();
    CalcSize(width, height);
    if (SkinIndex == -1 || !PaintBorderStrips || SkinResizeMode != 1 || AlphaBlend() || !SkinPicture) {
        inherited::Paint();
        return;
    }
    TBitmap left, top, right, bottom;
    CreateSkinBorderImages(LeftTopPoint, RightTopPoint, LeftBottomPoint, RightBottomPoint, SkinClientRect,
        SizedLeftTopPoint, SizedRightTopPoint, SizedLeftBottomPoint, SizedRightBottomPoint, SizedClientRect, &left,
        &top, &right, &bottom, SkinPicture, SkinRectangle, Width(), Height(), LeftStretch, TopStretch, RightStretch,
        BottomStretch);
    CreateControlSkinImage(&top);
    if (PaintClientArea)
        PaintClientTiles();
    TCanvas* canvas = Canvas();
    canvas->Draw(0, 0, &top);
    canvas->Draw(0, top.Height(), &left);
    canvas->Draw(Width() - right.Width(), top.Height(), &right);
    canvas->Draw(0, Height() - bottom.Height(), &bottom);
}

void TspSkinCustomControl::PaintClientTiles()
{
    const TRect& client = SizedClientRect;
    const int tileWidth = RectWidth(SkinClientRect);
    const int tileHeight = RectHeight(SkinClientRect);
    // A client part without extent cannot be tiled: the client area is left as it is.
    if (tileWidth <= 0 || tileHeight <= 0 || IsNullRect(client))
        return;
    TCanvas* canvas = Canvas();
    const HDC dc = canvas->Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, client.Left, client.Top, client.Right, client.Bottom);
    const TRect tile = Rect(SkinRectangle.Left + SkinClientRect.Left, SkinRectangle.Top + SkinClientRect.Top,
        SkinRectangle.Left + SkinClientRect.Right, SkinRectangle.Top + SkinClientRect.Bottom);
    const int clientWidth = RectWidth(client);
    const int clientHeight = RectHeight(client);
    TCanvas* source = SkinPicture->Canvas();
    if (!ClientStretchEffect) {
        for (int row = 0; row <= clientHeight / tileHeight; ++row)
            for (int col = 0; col <= clientWidth / tileWidth; ++col) {
                const int x = client.Left + col * tileWidth;
                const int y = client.Top + row * tileHeight;
                canvas->CopyRect(Rect(x, y, x + tileWidth, y + tileHeight), source, tile);
            }
    } else if (ClientStretchType == spstFull) {
        canvas->CopyRect(client, source, tile);
    } else if (ClientStretchType == spstHorz) {
        for (int col = 0; col <= clientWidth / tileWidth; ++col) {
            const int x = client.Left + col * tileWidth;
            canvas->CopyRect(Rect(x, client.Top, x + tileWidth, client.Bottom), source, tile);
        }
    } else {
        for (int row = 0; row <= clientHeight / tileHeight; ++row) {
            const int y = client.Top + row * tileHeight;
            canvas->CopyRect(Rect(client.Left, y, client.Right, y + tileHeight), source, tile);
        }
    }
    RestoreDC(dc, saved);
}

// ---- TspGraphicSkinCustomControl --------------------------------------------------------------------------------

TspGraphicSkinCustomControl::TspGraphicSkinCustomControl(TComponent* owner)
    : inherited(owner)
{
}

#include "imaging/TBitmapLayer.h"

#include "framework/core/Numbers.h"
#include "imaging/Img32.h"
#include "imaging/Img32_Transforms.h"
#include "imaging/TBitmap32.h"
#include "imaging/TImage32.h"

TBitmapLayer::TBitmapLayer(TLayerCollection* layerCollection)
    : inherited(layerCollection)
    , FBitmap(std::make_unique<TBitmap32>())
{
    FBitmap->OnChange = [this](TObject*) { Changed(); };
}

TBitmapLayer::~TBitmapLayer()
{
    FBitmap->OnChange = nullptr;
}

TCustomLayer* TBitmapLayer::NewOfSameClass(TLayerCollection* layerCollection) const
{
    return new TBitmapLayer(layerCollection);
}

void TBitmapLayer::SetBitmap(TBitmap32* value)
{
    FBitmap->Assign(value);
}

void TBitmapLayer::SetCropped(bool value)
{
    if (value == FCropped)
        return;
    FCropped = value;
    Changed();
}

bool TBitmapLayer::DoHitTest(int x, int y)
{
    if (!inherited::DoHitTest(x, y))
        return false;
    if (!HitByAlpha)
        return true;
    const TFloatRect a = GetAdjustedLocation();
    const int w = int(Round(double(a.Right) - a.Left));
    const int h = int(Round(double(a.Bottom) - a.Top));
    if (w < 1 || h < 1)
        return false;
    const int bx = int(Round((x - double(a.Left)) * FBitmap->Width() / w));
    const int by = int(Round((y - double(a.Top)) * FBitmap->Height() / h));
    return (FBitmap->PixelS(bx, by) >> 24) != 0;
}

void TBitmapLayer::Paint(TBitmap32* buffer)
{
    if (FBitmap->Empty())
        return;
    const TRect dstRect = Img32::MakeRect(GetAdjustedLocation(), rrClosest);
    const TRect srcRect { 0, 0, FBitmap->Width(), FBitmap->Height() };
    TRect clipRect { 0, 0, buffer->Width(), buffer->Height() };
    auto* image = LayerCollection() ? dynamic_cast<TCustomImage32*>(LayerCollection()->GetOwner()) : nullptr;
    if (FCropped && image && !image->PaintingTo()) {
        if (dstRect.Right - dstRect.Left < 1 || dstRect.Bottom - dstRect.Top < 1)
            return;
        Img32::IntersectRect(clipRect, clipRect, image->GetBitmapRect());
    }
    Img32_Transforms::StretchTransfer(buffer, dstRect, clipRect, FBitmap.get(), srcRect, FBitmap->StretchFilter(),
        FBitmap->DrawMode(), FBitmap->OnPixelCombine);
}

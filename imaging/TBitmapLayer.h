// TBitmapLayer: a positioned layer that shows a TBitmap32 of its own at its location.
#pragma once
#include "imaging/TLayerCollection.h"

#include <memory>

class TBitmapLayer : public TPositionedLayer {
    using inherited = TPositionedLayer;

public:
    explicit TBitmapLayer(TLayerCollection* layerCollection);
    ~TBitmapLayer() override;
    TCustomLayer* NewOfSameClass(TLayerCollection* layerCollection) const override;

    TBitmap32* Bitmap() const { return FBitmap.get(); }
    // Copies `value`.
    void SetBitmap(TBitmap32* value);
    // A hit needs a pixel that is not fully transparent.
    bool HitByAlpha = false;
    bool Cropped() const { return FCropped; }
    // Clipped to the image's bitmap rectangle (except while the image paints into another bitmap).
    void SetCropped(bool value);

protected:
    bool DoHitTest(int x, int y) override;
    void Paint(TBitmap32* buffer) override;

private:
    std::unique_ptr<TBitmap32> FBitmap;
    bool FCropped = false;
};

// TCustomImageList and TImageList: a list of same-sized images with transparency, drawn onto canvases.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/core/TComponent.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Forward.h"

#include <memory>
#include <vector>

enum TDrawingStyle : uint8_t { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType : uint8_t { itImage, itMask };

// Raised for a bad image index or an image of the wrong size.
class EInvalidImageList : public Exception {
public:
    using Exception::Exception;
};

// Each image is kept as 32-bit pixels with an alpha of 0 where its mask (or mask colour) made it
// transparent and 255 elsewhere. Changing Width or Height clears the list.
class TCustomImageList : public TComponent {
    using inherited = TComponent;

public:
    explicit TCustomImageList(TComponent* owner);
    TCustomImageList(TComponent* owner, int width, int height);
    ~TCustomImageList() override;

    int Width() const { return FWidth; }
    void SetWidth(int value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    int Count() const { return static_cast<int>(FImages.size()); }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value);
    TColor BlendColor() const { return FBlendColor; }
    void SetBlendColor(TColor value) { FBlendColor = value; }
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle value);
    TImageType ImageType() const { return FImageType; }
    void SetImageType(TImageType value) { FImageType = value; }
    bool Masked() const { return FMasked; }
    void SetMasked(bool value);
    bool ShareImages() const { return FShareImages; }
    void SetShareImages(bool value) { FShareImages = value; }

    // Adds the image (a bitmap as wide as several images adds each of them) with `mask`, whose non-black
    // pixels are transparent (null: opaque). Returns the index of the first image added.
    int Add(TBitmap* image, TBitmap* mask);
    // Adds the image with every pixel of `maskColor` transparent.
    int AddMasked(TBitmap* image, TColor maskColor);
    // Adds the images of another list.
    void AddImages(TCustomImageList* value);
    void Insert(int index, TBitmap* image, TBitmap* mask);
    void InsertMasked(int index, TBitmap* image, TColor maskColor);
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void ReplaceMasked(int index, TBitmap* image, TColor maskColor);
    void Delete(int index);
    void Clear();
    void Move(int curIndex, int newIndex);
    // Copies image `index` into `image` (32 bits per pixel, transparent parts in BkColor, or black).
    void GetBitmap(int index, TBitmap* image) const;

    // Draws image `index` at (x, y), transparently where masked; `enabled` false draws it greyed.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    void Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle style, TImageType type, bool enabled = true);

    TNotifyEvent OnChange;

protected:
    virtual void DoDraw(int index, TCanvas* canvas, int x, int y, TDrawingStyle style, bool enabled);
    virtual void Change();
    const TBitmap* Image(int index) const;

private:
    void CheckIndex(int index) const;
    // The images of `image`, each Width x Height, with the transparency of `mask` or `maskColor`.
    std::vector<std::unique_ptr<TBitmap>> Split(TBitmap* image, TBitmap* mask, TColor maskColor, bool useColor) const;

    int FWidth = 16;
    int FHeight = 16;
    TColor FBkColor = clNone;
    TColor FBlendColor = clNone;
    TDrawingStyle FDrawingStyle = dsNormal;
    TImageType FImageType = itImage;
    bool FMasked = true;
    bool FShareImages = false;
    std::vector<std::unique_ptr<TBitmap>> FImages;
};

class TImageList : public TCustomImageList {
    using inherited = TCustomImageList;

public:
    using TCustomImageList::TCustomImageList;
};

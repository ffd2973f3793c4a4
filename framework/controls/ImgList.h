// TCustomImageList and TImageList: a list of same-sized images with transparency, drawn onto canvases.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/controls/Forward.h"
#include "framework/core/TComponent.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Forward.h"
#include "framework/graphics/Types.h"
#include "platform/win/WinTypes.h"

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

    // --- The drag image (ImageListDrag.cpp) ---------------------------------------------------------
    // The drag image is one image of the list shown in a window of its own above all others, which the
    // mouse passes through, with its hot spot under the point that BeginDrag and DragMove give.
    // Chooses image `index` (false for a bad index) and the point of it that sits under the pointer.
    bool SetDragImage(int index, int hotSpotX, int hotSpotY);
    TPoint DragHotspot() const { return FDragHotspot; }
    void SetDragHotspot(const TPoint& value);
    // Shows the drag image at (x, y): coordinates from the top-left corner of `window`, or screen
    // coordinates when it is null. False when a drag image is already up or the list is empty.
    bool BeginDrag(HWND window, int x, int y);
    // Moves the drag image (in the coordinates BeginDrag was given).
    bool DragMove(int x, int y);
    // Takes the drag image away.
    bool EndDrag();
    void HideDragImage();
    void ShowDragImage();
    // A drag image is up (shown or hidden) between BeginDrag and EndDrag.
    bool Dragging() const { return FDragWindow != nullptr; }
    // Where the drag image's window is (screen coordinates); empty without one.
    TRect DragImageRect() const;
    bool DragImageShown() const;

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
    int FDragIndex = 0;
    TPoint FDragHotspot;
    HWND FDragLock = nullptr;
    std::unique_ptr<TCustomControl> FDragWindow;
};

class TImageList : public TCustomImageList {
    using inherited = TCustomImageList;

public:
    using TCustomImageList::TCustomImageList;
};

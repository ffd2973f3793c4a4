// TCustomImage32 and TImage32: the double-buffered image control that shows a TBitmap32 of its own, placed by a
// scale mode and an alignment, with a stack of layers above it, rendered through a list of paint stages.
#pragma once
#include "imaging/TLayerCollection.h"
#include "imaging/TPaintBox32.h"

#include <memory>
#include <vector>

enum TScaleMode : uint8_t { smNormal, smStretch, smScale, smResize };
enum TBitmapAlign : uint8_t { baTopLeft, baCenter, baTile, baCustom };

// Stage codes; 0 and every code above 7 do nothing.
constexpr uint32_t stageCustom = 1; // fires OnPaintStage
constexpr uint32_t stageClearBuffer = 2; // the whole target in Color
constexpr uint32_t stageClearBackground = 3; // what the bitmap does not cover in Color
constexpr uint32_t stageDrawBitmap = 4; // the bitmap stretched (or tiled) into its rectangle
constexpr uint32_t stageDrawLayers = 5; // the layers whose options share a bit with Param
constexpr uint32_t stageControlFrame = 6; // a focus rectangle around the control
constexpr uint32_t stageBitmapFrame = 7; // a focus rectangle around the bitmap

struct TPaintStage {
    bool AtDesignTime = false;
    bool AtRunTime = false;
    uint32_t Code = 0;
    uint32_t Param = 0;
};
using PPaintStage = TPaintStage*;

// The image's ordered stage list. A returned pointer stays valid until the next Add, Insert, Delete or Clear.
class TPaintStages {
public:
    // A run-time stage with code 0 at the end.
    PPaintStage Add();
    // The same at `index`, clamped to 0 .. Count.
    PPaintStage Insert(int index);
    // EListError "Invalid stage index" outside 0 .. Count - 1.
    void Delete(int index);
    void Clear() { FStages.clear(); }
    int Count() const { return static_cast<int>(FStages.size()); }
    PPaintStage Items(int index) { return &FStages[index]; }

private:
    std::vector<TPaintStage> FStages;
};

using TImgMouseEvent
    = std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y, TCustomLayer* layer)>;
using TImgMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y, TCustomLayer* layer)>;
using TPaintStageEvent = std::function<void(TObject* sender, TBitmap32* buffer, uint32_t stageNum)>;

class TCustomImage32 : public TCustomPaintBox32 {
    using inherited = TCustomPaintBox32;

public:
    explicit TCustomImage32(TComponent* owner);
    ~TCustomImage32() override;

    TBitmap32* Bitmap() const { return FBitmap.get(); }
    // Copies `value` into the owned bitmap after dropping the mapping.
    void SetBitmap(TBitmap32* value);
    TBitmapAlign BitmapAlign() const { return FBitmapAlign; }
    // Repaints also with the same value.
    void SetBitmapAlign(TBitmapAlign value);
    TLayerCollection* Layers() const { return FLayers.get(); }
    void SetLayers(TLayerCollection* value);
    float OffsetHorz() const { return FOffsetHorz; }
    void SetOffsetHorz(float value);
    float OffsetVert() const { return FOffsetVert; }
    void SetOffsetVert(float value);
    TPaintStages* PaintStages() const { return FPaintStages.get(); }
    float Scale() const { return FScale; }
    // Never below 0.001.
    void SetScale(float value);
    TScaleMode ScaleMode() const { return FScaleMode; }
    void SetScaleMode(TScaleMode value);
    // The bitmap's own pixel-combine handler.
    const TPixelCombineEvent& OnPixelCombine() const;
    void SetOnPixelCombine(TPixelCombineEvent value);
    // True while PaintTo runs.
    bool PaintingTo() const { return FPaintingTo; }
    // The cached mapping, brought up to date.
    const TImageMapping& Mapping();

    // Points between control and bitmap coordinates with the current mapping (truncating toward zero).
    TPoint BitmapToControl(const TPoint& p);
    TPoint ControlToBitmap(const TPoint& p);
    // The bitmap's size on the control, and its rectangle in control coordinates.
    virtual TSize GetBitmapSize();
    virtual TRect GetBitmapRect();
    // Renders the image into `dest`, the bitmap fitted into destRect; the run-time stages run.
    void PaintTo(TBitmap32* dest, const TRect& destRect);
    // Sizes Bitmap to the viewport, clears it when doClear, then one Changed.
    void SetupBitmap(bool doClear = false, TColor32 clearColor = 0xFF000000);

    virtual void BeginUpdate();
    // Count - 1; EAssertionFailed "Unpaired EndUpdate call" below 0. Does not call Changed.
    virtual void EndUpdate();
    // While no update is open: invalidate and fire OnChange.
    virtual void Changed();
    // Marks the buffer stale, drops the mapping and invalidates the window.
    void Invalidate() override;
    // Drops the mapping only.
    void InvalidateCache() { FMappingValid = false; }
    void Loaded() override;
    void WndProc(TMessage& message) override;

    TNotifyEvent OnBitmapResize;
    TNotifyEvent OnChange;
    TNotifyEvent OnInitStages;
    TImgMouseEvent OnMouseDown;
    TImgMouseMoveEvent OnMouseMove;
    TImgMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TPaintStageEvent OnPaintStage;

protected:
    virtual void BitmapResized();
    virtual void DoInitStages();
    virtual void DoScaleChange();
    virtual void InitDefaultStages();
    virtual void ExecBitmapFrame(TBitmap32* dest, int stageNum);
    virtual void ExecClearBuffer(TBitmap32* dest, int stageNum);
    virtual void ExecClearBackgnd(TBitmap32* dest, int stageNum);
    virtual void ExecControlFrame(TBitmap32* dest, int stageNum);
    virtual void ExecCustom(TBitmap32* dest, int stageNum);
    virtual void ExecDrawBitmap(TBitmap32* dest, int stageNum);
    virtual void ExecDrawLayers(TBitmap32* dest, int stageNum);

    bool CanAutoSize(int& newWidth, int& newHeight) override;
    void DoPaintBuffer() override;
    // A bitmap that covers the viewport unscaled and opaque, under stages that would only copy it, goes to the
    // window straight from its own pixels: the picture is the same, and the copy into the buffer is saved.
    bool PaintDirect(HDC dc) override;
    void PrepareFlush() override;
    void DoPaintGDIOverlay() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Resize() override;

    bool Designing() const;
    int UpdateCount() const { return FUpdateCount; }

private:
    void UpdateCache();
    void ExecStage(int index, TBitmap32* dest);
    // The run-time stages would leave exactly the bitmap's pixels in the viewport.
    bool RendersBitmapOnly();
    // The bitmap's size on the control by AutoSize's rule.
    TSize AutoSizeOf() const;

    std::unique_ptr<TBitmap32> FBitmap;
    TBitmapAlign FBitmapAlign = baTopLeft;
    std::unique_ptr<TLayerCollection> FLayers;
    float FOffsetHorz = 0;
    float FOffsetVert = 0;
    std::unique_ptr<TPaintStages> FPaintStages;
    float FScale = 1.0f;
    TScaleMode FScaleMode = smNormal;
    int FUpdateCount = 0;
    TRect FCachedBitmapRect {};
    TImageMapping FMapping;
    bool FMappingValid = false;
    bool FPaintingTo = false;
    // The last paint went straight from the bitmap; the buffer has not been rendered since.
    bool FPaintedDirect = false;
};

class TImage32 : public TCustomImage32 {
public:
    using TCustomImage32::TCustomImage32;
};

// TRubberbandLayer: a selection frame with sizing handles that the user moves and resizes with the mouse,
// optionally dragging another positioned layer (its child) along.
#pragma once
#include "imaging/TLayerCollection.h"

enum TDragState : uint8_t { dsNone, dsMove, dsSizeL, dsSizeT, dsSizeR, dsSizeB, dsSizeTL, dsSizeTR, dsSizeBL, dsSizeBR };
enum TRBHandle : uint8_t { rhCenter, rhSides, rhCorners, rhFrame };
using TRBHandles = TSet<TRBHandle, rhFrame>;

using TRBResizingEvent = std::function<void(TObject* sender, const TFloatRect& oldLocation, TFloatRect& newLocation,
    TDragState dragState, TShiftState shift)>;

class TRubberbandLayer : public TPositionedLayer {
    using inherited = TPositionedLayer;

public:
    explicit TRubberbandLayer(TLayerCollection* layerCollection);
    ~TRubberbandLayer() override;
    TCustomLayer* NewOfSameClass(TLayerCollection* layerCollection) const override;

    TPositionedLayer* ChildLayer() const { return FChildLayer; }
    // Follows the child's location and Scaled flag; while there is a child the rubber band itself raises no
    // notifications (the child's location changes do).
    void SetChildLayer(TPositionedLayer* value);
    TColor32 HandleFrame() const { return FHandleFrame; }
    void SetHandleFrame(TColor32 value);
    TColor32 HandleFill() const { return FHandleFill; }
    void SetHandleFill(TColor32 value);
    TRBHandles Handles() const { return FHandles; }
    void SetHandles(TRBHandles value);
    // A handle is a square of 2 x HandleSize pixels; never below 1.
    int HandleSize() const { return FHandleSize; }
    void SetHandleSize(int value);

    // Layer coordinates; a maximum counts only when it is not below its minimum.
    float MinWidth = 10;
    float MaxWidth = 0;
    float MinHeight = 10;
    float MaxHeight = 0;

    // The drag that a press at (x, y) would start.
    virtual TDragState GetDragState(int x, int y);
    TDragState DragState() const { return FDragState; }
    bool IsDragging() const { return FIsDragging; }

    TNotifyEvent OnUserChange;
    TRBResizingEvent OnResizing;

protected:
    virtual void DoResizing(const TFloatRect& oldLocation, TFloatRect& newLocation, TDragState dragState,
        TShiftState shift);
    bool DoHitTest(int x, int y) override;
    void DoSetLocation(const TFloatRect& value) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TCustomLayer* layer) override;
    void Paint(TBitmap32* buffer) override;

private:
    void UpdateChildLayer();
    void RequestGDIUpdate();

    TPositionedLayer* FChildLayer = nullptr;
    TColor32 FHandleFrame = 0x00000000;
    TColor32 FHandleFill = 0x00FFFFFF;
    TRBHandles FHandles { rhCenter, rhSides, rhCorners, rhFrame };
    int FHandleSize = 3;
    TDragState FDragState = dsNone;
    bool FIsDragging = false;
    TFloatRect FOldLocation;
    float FMouseShiftX = 0;
    float FMouseShiftY = 0;
};

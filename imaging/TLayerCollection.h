// The layers an image control draws over its bitmap: TLayerCollection, which holds them in paint order, routes the
// image's mouse events to them and tells the image when to repaint, and the base layers TCustomLayer and
// TPositionedLayer.
#pragma once
#include "framework/controls/ControlsEvents.h"
#include "framework/core/TPersistent.h"
#include "framework/core/TSet.h"
#include "framework/graphics/Forward.h"
#include "imaging/Img32Types.h"

#include <functional>
#include <vector>

class TBitmap32;
class TCustomLayer;

// The image's mapping between bitmap and control coordinates: scales in 16.16 fixed point (control pixels per
// bitmap pixel and back), origin the control position of the bitmap's top-left corner.
struct TImageMapping {
    int32_t ScaleX = 65536;
    int32_t ScaleY = 65536;
    int32_t OriginX = 0;
    int32_t OriginY = 0;
    int32_t InverseScaleX = 65536;
    int32_t InverseScaleY = 65536;
};

// Layer option bits; the other 27 bits are the program's own.
constexpr uint32_t loVisible = 0x80000000u; // painted by the image's default draw-layers stage
constexpr uint32_t loGDIOverlay = 0x40000000u; // PaintGDI on the window after every copy to the screen
constexpr uint32_t loMouseEvents = 0x20000000u; // takes part in hit tests for mouse events
constexpr uint32_t loNoUpdate = 0x10000000u; // the layer's changes raise no notification
constexpr uint32_t loNoCapture = 0x08000000u; // a left press does not make it the mouse listener

enum TLayerState : uint8_t { lsMouseLeft, lsMouseRight, lsMouseMiddle };
using TLayerStates = TSet<TLayerState, lsMouseMiddle>;

using THitTestEvent = std::function<void(TObject* sender, int x, int y, bool& passed)>;
using TPaintLayerEvent = std::function<void(TObject* sender, TBitmap32* buffer)>;

// Owns its layers: index 0 is painted first (bottom), the last is on top.
class TLayerCollection : public TPersistent {
    using inherited = TPersistent;

public:
    explicit TLayerCollection(TPersistent* owner);
    ~TLayerCollection() override;

    // A new layer of class T on top (its constructor joins the collection).
    template <class T> T* Add() { return new T(this); }
    // A new layer of class T moved to `index`, inside one update.
    template <class T> T* Insert(int index)
    {
        BeginUpdate();
        T* layer = nullptr;
        try {
            layer = Add<T>();
            layer->SetIndex(index);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return layer;
    }
    // Destroys the layer at `index` (EListError "List index out of bounds (%d)" when there is none).
    void Delete(int index);
    // Destroys the layers from the last to the first, inside one update.
    void Clear();
    int Count() const { return static_cast<int>(FItems.size()); }
    TCustomLayer* Items(int index) const;
    // Assigns `layer` to the stored one.
    void SetItems(int index, TCustomLayer* layer);

    // A collection's layers are copied only when every one of them can be: the target is left untouched when one
    // cannot (the conversion error is raised before anything is destroyed).
    void Assign(TPersistent* source) override;

    // OnChanging when the count was 0, then count + 1.
    void BeginUpdate();
    // Count - 1, then Changed when it reaches 0. EAssertionFailed "Unpaired EndUpdate" below 0.
    void EndUpdate();
    // Fires OnChange whatever the update count.
    void Changed();
    void Changing();
    // Fires OnGDIUpdate while no update is open.
    void GDIUpdate();

    // From the top layer down, the first whose options share a bit with `optionMask` and whose HitTest passes.
    TCustomLayer* FindLayerAtPos(int x, int y, uint32_t optionMask);

    // Route the image's mouse events (client coordinates of the image); each returns the layer that took it.
    TCustomLayer* MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    TCustomLayer* MouseMove(TShiftState shift, int x, int y);
    TCustomLayer* MouseUp(TMouseButton button, TShiftState shift, int x, int y);

    bool MouseEvents() const { return FMouseEvents; }
    // Stores the flag and clears the mouse listener.
    void SetMouseEvents(bool value);
    TCustomLayer* MouseListener() const { return FMouseListener; }
    // The old listener's button states are cleared.
    void SetMouseListener(TCustomLayer* value);

    // The owner image's mapping, or null.
    TImageMapping* Mapping() const { return FMapping; }
    void SetMapping(TImageMapping* value) { FMapping = value; }
    TPersistent* GetOwner() const { return FOwner; }
    int UpdateCount() const { return FUpdateCount; }

    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;
    TNotifyEvent OnGDIUpdate;

protected:
    friend class TCustomLayer;
    void InsertItem(TCustomLayer* layer);
    void RemoveItem(TCustomLayer* layer);

private:
    TPersistent* FOwner;
    std::vector<TCustomLayer*> FItems;
    TImageMapping* FMapping = nullptr;
    bool FMouseEvents = true;
    TCustomLayer* FMouseListener = nullptr;
    int FUpdateCount = 0;
};

class TCustomLayer : public TPersistent {
    using inherited = TPersistent;

public:
    // Joins `layerCollection` on top (none when null), visible.
    explicit TCustomLayer(TLayerCollection* layerCollection);
    // Fires OnDestroy, tells the layers on the notification list (last first), then leaves the collection.
    ~TCustomLayer() override;

    // A new layer of this one's class, in `layerCollection`: the copy that TLayerCollection::Assign makes.
    virtual TCustomLayer* NewOfSameClass(TLayerCollection* layerCollection) const;

    TLayerCollection* LayerCollection() const { return FLayerCollection; }
    // Leaves the old collection (clearing its listener when it is this layer) and joins the new one on top.
    void SetLayerCollection(TLayerCollection* value);
    // The position in the collection, -1 without one.
    int Index() const;
    // Clamped to 0 .. Count - 1. A visible layer's move is one update of the collection; an invisible one's
    // raises nothing.
    virtual void SetIndex(int value);
    void BringToFront();
    void SendToBack();

    uint32_t LayerOptions() const { return FLayerOptions; }
    // Changing, store, Changed (also with the same value).
    void SetLayerOptions(uint32_t value);
    bool Visible() const { return (FLayerOptions & loVisible) != 0; }
    void SetVisible(bool value);
    bool MouseEvents() const { return (FLayerOptions & loMouseEvents) != 0; }
    void SetMouseEvents(bool value);
    TCursor Cursor() const { return FCursor; }
    // While the layer is the listener the screen cursor follows at once.
    void SetCursor(TCursor value);
    TLayerStates LayerStates() const { return FLayerStates; }
    void SetLayerStates(TLayerStates value) { FLayerStates = value; }

    // Makes the layer the collection's listener and shows its cursor.
    void SetAsMouseListener();
    // DoHitTest, then OnHitTest may change the answer.
    bool HitTest(int x, int y);
    // Paint, then OnPaint.
    void DoPaint(TBitmap32* buffer);
    // Adds (without duplicates) or removes a layer that is told when this one is destroyed.
    void AddNotification(TCustomLayer* layer);
    void RemoveNotification(TCustomLayer* layer);

    // The collection's Changing for a visible layer without loNoUpdate.
    void Changing();
    // Without loNoUpdate: the collection's Changed for a visible layer, else its GDIUpdate for a GDI overlay.
    void Changed();

    THitTestEvent OnHitTest;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TPaintLayerEvent OnPaint;
    TNotifyEvent OnDestroy;

protected:
    friend class TLayerCollection;

    virtual bool DoHitTest(int x, int y);
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // A layer on the notification list is being destroyed.
    virtual void Notification(TCustomLayer* layer);
    virtual void Paint(TBitmap32* buffer);

public:
    // Draws on the window canvas after every copy to the screen, for layers with loGDIOverlay.
    virtual void PaintGDI(TCanvas* canvas);

protected:
    uint32_t FLayerOptions = loVisible;

private:
    TLayerCollection* FLayerCollection = nullptr;
    std::vector<TCustomLayer*> FFreeNotifies;
    TLayerStates FLayerStates;
    TCursor FCursor = 0;
};

// A layer with a floating-point location; Scaled makes it bitmap coordinates that follow the image's mapping.
class TPositionedLayer : public TCustomLayer {
    using inherited = TCustomLayer;

public:
    explicit TPositionedLayer(TLayerCollection* layerCollection);
    TCustomLayer* NewOfSameClass(TLayerCollection* layerCollection) const override;

    const TFloatRect& Location() const { return FLocation; }
    // Changing, DoSetLocation, Changed (also with the same value).
    void SetLocation(const TFloatRect& value);
    bool Scaled() const { return FScaled; }
    void SetScaled(bool value);
    // The location in client coordinates of the image.
    TFloatRect GetAdjustedLocation() const;

protected:
    bool DoHitTest(int x, int y) override;
    virtual void DoSetLocation(const TFloatRect& value);

    TFloatRect FLocation { 0, 0, 64, 64 };
    bool FScaled = false;
};

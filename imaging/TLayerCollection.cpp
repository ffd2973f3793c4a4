#include "imaging/TLayerCollection.h"

#include "framework/controls/TControl.h"
#include "framework/controls/TScreen.h"
#include "framework/core/SysUtils.h"
#include "framework/core/TList.h"

#include <algorithm>
#include <memory>

namespace {

TLayerState StateOf(TMouseButton button)
{
    switch (button) {
    case mbRight:
        return lsMouseRight;
    case mbMiddle:
        return lsMouseMiddle;
    default:
        return lsMouseLeft;
    }
}

[[noreturn]] void ListIndexError(int index)
{
    throw EListError(Format("List index out of bounds (%d)", index));
}

} // namespace

// --- TLayerCollection -------------------------------------------------------------------------------------------

TLayerCollection::TLayerCollection(TPersistent* owner)
    : FOwner(owner)
{
}

TLayerCollection::~TLayerCollection()
{
    // Destroying the layers raises no notification.
    FUpdateCount = 1;
    while (!FItems.empty())
        delete FItems.back();
}

TCustomLayer* TLayerCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        ListIndexError(index);
    return FItems[index];
}

void TLayerCollection::SetItems(int index, TCustomLayer* layer)
{
    Items(index)->Assign(layer);
}

void TLayerCollection::Delete(int index)
{
    delete Items(index);
}

void TLayerCollection::Clear()
{
    BeginUpdate();
    try {
        while (!FItems.empty())
            delete FItems.back();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TLayerCollection::Assign(TPersistent* source)
{
    auto* other = dynamic_cast<TLayerCollection*>(source);
    if (!other) {
        inherited::Assign(source);
        return;
    }
    if (other == this)
        return;
    // The copies are made apart from any collection first: a layer that cannot be copied raises here, before the
    // target has lost anything.
    std::vector<std::unique_ptr<TCustomLayer>> copies;
    for (TCustomLayer* layer : other->FItems) {
        copies.emplace_back(layer->NewOfSameClass(nullptr));
        copies.back()->Assign(layer);
    }
    BeginUpdate();
    try {
        while (!FItems.empty())
            delete FItems.back();
        for (auto& copy : copies)
            copy.release()->SetLayerCollection(this);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TLayerCollection::BeginUpdate()
{
    if (FUpdateCount == 0)
        Changing();
    ++FUpdateCount;
}

void TLayerCollection::EndUpdate()
{
    --FUpdateCount;
    if (FUpdateCount == 0)
        Changed();
    if (FUpdateCount < 0)
        throw EAssertionFailed("Unpaired EndUpdate");
}

void TLayerCollection::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TLayerCollection::Changing()
{
    if (OnChanging)
        OnChanging(this);
}

void TLayerCollection::GDIUpdate()
{
    if (FUpdateCount == 0 && OnGDIUpdate)
        OnGDIUpdate(this);
}

void TLayerCollection::InsertItem(TCustomLayer* layer)
{
    BeginUpdate();
    try {
        FItems.push_back(layer);
        layer->FLayerCollection = this;
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TLayerCollection::RemoveItem(TCustomLayer* layer)
{
    BeginUpdate();
    std::erase(FItems, layer);
    layer->FLayerCollection = nullptr;
    EndUpdate();
}

TCustomLayer* TLayerCollection::FindLayerAtPos(int x, int y, uint32_t optionMask)
{
    for (int i = Count() - 1; i >= 0; --i) {
        TCustomLayer* layer = FItems[i];
        if ((layer->LayerOptions() & optionMask) && layer->HitTest(x, y))
            return layer;
    }
    return nullptr;
}

void TLayerCollection::SetMouseEvents(bool value)
{
    FMouseEvents = value;
    SetMouseListener(nullptr);
}

void TLayerCollection::SetMouseListener(TCustomLayer* value)
{
    if (value == FMouseListener)
        return;
    if (FMouseListener)
        FMouseListener->FLayerStates = TLayerStates {};
    FMouseListener = value;
}

TCustomLayer* TLayerCollection::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomLayer* layer = FMouseListener ? FMouseListener : FindLayerAtPos(x, y, loMouseEvents);
    if (button == mbLeft && layer != FMouseListener && (!layer || !(layer->LayerOptions() & loNoCapture)))
        SetMouseListener(layer);
    if (FMouseListener) {
        FMouseListener->FLayerStates.Include(StateOf(button));
        FMouseListener->MouseDown(button, shift, x, y);
    }
    return layer;
}

TCustomLayer* TLayerCollection::MouseMove(TShiftState shift, int x, int y)
{
    TCustomLayer* layer = FMouseListener ? FMouseListener : FindLayerAtPos(x, y, loMouseEvents);
    if (layer)
        layer->MouseMove(shift, x, y);
    else if (auto* control = dynamic_cast<TControl*>(FOwner))
        Screen->SetCursor(control->Cursor());
    return layer;
}

TCustomLayer* TLayerCollection::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomLayer* layer = FMouseListener ? FMouseListener : FindLayerAtPos(x, y, loMouseEvents);
    if (layer) {
        layer->FLayerStates.Exclude(StateOf(button));
        layer->MouseUp(button, shift, x, y);
    }
    if (FMouseListener && FMouseListener->FLayerStates.Empty())
        SetMouseListener(nullptr);
    return layer;
}

// --- TCustomLayer -----------------------------------------------------------------------------------------------

TCustomLayer::TCustomLayer(TLayerCollection* layerCollection)
{
    if (layerCollection)
        layerCollection->InsertItem(this);
    FLayerOptions = loVisible;
}

TCustomLayer::~TCustomLayer()
{
    if (OnDestroy)
        OnDestroy(this);
    // Each told layer may drop itself from the list, which can empty it.
    for (int i = int(FFreeNotifies.size()) - 1; i >= 0; --i) {
        if (i >= int(FFreeNotifies.size()))
            continue;
        FFreeNotifies[i]->Notification(this);
        if (FFreeNotifies.empty())
            break;
    }
    SetLayerCollection(nullptr);
}

TCustomLayer* TCustomLayer::NewOfSameClass(TLayerCollection* layerCollection) const
{
    return new TCustomLayer(layerCollection);
}

void TCustomLayer::SetLayerCollection(TLayerCollection* value)
{
    if (value == FLayerCollection)
        return;
    if (FLayerCollection) {
        if (FLayerCollection->MouseListener() == this)
            FLayerCollection->SetMouseListener(nullptr);
        FLayerCollection->RemoveItem(this);
    }
    if (value)
        value->InsertItem(this);
}

int TCustomLayer::Index() const
{
    if (!FLayerCollection)
        return -1;
    const auto& items = FLayerCollection->FItems;
    return int(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCustomLayer::SetIndex(int value)
{
    if (!FLayerCollection)
        return;
    auto& items = FLayerCollection->FItems;
    const int current = Index();
    value = std::clamp(value, 0, int(items.size()) - 1);
    if (value == current)
        return;
    const bool visible = Visible();
    if (visible)
        FLayerCollection->BeginUpdate();
    items.erase(items.begin() + current);
    items.insert(items.begin() + value, this);
    if (visible)
        FLayerCollection->EndUpdate();
}

void TCustomLayer::BringToFront()
{
    if (FLayerCollection)
        SetIndex(FLayerCollection->Count());
}

void TCustomLayer::SendToBack()
{
    SetIndex(0);
}

void TCustomLayer::SetLayerOptions(uint32_t value)
{
    Changing();
    FLayerOptions = value;
    Changed();
}

void TCustomLayer::SetVisible(bool value)
{
    SetLayerOptions(value ? FLayerOptions | loVisible : FLayerOptions & ~loVisible);
}

void TCustomLayer::SetMouseEvents(bool value)
{
    SetLayerOptions(value ? FLayerOptions | loMouseEvents : FLayerOptions & ~loMouseEvents);
}

void TCustomLayer::SetCursor(TCursor value)
{
    if (value == FCursor)
        return;
    FCursor = value;
    if (FLayerCollection && FLayerCollection->MouseListener() == this)
        Screen->SetCursor(value);
}

void TCustomLayer::SetAsMouseListener()
{
    if (!FLayerCollection)
        return;
    FLayerCollection->SetMouseListener(this);
    Screen->SetCursor(FCursor);
}

bool TCustomLayer::HitTest(int x, int y)
{
    bool passed = DoHitTest(x, y);
    if (OnHitTest)
        OnHitTest(this, x, y, passed);
    return passed;
}

bool TCustomLayer::DoHitTest(int, int)
{
    return true;
}

void TCustomLayer::DoPaint(TBitmap32* buffer)
{
    Paint(buffer);
    if (OnPaint)
        OnPaint(this, buffer);
}

void TCustomLayer::Paint(TBitmap32*)
{
}

void TCustomLayer::PaintGDI(TCanvas*)
{
}

void TCustomLayer::Notification(TCustomLayer*)
{
}

void TCustomLayer::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TCustomLayer::MouseMove(TShiftState shift, int x, int y)
{
    Screen->SetCursor(FCursor);
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TCustomLayer::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    Screen->SetCursor(crDefault);
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TCustomLayer::AddNotification(TCustomLayer* layer)
{
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), layer) == FFreeNotifies.end())
        FFreeNotifies.push_back(layer);
}

void TCustomLayer::RemoveNotification(TCustomLayer* layer)
{
    std::erase(FFreeNotifies, layer);
}

void TCustomLayer::Changing()
{
    if (FLayerCollection && Visible() && !(FLayerOptions & loNoUpdate))
        FLayerCollection->Changing();
}

void TCustomLayer::Changed()
{
    if (!FLayerCollection || (FLayerOptions & loNoUpdate))
        return;
    if (Visible())
        FLayerCollection->Changed();
    else if (FLayerOptions & loGDIOverlay)
        FLayerCollection->GDIUpdate();
}

// --- TPositionedLayer -------------------------------------------------------------------------------------------

TPositionedLayer::TPositionedLayer(TLayerCollection* layerCollection)
    : inherited(layerCollection)
{
    FLayerOptions = loVisible | loMouseEvents;
}

TCustomLayer* TPositionedLayer::NewOfSameClass(TLayerCollection* layerCollection) const
{
    return new TPositionedLayer(layerCollection);
}

void TPositionedLayer::SetLocation(const TFloatRect& value)
{
    Changing();
    DoSetLocation(value);
    Changed();
}

void TPositionedLayer::DoSetLocation(const TFloatRect& value)
{
    FLocation = value;
}

void TPositionedLayer::SetScaled(bool value)
{
    if (value == FScaled)
        return;
    Changing();
    FScaled = value;
    Changed();
}

TFloatRect TPositionedLayer::GetAdjustedLocation() const
{
    TImageMapping* mapping = LayerCollection() ? LayerCollection()->Mapping() : nullptr;
    if (!FScaled || !mapping)
        return FLocation;
    const double sx = mapping->ScaleX / 65536.0;
    const double sy = mapping->ScaleY / 65536.0;
    return TFloatRect { float(sx * FLocation.Left + mapping->OriginX), float(sy * FLocation.Top + mapping->OriginY),
        float(sx * FLocation.Right + mapping->OriginX), float(sy * FLocation.Bottom + mapping->OriginY) };
}

bool TPositionedLayer::DoHitTest(int x, int y)
{
    const TFloatRect a = GetAdjustedLocation();
    return a.Left <= x && x < a.Right && a.Top <= y && y < a.Bottom;
}

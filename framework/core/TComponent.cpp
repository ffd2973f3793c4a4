#include "framework/core/TComponent.h"

#include "framework/core/SysUtils.h"
#include "framework/core/TList.h"

#include <algorithm>

namespace {

bool IsIdentStart(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool IsIdentChar(char c)
{
    return IsIdentStart(c) || (c >= '0' && c <= '9');
}

bool IsValidIdent(std::string_view name)
{
    return !name.empty() && IsIdentStart(name.front()) && std::all_of(name.begin(), name.end(), IsIdentChar);
}

void EraseOne(std::vector<TComponent*>& list, TComponent* item)
{
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end())
        list.erase(it);
}

} // namespace

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        // Unlinked before it hears, so that nothing is left pointing at this component even when its
        // Notification does not call inherited.
        Unlink(other);
        if (!HearsRemovalThroughOwner(other))
            other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
    // A handler above may have linked itself again; it must not keep a pointer to a deleted component.
    while (!FFreeNotifies.empty())
        Unlink(FFreeNotifies.back());
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FComponents[index];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    auto& list = FOwner->FComponents;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* component : FComponents) {
        if (SameText(component->FName, name))
            return component;
    }
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (!component)
        throw EComponentError("Cannot insert a nil component");
    for (const TComponent* owner = this; owner; owner = owner->FOwner) {
        if (owner == component)
            throw EComponentError("A component cannot own itself or one of its owners");
    }
    if (component->FOwner == this)
        return;
    // Everything that can fail comes before the component leaves its old owner, so a failure loses nothing.
    component->ValidateName(component->FName, this);
    FComponents.reserve(FComponents.size() + 1);
    if (component->FOwner)
        component->FOwner->RemoveComponent(component);
    FComponents.push_back(component);
    ++FListChanges;
    component->FOwner = this;
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    if (!component || component->FOwner != this)
        return;
    Notification(component, opRemove);
    // A handler may have taken the component away (or deleted it) meanwhile; then it is no longer ours.
    auto it = std::find(FComponents.begin(), FComponents.end(), component);
    if (it == FComponents.end())
        return;
    FComponents.erase(it);
    ++FListChanges;
    component->FOwner = nullptr;
}

void TComponent::DestroyComponents()
{
    // Each destructor takes its component out of this list, so the newest is always at the back.
    while (!FComponents.empty())
        delete FComponents.back();
}

void TComponent::Destroying()
{
    if (FComponentState.Contains(csDestroying))
        return;
    FComponentState.Include(csDestroying);
    for (TComponent* component : FComponents)
        component->Destroying();
}

void TComponent::SetName(std::string_view value)
{
    if (value == FName)
        return;
    ValidateName(value, FOwner);
    FName = value;
}

void TComponent::ValidateName(std::string_view name, const TComponent* owner) const
{
    if (name.empty())
        return;
    if (!IsValidIdent(name))
        throw EComponentError("'" + std::string(name) + "' is not a valid component name");
    if (owner) {
        const TComponent* other = owner->FindComponent(name);
        if (other && other != this)
            throw EComponentError("A component named " + std::string(name) + " already exists");
    }
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
        FFreeNotifies.reserve(FFreeNotifies.size() + 1);
        component->FFreeNotifies.reserve(component->FFreeNotifies.size() + 1);
        FFreeNotifies.push_back(component);
        component->FFreeNotifies.push_back(this);
    }
    FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (component)
        Unlink(component);
}

void TComponent::Unlink(TComponent* component)
{
    EraseOne(FFreeNotifies, component);
    EraseOne(component->FFreeNotifies, this);
}

bool TComponent::HearsRemovalThroughOwner(const TComponent* component) const
{
    if (!FOwner)
        return false;
    if (component == FOwner)
        return true;
    // The owner passes the removal down its whole tree, except into this component's own branch.
    for (const TComponent* owner = component->FOwner; owner; owner = owner->FOwner) {
        if (owner == this)
            return false;
        if (owner == FOwner)
            return true;
    }
    return false;
}

void TComponent::SetComponentStateItem(TComponentStateItem item, bool on)
{
    if (on)
        FComponentState.Include(item);
    else
        FComponentState.Exclude(item);
}

void TComponent::Loaded()
{
    FComponentState.Exclude(csLoading);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component)
        Unlink(component);
    if (FComponents.empty())
        return;
    // A component that hears this may delete or add others. Those added meanwhile do not hear it, and
    // those gone are skipped (looked up again only once the list has changed), so nobody hears twice
    // and nothing deleted is reached.
    const std::vector<TComponent*> hearers(FComponents.rbegin(), FComponents.rend());
    const uint64_t changes = FListChanges;
    for (TComponent* owned : hearers) {
        if (owned == component)
            continue;
        if (FListChanges != changes && std::find(FComponents.begin(), FComponents.end(), owned) == FComponents.end())
            continue;
        owned->Notification(component, operation);
    }
}

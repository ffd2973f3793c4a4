// TComponent, the framework's owner tree: components that own, name and notify one another.
#pragma once
#include "framework/core/Exception.h"
#include "framework/core/TPersistent.h"
#include "framework/core/TSet.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Raised for a bad component name, a duplicate name within one owner, or an ownership cycle.
class EComponentError : public Exception {
public:
    using Exception::Exception;
};

enum TOperation : uint8_t { opInsert, opRemove };

enum TComponentStateItem : uint8_t {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance
};
using TComponentState = TSet<TComponentStateItem, csDesignInstance>;

// A component with an owner is deleted by that owner unless it is deleted first; deleting it first is
// normal and takes it out of its owner. Links to components one does not own are raw pointers, cleared
// when Notification(that component, opRemove) arrives.
//
// Deleting a component, in this order:
//  1. it and everything it owns are marked csDestroying;
//  2. each component linked with it by FreeNotification hears Notification(it, opRemove) (unless it
//     hears through step 4 anyway: the owner and what the owner owns outside this component);
//  3. the components it owns are deleted, newest first;
//  4. its owner removes it (RemoveComponent), which tells the owner and the owner's other components.
// NOTE: C++ runs the derived destructors first, so from step 1 on the component's own overrides are
// gone: whatever it must tell others it tells in its own destructor. A component under construction is
// likewise only a TComponent when its owner and siblings hear of its insertion.
class TComponent : public TPersistent {
    using inherited = TPersistent;

public:
    // With an owner, the new component joins the owner's list (InsertComponent) and is deleted by it.
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    TPersistent* GetOwner() const override { return FOwner; }
    // The owned components in the order they joined. A bad index raises EListError.
    TComponent* Components(int index) const;
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // The position in the owner's list, -1 without an owner.
    int ComponentIndex() const;
    // The owned component of that name (compared case-insensitively), or nullptr; never matches "".
    TComponent* FindComponent(std::string_view name) const;
    // Adopts `component`, taking it from its previous owner; raises EComponentError when its name is
    // taken here or when this component is the component itself or one that it owns (a cycle).
    void InsertComponent(TComponent* component);
    // Releases an owned component to the caller (who must delete it); does nothing for one it does
    // not own.
    void RemoveComponent(TComponent* component);
    // Deletes every owned component, newest first.
    void DestroyComponents();
    // Marks this component and everything it owns csDestroying.
    void Destroying();

    const std::string& Name() const { return FName; }
    // Empty, or an identifier (letters, digits, '_', no leading digit), unique within the owner
    // regardless of case; otherwise EComponentError and the name stays as it was.
    virtual void SetName(std::string_view value);
    intptr_t Tag() const { return FTag; }
    void SetTag(intptr_t value) { FTag = value; }
    TComponentState ComponentState() const { return FComponentState; }

    // Links the two components: `component` hears Notification(this, opRemove) when this one is
    // deleted, and this one hears Notification(component, opRemove) when that one is.
    void FreeNotification(TComponent* component);
    // Undoes FreeNotification, in both directions.
    void RemoveFreeNotification(TComponent* component);

    // For loaders, which build components from a description: they set csLoading (and csReading)
    // while they work and call Loaded on each component at the end. Public because a loader is a
    // class of its own.
    void SetComponentStateItem(TComponentStateItem item, bool on);
    // Called when loading has finished; clears csLoading. Overrides call inherited::Loaded() first.
    virtual void Loaded();

protected:
    // Hears that `component` joined (opInsert) or left (opRemove) the owner tree or is being deleted.
    // The base drops `component` from the free-notification links on opRemove and passes the
    // notification on to every owned component other than `component`; overrides call inherited.
    virtual void Notification(TComponent* component, TOperation operation);

private:
    void Unlink(TComponent* component);
    bool HearsRemovalThroughOwner(const TComponent* component) const;
    void ValidateName(std::string_view name, const TComponent* owner) const;

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    uint64_t FListChanges = 0; // counts insertions and removals, so a walk over the list sees changes
    // Both directions of FreeNotification: every link is held by both components.
    std::vector<TComponent*> FFreeNotifies;
    std::string FName;
    intptr_t FTag = 0;
    TComponentState FComponentState;
};

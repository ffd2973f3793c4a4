// TspSkinComponent, the root of the skinned components that have no window: a skin reference and the two steps
// of a skin change, which the skinned form hands to every such component it owns.
#pragma once
#include "framework/core/TComponent.h"
#include "skin/core/Forward.h"

class TspSkinComponent : public TComponent {
    using inherited = TComponent;

public:
    explicit TspSkinComponent(TComponent* owner);
    ~TspSkinComponent() override;

    TspSkinData* SkinData() const { return FSkinData; }
    // Not owned: the component hears of the skin's deletion and forgets it.
    virtual void SetSkinData(TspSkinData* value);
    virtual void BeforeChangeSkinData() { }
    virtual void ChangeSkinData() { }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TspSkinData* FSkinData = nullptr;
};

// TspSkinDataLink, the tie of a skinned label that binds to its record by itself: the skin, watched so that
// freeing it before the label leaves no dangling pointer, and the name of the record the label looks up.
#pragma once
#include "framework/core/TComponent.h"

#include <string>
#include <string_view>

class TspSkinData;

class TspSkinDataLink {
public:
    TspSkinDataLink(TComponent* owner, std::string_view name)
        : FOwner(owner)
        , FName(name)
    {
    }
    TspSkinDataLink(const TspSkinDataLink&) = delete;
    TspSkinDataLink& operator=(const TspSkinDataLink&) = delete;

    TspSkinData* Skin() const { return FSkin; }
    // Watches `value` in place of the skin before; the label takes up the change itself.
    void SetSkin(TspSkinData* value);
    const std::string& Name() const { return FName; }
    void SetName(std::string_view value) { FName = value; }
    // From the label's Notification: forgets the skin when it is the component going.
    void Forget(TComponent* component, TOperation operation);
    // The index of the first control record of that name; -1 without a loaded skin.
    int ControlIndex() const;

private:
    TComponent* FOwner;
    TspSkinData* FSkin = nullptr;
    std::string FName;
};

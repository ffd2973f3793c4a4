// TspSkinMenuHost, what a form's skinning component offers the menus that open through it.
#pragma once
#include "skin/core/Forward.h"

class TComponent;
class TCustomForm;
class TspSkinMenu;

// The form skinning component: it owns the form's menu chain, knows the skin for menus and enters and leaves
// the form's menu mode (the keys of the form go to the open menu meanwhile).
class TspSkinMenuHost {
public:
    virtual ~TspSkinMenuHost() = default;

    virtual TspSkinMenu* SkinMenu() const = 0;
    // The skin of the form's menus, null when the form's own skin serves.
    virtual TspSkinData* MenusSkinData() const = 0;
    virtual TspSkinData* SkinData() const = 0;
    // Enters the menu mode before a menu opens (at most once until it is left).
    virtual void SkinMenuOpen() = 0;
    // Leaves the menu mode; the chain itself closes its levels.
    virtual void SkinMenuClose() = 0;
};

// The first component of `form`, in component order, that hosts skinned menus; null for a null form or none.
TspSkinMenuHost* FindSkinMenuHost(TCustomForm* form);

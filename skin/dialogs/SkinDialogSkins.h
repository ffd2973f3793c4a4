// The two skins a skinned dialog (or the edit that opens one) holds: one for the dialog's window, one for the
// controls, menus and strings inside. Neither is owned; each is forgotten when it is freed.
#pragma once

class TComponent;
class TspSkinData;

class TspDialogSkins {
public:
    // `holder` is told when either skin is freed and must pass that on to Removed.
    explicit TspDialogSkins(TComponent* holder)
        : FHolder(holder)
    {
    }

    TspSkinData* Skin() const { return FSkin; }
    void SetSkin(TspSkinData* value) { Watch(FSkin, value); }
    TspSkinData* CtrlSkin() const { return FCtrlSkin; }
    void SetCtrlSkin(TspSkinData* value) { Watch(FCtrlSkin, value); }
    // From the holder's Notification on opRemove.
    void Removed(const TComponent* component);

private:
    void Watch(TspSkinData*& field, TspSkinData* value);

    TComponent* FHolder;
    TspSkinData* FSkin = nullptr;
    TspSkinData* FCtrlSkin = nullptr;
};

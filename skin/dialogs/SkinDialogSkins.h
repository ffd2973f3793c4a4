// The two skins a skinned dialog (or the edit that opens one) holds: one for the dialog's window, one for the
// controls, menus and strings inside. Neither is owned; each is forgotten when it is freed.
#pragma once

class TComponent;
class TForm;
class TspSkinData;
class TspSkinForm;

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

// Every skinned control `form` owns takes `ctrlSkin`.
void SkinDialogControls(TComponent* form, TspSkinData* ctrlSkin);
// The dialog's client size: `width` and `height`, or the defaults when they are 0 or less, raised to what the
// window skin (when there is one) needs at least.
void SetDialogClientSize(TForm* form, const TspSkinForm* skinForm, const TspSkinData* skin, int width, int height,
    int defaultWidth, int defaultHeight);

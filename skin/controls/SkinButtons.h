// TspSkinButton, the skinned push button: a windowed button painted from a "button" record (or a flat default
// look) that takes the focus, answers Space and Enter, acts as its form's default or cancel button, returns a
// modal result, and may repeat while held or latch inside a group.
#pragma once
#include "skin/controls/SkinButtonCore.h"

#include <cstdint>

class TspSkinButton : public TspSkinButtonCore<TspSkinCustomControl> {
    using inherited = TspSkinButtonCore<TspSkinCustomControl>;

public:
    explicit TspSkinButton(TComponent* owner);

    // ---- Published properties ----------------------------------------------------------------------------------
    bool CanFocused() const { return FCanFocused; }
    // TabStop follows it.
    void SetCanFocused(bool value);
    // A grouped button never takes the focus.
    void SetGroupIndex(int value) override;
    bool Default() const { return FDefault; }
    // Every button of the form looks again at who takes Enter.
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    // OnClick (the framework's event member) is this button's own click: it comes only from ButtonClick.

    // Focused and able to take the focus.
    bool IsFocused() const { return Focused() && FCanFocused; }
    // The form's ModalResult (while the button can take the focus), then OnClick or the action.
    void ButtonClick() override;
    void WndProc(TMessage& message) override;

protected:
    void CreateWnd() override;
    void ActionChange(TObject* sender, bool checkDefaults) override;
    void DrawSkinFocus(TCanvas* canvas, const TRect& r) override;
    bool SkinFocusShown() const override { return ShowFocus && IsFocused(); }
    bool PaintsFaceStraight() const override { return true; }
    bool MorphTarget() const override { return FHot || IsFocused(); }
    bool FocusedLook() const override { return IsFocused(); }
    bool IsGroupPeer(TControl* control) const override;
    bool KeepsHotOnLeave() const override;
    // Space presses the button (the menu button switches it off).
    bool SpacePresses = true;
    // This button answers Enter (the focused button, or the default one while no skin button is focused).
    bool FocusDefault = false;

private:
    void KeyMessage(TMessage& message, bool& handled);
    void CMDialogKey(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMFocusChanged(TMessage& message);

    bool FCanFocused = true;
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = 0;
    // Set while a mouse press moves the focus here, so that the command of that press is dropped.
    bool FClicksDisabled = false;
};

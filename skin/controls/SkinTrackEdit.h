// TspSkinTrackEdit: an integer entry field in the form of a skinned button edit whose button drops down a
// skinned track bar (TspSkinPopupTrackBar) that drags the value; typing, the Up and Down arrows and the wheel
// change it too.
#pragma once
#include "skin/controls/SkinControlSupport.h"
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinTrackBars.h"

#include <cstdint>
#include <string>

class TspSkinTrackEdit;

// tbpRight: the popup starts at the edit's left edge; tbpLeft: it ends at the edit's right edge.
enum TspTrackBarPopupKind : uint8_t { tbpRight, tbpLeft };

// The drop-down track bar: a top-level popup that never takes the activation (a click on it leaves the focus in
// the edit), faded in from a timer when its edit asks for it.
class TspSkinPopupTrackBar : public TspSkinTrackBar {
    using inherited = TspSkinTrackBar;

public:
    explicit TspSkinPopupTrackBar(TComponent* owner);

    TspSkinTrackEdit* TrackEdit = nullptr;

    // Places the window's top-left at the screen point and shows it on top without activating it; with `layered`
    // it shows at `opacity`, or, with `fade`, rises from nothing to `opacity`.
    void Show(TPoint origin, bool layered, uint8_t opacity, bool fade);
    void Hide();
    bool Layered() const { return FLayered; }

    void WndProc(TMessage& message) override;

protected:
    void CreateParams(TCreateParams& params) override;

private:
    void SetLayered(bool value);

    bool FLayered = false;
    SkinControlSupport::TPopupFade FFade { 1 };
};

class TspSkinTrackEdit : public TspSkinEdit {
    using inherited = TspSkinEdit;

public:
    explicit TspSkinTrackEdit(TComponent* owner);
    ~TspSkinTrackEdit() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    int Value() const { return FValue; }
    void SetValue(int value);
    // Equal bounds mean no range. Setting a bound does not limit the current value again.
    int MinValue() const { return FMinValue; }
    void SetMinValue(int value) { FMinValue = value; }
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int value) { FMaxValue = value; }
    int Increment() const { return FIncrement; }
    void SetIncrement(int value) { FIncrement = value; }
    bool SupportUpDownKeys() const { return FSupportUpDownKeys; }
    void SetSupportUpDownKeys(bool value) { FSupportUpDownKeys = value; }
    TspTrackBarPopupKind PopupKind() const { return FPopupKind; }
    void SetPopupKind(TspTrackBarPopupKind value) { FPopupKind = value; }
    // The popup's width; 0 means the edit's width.
    int TrackBarWidth() const { return FTrackBarWidth; }
    void SetTrackBarWidth(int value) { FTrackBarWidth = value; }
    const std::string& TrackBarSkinDataName() const { return FTrackBarSkinDataName; }
    void SetTrackBarSkinDataName(std::string_view value) { FTrackBarSkinDataName = value; }
    bool TrackBarAlphaBlend() const { return FTrackBarAlphaBlend; }
    void SetTrackBarAlphaBlend(bool value) { FTrackBarAlphaBlend = value; }
    uint8_t TrackBarAlphaBlendValue() const { return FTrackBarAlphaBlendValue; }
    void SetTrackBarAlphaBlendValue(uint8_t value) { FTrackBarAlphaBlendValue = value; }
    bool TrackBarAlphaBlendAnimation() const { return FTrackBarAlphaBlendAnimation; }
    void SetTrackBarAlphaBlendAnimation(bool value) { FTrackBarAlphaBlendAnimation = value; }
    bool JumpWhenClick() const { return FPopup->JumpWhenClick(); }
    void SetJumpWhenClick(bool value) { FPopup->SetJumpWhenClick(value); }

    int CheckValue(int value) const;
    bool IsNumText(std::string_view text) const;
    bool IsValidChar(char32_t key) const;

    // ---- The drop-down -----------------------------------------------------------------------------------------
    void DropDown();
    void CloseUp();
    bool IsPopupVisible() const { return FPopup && FPopup->Visible(); }
    TspSkinPopupTrackBar* PopupTrackBar() const { return FPopup; }
    // The button's default action: focus the edit and open or close the popup.
    void ButtonClick(TObject* sender);

    void WndProc(TMessage& message) override;

protected:
    void Change() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void TrackBarChange(TObject* sender);
    // Steps the open popup's value, which the edit then follows, or else the edit's own.
    void StepBy(int delta);
    // Writes the text from the value without parsing it back.
    void ShowValue();

    int FValue = 0;
    int FMinValue = 0;
    int FMaxValue = 100;
    int FIncrement = 1;
    bool FSupportUpDownKeys = true;
    TspTrackBarPopupKind FPopupKind = tbpRight;
    int FTrackBarWidth = 0;
    std::string FTrackBarSkinDataName = "htrackbar";
    bool FTrackBarAlphaBlend = false;
    uint8_t FTrackBarAlphaBlendValue = 0;
    bool FTrackBarAlphaBlendAnimation = false;
    TspSkinPopupTrackBar* FPopup = nullptr;
    bool FUpdating = false;
    bool FRewriting = false;
};

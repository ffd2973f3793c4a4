// TspSkinSpinEdit: a number field with an up and a down button, skinned from the record "spinedit": a double
// value always limited to its range, written as an integer or in fixed notation, parsed as the user types,
// stepped by the buttons (repeating while held), the arrow keys and the mouse wheel. TspSkinNumEdit is the edit
// inside it, in which the number is typed.
#pragma once
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinNumberRules.h"
#include "skin/controls/SkinStepButtons.h"
#include "skin/core/SkinCustomCtrls.h"

#include <functional>

class TspSkinNumEdit : public TspCustomEdit {
    using inherited = TspCustomEdit;

public:
    explicit TspSkinNumEdit(TComponent* owner);

    bool EditorEnabled = true;
    bool Float = false;
    // Filled by the spin edit.
    std::function<void()> OnUpRequest, OnDownRequest, OnPointerEntered, OnPointerLeft;

    bool IsValidChar(char32_t key) const;
    void WndProc(TMessage& message) override;

protected:
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
};

class TspSkinSpinEdit : public TspSkinCustomControl {
    using inherited = TspSkinCustomControl;

public:
    explicit TspSkinSpinEdit(TComponent* owner);
    ~TspSkinSpinEdit() override;

    // ---- Published properties ----------------------------------------------------------------------------------
    double Value() const { return FValue; }
    void SetValue(double value);
    // Both 0: no range. A bound that the value passes pulls the value along.
    double MinValue() const { return FMinValue; }
    void SetMinValue(double value);
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double value);
    double Increment() const { return FIncrement; }
    void SetIncrement(double value) { FIncrement = value; }
    TspValueType ValueType() const { return FValueType; }
    void SetValueType(TspValueType value);
    uint8_t Decimal() const { return FDecimal; }
    void SetDecimal(uint8_t value) { FDecimal = value; }
    bool EditorEnabled() const { return FEdit->EditorEnabled; }
    void SetEditorEnabled(bool value) { FEdit->EditorEnabled = value; }
    int MaxLength() const { return FEdit->MaxLength(); }
    void SetMaxLength(int value) { FEdit->SetMaxLength(value); }
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool value);
    TNotifyEvent OnChange;
    TKeyEvent OnEditKeyDown, OnEditKeyUp;
    TKeyPressEvent OnEditKeyPress;
    TNotifyEvent OnEditEnter, OnEditExit;

    // The text the edit shows.
    const std::string& Text() const override { return FEdit->Text(); }
    TspSkinNumEdit* Edit() const { return FEdit; }
    double CheckValue(double value) const;
    // The value limited and shown, without Change.
    void SimpleSetValue(double value);
    bool IsNumText(std::string_view text) const { return SkinNumberRules::IsNumText(text, FValueType); }
    void UpClick(TObject* sender);
    void DownClick(TObject* sender);
    TRect UpButtonRect() const { return FButtons.Buttons[0].Rect; }
    TRect DownButtonRect() const { return FButtons.Buttons[1].Rect; }
    void CalcRects();

    void GetSkinData() override;
    void ChangeSkinData() override;
    void Invalidate() override;
    void WndProc(TMessage& message) override;

protected:
    virtual void EditKeyDown(TObject* sender, uint16_t& key, TShiftState shift);
    virtual void EditKeyUp(TObject* sender, uint16_t& key, TShiftState shift);
    virtual void EditKeyPress(TObject* sender, char32_t& key);
    virtual void EditEnter(TObject* sender);
    virtual void EditExit(TObject* sender);
    virtual void Change();

    void CreateControlDefaultImage(TBitmap* bitmap) override;
    void CreateControlSkinImage(TBitmap* bitmap) override;
    void DefaultFontChange() override;
    void CalcSize(int& width, int& height) override;
    void SetControlRegion() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void EditChange(TObject* sender);
    void EditMouseEnter();
    void EditMouseLeave();
    void ShowText(double value);
    void StartTimer(UINT ms);
    void StopTimer();
    // The edit's font colour for the state.
    void UpdateEditFontColor();
    bool Hot() const { return FPointerOver || FEditFocused; }
    const TspDataSkinSpinEditControl* SpinRecord() const;
    void DrawButtonFace(TCanvas* canvas, int index);

    TspSkinNumEdit* FEdit = nullptr;
    double FValue = 0;
    double FMinValue = 0;
    double FMaxValue = 0;
    double FIncrement = 1;
    TspValueType FValueType = vtInteger;
    uint8_t FDecimal = 2;
    TColor FDefaultColor = clWindow;
    bool FUseSkinSize = true;
    TspStepButtons FButtons;
    bool FUpdating = false;
    bool FPointerOver = false;
    bool FEditFocused = false;
};

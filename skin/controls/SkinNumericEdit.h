// TspSkinNumericEdit: a skinned edit for numbers without spin buttons: a double value limited to a range, only
// keys that can form a number, the typed number rewritten when it lies beyond the range, and optional stepping
// with the Up and Down arrows.
#pragma once
#include "skin/controls/SkinEdits.h"
#include "skin/controls/SkinNumberRules.h"

class TspSkinNumericEdit : public TspSkinEdit {
    using inherited = TspSkinEdit;

public:
    explicit TspSkinNumericEdit(TComponent* owner);

    double Value() const { return FValue; }
    void SetValue(double value);
    // Equal bounds mean no range. Setting a bound does not limit the current value again.
    double MinValue() const { return FMinValue; }
    void SetMinValue(double value) { FMinValue = value; }
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double value) { FMaxValue = value; }
    double Increment() const { return FIncrement; }
    void SetIncrement(double value) { FIncrement = value; }
    bool SupportUpDownKeys() const { return FSupportUpDownKeys; }
    void SetSupportUpDownKeys(bool value) { FSupportUpDownKeys = value; }
    TspValueType ValueType() const { return FValueType; }
    void SetValueType(TspValueType value) { FValueType = value; }
    uint8_t Decimal() const { return FDecimal; }
    void SetDecimal(uint8_t value) { FDecimal = value; }

    double CheckValue(double value) const;
    bool IsNumText(std::string_view text) const { return SkinNumberRules::IsNumText(text, FValueType); }
    bool IsValidChar(char32_t key) const;

    void WndProc(TMessage& message) override;

protected:
    void Change() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;

private:
    // Writes the text from the value without parsing it back.
    void ShowValue();

    double FValue = 0;
    double FMinValue = 0;
    double FMaxValue = 0;
    double FIncrement = 1;
    bool FSupportUpDownKeys = false;
    TspValueType FValueType = vtInteger;
    uint8_t FDecimal = 2;
    bool FUpdating = false;
    bool FRewriting = false;
};

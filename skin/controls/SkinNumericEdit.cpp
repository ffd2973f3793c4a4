#include "skin/controls/SkinNumericEdit.h"

#include "platform/win/VirtualKeys.h"
#include "platform/win/Windows.h"

#include <cmath>

using namespace SkinNumberRules;

TspSkinNumericEdit::TspSkinNumericEdit(TComponent* owner)
    : TspSkinEdit(owner)
{
    FUpdating = true;
    SetText("0");
    FUpdating = false;
    SetBounds(Left(), Top(), 120, 20);
    SetSkinDataName("edit");
}

double TspSkinNumericEdit::CheckValue(double value) const
{
    if (FMaxValue == FMinValue)
        return value;
    if (value < FMinValue)
        return FMinValue;
    if (value > FMaxValue)
        return FMaxValue;
    return value;
}

bool TspSkinNumericEdit::IsValidChar(char32_t key) const
{
    return SkinNumberRules::IsValidChar(key, Text(), FValueType, !ReadOnly());
}

void TspSkinNumericEdit::ShowValue()
{
    FUpdating = true;
    SetText(FormatValue(FValue, FValueType, FDecimal));
    FUpdating = false;
}

void TspSkinNumericEdit::SetValue(double value)
{
    FValue = CheckValue(value);
    ShowValue();
}

void TspSkinNumericEdit::Change()
{
    if (FRewriting)
        return;
    const std::string text = Text();
    if (!FUpdating && IsNumText(text)) {
        const double typed = ParseNumber(text, FValueType);
        const double limited = CheckValue(typed);
        // A number that does not convert and that no range limits leaves the value as it was.
        if (std::isfinite(limited)) {
            if (limited != FValue)
                FValue = limited;
            if (RewriteTyped(typed, limited, FMinValue, FMaxValue)) {
                FRewriting = true;
                SetText(FormatValue(limited, FValueType, FDecimal));
                FRewriting = false;
            }
        }
    }
    inherited::Change();
}

void TspSkinNumericEdit::KeyDown(uint16_t& key, TShiftState shift)
{
    inherited::KeyDown(key, shift);
    if (!FSupportUpDownKeys)
        return;
    if (key == VK_UP)
        SetValue(FValue + FIncrement);
    else if (key == VK_DOWN)
        SetValue(FValue - FIncrement);
}

void TspSkinNumericEdit::KeyPress(char32_t& key)
{
    if (!IsValidChar(key)) {
        key = 0;
        MessageBeep(0);
    }
    inherited::KeyPress(key);
}

void TspSkinNumericEdit::WndProc(TMessage& message)
{
    if (message.Msg != WM_KILLFOCUS) {
        inherited::WndProc(message);
        return;
    }
    inherited::WndProc(message);
    // Leaving the field shows the value; a float typed with more digits than shown takes the shown number.
    ShowValue();
    if (FValueType == vtFloat) {
        const double shown = ParseNumber(Text(), FValueType);
        if (std::isfinite(shown) && shown != FValue)
            FValue = shown;
    }
}

// The number rules the spin and numeric edits share: which texts are numbers, which keys may form one, how a
// value is written and read with the locale's decimal separator, and when a typed number is rewritten.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

enum TspValueType : uint8_t { vtInteger, vtFloat };

namespace SkinNumberRules {

// Digits and "-", plus the decimal separator for vtFloat; not empty and not a lone "-"; "-" only first and only
// once; the separator not first and only once.
bool IsNumText(std::string_view text, TspValueType type);
// A key that may go into the text `text`: "-", a digit, the separator for vtFloat, or a control character other
// than carriage return; the separator and "-" only when the text holds none yet. Without `editable` only control
// characters other than Backspace and carriage return.
bool IsValidChar(char32_t key, std::string_view text, TspValueType type, bool editable);
// vtFloat: fixed notation with `decimals` digits and the locale's separator; vtInteger: the nearest integer,
// halves to even.
std::string FormatValue(double value, TspValueType type, int decimals);
// The number a text that IsNumText accepts stands for. A number too large for its type (beyond the 32-bit
// range for vtInteger, beyond a double for vtFloat) reads as an infinity of its sign, so that a range clamps it
// to its nearer bound instead of the conversion failing.
double ParseNumber(std::string_view text, TspValueType type);
// Whether the typed number `typed`, limited to `limited`, must be rewritten at once: it lies beyond the range
// away from zero, or its sign is one the range cannot hold. A number nearer to zero than the range (a partial
// entry) stays as typed.
bool RewriteTyped(double typed, double limited, double minValue, double maxValue);

} // namespace SkinNumberRules

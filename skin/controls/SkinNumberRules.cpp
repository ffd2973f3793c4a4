#include "skin/controls/SkinNumberRules.h"

#include "framework/core/FormatSettings.h"
#include "framework/core/Numbers.h"
#include "framework/core/SysUtils.h"

#include <cmath>
#include <limits>

namespace SkinNumberRules {

namespace {

std::string Separator()
{
    return SeparatorText(FormatSettings().DecimalSeparator);
}

size_t Count(std::string_view text, std::string_view part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string_view::npos; at = text.find(part, at + part.size()))
        ++n;
    return n;
}

} // namespace

bool IsNumText(std::string_view text, TspValueType type)
{
    if (text.empty() || text == "-")
        return false;
    const std::string separator = Separator();
    const bool isFloat = type == vtFloat;
    for (size_t at = 0; at < text.size();) {
        if (isFloat && text.substr(at, separator.size()) == separator) {
            at += separator.size();
            continue;
        }
        const char c = text[at];
        if (!(c >= '0' && c <= '9') && c != '-')
            return false;
        ++at;
    }
    if (Count(text, "-") > 1 || (Count(text, "-") == 1 && text[0] != '-'))
        return false;
    if (isFloat && (Count(text, separator) > 1 || text.substr(0, separator.size()) == separator))
        return false;
    return true;
}

bool IsValidChar(char32_t key, std::string_view text, TspValueType type, bool editable)
{
    const bool control = key < 32 && key != 13;
    if (!editable)
        return control && key != 8;
    const char32_t separator = FormatSettings().DecimalSeparator;
    if (key == '-')
        return text.find('-') == std::string_view::npos;
    if (type == vtFloat && key == separator)
        return text.find(Separator()) == std::string_view::npos;
    return (key >= '0' && key <= '9') || control;
}

std::string FormatValue(double value, TspValueType type, int decimals)
{
    if (type == vtInteger)
        return IntToStr(Round(value));
    std::string text = FloatToStrF(value, ffFixed, 15, decimals);
    const size_t point = text.find('.');
    if (point != std::string::npos)
        text.replace(point, 1, Separator());
    return text;
}

double ParseNumber(std::string_view text, TspValueType type)
{
    const double overflow = text.substr(0, 1) == "-" ? -std::numeric_limits<double>::infinity()
                                                      : std::numeric_limits<double>::infinity();
    if (type == vtInteger) {
        int value = 0;
        return TryStrToInt(text, value) ? value : overflow;
    }
    std::string plain(text);
    const std::string separator = Separator();
    if (const size_t at = plain.find(separator); at != std::string::npos)
        plain.replace(at, separator.size(), ".");
    // A lone sign and separator ("-.") has no digit: it stands for nothing yet.
    if (plain.find_first_of("0123456789") == std::string::npos)
        return std::numeric_limits<double>::quiet_NaN();
    double value = 0;
    return TryStrToFloat(plain, value) ? value : overflow;
}

bool RewriteTyped(double typed, double limited, double minValue, double maxValue)
{
    if (typed < 0 && limited < 0 ? limited > typed : limited < typed)
        return true;
    return (typed < 0 && minValue > 0) || (typed > 0 && maxValue < 0);
}

} // namespace SkinNumberRules

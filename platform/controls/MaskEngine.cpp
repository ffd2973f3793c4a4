#include "platform/controls/MaskEngine.h"

#include "platform/controls/TextEngine.h"

#include <cwctype>
#include <langinfo.h>

std::u32string ToUtf32(std::string_view text)
{
    std::u32string out;
    for (size_t at = 0; at < text.size();) {
        int n = 1;
        out += utf8::Decode(text, at, &n);
        at += n;
    }
    return out;
}

std::string ToUtf8(std::u32string_view text)
{
    std::string out;
    for (char32_t c : text)
        utf8::Append(out, c);
    return out;
}

// The character after the first conversion in a strftime format ("%d.%m.%Y" gives ".").
static char32_t SeparatorOf(const char* format, char32_t fallback)
{
    if (!format)
        return fallback;
    std::string_view f(format);
    for (size_t at = 0; at + 2 < f.size(); ++at) {
        if (f[at] != '%')
            continue;
        size_t after = at + 2;
        if (f[at + 1] == 'E' || f[at + 1] == 'O')
            ++after;
        if (after < f.size() && f[after] != '%' && !std::iswalnum(static_cast<unsigned char>(f[after])))
            return ToUtf32(f.substr(after, 1))[0];
        break;
    }
    return fallback;
}

MaskSeparators LocaleSeparators()
{
    MaskSeparators separators;
    separators.Date = SeparatorOf(nl_langinfo(D_FMT), '/');
    separators.Time = SeparatorOf(nl_langinfo(T_FMT), ':');
    return separators;
}

MaskEngine::MaskEngine(std::string_view editMask, MaskSeparators separators)
{
    std::u32string mask = ToUtf32(editMask);
    // The fields after the mask: ";0" or ";1", then the blank character. A "\;" stays in the mask.
    size_t end = mask.size();
    std::vector<size_t> fields;
    for (size_t at = 0; at < mask.size(); ++at) {
        if (mask[at] == '\\') {
            ++at;
            continue;
        }
        if (mask[at] == ';')
            fields.push_back(at);
    }
    if (!fields.empty()) {
        end = fields[0];
        if (fields.size() >= 1 && fields[0] + 1 < mask.size())
            saveLiterals_ = mask[fields[0] + 1] != '0';
        if (fields.size() >= 2 && fields[1] + 1 < mask.size())
            blank_ = mask[fields[1] + 1];
    }
    Case current = Keep;
    for (size_t at = 0; at < end; ++at) {
        char32_t c = mask[at];
        Slot slot;
        switch (c) {
        case '!': leadingBlanks_ = true; continue;
        case '>': current = Upper; continue;
        case '<':
            if (at + 1 < end && mask[at + 1] == '>') {
                ++at;
                current = Keep;
            } else {
                current = Lower;
            }
            continue;
        case '\\':
            if (++at >= end)
                continue;
            slot.Char = mask[at];
            break;
        case '0': slot.What = Digit; slot.Required = true; break;
        case '9': slot.What = Digit; break;
        case '#': slot.What = DigitOrSign; break;
        case 'L': slot.What = Letter; slot.Required = true; break;
        case 'l': slot.What = Letter; break;
        case 'A': slot.What = LetterOrDigit; slot.Required = true; break;
        case 'a': slot.What = LetterOrDigit; break;
        case 'C': slot.What = Any; slot.Required = true; break;
        case 'c': slot.What = Any; break;
        case ':': slot.Char = separators.Time; break;
        case '/': slot.Char = separators.Date; break;
        case '_': slot.Char = ' '; break;
        default: slot.Char = c; break;
        }
        slot.Casing = current;
        slots_.push_back(slot);
    }
}

std::u32string MaskEngine::EmptyText() const
{
    std::u32string text;
    for (const Slot& slot : slots_)
        text += slot.What == Literal ? slot.Char : blank_;
    return text;
}

int MaskEngine::NextEditable(int position) const
{
    while (position < Length() && (position < 0 || IsLiteral(position)))
        ++position;
    return position;
}

int MaskEngine::PrevEditable(int position) const
{
    while (position >= 0 && (position >= Length() || IsLiteral(position)))
        --position;
    return position;
}

static bool IsLetter(char32_t c) { return c < 0x80 ? std::isalpha(static_cast<int>(c)) != 0 : std::iswalpha(c) != 0; }
static bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

bool MaskEngine::Fits(const Slot& slot, char32_t c) const
{
    switch (slot.What) {
    case Digit: return IsDigit(c);
    case DigitOrSign: return IsDigit(c) || c == '+' || c == '-';
    case Letter: return IsLetter(c);
    case LetterOrDigit: return IsLetter(c) || IsDigit(c);
    case Any: return c >= 32;
    case Literal: return c == slot.Char;
    }
    return false;
}

char32_t MaskEngine::Convert(const Slot& slot, char32_t c)
{
    if (c >= 0x80)
        return slot.Casing == Upper ? std::towupper(c) : slot.Casing == Lower ? std::towlower(c) : c;
    if (slot.Casing == Upper)
        return static_cast<char32_t>(std::toupper(static_cast<int>(c)));
    if (slot.Casing == Lower)
        return static_cast<char32_t>(std::tolower(static_cast<int>(c)));
    return c;
}

int MaskEngine::Type(std::u32string& editText, int position, char32_t c) const
{
    if (static_cast<int>(editText.size()) != Length())
        editText = EditText(editText);
    // Typing a literal moves past it.
    if (position >= 0 && position < Length() && IsLiteral(position) && slots_[position].Char == c)
        return position + 1;
    position = NextEditable(position);
    if (position >= Length())
        return -1;
    const Slot& slot = slots_[position];
    if (!Fits(slot, c))
        return -1;
    editText[position] = Convert(slot, c);
    return position + 1;
}

void MaskEngine::Blank(std::u32string& editText, int from, int to) const
{
    if (static_cast<int>(editText.size()) != Length())
        editText = EditText(editText);
    for (int position = std::max(0, from); position < std::min(to, Length()); ++position)
        if (!IsLiteral(position))
            editText[position] = blank_;
}

int MaskEngine::Invalid(const std::u32string& editText) const
{
    for (int position = 0; position < Length(); ++position) {
        const Slot& slot = slots_[position];
        if (slot.What == Literal)
            continue;
        char32_t c = position < static_cast<int>(editText.size()) ? editText[position] : blank_;
        bool empty = c == blank_ || c == ' ';
        if (empty ? slot.Required : !Fits(slot, c))
            return position;
    }
    return -1;
}

std::u32string MaskEngine::Text(const std::u32string& editText) const
{
    std::u32string text;
    for (int position = 0; position < Length(); ++position) {
        const Slot& slot = slots_[position];
        char32_t c = position < static_cast<int>(editText.size()) ? editText[position] : blank_;
        if (slot.What == Literal) {
            if (saveLiterals_)
                text += slot.Char;
            continue;
        }
        text += c == blank_ ? U' ' : c;
    }
    if (!leadingBlanks_)
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
    return text;
}

std::u32string MaskEngine::EditText(std::u32string_view text) const
{
    std::u32string edit = EmptyText();
    if (saveLiterals_) {
        for (int position = 0; position < Length() && position < static_cast<int>(text.size()); ++position) {
            char32_t c = text[position];
            if (!IsLiteral(position) && c != ' ' && Fits(slots_[position], c))
                edit[position] = Convert(slots_[position], c);
        }
        return edit;
    }
    size_t at = 0;
    for (int position = 0; position < Length() && at < text.size(); ++position) {
        if (IsLiteral(position))
            continue;
        char32_t c = text[at++];
        if (c != ' ' && Fits(slots_[position], c))
            edit[position] = Convert(slots_[position], c);
    }
    return edit;
}

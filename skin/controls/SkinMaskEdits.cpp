#include "skin/controls/SkinMaskEdits.h"

#include "framework/core/FormatSettings.h"
#include "platform/controls/MaskEngine.h"

namespace {

// The part of `text` at the 1-based characters `from` to `from + length - 1`, blanks read as "0"; -1 when it is
// missing or holds anything but digits.
int ReadPart(const std::u32string& text, int from, int length)
{
    if (from < 1 || static_cast<size_t>(from - 1 + length) > text.size())
        return -1;
    int value = 0;
    for (int i = 0; i < length; ++i) {
        char32_t c = text[from - 1 + i];
        if (c == ' ')
            c = '0';
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + static_cast<int>(c - '0');
    }
    return value;
}

std::string Digits(int value, int width)
{
    std::string text = std::to_string(value);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

} // namespace

TspSkinTimeEdit::TspSkinTimeEdit(TComponent* owner)
    : TspSkinMaskEdit(owner)
{
    ApplyMode();
    OnKeyPress = [this](TObject* sender, char32_t& key) { HandleOnKeyPress(sender, key); };
}

std::string TspSkinTimeEdit::Compose(int hour, int minute, int second, int msec, bool seconds, bool milliseconds) const
{
    const std::string separator = SeparatorText(FormatSettings().TimeSeparator);
    std::string text = Digits(hour, 2) + separator + Digits(minute, 2);
    if (seconds || milliseconds)
        text += separator + Digits(second, 2);
    if (milliseconds)
        text += "." + Digits(msec, 3);
    return text;
}

void TspSkinTimeEdit::ApplyMode()
{
    if (FShowMilliseconds)
        SetEditMask("!90:00:00.000;1; ");
    else if (FShowSeconds)
        SetEditMask("!90:00:00;1; ");
    else
        SetEditMask("!90:00;1; ");
    SetEditText(Compose(0, 0, 0, 0, FShowSeconds, FShowMilliseconds));
}

void TspSkinTimeEdit::SetShowSeconds(bool value)
{
    if (FShowSeconds == value)
        return;
    FShowSeconds = value;
    ApplyMode();
}

void TspSkinTimeEdit::SetShowMilliseconds(bool value)
{
    if (FShowMilliseconds == value)
        return;
    FShowMilliseconds = value;
    // Leaving the milliseconds always comes back to the seconds form.
    if (!value)
        FShowSeconds = true;
    ApplyMode();
}

void TspSkinTimeEdit::SetTime(std::string_view value)
{
    const std::u32string text = ToUtf32(value);
    const int hour = ReadPart(text, 1, 2);
    const int minute = ReadPart(text, 4, 2);
    const int second = FShowSeconds || FShowMilliseconds ? ReadPart(text, 7, 2) : 0;
    const int msec = FShowMilliseconds ? ReadPart(text, 10, 3) : 0;
    if (hour < 0 || minute < 0 || second < 0 || msec < 0)
        SetEditText(Compose(0, 0, 0, 0, FShowSeconds, FShowMilliseconds));
    else
        SetEditText(Compose(hour, minute, second, msec, FShowSeconds, FShowMilliseconds));
}

int TspSkinTimeEdit::Milliseconds() const
{
    const std::u32string text = ToUtf32(EditText());
    const int hour = ReadPart(text, 1, 2);
    const int minute = ReadPart(text, 4, 2);
    const int second = FShowSeconds || FShowMilliseconds ? ReadPart(text, 7, 2) : 0;
    const int msec = FShowMilliseconds ? ReadPart(text, 10, 3) : 0;
    if (hour < 0 || minute < 0 || second < 0 || msec < 0)
        return 0;
    return ((hour * 3600 + minute * 60 + second) * 1000) + msec;
}

void TspSkinTimeEdit::SetMilliseconds(int value)
{
    if (value < 0) {
        SetEditText(Compose(0, 0, 0, 0, true, true));
        return;
    }
    SetEditText(Compose(value / 3600000, value / 60000 % 60, value / 1000 % 60, value % 1000, true, true));
}

bool TspSkinTimeEdit::IsValidTime(int hour, int minute, int second, int msec)
{
    if (hour == 24 && minute == 0 && second == 0 && msec == 0)
        return true;
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 && msec >= 0
        && msec < 1000;
}

void TspSkinTimeEdit::EncodeTime(int hour, int minute, int second, int msec)
{
    if (IsValidTime(hour, minute, second, msec))
        SetEditText(Compose(hour, minute, second, msec, FShowSeconds, FShowMilliseconds));
}

void TspSkinTimeEdit::DecodeTime(int& hour, int& minute, int& second, int& msec) const
{
    const std::u32string text = ToUtf32(EditText());
    hour = std::max(0, ReadPart(text, 1, 2));
    minute = std::max(0, ReadPart(text, 4, 2));
    second = FShowSeconds || FShowMilliseconds ? std::max(0, ReadPart(text, 7, 2)) : 0;
    msec = FShowMilliseconds ? std::max(0, ReadPart(text, 10, 3)) : 0;
    hour = std::min(hour, 23);
    minute = std::min(minute, 59);
    second = std::min(second, 59);
    msec = std::min(msec, 999);
}

void TspSkinTimeEdit::ValidateEdit()
{
}

void TspSkinTimeEdit::HandleOnKeyPress(TObject*, char32_t& key)
{
    if (key == 13 || key == 8)
        return;
    if (SelLength() > 1)
        SetSelLength(1);
    std::u32string text = ToUtf32(EditText());
    if (IsValidChar(key)) {
        // The digit lands where the mask puts it: on the caret's position, or past a separator there.
        size_t at = static_cast<size_t>(SelStart());
        while (at < text.size() && text[at] != ' ' && (text[at] < '0' || text[at] > '9'))
            ++at;
        if (at < text.size())
            text[at] = key;
    }
    const int hour = ReadPart(text, 1, 2);
    const int minute = ReadPart(text, 4, 2);
    const int second = FShowSeconds || FShowMilliseconds ? ReadPart(text, 7, 2) : 0;
    const int msec = FShowMilliseconds ? ReadPart(text, 10, 3) : 0;
    if (hour < 0 || minute < 0 || second < 0 || msec < 0 || !IsValidTime(hour, minute, second, msec))
        key = 0;
}

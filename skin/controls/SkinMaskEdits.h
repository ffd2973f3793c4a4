// TspSkinMaskEdit, the skinned edit with the framework's edit masks, and TspSkinTimeEdit on it: a time of day
// in a fixed mask of hours, minutes and optional seconds and milliseconds, typed digit over digit, refusing any
// keystroke that would make the time invalid, and read or set as text or as milliseconds since midnight.
#pragma once
#include "skin/controls/SkinEdits.h"

class TspSkinMaskEdit : public TspSkinEdit {
    using inherited = TspSkinEdit;

public:
    using TspSkinEdit::TspSkinEdit;
};

class TspSkinTimeEdit : public TspSkinMaskEdit {
    using inherited = TspSkinMaskEdit;

public:
    explicit TspSkinTimeEdit(TComponent* owner);

    bool ShowSeconds() const { return FShowSeconds; }
    void SetShowSeconds(bool value);
    bool ShowMilliseconds() const { return FShowMilliseconds; }
    void SetShowMilliseconds(bool value);
    // The text, hours at characters 1-2, minutes 4-5, seconds 7-8, milliseconds 10-12. Setting writes the parts
    // in the mode's form (no range check); a part that is no number gives the mode's empty text.
    std::string Time() const { return EditText(); }
    void SetTime(std::string_view value);
    // The time as milliseconds since midnight (0 when a part is no number); setting writes the full form.
    int Milliseconds() const;
    void SetMilliseconds(int value);

    static bool IsValidTime(int hour, int minute, int second, int msec);
    static bool IsValidChar(char32_t key) { return key >= '0' && key <= '9'; }
    // Writes a valid time in the mode's form; an invalid one changes nothing.
    void EncodeTime(int hour, int minute, int second, int msec);
    // Reads the parts (a part holding anything but digits reads 0) and limits them to 23:59:59.999.
    void DecodeTime(int& hour, int& minute, int& second, int& msec) const;
    // A time edit never raises the mask's error: an incomplete entry is left as it is.
    void ValidateEdit() override;
    // The keystroke check, installed as OnKeyPress (a handler assigned later replaces it).
    void HandleOnKeyPress(TObject* sender, char32_t& key);

private:
    void ApplyMode();
    std::string Compose(int hour, int minute, int second, int msec, bool seconds, bool milliseconds) const;

    bool FShowSeconds = true;
    bool FShowMilliseconds = false;
};

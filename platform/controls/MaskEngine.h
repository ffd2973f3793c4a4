// Edit masks: "mask;save;blank". In the mask, 0 is a required digit, 9 an optional digit, # an optional digit
// or sign, L/l a required/optional letter, A/a a required/optional letter or digit, C/c a required/optional
// character; > and < turn what follows to upper or lower case (<> ends that); \ makes the next character a
// literal; : and / are the locale's time and date separators; _ is a literal blank; a leading ! keeps optional
// characters as leading blanks in the text. The second field is 0 when literals stay out of the text, and the
// third the blank shown for positions not filled (default "_").
//
// The edit text has one character per mask position; typing overwrites.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct MaskSeparators {
    char32_t Date = '/';
    char32_t Time = ':';
};

// The date and time separators of the user's locale (LC_TIME), "/" and ":" where it has none.
MaskSeparators LocaleSeparators();

class MaskEngine {
public:
    MaskEngine() = default;
    explicit MaskEngine(std::string_view editMask, MaskSeparators separators = LocaleSeparators());

    bool IsMasked() const { return !slots_.empty(); }
    int Length() const { return static_cast<int>(slots_.size()); }
    bool IsLiteral(int position) const { return slots_[position].What == Literal; }
    char32_t BlankChar() const { return blank_; }
    bool SaveLiterals() const { return saveLiterals_; }

    // The edit text of an empty field: literals in place, blanks elsewhere.
    std::u32string EmptyText() const;
    // The first editable position at or after (or before) `position`; Length() (or -1) when there is none.
    int NextEditable(int position) const;
    int PrevEditable(int position) const;
    // Types `c` at the first editable position from `position`, case converted; returns the position after it,
    // or -1 when the character does not fit the position (the text is then unchanged).
    int Type(std::u32string& editText, int position, char32_t c) const;
    // Blanks the editable positions in [from, to).
    void Blank(std::u32string& editText, int from, int to) const;
    // -1 when every required position holds a fitting character, else the first position that does not.
    int Invalid(const std::u32string& editText) const;

    // The text the program sees: literals only when saved, blanks as spaces (trailing ones trimmed).
    std::u32string Text(const std::u32string& editText) const;
    // An edit text from a text: with saved literals position by position, else the characters fill the
    // editable positions in order; what does not fit is left blank.
    std::u32string EditText(std::u32string_view text) const;

private:
    enum Kind { Literal, Digit, DigitOrSign, Letter, LetterOrDigit, Any };
    enum Case { Keep, Upper, Lower };
    struct Slot {
        Kind What = Literal;
        bool Required = false;
        Case Casing = Keep;
        char32_t Char = 0; // of a literal
    };
    bool Fits(const Slot& slot, char32_t c) const;
    static char32_t Convert(const Slot& slot, char32_t c);

    std::vector<Slot> slots_;
    bool saveLiterals_ = true;
    bool leadingBlanks_ = false;
    char32_t blank_ = '_';
};

// UTF-8 and UTF-32 for the mask edit.
std::u32string ToUtf32(std::string_view text);
std::string ToUtf8(std::u32string_view text);

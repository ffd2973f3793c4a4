// The formatting a rich edit keeps beside its TextEngine: character formats as runs over the engine's
// positions (a line break counts as its two characters), and an alignment per paragraph (engine line). The
// runs follow every change of the text through the engine's notifications.
#pragma once
#include "platform/win/WinTypes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a run of characters looks like.
struct RichCharFormat {
    std::string Face = "Arial";
    int Twips = 200;       // the height in twentieths of a point
    COLORREF Color = 0;    // used when not AutoColor
    bool AutoColor = true; // the window's text colour
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    bool operator==(const RichCharFormat&) const = default;
};

enum class RichAlignment : uint8_t { Left, Center, Right };

struct RichRun {
    long long Length = 0;
    int Format = 0;
};

// A whole formatted text, as the RTF reader gives it and the writer takes it.
struct RichDocument {
    std::string Text; // line breaks as "\r\n"
    std::vector<RichCharFormat> Formats;
    std::vector<RichRun> Runs;                // over Text's positions, a line break counting two; Format indexes Formats
    std::vector<RichAlignment> Alignments;    // one per paragraph (a text without breaks is one paragraph)
};

class RichText {
public:
    explicit RichText(const RichCharFormat& defaultFormat);

    // Starts again over a text of `length` positions in `lines` lines, all of it in the default format.
    void Reset(long long length, int lines);
    // Takes the formatting of a document whose text the engine has just been given.
    void Assign(const RichDocument& document);
    // The formatting of positions [from, to) as a document (Text left empty for the caller).
    RichDocument Extract(long long from, long long to, int firstLine, int lastLine) const;

    // --- formats ----------------------------------------------------------------------------------------
    int Intern(const RichCharFormat& format);
    const RichCharFormat& Format(int index) const { return formats_[index]; }
    const RichCharFormat& Default() const { return formats_[default_]; }
    // Text that had the old default format takes the new one.
    void SetDefault(const RichCharFormat& format);
    // The formats the text uses now (for the row height).
    std::vector<int> UsedFormats() const;
    // `base` with the fields of `mask` (CFM_* bits) taken from `value`.
    static RichCharFormat Merge(RichCharFormat base, DWORD mask, const RichCharFormat& value);

    // --- following the engine ---------------------------------------------------------------------------
    // New characters take the pending insertion format if there is one, else the format of the first replaced
    // character, else that of the character before them.
    void Replaced(long long from, long long removed, long long inserted);
    // New lines take the alignment of the first line they replace.
    void LinesChanged(int first, int removed, int inserted);

    // --- characters -------------------------------------------------------------------------------------
    // The format of the character at `position` (the last one at the end of the text).
    int FormatAt(long long position) const;
    // The format of the run holding `position`, and where that run ends.
    int RunAt(long long position, long long* end) const;
    // What typing at `position` would give: the pending format, else the character before it.
    int InsertionFormat(long long position) const;
    // Sets the fields of `mask` (CFM_* bits) from `value` over [from, to).
    void Apply(long long from, long long to, DWORD mask, const RichCharFormat& value);
    // The format of the first character of [from, to) and the CFM_* bits of the fields all of them share.
    DWORD Common(long long from, long long to, RichCharFormat* first) const;
    void SetPending(std::optional<int> format) { pending_ = format; }
    const std::optional<int>& Pending() const { return pending_; }

    // --- paragraphs -------------------------------------------------------------------------------------
    RichAlignment Alignment(int line) const;
    void SetAlignment(int first, int last, RichAlignment alignment);

private:
    long long Total() const { return starts_.empty() ? 0 : starts_.back() + runs_.back().Length; }
    size_t RunIndex(long long position) const;
    // Makes a run start at `position` and returns its index (runs_.size() at the end).
    size_t SplitAt(long long position);
    // Joins neighbours of one format, drops empty runs and recomputes the starts.
    void Normalise();

    std::vector<RichCharFormat> formats_;
    int default_ = 0;
    std::vector<RichRun> runs_;
    std::vector<long long> starts_;
    int tail_ = 0; // what an empty text's first characters take
    std::optional<int> pending_;
    std::vector<RichAlignment> alignments_;
};

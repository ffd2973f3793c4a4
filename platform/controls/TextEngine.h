// The text-editing engine under the edit, the memo, the mask edit and the rich edit: UTF-8 text held as lines,
// positions counted in characters with every line break counting as the two characters CR LF, a selection
// (anchor and caret) that never splits a character or a line break, a character limit, and undo.
//
// The engine knows nothing of windows, fonts or the clipboard; the controls put it on screen.
#pragma once
#include "platform/controls/GapBuffer.h"
#include "platform/controls/PrefixSums.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// UTF-8 helpers shared by the controls.
namespace utf8 {
// Number of characters in `text` (a stray continuation or invalid byte counts as one character).
int Count(std::string_view text);
// Byte offset of character `index` in `text` (clamped to the end).
size_t Offset(std::string_view text, int index);
// The first `chars` characters of `text`.
std::string_view Prefix(std::string_view text, int chars);
// Code point of the character at byte `at` (U+FFFD for a bad sequence) and the length of its sequence.
char32_t Decode(std::string_view text, size_t at, int* length);
void Append(std::string& out, char32_t code);
} // namespace utf8

class TextEngine {
public:
    // Characters a line break counts for in positions and lengths.
    static constexpr int BreakLength = 2;
    static constexpr long long NoLimit = 0x7FFFFFFE;

    explicit TextEngine(bool multiLine = true);

    // Told after every change which lines went and how many came in their place, so a layout over the lines
    // can follow (SetText replaces them all).
    std::function<void(int first, int removed, int inserted)> OnLinesChanged;
    // Told after every change, before OnLinesChanged, which characters went and how many came in their place,
    // so what is kept per character (the rich edit's formatting) can follow.
    std::function<void(long long from, long long removed, long long inserted)> OnReplaced;

    // --- text ---------------------------------------------------------------------------------------------
    bool MultiLine() const { return multiLine_; }
    // Replaces all the text ("\r\n", "\n" and "\r" each break a line; a single-line engine keeps only the first
    // line). Ignores the limit, clears the undo and puts the caret at the start.
    void SetText(std::string_view text);
    // The text with line breaks as "\r\n".
    std::string Text() const;
    std::string TextRange(long long from, long long to) const;
    // Bytes of Text(), and Text() copied into `buffer` (at most `size` bytes, never half a character or half a
    // line break, no terminating NUL); returns the bytes copied.
    size_t ByteLength() const;
    size_t CopyText(char* buffer, size_t size) const;
    long long Length() const { return lines_.Total(); }

    // --- lines --------------------------------------------------------------------------------------------
    int LineCount() const { return text_.Size(); }
    std::string_view LineText(int line) const { return text_[line]; }
    int LineLength(int line) const; // in characters, without the break
    long long LineIndex(int line) const { return lines_.Start(line); }
    int LineFromChar(long long position) const;
    // Line and column (in characters) of a position; the position is clamped to the text.
    void Locate(long long position, int* line, int* column) const;

    // --- selection ----------------------------------------------------------------------------------------
    long long SelStart() const { return std::min(anchor_, caret_); }
    long long SelEnd() const { return std::max(anchor_, caret_); }
    long long Caret() const { return caret_; }
    long long Anchor() const { return anchor_; }
    // Sets anchor and caret, clamped to the text and moved off the middle of a line break. A negative anchor
    // removes the selection, leaving the caret where it is.
    void SetSel(long long anchor, long long caret);
    std::string SelText() const { return TextRange(SelStart(), SelEnd()); }

    // Caret moves used by the keys: one character (a line break is one step), word, line start and end.
    long long NextChar(long long position) const;
    long long PrevChar(long long position) const;
    long long NextWord(long long position) const;
    long long PrevWord(long long position) const;

    // --- editing ------------------------------------------------------------------------------------------
    // Most characters the text may hold; typing and pasting stop there, SetText does not.
    long long Limit() const { return limit_; }
    void SetLimit(long long limit) { limit_ = limit <= 0 ? NoLimit : limit; }
    // Replaces the selection by `text`, cut where it would pass the limit (never inside a character or a line
    // break), and leaves the caret after it. Returns false when anything had to be cut. With `canUndo`
    // false neither this change nor any before it can be undone.
    bool ReplaceSel(std::string_view text, bool canUndo = true);
    // Typing one character at a time: consecutive characters make one undo step.
    bool Type(std::string_view character);
    bool Modified() const { return modified_; }
    void SetModified(bool modified) { modified_ = modified; }

    // --- undo ---------------------------------------------------------------------------------------------
    // One level: undoing twice gives back the text as it was before the first undo.
    bool CanUndo() const { return undo_.valid; }
    bool Undo();
    void EmptyUndoBuffer() { undo_ = {}; }

private:
    struct UndoStep {
        bool valid = false;
        long long position = 0;  // where the change starts
        std::string removed;     // the text that was there
        long long insertedLength = 0;
        bool typing = false;     // further typed characters join this step
    };
    // Replaces [from, to) by `text` (already normalised and within the limit).
    void Replace(long long from, long long to, std::string_view text);
    std::string Normalise(std::string_view text) const;
    // Splits a text that needs no cleaning (ASCII without NUL, every CR followed by LF) into `lines` with their
    // counts; false, leaving them partly filled, for any other text.
    bool SplitPlain(std::string_view text, std::vector<std::string>& lines, std::vector<int>& counts) const;
    void SetLine(int line, std::string text);
    static int CountWithBreak(std::string_view text, bool last);

    bool multiLine_;
    // The lines, in a gap buffer so that a line break where the last edit was moves no other line.
    GapBuffer<std::string> text_;
    PrefixSums lines_; // characters per line, the break included (none on the last line)
    // Reused by every Replace, so that an edit allocates nothing beyond its new lines.
    std::vector<std::string_view> pieces_;
    std::vector<int> counts_;
    long long anchor_ = 0;
    long long caret_ = 0;
    long long limit_ = NoLimit;
    bool modified_ = false;
    bool typing_ = false; // inside Type
    UndoStep undo_;
};

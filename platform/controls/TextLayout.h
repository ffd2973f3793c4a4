// The rows a text shows as: each line of a TextEngine breaks into one or more rows (word wrap) by a breaker the
// control supplies from its font and width. Rows are what the edit's line messages count and what it scrolls
// by. Only the lines an edit touches are broken again.
#pragma once
#include "platform/controls/GapBuffer.h"
#include "platform/controls/TextEngine.h"

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class TextLayout {
public:
    // Puts into `breaks` (empty when given) the columns (characters) where the rows of line `line` after the
    // first start; leaves it empty for a line that stays whole.
    using Breaker = std::function<void(int line, std::vector<int>& breaks)>;

    struct Row {
        int Line = 0;
        int Start = 0; // columns within the line
        int End = 0;
    };

    explicit TextLayout(const TextEngine& text) : text_(text) {}

    // Breaks every line again (after a change of font, width or wrapping). A null breaker keeps lines whole.
    void Reset(Breaker breaker);
    // Follows a change of the engine's lines.
    void LinesChanged(int first, int removed, int inserted);

    int RowCount() const { return wrapped_ ? static_cast<int>(rows_.Total()) : text_.LineCount(); }
    int FirstRowOfLine(int line) const { return wrapped_ ? static_cast<int>(rows_.Start(line)) : line; }
    Row RowAt(int row) const;
    // Character position where a row starts, and the row a position is on. A position where a line wraps is
    // on the row it starts.
    long long RowIndex(int row) const;
    int RowFromChar(long long position) const;

private:
    // Starts keeping rows per line, once some line breaks into several.
    void StartWrapping();
    // Breaks line `line` into `kept`, reusing the vector it holds, and returns the line's rows; Keep stores
    // what the breaker last gave.
    int Break(int line, std::unique_ptr<std::vector<int>>& kept);
    int Keep(std::unique_ptr<std::vector<int>>& kept);
    const std::vector<int>& BreaksOf(int line) const;

    const TextEngine& text_;
    Breaker breaker_;
    // While no line breaks into rows (the usual case for a memo without word wrap or with short lines), rows
    // are lines and nothing per line is kept.
    bool wrapped_ = false;
    // Per line while wrapped_: where its rows start after the first; null for a line that is one row. A gap
    // buffer like the engine's lines, so a line break where the last edit was moves no other line.
    GapBuffer<std::unique_ptr<std::vector<int>>> breaks_;
    PrefixSums rows_; // rows per line, while wrapped_
    // Reused by every change, so that following one allocates only for lines that newly break into rows.
    std::vector<int> broken_;
    std::vector<int> counts_;
};

#include "platform/controls/TextLayout.h"

#include <algorithm>

void TextLayout::Reset(Breaker breaker)
{
    breaker_ = std::move(breaker);
    breaks_.assign(text_.LineCount(), {});
    std::vector<int> counts(text_.LineCount(), 1);
    if (breaker_) {
        for (int line = 0; line < text_.LineCount(); ++line) {
            breaks_[line] = breaker_(text_.LineText(line));
            counts[line] = 1 + static_cast<int>(breaks_[line].size());
        }
    }
    rows_.Assign(std::move(counts));
}

void TextLayout::Break(int line)
{
    breaks_[line] = breaker_ ? breaker_(text_.LineText(line)) : std::vector<int> {};
    rows_.Set(line, 1 + static_cast<int>(breaks_[line].size()));
}

void TextLayout::LinesChanged(int first, int removed, int inserted)
{
    if (removed == inserted) {
        for (int line = first; line < first + inserted; ++line)
            Break(line);
        return;
    }
    breaks_.erase(breaks_.begin() + first, breaks_.begin() + first + removed);
    rows_.Erase(first, first + removed);
    breaks_.insert(breaks_.begin() + first, inserted, {});
    rows_.Insert(first, std::vector<int>(inserted, 1));
    for (int line = first; line < first + inserted; ++line)
        Break(line);
}

TextLayout::Row TextLayout::RowAt(int row) const
{
    row = std::clamp(row, 0, std::max(RowCount() - 1, 0));
    Row r;
    r.Line = rows_.Find(row);
    int within = row - static_cast<int>(rows_.Start(r.Line));
    const std::vector<int>& breaks = breaks_[r.Line];
    r.Start = within == 0 ? 0 : breaks[within - 1];
    r.End = within < static_cast<int>(breaks.size()) ? breaks[within] : text_.LineLength(r.Line);
    return r;
}

long long TextLayout::RowIndex(int row) const
{
    Row r = RowAt(row);
    return text_.LineIndex(r.Line) + r.Start;
}

int TextLayout::RowFromChar(long long position) const
{
    int line, column;
    text_.Locate(position, &line, &column);
    const std::vector<int>& breaks = breaks_[line];
    int within = static_cast<int>(std::upper_bound(breaks.begin(), breaks.end(), column) - breaks.begin());
    return FirstRowOfLine(line) + within;
}

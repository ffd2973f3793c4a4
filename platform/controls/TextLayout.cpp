#include "platform/controls/TextLayout.h"

#include <algorithm>

void TextLayout::Reset(Breaker breaker)
{
    breaker_ = std::move(breaker);
    wrapped_ = false;
    breaks_.clear();
    rows_.Assign({});
    LinesChanged(0, 0, text_.LineCount());
}

std::unique_ptr<std::vector<int>> TextLayout::Keep(std::vector<int> breaks)
{
    return breaks.empty() ? nullptr : std::make_unique<std::vector<int>>(std::move(breaks));
}

const std::vector<int>& TextLayout::BreaksOf(int line) const
{
    static const std::vector<int> none;
    return breaks_[line] ? *breaks_[line] : none;
}

void TextLayout::StartWrapping()
{
    wrapped_ = true;
    breaks_.clear();
    breaks_.resize(text_.LineCount());
    rows_.Assign(std::vector<int>(text_.LineCount(), 1));
}

void TextLayout::LinesChanged(int first, int removed, int inserted)
{
    if (!wrapped_) {
        // Rows are lines until some line breaks; then rows start being kept per line.
        for (int i = 0; breaker_ && i < inserted; ++i) {
            std::vector<int> breaks = breaker_(first + i);
            if (breaks.empty())
                continue;
            if (!wrapped_)
                StartWrapping();
            rows_.Set(first + i, 1 + static_cast<int>(breaks.size()));
            breaks_[first + i] = Keep(std::move(breaks));
        }
        return;
    }
    std::vector<std::unique_ptr<std::vector<int>>> breaks(inserted);
    std::vector<int> counts(inserted);
    for (int i = 0; i < inserted; ++i) {
        if (breaker_)
            breaks[i] = Keep(breaker_(first + i));
        counts[i] = 1 + (breaks[i] ? static_cast<int>(breaks[i]->size()) : 0);
    }
    rows_.Replace(first, removed, counts);
    int common = std::min(removed, inserted);
    for (int i = 0; i < common; ++i)
        breaks_[first + i] = std::move(breaks[i]);
    if (removed > inserted)
        breaks_.erase(breaks_.begin() + first + common, breaks_.begin() + first + removed);
    else if (inserted > removed)
        breaks_.insert(breaks_.begin() + first + common, std::make_move_iterator(breaks.begin() + common),
            std::make_move_iterator(breaks.end()));
}

TextLayout::Row TextLayout::RowAt(int row) const
{
    row = std::clamp(row, 0, std::max(RowCount() - 1, 0));
    Row r;
    if (!wrapped_) {
        r.Line = row;
        r.End = text_.LineLength(row);
        return r;
    }
    r.Line = rows_.Find(row);
    int within = row - static_cast<int>(rows_.Start(r.Line));
    const std::vector<int>& breaks = BreaksOf(r.Line);
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
    if (!wrapped_)
        return line;
    const std::vector<int>& breaks = BreaksOf(line);
    int within = static_cast<int>(std::upper_bound(breaks.begin(), breaks.end(), column) - breaks.begin());
    return FirstRowOfLine(line) + within;
}

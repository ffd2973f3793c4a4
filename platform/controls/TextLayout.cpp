#include "platform/controls/TextLayout.h"

#include <algorithm>

void TextLayout::Reset(Breaker breaker)
{
    breaker_ = std::move(breaker);
    wrapped_ = false;
    breaks_.Assign({});
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
    breaks_.Assign(std::vector<std::unique_ptr<std::vector<int>>>(text_.LineCount()));
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
    fresh_.resize(inserted);
    counts_.resize(inserted);
    for (int i = 0; i < inserted; ++i) {
        fresh_[i] = breaker_ ? Keep(breaker_(first + i)) : nullptr;
        counts_[i] = 1 + (fresh_[i] ? static_cast<int>(fresh_[i]->size()) : 0);
    }
    rows_.Replace(first, removed, counts_);
    int common = std::min(removed, inserted);
    for (int i = 0; i < common; ++i)
        breaks_[first + i] = std::move(fresh_[i]);
    if (removed > inserted) {
        breaks_.Erase(first + common, first + removed);
    } else if (inserted > removed) {
        breaks_.Insert(first + common, inserted - common);
        for (int i = common; i < inserted; ++i)
            breaks_[first + i] = std::move(fresh_[i]);
    }
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
